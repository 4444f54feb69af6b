#pragma once

// Chain collection: the entities of a picked chain become working copies,
// oriented along the chain and widened by their own extra compensation, in
// the document's scratch list; the chain's outline tells whether the
// compensation side is the outside; contour building follows.

#include <cstdint>

#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"

class CUnitDocument;
struct create_trail_pt_t;
struct PathSettings;
struct TrailPath;

// One request of path building for one chain.
struct ChainRequest {
    int stage = 0;                      // 0 build, 2 collect and classify only
    int list = 0;                       // 0 lower, 1 upper
    int ownerNo = 0;
    int sideKey = 1;                    // 1 right, 2 left of the run direction
    x_Vector pickPoints[4];             // threading, lead-in, chain end, exit
    double offset = 0.0;                // the compensation d
};

// 1 success (the path's list built, or classified only at stage 2); a
// PathCode below 1 otherwise. The copies stay in doc.m_tempList for the
// caller to free.
int CollectChainPoints(const ChainRequest& request, const PathSettings& settings, CUnitDocument& doc,
                       const CArray<create_trail_pt_t>& chain, TrailPath& path);
