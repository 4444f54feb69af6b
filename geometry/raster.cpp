#include "geometry/raster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "geometry/GeometryState.h"
#include "platform/gdi/RowDamage.h"

std::uint16_t ToRgb565(std::uint32_t colour)
{
    const std::uint32_t r = colour & 0xFF;
    const std::uint32_t g = (colour >> 8) & 0xFF;
    const std::uint32_t b = (colour >> 16) & 0xFF;
    return static_cast<std::uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

bool DashStep(std::uint32_t& p, std::uint8_t pattern)
{
    const std::uint32_t* t = g_DashLengths;
    switch (pattern) {
    case 1:
        ++p;
        if (p > t[1]) { p = 0; return false; }
        return p <= t[0];
    case 2:
        ++p;
        if (p > 3) { p = 0; return false; }
        return p <= 2;
    case 3:
        ++p;
        if (p > t[5]) { p = 0; return false; }
        return p <= t[2] || (p > t[3] && p <= t[4]);
    default:
        return true;
    }
}

namespace {

// The phase after k steps without drawing. From a phase inside the cycle each
// step is p -> (p + 1) mod (reset + 1); the first step brings any phase there.
void DashAdvance(std::uint32_t& p, std::uint8_t pattern, std::uint64_t k)
{
    std::uint64_t reset;
    switch (pattern) {
    case 1: reset = g_DashLengths[1]; break;
    case 2: reset = 3; break;
    case 3: reset = g_DashLengths[5]; break;
    default: return;
    }
    if (k == 0)
        return;
    DashStep(p, pattern);
    p = static_cast<std::uint32_t>((std::uint64_t(p) + (k - 1)) % (reset + 1));
}

using i64 = std::int64_t;
using i128 = __int128;

// Steps k in [lo, hi) whose minor coordinate can lie in [0, size): the pixel
// stays within one unit of the ideal line, so two units of margin suffice.
void MinorRange(i64 start, int sign, i64 minor, i64 major, i64 size, i64& lo, i64& hi)
{
    const long double perStep = static_cast<long double>(minor) / major;
    long double a = (static_cast<long double>(-2 - start) * sign) / perStep;
    long double b = (static_cast<long double>(size + 1 - start) * sign) / perStep;
    if (a > b)
        std::swap(a, b);
    lo = a < -1e18L ? i64(-1e18) : static_cast<i64>(std::floor(a)) - 1;
    hi = b > 1e18L ? i64(1e18) : static_cast<i64>(std::ceil(b)) + 2;
}

// A segment with both ends on the raster: every step lands on it (Bresenham
// stays between the ends), so the walk needs no clipping and no test per
// pixel. The same steps as the general walk from step 0, dash phase included.
void DrawInside(std::uint8_t* raster, i64 x0, i64 y0, int sx, int sy, bool xMajor, i64 n, i64 m, i64 err,
                std::uint16_t word, std::uint8_t pattern)
{
    const std::ptrdiff_t stride = g_RasterStride;
    const std::ptrdiff_t majStep = xMajor ? 2 * sx : stride * sy;
    const std::ptrdiff_t minStep = xMajor ? stride * sy : 2 * sx;
    std::uint8_t* at = raster + y0 * stride + 2 * x0;
    if ((pattern == 0 || pattern > 3) && n < kClosedFormSteps) {
        SolidClosedForm(at, majStep, minStep, n, m, word);
        return;
    }
    if (pattern == 0 || pattern > 3) {
        for (i64 k = 0; k < n; ++k) {
            *reinterpret_cast<std::uint16_t*>(at) = word;
            at += majStep;
            err += m;
            if (err > 0) {
                at += minStep;
                err -= n;
            }
        }
        return;
    }
    std::uint32_t p = g_DashPhase;
    for (i64 k = 0; k < n; ++k) {
        if (DashStep(p, pattern))
            *reinterpret_cast<std::uint16_t*>(at) = word;
        at += majStep;
        err += m;
        if (err > 0) {
            at += minStep;
            err -= n;
        }
    }
    g_DashPhase = p;
}

} // namespace

void DrawLineRGB565(std::uint8_t* raster, std::int32_t x0, std::int32_t y0,
                    std::int32_t x1, std::int32_t y1, std::uint32_t colour,
                    std::uint8_t pattern)
{
    if (colour != g_RasterColor) {
        g_RasterColor = colour;
        g_RasterColor565 = ToRgb565(colour);
    }
    const std::uint16_t word = g_RasterColor565;
    // 64-bit deltas: the 32-bit differences overflowed at extreme zoom.
    const i64 dx = i64(x1) - x0, dy = i64(y1) - y0;
    const int sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
    const i64 adx = std::llabs(dx), ady = std::llabs(dy);
    const bool xMajor = adx >= ady;
    const i64 n = xMajor ? adx : ady;          // steps
    const i64 m = xMajor ? ady : adx;          // minor length
    if (n == 0)
        return;
    const i64 e0 = -(n >> 1);
    const i64 width = g_RasterWidth, height = g_RasterHeight;
    if (g_RasterDamage != nullptr)
        g_RasterDamage->Mark(std::min(x0, x1), std::min(y0, y1), i64(std::max(x0, x1)) + 1, i64(std::max(y0, y1)) + 1);
    if (raster != nullptr && x0 >= 0 && x0 < width && x1 >= 0 && x1 < width && y0 >= 0 && y0 < height
        && y1 >= 0 && y1 < height) {
        DrawInside(raster, x0, y0, sx, sy, xMajor, n, m, e0, word, pattern);
        return;
    }

    // Only the steps that can land on the raster are walked; a segment
    // millions of pixels long once walked every pixel. The dash phase is
    // advanced by the skipped steps, so the drawn pixels stay the same.
    const i64 majStart = xMajor ? x0 : y0, minStart = xMajor ? y0 : x0;
    const int majSign = xMajor ? sx : sy, minSign = xMajor ? sy : sx;
    const i64 majSize = xMajor ? width : height, minSize = xMajor ? height : width;
    i64 lo = majSign > 0 ? -majStart : majStart - (majSize - 1);
    i64 hi = majSign > 0 ? majSize - majStart : majStart + 1;
    if (m == 0) {
        if (minStart < 0 || minStart >= minSize)
            hi = lo;
    } else {
        i64 mlo, mhi;
        MinorRange(minStart, minSign, m, n, minSize, mlo, mhi);
        lo = std::max(lo, mlo);
        hi = std::min(hi, mhi);
    }
    lo = std::clamp<i64>(lo, 0, n);
    hi = std::clamp<i64>(hi, lo, n);

    std::uint32_t p = g_DashPhase;
    DashAdvance(p, pattern, std::uint64_t(lo));
    // State of the walk after lo steps: c minor moves, err = e0 + lo*m - c*n.
    const i128 before = i128(e0) + i128(lo) * m;
    const i64 c = before <= 0 ? 0 : static_cast<i64>((before + n - 1) / n);
    i64 err = static_cast<i64>(before - i128(c) * n);
    i64 maj = majStart + majSign * lo;
    i64 mnr = minStart + minSign * c;
    for (i64 k = lo; k < hi; ++k) {
        if (DashStep(p, pattern)) {
            const i64 x = xMajor ? maj : mnr, y = xMajor ? mnr : maj;
            if (raster != nullptr && x >= 0 && x < width && y >= 0 && y < height)
                *reinterpret_cast<std::uint16_t*>(raster + y * g_RasterStride + 2 * x) = word;
        }
        maj += majSign;
        err += m;
        if (err > 0) {
            mnr += minSign;
            err -= n;
        }
    }
    DashAdvance(p, pattern, std::uint64_t(n - hi));
    g_DashPhase = p;
}

// The walk of DrawSolidInside for segments too long for the closed form.
void DrawSolidInsideLong(std::uint8_t* raster, std::ptrdiff_t stride, std::int32_t x0, std::int32_t y0,
                         std::int32_t x1, std::int32_t y1, std::uint16_t word)
{
    const i64 dx = i64(x1) - x0, dy = i64(y1) - y0;
    const i64 adx = std::llabs(dx), ady = std::llabs(dy);
    const bool xMajor = adx >= ady;
    const i64 n = xMajor ? adx : ady, m = xMajor ? ady : adx;
    const std::ptrdiff_t sx = dx > 0 ? 2 : -2, sy = dy > 0 ? stride : -stride;
    std::uint8_t* at = raster + y0 * stride + 2 * std::ptrdiff_t(x0);
    i64 err = -(n >> 1);
    for (i64 k = 0; k < n; ++k) {
        *reinterpret_cast<std::uint16_t*>(at) = word;
        at += xMajor ? sx : sy;
        err += m;
        if (err > 0) {
            at += xMajor ? sy : sx;
            err -= n;
        }
    }
}

void DrawLineCurrentStyleGeneral(std::uint8_t* raster, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                                 std::int32_t y1)
{
    if (raster == nullptr)
        return;
    const std::uint8_t style = g_RasterDrawStyle > 3 ? 0 : g_RasterDrawStyle;
    const auto onRaster = [](std::int32_t v, std::int32_t size) { return std::uint32_t(v) < std::uint32_t(size); };
    const std::int32_t w = g_RasterWidth, h = g_RasterHeight;
    if (style != 0 || !onRaster(x0, w) || !onRaster(x1, w) || !onRaster(y0, h) || !onRaster(y1, h)
        || (x0 == x1 && y0 == y1)) {
        DrawLineRGB565(raster, x0, y0, x1, y1, g_RasterDrawColor, style);
        return;
    }
    if (g_RasterDrawColor != g_RasterColor) {
        g_RasterColor = g_RasterDrawColor;
        g_RasterColor565 = ToRgb565(g_RasterColor);
    }
    if (g_RasterDamage != nullptr)
        g_RasterDamage->Mark(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1) + 1, std::max(y0, y1) + 1);
    DrawSolidInside(raster, g_RasterStride, x0, y0, x1, y1, g_RasterColor565);
}
