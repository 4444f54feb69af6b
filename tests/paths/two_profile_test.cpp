#include "tests/paths/path_view_fixture.h"

#include "geometry/CCir.h"

namespace {

class TwoProfile : public PathViewTest {
protected:
    void SetUp() override
    {
        PathViewTest::SetUp();
        g_CutMode = 2;
        MachiningSettings& m = g_MachiningSettings;
        m.syncByCentre = 0;
        m.profileUsesIncline = 0;
        m.profileNoMerge = 0;
        m.endAfterCutOff = 0;
        // A 10 x 10 square below and a circle of radius 5 drawn 20 mm to
        // its right as the upper profile.
        drv->Start(kCmdRectangle);
        drv->ClickAt({0, 0});
        drv->ClickAt({10, 10});
        drv->Start(kCmdCircle);
        drv->ClickAt({25, 5});
        drv->ClickAt({25, 0});
    }
    // One contour of the dialogue: threading point, lead-in, direction
    // (marker at that angle), side outside (below the lead-in).
    void PickContour(const x_Vector& thread, const x_Vector& leadIn, double direction)
    {
        Click(thread);
        Click(leadIn);
        ClickPixel(MarkerHead(MarkerAt(direction)));
        ClickPixel(MarkerHead(MarkerAt(direction == 0.0 ? 1.5 * kPi : 0.5 * kPi)));
    }
    void PickBoth(double upperDirection)
    {
        drv->Start(kCmdPath);
        PickContour({5, -5}, {5, 0}, 0.0);
        ASSERT_EQ(drv->view->m_subStep, 5);
        PickContour({25, -5}, {25, 0}, upperDirection);
        ASSERT_EQ(drv->view->m_subStep, 10);
    }
};

double Sweep(const x_TrailData& e)
{
    double s = e.direction == 0 ? e.endAngle - e.startAngle : e.startAngle - e.endAngle;
    while (s <= 0.0)
        s += 2 * kPi;
    return s;
}

} // namespace

// By length shares: the square's sides (an eighth, three quarters, an
// eighth of its length from the lead-in) pair with arcs of the same
// shares of the circle, so every corner meets the circle at 45 degrees.
TEST_F(TwoProfile, SquareBelowCircleAbovePairSideByQuarterArc)
{
    PickBoth(0.0);
    Click({5, -5});     // the origin: the lower threading point
    const auto paths = Paths();
    ASSERT_EQ(paths.size(), 1u);
    const CTrail& t = *paths[0];
    const x_TrailDataArray& lower = t.trails[0];
    const x_TrailDataArray& upper = t.trails[1];
    ASSERT_EQ(lower.GetSize(), 7);
    ASSERT_EQ(upper.GetSize(), 7);
    const double shares[5] = {0.25, 0.5, 0.5, 0.5, 0.25};   // of pi
    for (int i = 1; i <= 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(lower[i].IsLine());
        ASSERT_TRUE(upper[i].IsArc());
        EXPECT_NEAR(Sweep(upper[i]), shares[i - 1] * kPi, 1e-9);
        // Moved onto the lower threading point: centre (5, 5).
        ExpectPoint(upper[i].centre, 5, 5, 1e-9);
        EXPECT_NEAR(upper[i].radius, 5.1, 1e-9);
    }
    // The first corner of the square and the end of the first arc.
    ExpectPoint(lower[1].end, 10.1, -0.1, 1e-9);
    EXPECT_NEAR(upper[1].endAngle, 1.75 * kPi, 1e-9);
    EXPECT_EQ(lower[0].role, 1);
    EXPECT_EQ(upper[0].role, 1);
    ExpectPoint(upper[0].start, 5, -5);
    EXPECT_EQ(t.params.cutMode, 2);
    EXPECT_EQ(t.params.cutCount, 1);
    EXPECT_EQ(t.params.surfaceCount, 2);
    EXPECT_TRUE(Printed(u"轨迹生成->操作完成"));
}

TEST_F(TwoProfile, OppositeOrientationsAreRefusedWithCode7)
{
    g_MachiningSettings.syncByCentre = 1;
    PickBoth(kPi);
    Click({5, -5});
    EXPECT_TRUE(Paths().empty());
    EXPECT_TRUE(Printed(u"#轨迹生成失败，请检查参数! code：-7"));
    EXPECT_EQ(drv->Command(), 0);
}

TEST_F(TwoProfile, OriginClickAwayFromBothThreadingPointsKeepsTheStep)
{
    PickBoth(0.0);
    const POINT px = drv->Pixel({5, -5});
    const POINT upper = drv->Pixel({25, -5});
    // 9 pixels off, and a threading point exactly 8 pixels right of and
    // below the click: both missed.
    for (const POINT click : {POINT{px.x + 9, px.y}, POINT{upper.x - 8, upper.y - 8}}) {
        ClickPixel(click);
        EXPECT_EQ(drv->view->m_subStep, 10);
        EXPECT_TRUE(Paths().empty());
    }
    EXPECT_TRUE(Printed(u"#请选择原点为同步点"));
    // 8 pixels left of and above the click: the upper threading point
    // alone is hit and becomes the common one.
    ClickPixel({upper.x + 8, upper.y + 8});
    const auto paths = Paths();
    ASSERT_EQ(paths.size(), 1u);
    ExpectPoint(paths[0]->params.threadPoint[0], 25, -5);
    // The square moved under the circle.
    ExpectPoint(paths[0]->trails[0][1].start, 25, -0.1, 1e-9);
}

// Abandoning after the first contour frees the half-built path (it leaked).
TEST_F(TwoProfile, AbandoningAfterTheFirstContourFreesThePath)
{
    drv->Start(kCmdPath);
    PickContour({5, -5}, {5, 0}, 0.0);
    ASSERT_NE(drv->view->m_path.trail, nullptr);
    Key(27);
    EXPECT_EQ(drv->Command(), 0);
    EXPECT_EQ(drv->view->m_path.trail, nullptr);
    EXPECT_TRUE(Paths().empty());
}
