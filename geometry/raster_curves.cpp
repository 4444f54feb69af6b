#include "geometry/raster_curves.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "geometry/GeometryState.h"
#include "geometry/raster.h"
#include "geometry/sin_cos.h"
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

// The cosine and sine of a step of at most pi / 2 from their series: the
// terms left out are below 3e-5 of it for a step of pi / 2 (the smallest
// circles), below 3e-6 for one radian, and far below for the short steps of
// large radii, where many steps add up.
inline void StepRotation(double step, double& cosStep, double& sinStep)
{
    // Factored without a division: 1 - q/2! + q^2/4! - ..., q/3! - ...
    const double q = step * step;
    cosStep = 1 - q * (1.0 / 2 - q * (1.0 / 24 - q * (1.0 / 720 - q * (1.0 / 40320))));
    sinStep = step * (1 - q * (1.0 / 6 - q * (1.0 / 120 - q * (1.0 / 5040 - q * (1.0 / 362880)))));
}

// Steps of at most a pixel along the curve, so that neighbouring points
// round to neighbouring pixels and no gap opens; each pixel is the exact
// point's, within half a pixel of the curve in each axis. The steps come in
// fours, and four points turn at once, each by four steps: no point waits
// for the one before, and one loop of a count known up front replaces a
// walk per chord, whose end the processor could not foresee.
void DrawSolidArcInside(std::uint8_t* raster, std::ptrdiff_t stride, double cx, double cy, double r, double start,
                        double sweep, std::uint16_t word)
{
    const int groups = std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) * r / 4)));
    double c1, s1;
    StepRotation(sweep / (4 * groups), c1, s1);
    const double c2 = c1 * c1 - s1 * s1, s2 = 2 * c1 * s1;
    double c4 = c2 * c2 - s2 * s2, s4 = 2 * c2 * s2;
    // Points relative to the centre, y upwards; + 0.5 and truncation round
    // half up, as every point is on the raster.
    double c0, s0;
    SinCos(start, s0, c0);
    // y downwards from here, as the rows run.
    double x0 = r * c0, y0 = -r * s0;
    s1 = -s1;
    s4 = -s4;
    const auto turn = [](double& x, double& y, double c, double s) {
        const double turned = x * c - y * s;
        y = y * c + x * s;
        x = turned;
    };
    double x1 = x0, y1 = y0;
    turn(x1, y1, c1, s1);
    double x2 = x1, y2 = y1;
    turn(x2, y2, c1, s1);
    double x3 = x2, y3 = y2;
    turn(x3, y3, c1, s1);
    const double left = cx + 0.5, top = cy + 0.5;
#if defined(__SSE2__)
    // A point is one (x, y) pair; a turn is p c + (-y, x) s. Two points
    // become their pixels' indices at once: column and row in 16 bits, then
    // column + row * strideWords by one multiply-add (the raster is narrower
    // and lower than 2^15 and its rows shorter than 2^16 bytes).
    const __m128d offset = _mm_set_pd(top, left), cosine = _mm_set1_pd(c4), sine = _mm_set_pd(s4, -s4);
    const __m128i weights = _mm_set1_epi32(static_cast<std::int32_t>((stride / 2) << 16 | 1));
    auto* const pixels = reinterpret_cast<std::uint16_t*>(raster);
    const auto plot = [&](__m128d a, __m128d b) {
        const __m128i ia = _mm_cvttpd_epi32(_mm_add_pd(a, offset)), ib = _mm_cvttpd_epi32(_mm_add_pd(b, offset));
        const __m128i both = _mm_unpacklo_epi64(ia, ib);
        const __m128i index = _mm_madd_epi16(_mm_packs_epi32(both, both), weights);
        const std::uint64_t two = static_cast<std::uint64_t>(_mm_cvtsi128_si64(index));
        pixels[static_cast<std::uint32_t>(two)] = word;
        pixels[two >> 32] = word;
    };
    const auto step = [&](__m128d p) {
        return _mm_add_pd(_mm_mul_pd(p, cosine), _mm_mul_pd(_mm_shuffle_pd(p, p, 1), sine));
    };
    __m128d p0 = _mm_set_pd(y0, x0), p1 = _mm_set_pd(y1, x1), p2 = _mm_set_pd(y2, x2), p3 = _mm_set_pd(y3, x3);
    for (int g = 0; g < groups; ++g) {
        plot(p0, p1);
        plot(p2, p3);
        p0 = step(p0);
        p1 = step(p1);
        p2 = step(p2);
        p3 = step(p3);
    }
    plot(p0, p0); // the end point
#else
    const auto plot = [&](double px, double py) {
        const std::ptrdiff_t col = static_cast<std::int32_t>(left + px);
        const std::ptrdiff_t row = static_cast<std::int32_t>(top + py);
        *reinterpret_cast<std::uint16_t*>(raster + row * stride + 2 * col) = word;
    };
    for (int g = 0; g < groups; ++g) {
        plot(x0, y0);
        plot(x1, y1);
        plot(x2, y2);
        plot(x3, y3);
        turn(x0, y0, c4, s4);
        turn(x1, y1, c4, s4);
        turn(x2, y2, c4, s4);
        turn(x3, y3, c4, s4);
    }
    plot(x0, y0); // the end point
#endif
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
    // The circle's box once for the frame's damage, not each chord's.
    RowDamage* const damage = g_RasterDamage;
    if (damage != nullptr) {
        auto edge = [](double v) { return static_cast<std::int64_t>(std::clamp(v, -1e15, 1e15)); };
        damage->Mark(edge(cx - r) - 2, edge(cy - r) - 2, edge(cx + r) + 3, edge(cy + r) + 3);
    }
    // A solid curve wholly on the raster: its points, each rounded to its
    // pixel.
    if ((pattern == 0 || pattern > 3) && cx - r >= 2.0 && cy - r >= 2.0 && cx + r <= w - 3.0 && cy + r <= h - 3.0
        && w < 32768 && h < 32768 && g_RasterStride % 2 == 0 && g_RasterStride < 65536) {
        if (colour != g_RasterColor) {
            g_RasterColor = colour;
            g_RasterColor565 = ToRgb565(colour);
        }
        DrawSolidArcInside(raster, g_RasterStride, cx, cy, r, start, sweep, g_RasterColor565);
        return;
    }
    // Chords elsewhere: they clip, and carry a dash pattern on. The
    // vertices turn by one rotation each.
    const double chords = std::clamp(std::ceil(std::fabs(sweep) * ChordsPerRadian(r)), 1.0, kMostChords);
    const int n = static_cast<int>(chords);
    double cosStep, sinStep;
    StepRotation(sweep / n, cosStep, sinStep);
    g_RasterDamage = nullptr;
    double c, s;
    sincos(start, &s, &c);
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
