#include "wirepath/profile_sync.h"

#include <cmath>

#include "geometry/curve_helpers.h"
#include "geometry/intersect.h"
#include "geometry/path_services.h"
#include "geometry/plane_geometry.h"
#include "wirepath/TrailPath.h"
#include "wirepath/trail_metrics.h"
#include "wirepath/trail_offset.h"

namespace {

constexpr double kSameShare = 0.0001;
constexpr double kFullTurnSlack = 1e-8;
constexpr double kRay = 100.0;
constexpr double kArm = 10.0;

double Into2Pi(double a)
{
    if (a > kTwoPi)
        a -= kTwoPi;
    if (a < 0.0)
        a += kTwoPi;
    return a;
}

// Common start: both lists present, fresh totals, the moved list shifted.
bool StartSync(TrailPath& path, int which, const x_Vector& offset)
{
    if (path.lists[0].IsEmpty() || path.lists[1].IsEmpty())
        return false;
    ComputeTrailMetrics(path);
    const x_Vector by(-offset.x, -offset.y);
    const int moved = which == 1 ? 0 : 1;
    // The check compares the moved contour with its own contour moved alike.
    path.intent[moved].shift = path.intent[moved].shift + by;
    for (x_TrailData& e : path.lists[moved]) {
        if (e.IsLine()) {
            e.start = e.start + by;
            e.end = e.end + by;
        } else if (e.IsArc()) {
            e.centre = e.centre + by;
        }
    }
    return true;
}

// Common end: a list one element short gets a zero-length line at its end.
int EndSync(TrailPath& path, int failure)
{
    x_TrailDataArray& a = path.lists[0];
    x_TrailDataArray& b = path.lists[1];
    if (a.GetSize() == b.GetSize())
        return 1;
    if (std::abs(a.GetSize() - b.GetSize()) != 1)
        return failure;
    x_TrailDataArray& shorter = a.GetSize() < b.GetSize() ? a : b;
    x_TrailData last = shorter[shorter.GetSize() - 1];
    last.start = last.end = last.EndPoint();
    last.kind = 1;
    shorter.Add(last);
    return 1;
}

// Element f of the list split at angle phi of its arc; the pieces keep
// exact end angles where phi falls on an end.
void SplitArcAt(x_TrailDataArray& list, int f, double phi)
{
    x_TrailData& e = list[f];
    x_TrailData second = e;
    const double oldEnd = e.endAngle;
    e.endAngle = SweepAngleAbs(e.direction, e.startAngle, phi) >= kTwoPi ? e.startAngle : phi;
    second.startAngle = SweepAngleAbs(second.direction, phi, oldEnd) >= kTwoPi ? oldEnd : phi;
    list.InsertAt(f + 1, second);
}

void SplitLineAt(x_TrailDataArray& list, int f, const x_Vector& p)
{
    x_TrailData second = list[f];
    list[f].end = p;
    second.start = p;
    list.InsertAt(f + 1, second);
}

double ElementLength(const x_TrailData& e)
{
    return e.IsLine() ? x_Vector::Distance(e.start, e.end) : ArcLength(ArcOf(e));
}

} // namespace

int SyncTrailsByLength(TrailPath& path, int which, x_Vector offset)
{
    if (!StartSync(path, which, offset))
        return -1;
    x_TrailDataArray* lists[2] = {&path.lists[0], &path.lists[1]};
    const double total[2] = {path.params.lengthNoLead[0], path.params.lengthNoLead[1]};
    for (int f = 0; f < lists[0]->GetSize() && f < lists[1]->GetSize(); ++f) {
        const double q0 = ElementLength((*lists[0])[f]) / total[0];
        const double q1 = ElementLength((*lists[1])[f]) / total[1];
        if (std::fabs(q0 - q1) <= kSameShare)
            continue;
        const int pos = q0 > q1 ? 0 : 1;
        const double piece = std::min(q0, q1) * total[pos];
        x_TrailDataArray& list = *lists[pos];
        const x_TrailData& e = list[f];
        if (e.IsLine()) {
            SplitLineAt(list, f, e.start + x_Vector::FromPolar(piece, x_Vector::AngleTo(e.start, e.end)));
        } else {
            const double phi = e.direction != 0 ? e.startAngle - piece / e.radius : e.startAngle + piece / e.radius;
            SplitArcAt(list, f, Into2Pi(phi));
        }
    }
    return EndSync(path, -5);
}

namespace {

// How one element lies about the centroid of its contour.
struct Sector {
    std::uint8_t dir = 0;               // 0 counter-clockwise, 1 clockwise
    double sweep = 0.0;
    double startAngle = 0.0;
};

Sector Measure(const x_TrailData& e, const x_Vector& c, std::uint8_t first, bool started)
{
    Sector s;
    const x_Vector ps = e.StartPoint(), pe = e.EndPoint();
    const double aS = x_Vector::AngleTo(c, ps), aE = x_Vector::AngleTo(c, pe);
    s.startAngle = aS;
    double ref;
    if (e.IsLine()) {
        ref = x_Vector::AngleTo(c, (ps + pe) / 2.0);
    } else {
        double a0 = e.startAngle, a1 = e.endAngle;
        if (e.direction != 0 && a1 > a0)
            a0 += kTwoPi;
        if (e.direction == 0 && a1 < a0)
            a1 += kTwoPi;
        if (SweepAngleAbs(e.direction, a0, a1) + kFullTurnSlack >= kTwoPi) {
            s.dir = e.direction != 0 ? 1 : 0;
            s.sweep = kTwoPi;
            return s;
        }
        const double t = x_Vector::AngleTo(c, e.centre + x_Vector::FromPolar(e.radius, (a0 + a1) / 2.0));
        const x_Vector chordMid = (ps + pe) / 2.0;
        const double k = x_Vector::AngleTo(c, chordMid);
        double diff = std::fabs(k - t);
        if (diff > kPi)
            diff = kTwoPi - diff;
        ref = diff <= 0.75 * kPi && !c.IsEqual(chordMid) ? k : t;
    }
    const x_Vector pS = c + x_Vector::FromPolar(kArm, aS), pR = c + x_Vector::FromPolar(kArm, ref),
                   pE = c + x_Vector::FromPolar(kArm, aE);
    const x_Vector u = pR - pS, v = pE - pR;
    s.dir = u.x * v.y - u.y * v.x >= 0.0 ? 0 : 1;
    s.sweep = std::max(SignedSweep(aS, aE, s.dir), 0.0);
    if (e.IsArc() && (std::fabs(aS - aE) < 0.0001 || s.sweep + kFullTurnSlack >= kTwoPi)) {
        s.sweep = 0.0;
        // Before the first direction is known both lists take counter-clockwise.
        s.dir = started ? first : 0;
    }
    return s;
}

x_TrailData ZeroLine(const x_TrailData& like, const x_Vector& at)
{
    x_TrailData e = like;
    e.kind = 1;
    e.start = e.end = at;
    e.length = 0.0;
    return e;
}

// Splits element f of the list on the ray from c at angle theta.
bool SplitOnRay(x_TrailDataArray& list, int f, const x_Vector& c, double theta)
{
    const x_TrailData& e = list[f];
    x_LineData ray;
    ray.p1 = c;
    ray.p2 = c + x_Vector::FromPolar(kRay, theta);
    if (e.IsLine()) {
        x_LineData l;
        l.p1 = e.start;
        l.p2 = e.end;
        const x_VectorList hits = IntersectLineLine(l, ray, 0);
        if (hits.count == 0 || !hits.points[0].valid || !PointOnSegment(e.start, e.end, hits.points[0]))
            return false;
        SplitLineAt(list, f, hits.points[0]);
        return true;
    }
    ray.p2 = c + x_Vector::FromPolar(kRay, Into2Pi(theta));
    const x_VectorList hits = IntersectLineArc(ArcOf(e), ray);
    bool found = false;
    x_Vector best;
    for (const x_Vector& p : hits.points) {
        if (!AngleInArc(x_Vector::AngleTo(e.centre, p), e.startAngle, e.endAngle, e.direction != 0))
            continue;
        if (!found || x_Vector::Distance(p, ray.p2) < x_Vector::Distance(best, ray.p2))
            best = p;
        found = true;
    }
    if (!found)
        return false;
    const double phi = Into2Pi(x_Vector::AngleTo(e.centre, best));
    if (!(SweepAngleAbs(e.direction, e.startAngle, phi) + kFullTurnSlack < kTwoPi))
        return true;
    x_TrailData second = e;
    list[f].endAngle = phi;
    if (SweepAngleAbs(second.direction, phi, second.endAngle) + kFullTurnSlack < kTwoPi) {
        second.startAngle = phi;
        list.InsertAt(f + 1, second);
    }
    return true;
}

bool Centroid(const x_TrailDataArray& list, x_Vector& c)
{
    CArray<x_Vector> pts;
    TrailToPointList(list, pts);
    c = PolygonCentroid(pts.GetData(), pts.GetSize());
    return c.valid != 0 && std::isfinite(c.x) && std::isfinite(c.y);
}

} // namespace

int PairProfiles(TrailPath& path, int which, x_Vector offset)
{
    if (!StartSync(path, which, offset))
        return -1;
    x_Vector c[2];
    if (!Centroid(path.lists[0], c[0]) || !Centroid(path.lists[1], c[1]))
        return -2;
    std::uint8_t first[2] = {0, 0};
    bool started = false;
    for (int f = 0; f < path.lists[0].GetSize() && f < path.lists[1].GetSize(); ++f) {
        Sector s[2];
        for (int j = 0; j < 2; ++j) {
            s[j] = Measure(path.lists[j][f], c[j], first[j], started);
            if (!started)
                first[j] = s[j].dir;
        }
        if (!started) {
            if (first[0] != first[1])
                return -3;
            started = true;
        }
        if (s[0].dir != s[1].dir) {
            const int j = s[0].dir == first[0] ? 0 : 1;
            const x_TrailData like = path.lists[1][f];
            path.lists[j].InsertAt(f, ZeroLine(like, path.lists[j][f].StartPoint()));
            continue;
        }
        if (std::fabs(s[0].sweep - s[1].sweep) <= kSameShare)
            continue;
        const int pos = s[0].sweep > s[1].sweep ? 0 : 1;
        const double r = std::min(s[0].sweep, s[1].sweep) / s[pos].sweep;
        if (r == 0.0) {
            const x_TrailData like = path.lists[1][f];
            path.lists[pos].InsertAt(f, ZeroLine(like, path.lists[pos][f].StartPoint()));
            continue;
        }
        const double theta = s[pos].dir == 0 ? s[pos].startAngle + r * s[pos].sweep
                                             : s[pos].startAngle - r * s[pos].sweep;
        if (!SplitOnRay(path.lists[pos], f, c[pos], theta))
            return -4;
    }
    return EndSync(path, -6);
}

int FinishProfilePair(x_TrailDataArray& list)
{
    std::int32_t counter = -20;
    bool split = false;
    for (int i = 0; i < list.GetSize(); ++i) {
        x_TrailData& e = list[i];
        if (!e.IsArc() || SweepAngleAbs(e.direction, e.startAngle, e.endAngle) < 6.283185307079586)
            continue;
        double m = e.direction != 0 ? e.startAngle - kPi : e.startAngle + kPi;
        m = Into2Pi(m);
        x_TrailData second = e;
        e.endAngle = m;
        second.startAngle = m;
        second.group = counter--;
        list.InsertAt(i + 1, second);
        ++i;                            // the half circle just inserted is not split again
        split = true;
    }
    if (split)
        RenumberTrailGroups(list);
    return 1;
}
