// The file page's transfer buttons: what a send or a receive takes part in,
// and the stop. The batch itself runs in the engine's timer steps.

#include "link/CLeft_tab1.h"
#include "link/CZorvalinkDlg.h"
#include "link/LinkState.h"
#include "link/link_resources.h"
#include "link/machine_table.h"
#include "link/transfer.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/message_box.h"

#include <algorithm>

namespace {

bool IsFileRow(const CListCtrl* list, int row)
{
    const CString size = list->GetItemText(row, 1);
    return !size.IsEmpty() && size != u"-" && !list->GetItemText(row, 2).IsEmpty();
}

std::vector<CString> FileRowNames(const CListCtrl* list)
{
    std::vector<CString> names;
    for (int row = 0; row < list->GetItemCount(); ++row)
        if (IsFileRow(list, row))
            names.push_back(list->GetItemText(row, 0));
    return names;
}

std::vector<int> SelectedRows(const CListCtrl* list)
{
    std::vector<int> rows;
    for (int row = list->GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list->GetNextItem(row, LVNI_SELECTED))
        rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    return rows;
}

// The selected file rows that go: none of 8 MB or more, and an existing
// name only when the switches or the user say so.
std::vector<CString> CollectFiles(CWnd* owner, const CListCtrl* from, const std::vector<int64_t>& sizes,
                                  const std::vector<CString>& present, const CString& folder,
                                  const char16_t* question)
{
    std::vector<CString> files;
    for (int row : SelectedRows(from)) {
        if (!IsFileRow(from, row))
            continue;
        const CString name = from->GetItemText(row, 0);
        if (row < static_cast<int>(sizes.size()) && sizes[static_cast<size_t>(row)] >= int64_t(kMaxFileSize)) {
            g_pMainDlg->AddLog(name + u"  文件大于8M,取消传输");
            continue;
        }
        const bool exists = std::find(present.begin(), present.end(), name) != present.end();
        if (exists && !g_LinkSettings.replaceExisting) {
            if (g_LinkSettings.skipExisting)
                continue;
            CString text;
            text.Format(question, name.GetString());
            if (ShowMessageBox(owner, text, u"提示", MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
                continue;
        }
        files.push_back(folder + name);
    }
    return files;
}

MachineId SelectedOnlineMachine()
{
    const _ClientPack* m = FindMachine(g_SelectedMachine);
    return m != nullptr && m->online == 1 ? g_SelectedMachine : kNoMachine;
}

} // namespace

void CLeft_tab1::OnSendFiles()
{
    CZorvalinkDlg& main = *g_pMainDlg;
    main.SetStatusText(u"--");
    if (main.TransferGuard())
        return;
    if (localFolder.IsEmpty()) {
        main.SetStatusText(u"提示：请选择主机目录文件！");
        return;
    }
    if (remoteFolder.IsEmpty()) {
        main.SetStatusText(u"提示：请选择远程目录！");
        return;
    }
    main.TakeCheckStates();
    const CString hostFolder = JoinFolder(localFolder, CString());
    const std::vector<CString> files = CollectFiles(this, LocalList(), g_LocalSizes, FileRowNames(RemoteList()),
                                                    hostFolder, u"主机->远程目录：\n%s 已存在，是否替换？");
    if (files.empty()) {
        main.SetStatusText(u"提示：没有可传输的文件！");
        return;
    }
    std::vector<MachineId> targets;
    if (!g_LinkSettings.sendToAll) {
        if (const MachineId id = SelectedOnlineMachine(); id != kNoMachine)
            targets.push_back(id);
    } else {
        CListCtrl* machines = main.MachineList();
        const int highlighted = machines->GetNextItem(-1, LVNI_SELECTED);
        if (highlighted >= 0)
            machines->SetCheck(highlighted, TRUE);
        const int rows = std::min(machines->GetItemCount(), static_cast<int>(g_Machines.size()));
        for (int row = 0; row < rows; ++row) {
            const _ClientPack& m = g_Machines[static_cast<size_t>(row)];
            if (machines->GetCheck(row) && m.online == 1 && (!g_LinkSettings.skipBusy || m.state == 0))
                targets.push_back(MachineIdAt(row));
        }
    }
    if (targets.empty()) {
        main.SetStatusText(u"提示：没有可机器列表！");
        return;
    }
    StartSendBatch(files, targets, hostFolder, remoteFolder + u"\\");
    main.SetStatusText(u"提示：开始传输文件...");
    CString count;
    count.Format(u"文件数量：%d", static_cast<int>(files.size()));
    main.AddLog(count);
    main.AddLog(u"开始传输文件...");
}

void CLeft_tab1::OnReceiveFiles()
{
    CZorvalinkDlg& main = *g_pMainDlg;
    main.SetStatusText(u"--");
    if (main.TransferGuard())
        return;
    if (remoteFolder.IsEmpty()) {
        main.SetStatusText(u"提示：请选择远程目录文件！");
        return;
    }
    if (localFolder.IsEmpty()) {
        main.SetStatusText(u"提示：请选择主机目录！");
        return;
    }
    main.TakeCheckStates();
    const CString machineFolder = remoteFolder + u"\\";
    const std::vector<CString> files = CollectFiles(this, RemoteList(), g_RemoteSizes, FileRowNames(LocalList()),
                                                    machineFolder, u"远程->主机目录：\n%s 已存在，是否替换？");
    if (files.empty()) {
        main.SetStatusText(u"提示：没有可接收的文件！");
        return;
    }
    const MachineId target = SelectedOnlineMachine();
    if (target == kNoMachine) {
        main.SetStatusText(u"提示：没有可机器列表！");
        return;
    }
    StartReceiveBatch(files, target, JoinFolder(localFolder, CString()), machineFolder);
    main.SetStatusText(u"提示：开始接收文件...");
    main.AddLog(u"开始接收文件...");
}

void CLeft_tab1::OnStop()
{
    CZorvalinkDlg& main = *g_pMainDlg;
    main.SetStatusText(u"--");
    if (g_TransferState == 0) {
        ResetMachineColumns();
        return;
    }
    if (ShowMessageBox(this, u"是否继续中止传输？", u"提示", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    // The timer runs while the question is open: a batch that ended meanwhile
    // keeps its result rather than being reported as stopped.
    if (g_TransferState != 0)
        StopTransfer();
}

void CLeft_tab1::OnMultiMachineCheck()
{
    g_pMainDlg->SaveSettings();
}
