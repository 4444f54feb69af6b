#pragma once

#include <cstdint>

#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"
#include "platform/core/CString.h"

// Header record of the path export; the export fills it.
struct TrailReadRecord {
    x_Vector points[3];                 // (0, 0), valid
    std::uint8_t hasCutPoint = 0;       // the drawing holds a cut point
    CArray<x_Vector> extraPoints;       // two points
    CString fileName;                   // current file name without extension

    TrailReadRecord();
};
