#include <cmath>

#include "geometry/CArc.h"
#include "geometry/CDimAngle.h"
#include "tests/geometry/dimension_support.h"

namespace {

class AngleDimension : public DimensionTest {
protected:
    // From the lines (-10, 0)-(10, 0) and (0, -10)-(0, 10), vertex (0, 0).
    void FromCrossingLines(CDimAngle& d)
    {
        DimAngleRecord& w = d.Working();
        w.fromLines = 1;
        w.line1Start = {-10, 0};
        w.line1End = {10, 0};
        w.line2Start = {0, -10};
        w.line2End = {0, 10};
        w.centre = {0, 0};
        g_cmdStep = 2;
        g_cmdPointCount = 2;
    }
    CUnitView view;
};

TEST_F(AngleDimension, EachQuadrantOfTwoCrossingLinesIsARightAngle)
{
    const struct {
        const char* name;
        x_Vector cursor;
        double start, end;
    } kCases[] = {
        {"first quadrant", {3, 3}, 0, kPi / 2},
        {"second", {-3, 3}, kPi / 2, kPi},
        {"third", {-3, -3}, kPi, 3 * kPi / 2},
        {"fourth", {3, -3}, 3 * kPi / 2, 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        CDimAngle d;
        FromCrossingLines(d);
        d.InteractiveStep(nullptr, &view, c.cursor);
        ExpectAngle(d.Working().startAngle, c.start);
        ExpectAngle(d.Working().endAngle, c.end);
        EXPECT_NEAR(d.Working().radius, std::sqrt(18.0), 1e-12);
        d.CommitTransform();
        d.Draw(nullptr, 1, nullptr);
        EXPECT_EQ(d.text, CString(u"90.0000°"));
    }
}

TEST_F(AngleDimension, WitnessesStartAtTheLineEndsOnEachSide)
{
    CDimAngle d;
    FromCrossingLines(d);
    d.InteractiveStep(nullptr, &view, {-3, 3});
    ExpectNear(d.Working().witness1, 0, 10);
    ExpectNear(d.Working().witness2, -10, 0);
    // The first quadrant starts at 2π (the direction π of line 1 turned by
    // π): its witness is still the end of line 1 along 0.
    d.InteractiveStep(nullptr, &view, {3, 3});
    ExpectNear(d.Working().witness1, 10, 0);
    ExpectNear(d.Working().witness2, 0, 10);

    CDimAngle fromVertex;
    FromCrossingLines(fromVertex);
    fromVertex.Working().line1Start = {0, 0};      // starts on the vertex: measures toward its end
    fromVertex.InteractiveStep(nullptr, &view, {3, 3});
    ExpectAngle(fromVertex.Working().startAngle, 0);
    ExpectNear(fromVertex.Working().witness1, 10, 0);
}

TEST_F(AngleDimension, ArcOfAHalfCircleReads180)
{
    CArc* arc = NewArc({5, 5}, 4, 0, kPi, 0);
    CDimAngle d;
    DimAngleRecord& w = d.Working();
    w.centre = arc->geometry.arc.centre;
    w.startAngle = 0;
    w.endAngle = kPi;
    w.witnessRadius = 4;
    w.value = arc->GetSweepAngle();
    g_cmdStep = 2;
    g_cmdPointCount = 2;
    d.InteractiveStep(nullptr, &view, {5, 11});
    EXPECT_EQ(w.radius, 6);
    d.CommitTransform();
    d.Draw(nullptr, 1, nullptr);
    EXPECT_EQ(d.text, CString(u"180.0000°"));
    EXPECT_NEAR(d.GetSweepAngle(), kPi, 1e-12);
    ExpectNear(d.GetStartPoint(), 11, 5);
    ExpectNear(d.extentMin, -1, 5);
    ExpectNear(d.extentMax, 11, 11);
    ASSERT_EQ(d.gripPoints.GetSize(), 3);
    ExpectNear(d.gripPoints[1], 5, 11);             // the middle of the arc
    // Inside the sector near the vertex the distance is the vertex's.
    x_Vector nearVertex(5.5, 5.5), below(5, 2);
    EXPECT_NEAR(d.DistanceTo(nearVertex, 0, 0, 0), std::sqrt(0.5), 1e-12);
    EXPECT_EQ(d.DistanceTo(below, 0, 0, 0), 1e10);
    delete arc;
}

TEST_F(AngleDimension, TailIs94BytesWithAnEmptyText)
{
    CDimAngle d;
    DimAngleRecord& r = d.Current();
    r.centre = {1, 2};
    r.startAngle = 0.5;
    r.endAngle = 3;
    r.witnessRadius = 4;
    r.radius = 5;
    r.direction = 1;
    r.value = 2.5 - 0.5;
    r.fromLines = 1;
    r.witness1 = {6, 7};
    r.witness2 = {8, 10};
    r.line1End = {3, 3};                            // not archived
    const Bytes want = Hex(
        "000000000000f03f 0000000000000040"           // centre
        "000000000000e03f 0000000000000840"           // start, end angle
        "fffeff00"                                    // empty stored text
        "0000000000001040 0000000000001440 01"        // witness radius, radius, direction
        "0000000000000040 01"                         // value, fromLines
        "0000000000001840 0000000000001c40"           // witness1
        "0000000000002040 0000000000002440");         // witness2
    ASSERT_EQ(want.size(), 94u);
    EXPECT_EQ(TailOf(d), want);
    CDimAngle read;
    LoadBytes(RecordOf(d), [&](CArchive& ar) { read.Serialize(ar); });
    EXPECT_EQ(RecordOf(read), RecordOf(d));
    ExpectNear(read.Current().line1End, 0, 0);
}

// Every move copied the working record into the current one, so a grip
// drag that was given up still left the dimension changed.
TEST_F(AngleDimension, CancelledGripDragLeavesTheDimensionAsItWas)
{
    CDimAngle d;
    FromCrossingLines(d);
    d.InteractiveStep(nullptr, &view, {3, 3});
    d.CommitTransform();
    d.Draw(nullptr, 1, nullptr);
    d.selected = 1;
    g_cmdStep = 1;
    g_curCommand = 0;
    d.OnPick(nullptr, &view, d.gripPoints[1]);
    ASSERT_EQ(g_cmdStep, 4);
    d.InteractiveStep(nullptr, &view, {-6, -2});
    EXPECT_NEAR(d.Working().startAngle, kPi, 1e-12);        // the preview follows
    ExpectAngle(d.Current().startAngle, 0);
    EXPECT_NEAR(d.Current().radius, std::sqrt(18.0), 1e-12);
    d.Draw(nullptr, 1, nullptr);                             // the next frame after Esc
    ExpectAngle(d.Working().startAngle, 0);
}

// The line points are not archived; built from (0, 0) the angle pairs
// turned a loaded dimension's angle to 0.
TEST_F(AngleDimension, GripDragOfALoadedDimensionKeepsItsAngles)
{
    CDimAngle made;
    FromCrossingLines(made);
    made.InteractiveStep(nullptr, &view, {-3, 3});
    made.CommitTransform();
    CDimAngle d;
    LoadBytes(RecordOf(made), [&](CArchive& ar) { d.Serialize(ar); });
    d.Draw(nullptr, 1, nullptr);
    d.selected = 1;
    g_cmdStep = 1;
    d.OnPick(nullptr, &view, d.gripPoints[0]);
    d.InteractiveStep(nullptr, &view, {-8, 6});
    EXPECT_NEAR(d.Working().startAngle, kPi / 2, 1e-12);
    EXPECT_NEAR(d.Working().endAngle, kPi, 1e-12);
    EXPECT_NEAR(d.Working().radius, 10, 1e-12);
    EXPECT_NEAR(d.Working().value, kPi / 2, 1e-12);
}

// The line points move with the dimension, so after a move the drag still
// finds the quadrants about the new vertex.
TEST_F(AngleDimension, GripDragAfterAMoveChoosesAboutTheNewVertex)
{
    CDimAngle d;
    FromCrossingLines(d);
    d.InteractiveStep(nullptr, &view, {3, 3});
    d.CommitTransform();
    d.Move({100, 0});
    d.CommitTransform();
    d.Draw(nullptr, 1, nullptr);
    d.selected = 1;
    g_cmdStep = 1;
    d.OnPick(nullptr, &view, d.gripPoints[1]);
    d.InteractiveStep(nullptr, &view, {97, -3});
    EXPECT_NEAR(d.Working().startAngle, kPi, 1e-12);
    EXPECT_NEAR(d.Working().endAngle, 3 * kPi / 2, 1e-12);
    ExpectNear(d.Working().witness1, 90, 0);
}

TEST_F(AngleDimension, TransformsTurnTheAngles)
{
    CDimAngle d;
    DimAngleRecord& c = d.Current();
    c.centre = {1, 0};
    c.startAngle = 0;
    c.endAngle = kPi / 2;
    c.radius = 2;
    ASSERT_TRUE(d.Rotate({0, 0}, kPi));
    ExpectNear(d.Working().centre, -1, 0, 1e-12);
    EXPECT_NEAR(d.Working().startAngle, kPi, 1e-12);
    EXPECT_NEAR(d.Working().endAngle, 3 * kPi / 2, 1e-12);
    ASSERT_TRUE(d.Mirror({0, 0}, {1, 0}));
    EXPECT_EQ(d.Working().direction, 1);
    EXPECT_NEAR(d.Working().endAngle, 3 * kPi / 2, 1e-12);
    EXPECT_NEAR(d.Working().startAngle, 0, 1e-12);
    ASSERT_TRUE(d.Scale({0, 0}, {3, 3}));
    EXPECT_EQ(d.Working().radius, 6);
    EXPECT_EQ(d.Working().witnessRadius, 0);
}

} // namespace
