#pragma once

// Joining two neighbouring offset elements A (earlier) and B (later) at one
// point: A's end and B's start move onto it, or the result tells which of
// the two would have to turn back or refused the joint.

#include <cstdint>

#include "geometry/x_TrailData.h"

enum JoinResult : int {
    kJoined = 1,
    kNoJoint = 0,
    kJoinRefusedA = -1,         // A would reverse or refused P (two arcs: B already moved)
    kJoinRefusedB = -2,
    kJoinBothReverse = -3,
    kJoinDegenerateA = -11,
    kJoinDegenerateB = -12,
};

// flag 0: any intersection near the joint; non-zero: only one on both
// elements. p is cleared first and valid only after a joint was found.
int JoinOffsetElements(x_TrailData& a, x_TrailData& b, x_Vector& p, std::uint8_t flag);
// Moves the start (selector 0) or end angle of an arc element onto the
// direction of point from its centre, unless the sweep would change by π
// or more (the arc would flip to the far side of its circle).
bool SetArcAngleToPoint(x_TrailData& arc, int selector, const x_Vector& point);

// Within 0.001 of an arc element as drawn (its end points or its span).
bool PointOnArcElement(const x_TrailData& arc, const x_Vector& p);
// Whether the line element's direction from `fixed` changes when its other
// end moves to p; directions within 0.01 rad count as kept.
bool LineWouldReverse(const x_Vector& fixed, const x_Vector& moving, const x_Vector& p);
