#include "platform/ui/CClientDC.h"

#include "platform/gdi/CFrontImage.h"
#include "platform/ui/CPaintDC.h"
#include "platform/ui/CWnd.h"

CClientDC::CClientDC(CWnd* wnd) : m_pWnd(wnd)
{
    if (wnd != nullptr)
        m_front = wnd->GetFrontImage();
    if (m_front != nullptr)
        AttachFrontImage(m_front.get());
}

// The target goes before the image it locks.
CClientDC::~CClientDC()
{
    ReleaseTarget();
}

CPaintDC::CPaintDC(CWnd* wnd) : CClientDC(wnd)
{
    if (wnd != nullptr)
        wnd->GetClientRect(&m_ps.rcPaint);
}
