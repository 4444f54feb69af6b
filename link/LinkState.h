#pragma once

#include "link/_ClientPack.h"
#include "link/packets.h"
#include "platform/core/CString.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class ILinkDisplay;
class CLinkUdp;
class CZorvalinkDlg;

// Everything the link engine keeps; dialog thread only, but for the block
// step's part while the transfer is lent to the receive thread
// (transfer_lane.h).

// A machine is referred to by its 4-byte id; its row is looked up when used.
using MachineId = int64_t;
constexpr MachineId kNoMachine = -1;

// Bytes that a vector grows by without clearing them first: a file read
// over them at once was written twice.
template <class T>
struct UninitAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitAllocator<U>;
    };
    UninitAllocator() = default;
    template <class U>
    UninitAllocator(const UninitAllocator<U>&) noexcept
    {
    }
    template <class U>
    void construct(U* p) noexcept
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
using FileBytes = std::vector<uint8_t, UninitAllocator<uint8_t>>;

// A sent packet kept for repetition.
struct SavedPacket {
    Packet packet;
    uint32_t address = 0;
    uint16_t port = 0;
    int retries = 0;   // request copy: repetitions asked for
    int countdown = 0; // resend copy: ticks until it goes again (0 = disarmed)
    int count = 0;     // resend copy: repetitions made
};

// One queued offer of a machine's file.
struct _PreSendFilePack {
    MachineId offerMachine = kNoMachine;
    uint32_t pathLength = 0;
    uint8_t offerValue[16] = {};
    char offeredPath[256] = {};
};

// The answer given to the last good header of the pending fetch, sent again
// when the machine repeats that header because it did not hear the answer.
struct HeaderReply {
    bool valid = false;
    uint8_t header[288] = {};
    uint32_t address = 0;
    uint16_t port = 0;
    Packet answer;
};

// An offered file fetched into the staging folder in this run.
struct StagedOffer {
    MachineId machine = kNoMachine;
    std::string offeredPath; // ANSI, as offered
    CString stagingPath;
};

// Switches remembered in "settting.ini".
struct LinkSettings {
    bool replaceExisting = false; // 1024 "重复文件默认替换"
    bool skipExisting = false;    // 1021 "重复文件默认取消"
    bool showMaximised = false;   // 1028 "最大化显示"
    bool sendToAll = false;       // page 1021 "多机选中传输"
    bool skipBusy = false;        // page 1028 "排除加工机器"
};

// Machine table.
extern std::vector<_ClientPack> g_Machines;
extern MachineId g_SelectedMachine;
extern bool g_PollActive;
extern int g_PollIndex;
extern int g_IdleTicks;
extern int g_NumberDialogRequest;

// Socket and the datagram being handled.
extern uint32_t g_OwnAddress;
extern uint32_t g_LastSenderAddress;
extern uint16_t g_LastSenderPort;
extern CLinkUdp* g_pLinkUdp;

// Listing.
extern int g_RelistDelay;
extern int g_RelistCount;
extern MachineId g_RelistMachine;
extern int g_RelistFilter;
extern CString g_RelistPath;
extern bool g_ListFallbackPending;

// Transfer.
extern uint8_t g_TransferState;
extern int g_TransferDirection;
extern std::vector<CString> g_BatchFiles;
extern int g_BatchFileCount;
extern std::vector<MachineId> g_BatchTargets;
extern bool g_BatchPairs; // offer fetch: target i is asked for file i only
extern int g_BatchTargetIndex;
extern int g_BatchFileIndex;
extern int g_BatchOkCount;
// Over all machines of the batch: files that went well, files in all.
extern int g_BatchOkTotal;
extern int g_BatchCountTotal;
extern CString g_BatchFileName;
extern CString g_HostFolder;
extern CString g_MachineFolder;
extern int g_StepCountdown;
extern MachineId g_CurrentMachine;
extern CString g_CurrentFileName;
extern uint32_t g_CurrentFileSize;
extern uint32_t g_BlockOffset;
extern uint32_t g_BytesDone;
extern int g_BlockRetries;
// The file being sent, read whole when it starts.
extern bool g_SendFileOpen;
extern FileBytes g_SendData;
extern bool g_HeaderAnswered;
extern bool g_LastBlockSent;
extern int g_EarlySendEnds;    // end answers before the header's own answer
extern bool g_HasReceiveBuffer;
extern std::vector<uint8_t> g_ReceiveBuffer;
extern CString g_ReceivePath;
extern uint8_t g_FileHeader[288];
extern SavedPacket g_RequestCopy;
extern SavedPacket g_ResendCopy;
extern bool g_TransferLabelOn;
extern bool g_FetchPending;       // a 1107 waits for its header
extern std::string g_FetchTarget; // ANSI host path named in that 1107
extern CString g_FetchTargetPath;
extern int g_FetchAttempts;
extern int g_FetchAttemptTarget;
extern int g_FetchAttemptFile;
extern HeaderReply g_HeaderReply;

// Offers and relay.
extern std::vector<_PreSendFilePack> g_OfferQueue;
extern std::vector<CString> g_OfferNames;
extern std::vector<MachineId> g_OfferMachines;
extern MachineId g_OfferingMachine;
extern std::vector<StagedOffer> g_StagedOffers;
extern uint32_t g_StagingSerial;
extern CString g_StagingFetchFolder; // fresh folder of the offered file being fetched

// Settings and schemes.
extern LinkSettings g_LinkSettings;
extern CString g_SchemeFolderText;
extern CString g_CurrentScheme;

// Main dialog and file page.
extern CZorvalinkDlg* g_pMainDlg;
extern CString g_ModuleFolder;
extern bool g_ClickLatch;       // one press of a list is handled once
extern int g_PageAction;        // what the file page's timer runs next
extern std::vector<int64_t> g_LocalSizes;  // per row of the host list
extern std::vector<int64_t> g_RemoteSizes; // per row of the machine's list
extern CString g_NewFolderCaption;
extern CString g_NewFolderName;
extern uint8_t g_NewMachineNumber[2]; // letter index, number

// Empties every table and queue, closes files; the display stays.
void ResetLinkState();

ILinkDisplay& LinkDisplay();
void SetLinkDisplay(ILinkDisplay* display);

// Milliseconds for last-contact times and header ticks; tests install a
// virtual clock (nullptr restores the system one).
uint32_t LinkNow();
void SetLinkClock(uint32_t (*clock)());

// Row of the machine, -1 when it is not in the table.
int MachineRow(MachineId id);
MachineId MachineIdAt(int row);
_ClientPack* FindMachine(MachineId id);
