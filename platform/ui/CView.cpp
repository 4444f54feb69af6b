#include "platform/ui/CView.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/CCreateContext.h"
#include "platform/ui/CDocument.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CPaintDC.h"

#include <QWidget>

IMPLEMENT_DYNAMIC(CView, CWnd)

CView::CView() = default;

CView::~CView()
{
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
}

CFrameWnd* CView::GetParentFrame() const
{
    for (CWnd* w = GetParent(); w != nullptr; w = w->GetParent()) {
        if (auto* f = dynamic_cast<CFrameWnd*>(w))
            return f;
    }
    return nullptr;
}

int CView::OnCreate(LPCREATESTRUCT cs)
{
    auto* context = static_cast<CCreateContext*>(cs->lpCreateParams);
    if (context != nullptr && context->m_pCurrentDoc != nullptr)
        context->m_pCurrentDoc->AddView(this);
    // The client area shows the front image; it exists from the start so
    // other threads can draw into it.
    GetFrontImage();
    return 0;
}

void CView::OnDestroy()
{
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, CObject*)
{
    Invalidate(TRUE);
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
