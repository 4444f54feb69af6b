#include "process/CZorvasql_search.h"

#include "process/CZorvatrailSql.h"
#include "process/process_table.h"
#include "tests/process/process_fixture.h"

namespace {

class SearchTest : public ProcessDialogTest {
protected:
    ModalDialogScript modal;
};

TEST_F(SearchTest, RangesAreReadOnlyWhenCheckedAndTruncated)
{
    g_ProcessFilterThickness[1] = 9.0;
    modal.Then([](CDialog& d) {
        d.ShowWindow(SW_SHOW);
        EXPECT_EQ(Text(&d, 1009), CString()) << "opens empty every time";
        Type(&d, 1009, u"Cr12");
        Click(&d, 1030);                    // thickness checked, edits empty
        Type(&d, 1017, u"12.9");
        Type(&d, 1096, u"30.7");
        Click(&d, 1032);
        Type(&d, 1099, u"4");               // finish typed but not checked
        KeepSnapshot(&d, u"process_search_dialog.png");
        d.PressButton(IDOK);
        return IDCANCEL;
    });
    CZorvasql_search search;
    EXPECT_EQ(search.DoModal(), IDOK);
    EXPECT_EQ(g_ProcessFilterActive, 1);
    EXPECT_EQ(g_ProcessFilterText, CString(u"Cr12"));
    EXPECT_EQ(g_ProcessFilterThickness[0], 0.0);
    EXPECT_EQ(g_ProcessFilterThickness[1], 0.0);
    EXPECT_EQ(g_ProcessFilterEfficiency[0], 12);
    EXPECT_EQ(g_ProcessFilterEfficiency[1], 30);
    EXPECT_EQ(g_ProcessFilterFinish[0], 0);
    EXPECT_EQ(g_ProcessFilterFinish[1], 0);
}

TEST_F(SearchTest, CancelLeavesTheFilterAlone)
{
    modal.Then([](CDialog& d) {
        Type(&d, 1009, u"abc");
        d.PressButton(IDCANCEL);
        return IDCANCEL;
    });
    CZorvasql_search search;
    EXPECT_EQ(search.DoModal(), IDCANCEL);
    EXPECT_EQ(g_ProcessFilterActive, 0);
    EXPECT_TRUE(g_ProcessFilterText.IsEmpty());
}

TEST_F(SearchTest, FilterConditionsOnOneFilling)
{
    std::vector<trail_sql_t> records;
    for (int n = 0; n <= 6; ++n) {
        trail_sql_t r{};
        r.processNo = n + 1;
        r.thickness = n;
        r.efficiency = 10 * n;
        r.finish = n % 3;
        SetMaterialText(r, n % 2 == 0 ? CString(u"SKD11") : CString(u"skd11"));
        records.push_back(r);
    }
    const struct {
        const char* name;
        const char16_t* text;
        double thickness[2];
        std::int32_t efficiency[2];
        std::int32_t finish[2];
        std::vector<int> rows;      // record indexes listed
    } kCases[] = {
        {"no condition", u"", {0, 0}, {0, 0}, {0, 0}, {0, 1, 2, 3, 4, 5, 6}},
        {"thickness 5 to 0 matches nothing", u"", {5, 0}, {0, 0}, {0, 0}, {}},
        {"thickness 0 to 5", u"", {0, 5}, {0, 0}, {0, 0}, {0, 1, 2, 3, 4, 5}},
        {"text is case-sensitive", u"SKD", {0, 0}, {0, 0}, {0, 0}, {0, 2, 4, 6}},
        {"all conditions together", u"SKD", {1, 6}, {20, 60}, {1, 2}, {2, 4}},
    };
    g_MachiningSettings.codingMode = 11;
    g_ProcessTableName = u"sql_list_h1";
    g_ProcessTable = records;
    ASSERT_TRUE(SaveProcessTable(ProcessTablePath()));
    modal.Then([&](CDialog& d) {
        auto& table = static_cast<CZorvatrailSql&>(d);
        for (const auto& c : kCases) {
            SCOPED_TRACE(c.name);
            g_ProcessFilterText = c.text;
            for (int i = 0; i < 2; ++i) {
                g_ProcessFilterThickness[i] = c.thickness[i];
                g_ProcessFilterEfficiency[i] = c.efficiency[i];
                g_ProcessFilterFinish[i] = c.finish[i];
            }
            g_ProcessFilterActive = 1;
            table.FillList();
            EXPECT_EQ(table.RowMap(), c.rows);
            table.FillList();
            EXPECT_EQ(table.RowMap().size(), records.size()) << "the next filling lists everything";
        }
        return IDCANCEL;
    });
    CZorvatrailSql table;
    table.DoModal();
}

} // namespace
