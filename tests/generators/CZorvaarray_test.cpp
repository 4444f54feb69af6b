#include "generators/CZorvaarray.h"

#include <cmath>

#include "app/FrameState.h"
#include "app/MainFrameLink.h"
#include "geometry/CLine.h"
#include "geometry/GeometryState.h"
#include "tests/generators/dialog_fixture.h"
#include "view/ViewState.h"

namespace {

constexpr int kRectPage = 0, kPolarPage = 1;
constexpr double kTol = 1e-9;

class ArrayPanelTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        panel = static_cast<CZorvaarray*>(FindFloatingPanel(171)(nullptr));
        g_pArrayPanel = panel;
    }
    void TearDown() override
    {
        g_pArrayPanel = nullptr;
        delete panel;
        DialogTest::TearDown();
    }
    CLine* AddLine(double x1, double y1, double x2, double y2, bool select = true)
    {
        ++g_UnitIdCounter;
        auto* line = new CLine(x1, y1, x2, y2);
        line->workGeometry = line->geometry;
        line->complete = 1;
        drv->doc->AppendUnit(line);
        drv->doc->CommitUndoStep(0);
        line->selected = select ? 1 : 0;
        return line;
    }
    void SetRect(const char16_t* nx, const char16_t* ny, const char16_t* dx, const char16_t* dy)
    {
        dlgtest::Choose(panel->GetDlgItem(1189), kRectPage);
        Type(&panel->m_rectPage, 1009, nx);
        Type(&panel->m_rectPage, 1015, ny);
        Type(&panel->m_rectPage, 1016, dx);
        Type(&panel->m_rectPage, 1017, dy);
    }
    void Generate() { panel->PressButton(1178); }
    std::vector<CUnit*> Temporary() const
    {
        std::vector<CUnit*> out;
        for (CUnit* u : drv->LiveEntities())
            if (u->temporary)
                out.push_back(u);
        return out;
    }
    CString LastLine() const
    {
        const std::vector<CString> out = drv->Output();
        return out.empty() ? CString() : out.back();
    }

    CZorvaarray* panel = nullptr;
};

TEST_F(ArrayPanelTest, CommandShowsThePanelFilledFromTheSettings)
{
    drv->Start(kCmdArray);
    EXPECT_TRUE(panel->IsWindowVisible());
    EXPECT_EQ(g_arrayPanelShown, 1);
    EXPECT_EQ(Text(&panel->m_rectPage, 1009), CString(u"3"));
    EXPECT_EQ(Text(&panel->m_rectPage, 1016), CString(u"10.0"));
    EXPECT_EQ(Text(&panel->m_polarPage, 1016), CString(u"100.0"));
    EXPECT_EQ(Text(&panel->m_polarPage, 1017), CString(u"6"));
    EXPECT_EQ(Text(&panel->m_polarPage, 1096), CString(u"360.0"));
    KeepSnapshot(panel, u"array_panel_rect.png");
    dlgtest::Choose(panel->GetDlgItem(1189), kPolarPage);
    EXPECT_EQ(g_ArrayPage, kPolarPage);
    KeepSnapshot(panel, u"array_panel_polar.png");
}

TEST_F(ArrayPanelTest, RectangularGenerationThenCloseIsOneUndoStep)
{
    CLine* source = AddLine(0, 0, 2, 0);
    drv->Start(kCmdArray);
    SetRect(u"3", u"2", u"5", u"7");
    Generate();
    EXPECT_EQ(LastLine(), CString(u"操作完成"));
    std::vector<CUnit*> copies = Temporary();
    ASSERT_EQ(copies.size(), 6u);
    // Bow rows from corner 1: (0,0) (5,0) (10,0) (10,7) (5,7) (0,7).
    const double xs[] = {0, 5, 10, 10, 5, 0}, ys[] = {0, 0, 0, 7, 7, 7};
    for (int i = 0; i < 6; ++i) {
        EXPECT_NEAR(copies[i]->geometry.line.p1.x, xs[i], kTol);
        EXPECT_NEAR(copies[i]->geometry.line.p1.y, ys[i], kTol);
        EXPECT_EQ(copies[i]->selected, 0);
    }
    EXPECT_EQ(source->selected, 1);
    EXPECT_EQ(g_ArraySettings.countX, 3);
    EXPECT_EQ(g_SettingsDirty, 1);
    // A second generation replaces the first.
    Generate();
    EXPECT_EQ(Temporary().size(), 6u);
    // F12 in the main window closes the panel through the view's link.
    FrameLink().CloseArrayPanel();
    EXPECT_FALSE(panel->IsWindowVisible());
    EXPECT_EQ(g_arrayPanelShown, 0);
    EXPECT_EQ(g_curCommand, 0);
    EXPECT_EQ(source->deleted, 1);
    std::vector<CUnit*> live = drv->LiveEntities();
    ASSERT_EQ(live.size(), 6u);
    for (CUnit* u : live)
        EXPECT_EQ(u->temporary, 0);
    // One undo takes back both halves: the source returns, the copies go.
    ASSERT_TRUE(drv->doc->Undo());
    live = drv->LiveEntities();
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live[0], source);
    ASSERT_TRUE(drv->doc->Redo());
    EXPECT_EQ(drv->LiveEntities().size(), 6u);
}

TEST_F(ArrayPanelTest, PolarReverseWithTurnedCopies)
{
    AddLine(0, 0, 1, 0);
    drv->Start(kCmdArray);
    dlgtest::Choose(panel->GetDlgItem(1189), kPolarPage);
    CWnd* p = &panel->m_polarPage;
    Type(p, 1016, u"10");
    Type(p, 1017, u"4.9");          // taken as 4
    Click(p, 1029);                  // reverse
    Type(p, 1096, u"360");
    Type(p, 1099, u"0");
    Click(p, 1030);                  // turn the copies
    Type(p, 1103, u"12.7");          // stored as 12
    Generate();
    EXPECT_EQ(g_ArraySettings.polarCount, 4);
    EXPECT_EQ(g_ArraySettings.extraAngle, 12.0);
    EXPECT_EQ(g_ArraySettings.reverse, 1);
    std::vector<CUnit*> copies = Temporary();
    ASSERT_EQ(copies.size(), 4u);
    // Places (0,-10), (-10,0), (0,10), (10,0); the first turns by 90 + 12 degrees.
    const double px[] = {0, -10, 0, 10}, py[] = {-10, 0, 10, 0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(copies[i]->geometry.line.p1.x, px[i], kTol);
        EXPECT_NEAR(copies[i]->geometry.line.p1.y, py[i], kTol);
    }
    const double a = 102.0 * kPi / 180.0;
    EXPECT_NEAR(copies[0]->geometry.line.p2.x, std::cos(a), kTol);
    EXPECT_NEAR(copies[0]->geometry.line.p2.y, -10 + std::sin(a), kTol);
}

TEST_F(ArrayPanelTest, RefusalsRemoveEarlierCopiesAndUndoKeepsSources)
{
    CLine* source = AddLine(0, 0, 2, 0, false);
    drv->Start(kCmdArray);
    Generate();
    EXPECT_EQ(LastLine(), CString(u"#请选择实体"));
    source->selected = 1;
    SetRect(u"3", u"3", u"10", u"10");
    Generate();
    EXPECT_EQ(Temporary().size(), 9u);
    SetRect(u"-2", u"-3", u"10", u"10");
    Generate();
    EXPECT_EQ(LastLine(), CString(u"#阵列数量不能少于2个"));
    EXPECT_TRUE(Temporary().empty());
    SetRect(u"99999", u"99999", u"10", u"10");
    Generate();
    EXPECT_EQ(LastLine(), CString(u"#阵列数量过多"));
    SetRect(u"3", u"1", u"0.005", u"0.005");
    Generate();
    EXPECT_EQ(LastLine(), CString(u"#阵列偏移过小"));
    SetRect(u"3", u"1", u"10", u"0");
    Generate();
    EXPECT_EQ(Temporary().size(), 3u);
    panel->PressButton(1079);       // take back
    EXPECT_TRUE(Temporary().empty());
    EXPECT_EQ(g_ArrayPending, 0);
    panel->PressButton(2);
    EXPECT_EQ(source->deleted, 0);
    EXPECT_EQ(drv->LiveEntities().size(), 1u);
}

TEST_F(ArrayPanelTest, CompoundPiecesFormANewGroupAtEachPlace)
{
    for (CLine* l : {AddLine(0, 0, 1, 0), AddLine(1, 0, 1, 1), AddLine(1, 1, 0, 0)}) {
        l->pieceOf = 1;
        l->group = 4;
    }
    drv->Start(kCmdArray);
    SetRect(u"2", u"1", u"5", u"5");
    Generate();
    std::vector<CUnit*> copies = Temporary();
    ASSERT_EQ(copies.size(), 6u);
    EXPECT_EQ(copies[0]->group, copies[2]->group);
    EXPECT_NE(copies[0]->group, 4);
    EXPECT_NE(copies[3]->group, copies[0]->group);
    EXPECT_EQ(copies[3]->group, copies[5]->group);
    EXPECT_EQ(copies[4]->pieceOf, 1);
}

} // namespace
