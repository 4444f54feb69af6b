#include "view_fixture.h"

TEST_F(ViewTest, RectangleLeavesFourLinesOfOneNewGroup)
{
    AddLine(50, 50, 60, 50)->group = 4;
    drv->Start(kCmdRectangle);
    drv->ClickAt({0, 0});
    drv->ClickAt({20, 10});
    EXPECT_EQ(drv->Command(), 0);
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 5u);
    const x_Vector want[4][2] = {{{0, 0}, {20, 0}}, {{20, 0}, {20, 10}}, {{20, 10}, {0, 10}}, {{0, 10}, {0, 0}}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        ExpectPoint(lines[i + 1]->GetStartPoint(), want[i][0].x, want[i][0].y);
        ExpectPoint(lines[i + 1]->GetEndPoint(), want[i][1].x, want[i][1].y);
        EXPECT_EQ(lines[i + 1]->group, 5);
        EXPECT_EQ(lines[i + 1]->pieceOf, 1);
    }
    for (CUnit* u : drv->doc->m_unitList)
        EXPECT_NE(u->GetType(), 0) << "no rectangle entity stays in the drawing";
    ASSERT_TRUE(drv->doc->Undo());
    EXPECT_EQ(Live(1).size(), 1u);
}

TEST_F(ViewTest, PolygonLeavesOneLinePerSide)
{
    g_PolygonSides = 4;
    g_CommandModes.mode[7] = 0;     // centre, then a vertex
    drv->Start(kCmdPolygon);
    drv->ClickAt({0, 0});
    drv->ClickAt({10, 0});
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 4u);
    const x_Vector corners[5] = {{10, 0}, {0, 10}, {-10, 0}, {0, -10}, {10, 0}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        ExpectPoint(lines[i]->GetStartPoint(), corners[i].x, corners[i].y, 1e-9);
        ExpectPoint(lines[i]->GetEndPoint(), corners[i + 1].x, corners[i + 1].y, 1e-9);
        EXPECT_EQ(lines[i]->group, 1);
        EXPECT_EQ(lines[i]->pieceOf, 1);
    }
    EXPECT_TRUE(Live(10).empty());
    EXPECT_EQ(g_undoCount, 1);
}
