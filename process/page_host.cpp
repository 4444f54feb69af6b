#include "process/page_host.h"

#include "platform/ui/CDialog.h"
#include "platform/ui/message_box.h"

namespace {

CDialog* HostDialog(CWnd* page)
{
    for (CWnd* w = page != nullptr ? page->GetParent() : nullptr; w != nullptr; w = w->GetParent()) {
        auto* dialog = dynamic_cast<CDialog*>(w);
        if (dialog != nullptr && (dialog->GetStyle() & WS_CHILD) == 0)
            return dialog;
    }
    return nullptr;
}

} // namespace

void PressHostDefault(CWnd* page)
{
    if (CDialog* host = HostDialog(page))
        host->PressButton(host->GetDefaultButtonId());
}

void PressHostCancel(CWnd* page)
{
    if (CDialog* host = HostDialog(page))
        host->PressButton(IDCANCEL);
}
