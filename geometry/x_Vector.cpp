#include "geometry/x_Vector.h"

#include <algorithm>
#include <cmath>

bool x_Vector::IsEqual(const x_Vector& o) const
{
    return std::fabs(x - o.x) < 0.001 && std::fabs(y - o.y) < 0.001;
}

x_Vector x_Vector::FromPolar(double r, double a)
{
    return {r * std::cos(a), r * std::sin(a)};
}

double x_Vector::Angle() const
{
    // atan2 + 2π lies in [π, 3π] (2π itself when atan2 is just below zero),
    // where the remainder by 2π is one exact subtraction (Sterbenz): the
    // bits fmod gives, without its cost, which every line offset pays.
    const double a = std::atan2(y, x) + kTwoPi;
    return a >= kTwoPi ? a - kTwoPi : a;
}

double x_Vector::AngleTo(const x_Vector& p, const x_Vector& q)
{
    return (q - p).Angle();
}

double x_Vector::Length() const
{
    return std::sqrt(x * x + y * y);
}

double x_Vector::Distance(const x_Vector& p, const x_Vector& q)
{
    return (q - p).Length();
}

x_Vector x_Vector::Lerp(double t, const x_Vector& a, const x_Vector& b)
{
    return a + (b - a) * t;
}

x_Vector x_Vector::Perpendicular(const x_Vector& p, const x_Vector& q)
{
    return {p.y - q.y, q.x - p.x};
}

x_Vector x_Vector::Translate(double dx, double dy)
{
    x += dx;
    y += dy;
    return *this;
}

x_Vector x_Vector::Rotate(double angle)
{
    const double r = Length();
    const double phi = Angle() + angle;
    x = r * std::cos(phi);
    y = r * std::sin(phi);
    return *this;
}

x_Vector x_Vector::RotateAbout(const x_Vector& centre, double angle)
{
    x_Vector d = *this - centre;
    d.Rotate(angle);
    x = centre.x + d.x;
    y = centre.y + d.y;
    return *this;
}

x_Vector x_Vector::Scale(double sx, double sy)
{
    x *= sx;
    y *= sy;
    return *this;
}

x_Vector x_Vector::ScaleAbout(const x_Vector& base, double sx, double sy)
{
    x = base.x + (x - base.x) * sx;
    y = base.y + (y - base.y) * sy;
    return *this;
}

x_Vector x_Vector::MirrorAbout(const x_Vector& a, const x_Vector& b)
{
    const double d = Distance(a, *this);
    if (d < 1e-6 || Distance(*this, b) < 1e-6)
        return *this;                           // on the line already
    const double alpha = (*this - a).Angle();
    const double beta = (b - a).Angle();
    const double theta = alpha + 2.0 * (beta - alpha);
    x = a.x + d * std::cos(theta);
    y = a.y + d * std::sin(theta);
    valid = 1;
    return *this;
}

double NormalizeAngle(double a)
{
    // Angles read from files may be huge or not finite; repeated adding of
    // 2π never ended on them. fmod gives the same result in normal ranges.
    if (!std::isfinite(a))
        return 0.0;
    if (a > kTwoPi) {
        // Below two turns the one subtraction is exact, as fmod is; an arc
        // past zero is stored so, and extents meet it at every open.
        if (a < 2 * kTwoPi)
            return a - kTwoPi;
        const double r = std::fmod(a, kTwoPi);
        return r == 0.0 ? kTwoPi : r;
    }
    if (a < 0.0) {
        const double r = std::fmod(a, kTwoPi);
        return r < 0.0 ? r + kTwoPi : 0.0;
    }
    return a;
}

bool AngleInArc(double a, double start, double end, bool reversed)
{
    if (reversed)
        std::swap(start, end);
    const double u = NormalizeAngle(a - start);
    const double w = NormalizeAngle(end - start);
    if (u <= w + 0.001 && u + 0.001 >= 0.0)
        return true;
    const double gap = std::fabs(start - end);
    return gap < 1e-8 || gap > 6.283185297179586;
}
