#include "view_fixture.h"

#include "geometry/View3D.h"
#include "geometry/view_transform.h"
#include "platform/testing/ui_harness.h"

TEST_F(ViewTest, ZoomAtAPixelKeepsItsWorldPoint)
{
    // Worked by hand: scale 10, origin (100, 500), cursor (300, 300) at
    // world (20, 20); in: scale 14, origin (20, 580); out: scale 8.4,
    // origin (132, 468).
    drv->ZoomAt(0, {300, 300});
    EXPECT_NEAR(g_ViewScale, 14.0, 1e-12);
    EXPECT_EQ(g_ViewOriginX, 20);
    EXPECT_EQ(g_ViewOriginY, 580);
    ExpectPoint(ScreenToWorld(300, 300), 20, 20);
    drv->ZoomAt(1, {300, 300});
    EXPECT_NEAR(g_ViewScale, 8.4, 1e-12);
    EXPECT_EQ(g_ViewOriginX, 132);
    EXPECT_EQ(g_ViewOriginY, 468);
    ExpectPoint(ScreenToWorld(300, 300), 20, 20);
}

TEST_F(ViewTest, ZoomStaysWithinItsLimits)
{
    const struct {
        const char* name;
        double scale;
        int direction;
        double after;
    } kCases[] = {
        {"out at the floor is refused", 0.01, 1, 0.01},
        {"in at the ceiling is refused", 2000, 0, 2000},
        // 0.0072 after the step; the rescale's render raises it to 0.01.
        {"one step may pass the floor", 0.012, 1, 0.01},
        {"one step may pass the ceiling", 1999, 0, 1999 * 1.4},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        drv->SetView(c.scale, 100, 500);
        drv->ZoomAt(c.direction, {300, 300});
        EXPECT_NEAR(g_ViewScale, c.after, 1e-9);
        if (c.direction == 1 ? c.scale <= 0.01 : c.scale >= 2000) {
            EXPECT_EQ(g_ViewOriginX, 100);
            EXPECT_EQ(g_ViewOriginY, 500);
        }
    }
}

TEST_F(ViewTest, MiddleDragPansByTheCursorMovement)
{
    drv->MiddleDrag({400, 300}, {450, 280});
    EXPECT_EQ(g_ViewOriginX, 150);
    EXPECT_EQ(g_ViewOriginY, 480);
    EXPECT_NEAR(g_ViewScale, 10.0, 1e-12);
    EXPECT_FALSE(drv->view->m_panning);
}

TEST_F(ViewTest, WindowAndCrossingSelection)
{
    CLine* a = AddLine(0, 0, 10, 0);
    CLine* b = AddLine(0, 5, 30, 5);
    // Left to right: only what lies wholly inside.
    drv->DragWindow({-1, -1}, {12, 7});
    EXPECT_TRUE(a->selected);
    EXPECT_FALSE(b->selected);
    drv->Start(0);
    EXPECT_FALSE(a->selected);
    // Right to left: the diagonal from the press crosses both lines.
    drv->DragWindow({12, 7}, {5, -1});
    EXPECT_TRUE(a->selected);
    EXPECT_TRUE(b->selected);
    drv->Start(0);
    // Left to right around half of a line selects nothing.
    drv->DragWindow({-1, 4}, {15, 6});
    EXPECT_FALSE(b->selected);
}

TEST_F(ViewTest, WindowSelectsAWholeCompoundShape)
{
    CLine* edges[4] = {AddLine(0, 0, 4, 0), AddLine(4, 0, 4, 3), AddLine(4, 3, 0, 3), AddLine(0, 3, 0, 0)};
    for (CLine* e : edges) {
        e->group = 3;
        e->pieceOf = 1;
    }
    drv->DragWindow({-1, -1}, {5, 1});     // holds the bottom edge only
    for (CLine* e : edges)
        EXPECT_TRUE(e->selected);
}

TEST_F(ViewTest, IdlePickingOffersPathsBeforeGeometry)
{
    CLine* line = AddLine(0, 0, 10, 0);
    CLine* path = AddLine(0, 0, 10, 0);
    path->role = kRolePath;
    drv->ClickAt({5, 0});
    EXPECT_TRUE(path->selected);
    EXPECT_FALSE(line->selected);
    // A second click on the selected path goes to the unselected line.
    drv->ClickAt({5, 0});
    EXPECT_TRUE(line->selected);
}

TEST_F(ViewTest, RightClickAtRestRepeatsTheLastCommandAfterDroppingASelection)
{
    drv->Start(kCmdLine);
    drv->ClickAt({0, 0});
    drv->ClickAt({5, 0});
    drv->PressKey(27);
    CUnit* line = Live(1).at(0);
    line->selected = 1;
    drv->RightClick();
    EXPECT_FALSE(line->selected);
    EXPECT_EQ(drv->Command(), 0);
    drv->RightClick();
    EXPECT_EQ(drv->Command(), 0);
    drv->RightClick();
    EXPECT_EQ(drv->Command(), kCmdLine);
}

TEST_F(ViewTest, DragsRotateThePathView3D)
{
    drv->view->ArmPendingAction(kActionPathView3D, 1);
    drv->Settle();
    ASSERT_EQ(drv->Command(), kCmdPathView3D);
    const View3D before = g_View3D;
    constexpr double kDegree = kPi / 180.0;
    // Left drag upwards and to the left: tilt and turn by -4° each.
    harness::MouseDown(drv->view, CPoint(300, 300));
    harness::MouseMove(drv->view, CPoint(290, 250), MK_LBUTTON);
    drv->Settle();
    harness::MouseUp(drv->view, CPoint(290, 250));
    drv->Settle();
    EXPECT_NEAR(g_View3D.tilt, before.tilt - 4 * kDegree, 1e-12);
    EXPECT_NEAR(g_View3D.turn, before.turn - 4 * kDegree, 1e-12);
    EXPECT_NEAR(g_View3D.spin, before.spin, 1e-12);
    // A press never reaches the step engine in this view.
    EXPECT_EQ(drv->Command(), kCmdPathView3D);
}

TEST_F(ViewTest, CtrlClickTogglesAWholeCompoundShape)
{
    CLine* edges[4] = {AddLine(0, 0, 4, 0), AddLine(4, 0, 4, 3), AddLine(4, 3, 0, 3), AddLine(0, 3, 0, 0)};
    for (CLine* e : edges) {
        e->group = 2;
        e->pieceOf = 1;
    }
    CLine* free = AddLine(0, 10, 5, 10);
    g_ctrlDown = 1;
    drv->ClickAt({2, 0});
    for (CLine* e : edges)
        EXPECT_TRUE(e->selected);
    drv->ClickAt({2, 10});
    EXPECT_TRUE(free->selected);
    drv->ClickAt({4, 1});
    for (CLine* e : edges)
        EXPECT_FALSE(e->selected);
    EXPECT_TRUE(free->selected);
    g_ctrlDown = 0;
}

TEST_F(ViewTest, RightClickInMoveAdvancesOnlyWithASelection)
{
    CLine* line = AddLine(0, 0, 10, 0);
    drv->Start(kCmdMove);
    drv->RightClick();
    EXPECT_EQ(drv->Command(), 0);
    line->selected = 1;
    drv->Start(kCmdMove);
    EXPECT_TRUE(line->selected);           // the selection survives the start
    drv->RightClick();
    EXPECT_EQ(drv->Command(), kCmdMove);
    EXPECT_EQ(drv->view->m_subStep, 1);
}
