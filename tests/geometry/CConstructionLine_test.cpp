#include <gtest/gtest.h>

#include "geometry/CConstructionLine.h"
#include "geometry/GeometryState.h"
#include "tests/support/archive_bytes.h"

namespace {

class ConstructionLine : public testing::Test {
protected:
    void SetUp() override { ResetGeometryState(); }
};

TEST_F(ConstructionLine, MeasuresAgainstTheUnboundedLine)
{
    CConstructionLine line(x_Vector(0, 0), x_Vector(10, 0));
    x_Vector p(20, 5), out;
    EXPECT_DOUBLE_EQ(line.DistanceTo(p, 0, 0, 0), 5.0);
    line.NearestPoint(out, p, 1);
    EXPECT_EQ(out, x_Vector(20, 0));
    EXPECT_FALSE(line.HitTest(x_Vector(20, 0), 1));     // beyond P2
    EXPECT_TRUE(line.HitTest(x_Vector(5, 0.0005), 1));
    double d = 0;
    line.NearestEnd(out, x_Vector(6, 0), &d);
    EXPECT_EQ(out, x_Vector(10, 0));
    EXPECT_DOUBLE_EQ(d, 4.0);
    line.NearestEnd(out, x_Vector(5, 0), &d);
    EXPECT_EQ(out, x_Vector(0, 0));                      // a tie keeps P1
    EXPECT_EQ(line.GetType(), 14);
}

TEST_F(ConstructionLine, ScreenPickOnlyBetweenItsPoints)
{
    g_ViewScale = 2.0;                                   // 8 pixels = 4 mm
    CConstructionLine line(x_Vector(0, 0), x_Vector(10, 0));
    EXPECT_TRUE(line.HitTest(x_Vector(5, 3.5), 0));
    EXPECT_EQ(line.edit->hitPoint, x_Vector(5, 0));
    EXPECT_EQ(line.hitSegment, 0);
    EXPECT_FALSE(line.HitTest(x_Vector(5, 4.5), 0));
    EXPECT_FALSE(line.HitTest(x_Vector(12, 0), 0));
}

TEST_F(ConstructionLine, CoincidentPointsGiveNoMeasure)
{
    CConstructionLine line(x_Vector(1, 1), x_Vector(1, 1));
    x_Vector p(3, 4), out(9, 9);
    EXPECT_EQ(line.DistanceTo(p, 0, 0, 0), 1e10);
    line.NearestPoint(out, p, 0);
    EXPECT_EQ(out.valid, 0);
    double d = 0;
    line.EmptyPoint79(out, 0, &d);
    EXPECT_EQ(out.valid, 0);
    EXPECT_EQ(d, 1e10);
}

TEST_F(ConstructionLine, TransformsMoveItsPointsDirectly)
{
    CConstructionLine line(x_Vector(1, 0), x_Vector(2, 0));
    line.Translate(1, 1);
    EXPECT_EQ(line.P1(), x_Vector(2, 1));
    line.Scale(x_Vector(0, 0), x_Vector(2, 3));
    EXPECT_EQ(line.P2(), x_Vector(6, 3));
    line.ComputeExtents();
    EXPECT_EQ(line.extentMin, x_Vector(4, 3));
    EXPECT_EQ(line.extentMax, x_Vector(6, 3));
}

TEST_F(ConstructionLine, ArchiveIsTheCommonRecordAlone)
{
    CConstructionLine line(x_Vector(1, 2), x_Vector(3, 4));
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { line.Serialize(ar); }).size(), 162u);
}

} // namespace
