#pragma once

#include "platform/ui/CControlBase.h"

class CListBox : public CControlBase {
    DECLARE_DYNAMIC(CListBox)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID);

    int AddString(const CString& text);
    int InsertString(int index, const CString& text); // -1: at the end
    int DeleteString(int index);                       // count left, LB_ERR
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    int GetSel(int index) const; // multi-selection boxes
    int SetSel(int index, BOOL select = TRUE);
    int GetSelCount() const;
    void GetText(int index, CString& text) const;
    int GetTextLen(int index) const;
    int FindStringExact(int startAfter, const CString& text) const;
    int SetItemData(int index, std::uintptr_t data);
    std::uintptr_t GetItemData(int index) const;
    int GetTopIndex() const;
    int SetTopIndex(int index);
};
