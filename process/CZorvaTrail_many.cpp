#include "process/CZorvaTrail_many.h"

#include <algorithm>
#include <cmath>

#include "app/AppState.h"
#include "geometry/GeometryState.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/CStatic.h"
#include "platform/ui/CTabCtrl.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/message_box.h"
#include "process/ProcessState.h"
#include "process/multipass_ids.h"
#include "process/multipass_picture.h"
#include "process/CZorvatrailSql.h"
#include "process/number_fields.h"
#include "process/path_fields.h"
#include "process/tab_pages.h"

using namespace multipass;
using namespace pathdlg;

namespace {

constexpr int kGap = 9;                 // pixels between the blocks and edges

void RegisterTemplate()
{
    static const bool registered = [] {
        using namespace dlg;
        const auto S = [](const char16_t* t) { return CString(t); };
        DlgTemplate t{IDD_TRAIL_MANY, S(u"多次加工轨迹生成  (F4)"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 432, 360, {
            LText(-1, S(u"钼丝补偿："), 8, 9, 44, 10),
            EditText(IDC_COMPENSATION, 54, 7, 56, 12),
            AutoRadioButton(IDC_OFFSET_ON, S(u"指定偏移"), 54, 22, 54, 10, WS_GROUP | WS_TABSTOP),
            AutoRadioButton(IDC_OFFSET_OFF, S(u"无偏移"), 112, 22, 50, 10),
            LText(-1, S(u"过 切 量："), 8, 37, 44, 10, WS_GROUP),
            EditText(IDC_OVERCUT, 54, 35, 56, 12),
            LText(-1, S(u"工件厚度："), 8, 53, 44, 10),
            EditText(IDC_THICKNESS, 54, 51, 56, 12),
            LText(-1, S(u"工件类型："), 8, 69, 44, 10),
            ComboBox(IDC_CUT_TYPE, 54, 67, 62, 120, CBS_DROPDOWNLIST | WS_VSCROLL),
            LText(-1, S(u"模台宽度："), 8, 85, 44, 10),
            EditText(IDC_DIE_WIDTH, 54, 83, 56, 12),
            LText(-1, S(u"加工次数："), 8, 101, 44, 10),
            ComboBox(IDC_PASS_COUNT, 54, 99, 40, 120, CBS_DROPDOWNLIST | WS_VSCROLL),
            AutoCheckBox(IDC_DIE_STEP, S(u"加工台阶1次，偏移"), 8, 118, 88, 10),
            EditText(IDC_DIE_STEP_OFFSET, 100, 116, 40, 12),
            AutoCheckBox(IDC_PAUSE_BEFORE_STEP, S(u"加工台阶前暂停"), 8, 134, 88, 10),
            AutoCheckBox(IDC_PAUSE_AFTER_STEP, S(u"加工台阶后暂停"), 100, 134, 80, 10),
            AutoCheckBox(IDC_PAUSE_BEFORE_CUTOFF, S(u"工件割断前暂停"), 8, 150, 88, 10),
            EditText(IDC_CUTOFF_DISTANCE, 100, 148, 40, 12),
            AutoCheckBox(IDC_END_AFTER_CUTOFF, S(u"工件割断后结束"), 8, 166, 88, 10),
            AutoCheckBox(IDC_PAUSE_AFTER_FIRST, S(u"第一刀加工后暂停"), 100, 166, 80, 10),
            AutoCheckBox(IDC_TRIM_LEAD, S(u"修刀斜刀的长度"), 8, 182, 88, 10),
            EditText(IDC_TRIM_LEAD_LENGTH, 100, 180, 40, 12),
            AutoCheckBox(IDC_INNER_DIE_SUPPORT, S(u"内孔使用模台支撑"), 8, 198, 88, 10),
            AutoCheckBox(IDC_PAUSE_AT_WIRE_CHANGE, S(u"换刀次暂停"), 100, 198, 80, 10),
            AutoCheckBox(IDC_WIRE_CHANGE, S(u"切割模台前换刀"), 8, 214, 88, 10),
            EditText(IDC_WIRE_CHANGE_DISTANCE, 100, 212, 40, 12),
            Picture(IDC_PICTURE, 184, 8, 167, 120, SS_BITMAP),
            Tab(IDC_MODE_TAB, 184, 132, 240, 100),
            ListView(IDC_PASS_LIST, 8, 236, 416, 98, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER),
            PushButton(IDC_TO_DATABASE, S(u"转数据库(&Q)"), 8, 340, 60, 14),
            DefPushButton(IDOK, S(u"确定(&S)"), 318, 340, 50, 14),
            PushButton(IDCANCEL, S(u"取消"), 374, 340, 50, 14),
        }};
        RegisterDialogTemplate(t);
        return true;
    }();
    (void)registered;
}

} // namespace

BEGIN_MESSAGE_MAP(CZorvaTrail_many, CDialog)
    ON_CBN_SELCHANGE(IDC_CUT_TYPE, OnCutTypeChange)
    ON_NOTIFY(TCN_SELCHANGE, IDC_MODE_TAB, OnModeTabChange)
    ON_CBN_SELCHANGE(IDC_PASS_COUNT, OnPassCountChange)
    ON_BN_CLICKED(IDC_TO_DATABASE, OnToDatabase)
    ON_BN_CLICKED(IDC_OFFSET_ON, OnOffsetRadio)
    ON_BN_CLICKED(IDC_OFFSET_OFF, OnOffsetRadio)
    ON_NOTIFY(NM_CUSTOMDRAW, IDC_PASS_LIST, OnListCustomDraw)
    ON_NOTIFY(NM_CLICK, IDC_PASS_LIST, OnListClick)
    ON_NOTIFY(NM_DBLCLK, IDC_PASS_LIST, OnListDoubleClick)
END_MESSAGE_MAP()

CZorvaTrail_many::CZorvaTrail_many() : CDialog(IDD_TRAIL_MANY)
{
    RegisterTemplate();
}

CZorvaTrail_many::~CZorvaTrail_many() = default;

BOOL CZorvaTrail_many::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_before.Take();
    g_SelectedPassRow = -1;
    g_TaperPageShifted = 1;
    if (DrawMultiPassPicture(m_picture))
        if (auto* picture = dynamic_cast<CStatic*>(GetDlgItem(IDC_PICTURE)))
            picture->SetBitmap(m_picture);
    FillCutTypeCombo(this, IDC_CUT_TYPE);
    FillCombo(this, IDC_PASS_COUNT, {u" 1", u" 2", u" 3", u" 4", u" 5", u" 6", u" 7"}, 100);
    if (auto* list = dynamic_cast<CListCtrl*>(GetDlgItem(IDC_PASS_LIST)))
        list->SetExtendedStyle(list->GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    // Three items over the five pages: 变锥 and 斜顶 are chosen in the combo.
    m_pages.Create(GetDlgItem(IDC_MODE_TAB), 3);
    LayOut();
    ShowSettings();
    LoadPassCuts();
    FillPassList(g_MachiningSettings.passCount, g_MachiningSettings.passCuts);
    m_opened.Take();
    return TRUE;
}

// The cut-mode tab takes its pages' size under the picture; the list and
// the buttons follow below the taller of the two columns.
void CZorvaTrail_many::LayOut()
{
    CWnd* tab = GetDlgItem(IDC_MODE_TAB);
    const RECT at = ChildRect(tab);
    const SIZE size = TabSizeFor(tab, WindowSize(&m_pages.normal));
    tab->MoveWindow(at.left, at.top, size.cx, size.cy);
    for (CWnd* page : {static_cast<CWnd*>(&m_pages.normal), static_cast<CWnd*>(&m_pages.taper),
                       static_cast<CWnd*>(&m_pages.profiles), static_cast<CWnd*>(&m_pages.varTaper),
                       static_cast<CWnd*>(&m_pages.incline)})
        PlaceInTab(tab, page);
    const RECT lastField = ChildRect(GetDlgItem(IDC_WIRE_CHANGE_DISTANCE));
    const int listTop = std::max<int>(at.top + size.cy, lastField.bottom) + kGap;
    const int right = std::max<int>(at.left + size.cx, ChildRect(GetDlgItem(IDC_PICTURE)).right);
    CWnd* list = GetDlgItem(IDC_PASS_LIST);
    const RECT listAt = ChildRect(list);
    list->MoveWindow(listAt.left, listTop, right - listAt.left, listAt.bottom - listAt.top);
    const int buttonTop = listTop + (listAt.bottom - listAt.top) + kGap;
    int x = right;
    for (int id : {IDCANCEL, IDOK}) {
        const RECT b = ChildRect(GetDlgItem(id));
        x -= b.right - b.left;
        GetDlgItem(id)->MoveWindow(x, buttonTop, b.right - b.left, b.bottom - b.top);
        x -= kGap;
    }
    const RECT db = ChildRect(GetDlgItem(IDC_TO_DATABASE));
    GetDlgItem(IDC_TO_DATABASE)->MoveWindow(db.left, buttonTop, db.right - db.left, db.bottom - db.top);
    RECT client;
    GetClientRect(&client);
    GrowClient(this, right + listAt.left - client.right, buttonTop + (db.bottom - db.top) + kGap - client.bottom);
}

void CZorvaTrail_many::ShowSettings()
{
    MachiningSettings& m = g_MachiningSettings;
    SetNumber4(this, IDC_COMPENSATION, m.compensation);
    SetNumber4(this, IDC_DIE_WIDTH, m.dieWidth);
    SetNumber4(this, IDC_OVERCUT, m.overCut);
    SetNumber4(this, IDC_THICKNESS, m.thickness);
    SetNumber4(this, IDC_CUTOFF_DISTANCE, m.cutOffPauseDistance);
    SetNumber4(this, IDC_DIE_STEP_OFFSET, m.dieStepOffset);
    SetNumber4(this, IDC_TRIM_LEAD_LENGTH, m.trimLeadLength);
    SetNumber4(this, IDC_WIRE_CHANGE_DISTANCE, m.wireChangeDistance);
    m_pages.Fill(m);
    SetChecked(this, IDC_PAUSE_BEFORE_CUTOFF, m.pauseBeforeCutOff != 0);
    SetChecked(this, IDC_END_AFTER_CUTOFF, m.endAfterCutOff != 0);
    SetChecked(this, IDC_PAUSE_BEFORE_STEP, m.pauseBeforeStep != 0);
    SetChecked(this, IDC_PAUSE_AFTER_STEP, m.pauseAfterStep != 0);
    SetChecked(this, IDC_DIE_STEP, m.dieStepOn != 0);
    SetChecked(this, IDC_TRIM_LEAD, m.trimLeadOn != 0);
    SetChecked(this, IDC_INNER_DIE_SUPPORT, m.innerDieSupport != 0);
    SetChecked(this, IDC_PAUSE_AFTER_FIRST, m.pauseAfterFirstCut != 0);
    SetChecked(this, IDC_WIRE_CHANGE, m.wireChangeBeforeDie != 0);
    SetChecked(this, IDC_OFFSET_OFF, m.noOffset != 0);
    SetChecked(this, IDC_OFFSET_ON, m.noOffset == 0);
    Enable(this, IDC_COMPENSATION, m.noOffset == 0);
    const int cutType = g_CutTypeIndex >= 0 && g_CutTypeIndex <= 4 ? g_CutTypeIndex : 0;
    CutTypeChanged(m_pages, cutType);
    SelectCombo(this, IDC_CUT_TYPE, cutType);
    // Seven cuts are all the list holds.
    m.passCount = std::clamp(m.passCount, 1, kMaxPasses);
    SelectCombo(this, IDC_PASS_COUNT, m.passCount - 1);
    const bool fastWire = KnownCodingMode(m.codingMode) == kCodingFastWire;
    Show(this, IDC_TO_DATABASE, !fastWire);
    Enable(this, IDC_TO_DATABASE, !fastWire);
    Show(this, IDC_PAUSE_AT_WIRE_CHANGE, fastWire);
    if (fastWire)
        SetChecked(this, IDC_PAUSE_AT_WIRE_CHANGE, m.pauseAtWireChange != 0);
}

// The HF versions keep their own tables: the list shows the version's one.
// Choices out of range and track values above 1000 are corrected.
void CZorvaTrail_many::LoadPassCuts()
{
    MachiningSettings& m = g_MachiningSettings;
    const std::uint8_t version = KnownCodingMode(m.codingMode);
    for (int k = 0; k < kMaxPasses; ++k) {
        if (version <= kCodingHfClass4)
            m.passCuts[k] = m.passTables[version][k];
        ClampCutChoices(m.passCuts[k], version);
    }
}

void CZorvaTrail_many::CopyCutsToVersionTable()
{
    MachiningSettings& m = g_MachiningSettings;
    const std::uint8_t version = KnownCodingMode(m.codingMode);
    if (version > kCodingHfClass4)
        return;
    for (int k = 0; k < kMaxPasses; ++k)
        m.passTables[version][k] = m.passCuts[k];
}

void CZorvaTrail_many::MarkLiveChange()
{
    m_liveChange = true;
    g_SettingsDirty = 1;
}

// Before, text that was no number was taken as 0 ("abc" as die width).
bool CZorvaTrail_many::FieldsAreNumbers()
{
    std::vector<numfield::Field> fields = {
        {this, IDC_COMPENSATION, u"钼丝补偿"},
        {this, IDC_OVERCUT, u"过切量"},
        {this, IDC_THICKNESS, u"工件厚度"},
        {this, IDC_DIE_WIDTH, u"模台宽度"},
        {this, IDC_DIE_STEP_OFFSET, u"加工台阶偏移"},
        {this, IDC_CUTOFF_DISTANCE, u"工件割断前暂停"},
        {this, IDC_TRIM_LEAD_LENGTH, u"修刀斜刀的长度"},
        {this, IDC_WIRE_CHANGE_DISTANCE, u"切割模台前换刀"},
    };
    for (const numfield::Field& f : m_pages.NumberFields())
        fields.push_back(f);
    return numfield::AllNumbers(fields);
}

// A field whose text is no number keeps its setting (转数据库 stores
// without a check; OK checks first).
void CZorvaTrail_many::StoreSettings()
{
    MachiningSettings& m = g_MachiningSettings;
    const auto number = [this](int id, double stored) { return numfield::Or(this, id, stored); };
    m.compensation = number(IDC_COMPENSATION, m.compensation);
    m.dieWidth = std::fabs(number(IDC_DIE_WIDTH, m.dieWidth));
    m.overCut = std::fabs(number(IDC_OVERCUT, m.overCut));
    m.thickness = std::fabs(number(IDC_THICKNESS, m.thickness));
    m.pauseBeforeCutOff = Checked(this, IDC_PAUSE_BEFORE_CUTOFF) ? 1 : 0;
    m.cutOffPauseDistance = std::fabs(number(IDC_CUTOFF_DISTANCE, m.cutOffPauseDistance));
    m.pauseBeforeStep = Checked(this, IDC_PAUSE_BEFORE_STEP) ? 1 : 0;
    m.pauseAfterStep = Checked(this, IDC_PAUSE_AFTER_STEP) ? 1 : 0;
    m.pauseAfterFirstCut = Checked(this, IDC_PAUSE_AFTER_FIRST) ? 1 : 0;
    m.endAfterCutOff = Checked(this, IDC_END_AFTER_CUTOFF) ? 1 : 0;
    m.noOffset = Checked(this, IDC_OFFSET_ON) ? 0 : 1;
    m.dieStepOn = Checked(this, IDC_DIE_STEP) ? 1 : 0;
    m.dieStepOffset = number(IDC_DIE_STEP_OFFSET, m.dieStepOffset);
    m.trimLeadOn = Checked(this, IDC_TRIM_LEAD) ? 1 : 0;
    m.trimLeadLength = std::fabs(number(IDC_TRIM_LEAD_LENGTH, m.trimLeadLength));
    m.passCount = std::clamp(ComboIndex(this, IDC_PASS_COUNT) + 1, 1, kMaxPasses);
    m.innerDieSupport = Checked(this, IDC_INNER_DIE_SUPPORT) ? 1 : 0;
    if (KnownCodingMode(m.codingMode) == kCodingFastWire)
        m.pauseAtWireChange = Checked(this, IDC_PAUSE_AT_WIRE_CHANGE) ? 1 : 0;
    m.wireChangeBeforeDie = Checked(this, IDC_WIRE_CHANGE) ? 1 : 0;
    m.wireChangeDistance = std::fabs(number(IDC_WIRE_CHANGE_DISTANCE, m.wireChangeDistance));
    m_pages.Store(m);
    m.cornerAngle = ClampCornerAngle(m.cornerAngle);
    m.multiPass = 1;
}

void CZorvaTrail_many::OnOK()
{
    if (!FieldsAreNumbers() || !TaperAcceptable(this, IDC_CUT_TYPE, m_pages))
        return;
    StoreSettings();
    if (g_CutMode <= 1)
        g_MachiningSettings.batchMode = g_CutMode;
    if (m_opened.Changed())
        g_SettingsDirty = 1;
    EndDialog(IDOK);
}

// A Cancel that follows no list change leaves every setting as it was; the
// list changes (pass count, a cut, a process record) and what was stored
// before the process table opened stay, marked changed.
void CZorvaTrail_many::OnCancel()
{
    if (m_liveChange)
        m_before.RestoreCutType();
    else
        m_before.RestoreAll();
    EndDialog(IDCANCEL);
}

void CZorvaTrail_many::OnCutTypeChange()
{
    CutTypeChanged(m_pages, ComboIndex(this, IDC_CUT_TYPE));
}

// A tab of the cut-mode pages chooses that cut type, as the combo does.
void CZorvaTrail_many::OnModeTabChange(NMHDR*, LRESULT* result)
{
    *result = 0;
    if (auto* tab = dynamic_cast<CTabCtrl*>(GetDlgItem(IDC_MODE_TAB))) {
        SelectCombo(this, IDC_CUT_TYPE, tab->GetCurSel());
        CutTypeChanged(m_pages, tab->GetCurSel());
    }
}

void CZorvaTrail_many::OnOffsetRadio()
{
    Enable(this, IDC_COMPENSATION, Checked(this, IDC_OFFSET_ON));
}

// F4 opens the dialog and F4 closes it.
BOOL CZorvaTrail_many::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        g_keyDownSeen = 1;
    } else if (msg->message == WM_KEYUP && msg->wParam == VK_F1 + 3 && g_keyDownSeen) {
        PressButton(IDCANCEL);
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

HBRUSH CZorvaTrail_many::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if (HBRUSH brush = ProcessEditColours(dc, kind))
        return brush;
    return CDialog::OnCtlColor(dc, wnd, kind);
}
