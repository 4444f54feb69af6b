#include "process/CZorvatrailmOffest.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/FrameState.h"
#include "geometry/CCir.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/text_utils.h"
#include "geometry/unit_services.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/message_box.h"
#include "process/CZorvatrailm.h"
#include "process/CZorvatrailSql.h"
#include "process/number_fields.h"
#include "process/path_fields.h"
#include "view/CZorvaView.h"
#include "view/ViewState.h"

using namespace pathdlg;

namespace {

constexpr unsigned IDD_COMP_TABLE = 247;
constexpr int IDC_SHAPES = 1008, IDC_VALUE = 1009, IDC_MODIFY = 1178, IDC_DEFAULT = 1002, IDC_CLEAR = 1079;
constexpr int IDC_RADIUS_AT_LEAST = 1015, IDC_VALUE_LARGE = 1016, IDC_RADIUS_BELOW = 1099, IDC_VALUE_SMALL = 1103;
constexpr int IDC_FILL = 1179;
constexpr int kRowNormal = 1, kRowSelected = 2;
constexpr int kCircleType = 7, kCircleShape = 2, kEllipseShape = 3;
constexpr int kScreenRightGap = 100, kTop = 100;

void RegisterTemplate()
{
    static const bool registered = [] {
        using namespace dlg;
        const auto S = [](const char16_t* t) { return CString(t); };
        RegisterDialogTemplate(DlgTemplate{IDD_COMP_TABLE, S(u"轨迹生成补偿"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 212, 276, {
            ListView(IDC_SHAPES, 6, 6, 200, 150, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER),
            LText(-1, S(u"补偿值："), 6, 165, 34, 10),
            EditText(IDC_VALUE, 42, 163, 64, 12),
            PushButton(IDC_MODIFY, S(u"修改(&C)"), 112, 162, 50, 14),
            LText(IDC_DEFAULT, CString(), 6, 181, 200, 10),
            PushButton(IDC_CLEAR, S(u"清空数值(&N)"), 6, 195, 64, 14),
            LText(-1, S(u"圆形补偿，半径>="), 6, 218, 70, 10),
            EditText(IDC_RADIUS_AT_LEAST, 78, 216, 44, 12),
            LText(-1, S(u"补偿"), 126, 218, 20, 10),
            EditText(IDC_VALUE_LARGE, 148, 216, 44, 12),
            LText(-1, S(u"圆形补偿，半径<"), 6, 234, 70, 10),
            EditText(IDC_RADIUS_BELOW, 78, 232, 44, 12),
            LText(-1, S(u"补偿"), 126, 234, 20, 10),
            EditText(IDC_VALUE_SMALL, 148, 232, 44, 12),
            PushButton(IDC_FILL, S(u"填入(&J)"), 6, 256, 50, 14),
            DefPushButton(IDOK, S(u"刷新列表(&C)"), 96, 256, 56, 14),
            PushButton(IDCANCEL, S(u"取消"), 156, 256, 50, 14),
        }});
        return true;
    }();
    (void)registered;
}

CListCtrl* Shapes(const CWnd* dialog)
{
    return dynamic_cast<CListCtrl*>(dialog->GetDlgItem(IDC_SHAPES));
}

CString CompensationText(double value)
{
    return value != 0.0 ? FormatNumberPrec(6, value) : CString(u"-");
}

bool IsListedCircle(CUnit* u)
{
    return u->contourShape == kCircleShape && u->GetType() == kCircleType;
}

double Radius(CUnit* u)
{
    return u->geometry.circle.radius;
}

} // namespace

CZorvatrailmOffest* CompensationTable()
{
    return dynamic_cast<CZorvatrailmOffest*>(g_pCompTablePanel);
}

CUnit* LiveUnitById(std::uint64_t id)
{
    if (g_pDoc == nullptr)
        return nullptr;
    for (CUnit* u : g_pDoc->m_unitList)
        if (u != nullptr && !u->deleted && u->unitId == id)
            return u;
    return nullptr;
}

BEGIN_MESSAGE_MAP(CZorvatrailmOffest, CDialog)
    ON_BN_CLICKED(IDOK, OnRefresh)
    ON_BN_CLICKED(IDC_MODIFY, OnModify)
    ON_BN_CLICKED(IDC_CLEAR, OnClearAll)
    ON_BN_CLICKED(IDC_FILL, OnFill)
    ON_NOTIFY(NM_CLICK, IDC_SHAPES, OnRowClick)
    ON_NOTIFY(NM_CUSTOMDRAW, IDC_SHAPES, OnListCustomDraw)
END_MESSAGE_MAP()

CZorvatrailmOffest::CZorvatrailmOffest()
{
    RegisterTemplate();
}

BOOL CZorvatrailmOffest::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CZorvatrailm* batch = BatchDialog())
        batch->Hide();
    RECT r;
    GetWindowRect(&r);
    if (g_screenWidth > 0)
        SetWindowPos(nullptr, g_screenWidth - (r.right - r.left) - kScreenRightGap, kTop, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    if (CListCtrl* list = Shapes(this))
        list->SetExtendedStyle(list->GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    return TRUE;
}

void CZorvatrailmOffest::ShowCompensationTable()
{
    if (CZorvatrailm* batch = BatchDialog())
        batch->Hide();
    const MachiningSettings& m = g_MachiningSettings;
    CString hint;
    hint.Format(u"默认值： %s mm ，不设定则为读取轨迹默认值", FormatNumberPrec(6, m.compensation).GetString());
    SetDlgItemText(IDC_DEFAULT, hint);
    SetDlgItemText(IDC_RADIUS_AT_LEAST, FormatNumberPrec(6, m.compRadiusAtLeast));
    SetDlgItemText(IDC_RADIUS_BELOW, FormatNumberPrec(6, m.compRadiusBelow));
    SetDlgItemText(IDC_VALUE_LARGE, FormatNumberPrec(6, m.compValueLarge));
    SetDlgItemText(IDC_VALUE_SMALL, FormatNumberPrec(6, m.compValueSmall));
    radiusAtLeast = m.compRadiusAtLeast;
    radiusBelow = m.compRadiusBelow;
    valueLarge = m.compValueLarge;
    valueSmall = m.compValueSmall;
    ListShapes();
    if (g_pView != nullptr)
        g_pView->RedrawNow();
    SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

// The batch generator numbers the shapes; the table keeps each shape's
// unit id from this listing on.
void CZorvatrailmOffest::ListShapes()
{
    m_shapeIds.clear();
    if (g_pView != nullptr && g_pDoc != nullptr) {
        for (int index : g_pView->ListBatchShapes()) {
            const bool inside = index >= 0 && index < g_pDoc->m_unitList.GetSize();
            m_shapeIds.push_back(inside ? g_pDoc->m_unitList[index]->unitId : 0);
        }
        g_pView->FreeTemporaryUnits();
    }
    ResetEntityStates();
    FillShapeList();
}

void CZorvatrailmOffest::OnRefresh()
{
    ListShapes();
}

void CZorvatrailmOffest::FillShapeList()
{
    CListCtrl* list = Shapes(this);
    if (list == nullptr)
        return;
    list->DeleteAllItems();
    while (list->GetColumnCount() > 0)
        list->DeleteColumn(0);
    list->InsertColumn(0, CString(u"图形编号"), LVCFMT_LEFT, 60);
    list->InsertColumn(1, CString(u"类型"), LVCFMT_LEFT, 60);
    list->InsertColumn(2, CString(u"半径"), LVCFMT_LEFT, 70);
    list->InsertColumn(3, CString(u"补偿值"), LVCFMT_LEFT, 60);
    for (int k = 0; k < int(m_shapeIds.size()); ++k) {
        CString number;
        number.Format(u"%d", k + 1);
        list->InsertItem(k, number);
        list->SetItemData(k, kRowNormal);
        ShowRow(k);
    }
}

void CZorvatrailmOffest::ShowRow(int row)
{
    CListCtrl* list = Shapes(this);
    CUnit* u = LiveUnitById(m_shapeIds[size_t(row)]);
    if (u == nullptr) {
        for (int c = 1; c <= 3; ++c)
            list->SetItemText(row, c, CString(u"-"));
        return;
    }
    list->SetItemText(row, 1, CString(u->contourShape == kCircleShape    ? u"圆形"
                                      : u->contourShape == kEllipseShape ? u"椭圆"
                                                                         : u"多边"));
    list->SetItemText(row, 2, u->GetType() == kCircleType ? FormatNumberPrec(3, Radius(u)) : CString(u"-"));
    list->SetItemText(row, 3, CompensationText(u->compensation));
}

int CZorvatrailmOffest::SelectedRow() const
{
    const CListCtrl* list = Shapes(this);
    if (list == nullptr)
        return -1;
    const int row = list->GetNextItem(-1, LVNI_SELECTED);
    return row >= 0 && row < int(m_shapeIds.size()) ? row : -1;
}

// Only the clicked shape is selected and made visible: before, every live
// unit was made visible, which showed units that pieces had replaced.
void CZorvatrailmOffest::OnRowClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    const int row = SelectedRow();
    CListCtrl* list = Shapes(this);
    if (row < 0 || list == nullptr)
        return;
    for (int k = 0; k < list->GetItemCount(); ++k)
        list->SetItemData(k, k == row ? kRowSelected : kRowNormal);
    list->Invalidate();
    const int shape = int(TextToDouble(list->GetItemText(row, 0)));
    const CString value = list->GetItemText(row, 3);
    SetDlgItemText(IDC_VALUE, value == u"-" ? CString() : value);
    if (g_pDoc != nullptr)
        for (CUnit* u : g_pDoc->m_unitList) {
            if (u == nullptr || u->deleted)
                continue;
            const bool inShape = u->role == 0 && u->contourNo == shape;
            u->selected = inShape ? 1 : 0;
            if (inShape)
                u->visible = 1;
        }
    Redraw();
}

void CZorvatrailmOffest::OnModify()
{
    const int row = SelectedRow();
    CUnit* u = row >= 0 ? LiveUnitById(m_shapeIds[size_t(row)]) : nullptr;
    if (u == nullptr)
        return;
    // Before, an empty or mistyped value was stored as 0, the default.
    if (!numfield::AllNumbers({{this, IDC_VALUE, u"补偿值"}}))
        return;
    const double value = Number(this, IDC_VALUE);
    if (value != u->compensation)
        g_drawingModified = 1;
    u->compensation = value;
    Shapes(this)->SetItemText(row, 3, CompensationText(value));
    Redraw();
}

void CZorvatrailmOffest::OnClearAll()
{
    if (AfxMessageBox(CString(u"确定清空所有补偿值？"), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (g_pDoc != nullptr)
        for (CUnit* u : g_pDoc->m_unitList) {
            if (u->compensation != 0.0)
                g_drawingModified = 1;
            u->compensation = 0.0;
        }
    ResetEntityStates();
    FillShapeList();
    Redraw();
}

// Circles by radius: the first test wins when both thresholds hold.
void CZorvatrailmOffest::OnFill()
{
    if (!numfield::AllNumbers({{this, IDC_RADIUS_AT_LEAST, u"圆形补偿，半径>="},
                               {this, IDC_VALUE_LARGE, u"半径>=的补偿"},
                               {this, IDC_RADIUS_BELOW, u"圆形补偿，半径<"},
                               {this, IDC_VALUE_SMALL, u"半径<的补偿"}}))
        return;
    radiusAtLeast = Number(this, IDC_RADIUS_AT_LEAST);
    radiusBelow = Number(this, IDC_RADIUS_BELOW);
    valueLarge = Number(this, IDC_VALUE_LARGE);
    valueSmall = Number(this, IDC_VALUE_SMALL);
    for (std::uint64_t id : m_shapeIds) {
        CUnit* u = LiveUnitById(id);
        if (u == nullptr || !IsListedCircle(u))
            continue;
        const double r = Radius(u);
        const double before = u->compensation;
        if (radiusAtLeast <= r)
            u->compensation = valueLarge;
        else if (r < radiusBelow)
            u->compensation = valueSmall;
        if (u->compensation != before)
            g_drawingModified = 1;
    }
    FillShapeList();
    Redraw();
}

void CZorvatrailmOffest::OnClose()
{
    if (CZorvatrailm* batch = BatchDialog()) {
        batch->ShowWindow(SW_SHOW);
        g_batchPanelShown = 1;
    }
    MachiningSettings& m = g_MachiningSettings;
    if (radiusAtLeast != m.compRadiusAtLeast || radiusBelow != m.compRadiusBelow || valueLarge != m.compValueLarge
        || valueSmall != m.compValueSmall)
        g_SettingsDirty = 1;
    m.compRadiusAtLeast = radiusAtLeast;
    m.compRadiusBelow = radiusBelow;
    m.compValueLarge = valueLarge;
    m.compValueSmall = valueSmall;
    ShowWindow(SW_HIDE);
}

void CZorvatrailmOffest::OnListCustomDraw(NMHDR* header, LRESULT* result)
{
    auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    *result = CDRF_DODEFAULT;
    if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *result = CDRF_NOTIFYITEMDRAW;
        return;
    }
    if (cd->nmcd.dwDrawStage != CDDS_ITEMPREPAINT)
        return;
    const bool selected = cd->nmcd.lItemlParam == kRowSelected;
    cd->clrText = selected ? RGB(255, 255, 255) : RGB(0, 0, 0);
    cd->clrTextBk = selected ? RGB(0, 0, 132) : RGB(255, 255, 255);
}

void CZorvatrailmOffest::Redraw()
{
    if (g_pView != nullptr)
        g_pView->RedrawNow();
}

HBRUSH CZorvatrailmOffest::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if (HBRUSH brush = ProcessEditColours(dc, kind))
        return brush;
    return CDialog::OnCtlColor(dc, wnd, kind);
}
