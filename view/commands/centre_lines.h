#pragma once

// Geometry of the centre line between two lines (command 26, and command 20
// in mode "中心线标注"). The command places it as a dash-dot dimension line
// once the dimension classes exist.

#include "geometry/UnitGeometry.h"

struct CentreLineGeometry {
    x_Vector start;
    x_Vector end;
    double halfLength = 0.0;
};

// The second line is taken reversed when it points against the first; the
// line runs through the middle of the two pairs of corresponding ends.
CentreLineGeometry CentreLineOfTwoLines(const x_LineData& first, const x_LineData& second);
