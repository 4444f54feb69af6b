#include "process/process_install.h"

#include "app/CZorvaDoc.h"
#include "app/tool_dialogs.h"
#include "process/CZorvasystemColor.h"
#include "process/CZorvatrailSql.h"

namespace {

bool RunColourScheme()
{
    CZorvasystemColor dialog;
    dialog.DoModal();
    // The colours are applied while the dialog is open; it only closes by
    // cancel.
    return false;
}

// Until the multi-pass path dialog exists, its command opens the process
// table that dialog picks from; a pick starts no path.
bool RunProcessTableForMultiPass()
{
    PickProcessRecord();
    return false;
}

} // namespace

void InstallProcessDialogs()
{
    RegisterToolDialog(CZorvaDoc::kDlgColorConfig, &RunColourScheme);
    RegisterToolDialog(CZorvaDoc::kDlgTrailMany, &RunProcessTableForMultiPass);
}
