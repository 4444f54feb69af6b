#include <gtest/gtest.h>

#include "geometry/GeometryState.h"
#include "geometry/plane_geometry.h"

namespace {

constexpr double kExact = 1e-12;   // hand-worked values; only rounding differs

class PlaneGeometry : public testing::Test {
protected:
    void SetUp() override { ResetGeometryState(); }
};

TEST_F(PlaneGeometry, IntersectSegments)
{
    const struct { const char* name; x_Vector a, b, c, d; bool hit; x_Vector p; } kCases[] = {
        {"end of first is start of second", {0, 0}, {10, 0}, {10, 0}, {10, 10}, false, {}},
        {"start of first is start of second", {10, 0}, {0, 0}, {10, 0}, {10, 10}, true, {10, 0}},
        {"collinear overlap: zero denominator", {0, 0}, {10, 0}, {5, 0}, {15, 0}, false, {}},
        {"plain cross", {0, 0}, {10, 10}, {0, 10}, {10, 0}, true, {5, 5}},
        {"boxes apart", {0, 0}, {1, 1}, {5, 5}, {6, 7}, false, {}},
        {"lines cross beyond the second", {0, 0}, {10, 0}, {5, 1}, {5, 3}, false, {}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        x_Vector out(0, 0, 0);
        EXPECT_EQ(IntersectSegments(c.a, c.b, c.c, c.d, out), c.hit);
        if (c.hit) {
            EXPECT_NEAR(out.x, c.p.x, kExact);
            EXPECT_NEAR(out.y, c.p.y, kExact);
            EXPECT_EQ(out.valid, 1);
        }
    }
}

TEST_F(PlaneGeometry, PointOnSegmentAndFoot)
{
    EXPECT_TRUE(PointOnSegment({1, 1}, {1, 1}, {1.0005, 1}));
    EXPECT_FALSE(PointOnSegment({1, 1}, {1, 1}, {1.002, 1}));
    EXPECT_TRUE(PointOnSegment({0, 0}, {10, 0}, {4, 0.0001}));
    EXPECT_FALSE(PointOnSegment({0, 0}, {10, 0}, {11, 0}));

    EXPECT_EQ(PerpendicularFoot({5, 5}, {0, 0}, {10, 0}), x_Vector(5, 0));
    EXPECT_EQ(PerpendicularFoot({5, 5}, {1, 1, 0}, {1, 1}), x_Vector(1, 1, 0));
}

TEST_F(PlaneGeometry, PointInPolygonUsesHalfOpenCrossings)
{
    const POINT square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const struct { const char* name; int x, y; bool inside; } kCases[] = {
        {"centre", 5, 5, true},
        {"right of it", 15, 5, false},
        {"on the left edge", 0, 5, true},
        {"on the right edge", 10, 5, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PointInPolygon(c.x, c.y, square, 4), c.inside);
    }
    EXPECT_FALSE(PointInPolygon(0, 0, square, 0));
    // High zoom: products beyond 32 bits once overflowed and gave the wrong side.
    const POINT big[] = {{-2000000000, -2000000000}, {2000000000, -2000000000},
                         {2000000000, 2000000000}, {-2000000000, 2000000000}};
    EXPECT_TRUE(PointInPolygon(1999999999, 1999999999, big, 4));
    EXPECT_FALSE(PointInPolygon(2000000001, 0, big, 4));
}

TEST_F(PlaneGeometry, AngleInSweep)
{
    const struct { const char* name; double a, s, e; std::uint8_t cw; bool in; } kCases[] = {
        {"ccw middle", kPi / 2, 0, kPi, 0, true},
        {"ccw start is outside", 0, 0, kPi, 0, false},
        {"ccw end is outside by the slack", kPi, 0, kPi, 0, false},
        {"cw through 3π/2", 3 * kPi / 2, 0, kPi, 1, true},
        {"cw end is inside", kPi, 0, kPi, 1, true},
        {"cw misses π/2", kPi / 2, 0, kPi, 1, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AngleInSweep(c.a, c.s, c.e, c.cw), c.in);
    }
}

TEST_F(PlaneGeometry, SmallMeasures)
{
    EXPECT_TRUE(IsRightTurn({0, 0}, {1, 0}, {1, -1}));
    EXPECT_FALSE(IsRightTurn({0, 0}, {1, 0}, {1, 1}));
    EXPECT_EQ(DistanceIntRounded(0, 0, 1, 1), 1);
    EXPECT_DOUBLE_EQ(DistanceInt(0, 0, 3, 4), 5.0);
    EXPECT_DOUBLE_EQ(DistanceXY({0, 0}, {3, 4}), 5.0);
    EXPECT_EQ(Sign(-7), -1);
    EXPECT_EQ(Sign(0), 0);
    EXPECT_EQ(Sign(9), 1);
    EXPECT_DOUBLE_EQ(LinearValue(1, 2, 3, 4), 11.0);   // 2 + 3·(4 − 1)
}

TEST_F(PlaneGeometry, AccumulateBoundsStartsFromAnEmptyBox)
{
    AccumulateBounds({0, 0}, {1, 1});
    AccumulateBounds({2, -1}, {3, 0});
    EXPECT_EQ(g_BoundsMin, x_Vector(0, -1));
    EXPECT_EQ(g_BoundsMax, x_Vector(3, 1));
}

TEST_F(PlaneGeometry, PolygonArea)
{
    const x_Vector ccw[] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const x_Vector cw[] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    EXPECT_DOUBLE_EQ(PolygonArea(4, ccw), 1.0);
    EXPECT_DOUBLE_EQ(PolygonArea(4, cw), 1.0);
    EXPECT_DOUBLE_EQ(PolygonArea(2, ccw), 0.0);
}

} // namespace
