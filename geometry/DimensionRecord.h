#pragma once

#include <cstdint>

#include "geometry/x_Vector.h"
#include "platform/core/CString.h"

// Geometry records of the dimension entities. Every number starts at 0: a
// field that the kind does not use is archived as it stands, and it used to
// go out uninitialised.

// The four length and radius dimensions (aligned, linear, ordinate,
// radius/diameter); what each point means depends on the kind.
struct DimensionRecord {
    x_Vector p1;
    x_Vector p2;
    x_Vector p3;                        // p1 at the last commit (aligned, linear)
    x_Vector p4;                        // p2 at the last commit
    double distance = 0.0;              // offset of the dimension line, or the radius
    double angle = 0.0;                 // radians
    std::int32_t linearMode = 0;        // linear: 0 vertical line (Y), 1 horizontal (X)
    double value = 0.0;                 // the number shown
};

// The dimension arc that the angle and the arc-length dimension draw: an arc
// about centre from startAngle to endAngle (counter-clockwise with
// direction 0), witness lines that start witnessRadius from the centre, and
// the measured value.
struct DimensionArc {
    CString storedText;                 // archived and copied, never shown
    x_Vector centre;
    double radius = 0.0;
    double startAngle = 0.0;
    double endAngle = 0.0;
    double witnessRadius = 0.0;
    std::uint8_t direction = 0;
    double value = 0.0;                 // radians (angle) or mm (arc length)
};

// The angle dimension; from two lines (fromLines 1) or from an arc.
struct DimAngleRecord : DimensionArc {
    x_Vector line1Start;                // the measured lines: not archived
    x_Vector line1End;
    x_Vector line2Start;
    x_Vector line2End;
    x_Vector witness1;                  // line end on the startAngle side
    x_Vector witness2;                  // line end on the endAngle side
    std::uint8_t fromLines = 0;
};

// The arc-length dimension: measuredId is the unitId of the measured arc.
struct DimArcRecord : DimensionArc {
    std::uint64_t measuredId = 0;
};
