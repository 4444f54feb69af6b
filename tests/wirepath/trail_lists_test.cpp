#include "tests/wirepath/trail_fixture.h"
#include "wirepath/TrailPath.h"
#include "wirepath/trail_lists.h"
#include "wirepath/trail_metrics.h"

using Lists = WirepathTest;

namespace {

x_TrailDataArray TwoLines()
{
    x_TrailDataArray list;
    list.Add(Line(0, 0, 10, 0, 4));
    list.Add(Line(10, 0, 20, 0, 4));
    list[0].length = list[1].length = 10;
    return list;
}

} // namespace

TEST_F(Lists, SplitFromEndMarksThePause)
{
    x_TrailDataArray list = TwoLines();
    list[1].attribute = 3;
    EXPECT_EQ(SplitTrailFromEnd(list, 5), 1);
    ASSERT_EQ(list.GetSize(), 3);
    ExpectPoint(list[1].end, 15, 0);
    EXPECT_EQ(list[1].attribute, 1);
    EXPECT_EQ(list[1].length, 5);
    ExpectPoint(list[2].start, 15, 0);
    EXPECT_EQ(list[2].attribute, 3);
    EXPECT_EQ(list[2].group, 1);            // -10 until renumbered
    list = TwoLines();
    EXPECT_EQ(SplitTrailFromEnd(list, 10), 1);
    EXPECT_EQ(list.GetSize(), 2);
    EXPECT_EQ(list[1].attribute, 1);
    EXPECT_EQ(SplitTrailFromEnd(list, 25), -1);
}

TEST_F(Lists, LocateSkipsLeadLinesAndRecordsThePlace)
{
    x_TrailDataArray list;
    x_TrailData lead = Line(0, -3, 0, 0);
    lead.role = 1;
    list.Add(lead);
    list.Add(Line(0, 0, 8, 0));
    list.Add(Line(8, 0, 8, -3));
    list[2].role = 1;
    SplitPlace place;
    EXPECT_EQ(LocateTrailDistance(list, 0, 1, 2, place), 2);
    EXPECT_EQ(place.index, 1);
    EXPECT_NEAR(place.fraction, 0.25, kExact);
    ExpectPoint(list[1].end, 2, 0);
    EXPECT_EQ(list[1].attribute, 1);
    // From the start the last element is never chosen.
    x_TrailDataArray shortList;
    shortList.Add(lead);
    shortList.Add(Line(0, 0, 8, 0));
    EXPECT_EQ(LocateTrailDistance(shortList, 0, 0, 4, place), -1);
    EXPECT_EQ(LocateTrailDistance(shortList, 1, 0, 4, place), 1);
}

TEST_F(Lists, SplitArcAndPartnerSegment)
{
    x_TrailDataArray list;
    list.Add(Arc(0, 0, 2, 6.0, 1.0, false));
    list.Add(Line(0, 0, 4, 0));
    EXPECT_EQ(SplitTrailSegment(list, 0, 0, 0, 1.0 / TrailElementLength(list[0])), 1);
    EXPECT_NEAR(list[0].endAngle, 6.5 - kTwoPi, kExact);
    EXPECT_NEAR(list[1].startAngle, 6.5 - kTwoPi, kExact);
    EXPECT_EQ(SplitTrailSegment(list, 1, 2, 1, 0.5), 2);
    ExpectPoint(list[2].end, 2, 0);
    EXPECT_EQ(SplitTrailSegment(list, 0, 9, 0, 0.5), -1);
}

TEST_F(Lists, LeadLinesTreatKindZeroAsALine)
{
    TrailPath path;
    LeadLines lead;
    lead.in.p1 = x_Vector(10, -5);
    lead.out.p2 = x_Vector(10, -6);
    AddLeadInOut(path, 0, lead, 0);
    EXPECT_TRUE(path.lists[0].IsEmpty());
    x_TrailData jump = Line(1, 1, 2, 2);
    jump.kind = 0;
    path.lists[0].Add(jump);
    AddLeadInOut(path, 0, lead, 0);
    ASSERT_EQ(path.lists[0].GetSize(), 3);
    ExpectPoint(path.lists[0][0].end, 1, 1);        // was the arc point (0, 0)
    ExpectPoint(path.lists[0][2].start, 2, 2);
    ExpectPoint(path.lists[0][2].end, 10, -6);
    EXPECT_EQ(path.lists[0][0].role, 1);
    AddLeadInOut(path.lists[1], lead, 0);
    path.lists[1].Add(Line(0, 0, 1, 0));
    AddLeadInOut(path.lists[1], lead, 1);
    EXPECT_EQ(path.lists[1][2].start, path.lists[1][2].end);
}

TEST_F(Lists, ClosedTestConnectingLinesReversalAndAttributes)
{
    x_TrailDataArray list;
    list.Add(Arc(0, 0, 5, 0, 0, false));
    EXPECT_FALSE(IsClosedTrail(list));
    list.Add(Line(5, 0, 5, 0.0005));
    EXPECT_TRUE(IsClosedTrail(list));
    x_TrailDataArray links;
    EXPECT_FALSE(TrailSegmentPoint(links, 1, 4, Line(0, 0, 5, 5), Line(5, 5.0005, 9, 9), false));
    EXPECT_TRUE(TrailSegmentPoint(links, 2, 4, Line(0, 0, 5, 5), Line(6, 5, 9, 9), true));
    ExpectPoint(links[0].end, 9, 9);
    EXPECT_EQ(links[0].role, 4);
    EXPECT_EQ(links[0].tag, 1);
    x_TrailData a = Arc(0, 0, 1, 1.0, 0.5, true);
    ReverseTrailSegment(a);
    EXPECT_EQ(a.kind, 3);
    EXPECT_EQ(a.direction, 0);
    EXPECT_EQ(a.startAngle, 0.5);
    x_TrailDataArray three = list;
    three.Add(Line(0, 0, 1, 0));
    list[1].attribute = 1;
    EXPECT_FALSE(CopySegmentAttribute(list, three));
    x_TrailDataArray copy = list;
    copy[1].attribute = 0;
    EXPECT_TRUE(CopySegmentAttribute(list, copy));
    EXPECT_EQ(copy[1].attribute, 1);
}
