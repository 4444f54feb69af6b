#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "geometry/GeometryState.h"
#include "geometry/raster.h"

namespace {

// A small RGB565 raster set up as the view does.
class Raster : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGeometryState();
        Resize(24, 6);
    }
    void Resize(int w, int h)
    {
        g_RasterWidth = w;
        g_RasterHeight = h;
        g_RasterStride = (2 * w + 3) / 4 * 4;
        m_bits.assign(static_cast<size_t>(g_RasterStride * h), 0);
    }
    std::uint16_t Pixel(int x, int y) const
    {
        return *reinterpret_cast<const std::uint16_t*>(m_bits.data() + y * g_RasterStride + 2 * x);
    }
    // Row y as text: '#' drawn, '.' not.
    std::string Row(int y) const
    {
        std::string s;
        for (int x = 0; x < g_RasterWidth; ++x)
            s += Pixel(x, y) ? '#' : '.';
        return s;
    }
    std::vector<std::uint8_t> m_bits;
};

TEST_F(Raster, Rgb565Conversion)
{
    EXPECT_EQ(ToRgb565(RGB(255, 0, 0)), 0xF800);
    EXPECT_EQ(ToRgb565(RGB(0, 255, 0)), 0x07E0);
    EXPECT_EQ(ToRgb565(RGB(0, 0, 255)), 0x001F);
    EXPECT_EQ(ToRgb565(RGB(8, 4, 8)), 0x0821);
    DrawLineRGB565(m_bits.data(), 0, 0, 1, 0, RGB(8, 4, 8), 0);
    EXPECT_EQ(Pixel(0, 0), 0x0821);
    EXPECT_EQ(g_RasterColor, RGB(8, 4, 8));
    EXPECT_EQ(g_RasterColor565, 0x0821);
}

TEST_F(Raster, PatternsAndEndPixel)
{
    const struct { const char* name; int x0, x1; std::uint8_t pattern; const char* row; } kCases[] = {
        {"solid, end left out", 0, 10, 0, "##########.............."},
        {"solid backwards", 10, 0, 0, ".##########............."},
        {"style above 3 is solid", 0, 3, 9, "###....................."},
        {"dashed 6 on 4 off", 0, 24, 1, "######....######....####"},
        {"dotted 2 on 2 off", 0, 24, 2, "##..##..##..##..##..##.."},
        {"dash-dot 10 3 3 4", 0, 24, 3, "##########...###....####"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        std::fill(m_bits.begin(), m_bits.end(), 0);
        g_DashPhase = 0;
        DrawLineRGB565(m_bits.data(), c.x0, 1, c.x1, 1, RGB(255, 255, 255), c.pattern);
        EXPECT_EQ(Row(1), c.row);
        EXPECT_EQ(Row(0), std::string(24, '.'));
    }
}

TEST_F(Raster, PhaseRunsOnAndZeroLengthKeepsIt)
{
    g_DashPhase = 0;
    DrawLineRGB565(m_bits.data(), 0, 0, 4, 0, RGB(255, 255, 255), 1);
    DrawLineRGB565(m_bits.data(), 4, 0, 12, 0, RGB(255, 255, 255), 1);
    EXPECT_EQ(Row(0), "######....##............");
    const std::uint32_t phase = g_DashPhase;
    DrawLineRGB565(m_bits.data(), 5, 5, 5, 5, RGB(255, 255, 255), 1);
    EXPECT_EQ(g_DashPhase, phase);
    EXPECT_EQ(Row(5), std::string(24, '.'));
}

TEST_F(Raster, ClipsAtTheRasterEdge)
{
    Resize(4, 3);
    DrawLineRGB565(m_bits.data(), -5, 2, 5, 2, RGB(255, 255, 255), 0);
    EXPECT_EQ(Row(2), "####");
    EXPECT_EQ(Row(1), "....");
}

TEST_F(Raster, DrawLineCurrentStyle)
{
    g_RasterDrawColor = RGB(255, 0, 0);
    g_RasterDrawStyle = 7;                         // counts as solid
    DrawLineCurrentStyle(m_bits.data(), 0, 3, 3, 3);
    EXPECT_EQ(Row(3).substr(0, 4), "###.");
    EXPECT_EQ(Pixel(0, 3), 0xF800);
    DrawLineCurrentStyle(nullptr, 0, 3, 3, 3);     // no raster: nothing
}

// The drawer as first written: every step walked, 64-bit so it can serve as
// the reference for long segments.
void ReferenceLine(std::vector<std::uint8_t>& bits, long long x0, long long y0, long long x1,
                   long long y1, std::uint8_t pattern, std::uint32_t& phase)
{
    const long long dx = x1 - x0, dy = y1 - y0;
    const int sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
    const long long adx = std::llabs(dx), ady = std::llabs(dy);
    const long long m = std::max(adx, ady);
    long long err = -(m >> 1);
    long long x = x0, y = y0;
    for (long long i = 0; i < m; ++i) {
        if (DashStep(phase, pattern) && x >= 0 && x < g_RasterWidth && y >= 0 && y < g_RasterHeight)
            *reinterpret_cast<std::uint16_t*>(bits.data() + y * g_RasterStride + 2 * x) = 0xFFFF;
        if (adx >= ady) {
            x += sx;
            err += ady;
            if (err > 0) { y += sy; err -= adx; }
        } else {
            y += sy;
            err += adx;
            if (err > 0) { x += sx; err -= ady; }
        }
    }
}

TEST_F(Raster, ClippedWalkDrawsTheSamePixelsAndPhase)
{
    Resize(40, 30);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-400, 440);
    for (int i = 0; i < 3000; ++i) {
        const int x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
        const std::uint8_t pattern = static_cast<std::uint8_t>(i % 4);
        const std::uint32_t startPhase = static_cast<std::uint32_t>(i % 23);
        std::vector<std::uint8_t> expected(m_bits.size(), 0);
        std::uint32_t expectedPhase = startPhase;
        ReferenceLine(expected, x0, y0, x1, y1, pattern, expectedPhase);

        std::fill(m_bits.begin(), m_bits.end(), 0);
        g_DashPhase = startPhase;
        DrawLineRGB565(m_bits.data(), x0, y0, x1, y1, 0xFFFFFF, pattern);
        SCOPED_TRACE(testing::Message() << x0 << "," << y0 << " -> " << x1 << "," << y1
                                        << " pattern " << int(pattern));
        ASSERT_EQ(g_DashPhase, expectedPhase);
        ASSERT_EQ(m_bits, expected);
    }
}

// Segments wholly on a raster the size of a large window take the walk's
// closed form; every pixel must be the walk's, up to the longest segment
// the raster holds and the slopes where the walk's rounding turns. So must
// those drawn as a curve's chords.
TEST_F(Raster, SegmentsOnTheRasterDrawTheWalksPixels)
{
    Resize(2600, 1500);
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> x(0, 2599), y(0, 1499);
    auto check = [&](int x0, int y0, int x1, int y1) {
        std::vector<std::uint8_t> expected(m_bits.size(), 0);
        std::uint32_t phase = 0;
        ReferenceLine(expected, x0, y0, x1, y1, 0, phase);
        std::fill(m_bits.begin(), m_bits.end(), 0);
        DrawLineRGB565(m_bits.data(), x0, y0, x1, y1, 0xFFFFFF, 0);
        ASSERT_TRUE(m_bits == expected) << x0 << "," << y0 << " -> " << x1 << "," << y1;
        // The curves' chords: the same pixels without the bookkeeping.
        std::fill(m_bits.begin(), m_bits.end(), 0);
        DrawSolidInside(m_bits.data(), g_RasterStride, x0, y0, x1, y1, 0xFFFF);
        ASSERT_TRUE(m_bits == expected) << "chord " << x0 << "," << y0 << " -> " << x1 << "," << y1;
        // A line entity's solid pen takes a path of its own.
        std::fill(m_bits.begin(), m_bits.end(), 0);
        g_RasterDrawColor = 0xFFFFFF;
        g_RasterDrawStyle = 0;
        DrawLineCurrentStyle(m_bits.data(), x0, y0, x1, y1);
        ASSERT_TRUE(m_bits == expected) << "current style " << x0 << "," << y0 << " -> " << x1 << "," << y1;
    };
    for (int i = 0; i < 300; ++i)
        check(x(rng), y(rng), x(rng), y(rng));
    check(0, 0, 2599, 1499);
    check(2599, 0, 0, 1499);
    check(0, 1499, 2599, 0);
    for (int m = 0; m <= 12; ++m) {              // every slope of a short run
        check(5, 5, 17, 5 + m);
        check(17, 5 + m, 5, 5);
        check(5, 5, 5 + m, 17);
    }
    check(0, 0, 2599, 1);                         // one step in 2599
    check(0, 0, 2599, 1298);                      // about half
    check(0, 0, 2599, 1299);
}

// The closed form of the walk one step at a time, each step's minor offset
// from its own product: step k of n is at k along the leading axis and
// ((n - 1 - n / 2 + k m) ceil(2^40 / n)) >> 40 across.
void ReferenceClosedForm(std::vector<std::uint8_t>& bits, std::ptrdiff_t stride, int x0, int y0, int x1, int y1,
                         std::uint16_t word)
{
    const long long adx = std::llabs(x1 - x0), ady = std::llabs(y1 - y0);
    const bool xMajor = adx >= ady;
    const long long n = xMajor ? adx : ady, m = xMajor ? ady : adx;
    const int sx = x1 > x0 ? 1 : -1, sy = y1 > y0 ? 1 : -1;
    if (n == 0)
        return;
    const std::uint64_t reciprocal = ((std::uint64_t(1) << 40) + std::uint64_t(n) - 1) / std::uint64_t(n);
    for (long long k = 0; k < n; ++k) {
        const long long across = static_cast<long long>((std::uint64_t(n - 1 - n / 2 + k * m) * reciprocal) >> 40);
        const long long x = x0 + sx * (xMajor ? k : across), y = y0 + sy * (xMajor ? across : k);
        std::memcpy(bits.data() + y * stride + 2 * x, &word, 2);
    }
}

// Segments of every octant and length, the short ones of curve chords
// (every slope up to 8 steps) and the longest the closed form takes, on
// rasters as wide or as tall as 8192 pixels.
std::vector<std::array<int, 4>> LineLoopSegments(int w, int h, std::mt19937& rng)
{
    std::vector<std::array<int, 4>> s;
    const int cx = w / 2, cy = h / 2;
    for (int n = 1; n <= 8; ++n)
        for (int m = 0; m <= n; ++m)
            for (int octant = 0; octant < 8; ++octant) {
                const int a = octant & 1 ? -n : n, b = octant & 2 ? -m : m;
                s.push_back(octant & 4 ? std::array{cx, cy, cx + b, cy + a} : std::array{cx, cy, cx + a, cy + b});
            }
    std::uniform_int_distribution<int> len(0, 3000), x(0, w - 1), y(0, h - 1);
    for (int i = 0; i < 400; ++i) {
        const int n = std::min({len(rng), w - 1, h - 1}), mRoll = i % 6;
        const int m = mRoll == 0 ? 0 : mRoll == 1 ? n : mRoll == 2 ? std::max(n - 1, 0) : mRoll == 3 ? n / 2 + 1
                                                                                          : len(rng) % (n + 1);
        const int a = i & 1 ? -n : n, b = i & 2 ? -m : m;
        const int x0 = i & 1 ? n + x(rng) % (w - n) : x(rng) % (w - n), y0 = i & 2 ? m + y(rng) % (h - m) : y(rng) % (h - m);
        s.push_back(i & 4 && x0 + b >= 0 && x0 + b < w && y0 + a >= 0 && y0 + a < h
                        ? std::array{x0, y0, x0 + b, y0 + a}
                        : std::array{x0, y0, x0 + a, y0 + b});
    }
    const int longest = std::max(w, h) - 1, across = std::min(w, h) - 1;
    for (int n = longest - 6; n <= longest; ++n)
        for (const int m : {0, 1, across / 2, across}) {
            if (w > h)
                s.push_back({0, 0, n, m});
            else
                s.push_back({across, longest, across - m, longest - n});
        }
    return s;
}

// Every loop of the closed form, and DrawSolidInside with the loop it
// chose, draws the reference's pixels and no other.
TEST_F(Raster, LinePixelLoopsDrawTheClosedFormsPixels)
{
    using Draw = std::function<void(std::uint8_t*, std::ptrdiff_t, int, int, int, int, std::uint16_t)>;
    const auto viaLoop = [](auto loop) -> Draw {
        return [loop](std::uint8_t* raster, std::ptrdiff_t stride, int x0, int y0, int x1, int y1, std::uint16_t word) {
            const long long dx = x1 - x0, dy = y1 - y0;
            const bool xMajor = std::llabs(dx) >= std::llabs(dy);
            const std::ptrdiff_t sx = dx > 0 ? 2 : -2, sy = dy > 0 ? stride : -stride;
            const long long n = std::max(std::llabs(dx), std::llabs(dy)), m = std::min(std::llabs(dx), std::llabs(dy));
            if (n > 0)
                loop(raster + y0 * stride + 2 * x0, xMajor ? sx : sy, xMajor ? sy : sx, n, m, word);
        };
    };
    std::vector<std::pair<std::string, Draw>> loops = {
        {"scalar", viaLoop(SolidClosedForm)},
        {"chosen", [](std::uint8_t* raster, std::ptrdiff_t stride, int x0, int y0, int x1, int y1,
                      std::uint16_t word) { DrawSolidInside(raster, stride, x0, y0, x1, y1, word); }},
    };
#if defined(__x86_64__)
    if (HasLinePixelLoop(LinePixelLoop::avx2))
        loops.emplace_back("avx2", viaLoop(SolidClosedFormAvx2));
#endif
    std::mt19937 rng(11);
    for (const auto& [w, h] : {std::pair{3100, 3100}, std::pair{8192, 24}, std::pair{24, 8192}}) {
        Resize(w, h);
        const auto segments = LineLoopSegments(w, h, rng);
        std::vector<std::uint8_t> expected(m_bits.size(), 0);
        for (std::size_t i = 0; i < segments.size(); ++i) {
            const auto& [x0, y0, x1, y1] = segments[i];
            ReferenceClosedForm(expected, g_RasterStride, x0, y0, x1, y1, static_cast<std::uint16_t>(i + 1));
        }
        for (const auto& [name, draw] : loops) {
            SCOPED_TRACE(testing::Message() << name << " on " << w << "x" << h);
            std::fill(m_bits.begin(), m_bits.end(), 0);
            std::vector<std::uint8_t> reference(m_bits.size(), 0);
            for (std::size_t i = 0; i < segments.size(); ++i) {
                const auto& [x0, y0, x1, y1] = segments[i];
                const auto word = static_cast<std::uint16_t>(i + 1);
                draw(m_bits.data(), g_RasterStride, x0, y0, x1, y1, word);
                ReferenceClosedForm(reference, g_RasterStride, x0, y0, x1, y1, word);
                // The rows the segment spans, so that a fault names its segment.
                const std::ptrdiff_t top = std::min(y0, y1) * g_RasterStride, bottom = (std::max(y0, y1) + 1) * g_RasterStride;
                ASSERT_TRUE(std::equal(m_bits.begin() + top, m_bits.begin() + bottom, reference.begin() + top))
                    << x0 << "," << y0 << " -> " << x1 << "," << y1;
            }
            ASSERT_TRUE(m_bits == expected);
        }
    }
}

TEST_F(Raster, SegmentMillionsOfPixelsLongIsClippedNotWalked)
{
    // Two billion steps: walking them all took seconds per segment.
    g_DashPhase = 0;
    DrawLineRGB565(m_bits.data(), -1000000000, 1, 1000000000, 1, RGB(255, 255, 255), 1);
    EXPECT_EQ(Row(1), "######....######....####");   // x = 0 is step 10^9, phase 0
    EXPECT_EQ(g_DashPhase, 0u);                        // 2·10^9 steps, period 10
    // The full int32 range: the 32-bit deltas once overflowed.
    DrawLineRGB565(m_bits.data(), INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, RGB(255, 255, 255), 0);
    EXPECT_EQ(Pixel(3, 3), 0xFFFF);
    DrawLineRGB565(m_bits.data(), INT32_MAX, 0, INT32_MIN, 5, RGB(255, 255, 255), 3);
}

} // namespace
