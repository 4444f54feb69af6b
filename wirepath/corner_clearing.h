#pragma once

// Corner clearing: after every sharp corner of a path the wire runs a lead
// length away from the corner and back, along the angle bisector (outer
// corners) or along the extension lines (the others).

#include <cstdint>

#include "geometry/x_TrailData.h"

struct PathSettings;

// lists: lower and upper; m lists are treated (1 or 2). The outputs are
// emptied first; false leaves them empty or partial and the caller keeps
// its lists. offsetSide is the side of the 0.05 probe offset; compSide 2
// inverts the outer-corner test.
bool ClearCorners(const PathSettings& settings, const x_TrailDataArray lists[2], int m, x_TrailDataArray out[2],
                  std::uint8_t closed, std::uint8_t offsetSide, int compSide);
