// Work that must survive: a drawing changed since the last save comes back
// after exit and a new start; a saved drawing holds what is shown; a file
// named on the command line is what the program shows and saves.

#include "program_fixture.h"

#include "app/wcx_file.h"
#include "platform/core/files.h"
#include "platform/ui/file_prompt.h"

namespace {

// Answers the toolkit's save dialog of Ctrl+S with one path.
class SaveAs {
public:
    explicit SaveAs(const CString& path)
    {
        m_old = SetSaveFileNameHook([path](const CString&) { return path; });
    }
    ~SaveAs() { SetSaveFileNameHook(std::move(m_old)); }

private:
    SaveFileNameHook m_old;
};

bool HasLine(const std::vector<CUnit*>& lines, x_Vector a, x_Vector b)
{
    for (CUnit* u : lines) {
        const x_Vector s = u->GetStartPoint(), e = u->GetEndPoint();
        if (x_Vector::Distance(s, a) < 1e-9 && x_Vector::Distance(e, b) < 1e-9)
            return true;
    }
    return false;
}

} // namespace

TEST_F(ProgramTest, DrawnLineIsThereAfterExitAndStartAgain)
{
    Start();
    Type(u"l");
    Type(u"0,0");
    Type(u"10,0");
    Key(VK_ESCAPE);
    ASSERT_EQ(Live(1).size(), 1u);
    ExitAndStartAgain();
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(HasLine(lines, {0, 0}, {10, 0}));
}

TEST_F(ProgramTest, ErasedLineIsNotSavedAndReopeningShowsWhatWasSaved)
{
    Start();
    Type(u"l");
    Type(u"0,0");
    Type(u"10,0");
    Type(u"10,10");
    Key(VK_ESCAPE);
    g_snapOn = g_trackOn = 0;
    ClickView({5, 0});
    Key(VK_DELETE);
    ASSERT_EQ(Live(1).size(), 1u);
    const CString path = harness::TempPath(u"erased.wcx");
    {
        SaveAs answer(path);
        CtrlKey('S');
    }
    ASSERT_TRUE(FileExists(path));
    ExitAndStartAgain({path});
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(HasLine(lines, {10, 0}, {10, 10}));
}

TEST_F(ProgramTest, FileOnTheCommandLineIsShownInsteadOfTheSnapshotAndSavedBackWhole)
{
    const CString path = harness::TempPath(u"part.wcx");
    Start();
    Type(u"l");
    Type(u"0,0");
    Type(u"40,0");
    Key(VK_ESCAPE);
    {
        SaveAs answer(path);
        CtrlKey('S');
    }
    // A second line after the save: the snapshot holds two, the file one.
    Type(u"l");
    Type(u"0,5");
    Type(u"40,5");
    Key(VK_ESCAPE);
    ExitAndStartAgain({path});

    auto lines = Live(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(HasLine(lines, {0, 0}, {40, 0}));
    EXPECT_EQ(FileNameField(), CString(u"文件：part.wcx"));
    EXPECT_EQ(g_currentFileName, CString(u"part.wcx"));
    EXPECT_EQ(g_undoCount, 0);
    // The view is fitted to the drawing's extents.
    EXPECT_NEAR(g_DrawingExtents[1].x - g_DrawingExtents[0].x, 40.0, 1e-9);

    // Ctrl+S writes the shown drawing back to the file.
    Type(u"l");
    Type(u"0,-5");
    Type(u"40,-5");
    Key(VK_ESCAPE);
    CtrlKey('S');
    Stop();
    ResetStates();
    Start({path});
    lines = Live(1);
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_TRUE(HasLine(lines, {0, -5}, {40, -5}));
}

TEST_F(ProgramTest, UnreadableFileOnTheCommandLineLeavesAnUntitledDrawingAndSaysWhy)
{
    const CString bad = harness::TempPath(u"bad.wcx");
    ASSERT_TRUE(WriteFileAtomic(bad, std::string("not a drawing at all")));
    const struct {
        const char* name;
        CString path;
        const char16_t* reason;
    } kCases[] = {
        {"wrong magic", bad, u"#不是有效的.wcx文件"},
        {"missing file", harness::TempPath(u"missing.wcx"), u"#未能打开文件--"},
    };
    // A snapshot that must not come back under the rejected name.
    Start();
    Type(u"l");
    Type(u"0,0");
    Type(u"10,0");
    Key(VK_ESCAPE);
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        ExitAndStartAgain({c.path});
        EXPECT_TRUE(OutputHas(c.reason));
        EXPECT_TRUE(OutputHas(u"#未能打开文件--"));
        EXPECT_TRUE(Live(1).empty());
        EXPECT_TRUE(g_currentFileName.IsEmpty());
        EXPECT_EQ(FileNameField(), CString(u"文件：-"));
        EXPECT_TRUE(GetZorvaDoc()->GetPathName().IsEmpty());
        CString title;
        frame->GetWindowText(title);
        EXPECT_LT(title.Find(u".wcx"), 0) << title.ToUtf8();
    }
    // The rejected file is untouched.
    EXPECT_EQ(GetFileSize(bad), 20);
}

// A drawing with edits not yet in its file is not replaced without a
// question: New and Open ask whether to save them. Cancel keeps the
// drawing, No lets the edits go, Yes saves them first. A drawing just
// saved, or begun and left empty, is replaced without a question; one
// that came back from the exit snapshot counts as unsaved. Before, New
// and Open dropped the edits without a word.
TEST_F(ProgramTest, NewAndOpenAskBeforeDroppingUnsavedEdits)
{
    constexpr UINT kMenuOpen = 32808;
    const auto drawLine = [this](const char16_t* to) {
        Type(u"l");
        Type(u"0,0");
        Type(to);
        Key(VK_ESCAPE);
    };
    Start();
    drawLine(u"10,0");
    {
        MessageBoxScript boxes;
        boxes.Expect(u"是否保存对 无标题 的更改？", IDCANCEL).Expect(u"是否保存对 无标题 的更改？", IDCANCEL);
        CtrlKey('N');
        // No file dialog follows a cancelled question (none is scripted).
        ASSERT_TRUE(harness::ChooseMenuItem(frame, kMenuOpen));
        Settle();
    }
    EXPECT_EQ(Live(1).size(), 1u) << "cancel keeps the drawing";
    {
        MessageBoxScript boxes;
        boxes.Expect(u"是否保存对 无标题 的更改？", IDNO);
        CtrlKey('N');
    }
    EXPECT_TRUE(Live(1).empty()) << "no lets the edits go";
    {
        MessageBoxScript none;
        CtrlKey('N');
    }

    const CString path = harness::TempPath(u"asked.wcx");
    drawLine(u"10,0");
    {
        SaveAs answer(path);
        CtrlKey('S');
    }
    {
        MessageBoxScript none;
        CtrlKey('N');
    }
    // The new drawing saved under the name, a line, then New answered
    // yes: the file holds that line.
    {
        SaveAs answer(path);
        CtrlKey('S');
    }
    drawLine(u"0,10");
    {
        MessageBoxScript boxes;
        boxes.Expect(u"是否保存对", IDYES);
        CtrlKey('N');
    }
    EXPECT_TRUE(Live(1).empty());
    CUnitArray back;
    ASSERT_EQ(ReadWcxFile(path, back), WcxRead::loaded);
    EXPECT_EQ(back.GetSize(), 1);
    FreeUnitArray(back);

    drawLine(u"5,5");
    ExitAndStartAgain();
    ASSERT_EQ(Live(1).size(), 1u);
    {
        MessageBoxScript boxes;
        boxes.Expect(u"是否保存对 无标题 的更改？", IDNO);
        CtrlKey('N');
    }
}
