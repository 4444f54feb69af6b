#pragma once

#include <algorithm>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
// A rounded screen offset and the origin, saturated like WorldToScreen's.
inline std::int32_t PixelFromOffset(std::int32_t origin, std::int64_t offset)
{
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::int64_t(origin) + offset, -kScreenPixelLimit, kScreenPixelLimit));
}
// WorldToScreen through RoundPixel.
inline POINT WorldToPixel(const x_Vector& p)
{
    return {PixelFromOffset(g_ViewOriginX, RoundPixel(g_ViewScale * p.x)),
            PixelFromOffset(g_ViewOriginY, -std::int64_t(RoundPixel(g_ViewScale * p.y)))};
}
// WorldToPixels one end at a time, out of line: its registers would burden
// the frame's common case.
void WorldToPixelsFar(const x_Vector& a, const x_Vector& b, POINT& pa, POINT& pb);
// Both ends of a segment, as WorldToPixel gives them: the four roundings in
// two vector steps (a frame converts the ends of every line, and the scalar
// roundings cost more than the line's set-up).
inline void WorldToPixels(const x_Vector& a, const x_Vector& b, POINT& pa, POINT& pb)
{
#if defined(__SSE2__)
    const __m128d scale = _mm_set1_pd(g_ViewScale);
    const __m128d va = _mm_mul_pd(scale, _mm_set_pd(a.y, a.x));
    const __m128d vb = _mm_mul_pd(scale, _mm_set_pd(b.y, b.x));
    const __m128d high = _mm_set1_pd(536870912.0), low = _mm_set1_pd(-536870912.0);
    const __m128d near = _mm_and_pd(_mm_and_pd(_mm_cmpgt_pd(va, low), _mm_cmplt_pd(va, high)),
                                    _mm_and_pd(_mm_cmpgt_pd(vb, low), _mm_cmplt_pd(vb, high)));
    const std::int32_t ox = g_ViewOriginX, oy = g_ViewOriginY;
    // Origin plus offset, y negated, in 32 bits: with the offsets below 2^29
    // and the origin within 2^30 no sum overflows. Pixels past the limit
    // take the saturating way.
    if (_mm_movemask_pd(near) == 3 && ox > -(1 << 30) && ox < (1 << 30) && oy > -(1 << 30) && oy < (1 << 30)) {
        // RoundPixel: t = trunc(v + 0.5), one less where that exceeds v + 0.5.
        const __m128d half = _mm_set1_pd(0.5);
        const __m128d fa = _mm_add_pd(va, half), fb = _mm_add_pd(vb, half);
        const __m128i ta = _mm_cvttpd_epi32(fa), tb = _mm_cvttpd_epi32(fb);
        const __m128d aboveA = _mm_cmplt_pd(fa, _mm_cvtepi32_pd(ta));
        const __m128d aboveB = _mm_cmplt_pd(fb, _mm_cvtepi32_pd(tb));
        const __m128i t = _mm_unpacklo_epi64(ta, tb);
        const __m128i above = _mm_castps_si128(
            _mm_shuffle_ps(_mm_castpd_ps(aboveA), _mm_castpd_ps(aboveB), _MM_SHUFFLE(2, 0, 2, 0)));
        const __m128i r = _mm_add_epi32(t, above);
        const __m128i negateY = _mm_set_epi32(-1, 0, -1, 0);
        const __m128i pixels =
            _mm_add_epi32(_mm_set_epi32(oy, ox, oy, ox), _mm_sub_epi32(_mm_xor_si128(r, negateY), negateY));
        const __m128i within = _mm_and_si128(_mm_cmpgt_epi32(pixels, _mm_set1_epi32(-kScreenPixelLimit - 1)),
                                             _mm_cmplt_epi32(pixels, _mm_set1_epi32(kScreenPixelLimit + 1)));
        if (_mm_movemask_epi8(within) == 0xFFFF) {
            alignas(16) std::int32_t p[4];
            _mm_store_si128(reinterpret_cast<__m128i*>(p), pixels);
            pa = {p[0], p[1]};
            pb = {p[2], p[3]};
            return;
        }
    }
#endif
    WorldToPixelsFar(a, b, pa, pb);
}
