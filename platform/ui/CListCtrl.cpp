#include "platform/ui/CListCtrl.h"

#include "platform/gdi/gdi_qt.h"
#include "platform/ui/CImageList.h"
#include "platform/ui/control_widgets.h"
#include "platform/ui/ui_runtime.h"

#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>
#include <numeric>

IMPLEMENT_DYNAMIC(CListCtrl, CControlBase)

namespace {

struct Parts {
    QAbstractItemView* view = nullptr;
    ctl::ListModel* model = nullptr;
    bool ok() const { return view != nullptr && model != nullptr; }
};

Parts Of(const CWnd* wnd)
{
    Parts p;
    p.view = ctl::ListViewOf(wnd->GetSafeHwnd());
    p.model = ctl::ListModelOf(wnd->GetSafeHwnd());
    return p;
}

bool ValidRow(const Parts& p, int item)
{
    return p.ok() && item >= 0 && item < int(p.model->m_rows.size());
}

QTreeView* Report(const Parts& p)
{
    return qobject_cast<QTreeView*>(p.view);
}

} // namespace

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID)
{
    return CreateControl(CtlKind::ListView, CString(), style, rect, parent, nID);
}

DWORD CListCtrl::SetExtendedStyle(DWORD exStyle)
{
    Parts p = Of(this);
    if (!p.ok())
        return 0;
    const DWORD old = p.model->m_exStyle;
    p.model->m_exStyle = exStyle;
    if (QTreeView* tree = Report(p))
        tree->setAllColumnsShowFocus((exStyle & LVS_EX_FULLROWSELECT) != 0);
    p.model->Reset();
    return old;
}

DWORD CListCtrl::GetExtendedStyle() const
{
    Parts p = Of(this);
    return p.ok() ? p.model->m_exStyle : 0;
}

CImageList* CListCtrl::SetImageList(CImageList* images, int which)
{
    Parts p = Of(this);
    if (!p.ok())
        return nullptr;
    CImageList*& slot = which == LVSIL_NORMAL ? p.model->m_normalImages : p.model->m_smallImages;
    CImageList* old = slot;
    slot = images;
    if (images != nullptr && images->Width() > 0)
        p.view->setIconSize(QSize(images->Width(), images->Height()));
    p.model->Reset();
    return old;
}

int CListCtrl::InsertColumn(int column, const CString& heading, int format, int width, int)
{
    Parts p = Of(this);
    if (!p.ok() || column < 0)
        return -1;
    column = std::min(column, int(p.model->m_columns.size()));
    p.model->m_columns.insert(p.model->m_columns.begin() + column, ctl::ListColumn{heading, format, width < 0 ? 100 : width});
    for (ctl::ListRow& row : p.model->m_rows) {
        if (int(row.texts.size()) > column)
            row.texts.insert(row.texts.begin() + column, CString());
    }
    p.model->ColumnsChanged();
    if (QTreeView* tree = Report(p)) {
        for (size_t i = 0; i < p.model->m_columns.size(); ++i)
            tree->setColumnWidth(int(i), p.model->m_columns[i].width);
    }
    return column;
}

BOOL CListCtrl::DeleteColumn(int column)
{
    Parts p = Of(this);
    if (!p.ok() || column < 0 || column >= int(p.model->m_columns.size()))
        return FALSE;
    p.model->m_columns.erase(p.model->m_columns.begin() + column);
    for (ctl::ListRow& row : p.model->m_rows) {
        if (int(row.texts.size()) > column)
            row.texts.erase(row.texts.begin() + column);
    }
    p.model->ColumnsChanged();
    return TRUE;
}

int CListCtrl::GetColumnCount() const
{
    Parts p = Of(this);
    return p.ok() ? int(p.model->m_columns.size()) : 0;
}

BOOL CListCtrl::SetColumnWidth(int column, int width)
{
    Parts p = Of(this);
    if (!p.ok() || column < 0 || column >= int(p.model->m_columns.size()))
        return FALSE;
    p.model->m_columns[size_t(column)].width = width;
    if (QTreeView* tree = Report(p))
        tree->setColumnWidth(column, width);
    return TRUE;
}

int CListCtrl::GetColumnWidth(int column) const
{
    Parts p = Of(this);
    if (!p.ok() || column < 0 || column >= int(p.model->m_columns.size()))
        return 0;
    if (QTreeView* tree = Report(p))
        return tree->columnWidth(column);
    return p.model->m_columns[size_t(column)].width;
}

int CListCtrl::InsertItem(int item, const CString& text, int image)
{
    Parts p = Of(this);
    if (!p.ok() || item < 0)
        return -1;
    item = std::min(item, int(p.model->m_rows.size()));
    ctl::ListRow row;
    row.texts.push_back(text);
    row.image = image;
    p.model->m_rows.insert(p.model->m_rows.begin() + item, std::move(row));
    p.model->RowsInserted(item);
    return item;
}

BOOL CListCtrl::DeleteItem(int item)
{
    Parts p = Of(this);
    if (!ValidRow(p, item))
        return FALSE;
    p.model->BeginRemove(item);
    p.model->m_rows.erase(p.model->m_rows.begin() + item);
    p.model->EndRemove();
    return TRUE;
}

BOOL CListCtrl::DeleteAllItems()
{
    Parts p = Of(this);
    if (!p.ok())
        return FALSE;
    p.model->m_rows.clear();
    p.model->Reset();
    return TRUE;
}

int CListCtrl::GetItemCount() const
{
    Parts p = Of(this);
    return p.ok() ? int(p.model->m_rows.size()) : 0;
}

BOOL CListCtrl::SetItemText(int item, int subItem, const CString& text)
{
    Parts p = Of(this);
    if (!ValidRow(p, item) || subItem < 0)
        return FALSE;
    std::vector<CString>& texts = p.model->m_rows[size_t(item)].texts;
    if (int(texts.size()) <= subItem)
        texts.resize(size_t(subItem) + 1);
    texts[size_t(subItem)] = text;
    p.model->RowChanged(item);
    return TRUE;
}

CString CListCtrl::GetItemText(int item, int subItem) const
{
    Parts p = Of(this);
    if (!ValidRow(p, item) || subItem < 0)
        return CString();
    const std::vector<CString>& texts = p.model->m_rows[size_t(item)].texts;
    return subItem < int(texts.size()) ? texts[size_t(subItem)] : CString();
}

BOOL CListCtrl::SetItemData(int item, std::uintptr_t data)
{
    Parts p = Of(this);
    if (!ValidRow(p, item))
        return FALSE;
    p.model->m_rows[size_t(item)].data = LPARAM(data);
    p.model->RowChanged(item);
    return TRUE;
}

std::uintptr_t CListCtrl::GetItemData(int item) const
{
    Parts p = Of(this);
    return ValidRow(p, item) ? std::uintptr_t(p.model->m_rows[size_t(item)].data) : 0;
}

BOOL CListCtrl::SetItemImage(int item, int image)
{
    Parts p = Of(this);
    if (!ValidRow(p, item))
        return FALSE;
    p.model->m_rows[size_t(item)].image = image;
    p.model->RowChanged(item);
    return TRUE;
}

int CListCtrl::GetItemImage(int item) const
{
    Parts p = Of(this);
    return ValidRow(p, item) ? p.model->m_rows[size_t(item)].image : -1;
}

BOOL CListCtrl::SetCheck(int item, BOOL check)
{
    Parts p = Of(this);
    if (!ValidRow(p, item))
        return FALSE;
    p.model->setData(p.model->index(item, 0), check ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
    return TRUE;
}

BOOL CListCtrl::GetCheck(int item) const
{
    Parts p = Of(this);
    return ValidRow(p, item) && p.model->m_rows[size_t(item)].checked ? TRUE : FALSE;
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask)
{
    Parts p = Of(this);
    if (!p.ok())
        return FALSE;
    QItemSelectionModel* sel = p.view->selectionModel();
    // Item -1 applies to every row.
    const int first = item < 0 ? 0 : item;
    const int last = item < 0 ? int(p.model->m_rows.size()) - 1 : item;
    if (item >= int(p.model->m_rows.size()))
        return FALSE;
    for (int r = first; r <= last; ++r) {
        const QModelIndex index = p.model->index(r, 0);
        if ((mask & LVIS_SELECTED) != 0) {
            sel->select(index, ((state & LVIS_SELECTED) != 0 ? QItemSelectionModel::Select : QItemSelectionModel::Deselect)
                                   | QItemSelectionModel::Rows);
        }
        if ((mask & LVIS_FOCUSED) != 0 && (state & LVIS_FOCUSED) != 0)
            sel->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    }
    return TRUE;
}

UINT CListCtrl::GetItemState(int item, UINT mask) const
{
    Parts p = Of(this);
    if (!ValidRow(p, item))
        return 0;
    UINT state = 0;
    const QModelIndex index = p.model->index(item, 0);
    if (p.view->selectionModel()->isRowSelected(item, QModelIndex()))
        state |= LVIS_SELECTED;
    if (p.view->selectionModel()->currentIndex().row() == item && p.view->selectionModel()->currentIndex().isValid())
        state |= LVIS_FOCUSED;
    (void)index;
    return state & mask;
}

UINT CListCtrl::GetSelectedCount() const
{
    Parts p = Of(this);
    return p.ok() ? UINT(p.view->selectionModel()->selectedRows().size()) : 0;
}

int CListCtrl::GetNextItem(int start, UINT flags) const
{
    Parts p = Of(this);
    if (!p.ok())
        return -1;
    for (int r = std::max(0, start + 1); r < int(p.model->m_rows.size()); ++r) {
        if (flags == LVNI_ALL || (GetItemState(r, flags & (LVNI_SELECTED | LVNI_FOCUSED)) & flags) == flags)
            return r;
    }
    return -1;
}

POSITION CListCtrl::GetFirstSelectedItemPosition() const
{
    const int first = GetNextItem(-1, LVNI_SELECTED);
    return first < 0 ? nullptr : reinterpret_cast<POSITION>(std::uintptr_t(first) + 1);
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const
{
    const int item = int(reinterpret_cast<std::uintptr_t>(pos)) - 1;
    const int next = GetNextItem(item, LVNI_SELECTED);
    pos = next < 0 ? nullptr : reinterpret_cast<POSITION>(std::uintptr_t(next) + 1);
    return item;
}

int CListCtrl::GetSelectionMark() const
{
    Parts p = Of(this);
    if (!p.ok())
        return -1;
    const QModelIndex current = p.view->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

int CListCtrl::SetSelectionMark(int item)
{
    Parts p = Of(this);
    if (!p.ok())
        return -1;
    const int old = GetSelectionMark();
    if (ValidRow(p, item))
        p.view->selectionModel()->setCurrentIndex(p.model->index(item, 0), QItemSelectionModel::NoUpdate);
    return old;
}

BOOL CListCtrl::EnsureVisible(int item, BOOL)
{
    Parts p = Of(this);
    if (!ValidRow(p, item))
        return FALSE;
    p.view->scrollTo(p.model->index(item, 0));
    return TRUE;
}

int CListCtrl::GetTopIndex() const
{
    Parts p = Of(this);
    if (!p.ok())
        return 0;
    const QModelIndex top = p.view->indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

int CListCtrl::GetCountPerPage() const
{
    Parts p = Of(this);
    if (!p.ok())
        return 0;
    const int rowHeight = p.model->m_rows.empty() ? 0 : p.view->visualRect(p.model->index(0, 0)).height();
    return rowHeight > 0 ? p.view->viewport()->height() / rowHeight : 0;
}

BOOL CListCtrl::GetItemRect(int item, LPRECT rect, UINT code) const
{
    Parts p = Of(this);
    if (!ValidRow(p, item))
        return FALSE;
    QRect r = p.view->visualRect(p.model->index(item, 0));
    if (QTreeView* tree = Report(p); tree != nullptr && code == UINT(LVIR_BOUNDS)) {
        const int columns = int(p.model->m_columns.size());
        if (columns > 0)
            r = r.united(p.view->visualRect(p.model->index(item, columns - 1)));
    }
    r.translate(p.view->viewport()->pos());
    *rect = RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    return TRUE;
}

BOOL CListCtrl::GetSubItemRect(int item, int subItem, int area, CRect& rect) const
{
    Parts p = Of(this);
    if (!ValidRow(p, item) || subItem < 0 || subItem >= std::max(1, int(p.model->m_columns.size())))
        return FALSE;
    // Sub-item 0 with LVIR_BOUNDS is the whole row, as the framework has it.
    if (subItem == 0 && area == LVIR_BOUNDS) {
        RECT r;
        GetItemRect(item, &r, UINT(LVIR_BOUNDS));
        rect = r;
        return TRUE;
    }
    QRect r = p.view->visualRect(p.model->index(item, subItem));
    r.translate(p.view->viewport()->pos());
    rect = CRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    return TRUE;
}

int CListCtrl::HitTest(CPoint point, UINT* flags) const
{
    Parts p = Of(this);
    if (!p.ok())
        return -1;
    const QModelIndex index = p.view->indexAt(QPoint(point.x, point.y) - p.view->viewport()->pos());
    if (flags != nullptr)
        *flags = index.isValid() ? LVHT_ONITEM : LVHT_NOWHERE;
    return index.isValid() ? index.row() : -1;
}

BOOL CListCtrl::SetTextColor(COLORREF color)
{
    Parts p = Of(this);
    if (!p.ok())
        return FALSE;
    p.model->m_textColor = color;
    p.view->viewport()->update();
    return TRUE;
}

BOOL CListCtrl::SetTextBkColor(COLORREF color)
{
    Parts p = Of(this);
    if (!p.ok())
        return FALSE;
    p.model->m_textBkColor = color;
    p.view->viewport()->update();
    return TRUE;
}

BOOL CListCtrl::SetBkColor(COLORREF color)
{
    Parts p = Of(this);
    if (!p.ok())
        return FALSE;
    QPalette pal = p.view->palette();
    pal.setColor(QPalette::Base, ToQColor(color));
    p.view->setPalette(pal);
    return TRUE;
}

BOOL CListCtrl::SortItems(PFNLVCOMPARE compare, LPARAM sortData)
{
    Parts p = Of(this);
    if (!p.ok() || compare == nullptr)
        return FALSE;
    // Rows and their selection move together; the callback sees the rows
    // as they were (it may read texts by the row index it stored).
    std::vector<ctl::ListRow>& rows = p.model->m_rows;
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::vector<char> selected(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        selected[i] = p.view->selectionModel()->isRowSelected(int(i), QModelIndex()) ? 1 : 0;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return compare(rows[size_t(b)].data, rows[size_t(a)].data, sortData) > 0;
    });
    std::vector<ctl::ListRow> sorted;
    sorted.reserve(rows.size());
    for (int i : order)
        sorted.push_back(std::move(rows[size_t(i)]));
    rows = std::move(sorted);
    p.model->Reset();
    for (size_t i = 0; i < order.size(); ++i) {
        if (selected[size_t(order[i])] != 0)
            p.view->selectionModel()->select(p.model->index(int(i), 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    return TRUE;
}
