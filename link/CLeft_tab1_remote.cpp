// The file page's machine side: the list the listing packets fill, folder
// navigation by listing requests, new folders and deletes on the machine.

#include "link/CCXCreateDir.h"
#include "link/CLeft_tab1.h"
#include "link/CZorvalinkDlg.h"
#include "link/LinkState.h"
#include "link/dispatch.h"
#include "link/link_helpers.h"
#include "link/link_resources.h"
#include "link/machine_table.h"
#include "platform/core/files.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/message_box.h"

#include <ctime>

namespace {

const char16_t* const kParentRow = u"返回上一级";
const char16_t* const kSystemDisk = u"系统盘 C:";
const char16_t* const kRemovableDisk = u"移动盘 U:";

// FILETIME: 100 ns steps since 1601-01-01 UTC.
int64_t FileTimeToSeconds(uint64_t fileTime)
{
    return static_cast<int64_t>(fileTime / 10000000ull) - 11644473600ll;
}

void AppendRow(CListCtrl* list, const CString& name, int image, const CString& size, const CString& time)
{
    const int row = list->InsertItem(list->GetItemCount(), name, image);
    list->SetItemText(row, 1, size);
    list->SetItemText(row, 2, time);
}

// Empty, or dots only: a controller that drops trailing dots, as the
// machines' file systems do, reads "..." as the folder itself.
bool NamesNoNewFolder(const CString& name)
{
    for (int i = 0; i < name.GetLength(); ++i)
        if (name[i] != u'.')
            return false;
    return true;
}

void DropRow(CListCtrl* list, std::vector<int64_t>& sizes, int row)
{
    list->DeleteItem(row);
    if (row < static_cast<int>(sizes.size()))
        sizes.erase(sizes.begin() + row);
}

} // namespace

void CLeft_tab1::InitRemoteList()
{
    g_RemoteSizes.clear();
    CListCtrl* list = RemoteList();
    list->DeleteAllItems();
    while (list->GetColumnCount() > 0)
        list->DeleteColumn(0);
    list->InsertColumn(0, CString(u"文件 （远程）"), LVCFMT_LEFT, 350);
    list->InsertColumn(1, CString(u"大小"), LVCFMT_LEFT, 60);
    list->InsertColumn(2, CString(u"时间"), LVCFMT_LEFT, 200);
}

void CLeft_tab1::AddRemoteEntry(uint8_t kind, uint32_t size, uint64_t fileTime, const CString& name)
{
    CListCtrl* list = RemoteList();
    if (kind == 1) {
        if (name == kSystemDisk)
            AppendRow(list, name, 3, CString(), CString());
        else if (name == kRemovableDisk)
            AppendRow(list, name, 5, CString(), CString());
        else
            AppendRow(list, name, 1, u"-", CString());
        g_RemoteSizes.push_back(0);
        return;
    }
    AppendRow(list, name, 2, SizeText(size), LocalTimeText(FileTimeToSeconds(fileTime)));
    g_RemoteSizes.push_back(size);
}

void CLeft_tab1::EndRemoteListing()
{
    if (remoteFolder.IsEmpty())
        return;
    CListCtrl* list = RemoteList();
    list->InsertItem(0, kParentRow, 0);
    g_RemoteSizes.insert(g_RemoteSizes.begin(), 0);
}

void CLeft_tab1::RemoveRemoteRow(int row)
{
    CListCtrl* list = RemoteList();
    if (row >= 0 && row < list->GetItemCount())
        DropRow(list, g_RemoteSizes, row);
}

void CLeft_tab1::AddRemoteFolderRow()
{
    if (remoteFolder.IsEmpty())
        return;
    AppendRow(RemoteList(), g_NewFolderName, 1, u"-", CString());
    g_RemoteSizes.push_back(0);
}

void CLeft_tab1::PutRemoteFileRow(const CString& name, uint32_t size)
{
    if (remoteFolder.IsEmpty())
        return;
    CListCtrl* list = RemoteList();
    for (int row = 0; row < list->GetItemCount(); ++row) {
        if (list->GetItemText(row, 0) == name) {
            DropRow(list, g_RemoteSizes, row);
            break;
        }
    }
    AppendRow(list, name, 2, SizeText(size), LocalTimeText(std::time(nullptr)));
    g_RemoteSizes.push_back(size);
}

void CLeft_tab1::AskListing(const CString& path)
{
    InitRemoteList();
    g_RelistCount = 1;
    SendListRemoteDir(g_SelectedMachine, FilterIndex(), path);
}

void CLeft_tab1::OnRemoteListClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    if (!TakeClickLatch())
        return;
    CListCtrl* list = RemoteList();
    const int row = list->GetNextItem(-1, LVNI_SELECTED);
    if (row >= 0) {
        const CString name = list->GetItemText(row, 0);
        const CString size = list->GetItemText(row, 1);
        if (name == kParentRow && size.IsEmpty()) {
            if (!g_pMainDlg->TransferGuard()) {
                remoteFolder = GetPathHead(remoteFolder);
                NormaliseFolder(remoteFolder);
                AskListing(remoteFolder);
            }
        } else if (!name.IsEmpty() && size.IsEmpty()) {
            if (!g_pMainDlg->TransferGuard()) {
                remoteFolder = name;
                NormaliseFolder(remoteFolder);
                AskListing(remoteFolder + u"\\");
            }
        }
    }
    g_ClickLatch = false;
}

void CLeft_tab1::OnRemoteListDblClk(NMHDR*, LRESULT* result)
{
    *result = 0;
    if (!TakeClickLatch())
        return;
    CListCtrl* list = RemoteList();
    const int row = list->GetNextItem(-1, LVNI_SELECTED);
    if (row >= 0 && !list->GetItemText(row, 0).IsEmpty() && list->GetItemText(row, 1) == u"-" &&
        !g_pMainDlg->TransferGuard()) {
        remoteFolder = remoteFolder + u"\\" + list->GetItemText(row, 0);
        NormaliseFolder(remoteFolder);
        AskListing(remoteFolder + u"\\");
    }
    g_ClickLatch = false;
}

void CLeft_tab1::OnRemoteUp()
{
    if (remoteFolder.IsEmpty() || g_pMainDlg->TransferGuard())
        return;
    remoteFolder = GetPathHead(remoteFolder);
    NormaliseFolder(remoteFolder);
    AskListing(remoteFolder + u"\\");
}

void CLeft_tab1::OnRefreshRemote()
{
    if (g_pMainDlg->TransferGuard())
        return;
    g_PageAction = kRefreshRemote;
    SetTimer(kPageTimer, 5);
}

void CLeft_tab1::OnNewRemoteFolder()
{
    if (remoteFolder.IsEmpty() || MachineRow(g_SelectedMachine) < 0 || g_pMainDlg->TransferGuard())
        return;
    if (remoteFolder.Find(kRemovableDisk) < 0) {
        g_pMainDlg->SetStatusText(u"提示：不能在此硬盘执行此操作！");
        return;
    }
    g_NewFolderCaption.Format(u"【%s】 新建目录", GetMachineName(g_SelectedMachine).GetString());
    g_PageAction = kNewRemoteFolder;
    SetTimer(kPageTimer, 1);
}

void CLeft_tab1::OnNewFolderDialog(bool remote)
{
    CCXCreateDir dialog(this);
    if (dialog.DoModal() != IDOK)
        return;
    if (remote) {
        // "." or ".." would name the folder shown or its parent, which a
        // controller then creates or reports on; the host refuses them too.
        if (NamesNoNewFolder(g_NewFolderName)) {
            g_pMainDlg->SetStatusText(u"提示：创建目录失败！");
            return;
        }
        SendRemoteMkdir(remoteFolder + u"\\" + g_NewFolderName, 0);
        return;
    }
    const CString path = JoinFolder(localFolder, g_NewFolderName);
    if (!PathExists(path) && CreateNewFolder(path) && PathExists(path)) {
        g_pMainDlg->SetStatusText(u"提示：创建成功");
        AddLocalFolderRow();
        return;
    }
    g_pMainDlg->SetStatusText(u"提示：创建失败");
}

void CLeft_tab1::OnDeleteRemote()
{
    if (g_pMainDlg->TransferGuard())
        return;
    CListCtrl* list = RemoteList();
    const int row = list->GetNextItem(-1, LVNI_SELECTED);
    if (row < 0)
        return;
    const CString name = list->GetItemText(row, 0);
    const CString size = list->GetItemText(row, 1);
    uint8_t kind = 0;
    CString question;
    if (size == u"-" && list->GetItemText(row, 2).IsEmpty()) {
        kind = 1;
        question.Format(u"请确保该目录为空，否则删除失败；\n确定删除目录 <%s>？", name.GetString());
    } else if (!size.IsEmpty() && size != u"-") {
        kind = 2;
        question.Format(u"确定删除文件 <%s>？", name.GetString());
    } else {
        return;
    }
    if (ShowMessageBox(this, question, u"提示", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    SendRemoteDelete(remoteFolder + u"\\" + name, kind, static_cast<uint32_t>(row));
}
