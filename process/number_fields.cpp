#include "process/number_fields.h"

#include "platform/core/numbers.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/control_hint.h"
#include "view/CZorvaView.h"
#include "view/ViewState.h"

namespace numfield {

namespace {

CWnd* Control(const CWnd* owner, int id)
{
    return owner != nullptr ? owner->GetDlgItem(id) : nullptr;
}

// Shown inside its dialog (every window up to the dialog not hidden) and
// enabled. The styles say it even while the dialog itself is not on screen.
bool Editable(const CWnd* control)
{
    if (control == nullptr || !control->IsWindowEnabled())
        return false;
    for (const CWnd* w = control; w != nullptr && (w->GetStyle() & WS_CHILD) != 0; w = w->GetParent())
        if ((w->GetStyle() & WS_VISIBLE) == 0)
            return false;
    return true;
}

} // namespace

bool Read(const CWnd* owner, int id, double& value)
{
    const CWnd* control = Control(owner, id);
    if (control == nullptr)
        return false;
    CString text;
    control->GetWindowText(text);
    return ParseWholeNumber(text.View(), value);
}

double Or(const CWnd* owner, int id, double fallback)
{
    double value = 0.0;
    return Read(owner, id, value) ? value : fallback;
}

bool AllNumbers(const std::vector<Field>& fields)
{
    for (const Field& f : fields) {
        double value = 0.0;
        if (Editable(Control(f.owner, f.id)) && !Read(f.owner, f.id, value)) {
            Refuse(f);
            return false;
        }
    }
    return true;
}

void Refuse(const Field& field)
{
    CWnd* control = Control(field.owner, field.id);
    if (control == nullptr)
        return;
    control->SetFocus();
    if (auto* edit = dynamic_cast<CEdit*>(control))
        edit->SetSel(0, -1);
    else if (auto* combo = dynamic_cast<CComboBox*>(control))
        combo->SetEditSel(0, -1);
    const CString hint = CString(u"输入有误：") + field.name;
    ShowControlHint(control, hint);
    if (g_pView != nullptr)
        g_pView->PrintLine(u"#" + hint);
}

} // namespace numfield
