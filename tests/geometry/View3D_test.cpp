#include <gtest/gtest.h>

#include "geometry/GeometryState.h"
#include "geometry/View3D.h"

namespace {

constexpr double kFourPlaces = 5e-5;   // the expected values are given to 4 decimals

TEST(View3D, ProjectsAfterResetAndUpdate)
{
    ResetGeometryState();
    Reset3DView();
    EXPECT_EQ(Project3D(3, 4, 5), x_Vector(0, 0));   // cache still zero
    Update3DViewAngles();
    x_Vector p = Project3D(0, 0, 10);
    EXPECT_NEAR(p.x, 0.1681, kFourPlaces);
    EXPECT_NEAR(p.y, 8.1330, kFourPlaces);
    p = Project3D(10, 0, 0);
    EXPECT_NEAR(p.x, 9.9986, kFourPlaces);
    EXPECT_NEAR(p.y, -0.1368, kFourPlaces);

    g_View3D.turn = g_View3D.tilt = 0;
    Update3DViewAngles();
    EXPECT_EQ(Project3D(2, 3, 99), x_Vector(2, 3));
}

} // namespace
