// Menu items, toolbar buttons and the right-button popup through the real
// main frame: they start their commands, undo and redo, and zoom.

#include "program_fixture.h"

#include "platform/ui/CMenu.h"
#include "platform/ui/popup_menu.h"

TEST_F(ProgramTest, MenuItemsStartTheirCommandsAndToolbarTogglesEndThem)
{
    Start();
    const struct { const char* name; UINT id; int command; } kCases[] = {
        {"直线", 32881, kCmdLine}, {"椭圆弧", 32915, kCmdEllipseArc}, {"移动", 32967, kCmdMove},
        {"圆切线", 32977, kCmdTangent}, {"点距离", 33005, kCmdQueryDistance}, {"图形偏移", 33014, kCmdOffset},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(harness::ChooseMenuItem(frame, c.id));
        Settle();
        EXPECT_EQ(g_curCommand, c.command);
        Key(VK_ESCAPE);
    }
    frame->SendMessage(WM_COMMAND, 32783, 0);      // the icon toolbar's circle
    EXPECT_EQ(g_curCommand, kCmdCircle);
    frame->SendMessage(WM_COMMAND, 32783, 0);
    EXPECT_EQ(g_curCommand, 0);
}

TEST_F(ProgramTest, EditMenuUndoAndRedoFollowTheHistory)
{
    Start();
    EXPECT_FALSE(harness::ChooseMenuItem(frame, 32788)) << "nothing to undo";
    Type(u"l");
    Type(u"0,0");
    Type(u"10,0");
    Key(VK_ESCAPE);
    ASSERT_TRUE(harness::ChooseMenuItem(frame, 32788));
    EXPECT_TRUE(Live(1).empty());
    ASSERT_TRUE(harness::ChooseMenuItem(frame, 32790));
    EXPECT_EQ(Live(1).size(), 1u);
    const double scale = g_ViewScale;
    frame->SendMessage(WM_COMMAND, 65020, 0);      // the main toolbar's zoom in
    Settle();
    EXPECT_NEAR(g_ViewScale, scale * 1.4, 1e-9);
}

// Before, the right-button menu setting was on but no menu came: a right
// click over a selection did nothing at all.
TEST_F(ProgramTest, RightClickOverASelectionOffersThePopupWhoseItemsStartCommands)
{
    Start();
    SetView(10.0, 100, 400);
    Type(u"l");
    Type(u"0,0");
    Type(u"10,0");
    Key(VK_ESCAPE);
    g_snapOn = g_trackOn = 0;
    std::vector<CString> items;
    const PopupMenuHook old = SetPopupMenuHook([&items](const CMenu& menu, int, int) {
        for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
            CString text;
            menu.GetMenuString(i, text, MF_BYPOSITION);
            items.push_back(text);
        }
        return UINT(32967);                          // "移动"
    });
    ClickView({5, 0});
    const POINT p = WorldToScreen({5, 0});
    harness::Click(view, CPoint(p.x, p.y), MK_RBUTTON);
    Settle();
    SetPopupMenuHook(old);
    ASSERT_FALSE(items.empty());
    EXPECT_NE(std::find(items.begin(), items.end(), CString(u"等分")), items.end());
    EXPECT_EQ(g_curCommand, kCmdMove);
    Key(VK_ESCAPE);

    // With the menu off, a right click drops the selection instead.
    ASSERT_TRUE(harness::ChooseMenuItem(frame, 33073));
    ClickView({5, 0});
    ASSERT_EQ(Live(1)[0]->selected, 1);
    harness::Click(view, CPoint(p.x, p.y), MK_RBUTTON);
    Settle();
    EXPECT_EQ(Live(1)[0]->selected, 0);
}
