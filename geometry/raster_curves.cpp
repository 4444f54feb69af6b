#include "geometry/raster_curves.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

#include "geometry/GeometryState.h"
#include "geometry/raster.h"
#include "geometry/sin_cos.h"
#include "geometry/view_transform.h"
#include "platform/core/cpu_features.h"
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
// walk per chord, whose end the processor could not foresee. The loops
// below differ only in how many points an instruction takes; each product
// and sum is the same, so all draw the same pixels.
struct ArcSteps {
    int groups;
    double c4, s4;     // the turn of four steps, y downwards
    double x[4], y[4]; // the first four points from the centre
    double left, top;  // the centre + 0.5: truncation then rounds half up
};

// Inlined into each loop's function, so that it builds with that loop's
// instructions.
[[gnu::always_inline]] inline ArcSteps FirstSteps(double cx, double cy, double r, double start, double sweep)
{
    ArcSteps a;
    a.groups = std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) * r / 4)));
    double c1, s1;
    StepRotation(sweep / (4 * a.groups), c1, s1);
    const double c2 = c1 * c1 - s1 * s1, s2 = 2 * c1 * s1;
    a.c4 = c2 * c2 - s2 * s2;
    a.s4 = -(2 * c2 * s2);
    // A circle starts at 0, where SinCos gives exactly these for either
    // zero: circles skip its series.
    double c0 = 1.0, s0 = 0.0;
    if (start != 0.0)
        SinCos(start, s0, c0);
    // y downwards from here, as the rows run.
    a.x[0] = r * c0;
    a.y[0] = -r * s0;
    s1 = -s1;
    const auto turnOnce = [&](int i) {
        a.x[i] = a.x[i - 1] * c1 - a.y[i - 1] * s1;
        a.y[i] = a.y[i - 1] * c1 + a.x[i - 1] * s1;
    };
    turnOnce(1);
    turnOnce(2);
    turnOnce(3);
    a.left = cx + 0.5;
    a.top = cy + 0.5;
    return a;
}

// The last step's end: the first point turned groups times.
inline void PlotEnd(std::uint16_t* pixels, std::ptrdiff_t strideWords, const ArcSteps& a, double x, double y,
                    std::uint16_t word)
{
    const std::ptrdiff_t col = static_cast<std::int32_t>(a.left + x), row = static_cast<std::int32_t>(a.top + y);
    pixels[row * strideWords + col] = word;
}

#if defined(__SSE2__)
// Column and row in 16 bits each, then column + row * strideWords by one
// multiply-add (the raster is narrower and lower than 2^15 and its rows
// shorter than 2^16 bytes); four points' indices at once.
inline void PlotFour(std::uint16_t* pixels, __m128i cols, __m128i rows, __m128i weights, std::uint16_t word)
{
    const __m128i index = _mm_madd_epi16(_mm_or_si128(cols, _mm_slli_epi32(rows, 16)), weights);
    const auto low = static_cast<std::uint64_t>(_mm_cvtsi128_si64(index));
    const auto high = static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(index, index)));
    pixels[static_cast<std::uint32_t>(low)] = word;
    pixels[low >> 32] = word;
    pixels[static_cast<std::uint32_t>(high)] = word;
    pixels[high >> 32] = word;
}

inline __m128i IndexWeights(std::ptrdiff_t strideWords)
{
    return _mm_set1_epi32(static_cast<std::int32_t>(strideWords << 16 | 1));
}

// The x of two points in one register and their y in another: a turn is
// x c - y s, y c + x s without a shuffle.
void DrawSolidArcSse2(std::uint16_t* pixels, std::ptrdiff_t strideWords, double cx, double cy, double r,
                      double start, double sweep, std::uint16_t word)
{
    const ArcSteps a = FirstSteps(cx, cy, r, start, sweep);
    const __m128d left = _mm_set1_pd(a.left), top = _mm_set1_pd(a.top);
    const __m128d c = _mm_set1_pd(a.c4), s = _mm_set1_pd(a.s4);
    const __m128i weights = IndexWeights(strideWords);
    __m128d x01 = _mm_loadu_pd(a.x), x23 = _mm_loadu_pd(a.x + 2);
    __m128d y01 = _mm_loadu_pd(a.y), y23 = _mm_loadu_pd(a.y + 2);
    for (int g = 0; g < a.groups; ++g) {
        const __m128i cols = _mm_unpacklo_epi64(_mm_cvttpd_epi32(_mm_add_pd(x01, left)),
                                                _mm_cvttpd_epi32(_mm_add_pd(x23, left)));
        const __m128i rows = _mm_unpacklo_epi64(_mm_cvttpd_epi32(_mm_add_pd(y01, top)),
                                                _mm_cvttpd_epi32(_mm_add_pd(y23, top)));
        PlotFour(pixels, cols, rows, weights, word);
        const __m128d x01Turned = _mm_sub_pd(_mm_mul_pd(x01, c), _mm_mul_pd(y01, s));
        const __m128d x23Turned = _mm_sub_pd(_mm_mul_pd(x23, c), _mm_mul_pd(y23, s));
        y01 = _mm_add_pd(_mm_mul_pd(y01, c), _mm_mul_pd(x01, s));
        y23 = _mm_add_pd(_mm_mul_pd(y23, c), _mm_mul_pd(x23, s));
        x01 = x01Turned;
        x23 = x23Turned;
    }
    PlotEnd(pixels, strideWords, a, _mm_cvtsd_f64(x01), _mm_cvtsd_f64(y01), word);
}
#else
void DrawSolidArcSse2(std::uint16_t* pixels, std::ptrdiff_t strideWords, double cx, double cy, double r,
                      double start, double sweep, std::uint16_t word)
{
    ArcSteps a = FirstSteps(cx, cy, r, start, sweep);
    for (int g = 0; g < a.groups; ++g) {
        for (int i = 0; i < 4; ++i) {
            PlotEnd(pixels, strideWords, a, a.x[i], a.y[i], word);
            const double turned = a.x[i] * a.c4 - a.y[i] * a.s4;
            a.y[i] = a.y[i] * a.c4 + a.x[i] * a.s4;
            a.x[i] = turned;
        }
    }
    PlotEnd(pixels, strideWords, a, a.x[0], a.y[0], word);
}
#endif

#if defined(__x86_64__)
// Four points in two registers, their x and their y: a turn is four
// multiplies and two adds, and the four pixels take two conversions. No
// FMA in the target: a fused multiply-add rounds once, and its pixels
// would stray from those of the SSE2 loop.
__attribute__((target("avx2"))) void DrawSolidArcAvx2(std::uint16_t* pixels, std::ptrdiff_t strideWords,
                                                      double cx, double cy, double r, double start, double sweep,
                                                      std::uint16_t word)
{
    const ArcSteps a = FirstSteps(cx, cy, r, start, sweep);
    const __m256d left = _mm256_set1_pd(a.left), top = _mm256_set1_pd(a.top);
    const __m256d c = _mm256_set1_pd(a.c4), s = _mm256_set1_pd(a.s4);
    const __m128i weights = IndexWeights(strideWords);
    __m256d x = _mm256_loadu_pd(a.x), y = _mm256_loadu_pd(a.y);
    for (int g = 0; g < a.groups; ++g) {
        PlotFour(pixels, _mm256_cvttpd_epi32(_mm256_add_pd(x, left)), _mm256_cvttpd_epi32(_mm256_add_pd(y, top)),
                 weights, word);
        const __m256d turned = _mm256_sub_pd(_mm256_mul_pd(x, c), _mm256_mul_pd(y, s));
        y = _mm256_add_pd(_mm256_mul_pd(y, c), _mm256_mul_pd(x, s));
        x = turned;
    }
    PlotEnd(pixels, strideWords, a, _mm256_cvtsd_f64(x), _mm256_cvtsd_f64(y), word);
}
#endif

// A solid curve wholly on the raster, with room for the loops' rounding:
// its points, each rounded to its pixel.
inline bool SolidInside(std::uint8_t pattern, double cx, double cy, double r, std::int32_t w, std::int32_t h)
{
    return (pattern == 0 || pattern > 3) && cx - r >= 2.0 && cy - r >= 2.0 && cx + r <= w - 3.0 && cy + r <= h - 3.0
           && w < 32768 && h < 32768 && g_RasterStride % 2 == 0 && g_RasterStride < 65536;
}

#if defined(__x86_64__)
// Chosen as the program starts: a local static's guard, taken on each
// call, cost the curve's values their registers.
const bool kAvx2Loop = HasArcPointLoop(ArcPointLoop::avx2);
#endif

// By the loop of this processor, in the converted colour: with no call
// but the loop's, the curve's values stay in their registers.
void DrawSolidInConvertedColour(std::uint8_t* raster, double cx, double cy, double r, double start, double sweep)
{
    auto* const pixels = reinterpret_cast<std::uint16_t*>(raster);
#if defined(__x86_64__)
    if (kAvx2Loop) {
        DrawSolidArcAvx2(pixels, g_RasterStride / 2, cx, cy, r, start, sweep, g_RasterColor565);
        return;
    }
#endif
    DrawSolidArcSse2(pixels, g_RasterStride / 2, cx, cy, r, start, sweep, g_RasterColor565);
}

// Out of line: a frame changes colour seldom, and the call would otherwise
// cost every curve's values their registers.
[[gnu::noinline]] void DrawSolidInNewColour(std::uint8_t* raster, double cx, double cy, double r, double start,
                                            double sweep, std::uint32_t colour)
{
    g_RasterColor = colour;
    g_RasterColor565 = ToRgb565(colour);
    DrawSolidInConvertedColour(raster, cx, cy, r, start, sweep);
}

void DrawSolidInside(std::uint8_t* raster, double cx, double cy, double r, double start, double sweep,
                     std::uint32_t colour)
{
    if (colour != g_RasterColor)
        DrawSolidInNewColour(raster, cx, cy, r, start, sweep, colour);
    else
        DrawSolidInConvertedColour(raster, cx, cy, r, start, sweep);
}

// The rest of DrawArcRGB565, in the pixels of the view (rows downwards).
// Out of line, so that its frame is not set up for the common curve.
[[gnu::noinline]] void DrawArcElsewhere(std::uint8_t* raster, double cx, double cy, double r, double start,
                                        double sweep, std::uint32_t colour, std::uint8_t pattern)
{
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
    // Solid and inside here only with a negative radius.
    if (SolidInside(pattern, cx, cy, r, w, h)) {
        DrawSolidInside(raster, cx, cy, r, start, sweep, colour);
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

} // namespace

bool HasArcPointLoop(ArcPointLoop loop)
{
    return loop == ArcPointLoop::sse2 || ProcessorHasAvx2();
}

void DrawSolidArcRGB565(ArcPointLoop loop, std::uint8_t* raster, std::ptrdiff_t stride, double cx, double cy,
                        double r, double start, double sweep, std::uint16_t word)
{
    auto* const pixels = reinterpret_cast<std::uint16_t*>(raster);
#if defined(__x86_64__)
    if (loop == ArcPointLoop::avx2) {
        DrawSolidArcAvx2(pixels, stride / 2, cx, cy, r, start, sweep, word);
        return;
    }
#endif
    (void)loop;
    DrawSolidArcSse2(pixels, stride / 2, cx, cy, r, start, sweep, word);
}

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
    // Nearly every curve of a frame, tested first: inside the raster it is
    // finite and its box on the raster, so DrawArcElsewhere's tests would
    // pass and its clamps change nothing.
    if (r >= 0.0 && SolidInside(pattern, cx, cy, r, g_RasterWidth, g_RasterHeight) && std::isfinite(start)
        && std::isfinite(sweep)) {
        RowDamage* const damage = g_RasterDamage;
        if (damage != nullptr && !damage->Full()) {
            damage->Mark(static_cast<std::int64_t>(cx - r) - 2, static_cast<std::int64_t>(cy - r) - 2,
                         static_cast<std::int64_t>(cx + r) + 3, static_cast<std::int64_t>(cy + r) + 3);
        }
        DrawSolidInside(raster, cx, cy, r, start, sweep, colour);
        return;
    }
    DrawArcElsewhere(raster, cx, cy, r, start, sweep, colour, pattern);
}
