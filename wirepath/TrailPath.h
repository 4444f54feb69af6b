#pragma once

// The data of one wire path as the engine builds it: the lower and upper
// element lists, the same lists before compensation, the outward flags and
// the parameter record. The path entity carries one of these.

#include <cstdint>

#include "geometry/x_TrailData.h"
#include "wirepath/TrailParams.h"
#include "wirepath/path_check.h"

struct TrailPath {
    x_TrailDataArray lists[2];          // lower, upper (empty for one surface)
    x_TrailDataArray unshifted[2];      // each list before the compensation offset
    std::uint8_t outward[2] = {0, 0};   // 1: the compensation side is the outside
    SurfaceIntent intent[2];            // what each surface was built to be, for the check
    PathCheckResult check;              // why the check refused the path
    TrailParams params;
    x_Vector extentMin;
    x_Vector extentMax;
    std::uint8_t temporary = 0;
    std::uint8_t complete = 0;
    std::int32_t ownerNo = 0;
    std::uint64_t unitId = 0;

    x_TrailDataArray& Lower() { return lists[0]; }
    x_TrailDataArray& Upper() { return lists[1]; }
};
