#include "app/CMainFrame.h"

#include "app/AppState.h"
#include "app/FrameState.h"
#include "app/MainFrameLink.h"
#include "app/ToolPalette.h"
#include "app/frame_resources.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CTabCtrl.h"
#include "platform/ui/afx_ids.h"
#include "platform/ui/control_styles.h"
#include "platform/ui/screen.h"

#include <cstdint>

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_ORTHO, IDC_GRIPEDIT, OnOptionSwitch)
    ON_CBN_SELCHANGE(IDC_LINE_STYLE, OnLineStyleChanged)
    ON_NOTIFY(TCN_SELCHANGE, IDC_TOOL_TAB, OnToolTabChanged)
    ON_CBN_SELENDOK(IDC_MODE_COMBO, OnModeListConfirmed)
    ON_CBN_CLOSEUP(IDC_MODE_COMBO, OnModeListClosed)
    ON_EN_CHANGE(IDC_COMMAND_EDIT, OnCommandEditChanged)
END_MESSAGE_MAP()

namespace {

constexpr int kMainToolButtons = 20;
// Room for the line-style combo (placed 100 to 200 pixels into it); a wider
// gap only pushed the combo into the toolbar's overflow menu.
constexpr int kLineStyleSeparatorWidth = 210;
constexpr int kModeListHeight = 100;
constexpr int kModeFieldHeight = 18;
constexpr int kPaletteTabRoom = 90;

const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

const char16_t* const kLineStyleItems[] = {
    u"—————————", u"..........................", u"－－－－－－－－－", u"－·－·－·－·－·－·－"};

const unsigned kPanelTemplates[] = {151, 169, 171, 238, 247};

} // namespace

CMainFrame::CMainFrame()
{
    RegisterFrameResources();
    // Set here, not while the window is being made: the creation holds the
    // title's text while it calls PreCreateWindow.
    m_strTitle.Format(u"Zorva图形编程工具   -  %s", u"ver 3.7");
}

CMainFrame::~CMainFrame()
{
    CDialog** slots[] = {&g_pPropertyPanel, &g_pTextPanel, &g_pArrayPanel, &g_pBatchPanel, &g_pCompTablePanel};
    for (CDialog** slot : slots)
        for (const auto& panel : m_panels)
            if (*slot == panel.get())
                *slot = nullptr;
    m_panels.clear();
    // The palettes ask for the tab bar while views update their buttons.
    if (g_toolTabBar == &m_toolTabBar)
        g_toolTabBar = nullptr;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style = WS_OVERLAPPEDWINDOW | WS_MAXIMIZE | FWS_ADDTOTITLE;
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT cs)
{
    g_MainWindowCreated = 1;
    g_pMainFrame = this;
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    if (!CreateMainToolBar())
        return -1;
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(kIndicators, 4))
        return -1;
    m_mainToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_mainToolBar);
    FrameLink().SetScreenSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (!CreateLeftTools() || !CreateCommandBar())
        return -1;
    if (m_drawToolBar.GetSafeHwnd() != nullptr)
        m_drawToolBar.OnUpdateCmdUI(this, TRUE);
    if (m_dimToolBar.GetSafeHwnd() != nullptr)
        m_dimToolBar.OnUpdateCmdUI(this, TRUE);
    CreateFloatingPanels();
    return 0;
}

bool CMainFrame::CreateMainToolBar()
{
    const DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
    if (!m_mainToolBar.CreateEx(this, TBSTYLE_FLAT, style) || !m_mainToolBar.LoadToolBar(IDR_MAINTOOLBAR))
        return false;
    g_mainToolBar = &m_mainToolBar;
    // The resource ends with the separator that hosts the combo.
    if (m_mainToolBar.GetCount() != kMainToolButtons + 1)
        return false;
    m_mainImages.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 2);
    for (UINT icon : kMainToolbarIcons)
        m_mainImages.AddIcon(icon);
    m_mainToolBar.GetToolBarCtrl().SetImageList(&m_mainImages);
    for (int i = 0; i < kMainToolButtons; ++i)
        m_mainToolBar.SetButtonInfo(i, m_mainToolBar.GetItemID(i), TBBS_BUTTON, i);
    m_mainToolBar.SetButtonInfo(kMainToolButtons, IDC_LINE_STYLE, TBBS_SEPARATOR, kLineStyleSeparatorWidth);
    m_mainToolBar.SetHeight(26);

    RECT item;
    m_mainToolBar.GetItemRect(kMainToolButtons, &item);
    const RECT combo{item.left + 100, item.top, item.left + 200, item.bottom + 200};
    if (!m_lineStyleCombo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL, combo, &m_mainToolBar,
                                 IDC_LINE_STYLE))
        return false;
    for (const char16_t* text : kLineStyleItems)
        m_lineStyleCombo.AddString(CString(text));
    m_lineStyleCombo.SetCurSel(0);
    return true;
}

bool CMainFrame::CreateLeftTools()
{
    const DWORD barStyle = WS_CHILD | WS_VISIBLE | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
    if (g_MachiningSettings.paletteButtonStyle != 0) {
        if (!m_toolTabBar.Create(this, IDD_TOOLTABBAR, barStyle | CBRS_LEFT, IDD_TOOLTABBAR))
            return false;
        g_toolTabBar = &m_toolTabBar;
        auto* tab = dynamic_cast<CTabCtrl*>(m_toolTabBar.GetDlgItem(IDC_TOOL_TAB));
        if (tab == nullptr)
            return false;
        tab->InsertItem(0, CString(u"--绘制--"));
        tab->InsertItem(1, CString(u"--编辑--"));
        tab->InsertItem(2, CString(u"--标注--"));
        RECT area;
        tab->GetClientRect(&area);
        area.left += 3;
        area.top += kPaletteTabRoom;
        area.bottom -= 2;
        for (int n = 1; n <= 3; ++n) {
            ToolPalette* palette = PaletteByNumber(n);
            if (palette->GetSafeHwnd() == nullptr)
                palette->Create(palette->GetTemplateId(), tab);
            palette->MoveWindow(&area, TRUE);
            palette->ShowWindow(SW_HIDE);
        }
        return true;
    }
    const DWORD toolStyle = barStyle | CBRS_GRIPPER;
    if (!m_drawToolBar.CreateEx(this, TBSTYLE_FLAT, toolStyle | CBRS_LEFT) || !m_drawToolBar.LoadToolBar(IDR_DRAWTOOLBAR))
        return false;
    if (!m_dimToolBar.CreateEx(this, TBSTYLE_FLAT, toolStyle | CBRS_TOP) || !m_dimToolBar.LoadToolBar(IDR_DIMTOOLBAR))
        return false;
    g_drawToolBar = &m_drawToolBar;
    g_dimToolBar = &m_dimToolBar;
    m_drawToolBar.EnableDocking(CBRS_ALIGN_ANY);
    m_dimToolBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_drawToolBar);
    DockControlBar(&m_dimToolBar);
    return true;
}

bool CMainFrame::CreateCommandBar()
{
    const DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
    if (!m_commandBar.Create(this, IDD_COMMANDBAR, style, IDD_COMMANDBAR))
        return false;
    g_pCommandBar = &m_commandBar;
    const struct { int id; std::int32_t value; } switches[] = {
        {IDC_ORTHO, g_MachiningSettings.orthoOn}, {IDC_TRACK, g_MachiningSettings.polarOn},
        {IDC_SNAP, g_MachiningSettings.snapOn}, {IDC_ENDPOINTS, g_MachiningSettings.endpointOn},
        {IDC_GRIPEDIT, g_MachiningSettings.modifyOn}, {IDC_LOCK, g_MachiningSettings.lockOn}};
    for (const auto& s : switches)
        if (auto* box = dynamic_cast<CButton*>(m_commandBar.GetDlgItem(s.id)))
            box->SetCheck(s.value != 0 ? 1 : 0);

    auto* combo = dynamic_cast<CComboBox*>(m_commandBar.GetDlgItem(IDC_MODE_COMBO));
    if (combo != nullptr) {
        g_modeCombo = combo;
        combo->ModifyStyle(0, CBS_NOINTEGRALHEIGHT);
        combo->SetDroppedHeight(kModeListHeight);
        combo->SetItemHeight(-1, kModeFieldHeight);
        combo->EnableWindow(FALSE);
    }
    FrameLink().AttachCommandBar(&m_commandBar);
    return true;
}

void CMainFrame::CreateFloatingPanels()
{
    CDialog** slots[] = {&g_pPropertyPanel, &g_pTextPanel, &g_pArrayPanel, &g_pBatchPanel, &g_pCompTablePanel};
    for (int i = 0; i < 5; ++i) {
        if (FloatingPanelFactory make = FindFloatingPanel(kPanelTemplates[i])) {
            *slots[i] = make(this);
            if (*slots[i] != nullptr)
                m_panels.emplace_back(*slots[i]);
        }
    }
}

void CMainFrame::ShowToolPalette(int tab)
{
    if (!PalettesHaveWindows())
        return;
    if (auto* tabs = dynamic_cast<CTabCtrl*>(m_toolTabBar.GetDlgItem(IDC_TOOL_TAB)))
        tabs->SetCurSel(tab);
    SyncAllPaletteButtons();
    for (int n = 1; n <= 3; ++n)
        PaletteByNumber(n)->ShowWindow(n == tab + 1 ? SW_SHOW : SW_HIDE);
}

void CMainFrame::OnToolTabChanged(NMHDR*, LRESULT* result)
{
    if (m_toolTabBar.GetSafeHwnd() != nullptr)
        if (auto* tabs = dynamic_cast<CTabCtrl*>(m_toolTabBar.GetDlgItem(IDC_TOOL_TAB)))
            ShowToolPalette(tabs->GetCurSel());
    if (result != nullptr)
        *result = 0;
}
