#include "process/path_dialogs_install.h"

#include "app/CZorvaDoc.h"
#include "app/tool_dialogs.h"
#include "platform/ui/message_box.h"
#include "process/CZorvaTrail_create.h"
#include "process/CZorvaTrail_many.h"

namespace {

template <class Dialog>
bool RunModal()
{
    Dialog dialog;
    return dialog.DoModal() == IDOK;
}

} // namespace

void InstallPathDialogs()
{
    RegisterToolDialog(CZorvaDoc::kDlgTrailCreate, &RunModal<CZorvaTrail_create>);
    RegisterToolDialog(CZorvaDoc::kDlgTrailMany, &RunModal<CZorvaTrail_many>);
}
