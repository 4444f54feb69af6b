#pragma once

// The reference of the path check: the contour before compensation as
// pieces, each with the distance and side its offset is due at, which
// pieces meet at corners, the convex corners' miter zones and the corners
// where a variable taper moves the offset to the other side.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "geometry/x_TrailData.h"
#include "wirepath/check_segments.h"
#include "wirepath/path_check.h"

constexpr double kRule = 0.001;             // mm: how far a contour may stray from its offset
constexpr double kShadowSlack = 1e-7;       // mm: rounding of distances computed two ways

// The unit normal towards a side (1 left, 0 right) of a direction.
inline x_Vector Normal(const x_Vector& t, int side)
{
    return side == 1 ? x_Vector(-t.y, t.x) : x_Vector(t.y, -t.x);
}

// A convex corner of the reference: points of the contour in its wedge
// may lie as far from V as the miter of the two offset carriers.
struct CornerZone {
    x_Vector v, in, out;                // the corner and the tangents there
    double due = 0.0;                   // the larger offset of its two pieces
    double reach = 0.0;
};

// The reference pieces with their due distances and sides.
struct Reference {
    std::vector<CheckPiece> pieces;
    std::vector<double> due;            // |offset| of each piece
    std::vector<int> side;              // the side each piece's offset lies on
    std::vector<int> previous, next;    // the piece meeting it at its start, its end; -1 none
    // Where a variable taper puts two neighbours on opposite sides, the
    // contour crosses the reference near their corner: the radius about
    // the corner at a piece's start and end where the rules wait (-1 none).
    std::vector<double> flipStart, flipEnd;
    // 1 where a piece runs on into the next without a corner or a change
    // of offset: the offset point at its end is the next one's first.
    std::vector<std::uint8_t> smoothEnd;
    std::vector<CornerZone> zones;
    std::vector<CheckPiece> zoneBoxes;  // the zones' boxes, for a grid
    double maxDue = 0.0;

    void ClearDues();                   // all but the pieces, keeping the storage
};

// Fills ref with the pieces of list moved by shift; then with what an
// intent makes of them (distances, sides, corners), the pieces kept.
void BuildReferencePieces(Reference& ref, const x_TrailDataArray& list, const x_Vector& shift);
void SetReferenceDues(Reference& ref, const x_TrailDataArray& list, const SurfaceIntent& intent, bool closed);
// The distances due at a point of piece j: its own, or at a corner either
// of the two pieces' (the lower as the least, the higher as the most).
// The due of the piece meeting j at the end `at` names (j's own inside
// or where none meets it).
inline double NeighbourDue(const Reference& ref, int j, NearestAt at)
{
    const size_t jj = static_cast<size_t>(j);
    const int k = at == kAtStart ? ref.previous[jj] : (at == kAtEnd ? ref.next[jj] : -1);
    return ref.due[k >= 0 ? static_cast<size_t>(k) : jj];
}
inline double DueLow(const Reference& ref, int j, NearestAt at)
{
    return std::min(ref.due[static_cast<size_t>(j)], NeighbourDue(ref, j, at));
}
inline double DueHigh(const Reference& ref, int j, NearestAt at)
{
    return std::max(ref.due[static_cast<size_t>(j)], NeighbourDue(ref, j, at));
}
// Whether a point lies in a convex corner's zone.
bool InZone(const CornerZone& z, const x_Vector& p);
// Whether a point lies within a corner of piece j where the offset
// changes side.
inline bool InFlip(const Reference& ref, size_t j, const x_Vector& p)
{
    const CheckPiece& q = ref.pieces[j];
    return (ref.flipStart[j] >= 0.0 && Dist(p, q.a) <= ref.flipStart[j])
           || (ref.flipEnd[j] >= 0.0 && Dist(p, q.b) <= ref.flipEnd[j]);
}
