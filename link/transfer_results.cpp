// What a batch tells the user: the start of a batch, each failed file, each
// machine's summary and the end. A file that failed is never shown as done:
// the ratio column, the status pane and the last log line count the
// failures as the per-machine log lines do.

#include "link/transfer.h"

#include "link/ILinkDisplay.h"
#include "link/link_helpers.h"
#include "link/machine_table.h"

#include <algorithm>

void StartBatch(uint8_t state)
{
    ResetMachineColumns();
    LinkDisplay().EnableSchemeCombo(false);
    g_BatchOkCount = 0;
    g_BatchOkTotal = g_BatchCountTotal = 0;
    g_BatchFileCount = static_cast<int>(g_BatchFiles.size());
    g_BatchTargetIndex = 0;
    g_BatchFileIndex = 0;
    g_StepCountdown = 0;
    DisarmResend();
    g_FetchAttempts = 0;
    g_FetchAttemptTarget = g_FetchAttemptFile = -1;
    g_TransferState = state;
    g_TransferDirection = state == 1 || state == 3 ? 1 : 2;
    if (!g_TransferLabelOn) {
        g_TransferLabelOn = true;
        LinkDisplay().EnableTransferLabel(true);
    }
}

MachineId CurrentTarget()
{
    const size_t i = static_cast<size_t>(g_BatchTargetIndex);
    return i < g_BatchTargets.size() ? g_BatchTargets[i] : kNoMachine;
}

void LogFileFailure(const CString& what, const CString& name, const CString& detail)
{
    CString text;
    text.Format(u"%s--%s ; %s", GetMachineName(CurrentTarget()).GetString(), what.GetString(),
                ShortenText50(name).GetString());
    if (!detail.IsEmpty())
        text += u" ; " + detail;
    LinkDisplay().AddLog(text);
}

void LogFileFailure(const CString& what)
{
    LogFileFailure(what, g_BatchFileName, CString());
}

CString FinishTargetSummary(const char16_t* verb)
{
    const MachineId target = CurrentTarget();
    const int count = FilesForCurrentTarget();
    const int ok = std::min(g_BatchOkCount, count);
    g_BatchOkTotal += ok;
    g_BatchCountTotal += count;
    const char16_t* arrow = g_TransferDirection == 1 ? u"↑" : g_TransferDirection == 2 ? u"↓" : nullptr;
    CString ratio = u"-";
    if (arrow != nullptr && ok >= count)
        ratio.Format(u"%s 100％", arrow);
    else if (arrow != nullptr) // rounded down: only a whole batch shows 100
        ratio.Format(u"%s %d％ 失败：%d", arrow, ok * 100 / count, count - ok);
    SetMachineCell(MachineRow(target), 3, ratio);
    CString text;
    // The receive line of a machine whose files all came ends in a blank.
    if (ok >= count)
        text.Format(u"%s--%s：%d/%d%s", GetMachineName(target).GetString(), verb, ok, count,
                    g_TransferDirection == 2 ? u" " : u"");
    else
        text.Format(u"%s--%s：%d/%d  , 失败：%d", GetMachineName(target).GetString(), verb, ok, count, count - ok);
    LinkDisplay().AddLog(text);
    ++g_BatchTargetIndex;
    g_BatchOkCount = 0;
    g_BatchFileIndex = 0;
    return text;
}

void ShowBatchResult(const char16_t* done, const char16_t* ended)
{
    ILinkDisplay& ui = LinkDisplay();
    const int failed = g_BatchCountTotal - g_BatchOkTotal;
    if (failed <= 0) {
        ui.AddLog(done);
        ui.AddLog(CString(u'-', 44));
        ui.SetStatusText(CString(u"提示：") + done);
    } else {
        CString text;
        text.Format(u"错误：%s，完成：%d/%d，失败：%d", ended, g_BatchOkTotal, g_BatchCountTotal, failed);
        ui.AddLog(text);
        ui.AddLog(CString(u'-', 44));
        ui.SetStatusText(text);
    }
    EndBatchDisplay();
}
