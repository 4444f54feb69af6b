#include "platform/ui/CListBox.h"

#include "platform/ui/control_widgets.h"
#include "platform/ui/ui_runtime.h"

IMPLEMENT_DYNAMIC(CListBox, CControlBase)

namespace {

QListWidget* List(const CWnd* wnd)
{
    return qobject_cast<QListWidget*>(wnd->GetSafeHwnd());
}

} // namespace

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID)
{
    return CreateControl(CtlKind::ListBox, CString(), style, rect, parent, nID);
}

int CListBox::AddString(const CString& text)
{
    QListWidget* l = List(this);
    if (l == nullptr)
        return LB_ERR;
    // A sorted box places the text in order.
    int index = l->count();
    if ((GetStyle() & LBS_SORT) != 0) {
        const QString q = uirt::ToQ(text);
        index = 0;
        while (index < l->count() && l->item(index)->text().compare(q, Qt::CaseInsensitive) <= 0)
            ++index;
    }
    return InsertString(index, text);
}

int CListBox::InsertString(int index, const CString& text)
{
    QListWidget* l = List(this);
    if (l == nullptr || index > l->count())
        return LB_ERR;
    if (index < 0)
        index = l->count();
    ctl::QuietScope quiet(l);
    auto* item = new QListWidgetItem(uirt::ToQ(text));
    item->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(0));
    l->insertItem(index, item);
    return index;
}

int CListBox::DeleteString(int index)
{
    QListWidget* l = List(this);
    if (l == nullptr || index < 0 || index >= l->count())
        return LB_ERR;
    ctl::QuietScope quiet(l);
    delete l->takeItem(index);
    return l->count();
}

void CListBox::ResetContent()
{
    if (QListWidget* l = List(this)) {
        ctl::QuietScope quiet(l);
        l->clear();
    }
}

int CListBox::GetCount() const
{
    QListWidget* l = List(this);
    return l != nullptr ? l->count() : LB_ERR;
}

int CListBox::GetCurSel() const
{
    QListWidget* l = List(this);
    if (l == nullptr)
        return LB_ERR;
    const QList<QListWidgetItem*> selected = l->selectedItems();
    if (l->selectionMode() == QAbstractItemView::SingleSelection)
        return selected.isEmpty() ? LB_ERR : l->row(selected.front());
    return l->currentRow();
}

int CListBox::SetCurSel(int index)
{
    QListWidget* l = List(this);
    if (l == nullptr)
        return LB_ERR;
    ctl::QuietScope quiet(l);
    if (index < 0 || index >= l->count()) {
        l->clearSelection();
        l->setCurrentRow(-1);
        return index == -1 ? 0 : LB_ERR;
    }
    l->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    return index;
}

int CListBox::GetSel(int index) const
{
    QListWidget* l = List(this);
    if (l == nullptr || index < 0 || index >= l->count())
        return LB_ERR;
    return l->item(index)->isSelected() ? 1 : 0;
}

int CListBox::SetSel(int index, BOOL select)
{
    QListWidget* l = List(this);
    if (l == nullptr || index >= l->count())
        return LB_ERR;
    ctl::QuietScope quiet(l);
    if (index < 0) {
        for (int i = 0; i < l->count(); ++i)
            l->item(i)->setSelected(select != FALSE);
        return 0;
    }
    l->item(index)->setSelected(select != FALSE);
    return 0;
}

int CListBox::GetSelCount() const
{
    QListWidget* l = List(this);
    return l != nullptr ? int(l->selectedItems().size()) : LB_ERR;
}

void CListBox::GetText(int index, CString& text) const
{
    QListWidget* l = List(this);
    text = l != nullptr && index >= 0 && index < l->count() ? uirt::FromQ(l->item(index)->text()) : CString();
}

int CListBox::GetTextLen(int index) const
{
    QListWidget* l = List(this);
    if (l == nullptr || index < 0 || index >= l->count())
        return LB_ERR;
    return int(l->item(index)->text().size());
}

int CListBox::FindStringExact(int startAfter, const CString& text) const
{
    QListWidget* l = List(this);
    if (l == nullptr)
        return LB_ERR;
    const QString wanted = uirt::ToQ(text);
    const int n = l->count();
    for (int k = 1; k <= n; ++k) {
        const int i = (startAfter + k) % n;
        if (i >= 0 && l->item(i)->text().compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return LB_ERR;
}

int CListBox::SetItemData(int index, std::uintptr_t data)
{
    QListWidget* l = List(this);
    if (l == nullptr || index < 0 || index >= l->count())
        return LB_ERR;
    l->item(index)->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(data));
    return 0;
}

std::uintptr_t CListBox::GetItemData(int index) const
{
    QListWidget* l = List(this);
    if (l == nullptr || index < 0 || index >= l->count())
        return std::uintptr_t(LB_ERR);
    return std::uintptr_t(l->item(index)->data(Qt::UserRole).toULongLong());
}

int CListBox::GetTopIndex() const
{
    QListWidget* l = List(this);
    if (l == nullptr)
        return LB_ERR;
    const QModelIndex top = l->indexAt(QPoint(2, 2));
    return top.isValid() ? top.row() : 0;
}

int CListBox::SetTopIndex(int index)
{
    QListWidget* l = List(this);
    if (l == nullptr || index < 0 || index >= l->count())
        return LB_ERR;
    l->scrollToItem(l->item(index), QAbstractItemView::PositionAtTop);
    return 0;
}
