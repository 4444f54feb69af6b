#include "process/CZorvatrailSql.h"

#include <cstring>

#include "process/CZorva_SkuTab.h"
#include "process/process_table.h"
#include "tests/process/process_fixture.h"

namespace {

constexpr int IDC_TAB = 1189, IDC_PASS_COUNT = 1177, IDC_LIST = 1008;
constexpr int IDC_NUMBER = 1170, IDC_WIRE = 1171, IDC_THICKNESS = 1172, IDC_COMPENSATION = 1173;
constexpr int IDC_EFFICIENCY = 1174, IDC_MATERIAL = 1176, IDC_OUTER = 1043, IDC_INNER = 1029;
constexpr int IDC_ADD = 1178, IDC_MODIFY = 1079, IDC_DELETE = 1179, IDC_SEARCH = 1186, IDC_SELECT = 1181;
constexpr int IDC_RESET = 1183, IDC_SAVE = 1184;
constexpr int IDC_TITLE = 1031;

trail_sql_t Numbered(int number, const char16_t* material = u"", double thickness = 0.0)
{
    trail_sql_t r{};
    r.processNo = number;
    r.cutCount = 1;
    r.thickness = thickness;
    SetMaterialText(r, CString(material));
    return r;
}

class ProcessTableDialogTest : public ProcessDialogTest {
protected:
    // Runs the table dialog, shown, under the coding version; body drives
    // it and returns how it ends (IDCANCEL: the window is closed). The
    // dialogs it opens itself are answered by the handlers of nested.
    INT_PTR Run(std::uint8_t codingMode, std::function<long long(CZorvatrailSql&)> body,
                std::vector<ModalDialogScript::Handler> nested = {})
    {
        g_MachiningSettings.codingMode = codingMode;
        modal.Then([body](CDialog& d) {
            d.ShowWindow(SW_SHOW);
            return body(static_cast<CZorvatrailSql&>(d));
        });
        for (auto& h : nested)
            modal.Then(std::move(h));
        CZorvatrailSql dialog;
        return dialog.DoModal();
    }
    static CZorva_SkuTab* Page(CZorvatrailSql& t) { return t.Page(); }
    static CString Cell(CZorvatrailSql& t, int row, int column) { return Text(t.Page(), t.Page()->Layout().ids[row][column]); }
    static std::vector<CString> Column(CZorvatrailSql& t, int column)
    {
        std::vector<CString> texts;
        CListCtrl* list = List(&t, IDC_LIST);
        for (int row = 0; row < list->GetItemCount(); ++row)
            texts.push_back(list->GetItemText(row, column));
        return texts;
    }
    void SaveTable(std::uint8_t codingMode, std::vector<trail_sql_t> records)
    {
        g_ProcessTableName = ProcessTableNameFor(codingMode);
        g_ProcessTable = std::move(records);
        ASSERT_TRUE(SaveProcessTable(ProcessTablePath()));
        g_ProcessTable.clear();
    }

    ModalDialogScript modal;
};

TEST_F(ProcessTableDialogTest, EachCodingVersionShowsItsPageAndTheSettingsRecord)
{
    const struct {
        std::uint8_t mode;
        unsigned page;
        const char16_t* snapshot;
    } kCases[] = {
        {11, 1240, u"process_table_hl.png"},
        {0, 1241, u"process_table_group.png"},
        {1, 1242, u"process_table_class2.png"},
        {2, 1243, u"process_table_class4.png"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(int(c.mode));
        Run(c.mode, [&](CZorvatrailSql& t) {
            EXPECT_EQ(g_ProcessTableDialog, &t);
            EXPECT_EQ(Page(t)->GetTemplateId(), c.page);
            EXPECT_EQ(Page(t)->GetParent(), t.GetDlgItem(IDC_TAB));
            EXPECT_EQ(Text(&t, IDC_NUMBER), CString(u"1"));
            EXPECT_EQ(Text(&t, IDC_COMPENSATION), CString(u"0.1"));
            EXPECT_EQ(Text(&t, IDC_THICKNESS), CString(u"20.0"));
            EXPECT_EQ(Selected(&t, IDC_PASS_COUNT), 2) << "three passes in the settings";
            EXPECT_TRUE(Checked(&t, IDC_OUTER));
            EXPECT_EQ(Text(Page(t), IDC_TITLE), CString(u"--"));
            EXPECT_TRUE(Visible(Page(t), 1192)) << "第 3 刀";
            EXPECT_FALSE(Visible(Page(t), 1193)) << "第 4 刀";
            EXPECT_EQ(List(&t, IDC_LIST)->GetColumnCount(), 9);
            KeepSnapshot(&t, c.snapshot);
            return IDCANCEL;
        });
        EXPECT_EQ(g_ProcessTableDialog, nullptr);
        EXPECT_EQ(g_ProcessTableName, ProcessTableNameFor(c.mode));
    }
    // The HL page shows the multi-pass list of the settings.
    Run(11, [](CZorvatrailSql& t) {
        EXPECT_EQ(Cell(t, 0, 0), CString(u"0.06"));
        EXPECT_EQ(Cell(t, 0, 1), CString(u"35"));
        EXPECT_EQ(Cell(t, 0, 8), CString(u"92.0"));
        EXPECT_EQ(Selected(t.Page(), 1012), 13);
        return IDCANCEL;
    });
}

TEST_F(ProcessTableDialogTest, FastWireAndUnknownVersionsCloseAtOnce)
{
    for (std::uint8_t mode : {std::uint8_t(10), std::uint8_t(7)}) {
        SCOPED_TRACE(int(mode));
        g_MachiningSettings.codingMode = mode;
        CZorvatrailSql dialog;
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(g_SelectedProcessIndex, -1);
        EXPECT_FALSE(PickProcessRecord());
    }
    EXPECT_FALSE(FolderExists(MapWindowsPath(CString(u"data")))) << "nothing was saved";
}

TEST_F(ProcessTableDialogTest, AddSavesAtOnceWithTheNextFreeNumber)
{
    SaveTable(0, {Numbered(1), Numbered(2), Numbered(4)});
    Run(0, [](CZorvatrailSql& t) {
        Type(&t, IDC_NUMBER, u"77");
        Type(&t, IDC_WIRE, u"abc");
        Type(&t, IDC_THICKNESS, u"-0.2");
        Type(&t, IDC_MATERIAL, u"Cr12 淬火");
        Click(&t, IDC_INNER);
        Click(&t, IDC_ADD);
        EXPECT_EQ(Text(&t, IDC_NUMBER), CString(u"3")) << "the typed number gives way";
        // The shown record is not shown again: the other fields keep what
        // was typed and the page keeps its title.
        EXPECT_EQ(Text(&t, IDC_WIRE), CString(u"abc"));
        EXPECT_EQ(Text(&t, IDC_THICKNESS), CString(u"-0.2"));
        EXPECT_EQ(Text(t.Page(), IDC_TITLE), CString(u"--"));
        EXPECT_EQ(Column(t, 0), (std::vector<CString>{u"<1>", u"<2>", u"<4>", u"<3>"}));
        EXPECT_EQ(Column(t, 1).back(), CString(u"Cr12 淬火"));
        EXPECT_EQ(Column(t, 1).front(), CString(u"-")) << "an empty material";
        EXPECT_EQ(Column(t, 8).back(), CString(u"内孔"));
        return IDCANCEL;
    });
    // On disk already when 新增 returned; reloaded from there.
    g_ProcessTable.clear();
    g_ProcessTableName = u"sql_list_f1";
    ASSERT_EQ(LoadProcessTable(ProcessTablePath()), TableLoad::loaded);
    ASSERT_EQ(g_ProcessTable.size(), 4u);
    const trail_sql_t& added = g_ProcessTable[3];
    EXPECT_EQ(added.processNo, 3);
    EXPECT_EQ(added.wireDiameter, 0.0);
    EXPECT_EQ(added.thickness, 0.2);
    EXPECT_EQ(added.shape, 1);
    EXPECT_EQ(added.cutCount, 3);
    EXPECT_GT(added.timeStamp, 1700000000);
    EXPECT_EQ(MaterialText(added), CString(u"Cr12 淬火"));
}

TEST_F(ProcessTableDialogTest, FullNumberRangeRefusesAdd)
{
    std::vector<trail_sql_t> full;
    for (int n = 1; n <= 1000; ++n)
        full.push_back(Numbered(n));
    SaveTable(11, full);
    const std::vector<std::uint8_t> before = ReadBytes(ProcessTablePath());
    MessageBoxScript boxes;
    boxes.Expect(u"工艺号已超出储存范围!", IDOK);
    Run(11, [](CZorvatrailSql& t) {
        Click(&t, IDC_ADD);
        EXPECT_EQ(List(&t, IDC_LIST)->GetItemCount(), 1000);
        return IDCANCEL;
    });
    EXPECT_EQ(boxes.Shown().front().type & MB_TYPEMASK, MB_OK);
    EXPECT_EQ(ReadBytes(ProcessTablePath()), before);
}

TEST_F(ProcessTableDialogTest, FilteredRowsActOnTheirOwnRecords)
{
    std::vector<trail_sql_t> records;
    for (int n = 1; n <= 8; ++n)
        records.push_back(Numbered(n, n == 3 || n == 7 ? u"SKD11 模具钢" : u"45#", n));
    SaveTable(0, records);
    Run(0, [](CZorvatrailSql& t) {
        Click(&t, IDC_SEARCH);
        EXPECT_EQ(Column(t, 0), (std::vector<CString>{u"<3>", u"<7>"}));
        EXPECT_EQ(g_ProcessFilterActive, 0) << "the filter applies to one filling";
        dlgtest::ClickListRow(List(&t, IDC_LIST), 1);
        EXPECT_EQ(t.SelectedIndex(), 6);
        EXPECT_EQ(Text(&t, IDC_NUMBER), CString(u"7"));
        EXPECT_EQ(Text(t.Page(), IDC_TITLE), CString(u"7"));
        // Modify refills the whole list; the selection still means record 7.
        Type(&t, IDC_EFFICIENCY, u"-55");
        Click(&t, IDC_MODIFY);
        EXPECT_EQ(List(&t, IDC_LIST)->GetItemCount(), 8);
        EXPECT_EQ(g_ProcessTable[6].efficiency, 55);
        EXPECT_EQ(g_ProcessTable[1].efficiency, 0) << "row 2 of the full list is another record";
        EXPECT_EQ(t.SelectedIndex(), 6);
        EXPECT_EQ(List(&t, IDC_LIST)->GetItemData(6), 2u) << "the record's row is marked";
        KeepSnapshot(&t, u"process_table_marked_row.png");
        Click(&t, IDC_SELECT);
        return IDCANCEL;
    }, {[](CDialog& d) {
        // The search: material text and a thickness range.
        EXPECT_EQ(d.GetTemplateId(), 161u);
        Type(&d, 1009, u"SKD11");
        Click(&d, 1030);
        Type(&d, 1015, u"0");
        Type(&d, 1016, u"10");
        d.PressButton(IDOK);
        return IDOK;
    }});
    EXPECT_EQ(g_SelectedProcessIndex, 6);
    EXPECT_EQ(g_ProcessTable[6].processNo, 7);
}

TEST_F(ProcessTableDialogTest, DeleteAndPickWithoutSelectionDoNothing)
{
    SaveTable(1, {Numbered(1, u"a"), Numbered(2, u"b"), Numbered(3, u"c")});
    Run(1, [](CZorvatrailSql& t) {
        Click(&t, IDC_DELETE);
        Click(&t, IDC_MODIFY);
        Click(&t, IDC_SELECT);
        EXPECT_EQ(g_ProcessTable.size(), 3u);
        dlgtest::ClickListRow(List(&t, IDC_LIST), 1);
        Click(&t, IDC_DELETE);
        EXPECT_EQ(Column(t, 1), (std::vector<CString>{u"a", u"c"}));
        EXPECT_EQ(Text(&t, IDC_NUMBER), CString(u"1")) << "the default record";
        EXPECT_EQ(Text(&t, IDC_COMPENSATION), CString(u"0.1"));
        EXPECT_EQ(Text(t.Page(), IDC_TITLE), CString(u"--"));
        Click(&t, IDC_SELECT);
        EXPECT_EQ(g_SelectedProcessIndex, -1);
        return IDCANCEL;
    });
    // Closed after a change: saved.
    g_ProcessTable.clear();
    ASSERT_EQ(LoadProcessTable(ProcessTablePath()), TableLoad::loaded);
    EXPECT_EQ(g_ProcessTable.size(), 2u);
}

TEST_F(ProcessTableDialogTest, PickHandsTheRecordIndexOver)
{
    SaveTable(2, {Numbered(5), Numbered(6)});
    modal.Then([](CDialog& d) {
        dlgtest::ClickListRow(List(&d, IDC_LIST), 1);
        static_cast<CZorvatrailSql&>(d).PressButton(IDC_SELECT);
        return IDCANCEL;
    });
    g_MachiningSettings.codingMode = 2;
    EXPECT_TRUE(PickProcessRecord());
    EXPECT_EQ(g_SelectedProcessIndex, 1);
    EXPECT_EQ(g_ProcessTable[size_t(g_SelectedProcessIndex)].processNo, 6);
    modal.Answer(IDCANCEL);
    EXPECT_FALSE(PickProcessRecord());
    EXPECT_EQ(g_SelectedProcessIndex, -1);
}

TEST_F(ProcessTableDialogTest, DamagedTableIsNeitherShownNorOverwrittenOnClose)
{
    SaveTable(0, {Numbered(1, u"good"), Numbered(2, u"also good")});
    // The records of another version held in memory are not shown either.
    g_ProcessTable = {Numbered(9, u"HL record")};
    std::vector<std::uint8_t> damaged = ReadBytes(ProcessTablePath());
    damaged[2 + 50] ^= 0x20;
    WriteBytes(ProcessTablePath(), damaged);
    Run(0, [](CZorvatrailSql& t) {
        EXPECT_EQ(List(&t, IDC_LIST)->GetItemCount(), 0);
        CString caption;
        t.GetWindowText(caption);
        EXPECT_GE(caption.Find(u"未载入"), 0) << caption.ToUtf8();
        return IDCANCEL;
    });
    EXPECT_EQ(ReadBytes(ProcessTablePath()), damaged);
    EXPECT_FALSE(FileExists(ProcessTablePath() + u".bak"));

    // A change saves the table, and the file that failed is kept beside it.
    Run(0, [](CZorvatrailSql& t) {
        Click(&t, IDC_ADD);
        CString caption;
        t.GetWindowText(caption);
        EXPECT_EQ(caption, CString(u"数据表"));
        return IDCANCEL;
    });
    EXPECT_EQ(ReadBytes(ProcessTablePath() + u".bak"), damaged);
    EXPECT_TRUE(TableFileIntact(ProcessTablePath()));
    EXPECT_EQ(ReadBytes(ProcessTablePath()).size(), 442u);
}

TEST_F(ProcessTableDialogTest, OpeningAndClosingWithoutChangeWritesNothing)
{
    Run(11, [](CZorvatrailSql&) { return IDCANCEL; });
    EXPECT_FALSE(FileExists(MapWindowsPath(CString(u"data\\sql_list_h1"))));
    // 保存 writes even an empty table.
    Run(11, [](CZorvatrailSql& t) {
        Click(&t, IDC_SAVE);
        return IDCANCEL;
    });
    EXPECT_EQ(ReadBytes(MapWindowsPath(CString(u"data\\sql_list_h1"))), (std::vector<std::uint8_t>{0, 0}));
}

TEST_F(ProcessTableDialogTest, PassCountShowsRowsAndHiddenRowsStillCount)
{
    Run(11, [](CZorvatrailSql& t) {
        Choose(&t, IDC_PASS_COUNT, 2);
        EXPECT_TRUE(Visible(t.Page(), 1120)) << "row 3";
        Type(t.Page(), 1120, u"0.03");
        Choose(&t, IDC_PASS_COUNT, 0);
        EXPECT_FALSE(Visible(t.Page(), 1120));
        EXPECT_FALSE(Visible(t.Page(), 1191)) << "第 2 刀";
        EXPECT_TRUE(Visible(t.Page(), 1190));
        Click(&t, IDC_ADD);
        return IDCANCEL;
    });
    ASSERT_EQ(g_ProcessTable.size(), 1u);
    EXPECT_EQ(g_ProcessTable[0].cutCount, 1);
    EXPECT_DOUBLE_EQ(g_ProcessTable[0].cuts[2].allowance, 0.03);
}

// A record holds seven cuts: a stored count of 9 is read as 7.
TEST_F(ProcessTableDialogTest, CutCountPastSevenIsReadAsSeven)
{
    trail_sql_t nine = Numbered(4);
    nine.cutCount = 9;
    SaveTable(11, {nine});
    Run(11, [](CZorvatrailSql& t) {
        dlgtest::ClickListRow(List(&t, IDC_LIST), 0);
        EXPECT_EQ(Selected(&t, IDC_PASS_COUNT), 6);
        EXPECT_TRUE(Visible(t.Page(), 1196)) << "第 7 刀";
        Click(&t, IDC_MODIFY);
        Click(&t, IDC_RESET);
        EXPECT_EQ(t.SelectedIndex(), -1);
        EXPECT_EQ(Selected(&t, IDC_PASS_COUNT), 0);
        return IDCANCEL;
    });
    EXPECT_EQ(g_ProcessTable[0].cutCount, 7);
}

TEST_F(ProcessTableDialogTest, EscInAPageClosesTheDialogAndEnterDoesNothing)
{
    Run(2, [](CZorvatrailSql& t) {
        CWnd* edit = t.Page()->GetDlgItem(1016);
        dlgtest::PressKey(edit, VK_RETURN);
        EXPECT_EQ(t.GetEndResult(), -1);
        dlgtest::PressKey(edit, VK_ESCAPE);
        EXPECT_EQ(t.GetEndResult(), IDCANCEL);
        return IDOK;
    });
}

// Typed text per column, what the record stores and what the page shows
// when the record comes back. One dialog per coding version.
TEST_F(ProcessTableDialogTest, PagesStoreTheirColumnsConversions)
{
    struct Case {
        const char* name;
        int id;
        const char16_t* typed;
        long stored;
        CutField field;
        const char16_t* shown;
    };
    const struct {
        std::uint8_t mode;
        std::vector<Case> cases;
    } kPages[] = {
        {11, {
            {"HL pulse width 300 fits", 1016, u"300", 300, CutField::pulseWidth, u"300"},
            {"HL interval 300 stops at 255", 1017, u"300", 255, CutField::pulseInterval, u"255"},
            {"HL group width 300 stops at 255, not 44", 1096, u"300", 255, CutField::groupWidthOrCurrent, u"255"},
            {"HL track 12.34", 1103, u"12.34", 123, CutField::trackValueX10, u"12.3"},
            {"HL track 0.3, row 2", 1117, u"0.3", 3, CutField::trackValueX10, u"0.3"},
            {"HL track -5 stops at 0, not 65486, row 3", 1128, u"-5", 0, CutField::trackValueX10, u"0.0"},
            {"HL speed limit 70000 stops at 65535", 1106, u"70000", 65535, CutField::speedLimit, u"65535"},
        }},
        {2, {
            {"class-4 pulse width 300 stops at 255", 1016, u"300", 255, CutField::pulseWidth, u"255"},
            {"class-4 repeat time 256", 1111, u"256", 255, CutField::repeatTime, u"255"},
            {"class-4 wire speed row 7", 1278, u"6", 6, CutField::wireSpeed, u"6"},
        }},
        {0, {
            {"group track 92", 1103, u"92", 920, CutField::trackValueX10, u"92.0"},
        }},
    };
    for (const auto& page : kPages) {
        SCOPED_TRACE(int(page.mode));
        Run(page.mode, [&](CZorvatrailSql& t) {
            Choose(&t, IDC_PASS_COUNT, 6);
            for (const Case& c : page.cases)
                Type(t.Page(), c.id, c.typed);
            Click(&t, IDC_ADD);
            // 新增 leaves the typed text; the record's own values come back
            // when its row is clicked.
            for (const Case& c : page.cases)
                EXPECT_EQ(Text(t.Page(), c.id), CString(c.typed)) << c.name;
            dlgtest::ClickListRow(List(&t, IDC_LIST), 0);
            for (const Case& c : page.cases)
                EXPECT_EQ(Text(t.Page(), c.id), CString(c.shown)) << c.name;
            return IDCANCEL;
        });
        ASSERT_EQ(g_ProcessTable.size(), 1u);
        const SevenCutLayout* layout = CZorva_SkuTab::LayoutFor(page.mode);
        for (const Case& c : page.cases) {
            SCOPED_TRACE(c.name);
            int row = -1;
            for (int r = 0; r < 7; ++r)
                for (int col = 0; col < int(layout->columns.size()); ++col)
                    if (layout->ids[r][col] == c.id)
                        row = r;
            ASSERT_GE(row, 0);
            EXPECT_EQ(CutFieldValue(g_ProcessTable[0].cuts[row], c.field), c.stored);
        }
    }
}

TEST_F(ProcessTableDialogTest, ListsShowOutOfRangeIndexesAsTheFirstItem)
{
    trail_sql_t r = Numbered(1);
    r.cutCount = 7;
    r.cuts[0].choice[0] = 12;       // group 12
    r.cuts[0].trackValueX10 = 1500;
    r.cuts[0].allowance = -0.05;
    SaveTable(0, {r});
    Run(0, [](CZorvatrailSql& t) {
        dlgtest::ClickListRow(List(&t, IDC_LIST), 0);
        EXPECT_EQ(Selected(t.Page(), 1012), 0);
        EXPECT_EQ(Text(t.Page(), 1103), CString(u"100.0"));
        EXPECT_EQ(Text(t.Page(), 1015), CString(u"-0.05"));
        Click(&t, IDC_MODIFY);
        return IDCANCEL;
    });
    EXPECT_EQ(g_ProcessTable[0].cuts[0].choice[0], 0);
    EXPECT_EQ(g_ProcessTable[0].cuts[0].trackValueX10, 1000);
    EXPECT_DOUBLE_EQ(g_ProcessTable[0].cuts[0].allowance, -0.05);

    // Class-2 value 255 and class-4 state 2 in row 6.
    trail_sql_t c2 = Numbered(1);
    c2.cutCount = 7;
    c2.cuts[0].choice[3] = 255;
    SaveTable(1, {c2});
    Run(1, [](CZorvatrailSql& t) {
        dlgtest::ClickListRow(List(&t, IDC_LIST), 0);
        EXPECT_EQ(Selected(t.Page(), 1114), 0);
        return IDCANCEL;
    });
    trail_sql_t c4 = Numbered(1);
    c4.cutCount = 7;
    c4.cuts[5].choice[2] = 2;
    SaveTable(2, {c4});
    Run(2, [](CZorvatrailSql& t) {
        dlgtest::ClickListRow(List(&t, IDC_LIST), 0);
        EXPECT_EQ(Selected(t.Page(), 1250), 0) << "row 6 阶梯状态 shows 关";
        for (int id : {1248, 1249, 1250, 1251, 1252})
            Choose(t.Page(), id, 1);
        Click(&t, IDC_MODIFY);
        return IDCANCEL;
    });
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(g_ProcessTable[0].cuts[5].choice[k], 1);
    EXPECT_EQ(g_ProcessTable[0].cuts[4].choice[0], 0) << "row 5 untouched";
}

} // namespace
