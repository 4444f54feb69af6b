#include "wirepath/offset_join.h"

#include <cmath>

#include "geometry/curve_helpers.h"
#include "geometry/intersect.h"
#include "geometry/plane_geometry.h"
#include "wirepath/trail_metrics.h"

namespace {

constexpr double kDegenerateRadius = 1e-10;
constexpr double kOnArc = 0.001;            // an arc's exact hit test
constexpr double kKeptDirection = 0.01;     // radians

x_LineData LineOf(const x_TrailData& e)
{
    x_LineData l;
    l.p1 = e.start;
    l.p2 = e.end;
    l.used = 1;
    return l;
}

double ArcDistance(const x_TrailData& e, const x_Vector& p)
{
    const double ds = x_Vector::Distance(p, e.StartPoint());
    if (ds < kOnArc)
        return ds;
    const double de = x_Vector::Distance(p, e.EndPoint());
    if (de < kOnArc)
        return de;
    if (!AngleInArc((p - e.centre).Angle(), e.startAngle, e.endAngle, e.direction != 0))
        return 1e10;
    return std::fabs(x_Vector::Distance(p, e.centre) - e.radius);
}

// Exact-mode hit test of a line element.
bool OnLine(const x_TrailData& e, const x_Vector& p)
{
    return PointOnSegment(e.start, e.end, p);
}

int JoinTwoLines(x_TrailData& a, x_TrailData& b, x_Vector& p, std::uint8_t flag)
{
    if (a.end.IsEqual(b.start)) {
        p = b.start;
        a.end = b.start;
        return kJoined;
    }
    if (a.start == a.end)
        return kJoinDegenerateA;
    if (b.start == b.end)
        return kJoinDegenerateB;
    x_Vector x;
    if (!LineLinePoint(LineOf(b), LineOf(a), flag, x))
        return kNoJoint;
    if (flag != 0 && !(OnLine(a, x) && OnLine(b, x)))
        return kNoJoint;
    // P is the meeting point also on a refusal: the caller moves the
    // element that keeps its direction there. It was left unset, and that
    // element's end went to (0, 0).
    p = x;
    p.valid = 1;
    const bool aReverses = LineWouldReverse(a.start, a.end, x);
    const bool bReverses = LineWouldReverse(b.end, b.start, x);
    if (aReverses && bReverses)
        return kJoinBothReverse;
    if (aReverses)
        return kJoinRefusedA;
    if (bReverses)
        return kJoinRefusedB;
    a.end = x;
    b.start = x;
    return kJoined;
}

int JoinTwoArcs(x_TrailData& a, x_TrailData& b, x_Vector& p, std::uint8_t flag)
{
    const x_Vector ea = a.EndPoint(), sb = b.StartPoint();
    if (ea.IsEqual(sb)) {
        p = sb;
        return kJoined;
    }
    if (a.radius < kDegenerateRadius)
        return kJoinDegenerateA;
    if (b.radius < kDegenerateRadius)
        return kJoinDegenerateB;
    const x_VectorList hits = IntersectArcArc(ArcOf(a), ArcOf(b));
    bool found = false;
    double best = 0.0;
    for (const x_Vector& x : hits.points) {
        if (flag != 0 && !(ArcDistance(a, x) < kOnArc && ArcDistance(b, x) < kOnArc))
            continue;
        const double d = x_Vector::Distance(x, sb) + x_Vector::Distance(x, ea);
        if (!found || d < best) {
            found = true;
            best = d;
            p = x;
        }
    }
    if (!found)
        return kNoJoint;
    p.valid = 1;
    if (!SetArcAngleToPoint(b, 0, p))
        return kJoinRefusedB;
    if (!SetArcAngleToPoint(a, 1, p))
        return kJoinRefusedA;
    return kJoined;
}

int JoinLineAndArc(x_TrailData& a, x_TrailData& b, x_Vector& p, std::uint8_t flag)
{
    const bool lineFirst = a.IsLine();
    x_TrailData& line = lineFirst ? a : b;
    x_TrailData& arc = lineFirst ? b : a;
    if (line.start.IsEqual(line.end))
        return lineFirst ? kJoinDegenerateA : kJoinDegenerateB;
    if (arc.radius < kDegenerateRadius)
        return lineFirst ? kJoinDegenerateB : kJoinDegenerateA;
    const x_Vector lineJoint = lineFirst ? line.end : line.start;
    const x_Vector arcJoint = lineFirst ? arc.StartPoint() : arc.EndPoint();
    if (lineJoint.IsEqual(arcJoint)) {
        (lineFirst ? line.end : line.start) = arcJoint;
        p = arcJoint;
        return kJoined;
    }
    const x_VectorList hits = IntersectLineArc(ArcOf(arc), LineOf(line));
    bool found = false;
    double best = 0.0;
    for (const x_Vector& x : hits.points) {
        if (flag != 0 && !(OnLine(line, x) && ArcDistance(arc, x) < kOnArc))
            continue;
        const double d = x_Vector::Distance(x, lineJoint);
        if (!found || d < best) {
            found = true;
            best = d;
            p = x;
        }
    }
    if (!found)
        return kNoJoint;
    p.valid = 1;
    if (line.joinMark != 2) {
        if (lineFirst && LineWouldReverse(line.start, line.end, p))
            return kJoinRefusedA;
        if (!lineFirst && LineWouldReverse(line.end, line.start, p))
            return kJoinRefusedB;
    }
    if (!SetArcAngleToPoint(arc, lineFirst ? 0 : 1, p))
        return lineFirst ? kJoinRefusedA : kJoinRefusedB;
    (lineFirst ? line.end : line.start) = p;
    return kJoined;
}

} // namespace

// Directions are compared round the circle: a plain difference read 0.001
// against 6.282 as a reversal and collapsed axis-aligned contours.
bool LineWouldReverse(const x_Vector& fixed, const x_Vector& moving, const x_Vector& p)
{
    double d = std::fabs(x_Vector::AngleTo(fixed, moving) - x_Vector::AngleTo(fixed, p));
    if (d > kPi)
        d = kTwoPi - d;
    return d > kKeptDirection;
}

bool PointOnArcElement(const x_TrailData& arc, const x_Vector& p)
{
    return ArcDistance(arc, p) < kOnArc;
}

int JoinOffsetElements(x_TrailData& a, x_TrailData& b, x_Vector& p, std::uint8_t flag)
{
    p.valid = 0;
    if (a.IsLine() && b.IsLine())
        return JoinTwoLines(a, b, p, flag);
    if (a.IsArc() && b.IsArc())
        return JoinTwoArcs(a, b, p, flag);
    return JoinLineAndArc(a, b, p, flag);
}

bool SetArcAngleToPoint(x_TrailData& arc, int selector, const x_Vector& point)
{
    const double oldSweep = SweepAngleAbs(arc.direction, arc.startAngle, arc.endAngle);
    const double angle = (point - arc.centre).Angle();
    double s = arc.startAngle, e = arc.endAngle;
    (selector == 0 ? s : e) = angle;
    const double newSweep = SweepAngleAbs(arc.direction, s, e);
    if (!(std::fabs(oldSweep - newSweep) < kPi))
        return false;
    arc.startAngle = s;
    arc.endAngle = e;
    return true;
}
