#pragma once

#include <cstdint>

#include "geometry/x_Vector.h"

#include "platform/gdi/gdi_types.h"

// Whether segments A-B and C-D cross; out receives the crossing. Segments
// that join end (B) to start (C) do not count.
bool IntersectSegments(const x_Vector& a, const x_Vector& b, const x_Vector& c,
                       const x_Vector& d, x_Vector& out);
bool PointOnSegment(const x_Vector& a, const x_Vector& b, const x_Vector& p);
x_Vector PerpendicularFoot(const x_Vector& p, const x_Vector& a, const x_Vector& b);
// Crossing-number test on screen points; the polygon closes itself.
bool PointInPolygon(std::int32_t x, std::int32_t y, const POINT* v, int n);
bool IsRightTurn(const x_Vector& a, const x_Vector& b, const x_Vector& c);
bool AngleInSweep(double a, double start, double end, std::uint8_t clockwise);
double DistanceXY(const x_Vector& a, const x_Vector& b);
double DistanceInt(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
std::int32_t DistanceIntRounded(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
double LinearValue(double a, double b, double c, double d);
int Sign(std::int64_t n);
// Extends g_BoundsMin/g_BoundsMax; an invalid corner there means empty.
void AccumulateBounds(const x_Vector& min, const x_Vector& max);
double PolygonArea(int n, const x_Vector* v);
