#include "view_fixture.h"

TEST_F(ViewTest, LinesByClicksOneUndoStepEachAndTheRubberSegmentDiscarded)
{
    drv->Start(kCmdLine);
    EXPECT_EQ(drv->Command(), kCmdLine);
    EXPECT_EQ(drv->Step(), kStepPointInput);
    drv->ClickAt({0, 0});
    drv->ClickAt({10, 0});
    drv->ClickAt({10, 5});
    drv->MoveTo({20, 8});       // the segment now in the rubber band
    drv->RightClick();
    EXPECT_EQ(drv->Command(), 0);
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 2u);
    ExpectPoint(lines[0]->GetStartPoint(), 0, 0);
    ExpectPoint(lines[0]->GetEndPoint(), 10, 0);
    ExpectPoint(lines[1]->GetStartPoint(), 10, 0);
    ExpectPoint(lines[1]->GetEndPoint(), 10, 5);
    EXPECT_EQ(g_undoCount, 2);
    ASSERT_TRUE(drv->doc->Undo());
    EXPECT_EQ(Live(1).size(), 1u);
    ASSERT_TRUE(drv->doc->Undo());
    EXPECT_EQ(Live(1).size(), 0u);
    ASSERT_TRUE(drv->doc->Redo());
    EXPECT_EQ(Live(1).size(), 1u);
}

TEST_F(ViewTest, EscDiscardsTheSegmentBeingDrawn)
{
    drv->Start(kCmdLine);
    drv->ClickAt({0, 0});
    drv->ClickAt({5, 5});
    drv->MoveTo({9, 1});
    drv->PressKey(27);
    EXPECT_EQ(drv->Command(), 0);
    EXPECT_EQ(drv->Step(), kStepIdlePick);
    ASSERT_EQ(Live(1).size(), 1u);
    EXPECT_EQ(g_undoCount, 1);
}

TEST_F(ViewTest, PolylineWithAnArcPieceSharesOneNewGroup)
{
    AddLine(-50, -50, -40, -50)->group = 7;
    drv->Start(kCmdPolyline);
    drv->ClickAt({0, 0});
    drv->ClickAt({10, 0});
    // The typed switch "a" of the command line sets the arc mode.
    drv->view->m_polyArcMode = 1;
    drv->ClickAt({20, 10});                         // end of the arc
    drv->ClickAt({16, 2});                          // a point on it: 6² + 8² = 10²
    drv->PressKey(27);
    const auto lines = Live(1);
    const auto arcs = Live(8);
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(arcs.size(), 1u);
    CUnit* piece = lines[1];
    EXPECT_EQ(piece->group, 8);
    EXPECT_EQ(piece->pieceOf, 2);
    EXPECT_EQ(arcs[0]->group, 8);
    EXPECT_EQ(arcs[0]->pieceOf, 2);
    // The arc of radius 10 about (10, 10) from (10, 0) to (20, 10).
    ExpectPoint(GetArcCentre(*arcs[0]), 10, 10, 1e-3);
    EXPECT_NEAR(arcs[0]->geometry.arc.radius, 10.0, 1e-3);
    ExpectPoint(arcs[0]->GetStartPoint(), 10, 0, 1e-3);
    ExpectPoint(arcs[0]->GetEndPoint(), 20, 10, 1e-3);
    EXPECT_EQ(g_undoCount, 3);     // the fixture line, the line piece, the arc piece
}

TEST_F(ViewTest, ParallelLineGoesToTheClickedSideAtTheClickedDistance)
{
    AddLine(0, 0, 20, 0);
    g_CommandModes.mode[0] = 3;     // "双边平行线"
    drv->Start(kCmdLine);
    drv->ClickAt({10, 0});
    drv->ClickAt({5, -3});
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 3u);
    ExpectPoint(lines[1]->GetStartPoint(), 0, -3);
    ExpectPoint(lines[1]->GetEndPoint(), 20, -3);
    ExpectPoint(lines[2]->GetStartPoint(), 0, 3);
    ExpectPoint(lines[2]->GetEndPoint(), 20, 3);
    EXPECT_EQ(drv->Command(), 0);
}

TEST_F(ViewTest, ParallelLineRefusesAnythingButALine)
{
    ++g_UnitIdCounter;
    CCir* circle = NewCircle({0, 0}, 5);
    drv->doc->AppendUnit(circle);
    g_CommandModes.mode[0] = 2;
    drv->Start(kCmdLine);
    drv->ClickAt({5, 0});
    EXPECT_EQ(drv->Output().back(), CString(u"#只支持直线平行线"));
}

TEST_F(ViewTest, TypedShortCommandThenClicks)
{
    drv->Type(CString(u"l"));
    EXPECT_EQ(drv->Command(), kCmdLine);
    drv->ClickAt({0, 0});
    drv->ClickAt({3, 4});
    drv->PressKey(27);
    ASSERT_EQ(Live(1).size(), 1u);
    EXPECT_NEAR(Live(1)[0]->GetLength(), 5.0, 1e-9);
}

// Before, each placed segment counted two sub-steps: after two points the
// prompt offered "闭合(C)" and then refused "c".
TEST_F(ViewTest, CloseIsOfferedFromTheThirdPointOnAndThenCloses)
{
    const struct { const char* name; int command; } kCases[] = {
        {"line", kCmdLine},
        {"polyline", kCmdPolyline},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        drv->Start(c.command);
        drv->ClickAt({0, 0});
        drv->ClickAt({10, 0});
        EXPECT_LT(drv->Output().back().Find(u"闭合(C)"), 0) << drv->Output().back().ToUtf8();
        drv->ClickAt({10, 10});
        EXPECT_GE(drv->Output().back().Find(u"闭合(C)"), 0) << drv->Output().back().ToUtf8();
        g_keyDownSeen = 0;      // the frame clears the latch as the key comes up
        drv->Type(CString(u"c"));
        EXPECT_EQ(drv->Command(), 0);
        const auto lines = Live(1);
        ASSERT_EQ(lines.size(), 3u);
        ExpectPoint(lines[2]->GetStartPoint(), 10, 10);
        ExpectPoint(lines[2]->GetEndPoint(), 0, 0);
        for (CUnit* u : lines)
            u->deleted = 1;
    }
}
