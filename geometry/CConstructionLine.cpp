#include "geometry/CConstructionLine.h"

#include <cmath>

#include "geometry/plane_geometry.h"
#include "geometry/view_transform.h"

IMPLEMENT_SERIAL(CConstructionLine, CUnit, 1)

namespace {

// The ±8-pixel box around a pixel, left and top edges inside.
bool InPixelBox(const POINT& centre, const POINT& p)
{
    return p.x >= centre.x - 8 && p.x < centre.x + 8 && p.y >= centre.y - 8 && p.y < centre.y + 8;
}

} // namespace

CConstructionLine::CConstructionLine(const x_Vector& p1, const x_Vector& p2) : CConstructionLine()
{
    P1() = p1;
    P2() = p2;
}

// A screen pick counts only between the two points, although distance and
// nearest point use the whole line.
bool CConstructionLine::HitTest(x_Vector point, std::uint8_t mode)
{
    if (mode != 0)
        return PointOnSegment(P1(), P2(), point);
    x_Vector foot;
    NearestPoint(foot, point, 0);
    if (!foot.valid || !PointOnSegment(P1(), P2(), foot))
        return false;
    if (!InPixelBox(WorldToScreen(point), WorldToScreen(foot)))
        return false;
    edit->hitPoint = foot;
    hitSegment = 0;
    return true;
}

void CConstructionLine::ComputeExtents()
{
    extentMin = x_Vector::MinCorner(P2(), P1());
    extentMax = x_Vector::MaxCorner(P2(), P1());
}

double CConstructionLine::DistanceTo(x_Vector& point, int, int, double)
{
    const x_Vector v = P2() - P1();
    const double len = v.Length();
    if (len < 1e-6)
        return 1e10;
    const x_Vector w = point - P1();
    return std::fabs(v.x * w.y - v.y * w.x) / len;
}

x_Vector CConstructionLine::NearestPoint(x_Vector& out, x_Vector& point, std::uint8_t, double*, int)
{
    const x_Vector v = P2() - P1();
    const double len2 = v.x * v.x + v.y * v.y;
    if (std::sqrt(len2) < 1e-6) {
        out = Unset();
        return out;
    }
    const x_Vector w = point - P1();
    out = P1() + v * ((w.x * v.x + w.y * v.y) / len2);
    out.valid = 1;
    return out;
}

bool CConstructionLine::Mirror(x_Vector a, x_Vector b)
{
    P1().MirrorAbout(a, b);
    P2().MirrorAbout(a, b);
    return true;
}

bool CConstructionLine::Rotate(x_Vector centre, double angle)
{
    P1().RotateAbout(centre, angle);
    P2().RotateAbout(centre, angle);
    return true;
}

bool CConstructionLine::Scale(x_Vector base, x_Vector factors)
{
    P1().ScaleAbout(base, factors.x, factors.y);
    P2().ScaleAbout(base, factors.x, factors.y);
    return true;
}

x_Vector CConstructionLine::NearestEnd(x_Vector& out, const x_Vector& point, double* distance)
{
    const double d1 = x_Vector::Distance(point, P1());
    const double d2 = x_Vector::Distance(point, P2());
    out = d2 < d1 ? P2() : P1();
    if (distance != nullptr)
        *distance = d2 < d1 ? d2 : d1;
    return out;
}

x_Vector CConstructionLine::EmptyPoint78(x_Vector& out, double, double* distance)
{
    out = Unset();
    if (distance != nullptr)
        *distance = 1e10;
    return out;
}

x_Vector CConstructionLine::EmptyPoint79(x_Vector& out, double ignored, double* distance)
{
    return EmptyPoint78(out, ignored, distance);
}

x_Vector CConstructionLine::EmptyPoint80(x_Vector& out, double, double, double, double* distance)
{
    return EmptyPoint78(out, 0.0, distance);
}

void CConstructionLine::Translate(double dx, double dy)
{
    P1().Translate(dx, dy);
    P2().Translate(dx, dy);
}
