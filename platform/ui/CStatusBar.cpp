#include "platform/ui/CStatusBar.h"

#include "platform/ui/CFrameWnd.h"
#include "platform/ui/afx_ids.h"
#include "platform/ui/resources.h"
#include "platform/ui/ui_runtime.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

namespace {

// Text an indicator shows while its key is toggled on.
CString IndicatorText(UINT id)
{
    const CString res = LoadResourceString(id);
    if (!res.IsEmpty())
        return res;
    switch (id) {
    case ID_INDICATOR_CAPS: return CString(u"CAP");
    case ID_INDICATOR_NUM: return CString(u"NUM");
    case ID_INDICATOR_SCRL: return CString(u"SCRL");
    default: return CString();
    }
}

int IndicatorKey(UINT id)
{
    switch (id) {
    case ID_INDICATOR_CAPS: return VK_CAPITAL;
    case ID_INDICATOR_NUM: return VK_NUMLOCK;
    case ID_INDICATOR_SCRL: return VK_SCROLL;
    default: return 0;
    }
}

} // namespace

CStatusBar::CStatusBar() = default;

CStatusBar::~CStatusBar()
{
    if (m_pDockSite != nullptr)
        m_pDockSite->RemoveControlBar(this);
}

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT nID)
{
    return CreateEx(parent, 0, style, nID);
}

BOOL CStatusBar::CreateEx(CWnd* parent, DWORD, DWORD style, UINT nID)
{
    uirt::EnsureApplication();
    if (m_hWnd != nullptr || parent == nullptr || parent->m_hWnd == nullptr)
        return FALSE;
    auto* sb = new QStatusBar(parent->m_hWnd);
    sb->setSizeGripEnabled(false);
    AttachWidget(sb, nID);
    m_style = WS_CHILD | (style & (WS_VISIBLE | WS_DISABLED));
    m_dwBarStyle = style & ~(WS_CHILD | WS_VISIBLE | WS_DISABLED);
    AttachToParent(parent);
    if ((style & WS_VISIBLE) != 0)
        sb->show();
    else
        sb->hide();
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count)
{
    if (m_hWnd == nullptr || count < 0)
        return FALSE;
    m_panes.clear();
    for (int i = 0; i < count; ++i) {
        Pane p;
        p.id = ids != nullptr ? ids[i] : 0;
        if (p.id == ID_SEPARATOR) {
            p.style = SBPS_STRETCH | SBPS_NOBORDERS;
        } else {
            const CString res = IndicatorText(p.id);
            const QFontMetrics fm(m_hWnd->font());
            p.width = fm.horizontalAdvance(uirt::ToQ(res)) + 4;
            if (IndicatorKey(p.id) == 0)
                p.text = res;
        }
        m_panes.push_back(p);
    }
    Rebuild();
    return TRUE;
}

void CStatusBar::Rebuild()
{
    auto* sb = static_cast<QStatusBar*>(m_hWnd);
    for (QLabel* old : sb->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (old->property("zorvaPane").toBool()) {
            sb->removeWidget(old);
            delete old;
        }
    }
    for (Pane& p : m_panes) {
        auto* label = new QLabel(sb);
        label->setProperty("zorvaPane", true);
        label->setObjectName(QString::number(p.id));
        label->setFrameShape((p.style & SBPS_NOBORDERS) != 0 ? QFrame::NoFrame : QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        p.label = label;
        sb->addWidget(label, (p.style & SBPS_STRETCH) != 0 ? 1 : 0);
        Apply(p);
    }
}

void CStatusBar::Apply(Pane& p)
{
    auto* label = static_cast<QLabel*>(p.label);
    if (label == nullptr)
        return;
    label->setText(uirt::ToQ(p.text));
    if ((p.style & SBPS_STRETCH) == 0 && p.width > 0)
        label->setMinimumWidth(p.width);
    label->setEnabled((p.style & SBPS_DISABLED) == 0);
}

BOOL CStatusBar::SetPaneText(int index, const CString& text, BOOL)
{
    if (index < 0 || index >= GetCount())
        return FALSE;
    m_panes[size_t(index)].text = text;
    Apply(m_panes[size_t(index)]);
    return TRUE;
}

CString CStatusBar::GetPaneText(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[size_t(index)].text : CString();
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width)
{
    if (index < 0 || index >= GetCount())
        return;
    Pane& p = m_panes[size_t(index)];
    const bool stretchChanged = ((p.style ^ style) & SBPS_STRETCH) != 0;
    p.id = id;
    p.style = style;
    p.width = width;
    if (stretchChanged)
        Rebuild();
    else
        Apply(p);
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const
{
    id = GetItemID(index);
    style = GetPaneStyle(index);
    width = index >= 0 && index < GetCount() ? m_panes[size_t(index)].width : 0;
}

UINT CStatusBar::GetPaneStyle(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[size_t(index)].style : 0;
}

void CStatusBar::SetPaneStyle(int index, UINT style)
{
    if (index < 0 || index >= GetCount())
        return;
    UINT id = 0, old = 0;
    int width = 0;
    GetPaneInfo(index, id, old, width);
    SetPaneInfo(index, id, style, width);
}

UINT CStatusBar::GetItemID(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[size_t(index)].id : 0;
}

int CStatusBar::CommandToIndex(UINT id) const
{
    for (int i = 0; i < GetCount(); ++i) {
        if (m_panes[size_t(i)].id == id)
            return i;
    }
    return -1;
}

void CStatusBar::GetItemRect(int index, LPRECT rect) const
{
    if (rect == nullptr)
        return;
    *rect = RECT{};
    if (index < 0 || index >= GetCount() || m_panes[size_t(index)].label == nullptr)
        return;
    const QRect g = m_panes[size_t(index)].label->geometry();
    *rect = RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd*, BOOL)
{
    for (Pane& p : m_panes) {
        const int key = IndicatorKey(p.id);
        if (key == 0)
            continue;
        const CString want = (GetKeyState(key) & 1) != 0 ? IndicatorText(p.id) : CString();
        if (want != p.text) {
            p.text = want;
            Apply(p);
        }
    }
}
