#pragma once

// Following a contour from a point through the drawing: the one entity
// that continues it is taken, then the one after it, until the contour
// closes at the lead-in point (g_TrailPickPoints[1]), ends, or branches.
// At a branch one direction candidate and one arrow per continuing entity
// are published for the user to choose from.

#include <cstdint>

#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"

// One entity that continues the chain at a point.
struct x_TrailDirCorssData {
    double angle = 0.0;                 // from the point to the far end
    x_Vector point;
    std::int32_t chainDir = 2;          // 2 run start to end, 1 end to start
    std::uint64_t unitId = 0;
    std::int32_t unitIndex = 0;
    x_Vector next;                      // the far end: where the walk goes on
};

enum FollowResult : int {
    kFollowNone = 0,                    // no step from P, or cancelled
    kFollowEnded = 1,                   // out: the lead-in point or the last end reached
    kFollowBranch = 2,                  // candidates published; out = P
};

// Walks from P, skipping the entity with excludedId (the start entity).
int FollowChain(std::uint64_t excludedId, x_Vector p, x_Vector& out);
// 1 when another live entity named in the candidates has the type and
// geometry of drawing-list entity i.
int IsDuplicateEntity(int i, const CArray<x_TrailDirCorssData>& candidates);
// Makes FollowChain the crossing search of the entities' chain walk.
void InstallChainFollowing();
