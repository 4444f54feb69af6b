#pragma once

// The element of a path's work lists: carried and archived (232 raw bytes
// each) with the path, never filled by any builder.

#include <cstddef>
#include <cstdint>

#include "geometry/x_Vector.h"

struct x_TrailData_Work {
    std::int32_t lead = 0;              // left alone by the initialiser
    std::uint8_t role = 0;
    std::uint8_t subKind = 1;
    std::uint8_t pad6[2] = {};
    std::int32_t group = 0;
    std::uint8_t flags[5] = {};
    std::uint8_t pad17[7] = {};
    x_Vector points[3];
    std::uint8_t rest[136] = {};
};
static_assert(sizeof(x_TrailData_Work) == 232);
static_assert(offsetof(x_TrailData_Work, role) == 4);
static_assert(offsetof(x_TrailData_Work, group) == 8);
static_assert(offsetof(x_TrailData_Work, flags) == 12);
static_assert(offsetof(x_TrailData_Work, points) == 24);
static_assert(offsetof(x_TrailData_Work, rest) == 96);

// Role 0, sub-kind 1, the word and the five bytes 0, the three points (0, 0)
// valid; the leading word keeps its value.
void InitTrailDataWork(x_TrailData_Work& record);
