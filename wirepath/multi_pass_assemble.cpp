// Multi-pass finishing, from the parts of each pass to the path: clean-up,
// the tool change before the die support, assembly with link moves, the
// end point, the lead lines and the last checks.

#include <cmath>

#include "wirepath/contour_build.h"
#include "wirepath/multi_pass_work.h"
#include "wirepath/path_codes.h"
#include "wirepath/trail_lists.h"
#include "wirepath/trail_metrics.h"
#include "wirepath/trail_offset.h"

namespace {

constexpr double kSamePoint = 0.001;

void CleanUp(PassWork& w)
{
    w.path.lists[0].RemoveAll();
    w.path.lists[1].RemoveAll();
    for (int p = 0; p < w.n; ++p) {
        if (w.S == 2) {
            RemoveZeroLengthPairs(w.main[p][0], w.main[p][1]);
            RemoveZeroLengthPairs(w.support[p][0], w.support[p][1]);
        } else {
            RemoveZeroLengthLines(w.main[p][0]);
            RemoveZeroLengthLines(w.support[p][0]);
        }
        for (int s = 0; s < w.S; ++s)
            for (x_TrailData& e : w.main[p][s])
                e.subKind = 0;
    }
}

bool AnySupport(const PassWork& w)
{
    for (int p = 0; p < w.n; ++p)
        if (!w.support[p][0].IsEmpty())
            return true;
    return false;
}

// The stretch of the last pass next to the die support is cut with the
// first pass's parameters (a fresh wire before the support).
int ChangeToolBeforeDie(PassWork& w)
{
    double wt = w.m.wireChangeDistance;
    if (w.m.wireChangeBeforeDie == 0 || !(wt > 0.0) || !w.die || !AnySupport(w))
        return kPathOk;
    if (w.S == 2 && w.length[0] <= w.length[1] && w.length[1] > 0.0)
        wt *= w.length[0] / w.length[1];
    const bool odd = w.n % 2 == 1;
    const int fromEnd = odd ? 1 : 0;
    x_TrailDataArray (&last)[2] = w.main[w.n - 1];
    SplitPlace place;
    const int i = LocateTrailDistance(last[0], fromEnd, 0, wt, place);
    if (i < 0)
        return kPassToolChange;
    if (w.S == 2 && !last[1].IsEmpty())
        SplitTrailSegment(last[1], fromEnd, place.index, 0, place.fraction);
    const int after = place.fraction > 0.0 ? 1 : 0;
    for (int s = 0; s < w.S; ++s) {
        x_TrailDataArray& list = last[s];
        const int from = odd ? i + after : 0, to = odd ? list.GetSize() : i;
        for (int k = from; k < to && k < list.GetSize(); ++k)
            list[k].subKind = 1;
    }
    return kPathOk;
}

x_TrailData& Last(x_TrailDataArray& list)
{
    return list[list.GetSize() - 1];
}

void Link(x_TrailDataArray& list, std::uint8_t subKind, std::uint8_t role, const x_TrailData& next)
{
    if (!list.IsEmpty())
        TrailSegmentPoint(list, subKind, role, Last(list), next, false);
}

bool PauseAfterPass(const PassWork& w, int p)
{
    return (w.die && w.m.pauseBeforeStep != 0 && p == w.n - 1) || (w.m.pauseAfterFirstCut != 0 && p == 0)
           || (w.m.fastWireCoding && w.m.pauseAtWireChange != 0);
}

void AppendMains(PassWork& w, int s, x_TrailDataArray& out)
{
    for (int p = 0; p < w.n; ++p) {
        const x_TrailDataArray& part = w.main[p][s];
        if (part.IsEmpty())
            continue;
        Link(out, static_cast<std::uint8_t>(p + 1), 0, part[0]);
        // Only the die-support mark returns to a contour element; corner
        // excursions keep role 7 (made 0, they counted in the cut length).
        for (x_TrailData e : part) {
            if (e.role == kRoleDieMark)
                e.role = 0;
            e.subKind = e.subKind == 0 ? static_cast<std::uint8_t>(p + 1) : 1;
            out.Add(e);
        }
        if (PauseAfterPass(w, p))
            Last(out).attribute = 1;
    }
}

void AppendMoves(x_TrailDataArray& out, const x_TrailDataArray& moves, std::uint8_t subKind)
{
    if (moves.IsEmpty())
        return;
    Link(out, subKind, kRoleLink, moves[0]);
    for (x_TrailData e : moves) {
        e.role = kRoleLink;
        e.tag = 0;
        e.subKind = subKind;
        out.Add(e);
    }
}

void AppendSupports(PassWork& w, int s, x_TrailDataArray& out)
{
    int count = 0;
    for (int p = 0; p < w.n; ++p)
        count += w.support[p][0].IsEmpty() ? 0 : 1;
    for (int p = 0; p < w.n; ++p) {
        if (w.support[p][s].IsEmpty())
            continue;
        AppendMoves(out, w.support[p][s], static_cast<std::uint8_t>(count == 1 ? 1 : p + 1));
        if (p == w.n - 1 && w.m.pauseAfterStep != 0)
            Last(out).attribute = 1;
    }
}

// Out over the start and back: piece then its reversal when the last pass
// runs forward, the other way round otherwise.
void AppendOverCut(PassWork& w, int s, x_TrailDataArray& out)
{
    if (!w.hasOverCut || w.overCut[s].IsEmpty())
        return;
    x_TrailDataArray reversed = w.overCut[s];
    ReverseList(reversed);
    const bool odd = w.n % 2 == 1;
    const x_TrailDataArray& outward = odd ? w.overCut[s] : reversed;
    AppendMoves(out, outward, 1);
    if (w.pauseAfterOverCutOut)
        Last(out).attribute = 1;
    AppendMoves(out, odd ? reversed : w.overCut[s], 1);
}

void AppendSupportAgain(PassWork& w, int s, x_TrailDataArray& out)
{
    if (!w.closed || !w.die || w.n % 2 != 0 || w.support[w.n - 1][s].IsEmpty())
        return;
    x_TrailDataArray again = w.support[w.n - 1][s];
    ReverseList(again);
    for (x_TrailData& e : again)
        e.attribute = 0;
    AppendMoves(out, again, static_cast<std::uint8_t>(w.n));
}

void Assemble(PassWork& w)
{
    for (int s = 0; s < w.S; ++s) {
        x_TrailDataArray& out = w.path.lists[s];
        AppendMains(w, s, out);
        AppendSupports(w, s, out);
        AppendOverCut(w, s, out);
        AppendSupportAgain(w, s, out);
    }
    // An open cut with an even number of passes ends where it started.
    w.returns = w.n > 1 && w.n % 2 == 0 && !w.closed;
}

x_TrailData LeadElement(const x_Vector& a, const x_Vector& b, std::uint8_t role)
{
    x_TrailData e;
    e.role = role;
    e.subKind = 1;
    e.kind = 1;
    e.start = a;
    e.end = b;
    return e;
}

bool Apart(const x_Vector& a, const x_Vector& b)
{
    return std::fabs(a.x - b.x) >= kSamePoint || std::fabs(a.y - b.y) >= kSamePoint;
}

void PlainLeads(PassWork& w, const x_Vector& thread, const x_Vector& end)
{
    for (int s = 0; s < w.S; ++s) {
        x_TrailDataArray& list = w.path.lists[s];
        if (list.IsEmpty())
            continue;
        const x_Vector first = ElementStartPoint(list[0]);
        list.InsertAt(0, LeadElement(thread, first, 1));
        const x_Vector last = ElementEndPoint(Last(list));
        if ((w.closed || w.returns) && Apart(last, first))
            list.Add(LeadElement(last, first, kRoleLink));
        const x_Vector z = ElementEndPoint(Last(list));
        list.Add(LeadElement(z, w.m.endAfterCutOff != 0 ? z : end, 1));
    }
}

double InclineValue(const PassWork& w, double value)
{
    if (value == 0.0)
        return 0.0;
    return w.m.inclineAsDistances != 0 ? value : std::tan(value * kPi / 180.0) * w.m.thickness;
}

void AddPassLeads(PassWork& w)
{
    const x_Vector thread = w.req.pickPoints[0];
    const x_Vector end = w.returns ? thread : w.req.pickPoints[3];
    LeadLines lead;
    lead.in.p1 = thread;
    lead.out.p2 = end;
    const bool swap = w.m.inclineSwapSurfaces != 0, first = w.m.inclineEntryFirst != 0;
    const bool pause = first && w.m.pauseAfterIncline != 0, endAt = w.m.endAfterCutOff != 0;
    if (w.mode == 4) {
        if (first) {
            AddLeadLines(w.path, lead, swap, pause, w.sx, w.sy, endAt);
        } else {
            AddLeadInOut(w.path, 0, lead, endAt ? 1 : 0);
            AddLeadInOut(w.path, 1, lead, endAt ? 1 : 0);
        }
        return;
    }
    const bool profileShift = w.mode == 2 && (w.m.profileUsesIncline != 0 || w.m.profileNoMerge != 0);
    if (!(w.mode == 1 && w.m.taperUsesIncline != 0) && !(w.mode == 3 && w.m.varTaperUsesIncline != 0)
        && !profileShift) {
        PlainLeads(w, thread, end);
        return;
    }
    double sx = 0.0, sy = 0.0;
    if (w.mode == 2 && w.m.profileUsesIncline != 0) {
        sx = InclineValue(w, w.m.inclineAngleX);
        sy = InclineValue(w, w.m.inclineAngleY);
    } else if (w.mode == 2) {
        const x_Vector d = w.path.params.threadPoint[1] - w.path.params.threadPoint[0];
        sx = d.x;
        sy = d.y;
    } else {
        ApplyInclineShift(w.s, w.path.lists[swap ? 0 : 1], sx, sy);
    }
    AddLeadLines(w.path, lead, swap, pause, sx, sy, endAt);
}

} // namespace

int AssemblePasses(PassWork& w)
{
    CleanUp(w);
    const int r = ChangeToolBeforeDie(w);
    if (r != kPathOk)
        return r;
    Assemble(w);
    AddPassLeads(w);
    x_TrailDataArray& lower = w.path.lists[0];
    x_TrailDataArray& upper = w.path.lists[1];
    if (w.S == 2 && lower.GetSize() != upper.GetSize())
        return kPassListsDiffer;
    CopySegmentAttribute(lower, upper);
    TrailParams& p = w.path.params;
    p.multiPass = w.m.multiPass;
    for (int k = 0; k < kPasses; ++k)
        p.cuts[k] = w.m.passCuts[k];
    p.cutCount = w.n;
    ComputeTrailMetrics(w.path);
    p.surfaceCount = upper.IsEmpty() ? 1 : 2;
    w.path.temporary = 0;
    w.path.complete = 1;
    return kPathOk;
}
