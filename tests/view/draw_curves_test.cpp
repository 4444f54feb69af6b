#include "view_fixture.h"

#include "geometry/CEllipse.h"

TEST_F(ViewTest, EllipseFromAxisEndsAndAMinorPoint)
{
    drv->Start(kCmdEllipse);
    drv->ClickAt({-10, 0});
    drv->ClickAt({10, 0});
    drv->ClickAt({0, 5});
    EXPECT_EQ(drv->Command(), 0);
    const auto ellipses = Live(5);
    ASSERT_EQ(ellipses.size(), 1u);
    const EllipseRecord& e = ellipses[0]->geometry.ellipse;
    ExpectPoint(e.centre, 0, 0);
    EXPECT_NEAR(e.majorAxis.Length(), 10.0, 1e-9);
    EXPECT_NEAR(e.axisRatio, 0.5, 1e-9);
    EXPECT_EQ(g_undoCount, 1);
}

TEST_F(ViewTest, DegenerateEllipseClicksAreRefused)
{
    drv->Start(kCmdEllipse);
    drv->ClickAt({3, 3});
    drv->ClickAt({3, 3});               // both axis ends on one point
    EXPECT_EQ(drv->Output().back(), CString(u"#输入有误"));
    EXPECT_EQ(drv->PointCount(), 1);
    drv->ClickAt({13, 3});
    drv->ClickAt({8, 3});               // the minor-axis point on the centre
    EXPECT_EQ(drv->Output().back(), CString(u"#输入有误"));
    EXPECT_EQ(drv->PointCount(), 2);
    EXPECT_TRUE(Live(5).empty());
    drv->ClickAt({8, 5});
    EXPECT_EQ(Live(5).size(), 1u);
}

TEST_F(ViewTest, OpenSplineEndsWithTheRightButtonAtTheCursor)
{
    g_CommandModes.mode[8] = 0;
    drv->Start(kCmdSpline);
    drv->ClickAt({0, 0});
    drv->ClickAt({10, 5});
    drv->ClickAt({20, 0});
    drv->MoveTo({30, 5});
    drv->RightClick();
    EXPECT_EQ(drv->Command(), 0);
    const auto splines = Live(11);
    ASSERT_EQ(splines.size(), 1u);
    ASSERT_EQ(splines[0]->nodes.GetSize(), 4);
    ExpectPoint(splines[0]->nodes[3], 30, 5);
    EXPECT_EQ(g_undoCount, 1);
}

TEST_F(ViewTest, WaveLineBetweenTwoClicks)
{
    g_WavePeak = 10.0;
    drv->Start(kCmdWaveLine);
    drv->ClickAt({0, 0});
    drv->ClickAt({40, 0});
    EXPECT_EQ(drv->Command(), 0);
    const auto waves = Live(11);
    ASSERT_EQ(waves.size(), 1u);
    // Peaks at a quarter and three quarters, left then right of the chord.
    const x_Vector want[5] = {{0, 0}, {10, 10}, {20, 0}, {30, -10}, {40, 0}};
    ASSERT_EQ(waves[0]->nodes.GetSize(), 5);
    for (int i = 0; i < 5; ++i)
        ExpectPoint(waves[0]->nodes[i], want[i].x, want[i].y, 1e-9);
}

TEST_F(ViewTest, GripMoveOfALineIsOneMoveStep)
{
    CLine* line = AddLine(0, 0, 10, 0);
    const int steps = g_undoCount;
    drv->ClickAt({5, 0});                // select
    ASSERT_TRUE(line->selected);
    drv->ClickAt({5, 0});                // the middle grip starts a move
    ASSERT_EQ(drv->Step(), kStepGripMove);
    drv->ClickAt({5, 3});
    EXPECT_EQ(drv->Step(), kStepIdlePick);
    ExpectPoint(line->GetStartPoint(), 0, 3);
    ExpectPoint(line->GetEndPoint(), 10, 3);
    EXPECT_EQ(g_undoCount, steps + 1);
    ASSERT_TRUE(drv->doc->Undo());
    ExpectPoint(line->GetStartPoint(), 0, 0);
}
