#include "tests/paths/path_view_fixture.h"

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

// Typed n takes marker n's code; it used to take n + 1, the opposite side.
TEST_F(TrailGenerate, TypedSideIndexTakesThatMarkersSide)
{
    const struct { const char16_t* typed; double cutLength; } kCases[] = {
        {u"1", 60.8},     // marker 1 (code 1, right of the cut): outside
        {u"0", 59.2},     // marker 0 (code 2, left): inside, a hole
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(CString(c.typed).ToUtf8());
        drv->doc->FreeAllUnits();
        DrawRectangle();
        drv->Start(kCmdPath);
        Click({10, c.cutLength > 60 ? -5.0 : 5.0});
        Click({10, 0});
        Type(u"0");     // the direction marker typed: index 0 runs along +x
        ASSERT_EQ(drv->view->m_subStep, 4);
        Type(c.typed);
        const auto paths = Paths();
        ASSERT_EQ(paths.size(), 1u);
        EXPECT_NEAR(paths[0]->params.cutLength[0], c.cutLength, 1e-9);
        // A closed hole stores its compensation negated.
        EXPECT_NEAR(paths[0]->params.compensation, c.cutLength > 60 ? 0.1 : -0.1, 1e-12);
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
