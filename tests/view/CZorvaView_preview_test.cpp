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

// Where an arc's end meets the first segment of a contour both offer a snap
// (the arc a tangent point from the segment's start, the segment its end).
// Before, the press previewed again with the scan turned round and stored
// the other candidate: a contour that looked closed stayed open.
TEST_F(ViewTest, ClickStoresTheSnapPointTheMarkerShows)
{
    CArc* arc = NewArc({20, 10}, 10, 0, kPi / 2, 0);
    arc->complete = 1;
    drv->doc->AppendUnit(arc);
    drv->doc->CommitUndoStep(0);
    drv->SetView(20.0, 100, 500);
    g_snapOn = 1;
    g_trackOn = 1;
    const POINT end = drv->Pixel({30, 10});
    int checked = 0;
    for (int dx : {-6, -3, 0, 3}) {
        for (int dy : {-6, -3}) {
            SCOPED_TRACE(testing::Message() << "offset " << dx << ", " << dy);
            drv->Start(kCmdLine);
            drv->ClickAt({30, 10});
            drv->ClickAt({40, -10});
            drv->ClickAt({30.6, -10});
            const POINT at{end.x + dx, end.y + dy};
            drv->MoveToPixel({at.x + 5, at.y + 4});
            drv->MoveToPixel(at);
            if (!drv->view->m_snapped)
                continue;
            const x_Vector shown = drv->view->m_snapPoint;
            harness::MouseDown(drv->view, CPoint(at.x, at.y));
            harness::MouseUp(drv->view, CPoint(at.x, at.y));
            drv->Settle();
            drv->PressKey(27);
            const auto lines = Live(1);
            ASSERT_FALSE(lines.empty());
            ExpectPoint(lines.back()->GetEndPoint(), shown.x, shown.y);
            for (CUnit* u : lines)
                u->deleted = 1;
            ++checked;
        }
    }
    EXPECT_GE(checked, 6);
}

TEST_F(ViewTest, WithOrthoASnapOffTheHeldLineIsDropped)
{
    AddLine(10, 0.5, 10, 8);
    AddLine(20, 0, 20, 8);
    g_snapOn = 1;
    g_orthoOn = 1;
    const struct {
        const char* name;
        x_Vector click, placed;
        bool snapped;
    } kCases[] = {
        {"end 0.5 above the held line", {10.3, 0.3}, {10.3, 0}, false},
        {"end on the held line", {20.3, 0.3}, {20, 0}, true},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        drv->Start(kCmdLine);
        drv->ClickAt({0, 0});
        drv->MoveTo(c.click);
        EXPECT_EQ(drv->view->m_snapped != 0, c.snapped);
        drv->ClickAt(c.click);
        drv->PressKey(27);
        const auto lines = Live(1);
        ASSERT_EQ(lines.size(), 3u);
        ExpectPoint(lines.back()->GetEndPoint(), c.placed.x, c.placed.y);
        lines.back()->deleted = 1;
    }
}

// A line from an arc's end to the end of a line 0.3 mm to its side: the
// second end lies within the alignment catch of the first point. Before, the
// alignment took x from the first point and the contour stayed open.
TEST_F(ViewTest, SnappedEndIsNotMovedByAlignmentTracking)
{
    CArc* arc = NewArc({20, 10}, 10, 0, kPi / 2, 0);
    arc->complete = 1;
    drv->doc->AppendUnit(arc);
    drv->doc->CommitUndoStep(0);
    AddLine(30.3, -10, 50, -10);
    g_snapOn = 1;
    g_trackOn = 1;
    drv->Start(kCmdLine);
    drv->ClickAt({30.2, 10.1});
    drv->MoveTo({30.5, -9.8});
    ASSERT_TRUE(drv->view->m_snapped);
    drv->ClickAt({30.5, -9.8});
    drv->PressKey(27);
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1]->GetStartPoint(), x_Vector(30, 10));
    EXPECT_EQ(lines[1]->GetEndPoint(), x_Vector(30.3, -10));
}
