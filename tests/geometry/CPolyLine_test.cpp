#include <gtest/gtest.h>

#include "geometry/CPolyLine.h"
#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"

namespace {

class PolyLine : public testing::Test {
protected:
    void SetUp() override { ResetGeometryState(); }
};

TEST_F(PolyLine, SegmentReadout)
{
    CUnitView view;
    CPolyLine pl;
    pl.inputPoints[0] = {1, 1};
    g_cmdStep = 2;
    pl.InteractiveStep(nullptr, &view, {1, -2});
    EXPECT_EQ(view.m_promptText, CString(u"长度：3.0000mm ，角度：270.0000°"));
    EXPECT_EQ(pl.inputPoints[1], x_Vector(1, -2));
    EXPECT_EQ(pl.GetType(), 9);
}

} // namespace
