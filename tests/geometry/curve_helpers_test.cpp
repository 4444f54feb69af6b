#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/curve_helpers.h"

namespace {

constexpr double kExact = 1e-12;   // hand-worked values; only rounding differs

double StepOf(const x_VectorArray& list, const x_Vector& c)
{
    return std::fabs((list[1] - c).Angle() - (list[0] - c).Angle());
}

TEST(CurveHelpers, SweepAngleAbs)
{
    const struct { const char* name; std::uint8_t dir; double s, e, sweep; } kCases[] = {
        {"ccw equal angles: full turn", 0, 1.0, 1.0, kTwoPi},
        {"cw equal angles: full turn", 1, 1.0, 1.0, kTwoPi},
        {"ccw backwards wraps", 0, 1.0, 0.5, kTwoPi - 0.5},
        {"cw backwards is short", 1, 1.0, 0.5, 0.5},
        {"ccw more than a turn apart", 0, 0.0, 10.0, 10.0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(SweepAngleAbs(c.dir, c.s, c.e), c.sweep, kExact);
    }
}

TEST(CurveHelpers, FlattenArcStepSizes)
{
    x_VectorArray list;
    const x_Vector c(1, 2);
    FlattenArc(list, c, 0.15, 0.0, 1.0, 0, 0);
    EXPECT_NEAR(StepOf(list, c), 0.1, 1e-9);
    FlattenArc(list, c, 50, 0.0, 1.0, 0, 0);
    EXPECT_NEAR(StepOf(list, c), 0.02, 1e-9);
    FlattenArc(list, c, 5, 0.0, 1.0, 0, 0);
    EXPECT_NEAR(StepOf(list, c), std::asin(0.2 / 5), 1e-9);
    FlattenArc(list, c, 3, 0.0, kPi / 2, 0, 4);
    EXPECT_NEAR(StepOf(list, c), kPi / 8, 1e-9);
    EXPECT_EQ(list.GetSize(), 6);                      // 5 steps' points + end
    FlattenArc(list, c, 3, 0.0, 0.5, 0, 1000);
    EXPECT_NEAR(StepOf(list, c), 0.01, 1e-9);         // raised from 0.0005

    FlattenArc(list, c, 0.0000999, 0.0, 1.0, 0, 0);
    EXPECT_EQ(list.GetSize(), 0);
    FlattenArc(list, c, 0.0001, 0.0, 1.0, 0, 0);
    EXPECT_GT(list.GetSize(), 0);
}

TEST(CurveHelpers, FlattenArcFullTurnAndClockwise)
{
    x_VectorArray list;
    FlattenArc(list, {0, 0}, 10, 1.0, 1.0, 0, 0);
    EXPECT_TRUE(list[0].IsEqual(list[list.GetSize() - 1]));
    EXPECT_GE(list.GetSize(), 64);
    EXPECT_LE(list.GetSize(), 316);

    // Clockwise from 0.5 runs down through 0 to 1.0 − 2π.
    FlattenArc(list, {0, 0}, 1, 0.5, 1.0, 1, 0);
    const x_Vector last = list[list.GetSize() - 1];
    EXPECT_NEAR(last.x, std::cos(1.0), kExact);
    EXPECT_NEAR(last.y, std::sin(1.0), kExact);
    EXPECT_NEAR(list[1].x, std::cos(0.4), kExact);      // radius 1: step asin(0.2) > 0.1, so 0.1
}

TEST(CurveHelpers, FlattenersRefuseNonFiniteAndCapHugeSweeps)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    x_VectorArray list;
    FlattenArc(list, {0, 0}, 1, nan, 1.0, 0, 0);
    EXPECT_EQ(list.GetSize(), 0);
    FlattenArc(list, {0, 0}, 1, 0.0, std::numeric_limits<double>::infinity(), 0, 0);
    EXPECT_EQ(list.GetSize(), 0);
    FlattenEllipseArc({0, 0}, 0, list, 2, 1, 0, 0.0, nan, 0);
    EXPECT_EQ(list.GetSize(), 0);
    // Angles read from a file far apart, or so large that the step no longer
    // moves the parameter: the walk ends with a bounded list.
    FlattenArc(list, {0, 0}, 1, 0.0, 1e12, 0, 0);
    EXPECT_LE(list.GetSize(), kMaxFlattenPoints + 2);
    FlattenArc(list, {0, 0}, 1, 1e20, 1e20, 1, 0);
    EXPECT_LE(list.GetSize(), kMaxFlattenPoints + 2);
    FlattenEllipseArc({0, 0}, 1, list, 2, 1, 0, 1e20, 1e20, 0.001);
    EXPECT_LE(list.GetSize(), kMaxFlattenPoints + 2);
}

TEST(CurveHelpers, FlattenEllipseArcSteps)
{
    x_VectorArray list;
    const x_Vector c(0, 0);
    auto paramStep = [&](double a, double b) {
        // Points at t = 0 and the first step on an unrotated ellipse.
        return std::atan2(list[1].y / b, list[1].x / a) - std::atan2(list[0].y / b, list[0].x / a);
    };
    FlattenEllipseArc(c, 0, list, 4, 2, 0, 0.0, 1.0, 0.0001);
    EXPECT_NEAR(paramStep(4, 2), 0.001, 1e-9);
    FlattenEllipseArc(c, 0, list, 0.05, 0.05, 0, 0.0, 1.0, 0);
    EXPECT_NEAR(paramStep(0.05, 0.05), 0.1, 1e-9);
    FlattenEllipseArc(c, 0, list, 4, 2, 0, 0.0, 1.0, 0);
    EXPECT_NEAR(paramStep(4, 2), std::asin(0.08 / 3), 1e-9);
    // Turned by the axis angle: the point at t = 0 lies on the turned axis.
    FlattenEllipseArc({1, 1}, 0, list, 4, 2, kPi / 2, 0.0, 1.0, 0);
    EXPECT_NEAR(list[0].x, 1, kExact);
    EXPECT_NEAR(list[0].y, 5, kExact);
    // Zero axes still give points, all at the centre.
    FlattenEllipseArc({3, 4}, 0, list, 0, 0, 0, 0.0, 1.0, 0);
    EXPECT_GT(list.GetSize(), 2);
    EXPECT_EQ(list[2], x_Vector(3, 4));
}

TEST(CurveHelpers, ArcFromThreePoints)
{
    ArcRecord arc;
    ASSERT_TRUE(ArcFromThreePoints(arc, {0, 0}, {1, 1}, {2, 0}));
    EXPECT_NEAR(arc.centre.x, 1, kExact);
    EXPECT_NEAR(arc.centre.y, 0, kExact);
    EXPECT_NEAR(arc.radius, 1, kExact);
    EXPECT_NEAR(arc.startAngle, kPi, kExact);
    EXPECT_NEAR(arc.endAngle, 0, kExact);
    EXPECT_EQ(arc.direction, 1);

    ASSERT_TRUE(ArcFromThreePoints(arc, {2, 0}, {1, 1}, {0, 0}));
    EXPECT_EQ(arc.direction, 0);
    EXPECT_NEAR(arc.startAngle, 0, kExact);
    EXPECT_NEAR(arc.endAngle, kPi, kExact);

    EXPECT_FALSE(ArcFromThreePoints(arc, {0, 0}, {1, 1}, {2, 2}));
    EXPECT_FALSE(ArcFromThreePoints(arc, {0, 0}, {0, 1e-11}, {2, 0}));
}

TEST(CurveHelpers, Circumcentre)
{
    EXPECT_EQ(Circumcentre({0, 0}, {2, 0}, {0, 2}), x_Vector(1, 1));
    EXPECT_EQ(Circumcentre({0, 0}, {1, 1}, {3, 3}), x_Vector(0, 0, 0));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Circumcentre({0, 0}, {nan, 1}, {3, 3}), x_Vector(0, 0, 0));
}

} // namespace
