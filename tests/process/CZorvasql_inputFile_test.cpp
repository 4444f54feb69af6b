#include "process/CZorvasql_inputFile.h"

#include <filesystem>

#include "process/CZorvatrailSql.h"
#include "process/process_table.h"
#include "process/qcx_paths.h"
#include "tests/process/process_fixture.h"

namespace {

constexpr int IDC_FILES = 1008, IDC_FOLDER = 1009, IDC_CHOOSE = 1178;

std::vector<std::uint8_t> QcxList(std::initializer_list<int> numbers)
{
    std::vector<trail_sql_t> records;
    for (int n : numbers) {
        records.push_back(trail_sql_t{});
        records.back().processNo = n;
        records.back().cutCount = 1;
    }
    return EncodeProcessTable(records);
}

class QcxImportTest : public ProcessDialogTest {
protected:
    void SetUp() override
    {
        ProcessDialogTest::SetUp();
        folder = DataRoot() + u"/lists";
        CreateFolder(folder);
        g_QcxImportFolder = folder;
        trail_sql_t r{};
        r.processNo = 99;
        g_ProcessTable = {r};
    }
    static std::vector<CString> Rows(CWnd* d, int column)
    {
        std::vector<CString> texts;
        CListCtrl* list = ProcessDialogTest::List(d, IDC_FILES);
        for (int row = 0; row < list->GetItemCount(); ++row)
            texts.push_back(list->GetItemText(row, column));
        return texts;
    }
    // Opens the dialog, picks the row showing name (none when empty), OK.
    int Import(const char16_t* name, bool* imported = nullptr)
    {
        int result = -2;
        modal.Then([&](CDialog& d) {
            const std::vector<CString> names = Rows(&d, 0);
            for (size_t row = 0; row < names.size(); ++row)
                if (names[row] == CString(name))
                    dlgtest::ClickListRow(List(&d, IDC_FILES), int(row));
            d.PressButton(IDOK);
            result = d.GetEndResult();
            return IDCANCEL;
        });
        CZorvasql_inputFile dialog;
        dialog.DoModal();
        if (imported != nullptr)
            *imported = dialog.Imported();
        return result;
    }

    CString folder;
    ModalDialogScript modal;
};

TEST_F(QcxImportTest, ListsQcxFilesWithSizeAndTime)
{
    WriteBytes(folder + u"/a.qcx", std::vector<std::uint8_t>(1023));
    WriteBytes(folder + u"/b.QCX", std::vector<std::uint8_t>(1536));
    WriteBytes(folder + u"/.hidden.qcx", QcxList({1}));
    WriteBytes(folder + u"/other.txt", QcxList({1}));
    CreateFolder(folder + u"/dir.qcx");
    WriteBytes(folder + u"/c.qcx", {});
    std::filesystem::resize_file(NativePath(folder + u"/c.qcx"), 3145728);
    modal.Then([&](CDialog& d) {
        d.ShowWindow(SW_SHOW);
        EXPECT_EQ(Text(&d, IDC_FOLDER), folder);
        EXPECT_EQ(Rows(&d, 0), (std::vector<CString>{u"a.qcx", u"b.QCX", u"c.qcx"}));
        EXPECT_EQ(Rows(&d, 1), (std::vector<CString>{u"1023", u"1.5K", u"3.0M"}));
        FileTimes times;
        GetFileTimes(folder + u"/a.qcx", times);
        EXPECT_EQ(Rows(&d, 2).front(), FormatFileTime(times.created));
        EXPECT_EQ(Rows(&d, 2).front().GetLength(), 19);
        CListCtrl* list = List(&d, IDC_FILES);
        EXPECT_EQ(list->GetColumnWidth(0), 200);
        EXPECT_EQ(list->GetItemImage(0), 2);
        KeepSnapshot(&d, u"qcx_import_dialog.png");
        return IDCANCEL;
    });
    CZorvasql_inputFile dialog;
    dialog.DoModal();
}

TEST_F(QcxImportTest, OnlyWholeListsReplaceTheTable)
{
    WriteBytes(folder + u"/empty.qcx", {0, 0});
    WriteBytes(folder + u"/short.qcx", [] { auto b = QcxList({1, 2}); b.pop_back(); return b; }());
    WriteBytes(folder + u"/two.qcx", QcxList({1, 2}));
    MessageBoxScript boxes;
    bool imported = true;
    EXPECT_EQ(Import(u""), -1) << "no row chosen: nothing happens";
    EXPECT_EQ(Import(u"empty.qcx", &imported), IDOK) << "an empty list imports nothing, silently";
    EXPECT_FALSE(imported);
    boxes.Expect(u"不是有效的工艺列表", IDOK);
    EXPECT_EQ(Import(u"short.qcx", &imported), IDOK);
    EXPECT_FALSE(imported);
    ASSERT_EQ(g_ProcessTable.size(), 1u);
    EXPECT_EQ(g_ProcessTable[0].processNo, 99);
    EXPECT_EQ(Import(u"two.qcx", &imported), IDOK);
    EXPECT_TRUE(imported);
    ASSERT_EQ(g_ProcessTable.size(), 2u);
    EXPECT_EQ(g_ProcessTable[1].processNo, 2);
    EXPECT_EQ(g_QcxImportFolder, folder + u"/") << "the folder keeps its separator";
}

TEST_F(QcxImportTest, ChosenFolderIsListed)
{
    CreateFolder(folder + u"/sub");
    WriteBytes(folder + u"/sub/x.qcx", QcxList({3}));
    g_QcxImportFolder.Empty();
    FolderBrowserScript browser({folder + u"/sub"});
    modal.Then([&](CDialog& d) {
        EXPECT_EQ(Rows(&d, 0).size(), 0u) << "no removable drive here: nothing listed";
        Click(&d, IDC_CHOOSE);
        EXPECT_EQ(Text(&d, IDC_FOLDER), folder + u"/sub");
        EXPECT_EQ(Rows(&d, 0), (std::vector<CString>{u"x.qcx"}));
        return IDCANCEL;
    });
    CZorvasql_inputFile dialog;
    dialog.DoModal();
}

TEST_F(QcxImportTest, TableDialogShowsTheImportAndSavesItOnClose)
{
    WriteBytes(folder + u"/two.qcx", QcxList({5, 6}));
    g_MachiningSettings.codingMode = 11;
    modal.Then([&](CDialog& d) {
        d.PressButton(1182);
        CListCtrl* list = List(&d, 1008);
        EXPECT_EQ(list->GetItemCount(), 2);
        EXPECT_EQ(list->GetItemText(1, 0), CString(u"<6>"));
        EXPECT_EQ(g_keyDownSeen, 0);
        return IDCANCEL;
    });
    modal.Then([&](CDialog& d) {
        EXPECT_EQ(d.GetTemplateId(), 160u);
        dlgtest::ClickListRow(List(&d, IDC_FILES), 0);
        g_keyDownSeen = 1;
        d.PressButton(IDOK);
        return IDOK;
    });
    CZorvatrailSql table;
    table.DoModal();
    g_ProcessTable.clear();
    ASSERT_EQ(LoadProcessTable(MapWindowsPath(CString(u"data\\sql_list_h1"))), TableLoad::loaded);
    EXPECT_EQ(g_ProcessTable.size(), 2u);
}

} // namespace
