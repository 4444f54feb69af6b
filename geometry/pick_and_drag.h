#pragma once

// What a click on an entity does alike in every class: the first click
// selects, a click on a grip of the selected entity starts a drag.

#include "geometry/x_Vector.h"

class CUnit;
class CUnitView;

// A click that hits the unselected unit selects and picks it and makes it
// the view's pick unit; the pick mark goes up for a unit in no group.
void SelectOnHit(CUnit& unit, CUnitView& view, const x_Vector& point);

// Starts a drag of the grip at unit.edit->gripHit in command step `step`: the drag
// start and point, the view's first and last point and both drag pixels are
// that grip. Call it after the other units' states are reset.
void BeginGripDrag(CUnit& unit, CUnitView& view, int step);
