#include <gtest/gtest.h>

#include <cmath>

#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CLine.h"
#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "tests/support/archive_bytes.h"
#include "tests/geometry/entity_doc.h"

namespace {

class Circle : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGeometryState();
        SetDefaultDrawingSettings();
    }
};

void ExpectPoint(const x_Vector& got, double x, double y, double tol = 1e-9)
{
    EXPECT_NEAR(got.x, x, tol);
    EXPECT_NEAR(got.y, y, tol);
}

TEST_F(Circle, PointsLengthAndExactHit)
{
    CCir* c = NewCircle(x_Vector(1, 2), 3);
    ExpectPoint(c->GetStartPoint(), 4, 2);
    ExpectPoint(c->GetEndPoint(), 4, 2);
    ExpectPoint(c->GetMidPoint(), -2, 2);
    EXPECT_NEAR(c->GetLength(), 6 * kPi, 1e-12);
    EXPECT_TRUE(c->HitTest(x_Vector(4.00005, 2), 1));
    EXPECT_FALSE(c->HitTest(x_Vector(4.0002, 2), 1));
    x_Vector at;
    EXPECT_EQ(c->Break(x_Vector(4, 2), at), -1);
    g_ViewScale = 0.001;                                         // raised to 0.01 first
    EXPECT_TRUE(c->HitTest(x_Vector(700, 2), 0));
    EXPECT_EQ(g_ViewScale, 0.01);
    delete c;
}

TEST_F(Circle, OffsetInwardLimitAndOutward)
{
    const struct { const char* name; double d; int side; bool made; double r; } kCases[] = {
        {"inside past the centre", 10.00005, 2, false, 0},
        {"inside near the centre", 9.999, 2, true, 0.001},
        {"outside", 2.5, 1, true, 12.5},
    };
    for (const auto& k : kCases) {
        SCOPED_TRACE(k.name);
        CCir* c = NewCircle(x_Vector(1, 1), 10);
        CUnit* out = nullptr;
        EXPECT_EQ(c->Offset(out, k.d, k.side), k.made);
        if (k.made) {
            EXPECT_NEAR(out->geometry.circle.radius, k.r, 1e-12);
            EXPECT_EQ(out->geometry.circle.centre, x_Vector(1, 1));
            delete out;
        }
        delete c;
    }
}

TEST_F(Circle, TrimLeavesTheArcBeyondTheCrossings)
{
    TestDoc doc;
    CCir* c = doc.Add(NewCircle(x_Vector(0, 0), 5));
    doc.Add(new CLine(3, -10, 3, 10));                           // crosses at (3, ±4)
    EXPECT_EQ(c->Trim(0, x_Vector(5.05, 0), 0), 1);
    EXPECT_TRUE(c->deleted);
    EXPECT_EQ(doc.deletions, 1);
    ASSERT_EQ(doc.Count(), 3);
    CUnit* arc = doc.At(2);
    ASSERT_EQ(arc->GetType(), 8);
    EXPECT_NEAR(arc->GetStartAngle(), std::atan2(4.0, 3.0), 1e-9);
    EXPECT_NEAR(arc->GetEndAngle(), kTwoPi - std::atan2(4.0, 3.0), 1e-9);
    ExpectPoint(arc->GetMidPoint(), -5, 0);

    TestDoc one;
    CCir* touched = one.Add(NewCircle(x_Vector(0, 0), 5));
    one.Add(new CLine(5, -10, 5, 10));                           // touches once
    EXPECT_EQ(touched->Trim(0, x_Vector(0, 5), 0), 0);
    one.Add(new CLine(5.0005, -10, 5.0005, 10));                 // equal within 0.001
    EXPECT_EQ(touched->Trim(0, x_Vector(0, 5), 0), 0);
    EXPECT_EQ(one.Count(), 3);
}

TEST_F(Circle, TransformsWriteTheWorkingCopyOnly)
{
    CCir* c = NewCircle(x_Vector(1, 1), 2);
    EXPECT_TRUE(c->Scale(x_Vector(0, 0), x_Vector(2, 3)));
    EXPECT_EQ(c->workGeometry.circle.centre, x_Vector(2, 3));
    EXPECT_EQ(c->workGeometry.circle.radius, 4.0);
    EXPECT_EQ(c->geometry.circle.radius, 2.0);
    EXPECT_EQ(c->inputPoints[0], x_Vector(-2, -1));
    c->CommitTransform();
    EXPECT_EQ(c->geometry.circle.radius, 4.0);
    EXPECT_EQ(c->geometry.circle.committed, 1);
    c->gearKind = 1;
    EXPECT_FALSE(c->Scale(x_Vector(0, 0), x_Vector(2, 2)));
    delete c;
}

TEST_F(Circle, GearCirclesOfOneGroupCommitOnce)
{
    TestDoc doc;
    CCir* a = doc.Add(NewCircle(x_Vector(0, 0), 5));
    CCir* b = doc.Add(NewCircle(x_Vector(0, 0), 3));
    for (CCir* c : {a, b}) {
        c->gearKind = 1;
        c->group = 7;
        c->Move(x_Vector(2, 0));
    }
    a->CommitTransform();                                        // used to recurse without end
    EXPECT_EQ(a->geometry.circle.centre, x_Vector(2, 0));
    EXPECT_EQ(b->geometry.circle.centre, x_Vector(2, 0));
}

TEST_F(Circle, SplitByCutModeAndDirection)
{
    const struct { const char* name; std::uint8_t mode; int k; int pieces; double s0, e0, dir; } kCases[] = {
        {"two halves, own direction", 0, 2, 2, kPi / 2, kPi / 2 + kPi, 0},
        {"two halves, reversed", 0, 1, 2, kPi / 2 + kTwoPi, kPi / 2 + kPi, 1},
        {"two-profile: one full arc", 2, 2, 1, kPi / 2, kPi / 2 + kTwoPi, 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TestDoc doc;
        g_CreateTrailPoints.RemoveAll();
        g_CutMode = c.mode;
        CCir* circle = doc.Add(NewCircle(x_Vector(0, 0), 2));
        x_Vector out;
        EXPECT_EQ(circle->SplitAtCrossings(0, x_Vector(0, 2), c.k, 0, out), 1);
        EXPECT_EQ(out, x_Vector(0, 2));
        ASSERT_EQ(doc.Count(), 1 + c.pieces);
        EXPECT_NEAR(doc.At(1)->GetStartAngle(), c.s0, 1e-12);
        EXPECT_NEAR(doc.At(1)->GetEndAngle(), c.e0, 1e-12);
        EXPECT_EQ(doc.At(1)->GetDirection(), c.dir != 0);
        ExpectPoint(doc.At(1)->GetStartPoint(), 0, 2);
        ASSERT_EQ(g_CreateTrailPoints.GetSize(), c.pieces);
        for (int i = 1; i <= c.pieces; ++i) {
            EXPECT_TRUE(doc.At(i)->selected);
            EXPECT_TRUE(doc.At(i)->temporary);
            EXPECT_EQ(g_CreateTrailPoints[i - 1].index, i);
        }
        if (c.pieces == 2)
            ExpectPoint(doc.At(2)->GetEndPoint(), 0, 2);
        EXPECT_FALSE(circle->visible);
    }
}

TEST_F(Circle, DirectionRecordsBothWays)
{
    CCir* c = NewCircle(x_Vector(0, 0), 2);
    EXPECT_TRUE(c->AppendDirectionRecord(x_Vector(0, 2)));
    ASSERT_EQ(g_TrailDirections.GetSize(), 2);
    EXPECT_NEAR(g_TrailDirections[0].angle, kPi, 1e-12);
    EXPECT_EQ(g_TrailDirections[0].direction, 2);
    EXPECT_NEAR(g_TrailDirections[1].angle, kTwoPi, 1e-12);
    EXPECT_EQ(g_TrailDirections[1].direction, 1);
    EXPECT_FALSE(c->AppendDirectionRecord(x_Vector(0, 2.001)));
    delete c;
}

TEST_F(Circle, ArchiveTailAndReadBack)
{
    CCir* c = NewCircle(x_Vector(2, -3), 5);
    c->CommitTransform();                                        // committed byte 1
    const auto bytes = StoreBytes([&](CArchive& ar) { c->Serialize(ar); });
    ASSERT_EQ(bytes.size(), 162u + 25u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 162, bytes.end()),
              Hex("0000000000000040 00000000000008c0 0000000000001440 01"));
    auto tail = Hex("0000000000000040 00000000000008c0 0000000000001440 07");
    std::vector<std::uint8_t> record(162, 0);
    record.insert(record.end(), tail.begin(), tail.end());
    CCir read;
    LoadBytes(record, [&](CArchive& ar) { read.Serialize(ar); });
    EXPECT_EQ(read.geometry.circle.centre, x_Vector(2, -3));
    EXPECT_EQ(read.geometry.circle.radius, 5.0);
    EXPECT_EQ(read.geometry.circle.committed, 7);
    EXPECT_EQ(read.geometry.circle.direction, 0);
    delete c;
}

TEST_F(Circle, SnapKindsAndGrips)
{
    g_ViewScale = 10;                                            // 8 pixels = 0.8 mm
    CCir* c = NewCircle(x_Vector(0, 0), 5);
    c->Draw(nullptr, 1, nullptr);
    c->EnsureGripPoints();                   // a frame leaves them to the first reader
    ASSERT_EQ(c->gripPoints.GetSize(), 5);
    EXPECT_EQ(c->HitTestGrip(x_Vector(0.1, 4.9)), 2);
    EXPECT_EQ(c->HitTestGrip(x_Vector(0.1, 0.2)), 5);
    x_Vector r(10, 0), cur(0.2, -0.1);
    EXPECT_TRUE(c->SnapPoints(r, cur, 0, 0));
    EXPECT_EQ(c->snapKind, 3);
    cur = {2.6, 4.4};
    EXPECT_TRUE(c->SnapPoints(r, cur, 0, 2));
    EXPECT_EQ(c->snapKind, 8);
    ExpectPoint(c->edit->gripHit, 2.5, std::sqrt(18.75));
    r = {1, 1};                                                  // inside: no tangent
    cur = {3.6, 3.6};
    EXPECT_TRUE(c->SnapPoints(r, cur, 0, 2));
    EXPECT_EQ(c->snapKind, 5);
    ExpectPoint(c->edit->gripHit, 5 * std::sqrt(0.5), 5 * std::sqrt(0.5));
    cur = {-3.1, 4.1};
    EXPECT_TRUE(c->SnapPoints(r, cur, 0, 1));
    EXPECT_EQ(c->snapKind, 4);
    EXPECT_NEAR(x_Vector::Distance(c->edit->gripHit, x_Vector(0, 0)), 5.0, 1e-12);
    EXPECT_FALSE(c->SnapPoints(r, cur, 0, 0));
    delete c;
}

TEST_F(Circle, RadiusGripDragReshapesAroundTheCentre)
{
    TestDoc doc;
    CUnitView view;
    g_ViewScale = 10;
    CCir* c = doc.Add(NewCircle(x_Vector(0, 0), 5));
    c->Draw(nullptr, 1, nullptr);
    c->selected = 1;
    c->OnPick(nullptr, &view, x_Vector(5.1, 0.1));
    EXPECT_EQ(view.m_gripNumber, 1);
    EXPECT_EQ(g_cmdStep, 4);
    g_cmdPointCount = 1;
    c->InteractiveStep(nullptr, &view, x_Vector(0, 7));
    EXPECT_EQ(c->workGeometry.circle.radius, 7.0);
    EXPECT_EQ(view.m_promptText, CString(u"圆半径：7.0000mm ，周长：43.9823mm"));
    c->CommitTransform();
    EXPECT_EQ(c->geometry.circle.radius, 7.0);
}

TEST_F(Circle, CreationFromTwoAndThreePoints)
{
    CUnitView view;
    CCir c;
    view.m_firstPoint = {1, 1};
    c.edit->dragStart = {1, 1};
    g_cmdPointCount = 1;
    g_CircleMode = 0;                                    // centre and a point
    c.InteractiveStep(nullptr, &view, x_Vector(4, 5));
    EXPECT_EQ(c.workGeometry.circle.centre, x_Vector(1, 1));
    EXPECT_EQ(c.workGeometry.circle.radius, 5.0);
    EXPECT_EQ(c.inputPoints[1], x_Vector(6, 6));         // box corner
    g_CircleMode = 1;                                    // two ends of a diameter
    c.InteractiveStep(nullptr, &view, x_Vector(7, 9));
    EXPECT_EQ(c.workGeometry.circle.centre, x_Vector(4, 5));
    EXPECT_EQ(c.workGeometry.circle.radius, 5.0);
    g_CircleMode = 2;                                    // three points
    g_cmdPointCount = 2;
    view.m_firstPoint = {1, 4};
    c.inputPoints[2] = {7, 4};
    c.InteractiveStep(nullptr, &view, x_Vector(4, 7));   // on the circle (4, 4) r 3
    ExpectPoint(c.workGeometry.circle.centre, 4, 4);
    EXPECT_NEAR(c.workGeometry.circle.radius, 3.0, 1e-9);
    c.InteractiveStep(nullptr, &view, x_Vector(13, 4));  // collinear: the preview stays
    ExpectPoint(c.workGeometry.circle.centre, 4, 4);
    EXPECT_EQ(view.m_promptText, CString(u"圆半径：3.0000mm ，周长：18.8496mm"));
}

} // namespace

