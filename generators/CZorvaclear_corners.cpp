#include "generators/CZorvaclear_corners.h"

#include <algorithm>
#include <cmath>

#include "app/AppState.h"
#include "generators/dialog_fields.h"
#include "process/number_fields.h"
#include "geometry/GeometryState.h"
#include "platform/ui/dialog_template.h"

namespace {

constexpr unsigned IDD_CLEAR_CORNERS = 163;
constexpr int IDC_CORNER_ANGLE = 1090, IDC_LEAD_LENGTH = 1091;
constexpr int IDC_DIR_EXTEND = 1092, IDC_DIR_BISECT = 1093, IDC_DIR_AUTO = 1188;
constexpr int kCutIds[7] = {1030, 1032, 1083, 1084, 1085, 1086, 1087};
constexpr int IDC_PAUSE = 1088, IDC_PAUSE_SECONDS = 1095;
constexpr int IDC_FIT_LINES = 1043, IDC_FIT_ARCS = 1029, IDC_INNER_ARC = 1089;
constexpr double kMinAngle = 1.0, kMaxAngle = 179.0;
constexpr std::uint8_t kFastWire = 10;

void RegisterTemplate()
{
    static const bool registered = [] {
        using namespace dlg;
        const auto S = [](const char16_t* t) { return CString(t); };
        DlgTemplate t{IDD_CLEAR_CORNERS, S(u"清角参数设置"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 250, 194, {
            LText(-1, S(u"| 清角参数设置--------------------------------------------"), 4, 6, 242, 10),
            LText(-1, S(u"清角角度："), 10, 24, 50, 10), EditText(IDC_CORNER_ANGLE, 62, 22, 50, 12),
            LText(-1, S(u"(1-179度)"), 116, 24, 60, 10),
            LText(-1, S(u"引线长度："), 10, 40, 50, 10), EditText(IDC_LEAD_LENGTH, 62, 38, 50, 12),
            LText(-1, S(u"(mm)"), 116, 40, 40, 10),
            LText(-1, S(u"引线方向："), 10, 56, 50, 10),
            AutoRadioButton(IDC_DIR_EXTEND, S(u"延长线方向"), 62, 56, 60, 10, WS_GROUP | WS_TABSTOP),
            AutoRadioButton(IDC_DIR_BISECT, S(u"夹角平分线"), 126, 56, 60, 10),
            AutoRadioButton(IDC_DIR_AUTO, S(u"自动"), 190, 56, 40, 10),
            LText(-1, S(u"清角刀次："), 10, 72, 50, 10, WS_GROUP),
        }};
        for (int k = 0; k < 7; ++k) {
            CString caption;
            caption.Format(u"第%d刀", k + 1);
            t.items.push_back(AutoCheckBox(kCutIds[k], caption, 62 + 38 * (k % 4), 72 + 14 * (k / 4), 36, 10));
        }
        for (const DlgItemTemplate& i : {
                 LText(-1, S(u"| 其它参数设置--------------------------------------------"), 4, 104, 242, 10),
                 AutoCheckBox(IDC_PAUSE, S(u"清角停顿"), 10, 120, 56, 10),
                 EditText(IDC_PAUSE_SECONDS, 68, 118, 44, 12), LText(-1, S(u"(秒)"), 116, 120, 30, 10),
                 AutoRadioButton(IDC_FIT_LINES, S(u"样线直线拟合"), 10, 136, 80, 10, WS_GROUP | WS_TABSTOP),
                 AutoRadioButton(IDC_FIT_ARCS, S(u"样线圆弧拟合"), 100, 136, 80, 10),
                 AutoCheckBox(IDC_INNER_ARC, S(u"加工内孔时切入点加入转角圆弧"), 10, 152, 200, 10, WS_GROUP),
                 DefPushButton(1, S(u"确定(&S)"), 130, 172, 54, 16),
                 PushButton(2, S(u"取消"), 190, 172, 54, 16)})
            t.items.push_back(i);
        RegisterDialogTemplate(t);
        return true;
    }();
    (void)registered;
}

} // namespace

CZorvaclear_corners::CZorvaclear_corners() : CDialog(IDD_CLEAR_CORNERS)
{
    RegisterTemplate();
}

BOOL CZorvaclear_corners::OnInitDialog()
{
    CDialog::OnInitDialog();
    MachiningSettings& m = g_MachiningSettings;
    // The passes above the first are offered to the mid-wire versions only;
    // hidden, they keep and write back their values.
    if (KnownCodingMode(m.codingMode) == kFastWire)
        for (int k = 1; k < 7; ++k)
            if (CWnd* w = GetDlgItem(kCutIds[k]))
                w->ShowWindow(SW_HIDE);
    // A stored angle outside the dialog's range is brought into it at once.
    const double angle = std::clamp(m.cornerAngle, 0.0, kMaxAngle);
    if (angle != m.cornerAngle) {
        m.cornerAngle = angle;
        g_SettingsDirty = 1;
    }
    CString text;
    text.Format(u"%.0f", m.cornerAngle);
    SetDlgItemText(IDC_CORNER_ANGLE, text);
    text.Format(u"%.4f", m.cornerLeadLength);
    SetDlgItemText(IDC_LEAD_LENGTH, text);
    const int dir = m.cornerLeadDir == 0 ? IDC_DIR_EXTEND : m.cornerLeadDir == 1 ? IDC_DIR_BISECT : IDC_DIR_AUTO;
    for (int id : {IDC_DIR_EXTEND, IDC_DIR_BISECT, IDC_DIR_AUTO})
        SetFieldChecked(this, id, id == dir);
    for (int k = 0; k < 7; ++k)
        SetFieldChecked(this, kCutIds[k], m.cornerCuts[k] != 0);
    SetFieldChecked(this, IDC_PAUSE, m.cornerPause != 0);
    text.Format(u"%.3f", m.cornerPauseSeconds);
    SetDlgItemText(IDC_PAUSE_SECONDS, text);
    SetFieldChecked(this, IDC_FIT_ARCS, m.cornerFitArcs != 0);
    SetFieldChecked(this, IDC_FIT_LINES, m.cornerFitArcs == 0);
    SetFieldChecked(this, IDC_INNER_ARC, m.cornerArcAtInnerEntry != 0);
    return TRUE;
}

// Before, text that was no number was taken as 0: a lead length of 0
// switched corner clearing off without a word.
void CZorvaclear_corners::OnOK()
{
    if (!numfield::AllNumbers({{this, IDC_CORNER_ANGLE, u"清角角度"},
                               {this, IDC_LEAD_LENGTH, u"引线长度"},
                               {this, IDC_PAUSE_SECONDS, u"清角停顿"}}))
        return;
    MachiningSettings& m = g_MachiningSettings;
    m.cornerAngle = std::clamp(FieldNumber(this, IDC_CORNER_ANGLE), kMinAngle, kMaxAngle);
    // Lengths and times cannot be negative: stored as absolute values.
    m.cornerLeadLength = std::fabs(FieldNumber(this, IDC_LEAD_LENGTH));
    m.cornerLeadDir = FieldChecked(this, IDC_DIR_EXTEND) ? 0 : FieldChecked(this, IDC_DIR_BISECT) ? 1 : 2;
    for (int k = 0; k < 7; ++k)
        m.cornerCuts[k] = FieldChecked(this, kCutIds[k]) ? 1 : 0;
    m.cornerPause = FieldChecked(this, IDC_PAUSE) ? 1 : 0;
    m.cornerPauseSeconds = std::fabs(FieldNumber(this, IDC_PAUSE_SECONDS));
    m.cornerFitArcs = FieldChecked(this, IDC_FIT_LINES) ? 0 : 1;
    m.cornerArcAtInnerEntry = FieldChecked(this, IDC_INNER_ARC) ? 1 : 0;
    g_SettingsDirty = 1;
    EndDialog(IDOK);
}
