#include "tests/wirepath/trail_fixture.h"
#include "wirepath/TrailPath.h"
#include "wirepath/profile_sync.h"
#include "wirepath/trail_metrics.h"

using Sync = WirepathTest;

namespace {

x_TrailDataArray Square(double h)
{
    return Polygon({{h, h}, {-h, h}, {-h, -h}, {h, -h}});
}

} // namespace

TEST_F(Sync, ByLengthSplitsTheCircleIntoQuarters)
{
    TrailPath path;
    path.lists[0] = Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    path.lists[1].Add(Arc(5, 5, 5, 1.5 * kPi, 1.5 * kPi, false));
    ASSERT_EQ(SyncTrailsByLength(path, 0, {0, 0}), 1);
    ASSERT_EQ(path.lists[0].GetSize(), 4);
    ASSERT_EQ(path.lists[1].GetSize(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(TrailElementLength(path.lists[1][i]), 2.5 * kPi, 1e-9) << i;
    ExpectPoint(path.lists[1][0].EndPoint(), 10, 5, 1e-9);
}

TEST_F(Sync, ByLengthEndsAndFailures)
{
    TrailPath path;
    path.lists[0] = Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    EXPECT_EQ(SyncTrailsByLength(path, 1, {5, 0}), -1);
    ExpectPoint(path.lists[0][0].start, 0, 0);          // nothing moved
    // Shares that agree within 0.0001 cause no split.
    path.lists[1] = Polygon({{0, 0}, {10, 0}, {10, 10.0001}, {0, 10}});
    ASSERT_EQ(SyncTrailsByLength(path, 1, {5, 0}), 1);
    EXPECT_EQ(path.lists[0].GetSize(), 4);
    EXPECT_EQ(path.lists[1].GetSize(), 4);
    ExpectPoint(path.lists[0][0].start, -5, 0);         // the lower list moved by -offset

    // One element more below: the upper list gets a zero line at its end.
    const x_TrailDataArray triangle = Polygon({{0, 0}, {10, 0}, {0, 10}});
    path.lists[0] = triangle;
    path.lists[0].Add(Line(0, 0, 0, 0));
    path.lists[1] = triangle;
    ASSERT_EQ(SyncTrailsByLength(path, 0, {0, 0}), 1);
    ASSERT_EQ(path.lists[1].GetSize(), 4);
    EXPECT_EQ(path.lists[1][3].start, path.lists[1][3].end);
    // Two more: refused.
    path.lists[0] = triangle;
    path.lists[0].Add(Line(0, 0, 0, 0));
    path.lists[0].Add(Line(0, 0, 0, 0));
    path.lists[1] = triangle;
    EXPECT_EQ(SyncTrailsByLength(path, 0, {0, 0}), -5);
}

TEST_F(Sync, BySectorsSquareAgainstCircle)
{
    TrailPath path;
    path.lists[0] = Square(5);                          // corners at π/4, 3π/4, ...
    path.lists[1].Add(Arc(0, 0, 3, kPi / 4, kPi / 4, false));
    ASSERT_EQ(PairProfiles(path, 0, {0, 0}), 1);
    ASSERT_EQ(path.lists[1].GetSize(), 4);
    const double ends[] = {0.75 * kPi, 1.25 * kPi, 1.75 * kPi, 0.25 * kPi};
    // The centroid comes from the flattened circle, a few micro-radians off.
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(path.lists[1][i].endAngle, ends[i], 1e-5) << i;
}

TEST_F(Sync, BySectorsRefusals)
{
    TrailPath path;
    path.lists[0] = Square(5);
    x_TrailDataArray clockwise = Polygon({{5, 5}, {5, -5}, {-5, -5}, {-5, 5}});
    path.lists[1] = clockwise;
    EXPECT_EQ(PairProfiles(path, 0, {0, 0}), -3);
    path.lists[1].RemoveAll();
    path.lists[1].Add(Line(0, 0, 1, 0));
    path.lists[1].Add(Line(1, 0, 0, 0));
    EXPECT_EQ(PairProfiles(path, 0, {0, 0}), -2);
}

TEST_F(Sync, FullCirclesBecomeHalves)
{
    x_TrailDataArray list;
    list.Add(Arc(0, 0, 1, 0, 0, false, 3));
    list.Add(Arc(5, 0, 1, kPi, kPi, true, 3));
    EXPECT_EQ(FinishProfilePair(list), 1);
    ASSERT_EQ(list.GetSize(), 4);
    EXPECT_NEAR(list[0].endAngle, kPi, kExact);
    EXPECT_NEAR(list[1].startAngle, kPi, kExact);
    EXPECT_NEAR(list[2].endAngle, 0, kExact);
    EXPECT_EQ(list[0].group, 0);
    EXPECT_EQ(list[1].group, 1);
    EXPECT_EQ(list[2].group, 2);
    EXPECT_EQ(list[3].group, 3);
}
