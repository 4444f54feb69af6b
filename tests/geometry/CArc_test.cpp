#include <gtest/gtest.h>

#include <cmath>

#include "geometry/CArc.h"
#include "geometry/CLine.h"
#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "tests/support/archive_bytes.h"
#include "tests/geometry/entity_doc.h"

namespace {

constexpr double kExact = 1e-12;        // hand-worked values; only rounding differs
const double kR2 = std::sqrt(0.5);

class Arc : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGeometryState();
        SetDefaultDrawingSettings();
    }
};

CArc* MakeArc(double cx, double cy, double r, double s, double e, std::uint8_t dir = 0)
{
    return NewArc(x_Vector(cx, cy), r, s, e, dir);
}

void ExpectPoint(const x_Vector& got, double x, double y, double tol = 1e-9)
{
    EXPECT_NEAR(got.x, x, tol);
    EXPECT_NEAR(got.y, y, tol);
}

void ExpectArc(CUnit* u, double s, double e, std::uint8_t dir = 0)
{
    ASSERT_NE(u, nullptr);
    ASSERT_EQ(u->GetType(), 8);
    EXPECT_NEAR(u->GetStartAngle(), s, 1e-9);
    EXPECT_NEAR(u->GetEndAngle(), e, 1e-9);
    EXPECT_EQ(u->GetDirection(), dir != 0);
}

TEST_F(Arc, PointsSweepAndBoxInBothDirections)
{
    const struct { const char* name; double s, e; std::uint8_t dir; double sweep; x_Vector mid, lo, hi; }
    kCases[] = {
        {"ccw quarter", 0, kPi / 2, 0, kPi / 2, {kR2, kR2}, {0, 0}, {1, 1}},
        {"cw three quarters", 0, kPi / 2, 1, 3 * kPi / 2, {-kR2, -kR2}, {-1, -1}, {1, 1}},
        {"ccw across zero, stored below 0", -0.5, 0.5, 0, 1.0, {1, 0}, {std::cos(0.5), -std::sin(0.5)},
         {1, std::sin(0.5)}},
        {"ccw end two turns below", 1.0, 0.5 - 4 * kPi, 0, kTwoPi - 0.5, {-std::cos(0.75), -std::sin(0.75)},
         {-1, -1}, {1, 1}},
        {"equal angles: a full turn", 1.0, 1.0, 0, kTwoPi, {-std::cos(1.0), -std::sin(1.0)}, {-1, -1},
         {1, 1}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        CArc* arc = MakeArc(0, 0, 1, c.s, c.e, c.dir);
        ExpectPoint(arc->GetStartPoint(), std::cos(c.s), std::sin(c.s));
        ExpectPoint(arc->GetEndPoint(), std::cos(c.e), std::sin(c.e));
        EXPECT_NEAR(arc->GetSweepAngle(), c.sweep, 1e-9);
        EXPECT_NEAR(arc->GetLength(), c.sweep, 1e-9);
        ExpectPoint(arc->GetMidPoint(), c.mid.x, c.mid.y);
        arc->ComputeExtents();
        ExpectPoint(arc->extentMin, c.lo.x, c.lo.y);
        ExpectPoint(arc->extentMax, c.hi.x, c.hi.y);
        delete arc;
    }
}

TEST_F(Arc, ExactHitAtTheEndTolerances)
{
    CArc* quarter = MakeArc(0, 0, 1, 0, kPi / 2);
    auto at = [](double r, double a) { return x_Vector(r * std::cos(a), r * std::sin(a)); };
    EXPECT_TRUE(quarter->HitTest(at(1, kPi / 2 + 0.0005), 1));
    EXPECT_FALSE(quarter->HitTest(at(1, kPi / 2 + 0.002), 1));
    EXPECT_TRUE(quarter->HitTest(at(1.0009, kPi / 4), 1));
    EXPECT_FALSE(quarter->HitTest(at(1.002, kPi / 4), 1));
    CArc* big = MakeArc(0, 0, 10, 0, kPi / 2);
    EXPECT_TRUE(big->HitTest(at(10, kPi / 2 + 0.0002), 1));      // 0.002 mm beyond
    g_ViewScale = 2;                                             // 8 pixels = 4 mm
    EXPECT_TRUE(big->HitTest(at(13.9, kPi / 4), 0));
    EXPECT_FALSE(big->HitTest(at(14.1, kPi / 4), 0));
    delete quarter;
    delete big;
}

TEST_F(Arc, OffsetBySideAndItsLimit)
{
    const struct { const char* name; std::uint8_t dir; double d; int side; bool made; double r; } kCases[] = {
        {"ccw left by the radius", 0, 5, 2, false, 0},
        {"ccw left to the limit", 0, 4.9999, 2, true, 0.0001},
        {"ccw right", 0, 5, 1, true, 10},
        {"cw right by the radius", 1, 5, 1, false, 0},
        {"cw left", 1, 5, 2, true, 10},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        CArc* arc = MakeArc(1, 1, 5, -kPi / 2, kPi + 2 * kTwoPi, c.dir);
        CUnit* out = nullptr;
        EXPECT_EQ(arc->Offset(out, c.d, c.side), c.made);
        if (c.made) {
            ASSERT_NE(out, nullptr);
            EXPECT_NEAR(out->geometry.arc.radius, c.r, 1e-12);
            ExpectArc(out, 3 * kPi / 2, kPi, c.dir);             // angles brought into range
            EXPECT_EQ(out->geometry.arc.centre, x_Vector(1, 1));
            delete out;
        } else {
            EXPECT_EQ(out, nullptr);
        }
        delete arc;
    }
}

TEST_F(Arc, BreakAtTheMiddle)
{
    TestDoc doc;
    CArc* arc = doc.Add(MakeArc(0, 0, 1, 0, kPi / 2));
    x_Vector out;
    EXPECT_EQ(arc->Break(x_Vector(kR2, kR2), out), 1);
    ExpectArc(arc, 0, kPi / 4);
    ASSERT_EQ(doc.Count(), 2);
    ExpectArc(doc.At(1), kPi / 4, kPi / 2);
    EXPECT_EQ(doc.At(1)->geometry.arc.splitPiece, 1);
    ExpectPoint(out, kR2, kR2);
    EXPECT_EQ(arc->Break(x_Vector(1, 0), out), 0);
    EXPECT_EQ(arc->Break(arc->GetEndPoint(), out), 0);
}

TEST_F(Arc, TrimAtAFortyFiveDegreeLine)
{
    const struct { const char* name; double s; x_Vector pick; double ns, ne; } kCases[] = {
        {"pick near the start", 0, {0.98 * 7.3, 0.1 * 7.3}, kPi / 4, kPi / 2},
        {"pick near the end", 0, {0.1 * 7.3, 0.98 * 7.3}, 0, kPi / 4},
        // The start point's recomputed angle lies a few ulps below 0.023:
        // sorted among the crossings it went last and left a full circle.
        {"start angle a few ulps above its point", 0.023, {0.98 * 7.3, 0.15 * 7.3}, kPi / 4, kPi / 2},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TestDoc doc;
        CArc* arc = doc.Add(MakeArc(0, 0, 7.3, c.s, kPi / 2));
        doc.Add(new CLine(0, 0, 10, 10));
        EXPECT_EQ(arc->Trim(0, c.pick, 0), 1);
        EXPECT_EQ(doc.deletions, 1);
        ASSERT_EQ(doc.Count(), 3);
        ExpectArc(doc.At(2), c.ns == 0 ? c.s : c.ns, c.ne);
        EXPECT_LT(doc.At(2)->GetSweepAngle(), kPi / 2);
    }
    TestDoc doc;
    CArc* arc = doc.Add(MakeArc(0, 0, 7.3, 0, kPi / 2));
    doc.Add(new CLine(20, 0, 20, 10));
    EXPECT_EQ(arc->Trim(0, x_Vector(7.3, 0.1), 0), 0);
    EXPECT_EQ(doc.Count(), 2);
}

TEST_F(Arc, TrimAClockwiseArcBetweenTwoCrossings)
{
    TestDoc doc;
    CArc* arc = doc.Add(MakeArc(0, 0, 5, kPi, 0, 1));            // the upper half, clockwise
    doc.Add(new CLine(-3, -10, -3, 10));
    doc.Add(new CLine(3, -10, 3, 10));
    EXPECT_EQ(arc->Trim(0, x_Vector(0, 5.1), 0), 1);
    ASSERT_EQ(doc.Count(), 5);
    ExpectArc(doc.At(3), kPi, std::atan2(4.0, -3.0), 1);
    ExpectArc(doc.At(4), std::atan2(4.0, 3.0), 0, 1);
}

TEST_F(Arc, DirectionRecords)
{
    CArc* arc = MakeArc(0, 0, 1, 0, kPi / 2);
    EXPECT_TRUE(arc->AppendDirectionRecord(x_Vector(1, 0)));
    ASSERT_EQ(g_TrailDirections.GetSize(), 1);
    EXPECT_NEAR(g_TrailDirections[0].angle, kPi / 2, kExact);
    EXPECT_EQ(g_TrailDirections[0].direction, 2);
    EXPECT_TRUE(arc->AppendDirectionRecord(x_Vector(kR2, kR2)));
    ASSERT_EQ(g_TrailDirections.GetSize(), 3);
    EXPECT_NEAR(g_TrailDirections[1].angle, 3 * kPi / 4, kExact);
    EXPECT_NEAR(g_TrailDirections[2].angle, 7 * kPi / 4, kExact);
    EXPECT_EQ(g_TrailDirections[2].direction, 1);
    EXPECT_TRUE(arc->AppendDirectionRecord(x_Vector(0, 1)));
    EXPECT_NEAR(g_TrailDirections[3].angle, 0.0, kExact);        // backward tangent at the end
    EXPECT_FALSE(arc->AppendDirectionRecord(x_Vector(0.5, 0.5)));
    delete arc;
}

TEST_F(Arc, SplitAFullTurnChainsBothPieces)
{
    TestDoc doc;
    SetCollectCrossingsHook(&CrossingScript::Hook);
    CArc* arc = doc.Add(MakeArc(0, 0, 2, 1.0, 1.0));
    x_Vector e;
    EXPECT_EQ(arc->SplitAtCrossings(0, x_Vector(-2, 0), 2, 0, e), 1);
    EXPECT_EQ(e, x_Vector(-2, 0));
    ASSERT_EQ(doc.Count(), 3);
    ExpectArc(doc.At(1), 1.0, kPi);
    ExpectArc(doc.At(2), kPi, 1.0);
    EXPECT_TRUE(doc.At(1)->selected && doc.At(2)->selected);
    ASSERT_EQ(g_CreateTrailPoints.GetSize(), 2);
    EXPECT_EQ(g_CreateTrailPoints[0].index, 1);
    EXPECT_EQ(g_CreateTrailPoints[1].index, 2);
    EXPECT_FALSE(arc->visible);

    CArc* open = doc.Add(MakeArc(0, 0, 2, 0, kPi));
    CrossingScript::answer = 2;
    EXPECT_EQ(open->SplitAtCrossings(0, x_Vector(0, 2), 1, 0, e), 2);
    ExpectArc(doc.At(4), 0, kPi / 2);
    EXPECT_TRUE(doc.At(4)->selected);
    EXPECT_FALSE(doc.At(5)->selected);
    EXPECT_EQ(CrossingScript::lastT, open->GetStartPoint());
}

TEST_F(Arc, CopyModesAndIds)
{
    g_UnitIdCounter = 10;
    CArc* arc = MakeArc(0, 0, 1, 0, 1);                          // id 11
    arc->Move(x_Vector(10, 0));
    CUnit* out = nullptr;
    arc->Copy(1, out);
    EXPECT_EQ(out->unitId, 11u);
    EXPECT_EQ(g_UnitIdCounter, 11u);
    delete out;
    arc->Copy(2, out);
    EXPECT_EQ(out->unitId, 12u);
    EXPECT_EQ(out->geometry.arc.centre, x_Vector(10, 0));
    EXPECT_EQ(arc->geometry.arc.centre, x_Vector(0, 0));
    delete out;
    arc->Copy(0, out);
    EXPECT_EQ(out->unitId, 13u);
    delete out;
    delete arc;
}

// A frame copies each field of the current record into the working one,
// down to the sign of a zero, and keeps the working split byte.
TEST_F(Arc, FrameDrawRefreshesTheWorkingRecordButItsSplitByte)
{
    const struct {
        const char* name;
        void (*change)(ArcRecord&);
    } kCases[] = {
        {"centre x", [](ArcRecord& g) { g.centre.x = 2.5; }},
        {"centre y", [](ArcRecord& g) { g.centre.y = -1.0; }},
        {"centre unset", [](ArcRecord& g) { g.centre.valid = 0; }},
        {"radius", [](ArcRecord& g) { g.radius = 7.0; }},
        {"start a turn on", [](ArcRecord& g) { g.startAngle += kTwoPi; }},
        {"start -0", [](ArcRecord& g) { g.startAngle = -0.0; }},
        {"end", [](ArcRecord& g) { g.endAngle = 3.0; }},
        {"direction", [](ArcRecord& g) { g.direction = 1; }},
        {"split byte", [](ArcRecord& g) { g.splitPiece = 0; }},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        CArc* arc = MakeArc(1, 2, 5, 0, kPi / 2);
        arc->workGeometry.arc.splitPiece = 1;
        c.change(arc->geometry.arc);
        arc->Draw(nullptr, 1, nullptr);
        const ArcRecord& g = arc->geometry.arc;
        const ArcRecord& w = arc->workGeometry.arc;
        EXPECT_EQ(w.centre, g.centre);
        EXPECT_EQ(w.radius, g.radius);
        EXPECT_EQ(w.startAngle, g.startAngle);
        EXPECT_EQ(std::signbit(w.startAngle), std::signbit(g.startAngle));
        EXPECT_EQ(w.endAngle, g.endAngle);
        EXPECT_EQ(w.direction, g.direction);
        EXPECT_EQ(w.splitPiece, 1);
        delete arc;
    }
}

TEST_F(Arc, GroupedArcsShowNoCentreGrip)
{
    TestDoc doc;
    CUnitView view;
    g_ViewScale = 10;
    CArc* arc = doc.Add(MakeArc(0, 0, 5, 0, kPi / 2));
    arc->group = 2;
    arc->Draw(nullptr, 1, nullptr);
    arc->EnsureGripPoints();                 // a frame leaves them to the first reader
    ASSERT_EQ(arc->gripPoints.GetSize(), 4);
    arc->selected = 1;
    arc->OnPick(nullptr, &view, x_Vector(0.1, 0.1));
    EXPECT_EQ(view.m_gripNumber, 4);
    EXPECT_EQ(view.m_gripDragFlag, 0);
    arc->group = 0;
    arc->selected = 1;
    arc->OnPick(nullptr, &view, x_Vector(0.1, 0.1));
    EXPECT_EQ(view.m_gripDragFlag, 1);
    EXPECT_EQ(g_cmdStep, 3);
}

TEST_F(Arc, ArchiveTailReadsBytesAsStoredAndWritesFlags)
{
    const auto tail = Hex(
        "0000000000000040 00000000000008c0"     // centre (2, −3)
        "0000000000001440"                      // radius 5
        "0000000000000000 182d4454fb21f93f"     // 0, π/2
        "05 00");                               // direction stored as 5, splitPiece 0
    std::vector<std::uint8_t> record(162, 0);
    record.insert(record.end(), tail.begin(), tail.end());
    CArc arc;
    LoadBytes(record, [&](CArchive& ar) { arc.Serialize(ar); });
    EXPECT_EQ(arc.geometry.arc.direction, 5);
    EXPECT_EQ(arc.geometry.arc.centre, x_Vector(2, -3));
    EXPECT_DOUBLE_EQ(arc.GetEndAngle(), kPi / 2);
    const auto written = StoreBytes([&](CArchive& ar) { arc.Serialize(ar); });
    ASSERT_EQ(written.size(), 162u + 42u);
    std::vector<std::uint8_t> want = tail;
    want[40] = 0x01;
    EXPECT_EQ(std::vector<std::uint8_t>(written.begin() + 162, written.end()), want);
    EXPECT_THROW(LoadBytes(std::vector<std::uint8_t>(record.begin(), record.end() - 1),
                           [&](CArchive& ar) { arc.Serialize(ar); }),
                 CArchiveException);
}

TEST_F(Arc, SnapTangentPerpendicularAndGrips)
{
    g_ViewScale = 10;                                            // 8 pixels = 0.8 mm
    CArc* arc = MakeArc(0, 0, 5, 0, kPi);
    arc->Draw(nullptr, 1, nullptr);
    x_Vector r(10, 0), c(2.6, 4.2);
    // From (10, 0) the tangent points touch at x = 2.5, y = ±sqrt(18.75).
    EXPECT_TRUE(arc->SnapPoints(r, c, 0, 2));
    EXPECT_EQ(arc->snapKind, 8);
    ExpectPoint(arc->edit->gripHit, 2.5, std::sqrt(18.75));
    r = {20 * std::cos(1.2), 20 * std::sin(1.2)};
    c = {5 * std::cos(1.2) + 0.1, 5 * std::sin(1.2) + 0.1};
    EXPECT_TRUE(arc->SnapPoints(r, c, 0, 2));
    EXPECT_EQ(arc->snapKind, 5);
    ExpectPoint(arc->edit->gripHit, 5 * std::cos(1.2), 5 * std::sin(1.2));
    // From inside the circle there is no tangent (it was NaN): the crossing
    // of the line from R through the cursor is taken.
    r = {1, 1};
    c = {-3, 4};
    EXPECT_TRUE(arc->SnapPoints(r, c, 0, 2));
    EXPECT_EQ(arc->snapKind, 4);
    ExpectPoint(arc->edit->gripHit, -3, 4);
    c = {0.1, 0.1};
    EXPECT_TRUE(arc->SnapPoints(r, c, 0, 0));
    EXPECT_EQ(arc->snapKind, 3);
    c = {-3, -4};                                                // outside the sweep
    EXPECT_FALSE(arc->SnapPoints(r, c, 0, 1));
    delete arc;
}

TEST_F(Arc, FailedThreePointFitKeepsThePreviousRecord)
{
    CUnitView view;
    CArc arc;
    g_cmdStep = 2;
    g_ArcMode = 0;
    g_cmdPointCount = 2;
    arc.inputPoints[0] = {0, 0};
    arc.inputPoints[1] = {5, 5};
    arc.InteractiveStep(nullptr, &view, x_Vector(10, 0));
    ExpectPoint(arc.workGeometry.arc.centre, 5, 0);
    EXPECT_NEAR(arc.workGeometry.arc.radius, 5, 1e-9);
    EXPECT_EQ(view.m_promptText, CString(u"距离：7.0711mm ,半径：5.0000mm ，弧度：180.0000°，长度：15.7080mm"));
    arc.InteractiveStep(nullptr, &view, x_Vector(10, 10));       // collinear with the clicks
    ExpectPoint(arc.workGeometry.arc.centre, 5, 0);
    EXPECT_NEAR(arc.workGeometry.arc.radius, 5, 1e-9);
}

TEST_F(Arc, CreationByCentreStartAndAngle)
{
    CUnitView view;
    CArc arc;
    g_cmdStep = 2;
    g_cmdPointCount = 2;
    arc.inputPoints[0] = {1, 1};
    arc.inputPoints[1] = {3, 1};
    for (std::uint8_t variant : {2, 3}) {
        g_ArcMode = variant;
        arc.InteractiveStep(nullptr, &view, x_Vector(1, 5));
        const ArcRecord& w = arc.workGeometry.arc;
        EXPECT_EQ(w.centre, x_Vector(1, 1));
        EXPECT_EQ(w.radius, 2.0);
        EXPECT_EQ(w.startAngle, 0.0);
        EXPECT_NEAR(w.endAngle, kPi / 2, 1e-12);
        EXPECT_EQ(w.direction, variant == 2 ? 0 : 1);
    }
    EXPECT_EQ(view.m_promptText, CString(u"半径：2.0000mm ，弧度：270.0000°，长度：9.4248mm"));
    g_ArcMode = 1;                                       // two ends, then a point on the arc
    arc.inputPoints[1] = {3, 1};
    arc.inputPoints[0] = {-1, 1};
    arc.InteractiveStep(nullptr, &view, x_Vector(1, 3));
    ExpectPoint(arc.workGeometry.arc.centre, 1, 1);
    EXPECT_NEAR(arc.workGeometry.arc.radius, 2, 1e-9);
    EXPECT_EQ(view.m_promptText, CString(u"半径：2.0000mm ，长度：6.2832mm , 弧度：180.0000°"));
}

TEST_F(Arc, MirrorFlipsTheDirectionAndRotateNormalises)
{
    CArc* arc = MakeArc(0, 0, 1, 0, kPi / 2);
    arc->Mirror(x_Vector(0, -1), x_Vector(0, 1));        // about the y axis
    const ArcRecord& w = arc->workGeometry.arc;
    EXPECT_NEAR(w.startAngle, kPi, 1e-12);
    EXPECT_NEAR(w.endAngle, kPi / 2, 1e-12);
    EXPECT_EQ(w.direction, 1);
    arc->CommitTransform();
    ExpectPoint(arc->GetMidPoint(), -kR2, kR2);
    arc->Rotate(x_Vector(0, 0), 3 * kPi / 2);
    EXPECT_NEAR(arc->workGeometry.arc.startAngle, kPi / 2, 1e-12);
    EXPECT_NEAR(arc->workGeometry.arc.endAngle, kTwoPi, 1e-12);     // a full turn stays 2π
    delete arc;
}

} // namespace

