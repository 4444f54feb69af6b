#include "link/LinkState.h"

#include "link/ILinkDisplay.h"
#include "link/transfer_lane.h"
#include "platform/core/ticks.h"

std::vector<_ClientPack> g_Machines;
MachineId g_SelectedMachine = kNoMachine;
bool g_PollActive = false;
int g_PollIndex = 0;
int g_IdleTicks = 0;
int g_NumberDialogRequest = 0;

uint32_t g_OwnAddress = 0;
uint32_t g_LastSenderAddress = 0;
uint16_t g_LastSenderPort = 0;
CLinkUdp* g_pLinkUdp = nullptr;

int g_RelistDelay = 0;
int g_RelistCount = 0;
MachineId g_RelistMachine = kNoMachine;
int g_RelistFilter = 0;
CString g_RelistPath;
bool g_ListFallbackPending = false;

uint8_t g_TransferState = 0;
int g_TransferDirection = 0;
std::vector<CString> g_BatchFiles;
int g_BatchFileCount = 0;
std::vector<MachineId> g_BatchTargets;
bool g_BatchPairs = false;
int g_BatchTargetIndex = 0;
int g_BatchFileIndex = 0;
int g_BatchOkCount = 0;
int g_BatchOkTotal = 0;
int g_BatchCountTotal = 0;
CString g_BatchFileName;
CString g_HostFolder;
CString g_MachineFolder;
int g_StepCountdown = 0;
MachineId g_CurrentMachine = kNoMachine;
CString g_CurrentFileName;
uint32_t g_CurrentFileSize = 0;
uint32_t g_BlockOffset = 0;
uint32_t g_BytesDone = 0;
int g_BlockRetries = 0;
bool g_SendFileOpen = false;
FileBytes g_SendData;
bool g_HeaderAnswered = false;
bool g_LastBlockSent = false;
int g_EarlySendEnds = 0;
bool g_HasReceiveBuffer = false;
std::vector<uint8_t> g_ReceiveBuffer;
CString g_ReceivePath;
uint8_t g_FileHeader[288] = {};
SavedPacket g_RequestCopy;
SavedPacket g_ResendCopy;
bool g_TransferLabelOn = false;
bool g_FetchPending = false;
std::string g_FetchTarget;
CString g_FetchTargetPath;
int g_FetchAttempts = 0;
int g_FetchAttemptTarget = -1;
int g_FetchAttemptFile = -1;
HeaderReply g_HeaderReply;

std::vector<_PreSendFilePack> g_OfferQueue;
std::vector<CString> g_OfferNames;
std::vector<MachineId> g_OfferMachines;
MachineId g_OfferingMachine = kNoMachine;
std::vector<StagedOffer> g_StagedOffers;
uint32_t g_StagingSerial = 0;
CString g_StagingFetchFolder;

CZorvalinkDlg* g_pMainDlg = nullptr;
CString g_ModuleFolder;
bool g_ClickLatch = false;
int g_PageAction = 0;
std::vector<int64_t> g_LocalSizes;
std::vector<int64_t> g_RemoteSizes;
CString g_NewFolderCaption;
CString g_NewFolderName;
uint8_t g_NewMachineNumber[2] = {};

LinkSettings g_LinkSettings;
CString g_SchemeFolderText;
CString g_CurrentScheme;

namespace {

CNullLinkDisplay g_nullDisplay;
ILinkDisplay* g_display = &g_nullDisplay;
uint32_t (*g_clock)() = nullptr;

} // namespace

void ResetLinkState()
{
    EngineTurn turn;
    g_Machines.clear();
    g_SelectedMachine = kNoMachine;
    g_PollActive = false;
    g_PollIndex = g_IdleTicks = g_NumberDialogRequest = 0;
    g_LastSenderAddress = 0;
    g_LastSenderPort = 0;
    g_RelistDelay = g_RelistCount = g_RelistFilter = 0;
    g_RelistMachine = kNoMachine;
    g_RelistPath.Empty();
    g_ListFallbackPending = false;
    g_TransferState = 0;
    g_TransferDirection = 0;
    g_BatchFiles.clear();
    g_BatchTargets.clear();
    g_BatchPairs = false;
    g_BatchFileCount = g_BatchTargetIndex = g_BatchFileIndex = g_BatchOkCount = 0;
    g_BatchOkTotal = g_BatchCountTotal = 0;
    g_BatchFileName.Empty();
    g_HostFolder.Empty();
    g_MachineFolder.Empty();
    g_StepCountdown = 0;
    g_CurrentMachine = kNoMachine;
    g_CurrentFileName.Empty();
    g_CurrentFileSize = g_BlockOffset = g_BytesDone = 0;
    g_BlockRetries = 0;
    g_SendFileOpen = false;
    g_SendData.clear();
    g_HeaderAnswered = g_LastBlockSent = false;
    g_EarlySendEnds = 0;
    g_HasReceiveBuffer = false;
    g_ReceiveBuffer.clear();
    g_ReceivePath.Empty();
    std::fill(std::begin(g_FileHeader), std::end(g_FileHeader), 0);
    g_RequestCopy = SavedPacket();
    g_ResendCopy = SavedPacket();
    g_TransferLabelOn = false;
    g_FetchPending = false;
    g_FetchTarget.clear();
    g_FetchTargetPath.Empty();
    g_FetchAttempts = 0;
    g_FetchAttemptTarget = g_FetchAttemptFile = -1;
    g_HeaderReply = HeaderReply();
    g_OfferQueue.clear();
    g_OfferNames.clear();
    g_OfferMachines.clear();
    g_OfferingMachine = kNoMachine;
    g_StagedOffers.clear();
    g_StagingSerial = 0;
    g_StagingFetchFolder.Empty();
    g_ClickLatch = false;
    g_PageAction = 0;
    g_LocalSizes.clear();
    g_RemoteSizes.clear();
    g_NewFolderCaption.Empty();
    g_NewFolderName.Empty();
    g_NewMachineNumber[0] = g_NewMachineNumber[1] = 0;
    g_LinkSettings = LinkSettings();
    g_SchemeFolderText.Empty();
    g_CurrentScheme.Empty();
}

ILinkDisplay& LinkDisplay()
{
    return *g_display;
}

void SetLinkDisplay(ILinkDisplay* display)
{
    g_display = display != nullptr ? display : &g_nullDisplay;
}

uint32_t LinkNow()
{
    return g_clock != nullptr ? g_clock() : GetTickCount();
}

void SetLinkClock(uint32_t (*clock)())
{
    g_clock = clock;
}

int MachineRow(MachineId id)
{
    if (id < 0)
        return -1;
    for (size_t i = 0; i < g_Machines.size(); ++i)
        if (g_Machines[i].Id() == static_cast<uint32_t>(id))
            return static_cast<int>(i);
    return -1;
}

MachineId MachineIdAt(int row)
{
    if (row < 0 || row >= static_cast<int>(g_Machines.size()))
        return kNoMachine;
    return g_Machines[static_cast<size_t>(row)].Id();
}

_ClientPack* FindMachine(MachineId id)
{
    int row = MachineRow(id);
    return row < 0 ? nullptr : &g_Machines[static_cast<size_t>(row)];
}
