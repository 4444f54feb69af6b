#include "process/CZorvasystemContorl.h"

#include "app/AppState.h"
#include "geometry/GeometryState.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/message_box.h"
#include "process/path_fields.h"

namespace {

constexpr unsigned IDD_CODING_VERSION = 253;
constexpr int IDC_VERSION = 1012;
// Combo entries in order and the code each stands for.
constexpr std::uint8_t kCodes[] = {kCodingFastWire, kCodingMidWireHl, kCodingHfGroup, kCodingHfClass2, kCodingHfClass4};

void RegisterTemplate()
{
    static const bool registered = [] {
        using namespace dlg;
        const auto S = [](const char16_t* t) { return CString(t); };
        RegisterDialogTemplate(DlgTemplate{IDD_CODING_VERSION, S(u"机床系统编码"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 62, {
            LText(-1, S(u"编码"), 10, 14, 24, 10),
            ComboBox(IDC_VERSION, 36, 12, 154, 120, CBS_DROPDOWNLIST | WS_VSCROLL),
            DefPushButton(IDOK, S(u"确定(&S)"), 84, 40, 50, 14),
            PushButton(IDCANCEL, S(u"取消"), 140, 40, 50, 14),
        }});
        return true;
    }();
    (void)registered;
}

} // namespace

CZorvasystemContorl::CZorvasystemContorl() : CDialog(IDD_CODING_VERSION)
{
    RegisterTemplate();
}

BOOL CZorvasystemContorl::OnInitDialog()
{
    CDialog::OnInitDialog();
    pathdlg::FillCombo(this, IDC_VERSION,
                       {u"快走丝版本", u"中走丝HL编码版本", u"中走丝HF编码版本(送组号)", u"中走丝HF编码版本(送二类参数)",
                        u"中走丝HF编码版本(送四类参数)"},
                       0);
    int index = 0;
    const std::uint8_t code = KnownCodingMode(g_MachiningSettings.codingMode);
    for (int k = 0; k < int(std::size(kCodes)); ++k)
        if (kCodes[k] == code)
            index = k;
    pathdlg::SelectCombo(this, IDC_VERSION, index);
    return TRUE;
}

void CZorvasystemContorl::OnOK()
{
    const int index = pathdlg::ComboIndex(this, IDC_VERSION);
    g_MachiningSettings.codingMode = index >= 0 && index < int(std::size(kCodes)) ? kCodes[index] : std::uint8_t(kCodingFastWire);
    g_SettingsDirty = 1;
    EndDialog(IDOK);
}
