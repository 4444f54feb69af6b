#pragma once

#include "platform/ui/CControlBase.h"

// Drop-down list (CBS_DROPDOWNLIST) or editable (CBS_DROPDOWN) combo box;
// each item may carry a number.
class CComboBox : public CControlBase {
    DECLARE_DYNAMIC(CComboBox)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID);

    int AddString(const CString& text);
    int InsertString(int index, const CString& text); // -1: at the end
    int DeleteString(int index);                       // count left, CB_ERR
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index); // -1 clears; CB_ERR when out of range
    void GetLBText(int index, CString& text) const;
    CString GetLBText(int index) const;
    int GetLBTextLen(int index) const;
    int FindStringExact(int startAfter, const CString& text) const;
    int SelectString(int startAfter, const CString& prefix);
    int SetItemData(int index, std::uintptr_t data);
    std::uintptr_t GetItemData(int index) const;
    // Height of the open list in pixels, below the box.
    int SetDroppedHeight(int pixels);
    int SetDroppedWidth(int pixels);
    int SetItemHeight(int index, int pixels);
    void ShowDropDown(BOOL show = TRUE);
    // Selects characters start..end of an editable box's text (end -1: to
    // the end); FALSE for a drop-down list, which has no text of its own.
    BOOL SetEditSel(int start, int end);
    // The selection of an editable box's text: start in the low word, end
    // in the high word; 0 for a drop-down list.
    DWORD GetEditSel() const;
};
