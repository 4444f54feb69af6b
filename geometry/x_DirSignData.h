#pragma once

#include <cstdint>

#include "geometry/x_Vector.h"
#include "platform/gdi/gdi_types.h"

// A path-direction arrow: the template points rotated about the base (screen
// pixels, y down), their screen positions, and the direction candidate it
// offers. Copied whole.
struct x_DirSignData {
    x_Vector base;                      // world millimetres
    x_Vector head[3];
    x_Vector shaft[2];
    x_Vector pickArea[3];               // a click inside picks the arrow
    POINT headScreen[3];
    POINT pickScreen[3];
    POINT shaftScreen[2];
    // The direction candidate (filled by the path-direction choice).
    double angle = 0.0;
    std::int32_t direction = 2;         // chain direction
    std::int32_t candidateKind = 0;
    std::uint64_t unitId = 0;
    std::int32_t listIndex = 0;
    std::uint8_t flag = 0;
    double angle2 = 0.0;
    x_Vector point;                     // branch point
    std::uint8_t active = 0;
};

// The arrow template: head (20,-6) (20,6) (60,0), shaft (0,0) (20,0), pick
// triangle (20,-200) (20,200) (400,0).
void SetDefaultDirSignTemplate();
