// Switches, stored settings and small commands as the user meets them in
// the running program: each one changes what the view does.

#include "program_fixture.h"

#include "app/CAboutDlg.h"
#include "geometry/CutPoint.h"
#include "platform/testing/control_driver.h"
#include "platform/ui/CButton.h"

namespace {

constexpr COLORREF kBlack = 0x000000;

// The grip square about a line end: its left edge lies 8 pixels left of it.
COLORREF GripEdgeOf(CWnd* view, const x_Vector& end)
{
    const POINT p = WorldToScreen(end);
    return dlgtest::PixelAt(view, p.x - 8, p.y + 3);
}

} // namespace

TEST_F(ProgramTest, GripSquaresNeedTheEndpointsSwitchToo)
{
    Start();
    SetView(10.0, 100, 400);
    Type(u"l");
    Type(u"10,10");
    Type(u"30,10");
    Key(VK_ESCAPE);
    g_snapOn = g_trackOn = 0;
    ClickView({20, 10});
    ASSERT_EQ(Live(1).size(), 1u);
    ASSERT_EQ(Live(1)[0]->selected, 1);
    EXPECT_NE(GripEdgeOf(view, {10, 10}), kBlack);

    CWnd* endpoints = g_pCommandBar->GetDlgItem(1030);
    ASSERT_NE(endpoints, nullptr);
    harness::Click(endpoints, CPoint(3, 3));
    Settle();
    EXPECT_EQ(g_MachiningSettings.endpointOn, 0);
    EXPECT_EQ(Live(1)[0]->selected, 1);
    EXPECT_EQ(GripEdgeOf(view, {10, 10}), kBlack);
}

TEST_F(ProgramTest, StoredViewSettingsReachTheView)
{
    const struct {
        const char* name;
        std::uint8_t crossHair, rightMenu, buttons;
    } kCases[] = {
        {"factory", 0, 1, 1},
        {"crosshair on, no right menu, icon style", 1, 0, 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        ResetStates();
        ResetSettingsDefaults();
        g_MachiningSettings.crossHair = c.crossHair;
        g_MachiningSettings.rightClickMenu = c.rightMenu;
        g_MachiningSettings.paletteButtonStyle = c.buttons;
        SaveSettingsFile();
        ResetStates();
        Start();
        EXPECT_EQ(g_CrosshairOn, c.crossHair);
        EXPECT_EQ(g_RightMenuOn, c.rightMenu);
        EXPECT_EQ(g_LeftToolbarButtons, c.buttons);
        // The default origin leaves room for the left panel of the style.
        const int width = g_clientRect.right - g_clientRect.left;
        EXPECT_EQ(g_defaultOriginX, (width - 25) / 2 + (c.buttons ? -30 : 25));
        // The crosshair runs through the cursor across the whole view.
        harness::MouseMove(view, CPoint(width / 2, 100));
        Settle();
        int inked = 0;
        for (int x = 2; x < 40; ++x)
            inked += dlgtest::PixelAt(view, x, 100) != kBlack ? 1 : 0;
        EXPECT_EQ(inked > 0, c.crossHair == 1);
        Stop();
    }
}

TEST_F(ProgramTest, RestoreDefaultsResetsTheCutTypeAndTheViewsRunTimeValues)
{
    Start();
    g_CutTypeIndex = 3;
    g_PromptEchoOff = 1;
    g_DirSignList.SetSize(2);
    g_CrosshairOn = 1;
    RestoreDefaultSettings();
    EXPECT_EQ(g_CutTypeIndex, 0);
    EXPECT_EQ(g_PromptEchoOff, 0);
    EXPECT_EQ(g_DirSignList.GetSize(), 0);
    EXPECT_EQ(g_CrosshairOn, 0);
}

TEST_F(ProgramTest, TypedHaShowsTheAboutBox)
{
    Start();
    bool about = false;
    ModalDialogScript box;
    box.Then([&about](CDialog& d) {
        about = dynamic_cast<CAboutDlg*>(&d) != nullptr;
        return IDOK;
    });
    Type(u"ha");
    EXPECT_TRUE(about);
}

TEST_F(ProgramTest, NewDrawingDisarmsTheClipboard)
{
    Start();
    Type(u"l");
    Type(u"0,0");
    Type(u"10,0");
    Key(VK_ESCAPE);
    g_snapOn = g_trackOn = 0;
    ClickView({5, 0});
    CtrlKey('C');
    {
        MessageBoxScript boxes;
        boxes.Expect(u"是否保存对 无标题 的更改", IDNO);
        CtrlKey('N');
    }
    ASSERT_TRUE(Live(1).empty());
    CtrlKey('V');
    EXPECT_EQ(g_curCommand, 0);
}

TEST_F(ProgramTest, ToolPointQuestionOffersYSelectedSoTypingReplacesIt)
{
    Start();
    auto* point = new CutPoint;
    point->role = kRoleCutPoint;
    point->complete = 1;
    GetZorvaDoc()->AppendUnit(point);
    Type(u"mi");
    CString text;
    edit->GetWindowText(text);
    ASSERT_EQ(text, CString(u"Y"));
    harness::TypeText(edit, CString(u"n"));
    edit->GetWindowText(text);
    EXPECT_EQ(text, CString(u"n"));
    Key(VK_RETURN);
    EXPECT_EQ(g_curCommand, 0);
    EXPECT_FALSE(point->deleted);
}

TEST_F(ProgramTest, EditMenuSettingsAndTheFactoryReset)
{
    Start();
    g_SettingsDirty = 0;
    ASSERT_TRUE(harness::ChooseMenuItem(frame, 32989));       // 十字标线 > 开
    EXPECT_EQ(g_CrosshairOn, 1);
    EXPECT_EQ(g_SettingsDirty, 1);
    ASSERT_TRUE(harness::ChooseMenuItem(frame, 33073));       // 使用右键菜单 > 关
    EXPECT_EQ(g_RightMenuOn, 0);
    ASSERT_TRUE(harness::ChooseMenuItem(frame, 33018));       // 左工具栏样式 > 图标样式
    EXPECT_EQ(g_LeftToolbarButtons, 0);
    EXPECT_TRUE(OutputHas(u"*已改变工具栏为图标样式，重启绘图程序后生效"));

    auto* snap = dynamic_cast<CButton*>(g_pCommandBar->GetDlgItem(1014));
    ASSERT_NE(snap, nullptr);
    harness::Click(snap, CPoint(3, 3));
    Settle();
    ASSERT_EQ(g_snapOn, 0);
    {
        MessageBoxScript box;
        box.Expect(CString(u"是否恢复默认设置？"), IDYES);
        ASSERT_TRUE(harness::ChooseMenuItem(frame, 33012));
    }
    EXPECT_TRUE(OutputHas(u"默认设置恢复成功!"));
    EXPECT_EQ(g_CrosshairOn, 0);
    EXPECT_EQ(g_RightMenuOn, 1);
    EXPECT_EQ(g_snapOn, 1);
    EXPECT_EQ(snap->GetCheck(), 1);
}
