#include <gtest/gtest.h>

#include "geometry/CUnit.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "geometry/TrailReadRecord.h"
#include "geometry/grip_pairs.h"
#include "geometry/path_services.h"
#include "geometry/unit_services.h"

namespace {

constexpr double kExact = 1e-12;   // hand-worked values; only rounding differs

class Services : public testing::Test {
protected:
    void SetUp() override { ResetGeometryState(); }
};

TEST_F(Services, SweepAngleFollowsTheDirection)
{
    const struct { const char* name; double s, e; std::uint8_t dir; double sweep; } kCases[] = {
        {"ccw quarter", 0, kPi / 2, 0, kPi / 2},
        {"ccw wraps", kPi / 2, 0, 0, 3 * kPi / 2},
        {"cw quarter", kPi / 2, 0, 1, kPi / 2},
        {"cw wraps", 0, kPi / 2, 1, 3 * kPi / 2},
        {"equal: full turn", 1, 1, 0, kTwoPi},
        {"cw equal: full turn", 1, 1, 1, kTwoPi},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        ArcRecord arc = MakeArcRecord({0, 0}, 1, c.s, c.e);
        arc.direction = c.dir;
        EXPECT_NEAR(SweepAngle(arc), c.sweep, kExact);
    }
}

TEST_F(Services, ResamplePointsDropsPointsThatContinueTheRun)
{
    const x_Vector run[] = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 1}};
    CArray<x_Vector> out;
    EXPECT_DOUBLE_EQ(ResamplePoints(out, run, 5, 0.001), 4.0);
    ASSERT_EQ(out.GetSize(), 3);
    EXPECT_EQ(out[0], x_Vector(0, 0));
    EXPECT_EQ(out[1], x_Vector(1, 0));
    EXPECT_EQ(out[2], x_Vector(3, 1));

    const x_Vector repeats[] = {{0, 0}, {1, 0}, {1.0005, 0.5}, {1.0005, 0.5}, {2, 2}};
    ResamplePoints(out, repeats, 5, 0.001);
    ASSERT_EQ(out.GetSize(), 4);            // the repeat is dropped, the turn kept
    EXPECT_EQ(out[2], x_Vector(1.0005, 0.5));

    ResamplePoints(out, run, 2, 0.001);
    EXPECT_EQ(out.GetSize(), 2);
}

TEST_F(Services, PolygonCentroid)
{
    const x_Vector square[] = {{0, 0}, {2, 0}, {2, 2}, {0, 2}, {0, 0}};
    const x_Vector c = PolygonCentroid(square, 5);
    EXPECT_NEAR(c.x, 1, kExact);
    EXPECT_NEAR(c.y, 1, kExact);
    EXPECT_EQ(c.valid, 1);
    EXPECT_EQ(PolygonCentroid(square, 3), x_Vector(0, 0, 0));
    const x_Vector flat[] = {{0, 0}, {1, 0}, {2, 0}, {0, 0}};
    EXPECT_EQ(PolygonCentroid(flat, 4), x_Vector(0, 0, 0));   // no area: once NaN
}

int TwoWays(std::uint64_t, x_Vector, x_Vector& out)
{
    out = {7, 7};
    return 2;
}

TEST_F(Services, CollectCrossingsWithoutAndWithTheEngine)
{
    x_Vector out(0, 0, 0);
    EXPECT_EQ(CollectCrossings(5, {1, 2}, out), 0);
    EXPECT_EQ(out, x_Vector(1, 2));
    SetCollectCrossingsHook(TwoWays);
    EXPECT_EQ(CollectCrossings(5, {1, 2}, out), 2);
    EXPECT_EQ(out, x_Vector(7, 7));

    g_TrailDirections.Add(x_TrailDirectionData());
    ClearTrailDirections();
    EXPECT_EQ(g_TrailDirections.GetSize(), 0);
}

TEST_F(Services, AddUniquePairAndTrailReadRecord)
{
    EXPECT_FALSE(AddUniquePair(5, 7));
    EXPECT_TRUE(AddUniquePair(5, 7));
    EXPECT_FALSE(AddUniquePair(7, 5));
    ResetGeometryState();
    EXPECT_FALSE(AddUniquePair(5, 7));

    TrailReadRecord record;
    EXPECT_EQ(record.points[2], x_Vector(0, 0, 1));
    EXPECT_EQ(record.hasCutPoint, 0);
    EXPECT_EQ(record.extraPoints.GetSize(), 2);
}

TEST_F(Services, ResetEntityStatesAndSelectGroupSkipDeletedUnits)
{
    CUnitDocument doc;
    g_pDoc = &doc;
    CUnit a, b, c, path;
    a.group = 3;
    b.group = 3;
    b.deleted = 1;
    c.group = 4;
    c.selected = 1;
    path.group = 3;
    path.role = kRolePath;
    for (CUnit* u : {&a, &b, &c, &path})
        doc.AppendUnit(u);
    SelectGroup(3);
    EXPECT_EQ(a.selected, 1);
    EXPECT_EQ(b.selected, 0);
    EXPECT_EQ(c.selected, 0);
    EXPECT_EQ(path.selected, 0);

    a.visible = 0;
    a.walked = a.highlighted = a.splitMarked = 1;
    b.walked = 1;
    ResetEntityStates();
    EXPECT_EQ(a.visible, 1);
    EXPECT_EQ(a.walked + a.highlighted + a.splitMarked + a.selected, 0);
    EXPECT_EQ(b.walked, 1);
    doc.m_unitList.RemoveAll();
}

} // namespace
