#pragma once

#include "platform/ui/CControlBase.h"

// Tab strip; the pages are child windows that the owner places inside it.
class CTabCtrl : public CControlBase {
    DECLARE_DYNAMIC(CTabCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID);

    int InsertItem(int index, const CString& text);
    BOOL DeleteItem(int index);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    int GetCurSel() const;
    int SetCurSel(int index); // previous selection; sends no notification
    CString GetItemText(int index) const;
    BOOL GetItemRect(int index, LPRECT rect) const;
    // Window rectangle to page area (larger FALSE), or back.
    void AdjustRect(BOOL larger, LPRECT rect) const;
};
