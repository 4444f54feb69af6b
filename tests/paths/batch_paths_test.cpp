#include "tests/paths/path_view_fixture.h"

#include <mutex>
#include <thread>

#include "geometry/CCir.h"
#include "geometry/CText.h"
#include "view/path_hooks.h"
#include "wirepath/WirepathState.h"

namespace {

constexpr double kPitch = 20.0;

class BatchPaths : public PathViewTest {
protected:
    void SetUp() override
    {
        PathViewTest::SetUp();
        MachiningSettings& m = g_MachiningSettings;
        m.batchMode = 0;
        m.batchReverse = 0;
        m.batchFirstCorner = 0;
        m.batchLeadAngle = 0.0;
        m.batchLeadLength = 2.0;
        m.batchOuter = 1;
        m.batchReturnToThread = 1;
    }
    CUnit* Add(CUnit* u) { return AddUnit(u); }
    void Line(double x1, double y1, double x2, double y2) { Add(new CLine(x1, y1, x2, y2)); }
    CUnit* Circle(double x, double y, double r)
    {
        auto* c = new CCir();
        c->geometry.circle.centre = c->workGeometry.circle.centre = x_Vector(x, y);
        c->geometry.circle.radius = c->workGeometry.circle.radius = r;
        return Add(c);
    }
    // A 10 x 6 rectangle at (x, y) with a lead line from 3 mm below the
    // middle of its bottom edge.
    void Figure(double x, double y)
    {
        Line(x, y, x + 10, y);
        Line(x + 10, y, x + 10, y + 6);
        Line(x + 10, y + 6, x, y + 6);
        Line(x, y + 6, x, y);
        Line(x + 5, y - 3, x + 5, y);
    }
    // 20 figures in 4 rows of 5, then a row of 5 circles of radius 2.
    void Plate()
    {
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 5; ++col)
                Figure(col * kPitch, row * kPitch);
        for (int col = 0; col < 5; ++col)
            Circle(col * kPitch + 5, 4 * kPitch + 3, 2.0);
    }
    void SelectAll()
    {
        for (CUnit* u : drv->LiveEntities())
            u->selected = 1;
    }
    void RunBatch(int outer)
    {
        ASSERT_TRUE(drv->view->StartBatchPaths(outer));
        Finish();
    }
    // Output lines that name a figure ("*图形n...") and hold what.
    int FigureLines(const char16_t* what) const
    {
        int n = 0;
        for (const CString& l : drv->Output())
            n += l.Left(3) == CString(u"*图形") && l.Find(what) > 0 ? 1 : 0;
        return n;
    }
    std::vector<CString> Labels() const
    {
        std::vector<CString> out;
        for (CUnit* u : drv->LiveEntities())
            if (u->GetType() == 12)
                out.push_back(u->geometry.text.text);
        return out;
    }
    CTrail* PathById(std::uint64_t id) const
    {
        for (CTrail* t : Paths())
            if (t->unitId == id)
                return t;
        return nullptr;
    }
};

} // namespace

TEST_F(BatchPaths, PlateOfFiguresAndCirclesGetsOnePathEachInCornerOrder)
{
    Plate();
    SelectAll();
    g_CutMode = 3;
    RunBatch(1);
    const auto paths = Paths();
    ASSERT_EQ(paths.size(), 25u);
    EXPECT_TRUE(Printed(u"轨迹生成->操作完成"));
    EXPECT_EQ(g_CutMode, 3) << "the cut mode is the one before the run";
    int circles = 0;
    for (CTrail* t : paths) {
        EXPECT_EQ(t->params.cutMode, 0);
        EXPECT_EQ(t->params.closedCut, 1);
        EXPECT_NEAR(t->params.compensation, 0.1, 1e-12) << "outer shapes";
        const x_Vector thread = t->params.threadPoint[0];
        if (thread.y > 4 * kPitch) {
            // Outer circle: lead angle 0, lead length 2 beyond the radius.
            ++circles;
            EXPECT_NEAR(std::fmod(thread.x - 5, kPitch), 4.0, 1e-9);
            EXPECT_NEAR(thread.y, 4 * kPitch + 3, 1e-9);
            EXPECT_NEAR(t->params.cutLength[0], 2 * kPi * 2.1, 1e-6);
        } else {
            EXPECT_NEAR(std::remainder(thread.y + 3, kPitch), 0.0, 1e-9) << "the lead line's far end";
            EXPECT_NEAR(t->params.cutLength[0], 32.8, 1e-9) << "compensated outside";
        }
    }
    EXPECT_EQ(circles, 5);
    // Cutting order from the lower left corner, numbered 1 to 25.
    ASSERT_EQ(g_SelectedTrailIds.GetSize(), 25);
    const CTrail* first = PathById(g_SelectedTrailIds[0]);
    ASSERT_NE(first, nullptr);
    ExpectPoint(first->params.threadPoint[0], 5, -3);
    EXPECT_EQ(Labels().size(), 25u);
    EXPECT_NE(std::find(Labels().begin(), Labels().end(), CString(u"25")), Labels().end());
}

TEST_F(BatchPaths, FirstPathIsNearestTheChosenCorner)
{
    const struct { int corner; double x, y; } kCases[] = {
        {1, 85, -3}, {2, 5, 57}, {3, 85, 57},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.corner);
        drv->doc->FreeAllUnits();
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 5; ++col)
                Figure(col * kPitch, row * kPitch);
        SelectAll();
        g_MachiningSettings.batchFirstCorner = c.corner;
        RunBatch(1);
        ASSERT_EQ(g_SelectedTrailIds.GetSize(), 20);
        ExpectPoint(PathById(g_SelectedTrailIds[0])->params.threadPoint[0], c.x, c.y);
    }
}

TEST_F(BatchPaths, HoleCirclesThreadAtTheCentre)
{
    Circle(0, 0, 3);
    Circle(10, 0, 3);
    SelectAll();
    g_MachiningSettings.batchLeadAngle = kPi / 2;
    RunBatch(0);
    const auto paths = Paths();
    ASSERT_EQ(paths.size(), 2u);
    for (CTrail* t : paths) {
        const x_Vector c = t->params.threadPoint[0];
        EXPECT_NEAR(c.y, 0.0, 1e-12);
        EXPECT_TRUE(std::fabs(c.x) < 1e-12 || std::fabs(c.x - 10) < 1e-12);
        // Lead-in to the top of the circle, the hole cut 0.1 inside.
        ExpectPoint(t->trails[0][0].end, c.x, 2.9, 1e-9);
        EXPECT_NEAR(t->params.compensation, -0.1, 1e-12);
    }
}

TEST_F(BatchPaths, NothingSelectedIsReportedAndNoPathMade)
{
    Plate();
    RunBatch(1);
    EXPECT_TRUE(Paths().empty());
    const auto out = drv->Output();
    const auto at = std::find(out.begin(), out.end(), CString(u"#请选择实线"));
    ASSERT_NE(at, out.end());
    EXPECT_NE(std::find(at, out.end(), CString(u"轨迹生成->未能创建轨迹")), out.end());
    EXPECT_EQ(drv->view->m_workerRequest.load(), 0);
}

// The listing run numbers every figure (nothing selected) and builds
// nothing; the selection is left as it was.
TEST_F(BatchPaths, ListingNumbersFiguresWithoutPaths)
{
    Plate();
    ASSERT_NE(g_PathHooks.listBatchShapes, nullptr);
    const std::vector<int> shapes = g_PathHooks.listBatchShapes(*drv->view, 1);
    ASSERT_EQ(shapes.size(), 25u);
    EXPECT_TRUE(Paths().empty());
    const CUnitArray& list = drv->doc->m_unitList;
    EXPECT_EQ(list[shapes[0]]->contourNo, 1);
    EXPECT_EQ(list[shapes[0]]->contourShape, 1);
    EXPECT_EQ(list[shapes[24]]->contourNo, 25);
    EXPECT_EQ(list[shapes[24]]->contourShape, 2);
    int numbered = 0;
    for (CUnit* u : drv->LiveEntities()) {
        numbered += u->contourNo == 1 ? 1 : 0;
        EXPECT_EQ(u->selected, 0);
    }
    EXPECT_EQ(numbered, 4) << "the four sides of the first figure";
}

// A slot cut clockwise as a hole, whose compensated contour is 0.06 mm wide,
// leaves no room for corner clearing's trial offset of 0.05 to its inner
// side: the path is built without clearing and the run says so (the
// failure used to pass unnoticed).
TEST_F(BatchPaths, FailedCornerClearingGivesAHint)
{
    Line(0, 0, 10, 0);
    Line(10, 0, 10, 0.26);
    Line(10, 0.26, 0, 0.26);
    Line(0, 0.26, 0, 0);
    Line(5, 0.13, 5, 0);
    SelectAll();
    g_MachiningSettings.cornerAngle = 100;
    g_MachiningSettings.cornerLeadLength = 1;
    g_MachiningSettings.cornerLeadDir = 2;
    g_MachiningSettings.batchReverse = 1;
    RunBatch(0);
    ASSERT_EQ(Paths().size(), 1u);
    for (const x_TrailData& e : Paths()[0]->trails[0])
        EXPECT_NE(e.role, 7);
    EXPECT_TRUE(Printed(u"*图形1清角失败，轨迹未清角"));
}

// A figure whose path the check refuses is named with "*" and what
// failed; the run goes on with the next figure. The figure is a hole 1 mm
// wide cut with a taper of 2 degrees over 20 mm: its upper contour lies
// 0.8 mm inside the edges and cannot exist.
TEST_F(BatchPaths, RefusedFigureGivesAHintAndTheRunGoesOn)
{
    MachiningSettings& m = g_MachiningSettings;
    m.batchMode = 1;
    m.taperAngle = 2.0;
    m.thickness = 20.0;
    Line(0, 0, 5, 0);
    Line(5, 0, 5, 1);
    Line(5, 1, 0, 1);
    Line(0, 1, 0, 0);
    Line(2.5, 0.5, 2.5, 0);
    Figure(30, 0);
    SelectAll();
    RunBatch(0);
    EXPECT_EQ(Paths().size(), 1u);
    EXPECT_EQ(FigureLines(u"未生成，轨迹检查：上表面"), 1);
    EXPECT_TRUE(Printed(u"轨迹生成->操作完成"));
}

// A figure the engine itself cannot offset (a notch 0.1 mm wide in an
// outline cut outside at 0.1: the notch's edges meet nowhere) is named
// too; the run goes on with the next figure.
TEST_F(BatchPaths, FigureTheOffsetRefusesIsNamed)
{
    g_MachiningSettings.compensation = 0.1;
    g_MachiningSettings.noOffset = 0;
    Line(0, 0, 10, 0);
    Line(10, 0, 10, 6);
    Line(10, 6, 5.05, 6);
    Line(5.05, 6, 5.05, 4);
    Line(5.05, 4, 4.95, 4);
    Line(4.95, 4, 4.95, 6);
    Line(4.95, 6, 0, 6);
    Line(0, 6, 0, 0);
    Line(5, -3, 5, 0);
    Figure(30, 0);
    SelectAll();
    RunBatch(1);
    EXPECT_EQ(Paths().size(), 1u);
    EXPECT_EQ(FigureLines(u"未生成，请检查参数或实线"), 1);
    EXPECT_TRUE(Printed(u"轨迹生成->操作完成"));
}

// Straight then taper over a hole: the straight path carries the taper's
// extra offset; without the return to the threading point the second path
// starts where the first one's lead-out now ends, and both paths' lengths
// follow the edited lead lines.
TEST_F(BatchPaths, StraightThenTaperPairOnAHole)
{
    MachiningSettings& m = g_MachiningSettings;
    m.batchMode = 2;
    m.taperAngle = 2.0;
    m.thickness = 20.0;
    m.batchOffset1 = m.batchOffset2 = 0.0;
    m.batchReturnToThread = 0;
    m.batchPauseAfterFirst = 1;
    Circle(0, 0, 3);
    SelectAll();
    RunBatch(0);
    const auto paths = Paths();
    ASSERT_EQ(paths.size(), 2u);
    const CTrail& a = *paths[0];
    const CTrail& b = *paths[1];
    EXPECT_EQ(a.params.cutMode, 0);
    EXPECT_EQ(b.params.cutMode, 1);
    EXPECT_NEAR(a.params.compensation, -(0.1 + std::tan(2.0 * kPi / 180.0) * 20.0), 1e-12);
    EXPECT_NEAR(b.params.compensation, -0.1, 1e-12);
    EXPECT_GT(a.group, 0);
    EXPECT_EQ(a.group, b.group);
    const x_TrailData& out = a.trails[0][a.trails[0].GetSize() - 1];
    EXPECT_EQ(out.role, 1);
    ExpectPoint(out.end, out.start.x, out.start.y);
    EXPECT_EQ(out.attribute, 1) << "pause after the first path";
    for (const CTrail* t : {&a, &b}) {
        double sum = 0.0;
        for (const x_TrailData& e : t->trails[0])
            sum += e.Length();
        EXPECT_NEAR(t->params.length[0], sum, 1e-9);
    }
    ExpectPoint(b.trails[0][0].start, out.end.x, out.end.y);
    ExpectPoint(b.trails[1][0].start, out.end.x, out.end.y);
    ExpectPoint(b.params.threadPoint[0], out.end.x, out.end.y);
    ASSERT_EQ(g_SelectedTrailIds.GetSize(), 2) << "both paths of the pair are exported";
    EXPECT_EQ(g_SelectedTrailIds[0], a.unitId) << "a pair starts with its first path";
    EXPECT_EQ(g_SelectedTrailIds[1], b.unitId);
}

// A line touching a figure at both ends is no lead line: the square gets no
// path, the circle it touches still gets a constructed lead. The lead
// angle is clamped to 0..2 pi and a negative lead length counts as 0.
TEST_F(BatchPaths, BridgeLineIsNoLeadAndCircleLeadIsClamped)
{
    const struct { const char* name; double angle, length, x, y; } kCases[] = {
        {"angle 7 is 2 pi", 7.0, 2.0, 5.0, 0.0},
        {"angle -1 is 0", -1.0, 2.0, 5.0, 0.0},
        {"negative length is 0", 0.0, -1.0, 3.0, 0.0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        drv->doc->FreeAllUnits();
        Circle(0, 0, 3);
        Line(10, -3, 16, -3);
        Line(16, -3, 16, 5);
        Line(16, 5, 10, 5);
        Line(10, 5, 10, -3);
        Line(0, 3, 10, 3);
        SelectAll();
        g_MachiningSettings.batchLeadAngle = c.angle;
        g_MachiningSettings.batchLeadLength = c.length;
        RunBatch(1);
        const auto paths = Paths();
        ASSERT_EQ(paths.size(), 1u);
        ExpectPoint(paths[0]->params.threadPoint[0], c.x, c.y, 1e-9);
        EXPECT_NEAR(paths[0]->params.compensation, 0.1, 1e-12) << "outer circle";
        EXPECT_EQ(g_MachiningSettings.batchLeadAngle, c.angle) << "the setting itself is kept";
    }
}

// Esc before the worker began the run used to be lost: the worker armed
// the run flag itself and built the whole batch.
TEST_F(BatchPaths, EscBeforeTheRunBeginsBuildsNothing)
{
    Plate();
    SelectAll();
    HoldWorkerForTest(true);
    ASSERT_TRUE(drv->view->StartBatchPaths(1));
    Key(27);
    HoldWorkerForTest(false);
    Finish();
    EXPECT_TRUE(Paths().empty());
    EXPECT_TRUE(Printed(u"轨迹生成->未能创建轨迹"));
    EXPECT_FALSE(Printed(u"轨迹生成->操作完成"));
    EXPECT_EQ(drv->view->m_workerRequest.load(), 0);
}

// Esc during the run keeps the paths built so far as one undo step: they
// used to join the next command's step, so undoing a line took them too.
TEST_F(BatchPaths, PathsBuiltBeforeEscAreAnUndoStepOfTheirOwn)
{
    for (int row = 0; row < 30; ++row)
        for (int col = 0; col < 30; ++col)
            Figure(col * kPitch, row * kPitch);
    drv->doc->CommitUndoStep(0);
    SelectAll();
    ASSERT_TRUE(drv->view->StartBatchPaths(1));
    for (bool built = false; !built; std::this_thread::yield()) {
        std::lock_guard<std::recursive_mutex> lock(drv->doc->m_listMutex);
        for (CUnit* u : drv->doc->m_unitList)
            built = built || u->GetType() == 66;
    }
    Key(27);
    Finish();
    const size_t kept = Paths().size();
    ASSERT_GT(kept, 0u);
    ASSERT_LT(kept, 900u) << "the run was stopped";
    EXPECT_TRUE(Printed(u"轨迹生成->未能创建轨迹"));
    drv->Start(kCmdLine);
    drv->ClickAt({-10, -10});
    drv->ClickAt({-20, -10});
    Key(27);
    ASSERT_TRUE(drv->doc->Undo());
    EXPECT_EQ(Paths().size(), kept) << "undoing the line leaves the paths";
    ASSERT_TRUE(drv->doc->Undo());
    EXPECT_TRUE(Paths().empty());
    EXPECT_EQ(drv->LiveEntities().size(), 4500u);
}
