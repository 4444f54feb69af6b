#include "app/CZorvaDoc.h"

#include "app/AppState.h"
#include "app/DocumentUi.h"
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
END_MESSAGE_MAP()

namespace {

constexpr int kPathGeneration = 66;

} // namespace

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
