#pragma once

// The wire compensation offset of an element list, and the small list
// operations that belong to it.

#include <cmath>

#include "geometry/x_TrailData.h"

enum OffsetMode : int { kOffsetPlain = 0, kOffsetTaper = 1, kOffsetVarTaper = 3 };
enum OffsetResult : int {
    kOffsetOk = 1,
    kOffsetFailed = 0,              // cancelled, no corner arc, nothing left
    kOffsetSelfCrossing = -5,       // the result crosses itself (checked callers only)
};

// The list at distance `offset` to one side (0 right, 1 left of the
// direction of travel; a negative offset goes to the other side). Mode 3
// adds to each element tan(taperAngle) × thickness (subtracts it with
// negate). The output is emptied first, and left empty on any failure.
int OffsetTrail(int mode, int negate, const x_TrailDataArray& in, x_TrailDataArray& out, std::uint8_t closed,
                int side, double offset, double thickness = 0.0);
// The corner arc between A (last usable element before the corner) and B
// (first usable after it); moves A's end and B's start onto the arc. The
// corner point is the start of in[index].
int TransitionAngles(x_TrailData& corner, const x_TrailData* in, int inCount, int index, x_TrailData& a,
                     x_TrailData& b, int side, double offset);
// Joints whose ends agree within 0.001 become exact (a contour copied at
// distance 0 keeps the drawing's own small gaps otherwise).
void CloseSmallJoints(x_TrailDataArray& list, bool closed);
// Consecutive equal groups get one number, counting from 0.
void RenumberTrailGroups(x_TrailDataArray& list);
void RenumberTrailGroups(x_TrailData* list, int count);
// Drops lines whose start equals their end exactly.
void RemoveZeroLengthLines(x_TrailDataArray& list);
// Drops the pairs in which both lines have zero length; both lists end at
// the shorter count.
void RemoveZeroLengthPairs(x_TrailDataArray& a, x_TrailDataArray& b);

// Whether two elements that do not follow each other touch or cross
// (the builders check their compensated contours with it; the offset alone
// does not, since corner clearing offsets lists with their lead lines)
// (zero-length elements are left out; closed: the last follows the first).
bool TrailCrossesItself(const x_TrailData* list, int count, bool closed);
// Cuts from a closed list the loops that run the other way round from the
// whole (where an offset passes over a tooth or spike narrower than twice
// itself): the elements of a loop become points where it closes. True when
// the list no longer crosses itself.
bool CutInvertedLoops(x_TrailDataArray& list, bool closed);
// True when the list does not cross itself, or no longer does once its
// inverted loops are cut.
bool UncrossedOrLoopsCut(x_TrailDataArray& list, bool closed);
// Whether a loop of twice-area `loop` runs the other way round from a
// whole of twice-area `whole`, and is smaller than it.
inline bool RunsAgainst(double loop, double whole)
{
    return loop != 0.0 && (loop < 0.0) != (whole < 0.0) && std::fabs(loop) < std::fabs(whole);
}
