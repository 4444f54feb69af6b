#include "generators/generators_install.h"

#include "app/CZorvaDoc.h"
#include "app/FrameState.h"
#include "app/tool_dialogs.h"
#include "generators/CZorvaarray.h"
#include "generators/CZorvacalculation.h"
#include "generators/CZorvacalculator.h"
#include "generators/CZorvacaveline.h"
#include "generators/CZorvaclear_corners.h"
#include "generators/CZorvacostPiece.h"
#include "generators/CZorvacreateGear.h"
#include "generators/cost_estimate.h"
#include "paths/CTrail.h"

namespace {

constexpr unsigned IDD_ARRAY = 171;

template <class Dialog>
bool RunModal()
{
    Dialog dialog;
    return dialog.DoModal() == IDOK;
}

// The cost estimate reads the parameters of the path entity.
const TrailParams* PathParams(CUnit& unit)
{
    auto* path = dynamic_cast<CTrail*>(&unit);
    return path != nullptr ? &path->params : nullptr;
}

CDialog* MakeArrayPanel(CWnd* parent)
{
    auto* panel = new CZorvaarray;
    panel->Create(IDD_ARRAY, parent);
    return panel;
}

} // namespace

void InstallGenerators()
{
    RegisterToolDialog(CZorvaDoc::kDlgClearCorners, &RunModal<CZorvaclear_corners>);
    RegisterToolDialog(CZorvaDoc::kDlgMachineParams, &RunModal<CZorvacalculation>);
    RegisterToolDialog(CZorvaDoc::kDlgCreateGear, &RunModal<CZorvacreateGear>);
    RegisterToolDialog(CZorvaDoc::kDlgCalculator, &RunModal<CZorvacalculator>);
    RegisterToolDialog(CZorvaDoc::kDlgFormulaCurve, &RunModal<CZorvacaveline>);
    RegisterToolDialog(CZorvaDoc::kDlgCostEstimate, &RunModal<CZorvacostPiece>);
    RegisterFloatingPanel(IDD_ARRAY, &MakeArrayPanel);
    SetTrailParamsReader(&PathParams);
}
