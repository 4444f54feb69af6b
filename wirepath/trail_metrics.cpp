#include "wirepath/trail_metrics.h"

#include <cmath>

#include "geometry/curve_helpers.h"
#include "wirepath/TrailPath.h"

ArcRecord ArcOf(const x_TrailData& e)
{
    ArcRecord a;
    a.centre = e.centre;
    a.radius = e.radius;
    a.startAngle = e.startAngle;
    a.endAngle = e.endAngle;
    a.direction = e.direction;
    return a;
}

void SetArcOf(x_TrailData& e, const ArcRecord& a)
{
    e.centre = a.centre;
    e.radius = a.radius;
    e.startAngle = a.startAngle;
    e.endAngle = a.endAngle;
    e.direction = a.direction;
}

double ArcLength(const ArcRecord& arc)
{
    return arc.radius * SweepAngleAbs(arc.direction, arc.startAngle, arc.endAngle);
}

double SignedSweep(double a, double b, std::uint8_t direction)
{
    double sweep;
    if (direction != 0)
        sweep = a < b + 1e-10 ? a + kTwoPi - b : a - b;
    else
        sweep = a > b - 1e-10 ? b + kTwoPi - a : b - a;
    return std::fabs(sweep) < 1e-10 ? 0.0 : sweep;
}

double TrailElementLength(const x_TrailData& e)
{
    if (e.IsLine())
        return x_Vector::Distance(e.start, e.end);
    if (e.IsArc())
        return ArcLength(ArcOf(e));
    return 0.0;
}

double TrailLength(const x_TrailDataArray& list)
{
    double sum = 0.0;
    for (const x_TrailData& e : list)
        sum += TrailElementLength(e);
    return sum;
}

x_Vector ElementStartPoint(const x_TrailData& e)
{
    return e.StartPoint();
}

x_Vector ElementEndPoint(const x_TrailData& e)
{
    return e.EndPoint();
}

double ElementTravelAngle(const x_TrailData& e, bool atEnd)
{
    if (e.IsLine())
        return x_Vector::AngleTo(e.start, e.end);
    double a = atEnd ? e.endAngle : e.startAngle;
    a = e.direction != 0 ? a - kPi / 2 : a + kPi / 2;
    if (a > kTwoPi + 1e-10)
        a -= kTwoPi;
    if (a < 0.0)
        a += kTwoPi;
    return a;
}

x_Vector TrailStartPoint(const TrailPath& path)
{
    const x_TrailDataArray& list = path.lists[0];
    if (list.IsEmpty() || list[0].kind > 3)
        return {0.0, 0.0, 1};
    return ElementStartPoint(list[0]);
}

x_Vector TrailEndPoint(const TrailPath& path)
{
    const x_TrailDataArray& list = path.lists[0];
    if (list.IsEmpty() || list[list.GetSize() - 1].kind > 3)
        return {0.0, 0.0, 1};
    return ElementEndPoint(list[list.GetSize() - 1]);
}

void ArcBounds(const ArcRecord& arc, const x_Vector& p1, const x_Vector& p2, x_Vector& min, x_Vector& max)
{
    min = x_Vector::MinCorner(p1, p2);
    max = x_Vector::MaxCorner(p1, p2);
    min.valid = max.valid = 1;
    // Counter-clockwise from v to u.
    const double u = arc.direction != 0 ? arc.startAngle : arc.endAngle;
    const double v = arc.direction != 0 ? arc.endAngle : arc.startAngle;
    const bool wraps = v > u - 1e-12;
    auto inside = [&](double x) { return (v < x && u > x) || (wraps && u > x) || (wraps && v < x); };
    const x_Vector& c = arc.centre;
    if (inside(kPi))
        min.x = std::fmin(min.x, c.x - arc.radius);
    if (inside(1.5 * kPi))
        min.y = std::fmin(min.y, c.y - arc.radius);
    if (inside(0.5 * kPi))
        max.y = std::fmax(max.y, c.y + arc.radius);
    if (wraps)
        max.x = std::fmax(max.x, c.x + arc.radius);
}

int TrailToPointList(const x_TrailDataArray& list, CArray<x_Vector>& out)
{
    bool lineSeen = false;
    CArray<x_Vector> arcPoints;
    for (const x_TrailData& e : list) {
        if (e.IsLine()) {
            if (!lineSeen)
                out.Add(e.start);
            lineSeen = true;
            out.Add(e.end);
        } else if (e.IsArc()) {
            arcPoints.RemoveAll();
            FlattenArc(arcPoints, e.centre, e.radius, e.startAngle, e.endAngle, e.direction, 0);
            out.Append(arcPoints);
        }
    }
    return 1;
}

int TrailToPointList(const TrailPath& path, int list, CArray<x_Vector>& out)
{
    return TrailToPointList(path.lists[list != 0 ? 1 : 0], out);
}

namespace {

struct ListMetrics {
    double length = 0.0, noLead = 0.0, cut = 0.0;
    x_Vector min, max;
    bool boxSet = false;
};

ListMetrics MeasureList(x_TrailDataArray& list)
{
    ListMetrics m;
    x_Vector running(0.0, 0.0, 0);
    for (x_TrailData& e : list) {
        if (e.kind > 3)
            continue;
        double length;
        x_Vector endPoint, lo, hi;
        if (e.IsLine()) {
            if (!running.valid)
                running = e.start;
            length = x_Vector::Distance(running, e.end);
            endPoint = e.end;
            lo = x_Vector::MinCorner(running, e.end);
            hi = x_Vector::MaxCorner(running, e.end);
        } else {
            const ArcRecord arc = ArcOf(e);
            length = ArcLength(arc);
            endPoint = e.EndPoint();
            if (!running.valid)
                running = e.StartPoint();
            ArcBounds(arc, running, endPoint, lo, hi);
        }
        e.length = length;
        m.length += length;
        if (e.role != 1)
            m.noLead += length;
        if (e.role == 0 && e.subKind <= 1)
            m.cut += length;
        if (!m.boxSet) {
            m.min = lo;
            m.max = hi;
            m.boxSet = true;
        } else {
            m.min = x_Vector::MinCorner(m.min, lo);
            m.max = x_Vector::MaxCorner(m.max, hi);
        }
        running = endPoint;
        running.valid = 1;
    }
    return m;
}

} // namespace

void ComputeTrailMetrics(TrailPath& path)
{
    TrailParams& p = path.params;
    const int lists = path.lists[1].IsEmpty() ? 1 : 2;
    for (int k = 0; k < 2; ++k)
        p.length[k] = p.lengthNoLead[k] = p.cutLength[k] = 0.0;
    for (int k = 0; k < lists; ++k) {
        const ListMetrics m = MeasureList(path.lists[k]);
        p.length[k] = m.length;
        p.lengthNoLead[k] = m.noLead;
        p.cutLength[k] = m.cut;
        // An empty list keeps its previous box.
        if (m.boxSet) {
            p.boxMin[k] = m.min;
            p.boxMax[k] = m.max;
        }
    }
    path.extentMin = p.boxMin[0];
    path.extentMax = p.boxMax[0];
    if (lists == 2) {
        path.extentMin = x_Vector::MinCorner(path.extentMin, p.boxMin[1]);
        path.extentMax = x_Vector::MaxCorner(path.extentMax, p.boxMax[1]);
    }
}
