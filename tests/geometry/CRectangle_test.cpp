#include <gtest/gtest.h>

#include "geometry/CRectangle.h"
#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "tests/support/archive_bytes.h"

namespace {

class Rectangle : public testing::Test {
protected:
    void SetUp() override { ResetGeometryState(); }
};

TEST_F(Rectangle, DragReportsAbsoluteSidesAndCommitsCorners)
{
    CUnitView view;
    CRectangle r;
    r.inputPoints[0] = {5, 5};
    g_cmdPointCount = 1;
    r.InteractiveStep(nullptr, &view, {2, 9});
    EXPECT_EQ(view.m_promptText, CString(u"长宽：3.0000 , 4.0000mm"));
    EXPECT_EQ(r.geometry.rectangle.corner2, x_Vector(2, 9));
    EXPECT_EQ(g_rubberShown, 1);
    r.CommitTransform();
    EXPECT_EQ(r.geometry.rectangle.corner1, x_Vector(5, 5));
    EXPECT_EQ(r.complete, 1);
    EXPECT_EQ(r.GetType(), 0);
    EXPECT_FALSE(r.HitTest({5, 5}, 1));
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { r.Serialize(ar); }).size(), 162u);
}

} // namespace
