#include "process/process_install.h"

#include "app/CZorvaDoc.h"
#include "app/tool_dialogs.h"
#include "process/CZorvasystemColor.h"

namespace {

bool RunColourScheme()
{
    CZorvasystemColor dialog;
    dialog.DoModal();
    // The colours are applied while the dialog is open; it only closes by
    // cancel.
    return false;
}

} // namespace

void InstallProcessDialogs()
{
    RegisterToolDialog(CZorvaDoc::kDlgColorConfig, &RunColourScheme);
}
