#include <cmath>

#include "tests/wirepath/trail_fixture.h"
#include "wirepath/TrailPath.h"
#include "wirepath/trail_metrics.h"

using Metrics = WirepathTest;

TEST_F(Metrics, SweepRules)
{
    EXPECT_NEAR(ArcLength(ArcOf(Arc(0, 0, 1, 0.5, 0.2, true))), 0.3, kExact);
    EXPECT_NEAR(ArcLength(ArcOf(Arc(0, 0, 1, 0.5, 0.2, false))), 2 * kPi - 0.3, kExact);
    EXPECT_NEAR(ArcLength(ArcOf(Arc(0, 0, 3, 1.0, 1.0, false))), 6 * kPi, kExact);
    EXPECT_NEAR(SignedSweep(0.2, 0.5, 0), 0.3, kExact);
    EXPECT_NEAR(SignedSweep(0.5, 0.5, 0), 2 * kPi, kExact);
    EXPECT_NEAR(SignedSweep(0.5, 0.2, 1), 0.3, kExact);
}

TEST_F(Metrics, ArcBoxes)
{
    x_Vector lo, hi;
    // A full turn wraps and takes all four extremes.
    ArcBounds(ArcOf(Arc(1, 2, 3, 0.7, 0.7, false)), {0, 0}, {0, 0}, lo, hi);
    ExpectPoint(lo, -2, -1);
    ExpectPoint(hi, 4, 5);
    // Counter-clockwise half circle over the top.
    ArcBounds(ArcOf(Arc(20, 0, 5, 0, kPi, false)), {25, 0}, {15, 0}, lo, hi);
    ExpectPoint(lo, 15, 0);
    ExpectPoint(hi, 25, 5);
    // The same half circle run clockwise from π to 0 is the same arc.
    ArcBounds(ArcOf(Arc(20, 0, 5, kPi, 0, true)), {15, 0}, {25, 0}, lo, hi);
    ExpectPoint(hi, 25, 5);
}

TEST_F(Metrics, PathTotalsAndBoxes)
{
    TrailPath path;
    x_TrailData lead = Line(-3, 0, 0, 0);
    lead.role = 1;
    x_TrailData secondPass = Line(10, 5, 10, 8);
    secondPass.subKind = 2;
    path.lists[0].Add(lead);
    path.lists[0].Add(Line(0, 0, 10, 0));
    path.lists[0].Add(Line(10, 0, 10, 5));
    path.lists[0].Add(secondPass);
    x_TrailData empty;
    empty.kind = 5;
    path.lists[0].Add(empty);
    path.params.boxMin[1] = x_Vector(-100, -100);
    ComputeTrailMetrics(path);
    const TrailParams& p = path.params;
    EXPECT_NEAR(p.length[0], 21, kExact);
    EXPECT_NEAR(p.lengthNoLead[0], 18, kExact);
    EXPECT_NEAR(p.cutLength[0], 15, kExact);
    EXPECT_EQ(p.length[1], 0.0);
    EXPECT_EQ(p.boxMin[1].x, -100.0);   // an empty list keeps its box
    ExpectPoint(p.boxMin[0], -3, 0);
    ExpectPoint(p.boxMax[0], 10, 8);
    ExpectPoint(path.extentMin, -3, 0);
    EXPECT_NEAR(path.lists[0][2].length, 5, kExact);

    // A list starting with a half circle: its running point starts at (25, 0).
    path.lists[1].Add(Arc(20, 0, 5, 0, kPi, false));
    path.lists[1].Add(Line(15, 0, 15, -1));
    ComputeTrailMetrics(path);
    ExpectPoint(p.boxMin[1], 15, -1);
    ExpectPoint(p.boxMax[1], 25, 5);
    EXPECT_NEAR(p.length[1], 5 * kPi + 1, kExact);
    ExpectPoint(path.extentMax, 25, 8);
}

TEST_F(Metrics, PointListStartPointsAndCentroid)
{
    TrailPath path;
    EXPECT_EQ(TrailStartPoint(path), x_Vector(0, 0, 1));
    path.lists[0].Add(Arc(0, 0, 10, 0, kPi / 2, false));
    path.lists[0].Add(Line(0, 10, -5, 10));
    CArray<x_Vector> pts;
    EXPECT_EQ(TrailToPointList(path, 0, pts), 1);
    ASSERT_GE(pts.GetSize(), 4);
    ExpectPoint(pts[0], 10, 0);
    ExpectPoint(pts[pts.GetSize() - 2], 0, 10);     // the line's start after the arc
    ExpectPoint(pts[pts.GetSize() - 1], -5, 10);
    ExpectPoint(TrailEndPoint(path), -5, 10);
}
