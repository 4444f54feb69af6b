#include "generators/CZorvacreateGear.h"

#include <mutex>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "generators/GeneratorState.h"
#include "generators/dialog_fields.h"
#include "process/number_fields.h"
#include "generators/gear_dialog_resources.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/text_utils.h"
#include "geometry/unit_services.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CPaintDC.h"
#include "platform/ui/CTabCtrl.h"
#include "view/CZorvaView.h"

namespace {

// The preview picture: its place on the dialog, its size and the box the
// outline is fitted into, all in pixels.
constexpr int kPictureLeft = 2, kPictureTop = 11, kPictureWidth = 278, kPictureHeight = 320;
constexpr PreviewFit kGearFit{250.0, 288.0, 139, 160, true};
// Steps of the involute parameter when a flank is drawn, radians.
constexpr double kFlankDrawStep = 0.1;
// The open lists of the page's combo boxes, pixels.
constexpr int kOpenListHeight = 250;

const char16_t* const kAlphaGear[] = {u"20", u"15", u"30", u"45"};
const char16_t* const kAlphaRack[] = {u"20", u"15"};
const char16_t* const kHaValues[] = {u"0.8", u"1.0"};
const char16_t* const kCValues[] = {u"0.25", u"0.30"};

CUnitArray* PreviewList()
{
    return g_pDoc != nullptr ? &g_pDoc->m_tempList : nullptr;
}

template <size_t N>
void Fill(CWnd* page, int id, const char16_t* const (&items)[N])
{
    if (CComboBox* c = FieldCombo(page, id)) {
        c->ResetContent();
        for (const char16_t* s : items)
            c->AddString(CString(s));
        c->ModifyStyle(0, CBS_NOINTEGRALHEIGHT);
        c->SetDroppedHeight(kOpenListHeight);
    }
}

void FillModules(CWnd* page)
{
    CComboBox* c = FieldCombo(page, IDC_MODULE);
    if (c == nullptr)
        return;
    c->ResetContent();
    for (double m : kModules) {
        CString s;
        s.Format(u"%.2f", m);
        c->AddString(s);
    }
    c->ModifyStyle(0, CBS_NOINTEGRALHEIGHT);
    c->SetDroppedHeight(kOpenListHeight);
}

int ListIndex(CWnd* page, int id)
{
    CComboBox* c = FieldCombo(page, id);
    return c != nullptr ? c->GetCurSel() : -1;
}

// A typed module is stored by its place in the list, -1 when it is not there.
int ModuleIndex(CWnd* page)
{
    CComboBox* c = FieldCombo(page, IDC_MODULE);
    return c != nullptr ? c->FindStringExact(-1, FieldText(page, IDC_MODULE)) : -1;
}

void SelectIndex(CWnd* page, int id, int index)
{
    if (CComboBox* c = FieldCombo(page, id))
        c->SetCurSel(index >= 0 && index < c->GetCount() ? index : -1);
}

} // namespace

BEGIN_MESSAGE_MAP(CZorvacreateGear, CDialog)
    ON_NOTIFY(TCN_SELCHANGE, IDC_GEAR_TAB, OnSelchangeTab)
    ON_BN_CLICKED(IDC_GEAR_PREVIEW, OnPreview)
END_MESSAGE_MAP()

CZorvacreateGear::CZorvacreateGear() : CDialog(IDD_GEAR)
{
    RegisterGearDialogTemplates();
}

CZorvacreateGear::~CZorvacreateGear()
{
    if (g_GearDialog == this)
        g_GearDialog = nullptr;
}

BOOL CZorvacreateGear::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_pageCount = 2;
    g_GearDialog = this;
    m_accepting = 0;
    if (auto* tab = dynamic_cast<CTabCtrl*>(GetDlgItem(IDC_GEAR_TAB))) {
        tab->InsertItem(0, CString(u" 标准齿轮 "));
        tab->InsertItem(1, CString(u" 齿条 "));
        RECT r;
        tab->GetClientRect(&r);
        m_gearPage.Create(IDD_GEAR_PAGE, tab);
        m_rackPage.Create(IDD_RACK_PAGE, tab);
        for (CDialog* page : {static_cast<CDialog*>(&m_gearPage), static_cast<CDialog*>(&m_rackPage)})
            page->MoveWindow(r.left + 1, r.top + 27, r.right - r.left - 4, r.bottom - r.top - 29);
    }
    FillLists();
    RestoreGearPage();
    RestoreRackPage();
    SetFieldNumber4(&m_gearPage, IDC_GEAR_ROOT_R, 0.38 * FieldNumber(&m_gearPage, IDC_MODULE));
    SetFieldNumber4(&m_rackPage, IDC_RACK_ROOT_R, 0.38 * FieldNumber(&m_rackPage, IDC_MODULE));
    SelectPage(g_GearPage);
    ClearPreviewList();
    m_gearPage.m_ready = 1;
    m_paramsTouched = 1;
    if (FieldChecked(&m_gearPage, IDC_GEAR_EXTERNAL))
        GenerateExternalGear(1);
    else
        GenerateInternalGear(1);
    m_paramsTouched = 1;
    GenerateRack(1);
    // Filling the size fields is no change: an opening that changes
    // nothing saves nothing.
    m_paramsTouched = 0;
    return TRUE;
}

void CZorvacreateGear::FillLists()
{
    for (CWnd* page : {static_cast<CWnd*>(&m_gearPage), static_cast<CWnd*>(&m_rackPage)}) {
        FillModules(page);
        Fill(page, IDC_HA, kHaValues);
        Fill(page, IDC_C, kCValues);
    }
    Fill(&m_gearPage, IDC_ALPHA, kAlphaGear);
    Fill(&m_rackPage, IDC_ALPHA, kAlphaRack);
}

void CZorvacreateGear::RestoreGearPage()
{
    CWnd* p = &m_gearPage;
    const GearParams& g = g_GearParams;
    CString teeth;
    teeth.Format(u"%d", g.teeth);
    p->SetDlgItemText(IDC_TEETH, teeth);
    SetFieldNumber4(p, IDC_GEAR_SHIFT, g.shift);
    p->SetDlgItemText(IDC_GEAR_ROOT_R, CString(u"0.0"));
    p->SetDlgItemText(IDC_GEAR_TIP_R, CString(u"0.0"));
    SelectIndex(p, IDC_MODULE, g.moduleIndex);
    SelectIndex(p, IDC_C, g.cIndex);
    SelectIndex(p, IDC_HA, g.haIndex);
    SelectIndex(p, IDC_ALPHA, g.alphaIndex);
    SetFieldChecked(p, IDC_GEAR_EXTERNAL, g.internal == 0);
    SetFieldChecked(p, IDC_GEAR_INTERNAL, g.internal != 0);
    SetFieldNumber4(p, IDC_GEAR_START, g.startAngle);
    SetFieldChecked(p, IDC_GEAR_BYCOUNT, g.byCount != 0);
    SetFieldChecked(p, IDC_GEAR_TIP_ON, g.tipFilletOn != 0);
    SetFieldChecked(p, IDC_GEAR_ROOT_ON, g.rootFilletOn != 0);
    p->SetDlgItemText(IDC_GEAR_COUNT, CString(u"1"));
    EnableField(p, IDC_GEAR_START, g.byCount != 0);
    EnableField(p, IDC_GEAR_COUNT, g.byCount != 0);
    EnableField(p, IDC_GEAR_TIP_R, g.tipFilletOn != 0);
    EnableField(p, IDC_GEAR_ROOT_R, g.rootFilletOn != 0);
}

void CZorvacreateGear::RestoreRackPage()
{
    CWnd* p = &m_rackPage;
    const RackParams& r = g_RackParams;
    CString teeth;
    teeth.Format(u"%d", r.teeth);
    p->SetDlgItemText(IDC_TEETH, teeth);
    SetFieldNumber4(p, IDC_RACK_SHIFT, r.shift);
    p->SetDlgItemText(IDC_RACK_TIP_R, CString(u"0.0"));
    p->SetDlgItemText(IDC_RACK_ROOT_R, CString(u"0.0"));
    SelectIndex(p, IDC_MODULE, r.moduleIndex);
    SelectIndex(p, IDC_C, r.cIndex);
    SelectIndex(p, IDC_HA, r.haIndex);
    SelectIndex(p, IDC_ALPHA, r.alphaIndex);
    SetFieldChecked(p, IDC_RACK_TIP_ON, r.tipFilletOn != 0);
    SetFieldChecked(p, IDC_RACK_ROOT_ON, r.rootFilletOn != 0);
    EnableField(p, IDC_RACK_TIP_R, r.tipFilletOn != 0);
    EnableField(p, IDC_RACK_ROOT_R, r.rootFilletOn != 0);
}

void CZorvacreateGear::SaveGearPage()
{
    CWnd* p = &m_gearPage;
    GearParams& g = g_GearParams;
    g.haIndex = ListIndex(p, IDC_HA);
    g.moduleIndex = ModuleIndex(p);
    g.alphaIndex = ListIndex(p, IDC_ALPHA);
    g.cIndex = ListIndex(p, IDC_C);
    g.internal = FieldChecked(p, IDC_GEAR_EXTERNAL) ? 0 : 1;
    g.byCount = FieldChecked(p, IDC_GEAR_BYCOUNT) ? 1 : 0;
    g.tipFilletOn = FieldChecked(p, IDC_GEAR_TIP_ON) ? 1 : 0;
    g.rootFilletOn = FieldChecked(p, IDC_GEAR_ROOT_ON) ? 1 : 0;
    // A field whose text is no number keeps its setting.
    g.startAngle = numfield::Or(p, IDC_GEAR_START, g.startAngle);
    g.shift = numfield::Or(p, IDC_GEAR_SHIFT, g.shift);
    g.teeth = TruncatedInt(numfield::Or(p, IDC_TEETH, g.teeth));
}

void CZorvacreateGear::SaveRackPage()
{
    CWnd* p = &m_rackPage;
    RackParams& r = g_RackParams;
    r.haIndex = ListIndex(p, IDC_HA);
    r.moduleIndex = ModuleIndex(p);
    r.alphaIndex = ListIndex(p, IDC_ALPHA);
    r.cIndex = ListIndex(p, IDC_C);
    r.tipFilletOn = FieldChecked(p, IDC_RACK_TIP_ON) ? 1 : 0;
    r.rootFilletOn = FieldChecked(p, IDC_RACK_ROOT_ON) ? 1 : 0;
    r.shift = numfield::Or(p, IDC_RACK_SHIFT, r.shift);
    r.teeth = TruncatedInt(numfield::Or(p, IDC_TEETH, r.teeth));
}

void CZorvacreateGear::SelectPage(int index)
{
    g_GearPage = index;
    if (auto* tab = dynamic_cast<CTabCtrl*>(GetDlgItem(IDC_GEAR_TAB)))
        tab->SetCurSel(index);
    m_gearPage.ShowWindow(index == 0 ? SW_SHOW : SW_HIDE);
    m_rackPage.ShowWindow(index == 1 ? SW_SHOW : SW_HIDE);
}

void CZorvacreateGear::OnSelchangeTab(NMHDR*, LRESULT* result)
{
    if (auto* tab = dynamic_cast<CTabCtrl*>(GetDlgItem(IDC_GEAR_TAB)))
        SelectPage(tab->GetCurSel());
    if (result != nullptr)
        *result = 0;
}

// Before, text that was no number was taken as 0 ("abc" as the profile
// shift gave an unshifted gear). Fields disabled by their check box or by
// 方式一 are not read for the outline and are not checked.
bool CZorvacreateGear::PageFieldsAreNumbers(int page)
{
    CWnd* g = &m_gearPage;
    CWnd* r = &m_rackPage;
    if (page == 0)
        return numfield::AllNumbers({{g, IDC_TEETH, u"齿数 (z)"},
                                     {g, IDC_MODULE, u"模数 (m)"},
                                     {g, IDC_GEAR_SHIFT, u"变位系数 (x)"},
                                     {g, IDC_SIZE_TIP, u"齿顶圆直径 (da)"},
                                     {g, IDC_SIZE_ROOT, u"齿根圆直径 (df)"},
                                     {g, IDC_GEAR_TIP_R, u"齿顶过渡圆半径 (rt)"},
                                     {g, IDC_GEAR_ROOT_R, u"齿根过渡圆半径 (rf)"},
                                     {g, IDC_GEAR_COUNT, u"指定齿数生成"},
                                     {g, IDC_GEAR_START, u"起始角度"}});
    return numfield::AllNumbers({{r, IDC_TEETH, u"齿数 (z)"},
                                 {r, IDC_MODULE, u"模数 (m)"},
                                 {r, IDC_RACK_SHIFT, u"变位系数 (x)"},
                                 {r, IDC_SIZE_TIP, u"齿顶高度 (ha)"},
                                 {r, IDC_SIZE_ROOT, u"齿根高度 (hf)"},
                                 {r, IDC_RACK_TIP_R, u"齿顶过渡圆半径 (rt)"},
                                 {r, IDC_RACK_ROOT_R, u"齿根过渡圆半径 (rf)"}});
}

bool CZorvacreateGear::Generate(int page, int mode)
{
    // The size recalculations while the user types refuse nothing.
    if (mode == 0 && (page == 0 || page == 1) && !PageFieldsAreNumbers(page))
        return false;
    if (page == 0) {
        m_paramsTouched = 1;
        return FieldChecked(&m_gearPage, IDC_GEAR_EXTERNAL) ? GenerateExternalGear(mode) : GenerateInternalGear(mode);
    }
    if (page == 1) {
        m_paramsTouched = 1;
        return GenerateRack(mode);
    }
    return false;
}

void CZorvacreateGear::OnPreview()
{
    ClearPreviewList();
    m_accepting = 0;
    Generate(g_GearPage, 0);
}

void CZorvacreateGear::OnGenerate()
{
    ClearPreviewList();
    m_accepting = 1;
    m_handleUnit = nullptr;
    if (!Generate(g_GearPage, 0))
        return;
    AcceptPreview();
    if (m_handleUnit != nullptr)
        HandToMoveCommand(m_handleUnit, m_handlePoint);
    if (CZorvaDoc* doc = GetZorvaDoc())
        doc->CommitUndoStep(0);
    EndDialog(IDOK);
}

// The outline joins the drawing selected, and alone selected: the move
// command that follows carries every selected entity.
void CZorvacreateGear::AcceptPreview()
{
    CUnitArray* list = PreviewList();
    if (list == nullptr)
        return;
    ResetEntityStates();
    for (CUnit* u : *list) {
        u->visible = 1;
        u->complete = 1;
        u->selected = 1;
        u->rubberShown = 0;
        g_pDoc->AppendUnit(u);
    }
    list->RemoveAll();
}

void CZorvacreateGear::OnDestroy()
{
    CDialog::OnDestroy();
    if (m_paramsTouched) {
        SaveGearPage();
        SaveRackPage();
        g_SettingsDirty = 1;
    }
    if (!m_accepting)
        ClearPreviewList();
    if (CUnitArray* list = PreviewList())
        list->RemoveAll();
    if (g_GearDialog == this)
        g_GearDialog = nullptr;
}

void CZorvacreateGear::FitPreview()
{
    PreviewMapping m{m_previewScale, m_previewOrigin[0], m_previewOrigin[1]};
    if (CUnitArray* list = PreviewList(); list != nullptr && FitPreviewMapping(*list, kGearFit, m)) {
        m_previewScale = m.scale;
        m_previewOrigin[0] = m.originX;
        m_previewOrigin[1] = m.originY;
    }
}

void CZorvacreateGear::ShowPreviewNow()
{
    FitPreview();
    Invalidate();
    UpdateWindow();
}

void CZorvacreateGear::OnPaint()
{
    CPaintDC dc(this);
    const PreviewMapping m{m_previewScale, m_previewOrigin[0], m_previewOrigin[1]};
    CUnitArray none;
    CUnitArray* list = PreviewList();
    DrawPreviewPicture(&dc, kPictureLeft, kPictureTop, kPictureWidth, kPictureHeight, m,
                       list != nullptr ? *list : none, kFlankDrawStep);
}

void ClearPreviewList()
{
    CUnitArray* list = PreviewList();
    if (list == nullptr)
        return;
    for (CUnit* u : *list)
        delete u;
    list->RemoveAll();
}

void RecalcGearSizes()
{
    if (g_GearDialog == nullptr)
        return;
    g_GearDialog->m_paramsTouched = 1;
    if (FieldChecked(&g_GearDialog->m_gearPage, IDC_GEAR_EXTERNAL))
        g_GearDialog->GenerateExternalGear(1);
    else
        g_GearDialog->GenerateInternalGear(1);
}

void HandToMoveCommand(CUnit* handle, const x_Vector& point)
{
    CZorvaView* view = g_pView;
    if (view == nullptr || handle == nullptr)
        return;
    g_lastCommand = kCmdMove;
    view->SetCommand(kCmdMove);
    if (g_curCommand != kCmdMove)
        return;                         // refused (busy worker, lock switch)
    view->m_subStep = 2;
    g_cmdPointCount = 2;
    g_cmdStep = kStepSelect;
    view->m_basePoint = point;
    view->m_moveBase = point;
    handle->edit->dragStart = point;
    view->m_pPickedUnit = handle;
    view->ShowPrompt(CString(), 0);
}
