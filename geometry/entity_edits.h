#pragma once

// The edits that change one or two entities by construction: equidistant
// copy, fillet, chamfer, extend, the common tangents of two circles and the
// arc that joins two path segments. Failures are results (null or false);
// g_EditStatus tells a fillet or chamfer that does not fit (-1).

#include "geometry/UnitGeometry.h"
#include "geometry/x_Vector.h"

class CUnit;

// The copy of a line, arc or circle at distance d on the side of s, marked
// temporary and owned by the caller; null for other types, for a degenerate
// line and for a radius below 0.0001.
CUnit* OffsetEntity(double d, CUnit* entity, x_Vector s);

// Polylines and polygons take part by their segment i (vertices i-1 to i of
// `nodes`); a segment index outside the vertex list gives false. The new
// arc and lines are appended to the drawing list; the given entities are
// left to the caller.
bool FilletEntities(CUnit* a, CUnit* b, int segmentA, int segmentB, x_Vector pick);
bool ChamferEntities(CUnit* a, CUnit* b, int segmentA, int segmentB);

// Moves the end of a line (or polyline) nearer the picked segment to the
// nearest crossing with the selected boundaries; the entity changes in place.
bool ExtendEntity(CUnit* entity, int segment);

// Records 0 and 1 the outer tangents, 2 and 3 the inner ones (used byte 0:
// absent). False for other types, concentric circles, or when no tangent
// exists (one circle inside the other).
bool TangentOfCircles(CUnit* first, CUnit* second, x_LineData out[4]);

// The arc from the end a of one path segment (b on its exit tangent) to the
// start c of the next (d on its reversed entry tangent), bulging to side s
// (2 left of a -> c) so that it passes offset w from the corner t. False
// when the tangent lines or their parallels do not meet, the three-point
// arc fails, or the arc turns a full circle.
bool ConnectingArc(ArcRecord& out, int side, x_Vector a, x_Vector b, x_Vector c, x_Vector d,
                   double w, x_Vector t);
