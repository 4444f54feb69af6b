#include "process/CZorvatrailm.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/FrameState.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/text_utils.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/message_box.h"
#include "process/CZorvatrailmOffest.h"
#include "process/CZorvatrailSql.h"
#include "process/number_fields.h"
#include "process/path_fields.h"
#include "view/CZorvaView.h"
#include "view/ViewState.h"

using namespace pathdlg;

namespace {

constexpr unsigned IDD_BATCH = 238;
constexpr int IDC_FORWARD = 1043, IDC_REVERSE = 1029, IDC_HOLES = 1044, IDC_OUTER = 1045;
constexpr int IDC_LEAD_ANGLE = 1015, IDC_LEAD_LENGTH = 1009, IDC_FIRST_CORNER = 1012, IDC_ARRANGEMENT = 1104;
constexpr int IDC_MODE = 1105, IDC_PASSES = 1114, IDC_RETURN = 1115, IDC_OFFSET1 = 1016, IDC_OFFSET2 = 1017;
constexpr int IDC_PAUSE_FIRST = 1030, IDC_COMPENSATION = 1096, IDC_SELECT_ALL = 1178, IDC_COMP_TABLE = 1179;
constexpr int IDC_RETURN_LABEL = 1228, IDC_OFFSET1_LABEL = 1229, IDC_OFFSET2_LABEL = 1222, IDC_PAUSE_LABEL = 1221;
constexpr int kSecondCutControls[] = {IDC_RETURN_LABEL, IDC_OFFSET1_LABEL, IDC_OFFSET2_LABEL, IDC_PAUSE_LABEL,
                                      IDC_RETURN, IDC_OFFSET1, IDC_OFFSET2, IDC_PAUSE_FIRST};
// The dialog floats at the right of the screen, clear of the palettes.
constexpr int kScreenRightGap = 100, kTop = 100;
constexpr double kDegToRad = 0.017453292519943295, kRadToDeg = 57.29577951308232;

void RegisterTemplate()
{
    static const bool registered = [] {
        using namespace dlg;
        const auto S = [](const char16_t* t) { return CString(t); };
        const int lx = 8, lw = 78, cx = 88;
        RegisterDialogTemplate(DlgTemplate{IDD_BATCH, S(u"批量轨迹生成 (M)"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 204, 286, {
            LText(-1, S(u"切割方向："), lx, 9, lw, 10),
            AutoRadioButton(IDC_FORWARD, S(u"正向"), cx, 8, 44, 10, WS_GROUP | WS_TABSTOP),
            AutoRadioButton(IDC_REVERSE, S(u"反向"), cx + 48, 8, 44, 10),
            AutoRadioButton(IDC_HOLES, S(u"内孔"), cx, 22, 44, 10, WS_GROUP | WS_TABSTOP),
            AutoRadioButton(IDC_OUTER, S(u"外形"), cx + 48, 22, 44, 10),
            LText(-1, S(u"圆切入引线角度："), lx, 39, lw, 10, WS_GROUP),
            ComboBox(IDC_LEAD_ANGLE, cx, 37, 64, 150, CBS_DROPDOWN | WS_VSCROLL),
            LText(-1, S(u"圆外形引线长度："), lx, 55, lw, 10),
            EditText(IDC_LEAD_LENGTH, cx, 53, 64, 12),
            LText(-1, S(u"第一个图形排列："), lx, 71, lw, 10),
            ComboBox(IDC_FIRST_CORNER, cx, 69, 64, 100, CBS_DROPDOWNLIST | WS_VSCROLL),
            LText(-1, S(u"图形排列的方式："), lx, 87, lw, 10),
            ComboBox(IDC_ARRANGEMENT, cx, 85, 64, 100, CBS_DROPDOWNLIST | WS_VSCROLL),
            LText(-1, S(u"生成方式："), lx, 103, lw, 10),
            ComboBox(IDC_MODE, cx, 101, 90, 100, CBS_DROPDOWNLIST | WS_VSCROLL),
            LText(-1, S(u"切割方式："), lx, 119, lw, 10),
            ComboBox(IDC_PASSES, cx, 117, 64, 100, CBS_DROPDOWNLIST | WS_VSCROLL),
            LText(IDC_RETURN_LABEL, S(u"二次切割回点："), lx, 135, lw, 10),
            ComboBox(IDC_RETURN, cx, 133, 76, 100, CBS_DROPDOWNLIST | WS_VSCROLL),
            LText(IDC_OFFSET1_LABEL, S(u"图形一加偏移(+ -)："), lx, 151, lw, 10),
            EditText(IDC_OFFSET1, cx, 149, 64, 12),
            LText(IDC_OFFSET2_LABEL, S(u"图形二加偏移(+ -)："), lx, 167, lw, 10),
            EditText(IDC_OFFSET2, cx, 165, 64, 12),
            LText(IDC_PAUSE_LABEL, S(u"二次切割暂停："), lx, 183, lw, 10),
            AutoCheckBox(IDC_PAUSE_FIRST, S(u"加工完第一个暂停"), cx, 183, 100, 10),
            LText(-1, S(u"切割钼丝补偿值："), lx, 201, lw, 10),
            EditText(IDC_COMPENSATION, cx, 199, 64, 12),
            LText(-1, S(u"* 只支持闭合图形，除圆外，需要加工引线\n   如果存在引线，优先使用引线。\n\n*加工参数需要轨迹生成中设置。"),
                  lx, 218, 190, 42),
            PushButton(IDC_SELECT_ALL, S(u"全选(&A)"), 8, 266, 44, 14),
            PushButton(IDC_COMP_TABLE, S(u"补偿(&F)"), 56, 266, 44, 14),
            DefPushButton(IDOK, S(u"生成(&S)"), 104, 266, 44, 14),
            PushButton(IDCANCEL, S(u"取消"), 152, 266, 44, 14),
        }});
        return true;
    }();
    (void)registered;
}

} // namespace

CZorvatrailm* BatchDialog()
{
    return dynamic_cast<CZorvatrailm*>(g_pBatchPanel);
}

BEGIN_MESSAGE_MAP(CZorvatrailm, CDialog)
    ON_BN_CLICKED(IDOK, OnGenerate)
    ON_BN_CLICKED(IDC_SELECT_ALL, OnSelectAll)
    ON_BN_CLICKED(IDC_COMP_TABLE, OnCompensation)
    ON_CBN_SELCHANGE(IDC_MODE, OnGenerationModeChange)
END_MESSAGE_MAP()

CZorvatrailm::CZorvatrailm()
{
    RegisterTemplate();
}

BOOL CZorvatrailm::OnInitDialog()
{
    CDialog::OnInitDialog();
    g_batchPanelShown = 0;
    RECT r;
    GetWindowRect(&r);
    const int width = r.right - r.left;
    if (g_screenWidth > 0)
        SetWindowPos(nullptr, g_screenWidth - width - kScreenRightGap, kTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    FillCombo(this, IDC_LEAD_ANGLE, {u"0.0", u"90.0", u"180.0", u"270.0", u"45.0", u"135.0", u"225.0", u"315.0"}, 150);
    FillCombo(this, IDC_FIRST_CORNER, {u"左下", u"右下", u"左上", u"右上"}, 100);
    FillCombo(this, IDC_ARRANGEMENT, {u"水平", u"垂直"}, 100);
    FillCombo(this, IDC_MODE, {u"普通切割", u"锥度切割", u"先直割+后锥度", u"先锥度+后直割"}, 100);
    FillCombo(this, IDC_PASSES, {u"一次切割", u"多次切割"}, 100);
    FillCombo(this, IDC_RETURN, {u"不回穿丝点", u"回程穿丝点"}, 100);
    return TRUE;
}

void CZorvatrailm::LoadFromSettings()
{
    MachiningSettings& m = g_MachiningSettings;
    SetDlgItemText(IDC_COMPENSATION, FormatNumberPrec(6, m.compensation));
    CString text;
    text.Format(u"%.1f", m.batchLeadAngle * kRadToDeg);
    SetDlgItemText(IDC_LEAD_ANGLE, text);
    text.Format(u"%.1f", m.batchLeadLength);
    SetDlgItemText(IDC_LEAD_LENGTH, text);
    SetDlgItemText(IDC_OFFSET1, FormatNumberPrec(6, m.batchOffset1));
    SetDlgItemText(IDC_OFFSET2, FormatNumberPrec(6, m.batchOffset2));
    SetChecked(this, IDC_FORWARD, m.batchReverse == 0);
    SetChecked(this, IDC_REVERSE, m.batchReverse != 0);
    SetChecked(this, IDC_HOLES, m.batchOuter == 0);
    SetChecked(this, IDC_OUTER, m.batchOuter != 0);
    SetChecked(this, IDC_PAUSE_FIRST, m.batchPauseAfterFirst != 0);
    SelectCombo(this, IDC_FIRST_CORNER, std::min<int>(m.batchFirstCorner, 3));
    SelectCombo(this, IDC_ARRANGEMENT, std::min<int>(m.batchVertical, 1));
    if (m.batchMode > 4)
        m.batchMode = 0;
    SelectCombo(this, IDC_MODE, m.batchMode);
    SelectCombo(this, IDC_RETURN, m.batchReturnToThread);
    SelectCombo(this, IDC_PASSES, m.multiPass);
    ShowSecondCutControls(m.batchMode);
    SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    g_batchPanelShown = 1;
    g_CompensationPreview = 1;
}

void CZorvatrailm::ShowSecondCutControls(int mode)
{
    for (int id : kSecondCutControls)
        Show(this, id, mode >= 2);
}

void CZorvatrailm::OnGenerationModeChange()
{
    ShowSecondCutControls(ComboIndex(this, IDC_MODE));
}

void CZorvatrailm::Hide()
{
    ShowWindow(SW_HIDE);
    g_batchPanelShown = 0;
}

void CZorvatrailm::OnCancel()
{
    Hide();
    g_keyDownSeen = 0;
}

// The fields are stored before the run is asked for, also when the worker
// is still busy and refuses it. Before, the cut direction and the pass
// choice were stored without marking the settings changed, so a batch
// reversed here came back forward after a restart.
// Before, text that was no number was taken as 0: "abc" as the
// compensation built every path at 0 and wrote the 0 into the settings.
void CZorvatrailm::OnGenerate()
{
    if (!numfield::AllNumbers({{this, IDC_COMPENSATION, u"切割钼丝补偿值"},
                               {this, IDC_LEAD_ANGLE, u"圆切入引线角度"},
                               {this, IDC_LEAD_LENGTH, u"圆外形引线长度"},
                               {this, IDC_OFFSET1, u"图形一加偏移"},
                               {this, IDC_OFFSET2, u"图形二加偏移"}}))
        return;
    MachiningSettings& m = g_MachiningSettings;
    const std::uint8_t reverse = Checked(this, IDC_FORWARD) ? 0 : 1;
    const std::uint8_t outer = Checked(this, IDC_HOLES) ? 0 : 1;
    const double compensation = Number(this, IDC_COMPENSATION);
    const double leadAngle = BatchLeadAngleFromDegrees(Number(this, IDC_LEAD_ANGLE));
    const double leadLength = ClampBatchLeadLength(Number(this, IDC_LEAD_LENGTH));
    // The second cut's offsets are hidden for one path per shape: there a
    // text that is no number keeps the stored offset.
    const double offset1 = numfield::Or(this, IDC_OFFSET1, m.batchOffset1);
    const double offset2 = numfield::Or(this, IDC_OFFSET2, m.batchOffset2);
    const std::int32_t pause = Checked(this, IDC_PAUSE_FIRST) ? 1 : 0;
    const std::uint8_t firstCorner = ChoiceFromIndex(ComboIndex(this, IDC_FIRST_CORNER));
    const std::uint8_t vertical = ChoiceFromIndex(ComboIndex(this, IDC_ARRANGEMENT));
    std::uint8_t returnPoint = ChoiceFromIndex(ComboIndex(this, IDC_RETURN));
    returnPoint = returnPoint > 1 ? 0 : returnPoint;
    std::uint8_t mode = ChoiceFromIndex(ComboIndex(this, IDC_MODE));
    mode = mode > 4 ? 0 : mode;
    const std::uint8_t multiPass = std::min<std::uint8_t>(ChoiceFromIndex(ComboIndex(this, IDC_PASSES)), 1);
    if (outer != m.batchOuter || leadAngle != m.batchLeadAngle || leadLength != m.batchLeadLength
        || firstCorner != m.batchFirstCorner || vertical != m.batchVertical || returnPoint != m.batchReturnToThread
        || mode != m.batchMode || offset1 != m.batchOffset1 || offset2 != m.batchOffset2
        || pause != m.batchPauseAfterFirst || compensation != m.compensation || reverse != m.batchReverse
        || multiPass != m.multiPass)
        g_SettingsDirty = 1;
    m.multiPass = multiPass;
    m.batchLeadAngle = leadAngle;
    m.batchLeadLength = leadLength;
    m.batchOuter = outer;
    m.batchOffset1 = offset1;
    m.batchReverse = reverse;
    m.batchOffset2 = offset2;
    m.batchFirstCorner = firstCorner;
    m.compensation = compensation;
    m.batchVertical = vertical;
    m.batchReturnToThread = returnPoint;
    m.batchMode = mode;
    m.batchPauseAfterFirst = pause;
    if (g_pView != nullptr && g_pView->StartBatchPaths(outer))
        Hide();
}

void CZorvatrailm::OnSelectAll()
{
    if (g_pDoc == nullptr)
        return;
    for (CUnit* u : g_pDoc->m_unitList)
        if (u != nullptr && !u->deleted && u->role == 0)
            u->selected = 1;
    if (g_pView != nullptr)
        g_pView->RedrawNow();
}

void CZorvatrailm::OnCompensation()
{
    if (CZorvatrailmOffest* table = CompensationTable())
        table->ShowCompensationTable();
}

// Esc and F10 hide the dialog; every key released here ends the key-down
// that the path dialogs and the frame wait for.
BOOL CZorvatrailm::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        g_keyDownSeen = 1;
    } else if (msg->message == WM_KEYUP && g_keyDownSeen) {
        g_keyDownSeen = 0;
        if (msg->wParam == VK_ESCAPE || msg->wParam == VK_F1 + 9)
            Hide();
    }
    return CDialog::PreTranslateMessage(msg);
}

HBRUSH CZorvatrailm::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if (HBRUSH brush = ProcessEditColours(dc, kind))
        return brush;
    return CDialog::OnCtlColor(dc, wnd, kind);
}
