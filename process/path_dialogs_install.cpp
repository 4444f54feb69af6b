#include "process/path_dialogs_install.h"

#include "app/CZorvaDoc.h"
#include "app/FrameState.h"
#include "app/tool_dialogs.h"
#include "platform/ui/message_box.h"
#include "process/CZorvaTrail_create.h"
#include "process/CZorvaTrail_many.h"
#include "process/CZorvasystemContorl.h"
#include "process/CZorvatrailm.h"
#include "process/CZorvatrailmOffest.h"

namespace {

constexpr unsigned IDD_BATCH = 238, IDD_COMP_TABLE = 247;

template <class Dialog>
bool RunModal()
{
    Dialog dialog;
    return dialog.DoModal() == IDOK;
}

template <class Dialog, unsigned templateId>
CDialog* MakePanel(CWnd* parent)
{
    auto* panel = new Dialog;
    panel->Create(templateId, parent);
    return panel;
}

void LoadBatchDialog()
{
    if (CZorvatrailm* batch = BatchDialog())
        batch->LoadFromSettings();
}

} // namespace

void InstallPathDialogs()
{
    RegisterToolDialog(CZorvaDoc::kDlgTrailCreate, &RunModal<CZorvaTrail_create>);
    RegisterToolDialog(CZorvaDoc::kDlgTrailMany, &RunModal<CZorvaTrail_many>);
    RegisterToolDialog(kCodingVersionDialog, &RunModal<CZorvasystemContorl>);
    RegisterFloatingPanel(IDD_BATCH, &MakePanel<CZorvatrailm, IDD_BATCH>);
    RegisterFloatingPanel(IDD_COMP_TABLE, &MakePanel<CZorvatrailmOffest, IDD_COMP_TABLE>);
    RegisterBatchPanelLoader(&LoadBatchDialog);
}
