// Multi-pass finishing, up to the parts of each pass: set-up, die support,
// per-pass offsets, trim shift, corner clearing, main and support parts,
// the step cut once, the over-cut, the running directions and the pause
// before parting.

#include "wirepath/multi_pass.h"

#include <algorithm>
#include <cmath>

#include "wirepath/contour_build.h"
#include "wirepath/corner_clearing.h"
#include "wirepath/multi_pass_work.h"
#include "wirepath/path_check.h"
#include "wirepath/path_codes.h"
#include "wirepath/trail_lists.h"
#include "wirepath/trail_metrics.h"
#include "wirepath/trail_offset.h"

namespace {

constexpr double kTiny = 1e-10;

double ListLength(const x_TrailDataArray& list)
{
    double sum = 0.0;
    for (const x_TrailData& e : list)
        if (e.kind <= 3)
            sum += TrailElementLength(e);
    return sum;
}

void SetUp(PassWork& w)
{
    TrailParams& p = w.path.params;
    w.n = std::clamp(w.m.passCount, 1, kPasses);
    w.mode = w.s.cutMode;
    w.closed = p.closedCut ? 1 : 0;
    w.side = w.req.compSide == 2 ? 1 : 0;
    p.cutCount = w.n;
    // A closed hole stores its compensation negated.
    if (w.path.outward[0] == 0 && w.closed)
        p.compensation = -p.compensation;
    if (w.mode == 2) {
        w.base[0] = w.path.lists[0];
        w.base[1] = w.path.lists[1];
    } else {
        w.base[0] = w.path.unshifted[0];
        if (w.mode != 0)
            w.base[1] = w.base[0];
        w.path.outward[1] = w.path.outward[0];
    }
    w.S = w.mode == 0 ? 1 : 2;
    w.length[0] = ListLength(w.base[0]);
    w.length[1] = w.S == 2 ? ListLength(w.base[1]) : 0.0;
    if (w.length[1] == 0.0)
        w.length[1] = w.length[0];
    const bool odd = w.n % 2 == 1;
    w.die = w.m.dieWidth > kTiny && w.n >= 2
            && ((!w.closed && odd) || (w.closed && (w.path.outward[0] == 1 || w.m.innerDieSupport != 0)));
    w.stepOnce = w.die && w.m.dieStepOn != 0 && w.n > 1;
}

// Two-profile paths: the shorter surface's length is scaled by the ratio
// of the lengths, so both surfaces part at corresponding points.
void ScaledWidths(const PassWork& w, double width, double out[2])
{
    out[0] = out[1] = width;
    if (w.mode != 2 || w.length[0] == w.length[1])
        return;
    if (w.length[0] <= w.length[1] && w.length[1] > 0.0)
        out[0] = width * w.length[0] / w.length[1];
    else if (w.length[0] > 0.0)
        out[1] = width * w.length[1] / w.length[0];
}

// The element that ends at a split place: the first piece, or the element
// before when the place is the start of an element.
int EndingAt(int index, const SplitPlace& place)
{
    return place.fraction > 0.0 ? index : index - 1;
}

int SplitForDie(PassWork& w)
{
    ScaledWidths(w, w.m.dieWidth, w.dieWidth);
    if (w.length[0] <= w.dieWidth[0] || (w.mode == 2 && w.length[1] <= w.dieWidth[1]))
        return kPassDieTooWide;
    SplitPlace place;
    const int i = LocateTrailDistance(w.base[0], 1, 0, w.dieWidth[0], place);
    const int k = i < 0 ? -1 : EndingAt(i, place);
    if (k < 0)
        return kPassDieSplit;
    w.base[0][k].role = kRoleDieMark;
    if (w.mode != 2) {
        if (w.S == 2)
            w.base[1] = w.base[0];
        return kPathOk;
    }
    const int j = SplitTrailSegment(w.base[1], 1, place.index, 0, place.fraction);
    const int u = j < 0 ? -1 : EndingAt(j, place);
    if (u < 0 || u >= w.base[1].GetSize())
        return kPassDieSplit;
    w.base[1][u].role = kRoleDieMark;
    return kPathOk;
}

void ShiftIncline(PassWork& w)
{
    if (w.mode == 4)
        ApplyInclineShift(w.s, w.base[w.s.inclineOnLower ? 0 : 1], w.sx, w.sy);
}

// Pass p lies at the compensation plus its allowance; the upper surface of
// a taper adds the taper term.
int OffsetPasses(PassWork& w, int failure)
{
    for (int s = 0; s < w.S; ++s) {
        for (int p = 0; p < w.n; ++p) {
            const int r = CheckedOffsetForCutMode(w.s, s == 1, w.base[s], w.main[p][s], w.path.outward[s], w.side,
                                                  w.closed, w.req.compensation, w.m.passCuts[p].allowance,
                                                  w.path.outward[s]);
            if (r != kOffsetOk)
                return failure;
        }
    }
    if (w.S == 2)
        for (int p = 0; p < w.n; ++p)
            if (!w.main[p][0].IsEmpty())
                MergeTrailPair(w.main[p][0], w.main[p][1]);
    return kPathOk;
}

// Trim passes start p x W further along (closed cuts): the start point is
// kept, as corner clearing may still insert elements before it.
void SplitForTrimShift(PassWork& w)
{
    if (!w.closed || w.m.trimLeadOn == 0 || !(w.m.trimLeadLength > 0.0))
        return;
    double width[2];
    ScaledWidths(w, w.m.trimLeadLength, width);
    for (int p = 1; p < w.n; ++p) {
        SplitPlace place;
        const int i = LocateTrailDistance(w.main[p][0], 0, 0, p * width[0], place);
        if (i < 0 || i >= w.main[p][0].GetSize())
            continue;
        w.trimStart[p] = ElementStartPoint(w.main[p][0][i]);
        if (w.S == 2 && !w.main[p][1].IsEmpty())
            SplitTrailSegment(w.main[p][1], 0, place.index, 0, place.fraction);
    }
}

void ClearPassCorners(PassWork& w)
{
    if (w.mode == 2 || !(w.s.clearCornerAngle > 0.0 && w.s.clearCornerLeadLength > 0.0))
        return;
    for (int p = 0; p < w.n; ++p) {
        if (w.m.cornerCuts[p] == 0)
            continue;
        x_TrailDataArray out[2];
        if (!ClearCorners(w.s, w.main[p], w.S, out, w.closed, w.path.outward[0], w.req.compSide)) {
            w.cornerFailed = true;
            continue;
        }
        w.main[p][0] = out[0];
        w.main[p][1] = out[1];
    }
}

// What pass p of surface s was built to be: its base contour at the
// compensation plus the pass's allowance, the upper surface of a taper
// with the taper term.
SurfaceIntent PassIntent(const PassWork& w, int p, int s)
{
    SurfaceIntent intent;
    intent.set = true;
    intent.side = w.side;
    const double base = w.req.compensation, extra = w.m.passCuts[p].allowance;
    intent.offset = base + extra;
    if (s == 1 && w.mode == 1) {
        intent.offset = TaperOffset(w.s, base, extra, w.path.outward[1]);
    } else if (s == 1 && w.mode == 3) {
        intent.perElementTaper = true;
        intent.negate = w.path.outward[1] != 0;
        intent.thickness = w.s.thickness;
    }
    return intent;
}

int Refuse(PassWork& w, PathCheckResult r, int p, int s)
{
    r.pass = p + 1;
    r.surface = s;
    w.path.check = r;
    return kPathCheckRefused;
}

// Each pass as finished, corners cleared, against its base contour; the
// parts, links and leads that follow only reorder and join its elements.
int CheckPasses(PassWork& w)
{
    for (int p = 0; p < w.n; ++p) {
        for (int s = 0; s < w.S; ++s) {
            const x_TrailDataArray& list = w.main[p][s];
            PathCheckResult r = CheckJoints(list);
            if (r.Ok())
                r = CheckContour(list.GetData(), list.GetSize(), list.GetSize(), w.base[s], PassIntent(w, p, s),
                                 w.closed != 0);
            if (!r.Ok())
                return Refuse(w, r, p, s);
        }
        const x_TrailDataArray (&pass)[2] = w.main[p];
        if (w.S == 2 && w.closed && !SameOrientation(pass[0].GetData(), pass[0].GetSize(), pass[1].GetData(),
                                                     pass[1].GetSize())) {
            PathCheckResult r;
            r.fault = kCheckOrientation;
            return Refuse(w, r, p, 1);
        }
    }
    return kPathOk;
}

void Rotate(x_TrailDataArray& list, int at)
{
    if (at <= 0 || at >= list.GetSize())
        return;
    x_TrailDataArray rotated;
    rotated.SetSize(0, list.GetSize());
    for (int i = at; i < list.GetSize(); ++i)
        rotated.Add(list[i]);
    for (int i = 0; i < at; ++i)
        rotated.Add(list[i]);
    list = rotated;
}

int StartIndex(const x_TrailDataArray& list, const x_Vector& at)
{
    if (!at.valid)
        return 0;
    for (int i = 0; i < list.GetSize(); ++i)
        if (list[i].role == 0 && ElementStartPoint(list[i]).IsEqual(at))
            return i;
    return 0;
}

// With die support each pass's contour splits after its 'P' element (the
// mark has done its work and becomes a contour element again); trim passes
// rotate to their own start.
void SplitMainAndSupport(PassWork& w)
{
    for (int p = 0; p < w.n; ++p) {
        const int at = w.die ? -1 : StartIndex(w.main[p][0], w.trimStart[p]);
        for (int s = 0; s < w.S; ++s) {
            x_TrailDataArray& list = w.main[p][s];
            if (!w.die) {
                Rotate(list, at);
                continue;
            }
            int k = -1;
            for (int i = 0; i < list.GetSize() && k < 0; ++i)
                if (list[i].role == kRoleDieMark)
                    k = i;
            if (k < 0)
                continue;
            list[k].role = 0;
            for (int i = k + 1; i < list.GetSize(); ++i)
                w.support[p][s].Add(list[i]);
            list.SetSize(k + 1);
        }
    }
}

x_TrailDataArray AfterDieMark(const x_TrailDataArray& base)
{
    x_TrailDataArray part;
    bool after = false;
    for (const x_TrailData& e : base) {
        if (after)
            part.Add(e);
        after = after || e.role == kRoleDieMark;
    }
    return part;
}

// The support is cut once, by the last pass, at the step offset.
int CutStepOnce(PassWork& w)
{
    if (!w.stepOnce)
        return kPathOk;
    for (int p = 0; p + 1 < w.n; ++p)
        for (int s = 0; s < 2; ++s)
            w.support[p][s].RemoveAll();
    if (w.m.dieStepOffset == 0.0)
        return kPathOk;
    x_TrailDataArray (&last)[2] = w.support[w.n - 1];
    for (int s = 0; s < w.S; ++s) {
        const x_TrailDataArray part = AfterDieMark(w.base[s]);
        const int r = OffsetTrailForCutMode(w.s, s == 1, part, last[s], w.path.outward[s], w.side, 0,
                                            w.req.compensation, w.m.dieStepOffset, w.path.outward[s]);
        if (r != kOffsetOk)
            return kPassStepOffset;
    }
    if (w.S == 2)
        MergeTrailPair(last[0], last[1]);
    return kPathOk;
}

x_TrailDataArray Slice(const x_TrailDataArray& list, int from, int to)
{
    x_TrailDataArray out;
    for (int i = std::max(from, 0); i < to && i < list.GetSize(); ++i)
        out.Add(list[i]);
    return out;
}

// The over-cut piece runs past the closing point of the last pass: from
// its start when that pass runs forward (n odd), before its end otherwise.
int TakeOverCut(PassWork& w)
{
    if (!(std::fabs(w.s.overCut) > 0.0) || !w.closed)
        return kPathOk;
    const bool odd = w.n % 2 == 1;
    const int fromEnd = odd ? 0 : 1;
    x_TrailDataArray lists[2] = {w.main[w.n - 1][0], w.main[w.n - 1][1]};
    SplitPlace place;
    const int f = LocateTrailDistance(lists[0], fromEnd, 0, w.s.overCut, place);
    if (f < 0)
        return kPathOk;
    const int g = w.S == 2 && !lists[1].IsEmpty()
                      ? SplitTrailSegment(lists[1], fromEnd, place.index, 0, place.fraction) : -1;
    const int after = place.fraction > 0.0 ? 1 : 0;
    w.overCut[0] = odd ? Slice(lists[0], 0, f) : Slice(lists[0], f + after, lists[0].GetSize());
    if (g >= 0)
        w.overCut[1] = odd ? Slice(lists[1], 0, g) : Slice(lists[1], g + after, lists[1].GetSize());
    w.hasOverCut = !w.overCut[0].IsEmpty();
    if (!w.hasOverCut || !(w.m.dieStepOffset > 0.0))
        return kPathOk;
    // The piece already lies at the last pass's distance: only the step
    // offset is added (offsetting it by the compensation again would put it
    // a second compensation away).
    for (int s = 0; s < w.S; ++s) {
        if (w.overCut[s].IsEmpty())
            continue;
        x_TrailDataArray moved;
        if (OffsetTrail(kOffsetTaper, 0, w.overCut[s], moved, 0, w.side, w.m.dieStepOffset) != kOffsetOk)
            return kPassOverCutOffset;
        w.overCut[s] = moved;
    }
    if (w.S == 2)
        MergeTrailPair(w.overCut[0], w.overCut[1]);
    return kPathOk;
}

// With die support or on open cuts the passes run back and forth.
void AlternateDirections(PassWork& w)
{
    if (w.closed && !w.die)
        return;
    for (int p = 1; p < w.n; p += 2)
        for (int s = 0; s < w.S; ++s) {
            ReverseList(w.main[p][s]);
            ReverseList(w.support[p][s]);
        }
}

void MarkLast(x_TrailDataArray& list)
{
    if (!list.IsEmpty())
        list[list.GetSize() - 1].attribute = 1;
}

void PauseBeforeParting(PassWork& w)
{
    if (w.m.pauseBeforeCutOff == 0)
        return;
    const double d = w.m.cutOffPauseDistance;
    if (!w.die) {
        if (!MarkPauseAt(w.main[0], w.S, d))
            MarkLast(w.main[0][0]);
        return;
    }
    const int p = w.stepOnce ? w.n - 1 : 0;
    if (d >= w.dieWidth[0]) {
        MarkLast(w.main[p][0]);
        return;
    }
    if (MarkPauseAt(w.support[p], w.S, d))
        return;
    if (w.stepOnce && w.hasOverCut)
        w.pauseAfterOverCutOut = true;
    else
        MarkLast(w.support[p][0]);
}

int BuildPassParts(PassWork& w)
{
    SetUp(w);
    int r = kPathOk;
    if (w.die) {
        r = SplitForDie(w);
        if (r != kPathOk)
            return r;
        ShiftIncline(w);
        r = OffsetPasses(w, kPassOffsetWithDie);
    } else {
        ShiftIncline(w);
        r = OffsetPasses(w, kPassOffset);
        if (r == kPathOk)
            SplitForTrimShift(w);
    }
    if (r != kPathOk)
        return r;
    ClearPassCorners(w);
    if ((r = CheckPasses(w)) != kPathOk)
        return r;
    SplitMainAndSupport(w);
    if ((r = CutStepOnce(w)) != kPathOk || (r = TakeOverCut(w)) != kPathOk)
        return r;
    AlternateDirections(w);
    PauseBeforeParting(w);
    return kPathOk;
}

} // namespace

void ReverseList(x_TrailDataArray& list)
{
    x_TrailDataArray reversed;
    AppendReversed(reversed, list, 0, list.GetSize());
    list = reversed;
}

bool MarkPauseAt(x_TrailDataArray (&lists)[2], int surfaces, double d)
{
    x_TrailDataArray& lower = lists[0];
    if (lower.IsEmpty() || !(d > 0.0))
        return false;
    SplitPlace place;
    const int i = LocateTrailDistance(lower, 1, 1, d, place);
    const int k = i < 0 ? -1 : EndingAt(i, place);
    if (k < 0)
        return false;
    lower[k].attribute = 1;
    if (surfaces == 2 && !lists[1].IsEmpty() && place.fraction > 0.0)
        SplitTrailSegment(lists[1], 1, place.index, 1, place.fraction);
    return true;
}

int BuildPasses(const PathSettings& s, const PassRequest& request, TrailPath& path, bool& cornerFailed)
{
    PassWork w(s, request, path);
    int r = BuildPassParts(w);
    cornerFailed = w.cornerFailed;
    if (r == kPathOk)
        r = AssemblePasses(w);
    for (int s = 0; s < 2 && r == kPathOk; ++s) {
        const PathCheckResult joints = CheckJoints(path.lists[s]);
        if (!joints.Ok())
            r = Refuse(w, joints, -1, s);
    }
    return r;
}

CString PassFailureText(int code)
{
    CString text;
    switch (code) {
    case kPassDieTooWide:
    case kPassDieSplit:
        text.Format(u"#轨迹生成失败，模台宽度过大! code：%d", code);
        break;
    case kPassToolChange:
        text.Format(u"#轨迹生成失败，模台前换刀参数错误! code：%d", code);
        break;
    case kPassStepOffset:
    case kPassOverCutOffset:
    case kPassListsDiffer:
        text.Format(u"#轨迹生成失败，请检查参数 code：%d", code);
        break;
    default:
        text.Format(u"#轨迹生成失败，请检查参数! code：%d", code);
        break;
    }
    return text;
}
