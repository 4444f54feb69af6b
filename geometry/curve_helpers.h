#pragma once

#include <cmath>
#include <cstdint>

#include "geometry/UnitGeometry.h"
#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"

using x_VectorArray = CArray<x_Vector>;

// At most this many points per flattening: angles read from files may be
// huge, and the step loop never ended on them.
constexpr int kMaxFlattenPoints = 100000;

// Polyline of a circular arc; segments = 0 picks the step from the radius.
// Radii below 0.0001 and non-finite input give an empty list.
void FlattenArc(x_VectorArray& out, const x_Vector& centre, double radius, double start,
                double end, std::uint8_t direction, int segments);
// Polyline of an elliptic arc (eccentric-angle parameters, first axis a turned
// by axisAngle); step 0 picks the step from the axes.
void FlattenEllipseArc(const x_Vector& centre, std::uint8_t direction, x_VectorArray& out,
                       double a, double b, double axisAngle, double start, double end,
                       double step);
// How far an arc turns, positive; equal angles give a full turn. Inline:
// a frame asks it of every arc.
inline double SweepAngleAbs(std::uint8_t direction, double s, double e)
{
    double sweep;
    if (direction == 0) {
        if (s > e - 1e-10)
            e += kTwoPi;
        sweep = std::fabs(e - s);
    } else {
        if (s < e + 1e-10)
            s += kTwoPi;
        sweep = std::fabs(s - e);
    }
    return sweep < 1e-10 ? kTwoPi : sweep;
}
bool ArcFromThreePoints(ArcRecord& out, const x_Vector& p1, const x_Vector& p2, const x_Vector& p3);
x_Vector Circumcentre(const x_Vector& a, const x_Vector& b, const x_Vector& c);
