#include "process/CZorvaTrail_many.h"

#include "platform/ui/CListCtrl.h"
#include "platform/ui/CTabCtrl.h"
#include "process/CZorvaSqlPage.h"
#include "process/CZorvasql_cutcount.h"
#include "process/ProcessState.h"
#include "tests/process/path_dialog_fixture.h"

namespace {

constexpr int IDC_COMPENSATION = 1009, IDC_THICKNESS = 1016, IDC_PASS_COUNT = 1012, IDC_PASS_LIST = 1008;
constexpr int IDC_TO_DATABASE = 1100, IDC_PAUSE_AT_WIRE_CHANGE = 1108, IDC_CUT_TYPE = 1027;
constexpr int IDC_DIE_WIDTH = 1017, IDC_TRIM_LEAD_LENGTH = 1103;

class TrailManyTest : public PathDialogTest {
protected:
    void Open(Script script)
    {
        ModalDialogScript modal;
        modal.Then(std::move(script));
        drv->doc->OnTrailMany();
    }
    // Opens the dialog, double-clicks a row and answers the per-cut dialog.
    void EditRow(int row, Script perCut)
    {
        ModalDialogScript modal;
        modal.Then([row](CDialog& d) {
            d.ShowWindow(SW_SHOW);
            dlgtest::ClickListRow(d.GetDlgItem(IDC_PASS_LIST), row, true);
            return IDCANCEL;
        });
        modal.Then(std::move(perCut));
        drv->doc->OnTrailMany();
    }
    static CListCtrl* List(CDialog& d) { return dynamic_cast<CListCtrl*>(d.GetDlgItem(IDC_PASS_LIST)); }
    static std::vector<CString> Row(CListCtrl* list, int row)
    {
        std::vector<CString> out;
        for (int c = 0; c < list->GetColumnCount(); ++c)
            out.push_back(list->GetItemText(row, c));
        return out;
    }
};

using Cells = std::vector<CString>;

TEST_F(TrailManyTest, ListShowsTheColumnsOfTheCodingVersion)
{
    // The factory tables of each version, first row as the list shows it.
    const struct {
        std::uint8_t version;
        const char16_t* snapshot;
        Cells headings;
        Cells firstRow;
    } kCases[] = {
        {10, u"trail_many_fast_wire.png", {u"步次", u"余量mm", u"跟踪", u"限速"}, {u"1", u"0.060", u"92.0", u"250"}},
        {11, u"trail_many_hl.png",
         {u"步次", u"余量mm", u"脉宽us", u"脉间距", u"分组脉宽", u"分组间距", u"功放", u"丝速", u"电压", u"跟踪", u"限速"},
         {u"1", u"0.060", u"35", u"8", u"0", u"0", u"14", u"0", u"低压", u"92.0", u"250"}},
        {0, u"trail_many_hf_group.png", {u"步次", u"余量mm", u"组号", u"跟踪", u"限速"},
         {u"1", u"0.060", u"6", u"92.0", u"256"}},
        {1, u"trail_many_hf_class2.png",
         {u"步次", u"余量mm", u"脉宽", u"脉冲间距", u"高频功率", u"变频器值", u"跟踪", u"限速"},
         {u"1", u"0.060", u"13", u"6", u"12", u"14", u"92.0", u"256"}},
        {2, u"trail_many_hf_class4.png",
         {u"步次", u"余量mm", u"脉宽", u"脉冲间距", u"电流", u"电压", u"高压状态", u"分组脉冲", u"分组状态", u"阶梯脉冲",
          u"阶梯状态", u"反复时间", u"反复状态", u"单向状态", u"运丝速度", u"跟踪", u"限速"},
         {u"1", u"0.060", u"40", u"7", u"5", u"0", u"关", u"0", u"关", u"0", u"关", u"0", u"关", u"关", u"1", u"92.0",
          u"256"}},
        {7, u"trail_many_damaged_version.png", {u"步次", u"余量mm", u"跟踪", u"限速"}, {u"1", u"0.060", u"92.0", u"250"}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(int(c.version));
        g_MachiningSettings.codingMode = c.version;
        Open([&](CDialog& d) {
            KeepSnapshot(&d, c.snapshot);
            CListCtrl* list = List(d);
            EXPECT_EQ(dlgtest::ListHeadings(list), c.headings);
            EXPECT_EQ(list->GetItemCount(), 3) << "factory pass count";
            EXPECT_EQ(Row(list, 0), c.firstRow);
            const bool fastWire = c.version == 10 || c.version == 7;
            EXPECT_EQ(Visible(&d, IDC_TO_DATABASE), !fastWire);
            EXPECT_EQ(Visible(&d, IDC_PAUSE_AT_WIRE_CHANGE), fastWire);
            d.PressButton(IDCANCEL);
            return IDCANCEL;
        });
    }
}

TEST_F(TrailManyTest, PassCountPresetsAllowancesAndKeepsTheOtherFields)
{
    g_MachiningSettings.codingMode = 2;
    Open([](CDialog& d) {
        Choose(&d, IDC_PASS_COUNT, 1);
        CListCtrl* list = List(d);
        EXPECT_EQ(list->GetItemCount(), 2);
        EXPECT_EQ(Row(list, 0)[1], CString(u"0.030"));
        EXPECT_EQ(Row(list, 1)[1], CString(u"0.000"));
        EXPECT_EQ(Row(list, 0)[2], CString(u"40")) << "pulse width kept";
        Choose(&d, IDC_PASS_COUNT, 4);
        EXPECT_EQ(list->GetItemCount(), 5);
        d.PressButton(IDCANCEL);
        return IDCANCEL;
    });
    // The list changes at once and stays after Cancel, marked changed, in
    // the version's own table too.
    const MachiningSettings& m = g_MachiningSettings;
    EXPECT_EQ(m.passCount, 5);
    const double expected[7] = {0.06, 0.02, 0, 0, 0, 0, 0};
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(m.passCuts[k].allowance, expected[k]) << k;
        EXPECT_EQ(m.passTables[2][k].allowance, expected[k]) << k;
    }
    EXPECT_EQ(m.passTables[2][0].pulseWidth, 40);
    EXPECT_EQ(g_SettingsDirty, 1);
}

TEST_F(TrailManyTest, DoubleClickEditsOneCutOnThePageOfTheVersion)
{
    g_MachiningSettings.codingMode = 11;
    g_MachiningSettings.passCount = 4;
    EditRow(3, [](CDialog& d) {
        auto& perCut = dynamic_cast<CZorvasql_cutcount&>(d);
        CZorvaSqlPage* page = perCut.Page();
        EXPECT_EQ(page->GetTemplateId(), 1235u);
        EXPECT_EQ(Text(page, 1187), CString(u"第 4 刀"));
        EXPECT_TRUE(page->GetDlgItem(1015)->IsWindowEnabled()) << "a cut of several has an allowance";
        EXPECT_EQ(Text(page, 1016), CString(u"6"));
        KeepSnapshot(&d, u"cut_count_hl.png");
        Type(page, 1015, u"0.015");
        Type(page, 1017, u"300");
        EXPECT_EQ(Text(page, 1017), CString(u"255")) << "the interval is shown as it will be stored";
        Type(page, 1096, u"-40");
        Type(page, 1103, u"-2");
        Choose(page, 1012, 9);
        d.PressButton(IDOK);
        return IDCANCEL;
    });
    const CutParams& cut = g_MachiningSettings.passCuts[3];
    EXPECT_EQ(cut.allowance, 0.015);
    EXPECT_EQ(cut.pulseInterval, 255);
    EXPECT_EQ(cut.groupWidthOrCurrent, 40);
    EXPECT_EQ(cut.trackValueX10, 0) << "a negative track value is 0, not 65526";
    EXPECT_EQ(cut.choice[0], 9);
    EXPECT_EQ(cut.pulseWidth, 6) << "fields not typed keep their value";
    EXPECT_EQ(g_SettingsDirty, 1);

    // Cancel in the per-cut dialog leaves the cut alone.
    g_SettingsDirty = 0;
    const CutParams before = cut;
    EditRow(3, [](CDialog& d) {
        Type(dynamic_cast<CZorvasql_cutcount&>(d).Page(), 1015, u"9");
        d.PressButton(IDCANCEL);
        return IDCANCEL;
    });
    EXPECT_EQ(std::memcmp(&before, &g_MachiningSettings.passCuts[3], sizeof before), 0);
    EXPECT_EQ(g_SettingsDirty, 0);
}

TEST_F(TrailManyTest, ClassFourCutIsStoredInTheVersionTable)
{
    g_MachiningSettings.codingMode = 2;
    EditRow(0, [](CDialog& d) {
        CZorvaSqlPage* page = dynamic_cast<CZorvasql_cutcount&>(d).Page();
        EXPECT_EQ(Text(page, 1187), CString(u"第 1 刀"));
        KeepSnapshot(&d, u"cut_count_hf_class4.png");
        Type(page, 1016, u"300");
        Type(page, 1112, u"70000");
        Type(page, 1113, u"123.45");
        Choose(page, 1116, 1);
        d.PressButton(IDOK);
        return IDCANCEL;
    });
    for (const CutParams* cut : {&g_MachiningSettings.passCuts[0], &g_MachiningSettings.passTables[2][0]}) {
        EXPECT_EQ(cut->pulseWidth, 255);
        EXPECT_EQ(cut->wireSpeed, 255);
        EXPECT_EQ(cut->trackValueX10, 1000);
        EXPECT_EQ(cut->choice[4], 1);
    }
}

TEST_F(TrailManyTest, OkStoresTheDialogAndStartsPathGeneration)
{
    g_MachiningSettings.cornerAngle = 200.0;
    Open([](CDialog& d) {
        Type(&d, IDC_COMPENSATION, u"-0.12");
        Type(&d, IDC_DIE_WIDTH, u"-3");
        Type(&d, IDC_TRIM_LEAD_LENGTH, u"-2.5");
        Choose(&d, IDC_CUT_TYPE, 1);
        Type(&dynamic_cast<CZorvaTrail_many&>(d).m_pages.taper, 1023, u"1.5");
        d.PressButton(IDOK);
        return IDCANCEL;
    });
    const MachiningSettings& m = g_MachiningSettings;
    EXPECT_EQ(m.compensation, -0.12);
    EXPECT_EQ(m.dieWidth, 3.0);
    EXPECT_EQ(m.trimLeadLength, 2.5);
    EXPECT_EQ(m.taperAngle, 1.5);
    EXPECT_EQ(m.cornerAngle, 179.0);
    EXPECT_EQ(m.multiPass, 1);
    EXPECT_EQ(m.batchMode, 1);
    EXPECT_EQ(g_CutTypeIndex, 1);
    EXPECT_EQ(g_SettingsDirty, 1);
    EXPECT_EQ(g_lastCommand, kCmdPath);
}

// The cut-mode tab holds three items over the five pages; 变锥 and 斜顶
// come from the combo and show their pages under the item shown before.
TEST_F(TrailManyTest, CutModeTabHasThreeItemsOverTheFivePages)
{
    Open([](CDialog& d) {
        d.ShowWindow(SW_SHOW);
        auto* tab = dynamic_cast<CTabCtrl*>(d.GetDlgItem(1021));
        EXPECT_EQ(tab->GetItemCount(), 3);
        std::vector<CString> items;
        for (int k = 0; k < tab->GetItemCount(); ++k)
            items.push_back(tab->GetItemText(k));
        EXPECT_EQ(items, (std::vector<CString>{u"普通切割", u"锥度切割", u"异形切割"}));
        CutModePages& p = dynamic_cast<CZorvaTrail_many&>(d).m_pages;
        CWnd* pages[] = {&p.normal, &p.taper, &p.profiles, &p.varTaper, &p.incline};
        for (int mode : {1, 3, 4, 2, 0}) {
            Choose(&d, IDC_CUT_TYPE, mode);
            for (int k = 0; k < 5; ++k)
                EXPECT_EQ(pages[k]->IsWindowVisible() != 0, k == mode) << mode << " " << k;
            EXPECT_EQ(g_CutMode, mode);
            if (mode < 3) {
                EXPECT_EQ(tab->GetCurSel(), mode);
            }
        }
        Choose(&d, IDC_CUT_TYPE, 4);
        EXPECT_EQ(tab->GetCurSel(), 0) << "斜顶 has no item: the item shown before stays";
        KeepSnapshot(&d, u"trail_many_incline_page.png");
        Choose(&d, 1021, 2);
        EXPECT_EQ(Selected(&d, IDC_CUT_TYPE), 2) << "an item chooses its cut type";
        EXPECT_TRUE(p.profiles.IsWindowVisible());
        d.PressButton(IDCANCEL);
        return IDCANCEL;
    });
}

TEST_F(TrailManyTest, CancelChangesNothing)
{
    g_MachiningSettings.codingMode = 1;
    g_MachiningSettings.passTables[1][2].choice[3] = 40;    // out of range: shown as 0
    const SettingsBytes before = SettingsBytes::Now();
    Open([](CDialog& d) {
        Type(&d, IDC_COMPENSATION, u"0.3");
        Type(&d, IDC_THICKNESS, u"50");
        Choose(&d, IDC_CUT_TYPE, 4);
        Type(&dynamic_cast<CZorvaTrail_many&>(d).m_pages.taper, 1023, u"7");
        d.PressButton(IDCANCEL);
        return IDCANCEL;
    });
    EXPECT_TRUE(SettingsBytes::Now() == before);
    EXPECT_NE(g_lastCommand, kCmdPath);
}

TEST_F(TrailManyTest, TypedMdAndTheDatabaseButtonTakeAProcessRecord)
{
    g_MachiningSettings.codingMode = 1;
    trail_sql_t record{};
    record.compensation = 0.13;
    record.thickness = 40.0;
    record.cutCount = 4;
    for (int k = 0; k < 7; ++k) {
        record.cuts[k].allowance = 0.01 * (4 - k);
        record.cuts[k].trackValueX10 = std::uint16_t(900 + k);
        record.cuts[k].choice[0] = std::uint8_t(k);
    }
    ModalDialogScript modal;
    modal.Then([](CDialog& d) {
        EXPECT_EQ(d.GetTemplateId(), 155u);
        EXPECT_EQ(g_modalDialogId, int(CZorvaDoc::kDlgTrailMany));
        Type(&d, IDC_DIE_WIDTH, u"4");
        Click(&d, IDC_TO_DATABASE);
        EXPECT_EQ(g_MachiningSettings.dieWidth, 4.0) << "stored before the table opens";
        EXPECT_EQ(Text(&d, IDC_COMPENSATION), CString(u"0.13"));
        EXPECT_EQ(Text(&d, IDC_THICKNESS), CString(u"40.0"));
        EXPECT_EQ(Selected(&d, IDC_PASS_COUNT), 3);
        CListCtrl* list = List(d);
        EXPECT_EQ(list->GetItemCount(), 4);
        EXPECT_EQ(Row(list, 1), (Cells{u"2", u"0.030", u"1", u"0", u"0", u"0", u"90.1", u"0"}));
        d.PressButton(IDCANCEL);
        return IDCANCEL;
    });
    modal.Then([&record](CDialog& d) {
        EXPECT_EQ(d.GetTemplateId(), 156u) << "the process table";
        g_ProcessTable = {trail_sql_t{}, record};   // as the table holds it once opened
        g_SelectedProcessIndex = 1;
        return IDOK;
    });
    drv->Type(CString(u"md"));
    drv->Settle();
    EXPECT_EQ(modal.Shown(), 2);
    // The cuts stay after Cancel, marked changed, in the version's table too;
    // the compensation would have come with OK.
    const MachiningSettings& m = g_MachiningSettings;
    EXPECT_EQ(m.passCount, 4);
    EXPECT_EQ(m.passTables[1][3].trackValueX10, 903);
    EXPECT_EQ(m.dieWidth, 4.0);
    EXPECT_EQ(m.compensation, 0.1);
    EXPECT_EQ(g_SettingsDirty, 1);
    EXPECT_EQ(drv->Command(), 0) << "a cancelled dialog starts no path";
}

} // namespace
