#pragma once

// The parameter record of one wire path: how it was generated, what the
// generation measured, and the process values of its seven cuts. Its file
// form is the 599-byte archive form written field by field; the in-memory
// form is never written raw.

#include <cstdint>

#include "geometry/x_Vector.h"
#include "wirepath/CutParams.h"

class CArchive;

struct TrailParams {
    std::uint8_t multiPass = 0;
    std::int32_t sequence = 0;          // export position, 0 after generation
    std::uint8_t reserved1 = 0;
    std::uint8_t surfaceCount = 0;      // 1 lower list only, 2 upper list too
    std::int32_t cutCount = 0;
    double reserved2 = 0.0;
    std::uint8_t closedCut = 0;
    double compensation = 0.0;          // mm
    double reserved3 = 0.0;
    std::uint8_t cutMode = 0;           // 0 normal .. 4 inclined top
    double taperAngle = 0.0;            // degrees, cut mode 1 only
    double thickness = 0.0;
    double overCut = 0.0;
    double reserved4a = 0.0;
    std::int32_t reserved4b = 0;
    double reserved4c[2] = {};
    std::int32_t reserved4d[4] = {};
    std::uint8_t reserved4e[2] = {};
    x_Vector threadPoint[2];            // lower, upper
    x_Vector boxMin[2];
    x_Vector boxMax[2];
    double length[2] = {};
    double lengthNoLead[2] = {};
    double cutLength[2] = {};
    x_Vector drawMin;
    x_Vector drawMax;
    CutParams cuts[7] = {};
    std::uint8_t reserved5a = 0;
    std::int32_t reserved5b = 0;
    double reserved6[4] = {};
    std::uint8_t reserved7[16] = {};    // never stored
    std::int32_t reserved8[4] = {};
};

constexpr int kTrailParamsArchiveSize = 599;

// Points (0, 0) valid, every number 0.
void InitTrailParams(TrailParams& params);
// The state of a new path: every number 0 and every point invalid.
void ClearTrailParams(TrailParams& params);

// The 599-byte archive form. Storing into a loading archive (or the reverse)
// and an early end raise CArchiveException; loading sets every point valid
// and reads closedCut as 0 or 1.
void StoreTrailParams(CArchive& ar, const TrailParams& params);
void LoadTrailParams(CArchive& ar, TrailParams& params);
