// The property panel, the text panel, the help list and the file browsers
// as a user meets them in the whole program, with a picture of each kept
// beside the test binary ("artifacts") for a person to look at.

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/CZorvaimageInfo.h"
#include "app/CZorvasendwork.h"
#include "app/browser_resources.h"
#include "app/frame_resources.h"
#include "app/wcx_file.h"
#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CLine.h"
#include "platform/core/files.h"
#include "platform/testing/control_driver.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/file_prompt.h"
#include "platform/ui/popup_menu.h"
#include "tests/view/program_fixture.h"

namespace {

constexpr int kIdType = 1036, kIdEditSwitch = 1030, kIdRows = 1033, kIdApply = 1041, kIdCellEdit = 101;
constexpr int kIdTextContent = 1015;
constexpr int kIdHelpTopics = 1008, kIdHelpText = 1009;
constexpr UINT kMenuProperties = 32855, kMenuUndo = 32788, kMenuRedo = 32790;
constexpr UINT kMenuOpen = 32808, kMenuSaveAs = 32926, kMenuHelp = 57670;
constexpr UINT kButtonNew = 65008, kButtonSave = 65010;

std::string ReadFileBytes(const CString& path)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class PanelsTest : public ProgramTest {
protected:
    // A picture in the test's folder and one kept beside the test binary.
    static void Keep(CWnd* wnd, const char16_t* name)
    {
        EXPECT_TRUE(harness::SnapshotPng(wnd, harness::TempPath(CString(name))));
        const CString kept = CString(ZorvaTestBinDir()) + u"/artifacts";
        CreateFolder(kept);
        EXPECT_TRUE(harness::SnapshotPng(wnd, kept + u"/" + name));
    }
    static CString Text(CWnd* w, int id)
    {
        CString s;
        w->GetDlgItemText(id, s);
        return s;
    }
    static std::vector<CString> Column(CWnd* w, int id, int column)
    {
        std::vector<CString> texts;
        auto* list = dynamic_cast<CListCtrl*>(w->GetDlgItem(id));
        for (int i = 0; list != nullptr && i < list->GetItemCount(); ++i)
            texts.push_back(list->GetItemText(i, column));
        return texts;
    }
    static void Append(CUnit* u)
    {
        ++g_UnitIdCounter;
        u->workGeometry = u->geometry;
        u->complete = 1;
        GetZorvaDoc()->AppendUnit(u);
        GetZorvaDoc()->CommitUndoStep(0);
    }
    static CCir* NewCircle(const x_Vector& centre, double radius)
    {
        auto* circle = new CCir();
        circle->geometry.circle.centre = centre;
        circle->geometry.circle.radius = radius;
        return circle;
    }
    // A drawing of one circle, shown and settled.
    CCir* StartWithCircle(const x_Vector& centre, double radius)
    {
        Start();
        SetView(10.0, 100, 400);
        g_snapOn = g_trackOn = 0;
        CCir* circle = NewCircle(centre, radius);
        Append(circle);
        view->RedrawNow();
        Settle();
        return circle;
    }
    // The panel over the entity under a click, opened from the menu.
    CZorvaimageInfo* PanelOver(const x_Vector& at)
    {
        ClickView(at);
        EXPECT_TRUE(harness::ChooseMenuItem(frame, kMenuProperties));
        Settle();
        auto* panel = dynamic_cast<CZorvaimageInfo*>(g_pPropertyPanel);
        EXPECT_NE(panel, nullptr);
        EXPECT_TRUE(panel != nullptr && panel->IsWindowVisible());
        return panel;
    }
    // Double click on a value, type, Enter, then "保存(&S)".
    static void EditRow(CZorvaimageInfo* panel, int row, const char16_t* text)
    {
        CWnd* rows = panel->GetDlgItem(kIdRows);
        dlgtest::ClickListRow(rows, row, true);
        CWnd* cell = rows->GetDlgItem(kIdCellEdit);
        ASSERT_NE(cell, nullptr);
        ASSERT_TRUE(cell->IsWindowVisible());
        dlgtest::TypeText(cell, CString(text));
        harness::PressKey(cell, VK_RETURN);
        dlgtest::Click(panel->GetDlgItem(kIdApply));
        Settle();
    }
    // A circle, saved through the toolbar's save button and the browser as
    // a.wcx in the tree.
    void DrawCircleAndSaveItAsA()
    {
        Type(u"c");
        Type(u"0,0");
        Type(u"10");
        Key(VK_ESCAPE);
        g_browseFolder = tree;
        ModalDialogScript script;
        script.Then([](CDialog& d) {
            d.SetDlgItemText(kIdNameEdit, CString(u"a"));
            d.PressButton(IDOK);
            return IDCANCEL;
        });
        frame->SendMessage(WM_COMMAND, kButtonSave, 0);
        Settle();
    }

    CString tree;

    void SetUp() override
    {
        ProgramTest::SetUp();
        InstallAppDialogs();        // other tests put recorders in the dialogs' places
        tree = harness::TempPath(u"tree");
        std::filesystem::create_directories(NativePath(tree) + "/parts");
    }
};

// A line, an arc and a circle: the panel shows each, an edited value is
// one undo step, and undo and redo go back and forth between the two.
TEST_F(PanelsTest, PropertyPanelShowsAndEditsALineAnArcAndACircleWithUndo)
{
    Start();
    SetView(10.0, 100, 400);
    g_snapOn = g_trackOn = 0;
    auto* line = new CLine(0, 0, 10, 0);
    auto* arc = new CArc();
    arc->geometry.arc = MakeArcRecord(x_Vector(30, 0), 5, 0, kPi);
    CCir* circle = NewCircle(x_Vector(60, 0), 5);
    for (CUnit* u : std::initializer_list<CUnit*>{line, arc, circle})
        Append(u);
    view->RedrawNow();
    Settle();

    const struct {
        const char* name;
        x_Vector at;
        int type;
        const char16_t* typeText;
        std::vector<CString> labels, values;
        int row;
        const char16_t* typed;
        std::function<double(const CUnit&)> edited;
        double before, after;
    } kCases[] = {
        {"line", {5, 0}, 1, u"直线 (line)",
         {u"起点 X", u"起点 Y", u"终点 X", u"终点 Y", u"长度", u"角度", u"编号"},
         {u"0.0", u"0.0", u"10.0", u"0.0", u"10.0000 mm", u"∠ 0.0000°"},
         2, u"25.5", [](const CUnit& u) { return u.geometry.line.p2.x; }, 10, 25.5},
        {"arc", {30, 5}, 8, u"圆弧 (Arc)",
         {u"圆心 X", u"圆心 Y", u"半径", u"起点角", u"终点角", u"方向", u"编号"},
         {u"30.0", u"0.0", u"5.0", u"∠ 0.0000°", u"∠ 180.0000°", u"正向"},
         2, u"7.25", [](const CUnit& u) { return u.geometry.arc.radius; }, 5, 7.25},
        {"circle", {65, 0}, 7, u"圆 (Circle)",
         {u"圆心 X", u"圆心 Y", u"半径", u"起点角", u"终点角", u"方向", u"编号"},
         {u"60.0", u"0.0", u"5.0", u"∠ 0.0000°", u"∠ 360.0000°", u"正向"},
         0, u"-40.5", [](const CUnit& u) { return u.geometry.circle.centre.x; }, 60, -40.5},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        CZorvaimageInfo* panel = PanelOver(c.at);
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(Text(panel, kIdType), CString(c.typeText));
        EXPECT_EQ(Column(panel, kIdRows, 0), c.labels);
        std::vector<CString> values = Column(panel, kIdRows, 1);
        values.resize(c.values.size());
        EXPECT_EQ(values, c.values);
        if (c.type == 8)
            Keep(panel, u"property_panel_arc.png");

        if (!panel->IsDlgButtonChecked(kIdEditSwitch))
            dlgtest::Click(panel->GetDlgItem(kIdEditSwitch));
        const int undoBefore = g_undoCount;
        EditRow(panel, c.row, c.typed);
        ASSERT_EQ(Live(c.type).size(), 1u);
        EXPECT_DOUBLE_EQ(c.edited(*Live(c.type)[0]), c.after);
        EXPECT_EQ(Column(panel, kIdRows, 1)[c.row], CString(c.typed));
        EXPECT_EQ(g_undoCount, undoBefore + 1);

        ASSERT_TRUE(harness::ChooseMenuItem(frame, kMenuUndo));
        Settle();
        ASSERT_EQ(Live(c.type).size(), 1u);
        EXPECT_DOUBLE_EQ(c.edited(*Live(c.type)[0]), c.before);
        EXPECT_EQ(g_undoCount, undoBefore);
        ASSERT_TRUE(harness::ChooseMenuItem(frame, kMenuRedo));
        Settle();
        ASSERT_EQ(Live(c.type).size(), 1u);
        EXPECT_DOUBLE_EQ(c.edited(*Live(c.type)[0]), c.after);
        Key(VK_ESCAPE);
    }
    EXPECT_EQ(Live(1).size() + Live(7).size() + Live(8).size(), 3u);
}

// 属性 of the right-button menu over a picked circle fills the panel.
TEST_F(PanelsTest, PopupPropertiesItemShowsThePickedEntity)
{
    CCir* circle = StartWithCircle(x_Vector(15, 0), 5);
    ClickView({20, 0});
    ASSERT_EQ(circle->selected, 1);
    const PopupMenuHook old = SetPopupMenuHook([](const CMenu&, int, int) { return UINT(65011); });
    const POINT p = WorldToScreen({20, 0});
    harness::Click(view, CPoint(p.x, p.y), MK_RBUTTON);
    Settle();
    SetPopupMenuHook(old);
    auto* panel = dynamic_cast<CZorvaimageInfo*>(g_pPropertyPanel);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->IsWindowVisible());
    EXPECT_EQ(Text(panel, kIdType), CString(u"圆 (Circle)"));
    EXPECT_EQ(Column(panel, kIdRows, 1).size(), 7u);
    Keep(panel, u"property_panel_circle.png");
}

// Before, a cell that was no number applied as 0 (the circle was then
// purged) and a negative radius was taken.
TEST_F(PanelsTest, PropertyPanelRefusesABadRadiusAndKeepsTheOldValue)
{
    StartWithCircle(x_Vector(10, 0), 4);
    CZorvaimageInfo* panel = PanelOver({14, 0});
    ASSERT_NE(panel, nullptr);
    dlgtest::Click(panel->GetDlgItem(kIdEditSwitch));
    const int undoBefore = g_undoCount;
    for (const char16_t* typed : {u"abc", u"-3", u"0", u"4x", u""}) {
        SCOPED_TRACE(CString(typed).ToUtf8());
        edit->SetWindowText(CString());
        EditRow(panel, 2, typed);
        ASSERT_EQ(Live(7).size(), 1u);
        EXPECT_EQ(Live(7)[0]->geometry.circle.radius, 4.0);
        EXPECT_EQ(Column(panel, kIdRows, 1)[2], CString(u"4.0"));
        EXPECT_TRUE(OutputHas(u"#输入有误"));
        EXPECT_EQ(g_undoCount, undoBefore);
    }
}

// "dt", a click: the text panel opens with the keyboard in its content
// edit (before, the click handed it back to the command line). The text
// goes through Save As into a drawing and comes back after a restart.
TEST_F(PanelsTest, TextTypedInThePanelIsSavedThroughTheBrowserAndReopened)
{
    Start();
    SetView(10.0, 100, 400);
    Type(u"dt");
    ClickView({20, 20});
    ASSERT_NE(g_pTextPanel, nullptr);
    ASSERT_TRUE(g_pTextPanel->IsWindowVisible());
    CWnd* content = g_pTextPanel->GetDlgItem(kIdTextContent);
    CWnd* focus = CWnd::GetFocus();
    ASSERT_EQ(focus, content) << "focus on " << (focus != nullptr ? focus->GetDlgCtrlID() : 0);
    harness::TypeText(focus, CString(u"线切割 齿轮 A1"));
    Keep(g_pTextPanel, u"text_panel.png");
    harness::PressKey(focus, VK_RETURN);
    Settle();
    EXPECT_FALSE(g_pTextPanel->IsWindowVisible());
    ASSERT_EQ(Live(12).size(), 1u);
    EXPECT_EQ(Live(12)[0]->geometry.text.text, CString(u"线切割 齿轮 A1"));

    g_browseFolder = tree + u"/parts";
    g_saveTypeIndex = 0;
    ModalDialogScript script;
    script.Then([&](CDialog& d) {
        Keep(&d, u"browser_save_as.png");
        d.SetDlgItemText(kIdNameEdit, CString(u"文字"));
        harness::PressKey(d.GetDlgItem(kIdBrowserList), 'S');
        return IDCANCEL;
    });
    ASSERT_TRUE(harness::ChooseMenuItem(frame, kMenuSaveAs));
    Settle();
    EXPECT_EQ(script.Shown(), 1);
    const CString saved = tree + u"/parts/文字.wcx";
    ASSERT_TRUE(FileExists(saved));
    EXPECT_EQ(FileNameField(), CString(u"文件：文字.wcx"));

    ExitAndStartAgain({saved});
    ASSERT_EQ(Live(12).size(), 1u);
    EXPECT_EQ(Live(12)[0]->geometry.text.text, CString(u"线切割 齿轮 A1"));
    EXPECT_EQ(FileNameField(), CString(u"文件：文字.wcx"));
    Keep(frame, u"main_window_reopened.png");
}

// Esc ends the text command and hides the panel, nothing placed, and the
// keys go back to the command line: in the panel's edit (its cancel) and
// in the command edit (before, the panel stayed, and its OK then dropped
// the typed text without a word).
TEST_F(PanelsTest, EscEndsTheTextCommandAndHidesThePanel)
{
    Start();
    SetView(10.0, 100, 400);
    const struct { const char* name; bool inPanel; } kCases[] = {{"in the panel", true}, {"in the command edit", false}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        Type(u"dt");
        ClickView({20, 20});
        ASSERT_TRUE(g_pTextPanel->IsWindowVisible());
        CWnd* content = g_pTextPanel->GetDlgItem(kIdTextContent);
        harness::TypeText(content, CString(u"abc"));
        if (!c.inPanel) {
            harness::Click(edit, CPoint(3, 3));
            Settle();
        }
        harness::PressKey(c.inPanel ? content : edit, VK_ESCAPE);
        Settle();
        EXPECT_FALSE(g_pTextPanel->IsWindowVisible());
        EXPECT_EQ(g_curCommand, 0);
        EXPECT_TRUE(Live(12).empty());
        EXPECT_EQ(CWnd::GetFocus(), edit);
    }
}

// The help list reads the data folder's list file (GBK) and shows a
// topic's text with a leading blank.
TEST_F(PanelsTest, HelpListShowsItsTopicsAndTheChosenText)
{
    // "##直线" in GBK, its two lines, then a second topic.
    std::ofstream(NativePath(MapWindowsPath(CString(u"data\\zorvahelp2.txt"))), std::ios::binary)
        << "ignored\n##\xD6\xB1\xCF\xDF\nl a\nl b\n## Arcs \nthree points\n";
    Start();
    ModalDialogScript script;
    script.Then([&](CDialog& d) {
        EXPECT_EQ(d.GetTemplateId(), 181u);
        EXPECT_EQ(Column(&d, kIdHelpTopics, 0), (std::vector<CString>{u"直线", u"Arcs"}));
        dlgtest::ClickListRow(d.GetDlgItem(kIdHelpTopics), 0);
        CString text = Text(&d, kIdHelpText);
        text.Remove(u'\r');        // the edit keeps its lines, not their ends
        EXPECT_EQ(text, CString(u" l a\nl b\n"));
        Keep(&d, u"help_list.png");
        return IDCANCEL;
    });
    ASSERT_TRUE(harness::ChooseMenuItem(frame, kMenuHelp));
    Settle();
    EXPECT_EQ(script.Shown(), 1);
}

// The toolbar's save button and the menu's Save As each write the drawing
// through the browser, and the file field shows the name.
TEST_F(PanelsTest, SaveButtonAndSaveAsItemWriteTheDrawing)
{
    Start();
    Type(u"l");
    Type(u"0,0");
    Type(u"10,0");
    Key(VK_ESCAPE);
    EXPECT_EQ(FileNameField(), CString(u"文件：-"));
    const struct { const char* name; UINT id; bool menu; const char16_t* file; } kCases[] = {
        {"toolbar save", kButtonSave, false, u"one"},
        {"menu save as", kMenuSaveAs, true, u"two"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        g_browseFolder = tree;
        ModalDialogScript script;
        script.Then([&](CDialog& d) {
            d.SetDlgItemText(kIdNameEdit, CString(c.file));
            d.PressButton(IDOK);
            return IDCANCEL;
        });
        if (c.menu)
            ASSERT_TRUE(harness::ChooseMenuItem(frame, c.id));
        else
            frame->SendMessage(WM_COMMAND, c.id, 0);
        Settle();
        EXPECT_TRUE(FileExists(tree + u"/" + c.file + u".wcx"));
        EXPECT_EQ(FileNameField(), CString(u"文件：") + c.file + u".wcx");
    }
}

// The caption and Ctrl+S (the framework's own save) follow the drawing
// file the browsers wrote or read. Before, Ctrl+S after a Save As asked
// for a name again, and after a DXF open it wrote the imported drawing
// over the drawing file opened before.
TEST_F(PanelsTest, CaptionAndCtrlSFollowTheDrawingFileOfTheBrowsers)
{
    std::ofstream(NativePath(tree) + "/parts/b.dxf")
        << "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n5\n21\n5\n0\nENDSEC\n0\nEOF\n";
    Start();
    Type(u"l");
    Type(u"0,0");
    Type(u"10,0");
    Key(VK_ESCAPE);
    g_browseFolder = tree;
    g_saveTypeIndex = 0;
    {
        ModalDialogScript script;
        script.Then([&](CDialog& d) {
            d.SetDlgItemText(kIdNameEdit, CString(u"one"));
            d.PressButton(IDOK);
            return IDCANCEL;
        });
        ASSERT_TRUE(harness::ChooseMenuItem(frame, kMenuSaveAs));
        Settle();
    }
    const CString one = tree + u"/one.wcx";
    CString caption;
    frame->GetWindowText(caption);
    EXPECT_GE(caption.Find(u"one.wcx"), 0) << caption.ToUtf8();

    std::vector<CString> prompts;
    const SaveFileNameHook old = SetSaveFileNameHook([&](const CString& suggested) {
        prompts.push_back(suggested);
        return CString();
    });
    const auto linesIn = [](const CString& path) {
        CUnitArray back;
        EXPECT_EQ(ReadWcxFile(path, back), WcxRead::loaded);
        const int n = int(back.GetSize());
        FreeUnitArray(back);
        return n;
    };
    Type(u"l");
    Type(u"0,5");
    Type(u"10,5");
    Key(VK_ESCAPE);
    CtrlKey('S');
    EXPECT_TRUE(prompts.empty());
    EXPECT_EQ(linesIn(one), 2);

    g_browseFolder = tree + u"/parts";
    g_openTypeIndex = 2;
    {
        ModalDialogScript script;
        script.Then([&](CDialog& d) {
            dlgtest::ClickListRow(d.GetDlgItem(kIdBrowserList), 1);
            d.PressButton(IDOK);
            return IDCANCEL;
        });
        ASSERT_TRUE(harness::ChooseMenuItem(frame, kMenuOpen));
        Settle();
    }
    EXPECT_EQ(g_currentFileName, CString(u"b.dxf"));
    EXPECT_EQ(Live(1).size(), 1u);
    frame->GetWindowText(caption);
    EXPECT_LT(caption.Find(u"one.wcx"), 0) << caption.ToUtf8();
    CtrlKey('S');
    EXPECT_EQ(prompts.size(), 1u);
    EXPECT_EQ(linesIn(one), 2);
    SetSaveFileNameHook(old);
}

// A user's steps: a circle saved through the browser as a.wcx, 新建, a
// rectangle, "qt" and a new start (the snapshot brings the rectangle
// back), Ctrl+S. Before, the new drawing kept a.wcx's path in the
// snapshot: after the start the caption said a.wcx and Ctrl+S wrote the
// rectangle over the circle without a word.
TEST_F(PanelsTest, DrawingBegunAnewComesBackWithoutTheFileSavedBefore)
{
    Start();
    DrawCircleAndSaveItAsA();
    const CString saved = tree + u"/a.wcx";
    ASSERT_TRUE(FileExists(saved));
    const std::string circleFile = ReadFileBytes(saved);
    ASSERT_FALSE(circleFile.empty());
    frame->SendMessage(WM_COMMAND, kButtonNew, 0);
    Settle();
    Type(u"rl");
    Type(u"0,0");
    Type(u"12,6");
    Key(VK_ESCAPE);
    Type(u"qt");
    ASSERT_EQ(g_programEnded, std::vector<int>{0});
    Stop();
    ResetStates();
    Start();

    EXPECT_EQ(Live(1).size(), 4u) << "the rectangle is back";
    EXPECT_TRUE(g_currentFileName.IsEmpty());
    EXPECT_TRUE(g_currentFilePath.IsEmpty());
    EXPECT_EQ(FileNameField(), CString(u"文件：-"));
    CString caption;
    frame->GetWindowText(caption);
    EXPECT_LT(caption.Find(u"a.wcx"), 0) << caption.ToUtf8();
    const CString other = tree + u"/b.wcx";
    std::vector<CString> prompts;
    const SaveFileNameHook old = SetSaveFileNameHook([&](const CString& suggested) {
        prompts.push_back(suggested);
        return other;
    });
    CtrlKey('S');
    SetSaveFileNameHook(old);
    EXPECT_EQ(prompts.size(), 1u) << "Ctrl+S asks for a name";
    EXPECT_EQ(ReadFileBytes(saved), circleFile);
    EXPECT_TRUE(FileExists(other));
}

// A drawing that had its file when the program ended keeps it: the next
// start shows the name and Ctrl+S writes to it without asking.
TEST_F(PanelsTest, DrawingWithAFileComesBackWithItsFile)
{
    Start();
    DrawCircleAndSaveItAsA();
    Type(u"rl");
    Type(u"20,0");
    Type(u"12,6");
    Key(VK_ESCAPE);
    ExitAndStartAgain();

    const CString saved = tree + u"/a.wcx";
    EXPECT_EQ(g_currentFileName, CString(u"a.wcx"));
    EXPECT_EQ(FileNameField(), CString(u"文件：a.wcx"));
    std::vector<CString> prompts;
    const SaveFileNameHook old = SetSaveFileNameHook([&](const CString& suggested) {
        prompts.push_back(suggested);
        return CString();
    });
    CtrlKey('S');
    SetSaveFileNameHook(old);
    EXPECT_TRUE(prompts.empty());
    CUnitArray back;
    ASSERT_EQ(ReadWcxFile(saved, back), WcxRead::loaded);
    EXPECT_EQ(back.GetSize(), 5) << "the circle and the rectangle";
    FreeUnitArray(back);
}

// Pictures of the main window with its icons, the right-button menu over
// a selection, the open and search browsers and the export confirmation.
TEST_F(PanelsTest, PicturesOfTheWindowTheMenuTheBrowsersAndTheExportConfirmation)
{
    std::ofstream(NativePath(tree) + "/parts/a.dxf") << "0\nEOF\n";
    ResetSettingsDefaults();                            // the icon palette, as the program starts
    SaveSettingsFile();
    ResetStates();
    Start();
    SetView(10.0, 200, 400);
    g_snapOn = g_trackOn = 0;
    Type(u"l");
    Type(u"0,0");
    Type(u"30,10");
    Key(VK_ESCAPE);
    Keep(frame, u"main_window.png");

    ClickView({15, 5});
    const POINT p = WorldToScreen({15, 5});
    bool shown = false;
    POINT at = p;
    view->ClientToScreen(&at);
    const PopupMenuHook old = SetPopupMenuHook([&](const CMenu& menu, int, int) {
        shown = true;
        const CString kept = CString(ZorvaTestBinDir()) + u"/artifacts";
        CreateFolder(kept);
        EXPECT_TRUE(harness::SnapshotWithMenuPng(frame, menu, CPoint(at.x, at.y), kept + u"/popup_menu.png"));
        return UINT(0);
    });
    harness::Click(view, CPoint(p.x, p.y), MK_RBUTTON);
    Settle();
    SetPopupMenuHook(old);
    EXPECT_TRUE(shown);

    g_browseFolder = tree;
    ModalDialogScript script;
    script.Then([&](CDialog& d) {
        harness::PressKey(d.GetDlgItem(kIdBrowserList), VK_DOWN);
        harness::PressKey(d.GetDlgItem(kIdBrowserList), VK_DOWN);
        harness::PressKey(d.GetDlgItem(kIdBrowserList), VK_RETURN);
        Keep(&d, u"browser_open.png");
        d.SendMessage(WM_COMMAND, kCmdBrowserSearch, 0);
        harness::AdvanceTime(2);
        return IDCANCEL;
    });
    script.Then([&](CDialog& search) {
        search.SetDlgItemText(kIdNameEdit, CString(u"a"));
        Keep(&search, u"browser_search.png");
        return IDCANCEL;
    });
    {
        // The line drawn above was never saved.
        MessageBoxScript boxes;
        boxes.Expect(u"是否保存对 无标题 的更改", IDNO);
        ASSERT_TRUE(harness::ChooseMenuItem(frame, kMenuOpen));
        Settle();
    }
    EXPECT_EQ(script.Shown(), 2);

    ModalDialogScript confirm;
    confirm.Then([&](CDialog& d) {
        EXPECT_EQ(Text(&d, 1031), CString(u"轨迹图形数量：3  个"));
        Keep(&d, u"export_confirmation.png");
        return IDOK;
    });
    CZorvasendwork dialog(3);
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

} // namespace
