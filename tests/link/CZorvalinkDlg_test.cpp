#include "link/machine_table.h"
#include "link/settings_ini.h"
#include "platform/core/codepage.h"
#include "tests/link/link_dialog_fixture.h"

#include <fstream>
#include <iterator>

namespace {

std::string ReadBytes(const CString& path)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Gbk(const char16_t* text)
{
    return Utf16ToGbk(text);
}

// A scheme file of machines with the given names, all checked.
void WriteScheme(const CString& name, std::initializer_list<std::pair<uint8_t, uint8_t>> machines)
{
    ResetLinkState();
    uint32_t id = 0x100;
    for (const auto& [letter, number] : machines) {
        _ClientPack m{};
        std::memcpy(m.id, &id, 4);
        ++id;
        m.letter = letter;
        m.number = number;
        m.checked = 1;
        g_Machines.push_back(m);
    }
    ASSERT_TRUE(SaveScheme(name));
    ResetLinkState();
}

} // namespace

TEST_F(LinkDialogTest, MachinesAppearWithTheirStatesAndTheWindowIsKeptAsAPicture)
{
    Open();
    EXPECT_EQ(Status(), "就绪");
    EXPECT_EQ(dlg->StatusBar().GetPaneText(1).Left(4), CString(u"本机: "));
    CSimController b2(21, 0x0B0B0B02, 1, 2), a1(22, 0x0A0A0A01, 0, 1), a3(23, 0x0A0A0A03, 0, 3);
    Join(b2, 1);
    Join(a1);
    Join(a3, 5);
    ASSERT_EQ(Machines()->GetItemCount(), 3);
    const char* expected[3][3] = {
        {"端A1    (0A0A0A01)", "●", "空闲"},
        {"端A3    (0A0A0A03)", "●", "异常停止"},
        {"端B2    (0B0B0B02)", "●", "加工中..."},
    };
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(Cell(Machines(), row, c), expected[row][c]);
        EXPECT_EQ(Cell(Machines(), row, 3), "-");
        EXPECT_TRUE(Machines()->GetCheck(row));
        EXPECT_EQ(Machines()->GetItemData(row), 1u); // online, black
        EXPECT_EQ(Machines()->GetItemImage(row), 1);
    }
    // A machine that leaves turns grey with dashes.
    b2.Announce(0, 802);
    ASSERT_TRUE(Pump([&] { return Cell(Machines(), 2, 1) == "-"; }));
    EXPECT_EQ(Cell(Machines(), 2, 2), "-");
    EXPECT_EQ(Machines()->GetItemData(2), 0u);

    ClickMachine(0);
    EXPECT_EQ(Machines()->GetItemData(0), 2u);
    EXPECT_EQ(Page().GetDlgItem(IDC_MACHINE_BOX) != nullptr, true);
    CString box;
    Page().GetDlgItemText(IDC_MACHINE_BOX, box);
    EXPECT_EQ(box, CString(u"【端A1】"));
    // The first click on the list cleared the start lines.
    EXPECT_TRUE(Logs().empty() || Logs().front().find("ctrl") == std::string::npos);

    const CString png = harness::TempPath(u"zorvalink.png");
    ASSERT_TRUE(harness::SnapshotPng(dlg.get(), png));
    EXPECT_TRUE(FileExists(png));
#ifdef ZORVA_TEST_BIN
    // Kept beside the test binary for a person to look at.
    const CString kept = CString(ZORVA_TEST_BIN) + u"/artifacts";
    CreateFolder(kept);
    EXPECT_TRUE(harness::SnapshotPng(dlg.get(), kept + u"/zorvalink_machines.png"));
#endif
}

TEST_F(LinkDialogTest, LogKeepsAHundredAndOneLinesAndNoEmptyOnes)
{
    Open();
    dlg->OnClearLog();
    for (int i = 0; i < 120; ++i) {
        CString text;
        text.Format(u"第%d行", i);
        dlg->AddLog(text);
    }
    auto lines = Logs();
    ASSERT_EQ(lines.size(), 101u);
    EXPECT_EQ(lines.front(), "第19行");
    EXPECT_EQ(lines.back(), "第119行");
    dlg->AddLog(CString());
    lines = Logs();
    EXPECT_EQ(lines.back(), "第119行");
    CString first;
    dlg->LogList()->GetText(0, first);
    EXPECT_EQ(first.Mid(2, 1), CString(u":"));
    EXPECT_EQ(first.Mid(8, 2), CString(u"> "));
}

TEST_F(LinkDialogTest, SettingsFileIsWrittenByteExactByTheBoxesAndAtExit)
{
    Open();
    // The replace and skip boxes exclude each other.
    dlg->PressButton(IDC_SKIP_EXISTING);
    EXPECT_FALSE(dlg->IsDlgButtonChecked(IDC_REPLACE_EXISTING));
    dlg->PressButton(IDC_REPLACE_EXISTING);
    EXPECT_FALSE(dlg->IsDlgButtonChecked(IDC_SKIP_EXISTING));
    Page().PressButton(IDC_SKIP_BUSY);
    // The multi-machine box writes the file at once.
    Page().PressButton(IDC_SEND_ALL);
    EXPECT_EQ(ReadBytes(SettingsIniPath()),
              "[setting]\r\ncontrolkey_1=1\r\ncontrolkey_2=0\r\ncontrolmaxshow=0\r\ncontrolsendall=1\r\n"
              "controlunsendwork=1\r\ncurrfiledat=\xB7\xBD\xB0\xB8-1\r\n");

    dlg->SchemeCombo()->SetWindowText(u"车间 2.dat");
    Close();
    // The receive thread stopped before the dialog went.
    EXPECT_EQ(g_pLinkUdp, nullptr);
    EXPECT_EQ(g_pMainDlg, nullptr);
    EXPECT_EQ(ReadBytes(SettingsIniPath()),
              "[setting]\r\ncontrolkey_1=1\r\ncontrolkey_2=0\r\ncontrolmaxshow=0\r\ncontrolsendall=1\r\n"
              "controlunsendwork=1\r\ncurrfiledat=" + Gbk(u"车间 2") + "\r\n");
    EXPECT_TRUE(FileExists(SchemePath(u"车间 2")));

    // Read back on the next start.
    Open();
    EXPECT_TRUE(dlg->IsDlgButtonChecked(IDC_REPLACE_EXISTING));
    EXPECT_TRUE(Page().IsDlgButtonChecked(IDC_SEND_ALL));
    EXPECT_TRUE(Page().IsDlgButtonChecked(IDC_SKIP_BUSY));
    CString shown;
    dlg->SchemeCombo()->GetWindowText(shown);
    EXPECT_EQ(shown, CString(u"车间 2"));
}

TEST_F(LinkDialogTest, StartLoadsTheSchemeTheComboShowsSoExitNeverEmptiesIt)
{
    const struct {
        const char* name;
        std::string currfiledat;
    } kCases[] = {
        {"scheme with a blank inside", Gbk(u"车间 1")},
        {"scheme that no longer exists", "gone"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        WriteScheme(u"车间 1", {{0, 1}, {1, 4}});
        const std::string before = ReadBytes(SchemePath(u"车间 1"));
        CreateFolder(MapWindowsPath(u".", ZorvaProgram::Link));
        ASSERT_TRUE(WriteFileAtomic(SettingsIniPath(), "[setting]\r\ncurrfiledat=" + c.currfiledat + "\r\n"));
        Open();
        ASSERT_EQ(Machines()->GetItemCount(), 2);
        EXPECT_EQ(Cell(Machines(), 1, 0).rfind("端B4 ", 0), 0u);
        EXPECT_EQ(Cell(Machines(), 1, 1), "-"); // offline until it announces
        Close();
        EXPECT_EQ(ReadBytes(SchemePath(u"车间 1")).size(), before.size());
        ResetLinkState();
        ASSERT_TRUE(LoadScheme(u"车间 1"));
        EXPECT_EQ(g_Machines.size(), 2u);
    }
}

TEST_F(LinkDialogTest, SchemesSaveLoadAndClear)
{
    Open();
    CSimController a1(21, 0x11, 0, 1), b1(22, 0x22, 1, 1);
    Join(a1);
    Join(b1);
    Machines()->SetCheck(1, FALSE);

    dlg->SchemeCombo()->SetWindowText(u"a?b");
    dlg->PressButton(IDC_SAVE_SCHEME);
    EXPECT_TRUE(HasLog("方案名称包含非法字符！"));
    EXPECT_FALSE(FileExists(SchemePath(u"a?b")));

    dlg->SchemeCombo()->SetWindowText(u"一号线.dat");
    dlg->PressButton(IDC_SAVE_SCHEME);
    dlg->PressButton(IDC_SAVE_SCHEME);
    EXPECT_TRUE(HasLog("保存方案完成"));
    EXPECT_EQ(dlg->SchemeCombo()->FindStringExact(-1, u"一号线"), 1);
    EXPECT_EQ(dlg->SchemeCombo()->GetCount(), 2);
    ASSERT_TRUE(FileExists(SchemePath(u"一号线")));

    // Choosing a scheme loads it: offline rows, the saved check boxes.
    dlgtest::Choose(dlg->SchemeCombo(), 0);
    EXPECT_EQ(Machines()->GetItemCount(), 0); // "方案-1" has no file
    dlgtest::Choose(dlg->SchemeCombo(), 1);
    ASSERT_EQ(Machines()->GetItemCount(), 2);
    EXPECT_TRUE(Machines()->GetCheck(0));
    EXPECT_FALSE(Machines()->GetCheck(1));
    EXPECT_EQ(Cell(Machines(), 0, 1), "-");

    {
        MessageBoxScript boxes;
        boxes.Expect(u"是否清空方案列表？", IDNO).Expect(u"是否清空方案列表？", IDYES);
        dlg->PressButton(IDC_CLEAR_SCHEMES);
        EXPECT_TRUE(FileExists(SchemePath(u"一号线")));
        dlg->PressButton(IDC_CLEAR_SCHEMES);
    }
    EXPECT_FALSE(FileExists(SchemePath(u"一号线")));
    ASSERT_EQ(dlg->SchemeCombo()->GetCount(), 1);
    EXPECT_EQ(dlg->SchemeCombo()->GetLBText(0), CString(u"方案-1"));
    EXPECT_EQ(dlg->SchemeCombo()->GetCurSel(), 0);
    EXPECT_EQ(Machines()->GetItemCount(), 2); // the table stays
}

TEST_F(LinkDialogTest, GuardedCommandsOnlyLogWhileABatchRunsAndEnterAsksToReload)
{
    Open();
    CSimController a1(21, 0x11, 0, 1);
    Join(a1);
    {
        MessageBoxScript boxes;
        boxes.Expect(u"是否重载客户端列表？", IDNO).Expect(u"是否重载客户端列表？", IDYES);
        dlg->LogList()->SetFocus();
        dlgtest::PressKey(dlg.get(), VK_RETURN);
        EXPECT_EQ(Machines()->GetItemCount(), 1);
        dlg->PressButton(IDC_RELOAD);
        EXPECT_EQ(Machines()->GetItemCount(), 0);
    }
    a1.Announce(); // it comes back as it announces itself
    ASSERT_TRUE(Pump([&] { return Machines()->GetItemCount() == 1; }));
    g_TransferState = 1;
    dlg->OnClearLog();
    dlg->PressButton(IDC_SELECT_NONE);
    dlg->PressButton(IDC_SELECT_ALL);
    dlg->PressButton(IDC_CLEAR_SCHEMES);
    dlg->PressButton(IDC_RELOAD);
    dlg->SendMessage(WM_COMMAND, ID_CHANGE_MACHINE_NUMBER);
    EXPECT_EQ(Logs(), std::vector<std::string>(5, "当前传输中，不能进行此操作"));
    EXPECT_EQ(Machines()->GetItemCount(), 1);
    EXPECT_EQ(g_NumberDialogRequest, 0);
    g_TransferState = 0;
}

TEST_F(LinkDialogTest, TheWindowStopsAtASizeThatShowsEveryControlOfTheFilePage)
{
    Open();
    // Before, 800 pixels left the page 99: no send, receive or save.
    const CSize minimum = dlg->MinimumClientSize();
    EXPECT_LT(minimum.cx, 1400);
    EXPECT_LT(minimum.cy, 600);
    dlg->MoveWindow(0, 0, 800, 300);
    harness::PumpPosted();
    CRect client;
    dlg->GetClientRect(&client);
    EXPECT_EQ(client.Width(), minimum.cx);
    EXPECT_EQ(client.Height(), minimum.cy);

    auto rectOf = [&](CWnd* control) {
        CRect r;
        control->GetWindowRect(&r);
        dlg->ScreenToClient(&r);
        return r;
    };
    auto inside = [&](const CRect& r) {
        return r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom && r.Width() > 0 &&
               r.Height() > 0;
    };
    const int pageIds[] = {IDC_LOCAL_LIST, IDC_LOCAL_PATH,  IDC_LOCAL_UP,  IDC_REMOTE_LIST, IDC_REMOTE_LABEL,
                           IDC_REMOTE_PATH, IDC_REMOTE_UP, IDC_FILTER,    IDC_MACHINE_BOX, IDC_SEND_ALL,
                           IDC_SKIP_BUSY,  IDC_SEND,       IDC_RECEIVE,   IDC_STOP};
    for (int id : pageIds) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(inside(rectOf(Page().GetDlgItem(id))));
    }
    for (int id : {IDC_SAVE_SCHEME, IDC_CLEAR_SCHEMES, IDC_SCHEME}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(inside(rectOf(dlg->GetDlgItem(id))));
    }
    // Rows of the page, left to right, with no control over the next.
    const std::vector<std::vector<int>> rows = {{IDC_LOCAL_PATH, IDC_LOCAL_UP}, {IDC_REMOTE_PATH, IDC_REMOTE_UP},
                                                {IDC_FILTER, IDC_MACHINE_BOX},
                                                {IDC_SEND_ALL, IDC_SKIP_BUSY, IDC_SEND, IDC_RECEIVE, IDC_STOP}};
    for (const auto& row : rows) {
        for (size_t i = 1; i < row.size(); ++i) {
            SCOPED_TRACE(row[i]);
            EXPECT_LE(rectOf(Page().GetDlgItem(row[i - 1])).right, rectOf(Page().GetDlgItem(row[i])).left);
        }
    }
    // Each list shows its header and rows, above the controls below it.
    const CRect local = rectOf(Local()), remote = rectOf(Remote());
    EXPECT_GE(local.Height(), 130);
    EXPECT_LE(local.bottom, rectOf(Page().GetDlgItem(IDC_REMOTE_PATH)).top);
    EXPECT_LE(remote.bottom, rectOf(Page().GetDlgItem(IDC_FILTER)).top);
    EXPECT_LE(rectOf(Page().GetDlgItem(IDC_FILTER)).bottom, rectOf(Page().GetDlgItem(IDC_SEND)).top);

    // Larger again, the page's buttons keep their places from its right and
    // bottom edges.
    dlg->MoveWindow(0, 0, 1500, 900);
    harness::PumpPosted();
    CRect page;
    Page().GetClientRect(&page);
    CRect send;
    Page().GetDlgItem(IDC_SEND)->GetWindowRect(&send);
    Page().ScreenToClient(&send);
    EXPECT_EQ(send.left, page.Width() - 280);
    EXPECT_EQ(send.top, page.Height() - 33);
}
