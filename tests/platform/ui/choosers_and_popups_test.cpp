// Colour chooser, popup menus and an in-place edit over a list cell.

#include "platform/testing/control_driver.h"
#include "platform/testing/dialog_answers.h"
#include "platform/ui/CColorDialog.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/popup_menu.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kPanelTemplate = 9401;
constexpr int kValues = 1008;
constexpr UINT kRefresh = 32777;
constexpr UINT kDelete = 32788;

const DialogTemplateRegistrar kRegisterPanel({
    kPanelTemplate, CString(u"属性"), WS_POPUP | WS_CAPTION, 200, 120,
    {dlg::ListView(kValues, 5, 5, 190, 110, LVS_REPORT)}});

class Panel : public CDialog {
public:
    Panel() : CDialog(kPanelTemplate) {}
    void OnRefresh() { ++refreshed; }
    void OnDelete() { ++deleted; }
    int refreshed = 0;
    int deleted = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Panel, CDialog)
    ON_COMMAND(kRefresh, OnRefresh)
    ON_COMMAND(kDelete, OnDelete)
END_MESSAGE_MAP()

class ChoosersTest : public testing::Test {
protected:
    void SetUp() override { dlgtest::EnsureGui(); }
};

TEST_F(ChoosersTest, ColourDialogGivesTheChosenColourOnOk)
{
    ColorDialogScript chooser({RGB(10, 20, 30), CLR_INVALID});
    CColorDialog first(RGB(255, 0, 0));
    EXPECT_EQ(first.DoModal(), IDOK);
    EXPECT_EQ(first.GetColor(), RGB(10, 20, 30));
    CColorDialog second(RGB(0, 255, 0));
    EXPECT_EQ(second.DoModal(), IDCANCEL);
    EXPECT_EQ(second.GetColor(), RGB(0, 255, 0));
    EXPECT_EQ(chooser.Initial(), (std::vector<COLORREF>{RGB(255, 0, 0), RGB(0, 255, 0)}));
}

TEST_F(ChoosersTest, PopupMenuCommandReachesItsWindow)
{
    Panel panel;
    ASSERT_TRUE(panel.Create(kPanelTemplate));
    CMenu menu;
    menu.CreatePopupMenu();
    auto sub = std::make_unique<CMenu>();
    sub->CreatePopupMenu();
    sub->AppendMenu(MF_STRING, kRefresh, CString(u"刷新(&C)"));
    sub->AppendMenu(MF_SEPARATOR);
    sub->AppendMenu(MF_STRING, kDelete, CString(u"删除(&D)"));
    menu.AppendMenu(MF_POPUP, std::move(sub), CString(u"文件操作"));

    int shownAtX = 0;
    int items = 0;
    PopupMenuHook old = SetPopupMenuHook([&](const CMenu& m, int x, int) {
        shownAtX = x;
        items = m.GetMenuItemCount();
        return kDelete;
    });
    EXPECT_TRUE(menu.GetSubMenu(0)->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, 40, 50, &panel));
    EXPECT_EQ(panel.deleted, 0) << "the command arrives after the menu closed";
    dlgtest::Pump();
    EXPECT_EQ(panel.deleted, 1);
    EXPECT_EQ(shownAtX, 40);
    EXPECT_EQ(items, 3);
    // TPM_RETURNCMD hands the command back instead.
    EXPECT_EQ(UINT(TrackPopupMenu(menu.GetSubMenu(0), TPM_RETURNCMD, 0, 0, &panel)), kDelete);
    dlgtest::Pump();
    EXPECT_EQ(panel.deleted, 1);
    SetPopupMenuHook(std::move(old));
}

TEST_F(ChoosersTest, InPlaceEditCoversTheValueCell)
{
    Panel panel;
    ASSERT_TRUE(panel.Create(kPanelTemplate));
    panel.ShowWindow(SW_SHOW);
    auto* list = static_cast<CListCtrl*>(panel.GetDlgItem(kValues));
    list->InsertColumn(0, CString(u"属性"), LVCFMT_LEFT, 80);
    list->InsertColumn(1, CString(u"值"), LVCFMT_LEFT, 120);
    list->InsertItem(0, CString(u"起点X"));
    list->SetItemText(0, 1, CString(u"10.5"));
    list->InsertItem(1, CString(u"起点Y"));
    list->SetItemText(1, 1, CString(u"-3"));
    dlgtest::Pump();

    CRect cell;
    ASSERT_TRUE(list->GetSubItemRect(1, 1, LVIR_LABEL, cell));
    EXPECT_GE(cell.left, 80) << "the second column starts after the first";
    CRect place(cell.left + 1, cell.top + 1, cell.right - 10, cell.bottom + 5);
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, place, list, 101));
    edit.SetWindowText(list->GetItemText(1, 1));
    edit.ShowWindow(SW_SHOW);
    edit.SetFocus();
    dlgtest::Pump();
    CRect onScreen;
    edit.GetWindowRect(&onScreen);
    list->ScreenToClient(&onScreen);
    EXPECT_EQ(onScreen, place);
    EXPECT_EQ(list->HitTest(CPoint(cell.left + 2, cell.top + 2)), 1);
    dlgtest::TypeText(&edit, CString(u"7.25"));
    CString typed;
    edit.GetWindowText(typed);
    list->SetItemText(1, 1, typed);
    EXPECT_EQ(list->GetItemText(1, 1), CString(u"7.25"));
}

} // namespace
