// Arcs and circles made on the screen, judged against the exact curve
// sampled here: a drawn pixel may lie at most one pixel from a pixel the
// curve passes through, and a solid curve leaves none of those without a
// drawn pixel beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "geometry/GeometryState.h"
#include "geometry/raster.h"
#include "geometry/raster_curves.h"
#include "platform/gdi/RowDamage.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kWidth = 160, kHeight = 120;

using Pixel = std::pair<int, int>;

class RasterCurves : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGeometryState();
        g_RasterWidth = kWidth;
        g_RasterHeight = kHeight;
        g_RasterStride = 2 * kWidth;
        bits.assign(static_cast<std::size_t>(g_RasterStride * kHeight), 0);
    }

    void ClearBits() { std::fill(bits.begin(), bits.end(), 0); }

    std::set<Pixel> Drawn() const
    {
        std::set<Pixel> out;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (*reinterpret_cast<const std::uint16_t*>(&bits[static_cast<std::size_t>(y * g_RasterStride + 2 * x)]) != 0)
                    out.insert({x, y});
        return out;
    }

    std::vector<std::uint8_t> bits;
};

// The pixels (centres at whole numbers) that the exact arc passes through,
// from samples a twentieth of a pixel apart, in the view transform.
std::set<Pixel> ExactPixels(double cx, double cy, double r, double start, double sweep)
{
    const double x0 = cx * g_ViewScale + g_ViewOriginX, y0 = g_ViewOriginY - cy * g_ViewScale;
    const double rp = r * g_ViewScale;
    const int samples = static_cast<int>(std::ceil(std::fabs(sweep) * rp * 20)) + 2;
    std::set<Pixel> out;
    for (int i = 0; i <= samples; ++i) {
        const double t = start + sweep * i / samples;
        out.insert({static_cast<int>(std::floor(x0 + rp * std::cos(t) + 0.5)),
                    static_cast<int>(std::floor(y0 - rp * std::sin(t) + 0.5))});
    }
    return out;
}

bool Near(const std::set<Pixel>& set, const Pixel& p)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (set.count({p.first + dx, p.second + dy}) != 0)
                return true;
    return false;
}

bool OnRaster(const Pixel& p)
{
    return p.first >= 0 && p.first < kWidth && p.second >= 0 && p.second < kHeight;
}

// Whether the pixels form one 8-connected piece: a curve with a gap falls
// in two, though each of its pixels may still have a neighbour nearby.
bool Connected(const std::set<Pixel>& pixels)
{
    if (pixels.empty())
        return true;
    std::set<Pixel> reached{*pixels.begin()};
    std::vector<Pixel> open{*pixels.begin()};
    while (!open.empty()) {
        const Pixel p = open.back();
        open.pop_back();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const Pixel q{p.first + dx, p.second + dy};
                if (pixels.count(q) != 0 && reached.insert(q).second)
                    open.push_back(q);
            }
    }
    return reached.size() == pixels.size();
}

TEST_F(RasterCurves, PixelsStayWithinOneOfTheExactCurve)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(0, 1);
    for (int i = 0; i < 400; ++i) {
        // Radii from a third of a pixel to far beyond the raster.
        g_ViewScale = std::pow(10.0, -1 + 3 * u(rng));
        g_ViewOriginX = static_cast<int>(u(rng) * 40);
        g_ViewOriginY = kHeight - static_cast<int>(u(rng) * 40);
        const double r = std::pow(10.0, -0.5 + 2.5 * u(rng)) / g_ViewScale;
        const double cx = (u(rng) * kWidth - g_ViewOriginX) / g_ViewScale;
        const double cy = (g_ViewOriginY - u(rng) * kHeight) / g_ViewScale;
        const double start = u(rng) * 2 * kPi;
        const double sweep = (i % 3 == 0 ? 2 * kPi : 0.05 + u(rng) * 6) * (i % 2 == 0 ? 1 : -1);
        ClearBits();
        DrawArcRGB565(bits.data(), x_Vector(cx, cy), r, start, sweep, RGB(255, 255, 255), 0);
        SCOPED_TRACE(testing::Message() << "scale " << g_ViewScale << " centre " << cx << "," << cy
                                        << " r " << r << " start " << start << " sweep " << sweep);
        const std::set<Pixel> exact = ExactPixels(cx, cy, r, start, sweep);
        const std::set<Pixel> drawn = Drawn();
        for (const Pixel& p : drawn)
            ASSERT_TRUE(Near(exact, p)) << "stray pixel " << p.first << "," << p.second;
        // No gaps in a whole circle of a pixel or more (an open arc leaves
        // out its end pixel, as every segment does).
        if (std::fabs(sweep) == 2 * kPi && r * g_ViewScale >= 1) {
            for (const Pixel& p : exact) {
                if (OnRaster(p)) {
                    ASSERT_TRUE(Near(drawn, p)) << "gap at " << p.first << "," << p.second;
                }
            }
        }
    }
}

// The pixels of the exact segment from (x0, y0) to (x1, y1), from samples a
// twentieth of a pixel apart.
std::set<Pixel> ExactSegmentPixels(double x0, double y0, double x1, double y1)
{
    const int samples = static_cast<int>(std::ceil(std::hypot(x1 - x0, y1 - y0) * 20)) + 2;
    std::set<Pixel> out;
    for (int i = 0; i <= samples; ++i) {
        const double t = static_cast<double>(i) / samples;
        out.insert({static_cast<int>(std::floor(x0 + (x1 - x0) * t + 0.5)),
                    static_cast<int>(std::floor(y0 + (y1 - y0) * t + 0.5))});
    }
    return out;
}

// Every lit pixel lies within one pixel of a pixel the exact curve passes
// through, each of those on the raster has a lit pixel within one, and the
// lit pixels hang together.
void ExpectOnCurveWithoutGaps(const std::set<Pixel>& exact, const std::set<Pixel>& drawn)
{
    EXPECT_FALSE(drawn.empty());
    EXPECT_TRUE(Connected(drawn)) << "a gap splits the curve";
    for (const Pixel& p : drawn)
        ASSERT_TRUE(Near(exact, p)) << "stray pixel " << p.first << "," << p.second;
    for (const Pixel& p : exact) {
        if (OnRaster(p)) {
            ASSERT_TRUE(Near(drawn, p)) << "gap at " << p.first << "," << p.second;
        }
    }
}

// Every lit pixel lies within one pixel of a pixel the exact curve passes
// through, each of those on the raster has a lit pixel within one, and the
// lit pixels hang together (each case shows one piece of its curve): the
// solid curves wholly on the raster (drawn point by point), those the edges
// cut (drawn by chords), and solid lines, clipped or not. Centres and radii
// are in pixels (one pixel a millimetre, y upwards from the bottom row).
TEST_F(RasterCurves, CurvesAndLinesStayOnTheExactCurveWithoutGaps)
{
    constexpr double kDeg = kPi / 180;
    const struct {
        const char* name;
        double cx, cy, r, start, sweep;
    } kArcs[] = {
        {"circle inside", 80.3, 60.7, 30.2, 0, 2 * kPi},
        {"circle inside, clockwise", 80.5, 60.5, 12.5, 1, -2 * kPi},
        {"arc crossing 0 degrees", 70.2, 50.9, 25.4, 350 * kDeg, 40 * kDeg},
        {"arc crossing 0 degrees, clockwise", 70.2, 50.9, 25.4, 10 * kDeg, -40 * kDeg},
        {"arc from 270 through 360 to 90", 90.6, 60.1, 40.3, 270 * kDeg, 180 * kDeg},
        {"arc of 300 degrees", 60.0, 60.0, 18.75, 123 * kDeg, 300 * kDeg},
        {"radius under one pixel", 40.4, 30.6, 0.6, 0, 2 * kPi},
        {"radius of a third of a pixel", 41.5, 31.5, 0.33, 1, 4},
        {"arc of a few pixels", 50.2, 40.8, 3.1, 200 * kDeg, 100 * kDeg},
        {"cut by the left edge", 5.5, 60.2, 20.3, 0, 2 * kPi},
        {"cut by the top edge", 80.1, 118.4, 30.6, 0, 2 * kPi},
        {"cut by the bottom right corner", 155.7, 2.2, 25.1, 30 * kDeg, 200 * kDeg},
        {"two pixels from the edges", 22.0, 22.0, 20.0, 0, 2 * kPi},
        {"rim through the raster, huge radius", 80.4, -19940.2, 20000.5, 80 * kDeg, 20 * kDeg},
        {"arc of a radius of a million pixels", -999900.0, 60.3, 1e6, -0.0001, 0.0002},
    };
    for (const auto& c : kArcs) {
        SCOPED_TRACE(c.name);
        g_ViewScale = 1;
        g_ViewOriginX = 0;
        g_ViewOriginY = kHeight - 1;
        ClearBits();
        DrawArcRGB565(bits.data(), x_Vector(c.cx, c.cy), c.r, c.start, c.sweep, RGB(255, 255, 255), 0);
        const std::set<Pixel> exact = ExactPixels(c.cx, c.cy, c.r, c.start, c.sweep);
        ExpectOnCurveWithoutGaps(exact, Drawn());
        if (HasFatalFailure())
            return;
    }
    const struct {
        const char* name;
        int x0, y0, x1, y1;
    } kLines[] = {
        {"shallow", 3, 7, 150, 40},
        {"steep", 100, 2, 90, 117},
        {"diagonal backwards", 120, 100, 20, 0},
        {"one pixel", 10, 10, 11, 10},
        {"from off the left edge", -50, 10, 60, 70},
        {"across the raster from corner to corner beyond", -30, -20, 200, 150},
        {"ends far off the raster", -100000, 60, 100000, 61},
    };
    for (const auto& l : kLines) {
        SCOPED_TRACE(l.name);
        ClearBits();
        g_RasterDrawColor = RGB(255, 255, 255);
        g_RasterDrawStyle = 0;
        DrawLineCurrentStyle(bits.data(), l.x0, l.y0, l.x1, l.y1);
        std::set<Pixel> exact;
        for (const Pixel& p : ExactSegmentPixels(l.x0, l.y0, l.x1, l.y1))
            if (p.first >= -2 && p.first <= kWidth + 1 && p.second >= -2 && p.second <= kHeight + 1)
                exact.insert(p);
        ExpectOnCurveWithoutGaps(exact, Drawn());
        if (HasFatalFailure())
            return;
    }
}

// The AVX2 loop of solid curves draws the very pixels of the SSE2 one:
// arcs and circles of radii from a third of a pixel to 400, any start,
// both ways, each in a clean raster whose rows are longer than its width.
// Half the centres and radii fall on half pixels and most starts on eighth
// turns, where points land on pixel edges and a rounding apart shows.
TEST(RasterCurvePointLoops, AvxAndSse2DrawTheSamePixels)
{
    if (!HasArcPointLoop(ArcPointLoop::avx2))
        GTEST_SKIP() << "no AVX2 on this processor";
    constexpr int kSide = 900, kStride = 2 * kSide + 14;
    std::vector<std::uint8_t> sse2(static_cast<std::size_t>(kStride * kSide), 0), avx2(sse2);
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(0, 1);
    for (int i = 0; i < 3000; ++i) {
        double r = 0.3 * std::pow(400 / 0.3, u(rng));
        if (i % 2 == 1)
            r = std::max(0.5, std::round(r * 2) / 2);
        double cx = 3 + r + u(rng) * (kSide - 7 - 2 * r), cy = 3 + r + u(rng) * (kSide - 7 - 2 * r);
        if (i % 4 < 2) {
            cx = std::round(cx * 2) / 2;
            cy = std::round(cy * 2) / 2;
        }
        double start = (u(rng) - 0.5) * 4 * kPi;
        if (i % 3 != 2)
            start = std::round(start / (kPi / 4)) * (kPi / 4);
        const double sweep = (i % 3 == 0 ? 2 * kPi : u(rng) * 2 * kPi) * (i % 2 == 0 ? 1 : -1);
        const auto word = static_cast<std::uint16_t>(1 + i % 0xFFFE);
        DrawSolidArcRGB565(ArcPointLoop::sse2, sse2.data(), kStride, cx, cy, r, start, sweep, word);
        DrawSolidArcRGB565(ArcPointLoop::avx2, avx2.data(), kStride, cx, cy, r, start, sweep, word);
        // Compared and cleared in the circle's rows; a pixel drawn beyond
        // them stays and fails the last check.
        const auto first = static_cast<std::size_t>(cy - r - 1) * kStride;
        const auto last = static_cast<std::size_t>(cy + r + 2) * kStride;
        ASSERT_TRUE(std::equal(sse2.begin() + first, sse2.begin() + last, avx2.begin() + first))
            << "centre " << cx << "," << cy << " r " << r << " start " << start << " sweep " << sweep;
        ASSERT_LT(static_cast<std::size_t>(std::count(sse2.begin() + first, sse2.begin() + last, 0)), last - first)
            << "nothing drawn";
        std::fill(sse2.begin() + first, sse2.begin() + last, 0);
        std::fill(avx2.begin() + first, avx2.begin() + last, 0);
    }
    EXPECT_EQ(std::count(sse2.begin(), sse2.end(), 0) + std::count(avx2.begin(), avx2.end(), 0),
              2 * static_cast<std::ptrdiff_t>(sse2.size()));
}

// A curve from angle 0 (a circle's start, either zero) draws the pixels of
// one from the next angle above 0, whose sine and cosine are worked out:
// the two start points differ by far less than a rounding.
TEST(RasterCurvePointLoops, StartAtZeroDrawsAsTheSmallestStartAbove)
{
    constexpr int kSide = 120, kStride = 2 * kSide;
    const struct {
        const char* name;
        double cx, cy, r, sweep;
    } kCases[] = {
        {"circle on whole pixels", 60, 60, 40, 2 * kPi},
        {"circle on half pixels", 60.5, 59.5, 17.5, 2 * kPi},
        {"small clockwise arc", 30.25, 80.75, 3.3, -2.5},
        {"arc ending on an eighth turn", 61, 60, 50, kPi / 4},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        for (ArcPointLoop loop : {ArcPointLoop::sse2, ArcPointLoop::avx2}) {
            if (!HasArcPointLoop(loop))
                continue;
            std::vector<std::uint8_t> above(static_cast<std::size_t>(kStride * kSide), 0), zero(above),
                negativeZero(above);
            DrawSolidArcRGB565(loop, above.data(), kStride, c.cx, c.cy, c.r, 5e-324, c.sweep, 0xFFFF);
            DrawSolidArcRGB565(loop, zero.data(), kStride, c.cx, c.cy, c.r, 0.0, c.sweep, 0xFFFF);
            DrawSolidArcRGB565(loop, negativeZero.data(), kStride, c.cx, c.cy, c.r, -0.0, c.sweep, 0xFFFF);
            EXPECT_TRUE(zero == above);
            EXPECT_TRUE(negativeZero == above);
            EXPECT_LT(std::count(above.begin(), above.end(), 0), static_cast<std::ptrdiff_t>(above.size()));
        }
    }
}

TEST_F(RasterCurves, SolidCircleLeavesNoGap)
{
    g_ViewScale = 4;
    g_ViewOriginX = 4;
    g_ViewOriginY = kHeight - 4;
    for (double r : {0.6, 2.0, 7.5, 13.0}) {
        ClearBits();
        DrawArcRGB565(bits.data(), x_Vector(19.3, 14.1), r, 0, 2 * kPi, RGB(255, 0, 0), 0);
        const std::set<Pixel> drawn = Drawn();
        for (const Pixel& p : ExactPixels(19.3, 14.1, r, 0, 2 * kPi))
            EXPECT_TRUE(Near(drawn, p)) << "r " << r << " gap at " << p.first << "," << p.second;
    }
}

TEST_F(RasterCurves, DashPhaseRunsOnAlongTheCurve)
{
    g_ViewScale = 4;
    g_ViewOriginX = 0;
    g_ViewOriginY = kHeight;
    // Dashes longer than the curve: one pixel a step of the chords (the
    // half circle never meets itself).
    g_DashLengths[0] = g_DashLengths[1] = 1u << 30;
    DrawArcRGB565(bits.data(), x_Vector(20, 15), 10, 0, kPi, RGB(255, 255, 255), 1);
    const std::size_t steps = Drawn().size();
    // Dotted: steps 0, 1 of every four drawn, across the chord joins.
    ClearBits();
    g_DashPhase = 0;
    DrawArcRGB565(bits.data(), x_Vector(20, 15), 10, 0, kPi, RGB(255, 255, 255), 2);
    EXPECT_EQ(Drawn().size(), 2 * (steps / 4) + std::min<std::size_t>(steps % 4, 2));
    EXPECT_EQ(g_DashPhase, steps % 4);
}

TEST_F(RasterCurves, ChordsFollowTheRadius)
{
    // A quarter pixel of sagitta: r (1 - cos(a / 2)) = 1/4 for a = 1 / rate.
    for (double r : {3.0, 10.0, 100.0, 5000.0}) {
        const double a = 1.0 / ChordsPerRadian(r);
        EXPECT_LE(r * (1 - std::cos(a / 2)), 0.25 + 1e-9) << r;
        EXPECT_GT(r * (1 - std::cos(a / 2)), 0.2) << r;
    }
    EXPECT_EQ(ChordsPerRadian(0.5), 1.0);
}

TEST_F(RasterCurves, CurveOffTheRasterDrawsNothingAndNoRasterIsSafe)
{
    g_ViewScale = 1;
    g_ViewOriginX = 0;
    g_ViewOriginY = kHeight;
    DrawArcRGB565(bits.data(), x_Vector(-500, 60), 100, 0, 2 * kPi, RGB(255, 255, 255), 0);
    DrawArcRGB565(bits.data(), x_Vector(80, 60), std::nan(""), 0, 2 * kPi, RGB(255, 255, 255), 0);
    EXPECT_TRUE(Drawn().empty());
    DrawArcRGB565(nullptr, x_Vector(80, 60), 10, 0, 2 * kPi, RGB(255, 255, 255), 0);
}

// Each drawn pixel lies in the damage marked for its curve: solid curves
// inside the raster (marked without clamps) up to the edge of that case,
// others across the raster's edges or dashed (chords).
TEST_F(RasterCurves, DamageCoversEveryDrawnPixel)
{
    g_ViewScale = 1;
    g_ViewOriginX = 0;
    g_ViewOriginY = kHeight;
    const struct {
        const char* name;
        double cx, cy, r, start, sweep;
        std::uint8_t pattern;
    } kCases[] = {
        {"circle well inside", 80, 60, 20, 0, 2 * kPi, 0},
        {"circle two pixels from the top and bottom", 80, 60, 57, 0, 2 * kPi, 0},
        {"arc on the margin", 12.25, 107.75, 10.25, 0.3, 5.5, 0},
        {"arc a hair across the margin", 12.25, 107.75, 10.26, 0.3, 5.5, 0},
        {"clockwise arc on the far corner's margin", 150.5, 9.5, 6.5, 4, -3.5, 0},
        {"half-pixel circle", 80.5, 60.5, 0.5, 0, 2 * kPi, 0},
        {"circle across the left edge", 5, 60, 20, 0, 2 * kPi, 0},
        {"circle across the bottom", 80, 3, 30, 1, 2 * kPi, 0},
        {"dashed circle inside", 80, 60, 20, 0, 2 * kPi, 1},
        {"dash-dot arc inside", 60, 50, 30, 2, -4, 3},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        RowDamage damage;
        damage.Reset(kWidth, kHeight);
        g_RasterDamage = &damage;
        g_DashPhase = 0;
        ClearBits();
        DrawArcRGB565(bits.data(), x_Vector(c.cx, c.cy), c.r, c.start, c.sweep, RGB(255, 255, 255), c.pattern);
        g_RasterDamage = nullptr;
        const std::set<Pixel> drawn = Drawn();
        ASSERT_FALSE(drawn.empty());
        for (const auto& [x, y] : drawn) {
            const int band = y >> RowDamage::kBandShift;
            ASSERT_TRUE(damage.Left(band) <= x && x < damage.Right(band)) << "undamaged pixel " << x << "," << y;
        }
    }
}

} // namespace
