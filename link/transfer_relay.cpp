#include "link/transfer.h"

#include "link/ILinkDisplay.h"
#include "link/dispatch.h"
#include "link/link_helpers.h"
#include "link/machine_table.h"
#include "platform/core/files.h"

#include <cstring>

namespace {

// Checked rows of the list other than the offering machine, in row order.
std::vector<MachineId> RelayTargets(MachineId offering)
{
    std::vector<MachineId> targets;
    ILinkDisplay& ui = LinkDisplay();
    const int rows = std::min(ui.MachineRowCount(), static_cast<int>(g_Machines.size()));
    for (int row = 0; row < rows; ++row) {
        MachineId id = MachineIdAt(row);
        if (ui.IsMachineRowChecked(row) && id != offering)
            targets.push_back(id);
    }
    return targets;
}

const StagedOffer* FindStaged(const _PreSendFilePack& offer)
{
    for (const StagedOffer& s : g_StagedOffers)
        if (s.machine == offer.offerMachine && s.offeredPath == std::string(offer.offeredPath) + '\0')
            return &s;
    return nullptr;
}

} // namespace

void OnOffer(const Datagram& d)
{
    if (!ChecksumMatches(d.data, d.length)) {
        SendToLastSender(MakeOfferAnswer(0, 0, 0));
        return;
    }
    const uint32_t n = Get32(d.data, 14);
    // The path must lie inside the datagram and fit the 255-byte text.
    if (n == 0 || n > kAnsiArea || kOfferPathOffset + n > uint32_t(d.length)) {
        SendToLastSender(MakeOfferAnswer(0, 0, 0));
        return;
    }
    const char* path = reinterpret_cast<const char*>(d.data + kOfferPathOffset);
    const size_t textLength = strnlen(path, n);
    for (const _PreSendFilePack& queued : g_OfferQueue) {
        if (queued.pathLength == n && std::memcmp(queued.offeredPath, path, n) == 0) {
            SendToLastSender(MakeOfferAnswer(2, 0, 0));
            return;
        }
    }
    int row = -1;
    for (size_t i = 0; i < g_Machines.size(); ++i)
        if (std::memcmp(g_Machines[i].id, d.data + 6, 4) == 0)
            row = static_cast<int>(i);
    CString text = AnsiBytesToText(path, textLength);
    if (row < 0 || !IsSafeFileName(GetFileNameFromPath(text))) {
        SendToLastSender(MakeOfferAnswer(0, 0, 0));
        return;
    }
    _PreSendFilePack offer;
    offer.offerMachine = MachineIdAt(row);
    offer.pathLength = n;
    std::memcpy(offer.offerValue, d.data + 18, 16);
    std::memcpy(offer.offeredPath, path, textLength);
    g_OfferQueue.push_back(offer);
    g_OfferNames.push_back(text);
    g_OfferMachines.push_back(offer.offerMachine);
    const auto targets = RelayTargets(offer.offerMachine);
    SendToLastSender(MakeOfferAnswer(1, static_cast<uint32_t>(targets.size()), static_cast<uint32_t>(g_OfferQueue.size())));
}

void OfferFetchStart()
{
    g_OfferingMachine = g_OfferQueue.empty() ? kNoMachine : g_OfferQueue.front().offerMachine;
    const CString temp = StagingFolder();
    CreateFolder(temp);
    SweepStaging();
    if (LinkDisplay().GetLocalFolder() != temp)
        LinkDisplay().ShowLocalFolder(temp);
    g_BatchFiles = g_OfferNames;
    g_BatchTargets = g_OfferMachines;
    g_BatchPairs = true;
    g_MachineFolder.Empty();
    g_HostFolder = temp + u"/";
    g_OfferNames.clear();
    g_OfferMachines.clear();
    g_CurrentMachine = kNoMachine;
    StartBatch(4);
    LinkDisplay().SetStatusText(u"提示：开始从客户端接收文件...");
    LinkDisplay().AddLog(u"开始从客户端接收文件...");
}

bool RelayStart()
{
    const _PreSendFilePack offer = g_OfferQueue.front();
    g_OfferQueue.erase(g_OfferQueue.begin());
    g_OfferingMachine = offer.offerMachine;
    const CString path = AnsiBytesToText(offer.offeredPath, sizeof offer.offeredPath);
    const CString name = GetFileNameFromPath(path);
    // Only a file fetched and verified in this run is passed on.
    const StagedOffer* staged = FindStaged(offer);
    if (staged == nullptr || !LocalFileExists(staged->stagingPath)) {
        SendMachineMessage(CString(u"文件未能上传到主控,取消传输 文件：") + ShortenText50(name));
        LinkDisplay().AddLog(CString(u"文件未接收，取消转发：") + ShortenText50(name));
        return false;
    }
    const CString temp = StagingFolder();
    CreateFolder(temp);
    g_BatchTargets = RelayTargets(offer.offerMachine);
    g_BatchFiles = {staged->stagingPath};
    g_BatchPairs = false;
    g_MachineFolder = GetPathHead(path) + u"\\";
    g_HostFolder = temp + u"/";
    g_BatchFileName = name;
    g_StagedOffers.erase(g_StagedOffers.begin() + (staged - g_StagedOffers.data()));
    g_CurrentMachine = kNoMachine;
    StartBatch(3);
    LinkDisplay().SetStatusText(u"提示：开始传输文件到机器...");
    LinkDisplay().AddLog(u"开始传输文件到机器...");
    SendMachineMessage(u"开始传输文件到其它机器.......");
    return true;
}

void OnOfferCancel()
{
    g_OfferQueue.clear();
    g_OfferNames.clear();
    g_OfferMachines.clear();
    g_TransferState = 0;
    ResetTransfer();
    DiscardStaging();
    ResetMachineColumns();
    LinkDisplay().AddLog(u"同步文件传输中止");
    LinkDisplay().SetStatusText(u"提示：同步文件传输中止");
    EndBatchDisplay();
    SendToLastSender(MakeCodeOnly(kCodeOfferCancelAck));
}
