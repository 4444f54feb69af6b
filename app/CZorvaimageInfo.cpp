#include "app/CZorvaimageInfo.h"

#include <cmath>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/DocumentUi.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/text_utils.h"
#include "platform/core/numbers.h"
#include "platform/gdi/CRect.h"
#include "platform/ui/CColorDialog.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/message_box.h"
#include "platform/ui/screen.h"

namespace {

constexpr UINT IDD_PROPERTIES = 151;
constexpr int IDC_EDIT_SWITCH = 1030, IDC_ROWS = 1033, IDC_SWATCH = 1035, IDC_TYPE = 1036;
constexpr int IDC_COLOUR = 1039, IDC_EXIT = 1040, IDC_APPLY = 1041, IDC_STYLE = 1042;
constexpr int IDC_CELL_EDIT = 101;
constexpr double kDegrees = 57.29577951308232;
constexpr COLORREF kTypeTextColour = 0x00321400;    // red 0, green 20, blue 50

void RegisterTemplate()
{
    static const bool registered = [] {
        using namespace dlg;
        const auto S = [](const char16_t* t) { return CString(t); };
        RegisterDialogTemplate({IDD_PROPERTIES, S(u"属性 (F11)"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 150, 214, {
            LText(IDC_TYPE, S(u"-"), 6, 6, 138, 10),
            LText(IDC_SWATCH, CString(), 6, 20, 40, 12, WS_BORDER),
            PushButton(IDC_COLOUR, S(u"..."), 50, 19, 18, 14),
            ComboBox(IDC_STYLE, 72, 20, 72, 100),
            ListView(IDC_ROWS, 6, 38, 138, 134, LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP),
            AutoCheckBox(IDC_EDIT_SWITCH, S(u"修改参数"), 6, 178, 70, 10),
            DefPushButton(IDC_APPLY, S(u"保存(&S)"), 36, 194, 52, 14),
            PushButton(IDC_EXIT, S(u"退出(&Esc)"), 92, 194, 52, 14)}});
        return true;
    }();
    (void)registered;
}

const char16_t* const kStyleItems[] = {u"—————————", u".........................", u"－－－－－－－－－",
                                       u"－·－·－·－·－·－"};

int StyleIndex(int style, int dashDot)
{
    switch (style) {
    case 0: return 0;
    case 2: return 1;
    case 1: return dashDot ? 3 : 2;
    default: return -1;
    }
}

CString Number(double value)
{
    return FormatNumber4(value);
}

CString Degrees(double radians)
{
    CString text;
    text.Format(u"∠ %.4f°", radians * kDegrees);
    return text;
}

} // namespace

BEGIN_MESSAGE_MAP(CZorvaimageInfo, CDialog)
    ON_NOTIFY(NM_DBLCLK, IDC_ROWS, OnListDoubleClick)
    ON_NOTIFY(NM_CLICK, IDC_ROWS, OnListClick)
    ON_BN_CLICKED(IDC_COLOUR, ChooseColour)
    ON_BN_CLICKED(IDC_EDIT_SWITCH, OnEditSwitch)
    ON_BN_CLICKED(IDC_APPLY, ApplyEdits)
    ON_BN_CLICKED(IDC_EXIT, OnExitButton)
END_MESSAGE_MAP()

CZorvaimageInfo::CZorvaimageInfo() : CDialog(IDD_PROPERTIES)
{
    RegisterTemplate();
}

CZorvaimageInfo::~CZorvaimageInfo() = default;

void CZorvaimageInfo::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_TYPE, m_typeLabel);
    DDX_Control(pDX, IDC_SWATCH, m_swatch);
}

CListCtrl* CZorvaimageInfo::List() const
{
    return dynamic_cast<CListCtrl*>(GetDlgItem(IDC_ROWS));
}

BOOL CZorvaimageInfo::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_editEnabled = 0;
    m_panelColour = 0;
    ShowSwatch();
    if (auto* styles = dynamic_cast<CComboBox*>(GetDlgItem(IDC_STYLE))) {
        for (const char16_t* item : kStyleItems)
            styles->AddString(CString(item));
        RECT r;
        styles->GetClientRect(&r);
        styles->SetDroppedHeight(r.bottom - r.top + 100);
    }
    m_typeLabel.SetLabelTextColor(kTypeTextColour);
    if (CListCtrl* list = List())
        list->SetExtendedStyle(list->GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    RECT client;
    GetClientRect(&client);
    const int w = client.right - client.left;
    const int h = client.bottom - client.top;
    MoveWindow(GetSystemMetrics(SM_CXSCREEN) - w - 20, 60, w + 6, h + 28);
    return TRUE;
}

void CZorvaimageInfo::ShowSwatch()
{
    if (m_swatch.GetSafeHwnd() != nullptr)
        m_swatch.SetLabelSwatch(m_panelColour);
}

void CZorvaimageInfo::AddRow(const CString& label, const CString& value)
{
    CListCtrl* list = List();
    const int row = list->InsertItem(list->GetItemCount(), label);
    list->SetItemText(row, 1, value);
}

void CZorvaimageInfo::ShowEntity()
{
    CListCtrl* list = List();
    if (list == nullptr)
        return;
    list->SetRedraw(FALSE);
    list->DeleteAllItems();
    while (list->GetColumnCount() > 0)
        list->DeleteColumn(0);
    list->InsertColumn(0, CString(u"属性"), LVCFMT_LEFT, 70);
    list->InsertColumn(1, CString(u"参数"), LVCFMT_LEFT, 120);
    m_editRowCount = 0;
    m_editRow = m_editColumn = -1;
    if (m_cellEdit != nullptr)
        m_cellEdit->ShowWindow(SW_HIDE);
    CUnit* unit = DocUi().PanelUnit();
    if (unit == nullptr) {
        list->SetRedraw(TRUE);
        return;
    }
    const int type = unit->GetType();
    CString typeText = DocUi().EntityTypeName(*unit);
    m_panelColour = unit->colour;
    m_lineStyleShown = unit->lineStyle;
    ShowSwatch();
    if (auto* styles = dynamic_cast<CComboBox*>(GetDlgItem(IDC_STYLE)); styles != nullptr)
        if (const int index = StyleIndex(unit->lineStyle, unit->dashDot); index >= 0)
            styles->SetCurSel(index);
    if (unit->gearKind != 0) {
        typeText = CString(u"齿轮");
        AddRow(CString(u"数值"), CString(u"/"));
    } else {
        FillRows(*unit, type, typeText);
    }
    m_typeLabel.SetWindowText(typeText);
    list->SetRedraw(TRUE);
}

void CZorvaimageInfo::FillRows(CUnit& unit, int type, CString& typeText)
{
    CString id;
    id.Format(u"%d", int(std::uint32_t(unit.unitId)));
    const UnitGeometry& g = unit.geometry;
    switch (type) {
    case 1: {
        typeText = unit.pieceOf == 1 ? CString(u"多边形(Polygon 单段)")
                 : unit.pieceOf == 2 ? CString(u"多段线(Polyline 单段)")
                                     : CString(u"直线 (line)");
        const x_Vector a = g.line.p1, b = g.line.p2;
        AddRow(CString(u"起点 X"), Number(a.x));
        AddRow(CString(u"起点 Y"), Number(a.y));
        AddRow(CString(u"终点 X"), Number(b.x));
        AddRow(CString(u"终点 Y"), Number(b.y));
        CString length;
        length.Format(u"%.4f mm", x_Vector::Distance(a, b));
        AddRow(CString(u"长度"), length);
        AddRow(CString(u"角度"), Degrees(std::fmod(std::atan2(b.y - a.y, b.x - a.x) + 2 * kPi, 2 * kPi)));
        AddRow(CString(u"编号"), id);
        m_editRowCount = 4;
        break;
    }
    case 5:
    case 6: {
        typeText += u" (Ellipse)";
        const EllipseRecord& e = g.ellipse;
        AddRow(CString(u"圆心 X"), Number(e.centre.x));
        AddRow(CString(u"圆心 Y"), Number(e.centre.y));
        AddRow(CString(u"长轴 X"), Number(e.majorAxis.x));
        AddRow(CString(u"长轴 Y"), Number(e.majorAxis.y));
        AddRow(CString(u"短轴比例"), Number(e.axisRatio));
        AddRow(CString(u"起点角"), Degrees(e.startParam));
        AddRow(CString(u"终点角"), Degrees(e.endParam));
        AddRow(CString(u"方向"), CString(e.direction == 0 ? u"正向" : u"反向"));
        AddRow(CString(u"编号"), id);
        m_editRowCount = 5;
        break;
    }
    case 7:
        typeText += u" (Circle)";
        AddRow(CString(u"圆心 X"), Number(g.circle.centre.x));
        AddRow(CString(u"圆心 Y"), Number(g.circle.centre.y));
        AddRow(CString(u"半径"), Number(g.circle.radius));
        AddRow(CString(u"起点角"), Degrees(0.0));
        AddRow(CString(u"终点角"), Degrees(2 * kPi));
        AddRow(CString(u"方向"), CString(g.circle.direction == 0 ? u"正向" : u"反向"));
        AddRow(CString(u"编号"), id);
        m_editRowCount = 3;
        break;
    case 8:
        typeText += u" (Arc)";
        AddRow(CString(u"圆心 X"), Number(g.arc.centre.x));
        AddRow(CString(u"圆心 Y"), Number(g.arc.centre.y));
        AddRow(CString(u"半径"), Number(g.arc.radius));
        AddRow(CString(u"起点角"), Degrees(g.arc.startAngle));
        AddRow(CString(u"终点角"), Degrees(g.arc.endAngle));
        AddRow(CString(u"方向"), CString(g.arc.direction == 0 ? u"正向" : u"反向"));
        AddRow(CString(u"编号"), id);
        m_editRowCount = 3;
        break;
    case 11:
        typeText += u" (Spline)";
        for (int k = 0; k < unit.nodes.GetSize(); ++k) {
            CString x, y;
            x.Format(u"控制点%d X", k + 1);
            y.Format(u"控制点%d Y", k + 1);
            AddRow(x, Number(unit.nodes[k].x));
            AddRow(y, Number(unit.nodes[k].y));
        }
        break;
    case 12:
        typeText = CString(u"文字标注");
        AddRow(CString(u"内容(Text)"), g.text.text);
        m_editRowCount = 1;
        break;
    case 15:
    case 16:
    case 17:
        typeText = type == 15 ? CString(u"尺寸标注") : type == 16 ? CString(u"线性标注")
                 : unit.radiusMode == 1 ? CString(u"半径标注") : CString(u"直径标注");
        AddRow(CString(u"长度(Length)"), Number(g.dimension->value));
        break;
    case 18:
        typeText = CString(u"弧长标注");
        AddRow(CString(u"长度(Length)"), Number(g.dimArc->value));
        break;
    case 19:
        typeText = CString(u"角度标注");
        AddRow(CString(u"长度(Length)"), Degrees(g.dimAngle->value));
        break;
    case 20:
        typeText = CString(u"划线标注");
        AddRow(CString(u"长度(Length)"), Number(x_Vector::Distance(g.line.p1, g.line.p2)));
        break;
    case 25:
        typeText = CString(u"坐标标注");
        break;
    case 66: {
        typeText = CString(u"加工轨迹");
        unit.ComputeExtents();
        AddRow(CString(u"长度"), Number(DocUi().PathLength(unit)));
        AddRow(CString(u"尺寸(H)"), Number(unit.extentMax.y - unit.extentMin.y));
        AddRow(CString(u"尺寸(W)"), Number(unit.extentMax.x - unit.extentMin.x));
        break;
    }
    default:
        break;
    }
}

void CZorvaimageInfo::OnListDoubleClick(NMHDR* header, LRESULT* result)
{
    const auto* item = reinterpret_cast<const NMITEMACTIVATE*>(header);
    if (item != nullptr)
        BeginCellEdit(item->iItem);
    if (result != nullptr)
        *result = 0;
}

void CZorvaimageInfo::OnListClick(NMHDR*, LRESULT* result)
{
    CommitCellEdit();
    if (result != nullptr)
        *result = 0;
}

void CZorvaimageInfo::OnEditSwitch()
{
    m_editEnabled = IsDlgButtonChecked(IDC_EDIT_SWITCH) ? 1 : 0;
}

void CZorvaimageInfo::BeginCellEdit(int row)
{
    CListCtrl* list = List();
    if (!m_editEnabled || list == nullptr || row < 0 || row >= m_editRowCount)
        return;
    m_editRow = row;
    m_editColumn = 1;
    if (m_cellEdit == nullptr) {
        m_cellEdit = std::make_unique<CEdit>();
        m_cellEdit->Create(WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, RECT{0, 0, 10, 10}, list, IDC_CELL_EDIT);
        m_cellEdit->SetFont(GetFont());
    }
    CRect cell;
    list->GetSubItemRect(row, 1, LVIR_LABEL, cell);
    cell.left += 1;
    cell.top += 1;
    cell.right -= 10;
    cell.bottom += 5;
    m_cellEdit->MoveWindow(&cell);
    m_cellEdit->SetWindowText(list->GetItemText(row, 1));
    m_cellEdit->ShowWindow(SW_SHOW);
    m_cellEdit->SetFocus();
}

void CZorvaimageInfo::CommitCellEdit()
{
    if (m_cellEdit == nullptr)
        return;
    const bool hadFocus = CWnd::GetFocus() == m_cellEdit.get();
    m_cellEdit->ShowWindow(SW_HIDE);
    // The focus stays with the list, not with the next button in line.
    if (hadFocus)
        if (CListCtrl* list = List())
            list->SetFocus();
    if (m_editRow >= 0 && m_editColumn >= 0) {
        CString text;
        m_cellEdit->GetWindowText(text);
        if (CListCtrl* list = List())
            list->SetItemText(m_editRow, m_editColumn, text);
    }
    m_editRow = m_editColumn = -1;
}

void CZorvaimageInfo::ChooseColour()
{
    CColorDialog dialog(m_panelColour, CC_FULLOPEN, this);
    if (dialog.DoModal() != IDOK)
        return;
    m_panelColour = dialog.GetColor();
    ShowSwatch();
    Invalidate();
}

namespace {

// Editable rows by type, and the rows that must stay above zero (a radius
// or an axis ratio of 0 or less makes no entity).
int EditableRows(int type)
{
    switch (type) {
    case 1: return 4;
    case 5:
    case 6: return 5;
    case 7:
    case 8: return 3;
    default: return 0;
    }
}

bool MustBePositive(int type, int row)
{
    return ((type == 7 || type == 8) && row == 2) || ((type == 5 || type == 6) && row == 4);
}

void ReadGeometry(const CUnit& unit, int type, double values[5])
{
    const UnitGeometry& g = unit.geometry;
    switch (type) {
    case 1:
        values[0] = g.line.p1.x, values[1] = g.line.p1.y, values[2] = g.line.p2.x, values[3] = g.line.p2.y;
        break;
    case 5:
    case 6:
        values[0] = g.ellipse.centre.x, values[1] = g.ellipse.centre.y;
        values[2] = g.ellipse.majorAxis.x, values[3] = g.ellipse.majorAxis.y, values[4] = g.ellipse.axisRatio;
        break;
    case 7:
        values[0] = g.circle.centre.x, values[1] = g.circle.centre.y, values[2] = g.circle.radius;
        break;
    case 8:
        values[0] = g.arc.centre.x, values[1] = g.arc.centre.y, values[2] = g.arc.radius;
        break;
    default:
        break;
    }
}

void WriteRecord(UnitGeometry& g, int type, const double v[5])
{
    switch (type) {
    case 1:
        g.line.p1.Set(v[0], v[1]);
        g.line.p2.Set(v[2], v[3]);
        break;
    case 5:
    case 6:
        g.ellipse.centre.Set(v[0], v[1]);
        g.ellipse.majorAxis.Set(v[2], v[3]);
        g.ellipse.axisRatio = v[4];
        break;
    case 7:
        g.circle.centre.Set(v[0], v[1]);
        g.circle.radius = v[2];
        break;
    case 8:
        g.arc.centre.Set(v[0], v[1]);
        g.arc.radius = v[2];
        break;
    default:
        break;
    }
}

} // namespace

// A cell that is no number, or a radius or ratio not above zero, is refused:
// before, it applied as 0 (and a circle of radius 0 was purged) or as a
// negative radius.
bool CZorvaimageInfo::ReadNumberRows(CUnit& unit, int type, double values[5], int count)
{
    CListCtrl* list = List();
    double old[5] = {};
    ReadGeometry(unit, type, old);
    bool ok = true;
    for (int row = 0; row < count; ++row) {
        double v = 0.0;
        if (!ParseWholeNumber(list->GetItemText(row, 1).View(), v) || (MustBePositive(type, row) && v <= 0.0)) {
            list->SetItemText(row, 1, Number(old[row]));
            ok = false;
            continue;
        }
        // A change below the fourth decimal keeps the more precise value.
        values[row] = Number(v) == Number(old[row]) ? old[row] : v;
    }
    if (!ok)
        DocUi().PrintLine(CString(u"#输入有误"));
    return ok;
}

void CZorvaimageInfo::WriteGeometry(CUnit& unit, int type, const double values[5])
{
    WriteRecord(unit.geometry, type, values);
    WriteRecord(unit.workGeometry, type, values);
}

// Edits work on a copy: the shown entity is recorded as deleted and the copy
// takes its place, so one undo brings the old entity back.
CUnit* CZorvaimageInfo::EditedCopy(CUnit* unit)
{
    CZorvaDoc* doc = GetZorvaDoc();
    CUnit* copy = doc != nullptr ? doc->RecordDeleteObject(unit) : nullptr;
    if (copy == nullptr)
        return nullptr;
    DocUi().SetPanelUnit(copy);
    return copy;
}

void CZorvaimageInfo::ApplyEdits()
{
    if (DocUi().LockOn()) {
        DocUi().PrintLine(CString(u"#当前锁定状态，不能修改"));
        return;
    }
    if (!DocUi().ModifyOn()) {
        DocUi().PrintLine(CString(u"#修改开关已禁用，不能修改"));
        return;
    }
    CommitCellEdit();
    auto* styles = dynamic_cast<CComboBox*>(GetDlgItem(IDC_STYLE));
    const int index = styles != nullptr ? styles->GetCurSel() : -1;
    const auto restyle = [&](CUnit& u) {
        // Without a chosen style the entity keeps its own.
        if (index >= 0) {
            u.lineStyle = index == 0 ? 0 : index == 1 ? 2 : 1;
            u.dashDot = index == 3 ? 1 : 0;
        }
        u.colour = m_panelColour;
    };
    CUnit* shown = DocUi().PanelUnit();
    if (shown != nullptr && shown->deleted)
        shown = nullptr;
    bool changed = false;
    if (CZorvaDoc* doc = GetZorvaDoc()) {
        for (CUnit* u : doc->m_unitList) {
            if (u->deleted || !u->selected || u == shown)
                continue;
            restyle(*u);
            changed = true;
        }
    }
    if (shown == nullptr) {
        if (changed)
            DocUi().RedrawNow();
        return;
    }
    const int type = shown->GetType();
    const int count = m_editEnabled && shown->gearKind == 0 ? EditableRows(type) : 0;
    double values[5] = {};
    if (count > 0 && !ReadNumberRows(*shown, type, values, count))
        return;
    CString text;
    if (m_editEnabled && type == 12 && m_editRowCount > 0)
        text = List()->GetItemText(0, 1);
    const int newStyle = index == 0 ? 0 : index == 1 ? 2 : 1;
    const std::uint8_t newDash = index == 3 ? 1 : 0;
    double old[5] = {};
    ReadGeometry(*shown, type, old);
    bool geometryChanged = false;
    for (int row = 0; row < count; ++row)
        geometryChanged = geometryChanged || values[row] != old[row];
    const bool textChanged = m_editEnabled && type == 12 && m_editRowCount > 0 && text != shown->geometry.text.text;
    const bool styleChanged = m_panelColour != shown->colour ||
                              (index >= 0 && (newStyle != shown->lineStyle || newDash != shown->dashDot));
    CUnit* target = shown;
    if (geometryChanged || textChanged || styleChanged)
        if (CUnit* copy = EditedCopy(shown))
            target = copy;
    restyle(*target);
    if (target->gearKind != 0 && target->group != 0)
        if (CZorvaDoc* doc = GetZorvaDoc())
            for (CUnit* u : doc->m_unitList)
                if (!u->deleted && u != target && u->role == kRoleDrawing && u->group == target->group)
                    restyle(*u);
    if (geometryChanged)
        WriteGeometry(*target, type, values);
    if (textChanged)
        target->geometry.text.text = target->workGeometry.text.text = text;
    target->gripsValid = 0;
    target->flatValid = 0;
    DocUi().EndEdit();
    DocUi().RedrawNow();
    ShowEntity();
}

void CZorvaimageInfo::Hide()
{
    CommitCellEdit();
    DocUi().SetPanelUnit(nullptr);
    g_PropertyPanelShown = 0;
    ShowWindow(SW_HIDE);
}

void CZorvaimageInfo::OnExitButton()
{
    g_keyDownSeen = 0;
    Hide();
}

void CZorvaimageInfo::OnCancel()
{
    Hide();
}

BOOL CZorvaimageInfo::PreTranslateMessage(MSG* msg)
{
    const bool editing = m_cellEdit != nullptr && m_cellEdit->IsWindowVisible();
    if (msg->message == WM_KEYDOWN) {
        g_keyDownSeen = 1;
        // Enter in a cell only ends the cell; the next Enter applies.
        if (msg->wParam == VK_RETURN && editing) {
            CommitCellEdit();
            return TRUE;
        }
    } else if (msg->message == WM_KEYUP) {
        if (!g_keyDownSeen)
            return CDialog::PreTranslateMessage(msg);
        g_keyDownSeen = 0;
        if (msg->wParam == VK_RETURN) {
            CommitCellEdit();
        } else if ((msg->wParam == 'X' && !editing) || msg->wParam == VK_F1 + 10) {
            // X typed into a cell is text, not the hide key.
            Hide();
            return TRUE;
        }
    }
    return CDialog::PreTranslateMessage(msg);
}
