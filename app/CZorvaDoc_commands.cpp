#include "app/CZorvaDoc.h"

#include "app/AppState.h"
#include "app/DocumentUi.h"
#include "app/tool_dialogs.h"
#include "platform/ui/CCmdUI.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"

BEGIN_MESSAGE_MAP(CZorvaDoc, CDocument)
    ON_COMMAND(32805, OnFileSave)
    ON_COMMAND(32808, OnFileOpen)
    ON_COMMAND(32926, OnFileSaveAs)
    ON_COMMAND(32855, OnEditProperties)
    ON_COMMAND(32818, OnTrailCreate)
    ON_COMMAND(32930, OnTrailMany)
    ON_COMMAND(32858, OnColorConfig)
    ON_COMMAND(32860, OnClearCornerParams)
    ON_COMMAND(32847, OnMachineParams)
    ON_COMMAND(32921, OnCreateGear)
    ON_COMMAND(32920, OnCalculator)
    ON_COMMAND(57670, OnHelp)
    ON_COMMAND(32946, OnFormulaCurve)
    ON_COMMAND(33023, OnCostEstimate)
    ON_COMMAND(32845, OnExportWork)
    ON_UPDATE_COMMAND_UI(32818, OnUpdateToolDialog)
    ON_UPDATE_COMMAND_UI(32930, OnUpdateToolDialog)
    ON_UPDATE_COMMAND_UI(32858, OnUpdateToolDialog)
    ON_UPDATE_COMMAND_UI(32860, OnUpdateToolDialog)
    ON_UPDATE_COMMAND_UI(32847, OnUpdateToolDialog)
    ON_UPDATE_COMMAND_UI(32921, OnUpdateToolDialog)
    ON_UPDATE_COMMAND_UI(32920, OnUpdateToolDialog)
    ON_UPDATE_COMMAND_UI(57670, OnUpdateToolDialog)
    ON_UPDATE_COMMAND_UI(32946, OnUpdateToolDialog)
    ON_UPDATE_COMMAND_UI(33023, OnUpdateToolDialog)
END_MESSAGE_MAP()

namespace {

constexpr int kPathGeneration = 66;

} // namespace

int CZorvaDoc::ToolDialogOfCommand(UINT id)
{
    switch (id) {
    case 32818: return kDlgTrailCreate;
    case 32930: return kDlgTrailMany;
    case 32858: return kDlgColorConfig;
    case 32860: return kDlgClearCorners;
    case 32847: return kDlgMachineParams;
    case 32921: return kDlgCreateGear;
    case 32920: return kDlgCalculator;
    case 57670: return kDlgHelp;
    case 32946: return kDlgFormulaCurve;
    case 33023: return kDlgCostEstimate;
    default: return 0;
    }
}

// A menu item whose dialog no folder provides stays disabled.
void CZorvaDoc::OnUpdateToolDialog(CCmdUI* ui)
{
    const int number = ToolDialogOfCommand(ui->m_nID);
    if (number != 0)
        ui->Enable(ToolDialogRegistered(number));
}

void CZorvaDoc::RunToolDialog(int number)
{
    g_modalDialogId = number;
    const bool ok = DocUi().RunToolDialog(number);
    g_modalDialogId = 0;
    g_keyDownSeen = 0;
    const bool pathDialog = number == kDlgTrailCreate || number == kDlgTrailMany;
    if (pathDialog && ok)
        DocUi().StartCommand(kPathGeneration);
    if (pathDialog || number == kDlgHelp)
        DocUi().RedrawNow();
    DocUi().ResetCommandEdit();
}

void CZorvaDoc::OnEditProperties()
{
    g_PropertyPanelShown = 1;
    CUnit* first = nullptr;
    for (CUnit* unit : m_unitList) {
        if (unit == nullptr || unit->deleted || !unit->selected)
            continue;
        if (first == nullptr)
            first = unit;
        else
            unit->selected = 0;
    }
    if (first != nullptr)
        DocUi().RedrawNow();
    DocUi().ShowProperties(first);
}
