#pragma once

#include "platform/gdi/CRect.h"
#include "platform/ui/CControlBase.h"

class CImageList;
struct CPositionTag;
using POSITION = CPositionTag*;

using PFNLVCOMPARE = int (*)(LPARAM item1, LPARAM item2, LPARAM sortData);

constexpr UINT LVHT_NOWHERE = 0x1;
constexpr UINT LVHT_ONITEM = 0xE;

// Report (LVS_REPORT) and icon list views: columns, rows with texts, item
// data, an image, selection and a check box.
class CListCtrl : public CControlBase {
    DECLARE_DYNAMIC(CListCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID);

    DWORD SetExtendedStyle(DWORD exStyle); // returns the old one
    DWORD GetExtendedStyle() const;
    CImageList* SetImageList(CImageList* images, int which);

    int InsertColumn(int column, const CString& heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
    BOOL DeleteColumn(int column);
    int GetColumnCount() const;
    BOOL SetColumnWidth(int column, int width);
    int GetColumnWidth(int column) const;

    int InsertItem(int item, const CString& text, int image = -1);
    BOOL DeleteItem(int item);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    BOOL SetItemText(int item, int subItem, const CString& text);
    CString GetItemText(int item, int subItem) const;
    BOOL SetItemData(int item, std::uintptr_t data);
    std::uintptr_t GetItemData(int item) const;
    BOOL SetItemImage(int item, int image);
    int GetItemImage(int item) const;

    BOOL SetCheck(int item, BOOL check = TRUE);
    BOOL GetCheck(int item) const;
    // LVIS_SELECTED and LVIS_FOCUSED.
    BOOL SetItemState(int item, UINT state, UINT mask);
    UINT GetItemState(int item, UINT mask) const;
    UINT GetSelectedCount() const;
    int GetNextItem(int start, UINT flags) const;
    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION& pos) const;
    int GetSelectionMark() const;
    int SetSelectionMark(int item);
    BOOL EnsureVisible(int item, BOOL partialOK);
    int GetTopIndex() const;
    int GetCountPerPage() const;

    // Rectangles in the list's client coordinates.
    BOOL GetItemRect(int item, LPRECT rect, UINT code) const;
    BOOL GetSubItemRect(int item, int subItem, int area, CRect& rect) const;
    int HitTest(CPoint point, UINT* flags = nullptr) const;

    // Whole-list colours; rows may override them through custom drawing.
    BOOL SetTextColor(COLORREF color);
    BOOL SetTextBkColor(COLORREF color);
    BOOL SetBkColor(COLORREF color);

    // Sorts the rows with compare(data1, data2, sortData): positive when the
    // first belongs after the second. The texts read during the sort are
    // those from before it.
    BOOL SortItems(PFNLVCOMPARE compare, LPARAM sortData);
};
