#include "geometry/plane_geometry.h"

#include <algorithm>
#include <cmath>

#include "geometry/GeometryState.h"
#include "geometry/view_transform.h"

bool IntersectSegments(const x_Vector& a, const x_Vector& b, const x_Vector& c,
                       const x_Vector& d, x_Vector& out)
{
    if (b.IsEqual(c))
        return false;
    if (std::max(a.x, b.x) < std::min(c.x, d.x) || std::max(c.x, d.x) < std::min(a.x, b.x)
        || std::max(a.y, b.y) < std::min(c.y, d.y) || std::min(a.y, b.y) > std::max(c.y, d.y))
        return false;
    const double den = (d.y - c.y) * (b.x - a.x) - (b.y - a.y) * (d.x - c.x);
    if (!(std::fabs(den) > 1e-10))
        return false;
    const double t = ((d.x - c.x) * (a.y - c.y) - (d.y - c.y) * (a.x - c.x)) / den;
    const x_Vector p = a + (b - a) * t;
    using V = x_Vector;
    if (!(V::Distance(a, p) + V::Distance(b, p) - V::Distance(a, b) < 0.001))
        return false;
    if (!(V::Distance(c, p) + V::Distance(d, p) - V::Distance(c, d) < 0.001))
        return false;
    out = p;
    out.valid = 1;
    return true;
}

bool PointOnSegment(const x_Vector& a, const x_Vector& b, const x_Vector& p)
{
    if (p.IsEqual(a) || p.IsEqual(b))
        return true;
    const double ab = x_Vector::Distance(a, b);
    if (ab < 1e-10)
        return false;
    return std::fabs(x_Vector::Distance(a, p) + x_Vector::Distance(p, b) - ab) < 0.001;
}

x_Vector PerpendicularFoot(const x_Vector& p, const x_Vector& a, const x_Vector& b)
{
    if (std::fabs(a.x - b.x) < 1e-10 && std::fabs(a.y - b.y) < 1e-10)
        return a;
    const x_Vector u = a - b;
    const x_Vector w = p - a;
    const double t = (u.x * w.x + u.y * w.y) / (u.x * u.x + u.y * u.y);
    return a + u * t;
}

bool PointInPolygon(std::int32_t x, std::int32_t y, const POINT* v, int n)
{
    // Wide products: at high zoom the 32-bit ones overflowed, and differences
    // of two int32 values multiply beyond even 64 bits.
    using Wide = __int128;
    bool inside = false;
    for (int i = 1; i <= n; ++i) {
        const POINT& p = v[i - 1];
        const POINT& q = v[i % n];
        if ((p.y > y) == (q.y > y))
            continue;
        Wide f = Wide(std::int64_t(x) - q.x) * (std::int64_t(p.y) - q.y)
               - Wide(std::int64_t(p.x) - q.x) * (std::int64_t(y) - q.y);
        if (p.y < q.y)
            f = -f;
        if (f < 0)
            inside = !inside;
    }
    return inside;
}

bool IsRightTurn(const x_Vector& a, const x_Vector& b, const x_Vector& c)
{
    return (b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x) < 0.0;
}

bool AngleInSweep(double a, double s, double e, std::uint8_t clockwise)
{
    constexpr double eps = 1e-10;
    if (clockwise) {
        if (a > s - eps)
            a -= kTwoPi;
        if (e > s - eps)
            e -= kTwoPi;
        return e - eps <= a && a <= s - eps;
    }
    if (a < s + eps)
        a += kTwoPi;
    if (e < s + eps)
        e += kTwoPi;
    return s - eps <= a && a <= e - eps;
}

double DistanceXY(const x_Vector& a, const x_Vector& b)
{
    return x_Vector::Distance(a, b);
}

double DistanceInt(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    const double dx = double(x2) - x1;
    const double dy = double(y2) - y1;
    return std::sqrt(dx * dx + dy * dy);
}

std::int32_t DistanceIntRounded(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    const double d = DistanceInt(x1, y1, x2, y2);
    return d >= 2147483647.0 ? 2147483647 : static_cast<std::int32_t>(d);
}

double LinearValue(double a, double b, double c, double d)
{
    return c * d - c * a + b;
}

int Sign(std::int64_t n)
{
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}

void AccumulateBounds(const x_Vector& min, const x_Vector& max)
{
    if (!g_BoundsMin.valid || !g_BoundsMax.valid) {
        g_BoundsMin = min;
        g_BoundsMax = max;
        return;
    }
    if (min.x <= g_BoundsMin.x) g_BoundsMin.x = min.x;
    if (min.y <= g_BoundsMin.y) g_BoundsMin.y = min.y;
    if (max.x >= g_BoundsMax.x) g_BoundsMax.x = max.x;
    if (max.y >= g_BoundsMax.y) g_BoundsMax.y = max.y;
}

double PolygonArea(int n, const x_Vector* v)
{
    if (n < 3)
        return 0.0;
    double sum = 0.0;
    for (int i = 0; i < n - 1; ++i)
        sum += v[i].x * v[i + 1].y - v[i].y * v[i + 1].x;
    sum += v[n - 1].x * v[0].y - v[0].x * v[n - 1].y;
    return std::fabs(sum) / 2.0;
}
