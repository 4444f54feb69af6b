#include "generators/dialog_fields.h"

#include <cmath>

#include "geometry/text_utils.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CWnd.h"

CString FieldText(const CWnd* dialog, int id)
{
    CString text;
    if (dialog != nullptr && dialog->GetDlgItem(id) != nullptr)
        dialog->GetDlgItemText(id, text);
    return text;
}

double FieldNumber(const CWnd* dialog, int id)
{
    const double v = TextToDouble(FieldText(dialog, id));
    return std::isfinite(v) ? v : 0.0;
}

int FieldInt(const CWnd* dialog, int id)
{
    return TruncatedInt(FieldNumber(dialog, id));
}

int TruncatedInt(double v)
{
    if (v >= 2147483647.0)
        return 2147483647;
    if (v <= -2147483648.0)
        return -2147483647 - 1;
    return static_cast<int>(v);
}

void SetFieldNumber4(CWnd* dialog, int id, double value)
{
    if (dialog != nullptr)
        dialog->SetDlgItemText(id, FormatNumber4(value));
}

CComboBox* FieldCombo(const CWnd* dialog, int id)
{
    return dialog != nullptr ? dynamic_cast<CComboBox*>(dialog->GetDlgItem(id)) : nullptr;
}

bool FieldChecked(const CWnd* dialog, int id)
{
    auto* b = dialog != nullptr ? dynamic_cast<CButton*>(dialog->GetDlgItem(id)) : nullptr;
    return b != nullptr && b->GetCheck() != 0;
}

void SetFieldChecked(CWnd* dialog, int id, bool checked)
{
    if (auto* b = dialog != nullptr ? dynamic_cast<CButton*>(dialog->GetDlgItem(id)) : nullptr)
        b->SetCheck(checked ? 1 : 0);
}

void EnableField(CWnd* dialog, int id, bool enable)
{
    if (CWnd* w = dialog != nullptr ? dialog->GetDlgItem(id) : nullptr)
        w->EnableWindow(enable ? TRUE : FALSE);
}
