#pragma once

// Pieces of object snapping that the curve entities share.

#include <vector>

#include "geometry/CUnit.h"

// Points where lines from `from` touch the circle (centre, radius), the one
// turned by +α first; none from inside the circle.
std::vector<x_Vector> CircleTangentPoints(const x_Vector& centre, double radius, const x_Vector& from);

// The candidate nearest to cursor (the first of equally near ones) becomes
// unit.edit->gripHit and unit.snapKind; false when there is none.
bool TakeNearestCandidate(CUnit& unit, const std::vector<x_PolerData>& candidates, const x_Vector& cursor);
