// Every command of menu 128, of the right-button popup 254 and of the
// toolbars 248, 133 and 134, chosen as the user chooses them in the real
// main frame (icon style): what each starts or opens, and how its update
// handler enables and checks it.

#include <functional>

#include "app/CZorvaApp.h"
#include "app/FrameState.h"
#include "app/frame_resources.h"
#include "app/settings_file.h"
#include "app/tool_dialogs.h"
#include "geometry/CArc.h"
#include "geometry/CLine.h"
#include "platform/core/files.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CToolBar.h"
#include "platform/ui/afx_ids.h"
#include "platform/ui/popup_menu.h"
#include "tests/view/program_fixture.h"
#include "view/view_entities.h"

#include <algorithm>

namespace {

std::vector<int> g_dialogsRun;
template <int N>
bool RecordDialog()
{
    g_dialogsRun.push_back(N);
    return false;
}

class MenuCommandTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        ResetSettingsDefaults();
        g_MachiningSettings.paletteButtonStyle = 0;    // the two toolbars
        SaveSettingsFile();
        ResetStates();
        g_dialogsRun.clear();
        Start();
    }
    // Every tool dialog answers through a recorder.
    static void RecordToolDialogs()
    {
        RegisterToolDialog(1100, &RecordDialog<1100>);
        RegisterToolDialog(1101, &RecordDialog<1101>);
        RegisterToolDialog(1104, &RecordDialog<1104>);
        RegisterToolDialog(1105, &RecordDialog<1105>);
        RegisterToolDialog(1106, &RecordDialog<1106>);
        RegisterToolDialog(1107, &RecordDialog<1107>);
        RegisterToolDialog(1108, &RecordDialog<1108>);
        RegisterToolDialog(1109, &RecordDialog<1109>);
        RegisterToolDialog(1110, &RecordDialog<1110>);
        RegisterToolDialog(1253, &RecordDialog<1253>);
        RegisterToolDialog(kCodingVersionDialog, &RecordDialog<kCodingVersionDialog>);
    }
    bool Choose(UINT id)
    {
        const bool chosen = harness::ChooseMenuItem(frame, id);
        Settle();
        return chosen;
    }
    static CToolBar* BarOf(UINT id)
    {
        for (CToolBar* bar : {g_mainToolBar, g_drawToolBar, g_dimToolBar})
            if (bar != nullptr && bar->CommandToIndex(id) >= 0)
                return bar;
        return nullptr;
    }
    bool Enabled(UINT id)
    {
        harness::RunIdle(frame);
        CToolBar* bar = BarOf(id);
        return bar != nullptr && bar->GetToolBarCtrl().IsButtonEnabled(id);
    }
    bool Checked(UINT id)
    {
        harness::RunIdle(frame);
        CToolBar* bar = BarOf(id);
        return bar != nullptr && bar->GetToolBarCtrl().IsButtonChecked(id);
    }
    // A click on an enabled button.
    bool Press(UINT id)
    {
        if (!Enabled(id))
            return false;
        CToolBar* bar = BarOf(id);
        bar->PressButton(bar->CommandToIndex(id));
        Settle();
        return true;
    }
    // The item's state after its menu's update handlers ran.
    UINT MenuState(UINT id)
    {
        CMenu* menu = frame->GetMenu();
        std::function<void(CMenu*)> update = [&](CMenu* m) {
            frame->UpdateMenuCmdUI(m);
            for (int i = 0; i < m->GetMenuItemCount(); ++i)
                if (CMenu* sub = m->GetSubMenu(i))
                    update(sub);
        };
        update(menu);
        return menu->GetMenuState(id, MF_BYCOMMAND);
    }
    void AtRest()
    {
        view->SetCommand(0);
        Settle();
    }
    CLine* AddLine(double x1, double y1, double x2, double y2, bool selected = false)
    {
        auto* line = new CLine(x1, y1, x2, y2);
        line->complete = 1;
        line->selected = selected ? 1 : 0;
        GetZorvaDoc()->AppendUnit(line);
        return line;
    }
};

// Menu items and panel buttons that start a command, and the toolbar
// toggles that start it and end it again.
const struct { UINT id; int command; bool toggle; } kStarts[] = {
    {32881, 1, false}, {32780, 1, true}, {32912, 3, false}, {32785, 3, true}, {32914, 5, false},
    {32786, 5, true}, {32915, 6, false}, {32791, 6, true}, {32910, 7, false}, {32783, 7, true},
    {32911, 8, false}, {32784, 8, true}, {32908, 9, false}, {32782, 9, true}, {32913, 10, false},
    {32787, 10, true}, {32909, 11, false}, {32781, 11, true}, {32870, 12, false}, {32900, 12, true},
    {32868, 15, false}, {32891, 15, true}, {32869, 16, false}, {32892, 16, true}, {32872, 17, false},
    {32898, 17, true}, {32873, 17, false}, {32899, 17, true}, {32874, 18, false}, {32906, 18, true},
    {32877, 19, false}, {32901, 19, true}, {32924, 20, false}, {32922, 20, true}, {32944, 23, false},
    {32981, 24, false}, {33025, 26, false}, {32967, 53, false}, {32820, 53, true}, {32970, 54, false},
    {32824, 54, true}, {32968, 55, false}, {32772, 55, true}, {32969, 56, false}, {32822, 56, true},
    {32974, 57, false}, {32828, 57, true}, {32973, 58, false}, {32827, 58, true}, {32975, 59, false},
    {32825, 59, true}, {32976, 60, false}, {32823, 60, true}, {32971, 61, false}, {32826, 61, true},
    {32978, 62, false}, {65025, 62, false}, {32972, 63, false}, {32831, 63, true}, {32977, 64, false},
    {32841, 64, true}, {32979, 68, false}, {32852, 68, true}, {32966, 69, false}, {32849, 69, true},
    {32984, 71, false}, {65028, 71, false}, {33004, 72, false}, {33005, 73, false}, {33007, 74, false},
    {33006, 75, false}, {33008, 76, false}, {33014, 80, false}, {65027, 80, true},
};

TEST_F(MenuCommandTest, EveryStartItemStartsItsCommandAndEveryToggleEndsItAgain)
{
    for (const auto& s : kStarts) {
        SCOPED_TRACE(testing::Message() << s.id);
        AtRest();
        const bool onToolbar = BarOf(s.id) != nullptr;
        ASSERT_TRUE(onToolbar ? Press(s.id) : Choose(s.id));
        EXPECT_EQ(g_curCommand, s.command);
        if (s.id == 32899 || s.id == 32873) {
            EXPECT_EQ(g_cmdSubFlag, 1);
        }
        if (!s.toggle)
            continue;
        EXPECT_TRUE(Checked(s.id));
        ASSERT_TRUE(Press(s.id));
        EXPECT_EQ(g_curCommand, 0);
        EXPECT_FALSE(Checked(s.id));
    }
}

TEST_F(MenuCommandTest, ToggleShowsCheckedOnlyWhileItsOwnCommandRuns)
{
    ASSERT_TRUE(Choose(32910));     // circle from the menu
    EXPECT_TRUE(Checked(32783));
    EXPECT_FALSE(Checked(32780));
    ASSERT_TRUE(Press(32899));      // radius dimension
    EXPECT_TRUE(Checked(32899));
    EXPECT_FALSE(Checked(32898));   // the diameter variant of the same command
    EXPECT_FALSE(Checked(32783));
}

// Items whose dialog this test records instead of showing it.
const struct { UINT id; int dialog; } kDialogItems[] = {
    {32818, 1101}, {32930, 1100}, {32858, 1104}, {32860, 1105}, {32847, 1106}, {32921, 1107},
    {32920, 1108}, {57670, 1109}, {32946, 1110}, {33023, 1253}, {33055, kCodingVersionDialog},
    {65017, 1101}, {65018, 1100},
};

TEST_F(MenuCommandTest, DialogItemsOpenTheirDialogAndAreDisabledWithoutOne)
{
    // Without a registered colour dialog its item stays disabled.
    RegisterToolDialog(1104, nullptr);
    EXPECT_TRUE(MenuState(32858) & MF_GRAYED);
    RecordToolDialogs();
    for (const auto& d : kDialogItems) {
        SCOPED_TRACE(d.id);
        g_dialogsRun.clear();
        if (BarOf(d.id) != nullptr) {
            ASSERT_TRUE(Press(d.id));
        } else {
            EXPECT_FALSE(MenuState(d.id) & MF_GRAYED);
            ASSERT_TRUE(Choose(d.id));
        }
        EXPECT_EQ(g_dialogsRun, std::vector<int>{d.dialog});
        EXPECT_EQ(g_modalDialogId, 0);
    }
    ModalDialogScript about;
    about.Answer(IDOK);
    EXPECT_TRUE(Choose(ID_APP_ABOUT));
}

TEST_F(MenuCommandTest, NoItemOrButtonIsDisabledThatTheProgramHandles)
{
    RecordToolDialogs();
    std::vector<UINT> ids;
    std::function<void(CMenu*)> collect = [&](CMenu* m) {
        for (const CMenu::Item& item : m->Items()) {
            if (item.popup != nullptr)
                collect(item.popup.get());
            else if (!item.separator)
                ids.push_back(item.id);
        }
    };
    collect(frame->GetMenu());
    ASSERT_EQ(ids.size(), 81u);
    for (UINT id : ids) {
        SCOPED_TRACE(id);
        // Undo and redo wait for something to undo or redo.
        const bool disabled = id == 32788 || id == 32790;
        EXPECT_EQ((MenuState(id) & MF_GRAYED) != 0, disabled);
    }
    for (CToolBar* bar : {g_mainToolBar, g_drawToolBar, g_dimToolBar}) {
        for (int i = 0; i < bar->GetCount(); ++i) {
            const UINT id = bar->GetItemID(i);
            if (id == 0 || id == IDC_LINE_STYLE)
                continue;
            SCOPED_TRACE(id);
            // The toolbar's undo and redo follow the history like the menu's.
            EXPECT_EQ(Enabled(id), id != 65012 && id != 65013);
        }
    }
}

TEST_F(MenuCommandTest, BatchAndExportItemsAskForTheirContoursAndPaths)
{
    for (UINT id : {33027u, 65026u}) {
        SCOPED_TRACE(id);
        g_batchContourPick = 0;
        ASSERT_TRUE(BarOf(id) != nullptr ? Press(id) : Choose(id));
        EXPECT_EQ(g_batchContourPick, 1);
        EXPECT_TRUE(OutputHas(u"批量轨迹生成->第一步选择实线【Ctrl+A全选】"));
    }
    for (UINT id : {32845u, 65019u}) {
        SCOPED_TRACE(id);
        view->ClearOutput();
        ASSERT_TRUE(BarOf(id) != nullptr ? Press(id) : Choose(id));
        EXPECT_TRUE(OutputHas(u"导出加工> 请选择加工轨迹，按【回车/右键】确定"));
    }
}

TEST_F(MenuCommandTest, SettingItemsStoreTheirByteMarkSettingsAndCheckTheCurrentItem)
{
    const struct { UINT on, off; const std::uint8_t* setting; std::uint8_t onValue; } kPairs[] = {
        {32989, 32990, &g_CrosshairOn, 1},
        {33072, 33073, &g_RightMenuOn, 1},
        {33019, 33018, &g_LeftToolbarButtons, 1},
        {32950, 32949, &g_PathViewStyle, 1},
    };
    for (const auto& p : kPairs) {
        SCOPED_TRACE(p.on);
        for (UINT id : {p.on, p.off}) {
            g_SettingsDirty = 0;
            ASSERT_TRUE(Choose(id));
            EXPECT_EQ(*p.setting, id == p.on ? p.onValue : 0);
            EXPECT_EQ(g_SettingsDirty, 1);
            EXPECT_TRUE(MenuState(id) & MF_CHECKED);
            EXPECT_FALSE(MenuState(id == p.on ? p.off : p.on) & MF_CHECKED);
            if (id == 33019) {
                EXPECT_TRUE(OutputHas(u"*已改变工具栏为按键样式，重启绘图程序后生效"));
            }
        }
    }
    // The 3-D styles start the 3-D path view; the toolbar style waits for
    // the next start.
    EXPECT_EQ(g_curCommand, 22);
    EXPECT_NE(g_drawToolBar, nullptr);
}

TEST_F(MenuCommandTest, UndoAndRedoItemsFollowTheHistory)
{
    Type(u"l");
    Type(u"0,0");
    Type(u"10,0");
    Key(VK_ESCAPE);
    ASSERT_EQ(Live(1).size(), 1u);
    EXPECT_FALSE(MenuState(32788) & MF_GRAYED);
    EXPECT_TRUE(MenuState(32790) & MF_GRAYED);
    ASSERT_TRUE(Choose(32788));
    EXPECT_TRUE(Live(1).empty());
    EXPECT_FALSE(MenuState(32790) & MF_GRAYED);
    ASSERT_TRUE(Press(65013));      // redo button
    EXPECT_EQ(Live(1).size(), 1u);
    ASSERT_TRUE(Press(65012));      // undo button
    EXPECT_TRUE(Live(1).empty());
}

TEST_F(MenuCommandTest, BlockMakeExplodeAndDisplay)
{
    auto* grouped = AddLine(0, 20, 5, 20);
    grouped->group = 4;
    CLine* a = AddLine(0, 0, 10, 0, true);
    CLine* b = AddLine(10, 0, 10, 10, true);
    CLine* c = AddLine(10, 10, 0, 0, true);
    CLine* loose = AddLine(30, 0, 40, 0);
    ASSERT_TRUE(Choose(32995));
    EXPECT_TRUE(OutputHas(u"块生成->编号：5  实线数量：3"));
    for (CLine* l : {a, b, c}) {
        EXPECT_EQ(l->group, 5);
        EXPECT_EQ(l->role, kRoleBlockMember);
        EXPECT_EQ(l->blockMember, 1);
        EXPECT_EQ(l->selected, 0);
    }
    ASSERT_TRUE(Choose(32995));
    EXPECT_TRUE(OutputHas(u"#未选择生成块实线"));

    ASSERT_TRUE(Choose(32998));
    EXPECT_TRUE(OutputHas(u"块显示->块数量：1   实线数量：3 【Esc/退出】"));
    EXPECT_EQ(loose->visible, 0);
    EXPECT_EQ(a->visible, 1);
    Key(VK_ESCAPE);
    EXPECT_EQ(loose->visible, 1);

    a->selected = b->selected = 1;
    ASSERT_TRUE(Choose(32996));
    EXPECT_TRUE(OutputHas(u"块打散->操作完成"));
    EXPECT_EQ(a->role, kRoleDrawing);
    EXPECT_EQ(a->group, 0);
    EXPECT_EQ(c->role, kRoleBlockMember);
    ASSERT_TRUE(Choose(32996));
    EXPECT_TRUE(OutputHas(u"#未找到选择块实线"));
}

TEST_F(MenuCommandTest, DeletePathsIsOneUndoStepAndShowPathsWaitsForEsc)
{
    CLine* path1 = AddLine(0, 0, 10, 0);
    CLine* path2 = AddLine(0, 5, 10, 5);
    path1->role = path2->role = kRolePath;
    CLine* drawing = AddLine(0, 9, 10, 9);
    ASSERT_TRUE(Choose(33031));
    EXPECT_EQ(view->m_pathsOnly, 1);
    EXPECT_TRUE(OutputHas(u"轨迹显示-> 按【Esc/右键】退出"));
    Key(VK_ESCAPE);
    EXPECT_EQ(view->m_pathsOnly, 0);

    const int undoable = g_undoCount;
    ASSERT_TRUE(Choose(32942));
    EXPECT_EQ(path1->deleted, 1);
    EXPECT_EQ(path2->deleted, 1);
    EXPECT_EQ(drawing->deleted, 0);
    EXPECT_EQ(g_undoCount, undoable + 1);
    ASSERT_TRUE(Choose(32788));
    EXPECT_EQ(path1->deleted, 0);
    EXPECT_EQ(path2->deleted, 0);
}

TEST_F(MenuCommandTest, RestoreDefaultsAndRepairAskFirst)
{
    g_CrosshairOn = 1;
    g_SettingsDirty = 0;
    {
        MessageBoxScript no;
        no.Expect(u"是否恢复默认设置？", IDNO);
        ASSERT_TRUE(Choose(33012));
    }
    EXPECT_EQ(g_CrosshairOn, 1);
    ASSERT_TRUE(Choose(32881));     // a running command survives the restore
    {
        MessageBoxScript yes;
        yes.Expect(u"是否恢复默认设置？", IDYES);
        ASSERT_TRUE(Choose(33012));
    }
    EXPECT_EQ(g_CrosshairOn, 0);
    EXPECT_EQ(g_SettingsDirty, 1);
    EXPECT_EQ(g_curCommand, 1);
    EXPECT_TRUE(OutputHas(u"默认设置恢复成功!"));

    ASSERT_TRUE(FileExists(SettingsFilePath()));
    {
        MessageBoxScript no;
        no.Expect(u"确定修复绘图程序？", IDNO);
        ASSERT_TRUE(Choose(33010));
    }
    EXPECT_TRUE(g_programEnded.empty());
    {
        MessageBoxScript yes;
        yes.Expect(u"确定修复绘图程序？", IDYES);
        ASSERT_TRUE(Choose(33010));
    }
    EXPECT_EQ(g_programEnded, std::vector<int>{0});
    // Repaired means factory settings at the next start: the exit did not
    // write the settings straight back (it did before).
    EXPECT_FALSE(FileExists(SettingsFilePath()));
    EXPECT_FALSE(FileExists(SettingsBackupPath()));
}

TEST_F(MenuCommandTest, MainToolbarViewAndFileButtons)
{
    AddLine(0, 0, 100, 50);
    view->m_mousePixel = {400, 300};
    const double scale = g_ViewScale;
    ASSERT_TRUE(Press(65020));
    EXPECT_DOUBLE_EQ(g_ViewScale, scale * 1.4);
    Settle();
    ASSERT_TRUE(Press(65021));
    EXPECT_DOUBLE_EQ(g_ViewScale, scale * 1.4 * 0.6);
    Settle();
    ASSERT_TRUE(Press(65022));
    EXPECT_NE(g_ViewScale, scale * 1.4 * 0.6);     // fitted to the 100 x 50 line

    ASSERT_TRUE(Press(65024));
    EXPECT_EQ(g_curCommand, 22);
    ASSERT_TRUE(Press(65024));
    EXPECT_EQ(g_curCommand, 0);

    for (UINT id : {65009u, 65010u}) {
        ModalDialogScript browser;
        browser.Then([id](CDialog& d) {
            EXPECT_EQ(d.GetTemplateId(), id == 65009 ? 144u : 139u);
            return IDCANCEL;
        });
        ASSERT_TRUE(Press(id));
    }
    ASSERT_TRUE(Press(65011));
    EXPECT_EQ(g_PropertyPanelShown, 1);
    ASSERT_NE(g_pPropertyPanel, nullptr);
    EXPECT_TRUE(g_pPropertyPanel->IsWindowVisible());

    ASSERT_TRUE(Press(65008));      // a new drawing
    EXPECT_TRUE(Live(1).empty());
    ASSERT_TRUE(Press(65023));
    EXPECT_EQ(g_programEnded, std::vector<int>{0});
}

TEST_F(MenuCommandTest, ClipboardItemsAndButtonsCopyCutAndPaste)
{
    AddLine(0, 0, 10, 0, true);
    ASSERT_TRUE(Choose(ID_EDIT_COPY));
    EXPECT_EQ(view->m_clipboardMode, 1);
    ASSERT_TRUE(Press(65015));      // paste: the copy follows the cursor
    EXPECT_EQ(g_curCommand, kCmdPaste);
    AtRest();
    AddLine(0, 5, 10, 5, true);
    ASSERT_TRUE(Press(65016));      // cut
    EXPECT_EQ(view->m_clipboardMode, 2);
}

TEST_F(MenuCommandTest, PopupOverASelectionOffersItsItemsAndRunsTheChosenOne)
{
    g_RightMenuOn = 1;
    CLine* line = AddLine(0, 0, 10, 0);
    std::vector<std::pair<UINT, UINT>> offered;
    const PopupMenuHook old = SetPopupMenuHook([&](const CMenu& menu, int, int) {
        for (const CMenu::Item& item : menu.Items())
            if (!item.separator)
                offered.push_back({item.id, item.state});
        EXPECT_EQ(g_rightButtonState, 10);
        return UINT(32967);
    });
    ClickView(x_Vector(5, 0));
    ASSERT_EQ(line->selected, 1);
    const POINT p = WorldToScreen(x_Vector(5, 0));
    harness::Click(view, CPoint(p.x, p.y), MK_RBUTTON);
    Settle();
    SetPopupMenuHook(old);
    const std::vector<UINT> kItems = {65011, 32966, ID_EDIT_COPY, ID_EDIT_PASTE, 32967, 33014,
                                      32974, 32970, 32973, 33068, 32978};
    ASSERT_EQ(offered.size(), kItems.size());
    for (size_t i = 0; i < kItems.size(); ++i) {
        EXPECT_EQ(offered[i].first, kItems[i]);
        EXPECT_EQ(offered[i].second & MF_GRAYED, 0u) << kItems[i];
    }
    EXPECT_EQ(g_curCommand, 53);
}

TEST_F(MenuCommandTest, PopupDivideAsksForTheCountOfTheFirstArc)
{
    auto* arc = new CArc();
    arc->geometry.arc = arc->workGeometry.arc = MakeArcRecord(x_Vector(0, 0), 10, 0, 1.5);
    arc->complete = 1;
    GetZorvaDoc()->AppendUnit(arc);
    AddLine(20, 0, 30, 0);      // not selected: lines must be
    view->SendMessage(WM_COMMAND, 33068, 0);
    Settle();
    EXPECT_EQ(g_curCommand, 56);
    EXPECT_EQ(GetCommandMode(55), 1);
    EXPECT_EQ(view->m_pPickedUnit, arc);
    EXPECT_EQ(view->m_subStep, 1);
    EXPECT_EQ(arc->selected, 1);
}

} // namespace

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
