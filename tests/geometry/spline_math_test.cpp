#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/GeometryState.h"
#include "geometry/spline_math.h"

namespace {

constexpr double kExact = 1e-12;            // sums of exact binary fractions

class SplineMath : public testing::Test {
protected:
    void SetUp() override { ResetGeometryState(); }
};

x_VectorArray Points(std::initializer_list<x_Vector> list)
{
    x_VectorArray a;
    for (const x_Vector& p : list)
        a.Add(p);
    return a;
}

bool AllFinite(const x_VectorArray& a)
{
    for (int i = 0; i < a.GetSize(); ++i)
        if (!std::isfinite(a[i].x) || !std::isfinite(a[i].y))
            return false;
    return true;
}

TEST_F(SplineMath, KnotVectors)
{
    int x[8] = {};
    ClampedKnots(4, 3, x);
    EXPECT_EQ(std::vector<int>(x + 1, x + 8), (std::vector<int>{0, 0, 0, 1, 2, 2, 2}));
    UniformKnots(4, 3, x);
    EXPECT_EQ(std::vector<int>(x + 1, x + 8), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(SplineMath, SampleStepFollowsTheBoxWithinLimits)
{
    const struct { const char* name; double width; double step; } kCases[] = {
        {"3 mm: lower limit", 3, 0.05},
        {"30 mm: a sixtieth", 30, 0.5},
        {"60 mm: exactly 1", 60, 1.0},
        {"600 mm: upper limit", 600, 1.0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(SampleStepFor(Points({{0, 0}, {c.width, 1}}), 0.7), c.step);
    }
    EXPECT_EQ(SampleStepFor(Points({{0, 0}}), 0.7), 0.7);
}

// Two key points: ten Jacobi sweeps from 1.5·D leave T = (1 + 2^-11)·D, so
// the chord is sampled unevenly by a hair, but its middle is exact.
TEST_F(SplineMath, OpenCubicThroughTwoPoints)
{
    x_VectorArray keys = Points({{0, 0}, {30, 0}});
    g_SplineStep = SampleStepFor(keys, 0);
    ASSERT_EQ(g_SplineStep, 0.5);
    SplineWorkspace ws;
    x_VectorArray out;
    BuildOpenCubic(keys, ws, out);
    ASSERT_EQ(out.GetSize(), 61);
    EXPECT_EQ(out[0], x_Vector(0, 0));
    EXPECT_EQ(out[30], x_Vector(15, 0));
    EXPECT_NEAR(out[60].x, 30, kExact);
    // g = 1/4: h1·30 + (h2 + h3)·30·(1 + 2^-11) = 7.5 + 2.8125 / 2048
    EXPECT_NEAR(out[15].x, 7.5 + 2.8125 / 2048, kExact);
    EXPECT_EQ(ws.n, 0);                          // workspace freed
}

TEST_F(SplineMath, ShortChordIsOneStraightPiece)
{
    g_SplineStep = 0.05;
    SplineWorkspace ws;
    x_VectorArray out;
    BuildOpenCubic(Points({{0, 0}, {0.9, 0.5}}), ws, out);
    ASSERT_EQ(out.GetSize(), 2);
    EXPECT_EQ(out[1], x_Vector(0.9, 0.5));
}

TEST_F(SplineMath, CoincidentKeyPointsCountOnce)
{
    g_SplineStep = 0.5;
    SplineWorkspace ws;
    x_VectorArray with, without;
    BuildOpenCubic(Points({{0, 0}, {10, 0}, {10, 0}, {20, 5}}), ws, with);
    BuildOpenCubic(Points({{0, 0}, {10, 0}, {20, 5}}), ws, without);
    ASSERT_TRUE(AllFinite(with));
    ASSERT_EQ(with.GetSize(), without.GetSize());
    for (int i = 0; i < with.GetSize(); ++i)
        EXPECT_EQ(with[i], without[i]);
    // Closing by clicking the first node again.
    x_VectorArray closed;
    BuildClosedCubic(Points({{0, 0}, {10, 0}, {10, 10}, {0, 0}}), ws, closed);
    EXPECT_TRUE(AllFinite(closed));
    EXPECT_GT(closed.GetSize(), 10);
}

TEST_F(SplineMath, FewerThanTwoPointsAreKeptRaw)
{
    SplineWorkspace ws;
    x_VectorArray out = Points({{9, 9}});
    BuildOpenCubic(Points({{1, 2}}), ws, out);
    ASSERT_EQ(out.GetSize(), 1);
    EXPECT_EQ(out[0], x_Vector(1, 2));
    BuildClosedCubic(Points({{1, 2}, {1, 2}}), ws, out);
    EXPECT_EQ(out.GetSize(), 2);
    BuildBSpline(Points({}), 3, false, out);
    EXPECT_EQ(out.GetSize(), 0);
}

TEST_F(SplineMath, ClosedCubicPassesEveryKeyPointAndReturns)
{
    g_SplineStep = 0.5;
    SplineWorkspace ws;
    x_VectorArray out;
    const x_VectorArray keys = Points({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    BuildClosedCubic(keys, ws, out);
    // Each segment: its start, then 20 samples, the last on the next key point.
    ASSERT_EQ(out.GetSize(), 4 * 21);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(out[21 * k], keys[k]);
    EXPECT_NEAR(out[83].x, 0, 1e-9);
    EXPECT_NEAR(out[83].y, 0, 1e-9);
    // The square's symmetry: the middle of the first side bulges outward.
    EXPECT_NEAR(out[10].x, 5, 1e-9);
    EXPECT_LT(out[10].y, 0);
}

TEST_F(SplineMath, BSplineClampedEndsAndSampleCount)
{
    x_VectorArray out;
    BuildBSpline(Points({{0, 0}, {10, 10}, {20, 10}, {30, 0}}), 2, false, out);
    ASSERT_EQ(out.GetSize(), 32);
    EXPECT_NEAR(out[0].x, 0, kExact);
    EXPECT_NEAR(out[0].y, 0, kExact);
    EXPECT_NEAR(out[31].x, 30, kExact);
    EXPECT_NEAR(out[31].y, 0, kExact);
}

// An order above the point count collapsed the curve; the order falls to n.
TEST_F(SplineMath, BSplineOrderAboveThePointCount)
{
    x_VectorArray out;
    BuildBSpline(Points({{0, 0}, {10, 10}, {20, 0}}), 5, false, out);
    ASSERT_EQ(out.GetSize(), 24);
    EXPECT_NEAR(out[0].x, 0, kExact);
    EXPECT_NEAR(out[23].x, 20, kExact);
    EXPECT_NEAR(out[23].y, 0, kExact);
    // Quadratic Bézier: the apex at t = 1/2 is (10, 5); samples straddle it.
    double top = 0;
    for (int i = 0; i < out.GetSize(); ++i)
        top = std::max(top, out[i].y);
    EXPECT_GT(top, 4.9);
    EXPECT_LE(top, 5.0);
}

TEST_F(SplineMath, BasisIsAPartitionOfUnity)
{
    int x[8];
    ClampedKnots(4, 3, x);
    const double w[5] = {0, 1, 1, 1, 1};
    for (double t : {0.0, 0.3, 1.0, 1.7, 2.0}) {
        SCOPED_TRACE(t);
        double r[5] = {};
        BSplineBasis(3, t, 4, x, w, r);
        EXPECT_NEAR(r[1] + r[2] + r[3] + r[4], 1.0, kExact);
    }
    double r[5] = {};
    BSplineBasis(3, 2.0, 4, x, w, r);
    EXPECT_EQ(r[4], 1.0);                        // the end picks the last point
}

TEST_F(SplineMath, InvoluteFlankAndItsMirror)
{
    SplineRecord rec;
    rec.baseRadius = 10;
    rec.startParam = 0;
    rec.endParam = 0.5;
    x_VectorArray curve, keys;
    BuildInvolute(rec, 0.125, curve, keys);
    ASSERT_EQ(curve.GetSize(), 5);
    EXPECT_NEAR(curve[0].x, 10, kExact);
    EXPECT_NEAR(curve[0].y, 0, kExact);
    const double r = 10 / std::cos(0.5), phi = std::tan(0.5) - 0.5;
    EXPECT_NEAR(curve[4].x, r * std::cos(phi), kExact);
    EXPECT_NEAR(curve[4].y, r * std::sin(phi), kExact);
    ASSERT_EQ(keys.GetSize(), 2);
    EXPECT_EQ(keys[1], curve[4]);
    rec.mirrored = 1;
    BuildInvolute(rec, 0.125, curve, keys);
    EXPECT_NEAR(curve[4].y, -r * std::sin(phi), kExact);
}

// A range shorter than one step divided by m = 0.
TEST_F(SplineMath, InvoluteShorterThanOneStep)
{
    SplineRecord rec;
    rec.baseRadius = 10;
    rec.startParam = 0.2;
    rec.endParam = 0.25;
    x_VectorArray curve, keys;
    BuildInvolute(rec, 0.1, curve, keys);
    ASSERT_EQ(curve.GetSize(), 2);
    EXPECT_TRUE(AllFinite(curve));
    EXPECT_EQ(curve[1], InvolutePoint(rec, 0.25));
    rec.endParam = rec.startParam;
    BuildInvolute(rec, 0.1, curve, keys);
    EXPECT_TRUE(AllFinite(curve));
}

} // namespace
