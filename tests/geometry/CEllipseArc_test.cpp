#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/CEllipseArc.h"
#include "geometry/CLine.h"
#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "tests/geometry/entity_doc.h"

namespace {

constexpr double kTight = 1e-9;         // hand-worked values; only rounding differs
const double kR2 = std::sqrt(0.5);

class EllipseArc : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGeometryState();
        SetDefaultDrawingSettings();
        CrossingScript::answer = 0;
        SetCollectCrossingsHook(&CrossingScript::Hook);
    }
    void TearDown() override { SetCollectCrossingsHook(nullptr); }
};

// An arc of the ellipse with centre (0, 0), major axis (10, 0), ratio 0.5.
CEllipseArc* MakeArc(double s, double e, std::uint8_t dir = 0)
{
    EllipseRecord shape;
    shape.centre = {0, 0};
    shape.majorAxis = {10, 0};
    shape.axisRatio = 0.5;
    shape.direction = dir;
    CEllipseArc* arc = NewEllipseArc(shape, s, e);
    arc->Draw(nullptr, 1, nullptr);
    return arc;
}

x_Vector At(double t)
{
    return {10 * std::cos(t), 5 * std::sin(t)};
}

void ExpectPoint(const x_Vector& got, double x, double y, double tol = kTight)
{
    EXPECT_NEAR(got.x, x, tol);
    EXPECT_NEAR(got.y, y, tol);
}

void ExpectRun(CUnit* u, double s, double e, bool clockwise = false)
{
    ASSERT_NE(u, nullptr);
    ASSERT_EQ(u->GetType(), 6);
    EXPECT_NEAR(u->GetStartAngle(), s, 1e-9);
    EXPECT_NEAR(u->GetEndAngle(), e, 1e-9);
    EXPECT_EQ(u->GetDirection(), clockwise);
}

TEST_F(EllipseArc, EndsMiddleAndSweep)
{
    const struct { const char* name; double s, e; std::uint8_t dir; double sweep, mid; } kCases[] = {
        {"quarter, counter-clockwise", 0, kPi / 2, 0, kPi / 2, kPi / 4},
        {"the same quarter, clockwise", kPi / 2, 0, 1, kPi / 2, kPi / 4},
        // Before, the sweep was e − s unwrapped: −4.3.
        {"counter-clockwise across 2π", 5.0, 0.7, 0, kTwoPi - 4.3, 5.0 + (kTwoPi - 4.3) / 2},
        {"clockwise the long way", 0.7, 5.0, 1, kTwoPi - 4.3, 0.7 - (kTwoPi - 4.3) / 2},
        {"closed, counter-clockwise", 1.0, 1.0 + kTwoPi, 0, kTwoPi, 1.0 + kPi},
        {"closed, clockwise", 1.0, 1.0 - kTwoPi, 1, kTwoPi, 1.0 - kPi},
        {"equal ends: whole", 2.0, 2.0, 1, kTwoPi, 2.0 - kPi},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        CEllipseArc* arc = MakeArc(c.s, c.e, c.dir);
        ExpectPoint(arc->GetStartPoint(), At(c.s).x, At(c.s).y);
        ExpectPoint(arc->GetEndPoint(), At(c.e).x, At(c.e).y);
        EXPECT_NEAR(arc->GetSweepAngle(), c.sweep, kTight);
        ExpectPoint(arc->GetMidPoint(), At(c.mid).x, At(c.mid).y);
        delete arc;
    }
    CEllipseArc* quarter = MakeArc(0, kPi / 2);
    ExpectPoint(quarter->GetStartPoint(), 10, 0);
    ExpectPoint(quarter->GetEndPoint(), 0, 5);
    ExpectPoint(quarter->GetMidPoint(), 10 * kR2, 5 * kR2);   // (7.071, 3.536)
    EXPECT_EQ(quarter->gripPoints.GetSize(), 3);
    ExpectPoint(quarter->gripPoints[2], 0, 0);
    EllipseRecord r;
    EXPECT_EQ(quarter->GetEllipseRecord(r).endParam, kPi / 2);
    EXPECT_EQ(r.axisRatio, 0.5);
    delete quarter;
}

TEST_F(EllipseArc, NearestPointKeepsToTheRun)
{
    const struct { const char* name; double s, e; std::uint8_t dir; double t; bool on; } kCases[] = {
        {"inside the quarter", 0, kPi / 2, 0, kPi / 4, true},
        {"opposite the quarter", 0, kPi / 2, 0, kPi, false},
        {"span across 2π holds 0", 3 * kPi / 2, kPi / 2, 0, 0, true},
        {"span across 2π lacks π", 3 * kPi / 2, kPi / 2, 0, kPi, false},
        // The clockwise quarter from π/2 to 0 is drawn in the first
        // quadrant; the span was taken counter-clockwise and the hit test
        // answered on the other three quarters.
        {"clockwise example where drawn", kPi / 2, 0, 1, kPi / 4, true},
        {"clockwise example where not drawn", kPi / 2, 0, 1, kPi, false},
        {"clockwise example below", kPi / 2, 0, 1, 3 * kPi / 2, false},
        {"a few ulps before the start", 1.0, 2.0, 0, 1.0 - 1e-15, true},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        CEllipseArc* arc = MakeArc(c.s, c.e, c.dir);
        x_Vector p = At(c.t), out;
        double d = 1e10;
        arc->NearestPoint(out, p, 0, &d);
        EXPECT_EQ(out.valid, c.on ? 1 : 0);
        EXPECT_EQ(arc->HitTest(p, 1), c.on);
        EXPECT_EQ(arc->HitTest(p, 0), c.on);
        if (c.on) {
            ExpectPoint(out, p.x, p.y);
            EXPECT_NEAR(d, 0.0, 1e-9);
        } else {
            EXPECT_EQ(d, 1e10);                                  // not written outside
            EXPECT_EQ(arc->DistanceTo(p, 0, 0, 0), 1e10);
        }
        delete arc;
    }
}

TEST_F(EllipseArc, BreakAtTheMiddle)
{
    TestDoc doc;
    CEllipseArc* arc = doc.Add(MakeArc(0, kPi / 2));
    x_Vector out;
    EXPECT_EQ(arc->Break(x_Vector(10 * kR2, 5 * kR2), out), 1);
    ExpectRun(arc, 0, kPi / 4);
    ASSERT_EQ(doc.Count(), 2);
    ExpectRun(doc.At(1), kPi / 4, kPi / 2);
    EXPECT_EQ(doc.At(1)->geometry.ellipse.splitPiece, 1);
    ExpectPoint(out, 10 * kR2, 5 * kR2);
    EXPECT_EQ(arc->Break(x_Vector(10, 0), out), 0);
    EXPECT_EQ(arc->Break(At(kPi), out), 0);
    EXPECT_EQ(doc.Count(), 2);
}

TEST_F(EllipseArc, BreakUnwrapsTheSplitParameterOntoTheRun)
{
    const struct { const char* name; double s, e; std::uint8_t dir; double at, split; } kCases[] = {
        {"clockwise quarter", kPi / 2, 0, 1, kPi / 4, kPi / 4},
        // The run 5.0 to 7.0 passes 2π: split at parameter 0.5 the pieces
        // were 5.0 to 0.5 and 0.5 to 7.0, the latter more than a turn wide
        // and hit everywhere.
        {"run stored past 2π", 5.0, 7.0, 0, 0.5, 0.5 + kTwoPi},
        {"clockwise run stored below 0", 0.5, -1.5, 1, 5.5, 5.5 - kTwoPi},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TestDoc doc;
        CEllipseArc* arc = doc.Add(MakeArc(c.s, c.e, c.dir));
        x_Vector out;
        ASSERT_EQ(arc->Break(At(c.at), out), 1);
        ExpectRun(arc, c.s, c.split, c.dir != 0);
        ASSERT_EQ(doc.Count(), 2);
        ExpectRun(doc.At(1), c.split, c.e, c.dir != 0);
        EXPECT_FALSE(doc.At(1)->HitTest(At(c.at + (c.dir ? 0.2 : -0.2)), 1));
        EXPECT_TRUE(arc->HitTest(At(c.at + (c.dir ? 0.2 : -0.2)), 1));
    }
}

// Rays from the centre through the points at the given parameters.
void AddCrossings(TestDoc& doc, const std::vector<double>& params)
{
    for (double t : params) {
        const x_Vector p = At(t);
        ++g_UnitIdCounter;
        doc.Add(new CLine(0.9 * p.x, 0.9 * p.y, 1.1 * p.x, 1.1 * p.y));
    }
}

TEST_F(EllipseArc, TrimKeepsThePiecesBesideThePick)
{
    struct Run { double s, e; };
    const struct { const char* name; std::uint8_t dir; double s, e; std::vector<double> cuts; double pick;
                   std::vector<Run> kept; } kCases[] = {
        {"one crossing, picked before it", 0, 0, kPi / 2, {kPi / 4}, 0.2, {{kPi / 4, kPi / 2}}},
        {"one crossing, picked after it", 0, 0, kPi / 2, {kPi / 4}, 1.2, {{0, kPi / 4}}},
        {"two crossings, picked between", 0, 0, kPi / 2, {1.0, 0.4}, 0.7, {{0, 0.4}, {1.0, kPi / 2}}},
        {"clockwise, picked between", 1, kPi / 2, 0, {0.4, 1.0}, 0.7, {{kPi / 2, 1.0}, {0.4, 0}}},
        {"run past 2π", 0, 5.0, 7.0, {0.2, 6.0}, 6.2, {{5.0, 6.0}, {0.2 + kTwoPi, 7.0}}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TestDoc doc;
        CEllipseArc* arc = doc.Add(MakeArc(c.s, c.e, c.dir));
        AddCrossings(doc, c.cuts);
        const int before = doc.Count();
        ASSERT_EQ(arc->Trim(0, At(c.pick), 0), 1);
        ASSERT_EQ(doc.Count(), before + static_cast<int>(c.kept.size()));
        for (size_t i = 0; i < c.kept.size(); ++i)
            ExpectRun(doc.At(before + static_cast<int>(i)), c.kept[i].s, c.kept[i].e, c.dir != 0);
        EXPECT_EQ(doc.deletedIndices, std::vector<int>{0});
    }
    TestDoc doc;
    CEllipseArc* lone = doc.Add(MakeArc(0, kPi / 2));
    EXPECT_EQ(lone->Trim(0, At(0.5), 0), 0);                    // no crossing
    EXPECT_EQ(doc.deletions, 0);
}

TEST_F(EllipseArc, DirectionRecordsAtEndsAndInside)
{
    // The first record's angle: the tangent of travel (kind 2) or against it
    // (kind 1); the chord over 0.1 of parameter stands for it.
    constexpr double kChordSlack = 0.15;
    const struct { const char* name; std::uint8_t dir; double s, e, at; std::vector<int> kinds; double angle; }
    kCases[] = {
        {"start of the quarter", 0, 0, kPi / 2, 0, {2}, kPi / 2},
        {"end of the quarter", 0, 0, kPi / 2, kPi / 2, {1}, 0},
        {"inside the quarter", 0, 0, kPi / 2, kPi / 2 - 0.3, {2, 1}, std::atan2(5 * std::cos(kPi / 2 - 0.3),
                                                                            -10 * std::sin(kPi / 2 - 0.3))},
        // Kind 2 ran against a clockwise arc.
        {"start of the clockwise quarter", 1, kPi / 2, 0, kPi / 2, {2}, 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        g_TrailDirections.RemoveAll();
        CEllipseArc* arc = MakeArc(c.s, c.e, c.dir);
        ASSERT_TRUE(arc->AppendDirectionRecord(At(c.at)));
        ASSERT_EQ(g_TrailDirections.GetSize(), static_cast<int>(c.kinds.size()));
        for (size_t i = 0; i < c.kinds.size(); ++i)
            EXPECT_EQ(g_TrailDirections[static_cast<int>(i)].direction, c.kinds[i]);
        EXPECT_LT(std::fabs(std::remainder(g_TrailDirections[0].angle - c.angle, kTwoPi)), kChordSlack);
        if (c.kinds.size() == 2) {
            EXPECT_NEAR(std::fabs(std::remainder(g_TrailDirections[1].angle - g_TrailDirections[0].angle,
                                                 kTwoPi)), kPi, 1e-12);
        }
        delete arc;
    }
    g_TrailDirections.RemoveAll();
    CEllipseArc* quarter = MakeArc(0, kPi / 2);
    EXPECT_FALSE(quarter->AppendDirectionRecord(At(kPi)));       // not on the run
    EXPECT_EQ(g_TrailDirections.GetSize(), 0);
    delete quarter;
}

TEST_F(EllipseArc, SplitAClosedArcChainsBothPieces)
{
    const struct { const char* name; double s, e; std::uint8_t dir; double at, split; } kCases[] = {
        {"closed from 1.0", 1.0, 1.0 + kTwoPi, 0, 3.0, 3.0},
        // Split at parameter 1.0 the second piece ran from 1.0 to 4 + 2π,
        // more than a turn, and was hit everywhere.
        {"closed from 4.0", 4.0, 4.0 + kTwoPi, 0, 1.0, 1.0 + kTwoPi},
        {"closed clockwise from 1.0", 1.0, 1.0 - kTwoPi, 1, 3.0, 3.0 - kTwoPi},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TestDoc doc;
        g_CreateTrailPoints.RemoveAll();
        CEllipseArc* arc = doc.Add(MakeArc(c.s, c.e, c.dir));
        x_Vector out;
        EXPECT_EQ(arc->SplitAtCrossings(0, At(c.at), 2, 0, out), 1);
        EXPECT_EQ(arc->visible, 0);
        EXPECT_EQ(arc->selected, 1);
        ASSERT_EQ(doc.Count(), 3);
        ExpectRun(doc.At(1), c.s, c.split, c.dir != 0);
        ExpectRun(doc.At(2), c.split, c.e, c.dir != 0);
        for (int i : {1, 2}) {
            EXPECT_EQ(doc.At(i)->selected, 1);
            EXPECT_EQ(doc.At(i)->temporary, 1);
            EXPECT_EQ(doc.At(i)->chainDir, 2);
        }
        EXPECT_FALSE(doc.At(2)->HitTest(At(c.at + (c.dir ? 0.5 : -0.5)), 1));
        ASSERT_EQ(g_CreateTrailPoints.GetSize(), 2);
        EXPECT_EQ(g_CreateTrailPoints[0].index, 1);
        EXPECT_EQ(g_CreateTrailPoints[1].index, 2);
        ExpectPoint(out, At(c.at).x, At(c.at).y);
    }
}

TEST_F(EllipseArc, SplitAnOpenArcFollowsTheChain)
{
    TestDoc doc;
    g_CreateTrailPoints.RemoveAll();
    CEllipseArc* arc = doc.Add(MakeArc(0, kPi / 2));
    CrossingScript::answer = 1;
    CrossingScript::out = {0, 5};
    x_Vector out;
    EXPECT_EQ(arc->SplitAtCrossings(0, At(0.5), 2, 0, out), 1);
    ASSERT_EQ(doc.Count(), 3);
    EXPECT_EQ(doc.At(1)->selected, 0);                           // before the pick: off the chain
    EXPECT_EQ(doc.At(2)->selected, 1);
    ASSERT_EQ(g_CreateTrailPoints.GetSize(), 1);
    EXPECT_EQ(g_CreateTrailPoints[0].index, 2);
    ExpectPoint(CrossingScript::lastT, 0, 5);                    // asked from the exit end
    EXPECT_EQ(CrossingScript::lastSkip, 0u);

    // Reached at its exit end with nothing beyond: off the chain.
    CrossingScript::answer = 0;
    arc->selected = 1;
    x_Vector end = arc->GetEndPoint();
    EXPECT_EQ(arc->SplitAtCrossings(0, end, 2, 0, out), 0);
    EXPECT_EQ(arc->selected, 0);
    EXPECT_EQ(CrossingScript::lastSkip, arc->unitId);
}

TEST_F(EllipseArc, OffsetKeepsTheDirection)
{
    CEllipseArc* cw = MakeArc(kPi / 2, 0, 1);
    CUnit* out = nullptr;
    ASSERT_TRUE(cw->Offset(out, 1, 1));                          // right of a clockwise run: inward
    ExpectRun(out, kPi / 2, 0, true);
    EXPECT_NEAR(out->GetSemiMajor(), 9, kTight);
    EXPECT_NEAR(out->GetSemiMinor(), 4, kTight);
    EXPECT_NEAR(out->GetSweepAngle(), kPi / 2, kTight);          // not the complement
    delete out;
    EXPECT_FALSE(cw->Offset(out, 5, 1));
    EXPECT_EQ(out, nullptr);
    delete cw;
}

TEST_F(EllipseArc, CreationStepsSetTheRun)
{
    CUnitView view;
    CEllipseArc arc;
    arc.inputPoints[0] = {-10, 0};
    arc.inputPoints[1] = {10, 0};
    arc.BuildEllipseFromInput(x_Vector(), x_Vector());
    g_cmdStep = 2;
    g_cmdPointCount = 2;
    arc.InteractiveStep(nullptr, &view, x_Vector(0, 5));
    EXPECT_NEAR(arc.workGeometry.ellipse.axisRatio, 0.5, kTight);
    arc.InteractiveStep(nullptr, &view, x_Vector(0, 0));         // the centre: ignored
    EXPECT_NEAR(arc.workGeometry.ellipse.axisRatio, 0.5, kTight);
    arc.SetStartFromPoint(x_Vector(0, 5));
    g_cmdPointCount = 4;
    arc.InteractiveStep(nullptr, &view, x_Vector(-10, 0));
    EXPECT_NEAR(arc.workGeometry.ellipse.startParam, kPi / 2, kTight);
    EXPECT_NEAR(arc.workGeometry.ellipse.endParam, kPi, kTight);
    EXPECT_NE(view.m_promptText.Find(u"椭圆弧 A1:90.0000°A2:180.0000°"), -1);
    arc.CommitTransform();
    EXPECT_NEAR(arc.GetSweepAngle(), kPi / 2, kTight);
}

} // namespace
