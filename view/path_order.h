#pragma once

// The export order of wire paths: number labels at their starts and the
// travel lines between them, temporary entities that are never saved.

#include "geometry/x_Vector.h"

class CUnit;

// A temporary "%d" label at point (12-pixel number label, green).
CUnit* MakeOrderLabel(const x_Vector& at, int number);
// A temporary dotted travel line (role 3).
CUnit* MakeTravelLine(const x_Vector& from, const x_Vector& to);
// Orders the selected paths from first (drawing-list index) by nearness,
// refills g_SelectedTrailIds and numbers them with travel lines.
void NumberPathsForExport(CUnit* first, int index);
// The cutting order of a batch run: the selected paths from first (its
// drawing-list index), each next one the nearest, numbered on the drawing.
void OrderAndNumberPaths(CUnit* first, int index);
