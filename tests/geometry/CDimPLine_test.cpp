#include <cmath>

#include "geometry/CDimPLine.h"
#include "tests/geometry/dimension_support.h"

namespace {

class OrdinateDimension : public DimensionTest {};

TEST_F(OrdinateDimension, LeaderRunsAlongAnAxisWithAJogOnLongRuns)
{
    const struct {
        const char* name;
        x_Vector p1, p2;
        int count;
        x_Vector ends[4];
    } kCases[] = {
        // 45° counts as shallow: the knee is (p2.x, p1.y).
        {"45 degrees", {0, 0}, {10, 10}, 1, {{10, 0}, {0, 0}}},
        {"steep", {0, 0}, {3, 10}, 1, {{0, 10}, {0, 0}}},
        {"run of 30", {0, 0}, {30, 4}, 1, {{30, 0}, {0, 0}}},
        // 12 mm from the feature point, an 8 mm jog, 20 mm into the text.
        {"run of 40", {0, 0}, {40, 5}, 3, {{0, 0}, {12, 0}, {20, 5}, {40, 5}}},
        {"run of 40 to the left", {0, 0}, {-40, 5}, 3, {{0, 0}, {-12, 0}, {-20, 5}, {-40, 5}}},
        {"text point on the knee", {0, 0}, {50, 0}, 1, {{50, 0}, {0, 0}}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        x_LineData leader[3];
        ASSERT_EQ(OrdinateLeader(c.p1, c.p2, leader), c.count);
        for (int i = 0; i < c.count; ++i) {
            const x_Vector& from = c.count == 1 ? c.ends[0] : c.ends[i];
            const x_Vector& to = c.count == 1 ? c.ends[1] : c.ends[i + 1];
            ExpectNear(leader[i].p1, from.x, from.y, 1e-12);
            ExpectNear(leader[i].p2, to.x, to.y, 1e-12);
        }
    }
}

TEST_F(OrdinateDimension, CursorChoosesTheCoordinateShown)
{
    CDimPLine d;
    CUnitView view;
    g_cmdStep = 2;
    g_cmdPointCount = 2;
    d.Working().p1 = {3, 12.5};
    d.InteractiveStep(nullptr, &view, {20, 14});
    ExpectNear(d.Working().p2, 20, 12.5);
    EXPECT_EQ(d.Working().value, 12.5);
    EXPECT_EQ(view.m_promptText, CString(u"Y 值：12.5000 ，角度：0.0000°"));
    d.InteractiveStep(nullptr, &view, {4, 30});
    ExpectNear(d.Working().p2, 3, 30);
    EXPECT_EQ(d.Working().value, 3);
    EXPECT_EQ(view.m_promptText, CString(u"X 值：3.0000 ，角度：90.0000°"));
    g_cmdStep = 4;                                  // a grip drag changes nothing
    d.InteractiveStep(nullptr, &view, {50, 50});
    ExpectNear(d.Working().p2, 3, 30);
}

TEST_F(OrdinateDimension, TwoDecimalsAndTransformsKeepTheValue)
{
    CDimPLine d;
    d.Working().p1 = {3, 12.5};
    d.Working().p2 = {40, 12.5};
    d.Working().value = 12.5;
    d.CommitTransform();
    d.Draw(nullptr, 1, nullptr);
    EXPECT_EQ(d.text, CString(u"12.50"));
    ExpectNear(d.extentMin, 3, 12.5);
    ExpectNear(d.extentMax, 40, 12.5);
    ASSERT_EQ(d.gripPoints.GetSize(), 2);
    ExpectNear(d.gripPoints[1], 40, 12.5);
    ASSERT_TRUE(d.Rotate({0, 0}, kPi / 2));
    ExpectNear(d.Working().p1, -12.5, 3);
    EXPECT_EQ(d.Working().value, 12.5);
    EXPECT_EQ(d.rubberShown, 0);
    d.Move({1, 1});
    ExpectNear(d.Working().p2, 41, 13.5);
}

} // namespace
