#include "geometry/curve_helpers.h"

#include <cmath>

namespace {

bool AllFinite(std::initializer_list<double> values)
{
    for (double v : values)
        if (!std::isfinite(v))
            return false;
    return true;
}

// A step no smaller than sweep / kMaxFlattenPoints.
double CappedStep(double step, double sweep)
{
    const double least = sweep / kMaxFlattenPoints;
    return step < least ? least : step;
}

// Appends the points of the parameter walk from s towards e (both shifted as
// the direction asks) and the end point; the count is capped in case the
// step no longer moves t.
template <class PointAt>
void WalkParameters(x_VectorArray& out, double s, double e, std::uint8_t direction,
                    double step, PointAt pointAt)
{
    out.Add(pointAt(s));
    int added = 0;
    if (direction == 0) {
        if (s > e - 1e-10)
            e += kTwoPi;
        for (double t = s + step; t <= e && added < kMaxFlattenPoints; t += step, ++added)
            out.Add(pointAt(t));
    } else {
        if (s < e + 1e-10)
            e -= kTwoPi;
        for (double t = s - step; t >= e && added < kMaxFlattenPoints; t -= step, ++added)
            out.Add(pointAt(t));
    }
    out.Add(pointAt(e));
}

} // namespace

void FlattenArc(x_VectorArray& out, const x_Vector& c, double r, double s, double e,
                std::uint8_t direction, int n)
{
    out.RemoveAll();
    out.FreeExtra();
    if (!(r >= 0.0001) || !AllFinite({c.x, c.y, r, s, e}))
        return;
    const double sweep = SweepAngleAbs(direction, s, e);
    double step;
    if (n != 0) {
        step = sweep / n;
        if (step < 0.01)
            step = 0.01;
    } else if (r <= 0.2) {
        step = 0.1;
    } else {
        step = std::asin(0.2 / r);
        if (step > 0.1)
            step = 0.1;
        if (step < 0.02)
            step = 0.02;
    }
    step = CappedStep(step, sweep);
    WalkParameters(out, s, e, direction, step, [&](double t) {
        return x_Vector(c.x + r * std::cos(t), c.y + r * std::sin(t));
    });
}

void FlattenEllipseArc(const x_Vector& c, std::uint8_t direction, x_VectorArray& out,
                       double a, double b, double axisAngle, double s, double e, double step)
{
    out.RemoveAll();
    out.FreeExtra();
    if (!AllFinite({c.x, c.y, a, b, axisAngle, s, e, step}))
        return;
    if (step != 0.0) {
        if (step < 0.001)
            step = 0.001;
    } else {
        const double m = (a + b) * 0.5;
        if (m <= 0.08) {
            step = 0.1;
        } else {
            step = std::asin(0.08 / m);
            if (step < 0.02)
                step = 0.02;
            if (step > 0.1)
                step = 0.1;
        }
    }
    step = CappedStep(step, SweepAngleAbs(direction, s, e));
    WalkParameters(out, s, e, direction, step, [&](double t) {
        x_Vector p(c.x + a * std::cos(t), c.y + b * std::sin(t));
        return p.RotateAbout(c, axisAngle);
    });
}

bool ArcFromThreePoints(ArcRecord& out, const x_Vector& p1, const x_Vector& p2, const x_Vector& p3)
{
    using V = x_Vector;
    if (V::Distance(p1, p2) <= 1e-10 || V::Distance(p2, p3) <= 1e-10 || V::Distance(p3, p1) <= 1e-10)
        return false;
    const V m1 = (p1 + p2) / 2.0;
    const V m2 = (p2 + p3) / 2.0;
    const V d1 = V::FromPolar(100.0, V::AngleTo(p1, p2) + kPi / 2);
    const V d2 = V::FromPolar(100.0, V::AngleTo(p2, p3) + kPi / 2);
    const double cross = d1.x * d2.y - d1.y * d2.x;
    if (std::fabs(cross) <= 1e-10)
        return false;                           // collinear points
    const V w = m2 - m1;
    const double t = (w.x * d2.y - w.y * d2.x) / cross;
    const V centre = m1 + d1 * t;
    out.centre = centre;
    out.radius = V::Distance(centre, p3);
    out.startAngle = V::AngleTo(centre, p1);
    out.endAngle = V::AngleTo(centre, p3);
    const V u = p2 - p1, v = p3 - p2;
    out.direction = (u.x * v.y - u.y * v.x) < 0.0 ? 1 : 0;
    return centre.valid && out.radius > 1e-10 && out.radius < 1e14;
}

x_Vector Circumcentre(const x_Vector& a, const x_Vector& b, const x_Vector& c)
{
    const double det = 2.0 * ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x));
    if (!(std::fabs(det) > 1e-9))              // NaN input included
        return {0.0, 0.0, 0};
    const double a2 = a.x * a.x + a.y * a.y;
    const double w = (b.x * b.x + b.y * b.y) - a2;
    const double u = (c.x * c.x + c.y * c.y) - a2;
    return {((c.y - a.y) * w - (b.y - a.y) * u) / det, ((b.x - a.x) * u - (c.x - a.x) * w) / det};
}
