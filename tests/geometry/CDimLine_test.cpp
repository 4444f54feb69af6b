#include <cmath>

#include "geometry/CDimLine.h"
#include "tests/geometry/dimension_support.h"

namespace {

class AlignedDimension : public DimensionTest {
protected:
    // Measured points given, as after the second click of the command.
    void Measure(x_Vector a, x_Vector b)
    {
        dim.Working().p1 = a;
        dim.Working().p2 = b;
        g_cmdStep = 2;
        g_cmdPointCount = 2;
    }
    CDimLine dim;
    CUnitView view;
};

TEST_F(AlignedDimension, CursorChoosesTheSideAndOffset)
{
    const struct {
        const char* name;
        x_Vector a, b, cursor;
        double distance, angle;
    } kCases[] = {
        {"above a horizontal pair", {0, 0}, {10, 0}, {3, 4}, 4, kPi / 2},
        {"below it", {0, 0}, {10, 0}, {3, -4}, 4, 3 * kPi / 2},
        {"pair pointing left, cursor above", {10, 0}, {0, 0}, {3, 4}, 4, kPi / 2},
        // Equal points: their direction counts as 0, so the offset is vertical.
        {"equal points", {2, 2}, {2, 2}, {2, 5}, 3, kPi / 2},
        {"on the line", {0, 0}, {10, 0}, {20, 0}, 0, kPi / 2},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        Measure(c.a, c.b);
        dim.InteractiveStep(nullptr, &view, c.cursor);
        EXPECT_NEAR(dim.Working().distance, c.distance, 1e-12);
        EXPECT_NEAR(dim.Working().angle, c.angle, 1e-12);
    }
}

TEST_F(AlignedDimension, ReadoutsOfOneAndTwoPoints)
{
    dim.Working().p1 = {0, 0};
    g_cmdStep = 2;
    g_cmdPointCount = 1;
    dim.InteractiveStep(nullptr, &view, {3, 4});
    EXPECT_EQ(view.m_promptText, CString(u"长度：5.0000mm ，角度：53.1301°"));
    Measure({0, 0}, {0, -12.5});
    dim.InteractiveStep(nullptr, &view, {2, -3});
    EXPECT_EQ(view.m_promptText, CString(u"长度：12.5000mm ，角度：270.0000°"));
}

TEST_F(AlignedDimension, CommitMeasuresAndDrawBuildsTheLines)
{
    Measure({0, 0}, {12.5, 0});
    dim.InteractiveStep(nullptr, &view, {4, 5});
    dim.CommitTransform();
    const DimensionRecord& r = dim.Current();
    EXPECT_EQ(r.value, 12.5);
    EXPECT_EQ(r.p3, r.p1);
    EXPECT_EQ(r.p4, r.p2);
    EXPECT_EQ(dim.complete, 1);
    dim.Draw(nullptr, 1, nullptr);
    EXPECT_EQ(dim.text, CString(u"12.5000"));      // trailing zeros kept
    ExpectNear(dim.lineStart, 0, 5);
    ExpectNear(dim.lineEnd, 12.5, 5);
    ExpectNear(dim.extEnd1, 0, 6);                  // 1 mm past the dimension line
    ExpectNear(dim.extEnd2, 12.5, 6);
    ExpectNear(dim.extentMin, 0, 0);
    ExpectNear(dim.extentMax, 12.5, 6);
    ASSERT_EQ(dim.gripPoints.GetSize(), 2);
    ExpectNear(dim.gripPoints[1], 12.5, 5);
    g_ViewScale = 10;
    EXPECT_TRUE(dim.HitTest({12.5, 5.5}, 0));      // on the second extension line
    EXPECT_EQ(dim.lastSegment, 2);
    EXPECT_FALSE(dim.HitTest({6, 6}, 0));          // detour 0.16 mm, 1.6 px
    EXPECT_EQ(dim.lastSegment, 2);                  // the last one tried
    EXPECT_TRUE(dim.HitTest({6, 5.0005}, 1));
    EXPECT_EQ(dim.lastSegment, 0);
}

TEST_F(AlignedDimension, TransformsWorkOnTheWorkingCopy)
{
    Measure({0, 0}, {10, 0});
    dim.InteractiveStep(nullptr, &view, {4, 3});
    dim.CommitTransform();
    ASSERT_TRUE(dim.Rotate({0, 0}, kPi / 2));
    ExpectNear(dim.Working().p2, 0, 10);
    ExpectNear(dim.Working().p4, 0, 10);
    EXPECT_NEAR(dim.Working().angle, kPi, 1e-12);
    ExpectNear(dim.Current().p2, 10, 0);            // not yet committed
    ASSERT_TRUE(dim.Mirror({0, 0}, {1, 0}));        // about the X axis
    EXPECT_NEAR(dim.Working().angle, 3 * kPi / 2, 1e-12);
    ASSERT_TRUE(dim.Scale({0, 0}, {2, 1}));
    EXPECT_EQ(dim.Working().distance, 6);
    ExpectNear(dim.Working().p2, 20, 0);
    ExpectNear(dim.Working().p4, 10, 0);            // the commit copies stay
    dim.CommitTransform();
    EXPECT_EQ(dim.Current().value, 20);
    CUnit* copy = nullptr;
    const std::uint64_t before = g_UnitIdCounter;
    ASSERT_TRUE(dim.Copy(0, copy));
    EXPECT_EQ(copy->unitId, before + 1);
    EXPECT_EQ(static_cast<CDimLine*>(copy)->Current().value, 20);
    delete copy;
}

} // namespace
