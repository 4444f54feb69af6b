#include "paths/paths_install.h"

#include "app/CZorvaDoc.h"
#include "app/tool_dialogs.h"
#include "geometry/GeometryState.h"
#include "paths/CTrail.h"
#include "paths/CZorvaTrial_create_sub.h"
#include "paths/batch_paths.h"
#include "paths/dcx_export.h"
#include "paths/trail_generate.h"
#include "platform/ui/message_box.h"
#include "view/CZorvaView.h"
#include "view/ViewState.h"
#include "view/path_hooks.h"
#include "wirepath/WirepathState.h"
#include "wirepath/chain_follow.h"
#include "wirepath/trail_metrics.h"

namespace {

void Generate(CZorvaView& view)
{
    g_PathRunFlag = 1;
    GenerateTrail(view);
}

void Cancel()
{
    g_PathRunFlag = 0;
}

x_Vector StartOf(CUnit& path)
{
    auto* t = dynamic_cast<CTrail*>(&path);
    return t != nullptr ? t->GetElementStartPoint(0) : x_Vector(0, 0, 0);
}

x_Vector EndOf(CUnit& path)
{
    auto* t = dynamic_cast<CTrail*>(&path);
    return t != nullptr ? t->GetElementEndPoint() : x_Vector(0, 0, 0);
}

bool RunWearDialog()
{
    CZorvaTrial_create_sub dialog;
    return dialog.DoModal() == IDOK;
}

PathSummary Summary(CUnit& path)
{
    PathSummary s;
    if (auto* t = dynamic_cast<CTrail*>(&path)) {
        s.cutMode = t->params.cutMode;
        s.cutCount = t->params.cutCount;
        s.length = t->params.length[0];
        s.upperLength = t->params.length[1];
        s.compensation = t->params.compensation;
        s.thickness = t->params.thickness;
        s.taperAngle = t->params.taperAngle;
    }
    return s;
}

// Until the single-pass path dialog is there, F3 starts path generation
// with the values of the settings block; pressed again during it, F3 ends
// it and stops a generation the worker is running.
bool F3WithoutDialog()
{
    if (g_curCommand != kCmdPath || g_pView == nullptr)
        return true;
    g_pView->SetCommand(0);
    return false;
}

} // namespace

void InstallPaths()
{
    // Named so that the linker keeps the class record the drawing reader
    // looks up by name.
    static const CRuntimeClass* const trailClass = RUNTIME_CLASS(CTrail);
    (void)trailClass;
    InstallChainFollowing();
    g_PathHooks.generate = &Generate;
    g_PathHooks.batch = &RunBatchRequest;
    g_PathHooks.listBatchShapes = &ListBatchShapesHook;
    g_PathHooks.cancel = &Cancel;
    g_PathHooks.startPoint = &StartOf;
    g_PathHooks.endPoint = &EndOf;
    g_PathHooks.summary = &Summary;
    g_PathHooks.writeDcx = &WriteDcxFile;
    if (!ToolDialogRegistered(CZorvaDoc::kDlgTrailCreate))
        RegisterToolDialog(CZorvaDoc::kDlgTrailCreate, &F3WithoutDialog);
    RegisterToolDialog(kWearDialog, &RunWearDialog);
}
