#pragma once

#include <cstdint>

// Grip squares are drawn inverting, so two on one pixel would cancel out.
// True when (x, y) was drawn since the last full render (g_GripPairList);
// otherwise it is recorded and the result is false.
bool AddUniquePair(std::int32_t x, std::int32_t y);
