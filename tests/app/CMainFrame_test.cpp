#include "app/CMainFrame.h"

#include "app/ToolPalette.h"
#include "app/frame_resources.h"
#include "geometry/CLine.h"
#include "platform/core/files.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CTabCtrl.h"
#include "tests/app/frame_fixture.h"

#include <filesystem>

namespace {

class CMainFrameTest : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        ASSERT_TRUE(Start());
        ASSERT_NE(frame, nullptr);
        edit = CommandEdit();
        ASSERT_NE(edit, nullptr);
    }
    void Press(UINT vk, UINT mods = 0) { harness::PressKey(edit, vk, mods); }
    CWnd* edit = nullptr;
};

TEST_F(CMainFrameTest, CaptionBarsAndCommandBarControls)
{
    CString caption;
    frame->GetWindowText(caption);
    EXPECT_EQ(caption.Find(u"Zorva图形编程工具   -  ver 3.7 - "), 0);
    ASSERT_NE(g_mainToolBar, nullptr);
    EXPECT_EQ(g_mainToolBar->GetCount(), 21);
    EXPECT_EQ(g_mainToolBar->GetItemID(19), 65023u);
    EXPECT_EQ(frame->m_lineStyleCombo.GetCount(), 4);
    EXPECT_EQ(frame->m_lineStyleCombo.GetCurSel(), 0);
    EXPECT_EQ(frame->m_wndStatusBar.GetCount(), 4);
    EXPECT_EQ(link.commandBar, g_pCommandBar);
    for (int id : {1002, 1003, 1008, 1010, 1012, 1013, 1014, 1025, 1026, 1030, 1201, 1202})
        EXPECT_NE(g_pCommandBar->GetDlgItem(id), nullptr) << id;
    // Factory switches: 正交 off, 极轴 捕捉 端点 修改 on, 锁定 off.
    const struct { int id; int checked; } kSwitches[] = {
        {1003, 0}, {1013, 1}, {1014, 1}, {1030, 1}, {1201, 1}, {1026, 0}};
    for (const auto& s : kSwitches)
        EXPECT_EQ(dynamic_cast<CButton*>(g_pCommandBar->GetDlgItem(s.id))->GetCheck(), s.checked) << s.id;
    EXPECT_FALSE(g_modeCombo->IsWindowEnabled());
}

TEST_F(CMainFrameTest, MenuHasEveryTopLevelMenuAndItsItems)
{
    CMenu* bar = frame->GetMenu();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetMenuItemCount(), 7);
    CString text;
    bar->GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(text, CString(u"文件(&F)"));
    bar->GetMenuString(6, text, MF_BYPOSITION);
    EXPECT_EQ(text, CString(u"帮助(&H)"));
    for (UINT id : {32881u, 32978u, 33027u, 32981u, 33073u, 32920u})
        EXPECT_NE(bar->FindItem(id, MF_BYCOMMAND), nullptr) << id;
    // Items whose handler has not landed stay in the menu, disabled.
    EXPECT_TRUE(frame->m_bAutoMenuEnable);
}

TEST_F(CMainFrameTest, HeldCtrlZUndoesOnceAtTheRelease)
{
    harness::KeyDown(edit, VK_CONTROL, harness::kCtrl);
    harness::KeyDown(edit, 'Z', harness::kCtrl);
    for (int i = 0; i < 5; ++i)
        harness::KeyRepeat(edit, 'Z', harness::kCtrl);
    EXPECT_TRUE(link.keys.empty());
    harness::KeyUp(edit, 'Z', harness::kCtrl);
    harness::KeyUp(edit, VK_CONTROL);
    EXPECT_EQ(link.keys, std::vector<int>{4003});
}

TEST_F(CMainFrameTest, HotKeysNeedCtrlHeldWhenTheLetterGoesDown)
{
    const struct { UINT key; int code; } kHot[] = {
        {'Z', 4003}, {'Y', 4001}, {'C', 4020}, {'V', 4022}, {'X', 4024}, {'A', 4027}, {'Q', 0}};
    for (const auto& h : kHot) {
        link.keys.clear();
        harness::KeyDown(edit, VK_CONTROL, harness::kCtrl);
        Press(h.key, harness::kCtrl);
        harness::KeyUp(edit, VK_CONTROL);
        EXPECT_EQ(link.keys, h.code ? std::vector<int>{h.code} : std::vector<int>{}) << char(h.key);
    }
    // Ctrl let go a moment before the letter: still Ctrl+Z.
    link.keys.clear();
    harness::KeyDown(edit, VK_CONTROL, harness::kCtrl);
    harness::KeyDown(edit, 'Z', harness::kCtrl);
    harness::KeyUp(edit, VK_CONTROL);
    harness::KeyUp(edit, 'Z');
    EXPECT_EQ(link.keys, std::vector<int>{4003});
    // Ctrl let go before the letter went down: no hot key.
    link.keys.clear();
    harness::KeyDown(edit, VK_CONTROL, harness::kCtrl);
    harness::KeyUp(edit, VK_CONTROL);
    Press('Z');
    EXPECT_TRUE(link.keys.empty());
}

TEST_F(CMainFrameTest, KeyTableReachesTheView)
{
    for (UINT key : {VK_RETURN, VK_ESCAPE, VK_HOME, VK_DELETE})
        Press(key);
    EXPECT_EQ(link.keys, (std::vector<int>{13, 27, 36, 46}));
    Press(VK_PRIOR);
    Press(VK_NEXT);
    EXPECT_EQ(link.zooms, (std::vector<int>{1, -1}));
    Press(VK_UP);
    Press(VK_DOWN);
    Press(VK_LEFT);
    Press(VK_RIGHT);
    EXPECT_EQ(link.pans, (std::vector<std::pair<int, int>>{{0, -50}, {0, 50}, {-50, 0}, {50, 0}}));
    // With text in the command edit Left and Right move the caret instead.
    link.pans.clear();
    edit->SetWindowText(CString(u"10,"));
    Press(VK_LEFT);
    Press(VK_RIGHT);
    Press(VK_UP);
    EXPECT_EQ(link.pans, (std::vector<std::pair<int, int>>{{0, -50}}));
}

TEST_F(CMainFrameTest, ReleaseWithoutASeenPressDoesNothing)
{
    harness::KeyUp(edit, VK_RETURN);
    EXPECT_TRUE(link.keys.empty());
    // The press inside a modal dialog: the document clears the latch after it.
    harness::KeyDown(edit, VK_RETURN);
    g_keyDownSeen = 0;
    harness::KeyUp(edit, VK_RETURN);
    EXPECT_TRUE(link.keys.empty());
}

TEST_F(CMainFrameTest, SpaceRepeatsTheLastCommandOnlyWhenNoneRuns)
{
    Press(VK_SPACE);
    EXPECT_TRUE(link.commands.empty());
    link.repeatCommand = 17;
    link.repeatSubFlag = 1;
    g_curCommand = 7;
    Press(VK_SPACE);
    EXPECT_TRUE(link.commands.empty());
    g_curCommand = 0;
    Press(VK_SPACE);
    EXPECT_EQ(link.commands, std::vector<int>{17});
    EXPECT_EQ(link.lastCommand, 17);
    EXPECT_EQ(g_cmdSubFlag, 1);
}

TEST_F(CMainFrameTest, FunctionKeysRunAfterTheKeyAndNotWhileADialogIsOpen)
{
    g_modalDialogId = 1101;
    Press(VK_F1);
    EXPECT_EQ(g_pendingFKey, 0);
    g_modalDialogId = 0;
    Press(VK_F1 + 2);
    EXPECT_EQ(g_pendingFKey, VK_F1 + 2);
    EXPECT_EQ(harness::AdvanceTime(1), 1);
    EXPECT_EQ(g_pendingFKey, 0);
}

TEST_F(CMainFrameTest, PanelKeysToggleAndAreIgnoredWhileADialogIsOpen)
{
    g_modalDialogId = 1100;
    for (UINT key : {VK_F1 + 8, VK_F1 + 9, VK_F1 + 10, VK_F1 + 11})
        Press(key);
    EXPECT_TRUE(link.calls.empty());
    g_modalDialogId = 0;
    Press(VK_F1 + 8);   // F9
    Press(VK_F1 + 11);  // F12: the array command starts (the view marks the panel shown)
    g_arrayPanelShown = 1;
    Press(VK_F1 + 11);  // F12 again closes the panel
    Press(VK_F1 + 9);   // F10: shows the batch panel
    g_PropertyPanelShown = 1;
    Press(VK_F1 + 10);  // F11 hides the shown property panel
    EXPECT_EQ(link.calls, (std::vector<std::string>{"3d", "array", "close array", "batch", "hide properties"}));
    EXPECT_EQ(g_arrayPanelShown, 0);
    EXPECT_EQ(g_PropertyPanelShown, 0);
}

TEST_F(CMainFrameTest, OptionSwitchStoresItsSettingAndMarksSettingsChanged)
{
    auto* ortho = dynamic_cast<CButton*>(g_pCommandBar->GetDlgItem(1003));
    harness::Click(ortho, CPoint(5, 5));
    EXPECT_EQ(g_MachiningSettings.orthoOn, 1);
    EXPECT_EQ(g_SettingsDirty, 1);
    EXPECT_EQ(link.switches, (std::vector<std::pair<int, int>>{{1003, 1}}));
    g_SettingsDirty = 0;
    auto* lock = dynamic_cast<CButton*>(g_pCommandBar->GetDlgItem(1026));
    harness::Click(lock, CPoint(5, 5));
    EXPECT_EQ(g_MachiningSettings.lockOn, 1);
    EXPECT_EQ(g_SettingsDirty, 1);
}

TEST_F(CMainFrameTest, LineStyleSetsNewEntitiesStyleWithoutMarkingSettings)
{
    const struct { int item; int style; int dashDot; } kStyles[] = {{1, 2, 0}, {2, 1, 0}, {3, 1, 1}, {0, 0, 0}};
    for (const auto& s : kStyles) {
        frame->m_lineStyleCombo.SetCurSel(s.item);
        frame->OnLineStyleChanged();
        EXPECT_EQ(g_CurrentLineStyle, s.style) << s.item;
        EXPECT_EQ(g_CurrentDashDot, s.dashDot) << s.item;
    }
    EXPECT_EQ(g_SettingsDirty, 0);
}

TEST_F(CMainFrameTest, ClosingTheModeListWithoutChoosingStepsToTheNextModeAndWraps)
{
    auto* combo = dynamic_cast<CComboBox*>(g_modeCombo);
    combo->AddString(CString(u"两点"));
    combo->AddString(CString(u"三点"));
    combo->SetCurSel(0);
    g_curCommand = 7;
    frame->OnModeListClosed();
    EXPECT_EQ(combo->GetCurSel(), 1);
    frame->OnModeListClosed();
    EXPECT_EQ(combo->GetCurSel(), 0);
    EXPECT_EQ(link.modes, (std::vector<std::pair<int, int>>{{7, 1}, {7, 0}}));
    EXPECT_EQ(link.commands, (std::vector<int>{7, 7}));
    // A confirmed choice only clears the mark: the view restarts the command.
    frame->OnModeListConfirmed();
    frame->OnModeListClosed();
    EXPECT_EQ(combo->GetCurSel(), 0);
    EXPECT_EQ(g_modeComboConfirmed, 0);
    EXPECT_EQ(link.commands.size(), 2u);
}

TEST_F(CMainFrameTest, CtrlSSavesWithoutSnapshotMenuSaveWithSnapshot)
{
    const CString folder = DataRoot() + u"/drawings";
    ASSERT_TRUE(CreateFolder(folder));
    CZorvaDoc* doc = GetZorvaDoc();
    doc->m_unitList.Add(new CLine(0, 0, 10, 0));
    const CString quick = folder + u"/quick.wcx";
    doc->SetPathName(quick);
    harness::KeyDown(edit, VK_CONTROL, harness::kCtrl);
    Press('S', harness::kCtrl);
    harness::KeyUp(edit, VK_CONTROL);
    EXPECT_TRUE(FileExists(quick));
    EXPECT_FALSE(FileExists(MapWindowsPath(CString(u"C:\\zorvadraw\\ToolTemp\\001"))));

    g_currentFileName = CString(u"menu.wcx");
    g_currentFilePath = folder + u"/menu.wcx";
    g_fileDialogType = 0;
    EXPECT_TRUE(harness::ChooseMenuItem(frame, ID_MENU_SAVE));
    EXPECT_TRUE(FileExists(folder + u"/menu.wcx"));
    EXPECT_TRUE(FileExists(MapWindowsPath(CString(u"C:\\zorvadraw\\ToolTemp\\001"))));
    // Neither save left its temporary file behind.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(NativePath(folder)))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 2);
}

TEST_F(CMainFrameTest, SnapshotOfTheMainWindow)
{
    // The offscreen screen is small; a common desktop size shows the bars whole.
    frame->ShowWindow(SW_SHOWNORMAL);
    frame->MoveWindow(0, 0, 1366, 900);
    frame->ShowToolPalette(0);
    harness::PumpPosted();
    const CString png = harness::TempPath(CString(u"main_window.png"));
    ASSERT_TRUE(harness::SnapshotPng(frame, png));
    EXPECT_TRUE(FileExists(png));
#ifdef ZORVA_TEST_BIN
    // Kept beside the test binary for a person to look at.
    const CString kept = CString(ZORVA_TEST_BIN) + u"/artifacts";
    CreateFolder(kept);
    EXPECT_TRUE(harness::SnapshotPng(frame, kept + u"/main_window.png"));
#endif
}

} // namespace

namespace {

class CMainFrameIconStyleTest : public FrameFixture {};

TEST_F(CMainFrameIconStyleTest, IconStyleMakesTheTwoToolbarsAndNoPalettes)
{
    ASSERT_TRUE(Start(false));
    ASSERT_NE(g_drawToolBar, nullptr);
    ASSERT_NE(g_dimToolBar, nullptr);
    EXPECT_EQ(g_drawToolBar->GetCount(), 24);
    EXPECT_EQ(g_drawToolBar->GetItemID(9), 0u);
    EXPECT_EQ(g_dimToolBar->GetCount(), 8);
    EXPECT_EQ(g_toolTabBar, nullptr);
    EXPECT_FALSE(PalettesHaveWindows());
    // The style chosen from the menu waits for the next start.
    g_MachiningSettings.paletteButtonStyle = 1;
    EXPECT_EQ(g_toolTabBar, nullptr);
}

} // namespace
