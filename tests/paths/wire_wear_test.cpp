#include "tests/paths/path_view_fixture.h"

#include "platform/testing/dialog_answers.h"
#include "platform/ui/CDialog.h"
#include "wirepath/wire_wear.h"

namespace {

constexpr int IDC_LENGTH = 1009, IDC_THICKNESS = 1015, IDC_AREA = 1016, IDC_RATIO = 1017, IDC_HINT = 1002;
constexpr int IDC_ESTIMATE = 1178;

CString Text(CDialog& d, int id)
{
    CString text;
    d.GetDlgItemText(id, text);
    return text;
}

class WireWear : public PathViewTest {
protected:
    void SetUp() override
    {
        PathViewTest::SetUp();
        drv->SetView(0.4, 50, 300);
        g_MachiningSettings.wearRatio = 150000.0;
        g_MachiningSettings.thickness = 20.0;
    }
    // A 1600 mm line picked from its start, cut along +x with the
    // compensation below it; the dialogue waits at the side step.
    void PickLongLine()
    {
        drv->Start(kCmdLine);
        drv->ClickAt({0, 0});
        drv->ClickAt({1600, 0});
        drv->Start(0);
        drv->Start(kCmdPath);
        Click({-20, -20});
        Click({0, 0});
        Type(u"0");
        ASSERT_EQ(drv->view->m_subStep, 3);
        Click({1620, -20});
        ASSERT_EQ(drv->view->m_subStep, 4);
    }
};

} // namespace

// Ratio 150000 and thickness 20: a correction every 750 mm. The estimate
// marks 750 and 1500 and prints the result once; applying splits the line
// there, and the path's compensation falls by 0.001 after each mark.
TEST_F(WireWear, LongLineIsSplitAtEachCorrectionAndTheOffsetFalls)
{
    PickLongLine();
    ModalDialogScript modal;
    modal.Then([](CDialog& d) {
        EXPECT_EQ(Text(d, IDC_LENGTH), CString(u"1600.0"));
        EXPECT_EQ(Text(d, IDC_RATIO), CString(u"150000"));
        EXPECT_EQ(Text(d, IDC_AREA), CString(u"32000"));
        d.PressButton(IDC_ESTIMATE);
        EXPECT_EQ(g_WearMarkers.GetSize(), 2);
        EXPECT_EQ(g_WearCorrectionMode, 0) << "an estimate changes nothing";
        d.PressButton(IDC_ESTIMATE);
        d.PressButton(IDOK);
        return IDOK;
    });
    Type(u"e");
    drv->Settle();
    ASSERT_EQ(modal.Shown(), 1);
    int printed = 0;
    for (const CString& l : drv->Output())
        printed += l == CString(u"切割总长：1600.000mm , 总方：32000/mm^2 ，总损丝补偿：0.002mm , 修正次数：2 * -0.001mm");
    EXPECT_EQ(printed, 1) << "printed once until the thickness or ratio change";
    ASSERT_EQ(g_WearMarkers.GetSize(), 2);
    ExpectPoint(g_WearMarkers[0], 750, 0);
    ExpectPoint(g_WearMarkers[1], 1500, 0);
    EXPECT_EQ(g_WearCorrectionMode, 1);
    ASSERT_EQ(g_CreateTrailPoints.GetSize(), 3);
    const bool marks[3] = {true, true, false};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(drv->doc->m_unitList[g_CreateTrailPoints[i].index]->wearMarked, marks[i]);

    ClickPixel(MarkerHead(MarkerAt(1.5 * kPi)));
    const auto paths = Paths();
    ASSERT_EQ(paths.size(), 1u);
    // The offset steps 0.001 closer at each mark, across at 0.1 past it.
    std::vector<double> below;
    std::vector<x_Vector> steps;
    for (const x_TrailData& e : paths[0]->trails[0]) {
        if (e.role != 0 || e.kind != 1)
            continue;
        if (std::fabs(e.start.y - e.end.y) < 1e-9 && e.end.x - e.start.x > 1.0)
            below.push_back(-e.start.y);
        else if (std::fabs(e.start.x - e.end.x) < 1e-9)
            steps.push_back(e.start);
    }
    ASSERT_EQ(below.size(), 3u);
    EXPECT_NEAR(below[0], 0.100, 1e-12);
    EXPECT_NEAR(below[1], 0.099, 1e-12);
    EXPECT_NEAR(below[2], 0.098, 1e-12);
    ASSERT_EQ(steps.size(), 2u);
    ExpectPoint(steps[0], 750.1, -0.1);
    ExpectPoint(steps[1], 1500.1, -0.099);
}

// A closed 400 x 200 hole cut from (200, 0) along +x, a correction every
// 280 mm: the marks fall at (400, 80), (240, 200), (0, 160) and (120, 0).
// The path is the offset of the contour stepped 0.001 mm towards the part
// at each mark and back at the closing point: every piece stays parallel
// to its edge at 0.1 less 0.001 per mark passed, and the steps, 0.1 on
// along the cut (the closing one 0.1 before the lead-in point), run
// across. The first step used to be made by slanting the whole 80 mm piece
// before it; the closing one was a half circle.
TEST_F(WireWear, ClosedContourStepsAtEveryMark)
{
    drv->Start(kCmdRectangle);
    drv->ClickAt({0, 0});
    drv->ClickAt({400, 200});
    drv->Start(kCmdPath);
    Click({200, 40});
    Click({200, 0});
    ClickPixel(MarkerHead(MarkerAt(0.0)));
    ASSERT_EQ(drv->view->m_subStep, 4);
    g_MachiningSettings.wearRatio = 56000.0;
    ModalDialogScript modal;
    modal.Then([](CDialog& d) {
        d.PressButton(IDOK);
        return IDOK;
    });
    Type(u"e");
    drv->Settle();
    ASSERT_EQ(g_WearMarkers.GetSize(), 4);
    ExpectPoint(g_WearMarkers[0], 400, 80);
    ClickPixel(MarkerHead(MarkerAt(kPi / 2)));      // inside
    const auto paths = Paths();
    ASSERT_EQ(paths.size(), 1u);
    const x_TrailDataArray& low = paths[0]->trails[0];
    // (inset from the drawn edge, from, to along it) of the pieces, and the
    // lengths of the steps, in cutting order.
    struct Piece { double inset, from, to; };
    std::vector<Piece> pieces;
    std::vector<double> steps;
    for (const x_TrailData& e : low) {
        if (e.role != 0)
            continue;
        ASSERT_EQ(e.kind, 1);
        const bool vertical = std::fabs(e.start.x - e.end.x) < 1e-9;
        ASSERT_TRUE(vertical || std::fabs(e.start.y - e.end.y) < 1e-9)
            << "slanted (" << e.start.x << "," << e.start.y << ") -> (" << e.end.x << "," << e.end.y << ")";
        if (x_Vector::Distance(e.start, e.end) < 0.01)
            steps.push_back(x_Vector::Distance(e.start, e.end));
        else if (vertical)
            pieces.push_back({e.start.x < 200 ? e.start.x : 400 - e.start.x, e.start.y, e.end.y});
        else
            pieces.push_back({e.start.y < 100 ? e.start.y : 200 - e.start.y, e.start.x, e.end.x});
    }
    const Piece want[] = {
        {0.100, 199.9, 399.9},   {0.100, 0.1, 80.1},       {0.099, 80.1, 199.901},
        {0.099, 399.901, 239.9}, {0.098, 239.9, 0.098},    {0.098, 199.902, 159.9},
        {0.097, 159.9, 0.097},   {0.097, 0.097, 120.1},    {0.096, 120.1, 199.9},
    };
    ASSERT_EQ(pieces.size(), std::size(want));
    for (size_t i = 0; i < pieces.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(pieces[i].inset, want[i].inset, 1e-9);
        EXPECT_NEAR(pieces[i].from, want[i].from, 1e-9);
        EXPECT_NEAR(pieces[i].to, want[i].to, 1e-9);
    }
    const double wantSteps[] = {0.004, 0.001, 0.001, 0.001, 0.001};
    ASSERT_EQ(steps.size(), std::size(wantSteps));
    for (size_t i = 0; i < steps.size(); ++i)
        EXPECT_NEAR(steps[i], wantSteps[i], 1e-9) << i;
    ExpectPoint(low[0].end, 199.9, 0.096);
    ExpectPoint(low[low.GetSize() - 1].start, 199.9, 0.096);
}

TEST_F(WireWear, RefusedThicknessAndStepAndCancelForgetsTheEstimate)
{
    PickLongLine();
    ModalDialogScript modal;
    modal.Then([](CDialog& d) {
        d.SetDlgItemText(IDC_THICKNESS, CString(u"0"));
        d.PressButton(IDC_ESTIMATE);
        EXPECT_EQ(Text(d, IDC_HINT), CString(u"提示：请输入合理的工件厚度"));
        d.SetDlgItemText(IDC_THICKNESS, CString(u"20"));
        d.SetDlgItemText(IDC_RATIO, CString(u"0"));
        d.PressButton(IDOK);
        EXPECT_EQ(Text(d, IDC_HINT), CString(u"提示：距离过小"));
        d.SetDlgItemText(IDC_RATIO, CString(u"60000"));
        d.PressButton(IDC_ESTIMATE);
        EXPECT_EQ(g_WearMarkers.GetSize(), 5);      // every 300 mm
        d.PressButton(IDCANCEL);
        return IDCANCEL;
    });
    Type(u"e");
    drv->Settle();
    EXPECT_TRUE(g_WearMarkers.IsEmpty());
    EXPECT_EQ(g_CreateTrailPoints.GetSize(), 1);
    EXPECT_EQ(g_MachiningSettings.wearRatio, 60000.0) << "a changed ratio is kept";
}

// A line of 1000 mm after 500 mm carried: points at 250 and 1000 mm from
// its start and no rest piece; a short unit between keeps its place and
// its length counts towards the next point.
TEST(WearPlacement, CarriedLengthAndShortUnits)
{
    CUnitDocument doc;
    g_pDoc = &doc;
    g_CreateTrailPoints.RemoveAll();
    const double xs[4] = {0, 500, 600, 1600};
    for (int i = 0; i < 3; ++i) {
        auto* line = new CLine(xs[i], 0, xs[i + 1], 0);
        line->complete = 1;
        g_CreateTrailPoints.Add({doc.m_unitList.Add(line), i});
    }
    CArray<x_Vector> points;
    int count = 0;
    ASSERT_EQ(PlaceWearCorrections(150000.0, 40.0, true, points, count), kWearDone);   // step 375
    ASSERT_EQ(count, 4);
    const double want[4] = {375, 750, 1125, 1500};
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(points[i].x, want[i], 1e-9);
    // 500: [0,375] marked, [375,500]; 100 kept; 1000: 4 pieces + rest.
    ASSERT_EQ(g_CreateTrailPoints.GetSize(), 2 + 1 + 4);
    EXPECT_EQ(g_CreateTrailPoints[2].index, 1) << "the short line keeps its place";
    EXPECT_EQ(g_CreateTrailPoints[2].tag, 1);
    for (CUnit* u : doc.m_unitList)
        delete u;
    doc.m_unitList.RemoveAll();
    g_CreateTrailPoints.RemoveAll();
    g_pDoc = nullptr;
}
