#include "geometry/view_transform.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geometry/GeometryState.h"
#include "geometry/text_utils.h"

namespace {

// The 32-bit sums overflowed at extreme zoom (undefined); pixels saturate.
// At the int range itself a mark drawn a few pixels beside one overflowed.
std::int32_t Saturate(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, -kScreenPixelLimit, kScreenPixelLimit));
}

} // namespace

std::int32_t RoundPixelFar(double v)
{
    return RoundHalfUp(v);
}

void WorldToPixelsFar(const x_Vector& a, const x_Vector& b, POINT& pa, POINT& pb)
{
    pa = WorldToPixel(a);
    pb = WorldToPixel(b);
}

POINT WorldToScreen(const x_Vector& p)
{
    const std::int64_t x = std::int64_t(RoundHalfUp(g_ViewScale * p.x)) + g_ViewOriginX;
    const std::int64_t y = std::int64_t(g_ViewOriginY) - RoundHalfUp(g_ViewScale * p.y);
    return {Saturate(x), Saturate(y)};
}

std::int32_t OffsetPixel(std::int32_t pixel, std::int64_t delta)
{
    return Saturate(std::int64_t(pixel) + delta);
}

std::int32_t WorldToScreenX(double x)
{
    return Saturate(RoundHalfUp(g_ViewScale * x + g_ViewOriginX));
}

std::int32_t WorldToScreenY(double y)
{
    return Saturate(RoundHalfUp(g_ViewOriginY - g_ViewScale * y));
}

double ClampViewScale()
{
    if (!(g_ViewScale >= 0.01))
        g_ViewScale = 0.01;
    return g_ViewScale;
}

std::int32_t ClampViewOrigin(double pixel)
{
    if (!(pixel == pixel))
        return 0;
    const double limit = kViewOriginLimit;
    return RoundHalfUp(std::clamp(pixel, -limit, limit));
}

x_Vector ScreenToWorld(std::int32_t px, std::int32_t py)
{
    // In double: the 32-bit products overflowed at large pixel offsets.
    const double scale = ClampViewScale();
    const double x = ((double(px) - g_ViewOriginX) * 1000.0 / scale) / 1000.0;
    const double y = ((double(g_ViewOriginY) - py) * 1000.0 / scale) / 1000.0;
    return {x, y};
}

double PixelsToMm(std::int32_t px)
{
    const double scale = ClampViewScale();
    return (double(px) * 1000.0 / scale) / 1000.0;
}

void UpdateGlyphSizes()
{
    static constexpr double kBases[6] = {6, 9, 10, 13, 16, 19};
    double s = g_ViewScale * 0.2;
    if (!(s >= 0.8))
        s = 0.8;
    for (int i = 0; i < 6; ++i) {
        // Bounded: at extreme zoom the product left the 32-bit range.
        const double t = std::ceil(s * kBases[i]);
        g_DashLengths[i] = t >= 2147483647.0 ? 2147483647u : static_cast<std::uint32_t>(t);
    }
}
