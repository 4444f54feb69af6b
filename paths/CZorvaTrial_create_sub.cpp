#include "paths/CZorvaTrial_create_sub.h"

#include "app/AppState.h"
#include "app/MachiningSettings.h"
#include "geometry/GeometryState.h"
#include "geometry/text_utils.h"
#include "platform/ui/message_box.h"
#include "platform/ui/control_styles.h"
#include "platform/ui/dialog_template.h"
#include "view/CZorvaView.h"
#include "view/ViewState.h"
#include "wirepath/wire_wear.h"

namespace {

constexpr unsigned IDD_WEAR = 256;
constexpr int IDC_LENGTH = 1009, IDC_THICKNESS = 1015, IDC_AREA = 1016, IDC_RATIO = 1017;
constexpr int IDC_AUTO_SPLIT = 1030, IDC_HINT = 1002, IDC_ESTIMATE = 1178;
constexpr int kDecimals = 4;
const char16_t kHintStart[] = u"提示：【损丝比率】多少平方毫米损耗 / 1丝【0.01mm】";

void RegisterTemplate()
{
    static const bool registered = [] {
        using namespace dlg;
        const auto S = [](const char16_t* t) { return CString(t); };
        RegisterDialogTemplate({IDD_WEAR, S(u"损丝偏移补偿修正"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 236, 150, {
            LText(-1, S(u"工件长度："), 10, 12, 50, 10), EditText(IDC_LENGTH, 62, 10, 110, 12, ES_READONLY),
            LText(-1, S(u"mm"), 178, 12, 40, 10),
            LText(-1, S(u"工件厚度："), 10, 30, 50, 10), EditText(IDC_THICKNESS, 62, 28, 110, 12),
            LText(-1, S(u"mm"), 178, 30, 40, 10),
            LText(-1, S(u"工件方数："), 10, 48, 50, 10), EditText(IDC_AREA, 62, 46, 110, 12, ES_READONLY),
            LText(-1, S(u"mm^2"), 178, 48, 40, 10),
            LText(-1, S(u"损丝比率："), 10, 66, 50, 10), EditText(IDC_RATIO, 62, 64, 110, 12, ES_NUMBER),
            LText(-1, S(u"mm^2"), 178, 66, 40, 10),
            AutoCheckBox(IDC_AUTO_SPLIT, S(u"自动拆分线段"), 62, 82, 110, 10),
            LText(IDC_HINT, S(kHintStart), 10, 100, 216, 20),
            DefPushButton(1, S(u"使用(&C)"), 22, 126, 60, 16),
            PushButton(IDC_ESTIMATE, S(u"估算(&W)"), 88, 126, 60, 16),
            PushButton(2, S(u"退出"), 154, 126, 60, 16),
        }});
        return true;
    }();
    (void)registered;
}

double Field(const CWnd* dialog, int id)
{
    CString text;
    dialog->GetDlgItemText(id, text);
    return TextToDouble(text);
}

} // namespace

BEGIN_MESSAGE_MAP(CZorvaTrial_create_sub, CDialog)
    ON_BN_CLICKED(IDC_ESTIMATE, OnEstimate)
    ON_EN_CHANGE(IDC_THICKNESS, OnThicknessChange)
    ON_EN_CHANGE(IDC_RATIO, OnRatioChange)
END_MESSAGE_MAP()

CZorvaTrial_create_sub::CZorvaTrial_create_sub() : CDialog(IDD_WEAR)
{
    RegisterTemplate();
}

BOOL CZorvaTrial_create_sub::OnInitDialog()
{
    CDialog::OnInitDialog();
    const MachiningSettings& m = g_MachiningSettings;
    m_length = WearChainLength();
    SetDlgItemText(IDC_LENGTH, FormatNumberPrec(kDecimals, m_length));
    SetDlgItemText(IDC_THICKNESS, FormatNumberPrec(kDecimals, m.thickness));
    CString ratio;
    ratio.Format(u"%d", static_cast<int>(m.wearRatio));
    SetDlgItemText(IDC_RATIO, ratio);
    CheckDlgButton(IDC_AUTO_SPLIT, m.wearAutoSplit != 0 ? 1 : 0);
    if (CWnd* box = GetDlgItem(IDC_AUTO_SPLIT))
        box->ShowWindow(SW_HIDE);
    m_initialised = true;
    ShowArea();
    return TRUE;
}

void CZorvaTrial_create_sub::ShowArea()
{
    CString area;
    area.Format(u"%d", static_cast<int>(m_length * Field(this, IDC_THICKNESS)));
    SetDlgItemText(IDC_AREA, area);
}

void CZorvaTrial_create_sub::OnThicknessChange()
{
    if (!m_initialised)
        return;
    ShowArea();
    m_printed = false;
}

void CZorvaTrial_create_sub::OnRatioChange()
{
    if (m_initialised)
        m_printed = false;
}

void CZorvaTrial_create_sub::OnEstimate()
{
    Correct(false);
}

void CZorvaTrial_create_sub::OnOK()
{
    if (Correct(true))
        EndDialog(IDOK);
}

void CZorvaTrial_create_sub::OnCancel()
{
    g_WearCorrectionMode = 0;
    g_WearMarkers.RemoveAll();
    if (g_pView != nullptr)
        g_pView->RedrawNow();
    EndDialog(IDCANCEL);
}

void CZorvaTrial_create_sub::OnDestroy()
{
    if (!m_initialised)
        return;
    MachiningSettings& m = g_MachiningSettings;
    const double ratio = Field(this, IDC_RATIO);
    const std::uint8_t split = IsDlgButtonChecked(IDC_AUTO_SPLIT) != 0 ? 1 : 0;
    if (ratio != m.wearRatio || split != m.wearAutoSplit) {
        m.wearRatio = ratio;
        m.wearAutoSplit = split;
        g_SettingsDirty = 1;
    }
}

bool CZorvaTrial_create_sub::Correct(bool apply)
{
    SetDlgItemText(IDC_HINT, CString(u"--"));
    const double ratio = Field(this, IDC_RATIO), t = Field(this, IDC_THICKNESS);
    if (!(t > 0.0)) {
        SetDlgItemText(IDC_HINT, CString(u"提示：请输入合理的工件厚度"));
        return false;
    }
    if (g_pView != nullptr)
        g_pView->RedrawNow();
    int count = 0;
    if (PlaceWearCorrections(ratio, t, apply, g_WearMarkers, count) == kWearStepTooSmall) {
        SetDlgItemText(IDC_HINT, CString(u"提示：距离过小"));
        return false;
    }
    if (apply)
        g_WearCorrectionMode = 1;
    if (g_pView != nullptr)
        g_pView->ShowPointMarkers();
    if (!m_printed && g_pView != nullptr) {
        CString line;
        line.Format(u"切割总长：%.3fmm , 总方：%d/mm^2 ，总损丝补偿：%.3fmm , 修正次数：%d * -0.001mm", m_length,
                    static_cast<int>(t * m_length), count / 1000.0, count);
        g_pView->PrintSeparator();
        g_pView->PrintLine(line);
        m_printed = true;
    }
    return true;
}
