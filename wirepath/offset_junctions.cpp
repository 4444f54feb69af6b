// The junction passes of the offset: overlaps, joins and corner arcs, loop
// cutting, re-joining cut runs and the final junction pass.

#include <algorithm>
#include <cmath>

#include "geometry/curve_helpers.h"
#include "geometry/entity_edits.h"
#include "geometry/intersect.h"
#include "geometry/plane_geometry.h"
#include "wirepath/offset_join.h"
#include "wirepath/offset_work.h"
#include "wirepath/path_check.h"
#include "wirepath/trail_metrics.h"
#include "wirepath/trail_offset.h"

namespace {

constexpr double kGap = 0.005;              // a chain counts as broken from here
constexpr int kLoopGroupReach = 15;         // loop cutting looks this many groups back
constexpr double kRoundingStep = 1e-9;      // mm: ends this close already meet
// mm: ends that agree (0.001 in x and y) lie up to 0.0014 apart; their
// carriers' meeting, when it is the joint, lies about as near where they
// cross square, farther at a shallower angle (see JoinSharp).
constexpr double kSharpReach = 0.002;
constexpr double kJoinRule = 0.001;         // mm: ends this close are one point
constexpr double kShallowestCrossing = 0.25;    // sin: the reach grows to 0.008 at most

// Join on copies; written back only on success.
int TryJoin(OffsetWork& wk, int i, int j, x_Vector& p, std::uint8_t flag)
{
    x_TrailData a = wk.w[i], b = wk.w[j];
    const int r = JoinOffsetElements(a, b, p, flag);
    if (r == kJoined) {
        wk.w[i] = a;
        wk.w[j] = b;
    }
    return r;
}

int FirstUsable(const OffsetWork& wk, int from, int to)
{
    for (int k = from; k <= to; ++k)
        if (IsUsable(wk.w[k]))
            return k;
    return -1;
}

int LastUsable(const OffsetWork& wk, int from, int downTo)
{
    for (int k = from; k >= downTo; --k)
        if (IsUsable(wk.w[k]))
            return k;
    return -1;
}

bool Differs(const x_Vector& a, const x_Vector& b, double by)
{
    return std::fabs(a.x - b.x) >= by || std::fabs(a.y - b.y) >= by;
}

// Axis boxes grown by what the exact hit tests forgive: a line passes
// points whose distance sum exceeds its length by less than 0.001.
struct Box {
    double x0, y0, x1, y1;
    bool Overlaps(const Box& o) const { return x0 <= o.x1 && o.x0 <= x1 && y0 <= o.y1 && o.y0 <= y1; }
};

Box TolerantBox(const x_TrailData& e)
{
    x_Vector a = e.StartPoint(), b = e.EndPoint();
    double grow = 0.002;
    if (e.IsLine()) {
        grow += std::sqrt(0.0005 * x_Vector::Distance(a, b));
    } else {
        // The whole circle: cheaper than the arc's box and never too small.
        a = e.centre - x_Vector(e.radius, e.radius);
        b = e.centre + x_Vector(e.radius, e.radius);
    }
    return {std::min(a.x, b.x) - grow, std::min(a.y, b.y) - grow, std::max(a.x, b.x) + grow,
            std::max(a.y, b.y) + grow};
}

// Joins on both elements need the two to come near each other.
bool MayMeet(const OffsetWork& wk, int i, int j)
{
    return TolerantBox(wk.w[i]).Overlaps(TolerantBox(wk.w[j]));
}

void ApplyCornerArcs(OffsetWork& wk, std::vector<std::pair<int, x_TrailData>>& corners);
bool JoinSharp(OffsetWork& wk, int a, int b, x_Vector& p);

// The corner arc from ea (leaving at angle exitA) to sb (entered against
// entryB), bulging to side n; a half circle over the chord when the
// tangent construction fails.
bool ConnectingArcFor(ArcRecord& arc, int n, const x_Vector& ea, double exitA, const x_Vector& sb,
                      double entryB, double offset, const x_Vector& corner)
{
    if (ConnectingArc(arc, n, ea, ea + x_Vector::FromPolar(10.0, exitA), sb,
                      sb + x_Vector::FromPolar(10.0, entryB), offset, corner))
        return true;
    const x_Vector m = (ea + sb) / 2.0;
    const double theta = x_Vector::AngleTo(ea, sb) + (n == 2 ? kPi / 2 : -kPi / 2);
    const x_Vector apex = m + x_Vector::FromPolar(x_Vector::Distance(ea, sb) / 2.0, theta);
    if (!ArcFromThreePoints(arc, ea, apex, sb))
        return false;
    return SweepAngleAbs(arc.direction, arc.startAngle, arc.endAngle) < kTwoPi;
}

} // namespace

bool OverlapSearchAtJunctions(OffsetWork& wk)
{
    return ForEachJunction(wk, [&](const Junction& jn) {
        for (int m = jn.f2; m <= jn.l2; ++m) {
            if (!IsUsable(wk.w[m]))
                continue;
            const x_Vector sm = wk.w[m].StartPoint();
            for (int p = jn.l1; p >= jn.f1; --p) {
                if (!IsUsable(wk.w[p]))
                    continue;
                if (Meets(wk.w[p].EndPoint(), sm))
                    break;
                if (!MayMeet(wk, p, m))
                    continue;
                x_Vector at;
                if (JoinSharp(wk, p, m, at)) {
                    CollapseBetween(wk, p, m, at);
                    return true;
                }
            }
        }
        return true;
    });
}

namespace {

// Moves an element's start (or end) onto p; an arc by its angle.
void MoveStart(x_TrailData& e, const x_Vector& p)
{
    if (e.IsLine())
        e.start = p;
    else
        e.startAngle = (p - e.centre).Angle();
}

void MoveEnd(x_TrailData& e, const x_Vector& p)
{
    if (e.IsLine())
        e.end = p;
    else
        e.endAngle = (p - e.centre).Angle();
}

void MarkRun(OffsetWork& wk, int first, int last, std::uint8_t mark)
{
    for (int k = first; k <= last; ++k)
        wk.w[k].joinMark = mark;
}

} // namespace

namespace {

// Where the carriers of two elements meet nearest to p.
bool CarrierMeeting(const x_TrailData& a, const x_TrailData& b, const x_Vector& p, x_Vector& at)
{
    auto lineOf = [](const x_TrailData& e) {
        x_LineData l;
        l.p1 = e.start;
        l.p2 = e.end;
        return l;
    };
    // Two lines meet once at most; asked at nearly every joint, so no list.
    if (a.IsLine() && b.IsLine())
        return LineLinePoint(lineOf(a), lineOf(b), 0, at);
    x_VectorList hits;
    if (a.IsArc() && b.IsArc())
        hits = IntersectArcArc(ArcOf(a), ArcOf(b));
    else
        hits = IntersectLineArc(ArcOf(a.IsArc() ? a : b), lineOf(a.IsLine() ? a : b));
    bool found = false;
    for (const x_Vector& h : hits.points) {
        if (!found || x_Vector::Distance(h, p) < x_Vector::Distance(at, p))
            at = h;
        found = true;
    }
    return found;
}

// The unit direction of travel through a point of an element's carrier.
x_Vector TravelAt(const x_TrailData& e, const x_Vector& p)
{
    if (e.IsLine()) {
        const x_Vector d = e.end - e.start;
        const double len = d.Length();
        return len > 0.0 ? d / len : x_Vector(0.0, 0.0);
    }
    const x_Vector r = p - e.centre;
    const double len = r.Length();
    if (!(len > 0.0))
        return x_Vector(0.0, 0.0);
    return e.direction != 0 ? x_Vector(r.y, -r.x) / len : x_Vector(-r.y, r.x) / len;
}

// A joint on both elements (flag 1). Taken where the ends agreed within
// 0.001, it moves to where the two carriers meet when that is near: the
// later element's start stood there instead, up to 0.0014 off the earlier
// one's line, and a loop cut there left the path 0.0011 mm from its offset.
// Carriers crossing at an angle a meet up to 0.0014 / sin a from such ends
// (the two flanks' offsets in a gear's notch, 30 degrees apart: 0.0024).
bool JoinSharp(OffsetWork& wk, int a, int b, x_Vector& p)
{
    const x_TrailData ea = wk.w[a], eb = wk.w[b];
    if (TryJoin(wk, a, b, p, 1) != kJoined)
        return false;
    x_Vector at;
    if (!CarrierMeeting(ea, eb, p, at) || at == p)
        return true;
    const x_Vector u = TravelAt(ea, at), v = TravelAt(eb, at);
    const double crossing = std::max(std::fabs(u.x * v.y - u.y * v.x), kShallowestCrossing);
    if (x_Vector::Distance(at, p) >= kSharpReach / crossing)
        return true;
    at.valid = 1;
    MoveEnd(wk.w[a], at);
    MoveStart(wk.w[b], at);
    p = at;
    return true;
}

// Ends that agree within 0.001 but not exactly are joined where the two
// carriers meet (a miter exact to the last digit) when that point lies
// within 0.001 of both ends, else at the start of the later element. They
// used to be left apart, a step of up to 0.0007 mm in the contour.
// Whether moving a line's end (or start) onto p turns it round.
bool TurnsRound(const x_TrailData& e, const x_Vector& p, bool end)
{
    if (!e.IsLine())
        return false;
    const x_Vector d = e.end - e.start, kept = end ? p - e.start : e.end - p;
    return d.x * kept.x + d.y * kept.y < 0.0;
}

// Where the point would turn a line round, nothing is moved unless forced,
// and the side that would turn is returned (1 the first, 2 the second);
// else 0.
int CloseSmallStep(OffsetWork& wk, int i, int j, bool force = false)
{
    x_TrailData& a = wk.w[i];
    x_TrailData& b = wk.w[j];
    const x_Vector ea = a.EndPoint(), sb = b.StartPoint();
    // Ends a rounding apart (tangent neighbours) stay as they are.
    if (x_Vector::Distance(ea, sb) < kRoundingStep)
        return 0;
    x_Vector p = sb, at;
    if (CarrierMeeting(a, b, (ea + sb) / 2.0, at) && Meets(at, ea) && Meets(at, sb))
        p = at;
    const int turned = TurnsRound(a, p, true) ? 1 : TurnsRound(b, p, false) ? 2 : 0;
    if (turned != 0 && !force)
        return turned;
    p.valid = 1;
    MoveEnd(a, p);
    MoveStart(b, p);
    return 0;
}

} // namespace

namespace {

// The direction of travel along e where it ends (or starts), 0 to 2 pi.
double TravelAngle(const x_TrailData& e, double arcAngle)
{
    if (e.IsLine())
        return x_Vector::AngleTo(e.start, e.end);
    const double t = e.direction != 0 ? arcAngle - kPi / 2 : arcAngle + kPi / 2;
    return t >= kTwoPi ? t - kTwoPi : (t < 0.0 ? t + kTwoPi : t);
}

double ExitAngle(const x_TrailData& e)
{
    return TravelAngle(e, e.endAngle);
}

double EntryAngle(const x_TrailData& e)
{
    return TravelAngle(e, e.startAngle);
}

// Whether the gap from element i's end to element j's start, next to each
// other in the input, goes round the outside of the corner between them:
// both ends lie the offset from it, on the side the contour turns away
// from. A straight line there passes nearer to the corner than the offset.
bool GoesRoundConvexCorner(const OffsetWork& wk, int i, int j)
{
    if ((i + 1) % wk.Count() != j)
        return false;
    const x_Vector c = wk.in[j].StartPoint();
    const x_Vector ea = wk.w[i].EndPoint(), sb = wk.w[j].StartPoint();
    const double d = std::fabs(wk.offset);
    if (std::fabs(x_Vector::Distance(ea, c) - d) > kJoinRule || std::fabs(x_Vector::Distance(sb, c) - d) > kJoinRule)
        return false;
    const x_Vector ta = x_Vector::FromPolar(1.0, ExitAngle(wk.in[i]));
    const x_Vector tb = x_Vector::FromPolar(1.0, EntryAngle(wk.in[j]));
    const x_Vector out = ea - c;
    const double turn = ta.x * tb.y - ta.y * tb.x;
    const double left = ta.x * out.y - ta.y * out.x;
    return turn * left < 0.0;
}

// A line shorter than 0.001 next to an arc counts as degenerate to the join
// (a flank's last piece before a tip circle): the elements beyond such
// lines, within the two runs, are joined and the lines become points. The
// joint stayed open, and a line bridged it into the part.
bool JoinPastShortLines(OffsetWork& wk, const Junction& jn, int r, int i, int j, x_Vector& p)
{
    while (r == kJoinDegenerateA || r == kJoinDegenerateB) {
        if (r == kJoinDegenerateA)
            i = LastUsable(wk, i - 1, jn.f1);
        else
            j = FirstUsable(wk, j + 1, jn.l2);
        if (i < 0 || j < 0)
            return false;
        r = TryJoin(wk, i, j, p, 0);
        if (r == kJoined) {
            CollapseBetween(wk, i, j, p);
            return true;
        }
    }
    return false;
}

// A line whose join moved one end past the other.
bool TurnedRound(const x_TrailData& before, const x_TrailData& after)
{
    if (!after.IsLine() || !before.IsLine())
        return false;
    const x_Vector u = before.end - before.start, v = after.end - after.start;
    return u.x * v.x + u.y * v.y < 0.0;
}

// A line shorter than the trim of its joint with element i (or j) is
// turned round by it: the element beyond the line is joined instead, as
// past a short line, and the line becomes a point. The sliver was left,
// crossing its neighbour. False, with nothing changed, when nothing beyond
// meets.
bool JoinPastTurnedLine(OffsetWork& wk, const Junction& jn, bool firstTurned, int i, int j)
{
    x_Vector p;
    return JoinPastShortLines(wk, jn, firstTurned ? kJoinDegenerateA : kJoinDegenerateB, i, j, p);
}

bool ShortLine(const x_TrailData& e)
{
    return e.IsLine() && x_Vector::Distance(e.start, e.end) < 0.001;
}

// A line shorter than 0.001 that starts the current run (or ends the one
// before) after an arc: the arc may cross the element beyond it, the line
// being the end of a loop too small for the passes to see. Joined there on
// both, the line becomes a point. The two crossed, and the path was refused.
bool CrossPastShortLine(OffsetWork& wk, const Junction& jn, int i, int j)
{
    int a = i, b = j;
    if (wk.w[i].IsArc() && ShortLine(wk.w[j]))
        b = FirstUsable(wk, j + 1, jn.l2);
    else if (wk.w[j].IsArc() && ShortLine(wk.w[i]))
        a = LastUsable(wk, i - 1, jn.f1);
    else
        return false;
    if (a < 0 || b < 0)
        return false;
    x_Vector p;
    if (TryJoin(wk, a, b, p, 1) != kJoined)
        return false;
    CollapseBetween(wk, a, b, p);
    return true;
}

} // namespace

bool JoinAtJunctions(OffsetWork& wk, bool& failed)
{
    const int n = wk.Count();
    std::vector<std::pair<int, x_TrailData>> corners;
    const bool walked = ForEachJunction(wk, [&](const Junction& jn) {
        const int j = FirstUsable(wk, jn.f2, jn.l2);
        const int i = LastUsable(wk, jn.l1, jn.f1);
        if (i < 0 || j < 0)
            return true;
        if (Meets(wk.w[i].EndPoint(), wk.w[j].StartPoint())) {
            if (!CrossPastShortLine(wk, jn, i, j)) {
                const int turned = CloseSmallStep(wk, i, j);
                if (turned != 0 && !JoinPastTurnedLine(wk, jn, turned == 1, i, j))
                    CloseSmallStep(wk, i, j, true);
            }
            return true;
        }
        x_Vector p;
        // Joined on copies, written back below: a join that turns a line
        // round joins past it instead.
        x_TrailData ja = wk.w[i], jb = wk.w[j];
        int r = JoinOffsetElements(ja, jb, p, 0);
        if (r == kJoined) {
            const bool turnedA = TurnedRound(wk.w[i], ja);
            if ((turnedA || TurnedRound(wk.w[j], jb)) && JoinPastTurnedLine(wk, jn, turnedA, i, j))
                return true;
            wk.w[i] = ja;
            wk.w[j] = jb;
        }
        bool pastShortLine = false;
        if (r == kJoinDegenerateA || r == kJoinDegenerateB) {
            if (JoinPastShortLines(wk, jn, r, i, j, p))
                return true;
            // Nothing beyond the short line meets: a convex corner is
            // rounded as any other. A line bridged it, into the part.
            if (!GoesRoundConvexCorner(wk, i, j))
                return true;
            pastShortLine = true;
            r = kNoJoint;
        }
        switch (r) {
        case kJoined:
            CollapseBetween(wk, i, j, p);
            return true;
        case kJoinRefusedA:
            MoveStart(wk.w[j], p);
            MarkRun(wk, jn.f1, jn.l1, 10);
            return true;
        case kJoinRefusedB:
            MoveEnd(wk.w[i], p);
            MarkRun(wk, jn.f2, jn.l2, 10);
            return true;
        case kJoinBothReverse:
            MarkRun(wk, jn.f1, jn.l1, 10);
            MarkRun(wk, jn.f2, jn.l2, 10);
            return true;
        case kNoJoint:
            break;
        default:
            return true;
        }
        const x_TrailData& firstPrev = wk.w[jn.f1];
        const x_TrailData& firstCur = wk.w[jn.f2];
        if (firstPrev.joinMark != 0 && firstCur.joinMark != 0 && firstPrev.IsLine() && firstCur.IsLine())
            return true;
        if ((jn.f2 - jn.l1 + n) % n != 1)
            return true;
        x_TrailData corner;
        x_TrailData a = wk.w[i], b = wk.w[j];
        if (TransitionAngles(corner, wk.in.data(), n, jn.f2, a, b, wk.side, wk.offset) == 0) {
            if (pastShortLine)
                return true;
            failed = true;
            return false;
        }
        wk.w[i] = a;
        wk.w[j] = b;
        corner.group = wk.cornerCounter--;
        corner.tag = 100;
        corner.joinMark = 0;
        corner.role = 0;
        corners.emplace_back(jn.at == n ? n : jn.f2, corner);
        return true;
    });
    if (!walked || failed)
        return false;
    if (!corners.empty())
        ApplyCornerArcs(wk, corners);
    return true;
}

namespace {

// Inserts the corner arcs found by the join pass (each before the element
// at its index; n appends), keeping the input copy and the run table in
// step, and renumbers the groups.
void ApplyCornerArcs(OffsetWork& wk, std::vector<std::pair<int, x_TrailData>>& corners)
{
    const int n = wk.Count();
    std::stable_sort(corners.begin(), corners.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<x_TrailData> w, in;
    std::vector<x_TrailListPN> runs;
    std::vector<int> shift(static_cast<size_t>(n) + 1, 0);
    std::vector<std::uint8_t> inserted;
    w.reserve(static_cast<size_t>(n) + corners.size());
    in.reserve(w.capacity());
    runs.reserve(w.capacity());
    size_t c = 0;
    for (int k = 0; k <= n; ++k) {
        while (c < corners.size() && corners[c].first == k) {
            const int at = static_cast<int>(w.size());
            w.push_back(corners[c].second);
            x_TrailData place = k < n ? wk.in[k] : wk.in[n - 1];
            place.kind = 1;
            place.joinMark = 0;
            place.start = place.end = k < n ? wk.in[k].StartPoint() : wk.in[n - 1].EndPoint();
            in.push_back(place);
            runs.push_back({corners[c].second.group, corners[c].second.kind, 1, at, at});
            inserted.push_back(1);
            ++c;
        }
        shift[k] = static_cast<int>(w.size()) - k;
        if (k == n)
            break;
        w.push_back(wk.w[k]);
        in.push_back(wk.in[k]);
        runs.push_back(wk.runs[k]);
        inserted.push_back(0);
    }
    // Old records point at old indices; every index moves by the arcs before it.
    for (size_t k = 0; k < runs.size(); ++k) {
        if (inserted[k] != 0)
            continue;
        x_TrailListPN& r = runs[k];
        r.first += shift[r.first];
        r.last += shift[r.last];
    }
    wk.w.swap(w);
    wk.in.Adopt(in);
    wk.runs.swap(runs);
    RenumberTrailGroups(wk.w.data(), wk.Count());
}

} // namespace

namespace {

// What the loop walk reads of an element, packed and kept up to date: the
// walk passes over up to 16 groups behind every junction, and reading
// whole records (an arc's end points cost a sine and a cosine each) took
// a third of the offset of a long contour.
struct WalkItem {
    double sx, sy, ex, ey;              // start and end point
    std::int32_t group;
    bool placeholder;                   // joinMark 4
    bool degenerate;
    // Neither of the above, and the end meets the next element's start as
    // the walk's gap test asks: the walk passes it without a gap.
    bool quiet;

    x_Vector Start() const { return {sx, sy}; }
    x_Vector End() const { return {ex, ey}; }
};

WalkItem WalkItemOf(const x_TrailData& e)
{
    const x_Vector s = e.StartPoint(), t = e.EndPoint();
    return {s.x, s.y, t.x, t.y, e.group, e.joinMark == 4, IsDegenerate(e), false};
}

void SetQuiet(std::vector<WalkItem>& items, int k)
{
    WalkItem& e = items[k];
    const WalkItem& next = items[(k + 1) % items.size()];
    e.quiet = !e.placeholder && !e.degenerate && !Differs(e.End(), next.Start(), kGap);
}

// Whether the walk from l1 would pass only quiet elements of other groups
// than the current element's until it stops: it then sets no gap and does
// nothing, and a smooth contour skips it for a scan of flags and groups.
bool QuietWalk(const std::vector<WalkItem>& items, int l1, std::int32_t reachLimit, std::int32_t own)
{
    for (int p = l1; p >= 0; --p) {
        const WalkItem& e = items[p];
        if (!e.quiet)
            return false;
        if (e.group >= 1 && e.group < reachLimit)
            return true;
        if (e.group == own)
            return false;
    }
    return true;
}

} // namespace

namespace {

// Elements a notch's arc is looked for on either side of it.
constexpr int kNotchReach = 64;

// Whether p lies nearer to the drawn arc of element q than q's offset, by
// more than the joint rule: the contour cannot pass there.
bool InsideArcOffset(const OffsetWork& wk, int q, const x_Vector& p)
{
    const x_TrailData& e = wk.w[q];
    const x_TrailData& drawn = wk.in[q];
    if (!e.IsArc() || !drawn.IsArc() || e.joinMark == 4 || !(e.radius >= 1e-10))
        return false;
    const double due = std::fabs(e.radius - drawn.radius);
    const x_Vector v = p - drawn.centre;
    const double sweep = SweepAngleAbs(drawn.direction, drawn.startAngle, drawn.endAngle);
    double turned = drawn.direction == 0 ? v.Angle() - drawn.startAngle : drawn.startAngle - v.Angle();
    turned -= kTwoPi * std::floor(turned / kTwoPi);
    return turned <= sweep && std::fabs(v.Length() - drawn.radius) < due - kJoinRule;
}

// Where element k crosses the full circle (c, r): the crossing nearest its
// end (last) or its start (!last).
bool CrossesCircle(const x_TrailData& e, const x_Vector& c, double r, bool last, x_Vector& at)
{
    if (IsDegenerate(e) || e.joinMark == 4)
        return false;
    ArcRecord circle = MakeArcRecord(c, r, 0.0, kTwoPi);
    const x_VectorList hits = e.IsLine() ? IntersectLineArc(circle, MakeLineRecord(e.start.x, e.start.y, e.end.x, e.end.y)) : IntersectArcArc(circle, ArcOf(e));
    const x_Vector from = last ? e.EndPoint() : e.StartPoint();
    bool found = false;
    for (const x_Vector& h : hits.points) {
        bool on;
        if (e.IsLine()) {
            const x_Vector d = e.end - e.start;
            const double t = ((h.x - e.start.x) * d.x + (h.y - e.start.y) * d.y) / (d.x * d.x + d.y * d.y);
            on = t >= 0.0 && t <= 1.0;
        } else {
            const x_Vector v = h - e.centre;
            double turned = e.direction == 0 ? v.Angle() - e.startAngle : e.startAngle - v.Angle();
            turned -= kTwoPi * std::floor(turned / kTwoPi);
            on = turned <= SweepAngleAbs(e.direction, e.startAngle, e.endAngle);
        }
        if (on && (!found || x_Vector::Distance(h, from) < x_Vector::Distance(at, from))) {
            at = h;
            found = true;
        }
    }
    if (found)
        at.valid = 1;
    return found;
}

// A loop whose cut point lies inside the offset of an arc within it (the
// bottom of a notch whose sides' offsets cross nearer to it than the
// offset): the arc's offset is the contour there, from where the elements
// before it reach its circle to where those after it leave. The elements
// between become points on those ends. False, with nothing changed, when
// either side misses the circle or the span leaves the drawn arc.
bool SpanNotchArc(OffsetWork& wk, int q, int& first, int& last)
{
    const int n = wk.Count();
    const x_TrailData& arc = wk.w[q];
    const x_TrailData& drawn = wk.in[q];
    x_Vector p1, p2;
    int i = -1, j = -1;
    for (int s = 1; s <= kNotchReach && s < n / 2 && i < 0; ++s)
        if (CrossesCircle(wk.w[(q - s + n) % n], arc.centre, arc.radius, true, p1))
            i = (q - s + n) % n;
    for (int s = 1; s <= kNotchReach && s < n / 2 && j < 0; ++s)
        if (CrossesCircle(wk.w[(q + s) % n], arc.centre, arc.radius, false, p2))
            j = (q + s) % n;
    if (i < 0 || j < 0)
        return false;
    // Both ends on the drawn arc's span, the first before the second.
    const auto turnedTo = [&](const x_Vector& p) {
        const x_Vector v = p - drawn.centre;
        double t = drawn.direction == 0 ? v.Angle() - drawn.startAngle : drawn.startAngle - v.Angle();
        return t - kTwoPi * std::floor(t / kTwoPi);
    };
    const double sweep = SweepAngleAbs(drawn.direction, drawn.startAngle, drawn.endAngle);
    const double t1 = turnedTo(p1), t2 = turnedTo(p2);
    if (!(t1 <= sweep && t2 <= sweep && t1 < t2))
        return false;
    MoveEnd(wk.w[i], p1);
    CollapseBetween(wk, i, q, p1);
    x_TrailData& e = wk.w[q];
    e.startAngle = (p1 - e.centre).Angle();
    e.endAngle = (p2 - e.centre).Angle();
    CollapseBetween(wk, q, j, p2);
    MoveStart(wk.w[j], p2);
    first = i;
    last = j;
    return true;
}

// An arc that a cut leaves turning over half a turn where its drawn arc
// turns under half (its start passed its end): no loop is cut there.
bool TurnedInsideOut(const OffsetWork& wk, int k)
{
    const x_TrailData& e = wk.w[k];
    const x_TrailData& drawn = wk.in[k];
    return e.IsArc() && drawn.IsArc() && SweepAngleAbs(drawn.direction, drawn.startAngle, drawn.endAngle) < kPi
           && SweepAngleAbs(e.direction, e.startAngle, e.endAngle) > kPi;
}

// The arc of the loop from p to m, exclusive, whose offset the cut point
// lies inside; -1 if none.
int ArcTheCutEnters(const OffsetWork& wk, int p, int m, const x_Vector& at)
{
    const int n = wk.Count();
    const int end = m < p ? m + n : m;
    for (int k = p + 1; k < end; ++k)
        if (InsideArcOffset(wk, k % n, at))
            return k % n;
    return -1;
}

} // namespace

bool CutLoopsAtJunctions(OffsetWork& wk)
{
    const int n = wk.Count();
    std::vector<WalkItem> items(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k)
        items[k] = WalkItemOf(wk.w[k]);
    for (int k = 0; k < n; ++k)
        SetQuiet(items, k);
    return ForEachJunction(wk, [&](const Junction& jn) {
        bool gap = false;
        int tries = 0;
        const std::int32_t reachLimit = items[jn.f1].group - kLoopGroupReach;
        for (int m = jn.f2; m <= jn.l2; ++m) {
            const WalkItem& im = items[m];
            if (im.placeholder || im.degenerate)
                continue;
            if (!gap && Differs(items[(jn.f2 - 1 + n) % n].End(), im.Start(), kGap))
                gap = true;
            if (!gap && QuietWalk(items, jn.l1, reachLimit, im.group))
                continue;
            x_Vector before = items[(jn.l1 + 1) % n].Start();
            for (int p = jn.l1; p >= 0; --p) {
                const WalkItem& e = items[p];
                if (e.placeholder)
                    continue;
                if (e.group >= 1 && e.group < reachLimit)
                    break;
                if (e.group == im.group || e.degenerate)
                    continue;
                if (!gap && Differs(e.End(), before, kGap))
                    gap = true;
                before = e.Start();
                if (!gap)
                    continue;
                if (tries == 0 && Meets(e.End(), im.Start()))
                    continue;
                ++tries;
                if (!MayMeet(wk, p, m))
                    continue;
                x_Vector at;
                const x_TrailData wp = wk.w[p], wm = wk.w[m];
                if (JoinSharp(wk, p, m, at)) {
                    if (TurnedInsideOut(wk, p) || TurnedInsideOut(wk, m)) {
                        wk.w[p] = wp;
                        wk.w[m] = wm;
                        continue;
                    }
                    int from = p, to = m;
                    const int notch = ArcTheCutEnters(wk, p, m, at);
                    if (notch >= 0) {
                        // Undo the join; the notch's arc spans the loop instead.
                        const x_TrailData jp = wk.w[p], jm = wk.w[m];
                        wk.w[p] = wp;
                        wk.w[m] = wm;
                        if (!SpanNotchArc(wk, notch, from, to)) {
                            wk.w[p] = jp;
                            wk.w[m] = jm;
                            CollapseBetween(wk, p, m, at);
                            from = p;
                            to = m;
                        }
                    } else {
                        CollapseBetween(wk, p, m, at);
                    }
                    const int last = to < from ? to + n : to;
                    for (int k = from; k <= last; ++k)
                        items[k % n] = WalkItemOf(wk.w[k % n]);
                    // The element before the first leads into its new start.
                    for (int k = from - 1; k <= last; ++k)
                        SetQuiet(items, (k + n) % n);
                    gap = false;
                    break;
                }
            }
        }
        return true;
    });
}

bool RejoinCutRuns(OffsetWork& wk)
{
    const int n = wk.Count();
    for (int k = 0; k < n;) {
        if (PathRunCancelled())
            return false;
        const int f = wk.runs[k].first, l = wk.runs[k].last;
        if (wk.w[k].joinMark == 2 && f < l && !IsDegenerate(wk.w[f]) && !IsDegenerate(wk.w[l])) {
            x_Vector at;
            if (TryJoin(wk, f, l, at, 1) == kJoined)
                for (int m = f + 1; m < l; ++m)
                    MakePlaceholder(wk.w[m], at);
        }
        k = std::max(k + 1, l + 1);
    }
    return true;
}

namespace {

void CollapseRunAtStarts(OffsetWork& wk, int first, int last)
{
    for (int k = first; k <= last; ++k)
        MakePlaceholder(wk.w[k], wk.w[k].StartPoint());
}

// The last usable element of the runs before run [f1, l1], skipping runs
// that failed their join (last element marked 10); -1 when none is left
// before the run that starts at `current`. A closed list goes on from its
// end: where its first element vanished, the search stopped there and a
// line bridged the gap to where that element's carrier met the next one.
int UsableBefore(const OffsetWork& wk, int& f1, int& l1, int current)
{
    const int n = wk.Count();
    for (int steps = 0; steps < n; ++steps) {
        if (f1 == 0 && !wk.closed)
            return -1;
        l1 = f1 == 0 ? n - 1 : f1 - 1;
        f1 = wk.runs[l1].first;
        if (f1 <= current && current <= l1)
            return -1;
        if (wk.w[l1].joinMark == 10)
            continue;
        const int i = LastUsable(wk, l1, f1);
        if (i >= 0)
            return i;
    }
    return -1;
}

} // namespace

namespace {

bool OnElement(const x_TrailData& e, const x_Vector& p)
{
    return e.IsLine() ? PointOnSegment(e.start, e.end, p) : PointOnArcElement(e, p);
}

// When one element would turn back to meet the other at a junction, an
// element of its run further away may meet that other one on itself: the
// run's pieces in between lie inside the other's offset (a flank's end
// under a tip circle) and vanish. Walks the run from `from` to `to` (step
// -1 for the run before the junction, joined at its end to `fixed`; +1 for
// the run after it, joined at its start). Joins there; false when no
// element of the run does. The whole run was made points, and a line
// bridged from the run before.
bool JoinFurtherInRun(OffsetWork& wk, int fixed, int from, int to, int step)
{
    const bool runFirst = step < 0;
    for (int k = from; step < 0 ? k >= to : k <= to; k += step) {
        if (!IsUsable(wk.w[k]))
            continue;
        const int first = runFirst ? k : fixed, second = runFirst ? fixed : k;
        x_TrailData a = wk.w[first], b = wk.w[second];
        x_Vector p;
        const int r = JoinOffsetElements(a, b, p, 0);
        if (r == kJoined && OnElement(wk.w[k], p)) {
            wk.w[first] = a;
            wk.w[second] = b;
            CollapseBetween(wk, first, second, p);
            return true;
        }
        // The run's own element refused: the one beyond may still meet.
        if (r != (runFirst ? kJoinRefusedA : kJoinRefusedB))
            return false;
    }
    return false;
}

// Twice the signed area a chain of elements encloses, the gaps between
// them and the closing one taken as chords.
double TwiceChainArea(const x_TrailData* list, int count)
{
    double sum = TwiceArea(list, count);
    for (int m = 0; m < count; ++m) {
        const x_Vector a = list[m].EndPoint(), b = list[(m + 1) % count].StartPoint();
        sum += a.x * b.y - b.x * a.y;
    }
    return sum;
}

// Where element i cannot join the run at `from`: an element a few further
// on may cross i, the elements between running round a loop the other way
// from the whole (a tooth that vanished whole, whose flank's offset ends
// past the next root's offset). i then ends there and that element starts
// there; the elements between become points. False when none does.
bool JoinPastVanishedRun(OffsetWork& wk, int i, int from)
{
    constexpr int kReach = 16;
    const int n = wk.Count();
    double whole = 0.0;
    for (int step = 0; step < kReach && step < n - 2; ++step) {
        const int k = wk.closed ? (from + step) % n : from + step;
        if (k >= n || k == i)
            return false;
        if (!IsUsable(wk.w[k]))
            continue;
        x_TrailData a = wk.w[i], b = wk.w[k];
        x_Vector p;
        if (JoinOffsetElements(a, b, p, 1) != kJoined || !OnElement(wk.w[i], p) || !OnElement(wk.w[k], p))
            continue;
        // The loop from p along what follows i back to p along k.
        std::vector<x_TrailData> loop;
        x_TrailData tail = wk.w[i], head = wk.w[k];
        if (tail.IsLine())
            tail.start = p;
        else if (!SetArcAngleToPoint(tail, 0, p))
            continue;
        loop.push_back(tail);
        for (int m = (i + 1) % n; m != k; m = (m + 1) % n)
            loop.push_back(wk.w[m]);
        if (head.IsLine())
            head.end = p;
        else if (!SetArcAngleToPoint(head, 1, p))
            continue;
        loop.push_back(head);
        if (whole == 0.0)
            whole = TwiceChainArea(wk.w.data(), n);
        const double area = TwiceChainArea(loop.data(), static_cast<int>(loop.size()));
        if (!RunsAgainst(area, whole))
            continue;
        wk.w[i] = a;
        wk.w[k] = b;
        CollapseBetween(wk, i, k, p);
        return true;
    }
    return false;
}

// One junction of the final pass; true when it made the current run points.
bool FinalJunction(OffsetWork& wk, const Junction& jn)
{
    const int n = wk.Count();
    const int j = FirstUsable(wk, jn.f2, jn.l2);
    int f1 = jn.f1, l1 = jn.l1;
    int i = LastUsable(wk, jn.l1, 0);
    if (i < 0 && wk.closed && jn.at < n)
        i = LastUsable(wk, n - 1, jn.l2 + 1);
    if (i >= 0 && (i < f1 || i > jn.l2)) {
        f1 = wk.runs[i].first;
        l1 = wk.runs[i].last;
    }
    if (i < 0 || j < 0 || Meets(wk.w[i].EndPoint(), wk.w[j].StartPoint()))
        return false;
    if (wk.w[j].joinMark == 10) {
        CollapseRunAtStarts(wk, jn.f2, jn.l2);
        return true;
    }
    while (i >= 0) {
        x_TrailData a = wk.w[i], b = wk.w[j];
        x_Vector p;
        const int r = JoinOffsetElements(a, b, p, 0);
        if (r == kJoined) {
            const bool apart = (jn.f2 - i + n) % n >= 2;
            if (apart && a.kind == 1 && b.kind == 1) {
                const double reach = 3.0 * x_Vector::Distance(wk.w[i].EndPoint(), wk.w[j].StartPoint());
                if (x_Vector::Distance(p, wk.w[i].EndPoint()) > reach
                    || x_Vector::Distance(p, wk.w[j].StartPoint()) > reach)
                    return false;
            }
            wk.w[i] = a;
            wk.w[j] = b;
            return false;
        }
        if (r == kJoinRefusedB) {
            if (JoinFurtherInRun(wk, i, j + 1, jn.l2, 1))
                return false;
            CollapseRunAtStarts(wk, jn.f2, jn.l2);
            return true;
        }
        if (r != kJoinRefusedA && r != kJoinBothReverse)
            return false;
        if (r == kJoinRefusedA && JoinFurtherInRun(wk, j, i - 1, f1, -1))
            return false;
        if (JoinPastVanishedRun(wk, i, j))
            return true;
        CollapseRunAtStarts(wk, f1, l1);
        i = UsableBefore(wk, f1, l1, jn.f2);
    }
    return false;
}

} // namespace

bool FinalJunctionPass(OffsetWork& wk)
{
    const int n = wk.Count();
    bool firstRunGone = false;
    const bool walked = ForEachJunction(wk, [&](const Junction& jn) {
        firstRunGone = FinalJunction(wk, jn) && jn.at == n;
        return true;
    });
    // The wrap junction comes last: when it made the first run points, the
    // junction after that run and any runs of points behind it (already
    // passed) is joined again, past them. The closing line used to bridge
    // from the last element to the second.
    if (!walked || !firstRunGone)
        return walked;
    int after = wk.runs[0].last + 1;
    while (after < n && FirstUsable(wk, after, wk.runs[after].last) < 0)
        after = wk.runs[after].last + 1;
    if (after < n)
        FinalJunction(wk, {after, wk.runs[after - 1].first, after - 1, after, wk.runs[after].last});
    return true;
}

int TransitionAngles(x_TrailData& corner, const x_TrailData* in, int inCount, int index, x_TrailData& a,
                     x_TrailData& b, int side, double offset)
{
    const double exitA = ExitAngle(a);
    double entryB = EntryAngle(b) + kPi;
    if (entryB > kTwoPi)
        entryB -= kTwoPi;
    const int n = offset < 0.0 ? (side == 0 ? 2 : 1) : (side == 0 ? 1 : 2);
    const x_Vector ea = a.EndPoint(), sb = b.StartPoint();
    const x_Vector c = index >= 0 && index < inCount ? in[index].StartPoint() : x_Vector(0.0, 0.0);
    // The side is n; the arc passes |offset| from the corner (a negative
    // offset turned the bulge back to the other side, round the inside).
    ArcRecord arc;
    if (!ConnectingArcFor(arc, n, ea, exitA, sb, entryB, std::fabs(offset), c))
        return 0;
    const x_Vector arcStart = arc.centre + x_Vector::FromPolar(arc.radius, arc.startAngle);
    const x_Vector arcEnd = arc.centre + x_Vector::FromPolar(arc.radius, arc.endAngle);
    if (a.IsLine())
        a.end = arcStart;
    else
        a.endAngle = (arcStart - a.centre).Angle();
    if (b.IsLine())
        b.start = arcEnd;
    else
        b.startAngle = (arcEnd - b.centre).Angle();
    corner = b;
    corner.kind = arc.direction != 0 ? 2 : 3;
    SetArcOf(corner, arc);
    corner.tag = 100;
    corner.joinMark = 0;
    corner.role = 0;
    return 1;
}
