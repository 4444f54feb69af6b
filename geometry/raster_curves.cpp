#include "geometry/raster_curves.h"

#include <algorithm>
#include <cmath>

#include "geometry/GeometryState.h"
#include "geometry/raster.h"
#include "geometry/view_transform.h"
#include "platform/gdi/RowDamage.h"

namespace {

// A zoom that puts a curve of a kilometre on the screen still draws it in
// a bounded time; the chords then stray more than a quarter pixel.
constexpr double kMostChords = 65536.0;

struct Pixel {
    std::int32_t x, y;
};

// Both ends beyond one edge of the raster: nothing of the chord is on it.
bool BothBeyond(const Pixel& a, const Pixel& b, std::int32_t w, std::int32_t h)
{
    return (a.x < 0 && b.x < 0) || (a.x >= w && b.x >= w) || (a.y < 0 && b.y < 0) || (a.y >= h && b.y >= h);
}

} // namespace

double ChordsPerRadian(double radiusPixels)
{
    if (!(radiusPixels > 2.0))
        return 1.0;
    return std::sqrt(radiusPixels / 2.0);
}

void DrawArcRGB565(std::uint8_t* raster, const x_Vector& centre, double radius, double start, double sweep,
                   std::uint32_t colour, std::uint8_t pattern)
{
    if (raster == nullptr)
        return;
    const double scale = g_ViewScale;
    const double cx = centre.x * scale + g_ViewOriginX, cy = g_ViewOriginY - centre.y * scale;
    const double r = radius * scale;
    const std::int32_t w = g_RasterWidth, h = g_RasterHeight;
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(r) || !std::isfinite(start)
        || !std::isfinite(sweep))
        return;
    // A circle that misses the raster draws nothing.
    if (cx + r < -1.0 || cx - r > w + 1.0 || cy + r < -1.0 || cy - r > h + 1.0)
        return;
    const double chords = std::clamp(std::ceil(std::fabs(sweep) * ChordsPerRadian(r)), 1.0, kMostChords);
    const int n = static_cast<int>(chords);
    // The vertices turn by one rotation each, the step's cosine and sine
    // from their series (a step is at most one radian: the terms left out
    // are below 3e-6 of it, and far below for the short steps of large
    // radii, where n steps add up).
    const double step = sweep / n, q = step * step;
    const double cosStep = 1 - q / 2 * (1 - q / 12 * (1 - q / 30 * (1 - q / 56)));
    const double sinStep = step * (1 - q / 6 * (1 - q / 20 * (1 - q / 42 * (1 - q / 72))));
    // The circle's box once for the frame's damage, not each chord's.
    RowDamage* const damage = g_RasterDamage;
    if (damage != nullptr) {
        auto edge = [](double v) { return static_cast<std::int64_t>(std::clamp(v, -1e15, 1e15)); };
        damage->Mark(edge(cx - r) - 2, edge(cy - r) - 2, edge(cx + r) + 3, edge(cy + r) + 3);
    }
    g_RasterDamage = nullptr;
    // A solid curve wholly on the raster: every chord is, and takes the
    // short walk.
    const bool inside = (pattern == 0 || pattern > 3) && cx - r >= 2.0 && cy - r >= 2.0 && cx + r <= w - 3.0
                        && cy + r <= h - 3.0;
    if (inside && colour != g_RasterColor) {
        g_RasterColor = colour;
        g_RasterColor565 = ToRgb565(colour);
    }
    const std::uint16_t word = g_RasterColor565;
    const std::ptrdiff_t stride = g_RasterStride;
    double c = std::cos(start), s = std::sin(start);
    if (inside) {
        // Every vertex lies two pixels or more inside, where rounding half up
        // is truncation of v + 0.5 (RoundPixel's range and sign cases never
        // arise).
        const auto round = [](double v) { return static_cast<std::int32_t>(v + 0.5); };
        Pixel previous{round(cx + r * c), round(cy - r * s)};
        for (int i = 1; i <= n; ++i) {
            const double c2 = c * cosStep - s * sinStep;
            s = s * cosStep + c * sinStep;
            c = c2;
            const Pixel p{round(cx + r * c), round(cy - r * s)};
            if (p.x == previous.x && p.y == previous.y)
                continue;
            DrawSolidInside(raster, stride, previous.x, previous.y, p.x, p.y, word);
            previous = p;
        }
        g_RasterDamage = damage;
        return;
    }
    Pixel previous{RoundPixel(cx + r * c), RoundPixel(cy - r * s)};
    for (int i = 1; i <= n; ++i) {
        const double c2 = c * cosStep - s * sinStep;
        s = s * cosStep + c * sinStep;
        c = c2;
        const Pixel p{RoundPixel(cx + r * c), RoundPixel(cy - r * s)};
        if (p.x == previous.x && p.y == previous.y)
            continue;
        if (!BothBeyond(previous, p, w, h))
            DrawLineRGB565(raster, previous.x, previous.y, p.x, p.y, colour, pattern);
        previous = p;
    }
    g_RasterDamage = damage;
}
