#pragma once

#include <cstdint>

#include "geometry/x_Vector.h"
#include "platform/gdi/gdi_types.h"

// World millimetres (g_ViewScale, g_ViewOriginX/Y) to screen pixels, rounded
// half up; at extreme zoom the pixels saturate at the int32 range.
POINT WorldToScreen(const x_Vector& p);
std::int32_t WorldToScreenX(double x);
std::int32_t WorldToScreenY(double y);
// Raise g_ViewScale to 0.01 when below (or not a number); returns it.
double ClampViewScale();
x_Vector ScreenToWorld(std::int32_t px, std::int32_t py);
double PixelsToMm(std::int32_t px);

// Rescales g_DashLengths after a zoom: s = max(0.2 × g_ViewScale, 0.8), each
// threshold ceil(s × base) for the bases 6, 9, 10, 13, 16, 19.
void UpdateGlyphSizes();
