#include "tests/wirepath/trail_fixture.h"
#include "wirepath/offset_join.h"

using Join = WirepathTest;

TEST_F(Join, TwoLines)
{
    const struct {
        const char* name;
        x_TrailData a, b;
        int flag0, flag1;
    } kCases[] = {
        {"meet within 0.001", Line(0, 0, 10, 0), Line(10.0005, 0.0005, 10, 10), 1, 1},
        {"parallel", Line(0, 0, 10, 0), Line(12, 1, 20, 1), 0, 0},
        {"crossing behind A's start", Line(0, 0, 10, 0), Line(-5, 5, -5, 8), -1, 0},
        {"B would turn back", Line(0, 0, 10, 0), Line(5, 8, 5, 5), -2, 0},
        {"A shortened, not reversed", Line(0, 0, 10, 0), Line(5, 5, 5, 8), 1, 0},
        {"A of zero length", Line(1, 1, 1, 1), Line(5, 5, 5, 8), -11, -11},
        {"B of zero length", Line(0, 0, 10, 0), Line(5, 5, 5, 5), -12, -12},
        {"concave overlap", Line(0, 0, 10, 0), Line(8, -2, 8, 8), 1, 1},
        // Directions near 0 and near 2π are the same direction.
        {"direction across zero", Line(0, 1e-12, 10, 0), Line(12, -5, 12, 5), 1, 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        for (int flag = 0; flag < 2; ++flag) {
            x_TrailData a = c.a, b = c.b;
            x_Vector p;
            const int r = JoinOffsetElements(a, b, p, flag);
            EXPECT_EQ(r, flag == 0 ? c.flag0 : c.flag1) << "flag " << flag;
            if (r == 1) {
                EXPECT_EQ(a.end, b.start);
                EXPECT_EQ(p.valid, 1);
            } else {
                EXPECT_EQ(a.end, c.a.end);
                EXPECT_EQ(b.start, c.b.start);
            }
        }
    }
    x_TrailData a = Line(0, 0, 10, 0), b = Line(10.0005, 0.0005, 10, 10);
    x_Vector p;
    JoinOffsetElements(a, b, p, 0);
    EXPECT_EQ(a.end, b.start);      // moved exactly onto B's start
    EXPECT_EQ(b.start, x_Vector(10.0005, 0.0005));
}

TEST_F(Join, LineAndArc)
{
    // Line along y = 1 into a counter-clockwise circle of radius 2 about the origin.
    x_TrailData a = Line(-5, 1, -1, 1), b = Arc(0, 0, 2, kPi, 1.5 * kPi, false);
    x_Vector p;
    EXPECT_EQ(JoinOffsetElements(a, b, p, 0), 1);
    ExpectPoint(p, -std::sqrt(3.0), 1);
    ExpectPoint(a.end, -std::sqrt(3.0), 1);
    EXPECT_NEAR(b.startAngle, 5 * kPi / 6, kExact);
    // The same joint refused when the line must turn back, unless marked 2.
    x_TrailData back = Line(-1.6, 1, -1.5, 1), arc = Arc(0, 0, 2, kPi, 1.5 * kPi, false);
    EXPECT_EQ(JoinOffsetElements(back, arc, p, 0), -1);
    back.joinMark = 2;
    EXPECT_EQ(JoinOffsetElements(back, arc, p, 0), 1);
    // A line whose ends differ by less than 0.001 is degenerate here.
    x_TrailData tiny = Line(0, 0, 0.0005, 0), c = Arc(0, 0, 2, 0, 1, false);
    EXPECT_EQ(JoinOffsetElements(tiny, c, p, 0), -11);
}

TEST_F(Join, ArcEndsMayNotJumpToTheFarSide)
{
    // Arc A: quarter from 0 to π/2; its end would have to move to 3π/2.
    x_TrailData a = Arc(0, 0, 2, 0, kPi / 2, false), b = Line(0, -5, 0.5, -5);
    b.end = x_Vector(0, 0);
    b.start = x_Vector(0, -5);
    x_Vector p;
    EXPECT_EQ(JoinOffsetElements(a, b, p, 0), -2);
    // Two arcs: B's start is set first, then A refuses.
    x_TrailData a2 = Arc(0, 0, 2, 0, kPi / 4, false), b2 = Arc(0, -3, 2, kPi, 0, true);
    const double before = b2.startAngle;
    const int r = JoinOffsetElements(a2, b2, p, 0);
    EXPECT_EQ(r, -1);
    EXPECT_NE(b2.startAngle, before);
    x_TrailData arc = Arc(0, 0, 1, 0, 0.5, false);
    EXPECT_TRUE(SetArcAngleToPoint(arc, 1, {0, 1}));
    EXPECT_NEAR(arc.endAngle, kPi / 2, kExact);
    EXPECT_FALSE(SetArcAngleToPoint(arc, 1, {0, -1}));
    EXPECT_NEAR(arc.endAngle, kPi / 2, kExact);
}
