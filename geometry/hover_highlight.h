#pragma once

// The hover highlight and rubber outline that entities draw in NOT-XOR:
// drawing one twice removes it.

#include "geometry/CUnit.h"

class CDC;

// Whether DrawHighlight(show) draws. Show 0 removes a shown highlight (and
// clears hoverShown) and does nothing when none is shown; any other show
// draws unless a highlight is shown, the unit is selected or marked is set.
bool HoverHighlightDraws(CUnit& unit, int show, bool marked);

// World points as a polyline (DrawWorldPolyline) in R2_NOTXORPEN with a pen
// made for the call; the pen and raster operation come back after, the
// background mode stays g_BackgroundMode.
void DrawXorWorldPolyline(CDC* dc, int penStyle, int width, COLORREF colour, const x_VectorArray& points);
