#include "geometry/path_services.h"
#include "tests/wirepath/chain_fixture.h"
#include "wirepath/chain_follow.h"

using Follow = ChainTest;

namespace {

CUnit* Add(CUnitDocument& doc, CUnit* u)
{
    u->complete = 1;
    u->unitId = ++g_UnitIdCounter;
    doc.m_unitList.Add(u);
    return u;
}

} // namespace

TEST_F(Follow, ClosesAtTheLeadInPoint)
{
    CUnit* l1 = Add(doc, new CLine(0, 0, 10, 0));
    CUnit* l2 = Add(doc, new CLine(10, 0, 10, 10));
    CUnit* l3 = Add(doc, new CLine(10, 10, 0, 0));
    g_TrailPickPoints[1] = x_Vector(0, 0);
    x_Vector out;
    EXPECT_EQ(FollowChain(l1->unitId, {10, 0}, out), kFollowEnded);
    ExpectPoint(out, 0, 0);
    ASSERT_EQ(g_CreateTrailPoints.GetSize(), 2);
    EXPECT_EQ(g_CreateTrailPoints[0].index, 1);
    EXPECT_EQ(g_CreateTrailPoints[1].index, 2);
    EXPECT_TRUE(l2->selected && l2->highlighted && l3->selected);
    EXPECT_EQ(l3->chainDir, 2);
    EXPECT_FALSE(l1->selected);
}

TEST_F(Follow, DuplicatesAreNoBranchButForksAre)
{
    CUnit* start = Add(doc, new CLine(-5, 0, 0, 0));
    Add(doc, new CLine(0, 0, 5, 0));
    CUnit* twin = Add(doc, new CLine(0, 0, 5, 0));
    g_TrailPickPoints[1] = x_Vector(-5, 0);
    x_Vector out;
    EXPECT_EQ(FollowChain(start->unitId, {0, 0}, out), kFollowEnded);
    ExpectPoint(out, 5, 0);
    EXPECT_EQ(twin->walked, 1);
    EXPECT_EQ(g_CreateTrailPoints.GetSize(), 1);

    Add(doc, new CLine(5, 0, 5, 5));
    Add(doc, new CLine(8, 0, 5, 0));
    EXPECT_EQ(FollowChain(0, {5, 0}, out), kFollowBranch);
    ExpectPoint(out, 5, 0);
    ASSERT_EQ(g_TrailDirections.GetSize(), 2);
    EXPECT_EQ(g_DirSignList.GetSize(), 2);
    EXPECT_EQ(g_TrailDirections[1].direction, 1);
    EXPECT_NEAR(g_TrailDirections[0].angle, kPi / 2, kExact);
}

TEST_F(Follow, ShortCandidateAtAForkIsDropped)
{
    CUnit* start = Add(doc, new CLine(-5, 0, 0, 0));
    CUnit* tiny = Add(doc, new CLine(0, 0, 0.0005, 0.0005));
    Add(doc, new CLine(0, 0, 0, 5));
    g_TrailPickPoints[1] = x_Vector(100, 100);
    x_Vector out;
    EXPECT_EQ(FollowChain(start->unitId, {0, 0}, out), kFollowEnded);
    ExpectPoint(out, 0, 5);
    EXPECT_TRUE(tiny->selected);
}

TEST_F(Follow, ClosedCurvesNeverContinueAndNothingToFollow)
{
    CUnit* start = Add(doc, new CLine(-5, 0, 0, 0));
    Add(doc, NewArc({5, 0}, 5, kPi, kPi, 0));       // full circle through (0, 0)
    x_Vector out;
    EXPECT_EQ(FollowChain(start->unitId, {0, 0}, out), kFollowNone);
    ExpectPoint(out, 0, 0);
    TearDown();
    SetUp();
    CUnit* only = Add(doc, new CLine(0, 0, 1, 0));
    EXPECT_EQ(FollowChain(only->unitId, {1, 0}, out), kFollowEnded);
    ExpectPoint(out, 1, 0);
}

TEST_F(Follow, InstalledAsTheCrossingSearch)
{
    InstallChainFollowing();
    CUnit* start = Add(doc, new CLine(-5, 0, 0, 0));
    Add(doc, new CLine(0, 0, 0, 5));
    x_Vector out;
    EXPECT_EQ(CollectCrossings(start->unitId, {0, 0}, out), kFollowEnded);
    ExpectPoint(out, 0, 5);
    SetCollectCrossingsHook(nullptr);
}
