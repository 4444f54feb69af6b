#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "geometry/GeometryState.h"
#include "platform/gdi/RowDamage.h"

// RGB565 of a COLORREF (0x00BBGGRR).
std::uint16_t ToRgb565(std::uint32_t colour);

// One Bresenham step of a dash pattern at phase p (p advanced); true when the
// step's pixel is drawn. Patterns: 0 solid, 1 dashed, 2 dotted, 3 dash-dot;
// values above 3 count as solid.
bool DashStep(std::uint32_t& p, std::uint8_t pattern);

// Line into the RGB565 raster (g_RasterWidth/Height/Stride) from (x0, y0)
// towards (x1, y1); the end pixel is never drawn and g_DashPhase runs on.
void DrawLineRGB565(std::uint8_t* raster, std::int32_t x0, std::int32_t y0,
                    std::int32_t x1, std::int32_t y1, std::uint32_t colour,
                    std::uint8_t pattern);
// Steps below this take the closed form of the walk: (k m + b) n stays
// below 2^40, so the rounded-up reciprocal 2^40 / n divides exactly (both
// ends on the raster keep n below it on any raster narrower than 8192
// pixels).
constexpr std::int64_t kClosedFormSteps = 8192;

// ceil(2^40 / n) for n in [1, kClosedFormSteps); entry 0 unused.
struct StepReciprocals {
    std::uint64_t of[kClosedFormSteps];
};
constexpr StepReciprocals MakeStepReciprocals()
{
    StepReciprocals t{};
    for (std::int64_t n = 1; n < kClosedFormSteps; ++n)
        t.of[n] = ((std::uint64_t(1) << 40) + std::uint64_t(n) - 1) / std::uint64_t(n);
    return t;
}
inline constexpr StepReciprocals kStepReciprocals = MakeStepReciprocals();

// A solid walk of n steps (0 < n < kClosedFormSteps) from at, err starting at
// -(n / 2): step k's minor offset (k m + b) / n in closed form, so that no
// pixel waits for the one before (the walk's error term made one long chain
// of dependent steps and a mispredicted branch at every turn of a slanted
// line). (k m + b) times the reciprocal stays below 2^54, so it is kept as a
// running sum instead of a product per step. Steps go in pairs: step 0
// (offset b / n = 0) is drawn first, and an even count draws it again with
// its pair, so no step is left over.
inline void SolidClosedForm(std::uint8_t* at, std::ptrdiff_t majStep, std::ptrdiff_t minStep, std::int64_t n,
                            std::int64_t m, std::uint16_t word)
{
    const std::uint64_t reciprocal = kStepReciprocals.of[n];
    const std::uint64_t step = std::uint64_t(m) * reciprocal;
    *reinterpret_cast<std::uint16_t*>(at) = word;
    const std::int64_t odd = -(n & 1);
    std::uint64_t scaled = std::uint64_t(n - 1 - (n >> 1) + (m & odd)) * reciprocal;
    at += majStep & odd;
    const std::ptrdiff_t pairStep = 2 * majStep;
    std::uint8_t* const end = at + (n >> 1) * pairStep;
    for (; at != end; scaled += 2 * step, at += pairStep) {
        *reinterpret_cast<std::uint16_t*>(at + static_cast<std::ptrdiff_t>(scaled >> 40) * minStep) = word;
        *reinterpret_cast<std::uint16_t*>(at + majStep + static_cast<std::ptrdiff_t>((scaled + step) >> 40) * minStep)
            = word;
    }
}

// The loops of the closed form; all draw the same pixels, and
// DrawSolidInside takes AVX2 where the processor has it.
enum class LinePixelLoop { scalar, avx2 };
bool HasLinePixelLoop(LinePixelLoop loop);
inline const bool kSolidLinesAvx2 = HasLinePixelLoop(LinePixelLoop::avx2);
#if defined(__x86_64__)
// Four steps at once, the last four sharing out the steps that remain.
void SolidClosedFormAvx2(std::uint8_t* at, std::ptrdiff_t majStep, std::ptrdiff_t minStep, std::int64_t n,
                         std::int64_t m, std::uint16_t word);
#endif

// A solid segment with both ends on a raster of the given stride, in the
// RGB565 word: the pixels of DrawLineRGB565 without its clipping, colour and
// phase bookkeeping, which cost more than a segment of a few pixels (a
// curve's chords). Inline: a curve calls it for every chord.
void DrawSolidInsideLong(std::uint8_t* raster, std::ptrdiff_t stride, std::int32_t x0, std::int32_t y0,
                         std::int32_t x1, std::int32_t y1, std::uint16_t word);
inline void DrawSolidInside(std::uint8_t* raster, std::ptrdiff_t stride, std::int32_t x0, std::int32_t y0,
                            std::int32_t x1, std::int32_t y1, std::uint16_t word)
{
    const std::int64_t dx = std::int64_t(x1) - x0, dy = std::int64_t(y1) - y0;
    const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    // Which axis leads, chosen by masks: it falls either way from one
    // segment to the next, and a branch on it was mispredicted half the time.
    const std::int64_t yMajor = -std::int64_t(adx < ady);
    const std::int64_t n = (adx & ~yMajor) | (ady & yMajor), m = (ady & ~yMajor) | (adx & yMajor);
    // Ends that meet (n = 0) go the long way too, which draws nothing.
    if (std::uint64_t(n - 1) >= std::uint64_t(kClosedFormSteps - 1)) {
        DrawSolidInsideLong(raster, stride, x0, y0, x1, y1, word);
        return;
    }
    const std::ptrdiff_t sx = dx > 0 ? 2 : -2, sy = dy > 0 ? stride : -stride;
    const std::ptrdiff_t majStep = (sx & ~yMajor) | (sy & yMajor), minStep = (sy & ~yMajor) | (sx & yMajor);
    std::uint8_t* const at = raster + y0 * stride + 2 * std::ptrdiff_t(x0);
#if defined(__x86_64__)
    if (kSolidLinesAvx2) {
        SolidClosedFormAvx2(at, majStep, minStep, n, m, word);
        return;
    }
#endif
    SolidClosedForm(at, majStep, minStep, n, m, word);
}
// The same in g_RasterDrawColor and g_RasterDrawStyle; nothing without a raster.
void DrawLineCurrentStyleGeneral(std::uint8_t* raster, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                                 std::int32_t y1);
// Most lines of a frame are solid, on the raster and in the colour of the
// line before: inline, as the call and the general set-up cost more than
// their pixels.
inline void DrawLineCurrentStyle(std::uint8_t* raster, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                                 std::int32_t y1)
{
    const auto onRaster = [](std::int32_t v, std::int32_t size) { return std::uint32_t(v) < std::uint32_t(size); };
    const std::int32_t w = g_RasterWidth, h = g_RasterHeight;
    const std::uint8_t style = g_RasterDrawStyle;
    if (raster == nullptr || (style != 0 && style <= 3) || !onRaster(x0, w) || !onRaster(x1, w) || !onRaster(y0, h)
        || !onRaster(y1, h) || (x0 == x1 && y0 == y1) || g_RasterDrawColor != g_RasterColor) {
        DrawLineCurrentStyleGeneral(raster, x0, y0, x1, y1);
        return;
    }
    if (RowDamage* const damage = g_RasterDamage)
        damage->Mark(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1) + 1, std::max(y0, y1) + 1);
    DrawSolidInside(raster, g_RasterStride, x0, y0, x1, y1, g_RasterColor565);
}
