#include "app/shell_utils.h"

#include "platform/testing/control_driver.h"
#include "platform/testing/dialog_answers.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CListCtrl.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT kListTemplate = 9301;
constexpr int kList = 1008;

const DialogTemplateRegistrar kRegisterList({
    kListTemplate, CString(u"列表"), WS_POPUP | WS_CAPTION, 200, 100,
    {dlg::ListView(kList, 5, 5, 190, 90, LVS_REPORT)}});

class ShellUtilsTest : public testing::Test {
protected:
    void SetUp() override { dlgtest::EnsureGui(); }
};

TEST_F(ShellUtilsTest, ClipboardKeepsWholeDoubleByteText)
{
    // Seven characters, twelve GBK bytes: a buffer of one byte per
    // character once cut such texts in half.
    const CString text(u"请选择目录：abc");
    ASSERT_TRUE(CopyTextToClipboard(nullptr, text));
    EXPECT_EQ(PasteTextFromClipboard(), text);
    ASSERT_TRUE(CopyTextToClipboard(nullptr, CString(u"10.5,20")));
    EXPECT_EQ(PasteTextFromClipboard(), CString(u"10.5,20"));
    ASSERT_TRUE(CopyTextToClipboard(nullptr, CString()));
    EXPECT_EQ(PasteTextFromClipboard(), CString());
}

TEST_F(ShellUtilsTest, ChooseFolderAsksWithItsTitle)
{
    FolderBrowserScript browser({CString(u"/data/图纸"), CString()});
    EXPECT_EQ(ChooseFolder(), CString(u"/data/图纸"));
    EXPECT_EQ(ChooseFolder(), CString()) << "cancelled";
    ASSERT_EQ(browser.Titles().size(), 2u);
    EXPECT_EQ(browser.Titles()[0], CString(u"请选择目录："));
}

TEST_F(ShellUtilsTest, CompareListItemsSortsTextAndNumberColumns)
{
    CDialog host(kListTemplate);
    ASSERT_TRUE(host.Create(kListTemplate));
    auto* list = static_cast<CListCtrl*>(host.GetDlgItem(kList));
    for (int c = 0; c < 5; ++c)
        list->InsertColumn(c, CString(u"列"), LVCFMT_LEFT, 40);
    const struct {
        const char16_t* name;
        const char16_t* size;
    } kRows[] = {{u"b.wcx", u"100"}, {u"B.wcx", u"9"}, {u"a.dxf", u"10.9"}, {u"c.dat", u"-3"}};
    auto fill = [&] {
        list->DeleteAllItems();
        for (int i = 0; i < 4; ++i) {
            list->InsertItem(i, CString(kRows[i].name));
            list->SetItemText(i, 4, CString(kRows[i].size));
            list->SetItemData(i, std::uintptr_t(i)); // the row index, as the callers set it
        }
    };
    auto column = [&](int c) {
        std::vector<CString> out;
        for (int i = 0; i < list->GetItemCount(); ++i)
            out.push_back(list->GetItemText(i, c));
        return out;
    };
    const struct {
        const char* name;
        int column;
        std::uint8_t ascending;
        std::vector<CString> expected;
    } kCases[] = {
        {"names ascending, case-sensitive", 0, 1, {u"B.wcx", u"a.dxf", u"b.wcx", u"c.dat"}},
        {"names descending", 0, 0, {u"c.dat", u"b.wcx", u"a.dxf", u"B.wcx"}},
        {"sizes ascending, as whole numbers", 4, 1, {u"-3", u"9", u"10.9", u"100"}},
        {"sizes descending", 4, 0, {u"100", u"10.9", u"9", u"-3"}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        fill();
        ListSortRecord record{list, c.column, c.ascending};
        list->SortItems(CompareListItems, reinterpret_cast<LPARAM>(&record));
        EXPECT_EQ(column(c.column), c.expected);
    }
    // Numbers compare truncated: 10.9 and 10 are equal and keep their order.
    ListSortRecord record{list, 4, 1};
    list->DeleteAllItems();
    list->InsertItem(0, CString(u"x"));
    list->SetItemText(0, 4, CString(u"10.9"));
    list->InsertItem(1, CString(u"y"));
    list->SetItemText(1, 4, CString(u"10"));
    list->SetItemData(1, 1);
    EXPECT_EQ(CompareListItems(0, 1, reinterpret_cast<LPARAM>(&record)), 0);
    EXPECT_EQ(CompareListItems(1, 0, reinterpret_cast<LPARAM>(&record)), 0);
}

} // namespace
