#include "process/CZorvasql_savefile.h"

#include "process/process_table.h"
#include "tests/process/process_fixture.h"

namespace {

constexpr int IDC_PATH = 1009, IDC_CHOOSE = 1178;

class QcxSaveTest : public ProcessDialogTest {
protected:
    void SetUp() override
    {
        ProcessDialogTest::SetUp();
        folder = DataRoot() + u"/U盘";
        CreateFolder(folder);
        trail_sql_t r{};
        r.processNo = 12;
        g_ProcessTable = {r};
    }
    // Types text into the path and presses 保存; returns how the dialog
    // ended (-1: still open) and what the path field shows then.
    int Save(const CString& text, CString* shown = nullptr)
    {
        int result = -2;
        modal.Then([&](CDialog& d) {
            d.ShowWindow(SW_SHOW);
            dlgtest::TypeText(d.GetDlgItem(IDC_PATH), text);
            d.PressButton(IDOK);
            result = d.GetEndResult();
            if (shown != nullptr)
                *shown = Text(&d, IDC_PATH);
            return IDCANCEL;
        });
        CZorvasql_savefile dialog;
        dialog.DoModal();
        return result;
    }

    CString folder;
    ModalDialogScript modal;
};

TEST_F(QcxSaveTest, NameRulesDecideTheFileWritten)
{
    const struct {
        const char* name;
        const char16_t* typed;      // after the folder and '/'
        const char16_t* written;    // empty: nothing written
    } kCases[] = {
        {"no extension gets one", u"配方", u"配方.qcx"},
        {"case matters", u"配方.QCX", u"配方.QCX.qcx"},
        {"another extension", u"a.txt", u"a.txt.qcx"},
        {"already .qcx", u"b.qcx", u"b.qcx"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        CString shown;
        EXPECT_EQ(Save(u"  " + folder + u"/" + c.typed + u" ", &shown), IDOK);
        const CString path = folder + u"/" + c.written;
        EXPECT_EQ(shown, path);
        EXPECT_EQ(ReadBytes(path).size(), 2u + 440u);
    }
}

TEST_F(QcxSaveTest, RefusedNamesKeepTheDialogOpen)
{
    MessageBoxScript boxes;
    boxes.Expect(u"文件名包含非法字符", IDRETRY).Expect(u"路径不存在!", IDOK);
    EXPECT_EQ(Save(folder + u"/"), -1) << "an empty name does nothing";
    EXPECT_EQ(Save(folder + u"/a*b"), -1);
    EXPECT_EQ(Save(folder + u"/missing/list"), -1);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].caption, CString(u"提示"));
    EXPECT_EQ(boxes.Shown()[0].type, MB_RETRYCANCEL | MB_ICONQUESTION);
    EXPECT_EQ(boxes.Shown()[1].type, MB_OK | MB_ICONQUESTION);
    EXPECT_EQ(ListFolder(folder + u"/*").size(), 0u);
}

TEST_F(QcxSaveTest, ReplacingAskesAndAFailedWriteIsReported)
{
    const CString path = folder + u"/list.qcx";
    WriteBytes(path, {1, 2, 3});
    MessageBoxScript boxes;
    boxes.Expect(u"文件<list.qcx>已存在,是否替换？", IDNO).Expect(u"已存在", IDYES);
    EXPECT_EQ(Save(path), -1);
    EXPECT_EQ(ReadBytes(path).size(), 3u);
    EXPECT_EQ(Save(path), IDOK);
    EXPECT_EQ(ReadBytes(path).size(), 442u);
    EXPECT_EQ(boxes.Shown()[0].type, MB_YESNO);

    // A folder of that name cannot be replaced: the failure is told and
    // the dialog stays open (it used to close as if saved).
    CreateFolder(folder + u"/taken.qcx");
    boxes.Expect(u"保存文件失败", IDOK);
    EXPECT_EQ(Save(folder + u"/taken"), -1);
    EXPECT_TRUE(FolderExists(folder + u"/taken.qcx"));
}

TEST_F(QcxSaveTest, StartsOnTheRemovableDriveOrHomeAndChoosesAFolder)
{
    FolderBrowserScript browser({folder + u"/", CString()});
    modal.Then([&](CDialog& d) {
        d.ShowWindow(SW_SHOW);
        const CString initial = Text(&d, IDC_PATH);
        EXPECT_TRUE(initial.ToUtf8().ends_with("/工艺列表_1.qcx")) << initial.ToUtf8();
        EXPECT_TRUE(FolderExists(initial.Left(initial.GetLength() - 11)));
        KeepSnapshot(&d, u"qcx_save_dialog.png");
        Click(&d, IDC_CHOOSE);
        EXPECT_EQ(Text(&d, IDC_PATH), folder + u"/工艺列表_1.qcx");
        EXPECT_EQ(g_QcxSavePath, folder + u"/工艺列表_1.qcx");
        Click(&d, IDC_CHOOSE);  // cancelled: nothing changes
        EXPECT_EQ(Text(&d, IDC_PATH), folder + u"/工艺列表_1.qcx");
        return IDCANCEL;
    });
    CZorvasql_savefile first;
    first.DoModal();
    EXPECT_EQ(browser.Titles().front(), CString(u"请选择目录："));
    modal.Then([&](CDialog& d) {
        EXPECT_EQ(Text(&d, IDC_PATH), folder + u"/工艺列表_1.qcx") << "the path chosen last";
        return IDCANCEL;
    });
    CZorvasql_savefile second;
    second.DoModal();
}

} // namespace
