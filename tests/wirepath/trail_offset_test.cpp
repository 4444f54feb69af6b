#include <cmath>
#include <utility>

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

// A sharp corner between an arc and a line offset to the outside by a
// positive distance on one side or a negative one on the other (a tapered
// upper surface that lies across the contour): the corner arc goes round
// the tip, not back through the corner.
TEST_F(Offset, NegativeOffsetRoundsTheCornerOnItsOwnSide)
{
    const x_Vector c(5, -20), tip(10, 0);
    x_TrailDataArray in;
    in.Add(Arc(c.x, c.y, std::sqrt(425.0), x_Vector::AngleTo(c, {0, 0}), x_Vector::AngleTo(c, tip), true, 3));
    in.Add(Line(tip.x, tip.y, 0, 2, 8));
    // The directions of travel at the tip, and the bisector pointing out.
    const x_Vector arriving = x_Vector(20, -5) / std::sqrt(425.0), leaving = x_Vector(-10, 2) / std::sqrt(104.0);
    const x_Vector outward = (arriving - leaving) / (arriving - leaving).Length();
    for (const auto& [side, offset] : {std::pair{0, 0.1}, std::pair{1, -0.1}}) {
        SCOPED_TRACE(offset);
        x_TrailDataArray out;
        ASSERT_EQ(OffsetTrail(1, 0, in, out, 0, side, offset), kOffsetOk);
        ASSERT_EQ(out.GetSize(), 3);
        const x_TrailData& corner = out[1];
        ASSERT_TRUE(corner.IsArc());
        double sweep = corner.endAngle - corner.startAngle;
        if (corner.direction == 0 && sweep < 0.0)
            sweep += kTwoPi;
        if (corner.direction != 0 && sweep > 0.0)
            sweep -= kTwoPi;
        const x_Vector middle = corner.centre + x_Vector::FromPolar(corner.radius, corner.startAngle + sweep / 2);
        // Round the tip: some 0.1 out along the bisector (through the
        // corner it lay 0.1 the other way).
        EXPECT_NEAR((middle - tip).x * outward.x + (middle - tip).y * outward.y, 0.1, 0.01);
    }
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

TEST_F(Offset, LoopAcrossEntitiesIsCut)
{
    // A slot 0.15 wide and 1 deep drawn as separate lines, between rows of
    // 0.1 mm lines that chain without a gap, offset 0.1 over it: the wire
    // (0.2 across) cannot enter the slot, so its path stays at y = 0.1 or
    // above; the loop of the walls' offsets is found by walking back over
    // the entities before it. Where the walls were, a corner arc of at
    // most a half circle may bridge the gap.
    std::vector<x_Vector> p;
    for (int i = 0; i <= 40; ++i)
        p.emplace_back(0.1 * i, 0);
    for (const x_Vector& q : std::vector<x_Vector>{{4, -1}, {4.15, -1}, {4.15, 0}})
        p.push_back(q);
    for (int i = 1; i <= 40; ++i)
        p.emplace_back(4.15 + 0.1 * i, 0);
    x_TrailDataArray in;
    for (size_t i = 0; i + 1 < p.size(); ++i)
        in.Add(Line(p[i].x, p[i].y, p[i + 1].x, p[i + 1].y, static_cast<int>(i) + 1));
    x_TrailDataArray out;
    ASSERT_EQ(OffsetTrail(1, 0, in, out, 0, 1, 0.1), kOffsetOk);
    EXPECT_FALSE(TrailCrossesItself(out.GetData(), out.GetSize(), false));
    ExpectPoint(out[0].StartPoint(), 0, 0.1);
    ExpectPoint(out[out.GetSize() - 1].EndPoint(), 8.15, 0.1);
    constexpr double kBridge = 0.15 / 2;    // a half circle over the slot
    for (const x_TrailData& e : out) {
        for (int s = 0; s <= 16; ++s) {
            const double turn = (e.direction != 0 ? -1 : 1) * SignedSweep(e.startAngle, e.endAngle, e.direction);
            const x_Vector q = e.IsLine() ? x_Vector::Lerp(s / 16.0, e.start, e.end)
                                          : e.centre + x_Vector::FromPolar(e.radius, e.startAngle + s / 16.0 * turn);
            EXPECT_GE(q.y, 0.1 - kExact);
            EXPECT_LE(q.y, 0.1 + kBridge);
        }
    }
}

TEST_F(Offset, RegularPolygonGivesTheAnalyticMiter)
{
    // The miter offset of a regular n-gon of circumradius R by d is the
    // regular n-gon of circumradius R + d / cos(π/n) at the same angles.
    constexpr double kR = 200.0, kD = 0.1;
    constexpr double kAgree = 1e-9;         // mm; joints of lines 0.036° apart
    for (const int n : {3, 4, 7, 1000, 10000}) {
        for (const bool outward : {true, false}) {
            SCOPED_TRACE(testing::Message() << n << " vertices, " << (outward ? "outward" : "inward"));
            std::vector<x_Vector> pts;
            for (int i = 0; i < n; ++i)
                pts.push_back(x_Vector::FromPolar(kR, kTwoPi * i / n));
            x_TrailDataArray out;
            // Counter-clockwise: right of the travel is the outside.
            ASSERT_EQ(OffsetTrail(1, 0, Polygon(pts), out, 1, outward ? 0 : 1, kD), kOffsetOk);
            ASSERT_EQ(out.GetSize(), n);
            const double r = kR + (outward ? kD : -kD) / std::cos(kPi / n);
            double worst = 0.0;
            for (int i = 0; i < n; ++i) {
                EXPECT_TRUE(out[i].IsLine());
                const x_Vector expected = x_Vector::FromPolar(r, kTwoPi * i / n);
                worst = std::max(worst, x_Vector::Distance(out[i].start, expected));
                worst = std::max(worst, x_Vector::Distance(out[(i + n - 1) % n].end, expected));
            }
            EXPECT_LT(worst, kAgree);
        }
    }
}

TEST_F(Offset, ElementsOfOtherKindsAreLeftOut)
{
    // An empty element (kind above 3) between the square's sides: the
    // offset is the square's, corner for corner, worked by hand.
    x_TrailDataArray in = Polygon(kSquare);
    x_TrailData empty;
    empty.kind = 5;
    empty.group = 9;
    empty.start = x_Vector(50, 50);
    in.InsertAt(2, empty);
    x_TrailDataArray out;
    ASSERT_EQ(OffsetTrail(1, 0, in, out, 1, 0, 0.1), kOffsetOk);
    ASSERT_EQ(out.GetSize(), 4);
    ExpectPoint(out[0].start, -0.1, -0.1);
    ExpectPoint(out[1].start, 10.1, -0.1);
    ExpectPoint(out[2].start, 10.1, 10.1);
    ExpectPoint(out[3].start, -0.1, 10.1);
    ExpectPoint(out[3].end, -0.1, -0.1);

    // A turn back after an empty element: the corner arc is centred on the
    // corner of the lines kept, not on the left-out element.
    x_TrailDataArray turn;
    turn.Add(Line(0, 0, 10, 0, 3));
    turn.Add(empty);
    turn.Add(Line(10, 0, 0, 0, 8));
    ASSERT_EQ(OffsetTrail(1, 0, turn, out, 0, 0, 0.1), kOffsetOk);
    ASSERT_EQ(out.GetSize(), 3);
    EXPECT_TRUE(out[1].IsArc());
    ExpectPoint(out[1].centre, 10, 0, 1e-6);
    EXPECT_NEAR(out[1].radius, 0.1, 1e-6);

    // A closed circle of 400 pieces of one entity after an empty element:
    // its run closes on itself (its first piece's start is its last one's
    // end), so it keeps its size: the miter offset of the 400-gon.
    x_TrailDataArray circle;
    circle.Add(empty);
    for (int i = 0; i < 400; ++i) {
        const x_Vector a = x_Vector::FromPolar(20, kTwoPi * i / 400), b = x_Vector::FromPolar(20, kTwoPi * (i + 1) / 400);
        circle.Add(Line(a.x, a.y, b.x, b.y, 0));
    }
    for (const double d : {0.1, -0.4}) {
        SCOPED_TRACE(d);
        ASSERT_EQ(OffsetTrail(1, 0, circle, out, 1, 0, d), kOffsetOk);
        EXPECT_NEAR(TrailLength(out), 400 * 2 * (20 * std::cos(kPi / 400) + d) * std::tan(kPi / 400), 1e-6);
    }
}
