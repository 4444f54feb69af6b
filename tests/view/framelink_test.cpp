// The real main frame with the drawing view, made by the application's
// document template: keys typed into the command edit, clicks in the view,
// palette buttons and the wheel reach the view through the frame.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>

#include <memory>
#include <vector>

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "app/CZorvaApp.h"
#include "app/CZorvaDoc.h"
#include "app/FrameState.h"
#include "app/MainFrameLink.h"
#include "app/ToolPalette.h"
#include "app/settings_file.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/View3D.h"
#include "geometry/view_transform.h"
#include "platform/testing/control_driver.h"
#include "platform/testing/dialog_answers.h"
#include "platform/testing/ui_harness.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialogBar.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CToolBar.h"
#include "view/CZorvaView.h"
#include "view/ViewState.h"
#include "view/view_entities.h"

namespace {

std::vector<int> g_ended;
void RecordEnd(int code) { g_ended.push_back(code); }

class FrameLinkTest : public testing::Test {
protected:
    void SetUp() override
    {
        harness::InitGui();
        harness::UseVirtualClock(true);
        harness::ResetKeyboard();
        ResetGeometryState();
        ResetAppState();
        ResetFrameState();
        ResetViewState();
        g_ended.clear();
        g_EndProcessHook = RecordEnd;
        CreateDataFolders();
        ResetSettingsDefaults();
        g_MachiningSettings.paletteButtonStyle = 1;
        SaveSettingsFile();

        ModalDialogScript splash;
        splash.Then([](CDialog&) {
            harness::AdvanceTime(1000);
            return IDOK;
        });
        app = std::make_unique<CZorvaApp>(RUNTIME_CLASS(CZorvaView));
        ASSERT_TRUE(app->InitInstance());
        frame = dynamic_cast<CMainFrame*>(app->m_pMainWnd);
        ASSERT_NE(frame, nullptr);
        view = dynamic_cast<CZorvaView*>(frame->GetActiveView());
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(g_pView, view);
        ASSERT_NE(g_pCommandBar, nullptr);
        edit = g_pCommandBar->GetDlgItem(1025);
        ASSERT_NE(edit, nullptr);
        Settle();
    }
    void TearDown() override
    {
        frame = nullptr;
        app.reset();
        harness::PumpPosted();
        EXPECT_EQ(g_pFrameLink, nullptr);
        g_EndProcessHook = nullptr;
        harness::ResetKeyboard();
    }

    static void Settle()
    {
        for (int i = 0; i < 20 && (harness::PendingTimers() > 0 || harness::PumpPosted() > 0); ++i)
            harness::AdvanceTime(5);
        harness::PumpPosted();
    }
    // Typed into the command edit, then Enter, as a user does it.
    void Type(const char16_t* text)
    {
        harness::TypeText(edit, CString(text));
        Key(VK_RETURN);
    }
    void Key(UINT vk)
    {
        harness::PressKey(edit, vk);
        Settle();
    }
    void CtrlKey(UINT letter)
    {
        harness::KeyDown(edit, VK_CONTROL, harness::kCtrl);
        harness::KeyDown(edit, letter, harness::kCtrl);
        harness::KeyUp(edit, letter, harness::kCtrl);
        harness::KeyUp(edit, VK_CONTROL);
        Settle();
    }
    void ClickView(const x_Vector& world)
    {
        const POINT p = WorldToScreen(world);
        harness::MouseMove(view, CPoint(p.x, p.y));
        Settle();
        harness::MouseDown(view, CPoint(p.x, p.y));
        harness::MouseUp(view, CPoint(p.x, p.y));
        Settle();
    }
    std::vector<CUnit*> LiveLines() const
    {
        std::vector<CUnit*> lines;
        for (CUnit* u : GetZorvaDoc()->m_unitList)
            if (!u->deleted && u->GetType() == 1)
                lines.push_back(u);
        return lines;
    }
    CString LastOutputLine() const
    {
        auto* list = dynamic_cast<CListBox*>(g_pCommandBar->GetDlgItem(1008));
        CString text;
        if (list != nullptr && list->GetCount() > 0)
            list->GetText(list->GetCount() - 1, text);
        return text;
    }
    CCeButtonST* PaletteButton(int palette, int id) const { return PaletteByNumber(palette)->Button(id); }
    void ClickButton(CWnd* button)
    {
        RECT r;
        button->GetClientRect(&r);
        harness::Click(button, CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
        Settle();
    }

    // The mode combo's list, opened and left as the mouse does it: a click
    // on row, or (row < 0) closed without a choice.
    static void UseModeList(int row)
    {
        auto* combo = qobject_cast<QComboBox*>(g_pCommandBar->GetDlgItem(1012)->GetSafeHwnd());
        ASSERT_NE(combo, nullptr);
        combo->showPopup();
        QApplication::processEvents();
        if (row < 0) {
            combo->hidePopup();
        } else {
            QWidget* rows = combo->view()->viewport();
            const QPointF at = combo->view()->visualRect(combo->model()->index(row, 0)).center();
            QMouseEvent press(QEvent::MouseButtonPress, at, rows->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QMouseEvent release(QEvent::MouseButtonRelease, at, rows->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                                Qt::NoModifier);
            QApplication::sendEvent(rows, &press);
            QApplication::sendEvent(rows, &release);
        }
        Settle();
    }
    static int ModeComboSelection()
    {
        return dynamic_cast<CComboBox*>(g_pCommandBar->GetDlgItem(1012))->GetCurSel();
    }

    std::unique_ptr<CZorvaApp> app;
    CMainFrame* frame = nullptr;
    CZorvaView* view = nullptr;
    CWnd* edit = nullptr;
};

TEST_F(FrameLinkTest, TypedLineThroughTheCommandEditThenUndoAndRedoByKeys)
{
    EXPECT_EQ(g_commandBar, g_pCommandBar);
    Type(u"l");
    EXPECT_EQ(g_curCommand, 1);
    EXPECT_EQ(LastOutputLine().Find(u"直线(L)->第一个点 (x,y)【取消(Esc)】"), 0);
    Type(u"0,0");
    Type(u"10,0");
    Key(VK_ESCAPE);
    EXPECT_EQ(g_curCommand, 0);
    const auto lines = LiveLines();
    ASSERT_EQ(lines.size(), 1u);
    const x_Vector a = lines[0]->GetStartPoint(), b = lines[0]->GetEndPoint();
    EXPECT_NEAR(a.x, 0.0, 1e-9);
    EXPECT_NEAR(a.y, 0.0, 1e-9);
    EXPECT_NEAR(b.x, 10.0, 1e-9);
    EXPECT_NEAR(b.y, 0.0, 1e-9);

    CtrlKey('Z');
    EXPECT_TRUE(LiveLines().empty());
    CtrlKey('Y');
    EXPECT_EQ(LiveLines().size(), 1u);

    // Space with nothing running starts the last command again and leaves
    // the edit empty.
    Key(VK_SPACE);
    EXPECT_EQ(g_curCommand, 1);
    CString text;
    edit->GetWindowText(text);
    EXPECT_TRUE(text.IsEmpty());
}

TEST_F(FrameLinkTest, PaletteButtonStartsAndEndsItsCommandAndFollowsTypedStarts)
{
    // No palette shows before the first tab change.
    EXPECT_FALSE(g_leftTool1.IsWindowVisible());
    dlgtest::Choose(g_toolTabBar->GetDlgItem(1189), 1);
    dlgtest::Choose(g_toolTabBar->GetDlgItem(1189), 0);
    EXPECT_TRUE(g_leftTool1.IsWindowVisible());
    EXPECT_FALSE(g_leftTool2.IsWindowVisible());
    CCeButtonST* circle = PaletteButton(1, 1107);
    CCeButtonST* line = PaletteButton(1, 1030);
    ASSERT_NE(circle, nullptr);
    ASSERT_NE(line, nullptr);

    ClickButton(circle);
    EXPECT_EQ(g_curCommand, 7);
    EXPECT_EQ(circle->GetCheck(), 1);

    // A typed start presses its own button and releases the other.
    Type(u"l");
    EXPECT_EQ(g_curCommand, 1);
    EXPECT_EQ(line->GetCheck(), 1);
    EXPECT_EQ(circle->GetCheck(), 0);

    // Two clicks in the view and Esc draw the line.
    g_snapOn = 0;
    g_trackOn = 0;
    ClickView(x_Vector(0, 0));
    ClickView(x_Vector(20, 10));
    Key(VK_ESCAPE);
    EXPECT_EQ(LiveLines().size(), 1u);
    EXPECT_EQ(line->GetCheck(), 0);

    // A click on the pressed button ends the command.
    ClickButton(line);
    EXPECT_EQ(g_curCommand, 1);
    ClickButton(line);
    EXPECT_EQ(g_curCommand, 0);
    EXPECT_EQ(line->GetCheck(), 0);
}

TEST_F(FrameLinkTest, ModeChosenInTheComboListIsKeptAndAListLeftWithoutAChoiceStepsOn)
{
    Type(u"c");
    ASSERT_EQ(g_curCommand, 7);
    ASSERT_EQ(ModeComboSelection(), 0);
    // Circle modes: 0 centre and radius, 1 two points, 2 two points and radius.
    const struct { const char* name; int row, mode; } kSteps[] = {
        {"choose the last", 2, 2},
        {"choose the first", 0, 0},
        {"choose the middle", 1, 1},
        {"no choice steps to the next", -1, 2},
        {"no choice wraps to the first", -1, 0},
    };
    for (const auto& step : kSteps) {
        SCOPED_TRACE(step.name);
        UseModeList(step.row);
        EXPECT_EQ(g_curCommand, 7);
        EXPECT_EQ(GetCommandMode(kCmdCircle - 1), step.mode);
        EXPECT_EQ(ModeComboSelection(), step.mode);
    }
    UseModeList(1);
    Key(VK_ESCAPE);
    Type(u"c");
    EXPECT_EQ(ModeComboSelection(), 1);
    EXPECT_EQ(GetCommandMode(kCmdCircle - 1), 1);
}

TEST_F(FrameLinkTest, WheelZoomsAboutTheCursorAndArrowsPan)
{
    g_ViewScale = 2.0;
    g_ViewOriginX = 300;
    g_ViewOriginY = 200;
    harness::Wheel(view, CPoint(100, 100), 120);
    Settle();
    EXPECT_DOUBLE_EQ(g_ViewScale, 2.8);
    // The world point under the cursor stays put: 100 + (300 - 100) * 1.4.
    EXPECT_EQ(g_ViewOriginX, 380);
    EXPECT_EQ(g_ViewOriginY, 240);
    harness::Wheel(view, CPoint(100, 100), -120);
    Settle();
    EXPECT_NEAR(g_ViewScale, 2.8 * 0.6, 1e-12);

    const int x = g_ViewOriginX, y = g_ViewOriginY;
    Key(VK_LEFT);
    EXPECT_EQ(g_ViewOriginX, x - 50);
    Key(VK_DOWN);
    EXPECT_EQ(g_ViewOriginY, y + 50);
}

TEST_F(FrameLinkTest, F9TogglesThe3DPathViewAndCtrlArrowsTurnIt)
{
    Key(VK_F1 + 8);    // F9
    ASSERT_EQ(g_curCommand, kCmdPathView3D);
    const double turn = g_View3D.turn, tilt = g_View3D.tilt;
    const int x = g_ViewOriginX, y = g_ViewOriginY;
    harness::KeyDown(edit, VK_CONTROL, harness::kCtrl);
    harness::PressKey(edit, VK_UP, harness::kCtrl);
    harness::PressKey(edit, VK_RIGHT, harness::kCtrl);
    harness::KeyUp(edit, VK_CONTROL);
    Settle();
    constexpr double kFourDegrees = 4.0 * 0.017453292519943295;
    EXPECT_NEAR(g_View3D.tilt, tilt - kFourDegrees, 1e-12);
    EXPECT_NEAR(g_View3D.turn, turn + kFourDegrees, 1e-12);
    EXPECT_EQ(g_ViewOriginX, x);
    EXPECT_EQ(g_ViewOriginY, y);
    Key(VK_F1 + 8);    // F9
    EXPECT_EQ(g_curCommand, 0);
}

TEST_F(FrameLinkTest, LockSwitchOfTheCommandBarReachesTheView)
{
    auto* lock = g_pCommandBar->GetDlgItem(1026);
    ASSERT_NE(lock, nullptr);
    ClickButton(lock);
    EXPECT_EQ(g_LockSwitch, 1);
    Type(u"l");
    EXPECT_EQ(g_curCommand, 0);
    EXPECT_EQ(LastOutputLine(), CString(u"#锁定开关已开启，无法进行操作"));
}

TEST_F(FrameLinkTest, TypedExitAndTheExitButtonEndTheProcess)
{
    Type(u"qt");
    EXPECT_EQ(g_ended, std::vector<int>{0});
    // A test's ending comes back, and the typed text stays in the edit.
    edit->SetWindowText(CString());
    Type(u" EXIT ");
    EXPECT_EQ(g_ended, (std::vector<int>{0, 0}));

    harness::RunIdle(frame);
    ASSERT_EQ(g_mainToolBar->GetItemID(19), 65023u);
    EXPECT_TRUE(g_mainToolBar->GetToolBarCtrl().IsButtonEnabled(65023));
    g_mainToolBar->PressButton(19);
    Settle();
    EXPECT_EQ(g_ended, (std::vector<int>{0, 0, 0}));
}

} // namespace

TEST_F(FrameLinkTest, IdlePickShowsGripsAndAnEndGripDragMovesTheLineEnd)
{
    g_ViewScale = 10.0;
    g_ViewOriginX = 100;
    g_ViewOriginY = 300;
    Type(u"l");
    Type(u"0,0");
    Type(u"20,0");
    Key(VK_ESCAPE);
    ASSERT_EQ(g_curCommand, 0);
    const auto lines = LiveLines();
    ASSERT_EQ(lines.size(), 1u);
    CUnit* line = lines[0];

    // Key points left for the next draw (as after an edit): the idle pick
    // selects the line and ends with a frame, whose draw builds its grips.
    line->gripsValid = 0;
    line->keyPoints.RemoveAll();
    g_snapOn = 0;
    g_trackOn = 0;
    ClickView(x_Vector(10, 0));
    EXPECT_EQ(line->selected, 1);
    EXPECT_EQ(view->m_cursorCross.x, -1);     // cleared by the full frame
    EXPECT_EQ(line->gripsValid, 1);
    ASSERT_GE(line->keyPoints.GetSize(), 2);

    // Press on the end grip, then click the new end.
    ClickView(x_Vector(20, 0));
    EXPECT_NE(g_cmdStep, kStepIdlePick);
    ClickView(x_Vector(25, 7));
    EXPECT_EQ(g_cmdStep, kStepIdlePick);
    ASSERT_EQ(LiveLines().size(), 1u);
    const x_Vector a = LiveLines()[0]->GetStartPoint(), b = LiveLines()[0]->GetEndPoint();
    EXPECT_NEAR(a.x, 0.0, 1e-9);
    EXPECT_NEAR(a.y, 0.0, 1e-9);
    EXPECT_NEAR(b.x, 25.0, 0.2);
    EXPECT_NEAR(b.y, 7.0, 0.2);

    // One undo step brings the old end back.
    CtrlKey('Z');
    ASSERT_EQ(LiveLines().size(), 1u);
    const x_Vector e = LiveLines()[0]->GetEndPoint();
    EXPECT_NEAR(e.x, 20.0, 1e-9);
    EXPECT_NEAR(e.y, 0.0, 1e-9);
}
