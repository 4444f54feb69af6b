#include <cmath>

#include "geometry/CDimLinear.h"
#include "tests/geometry/dimension_support.h"

namespace {

class LinearDimension : public DimensionTest {
protected:
    void Place(x_Vector a, x_Vector b, x_Vector cursor, int startMode = 0)
    {
        dim.Working().p1 = a;
        dim.Working().p2 = b;
        dim.Working().linearMode = startMode;
        g_cmdStep = 2;
        g_cmdPointCount = 2;
        dim.InteractiveStep(nullptr, &view, cursor);
    }
    CDimLinear dim;
    CUnitView view;
};

// p1 (0, 0), p2 (10, 5), cursor (5, 8): the cursor is above both points, so
// the dimension line is horizontal at y = 8 and shows the X distance 10.
TEST_F(LinearDimension, CursorAboveBothPointsGivesTheXDistance)
{
    Place({0, 0}, {10, 5}, {5, 8});
    const DimensionRecord& w = dim.Working();
    EXPECT_EQ(w.linearMode, 1);
    EXPECT_NEAR(w.angle, kPi / 2, 1e-12);
    EXPECT_EQ(w.distance, 8);
    EXPECT_EQ(w.value, 10);
    EXPECT_EQ(view.m_promptText, CString(u"线性长度：10.0000mm ,角度：0.0000°"));
    dim.CommitTransform();
    ExpectNear(dim.inputPoints[0], 0, 8);
    ExpectNear(dim.inputPoints[1], 10, 8);
    dim.Draw(nullptr, 1, nullptr);
    EXPECT_EQ(dim.text, CString(u"10.0000"));
    ExpectNear(dim.extEnd1, 0, 9);                  // through the line end and 1 mm on
    ExpectNear(dim.extEnd2, 10, 9);
    ExpectNear(dim.extentMin, 0, 0);
    ExpectNear(dim.extentMax, 10, 9);
}

TEST_F(LinearDimension, ModeByThePointsAndTheCursor)
{
    const struct {
        const char* name;
        x_Vector a, b, cursor;
        int startMode, mode;
        double value;
    } kCases[] = {
        {"one vertical, whatever the cursor", {3, 0}, {3.00005, 7}, {10, 20}, 1, 0, 7},
        {"one horizontal", {0, 2}, {6, 2}, {20, 2}, 0, 1, 6},
        {"right of both points", {0, 0}, {10, 5}, {12, 2}, 1, 0, 5},
        {"inside the box keeps mode 0", {0, 0}, {10, 5}, {5, 2}, 0, 0, 5},
        {"inside the box keeps mode 1", {0, 0}, {10, 5}, {5, 2}, 1, 1, 10},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        Place(c.a, c.b, c.cursor, c.startMode);
        EXPECT_EQ(dim.Working().linearMode, c.mode);
        EXPECT_NEAR(dim.Working().value, c.value, 1e-4);
    }
}

TEST_F(LinearDimension, RotationSnapsToTheNearestAxis)
{
    Place({0, 0}, {10, 5}, {5, 8});
    dim.CommitTransform();
    ASSERT_TRUE(dim.Rotate({0, 0}, kPi / 6));
    const DimensionRecord& w = dim.Working();
    // π/2 + π/6 lies within π/4 of π/2.
    EXPECT_EQ(w.angle, kPi / 2);
    EXPECT_EQ(w.linearMode, 1);
    const x_Vector q = x_Vector(10, 5).RotateAbout({0, 0}, kPi / 6);
    EXPECT_NEAR(w.value, std::fabs(q.x), 1e-12);
    ASSERT_TRUE(dim.Rotate({0, 0}, kPi / 2));
    EXPECT_EQ(w.angle, kPi);
    EXPECT_EQ(w.linearMode, 0);
}

// The copy a grip drag leaves behind kept the old dimension line in its
// input points, and drew its label and ticks where the drag began.
TEST_F(LinearDimension, CopyOfTheWorkingRecordTakesItsDimensionLine)
{
    Place({0, 0}, {10, 5}, {5, 8});
    dim.CommitTransform();
    g_cmdStep = 4;
    dim.InteractiveStep(nullptr, &view, {5, -4});
    CUnit* copy = nullptr;
    ASSERT_TRUE(dim.Copy(2, copy));
    auto* moved = static_cast<CDimLinear*>(copy);
    ExpectNear(moved->inputPoints[0], 0, -4);
    ExpectNear(moved->inputPoints[1], 10, -4);
    moved->Draw(nullptr, 1, nullptr);
    ExpectNear(moved->lineStart, 0, -4);
    ExpectNear(moved->extentMin, 0, -5);
    delete copy;
}

} // namespace
