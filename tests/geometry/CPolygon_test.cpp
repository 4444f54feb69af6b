#include <gtest/gtest.h>

#include "geometry/CPolygon.h"
#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "tests/support/archive_bytes.h"

namespace {

constexpr double kRound = 1e-12;            // rotations by 2π/n

class Polygon : public testing::Test {
protected:
    void SetUp() override { ResetGeometryState(); }
};

void ExpectVertices(const CPolygon& p, std::initializer_list<x_Vector> want)
{
    ASSERT_EQ(p.keyPoints.GetSize(), static_cast<int>(want.size()));
    int i = 0;
    for (const x_Vector& w : want) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(p.keyPoints[i].x, w.x, kRound);
        EXPECT_NEAR(p.keyPoints[i].y, w.y, kRound);
        ++i;
    }
}

TEST_F(Polygon, SquareByCentreAndByEdge)
{
    CPolygon p;
    ASSERT_TRUE(p.BuildRegularPolygon({0, 0}, {1, 0}, 4));
    ExpectVertices(p, {{1, 0}, {0, 1}, {-1, 0}, {0, -1}, {1, 0}});
    EXPECT_EQ(p.refPoint, x_Vector(0, 0));
    ASSERT_TRUE(p.BuildPolygonFromPoints({0, 0}, {1, 0}, 4));
    ExpectVertices(p, {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}});
    EXPECT_NEAR(p.refPoint.x, 0.5, kRound);
    EXPECT_NEAR(p.refPoint.y, 0.5, kRound);
}

TEST_F(Polygon, RefusedBuildsLeaveNoVertices)
{
    const struct { const char* name; x_Vector a, b; int n; } kCases[] = {
        {"two sides", {0, 0}, {1, 0}, 2},
        {"invalid point", {0, 0, 0}, {1, 0}, 5},
        {"above the limit", {0, 0}, {1, 0}, kMaxPolygonSides + 1},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        CPolygon p;
        p.keyPoints.Add({9, 9});
        EXPECT_FALSE(p.BuildRegularPolygon(c.a, c.b, c.n));
        EXPECT_EQ(p.keyPoints.GetSize(), 0);
        p.keyPoints.Add({9, 9});
        EXPECT_FALSE(p.BuildPolygonFromPoints(c.a, c.b, c.n));
        EXPECT_EQ(p.keyPoints.GetSize(), 0);
    }
}

TEST_F(Polygon, StepRaisesLowSideCountsAndRefusesHugeOnes)
{
    CUnitView view;
    CPolygon p;
    p.inputPoints[0] = {0, 0};
    g_cmdStep = 2;
    g_PolygonSides = 0;
    p.InteractiveStep(nullptr, &view, {3, 4});
    EXPECT_EQ(g_PolygonSides, 3);
    EXPECT_EQ(p.geometry.polygon.sides, 3);
    EXPECT_EQ(p.keyPoints.GetSize(), 4);
    EXPECT_EQ(view.m_promptText,
              CString(u"距离：5.0000 , 中心半径：5.0000mm ，边长：8.6603mm"));
    // A typed count of millions once built millions of lines per mouse move.
    g_PolygonSides = 5000000;
    p.InteractiveStep(nullptr, &view, {3, 4});
    EXPECT_EQ(p.keyPoints.GetSize(), 0);
    EXPECT_EQ(view.m_promptText, CString(u"#输入有误"));
    g_PolygonSides = 4;
    g_PolygonByEdge = 1;
    p.InteractiveStep(nullptr, &view, {2, 0});
    EXPECT_EQ(p.keyPoints.GetSize(), 5);
}

TEST_F(Polygon, ArchiveIsTheCommonRecordOnly)
{
    CPolygon p;
    p.BuildRegularPolygon({0, 0}, {1, 0}, 6);
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { p.Serialize(ar); }).size(), 162u);
    EXPECT_FALSE(p.HitTest({1, 0}, 1));
    EXPECT_EQ(p.GetType(), 10);
}

} // namespace
