#include "platform/ui/CTabCtrl.h"

#include "platform/ui/control_widgets.h"
#include "platform/ui/ui_runtime.h"

IMPLEMENT_DYNAMIC(CTabCtrl, CControlBase)

namespace {

ctl::TabWidget* Tabs(const CWnd* wnd)
{
    return dynamic_cast<ctl::TabWidget*>(wnd->GetSafeHwnd());
}

} // namespace

BOOL CTabCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID)
{
    return CreateControl(CtlKind::Tab, CString(), style, rect, parent, nID);
}

int CTabCtrl::InsertItem(int index, const CString& text)
{
    ctl::TabWidget* t = Tabs(this);
    if (t == nullptr)
        return -1;
    ctl::QuietScope quiet(t);
    const int at = t->m_bar->insertTab(index, uirt::ToQ(text));
    t->Relayout();
    return at;
}

BOOL CTabCtrl::DeleteItem(int index)
{
    ctl::TabWidget* t = Tabs(this);
    if (t == nullptr || index < 0 || index >= t->m_bar->count())
        return FALSE;
    ctl::QuietScope quiet(t);
    t->m_bar->removeTab(index);
    return TRUE;
}

BOOL CTabCtrl::DeleteAllItems()
{
    ctl::TabWidget* t = Tabs(this);
    if (t == nullptr)
        return FALSE;
    ctl::QuietScope quiet(t);
    while (t->m_bar->count() > 0)
        t->m_bar->removeTab(0);
    return TRUE;
}

int CTabCtrl::GetItemCount() const
{
    ctl::TabWidget* t = Tabs(this);
    return t != nullptr ? t->m_bar->count() : 0;
}

int CTabCtrl::GetCurSel() const
{
    ctl::TabWidget* t = Tabs(this);
    return t != nullptr ? t->m_bar->currentIndex() : -1;
}

int CTabCtrl::SetCurSel(int index)
{
    ctl::TabWidget* t = Tabs(this);
    if (t == nullptr || index < 0 || index >= t->m_bar->count())
        return -1;
    ctl::QuietScope quiet(t);
    const int old = t->m_bar->currentIndex();
    t->m_bar->setCurrentIndex(index);
    return old;
}

CString CTabCtrl::GetItemText(int index) const
{
    ctl::TabWidget* t = Tabs(this);
    return t != nullptr ? uirt::FromQ(t->m_bar->tabText(index)) : CString();
}

BOOL CTabCtrl::GetItemRect(int index, LPRECT rect) const
{
    ctl::TabWidget* t = Tabs(this);
    if (t == nullptr || index < 0 || index >= t->m_bar->count())
        return FALSE;
    const QRect r = t->m_bar->tabRect(index);
    *rect = RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    return TRUE;
}

void CTabCtrl::AdjustRect(BOOL larger, LPRECT rect) const
{
    ctl::TabWidget* t = Tabs(this);
    const int strip = t != nullptr ? t->m_bar->sizeHint().height() : 0;
    const int sign = larger ? -1 : 1;
    rect->left += sign * 2;
    rect->right -= sign * 2;
    rect->top += sign * (strip + 2);
    rect->bottom -= sign * 2;
}
