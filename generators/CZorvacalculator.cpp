#include "generators/CZorvacalculator.h"

#include "app/FrameState.h"
#include "generators/GeneratorState.h"
#include "generators/calculator_engine.h"
#include "generators/dialog_fields.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/dialog_template.h"

namespace {

constexpr unsigned IDD_CALCULATOR = 178;
constexpr int IDC_DISPLAY = 1009;
// Digit buttons "1" .. "9", then "0".
constexpr int kDigitIds[10] = {1178, 1079, 1179, 1180, 1181, 1182, 1183, 1184, 1185, 1186};
constexpr int IDC_POINT = 1203;
constexpr int IDC_PLUS = 1204, IDC_MINUS = 1205, IDC_TIMES = 1206, IDC_DIVIDE = 1207;
constexpr int IDC_EQUALS = 1208, IDC_BACK = 1209, IDC_CE = 1210, IDC_C = 1211;
constexpr int IDC_SIN = 1212, IDC_X2 = 1220;
constexpr int kDisplayFontHeight = -20;

void RegisterTemplate()
{
    static const bool registered = [] {
        using namespace dlg;
        DlgTemplate t{IDD_CALCULATOR, CString(u"计算器"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 170, 156, {}};
        t.items.push_back(EditText(IDC_DISPLAY, 6, 6, 158, 20, ES_RIGHT));
        const struct { int id; const char16_t* text; int col, row; } kKeys[] = {
            {1212, u"sin", 0, 0}, {1213, u"cos", 1, 0}, {1214, u"tan", 2, 0}, {1215, u"inv", 3, 0},
            {1216, u"sqrt", 4, 0}, {1217, u"asin", 0, 1}, {1218, u"acos", 1, 1}, {1219, u"atan", 2, 1},
            {1220, u"X2", 3, 1}, {IDC_BACK, u"<----", 4, 1}, {1183, u"7", 0, 2}, {1184, u"8", 1, 2},
            {1185, u"9", 2, 2}, {IDC_DIVIDE, u"/", 3, 2}, {IDC_CE, u"CE", 4, 2}, {1180, u"4", 0, 3},
            {1181, u"5", 1, 3}, {1182, u"6", 2, 3}, {IDC_TIMES, u"*", 3, 3}, {IDC_C, u"C", 4, 3},
            {1178, u"1", 0, 4}, {1079, u"2", 1, 4}, {1179, u"3", 2, 4}, {IDC_MINUS, u"--", 3, 4},
            {IDC_EQUALS, u"=", 4, 4}, {1186, u"0", 0, 5}, {IDC_POINT, u".", 1, 5}, {IDC_PLUS, u"+", 2, 5},
        };
        for (const auto& k : kKeys)
            t.items.push_back(PushButton(k.id, CString(k.text), 6 + 32 * k.col, 32 + 20 * k.row, 30, 16));
        RegisterDialogTemplate(t);
        return true;
    }();
    (void)registered;
}

} // namespace

BEGIN_MESSAGE_MAP(CZorvacalculator, CDialog)
    ON_COMMAND_RANGE(1178, 1186, OnDigit)
    ON_COMMAND_RANGE(1079, 1079, OnDigit)
    ON_COMMAND_RANGE(IDC_POINT, IDC_POINT, OnDigit)
    ON_COMMAND_RANGE(IDC_PLUS, IDC_DIVIDE, OnOperator)
    ON_COMMAND(IDC_EQUALS, OnEquals)
    ON_COMMAND(IDC_BACK, OnBack)
    ON_COMMAND(IDC_CE, OnClear)
    ON_COMMAND(IDC_C, OnClear)
    ON_COMMAND_RANGE(IDC_SIN, IDC_X2, OnFunction)
END_MESSAGE_MAP()

CZorvacalculator::CZorvacalculator() : CDialog(IDD_CALCULATOR)
{
    RegisterTemplate();
}

BOOL CZorvacalculator::OnInitDialog()
{
    CDialog::OnInitDialog();
    CalcOpen();
    m_displayFont.CreateFont(kDisplayFontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, nullptr);
    if (CWnd* display = GetDlgItem(IDC_DISPLAY))
        display->SetFont(&m_displayFont);
    return TRUE;
}

HBRUSH CZorvacalculator::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if ((kind == CTLCOLOR_EDIT || kind == CTLCOLOR_LISTBOX) && wnd != nullptr && g_dialogBrush != nullptr) {
        dc->SetTextColor(RGB(0, 0, 0));
        dc->SetBkMode(TRANSPARENT);
        return g_dialogBrush;
    }
    return CDialog::OnCtlColor(dc, wnd, kind);
}

CString CZorvacalculator::Display() const
{
    return FieldText(this, IDC_DISPLAY);
}

void CZorvacalculator::Show(const CString& text)
{
    SetDlgItemText(IDC_DISPLAY, text);
}

void CZorvacalculator::OnDigit(UINT id)
{
    char16_t ch = u'.';
    for (int d = 0; d < 10; ++d)
        if (kDigitIds[d] == int(id))
            ch = d == 9 ? u'0' : char16_t(u'1' + d);
    Show(CalcAppend(Display(), ch));
}

void CZorvacalculator::OnOperator(UINT id)
{
    Show(CalcOperator(Display(), int(id) - IDC_PLUS + 1));
}

void CZorvacalculator::OnFunction(UINT id)
{
    Show(CalcApply(Display(), static_cast<CalcFunction>(int(id) - IDC_SIN)));
}

void CZorvacalculator::OnEquals()
{
    Show(CalcEquals(Display()));
}

void CZorvacalculator::OnBack()
{
    Show(CalcBackspace(Display()));
}

void CZorvacalculator::OnClear()
{
    Show(CalcClear());
}

bool CZorvacalculator::DisplayFocused() const
{
    CWnd* display = GetDlgItem(IDC_DISPLAY);
    return display != nullptr && CWnd::GetFocus() == display;
}

void CZorvacalculator::FocusDisplayAtEnd()
{
    auto* display = dynamic_cast<CEdit*>(GetDlgItem(IDC_DISPLAY));
    if (display == nullptr)
        return;
    display->SetFocus();
    const int end = Display().GetLength();
    display->SetSel(end, end);
}

// A typed character: true when the dialog took it (the display's own
// editing does not see it).
bool CZorvacalculator::TypedChar(char16_t ch)
{
    if (ch < 0x20)
        return false;                   // Esc and the other control keys keep their meaning
    if (ch == u'c') {
        OnClear();
        return true;
    }
    const bool digit = ch >= u'0' && ch <= u'9';
    const bool point = ch == u'.' && Display().Find(u'.') < 0;
    if (!digit && !point && ch != u'-')
        return true;
    if (ch == u'-') {
        auto* display = dynamic_cast<CEdit*>(GetDlgItem(IDC_DISPLAY));
        int start = 0, end = 0;
        if (display != nullptr && DisplayFocused())
            display->GetSel(start, end);
        return !(DisplayFocused() && start == 0 && end == 0);
    }
    if (DisplayFocused())
        return false;
    Show(Display() + CString(ch, 1));
    return true;
}

BOOL CZorvacalculator::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_BACK || msg->wParam == VK_RETURN)) {
        const bool wasFocused = DisplayFocused();
        FocusDisplayAtEnd();
        if (msg->wParam == VK_RETURN)
            return TRUE;                // Enter presses no button
        if (!wasFocused) {
            Show(CalcBackspace(Display()));
            FocusDisplayAtEnd();
            return TRUE;
        }
        return FALSE;
    }
    if (msg->message == WM_CHAR && msg->wParam != VK_BACK && msg->wParam != VK_RETURN)
        return TypedChar(char16_t(msg->wParam)) ? TRUE : FALSE;
    return CDialog::PreTranslateMessage(msg);
}
