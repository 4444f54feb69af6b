// A dialog declared in code with one control of every kind, driven as a
// user would through the test driver.

#include "platform/gdi/CDC.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/testing/control_driver.h"
#include "platform/testing/dialog_answers.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CImageList.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/CStatic.h"
#include "platform/ui/CTabCtrl.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

constexpr UINT kAllControls = 9001;
constexpr UINT kPage = 9002;

enum : int {
    kApply = 1001,
    kAutoCheck = 1002,
    kManualCheck = 1003,
    kRadioA = 1004,
    kRadioB = 1005,
    kGroup = 1006,
    kOwnerDrawn = 1007,
    kName = 1010,
    kNotes = 1011,
    kCount = 1012,
    kRatio = 1013,
    kLabel = 1014,
    kPicture = 1015,
    kPick = 1016,
    kEditable = 1017,
    kLines = 1018,
    kReport = 1019,
    kIcons = 1020,
    kTabs = 1021,
    kPageEdit = 1100,
};

const DialogTemplateRegistrar kRegisterAll({
    kAllControls, CString(u"全部控件"), WS_POPUP | WS_CAPTION, 320, 260,
    {
        dlg::DefPushButton(IDOK, CString(u"确定"), 200, 235, 50, 14),
        dlg::PushButton(IDCANCEL, CString(u"取消"), 260, 235, 50, 14),
        dlg::PushButton(kApply, CString(u"应用"), 140, 235, 50, 14),
        dlg::AutoCheckBox(kAutoCheck, CString(u"自动"), 10, 10, 60, 10),
        dlg::CheckBox(kManualCheck, CString(u"手动"), 80, 10, 60, 10),
        dlg::AutoRadioButton(kRadioA, CString(u"甲"), 10, 25, 40, 10, WS_GROUP),
        dlg::AutoRadioButton(kRadioB, CString(u"乙"), 60, 25, 40, 10),
        dlg::GroupBox(kGroup, CString(u"分组"), 5, 0, 150, 40, WS_GROUP),
        dlg::OwnerDrawButton(kOwnerDrawn, CString(u"画"), 160, 10, 40, 14),
        dlg::EditText(kName, 10, 45, 100, 12),
        dlg::EditText(kNotes, 120, 45, 100, 30, ES_MULTILINE | ES_WANTRETURN),
        dlg::EditText(kCount, 10, 60, 40, 12),
        dlg::EditText(kRatio, 60, 60, 40, 12),
        dlg::LText(kLabel, CString(u"标签"), 230, 45, 60, 10),
        dlg::Picture(kPicture, 230, 60, 20, 20),
        dlg::ComboBox(kPick, 10, 80, 80, 60, CBS_DROPDOWNLIST),
        dlg::ComboBox(kEditable, 100, 80, 80, 60, CBS_DROPDOWN),
        dlg::ListBox(kLines, 190, 80, 60, 40),
        dlg::ListView(kReport, 10, 100, 170, 60, LVS_REPORT | LVS_SHOWSELALWAYS),
        dlg::ListView(kIcons, 190, 125, 60, 40, LVS_ICON),
        dlg::Tab(kTabs, 10, 165, 300, 65),
    }});

const DialogTemplateRegistrar kRegisterPage({
    kPage, CString(), WS_CHILD, 200, 40, {dlg::EditText(kPageEdit, 5, 5, 80, 12)}});

class AllControlsDlg : public CDialog {
public:
    AllControlsDlg() : CDialog(kAllControls) {}

    CString name = u"初始";
    CString notes;
    int count = 3;
    double ratio = 0.5;
    int autoCheck = 0;
    int radio = 0;
    int pick = 1;
    CString editable;
    int line = -1;

    int applied = 0;
    int nameChanges = 0;
    int picks = 0;
    int lineChanges = 0;
    int listClicks = 0;
    int listDoubleClicks = 0;
    int lastClickedRow = -2;
    int tabChanges = 0;
    int ownerDraws = 0;
    COLORREF editBack = CLR_INVALID;
    CBrush editBrush;

    BOOL OnInitDialog() override
    {
        auto* combo = static_cast<CComboBox*>(GetDlgItem(kPick));
        for (const char16_t* s : {u"零", u"一", u"二", u"三"})
            combo->AddString(CString(s));
        auto* editableCombo = static_cast<CComboBox*>(GetDlgItem(kEditable));
        editableCombo->AddString(CString(u"甲方"));
        editableCombo->SetItemData(0, 77);
        auto* lines = static_cast<CListBox*>(GetDlgItem(kLines));
        lines->AddString(CString(u"第一行"));
        lines->AddString(CString(u"第二行"));
        auto* report = static_cast<CListCtrl*>(GetDlgItem(kReport));
        report->SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
        report->InsertColumn(0, CString(u"名称"), LVCFMT_LEFT, 80);
        report->InsertColumn(1, CString(u"大小"), LVCFMT_LEFT, 60);
        for (int i = 0; i < 3; ++i) {
            CString text;
            text.Format(u"行%d", i);
            report->InsertItem(i, text);
            report->SetItemText(i, 1, CString(u"-"));
            report->SetItemData(i, i == 1 ? 2 : 1);
        }
        auto* tabs = static_cast<CTabCtrl*>(GetDlgItem(kTabs));
        tabs->InsertItem(0, CString(u" 文件传输 "));
        tabs->InsertItem(1, CString(u"第二页"));
        page.Create(kPage, tabs);
        page.MoveWindow(1, 27, 200, 40);
        page.ShowWindow(SW_SHOW);
        return CDialog::OnInitDialog();
    }

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, kName, name);
        DDX_Text(pDX, kNotes, notes);
        DDX_Text(pDX, kCount, count);
        DDX_Text(pDX, kRatio, ratio);
        DDX_Check(pDX, kAutoCheck, autoCheck);
        DDX_Radio(pDX, kRadioA, radio);
        DDX_CBIndex(pDX, kPick, pick);
        DDX_Text(pDX, kEditable, editable);
        DDX_LBIndex(pDX, kLines, line);
    }

    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override
    {
        if (nCtlColor == CTLCOLOR_EDIT && pWnd->GetDlgCtrlID() == UINT(kName) && editBack != CLR_INVALID) {
            pDC->SetTextColor(RGB(0, 0, 0));
            if (editBrush.GetSafeHandle() == nullptr)
                editBrush.CreateSolidBrush(editBack);
            return editBrush;
        }
        return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    }

    void OnApply() { ++applied; }
    void OnNameChange() { ++nameChanges; }
    void OnPick() { ++picks; }
    void OnLineChange() { ++lineChanges; }
    void OnListClick(NMHDR* header, LRESULT*)
    {
        ++listClicks;
        lastClickedRow = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
    }
    void OnListDoubleClick(NMHDR*, LRESULT*) { ++listDoubleClicks; }
    void OnListCustomDraw(NMHDR* header, LRESULT* result)
    {
        auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
            *result = CDRF_NOTIFYITEMDRAW;
            return;
        }
        if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && cd->nmcd.lItemlParam == 2) {
            cd->clrText = RGB(255, 255, 255);
            cd->clrTextBk = RGB(0, 0, 132);
        }
        *result = CDRF_DODEFAULT;
    }
    void OnTabChange(NMHDR*, LRESULT*) { ++tabChanges; }

    CDialog page;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(AllControlsDlg, CDialog)
    ON_BN_CLICKED(kApply, OnApply)
    ON_EN_CHANGE(kName, OnNameChange)
    ON_CBN_SELCHANGE(kPick, OnPick)
    ON_LBN_SELCHANGE(kLines, OnLineChange)
    ON_NOTIFY(NM_CLICK, kReport, OnListClick)
    ON_NOTIFY(NM_DBLCLK, kReport, OnListDoubleClick)
    ON_NOTIFY(NM_CUSTOMDRAW, kReport, OnListCustomDraw)
    ON_NOTIFY(TCN_SELCHANGE, kTabs, OnTabChange)
END_MESSAGE_MAP()

CString TextOf(CWnd* w)
{
    CString s;
    w->GetWindowText(s);
    return s;
}

class DialogTest : public testing::Test {
protected:
    void SetUp() override { dlgtest::EnsureGui(); }
};

TEST_F(DialogTest, ValuesSetLikeAUserComeBackThroughDataExchange)
{
    AllControlsDlg dlg;
    ModalDialogScript script;
    script.Then([](CDialog& d) {
        // The members went into the controls at start.
        EXPECT_EQ(TextOf(d.GetDlgItem(kName)), CString(u"初始"));
        EXPECT_EQ(TextOf(d.GetDlgItem(kCount)), CString(u"3"));
        EXPECT_EQ(TextOf(d.GetDlgItem(kRatio)), CString(u"0.5"));
        EXPECT_EQ(static_cast<CComboBox*>(d.GetDlgItem(kPick))->GetCurSel(), 1);

        dlgtest::TypeText(d.GetDlgItem(kName), CString(u"直线"));
        dlgtest::TypeText(d.GetDlgItem(kNotes), CString(u"第一行\n第二行"));
        dlgtest::TypeText(d.GetDlgItem(kCount), CString(u" -42 "));
        dlgtest::TypeText(d.GetDlgItem(kRatio), CString(u"1.25e2"));
        dlgtest::Click(d.GetDlgItem(kAutoCheck));
        dlgtest::Click(d.GetDlgItem(kManualCheck)); // not automatic: stays clear
        dlgtest::Click(d.GetDlgItem(kRadioB));
        dlgtest::Choose(d.GetDlgItem(kPick), 3);
        dlgtest::TypeText(d.GetDlgItem(kEditable), CString(u"自定义"));
        dlgtest::Choose(d.GetDlgItem(kLines), 1);
        d.PressButton(IDOK);
        return IDCANCEL; // ignored: OK ended the dialog
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.name, CString(u"直线"));
    EXPECT_EQ(dlg.notes, CString(u"第一行\n第二行"));
    EXPECT_EQ(dlg.count, -42);
    EXPECT_DOUBLE_EQ(dlg.ratio, 125.0);
    EXPECT_EQ(dlg.autoCheck, 1);
    EXPECT_EQ(dlg.radio, 1);
    EXPECT_EQ(dlg.pick, 3);
    EXPECT_EQ(dlg.editable, CString(u"自定义"));
    EXPECT_EQ(dlg.line, 1);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr) << "the window is gone after DoModal";
}

TEST_F(DialogTest, NotificationsReachTheirHandlers)
{
    AllControlsDlg dlg;
    ModalDialogScript script;
    script.Then([&dlg](CDialog& d) {
        const int changesAtStart = dlg.nameChanges;
        dlgtest::TypeText(d.GetDlgItem(kName), CString(u"圆"));
        EXPECT_EQ(dlg.nameChanges, changesAtStart + 1);
        // Text set by the program notifies as well, as the edit control does.
        d.SetDlgItemText(kName, CString(u"弧"));
        EXPECT_EQ(dlg.nameChanges, changesAtStart + 2);

        dlgtest::Click(d.GetDlgItem(kApply));
        dlgtest::Click(d.GetDlgItem(kApply));
        EXPECT_EQ(dlg.applied, 2);

        dlgtest::Choose(d.GetDlgItem(kPick), 2);
        EXPECT_EQ(dlg.picks, 1);
        static_cast<CComboBox*>(d.GetDlgItem(kPick))->SetCurSel(0); // the program's own: silent
        EXPECT_EQ(dlg.picks, 1);

        dlgtest::Choose(d.GetDlgItem(kLines), 0);
        EXPECT_EQ(dlg.lineChanges, 1);

        dlgtest::ClickListRow(d.GetDlgItem(kReport), 2);
        EXPECT_EQ(dlg.listClicks, 1);
        EXPECT_EQ(dlg.lastClickedRow, 2);
        EXPECT_EQ(static_cast<CListCtrl*>(d.GetDlgItem(kReport))->GetNextItem(-1, LVNI_SELECTED), 2);
        dlgtest::ClickListRow(d.GetDlgItem(kReport), 0, true);
        EXPECT_EQ(dlg.listDoubleClicks, 1);
        EXPECT_EQ(dlg.listClicks, 2) << "a double click is one click and one double click";

        dlgtest::Choose(d.GetDlgItem(kTabs), 1);
        EXPECT_EQ(dlg.tabChanges, 1);
        static_cast<CTabCtrl*>(d.GetDlgItem(kTabs))->SetCurSel(0);
        EXPECT_EQ(dlg.tabChanges, 1);
        return IDCANCEL;
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, DoModalReturnsWhatTheHandlerAnswered)
{
    {
        AllControlsDlg dlg;
        ModalDialogScript script;
        script.Answer(IDYES);
        EXPECT_EQ(dlg.DoModal(), IDYES);
        EXPECT_EQ(dlg.name, CString(u"初始")) << "nothing pressed: OnOK never ran";
    }
    {
        AllControlsDlg dlg;
        ModalDialogScript script;
        script.Then([](CDialog& d) {
            dlgtest::TypeText(d.GetDlgItem(kName), CString(u"不保存"));
            dlgtest::PressKey(&d, VK_ESCAPE);
            return IDOK;
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << "Escape cancelled the dialog";
        EXPECT_EQ(dlg.name, CString(u"初始"));
    }
    {
        AllControlsDlg dlg;
        ModalDialogScript script;
        script.Then([](CDialog& d) {
            dlgtest::TypeText(d.GetDlgItem(kName), CString(u"回车"));
            dlgtest::PressKey(d.GetDlgItem(kName), VK_RETURN);
            return IDCANCEL;
        });
        EXPECT_EQ(dlg.DoModal(), IDOK) << "Enter pressed the default button";
        EXPECT_EQ(dlg.name, CString(u"回车"));
    }
}

TEST_F(DialogTest, ANumberThatDoesNotConvertKeepsTheDialogOpen)
{
    const struct {
        const char* name;
        int control;
        const char16_t* text;
        const char16_t* message;
    } kCases[] = {
        {"letters as an integer", kCount, u"12a", u"请输入一个整数。"},
        {"empty integer", kCount, u"", u"请输入一个整数。"},
        {"integer beyond 32 bits", kCount, u"4294967296", u"请输入一个整数。"},
        {"two points", kRatio, u"1.2.3", u"请输入一个数字。"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        AllControlsDlg dlg;
        MessageBoxScript boxes;
        boxes.Expect(CString(c.message), IDOK);
        ModalDialogScript script;
        script.Then([&](CDialog& d) {
            dlgtest::TypeText(d.GetDlgItem(c.control), CString(c.text));
            d.PressButton(IDOK);
            EXPECT_EQ(d.GetEndResult(), -1) << "the dialog stays open";
            return IDCANCEL;
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.count, 3);
        EXPECT_DOUBLE_EQ(dlg.ratio, 0.5);
    }
}

TEST_F(DialogTest, ModelessDialogShowsAndHidesWithoutBeingDestroyed)
{
    AllControlsDlg dlg;
    ASSERT_TRUE(dlg.Create(kAllControls));
    HWND window = dlg.GetSafeHwnd();
    EXPECT_FALSE(dlg.IsWindowVisible()) << "the template has no WS_VISIBLE";
    dlg.ShowWindow(SW_SHOW);
    dlgtest::Pump();
    EXPECT_TRUE(dlg.IsWindowVisible());
    dlg.SetDlgItemText(kName, CString(u"保留"));
    dlg.ShowWindow(SW_HIDE);
    dlgtest::Pump();
    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_TRUE(IsWindow(window));
    dlg.EndDialog(IDOK); // a modeless dialog only hides
    EXPECT_TRUE(IsWindow(window));
    dlg.ShowWindow(SW_SHOW);
    dlgtest::Pump();
    EXPECT_TRUE(dlg.IsWindowVisible());
    CString kept;
    dlg.GetDlgItemText(kName, kept);
    EXPECT_EQ(kept, CString(u"保留"));
    dlg.DestroyWindow();
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(DialogTest, ChildDialogLivesInTheTabControl)
{
    AllControlsDlg dlg;
    ASSERT_TRUE(dlg.Create(kAllControls));
    dlg.ShowWindow(SW_SHOW);
    dlgtest::Pump();
    CWnd* tabs = dlg.GetDlgItem(kTabs);
    EXPECT_EQ(dlg.page.GetParent(), tabs);
    EXPECT_TRUE(dlg.page.IsWindowVisible());
    CRect pageRect;
    dlg.page.GetWindowRect(&pageRect);
    CRect tabRect;
    tabs->GetWindowRect(&tabRect);
    EXPECT_EQ(pageRect.left - tabRect.left, 1);
    EXPECT_EQ(pageRect.top - tabRect.top, 27);
    dlg.page.SetDlgItemText(kPageEdit, CString(u"页内"));
    CString text;
    dlg.page.GetDlgItemText(kPageEdit, text);
    EXPECT_EQ(text, CString(u"页内"));
    EXPECT_EQ(static_cast<CTabCtrl*>(tabs)->GetItemCount(), 2);
    EXPECT_EQ(static_cast<CTabCtrl*>(tabs)->GetItemText(0), CString(u" 文件传输 "));
}

TEST_F(DialogTest, ControlColoursComeFromOnCtlColor)
{
    AllControlsDlg dlg;
    dlg.editBack = RGB(223, 223, 255);
    ASSERT_TRUE(dlg.Create(kAllControls));
    dlg.ShowWindow(SW_SHOW);
    dlg.SetDlgItemText(kName, CString());
    dlgtest::Pump();
    CWnd* name = dlg.GetDlgItem(kName);
    const SIZE size = dlgtest::WindowSize(name);
    EXPECT_EQ(dlgtest::PixelAt(name, size.cx / 2, size.cy / 2), RGB(223, 223, 255));
    CWnd* other = dlg.GetDlgItem(kCount);
    const SIZE otherSize = dlgtest::WindowSize(other);
    EXPECT_EQ(dlgtest::PixelAt(other, otherSize.cx / 2, otherSize.cy / 2), GetSysColor(COLOR_WINDOW));
}

TEST_F(DialogTest, ListRowsTakeTheirColoursFromCustomDraw)
{
    AllControlsDlg dlg;
    ASSERT_TRUE(dlg.Create(kAllControls));
    dlg.ShowWindow(SW_SHOW);
    dlgtest::Pump();
    CWnd* report = dlg.GetDlgItem(kReport);
    CRect row1;
    ASSERT_TRUE(static_cast<CListCtrl*>(report)->GetSubItemRect(1, 1, LVIR_LABEL, row1));
    CRect row0;
    ASSERT_TRUE(static_cast<CListCtrl*>(report)->GetSubItemRect(0, 1, LVIR_LABEL, row0));
    EXPECT_EQ(row1.top, row0.bottom) << "rows follow each other";
    EXPECT_GT(row1.left, row0.left - 1);
    // Row 1 carries item data 2: dark blue background, white text.
    EXPECT_GT(dlgtest::CountPixels(report, RGB(0, 0, 132)), row1.Width() * row1.Height() / 2);
    EXPECT_EQ(dlgtest::PixelAt(report, row1.right - 3, row1.top + 1), RGB(0, 0, 132));
    EXPECT_NE(dlgtest::PixelAt(report, row0.right - 3, row0.top + 1), RGB(0, 0, 132));
}

TEST_F(DialogTest, ListControlRowsDataChecksAndSort)
{
    AllControlsDlg dlg;
    ASSERT_TRUE(dlg.Create(kAllControls));
    auto* report = static_cast<CListCtrl*>(dlg.GetDlgItem(kReport));
    report->DeleteAllItems();
    const char16_t* names[] = {u"乙", u"甲", u"丙", u"甲"};
    for (int i = 0; i < 4; ++i) {
        report->InsertItem(i, CString(names[i]));
        report->SetItemData(i, std::uintptr_t(i));
    }
    report->SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    dlgtest::ToggleListCheck(report, 3);
    EXPECT_TRUE(report->GetCheck(3));
    EXPECT_FALSE(report->GetCheck(0));

    // Descending by item data; ties keep their order.
    report->SortItems([](LPARAM a, LPARAM b, LPARAM) { return a < b ? 1 : a > b ? -1 : 0; }, 0);
    EXPECT_EQ(report->GetItemText(0, 0), CString(u"甲"));
    EXPECT_EQ(report->GetItemData(0), 3u);
    EXPECT_EQ(report->GetItemText(1, 0), CString(u"丙"));
    EXPECT_EQ(report->GetItemData(3), 0u);
    EXPECT_TRUE(report->GetCheck(0)) << "the check box moved with its row";
    EXPECT_EQ(report->GetNextItem(-1, LVNI_SELECTED), 1) << "the selection moved with its row";
    POSITION pos = report->GetFirstSelectedItemPosition();
    EXPECT_EQ(report->GetNextSelectedItem(pos), 1);
    EXPECT_EQ(pos, nullptr);
    // Several rows selected at once, walked in row order.
    report->SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(report->GetSelectedCount(), 2u);
    pos = report->GetFirstSelectedItemPosition();
    EXPECT_EQ(report->GetNextSelectedItem(pos), 1);
    EXPECT_EQ(report->GetNextSelectedItem(pos), 3);
    EXPECT_EQ(pos, nullptr);
    EXPECT_TRUE(report->DeleteItem(0));
    EXPECT_EQ(report->GetItemCount(), 3);
    EXPECT_FALSE(report->DeleteItem(3));
}

TEST_F(DialogTest, ComboBoxItemDataAndEditableText)
{
    AllControlsDlg dlg;
    ASSERT_TRUE(dlg.Create(kAllControls));
    auto* combo = static_cast<CComboBox*>(dlg.GetDlgItem(kEditable));
    EXPECT_EQ(combo->GetItemData(0), 77u);
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_EQ(combo->FindStringExact(-1, CString(u"甲方")), 0);
    EXPECT_EQ(combo->FindStringExact(-1, CString(u"乙方")), CB_ERR);
    combo->SetWindowText(CString(u"随便"));
    CString text;
    combo->GetWindowText(text);
    EXPECT_EQ(text, CString(u"随便"));
    EXPECT_EQ(combo->SetCurSel(5), CB_ERR);
    EXPECT_EQ(combo->DeleteString(0), 0);

    // A taller window is a longer open list; the box stays one row.
    dlg.ShowWindow(SW_SHOW);
    combo->MoveWindow(10, 10, 120, 500);
    dlgtest::Pump();
    CRect box;
    combo->GetWindowRect(&box);
    EXPECT_EQ(box.Width(), 120);
    EXPECT_LT(box.Height(), 40);
}

TEST_F(DialogTest, ImageListsFeedIconViewsAndPictures)
{
    const std::uint32_t red[4] = {0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000};
    RegisterIconImage(137, 2, 2, red);
    CImageList images;
    ASSERT_TRUE(images.Create(32, 32, ILC_COLOR24 | ILC_MASK, 4, 4));
    EXPECT_EQ(images.AddIcon(138), 0) << "an icon nobody registered still takes its place";
    EXPECT_EQ(images.AddIcon(137), 1);
    EXPECT_EQ(images.GetImageCount(), 2);

    AllControlsDlg dlg;
    ASSERT_TRUE(dlg.Create(kAllControls));
    dlg.ShowWindow(SW_SHOW);
    auto* icons = static_cast<CListCtrl*>(dlg.GetDlgItem(kIcons));
    icons->SetImageList(&images, LVSIL_NORMAL);
    EXPECT_EQ(icons->InsertItem(0, CString(u"端A1"), 1), 0);
    EXPECT_EQ(icons->GetItemImage(0), 1);
    dlgtest::Pump();
    EXPECT_GT(dlgtest::CountPixels(icons, RGB(255, 0, 0)), 32 * 32 / 2);

    auto* picture = static_cast<CStatic*>(dlg.GetDlgItem(kPicture));
    picture->SetPicture(images, 1);
    EXPECT_EQ(dlgtest::PixelAt(picture, 5, 5), RGB(255, 0, 0));
}

TEST_F(DialogTest, OwnerDrawnButtonPaintsThroughDrawItem)
{
    struct Painter : CButton {
        int calls = 0;
        UINT lastState = 0;
        void DrawItem(LPDRAWITEMSTRUCT item) override
        {
            ++calls;
            lastState = item->itemState;
            item->hDC->FillSolidRect(&item->rcItem, RGB(10, 200, 30));
        }
    };
    AllControlsDlg dlg;
    ASSERT_TRUE(dlg.Create(kAllControls));
    dlg.ShowWindow(SW_SHOW);
    Painter painter;
    ASSERT_TRUE(painter.SubclassControl(kOwnerDrawn, &dlg));
    dlgtest::Pump();
    EXPECT_EQ(dlgtest::PixelAt(&painter, 2, 2), RGB(10, 200, 30));
    EXPECT_GT(painter.calls, 0);
    painter.EnableWindow(FALSE);
    dlgtest::PixelAt(&painter, 2, 2);
    EXPECT_NE(painter.lastState & ODS_DISABLED, 0u);
}

TEST_F(DialogTest, ScriptedMessageBoxesAnswerInOrder)
{
    MessageBoxScript boxes;
    boxes.Expect(CString(u"确定删除"), IDYES).Expect(CString(u"替换"), IDNO).Answer(IDCANCEL);
    EXPECT_EQ(AfxMessageBox(CString(u"确定删除文件 <a.wcx>？"), MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(ShowMessageBox(nullptr, CString(u"文件<a>已存在,是否替换？"), CString(), MB_YESNO), IDNO);
    EXPECT_EQ(AfxMessageBox(CString(u"保存修改？"), MB_YESNOCANCEL), IDCANCEL);
    ASSERT_EQ(boxes.Shown().size(), 3u);
    EXPECT_EQ(boxes.Shown()[0].caption, CString(u"提示"));
    EXPECT_EQ(boxes.Shown()[1].caption, CString(u"提示"));
    EXPECT_EQ(boxes.Shown()[0].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_TRUE(boxes.Done());
}

TEST_F(DialogTest, AnUnexpectedMessageBoxFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            MessageBoxScript boxes;
            AfxMessageBox(CString(u"意外的提示"));
        },
        "unexpected message box");
    EXPECT_NONFATAL_FAILURE(
        {
            MessageBoxScript boxes;
            boxes.Expect(CString(u"删除"), IDYES);
            AfxMessageBox(CString(u"保存"), MB_YESNO);
        },
        "was expected");
    EXPECT_NONFATAL_FAILURE({ MessageBoxScript boxes; boxes.Answer(IDOK); }, "never shown");
    EXPECT_NONFATAL_FAILURE(
        {
            ModalDialogScript script;
            AllControlsDlg dlg;
            dlg.DoModal();
        },
        "unexpected modal dialog");
}

} // namespace
