#pragma once

// What entity code uses of the path engine. The functions are defined here
// so that geometry links alone; the path engine uses them and does not define
// them again. The crossing search walks the drawing with the engine's own
// rules, so the engine installs it with SetCollectCrossingsHook.

#include <cstdint>

#include "geometry/UnitGeometry.h"
#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"

class CUnit;

// Angle an arc turns from its start to its end in its direction; a result
// below 1e-10 in size counts as a full turn.
double SweepAngle(ArcRecord arc);
// Thins a sampled point run: drops the points that only continue the
// current straight run (within tol in x and y); returns the run's length.
double ResamplePoints(CArray<x_Vector>& out, const x_Vector* points, int count, double tolerance);
// Area-weighted centroid of a closed point list; (0, 0) invalid for three
// points or fewer, or when the area is zero.
x_Vector PolygonCentroid(const x_Vector* points, int count);
// Empties g_TrailDirections and frees its storage.
void ClearTrailDirections();
// Adds to g_TrailDirections a way a path leaves point along unit: kind 2
// runs start to end, 1 end to start; point2 is where it was picked.
void AppendTrailDirection(const CUnit& unit, const x_Vector& point, const x_Vector& point2, double angle,
                          int kind);
void AppendTrailDirection(const CUnit& unit, const x_Vector& point, double angle, int kind);
// angle + π, brought back below 2π once.
double ReverseAngle(double angle);
// Inside a run both ways leave the point: forward (kind 2) and its reverse (kind 1).
void AppendTrailDirectionsBothWays(const CUnit& unit, const x_Vector& point, double forward);

// Appends a piece a split made to the drawing; a chained piece is also
// listed in g_CreateTrailPoints (its index with ownerIndex). Without a
// document the piece is freed.
void AppendSplitPiece(CUnit* piece, int ownerIndex, bool chained);
// The end of a split at p: where the chain goes on from t (CollectCrossings,
// skipping skipUnitId); 1 one unit, 2 several; 0, with unit deselected, when
// nothing continues it and out stays p.
int ContinueChainFrom(CUnit& unit, std::uint64_t skipUnitId, const x_Vector& t, const x_Vector& p,
                      x_Vector& out);

// From T, looks for the units that continue the contour chain: 1 exactly one
// (out = where the chain goes on), 2 several, 0 none; out = T otherwise.
using CollectCrossingsFn = int (*)(std::uint64_t skipUnitId, x_Vector t, x_Vector& out);
void SetCollectCrossingsHook(CollectCrossingsFn hook);
// Without a hook nothing continues the chain: 0, out = T.
int CollectCrossings(std::uint64_t skipUnitId, x_Vector t, x_Vector& out);
