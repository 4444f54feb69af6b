#pragma once

// Where the copies of a rectangular or polar array go: the offset of each
// copy from its source and, on the polar page, its turn.

#include <vector>

#include "app/settings_blocks.h"
#include "geometry/x_Vector.h"

// More places than this are refused; the counts come from typed text.
constexpr long long kMaxArrayPlaces = 10000;

struct ArrayPlace {
    x_Vector offset;
    double turn = 0.0;              // radians, polar page only
};

// The places in order, or the refusal line to print (null on success).
const char16_t* RectangularArrayPlaces(const ArraySettings& s, std::vector<ArrayPlace>& out);
const char16_t* PolarArrayPlaces(const ArraySettings& s, std::vector<ArrayPlace>& out);
