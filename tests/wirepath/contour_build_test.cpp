#include <cmath>

#include "tests/wirepath/chain_fixture.h"
#include "wirepath/path_codes.h"
#include "wirepath/trail_metrics.h"
#include "wirepath/trail_offset.h"

using Contour = ChainTest;

namespace {

const double kTaper2At20 = std::tan(2.0 * kPi / 180.0) * 20.0;

void ExpectRectangle(const x_TrailDataArray& list, double off, int first = 1)
{
    const double lo = -off, hiX = 20 + off, hiY = 10 + off;
    ExpectPoint(list[first].start, 10, lo, 1e-9);
    ExpectPoint(list[first].end, hiX, lo, 1e-9);
    ExpectPoint(list[first + 1].end, hiX, hiY, 1e-9);
    ExpectPoint(list[first + 2].end, lo, hiY, 1e-9);
    ExpectPoint(list[first + 3].end, lo, lo, 1e-9);
    ExpectPoint(list[first + 4].end, 10, lo, 1e-9);
}

} // namespace

TEST_F(Contour, OuterRectangle)
{
    TakeClosed(kRectangle);
    ASSERT_EQ(Build(Request({10, -5}, {10, 0}, 1)), kPathOk);
    const x_TrailDataArray& low = path.lists[0];
    ASSERT_EQ(low.GetSize(), 7);
    EXPECT_TRUE(path.lists[1].IsEmpty());
    EXPECT_EQ(low[0].role, 1);
    ExpectPoint(low[0].start, 10, -5);
    ExpectRectangle(low, 0.1);
    ExpectPoint(low[6].end, 10, -5);
    EXPECT_EQ(low[6].role, 1);
    const TrailParams& p = path.params;
    EXPECT_NEAR(p.length[0], 70.6, 1e-9);
    EXPECT_NEAR(p.lengthNoLead[0], 60.8, 1e-9);
    EXPECT_NEAR(p.cutLength[0], 60.8, 1e-9);
    ExpectPoint(p.boxMin[0], -0.1, -5, 1e-9);
    ExpectPoint(p.boxMax[0], 20.1, 10.1, 1e-9);
    EXPECT_EQ(path.outward[0], 1);
    EXPECT_EQ(p.closedCut, 1);
    EXPECT_EQ(p.surfaceCount, 1);
    EXPECT_EQ(p.compensation, 0.1);
    ExpectPoint(p.threadPoint[1], 10, -5);
    EXPECT_EQ(path.unshifted[0].GetSize(), 5);
    EXPECT_NE(path.unitId, 0u);
}

TEST_F(Contour, RectangleAsAHole)
{
    TakeClosed(kRectangle);
    ASSERT_EQ(Build(Request({10, 5}, {10, 0}, 2)), kPathOk);
    ASSERT_EQ(path.lists[0].GetSize(), 7);
    ExpectRectangle(path.lists[0], -0.1);
    EXPECT_NEAR(path.params.cutLength[0], 59.2, 1e-9);
    EXPECT_EQ(path.outward[0], 0);
}

TEST_F(Contour, OverCutGoesOnAndComesBack)
{
    settings.overCut = 1.0;
    TakeClosed(kRectangle);
    ASSERT_EQ(Build(Request({10, -5}, {10, 0}, 1)), kPathOk);
    const x_TrailDataArray& low = path.lists[0];
    ASSERT_EQ(low.GetSize(), 9);
    ExpectPoint(low[6].start, 10, -0.1, 1e-9);
    ExpectPoint(low[6].end, 11, -0.1, 1e-9);
    ExpectPoint(low[7].end, 10, -0.1, 1e-9);
    EXPECT_NEAR(path.params.cutLength[0], 62.8, 1e-9);
    EXPECT_EQ(path.params.overCut, 1.0);
}

TEST_F(Contour, TaperUpperContourAndItsInversion)
{
    settings.cutMode = 1;
    settings.taperAngle = 2.0;
    settings.thickness = 20.0;
    TakeClosed(kRectangle);
    EXPECT_NEAR(kTaper2At20, 0.6984154, 1e-7);
    ASSERT_EQ(Build(Request({10, -5}, {10, 0}, 1)), kPathOk);
    ASSERT_EQ(path.lists[0].GetSize(), 7);
    ASSERT_EQ(path.lists[1].GetSize(), 7);
    ExpectRectangle(path.lists[0], 0.1);
    ExpectRectangle(path.lists[1], 0.1 - kTaper2At20, 1);
    EXPECT_EQ(path.params.surfaceCount, 2);
    EXPECT_EQ(path.params.taperAngle, 2.0);

    // Inverted: the top is the larger face, the bottom keeps the drawing's
    // compensated contour.
    settings.invertedTaper = true;
    ASSERT_EQ(Build(Request({10, -5}, {10, 0}, 1)), kPathOk);
    ExpectRectangle(path.lists[0], 0.1);
    ExpectRectangle(path.lists[1], 0.1 + kTaper2At20);
    EXPECT_GT(path.params.boxMax[1].x, path.params.boxMax[0].x);
}

TEST_F(Contour, TaperWithOverCutKeepsBothListsInStep)
{
    settings.cutMode = 1;
    settings.taperAngle = 2.0;
    settings.overCut = 1.0;
    TakeClosed(kRectangle);
    ASSERT_EQ(Build(Request({10, -5}, {10, 0}, 1)), kPathOk);
    ASSERT_EQ(path.lists[0].GetSize(), 9);
    ASSERT_EQ(path.lists[1].GetSize(), 9);
    // The upper over-cut runs 1 mm × (the upper bottom edge / the lower one).
    const double upperEdge = 10 + 0.1 - kTaper2At20;
    ExpectPoint(path.lists[1][6].end, 10 + upperEdge / 10.1, -0.1 + kTaper2At20, 1e-6);
}

TEST_F(Contour, SinglePassCountOfOneKeepsTheCompensation)
{
    settings.multiPass = true;
    settings.passCount = 1;
    TakeClosed(kRectangle);
    ASSERT_EQ(Build(Request({10, -5}, {10, 0}, 1)), kPathOk);
    ASSERT_EQ(path.lists[0].GetSize(), 7);
    ExpectRectangle(path.lists[0], 0.1);
    // Real multi-pass: no offset and no lead lines yet.
    settings.passCount = 3;
    ASSERT_EQ(Build(Request({10, -5}, {10, 0}, 1)), kPathOk);
    ASSERT_EQ(path.lists[0].GetSize(), 5);
    ExpectPoint(path.lists[0][0].end, 20, 0);
}

TEST_F(Contour, AnglesOfNinetyDegreesAreRefused)
{
    TakeClosed(kRectangle);
    settings.cutMode = 1;
    settings.taperAngle = -90.0;
    EXPECT_EQ(Build(Request({10, -5}, {10, 0}, 1)), kPathAngleRefused);
    settings.taperAngle = 89.0;
    settings.thickness = 0.01;
    EXPECT_EQ(Build(Request({10, -5}, {10, 0}, 1)), kPathOk);
    settings.cutMode = 4;
    settings.inclineX = 90.0;
    EXPECT_EQ(Build(Request({10, -5}, {10, 0}, 1)), kPathAngleRefused);
    settings.inclineAsDistance = true;      // millimetres, not an angle
    EXPECT_EQ(Build(Request({10, -5}, {10, 0}, 1)), kPathOk);
    settings.cutMode = 3;
    doc.m_unitList[2]->taperAngle = 95.0;
    EXPECT_EQ(Build(Request({10, -5}, {10, 0}, 1)), kPathAngleRefused);
}

TEST_F(Contour, InclineShiftsTheTaperContour)
{
    settings.cutMode = 1;
    settings.taperAngle = 2.0;
    settings.taperUseIncline = true;
    settings.inclineX = 1.0;
    settings.inclineAsDistance = true;
    settings.inclineMoves = false;
    TakeClosed(kRectangle);
    ASSERT_EQ(Build(Request({10, -5}, {10, 0}, 1)), kPathOk);
    ASSERT_EQ(path.lists[1].GetSize(), 7);
    // The taper contour moved 1 mm in x (it used to become the lower contour).
    ExpectPoint(path.lists[1][1].end, 20 + 0.1 - kTaper2At20 + 1.0, -0.1 + kTaper2At20, 1e-6);
}

TEST_F(Contour, LShapeWithAConcaveCorner)
{
    TakeClosed({{5, 0}, {10, 0}, {10, 5}, {5, 5}, {5, 10}, {0, 10}, {0, 0}});
    ASSERT_EQ(Build(Request({5, -5}, {5, 0}, 1)), kPathOk);
    const x_TrailDataArray& low = path.lists[0];
    ASSERT_EQ(low.GetSize(), 9);
    ExpectPoint(low[3].end, 5.1, 5.1, 1e-9);        // the concave corner
    ExpectPoint(low[2].end, 10.1, 5.1, 1e-9);
    // 40 round, five convex corners add 0.2 each, the concave one takes 0.2.
    EXPECT_NEAR(path.params.cutLength[0], 40.8, 1e-9);
}

TEST_F(Contour, CircleAsOuterShapeAndAsHole)
{
    for (const int key : {1, 2}) {
        SCOPED_TRACE(key == 1 ? "outer" : "hole");
        TearDown();
        SetUp();
        Take(NewCircle({0, 0}, 5));
        ASSERT_EQ(Build(Request({0, 0}, {5, 0}, key)), kPathOk);
        const x_TrailDataArray& low = path.lists[0];
        ASSERT_EQ(low.GetSize(), 4);           // lead, two half circles, lead
        const double r = key == 1 ? 5.1 : 4.9;
        EXPECT_NEAR(low[1].radius, r, 1e-12);
        EXPECT_NEAR(low[2].radius, r, 1e-12);
        EXPECT_NEAR(path.params.cutLength[0], kTwoPi * r, 1e-9);
        EXPECT_EQ(path.outward[0], key == 1 ? 1 : 0);
        ExpectPoint(low[0].end, r, 0, 1e-9);
    }
}

TEST_F(Contour, ArcsTangentToLinesAndArcsMeetingAtCorners)
{
    // A 10 × 10 square with rounded corner (radius 2) at (10, 10), and a
    // top edge made of an arc that meets its neighbours at corners.
    TakeLine(5, 0, 10, 0);
    TakeLine(10, 0, 10, 8);
    Take(NewArc({8, 8}, 2, 0, kPi / 2, 0));
    Take(NewArc({5, 5}, std::sqrt(34.0), std::atan2(5.0, 3.0), std::atan2(5.0, -5.0), 0));
    TakeLine(0, 10, 0, 0);
    TakeLine(0, 0, 5, 0);
    ASSERT_EQ(Build(Request({5, -5}, {5, 0}, 1)), kPathOk);
    const x_TrailDataArray& low = path.lists[0];
    ASSERT_GE(low.GetSize(), 8);
    // The tangent arc keeps its centre and grows by the compensation.
    EXPECT_NEAR(low[3].radius, 2.1, 1e-12);
    ExpectPoint(low[3].StartPoint(), 10.1, 8, 1e-9);
    // Every element starts where the previous one ended.
    for (int i = 1; i < low.GetSize(); ++i)
        ExpectPoint(low[i].StartPoint(), low[i - 1].EndPoint().x, low[i - 1].EndPoint().y, 1e-9);
    // The contour between the lead lines is closed and free of crossings.
    EXPECT_FALSE(TrailCrossesItself(low.GetData() + 1, low.GetSize() - 2, true));
}

TEST_F(Contour, NothingUsableIsRefused)
{
    TakeLine(1, 1, 1.0005, 1);
    EXPECT_EQ(Build(Request({0, 0}, {1, 1}, 1)), kPathNoEntity);
}

TEST_F(Contour, OffsetThroughANarrowNeckIsRefused)
{
    // Two squares joined by a corridor 0.15 wide, cut as a hole.
    TakeClosed({{5, 0}, {10, 0}, {10, 4.925}, {12, 4.925}, {12, 0}, {22, 0}, {22, 10}, {12, 10},
                {12, 5.075}, {10, 5.075}, {10, 10}, {0, 10}, {0, 0}});
    EXPECT_EQ(Build(Request({5, 5}, {5, 0}, 2)), kPathSelfCrossing);
    EXPECT_EQ(Build(Request({5, 5}, {5, 0}, 2, 0.05)), kPathOk);
}
