#include "view_fixture.h"

#include "platform/testing/ui_harness.h"

TEST_F(ViewTest, SnapPlacesTheEndOnTheNearbyEndPoint)
{
    AddLine(0, 0, 10, 0);
    g_snapOn = 1;
    drv->Start(kCmdLine);
    drv->ClickAt({0, 6});
    drv->ClickAt({10.3, 0.2});       // 3 and 2 pixels from the end (10, 0)
    drv->PressKey(27);
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 2u);
    ExpectPoint(lines[1]->GetEndPoint(), 10, 0);
}

TEST_F(ViewTest, OrthoAndTrackingAlignWithTheFirstPoint)
{
    const struct {
        const char* name;
        int ortho, track;
        x_Vector click, placed;
    } kCases[] = {
        {"ortho, mostly horizontal", 1, 0, {10, 2}, {10, 0}},
        {"ortho, mostly vertical", 1, 0, {2, 10}, {0, 10}},
        {"tracking within 15 pixels", 0, 1, {10, 1.4}, {10, 0}},
        {"tracking at 15 pixels", 0, 1, {10, 1.5}, {10, 1.5}},
        {"tracking near the vertical", 0, 1, {-1.2, 10}, {0, 10}},
        {"neither", 0, 0, {10, 1.4}, {10, 1.4}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        g_orthoOn = c.ortho;
        g_trackOn = c.track;
        drv->Start(kCmdLine);
        drv->ClickAt({0, 0});
        drv->ClickAt(c.click);
        drv->PressKey(27);
        const auto lines = Live(1);
        ASSERT_FALSE(lines.empty());
        ExpectPoint(lines.back()->GetEndPoint(), c.placed.x, c.placed.y);
        lines.back()->deleted = 1;
    }
}

TEST_F(ViewTest, CoalescedMovesPreviewTheLatestPixel)
{
    drv->Start(kCmdLine);
    drv->ClickAt({0, 0});
    // Two moves before the timer runs: the preview sees the second.
    harness::MouseMove(drv->view, CPoint(200, 400));
    harness::MouseMove(drv->view, CPoint(250, 420));
    drv->Settle();
    ExpectPoint(drv->view->m_cursorPoint, 15, 8);
    // The line's own readout: length 17 and 28.0725° for (15, 8).
    EXPECT_NE(drv->Prompt().ToUtf8().find("17.0000mm"), std::string::npos);
    EXPECT_NE(drv->Prompt().ToUtf8().find("28.0725°"), std::string::npos);
}

TEST_F(ViewTest, APressAwayFromThePreviewedPixelPreviewsItFirst)
{
    g_CommandModes.mode[4] = 0;
    drv->Start(kCmdCircle);
    drv->ClickAt({0, 0});
    drv->MoveTo({1, 0});
    // The press comes without a move to its pixel (the queued preview has
    // not run): the circle must still take the pressed point's radius.
    harness::MouseDown(drv->view, CPoint(130, 460));
    harness::MouseUp(drv->view, CPoint(130, 460));
    drv->Settle();
    const auto circles = Live(7);
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_NEAR(circles[0]->geometry.circle.radius, 5.0, 1e-9);
}

TEST_F(ViewTest, CursorCoordinatesFollowTheMouse)
{
    drv->MoveTo({12.5, -3});
    EXPECT_EQ(drv->Coordinates(), CString(u"坐标：12.5000 , -3.0000 "));
}

TEST_F(ViewTest, ScalePreviewFactorIsPixelDistanceOverAHundred)
{
    CLine* line = AddLine(0, 0, 10, 0);
    line->selected = 1;
    drv->Start(kCmdScale);
    drv->view->m_subStep = 2;          // selection and base point taken
    drv->view->m_basePoint = x_Vector(0, 0);
    drv->MoveTo({10, 0});              // 100 pixels from the base point
    EXPECT_NEAR(drv->view->m_scaleFactor.x, 1.0, 1e-12);
    EXPECT_EQ(drv->Prompt(), CString(u"倍数：1.0000(X)"));
    drv->MoveTo({5, 0});
    EXPECT_NEAR(drv->view->m_scaleFactor.x, 0.5, 1e-12);
    // The preview works on the working copy only.
    ExpectPoint(line->geometry.line.p2, 10, 0);
    ExpectPoint(line->workGeometry.line.p2, 5, 0);
}

TEST_F(ViewTest, ScaleByClickOnTheBasePointIsRefused)
{
    CLine* line = AddLine(0, 0, 10, 0);
    line->selected = 1;
    drv->Start(kCmdScale);
    drv->view->m_subStep = 1;
    drv->ClickAt({3, 3});              // the base point
    drv->ClickAt({3, 3});              // the factor point on it: factor 0
    EXPECT_EQ(drv->Output().back(), CString(u"输入比例必须大于0"));
    EXPECT_FALSE(line->deleted);
    ExpectPoint(line->geometry.line.p2, 10, 0);
}
