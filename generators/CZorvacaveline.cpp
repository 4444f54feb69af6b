#include "generators/CZorvacaveline.h"

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "generators/CZorvacreateGear.h"
#include "generators/dialog_fields.h"
#include "generators/formula_curves.h"
#include "process/number_fields.h"
#include "geometry/CSplines.h"
#include "geometry/GeometryState.h"
#include "geometry/unit_services.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CPaintDC.h"
#include "platform/ui/dialog_template.h"
#include "view/ViewState.h"

namespace {

constexpr unsigned IDD_FORMULA_CURVE = 182;
constexpr int IDC_CURVE_TYPE = 1012;
constexpr int IDC_CURVE_START = 1009;
constexpr int IDC_CURVE_END = 1015;
constexpr int IDC_CURVE_BASE = 1016;
constexpr int IDC_CURVE_FORWARD = 1043;
constexpr int IDC_CURVE_REVERSE = 1029;
constexpr int IDC_CURVE_PREVIEW = 1178;

constexpr int kPictureLeft = 2, kPictureTop = 11, kPictureSize = 278;
constexpr PreviewFit kCurveFit{250.0, 250.0, 139, 139, false};
// Sampling step of the preview's spline, millimetres.
constexpr double kCurveDrawStep = 1.0;
constexpr int kOpenListHeight = 250;

const char16_t* const kCurveNames[kFormulaCurveTypes] = {
    u"渐开线", u"抛物线", u"对数曲线", u"双弧外摆线", u"星行线", u"三尖瓣线", u"梅花曲线", u"长叶星形曲线", u"弯月线"};

void RegisterTemplate()
{
    static const bool registered = [] {
        using namespace dlg;
        RegisterDialogTemplate({IDD_FORMULA_CURVE, CString(u"公式曲线"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 300, 200, {
            GroupBox(-1, CString(u"曲线类型"), 190, 4, 104, 32),
            ComboBox(IDC_CURVE_TYPE, 196, 16, 92, 120, CBS_DROPDOWNLIST | CBS_NOINTEGRALHEIGHT),
            LText(-1, CString(u"起始角(°)："), 190, 46, 52, 10),
            EditText(IDC_CURVE_START, 244, 44, 50, 12),
            LText(-1, CString(u"终点角(°)："), 190, 64, 52, 10),
            EditText(IDC_CURVE_END, 244, 62, 50, 12),
            LText(-1, CString(u"基数："), 190, 82, 52, 10),
            EditText(IDC_CURVE_BASE, 244, 80, 50, 12),
            AutoRadioButton(IDC_CURVE_FORWARD, CString(u"正向"), 196, 102, 44, 10, WS_GROUP | WS_TABSTOP),
            AutoRadioButton(IDC_CURVE_REVERSE, CString(u"反向"), 244, 102, 44, 10),
            PushButton(IDC_CURVE_PREVIEW, CString(u"预览(&P)"), 190, 150, 50, 16, WS_GROUP),
            DefPushButton(1, CString(u"生成(&S)"), 190, 172, 50, 16),
            PushButton(2, CString(u"取消"), 244, 172, 50, 16),
        }});
        return true;
    }();
    (void)registered;
}

CUnitArray* PreviewList()
{
    return g_pDoc != nullptr ? &g_pDoc->m_tempList : nullptr;
}

const char16_t* RefusalText(FormulaResult r)
{
    switch (r) {
    case FormulaResult::tooShort: return u"起始角与终点角相差过小，无法生成曲线";
    case FormulaResult::tooLong: return u"起始角与终点角相差过大，无法生成曲线";
    case FormulaResult::undefined: return u"曲线在此角度范围内无定义，无法生成";
    default: return u"";
    }
}

} // namespace

BEGIN_MESSAGE_MAP(CZorvacaveline, CDialog)
    ON_CBN_SELCHANGE(IDC_CURVE_TYPE, OnTypeChange)
    ON_BN_CLICKED(IDC_CURVE_PREVIEW, OnPreview)
END_MESSAGE_MAP()

CZorvacaveline::CZorvacaveline() : CDialog(IDD_FORMULA_CURVE)
{
    RegisterTemplate();
}

BOOL CZorvacaveline::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Placed left of the screen's middle. The window manager adds the frame
    // and caption around the client area set here.
    RECT client;
    GetClientRect(&client);
    const int width = client.right - client.left;
    MoveWindow(g_screenWidth / 2 - width - 100, 100, width, client.bottom - client.top);
    if (CComboBox* c = FieldCombo(this, IDC_CURVE_TYPE)) {
        c->SetDroppedHeight(kOpenListHeight);
        for (const char16_t* name : kCurveNames)
            c->AddString(CString(name));
        c->SetCurSel(0);
    }
    WriteDefaults(0);
    SetFieldChecked(this, IDC_CURVE_FORWARD, true);
    SetFieldChecked(this, IDC_CURVE_REVERSE, false);
    ClearPreviewList();
    return TRUE;
}

void CZorvacaveline::WriteDefaults(int type)
{
    if (type < 0 || type >= kFormulaCurveTypes)
        return;
    SetDlgItemText(IDC_CURVE_START, CString(u"0"));
    SetDlgItemText(IDC_CURVE_END, CString(type == 0 ? u"180" : type <= 2 ? u"90" : u"360"));
    SetDlgItemText(IDC_CURVE_BASE, CString(u"10.0"));
}

void CZorvacaveline::OnTypeChange()
{
    if (CComboBox* c = FieldCombo(this, IDC_CURVE_TYPE))
        WriteDefaults(c->GetCurSel());
}

// Before, text that was no number was taken as 0 (a base of 0, a span
// from 0). The preview refuses such text as 生成 does.
bool CZorvacaveline::BuildCurve()
{
    CUnitArray* list = PreviewList();
    if (list == nullptr)
        return false;
    if (!numfield::AllNumbers({{this, IDC_CURVE_START, u"起始角(°)"},
                               {this, IDC_CURVE_END, u"终点角(°)"},
                               {this, IDC_CURVE_BASE, u"基数"}}))
        return false;
    FormulaInputs in;
    CComboBox* c = FieldCombo(this, IDC_CURVE_TYPE);
    in.type = c != nullptr ? c->GetCurSel() : 0;
    in.startDeg = FieldNumber(this, IDC_CURVE_START);
    in.endDeg = FieldNumber(this, IDC_CURVE_END);
    in.base = FieldNumber(this, IDC_CURVE_BASE);
    in.reverse = !FieldChecked(this, IDC_CURVE_FORWARD);
    ++g_UnitIdCounter;
    auto* spline = new CSplines();
    const FormulaResult result = SampleFormulaCurve(in, spline->nodes);
    if (result != FormulaResult::ok) {
        delete spline;
        AfxMessageBox(CString(RefusalText(result)));
        return false;
    }
    spline->geometry.spline.kind = 0;
    spline->workGeometry.spline.kind = 0;
    spline->flatValid = 0;
    spline->visible = 1;
    spline->complete = 1;
    list->Add(spline);
    FitPreviewMapping(*list, kCurveFit, m_preview);
    Invalidate();
    UpdateWindow();
    return true;
}

void CZorvacaveline::OnPreview()
{
    ClearPreviewList();
    BuildCurve();
}

void CZorvacaveline::OnGenerate()
{
    ClearPreviewList();
    if (!BuildCurve())
        return;
    CUnitArray* list = PreviewList();
    CUnit* curve = nullptr;
    ResetEntityStates();
    for (CUnit* u : *list) {
        u->complete = 1;
        u->selected = 1;
        g_pDoc->AppendUnit(u);
        curve = u;
    }
    list->RemoveAll();
    if (curve != nullptr)
        HandToMoveCommand(curve, x_Vector(0.0, 0.0));
    if (CZorvaDoc* doc = GetZorvaDoc())
        doc->CommitUndoStep(0);
    EndDialog(IDOK);
}

void CZorvacaveline::OnPaint()
{
    CPaintDC dc(this);
    CUnitArray none;
    CUnitArray* list = PreviewList();
    DrawPreviewPicture(&dc, kPictureLeft, kPictureTop, kPictureSize, kPictureSize, m_preview,
                       list != nullptr ? *list : none, kCurveDrawStep);
}
