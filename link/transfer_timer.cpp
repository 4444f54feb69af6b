#include "link/transfer.h"

#include "link/ILinkDisplay.h"
#include "link/dispatch.h"
#include "link/link_helpers.h"
#include "link/machine_table.h"
#include "link/transfer_lane.h"
#include "platform/core/exceptions.h"
#include "platform/core/files.h"

#include <exception>

namespace {

// Resend copy: true when this tick was spent on it.
bool ResendTick()
{
    if (g_ResendCopy.countdown <= 0)
        return false;
    if (--g_ResendCopy.countdown > 0)
        return false;
    if (++g_ResendCopy.count > 2) {
        DisarmResend();
        return true;
    }
    g_ResendCopy.countdown = 3;
    SendPacket(g_ResendCopy.packet, g_ResendCopy.address, g_ResendCopy.port);
    return true;
}

void RelistTick()
{
    if (g_RelistDelay > 0) {
        --g_RelistDelay;
        return;
    }
    if (g_RelistCount > 0) {
        --g_RelistCount;
        LinkDisplay().InitRemoteList();
        SendListRemoteDir(g_RelistMachine, g_RelistFilter, g_RelistPath);
    }
}

void IdleTick()
{
    if (!g_OfferNames.empty() && g_OfferNames.size() == g_OfferMachines.size()) {
        OfferFetchStart();
        return;
    }
    if (!g_OfferQueue.empty())
        RelayStart();
    RelistTick();
    if (++g_IdleTicks >= 10) {
        g_IdleTicks = 0;
        OfflineCheck();
    }
    PollStep();
    if (g_NumberDialogRequest == 100) {
        g_NumberDialogRequest = 0;
        uint8_t letter = 0, number = 0;
        if (LinkDisplay().AskMachineNumber(letter, number))
            SendSetMachineNumber(letter, number);
    }
}

} // namespace

void OnLinkTimer()
{
    EngineTurn turn;
    try {
        if (g_TransferState != 0 && ResendTick())
            return;
        if (g_TransferState == 1 || g_TransferState == 3)
            SendStep();
        else if (g_TransferState == 2 || g_TransferState == 4)
            ReceiveStep();
        else
            IdleTick();
    } catch (const CException& e) {
        LogException(-3, e.What());
    } catch (const std::exception& e) {
        LogException(-3, e.what());
    }
}

void StartSendBatch(const std::vector<CString>& localPaths, const std::vector<MachineId>& targets,
                    const CString& hostFolder, const CString& machineFolder)
{
    EngineTurn turn;
    g_HostFolder = hostFolder;
    g_MachineFolder = machineFolder;
    g_BatchFiles = localPaths;
    g_BatchTargets = targets;
    g_BatchPairs = false;
    StartBatch(1);
}

void StartReceiveBatch(const std::vector<CString>& remotePaths, MachineId machine,
                       const CString& hostFolder, const CString& machineFolder)
{
    EngineTurn turn;
    g_HostFolder = hostFolder;
    g_MachineFolder = machineFolder;
    g_BatchFiles = remotePaths;
    g_BatchTargets = {machine};
    g_BatchPairs = false;
    StartBatch(2);
}

void StopTransfer()
{
    EngineTurn turn;
    g_TransferState = 0;
    g_OfferQueue.clear();
    g_OfferNames.clear();
    g_OfferMachines.clear();
    ResetTransfer();
    DiscardStaging();
    ResetMachineColumns();
    LinkDisplay().AddLog(u"传输中止");
    // Before, the pane kept the last progress text, as if the file still went.
    LinkDisplay().SetStatusText(u"提示：传输中止");
    EndBatchDisplay();
}

void ResetTransfer()
{
    CloseSendFile();
    FreeReceiveBuffer();
    g_ReceivePath.Empty();
    g_FetchPending = false;
    g_HeaderReply.valid = false;
    g_StepCountdown = 0;
    g_BatchFileIndex = 0;
    DisarmResend();
}

void DiscardStaging()
{
    g_StagedOffers.clear();
    g_StagingFetchFolder.Empty();
    SweepStaging();
}

void CloseSendFile()
{
    g_SendFileOpen = false;
    g_SendData.clear(); // its room stays for the next file
    g_HeaderAnswered = false;
    g_LastBlockSent = false;
    g_EarlySendEnds = 0;
}

void FreeReceiveBuffer()
{
    g_HasReceiveBuffer = false;
    std::vector<uint8_t>().swap(g_ReceiveBuffer);
}

void DisarmResend()
{
    g_ResendCopy.countdown = 0;
    g_ResendCopy.count = 0;
}

void ResetMachineColumns()
{
    ILinkDisplay& ui = LinkDisplay();
    for (int row = 0; row < ui.MachineRowCount(); ++row) {
        ui.SetMachineCell(row, 3, u"-");
        ui.SetMachineCell(row, 4, CString());
    }
}

void EndBatchDisplay()
{
    LinkDisplay().EnableSchemeCombo(true);
    if (g_TransferLabelOn) {
        g_TransferLabelOn = false;
        LinkDisplay().EnableTransferLabel(false);
    }
}

void TellFileDone()
{
    if (g_CurrentFileName.IsEmpty())
        return;
    if (g_TransferDirection == 1)
        LinkDisplay().PutRemoteFileRow(g_CurrentFileName, g_CurrentFileSize);
    else if (g_TransferDirection == 2)
        LinkDisplay().PutLocalFileRow(g_CurrentFileName, g_CurrentFileSize);
}

int FilesForCurrentTarget()
{
    // An offer fetch asks each offering machine for its own file only.
    if (g_BatchPairs)
        return g_BatchTargetIndex < static_cast<int>(g_BatchFiles.size()) ? 1 : 0;
    return static_cast<int>(g_BatchFiles.size());
}

CString BatchFileAt(int index)
{
    size_t i = static_cast<size_t>(g_BatchPairs ? g_BatchTargetIndex : index);
    return i < g_BatchFiles.size() ? g_BatchFiles[i] : CString();
}

CString StagingFolder()
{
    return MapWindowsPath(u".\\FileTemp", ZorvaProgram::Link);
}

bool IsStagingPath(const CString& folder)
{
    const std::string staging = NativePath(StagingFolder());
    const std::string path = NativePath(folder);
    return path.compare(0, staging.size(), staging) == 0 && (path.size() == staging.size() || path[staging.size()] == '/');
}

CString NewStagingFolder()
{
    const CString root = StagingFolder();
    CreateFolder(root);
    // A folder left by an earlier run is passed over, never reused.
    for (int tries = 0; tries < 1000; ++tries) {
        CString folder;
        folder.Format(u"%s/%u", root.GetString(), ++g_StagingSerial);
        if (CreateNewFolder(folder))
            return folder;
    }
    return CString();
}

namespace {

bool AllDigits(const CString& text, int length)
{
    if (length <= 0)
        return false;
    for (int i = 0; i < length; ++i)
        if (text[i] < u'0' || text[i] > u'9')
            return false;
    return true;
}

bool StagingInUse(const CString& folder)
{
    if (!g_StagingFetchFolder.IsEmpty() && NativePath(g_StagingFetchFolder) == NativePath(folder))
        return true;
    for (const StagedOffer& s : g_StagedOffers)
        if (NativePath(GetPathHead(s.stagingPath)) == NativePath(folder))
            return true;
    return false;
}

} // namespace

void SweepStaging()
{
    const CString root = StagingFolder();
    for (const FileEntry& e : ListFolder(root + u"/*")) {
        const CString path = root + u"/" + e.name;
        // Staging copies of older versions were named "<n>-<name>".
        const int dash = e.name.Find(u'-');
        if (!e.isFolder) {
            if (AllDigits(e.name, dash))
                DeleteFile(path);
            continue;
        }
        if (!AllDigits(e.name, e.name.GetLength()) || StagingInUse(path))
            continue;
        for (const FileEntry& f : ListFolder(path + u"/*"))
            if (!f.isFolder)
                DeleteFile(path + u"/" + f.name);
        RemoveFolder(path);
    }
}
