#include "link/dispatch.h"
#include "link/link_helpers.h"
#include "link/machine_table.h"
#include "platform/core/codepage.h"
#include "platform/ui/popup_menu.h"
#include "platform/ui/shell_open.h"
#include "tests/link/link_dialog_fixture.h"

#include <fstream>
#include <iterator>

namespace {

Bytes Pattern(size_t n, uint8_t salt = 0)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = uint8_t(i * 7 + salt);
    return b;
}

Bytes ReadAll(const CString& path)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

const std::string kSystemDisk = Utf16ToGbk(u"系统盘 C:");
const std::string kRemovable = Utf16ToGbk(u"移动盘 U:");

// A machine with its two disks, a folder and two files on the system disk.
void Furnish(CSimController& sim)
{
    sim.SetListing("", {{1, 0, kSystemDisk}, {1, 0, kRemovable}});
    sim.SetListing(kSystemDisk + "\\", {{1, 0, "data"}, {2, 1536, "part.nc"}, {2, 9000000, "huge.nc"}});
    sim.PutFile(kSystemDisk + "\\part.nc", Pattern(1536, 3));
    sim.SetListing(kRemovable + "\\", {{2, 10, "u.txt"}});
}

} // namespace

class FilePageTest : public LinkDialogTest {
protected:
    void SetUp() override
    {
        LinkDialogTest::SetUp();
        host = DataRoot() + u"/host";
        CreateFolder(host + u"/sub");
        WriteFileAtomic(host + u"/a.nc", Pattern(1200));
        WriteFileAtomic(host + u"/b.3b", Pattern(600, 1));
        WriteFileAtomic(host + u"/.hidden", Pattern(5));
    }

    // Shows the host folder and the machine's system disk.
    void Browse(CSimController& sim, int machineRow = 0)
    {
        Page().localFolder = host;
        Page().FillLocalList(0);
        ClickMachine(machineRow);
        ASSERT_TRUE(Pump([&] { return Remote()->GetItemCount() == 2; }));
        dlgtest::ClickListRow(Remote(), 0); // 系统盘 C:
        ASSERT_TRUE(Pump([&] { return Remote()->GetItemCount() == 4; }));
        (void)sim;
    }

    // From the system disk back to the disks and into 移动盘 U:.
    void OpenRemovableDisk()
    {
        dlgtest::ClickListRow(Remote(), 0);
        ASSERT_TRUE(Pump([&] { return Remote()->GetItemCount() == 2; }));
        dlgtest::ClickListRow(Remote(), 1);
        ASSERT_TRUE(Pump([&] { return RowNamed(Remote(), u"u.txt") >= 0; }));
    }

    // 端A1 offers r.nc, and it goes on to 端B1.
    void Relay(CSimController& a1, CSimController& b1)
    {
        Join(a1);
        Join(b1);
        a1.PutFile("C:\\out\\r.nc", Pattern(2000, 5));
        a1.Offer("C:\\out\\r.nc");
        Bytes got;
        ASSERT_TRUE(RunUntil([&] { return g_TransferState == 0 && g_OfferQueue.empty() && b1.GetFile("C:\\out\\r.nc", got); }, 80));
        EXPECT_EQ(got, Pattern(2000, 5));
    }

    CString host;
};

TEST_F(FilePageTest, HostListShowsFoldersThenFilesWithSizesAndFilters)
{
    WriteFileAtomic(host + u"/README", Pattern(1048576));
    WriteFileAtomic(host + u"/c.TCX", Pattern(1023));
    Open();
    Page().localFolder = host;
    Page().FillLocalList(0);
    ASSERT_EQ(Local()->GetItemCount(), 6);
    EXPECT_EQ(Cell(Local(), 0, 0), "返回上一级");
    EXPECT_EQ(Cell(Local(), 1, 0), "sub");
    EXPECT_EQ(Cell(Local(), 1, 1), "-");
    const struct { const char16_t* name; const char* size; int64_t bytes; } kFiles[] = {
        {u"a.nc", "1.17K", 1200}, {u"b.3b", "600", 600}, {u"c.TCX", "1023", 1023}, {u"README", "1.0M", 1048576}};
    for (const auto& f : kFiles) {
        SCOPED_TRACE(CString(f.name).ToUtf8());
        const int row = RowNamed(Local(), f.name);
        ASSERT_GE(row, 0);
        EXPECT_EQ(Cell(Local(), row, 1), f.size);
        EXPECT_EQ(g_LocalSizes.at(size_t(row)), f.bytes);
        EXPECT_EQ(Cell(Local(), row, 2).size(), 19u);
    }
    const struct { int filter; int rows; } kFilters[] = {{1, 3}, {2, 3}, {3, 3}, {4, 2}, {0, 6}};
    for (const auto& f : kFilters) {
        SCOPED_TRACE(f.filter);
        Page().FillLocalList(f.filter);
        EXPECT_EQ(Local()->GetItemCount(), f.rows);
        EXPECT_EQ(g_LocalSizes.size(), size_t(f.rows));
    }
    // Up goes to the parent folder; double-clicking a folder goes in.
    dlgtest::ClickListRow(Local(), RowNamed(Local(), u"sub"), true);
    EXPECT_EQ(Page().localFolder, host + u"/sub");
    Page().OnLocalUp();
    EXPECT_EQ(Page().localFolder, host);
    CString box;
    Page().GetDlgItemText(IDC_LOCAL_PATH, box);
    EXPECT_EQ(box, host);
    // From "/" the parent row leads to the drives, which have none.
    Page().localFolder = u"/";
    Page().FillLocalList(0);
    dlgtest::ClickListRow(Local(), 0);
    EXPECT_TRUE(Page().localFolder.IsEmpty());
    ASSERT_GE(Local()->GetItemCount(), 1);
    EXPECT_EQ(Cell(Local(), 0, 0), "/");
    EXPECT_TRUE(g_LocalSizes.empty());
}

TEST_F(FilePageTest, HostFolderCreateDeleteAndOpenInTheFileManager)
{
    Open();
    Page().localFolder = host;
    Page().FillLocalList(0);
    {
        ModalDialogScript dialogs;
        dialogs
            .Then([](CDialog& d) {
                CString caption;
                d.GetWindowText(caption);
                EXPECT_EQ(caption, CString(u"【主控本地】 新建目录"));
                d.SetDlgItemText(IDC_NAME_EDIT, u"a\"b");
                d.PressButton(IDOK);
                CString hint;
                d.GetDlgItemText(IDC_HINT, hint);
                EXPECT_EQ(hint, CString(u"提示：目录名称不能包含非法字符"));
                dlgtest::TypeText(d.GetDlgItem(IDC_NAME_EDIT), u" 新目录 ");
                d.GetDlgItemText(IDC_HINT, hint);
                EXPECT_EQ(hint, CString(u"--"));
                d.PressButton(IDOK);
                return IDCANCEL;
            })
            .Then([](CDialog& d) {
                d.SetDlgItemText(IDC_NAME_EDIT, u"sub");
                d.PressButton(IDOK);
                return IDCANCEL;
            });
        Page().SendMessage(WM_COMMAND, ID_LOCAL_NEW_FOLDER);
        harness::AdvanceTime(5);
        EXPECT_EQ(Status(), "提示：创建成功");
        EXPECT_TRUE(FolderExists(host + u"/新目录"));
        EXPECT_GE(RowNamed(Local(), u"新目录"), 0);
        const int rows = Local()->GetItemCount();
        Page().SendMessage(WM_COMMAND, ID_LOCAL_NEW_FOLDER);
        harness::AdvanceTime(5);
        EXPECT_EQ(Status(), "提示：创建失败");
        EXPECT_EQ(Local()->GetItemCount(), rows);
    }
    WriteFileAtomic(host + u"/sub/inner.nc", Pattern(3));
    {
        MessageBoxScript boxes;
        boxes.Expect(u"确定删除目录 <sub>？", IDYES).Expect(u"确定删除文件 <b.3b>？", IDYES);
        Select(Local(), {RowNamed(Local(), u"sub")});
        Page().SendMessage(WM_COMMAND, ID_LOCAL_DELETE);
        EXPECT_EQ(Status(), "提示：删除失败");
        EXPECT_GE(RowNamed(Local(), u"sub"), 0);
        const int row = RowNamed(Local(), u"b.3b");
        Select(Local(), {row});
        Page().SendMessage(WM_COMMAND, ID_LOCAL_DELETE);
        EXPECT_EQ(Status(), "提示：删除成功");
        EXPECT_FALSE(FileExists(host + u"/b.3b"));
        EXPECT_EQ(RowNamed(Local(), u"b.3b"), -1);
        EXPECT_EQ(g_LocalSizes.size(), size_t(Local()->GetItemCount()));
    }
    // The folder goes to the file manager as one argument, never a shell line.
    std::vector<std::vector<CString>> started;
    StartProgramHook old = SetStartProgramHook([&](const CString& program, const std::vector<CString>& args) {
        std::vector<CString> call{program};
        call.insert(call.end(), args.begin(), args.end());
        started.push_back(call);
        return TRUE;
    });
    Select(Local(), {RowNamed(Local(), u"a.nc")});
    Page().SendMessage(WM_COMMAND, ID_LOCAL_OPEN_FOLDER);
    SetStartProgramHook(std::move(old));
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], (std::vector<CString>{u"xdg-open", CString::FromUtf8(NativePath(host))}));
}

TEST_F(FilePageTest, ChosenHostFilesAreSentToTheCheckedMachines)
{
    WriteFileAtomic(host + u"/big.nc", std::string(8388608, 'x'));
    Open();
    CSimController a1(21, 0x11, 0, 1), b1(22, 0x22, 1, 1), c1(23, 0x33, 2, 1);
    Furnish(a1);
    Join(a1);
    Join(b1);
    Join(c1, 1); // busy: left out with "排除加工机器"
    Browse(a1);
    EXPECT_EQ(Cell(Remote(), 0, 0), "返回上一级");
    Machines()->SetCheck(0, FALSE); // the highlighted machine is checked again
    Page().CheckDlgButton(IDC_SEND_ALL, BST_CHECKED);
    Page().CheckDlgButton(IDC_SKIP_BUSY, BST_CHECKED);

    Page().PressButton(IDC_SEND);
    EXPECT_EQ(Status(), "提示：没有可传输的文件！");

    Select(Local(), {RowNamed(Local(), u"sub"), RowNamed(Local(), u"a.nc"), RowNamed(Local(), u"big.nc")});
    Page().PressButton(IDC_SEND);
    EXPECT_EQ(Status(), "提示：开始传输文件...");
    EXPECT_TRUE(HasLog("big.nc  文件大于8M,取消传输"));
    EXPECT_TRUE(HasLog("文件数量：1"));
    EXPECT_TRUE(Machines()->GetCheck(0));
    EXPECT_FALSE(dlg->SchemeCombo()->IsWindowEnabled());
    ASSERT_TRUE(RunUntil([] { return g_TransferState == 0; }, 60));
    Bytes got;
    ASSERT_TRUE(a1.GetFile(kSystemDisk + "\\a.nc", got));
    EXPECT_EQ(got, Pattern(1200));
    ASSERT_TRUE(b1.GetFile(kSystemDisk + "\\a.nc", got));
    EXPECT_EQ(c1.CountReceived(kCodeFileHeader), 0);
    EXPECT_TRUE(HasLog("端A1--完成：1/1"));
    EXPECT_TRUE(HasLog("端B1--完成：1/1"));
    EXPECT_TRUE(HasLog("传输完成"));
    EXPECT_EQ(Status(), "提示：传输完成");
    EXPECT_EQ(Cell(Machines(), 0, 3), "↑ 100％");
    EXPECT_TRUE(dlg->SchemeCombo()->IsWindowEnabled());
    // The machine's list shows the file it now has.
    const int row = RowNamed(Remote(), u"a.nc");
    ASSERT_GE(row, 0);
    EXPECT_EQ(g_RemoteSizes.at(size_t(row)), 1200);

    // Sending again: the name exists there; No skips it, so nothing goes.
    {
        MessageBoxScript boxes;
        boxes.Expect(u"主机->远程目录：\na.nc 已存在，是否替换？", IDNO);
        dlg->CheckDlgButton(IDC_REPLACE_EXISTING, BST_UNCHECKED);
        Select(Local(), {RowNamed(Local(), u"a.nc")});
        Page().PressButton(IDC_SEND);
    }
    EXPECT_EQ(Status(), "提示：没有可传输的文件！");
}

TEST_F(FilePageTest, ARemoteFileIsFetchedIntoTheHostFolder)
{
    Open();
    CSimController a1(21, 0x11, 0, 1);
    Furnish(a1);
    Join(a1);
    Browse(a1);
    Select(Remote(), {RowNamed(Remote(), u"part.nc"), RowNamed(Remote(), u"huge.nc"), RowNamed(Remote(), u"data")});
    Page().PressButton(IDC_RECEIVE);
    EXPECT_EQ(Status(), "提示：开始接收文件...");
    EXPECT_TRUE(HasLog("huge.nc  文件大于8M,取消传输"));
    ASSERT_TRUE(RunUntil([] { return g_TransferState == 0; }, 60));
    EXPECT_EQ(ReadAll(host + u"/part.nc"), Pattern(1536, 3));
    EXPECT_TRUE(HasLog("端A1--接收：1/1 "));
    EXPECT_EQ(Status(), "提示：接收完成");
    const int row = RowNamed(Local(), u"part.nc");
    ASSERT_GE(row, 0);
    EXPECT_EQ(Cell(Local(), row, 1), "1.5K");
    EXPECT_EQ(g_LocalSizes.size(), size_t(Local()->GetItemCount()));
}

TEST_F(FilePageTest, RemoteFolderIsCreatedAndDeletedOnTheRemovableDisk)
{
    Open();
    CSimController a1(21, 0x11, 0, 1);
    Furnish(a1);
    Join(a1);
    Browse(a1);
    Page().SendMessage(WM_COMMAND, ID_REMOTE_NEW_FOLDER);
    EXPECT_EQ(Status(), "提示：不能在此硬盘执行此操作！");

    ASSERT_NO_FATAL_FAILURE(OpenRemovableDisk());
    {
        ModalDialogScript dialogs;
        dialogs.Then([](CDialog& d) {
            CString caption;
            d.GetWindowText(caption);
            EXPECT_EQ(caption, CString(u"【端A1】 新建目录"));
            d.SetDlgItemText(IDC_NAME_EDIT, u"jobs");
            d.PressButton(IDOK);
            return IDCANCEL;
        });
        Page().SendMessage(WM_COMMAND, ID_REMOTE_NEW_FOLDER);
        harness::AdvanceTime(5);
    }
    ASSERT_TRUE(Pump([&] { return Status() == "提示：创建成功"; }));
    const Bytes mkdir = [&] {
        for (const Bytes& d : a1.Received())
            if (Get16(d.data(), 0) == kCodeRemoteMkdir)
                return d;
        return Bytes();
    }();
    ASSERT_FALSE(mkdir.empty());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(mkdir.data() + 8)), kRemovable + "\\jobs");
    const int row = RowNamed(Remote(), u"jobs");
    ASSERT_GE(row, 0);
    EXPECT_EQ(Cell(Remote(), row, 1), "-");

    {
        MessageBoxScript boxes;
        boxes.Expect(u"确定删除目录 <jobs>？", IDYES);
        Select(Remote(), {row});
        Page().SendMessage(WM_COMMAND, ID_REMOTE_DELETE);
    }
    ASSERT_TRUE(Pump([&] { return Status() == "提示：删除成功"; }));
    EXPECT_EQ(RowNamed(Remote(), u"jobs"), -1);
    EXPECT_EQ(g_RemoteSizes.size(), size_t(Remote()->GetItemCount()));
}

TEST_F(FilePageTest, AMachineIsRenumberedThroughItsContextMenu)
{
    Open();
    CSimController a1(21, 0x11, 0, 1);
    Join(a1);
    ClickMachine(0);
    PopupMenuHook old = SetPopupMenuHook([](const CMenu&, int, int) { return ID_CHANGE_MACHINE_NUMBER; });
    dlgtest::RightClickAt(Machines(), 60, 40);
    SetPopupMenuHook(std::move(old));
    harness::PumpPosted();
    EXPECT_EQ(g_NumberDialogRequest, 100);
    {
        ModalDialogScript dialogs;
        dialogs.Then([](CDialog& d) {
            auto* letter = static_cast<CComboBox*>(d.GetDlgItem(IDC_LETTER));
            EXPECT_EQ(letter->GetCurSel(), 0);
            EXPECT_EQ(d.GetDlgItemInt(IDC_NAME_EDIT), 1u);
            CString hint;
            // Numbers above 255 and no letter are refused with a hint.
            d.SetDlgItemText(IDC_NAME_EDIT, u"300");
            d.PressButton(IDOK);
            d.GetDlgItemText(IDC_HINT, hint);
            EXPECT_EQ(hint, CString(u"提示：编号须在 0 到 255 之间"));
            letter->SetCurSel(-1);
            d.SetDlgItemText(IDC_NAME_EDIT, u"7");
            d.PressButton(IDOK);
            d.GetDlgItemText(IDC_HINT, hint);
            EXPECT_EQ(hint, CString(u"提示：请选择字母 A 到 F"));
            dlgtest::Choose(letter, 1);
            d.PressButton(IDOK);
            return IDCANCEL;
        });
        harness::AdvanceTime(100);
    }
    ASSERT_TRUE(Pump([&] { return Cell(Machines(), 0, 0).rfind("端B7 ", 0) == 0; }));
    EXPECT_EQ(a1.CountReceived(kCodeSetNumber), 1);
}

TEST_F(FilePageTest, AnOfferedFileIsFetchedAndRelayedWithItsTexts)
{
    Open();
    CSimController a1(21, 0x11, 0, 1), b1(22, 0x22, 1, 1);
    ASSERT_NO_FATAL_FAILURE(Relay(a1, b1));
    for (const char* line : {"开始从客户端接收文件...", "端A1--上传：1/1 ", "接收完成", "开始传输文件到机器...",
                             "端B1--完成：1/1", "传输完成"})
        EXPECT_TRUE(HasLog(line)) << line;
    EXPECT_EQ(Page().localFolder, StagingFolder());
    EXPECT_EQ(Status(), "提示：传输完成");
}

TEST_F(FilePageTest, StopAsksAndEndsTheBatchWithoutTellingTheMachines)
{
    Open();
    CSimController a1(21, 0x11, 0, 1);
    Join(a1);
    Cell(Machines(), 0, 3);
    dlg->SetMachineCell(0, 3, u"↑ 100％");
    Page().PressButton(IDC_STOP); // nothing runs: the columns are cleared, no question
    EXPECT_EQ(Cell(Machines(), 0, 3), "-");

    a1.SetFaults(MakeFaults([](SimFaults& f) { f.silent = true; }));
    StartSendBatch({host + u"/a.nc"}, {MachineIdAt(0)}, host + u"/", u"C:\\");
    harness::AdvanceTime(300);
    ASSERT_EQ(g_TransferState, 1);
    ASSERT_EQ(Status().rfind("端A1-- 传输第 1/1 个文件", 0), 0u);
    {
        MessageBoxScript boxes;
        boxes.Expect(u"是否继续中止传输？", IDNO).Expect(u"是否继续中止传输？", IDYES);
        Page().PressButton(IDC_STOP);
        EXPECT_EQ(g_TransferState, 1);
        Page().PressButton(IDC_STOP);
    }
    EXPECT_EQ(g_TransferState, 0);
    EXPECT_TRUE(HasLog("传输中止"));
    // Before, the pane kept the progress of the file given up.
    EXPECT_EQ(Status(), "提示：传输中止");
    EXPECT_TRUE(dlg->SchemeCombo()->IsWindowEnabled());
    EXPECT_EQ(a1.CountReceived(kCodeTransferEnd), 0);
}

TEST_F(FilePageTest, ABatchThatEndsWhileStopIsAskedKeepsItsResult)
{
    Open();
    CSimController a1(21, 0x11, 0, 1);
    Join(a1);
    StartSendBatch({host + u"/a.nc"}, {MachineIdAt(0)}, host + u"/", u"C:\\");
    // The timer goes on while the question is open, and the file arrives.
    MessageBoxHook old = SetMessageBoxHook([&](const MessageBoxRequest&) {
        RunUntil([] { return g_TransferState == 0; }, 50);
        return IDYES;
    });
    Page().PressButton(IDC_STOP);
    SetMessageBoxHook(std::move(old));
    EXPECT_TRUE(HasLog("端A1--完成：1/1"));
    EXPECT_FALSE(HasLog("传输中止"));
    EXPECT_EQ(Status(), "提示：传输完成");
    EXPECT_EQ(Cell(Machines(), 0, 3), "↑ 100％");
}

TEST_F(FilePageTest, ARelayLeavesTheSchemesHostFolderAsTheUserChoseIt)
{
    Open();
    Page().localFolder = host;
    Page().FillLocalList(0);
    ASSERT_EQ(g_SchemeFolderText, host);
    CSimController a1(21, 0x11, 0, 1), b1(22, 0x22, 1, 1);
    ASSERT_NO_FATAL_FAILURE(Relay(a1, b1));
    // The page shows the staging folder while relaying; the scheme does not
    // take it, nor from a refresh of that folder.
    EXPECT_EQ(Page().localFolder, StagingFolder());
    EXPECT_EQ(g_SchemeFolderText, host);
    Page().SendMessage(WM_COMMAND, ID_LOCAL_REFRESH);
    harness::AdvanceTime(5);
    EXPECT_EQ(g_SchemeFolderText, host);

    // The next start opens the user's folder again.
    Close();
    ResetLinkState();
    g_SchemeFolderText.Empty();
    Open();
    EXPECT_EQ(Page().localFolder, host);
}

TEST_F(FilePageTest, NewMachineFoldersNamedWithDotsOnlyAreNeverSent)
{
    Open();
    CSimController a1(21, 0x11, 0, 1);
    Furnish(a1);
    Join(a1);
    Browse(a1);
    ASSERT_NO_FATAL_FAILURE(OpenRemovableDisk());
    const int rows = Remote()->GetItemCount();
    // Before, ".." went out as "移动盘 U:\..", the disk's parent.
    for (const char16_t* name : {u"..", u".", u"...", u"   "}) {
        SCOPED_TRACE(CString(name).ToUtf8());
        ModalDialogScript dialogs;
        dialogs.Then([&](CDialog& d) {
            d.SetDlgItemText(IDC_NAME_EDIT, name);
            d.PressButton(IDOK);
            return IDCANCEL;
        });
        Page().SendMessage(WM_COMMAND, ID_REMOTE_NEW_FOLDER);
        harness::AdvanceTime(5);
        EXPECT_EQ(Status(), "提示：创建目录失败！");
    }
    Settle();
    EXPECT_EQ(a1.CountReceived(kCodeRemoteMkdir), 0);
    EXPECT_EQ(Remote()->GetItemCount(), rows);
}
