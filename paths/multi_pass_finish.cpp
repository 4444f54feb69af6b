// The view's side of multi-pass finishing: the engine runs on the path the
// dialogue built; the finished path joins the drawing, a refusal is shown
// and the path freed while the step stays for another pick.

#include "paths/multi_pass_finish.h"

#include <mutex>

#include "app/AppState.h"
#include "app/MachiningSettings.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "paths/CTrail.h"
#include "paths/path_build.h"
#include "paths/path_settings_from.h"
#include "view/CZorvaView.h"
#include "wirepath/TrailPath.h"
#include "wirepath/WirepathState.h"
#include "wirepath/multi_pass.h"
#include "wirepath/path_codes.h"

bool FinishTrailPasses(CZorvaView& v, bool batch)
{
    PathPick& pick = v.m_path;
    auto* trail = static_cast<CTrail*>(pick.trail);
    if (trail == nullptr)
        return false;
    TrailPath work;
    trail->GiveToEngine(work);
    PassRequest request;
    request.compSide = pick.compSide;
    request.compensation = pick.buildCompensation;
    for (int i = 0; i < 4; ++i)
        request.pickPoints[i] = g_TrailPickPoints[i];
    const PathSettings s = PathSettingsFrom(g_MachiningSettings, g_CutParams, g_CutMode);
    bool cornerFailed = false;
    const int r = BuildPasses(s, request, work, cornerFailed);
    if (cornerFailed)
        pick.cornerClearFailed = 1;
    const bool interactive = !batch && g_curCommand != 0;
    if (r == kPathCheckRefused) {
        RefuseCheckedPath(v, work.check, batch, false);
        return false;
    }
    if (r != kPathOk) {
        if (interactive) {
            const CString text = PassFailureText(r);
            v.Later([text](CZorvaView& w) { w.PrintLine(text); });
        }
        delete trail;
        pick.trail = nullptr;
        return false;
    }
    trail->TakeBuilt(work);
    trail->temporary = 0;
    trail->complete = 1;
    AppendFinishedTrail(v, *trail);
    if (interactive) {
        ReportUnclearedCorners(v);
        QueuePathDone(v);
    }
    return true;
}
