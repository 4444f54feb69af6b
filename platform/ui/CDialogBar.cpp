#include "platform/ui/CDialogBar.h"

#include "platform/ui/CDialog.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/ui_runtime.h"

#include <QWidget>

IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

CDialogBar::CDialogBar() = default;

CDialogBar::~CDialogBar()
{
    if (m_pDockSite != nullptr)
        m_pDockSite->RemoveControlBar(this);
    // Controls go with the panel; their objects after it.
    if (m_hWnd != nullptr)
        DestroyWindow();
    m_controls.clear();
}

BOOL CDialogBar::Create(CWnd* parent, UINT templateId, UINT style, UINT nID)
{
    uirt::EnsureApplication();
    const DlgTemplate* tmpl = FindDialogTemplate(templateId);
    if (tmpl == nullptr || m_hWnd != nullptr || parent == nullptr || parent->m_hWnd == nullptr)
        return FALSE;
    auto* panel = new QWidget(parent->m_hWnd);
    m_sizeDefault = CSize(DialogUnitsToPixelsX(tmpl->cx), DialogUnitsToPixelsY(tmpl->cy));
    panel->resize(m_sizeDefault.cx, m_sizeDefault.cy);
    // A bar along the top or bottom keeps the template's height, one on a
    // side its width; the other direction follows the frame.
    // (The fixed size is set last: a minimum size set after it undid it.)
    panel->setMinimumSize(std::min(m_sizeDefault.cx, 200), std::min(m_sizeDefault.cy, 40));
    if ((style & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0)
        panel->setFixedHeight(m_sizeDefault.cy);
    else
        panel->setFixedWidth(m_sizeDefault.cx);
    AttachWidget(panel, nID);
    m_style = WS_CHILD | (style & (WS_VISIBLE | WS_DISABLED));
    m_dwBarStyle = style & ~(WS_CHILD | WS_VISIBLE | WS_DISABLED);
    BuildDialogControls(*tmpl, this, m_controls);
    if ((style & WS_VISIBLE) == 0)
        panel->hide();
    AttachToParent(parent);
    return TRUE;
}
