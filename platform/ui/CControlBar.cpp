#include "platform/ui/CControlBar.h"

#include "platform/ui/CFrameWnd.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

void CControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

BOOL CControlBar::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd* owner = GetOwner())
        return owner->OnCommand(wParam, lParam);
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CControlBar::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (CWnd* owner = GetOwner())
        return owner->OnNotify(wParam, lParam, result);
    return CWnd::OnNotify(wParam, lParam, result);
}

void CControlBar::AttachToParent(CWnd* parent)
{
    m_pDockSite = dynamic_cast<CFrameWnd*>(parent);
    if (m_pOwner == nullptr)
        m_pOwner = parent;
    if (m_pDockSite != nullptr)
        m_pDockSite->AddControlBar(this);
}
