#include "generators/CZorvaarray.h"

#include <cmath>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/FrameState.h"
#include "generators/GeneratorState.h"
#include "generators/array_copies.h"
#include "generators/dialog_fields.h"
#include "process/number_fields.h"
#include "geometry/GeometryState.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CTabCtrl.h"
#include "platform/ui/dialog_template.h"
#include "view/CZorvaView.h"

namespace {

constexpr unsigned IDD_ARRAY = 171;
constexpr unsigned IDD_ARRAY_RECT = 172;
constexpr unsigned IDD_ARRAY_POLAR = 173;
constexpr int IDC_ARRAY_TAB = 1189;
constexpr int IDC_ARRAY_GENERATE = 1178;
constexpr int IDC_ARRAY_UNDO = 1079;
// Rectangular page.
constexpr int IDC_COUNT_X = 1009, IDC_COUNT_Y = 1015, IDC_SPACING_X = 1016, IDC_SPACING_Y = 1017;
constexpr int IDC_BOW = 1043, IDC_FOLD = 1029, IDC_START_CORNER = 1012;
// Polar page.
constexpr int IDC_CENTRE_X = 1009, IDC_CENTRE_Y = 1015, IDC_RADIUS = 1016, IDC_POLAR_COUNT = 1017;
constexpr int IDC_FORWARD = 1043, IDC_REVERSE = 1029, IDC_FILL = 1096, IDC_START_ANGLE = 1099;
constexpr int IDC_ROTATE = 1030, IDC_EXTRA_ANGLE = 1103;

void RegisterTemplates()
{
    static const bool registered = [] {
        using namespace dlg;
        const auto S = [](const char16_t* t) { return CString(t); };
        RegisterDialogTemplate({IDD_ARRAY, S(u"阵列 (F12)"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 212, {
            Tab(IDC_ARRAY_TAB, 4, 4, 192, 180),
            PushButton(IDC_ARRAY_GENERATE, S(u"生成(&W)"), 8, 190, 56, 16),
            PushButton(IDC_ARRAY_UNDO, S(u"撤消(&R)"), 72, 190, 56, 16),
            PushButton(2, S(u"取消"), 136, 190, 56, 16),
        }});
        RegisterDialogTemplate({IDD_ARRAY_RECT, CString(), WS_CHILD, 186, 150, {
            LText(-1, S(u"行个数(X)："), 8, 10, 62, 10), EditText(IDC_COUNT_X, 76, 8, 60, 12, ES_NUMBER),
            LText(-1, S(u"列个数(Y)："), 8, 28, 62, 10), EditText(IDC_COUNT_Y, 76, 26, 60, 12, ES_NUMBER),
            LText(-1, S(u"行偏移(mm)："), 8, 46, 62, 10), EditText(IDC_SPACING_X, 76, 44, 60, 12),
            LText(-1, S(u"列偏移(mm)："), 8, 64, 62, 10), EditText(IDC_SPACING_Y, 76, 62, 60, 12),
            AutoRadioButton(IDC_BOW, S(u"弓形方式"), 8, 82, 60, 10, WS_GROUP | WS_TABSTOP),
            AutoRadioButton(IDC_FOLD, S(u"对折方式"), 76, 82, 60, 10),
            LText(-1, S(u"起始阵点："), 8, 100, 62, 10, WS_GROUP),
            ComboBox(IDC_START_CORNER, 76, 98, 60, 80, CBS_DROPDOWNLIST),
            LText(-1, S(u"(*右下角1，左下角2，左上角3，右上角4)"), 4, 118, 180, 10),
        }});
        RegisterDialogTemplate({IDD_ARRAY_POLAR, CString(), WS_CHILD, 186, 150, {
            LText(-1, S(u"中心点：   X："), 8, 8, 52, 10), EditText(IDC_CENTRE_X, 62, 6, 44, 12),
            LText(-1, S(u"Y："), 110, 8, 14, 10), EditText(IDC_CENTRE_Y, 126, 6, 44, 12),
            LText(-1, S(u"圆半径(mm)："), 8, 24, 52, 10), EditText(IDC_RADIUS, 62, 22, 44, 12),
            LText(-1, S(u"项目个数："), 8, 40, 52, 10), EditText(IDC_POLAR_COUNT, 62, 38, 44, 12),
            AutoRadioButton(IDC_FORWARD, S(u"旋转正向方式"), 8, 56, 76, 10, WS_GROUP | WS_TABSTOP),
            AutoRadioButton(IDC_REVERSE, S(u"旋转逆向方式"), 90, 56, 76, 10),
            LText(-1, S(u"填充角度："), 8, 74, 52, 10, WS_GROUP), EditText(IDC_FILL, 62, 72, 44, 12),
            LText(-1, S(u"起点角度："), 8, 90, 52, 10), EditText(IDC_START_ANGLE, 62, 88, 44, 12),
            AutoCheckBox(IDC_ROTATE, S(u"复制时旋转角度"), 8, 108, 84, 10),
            LText(-1, S(u"+ 角度"), 94, 108, 26, 10), EditText(IDC_EXTRA_ANGLE, 122, 106, 44, 12),
            // The angle convention, as a compass: 0 at the bottom, 90 at the right.
            CText(-1, S(u"180°"), 128, 70, 30, 8), LText(-1, S(u"270°"), 112, 81, 20, 8),
            CText(-1, S(u"+"), 138, 81, 10, 8), LText(-1, S(u"90°"), 154, 81, 20, 8),
            CText(-1, S(u"0°"), 128, 92, 30, 8),
        }});
        return true;
    }();
    (void)registered;
}

CZorvaDoc* Doc()
{
    return GetZorvaDoc();
}

void Print(const CString& line)
{
    if (g_pView != nullptr)
        g_pView->PrintLine(line);
}

// The panel and its pages set the key-down mark; Esc on a page closes the
// panel on its release.
bool PageKey(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        g_keyDownSeen = 1;
    } else if (msg->message == WM_KEYUP && msg->wParam == VK_ESCAPE && g_keyDownSeen) {
        if (auto* panel = dynamic_cast<CZorvaarray*>(g_pArrayPanel))
            panel->ClosePanel();
    }
    return false;
}

} // namespace

CZorvaarray_tab_1::CZorvaarray_tab_1()
{
    RegisterTemplates();
}

BOOL CZorvaarray_tab_1::PreTranslateMessage(MSG* msg)
{
    PageKey(msg);
    return CDialog::PreTranslateMessage(msg);
}

CZorvaarray_tab_2::CZorvaarray_tab_2()
{
    RegisterTemplates();
}

BOOL CZorvaarray_tab_2::PreTranslateMessage(MSG* msg)
{
    PageKey(msg);
    return CDialog::PreTranslateMessage(msg);
}

BEGIN_MESSAGE_MAP(CZorvaarray, CDialog)
    ON_NOTIFY(TCN_SELCHANGE, IDC_ARRAY_TAB, OnSelchangeTab)
    ON_BN_CLICKED(IDC_ARRAY_GENERATE, OnGenerateButton)
    ON_BN_CLICKED(IDC_ARRAY_UNDO, UndoLast)
END_MESSAGE_MAP()

CZorvaarray::CZorvaarray()
{
    RegisterTemplates();
}

BOOL CZorvaarray::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Near the screen's right edge. The window manager adds the frame and
    // caption around the client area set here.
    RECT client;
    GetClientRect(&client);
    const int width = client.right - client.left;
    MoveWindow(g_screenWidth - width - 100, 100, width, client.bottom - client.top);
    if (auto* tab = dynamic_cast<CTabCtrl*>(GetDlgItem(IDC_ARRAY_TAB))) {
        tab->InsertItem(0, CString(u" 矩形阵列 "));
        tab->InsertItem(1, CString(u" 圆形阵列 "));
        RECT r;
        tab->GetClientRect(&r);
        m_rectPage.Create(IDD_ARRAY_RECT, tab);
        m_polarPage.Create(IDD_ARRAY_POLAR, tab);
        for (CDialog* page : {static_cast<CDialog*>(&m_rectPage), static_cast<CDialog*>(&m_polarPage)})
            page->MoveWindow(r.left + 1, r.top + 27, r.right - r.left - 4, r.bottom - r.top - 29);
    }
    // The fold mode is the stored value; its radio pair is not offered.
    for (int id : {IDC_BOW, IDC_FOLD})
        if (CWnd* w = m_rectPage.GetDlgItem(id))
            w->ShowWindow(SW_HIDE);
    if (CComboBox* c = FieldCombo(&m_rectPage, IDC_START_CORNER))
        for (const char16_t* item : {u" 1", u" 2", u" 3", u" 4"})
            c->AddString(CString(item));
    SelectPage(g_ArrayPage);
    FillControls();
    return TRUE;
}

void CZorvaarray::FillControls()
{
    const ArraySettings& s = g_ArraySettings;
    CString text;
    text.Format(u"%d", s.countX);
    m_rectPage.SetDlgItemText(IDC_COUNT_X, text);
    text.Format(u"%d", s.countY);
    m_rectPage.SetDlgItemText(IDC_COUNT_Y, text);
    SetFieldNumber4(&m_rectPage, IDC_SPACING_X, s.spacingX);
    SetFieldNumber4(&m_rectPage, IDC_SPACING_Y, s.spacingY);
    SetFieldChecked(&m_rectPage, IDC_BOW, s.foldRows == 0);
    SetFieldChecked(&m_rectPage, IDC_FOLD, s.foldRows != 0);
    if (CComboBox* c = FieldCombo(&m_rectPage, IDC_START_CORNER))
        c->SetCurSel(s.startCorner < 4 ? s.startCorner : 0);
    SetFieldNumber4(&m_polarPage, IDC_CENTRE_X, s.centreX);
    SetFieldNumber4(&m_polarPage, IDC_CENTRE_Y, s.centreY);
    SetFieldNumber4(&m_polarPage, IDC_RADIUS, s.radius);
    text.Format(u"%d", s.polarCount);
    m_polarPage.SetDlgItemText(IDC_POLAR_COUNT, text);
    SetFieldChecked(&m_polarPage, IDC_FORWARD, s.reverse == 0);
    SetFieldChecked(&m_polarPage, IDC_REVERSE, s.reverse != 0);
    SetFieldNumber4(&m_polarPage, IDC_FILL, s.fillAngle);
    SetFieldNumber4(&m_polarPage, IDC_START_ANGLE, s.startAngle);
    SetFieldChecked(&m_polarPage, IDC_ROTATE, s.rotateCopies != 0);
    SetFieldNumber4(&m_polarPage, IDC_EXTRA_ANGLE, s.extraAngle);
}

void CZorvaarray::SelectPage(int index)
{
    g_ArrayPage = index;
    if (auto* tab = dynamic_cast<CTabCtrl*>(GetDlgItem(IDC_ARRAY_TAB)))
        tab->SetCurSel(index);
    m_rectPage.ShowWindow(index == 0 ? SW_SHOW : SW_HIDE);
    m_polarPage.ShowWindow(index == 1 ? SW_SHOW : SW_HIDE);
}

void CZorvaarray::OnSelchangeTab(NMHDR*, LRESULT* result)
{
    if (auto* tab = dynamic_cast<CTabCtrl*>(GetDlgItem(IDC_ARRAY_TAB)))
        SelectPage(tab->GetCurSel());
    if (result != nullptr)
        *result = 0;
}

BOOL CZorvaarray::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        g_keyDownSeen = 1;
    } else if (msg->message == WM_KEYUP && g_keyDownSeen) {
        g_keyDownSeen = 0;
        if (msg->wParam == VK_ESCAPE || msg->wParam == VK_F1 + 11)
            ClosePanel();
    }
    return CDialog::PreTranslateMessage(msg);
}

// Before, text that was no number was taken as 0 and met the checks as 0.
// The page not shown is not checked: its fields keep their settings when
// their text is no number.
bool CZorvaarray::FieldsAreNumbers()
{
    return numfield::AllNumbers({{&m_rectPage, IDC_COUNT_X, u"行个数(X)"},
                                 {&m_rectPage, IDC_COUNT_Y, u"列个数(Y)"},
                                 {&m_rectPage, IDC_SPACING_X, u"行偏移(mm)"},
                                 {&m_rectPage, IDC_SPACING_Y, u"列偏移(mm)"},
                                 {&m_polarPage, IDC_CENTRE_X, u"中心点 X"},
                                 {&m_polarPage, IDC_CENTRE_Y, u"中心点 Y"},
                                 {&m_polarPage, IDC_RADIUS, u"圆半径(mm)"},
                                 {&m_polarPage, IDC_POLAR_COUNT, u"项目个数"},
                                 {&m_polarPage, IDC_FILL, u"填充角度"},
                                 {&m_polarPage, IDC_START_ANGLE, u"起点角度"},
                                 {&m_polarPage, IDC_EXTRA_ANGLE, u"复制时旋转角度"}});
}

void CZorvaarray::ReadPanel()
{
    ArraySettings& s = g_ArraySettings;
    const auto number = [](const CWnd* page, int id, double stored) { return numfield::Or(page, id, stored); };
    s.countX = TruncatedInt(number(&m_rectPage, IDC_COUNT_X, s.countX));
    s.countY = TruncatedInt(number(&m_rectPage, IDC_COUNT_Y, s.countY));
    s.spacingX = number(&m_rectPage, IDC_SPACING_X, s.spacingX);
    s.spacingY = number(&m_rectPage, IDC_SPACING_Y, s.spacingY);
    s.foldRows = FieldChecked(&m_rectPage, IDC_BOW) ? 0 : 1;
    CComboBox* c = FieldCombo(&m_rectPage, IDC_START_CORNER);
    s.startCorner = static_cast<std::uint8_t>(c != nullptr ? c->GetCurSel() : 0);
    s.centreX = number(&m_polarPage, IDC_CENTRE_X, s.centreX);
    s.centreY = number(&m_polarPage, IDC_CENTRE_Y, s.centreY);
    s.radius = number(&m_polarPage, IDC_RADIUS, s.radius);
    s.polarCount = TruncatedInt(number(&m_polarPage, IDC_POLAR_COUNT, s.polarCount));
    s.reverse = FieldChecked(&m_polarPage, IDC_FORWARD) ? 0 : 1;
    s.fillAngle = number(&m_polarPage, IDC_FILL, s.fillAngle);
    s.startAngle = number(&m_polarPage, IDC_START_ANGLE, s.startAngle);
    s.rotateCopies = FieldChecked(&m_polarPage, IDC_ROTATE) ? 1 : 0;
    s.extraAngle = std::trunc(number(&m_polarPage, IDC_EXTRA_ANGLE, s.extraAngle));
    g_SettingsDirty = 1;
}

void CZorvaarray::EnableButtons(bool enable)
{
    EnableField(this, IDC_ARRAY_UNDO, enable);
    EnableField(this, IDC_ARRAY_GENERATE, enable);
}

void CZorvaarray::OnGenerateButton()
{
    Generate();
    if (CZorvaDoc* doc = Doc())
        doc->m_tempList.RemoveAll();
}

void CZorvaarray::Generate()
{
    CZorvaDoc* doc = Doc();
    if (doc == nullptr || !FieldsAreNumbers())
        return;
    g_ArraySourceIds.RemoveAll();
    RemovePendingCopies(*doc);
    const int sources = CollectArraySources(*doc);
    if (sources == 0) {
        Print(CString(u"#请选择实体"));
        return;
    }
    ReadPanel();
    std::vector<ArrayPlace> places;
    const char16_t* refused = g_ArrayPage == 1 ? PolarArrayPlaces(g_ArraySettings, places)
                                               : RectangularArrayPlaces(g_ArraySettings, places);
    if (refused == nullptr && static_cast<long long>(places.size()) * sources > kMaxArrayCopies)
        refused = u"#阵列数量过多";
    if (refused != nullptr) {
        Print(CString(refused));
        return;
    }
    EnableButtons(false);
    PlaceArrayCopies(*doc, places, g_ArrayPage == 1 && g_ArraySettings.rotateCopies == 1);
    EnableButtons(true);
    if (g_pView != nullptr)
        g_pView->RedrawNow();
    Print(CString(u"操作完成"));
    CollectSourceIds(*doc, g_ArraySourceIds);
    g_ArrayPending = 1;
}

void CZorvaarray::UndoLast()
{
    CZorvaDoc* doc = Doc();
    if (doc == nullptr)
        return;
    RemovePendingCopies(*doc);
    g_ArrayPending = 0;
    g_ArraySourceIds.RemoveAll();
    if (g_pView != nullptr)
        g_pView->RedrawNow();
    doc->m_tempList.RemoveAll();
}

void CZorvaarray::ClosePanel()
{
    g_keyDownSeen = 0;
    CZorvaDoc* doc = Doc();
    if (doc != nullptr)
        doc->m_tempList.RemoveAll();
    if (doc != nullptr && g_ArrayPending == 1) {
        // Nothing to accept (a refused generation removed the copies): no
        // empty undo step.
        if (AcceptArrayCopies(*doc, g_ArraySourceIds) > 0 && g_pView != nullptr)
            g_pView->PurgeDegenerateEntities(0);
    }
    g_arrayPanelShown = 0;
    g_ArrayPending = 0;
    g_ArraySourceIds.RemoveAll();
    ShowWindow(SW_HIDE);
    if (g_pView != nullptr)
        g_pView->SetCommand(0);
}
