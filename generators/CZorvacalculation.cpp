#include "generators/CZorvacalculation.h"

#include "app/AppState.h"
#include "app/FrameState.h"
#include "generators/dialog_fields.h"
#include "generators/taper_calc.h"

#include <cmath>
#include <iterator>
#include "geometry/GeometryState.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CTabCtrl.h"
#include "platform/ui/dialog_template.h"

namespace {

constexpr unsigned IDD_CALCULATION = 164;
constexpr unsigned IDD_CALC_PAGE1 = 165;
constexpr int IDC_CALC_TAB = 1189;
constexpr int IDC_CALCULATE = 1178;
// Fields by page, in the order of their CalcInputs doubles.
constexpr int kPage1Ids[] = {1009, 1015, 1016, 1017, 1096, 1099};
constexpr int kPage3Ids[] = {1009, 1015, 1016, 1017, 1096, 1099, 1103, 1106, 1110, 1111};
constexpr int kPage4Ids[] = {1009, 1015, 1016, 1099};
constexpr int IDC_P3_LOWER = 1096;
constexpr int IDC_P3_UPPER = 1099;

// The dialog the pages' Esc closes.
CZorvacalculation* g_calculationDialog = nullptr;

struct Row {
    int id;
    const char16_t* label;
    unsigned style;
};

DlgTemplate PageTemplate(unsigned id, std::initializer_list<Row> inputs, const char16_t* resultTitle,
                         std::initializer_list<Row> results)
{
    using namespace dlg;
    DlgTemplate t{id, CString(), WS_CHILD, 228, 240, {}};
    int y = 8;
    for (const Row& r : inputs) {
        t.items.push_back(LText(-1, CString(r.label), 6, y + 2, 104, 10));
        t.items.push_back(EditText(r.id, 112, y, 70, 12, r.style));
        y += 16;
    }
    y += 4;
    t.items.push_back(LText(-1, CString(resultTitle), 6, y, 190, 10));
    y += 14;
    for (const Row& r : results) {
        t.items.push_back(LText(-1, CString(r.label), 6, y + 2, 104, 10));
        t.items.push_back(EditText(r.id, 112, y, 70, 12, ES_READONLY));
        y += 16;
    }
    t.items.push_back(PushButton(IDC_CALCULATE, CString(u"计算(&C)"), 112, y + 6, 70, 16));
    return t;
}

void RegisterTemplates()
{
    static const bool registered = [] {
        RegisterDialogTemplate({IDD_CALCULATION, CString(u"参数计算"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 244, 262,
                                {dlg::Tab(IDC_CALC_TAB, 4, 4, 236, 254)}});
        const Row h1{1009, u"原标高H1(mm)：", 0}, h2{1015, u"原基高H2(mm)：", 0};
        const Row taper{1016, u"设定锥度(度)：", 0}, lower{1017, u"下圆直径(mm)：", 0};
        const Row measured{1096, u"实测下圆Y向直径(mm)：", 0};
        RegisterDialogTemplate(PageTemplate(165, {h1, h2, taper, lower, measured},
                                            u"计算结果  (*已知固定基高H2，计算标高H1)", {{1099, u"标高H1(mm)：", 0}}));
        RegisterDialogTemplate(PageTemplate(166, {h1, h2, taper, lower, measured},
                                            u"计算结果  (*已知固定标高H1，计算基高H2)", {{1099, u"基高H2(mm)：", 0}}));
        RegisterDialogTemplate(PageTemplate(167,
                                            {h1, h2, {1016, u"工件厚度(mm)：", 0}, {1017, u"设定锥度(度)：", 0},
                                             {1096, u"下圆直径(mm)：", 0}, {1099, u"上圆直径(mm)：", WS_DISABLED},
                                             {1103, u"实测下圆直径(mm)：", 0}, {1106, u"实测上圆直径(mm)：", 0}},
                                            u"计算结果", {{1110, u"标高H1(mm)：", 0}, {1111, u"基高H2(mm)：", 0}}));
        RegisterDialogTemplate(PageTemplate(168, {h1, {1015, u"设定斜角(度)：", 0}, {1016, u"实测斜度(度)：", 0}},
                                            u"计算结果", {{1099, u"标高H1(mm)：", 0}}));
        return true;
    }();
    (void)registered;
}

// The doubles of one page in CalcInputs, in field order.
double* PageValues(int page)
{
    CalcInputs& c = g_CalcInputs;
    switch (page) {
    case 1: return &c.p1Height1;
    case 2: return &c.p2Height1;
    case 3: return &c.p3Height1;
    default: return &c.p4Height1;
    }
}

const int* PageIds(int page, int& count)
{
    if (page == 3) {
        count = int(std::size(kPage3Ids));
        return kPage3Ids;
    }
    if (page == 4) {
        count = int(std::size(kPage4Ids));
        return kPage4Ids;
    }
    count = int(std::size(kPage1Ids));
    return kPage1Ids;
}

void Refuse(const char16_t* why)
{
    AfxMessageBox(CString(why));
}

} // namespace

BEGIN_MESSAGE_MAP(CZorvaCalcPage, CDialog)
    ON_BN_CLICKED(IDC_CALCULATE, OnCalculate)
    ON_EN_CHANGE(IDC_P3_LOWER, OnLowerDiameterChange)
END_MESSAGE_MAP()

CZorvaCalcPage::CZorvaCalcPage(int page) : m_page(page)
{
    RegisterTemplates();
}

BOOL CZorvaCalcPage::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        g_keyDownSeen = 1;
    } else if (msg->message == WM_KEYUP && msg->wParam == VK_ESCAPE && g_keyDownSeen
               && g_calculationDialog != nullptr) {
        g_calculationDialog->PressButton(IDCANCEL);
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

HBRUSH CZorvaCalcPage::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if ((kind == CTLCOLOR_EDIT || kind == CTLCOLOR_LISTBOX) && wnd != nullptr && g_dialogBrush != nullptr) {
        dc->SetTextColor(RGB(0, 0, 0));
        dc->SetBkMode(TRANSPARENT);
        return g_dialogBrush;
    }
    return CDialog::OnCtlColor(dc, wnd, kind);
}

void CZorvaCalcPage::Fill()
{
    m_filling = 1;
    int count = 0;
    const int* ids = PageIds(m_page, count);
    const double* values = PageValues(m_page);
    for (int i = 0; i < count; ++i)
        SetFieldNumber4(this, ids[i], values[i]);
    m_filling = 0;
}

void CZorvaCalcPage::OnCalculate()
{
    switch (m_page) {
    case 1: CalculatePage1(); break;
    case 2: CalculatePage2(); break;
    case 3: CalculatePage3(); break;
    default: CalculatePage4(); break;
    }
}

// A page that cannot compute (a division by zero) stores nothing: neither
// its inputs nor an undefined result reach the settings.
void CZorvaCalcPage::CalculatePage1()
{
    const double h1 = FieldNumber(this, 1009), h2 = FieldNumber(this, 1015), a = FieldNumber(this, 1016);
    const double d = FieldNumber(this, 1017), dm = FieldNumber(this, 1096);
    const TaperResult r = TaperPage1(h1, h2, a, d, dm);
    if (!r.ok) {
        Refuse(r.refusal);
        return;
    }
    CalcInputs& c = g_CalcInputs;
    c.p1Height1 = h1, c.p1Height2 = h2, c.p1TaperAngle = a, c.p1LowerDia = d, c.p1MeasuredDia = dm;
    SetFieldNumber4(this, 1099, r.h1);
    if (h2 == 0.0)
        return;                         // shown, not stored
    c.p1ResultH1 = r.h1;
    g_SettingsDirty = 1;
}

void CZorvaCalcPage::CalculatePage2()
{
    const double h1 = FieldNumber(this, 1009), h2 = FieldNumber(this, 1015), a = FieldNumber(this, 1016);
    const double d = FieldNumber(this, 1017), dm = FieldNumber(this, 1096);
    const TaperResult r = TaperPage2(h2, a, d, dm);
    if (!r.ok) {
        Refuse(r.refusal);
        return;
    }
    CalcInputs& c = g_CalcInputs;
    c.p2Height1 = h1, c.p2Height2 = h2, c.p2TaperAngle = a, c.p2LowerDia = d, c.p2MeasuredDia = dm;
    c.p2ResultH2 = r.h2;
    SetFieldNumber4(this, 1099, r.h2);
    g_SettingsDirty = 1;
}

void CZorvaCalcPage::ShowUpperDiameter()
{
    CalcInputs& c = g_CalcInputs;
    const double th = FieldNumber(this, 1016), a = FieldNumber(this, 1017), d = FieldNumber(this, IDC_P3_LOWER);
    const double upper = TaperUpperDiameter(th, a, d);
    if (!std::isfinite(upper))
        return;
    c.p3Thickness = th, c.p3TaperAngle = a, c.p3LowerDia = d;
    m_filling = 1;
    SetFieldNumber4(this, IDC_P3_UPPER, upper);
    m_filling = 0;
}

void CZorvaCalcPage::OnLowerDiameterChange()
{
    if (m_page == 3 && !m_filling)
        ShowUpperDiameter();
}

void CZorvaCalcPage::CalculatePage3()
{
    ShowUpperDiameter();
    const double h1 = FieldNumber(this, 1009), h2 = FieldNumber(this, 1015), th = FieldNumber(this, 1016);
    const double a = FieldNumber(this, 1017), d = FieldNumber(this, IDC_P3_LOWER), u = FieldNumber(this, IDC_P3_UPPER);
    const double dm = FieldNumber(this, 1103), um = FieldNumber(this, 1106);
    const TaperResult r = TaperPage3(h1, h2, th, a, d, dm, um);
    if (!r.ok) {
        Refuse(r.refusal);
        return;
    }
    CalcInputs& c = g_CalcInputs;
    c.p3Height1 = h1, c.p3Height2 = h2, c.p3Thickness = th, c.p3TaperAngle = a, c.p3LowerDia = d;
    c.p3UpperDia = u, c.p3MeasuredLowerDia = dm, c.p3MeasuredUpperDia = um;
    c.p3ResultH1 = r.h1, c.p3ResultH2 = r.h2;
    SetFieldNumber4(this, 1110, r.h1);
    SetFieldNumber4(this, 1111, r.h2);
    g_SettingsDirty = 1;
}

void CZorvaCalcPage::CalculatePage4()
{
    const double h1 = FieldNumber(this, 1009), b = FieldNumber(this, 1015), bm = FieldNumber(this, 1016);
    const TaperResult r = TaperPage4(h1, b, bm);
    if (!r.ok) {
        Refuse(r.refusal);
        return;
    }
    CalcInputs& c = g_CalcInputs;
    c.p4Height1 = h1, c.p4SetAngle = b, c.p4MeasuredAngle = bm, c.p4ResultH1 = r.h1;
    SetFieldNumber4(this, 1099, r.h1);
    g_SettingsDirty = 1;
}

BEGIN_MESSAGE_MAP(CZorvacalculation, CDialog)
    ON_NOTIFY(TCN_SELCHANGE, IDC_CALC_TAB, OnSelchangeTab)
END_MESSAGE_MAP()

CZorvacalculation::CZorvacalculation() : CDialog(IDD_CALCULATION)
{
    RegisterTemplates();
}

CZorvacalculation::~CZorvacalculation()
{
    if (g_calculationDialog == this)
        g_calculationDialog = nullptr;
}

CZorvaCalcPage* CZorvacalculation::Page(int index)
{
    CZorvaCalcPage* pages[] = {&m_page1, &m_page2, &m_page3, &m_page4};
    return index >= 0 && index < 4 ? pages[index] : nullptr;
}

BOOL CZorvacalculation::OnInitDialog()
{
    CDialog::OnInitDialog();
    g_calculationDialog = this;
    auto* tab = dynamic_cast<CTabCtrl*>(GetDlgItem(IDC_CALC_TAB));
    if (tab == nullptr)
        return TRUE;
    const char16_t* names[] = {u" 计算标高 ", u" 计算基高 ", u" 计算锥体 ", u" 精确标高 "};
    for (int i = 0; i < 4; ++i)
        tab->InsertItem(i, CString(names[i]));
    RECT r;
    tab->GetClientRect(&r);
    for (int i = 0; i < 4; ++i) {
        CZorvaCalcPage* page = Page(i);
        page->Create(IDD_CALC_PAGE1 + unsigned(i), tab);
        page->MoveWindow(r.left + 1, r.top + 27, r.right - r.left - 4, r.bottom - r.top - 29);
        page->Fill();
    }
    SelectPage(0);
    return TRUE;
}

void CZorvacalculation::SelectPage(int index)
{
    if (auto* tab = dynamic_cast<CTabCtrl*>(GetDlgItem(IDC_CALC_TAB)))
        tab->SetCurSel(index);
    for (int i = 0; i < 4; ++i)
        Page(i)->ShowWindow(i == index ? SW_SHOW : SW_HIDE);
}

void CZorvacalculation::OnSelchangeTab(NMHDR*, LRESULT* result)
{
    if (auto* tab = dynamic_cast<CTabCtrl*>(GetDlgItem(IDC_CALC_TAB)))
        SelectPage(tab->GetCurSel());
    if (result != nullptr)
        *result = 0;
}
