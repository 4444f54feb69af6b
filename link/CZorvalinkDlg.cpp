#include "link/CZorvalinkDlg.h"

#include "link/LinkState.h"
#include "link/dispatch.h"
#include "link/link_helpers.h"
#include "link/link_resources.h"
#include "link/machine_table.h"
#include "link/transfer.h"
#include "platform/core/exceptions.h"
#include "platform/core/files.h"
#include "platform/net/ipv4.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CImageList.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CTabCtrl.h"
#include "platform/ui/afx_ids.h"
#include "platform/ui/popup_menu.h"
#include "platform/ui/resources.h"

#include <algorithm>
#include <exception>

BEGIN_MESSAGE_MAP(CZorvalinkDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_NOTIFY(NM_CLICK, IDC_MACHINE_LIST, OnMachineListClick)
    ON_NOTIFY(NM_CUSTOMDRAW, IDC_MACHINE_LIST, OnMachineListCustomDraw)
    ON_BN_CLICKED(IDC_REPLACE_EXISTING, OnReplaceCheck)
    ON_BN_CLICKED(IDC_SKIP_EXISTING, OnCancelCheck)
    ON_BN_CLICKED(IDC_SHOW_MAXIMISED, OnMaximizeCheck)
    ON_BN_CLICKED(IDC_SELECT_ALL, OnSelectAll)
    ON_BN_CLICKED(IDC_SELECT_NONE, OnSelectNone)
    ON_BN_CLICKED(IDC_SAVE_SCHEME, OnSaveScheme)
    ON_BN_CLICKED(IDC_CLEAR_SCHEMES, OnClearSchemes)
    ON_CBN_SELCHANGE(IDC_SCHEME, OnSchemeChange)
    ON_COMMAND(ID_LOG_CLEAR, OnClearLog)
    ON_COMMAND(ID_CHANGE_MACHINE_NUMBER, OnChangeMachineNumber)
END_MESSAGE_MAP()

namespace {

constexpr UINT_PTR kLinkTimer = 1;
constexpr UINT kTickMs = 100;

// The file page's narrowest width: its check boxes (to x 210) beside its
// three buttons (from P - 280), 10 pixels apart.
constexpr int kMinPageWidth = 500;
// Each of its lists shows its header, two rows of 32-pixel icons and its
// horizontal scroll bar.
constexpr int kMinListHeight = 130;

} // namespace

CZorvalinkDlg::CZorvalinkDlg() : CDialog(IDD_ZORVALINK_DIALOG)
{
    RegisterLinkResources();
}

CZorvalinkDlg::~CZorvalinkDlg()
{
    // A dialog that was never shown or destroyed still lets go of the engine.
    m_udp.Stop();
    if (g_pLinkUdp == &m_udp)
        g_pLinkUdp = nullptr;
    if (g_pMainDlg == this) {
        g_pMainDlg = nullptr;
        SetLinkDisplay(nullptr);
    }
}

void CZorvalinkDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TRANSFER_LABEL, m_transferLabel);
}

CListCtrl* CZorvalinkDlg::MachineList() const
{
    return static_cast<CListCtrl*>(GetDlgItem(IDC_MACHINE_LIST));
}

CListBox* CZorvalinkDlg::LogList() const
{
    return static_cast<CListBox*>(GetDlgItem(IDC_LOG));
}

CComboBox* CZorvalinkDlg::SchemeCombo() const
{
    return static_cast<CComboBox*>(GetDlgItem(IDC_SCHEME));
}

CTabCtrl* CZorvalinkDlg::Tab() const
{
    return static_cast<CTabCtrl*>(GetDlgItem(IDC_TAB));
}

BOOL CZorvalinkDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    g_pMainDlg = this;
    SetLinkDisplay(this);
    try {
        StartDialog();
    } catch (const CException& e) {
        LogException(-1, e.What());
    } catch (const std::exception& e) {
        LogException(-1, e.what());
    }
    return TRUE;
}

void CZorvalinkDlg::StartDialog()
{
    if (CMenu* system = GetSystemMenu(FALSE)) {
        const CString about = LoadResourceString(IDS_ABOUTBOX);
        if (!about.IsEmpty()) {
            system->AppendMenu(MF_SEPARATOR);
            system->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    m_transferLabel.SetLabelFontSize(12);
    m_transferLabel.SetLabelTextColor(RGB(0, 200, 150));
    m_transferLabel.SetLabelBold();

    const UINT panes[] = {ID_PANE_STATUS, ID_PANE_ADDRESS, ID_SEPARATOR};
    if (!m_statusBar.Create(this) || !m_statusBar.SetIndicators(panes, 3))
        return;
    g_ModuleFolder = ProgramFolder(ZorvaProgram::Link);
    for (const char16_t* folder : {u".\\Data", u".\\FileTemp"})
        CreateFolder(MapWindowsPath(folder, ZorvaProgram::Link));
    SweepStaging(); // what an earlier run left in FileTemp

    CListCtrl* list = MachineList();
    list->SetExtendedStyle(list->GetExtendedStyle() | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    m_machineImages = std::make_unique<CImageList>();
    m_machineImages->Create(32, 32, ILC_COLOR24 | ILC_MASK, 2, 2);
    m_machineImages->AddIcon(IDI_MACHINE_OFFLINE);
    m_machineImages->AddIcon(IDI_MACHINE_ONLINE);
    list->SetImageList(m_machineImages.get(), LVSIL_SMALL);
    SchemeCombo()->SetDroppedHeight(500);
    SchemeCombo()->SetItemHeight(-1, 16);

    Tab()->InsertItem(0, CString(u" 文件传输 "));
    m_filePage.Create(IDD_FILE_PAGE, Tab());
    m_started = true;
    // Before, a small window squeezed the tab to a strip and the page's
    // buttons and path boxes went out of sight.
    m_minimum = MinimumClientSize();
    SetMinimumClientSize(m_minimum.cx, m_minimum.cy);
    LayoutControls();
    RebuildMachineList();
    ShowPage();

    CheckDlgButton(IDC_REPLACE_EXISTING, BST_CHECKED);
    m_filePage.CheckDlgButton(IDC_SEND_ALL, BST_CHECKED);
    g_OwnAddress = GetOwnIPv4();
    const int started = m_udp.StartUdp(g_OwnAddress);
    CString text;
    if (started == 1) {
        g_pLinkUdp = &m_udp;
        m_statusBar.SetPaneText(0, u"就绪");
        text.Format(u"本机: %s", OwnIpText(g_OwnAddress).GetString());
        m_statusBar.SetPaneText(1, text);
    } else {
        text.Format(u"错误：端口初始化失败  code:%d", started);
        m_statusBar.SetPaneText(0, text);
        m_statusBar.SetPaneText(1, u"--");
    }
    g_SelectedMachine = kNoMachine;
    SetTimer(kLinkTimer, kTickMs);

    LoadSettings();
    FillSchemeCombo();
    LoadSelectedScheme();
    if (g_LinkSettings.showMaximised)
        ShowWindow(SW_SHOWMAXIMIZED);
    g_TransferLabelOn = false;
    m_transferLabel.EnableWindow(FALSE);
    ShowStartLines();
    g_PollActive = true;
    g_PollIndex = 0;
}

void CZorvalinkDlg::FillSchemeCombo()
{
    CComboBox* combo = SchemeCombo();
    std::vector<CString> files;
    ListSchemeFiles(files);
    int selected = -1;
    for (const CString& file : files) {
        const int dot = file.Find(u'.');
        const int index = combo->AddString(dot < 0 ? file : file.Left(dot));
        if (combo->GetLBText(index) == g_CurrentScheme)
            selected = index;
    }
    if (combo->GetCount() == 0)
        combo->AddString(CString(u"方案-1"));
    combo->SetCurSel(selected >= 0 ? selected : 0);
}

void CZorvalinkDlg::LoadSelectedScheme()
{
    // The entry the combo shows is the one saved at exit, so it is the one
    // loaded. Loading the settings' name instead (missing, or read without
    // its inner blanks) left the table empty and the exit saved that empty
    // table over the shown scheme.
    CString name;
    SchemeCombo()->GetWindowText(name);
    LoadScheme(name);
    ResetLoadedMachines();
    if (!g_SchemeFolderText.IsEmpty() && FolderExists(g_SchemeFolderText)) {
        m_filePage.localFolder = g_SchemeFolderText;
        m_filePage.FillLocalList(m_filePage.FilterIndex());
    }
}

void CZorvalinkDlg::ShowStartLines()
{
    CListBox* log = LogList();
    log->AddString(CString(u"提示： ctrl + 鼠标、shift + 鼠标可多选文件，请不要在加工中传输文件；使用说明见项目的 README。"));
    log->AddString(CString(u'-', 151));
}

void CZorvalinkDlg::OnDestroy()
{
    // The receive thread and the timer stop first: nothing may reach the
    // engine or this dialog once it is going.
    KillTimer(kLinkTimer);
    m_udp.Stop();
    if (g_pLinkUdp == &m_udp)
        g_pLinkUdp = nullptr;
    if (m_started) {
        CListCtrl* list = MachineList();
        const int rows = std::min(list->GetItemCount(), static_cast<int>(g_Machines.size()));
        for (int row = 0; row < rows; ++row)
            g_Machines[static_cast<size_t>(row)].checked = list->GetCheck(row) ? 1 : 0;
        CString name;
        SchemeCombo()->GetWindowText(name);
        SaveScheme(name);
        SaveSettings();
    }
    m_started = false;
    SetLinkDisplay(nullptr);
    g_pMainDlg = nullptr;
}

void CZorvalinkDlg::OnSysCommand(UINT id, LPARAM lParam)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CDialog about(IDD_LINK_ABOUTBOX, this);
        about.DoModal();
        return;
    }
    CDialog::OnSysCommand(id, lParam);
}

void CZorvalinkDlg::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    // Without a window manager that keeps to the minimum size, the window
    // is grown back to it, once for each smaller size it was given.
    const bool small = cx < m_minimum.cx || cy < m_minimum.cy;
    if (m_started && type == SIZE_RESTORED && small && CSize(cx, cy) != m_shrunkTo) {
        m_shrunkTo = CSize(cx, cy);
        SetWindowPos(nullptr, 0, 0, std::max(cx, int(m_minimum.cx)), std::max(cy, int(m_minimum.cy)),
                     SWP_NOMOVE | SWP_NOZORDER);
    }
    LayoutControls();
}

void CZorvalinkDlg::OnTimer(UINT_PTR id)
{
    if (id == kLinkTimer)
        OnLinkTimer();
}

void CZorvalinkDlg::OnOK()
{
    OnReloadList();
}

void CZorvalinkDlg::LayoutControls()
{
    if (!m_started)
        return;
    CRect rc;
    GetClientRect(&rc);
    // Below the minimum the controls keep the minimum's places (the window
    // cuts them) rather than crowding into a strip.
    rc.right = std::max(rc.right, rc.left + m_minimum.cx);
    rc.bottom = std::max(rc.bottom, rc.top + m_minimum.cy);
    Tab()->MoveWindow(rc.left + 700, rc.top + 45, rc.right - 1 - (rc.left + 700), rc.bottom - 25 - (rc.top + 45));
    MachineList()->MoveWindow(rc.left + 2, rc.top + 45, 680, rc.bottom - rc.top - 200);
    LogList()->MoveWindow(rc.left + 2, rc.bottom - 150, 680, 120);
    if (m_statusBar.GetSafeHwnd() != nullptr)
        m_statusBar.MoveWindow(0, rc.bottom - 20, rc.right, 20);
    if (m_filePage.GetSafeHwnd() == nullptr)
        return;
    CRect tab;
    Tab()->GetClientRect(&tab);
    const int P = tab.Width() - 4;
    const int Q = tab.Height() - 29;
    const int L = (Q - 75) / 2 - 50;
    m_filePage.MoveWindow(1, 27, P, Q);
    const struct {
        int id, x, y, cx, cy;
    } places[] = {
        {IDC_LOCAL_LIST, 1, 35, P - 6, L},
        {IDC_LOCAL_LABEL, 1, 10, P + 44, 25},
        {IDC_LOCAL_PATH, 54, 5, P - 159, 25},
        {IDC_LOCAL_UP, P - 100, 5, 89, 25},
        {IDC_REMOTE_LIST, 1, L + 85, P - 6, L},
        {IDC_REMOTE_LABEL, 1, L + 60, 50, 25},
        {IDC_REMOTE_PATH, 54, L + 55, P - 159, 25},
        {IDC_REMOTE_UP, P - 100, L + 55, 89, 25},
        {IDC_FILTER, 1, 2 * L + 90, 200, 25},
        {IDC_MACHINE_BOX, P - 100, 2 * L + 90, 95, 25},
        {IDC_SEND_ALL, 0, Q - 33, 100, 25},
        {IDC_SKIP_BUSY, 110, Q - 33, 100, 25},
        {IDC_SEND, P - 280, Q - 33, 80, 25},
        {IDC_RECEIVE, P - 180, Q - 33, 80, 25},
        {IDC_STOP, P - 80, Q - 33, 80, 25},
    };
    for (const auto& p : places)
        if (CWnd* control = m_filePage.GetDlgItem(p.id))
            control->MoveWindow(p.x, p.y, p.cx, p.cy);
}

CSize CZorvalinkDlg::MinimumClientSize() const
{
    // The tab starts at x 700 and its page is 4 narrower than the tab.
    int width = 701 + kMinPageWidth + 4;
    for (int id : {IDC_RELOAD, IDC_SELECT_ALL, IDC_SELECT_NONE, IDC_STATE_TEXT, IDC_TRANSFER_LABEL,
                   IDC_REPLACE_EXISTING, IDC_SKIP_EXISTING, IDC_SHOW_MAXIMISED, IDC_SCHEME, IDC_SAVE_SCHEME,
                   IDC_CLEAR_SCHEMES}) {
        if (const CWnd* control = GetDlgItem(id)) {
            CRect r;
            control->GetWindowRect(&r);
            ScreenToClient(&r);
            width = std::max(width, r.right + 10);
        }
    }
    // L = (Q - 75) / 2 - 50 gives the page height Q; the tab is 29 taller,
    // and starts at 45 and ends 25 above the bottom.
    const int pageHeight = 2 * (kMinListHeight + 50) + 75;
    return CSize(width, pageHeight + 29 + 45 + 25);
}

void CZorvalinkDlg::ShowPage()
{
    Tab()->SetCurSel(0);
    m_filePage.ShowWindow(SW_SHOW);
}

CString CZorvalinkDlg::GetMachineName(int row) const
{
    return ::GetMachineName(row);
}

bool CZorvalinkDlg::TransferGuard()
{
    if (g_TransferState == 0)
        return false;
    AddLog(u"当前传输中，不能进行此操作");
    return true;
}

BOOL CZorvalinkDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_LBUTTONUP || msg->message == WM_KEYUP) {
        g_ClickLatch = false;
    } else if (msg->message == WM_RBUTTONDOWN && m_started) {
        CWnd* target = CWnd::FromHandle(msg->hwnd);
        if (target == LogList()) {
            ShowContextMenu(IDR_LOG_MENU, *msg);
        } else {
            const int selected = MachineList()->GetNextItem(-1, LVNI_SELECTED);
            if (selected >= 0)
                g_SelectedMachine = MachineIdAt(selected);
            if (target == MachineList())
                ShowContextMenu(IDR_MACHINE_MENU, *msg);
        }
    }
    return CDialog::PreTranslateMessage(msg);
}

void CZorvalinkDlg::ShowContextMenu(UINT menuId, const MSG& msg)
{
    CMenu menu;
    if (!menu.LoadMenu(menuId))
        return;
    if (CMenu* popup = menu.GetSubMenu(0))
        popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, msg.pt.x, msg.pt.y, this);
}

void CZorvalinkDlg::OnMachineListClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    if (!m_logCleared) {
        m_logCleared = true;
        LogList()->ResetContent();
    }
    if (g_ClickLatch)
        return;
    g_ClickLatch = true;
    const int row = MachineList()->GetNextItem(-1, LVNI_SELECTED);
    if (row < 0 || row >= static_cast<int>(g_Machines.size()))
        return;
    SelectMachineRow(row, m_filePage.FilterIndex());
    CString box;
    box.Format(u"【%s】", ::GetMachineName(row).GetString());
    m_filePage.SetDlgItemText(IDC_MACHINE_BOX, box);
}

void CZorvalinkDlg::OnMachineListCustomDraw(NMHDR* header, LRESULT* result)
{
    auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    *result = CDRF_DODEFAULT;
    if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *result = CDRF_NOTIFYITEMDRAW;
        return;
    }
    if (cd->nmcd.dwDrawStage != CDDS_ITEMPREPAINT)
        return;
    static const COLORREF kRowColors[] = {RGB(180, 180, 180), RGB(0, 0, 0), RGB(0, 0, 0), RGB(80, 80, 80)};
    const auto code = static_cast<size_t>(cd->nmcd.lItemlParam);
    if (code < 4)
        cd->clrText = kRowColors[code];
}
