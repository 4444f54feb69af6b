// The last step of a two-profile path (step 10 of command 66): the origin
// pick aligns the two threading points, the two contours are synchronised
// so that element i of one is cut with element i of the other, and the
// path gets its over-cut and lead lines, or goes to multi-pass finishing.

#include <cmath>
#include <mutex>

#include "app/AppState.h"
#include "app/MachiningSettings.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "geometry/view_transform.h"
#include "paths/CTrail.h"
#include "paths/multi_pass_finish.h"
#include "paths/path_build.h"
#include "view/CZorvaView.h"
#include "wirepath/TrailPath.h"
#include "wirepath/WirepathState.h"
#include "wirepath/contour_build.h"
#include "wirepath/path_check.h"
#include "wirepath/profile_sync.h"
#include "wirepath/trail_lists.h"
#include "wirepath/trail_metrics.h"

namespace {

constexpr int kOriginBox = 8;               // pixels left/up of the click, excluded right/down
constexpr std::uint8_t kMergeTag = 100;     // 'd': element made to keep the lists in step

// The origin and the alignment of the moved surface.
struct Alignment {
    int origin = 0;                     // 0 lower, 1 upper threading point
    x_Vector vector{0.0, 0.0};          // moved surface's shift is minus this
    double sx = 0.0, sy = 0.0;          // shift of the upper lead lines
};

void FailWith(CZorvaView& v, int code, bool freePath)
{
    if (freePath) {
        delete v.m_path.trail;
        v.m_path.trail = nullptr;
    }
    CString text;
    text.Format(u"#轨迹生成失败，请检查参数! code：%d", code);
    v.Later([text](CZorvaView& w) {
        w.PrintLine(text);
        w.SetCommand(0);
    });
}

bool NearClick(const PathPick& pick, const x_Vector& p)
{
    if (!p.valid)
        return false;
    const POINT s = WorldToScreen(p);
    const int cx = pick.clickPixel[0], cy = pick.clickPixel[1];
    return s.x >= cx - kOriginBox && s.x < cx + kOriginBox && s.y >= cy - kOriginBox && s.y < cy + kOriginBox;
}

double InclineValue(const MachiningSettings& m, double value)
{
    if (value == 0.0)
        return 0.0;
    return m.inclineAsDistances != 0 ? value : std::tan(value * kPi / 180.0) * m.thickness;
}

// False when the click is on neither threading point (no flag set).
bool Align(const PathPick& pick, TrailParams& p, Alignment& a)
{
    const MachiningSettings& m = g_MachiningSettings;
    if (m.profileUsesIncline != 0) {
        a.sx = InclineValue(m, m.inclineAngleX);
        a.sy = InclineValue(m, m.inclineAngleY);
        const x_Vector shift(a.sx, a.sy);
        a.vector = p.threadPoint[1] - p.threadPoint[0] - shift;
        p.threadPoint[1] = p.threadPoint[0] + shift;
        return true;
    }
    if (m.profileNoMerge != 0) {
        // Each surface keeps its threading point, so the upper contour stays
        // where it was drawn; its lead lines are shifted to it. (Moved onto
        // the lower threading point, it no longer met its own lead lines.)
        const x_Vector d = p.threadPoint[1] - p.threadPoint[0];
        a.sx = d.x;
        a.sy = d.y;
        return true;
    }
    if (NearClick(pick, p.threadPoint[0]))
        a.origin = 0;
    else if (NearClick(pick, p.threadPoint[1]))
        a.origin = 1;
    else
        return false;
    const int other = 1 - a.origin;
    a.vector = p.threadPoint[other] - p.threadPoint[a.origin];
    p.threadPoint[other] = p.threadPoint[a.origin];
    return true;
}

// The wire runs over the start once more and comes back, on both lists at
// corresponding places.
void AddOverCut(TrailPath& work)
{
    const double overCut = g_MachiningSettings.overCut;
    if (!work.params.closedCut || !(std::fabs(overCut) > 0.0))
        return;
    x_TrailDataArray lower = work.lists[0], upper = work.lists[1];
    SplitPlace place;
    const int f = LocateTrailDistance(lower, 0, 0, overCut, place);
    if (f < 0)
        return;
    const int g = SplitTrailSegment(upper, 0, place.index, 0, place.fraction);
    for (int i = 0; i < f; ++i)
        work.lists[0].Add(lower[i]);
    AppendReversed(work.lists[0], lower, 0, f);
    if (g < 0)
        return;
    for (int i = 0; i < g; ++i)
        work.lists[1].Add(upper[i]);
    AppendReversed(work.lists[1], upper, 0, g);
}

void AddLeads(const PathPick& pick, const Alignment& a, TrailPath& work)
{
    const MachiningSettings& m = g_MachiningSettings;
    const x_Vector thread = work.params.threadPoint[0];
    LeadLines lead;
    lead.in.p1 = thread;
    lead.in.p2 = ElementStartPoint(work.lists[0][0]);
    lead.out.p1 = ElementEndPoint(work.lists[0][work.lists[0].GetSize() - 1]);
    lead.out.p2 = work.params.closedCut ? thread : pick.pickPointsLower[3];
    const std::uint8_t endAt = m.endAfterCutOff != 0 ? 1 : 0;
    if (m.profileUsesIncline == 0 && m.profileNoMerge == 0) {
        AddLeadInOut(work, 0, lead, endAt);
        AddLeadInOut(work, 1, lead, endAt);
        return;
    }
    AddLeadLines(work, lead, m.inclineSwapSurfaces != 0, m.inclineEntryFirst != 0 && m.pauseAfterIncline != 0, a.sx,
                 a.sy, endAt != 0);
}

bool StoreSinglePass(CZorvaView& v, CTrail& trail, TrailPath& work, const Alignment& a)
{
    AddOverCut(work);
    AddLeads(v.m_path, a, work);
    FinishProfilePair(work.lists[0]);
    FinishProfilePair(work.lists[1]);
    const PathCheckResult check = CheckFinishedPath(work);
    if (!check.Ok()) {
        RefuseCheckedPath(v, check, false, true);
        return false;
    }
    CopySegmentAttribute(work.lists[0], work.lists[1]);
    ComputeTrailMetrics(work);
    TrailParams& p = work.params;
    if (work.outward[0] == 0 && p.closedCut)
        p.compensation = -p.compensation;
    p.cutCount = 1;
    p.multiPass = g_MachiningSettings.multiPass;
    p.cuts[0] = g_CutParams;
    p.surfaceCount = 2;
    trail.TakeBuilt(work);
    trail.temporary = 0;
    trail.complete = 1;
    AppendFinishedTrail(v, trail);
    QueuePathDone(v);
    return true;
}

} // namespace

bool BuildTwoProfileTrail(CZorvaView& v)
{
    PathPick& pick = v.m_path;
    if (g_CutMode != 2) {
        FailWith(v, -5, true);
        return false;
    }
    auto* trail = static_cast<CTrail*>(pick.trail);
    if (trail == nullptr) {
        FailWith(v, -6, false);
        return false;
    }
    Alignment a;
    TrailPath work;
    trail->GiveToEngine(work);
    if (!Align(pick, work.params, a)) {
        v.Later([](CZorvaView& w) { w.PrintLine(CString(u"#请选择原点为同步点")); });
        return false;
    }
    const int r = g_MachiningSettings.syncByCentre != 0 ? PairProfiles(work, a.origin, a.vector)
                                                        : SyncTrailsByLength(work, a.origin, a.vector);
    if (r != 1) {
        FailWith(v, -7, true);
        return false;
    }
    if (work.lists[0].GetSize() != work.lists[1].GetSize()) {
        FailWith(v, -8, true);
        return false;
    }
    for (x_TrailDataArray& list : work.lists)
        for (x_TrailData& e : list)
            if (e.tag == kMergeTag)
                e.tag = 0;
    if (g_MachiningSettings.multiPass != 0 && ClampPassCount(g_MachiningSettings.passCount) != 1) {
        for (int i = 0; i < 4; ++i)
            g_TrailPickPoints[i] = a.origin == 0 ? pick.pickPointsLower[i] : pick.pickPointsUpper[i];
        trail->TakeBuilt(work);
        return FinishTrailPasses(v, false);
    }
    return StoreSinglePass(v, *trail, work, a);
}
