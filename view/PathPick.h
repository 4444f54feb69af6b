#pragma once

// The state of interactive path generation (command 66) that the view keeps
// between clicks: what the last input was, the picks made so far, the
// preview lines, the markers on screen and the path being built. The step
// engine writes the input fields before it publishes a worker request; the
// worker's generation step reads them and writes the rest.

#include <cstdint>

#include "geometry/UnitGeometry.h"
#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"
#include "platform/core/CString.h"

class CUnit;

struct PathPick {
    // Input of the pending request.
    std::int32_t typedIndex = -1;       // marker index typed; -1 for a click
    x_Vector clickPoint;
    std::int32_t clickPixel[2] = {0, 0};
    x_Vector cursorPoint;

    CUnit* trail = nullptr;             // the CTrail being built
    CUnit* leadInLine = nullptr;        // preview: threading point -> lead-in point
    CUnit* leadOutLine = nullptr;       // preview: chain end -> end point
    CUnit* pickedUnit = nullptr;        // carries the chosen direction
    x_Vector lineStart;
    x_Vector lineEnd;
    x_Vector pickPointsLower[4];
    x_Vector pickPointsUpper[4];
    std::int32_t rubberPixels[4] = {-1, -1, -1, -1};
    std::uint8_t markersShown = 0;
    std::int32_t dirCode = 0;
    double markerAngle = 0.0;
    x_Vector dirPoint;
    x_Vector firstDirPoint;
    double normalAngle = 0.0;
    std::int32_t compSide = 0;          // 1 or 2
    double trailCompensation = 0.0;
    std::int32_t trailGroup = 0;
    CArray<x_Vector> clickedPoints;
    std::int32_t taperStep = 0;         // variable taper: 0 side, 1 angles, 2 done
    std::int32_t branchPick = 0;
    double buildCompensation = 0.0;
    std::uint8_t cornerClearFailed = 0;   // the last build kept its corners
    CString checkRefusal;               // what the path check found; empty when it passed
    CArray<x_LineData> leadPreviewLines;    // finished contours of a two-profile path
};
