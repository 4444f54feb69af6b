#include "geometry/CEllipse.h"

#include <cmath>

#include "geometry/GeometryState.h"
#include "platform/core/CArchive.h"

IMPLEMENT_SERIAL(CEllipse, CUnit, 1)

namespace {

constexpr double kHalfPi = 1.5707963267948966;

} // namespace

CEllipse::CEllipse() = default;

CEllipse::~CEllipse() = default;

// The point at the parameter of P: where the ray from the centre through P,
// in the frame where the ellipse is a circle, meets the curve (not the foot
// of the perpendicular).
x_Vector CEllipse::NearestPoint(x_Vector& out, x_Vector& p, std::uint8_t withinSpan, double* distance, int)
{
    out = Unset();
    if (!p.valid) {
        if (distance != nullptr)
            *distance = 1e10;
        return out;
    }
    const double t = ParameterAtPoint(p);
    const x_Vector q = EllipsePointAt(geometry.ellipse, t);
    if (distance != nullptr)
        *distance = x_Vector::Distance(p, q);
    const EllipseRecord& w = workGeometry.ellipse;
    if (withinSpan && !AngleInArc(t, w.startParam, w.endParam, w.direction != 0))
        return out;
    out = q;
    return out;
}

bool CEllipse::Copy(int mode, CUnit*& out)
{
    if (mode == 0 || mode == 2)
        ++g_UnitIdCounter;
    auto* copy = new CEllipse();
    CopyInto(copy, mode);
    out = copy;
    return true;
}

void CEllipse::UpdateGripPoints()
{
    const EllipseRecord& g = geometry.ellipse;
    const double b = GetSemiMinor(), theta = EllipseAxisAngle(g);
    minorAxis = x_Vector(b * std::cos(theta + kHalfPi), b * std::sin(theta + kHalfPi));
    gripPoints.RemoveAll();
    gripPoints.FreeExtra();
    gripPoints.Add(g.centre + minorAxis);
    gripPoints.Add(g.centre - g.majorAxis);
    gripPoints.Add(g.centre - minorAxis);
    gripPoints.Add(g.centre + g.majorAxis);
    gripPoints.Add(g.centre);
}
