#include <gtest/gtest.h>

#include <cmath>

#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CLine.h"
#include "geometry/CPolyLine.h"
#include "geometry/GeometryState.h"
#include "geometry/entity_edits.h"
#include "tests/geometry/entity_doc.h"

namespace {

constexpr double kTight = 1e-9;             // constructions exact up to rounding

class Edits : public testing::Test {
protected:
    void SetUp() override { ResetGeometryState(); }
};

void ExpectPoint(const x_Vector& got, double x, double y)
{
    EXPECT_NEAR(got.x, x, kTight);
    EXPECT_NEAR(got.y, y, kTight);
}

void ExpectLine(CUnit* u, double x1, double y1, double x2, double y2)
{
    ASSERT_NE(u, nullptr);
    ASSERT_EQ(u->GetType(), 1);
    ExpectPoint(u->GetStartPoint(), x1, y1);
    ExpectPoint(u->GetEndPoint(), x2, y2);
}

// A polyline as the edits see it: its vertex list.
void SetVertices(CUnit& u, std::initializer_list<x_Vector> vertices)
{
    for (const x_Vector& v : vertices)
        u.nodes.Add(v);
}

TEST_F(Edits, OffsetTowardThePickedSide)
{
    CLine line(0, 0, 10, 0);
    const struct { const char* name; x_Vector s; double y; } kCases[] = {
        {"above", {5, 3}, 2},
        {"below", {5, -3}, -2},
        {"beyond the end, above", {20, 3}, 2},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        CUnit* out = OffsetEntity(2, &line, c.s);
        ExpectLine(out, 0, c.y, 10, c.y);
        EXPECT_EQ(out->temporary, 1);
        delete out;
    }
    CCir* circle = NewCircle({0, 0}, 5);
    const struct { const char* name; double d; x_Vector s; double radius; } kCircles[] = {
        {"inside", 2, {1, 0}, 3},
        {"outside", 2, {9, 0}, 7},
        {"inside past the centre", 6, {1, 0}, -1},
        {"to nothing (radius 0 was accepted)", 5, {1, 0}, -1},
    };
    for (const auto& c : kCircles) {
        SCOPED_TRACE(c.name);
        CUnit* out = OffsetEntity(c.d, circle, c.s);
        if (c.radius < 0) {
            EXPECT_EQ(out, nullptr);
            continue;
        }
        ASSERT_NE(out, nullptr);
        EXPECT_DOUBLE_EQ(out->geometry.circle.radius, c.radius);
        EXPECT_EQ(out->geometry.circle.committed, 1);
        delete out;
    }
    CArc* arc = NewArc({0, 0}, 5, 0, kPi / 2, 0);
    CUnit* out = OffsetEntity(1, arc, {10, 10});
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->GetType(), 8);
    EXPECT_DOUBLE_EQ(out->geometry.arc.radius, 6);
    EXPECT_DOUBLE_EQ(out->geometry.arc.endAngle, kPi / 2);
    delete out;
    delete arc;
    delete circle;
}

TEST_F(Edits, FilletOfTheTwoAxes)
{
    TestDoc doc;
    CLine a(0, 0, 10, 0), b(0, 0, 0, 10);
    ASSERT_TRUE(FilletEntities(&a, &b, 0, 0, {2, 2}));
    ASSERT_EQ(doc.Count(), 3);
    CUnit* arc = doc.At(0);
    ASSERT_EQ(arc->GetType(), 8);
    const ArcRecord g = arc->geometry.arc;
    ExpectPoint(g.centre, 3, 3);
    EXPECT_NEAR(g.radius, 3, kTight);
    EXPECT_NEAR(g.startAngle, 3 * kPi / 2, kTight);
    EXPECT_NEAR(g.endAngle, kPi, kTight);
    EXPECT_EQ(g.direction, 1);
    ExpectLine(doc.At(1), 10, 0, 3, 0);
    ExpectLine(doc.At(2), 0, 10, 0, 3);
    EXPECT_EQ(g_EditStatus, 0);

    g_FilletRadius = 20;
    EXPECT_FALSE(FilletEntities(&a, &b, 0, 0, {2, 2}));
    EXPECT_EQ(g_EditStatus, -1);
    EXPECT_EQ(doc.Count(), 3);
}

// Segment index 0 addressed vertex -1.
TEST_F(Edits, PolylineCornerBySegments)
{
    TestDoc doc;
    CPolyLine pl;
    SetVertices(pl, {{0, 10}, {0, 0}, {10, 0}, {10, 5}});
    EXPECT_FALSE(FilletEntities(&pl, &pl, 0, 2, {2, 2}));
    EXPECT_FALSE(ChamferEntities(&pl, &pl, 1, 4));
    EXPECT_EQ(doc.Count(), 0);
    ASSERT_TRUE(FilletEntities(&pl, &pl, 1, 2, {2, 2}));
    ASSERT_EQ(doc.Count(), 4);
    ExpectPoint(doc.At(0)->geometry.arc.centre, 3, 3);
    ExpectLine(doc.At(1), 0, 10, 0, 3);
    ExpectLine(doc.At(2), 10, 0, 3, 0);
    ExpectLine(doc.At(3), 10, 0, 10, 5);         // the untouched segment
    ASSERT_TRUE(ChamferEntities(&pl, &pl, 1, 2));
    ExpectLine(doc.At(4), 0, 3, 3, 0);
}

TEST_F(Edits, ChamferOfTheTwoAxes)
{
    TestDoc doc;
    CLine a(0, 0, 10, 0), b(0, 0, 0, 10);
    ASSERT_TRUE(ChamferEntities(&a, &b, 0, 0));
    ASSERT_EQ(doc.Count(), 3);
    ExpectLine(doc.At(0), 3, 0, 0, 3);
    ExpectLine(doc.At(1), 10, 0, 3, 0);
    ExpectLine(doc.At(2), 0, 10, 0, 3);
    g_ChamferDist2 = 11;
    EXPECT_FALSE(ChamferEntities(&a, &b, 0, 0));
    EXPECT_EQ(g_EditStatus, -1);
    CLine parallel(0, 5, 10, 5);
    EXPECT_FALSE(ChamferEntities(&a, &parallel, 0, 0));
}

TEST_F(Edits, ExtendToASelectedLine)
{
    TestDoc doc;
    CLine line(0, 0, 5, 0);
    CLine* boundary = doc.Add(new CLine(8, -5, 8, 5));
    EXPECT_FALSE(ExtendEntity(&line, 0));       // nothing selected
    boundary->selected = 1;
    ASSERT_TRUE(ExtendEntity(&line, 0));
    ExpectLine(&line, 0, 0, 8, 0);
    CCir circle;
    EXPECT_FALSE(ExtendEntity(&circle, 0));
}

TEST_F(Edits, TangentsOfTwoUnitCircles)
{
    CCir* left = NewCircle({0, 0}, 1);
    CCir* right = NewCircle({10, 0}, 1);
    x_LineData t[4];
    ASSERT_TRUE(TangentOfCircles(left, right, t));
    ExpectPoint(t[0].p1, 0, 1);
    ExpectPoint(t[0].p2, 10, 1);
    ExpectPoint(t[1].p1, 0, -1);
    ExpectPoint(t[1].p2, 10, -1);
    // Inner tangents cross at (5, 0): sin β = 0.2.
    const double c = std::sqrt(0.96);
    ExpectPoint(t[2].p1, 0.2, -c);
    ExpectPoint(t[2].p2, 9.8, c);
    ExpectPoint(t[3].p1, 0.2, c);
    ExpectPoint(t[3].p2, 9.8, -c);
    for (const x_LineData& l : t)
        EXPECT_EQ(l.used, 1);
    // Symmetric: the other way round the same lines appear.
    ASSERT_TRUE(TangentOfCircles(right, left, t));
    ExpectPoint(t[0].p1, 10, -1);

    CCir* inner = NewCircle({0.5, 0}, 0.2);
    EXPECT_FALSE(TangentOfCircles(left, inner, t));   // no tangent: was true
    for (const x_LineData& l : t)
        EXPECT_EQ(l.used, 0);
    CCir* concentric = NewCircle({0, 0}, 3);
    EXPECT_FALSE(TangentOfCircles(left, concentric, t));
    CLine line(0, 0, 1, 1);
    EXPECT_FALSE(TangentOfCircles(left, &line, t));
    delete left;
    delete right;
    delete inner;
    delete concentric;
}

// The corner of a path turning from +x to +y, offset 1 outward: the arc
// must run from the first element's end to the second element's start.
TEST_F(Edits, ConnectingArcEndsOnTheNextElementsStart)
{
    const x_Vector endA(0, -1), startB(1, 0);
    ArcRecord arc;
    ASSERT_TRUE(ConnectingArc(arc, 1, endA, endA + x_Vector(10, 0), startB, startB + x_Vector(0, -10),
                              1.0, x_Vector(0, 0)));
    ExpectPoint(arc.centre, 0, 0);
    EXPECT_NEAR(arc.radius, 1, kTight);
    ExpectPoint(ArcPointAt(arc, arc.startAngle), 0, -1);
    ExpectPoint(ArcPointAt(arc, arc.endAngle), 1, 0);
    EXPECT_EQ(arc.direction, 0);
    // Parallel tangents never meet; coincident ends make no arc.
    EXPECT_FALSE(ConnectingArc(arc, 1, {0, 0}, {10, 0}, {0, 2}, {10, 2}, 1, {0, 1}));
    EXPECT_FALSE(ConnectingArc(arc, 1, endA, endA + x_Vector(10, 0), endA, endA + x_Vector(0, -10),
                               1, {0, 0}));
}

} // namespace
