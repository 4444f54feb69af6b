// Marks the step engine and the live preview draw between clicks, checked
// in the picture the view shows (10 pixels per mm, origin at (100, 500)).

#include "edit_fixture.h"

#include "geometry/CPolygon.h"
#include "platform/testing/control_driver.h"
#include "platform/testing/ui_harness.h"

namespace {

constexpr COLORREF kBlack = 0x000000;

int Inked(CWnd* view, RECT area)
{
    return dlgtest::CountPixels(view, area, [](COLORREF c) { return c != kBlack; });
}

// About one pixel of a world point (a line drawn through it touches it).
RECT Around(const POINT& p)
{
    return {p.x - 1, p.y - 1, p.x + 2, p.y + 2};
}

} // namespace

TEST_F(EditTest, DistanceQueryWritesTheDistanceAtTheMidpoint)
{
    drv->Start(kCmdQueryDistance);
    drv->ClickAt({0, 0});
    drv->ClickAt({20, 0});
    EXPECT_FALSE(OutputHas(u"两点距离： 20.0000 mm").empty());
    // The label's text runs right and down from the midpoint's pixel, in
    // its own green; the row of the measured line is left out.
    const POINT mid = drv->Pixel({10, 0});
    const int label = dlgtest::CountPixels(drv->view, RECT{mid.x, mid.y + 1, mid.x + 70, mid.y + 16}, [](COLORREF c) {
        return GetGValue(c) > 200 && GetRValue(c) > 0x30 && GetRValue(c) < 0x50 && GetBValue(c) < 0x20;
    });
    EXPECT_GT(label, 10);
    // The next full frame takes it away.
    drv->view->RedrawNow();
    EXPECT_EQ(Inked(drv->view, RECT{mid.x + 2, mid.y + 2, mid.x + 70, mid.y + 16}), 0);
}

TEST_F(EditTest, SnappedPointGetsAReferenceCrossOnlyWhileACommandTakesPoints)
{
    AddLine(0, 0, 10, 0);
    g_snapOn = 1;
    const x_Vector end(10, 0);
    const auto marked = [&] {
        for (int i = 0; i < g_RefPointList.GetSize(); ++i)
            if (g_RefPointList[i] == end)
                return true;
        return false;
    };
    drv->MoveTo({10.2, 0.3});
    ASSERT_TRUE(drv->view->m_snapped);
    EXPECT_FALSE(marked()) << "idle";
    drv->Start(kCmdLine);
    drv->ClickAt({0, -20});
    drv->MoveTo({10.3, 0.2});
    ASSERT_TRUE(drv->view->m_snapped);
    EXPECT_TRUE(marked());
    // Once: staying on it does not take the cross away again.
    drv->MoveTo({10.1, -0.2});
    EXPECT_TRUE(marked());
    const POINT p = drv->Pixel(end);
    EXPECT_GT(Inked(drv->view, RECT{p.x - 8, p.y - 20, p.x + 9, p.y - 11}) + Inked(drv->view, Around({p.x, p.y - 7})), 0);
}

TEST_F(EditTest, GripMoveDrawsAGuideLineFromWhereTheGripWasTaken)
{
    AddLine(0, 0, 20, 0);
    g_snapOn = 0;
    g_trackOn = 0;
    drv->ClickAt({5, 0});
    drv->ClickAt({10, 0});      // the middle grip moves the line
    ASSERT_EQ(drv->Step(), kStepGripMove);
    drv->MoveTo({10, 10});
    // Between the grip's start (10, 0) and the cursor (10, 10), away from
    // the cursor cross and the moved line.
    EXPECT_GT(Inked(drv->view, Around(drv->Pixel({10, 4}))), 0);
}

TEST_F(EditTest, TypedMirrorAxisShowsTheMirroredImagesOfAllButTexts)
{
    AddLine(0, 5, 10, 5)->selected = 1;
    CLine* imported = AddLine(20, 5, 30, 5);
    imported->role = kRoleAnnotation;
    imported->selected = 1;
    drv->Start(kCmdMirror);
    Type(u"");
    ASSERT_EQ(drv->view->m_subStep, 1);
    Type(u"0,0");
    Type(u"10,0");
    ASSERT_EQ(drv->view->m_subStep, 3);
    EXPECT_EQ(drv->Prompt(), CString(u"角度：0.0000 °"));
    EXPECT_GT(Inked(drv->view, Around(drv->Pixel({5, -5}))), 0);
    EXPECT_GT(Inked(drv->view, Around(drv->Pixel({25, -5}))), 0) << "an annotation is mirrored too";
}

TEST_F(EditTest, TypedSemiAxisOfAnEllipticArcDrawsItsImage)
{
    drv->Start(kCmdEllipseArc);
    Type(u"0,0");
    Type(u"20,0");
    Type(u"5");
    ASSERT_EQ(drv->view->m_subStep, 3);
    // The top of the ellipse about (10, 0) with semi-axes 10 and 5.
    EXPECT_GT(Inked(drv->view, Around(drv->Pixel({10, 5}))), 0);
}

TEST_F(EditTest, TypedFilletRadiusRenewsTheWorkingEntity)
{
    drv->Start(kCmdFillet);
    Type(u"2");
    ASSERT_NE(drv->view->m_pFloatUnit, nullptr);
    EXPECT_EQ(drv->view->m_pFloatUnit->GetType(), 10);
    EXPECT_EQ(drv->view->m_pFloatUnit->complete, 0);
    drv->Start(kCmdChamfer);
    EXPECT_EQ(drv->view->m_pFloatUnit, nullptr);
    Type(u"1,2");
    ASSERT_NE(drv->view->m_pFloatUnit, nullptr);
    EXPECT_EQ(drv->view->m_pFloatUnit->GetType(), 10);
    EXPECT_NEAR(g_ChamferDist2, 2.0, 1e-12);
}

// Before, a full frame in the middle of a command (a zoom, a pan) dropped
// the marked first point and the alignment line until the next click.
TEST_F(EditTest, FullFrameDuringACommandKeepsTheMarkedPoint)
{
    g_snapOn = 0;
    drv->Start(kCmdLine);
    drv->ClickAt({20, 10});
    drv->MoveTo({30, 17});
    drv->ZoomAt(1, {400, 300});
    const POINT first = drv->Pixel({20, 10});
    EXPECT_GT(Inked(drv->view, RECT{first.x - 6, first.y + 2, first.x - 2, first.y + 6}), 0);
}

TEST_F(EditTest, FullFrameDuringACommandKeepsTheAlignmentLineUntilTheNextMove)
{
    g_snapOn = 0;
    g_trackOn = 1;
    drv->Start(kCmdArc);
    drv->ClickAt({20, 10});
    drv->MoveTo({30, 10.8});            // 8 pixels off the first point's row
    ASSERT_TRUE(drv->view->m_trackShown);
    drv->ZoomAt(1, {400, 300});
    EXPECT_GT(Inked(drv->view, Around(drv->Pixel({25, 10}))), 0);
    drv->MoveTo({30, 20});
    EXPECT_FALSE(drv->view->m_trackShown);
    EXPECT_EQ(Inked(drv->view, Around(drv->Pixel({23, 10}))), 0);
}
