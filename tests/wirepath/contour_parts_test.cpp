#include <cmath>

#include "geometry/CEllipseArc.h"
#include "geometry/CSplines.h"
#include "tests/wirepath/chain_fixture.h"
#include "wirepath/contour_build.h"
#include "wirepath/path_codes.h"
#include "wirepath/trail_offset.h"

using ContourParts = ChainTest;

TEST_F(ContourParts, InclineShiftAsDistanceOrAngle)
{
    x_TrailDataArray list;
    list.Add(Line(0, 0, 1, 0));
    list.Add(Arc(0, 0, 1, 0, 1, false));
    double sx, sy;
    settings.inclineX = 1;
    settings.inclineAsDistance = true;
    ApplyInclineShift(settings, list, sx, sy);
    EXPECT_EQ(sx, 1.0);
    EXPECT_EQ(sy, 0.0);
    ExpectPoint(list[0].start, 1, 0);
    ExpectPoint(list[1].centre, 1, 0);
    settings.inclineAsDistance = false;
    settings.inclineX = 0;
    settings.inclineY = 45;
    settings.thickness = 2;
    ApplyInclineShift(settings, list, sx, sy);
    EXPECT_NEAR(sy, 2.0, 1e-12);
    ExpectPoint(list[0].end, 2, 2, 1e-12);
}

TEST_F(ContourParts, OffsetForCutModeCopiesAtZeroAndTapersTheUpperPass)
{
    const x_TrailDataArray square = Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    x_TrailDataArray out;
    EXPECT_EQ(OffsetTrailForCutMode(settings, false, square, out, 1, 0, 1, 0.2, -0.2, 0), kOffsetOk);
    EXPECT_EQ(out[2].end, square[2].end);
    settings.cutMode = 1;
    settings.taperAngle = 45;
    settings.thickness = 1;
    ASSERT_EQ(OffsetTrailForCutMode(settings, true, square, out, 1, 0, 1, 0.1, 0.0, 0), kOffsetOk);
    ExpectPoint(out[0].start, 0.9, 0.9, 1e-9);          // outward shape: 0.1 - tan 45° × 1
    // A contour through a neck narrower than twice the offset is refused
    // by the checked variant.
    const x_TrailDataArray dumbbell = Polygon({{0, 0}, {10, 0}, {10, 4.925}, {12, 4.925}, {12, 0}, {22, 0},
                                               {22, 10}, {12, 10}, {12, 5.075}, {10, 5.075}, {10, 10}, {0, 10}});
    EXPECT_EQ(CheckedOffsetForCutMode(settings, false, dumbbell, out, 1, 1, 1, 0.1, 0.0, 0), kOffsetSelfCrossing);
    EXPECT_EQ(CheckedOffsetForCutMode(settings, false, dumbbell, out, 1, 1, 1, 0.05, 0.0, 0), kOffsetOk);
}

TEST_F(ContourParts, MergeGivesEveryInsertedElementAPartner)
{
    x_TrailDataArray a, b;
    a.Add(Line(0, 0, 1, 0));
    a.Add(Line(1, 0, 1, 1));
    a[1].tag = 100;
    a.Add(Line(1, 1, 0, 1));
    b.Add(Line(0, 0, 2, 0));
    b.Add(Line(2, 0, 2, 2));
    x_TrailData extra = Line(2, 2, 3, 3);
    extra.tag = 100;
    b.Add(extra);
    b.Add(Line(3, 3, 0, 2));
    MergeTrailPair(a, b);
    // B's extra last element has no partner to get: it was one longer.
    ASSERT_EQ(a.GetSize(), 4);
    ASSERT_EQ(b.GetSize(), 5);
    ExpectPoint(b[1].start, 2, 0);                      // partner at B's next start
    EXPECT_EQ(b[1].start, b[1].end);
    EXPECT_EQ(b[1].tag, 100);
    EXPECT_EQ(a[3].start, a[3].end);                    // partner of B's inserted element
    ExpectPoint(a[3].start, 0, 1);
}

TEST_F(ContourParts, ShiftedLeadLinesKeepBothListsInStep)
{
    path.lists[0] = Polygon({{0, 0}, {10, 0}, {10, 10}});
    path.lists[1] = path.lists[0];
    for (x_TrailData& e : path.lists[1]) {
        e.start = e.start + x_Vector(1, 0);
        e.end = e.end + x_Vector(1, 0);
    }
    LeadLines lead;
    lead.in.p1 = x_Vector(-5, 0);
    lead.out.p2 = x_Vector(-5, 0);
    AddLeadLines(path, lead, false, true, 1, 0, false);
    ASSERT_EQ(path.lists[0].GetSize(), 7);
    ASSERT_EQ(path.lists[1].GetSize(), 7);
    // Upper: the move to the shifted threading point, its lead-in, ...
    ExpectPoint(path.lists[1][0].start, -5, 0);
    ExpectPoint(path.lists[1][0].end, -4, 0);
    ExpectPoint(path.lists[1][1].end, 1, 0);
    ExpectPoint(path.lists[1][6].end, -5, 0);
    // ... and lines of length zero at the same places below.
    EXPECT_EQ(path.lists[0][0].start, path.lists[0][0].end);
    EXPECT_EQ(path.lists[0][5].attribute, 1);
    EXPECT_EQ(path.lists[1][5].attribute, 1);
}

TEST_F(ContourParts, PauseBeforeCutOffMarksTheLastContourElement)
{
    settings.pauseBeforeCutOff = true;
    TakeClosed(kRectangle);
    ASSERT_EQ(Build(Request({10, -5}, {10, 0}, 1)), kPathOk);
    ASSERT_EQ(path.lists[0].GetSize(), 7);
    EXPECT_EQ(path.lists[0][5].attribute, 1);
    EXPECT_EQ(path.lists[0][4].attribute, 0);
    // With a distance, the pause falls that far before the end.
    settings.pauseDistance = 2;
    ASSERT_EQ(Build(Request({10, -5}, {10, 0}, 1)), kPathOk);
    ASSERT_EQ(path.lists[0].GetSize(), 8);
    EXPECT_EQ(path.lists[0][5].attribute, 1);
    ExpectPoint(path.lists[0][5].end, 8, -0.1, 1e-9);
}

TEST_F(ContourParts, FittedCurvesAreTaggedInTheirMiddle)
{
    EllipseRecord e;
    e.centre = x_Vector(0, 0);
    e.majorAxis = x_Vector(20, 0);
    e.axisRatio = 0.5;
    CUnitArray copies;
    copies.Add(NewEllipseArc(e, 0, kPi));
    auto* spline = new CSplines();
    for (int i = 0; i < 6; ++i)
        spline->flatPoints.Add(x_Vector(30 + i, (i % 2) * 0.5));
    copies.Add(spline);
    x_TrailDataArray out;
    ASSERT_TRUE(ConvertCopies(copies, settings, out));
    int ellipsePieces = 0;
    for (const x_TrailData& el : out)
        ellipsePieces += el.group == 0;
    ASSERT_GE(ellipsePieces, 5);
    EXPECT_EQ(out[0].tag, 0);
    EXPECT_EQ(out[1].tag, 0);
    EXPECT_EQ(out[2].tag, 1);
    EXPECT_EQ(out[ellipsePieces - 2].tag, 0);
    EXPECT_EQ(out[ellipsePieces - 1].tag, 0);
    ExpectPoint(out[0].StartPoint(), 20, 0, 1e-3);
    ExpectPoint(out[ellipsePieces - 1].EndPoint(), -20, 0, 1e-3);
    // The spline's five segments: tags by their end point index 1 .. 5 of 6.
    ASSERT_EQ(out.GetSize(), ellipsePieces + 5);
    const int expected[] = {0, 1, 1, 0, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(out[ellipsePieces + i].tag, expected[i]) << i;
    spline->geometry.spline.closed = 1;
    out.RemoveAll();
    ConvertCopies(copies, settings, out);
    EXPECT_EQ(out[out.GetSize() - 1].tag, 1);
    for (int i = 0; i < copies.GetSize(); ++i)
        delete copies[i];
}
