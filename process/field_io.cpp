#include "process/field_io.h"

#include <cmath>
#include <limits>

#include "geometry/text_utils.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CWnd.h"

namespace proc {

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
    const double v = std::trunc(FieldNumber(dialog, id));
    if (v >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (v <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(v);
}

int FieldAbsInt(const CWnd* dialog, int id)
{
    const int v = FieldInt(dialog, id);
    return v == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : std::abs(v);
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

void SetFieldInt(CWnd* dialog, int id, int value)
{
    CString text;
    text.Format(u"%d", value);
    if (dialog != nullptr)
        dialog->SetDlgItemText(id, text);
}

} // namespace proc
