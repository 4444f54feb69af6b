#include "generators/CZorvacostPiece.h"

#include "app/AppState.h"
#include "generators/cost_estimate.h"
#include "generators/dialog_fields.h"
#include "geometry/GeometryState.h"
#include "geometry/text_utils.h"
#include "platform/ui/dialog_template.h"
#include "view/CZorvaView.h"

namespace {

constexpr unsigned IDD_COST = 246;
constexpr int IDC_THICKNESS = 1009, IDC_PRICE = 1015, IDC_RESULT = 1002, IDC_SELECT_PATHS = 1178;
constexpr int kDecimals = 6;

void RegisterTemplate()
{
    static const bool registered = [] {
        using namespace dlg;
        const auto S = [](const char16_t* t) { return CString(t); };
        RegisterDialogTemplate({IDD_COST, S(u"加工费用估算"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 92, {
            LText(-1, S(u"工件厚度（mm）："), 8, 10, 76, 10), EditText(IDC_THICKNESS, 88, 8, 104, 12),
            LText(-1, S(u"单价（1mm^2）："), 8, 28, 76, 10), EditText(IDC_PRICE, 88, 26, 104, 12),
            LText(IDC_RESULT, S(u"--"), 8, 48, 186, 10),
            PushButton(IDC_SELECT_PATHS, S(u"全选(&A)"), 8, 68, 56, 16),
            DefPushButton(1, S(u"计算(&S)"), 72, 68, 56, 16),
            PushButton(2, S(u"取消"), 136, 68, 56, 16),
        }});
        return true;
    }();
    (void)registered;
}

} // namespace

BEGIN_MESSAGE_MAP(CZorvacostPiece, CDialog)
    ON_BN_CLICKED(IDC_SELECT_PATHS, OnSelectAllPaths)
END_MESSAGE_MAP()

CZorvacostPiece::CZorvacostPiece() : CDialog(IDD_COST)
{
    RegisterTemplate();
}

BOOL CZorvacostPiece::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_THICKNESS, FormatNumberPrec(kDecimals, g_MachiningSettings.costThickness));
    SetDlgItemText(IDC_PRICE, FormatNumberPrec(kDecimals, g_MachiningSettings.costUnitPrice));
    return TRUE;
}

void CZorvacostPiece::OnSelectAllPaths()
{
    if (g_pDoc == nullptr)
        return;
    for (CUnit* u : g_pDoc->m_unitList)
        if (!u->deleted)
            u->selected = u->role == kRolePath ? 1 : 0;
    if (g_pView != nullptr)
        g_pView->RedrawNow();
}

void CZorvacostPiece::OnCalculate()
{
    SetDlgItemText(IDC_RESULT, CString(u"--"));
    if (g_pDoc == nullptr)
        return;
    const PathLengthSum paths = SumSelectedPaths(g_pDoc->m_unitList);
    if (paths.count == 0) {
        SetDlgItemText(IDC_RESULT, CString(u"提示：请选择加工轨迹再估算"));
        return;
    }
    const double thickness = FieldNumber(this, IDC_THICKNESS);
    const double price = FieldNumber(this, IDC_PRICE);
    MachiningSettings& m = g_MachiningSettings;
    if (thickness != m.costThickness || price != m.costUnitPrice) {
        m.costThickness = thickness;
        m.costUnitPrice = price;
        g_SettingsDirty = 1;
    }
    CString line;
    line.Format(u"工件数量：%d  估算费用：%s", paths.count,
                FormatNumberPrec(kDecimals, price * (thickness * paths.length)).GetString());
    SetDlgItemText(IDC_RESULT, line);
}
