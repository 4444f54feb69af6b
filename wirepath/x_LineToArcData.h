#pragma once

// One piece of a point run fitted with lines and arcs. The group from
// `start` to `lineFlag` has the layout of an element's line part, the group
// from `centre` to `arcMark` that of its arc part; readers use the group
// that `kind` selects.

#include <cstdint>

#include "geometry/x_Vector.h"

struct x_LineToArcData {
    std::uint8_t kind = 0;              // 1 line piece, 2 arc piece
    x_Vector start;
    x_Vector end;
    std::uint8_t lineFlag = 0;
    x_Vector centre;
    double radius = 0.0;
    double startAngle = 0.0;
    double endAngle = 0.0;
    std::uint8_t direction = 0;         // 1 clockwise
    std::uint8_t arcMark = 0;
};
