#include "wirepath/contour_build.h"

#include <cmath>

#include "geometry/GeometryState.h"
#include "wirepath/PathSettings.h"
#include "wirepath/TrailPath.h"
#include "wirepath/chain_collect.h"
#include "wirepath/path_codes.h"
#include "wirepath/trail_metrics.h"
#include "wirepath/trail_offset.h"

namespace {

// Intermediate values of one build.
struct BuildWork {
    BuildWork(const ChainRequest& r, const PathSettings& ps, TrailPath& p) : req(r), s(ps), path(p) {}
    const ChainRequest& req;
    const PathSettings& s;
    TrailPath& path;
    int k = 0;                          // the list being built
    std::uint8_t closed = 0;
    bool pause = false;                 // the pause falls at the end of the list
    SplitPlace overCutPlace;
    double sx = 0.0, sy = 0.0;          // incline shift

    int Side() const { return req.sideKey - 1; }
    bool SinglePass() const { return !s.IsMultiPass(); }
};

int OffsetCode(int result)
{
    return result == kOffsetSelfCrossing ? kPathSelfCrossing : kPathBuildFailed;
}

// An offset contour that crosses itself (a neck narrower than twice the
// compensation, a join bridged by a line) is refused, unless what crosses
// is a loop running the other way round, which is cut away; it used to be
// reported as a path.
int CheckedOffset(int result, x_TrailDataArray& list, std::uint8_t closed)
{
    if (result != kOffsetOk)
        return result;
    return UncrossedOrLoopsCut(list, closed != 0) ? kOffsetOk : kOffsetSelfCrossing;
}

void MarkPauseBeforeCutOff(BuildWork& w)
{
    if (w.k != 0 || !w.SinglePass() || !w.s.pauseBeforeCutOff)
        return;
    ComputeTrailMetrics(w.path);
    if (w.s.pauseDistance <= 0.0 || SplitTrailFromEnd(w.path.lists[0], w.s.pauseDistance) < 0)
        w.pause = true;
}

bool OverCutWanted(const BuildWork& w)
{
    return w.SinglePass() && w.s.cutMode != 2 && std::fabs(w.s.overCut) > 0.0 && w.closed != 0;
}

// The wire runs on past the closing point along the start of the contour
// and comes back: elements 0..f-1 of a split copy, then the same reversed.
void AppendOverCut(BuildWork& w, x_TrailDataArray& list, int f, const x_TrailDataArray& split)
{
    if (f < 0)
        return;
    for (int i = 0; i < f; ++i)
        list.Add(split[i]);
    if (w.pause && w.s.pauseDistance == 0.0 && f > 0) {
        list[list.GetSize() - 1].attribute = 1;
        w.pause = false;
    }
    AppendReversed(list, split, 0, f);
}

void OverCutLower(BuildWork& w)
{
    x_TrailDataArray t = w.path.lists[0];
    const int f = LocateTrailDistance(t, 0, 0, w.s.overCut, w.overCutPlace);
    AppendOverCut(w, w.path.lists[0], f, t);
}

// The upper list gets its over-cut at the same element and fraction as the
// lower one. (Appended to the lower list alone, it left lists of different
// counts in taper modes.)
void OverCutUpper(BuildWork& w)
{
    if (w.overCutPlace.index < 0 || w.path.lists[1].IsEmpty())
        return;
    x_TrailDataArray t = w.path.lists[1];
    const int f = SplitTrailSegment(t, 0, w.overCutPlace.index, 0, w.overCutPlace.fraction);
    const bool pause = w.pause;
    AppendOverCut(w, w.path.lists[1], f, t);
    w.pause = pause;
}

// Cut modes 1 and 3: the upper contour from the list before compensation.
int BuildTaperUpper(BuildWork& w)
{
    const x_TrailDataArray& base = w.path.unshifted[w.k];
    x_TrailDataArray& upper = w.path.lists[1];
    const double d = w.req.offset;
    const int r = CheckedOffset(
        w.s.cutMode == 1 ? OffsetTrailTaper(w.s, base, upper, w.Side(), w.closed, d, 0.0, w.path.outward[0])
                         : OffsetTrail(kOffsetVarTaper, w.path.outward[0], base, upper, w.closed, w.Side(), d,
                                       w.s.thickness),
        upper, w.closed);
    if (r != kOffsetOk)
        return OffsetCode(r);
    if (!w.path.lists[0].IsEmpty())
        MergeTrailPair(w.path.lists[0], upper);
    return kPathOk;
}

// The upper contour by cut mode, with the over-cut on both lists.
int BuildUpperContour(BuildWork& w)
{
    const bool overCut = OverCutWanted(w);
    if (!w.SinglePass() || (w.s.cutMode != 1 && w.s.cutMode != 3 && w.s.cutMode != 4)) {
        if (overCut)
            OverCutLower(w);
        return kPathOk;
    }
    if (w.s.cutMode == 1 || w.s.cutMode == 3) {
        const int r = BuildTaperUpper(w);
        if (r != kPathOk)
            return r;
        if (overCut) {
            OverCutLower(w);
            OverCutUpper(w);
        }
    } else {
        if (overCut)
            OverCutLower(w);
        w.path.lists[1] = w.path.lists[0];
    }
    // The incline shifts the contour already built (taper modes used to
    // replace theirs by a copy of the lower list).
    if (w.s.InclineShiftsUpper())
        ApplyInclineShift(w.s, w.path.lists[w.s.inclineOnLower ? 0 : 1], w.sx, w.sy);
    return kPathOk;
}

// What the check holds each surface of a single-pass path to: the
// compensated contour of list k, and the upper contour of the cut mode,
// both from the list before compensation, the shifted one moved.
void RecordIntents(BuildWork& w)
{
    if (!w.SinglePass())
        return;
    SurfaceIntent own;
    own.set = true;
    own.reference = w.k;
    own.side = w.Side();
    own.offset = w.req.offset;
    w.path.intent[w.k] = own;
    if (w.s.cutMode == 2 || w.path.lists[1].IsEmpty())
        return;
    SurfaceIntent upper = own;
    if (w.s.cutMode == 1) {
        upper.offset = TaperOffset(w.s, w.req.offset, 0.0, w.path.outward[0]);
    } else if (w.s.cutMode == 3) {
        upper.perElementTaper = true;
        upper.negate = w.path.outward[0] != 0;
        upper.thickness = w.s.thickness;
    }
    w.path.intent[1] = upper;
    if (w.s.InclineShiftsUpper())
        w.path.intent[w.s.inclineOnLower ? 0 : 1].shift = x_Vector(w.sx, w.sy);
}

void AddLeads(BuildWork& w)
{
    if (!w.SinglePass())
        return;
    LeadLines lead;
    lead.in.p1 = w.req.pickPoints[0];
    lead.out.p2 = w.req.pickPoints[3];
    const std::uint8_t end = w.s.endAtCutOff ? 1 : 0;
    if (w.s.InclineShiftsUpper()) {
        if (w.s.inclineMoves) {
            AddLeadLines(w.path, lead, w.s.inclineOnLower, w.s.inclinePause && w.s.inclineMoves, w.sx, w.sy,
                         w.s.endAtCutOff);
        } else {
            AddLeadInOut(w.path, 0, lead, end);
            AddLeadInOut(w.path, 1, lead, end);
        }
    } else if (w.s.cutMode == 1 || w.s.cutMode == 3) {
        AddLeadInOut(w.path, 0, lead, end);
        AddLeadInOut(w.path, 1, lead, end);
    } else if (w.s.cutMode == 0) {
        AddLeadInOut(w.path, w.k, lead, end);
    }
}

void FillParams(BuildWork& w)
{
    TrailParams& p = w.path.params;
    p.closedCut = w.closed;
    p.cutCount = w.s.singlePassCutCount;
    p.compensation = w.s.noOffset ? 0.0 : w.req.offset;
    p.cutMode = w.s.cutMode;
    p.taperAngle = w.s.cutMode == 1 ? w.s.taperAngle : 0.0;
    p.thickness = w.s.thickness;
    p.sequence = 0;
    p.overCut = w.s.overCut;
    if (w.s.cutMode == 2) {
        p.threadPoint[w.k] = w.req.pickPoints[0];
    } else if (w.k == 0) {
        p.threadPoint[0] = p.threadPoint[1] = w.req.pickPoints[0];
    }
    p.surfaceCount = w.path.lists[1].IsEmpty() ? 1 : 2;
    w.path.temporary = 1;
    w.path.complete = 1;
    w.path.ownerNo = w.req.ownerNo;
    w.path.unitId = ++g_UnitIdCounter;
}

} // namespace

int BuildContourTrail(const ChainRequest& req, const PathSettings& s, const CUnitArray& copies, bool closed,
                      TrailPath& path)
{
    BuildWork w(req, s, path);
    w.k = req.list != 0 ? 1 : 0;
    w.closed = closed ? 1 : 0;
    if (AnglesRefused(s, copies))
        return kPathAngleRefused;
    x_TrailDataArray& list = path.lists[w.k];
    list.RemoveAll();
    if (!ConvertCopies(copies, s, list))
        return kPathCancelled;
    if (s.wearCorrection)
        AddWearSteps(list, w.closed != 0);
    MarkPauseBeforeCutOff(w);
    path.unshifted[w.k] = list;
    // A pass count of 1 is a single pass and gets its compensation here.
    if (w.SinglePass()) {
        const int r = CheckedOffset(
            OffsetTrail(kOffsetTaper, 0, path.unshifted[w.k], list, w.closed, w.Side(), req.offset), list, w.closed);
        if (r != kOffsetOk)
            return OffsetCode(r);
    }
    const int upper = BuildUpperContour(w);
    if (upper != kPathOk)
        return upper;
    if (w.pause && !list.IsEmpty())
        list[list.GetSize() - 1].attribute = 1;
    RecordIntents(w);
    AddLeads(w);
    ComputeTrailMetrics(path);
    FillParams(w);
    if (s.cutMode != 2 && !path.lists[1].IsEmpty() && path.lists[0].GetSize() != path.lists[1].GetSize())
        return kPathListMismatch;
    return kPathOk;
}
