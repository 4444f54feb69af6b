#include "tests/paths/path_view_fixture.h"

#include <algorithm>
#include <vector>

#include <QImage>

#include "platform/testing/ui_harness.h"
#include "platform/ui/CEdit.h"
#include "view/CZorvaView.h"

using TrailGenerate = PathViewTest;

namespace {

// The engine's outer rectangle: lead-in from (10, -5), the contour offset
// 0.1 outward from (10, -0.1) counter-clockwise, lead-out back.
void ExpectOuterRectangle(const x_TrailDataArray& low)
{
    ASSERT_EQ(low.GetSize(), 7);
    const double want[7][4] = {{10, -5, 10, -0.1},    {10, -0.1, 20.1, -0.1}, {20.1, -0.1, 20.1, 10.1},
                               {20.1, 10.1, -0.1, 10.1}, {-0.1, 10.1, -0.1, -0.1}, {-0.1, -0.1, 10, -0.1},
                               {10, -0.1, 10, -5}};
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(low[i].start.x, want[i][0], 1e-9);
        EXPECT_NEAR(low[i].start.y, want[i][1], 1e-9);
        EXPECT_NEAR(low[i].end.x, want[i][2], 1e-9);
        EXPECT_NEAR(low[i].end.y, want[i][3], 1e-9);
        EXPECT_EQ(low[i].role, i == 0 || i == 6 ? 1 : 0);
    }
}

// The closed interpolating cubic through the nodes on their chord lengths,
// twice differentiable all round, worked out here on its own: the second
// derivatives m solve the cyclic system
//   h[k-1] m[k-1] + 2 (h[k-1] + h[k]) m[k] + h[k] m[k+1]
//       = 6 ((v[k+1] - v[k]) / h[k] - (v[k] - v[k-1]) / h[k-1])
// (diagonally dominant: plain elimination), each span is the cubic of its
// end values and end second derivatives.
std::vector<x_Vector> ClosedCubic(const std::vector<x_Vector>& p, int perSpan)
{
    const int n = static_cast<int>(p.size());
    std::vector<double> h(n);
    for (int k = 0; k < n; ++k)
        h[k] = x_Vector::Distance(p[k], p[(k + 1) % n]);
    const auto secondDerivatives = [&](const std::vector<double>& v) {
        std::vector<std::vector<double>> a(n, std::vector<double>(n + 1, 0.0));
        for (int k = 0; k < n; ++k) {
            const int before = (k + n - 1) % n, after = (k + 1) % n;
            a[k][before] += h[before];
            a[k][k] += 2 * (h[before] + h[k]);
            a[k][after] += h[k];
            a[k][n] = 6 * ((v[after] - v[k]) / h[k] - (v[k] - v[before]) / h[before]);
        }
        for (int i = 0; i < n; ++i)
            for (int r = i + 1; r < n; ++r) {
                const double f = a[r][i] / a[i][i];
                for (int c = i; c <= n; ++c)
                    a[r][c] -= f * a[i][c];
            }
        std::vector<double> m(n);
        for (int i = n - 1; i >= 0; --i) {
            double rest = a[i][n];
            for (int c = i + 1; c < n; ++c)
                rest -= a[i][c] * m[c];
            m[i] = rest / a[i][i];
        }
        return m;
    };
    std::vector<double> xs, ys;
    for (const x_Vector& q : p) {
        xs.push_back(q.x);
        ys.push_back(q.y);
    }
    const std::vector<double> mx = secondDerivatives(xs), my = secondDerivatives(ys);
    const auto at = [&](const std::vector<double>& v, const std::vector<double>& m, int k, double t) {
        const int j = (k + 1) % n;
        const double s = h[k] - t;
        return (m[k] * s * s * s + m[j] * t * t * t) / (6 * h[k]) + (v[k] / h[k] - m[k] * h[k] / 6) * s
               + (v[j] / h[k] - m[j] * h[k] / 6) * t;
    };
    std::vector<x_Vector> out;
    for (int k = 0; k < n; ++k)
        for (int i = 0; i < perSpan; ++i) {
            const double t = h[k] * i / perSpan;
            out.emplace_back(at(xs, mx, k, t), at(ys, my, k, t));
        }
    out.push_back(out.front());
    return out;
}

double DistanceToPolyline(const x_Vector& q, const std::vector<x_Vector>& line)
{
    double best = 1e300;
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        const x_Vector d = line[i + 1] - line[i];
        const double len2 = d.x * d.x + d.y * d.y;
        const double t = len2 > 0 ? std::clamp(((q.x - line[i].x) * d.x + (q.y - line[i].y) * d.y) / len2, 0.0, 1.0) : 0.0;
        best = std::min(best, x_Vector::Distance(q, line[i] + d * t));
    }
    return best;
}

// Crossings of a ray toward +x with a closed polyline.
bool Inside(const x_Vector& q, const std::vector<x_Vector>& ring)
{
    bool in = false;
    for (size_t i = 0; i + 1 < ring.size(); ++i) {
        const x_Vector& a = ring[i];
        const x_Vector& b = ring[i + 1];
        if ((a.y > q.y) != (b.y > q.y) && q.x < a.x + (q.y - a.y) * (b.x - a.x) / (b.y - a.y))
            in = !in;
    }
    return in;
}

} // namespace

TEST_F(TrailGenerate, RectanglePathByClicksAndItsUndo)
{
    DrawRectangle();
    drv->Start(kCmdPath);
    EXPECT_EQ(drv->view->m_subStep, 0);
    Click({10, -5});
    EXPECT_EQ(drv->view->m_subStep, 1);
    Click({10, 0});
    ASSERT_EQ(drv->view->m_subStep, 2);
    ASSERT_EQ(g_DirSignList.GetSize(), 2);
    ClickPixel(MarkerHead(MarkerAt(0.0)));
    // A closed chain skips the end point: the side markers are up.
    ASSERT_EQ(drv->view->m_subStep, 4);
    ASSERT_EQ(g_DirSignList.GetSize(), 2);
    EXPECT_EQ(g_DirSignList[0].direction, 2);   // left of the cut: +90°
    EXPECT_NEAR(g_DirSignList[0].angle, kPi / 2, 1e-12);
    ClickPixel(MarkerHead(MarkerAt(1.5 * kPi)));

    const auto paths = Paths();
    ASSERT_EQ(paths.size(), 1u);
    const CTrail& t = *paths[0];
    ExpectOuterRectangle(t.trails[0]);
    EXPECT_TRUE(t.trails[1].IsEmpty());
    EXPECT_EQ(t.role, kRolePath);
    EXPECT_EQ(t.params.cutCount, 1);
    EXPECT_EQ(t.params.closedCut, 1);
    EXPECT_NEAR(t.params.compensation, 0.1, 1e-12);
    EXPECT_NEAR(t.params.cutLength[0], 60.8, 1e-9);
    ExpectPoint(t.params.threadPoint[0], 10, -5);
    EXPECT_TRUE(Printed(u"轨迹生成->操作完成"));
    EXPECT_EQ(drv->Command(), 0);
    for (CUnit* u : drv->LiveEntities())
        EXPECT_FALSE(u->temporary) << "preview lines are gone";

    Key(4003);      // Ctrl+Z
    EXPECT_TRUE(Paths().empty());
    EXPECT_EQ(drv->LiveEntities().size(), 4u);
}

TEST_F(TrailGenerate, LeadInBesideEveryLineIsRefusedAndTheStepStays)
{
    DrawRectangle();
    drv->Start(kCmdPath);
    Click({10, -5});
    Click({10, -1});
    EXPECT_TRUE(Printed(u"#切入点不在实线上"));
    EXPECT_EQ(drv->view->m_subStep, 1);
    Click({10, 0});
    EXPECT_EQ(drv->view->m_subStep, 2);
}

// The side typed as a number n is side n + 1 (0 right of the cut, 1 left),
// while a click on the first marker, drawn at +90 degrees, gives side 2.
// Typed n used to take marker n's code, the other side.
TEST_F(TrailGenerate, TypedSideNumberAndClickedMarkerGiveTheirSides)
{
    const struct {
        const char* name;
        const char16_t* typed;      // null: click marker 0
        int side;
        double cutLength;
    } kCases[] = {
        {"typed 0: right of the cut, outside", u"0", 1, 60.8},
        {"typed 1: left of the cut, inside", u"1", 2, 59.2},
        {"first marker clicked: left, inside", nullptr, 2, 59.2},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        drv->doc->FreeAllUnits();
        DrawRectangle();
        drv->Start(kCmdPath);
        Click({10, c.side == 1 ? -5.0 : 5.0});
        Click({10, 0});
        Type(u"0");     // the direction marker typed: index 0 runs along +x
        ASSERT_EQ(drv->view->m_subStep, 4);
        ASSERT_NEAR(g_DirSignList[0].angle, kPi / 2, 1e-12);
        if (c.typed != nullptr)
            Type(c.typed);
        else
            ClickPixel(MarkerHead(0));
        const auto paths = Paths();
        ASSERT_EQ(paths.size(), 1u);
        EXPECT_NEAR(paths[0]->params.cutLength[0], c.cutLength, 1e-9);
        // A closed hole stores its compensation negated.
        EXPECT_NEAR(paths[0]->params.compensation, c.side == 1 ? 0.1 : -0.1, 1e-12);
    }
}

// The side word starts from the settings' default side when the direction
// is chosen: 1 when it is 0, 2 otherwise. It used to start at 1 whatever
// the settings held.
TEST_F(TrailGenerate, DirectionStepTakesTheDefaultSideOfTheSettings)
{
    drv->Start(kCmdLine);
    drv->ClickAt({0, 0});
    drv->ClickAt({20, 0});
    drv->Start(0);
    const struct { std::uint8_t stored; int side; } kCases[] = {{0, 1}, {1, 2}, {7, 2}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.stored);
        g_MachiningSettings.defaultCompSide = c.stored;
        drv->Start(kCmdPath);
        Click({-5, -5});
        Click({0, 0});
        Type(u"0");
        ASSERT_EQ(drv->view->m_subStep, 3) << "an open chain waits for its end point";
        EXPECT_EQ(drv->view->m_path.compSide, c.side);
        Type(u"u");
    }
}

// A typed direction on a closed contour: the lead-out goes back to the
// threading point, as with a clicked arrow. It used to end on the lead-in
// point, on the drawn line, inside the part by the compensation.
TEST_F(TrailGenerate, TypedDirectionOnAClosedContourLeadsOutToTheThreadingPoint)
{
    const auto build = [&](bool typed) -> x_TrailDataArray {
        drv->doc->FreeAllUnits();
        drv->Start(kCmdRectangle);
        drv->ClickAt({0, 0});
        drv->ClickAt({40, 30});
        drv->Start(kCmdPath);
        Type(u"-8,20");
        Type(u"0,20");
        EXPECT_EQ(drv->view->m_subStep, 2);
        if (typed)
            Type(u"0");
        else
            ClickPixel(MarkerHead(0));
        EXPECT_EQ(drv->view->m_subStep, 4);
        Type(u"1");
        const auto paths = Paths();
        if (paths.size() != 1u)
            return {};
        return paths[0]->trails[0];
    };
    for (const bool typed : {true, false}) {
        SCOPED_TRACE(typed ? "typed" : "clicked");
        const x_TrailDataArray low = build(typed);
        ASSERT_GE(low.GetSize(), 3);
        const x_TrailData& in = low[0];
        const x_TrailData& out = low[low.GetSize() - 1];
        EXPECT_EQ(in.role, 1);
        EXPECT_EQ(out.role, 1);
        ExpectPoint(in.start, -8, 20);
        ExpectPoint(out.end, -8, 20);
        // Both lead lines meet the contour at its closing point, 0.1 off
        // the drawn edge x = 0.
        ExpectPoint(out.start, in.end.x, in.end.y);
        EXPECT_NEAR(std::fabs(in.end.x), 0.1, 1e-9);
        EXPECT_NEAR(in.end.y, 20, 1e-9);
    }
}

TEST_F(TrailGenerate, HeldWorkerRefusesEditsAndEscWaitsForIt)
{
    DrawRectangle();
    drv->Start(kCmdPath);
    Click({10, -5});
    HoldWorkerForTest(true);
    drv->ClickAt({10, 0});
    ASSERT_NE(drv->view->m_workerRequest.load(), 0);
    const size_t before = drv->Output().size();
    drv->Start(kCmdLine);
    Key(4003);                      // undo
    drv->ClickAt({10, 0});          // another path click
    drv->Type(u"l");
    Release();
    std::vector<std::pair<CUnit*, int>> roles;
    for (CUnit* u : drv->LiveEntities()) {
        u->selected = 1;
        roles.emplace_back(u, u->role);
    }
    drv->view->OnBlockMake();       // menu 块生成 and 块打散
    drv->view->OnBlockExplode();
    for (const auto& [u, role] : roles)
        EXPECT_EQ(u->role, role);
    EXPECT_EQ(drv->Command(), kCmdPath);
    int refusals = 0;
    const auto out = drv->Output();
    for (size_t i = before; i < out.size(); ++i)
        refusals += out[i] == CString(u"#请等待线程处理完成...") ? 1 : 0;
    EXPECT_GE(refusals, 5);
    // Esc only stops the run; the preview lines the worker makes stay
    // until it has handed its request back.
    Key(27);
    EXPECT_EQ(drv->Command(), kCmdPath);
    EXPECT_EQ(g_TrailRunFlag.load(), 0);
    HoldWorkerForTest(false);
    Finish();
    EXPECT_EQ(drv->Command(), 0);
    EXPECT_EQ(drv->view->m_workerRequest.load(), 0);
    for (CUnit* u : drv->LiveEntities())
        EXPECT_FALSE(u->temporary);
}

TEST_F(TrailGenerate, DeleteAllPathsIsOneUndoStep)
{
    MakeRectanglePath();
    ASSERT_EQ(Paths().size(), 1u);
    Type(u"ed");
    EXPECT_TRUE(Paths().empty());
    EXPECT_EQ(drv->LiveEntities().size(), 4u);
    Key(4003);
    EXPECT_EQ(Paths().size(), 1u);
}

// Without the path dialog F3 starts path generation; pressed during a held
// generation it stops the worker's run and ends the command once the
// worker has handed its request back.
TEST_F(TrailGenerate, F3StartsGenerationAndStopsARunningOne)
{
    DrawRectangle();
    drv->doc->OnTrailCreate();
    EXPECT_EQ(drv->Command(), kCmdPath);
    Click({10, -5});
    HoldWorkerForTest(true);
    drv->ClickAt({10, 0});
    g_TrailRunFlag = 1;
    drv->doc->OnTrailCreate();
    EXPECT_EQ(g_TrailRunFlag.load(), 0);
    HoldWorkerForTest(false);
    Finish();
    EXPECT_EQ(drv->Command(), 0);
    for (CUnit* u : drv->LiveEntities())
        EXPECT_FALSE(u->temporary);
}

// An idle click on a path describes it and gives it the next export number.
TEST_F(TrailGenerate, IdleClickOnAPathNumbersAndDescribesIt)
{
    MakeRectanglePath();
    Click({10, -3});
    ASSERT_EQ(g_SelectedTrailIds.GetSize(), 1);
    const CString want(u"加工轨迹->编号：1 ，类型：0 ，切割次数：1 ，总长：70.600mm ，补偿：0.1000 ，厚度：20.000 ，锥度：0.0000°");
    EXPECT_TRUE(Printed(want)) << drv->Output().back().ToUtf8();
    int labels = 0;
    for (CUnit* u : drv->LiveEntities())
        labels += u->GetType() == 12 && u->temporary ? 1 : 0;
    EXPECT_EQ(labels, 1);
}

// Two profiles: the first contour leaves step 5 and one lead preview line
// and adds nothing to the drawing; Esc then frees the unfinished path (it
// used to be dropped without being freed).
TEST_F(TrailGenerate, TwoProfileFirstContourWaitsAndEscFreesIt)
{
    g_CutMode = 2;
    DrawRectangle();
    drv->Start(kCmdPath);
    Click({10, -5});
    Click({10, 0});
    Type(u"0");
    Type(u"1");
    EXPECT_EQ(drv->view->m_subStep, 5);
    EXPECT_EQ(drv->view->m_path.leadPreviewLines.GetSize(), 1);
    EXPECT_NE(drv->view->m_path.trail, nullptr);
    EXPECT_TRUE(Paths().empty());
    Key(27);
    EXPECT_EQ(drv->Command(), 0);
    EXPECT_EQ(drv->view->m_path.trail, nullptr);
}

// "f" turns clicks into picks of shapes that take the typed compensation.
// The value shown is selected, so that the next value typed replaces it; it
// used to be left unselected, and typing appended to it.
TEST_F(TrailGenerate, CompensationEditGivesThePickedShapeTheTypedValue)
{
    DrawRectangle();
    drv->Start(kCmdPath);
    Type(u"f");
    EXPECT_EQ(drv->view->m_compensationEditMode, 1);
    auto* edit = dynamic_cast<CEdit*>(g_commandBar->GetDlgItem(kIdCommandEdit));
    ASSERT_NE(edit, nullptr);
    const auto expectShownSelected = [&](const char16_t* shown) {
        EXPECT_EQ(drv->CommandEdit(), CString(shown));
        int start = -1, end = -1;
        edit->GetSel(start, end);
        EXPECT_EQ(start, 0);
        EXPECT_EQ(end, CString(shown).GetLength());
    };
    expectShownSelected(u"0.1");

    Click({10, 0});
    CUnit* bottom = nullptr;
    for (CUnit* u : drv->LiveEntities())
        if (u->selected)
            bottom = u;
    ASSERT_NE(bottom, nullptr) << "the bottom edge is picked";
    Type(u"0.25");
    EXPECT_EQ(bottom->compensation, 0.25);
    EXPECT_TRUE(Paths().empty()) << "no path is built in this mode";
    expectShownSelected(u"0.25");

    Type(u"f");
    EXPECT_EQ(drv->view->m_compensationEditMode, 0);
    EXPECT_EQ(drv->Command(), kCmdPath);
}

// Variable taper: after the side, the walked shapes show their angles in
// green at their mid points until the path is built; a typed angle goes to
// the shape clicked.
TEST_F(TrailGenerate, VariableTaperShowsTheShapesAngles)
{
    g_CutMode = 3;
    const auto greenNear = [&](const x_Vector& at) {
        const CString shot = harness::TempPath(u"taper_labels.png");
        EXPECT_TRUE(drv->Snapshot(shot));
        const QImage image(QString::fromStdString(NativePath(shot)));
        const POINT c = drv->Pixel(at);
        int n = 0;
        for (int y = c.y - 20; y < c.y + 20; ++y)
            for (int x = c.x - 40; x < c.x + 60; ++x)
                n += image.pixel(x, y) == qRgb(0, 255, 0) ? 1 : 0;
        return n;
    };
    MakeRectanglePath();
    ASSERT_EQ(drv->view->m_path.taperStep, 1);
    EXPECT_GT(greenNear({10, 10}), 0);
    Click({0, 5});
    Type(u"1.5");
    Type(u"");
    ASSERT_EQ(Paths().size(), 1u);
    double leftAngle = 0.0;
    for (CUnit* u : drv->LiveEntities())
        if (u->GetType() == 1 && u->GetMidPoint().x == 0.0)
            leftAngle = u->taperAngle;
    EXPECT_EQ(leftAngle, 1.5);
    EXPECT_EQ(greenNear({10, 10}), 0);
}

// Variable taper: once the side is chosen the prompt asks for the angles,
// after every pick and every angle typed, until the empty Enter builds the
// path. The side prompt used to stay and came again after each pick.
TEST_F(TrailGenerate, VariableTaperAnglesHaveTheirOwnPrompt)
{
    g_CutMode = 3;
    const CString angles(u"轨迹生成->请选择实线输入正负角度(+/- a) 【回车/右键/确定】");
    const CString side(u"轨迹生成->请选择补偿方向(0,1)【放弃(U) / 自动损丝补偿修正(E)】");
    const auto count = [&](size_t from, const CString& text) {
        const auto out = drv->Output();
        int n = 0;
        for (size_t i = from; i < out.size(); ++i)
            n += out[i].Find(text.GetString()) >= 0 ? 1 : 0;
        return n;
    };
    DrawRectangle();
    drv->Start(kCmdPath);
    Click({10, -5});
    Click({10, 0});
    ClickPixel(MarkerHead(MarkerAt(0.0)));
    ASSERT_EQ(drv->view->m_subStep, 4);
    const size_t sideShown = drv->Output().size();
    ClickPixel(MarkerHead(MarkerAt(1.5 * kPi)));
    ASSERT_EQ(drv->view->m_path.taperStep, 1);
    EXPECT_EQ(count(sideShown, angles), 1);
    EXPECT_EQ(count(sideShown, side), 0);
    const size_t before = drv->Output().size();
    Click({0, 5});
    Type(u"1.5");
    EXPECT_EQ(count(before, side), 0) << "the side prompt does not come back";
    EXPECT_GE(count(before, angles), 1);
    EXPECT_EQ(drv->Output().back().Find(angles.GetString()) >= 0, true);
    Type(u"");
    EXPECT_EQ(Paths().size(), 1u);
}

// A closed spline drawn by typed nodes and cut as a hole at 0.35 through
// the path command: the contour runs 0.35 inside the curve all round and
// closes at the lead-in. The drawn curve solves its tangents in ten sweeps
// and its chords in single precision, the reference exactly.
TEST_F(TrailGenerate, TypedClosedSplineCutAsAHole)
{
    constexpr double kCurveAgreement = 0.002;   // mm: sweeps, chords and sampling
    const std::vector<x_Vector> nodes = {{0, 0}, {15, -6}, {25, 5}, {12, 16}, {-6, 9}};
    g_MachiningSettings.compensation = 0.35;
    Type(u"spl");
    for (const char16_t* node : {u"0,0", u"15,-6", u"25,5", u"12,16", u"-6,9"})
        Type(node);
    Type(u"c");
    ASSERT_EQ(drv->Command(), 0);
    drv->Start(kCmdPath);
    Type(u"10,5");      // threading point inside
    Type(u"25,5");      // lead-in on a node
    Type(u"0");         // along the nodes: counter-clockwise
    Type(u"1");         // its left: inside
    const auto paths = Paths();
    ASSERT_EQ(paths.size(), 1u);
    const x_TrailDataArray& low = paths[0]->trails[0];
    ASSERT_GT(low.GetSize(), 100);
    const std::vector<x_Vector> curve = ClosedCubic(nodes, 4000);
    x_Vector first, last, worstAt;
    int cut = 0, outside = 0;
    double worst = 0.0;
    for (const x_TrailData& e : low) {
        if (e.role != 0)
            continue;
        ASSERT_TRUE(e.IsLine()) << "pieces are lines unless fitted to arcs";
        if (cut++ == 0)
            first = e.start;
        last = e.end;
        for (const x_Vector& q : {e.start, (e.start + e.end) * 0.5}) {
            const double off = std::fabs(DistanceToPolyline(q, curve) - 0.35);
            if (off > worst) {
                worst = off;
                worstAt = q;
            }
            outside += Inside(q, curve) ? 0 : 1;
        }
    }
    EXPECT_LT(worst, kCurveAgreement) << "at " << worstAt.x << ", " << worstAt.y;
    EXPECT_EQ(outside, 0);
    EXPECT_TRUE(first.IsEqual(last));
    ExpectPoint(low[0].start, 10, 5);
    ExpectPoint(low[low.GetSize() - 1].end, 10, 5);
}
