#include "cmdline_typing.h"

#include <cmath>

TEST_F(CmdlineTest, PolylineArcRadiusByTheChordRule)
{
    Type(u"pl");
    Type(u"0,0");
    Type(u"a");
    Type(u"4,0");
    Type(u"1");
    EXPECT_EQ(LastLine(), CString(u"#半径设置过小，最小值 > 2.000"));
    EXPECT_TRUE(Live(8).empty());
    Type(u"5");
    const auto arcs = Live(8);
    ASSERT_EQ(arcs.size(), 1u);
    const ArcRecord& a = arcs[0]->geometry.arc;
    EXPECT_NEAR(a.radius, 5, kTol);
    // Horizontal chord: candidate 1 has the larger y, at √(25 − 4) = √21.
    ExpectPoint(a.centre, 2, std::sqrt(21.0));
    EXPECT_EQ(arcs[0]->pieceOf, 2);
    EXPECT_EQ(drv->Command(), kCmdPolyline);
}

TEST_F(CmdlineTest, VerticalChordCentresFourEitherSide)
{
    const struct {
        const char16_t* radius;
        double cx;
    } kCases[] = {{u"5", 4}, {u"-5", -4}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(CString(c.radius).ToUtf8());
        Type(u"pl");
        Type(u"0,0");
        Type(u"a");
        Type(u"0,6");
        Type(c.radius);
        const auto arcs = Live(8);
        ASSERT_EQ(arcs.size(), 1u);
        ExpectPoint(arcs[0]->geometry.arc.centre, c.cx, 3);
        Key(27);
        for (CUnit* u : drv->LiveEntities())
            u->deleted = 1;
    }
}

// Equal chord points have no perpendicular bisector.
TEST_F(CmdlineTest, ChordWithEqualPointsRefused)
{
    Type(u"pl");
    Type(u"0,0");
    Type(u"a");
    Type(u"0,0");
    Type(u"5");
    EXPECT_TRUE(Printed(u"#输入有误"));
    EXPECT_TRUE(Live(8).empty());
    EXPECT_EQ(drv->Command(), kCmdPolyline);
}

TEST_F(CmdlineTest, PolygonSideCountClampedAndBounded)
{
    const struct {
        const char16_t* name;
        const char16_t* text;
        int sides;
    } kCases[] = {
        {u"eight", u"8", 8},
        {u"two raised to three", u"2", 3},
        {u"fraction keeps the count", u"8.5", 6},
        {u"negative raised to three", u"-5", 3},
        {u"beyond any int refused", u"99999999999", 6},
        {u"above the limit refused", u"1001", 6},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(CString(c.name).ToUtf8());
        g_PolygonSides = 6;
        Type(u"pol");
        Type(c.text);
        EXPECT_EQ(g_PolygonSides, c.sides);
        Key(27);
    }
    Type(u"pol");
    Type(u"1001");
    EXPECT_TRUE(Printed(u"#输入有误"));
    EXPECT_EQ(drv->view->m_subStep, 0);
}

TEST_F(CmdlineTest, WavePeakTakesIntegersOnly)
{
    g_WavePeak = 10;
    Type(u"as");
    Type(u"3");
    EXPECT_DOUBLE_EQ(g_WavePeak, 3);
    Key(27);
    Type(u"as");
    Type(u"2.5");
    EXPECT_DOUBLE_EQ(g_WavePeak, 3);
}

TEST_F(CmdlineTest, LineByDistanceAndPolarInput)
{
    Type(u"l");
    Type(u"0,0");
    Type(u"@90,10");
    Type(u"@0,5");
    Key(27);
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 2u);
    ExpectPoint(lines[0]->GetEndPoint(), 0, 10, 1e-9);
    ExpectPoint(lines[1]->GetEndPoint(), 5, 10, 1e-9);
}

TEST_F(CmdlineTest, BackOnePointTakesBackTheLastSegment)
{
    AddLine(50, 50, 60, 50);                    // an earlier edit stays
    Type(u"l");
    Type(u"0,0");
    Type(u"u");                                 // no segment yet
    EXPECT_EQ(Live(1).size(), 1u);
    EXPECT_EQ(drv->PointCount(), 0);
    Type(u"0,0");
    Type(u"10,0");
    Type(u"10,10");
    EXPECT_EQ(Live(1).size(), 3u);
    Type(u"u");
    EXPECT_EQ(Live(1).size(), 2u);
    Type(u"0,10");
    Key(27);
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 3u);
    ExpectPoint(lines[2]->GetStartPoint(), 10, 0);
    ExpectPoint(lines[2]->GetEndPoint(), 0, 10);
}

TEST_F(CmdlineTest, TypedRectangleRefusesZeroWidthAndUndoesAsOneGroup)
{
    Type(u"rl");
    Type(u"0,0");
    Type(u"0,10");
    EXPECT_EQ(LastLine(), CString(u"*长度或宽度必须大于 0"));
    EXPECT_TRUE(Live(1).empty());
    Type(u"20,10");
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 4u);
    for (CUnit* u : lines) {
        EXPECT_EQ(u->group, lines[0]->group);
        EXPECT_EQ(u->pieceOf, 1);
    }
    EXPECT_NE(lines[0]->group, 0);
    // The cursor lies on the first corner: both offsets count as positive.
    ExpectPoint(lines[1]->GetEndPoint(), 20, 10);
    Key(4003);
    EXPECT_TRUE(Live(1).empty());
}

TEST_F(CmdlineTest, TypedRectangleFollowsTheCursorQuadrant)
{
    Type(u"rl");
    Type(u"50,50");
    drv->MoveTo({40, 45});
    Type(u"20,-10");
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 4u);
    ExpectPoint(lines[1]->GetEndPoint(), 30, 40);
}

TEST_F(CmdlineTest, TypedPolygonBySideCountAndPoints)
{
    Type(u"pol");
    Type(u"4");
    Type(u"0,0");
    Type(u"10,0");
    EXPECT_EQ(drv->Command(), 0);
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 4u);
    for (CUnit* u : lines)
        EXPECT_NEAR(x_Vector::Distance(u->GetStartPoint(), u->GetEndPoint()), 10 * std::sqrt(2.0), 1e-6);
}

// A cursor on the reference point gives no direction: direction 0 is taken
// instead of a division by zero.
TEST_F(CmdlineTest, DistanceWithTheCursorOnTheReferencePointGoesAlongX)
{
    Type(u"pl");
    Type(u"0,0");
    Type(u"a");
    Type(u"6");                 // the cursor still lies on (0, 0)
    Type(u"5");
    const auto arcs = Live(8);
    ASSERT_EQ(arcs.size(), 1u);
    ExpectPoint(arcs[0]->geometry.arc.centre, 3, 4);
}

TEST_F(CmdlineTest, TypedEllipseBySemiAxis)
{
    Type(u"el");
    Type(u"0,0");
    Type(u"10,0");
    Type(u"3");
    EXPECT_EQ(drv->Command(), 0);
    const auto ellipses = Live(5);
    ASSERT_EQ(ellipses.size(), 1u);
    const EllipseRecord& e = ellipses[0]->geometry.ellipse;
    ExpectPoint(e.centre, 5, 0);
    EXPECT_NEAR(std::hypot(e.majorAxis.x, e.majorAxis.y), 5, kTol);
    EXPECT_NEAR(e.axisRatio, 0.6, kTol);
}

// Coincident axis points leave no major semi-axis to divide by: no ellipse.
TEST_F(CmdlineTest, EllipseWithCoincidentAxisPointsRefused)
{
    Type(u"el");
    Type(u"2,2");
    Type(u"2,2");
    Type(u"3");
    EXPECT_TRUE(Live(5).empty());
    EXPECT_EQ(drv->Command(), kCmdEllipse);
}

TEST_F(CmdlineTest, TypedSplineEndsOpenOnAnEmptyLine)
{
    Type(u"spl");
    Type(u"0,0");
    Type(u"5");                 // a spline takes points only
    EXPECT_TRUE(Printed(u"#输入有误"));
    Type(u"5,5");
    Type(u"10,0");
    Type(u"");
    EXPECT_EQ(drv->Command(), 0);
    const auto splines = Live(11);
    ASSERT_EQ(splines.size(), 1u);
    EXPECT_EQ(splines[0]->geometry.spline.closed, 0);
}

TEST_F(CmdlineTest, TypedArcByTwoPointsAndARadius)
{
    Type(u"a");
    drv->SelectMode(1);
    Type(u"0,0");
    EXPECT_TRUE(StartsWith(LastLine(), u"圆弧(A)->第二个点 (x,y) 或 长度(L) 【放弃(U)】"));
    Type(u"6,0");
    EXPECT_TRUE(StartsWith(LastLine(), u"圆弧(A)->半径 (+/-r)【放弃(U)】"));
    Type(u"-5");
    EXPECT_EQ(drv->Command(), 0);
    const auto arcs = Live(8);
    ASSERT_EQ(arcs.size(), 1u);
    ExpectPoint(arcs[0]->geometry.arc.centre, 3, -4);
    EXPECT_NEAR(arcs[0]->geometry.arc.radius, 5, kTol);
}
