#pragma once

// Where two entities meet. Every entity reduces to straight segments (lines,
// construction lines, polylines, polygons, splines), a circle (arcs and
// circles) or an ellipse (ellipses and elliptic arcs); the pair routines work
// on the full curves, and the exact flag keeps only the points on both
// entities as drawn.

#include <cstdint>

#include "geometry/UnitGeometry.h"
#include "geometry/x_VectorList.h"

class CUnit;

// An ellipse as the line routine reads it.
struct EllipseAxes {
    x_Vector centre;
    double axisAngle = 0.0;
    double semiMajor = 0.0;
    double semiMinor = 0.0;
};

// exact 1: only points that lie on both entities as drawn.
x_VectorList IntersectEntities(CUnit* a, CUnit* b, std::uint8_t exact);

// The crossing of the two carrier lines; bounded only rejects disjoint boxes.
x_VectorList IntersectLineLine(const x_LineData& a, const x_LineData& b, std::uint8_t bounded);
// The same point without a list (the offset asks it at every joint): false
// where IntersectLineLine finds none.
bool LineLinePoint(const x_LineData& a, const x_LineData& b, std::uint8_t bounded, x_Vector& at);
// The full circle against the full line; the point farther along the line first.
x_VectorList IntersectLineArc(const ArcRecord& arc, const x_LineData& segment);
// Two full circles; the point right of the direction from the first centre first.
x_VectorList IntersectArcArc(const ArcRecord& first, const ArcRecord& second);
// The full ellipse against the full line, the earlier point along the line first.
x_VectorList IntersectLineEllipse(const EllipseAxes& ellipse, const x_LineData& segment);

// Entity forms: a line entity by its start and end point, an arc entity by
// its current record; a null entity gives an empty list.
x_VectorList IntersectLineLine(CUnit* a, CUnit* b, std::uint8_t bounded);
x_VectorList IntersectLineArc(CUnit* arc, CUnit* segment);
x_VectorList IntersectArcArc(CUnit* first, CUnit* second);
x_VectorList IntersectLineEllipse(CUnit* ellipse, CUnit* segment);
