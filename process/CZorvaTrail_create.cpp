#include "process/CZorvaTrail_create.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/AppState.h"
#include "geometry/GeometryState.h"
#include "platform/ui/CTabCtrl.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/message_box.h"
#include "process/CZorvaSqlPage.h"
#include "process/ProcessState.h"
#include "process/CZorvatrailSql.h"
#include "process/number_fields.h"
#include "process/path_fields.h"
#include "process/tab_pages.h"

using namespace pathdlg;

namespace {

constexpr unsigned IDD_TRAIL_CREATE = 147;
constexpr int IDC_COMPENSATION = 1112, IDC_OVERCUT = 1113, IDC_THICKNESS = 1117;
constexpr int IDC_CUT_TYPE = 1027, IDC_OFFSET_ON = 1043, IDC_OFFSET_OFF = 1029;
constexpr int IDC_PAUSE_BEFORE_CUTOFF = 1030, IDC_CUTOFF_DISTANCE = 1118, IDC_END_AFTER_CUTOFF = 1032;
constexpr int IDC_MODE_TAB = 1021, IDC_PROCESS_TAB = 1189;
constexpr int kGap = 9;                 // pixels between the tabs, buttons and edges

void RegisterTemplate()
{
    static const bool registered = [] {
        using namespace dlg;
        const auto S = [](const char16_t* t) { return CString(t); };
        RegisterDialogTemplate(DlgTemplate{IDD_TRAIL_CREATE, S(u"一次加工轨迹生成  (F3)"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 290, 260, {
            LText(-1, S(u"钼丝补偿："), 8, 9, 44, 10),
            EditText(IDC_COMPENSATION, 54, 7, 56, 12),
            AutoRadioButton(IDC_OFFSET_ON, S(u"指定偏移"), 124, 8, 54, 10, WS_GROUP | WS_TABSTOP),
            AutoRadioButton(IDC_OFFSET_OFF, S(u"无偏移"), 182, 8, 50, 10),
            LText(-1, S(u"过 切 量："), 8, 25, 44, 10, WS_GROUP),
            EditText(IDC_OVERCUT, 54, 23, 56, 12),
            LText(-1, S(u"工件厚度："), 8, 41, 44, 10),
            EditText(IDC_THICKNESS, 54, 39, 56, 12),
            LText(-1, S(u"工件类型："), 8, 57, 44, 10),
            ComboBox(IDC_CUT_TYPE, 54, 55, 62, 120, CBS_DROPDOWNLIST | WS_VSCROLL),
            AutoCheckBox(IDC_PAUSE_BEFORE_CUTOFF, S(u"工件割断前暂停"), 124, 24, 100, 10),
            EditText(IDC_CUTOFF_DISTANCE, 124, 38, 36, 12),
            LText(-1, S(u"（mm    *为零则割断后暂停）"), 162, 40, 124, 10),
            AutoCheckBox(IDC_END_AFTER_CUTOFF, S(u"工件割断后结束"), 124, 56, 100, 10),
            Tab(IDC_MODE_TAB, 6, 74, 240, 100),
            Tab(IDC_PROCESS_TAB, 6, 178, 240, 60),
            DefPushButton(IDOK, S(u"创建(&C)"), 150, 242, 50, 14),
            PushButton(IDCANCEL, S(u"取消"), 206, 242, 50, 14),
        }});
        return true;
    }();
    (void)registered;
}

// Where a version keeps its last single-pass parameters; -1 none.
int LastCutSlot(std::uint8_t codingMode)
{
    return codingMode <= kCodingHfClass4 ? codingMode : -1;
}

} // namespace

std::unique_ptr<CZorvaSqlPage> MakeSinglePassPage(std::uint8_t codingMode)
{
    switch (KnownCodingMode(codingMode)) {
    case kCodingMidWireHl: return std::make_unique<CZorva_SqlTab2>();
    case kCodingHfGroup: return std::make_unique<CZorva_SqlTab3>();
    case kCodingHfClass2: return std::make_unique<CZorva_SqlTab4>();
    case kCodingHfClass4: return std::make_unique<CZorva_SqlTab5>();
    default: return nullptr;
    }
}

BEGIN_MESSAGE_MAP(CZorvaTrail_create, CDialog)
    ON_CBN_SELCHANGE(IDC_CUT_TYPE, OnCutTypeChange)
    ON_NOTIFY(TCN_SELCHANGE, IDC_MODE_TAB, OnModeTabChange)
    ON_BN_CLICKED(IDC_OFFSET_ON, OnOffsetRadio)
    ON_BN_CLICKED(IDC_OFFSET_OFF, OnOffsetRadio)
END_MESSAGE_MAP()

CZorvaTrail_create::CZorvaTrail_create() : CDialog(IDD_TRAIL_CREATE)
{
    RegisterTemplate();
}

CZorvaTrail_create::~CZorvaTrail_create()
{
    if (g_pTrailCreateDlg == this)
        g_pTrailCreateDlg = nullptr;
}

BOOL CZorvaTrail_create::OnInitDialog()
{
    CDialog::OnInitDialog();
    g_pTrailCreateDlg = this;
    g_TaperPageShifted = 0;
    m_before.Take();
    FillCutTypeCombo(this, IDC_CUT_TYPE);
    m_pages.Create(GetDlgItem(IDC_MODE_TAB), 5);
    ShowSettings();
    CreateProcessPage();
    LayOut();
    LoadSingleCut();
    m_opened.Take();
    return TRUE;
}

void CZorvaTrail_create::ShowSettings()
{
    const MachiningSettings& m = g_MachiningSettings;
    SetNumber4(this, IDC_COMPENSATION, m.compensation);
    SetNumber4(this, IDC_OVERCUT, m.overCut);
    SetNumber4(this, IDC_THICKNESS, m.thickness);
    SetChecked(this, IDC_PAUSE_BEFORE_CUTOFF, m.pauseBeforeCutOff != 0);
    SetChecked(this, IDC_END_AFTER_CUTOFF, m.endAfterCutOff != 0);
    SetNumber4(this, IDC_CUTOFF_DISTANCE, m.cutOffPauseDistance);
    m_pages.Fill(m);
    // A cut type from a damaged settings file is shown, and taken, as 0.
    const int cutType = g_CutTypeIndex >= 0 && g_CutTypeIndex <= 4 ? g_CutTypeIndex : 0;
    CutTypeChanged(m_pages, cutType);
    SelectCombo(this, IDC_CUT_TYPE, cutType);
    SetChecked(this, IDC_OFFSET_OFF, m.noOffset != 0);
    SetChecked(this, IDC_OFFSET_ON, m.noOffset == 0);
    Enable(this, IDC_COMPENSATION, m.noOffset == 0);
}

void CZorvaTrail_create::CreateProcessPage()
{
    CWnd* tab = GetDlgItem(IDC_PROCESS_TAB);
    m_processPage = MakeSinglePassPage(g_MachiningSettings.codingMode);
    if (m_processPage == nullptr || tab == nullptr || !m_processPage->CreateIn(tab)) {
        // Fast wire cuts a single pass without process parameters.
        m_processPage.reset();
        Show(this, IDC_PROCESS_TAB, false);
        return;
    }
    if (auto* t = dynamic_cast<CTabCtrl*>(tab))
        t->InsertItem(0, CString());
    m_processPage->ShowWindow(SW_SHOW);
}

// The two tabs are sized to their pages, one under the other; the dialog
// grows or shrinks to hold them and the buttons.
void CZorvaTrail_create::LayOut()
{
    CWnd* modeTab = GetDlgItem(IDC_MODE_TAB);
    CWnd* processTab = GetDlgItem(IDC_PROCESS_TAB);
    const RECT top = ChildRect(modeTab);
    const SIZE modeSize = TabSizeFor(modeTab, WindowSize(&m_pages.normal));
    modeTab->MoveWindow(top.left, top.top, modeSize.cx, modeSize.cy);
    for (CWnd* page : {static_cast<CWnd*>(&m_pages.normal), static_cast<CWnd*>(&m_pages.taper),
                       static_cast<CWnd*>(&m_pages.profiles), static_cast<CWnd*>(&m_pages.varTaper),
                       static_cast<CWnd*>(&m_pages.incline)})
        PlaceInTab(modeTab, page);
    int bottom = top.top + modeSize.cy;
    int right = top.left + modeSize.cx;
    if (m_processPage != nullptr) {
        const SIZE processSize = TabSizeFor(processTab, WindowSize(m_processPage.get()));
        processTab->MoveWindow(top.left, bottom + kGap, processSize.cx, processSize.cy);
        PlaceInTab(processTab, m_processPage.get());
        bottom += kGap + processSize.cy;
        right = std::max(right, int(top.left + processSize.cx));
    }
    // Never narrower than the fields above the tabs.
    RECT client;
    GetClientRect(&client);
    right = std::max<int>(right, client.right - top.left);
    const RECT ok = ChildRect(GetDlgItem(IDOK));
    const RECT cancel = ChildRect(GetDlgItem(IDCANCEL));
    const int buttonTop = bottom + kGap;
    const int cancelWidth = cancel.right - cancel.left, okWidth = ok.right - ok.left;
    GetDlgItem(IDCANCEL)->MoveWindow(right - cancelWidth, buttonTop, cancelWidth, cancel.bottom - cancel.top);
    GetDlgItem(IDOK)->MoveWindow(right - cancelWidth - kGap - okWidth, buttonTop, okWidth, ok.bottom - ok.top);
    GrowClient(this, right + top.left - client.right, buttonTop + (ok.bottom - ok.top) + kGap - client.bottom);
}

// The version's own last parameters become the cut shown; choices out of
// the page's range and a track value above 1000 are corrected on the way.
void CZorvaTrail_create::LoadSingleCut()
{
    const std::uint8_t version = KnownCodingMode(g_MachiningSettings.codingMode);
    if (m_processPage == nullptr)
        return;
    const int slot = LastCutSlot(version);
    if (slot >= 0)
        g_CutParams = g_MachiningSettings.lastSingleCuts[slot];
    ClampCutChoices(g_CutParams, version);
    ShowCutOnPage(m_processPage.get(), m_processPage->Layout(), g_CutParams, true);
}

// Before, text that was no number (a slip, "x1") was taken as 0: a path
// with no compensation, cut undersized without a word.
bool CZorvaTrail_create::FieldsAreNumbers()
{
    std::vector<numfield::Field> fields = {
        {this, IDC_COMPENSATION, u"钼丝补偿"},
        {this, IDC_OVERCUT, u"过切量"},
        {this, IDC_THICKNESS, u"工件厚度"},
        {this, IDC_CUTOFF_DISTANCE, u"工件割断前暂停"},
    };
    for (const numfield::Field& f : m_pages.NumberFields())
        fields.push_back(f);
    return numfield::AllNumbers(fields);
}

void CZorvaTrail_create::OnCreate()
{
    if (!FieldsAreNumbers() || !TaperAcceptable(this, IDC_CUT_TYPE, m_pages))
        return;
    MachiningSettings& m = g_MachiningSettings;
    // A disabled or hidden field is not checked: its setting stays when its
    // text is no number.
    m.compensation = numfield::Or(this, IDC_COMPENSATION, m.compensation);
    m.overCut = std::fabs(numfield::Or(this, IDC_OVERCUT, m.overCut));
    m.thickness = std::fabs(numfield::Or(this, IDC_THICKNESS, m.thickness));
    m.noOffset = Checked(this, IDC_OFFSET_ON) ? 0 : 1;
    m.endAfterCutOff = Checked(this, IDC_END_AFTER_CUTOFF) ? 1 : 0;
    m.pauseBeforeCutOff = Checked(this, IDC_PAUSE_BEFORE_CUTOFF) ? 1 : 0;
    m.cutOffPauseDistance = std::fabs(numfield::Or(this, IDC_CUTOFF_DISTANCE, m.cutOffPauseDistance));
    m_pages.Store(m);
    StoreSingleCut();
    m.multiPass = 0;
    if (g_CutMode <= 1)
        m.batchMode = g_CutMode;
    if (m_opened.Changed())
        g_SettingsDirty = 1;
    EndDialog(IDOK);
}

// A single pass cuts to size: the allowance is always 0.
void CZorvaTrail_create::StoreSingleCut()
{
    std::memset(&g_CutParams, 0, sizeof g_CutParams);
    if (m_processPage == nullptr)
        return;
    const std::uint8_t version = KnownCodingMode(g_MachiningSettings.codingMode);
    ReadCutFromPage(m_processPage.get(), m_processPage->Layout(), g_CutParams, true);
    const int slot = LastCutSlot(version);
    if (slot >= 0)
        g_MachiningSettings.lastSingleCuts[slot] = g_CutParams;
}

// The page's cut-type combo and the corrections made on opening are undone:
// before, a cancelled dialog kept the newly chosen cut type.
void CZorvaTrail_create::OnCancel()
{
    m_before.RestoreAll();
    EndDialog(IDCANCEL);
}

void CZorvaTrail_create::OnDestroy()
{
    CDialog::OnDestroy();
    if (g_pTrailCreateDlg == this)
        g_pTrailCreateDlg = nullptr;
}

void CZorvaTrail_create::OnCutTypeChange()
{
    CutTypeChanged(m_pages, ComboIndex(this, IDC_CUT_TYPE));
}

// A tab of the cut-mode pages chooses that cut type, as the combo does.
void CZorvaTrail_create::OnModeTabChange(NMHDR*, LRESULT* result)
{
    *result = 0;
    if (auto* tab = dynamic_cast<CTabCtrl*>(GetDlgItem(IDC_MODE_TAB))) {
        SelectCombo(this, IDC_CUT_TYPE, tab->GetCurSel());
        CutTypeChanged(m_pages, tab->GetCurSel());
    }
}

void CZorvaTrail_create::OnOffsetRadio()
{
    Enable(this, IDC_COMPENSATION, Checked(this, IDC_OFFSET_ON));
}

// F3 opens the dialog and F3 closes it; the release of the F3 that opened
// it comes before any key-down here and does nothing.
BOOL CZorvaTrail_create::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        g_keyDownSeen = 1;
    } else if (msg->message == WM_KEYUP && msg->wParam == VK_F1 + 2 && g_keyDownSeen) {
        PressButton(IDCANCEL);
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

HBRUSH CZorvaTrail_create::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if (HBRUSH brush = ProcessEditColours(dc, kind))
        return brush;
    return CDialog::OnCtlColor(dc, wnd, kind);
}
