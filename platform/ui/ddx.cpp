#include "platform/ui/CDataExchange.h"

#include "platform/core/numbers.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CControlBase.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/control_widgets.h"
#include "platform/ui/message_box.h"

#include <QLineEdit>

#include <cerrno>
#include <cmath>
#include <limits>

CWnd* CDataExchange::PrepareCtrl(int id)
{
    m_idLastControl = id;
    return m_pDlgWnd != nullptr ? m_pDlgWnd->GetDlgItem(id) : nullptr;
}

void CDataExchange::Fail()
{
    if (m_pDlgWnd != nullptr && m_bSaveAndValidate) {
        if (CWnd* control = m_pDlgWnd->GetDlgItem(m_idLastControl)) {
            control->SetFocus();
            if (auto* edit = qobject_cast<QLineEdit*>(control->GetSafeHwnd()))
                edit->selectAll();
        }
    }
    throw Failure{};
}

namespace {

CString TextOf(CDataExchange* pDX, int id)
{
    CString text;
    if (CWnd* control = pDX->PrepareCtrl(id))
        control->GetWindowText(text);
    return text;
}

void SetTextOf(CDataExchange* pDX, int id, const CString& text)
{
    if (CWnd* control = pDX->PrepareCtrl(id)) {
        CString old;
        control->GetWindowText(old);
        // Unchanged text stays untouched: no change notification, no caret jump.
        if (!(old == text))
            control->SetWindowText(text);
    }
}

// Whole text as a signed integer (blanks around allowed); false otherwise.
bool ParseInteger(const CString& text, long long lo, long long hi, long long* out)
{
    const std::string s = CString(text).Trim().ToUtf8();
    if (s.empty())
        return false;
    size_t i = 0;
    bool negative = false;
    if (s[i] == '+' || s[i] == '-')
        negative = s[i++] == '-';
    if (i >= s.size())
        return false;
    long long value = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        if (value > 922337203685477579LL)
            return false;
        value = value * 10 + (s[i] - '0');
        if (value > hi + 1)
            return false;
    }
    value = negative ? -value : value;
    if (value < lo || value > hi)
        return false;
    *out = value;
    return true;
}

bool ParseReal(const CString& text, double* out)
{
    return ParseWholeNumber(text.View(), *out);
}

void FailInteger(CDataExchange* pDX)
{
    AfxMessageBox(CString(u"请输入一个整数。"), MB_ICONEXCLAMATION);
    pDX->Fail();
}

void FailNumber(CDataExchange* pDX)
{
    AfxMessageBox(CString(u"请输入一个数字。"), MB_ICONEXCLAMATION);
    pDX->Fail();
}

template <class Int>
void ExchangeInteger(CDataExchange* pDX, int id, Int& value, const char16_t* format)
{
    if (pDX->m_bSaveAndValidate) {
        long long parsed = 0;
        if (!ParseInteger(TextOf(pDX, id), std::numeric_limits<Int>::min(), std::numeric_limits<Int>::max(), &parsed))
            FailInteger(pDX);
        value = Int(parsed);
        return;
    }
    CString text;
    text.Format(format, value);
    SetTextOf(pDX, id, text);
}

} // namespace

void DDX_Text(CDataExchange* pDX, int id, CString& value)
{
    if (pDX->m_bSaveAndValidate)
        value = TextOf(pDX, id);
    else
        SetTextOf(pDX, id, value);
}

void DDX_Text(CDataExchange* pDX, int id, int& value)
{
    ExchangeInteger(pDX, id, value, u"%d");
}

void DDX_Text(CDataExchange* pDX, int id, UINT& value)
{
    ExchangeInteger(pDX, id, value, u"%u");
}

void DDX_Text(CDataExchange* pDX, int id, long& value)
{
    ExchangeInteger(pDX, id, value, u"%ld");
}

void DDX_Text(CDataExchange* pDX, int id, double& value)
{
    if (pDX->m_bSaveAndValidate) {
        if (!ParseReal(TextOf(pDX, id), &value))
            FailNumber(pDX);
        return;
    }
    CString text;
    text.Format(u"%.15g", value);
    SetTextOf(pDX, id, text);
}

void DDX_Text(CDataExchange* pDX, int id, float& value)
{
    if (pDX->m_bSaveAndValidate) {
        double d = 0;
        if (!ParseReal(TextOf(pDX, id), &d) || std::fabs(d) > double(std::numeric_limits<float>::max()))
            FailNumber(pDX);
        value = float(d);
        return;
    }
    CString text;
    text.Format(u"%.6g", double(value));
    SetTextOf(pDX, id, text);
}

void DDX_Check(CDataExchange* pDX, int id, int& value)
{
    auto* button = dynamic_cast<CButton*>(pDX->PrepareCtrl(id));
    if (button == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        value = button->GetCheck();
    else
        button->SetCheck(value < 0 || value > 2 ? 0 : value);
}

void DDX_Radio(CDataExchange* pDX, int id, int& value)
{
    CWnd* first = pDX->PrepareCtrl(id);
    auto* widget = first != nullptr ? dynamic_cast<ctl::ButtonWidget*>(first->GetSafeHwnd()) : nullptr;
    if (widget == nullptr)
        return;
    const std::vector<ctl::ButtonWidget*> group = ctl::RadioGroup(widget);
    if (pDX->m_bSaveAndValidate) {
        value = -1;
        for (size_t i = 0; i < group.size(); ++i) {
            if (group[i]->isChecked()) {
                value = int(i);
                break;
            }
        }
        return;
    }
    for (size_t i = 0; i < group.size(); ++i)
        group[i]->setChecked(int(i) == value);
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& value)
{
    auto* combo = dynamic_cast<CComboBox*>(pDX->PrepareCtrl(id));
    if (combo == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        value = combo->GetCurSel();
    else
        combo->SetCurSel(value);
}

void DDX_CBString(CDataExchange* pDX, int id, CString& value)
{
    auto* combo = dynamic_cast<CComboBox*>(pDX->PrepareCtrl(id));
    if (combo == nullptr)
        return;
    if (pDX->m_bSaveAndValidate) {
        combo->GetWindowText(value);
        return;
    }
    if (combo->SelectString(-1, value) == CB_ERR)
        combo->SetWindowText(value);
}

void DDX_LBIndex(CDataExchange* pDX, int id, int& value)
{
    auto* list = dynamic_cast<CListBox*>(pDX->PrepareCtrl(id));
    if (list == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        value = list->GetCurSel();
    else
        list->SetCurSel(value);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (control.GetSafeHwnd() != nullptr || pDX->m_pDlgWnd == nullptr)
        return;
    pDX->m_idLastControl = id;
    if (auto* typed = dynamic_cast<CControlBase*>(&control))
        typed->SubclassControl(UINT(id), pDX->m_pDlgWnd);
    else
        control.SubclassDlgItem(UINT(id), pDX->m_pDlgWnd);
}
