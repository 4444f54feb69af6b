#include "cmdline_typing.h"

#include <algorithm>

#include "geometry/CEllipse.h"
#include "platform/testing/control_driver.h"

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

// The five nodes of a closed spline, in clicking order.
const x_Vector kLoop[5] = {{0, 0}, {15, -6}, {25, 5}, {12, 16}, {-6, 9}};

// A closed interpolating cubic runs through every node and leaves its first
// node in the direction it arrives there; a spline left open and closed by
// a straight chord would turn there by 0.6 rad (from -56 to -22 degrees).
constexpr double kSmoothClose = 0.2;    // rad, a few sampling steps of turn

void ExpectClosedThroughLoop(const CUnit* spline)
{
    EXPECT_EQ(spline->geometry.spline.closed, 1);
    ASSERT_EQ(spline->nodes.GetSize(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(spline->nodes[i].x, kLoop[i].x, kTol);
        EXPECT_NEAR(spline->nodes[i].y, kLoop[i].y, kTol);
    }
    const x_VectorArray& f = spline->flatPoints;
    const int n = f.GetSize();
    ASSERT_GT(n, 10);
    EXPECT_TRUE(f[0].IsEqual(f[n - 1])) << "the curve ends where it began";
    for (const x_Vector& node : kLoop) {
        double nearest = 1e9;
        for (int i = 0; i < n; ++i)
            nearest = std::min(nearest, x_Vector::Distance(f[i], node));
        EXPECT_LT(nearest, 1e-9) << "through (" << node.x << ", " << node.y << ")";
    }
    const double out = std::atan2(f[1].y - f[0].y, f[1].x - f[0].x);
    const double in = std::atan2(f[n - 1].y - f[n - 2].y, f[n - 1].x - f[n - 2].x);
    EXPECT_LT(std::fabs(std::remainder(out - in, 2 * kPi)), kSmoothClose);
}

// The closing right click may fall on a new point, the last node or the
// first node; the two repeats add no node. Before, the key points of a
// spline being drawn stayed empty and no spline could be closed.
TEST_F(ViewTest, ClosedSplineEndsWithTheRightButton)
{
    const struct {
        const char* name;
        int clicked;            // nodes of kLoop clicked before the right click
        x_Vector rightAt;
    } kCases[] = {
        {"at the fifth node", 4, kLoop[4]},
        {"on the last node clicked", 5, kLoop[4]},
        {"on the first node", 5, kLoop[0]},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const int steps = g_undoCount;
        drv->Start(kCmdSpline);
        drv->SelectMode(1);
        EXPECT_EQ(g_CommandModes.mode[8], 1) << "闭曲线 is remembered";
        for (int i = 0; i < c.clicked; ++i)
            drv->ClickAt(kLoop[i]);
        drv->MoveTo(c.rightAt);
        drv->RightClick();
        EXPECT_EQ(drv->Command(), 0);
        const auto splines = Live(11);
        ASSERT_EQ(splines.size(), 1u);
        drv->view->RedrawNow();         // flattened as drawn
        ExpectClosedThroughLoop(splines[0]);
        EXPECT_EQ(g_undoCount, steps + 1);
        splines[0]->deleted = 1;
    }
}

// Two points make no closed curve: the right button waits for more.
TEST_F(ViewTest, ClosedSplineNeedsThreeNodes)
{
    drv->Start(kCmdSpline);
    drv->SelectMode(1);
    drv->ClickAt({0, 0});
    drv->ClickAt({10, 0});
    drv->RightClick();
    EXPECT_EQ(drv->Command(), kCmdSpline);
    EXPECT_TRUE(Live(11).empty());
    drv->ClickAt({5, 8});
    drv->RightClick();
    EXPECT_EQ(drv->Command(), 0);
    const auto splines = Live(11);
    ASSERT_EQ(splines.size(), 1u);
    EXPECT_EQ(splines[0]->nodes.GetSize(), 3);
    EXPECT_EQ(splines[0]->geometry.spline.closed, 1);
}

// Typed nodes, closed by "c" in either mode or by Enter in "闭曲线". A node
// typed twice is taken once, and "u" takes back the last node; both used to
// miss the key points.
TEST_F(CmdlineTest, TypedClosedSpline)
{
    const struct {
        const char* name;
        int mode;
        const char16_t* close;
    } kCases[] = {
        {"c in 开曲线", 0, u"c"},
        {"c in 闭曲线", 1, u"c"},
        {"Enter in 闭曲线", 1, u""},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        Type(u"spl");
        drv->SelectMode(c.mode);
        Type(u"0,0");
        Type(u"0,0");
        Type(u"15,-6");
        Type(u"25,5");
        EXPECT_TRUE(StartsWith(LastLine(), u"曲线(SPL)->下一点 (x,y)【放弃(U)/闭合(C)】"));
        Type(u"40,40");
        Type(u"u");
        Type(u"12,16");
        Type(u"-6,9");
        Type(c.close);
        EXPECT_EQ(drv->Command(), 0);
        const auto splines = Live(11);
        ASSERT_EQ(splines.size(), 1u);
        drv->view->RedrawNow();
        ExpectClosedThroughLoop(splines[0]);
        splines[0]->deleted = 1;
    }
}

// The rubber curve of the last move is XOR over the frame: a click that
// dropped its "shown" flag without erasing it left it on the screen, where
// every later curve crossed it out in pieces. After clicks and moves the
// window must look as a fresh frame with the same cursor does.
TEST_F(ViewTest, SplineClicksLeaveNoOldRubberCurve)
{
    g_CommandModes.mode[8] = 0;
    drv->Start(kCmdSpline);
    const x_Vector clicks[3] = {{0, 0}, {20, 0}, {20, 20}};
    for (const x_Vector& c : clicks) {
        drv->MoveTo(c - x_Vector(3, 2));
        drv->ClickAt(c);
    }
    const x_Vector cursor(0, 20);
    drv->MoveTo(cursor + x_Vector(1, 1));
    drv->MoveTo(cursor);
    // The area of the curves, less the mark of the last click.
    const POINT lo = drv->Pixel({-8, -8}), hi = drv->Pixel({28, 28});
    const POINT last = drv->Pixel(clicks[2]);
    const auto inked = [&] {
        return dlgtest::CountPixels(drv->view, RECT{lo.x, hi.y, hi.x, lo.y}, [](COLORREF c) { return c != 0; })
               - dlgtest::CountPixels(drv->view, RECT{last.x - 10, last.y - 10, last.x + 11, last.y + 11},
                                      [](COLORREF c) { return c != 0; });
    };
    const int shown = inked();
    drv->view->RedrawNow();
    drv->MoveTo(cursor + x_Vector(1, 1));
    drv->MoveTo(cursor);
    EXPECT_GT(shown, 100) << "the curve is on the screen";
    EXPECT_EQ(shown, inked());
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
