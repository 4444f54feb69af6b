#pragma once

#include <algorithm>
#include <cstdint>

#include "geometry/GeometryState.h"
#include "geometry/x_Vector.h"
#include "platform/gdi/gdi_types.h"

// RoundHalfUp, saturated (RoundPixel's way out).
std::int32_t RoundPixelFar(double v);

// World millimetres (g_ViewScale, g_ViewOriginX/Y) to screen pixels, rounded
// half up; at extreme zoom the pixels saturate at ±kScreenPixelLimit.
POINT WorldToScreen(const x_Vector& p);
std::int32_t WorldToScreenX(double x);
// Well inside the int range: marks drawn around a pixel (a few hundred
// pixels out) and the difference of two pixels cannot overflow.
constexpr std::int32_t kScreenPixelLimit = (1 << 30) - (1 << 20);
// A pixel moved by delta, saturated like the pixels above: a saturated
// pixel plus an offset overflowed.
std::int32_t OffsetPixel(std::int32_t pixel, std::int64_t delta);
std::int32_t WorldToScreenY(double y);

// Farthest the view origin lies from the window, in pixels: the marks drawn
// around it (the axes cross reaches 30 pixels out) stay inside the int range.
constexpr std::int32_t kViewOriginLimit = 1000000000;
// The origin pixel rounded and held within ±kViewOriginLimit (NaN gives 0).
std::int32_t ClampViewOrigin(double pixel);
// The smallest scale the view zooms out to (pixels per mm).
constexpr double kSmallestViewScale = 0.01;
// Raise g_ViewScale to 0.01 when below (or not a number); returns it.
double ClampViewScale();
x_Vector ScreenToWorld(std::int32_t px, std::int32_t py);
double PixelsToMm(std::int32_t px);

// Rescales g_DashLengths after a zoom: s = max(0.2 × g_ViewScale, 0.8), each
// threshold ceil(s × base) for the bases 6, 9, 10, 13, 16, 19.
void UpdateGlyphSizes();

// RoundHalfUp for the pixels of a frame: without a branch on the fraction,
// which falls either way at random from one vertex to the next, and whose
// mispredictions cost more than the rest of the conversion. A value within
// an ulp below a half may round up; beyond ±2^29 the exact function.
inline std::int32_t RoundPixel(double v)
{
    if (!(v > -536870912.0 && v < 536870912.0))
        return RoundPixelFar(v);
    const double f = v + 0.5;
    const std::int32_t t = static_cast<std::int32_t>(f);
    return t - static_cast<std::int32_t>(f < static_cast<double>(t));
}
// WorldToScreen through RoundPixel.
inline POINT WorldToPixel(const x_Vector& p)
{
    const std::int64_t x = std::int64_t(RoundPixel(g_ViewScale * p.x)) + g_ViewOriginX;
    const std::int64_t y = std::int64_t(g_ViewOriginY) - RoundPixel(g_ViewScale * p.y);
    return {static_cast<std::int32_t>(std::clamp<std::int64_t>(x, -kScreenPixelLimit, kScreenPixelLimit)),
            static_cast<std::int32_t>(std::clamp<std::int64_t>(y, -kScreenPixelLimit, kScreenPixelLimit))};
}
