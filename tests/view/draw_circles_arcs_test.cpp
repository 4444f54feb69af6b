#include "view_fixture.h"

TEST_F(ViewTest, CircleInEachModeIsOneUndoStep)
{
    const struct {
        const char* name;
        int mode;
        std::vector<x_Vector> clicks;
        double cx, cy, r;
    } kCases[] = {
        {"centre and radius", 0, {{0, 0}, {3, 4}}, 0, 0, 5},
        {"two points of a diameter", 1, {{0, 0}, {10, 0}}, 5, 0, 5},
        {"three points", 2, {{0, 0}, {10, 0}, {5, 5}}, 5, 0, 5},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        g_CommandModes.mode[4] = static_cast<std::uint8_t>(c.mode);
        const int before = g_undoCount;
        drv->Start(kCmdCircle);
        for (const x_Vector& p : c.clicks)
            drv->ClickAt(p);
        EXPECT_EQ(drv->Command(), 0);
        const auto circles = Live(7);
        ASSERT_EQ(circles.size(), 1u);
        ExpectPoint(GetCircleCentre(*circles[0]), c.cx, c.cy, 1e-9);
        EXPECT_NEAR(circles[0]->geometry.circle.radius, c.r, 1e-9);
        EXPECT_EQ(g_undoCount, before + 1);
        ASSERT_TRUE(drv->doc->Undo());
        EXPECT_TRUE(Live(7).empty());
    }
}

TEST_F(ViewTest, ArcThroughThreeClicks)
{
    g_CommandModes.mode[5] = 0;
    drv->Start(kCmdArc);
    drv->ClickAt({10, 0});
    drv->ClickAt({0, 10});
    drv->ClickAt({-10, 0});
    EXPECT_EQ(drv->Command(), 0);
    const auto arcs = Live(8);
    ASSERT_EQ(arcs.size(), 1u);
    ExpectPoint(GetArcCentre(*arcs[0]), 0, 0, 1e-9);
    EXPECT_NEAR(arcs[0]->geometry.arc.radius, 10, 1e-9);
    ExpectPoint(arcs[0]->GetStartPoint(), 10, 0, 1e-9);
    ExpectPoint(arcs[0]->GetEndPoint(), -10, 0, 1e-9);
    EXPECT_NEAR(arcs[0]->GetMidPoint().y, 10, 1e-9);   // through the second click
    EXPECT_EQ(g_undoCount, 1);
}

TEST_F(ViewTest, ToolPointTakesTwoClicksAndReportsDone)
{
    drv->Start(kCmdToolPoint);
    drv->ClickAt({1, 2});
    drv->ClickAt({3, 4});
    const auto tools = Live(24);
    ASSERT_EQ(tools.size(), 1u);
    EXPECT_EQ(tools[0]->role, kRoleCutPoint);
    ExpectPoint(tools[0]->inputPoints[0], 1, 2);
    ExpectPoint(tools[0]->inputPoints[1], 3, 4);
    EXPECT_EQ(drv->Command(), 0);
}
