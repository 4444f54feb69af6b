#include "process/tab_pages.h"

#include "platform/ui/CTabCtrl.h"
#include "platform/ui/CWnd.h"

SIZE WindowSize(const CWnd* w)
{
    RECT r{};
    if (w != nullptr)
        w->GetWindowRect(&r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

RECT ChildRect(const CWnd* child)
{
    RECT r{};
    if (child == nullptr)
        return r;
    child->GetWindowRect(&r);
    if (CWnd* parent = child->GetParent())
        parent->ScreenToClient(&r);
    return r;
}

void PlaceInTab(CWnd* tab, CWnd* page)
{
    auto* t = dynamic_cast<CTabCtrl*>(tab);
    if (t == nullptr || page == nullptr)
        return;
    RECT r;
    t->GetClientRect(&r);
    t->AdjustRect(FALSE, &r);
    page->MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

SIZE TabSizeFor(CWnd* tab, SIZE page)
{
    RECT r{0, 0, page.cx, page.cy};
    if (auto* t = dynamic_cast<CTabCtrl*>(tab))
        t->AdjustRect(TRUE, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void MoveBy(CWnd* w, int dx, int dy)
{
    if (w == nullptr)
        return;
    const RECT r = ChildRect(w);
    w->MoveWindow(r.left + dx, r.top + dy, r.right - r.left, r.bottom - r.top);
}

void GrowClient(CWnd* w, int dx, int dy)
{
    if (w == nullptr)
        return;
    RECT r;
    w->GetClientRect(&r);
    w->SetWindowPos(nullptr, 0, 0, r.right + dx, r.bottom + dy, SWP_NOMOVE | SWP_NOZORDER);
}
