#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/GeometryState.h"
#include "geometry/view_transform.h"

namespace {

class ViewTransform : public testing::Test {
protected:
    void SetUp() override { ResetGeometryState(); }
};

TEST_F(ViewTransform, WorldToScreenRoundsHalfUp)
{
    g_ViewScale = 2;
    g_ViewOriginX = 100;
    g_ViewOriginY = 300;
    const struct { const char* name; x_Vector w; int x, y; } kCases[] = {
        {"origin", {0, 0}, 100, 300},
        {"positive halves", {1.25, 1.25}, 103, 297},
        {"negative half goes up", {-1.25, 0}, 98, 300},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const POINT p = WorldToScreen(c.w);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
    }
    g_ViewScale = 1;
    EXPECT_EQ(WorldToScreen({0, 2.5}).y, 297);    // 300 − 3
    EXPECT_EQ(WorldToScreenY(2.5), 298);           // RoundHalfUp(297.5)
    EXPECT_EQ(WorldToScreenX(-0.5), 100);          // −0.5 + 100 = 99.5 → 100
}

// A segment's two ends converted together give the pixels of one end at a
// time: halves both ways, both signs, the edge of the fast range, values
// beyond it, saturation and a value that is no number.
TEST_F(ViewTransform, BothEndsAtOnceMatchOneAtATime)
{
    const double kNaN = std::numeric_limits<double>::quiet_NaN();
    // exact: the first end also equals WorldToScreen's (the frame's rounding
    // may round up a value an ulp below a half).
    const struct { const char* name; double scale; x_Vector a, b; bool exact; } kCases[] = {
        {"halves", 2, {1.25, 1.25}, {-1.25, -1.25}, true},
        {"odd halves", 1, {2.5, -3.5}, {-0.5, 0.5}, true},
        {"just below a half", 1, {0.49999999999999994, -0.49999999999999994}, {7, -7}, false},
        {"edge of the fast range", 1, {536870911.4, -536870911.6}, {-536870911.5, 536870911.5}, true},
        {"beyond it", 1, {536870912.0, 1}, {1, -6e8}, true},
        {"saturated", 1e12, {1e6, -1e6}, {-1e6, 1e6}, true},
        {"not a number", 1, {kNaN, 1}, {2, 3}, false},
    };
    // Origins near and past 2^30, where the 32-bit sums of the fast way
    // would overflow or pass the saturation limit.
    for (const int originX : {100, -7, INT32_MAX, 600000000, -(1 << 30) + 1, 1 << 30}) {
        g_ViewOriginX = originX;
        g_ViewOriginY = 300;
        for (const auto& c : kCases) {
            SCOPED_TRACE(testing::Message() << c.name << ", origin " << originX);
            g_ViewScale = c.scale;
            POINT a, b;
            WorldToPixels(c.a, c.b, a, b);
            const POINT wa = WorldToPixel(c.a), wb = WorldToPixel(c.b);
            EXPECT_EQ(a.x, wa.x);
            EXPECT_EQ(a.y, wa.y);
            EXPECT_EQ(b.x, wb.x);
            EXPECT_EQ(b.y, wb.y);
            if (c.exact) {
                const POINT sa = WorldToScreen(c.a);
                EXPECT_EQ(a.x, sa.x);
                EXPECT_EQ(a.y, sa.y);
            }
        }
    }
}

TEST_F(ViewTransform, ExtremeZoomSaturates)
{
    // The products once overflowed int32 (undefined behaviour); later the
    // pixels saturated at the int range, and a mark beside one overflowed.
    constexpr std::int32_t kLimit = (1 << 30) - (1 << 20);
    g_ViewScale = 1e12;
    POINT p = WorldToScreen({1e6, -1e6});
    EXPECT_EQ(p.x, kLimit);
    EXPECT_EQ(p.y, kLimit);
    p = WorldToScreen({-1e6, 1e6});
    EXPECT_EQ(p.x, -kLimit);
    EXPECT_EQ(p.y, -kLimit);
    EXPECT_EQ(WorldToScreenX(-1e6), -kLimit);
    EXPECT_EQ(WorldToScreenY(-1e6), kLimit);
    g_ViewOriginY = -500;
    EXPECT_EQ(WorldToScreen({0, -1e6}).y, kLimit);
    g_ViewScale = 1;
    g_ViewOriginX = INT32_MAX;
    EXPECT_EQ(WorldToScreen({10, 0}).x, kLimit);
}

TEST_F(ViewTransform, ScreenToWorldClampsTheScale)
{
    g_ViewScale = 0.005;
    g_ViewOriginX = 10;
    g_ViewOriginY = 20;
    const x_Vector w = ScreenToWorld(15, 17);
    EXPECT_EQ(g_ViewScale, 0.01);
    EXPECT_NEAR(w.x, 500.0, 1e-9);     // (15 − 10)·100
    EXPECT_NEAR(w.y, 300.0, 1e-9);     // (20 − 17)·100
    EXPECT_EQ(w.valid, 1);

    g_ViewScale = 4;
    g_ViewOriginX = 0;
    g_ViewOriginY = 0;
    EXPECT_DOUBLE_EQ(ScreenToWorld(8, -12).y, 3.0);
    // Far pixels: 32-bit products once overflowed.
    EXPECT_DOUBLE_EQ(ScreenToWorld(2000000000, 0).x, 500000000.0);
    EXPECT_DOUBLE_EQ(PixelsToMm(3000000), 750000.0);
    g_ViewScale = std::numeric_limits<double>::quiet_NaN();
    EXPECT_DOUBLE_EQ(PixelsToMm(1), 100.0);
}

} // namespace

namespace {

TEST_F(ViewTransform, GlyphSizesFollowTheZoom)
{
    g_ViewScale = 10;                                  // s = 2
    UpdateGlyphSizes();
    const std::uint32_t kDoubled[6] = {12, 18, 20, 26, 32, 38};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(g_DashLengths[i], kDoubled[i]);
    g_ViewScale = 1;                                   // s = 0.8
    UpdateGlyphSizes();
    const std::uint32_t kSmallest[6] = {5, 8, 8, 11, 13, 16};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(g_DashLengths[i], kSmallest[i]);
    g_ViewScale = 1e300;                               // once beyond 32 bits
    UpdateGlyphSizes();
    EXPECT_EQ(g_DashLengths[5], 2147483647u);
}

} // namespace
