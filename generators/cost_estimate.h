#pragma once

// The machining cost estimate: the cut area (path length times workpiece
// thickness) of the selected wire paths times a price per mm2.

#include "geometry/CUnit.h"           // CUnitDocument.h needs it complete
#include "geometry/CUnitDocument.h"

struct TrailParams;

// The parameters of a wire path unit (role 4), or null when the unit
// carries none. The path entity installs the reader.
using TrailParamsReader = const TrailParams* (*)(CUnit& unit);
void SetTrailParamsReader(TrailParamsReader reader);

struct PathLengthSum {
    int count = 0;                  // paths counted
    double length = 0.0;            // mm, the larger surface of each
};

// Live, selected paths of the list; each adds the larger of its lower and
// upper total lengths (lead lines included).
PathLengthSum SumSelectedPaths(const CUnitArray& units);
