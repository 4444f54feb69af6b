#include <cmath>

#include "geometry/CDimCir.h"
#include "tests/geometry/dimension_support.h"

namespace {

class RadialDimension : public DimensionTest {
protected:
    // A dimension of the circle about (10, 10) of radius 5, text at p2.
    CDimCir& Make(int radiusMode, x_Vector p2)
    {
        dim.radiusMode = radiusMode;
        DimensionRecord& w = dim.Working();
        w.p1 = {10, 10};
        w.distance = 5;
        g_cmdStep = 2;
        g_cmdPointCount = 1;
        dim.InteractiveStep(nullptr, nullptr, p2);
        dim.CommitTransform();
        dim.Draw(nullptr, 1, nullptr);
        return dim;
    }
    CDimCir dim;
};

TEST_F(RadialDimension, RadiusAndDiameterLabels)
{
    Make(1, {13, 14});
    EXPECT_EQ(dim.Current().value, 5);
    EXPECT_EQ(dim.text, CString(u"R 5.0000"));
    CDimCir diameter;
    diameter.Working().distance = 5;
    diameter.Draw(nullptr, 0, nullptr);
    EXPECT_EQ(diameter.text, CString(u"Ø 10.0000"));
}

TEST_F(RadialDimension, TextInsideGivesALineAcrossTheCircle)
{
    Make(0, {13, 14});                              // 5 from the centre: on the circle counts inside
    ExpectNear(dim.lineStart, 7, 6);
    ExpectNear(dim.lineEnd, 13, 14);
    ASSERT_EQ(dim.gripPoints.GetSize(), 2);
    ExpectNear(dim.extentMin, 10, 10);              // centre and the near rim only
    ExpectNear(dim.extentMax, 13, 14);
}

TEST_F(RadialDimension, TextOutsideOnTheLeftGetsAShoulderToTheLeft)
{
    g_ViewScale = 4;
    Make(1, {0, 10});
    ExpectNear(dim.segments[0].p1, 10, 10);         // the line runs to the text point
    ExpectNear(dim.segments[0].p2, 0, 10);
    ExpectNear(dim.lineStart, -10, 10);             // 40 pixels at 4 px/mm
    ASSERT_EQ(dim.gripPoints.GetSize(), 1);
    ExpectNear(dim.gripPoints[0], 0, 10);
}

TEST_F(RadialDimension, PickedNearItsLineAndRefusesTransforms)
{
    g_ViewScale = 4;
    Make(1, {10, 20});                              // line from the centre straight up
    EXPECT_TRUE(dim.HitTest({11, 15}, 0));          // 4 px beside it
    ExpectNear(dim.edit->hitPoint, 10, 15);
    EXPECT_FALSE(dim.HitTest({12.5, 15}, 0));       // 10 px
    EXPECT_TRUE(dim.HitTest({10, 12}, 1));
    const DimensionRecord before = dim.Working();
    EXPECT_FALSE(dim.Rotate({0, 0}, 1.0));
    EXPECT_FALSE(dim.Mirror({0, 0}, {1, 0}));
    EXPECT_FALSE(dim.Scale({0, 0}, {2, 2}));
    ExpectNear(dim.Working().p2, before.p2.x, before.p2.y);
}

} // namespace
