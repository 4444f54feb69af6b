#pragma once

// Geometry of path elements: sweeps, lengths, end points, boxes, the
// centroid of a point list, flattening, and the metrics pass that stores
// the element lengths, the length totals and the boxes of a path.

#include <cstdint>

#include "geometry/UnitGeometry.h"
#include "geometry/x_TrailData.h"
#include "platform/core/CArray.h"

struct TrailPath;

// The arc part of an element.
ArcRecord ArcOf(const x_TrailData& e);
void SetArcOf(x_TrailData& e, const ArcRecord& arc);

// radius × sweep; equal start and end angles are a full turn.
double ArcLength(const ArcRecord& arc);
// Sweep from a to b in the direction (non-zero clockwise); a magnitude
// below 1e-10 gives 0.
double SignedSweep(double a, double b, std::uint8_t direction);
double TrailElementLength(const x_TrailData& e);
double TrailLength(const x_TrailDataArray& list);
// Kind above 3: (0, 0) invalid.
x_Vector ElementStartPoint(const x_TrailData& e);
x_Vector ElementEndPoint(const x_TrailData& e);
// Direction of travel at the element's start or end, radians in [0, 2π].
double ElementTravelAngle(const x_TrailData& e, bool atEnd);
// First and last point of the lower list; (0, 0) valid when there is none.
x_Vector TrailStartPoint(const TrailPath& path);
x_Vector TrailEndPoint(const TrailPath& path);
// Box of an arc whose end points the caller knows as p1 and p2.
void ArcBounds(const ArcRecord& arc, const x_Vector& p1, const x_Vector& p2, x_Vector& min, x_Vector& max);
// Appends the list's points (arcs flattened); always 1.
int TrailToPointList(const TrailPath& path, int list, CArray<x_Vector>& out);
int TrailToPointList(const x_TrailDataArray& list, CArray<x_Vector>& out);
// Element lengths, the three totals of each list, the boxes and the extents.
void ComputeTrailMetrics(TrailPath& path);
