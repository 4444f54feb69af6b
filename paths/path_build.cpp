#include "paths/path_build.h"

#include <mutex>

#include "app/AppState.h"
#include "app/MachiningSettings.h"
#include "geometry/CUnit.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "geometry/unit_services.h"
#include "paths/CTrail.h"
#include "paths/multi_pass_finish.h"
#include "paths/path_settings_from.h"
#include "view/CZorvaView.h"
#include "view/ViewState.h"
#include "wirepath/TrailPath.h"
#include "wirepath/WirepathState.h"
#include "wirepath/chain_collect.h"
#include "wirepath/corner_clearing.h"
#include "wirepath/path_check.h"
#include "wirepath/trail_metrics.h"

namespace {

void EndCommandWith(CZorvaView& v, const CString& text)
{
    v.Later([text](CZorvaView& w) {
        w.SetCommand(0);
        w.PrintLine(text);
    });
}

// The scratch list holds the chain's working copies only while one
// build runs; the drawing owns nothing of it.
void FreeScratch(CUnitDocument& doc)
{
    for (CUnit* u : doc.m_tempList)
        delete u;
    doc.m_tempList.RemoveAll();
}

ChainRequest MakeRequest(const PathPick& pick, int contour, double compensation)
{
    ChainRequest r;
    r.stage = 0;
    r.list = contour;
    r.ownerNo = pick.trailGroup;
    r.sideKey = pick.compSide;
    for (int i = 0; i < 4; ++i)
        r.pickPoints[i] = g_TrailPickPoints[i];
    r.offset = compensation;
    return r;
}

void CopyPickPoints(x_Vector (&to)[4])
{
    for (int i = 0; i < 4; ++i)
        to[i] = g_TrailPickPoints[i];
}

// Corner clearing replaces both lists when it succeeds; a failure keeps
// the lists the path had and is noted for the batch run's hint.
void ClearCornersIfSet(const PathSettings& s, CTrail& trail, PathPick& pick)
{
    if (!(s.clearCornerAngle > 0.0 && s.clearCornerLeadLength > 0.0))
        return;
    x_TrailDataArray out[2];
    const int m = trail.trails[1].IsEmpty() ? 1 : 2;
    if (!ClearCorners(s, trail.trails, m, out, trail.params.closedCut, trail.offsetOutside[0], pick.compSide)) {
        pick.cornerClearFailed = 1;
        return;
    }
    trail.trails[0] = out[0];
    trail.trails[1] = out[1];
}

void RecomputeMetrics(CTrail& trail)
{
    TrailPath work;
    trail.GiveToEngine(work);
    ComputeTrailMetrics(work);
    trail.params = work.params;
    trail.trails[0] = work.lists[0];
    trail.trails[1] = work.lists[1];
}

void CopyPauseMarks(CTrail& trail)
{
    x_TrailDataArray& lower = trail.trails[0];
    x_TrailDataArray& upper = trail.trails[1];
    if (upper.GetSize() != lower.GetSize())
        return;
    for (int i = 0; i < lower.GetSize(); ++i)
        upper[i].attribute = lower[i].attribute;
}

bool PassesCheck(CZorvaView& v, const CTrail& trail, bool batch)
{
    TrailPath work;
    trail.GiveToEngine(work);
    const PathCheckResult r = CheckFinishedPath(work);
    if (!r.Ok())
        RefuseCheckedPath(v, r, batch, true);
    return r.Ok();
}

bool FinishSinglePass(CZorvaView& v, CTrail& trail, const PathSettings& s, bool batch)
{
    TrailParams& p = trail.params;
    p.cutCount = 1;
    // A closed hole stores its compensation negated.
    if (trail.offsetOutside[0] == 0 && p.closedCut)
        p.compensation = -p.compensation;
    ClearCornersIfSet(s, trail, v.m_path);
    if (!PassesCheck(v, trail, batch))
        return false;
    trail.temporary = 0;
    trail.complete = 1;
    CopyPauseMarks(trail);
    RecomputeMetrics(trail);
    p.cutCount = 1;
    p.multiPass = g_MachiningSettings.multiPass;
    p.cuts[0] = g_CutParams;
    AppendFinishedTrail(v, trail);
    if (!batch && g_curCommand != 0) {
        ReportUnclearedCorners(v);
        QueuePathDone(v);
    }
    return true;
}

} // namespace

void RefuseCheckedPath(CZorvaView& v, const PathCheckResult& r, bool batch, bool endCommand)
{
    PathPick& pick = v.m_path;
    pick.checkRefusal = PathCheckHint(r);
    delete static_cast<CTrail*>(pick.trail);
    pick.trail = nullptr;
    if (batch || g_curCommand == 0)
        return;
    const CString hint = CString(u"*") + pick.checkRefusal;
    v.Later([hint, endCommand](CZorvaView& w) {
        if (endCommand)
            w.SetCommand(0);
        w.PrintLine(CString(u"#生成失败！请检查参数或实线；  code：-2"));
        w.PrintLine(hint);
    });
}

void ReportUnclearedCorners(CZorvaView& v)
{
    if (v.m_path.cornerClearFailed)
        v.Later([](CZorvaView& w) { w.PrintLine(CString(u"*清角失败，轨迹未清角")); });
}

void AppendFinishedTrail(CZorvaView& v, CUnit& trail)
{
    {
        std::lock_guard<std::recursive_mutex> lock(g_pDoc->m_listMutex);
        g_pDoc->m_unitList.Add(&trail);
    }
    v.m_path.trail = nullptr;
}

void QueuePathDone(CZorvaView& v)
{
    v.Later([](CZorvaView& w) {
        w.PrintLine(CString(u"轨迹生成->操作完成"));
        w.PrintSeparator();
        w.PurgeDegenerateEntities(0);
        w.SetCommand(0);
    });
}

bool BuildTrail(CZorvaView& v, bool batch, int contour, double compensation)
{
    PathPick& pick = v.m_path;
    auto* trail = static_cast<CTrail*>(pick.trail);
    // A batch run clears the marks once for all its paths.
    if (!batch)
        for (CUnit* u : g_pDoc->m_unitList)
            u->chainScratchA = u->chainScratchB = 0;
    g_pDoc->m_tempList.RemoveAll();
    pick.buildCompensation = compensation;
    pick.checkRefusal = CString();
    pick.cornerClearFailed = 0;
    PathSettings s = PathSettingsFrom(g_MachiningSettings, g_CutParams, g_CutMode);
    s.wearCorrection = g_WearCorrectionMode != 0;
    TrailPath work;
    trail->GiveToEngine(work);
    const int r = CollectChainPoints(MakeRequest(pick, contour, compensation), s, *g_pDoc, g_CreateTrailPoints, work);
    FreeScratch(*g_pDoc);
    if (g_CutMode == 2 && !batch)
        pick.leadPreviewLines.Add({g_TrailPickPoints[0], g_TrailPickPoints[1], 1});
    CopyPickPoints(v.m_subStep == 4 ? pick.pickPointsLower : pick.pickPointsUpper);
    if (r <= 0) {
        if (!batch && g_curCommand != 0)
            EndCommandWith(v, CString(u"#生成失败！请检查参数或实线；  code：-2"));
        delete trail;
        pick.trail = nullptr;
        return false;
    }
    // The path's own group stays 0: only the two paths of a batch pair
    // share one (a group on every path paired them all in the export order).
    trail->TakeBuilt(work);
    if (g_CutMode == 2) {
        g_cmdPointCount = 0;
        ++v.m_subStep;
        v.Later([](CZorvaView& w) {
            w.FreeTemporaryUnits();
            ResetEntityStates();
            w.ShowPrompt(CString(), 0);
            w.RedrawNow();
        });
        return true;
    }
    if (s.IsMultiPass())
        return FinishTrailPasses(v, batch);
    return FinishSinglePass(v, *trail, s, batch);
}
