#include "tests/wirepath/trail_fixture.h"
#include "wirepath/trail_metrics.h"
#include "wirepath/trail_offset.h"

using Offset = WirepathTest;

namespace {

const std::vector<x_Vector> kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};

} // namespace

TEST_F(Offset, SquareOutwardAndInwardJoinsAtCorners)
{
    for (const int side : {0, 1}) {
        SCOPED_TRACE(side == 0 ? "outward" : "inward");
        x_TrailDataArray out;
        ASSERT_EQ(OffsetTrail(1, 0, Polygon(kSquare), out, 1, side, 0.1), kOffsetOk);
        ASSERT_EQ(out.GetSize(), 4);
        const double lo = side == 0 ? -0.1 : 0.1, hi = 10 - lo;
        ExpectPoint(out[0].start, lo, lo);
        ExpectPoint(out[0].end, hi, lo);
        ExpectPoint(out[1].end, hi, hi);
        ExpectPoint(out[2].end, lo, hi);
        ExpectPoint(out[3].end, lo, lo);
        for (const x_TrailData& e : out)
            EXPECT_NE(e.tag, 100);
    }
}

TEST_F(Offset, TurningBackGetsACornerArc)
{
    x_TrailDataArray in;
    in.Add(Line(0, 0, 10, 0, 3));
    in.Add(Line(10, 0, 0, 0, 8));
    x_TrailDataArray out;
    ASSERT_EQ(OffsetTrail(1, 0, in, out, 0, 0, 0.1), kOffsetOk);
    ASSERT_EQ(out.GetSize(), 3);
    const x_TrailData& corner = out[1];
    EXPECT_TRUE(corner.IsArc());
    EXPECT_EQ(corner.tag, 100);
    EXPECT_EQ(corner.joinMark, 0);
    ExpectPoint(corner.centre, 10, 0, 1e-6);
    EXPECT_NEAR(corner.radius, 0.1, 1e-6);
    ExpectPoint(corner.StartPoint(), 10, -0.1, 1e-6);
    ExpectPoint(corner.EndPoint(), 10, 0.1, 1e-6);
    EXPECT_EQ(out[0].group, 0);
    EXPECT_EQ(out[1].group, 1);
    EXPECT_EQ(out[2].group, 2);
}

TEST_F(Offset, VanishingArcIsJoinedPast)
{
    x_TrailDataArray in;
    in.Add(Line(0, 0, 9.95, 0, 0));
    in.Add(Arc(9.95, 0.05, 0.05, 1.5 * kPi, 0, false, 1));
    in.Add(Line(10, 0.05, 10, 10, 2));
    in.Add(Line(10, 10, 0, 10, 3));
    in.Add(Line(0, 10, 0, 0, 4));
    x_TrailDataArray out;
    ASSERT_EQ(OffsetTrail(1, 0, in, out, 1, 1, 0.1), kOffsetOk);
    ASSERT_EQ(out.GetSize(), 5);
    ExpectPoint(out[0].end, 9.9, 0.1);
    EXPECT_EQ(out[1].kind, 1);
    EXPECT_EQ(out[1].start, out[1].end);
    ExpectPoint(out[2].start, 9.9, 0.1);
    EXPECT_NEAR(TrailLength(out), 4 * 9.8, 1e-9);
}

TEST_F(Offset, OpenListIsNotClosedAndClosedGapGetsACornerArc)
{
    x_TrailDataArray in = Polygon(kSquare);
    x_TrailDataArray out;
    ASSERT_EQ(OffsetTrail(1, 0, in, out, 0, 0, 0.1), kOffsetOk);
    ASSERT_EQ(out.GetSize(), 4);
    ExpectPoint(out[0].start, 0, -0.1);
    ExpectPoint(out[3].end, -0.1, 0);
    // Closed, the parallel last and first offsets meet on a corner arc
    // appended at the end.
    in.RemoveAt(3);
    ASSERT_EQ(OffsetTrail(1, 0, in, out, 1, 0, 0.1), kOffsetOk);
    ASSERT_EQ(out.GetSize(), 4);
    EXPECT_TRUE(out[3].IsArc());
    EXPECT_EQ(out[3].tag, 100);
    ExpectPoint(out[3].StartPoint(), out[2].end.x, out[2].end.y);
    ExpectPoint(out[3].EndPoint(), out[0].start.x, out[0].start.y);
}

TEST_F(Offset, CancelAndEmptyInputGiveNothing)
{
    x_TrailDataArray out;
    out.Add(Line(0, 0, 1, 1));
    EXPECT_EQ(OffsetTrail(1, 0, x_TrailDataArray(), out, 1, 0, 0.1), kOffsetFailed);
    EXPECT_TRUE(out.IsEmpty());
    g_PathRunFlag = 0;
    EXPECT_EQ(OffsetTrail(1, 0, Polygon(kSquare), out, 1, 0, 0.1), kOffsetFailed);
    EXPECT_TRUE(out.IsEmpty());
}

TEST_F(Offset, NeckNarrowerThanTwiceTheOffsetCrossesItself)
{
    // Two squares joined by a corridor 0.15 wide.
    const std::vector<x_Vector> dumbbell = {{0, 0},       {10, 0},      {10, 4.925}, {12, 4.925},
                                            {12, 0},      {22, 0},      {22, 10},    {12, 10},
                                            {12, 5.075},  {10, 5.075},  {10, 10},    {0, 10}};
    x_TrailDataArray out;
    EXPECT_EQ(OffsetTrail(1, 0, Polygon(dumbbell), out, 1, 1, 0.1), kOffsetOk);
    EXPECT_TRUE(TrailCrossesItself(out.GetData(), out.GetSize(), true));
    EXPECT_EQ(OffsetTrail(1, 0, Polygon(dumbbell), out, 1, 1, 0.05), kOffsetOk);
    EXPECT_FALSE(TrailCrossesItself(out.GetData(), out.GetSize(), true));
}

TEST_F(Offset, VariableTaperOffsetsEachElementByItsAngle)
{
    x_TrailDataArray in = Polygon(kSquare);
    in[0].taperAngle = 45;                  // tan 45° × 2 = 2 more for the bottom edge
    x_TrailDataArray out;
    ASSERT_EQ(OffsetTrail(3, 0, in, out, 1, 0, 0.1, 2.0), kOffsetOk);
    ExpectPoint(out[0].start, -0.1, -2.1, 1e-9);
    ASSERT_EQ(OffsetTrail(3, 1, in, out, 1, 0, 0.1, 2.0), kOffsetOk);
    ExpectPoint(out[0].start, -0.1, 1.9, 1e-9);
}

TEST_F(Offset, GroupsAndZeroLengthRemoval)
{
    x_TrailDataArray list;
    for (const int g : {5, 5, 7, 5})
        list.Add(Line(0, 0, 1, 0, g));
    RenumberTrailGroups(list);
    EXPECT_EQ(list[0].group, 0);
    EXPECT_EQ(list[1].group, 0);
    EXPECT_EQ(list[2].group, 1);
    EXPECT_EQ(list[3].group, 2);
    x_TrailDataArray a, b;
    a.Add(Line(1, 1, 1, 1));
    a.Add(Line(1, 1, 1, 1));
    a.Add(Arc(0, 0, 1, 0, 1, false));
    b.Add(Line(2, 2, 2, 2));
    b.Add(Line(2, 2, 3, 3));
    b.Add(Line(3, 3, 3, 3));
    b.Add(Line(3, 3, 4, 3));
    RemoveZeroLengthPairs(a, b);
    EXPECT_EQ(a.GetSize(), 2);
    EXPECT_EQ(b.GetSize(), 2);
    RemoveZeroLengthLines(b);
    EXPECT_EQ(b.GetSize(), 1);
}

TEST_F(Offset, ClosedContourOfOneEntityKeepsItsSize)
{
    // A closed run of 400 pieces of one source entity (a closed spline):
    // it used to be taken for an inverted run and collapsed to a point.
    std::vector<x_Vector> pts;
    for (int i = 0; i < 400; ++i)
        pts.emplace_back(20 * std::cos(kTwoPi * i / 400), 20 * std::sin(kTwoPi * i / 400));
    x_TrailDataArray in = Polygon(pts);
    for (x_TrailData& e : in)
        e.group = 0;
    x_TrailDataArray out;
    ASSERT_EQ(OffsetTrail(1, 0, in, out, 1, 0, 0.1), kOffsetOk);
    EXPECT_NEAR(TrailLength(out), TrailLength(in) * 20.1 / 20.0, 1e-3);
    for (const x_TrailData& e : out)
        EXPECT_NE(e.start, e.end);
}

TEST_F(Offset, LoopInsideARunIsCut)
{
    // A slot 0.05 wide and deep in one source entity, offset 0.1 away from
    // it: the slot's offsets loop and are cut to a point.
    const std::vector<x_Vector> p = {{0, 0}, {4, 0}, {4, -0.05}, {4.05, -0.05}, {4.05, 0}, {8, 0}};
    x_TrailDataArray in;
    for (size_t i = 0; i + 1 < p.size(); ++i)
        in.Add(Line(p[i].x, p[i].y, p[i + 1].x, p[i + 1].y, 7));
    x_TrailDataArray out;
    ASSERT_EQ(OffsetTrail(1, 0, in, out, 0, 1, 0.1), kOffsetOk);
    EXPECT_NEAR(TrailLength(out), 8.0, 1e-9);
    EXPECT_FALSE(TrailCrossesItself(out.GetData(), out.GetSize(), false));
    ExpectPoint(out[0].start, 0, 0.1);
    ExpectPoint(out[out.GetSize() - 1].end, 8, 0.1);
}
