#include "link/transfer_lane.h"

#include "link/dispatch.h"
#include "link/transfer.h"

#include <mutex>
#include <utility>

namespace {

// The transfer as lent to the receive thread. While lent, the block step's
// state (offsets, countdowns, retries, the resend copy, the buffers' bytes,
// the last sender) belongs to whoever holds the mutex: the receive thread
// for one step, the dialog thread to take the transfer back.
struct BlockLane {
    std::mutex mutex;
    bool lent = false;
    bool sending = false;
    uint32_t address = 0; // the machine of the transfer
    uint16_t port = 0;
    // An answer came on the lane: the dialog thread marks the machine online,
    // as it does for answers it handles (the machine list is its own).
    bool answered = false;
};

BlockLane s_lane;
int s_turnDepth = 0; // dialog thread only

bool Sending()
{
    return (g_TransferState == 1 || g_TransferState == 3) && g_SendFileOpen && g_HeaderAnswered && !g_LastBlockSent;
}

bool Receiving()
{
    return (g_TransferState == 2 || g_TransferState == 4) && g_HasReceiveBuffer;
}

void TakeBack()
{
    bool answered;
    uint32_t address;
    uint16_t port;
    {
        std::lock_guard lock(s_lane.mutex);
        s_lane.lent = false;
        answered = std::exchange(s_lane.answered, false);
        address = s_lane.address;
        port = s_lane.port;
    }
    if (answered)
        MarkOnline(address, port);
}

void Lend()
{
    const bool sending = Sending();
    const _ClientPack* m = FindMachine(g_CurrentMachine);
    if ((!sending && !Receiving()) || m == nullptr || g_pLinkUdp == nullptr)
        return;
    std::lock_guard lock(s_lane.mutex);
    s_lane.lent = true;
    s_lane.sending = sending;
    s_lane.address = m->address;
    s_lane.port = m->port;
}

// The two steps, as OnBlockAnswer and OnDataBlock run them; anything else
// they would do goes to the dialog thread.
bool SendStepHere(const Datagram& d)
{
    if (Get16(d.data, 0) != kCodeBlockAnswer || d.data[2] != 1)
        return false;
    s_lane.answered = true;
    g_LastSenderAddress = d.address;
    g_LastSenderPort = d.port;
    SendNextBlock(d.address, d.port);
    // The end answer, and the resends of the last block, are the dialog
    // thread's.
    s_lane.lent = !g_LastBlockSent;
    return true;
}

bool ReceiveStepHere(const Datagram& d)
{
    if (Get16(d.data, 0) != kCodeDataBlock)
        return false;
    const std::optional<BlockPacket> b = DecodeBlock(d);
    if (!b || b->last)
        return false;
    g_LastSenderAddress = d.address;
    g_LastSenderPort = d.port;
    DisarmResend();
    StoreBlock(*b);
    return true;
}

} // namespace

bool RunBlockStepHere(const Datagram& d)
{
    if (d.length < 4)
        return false;
    std::lock_guard lock(s_lane.mutex);
    if (!s_lane.lent || d.address != s_lane.address || d.port != s_lane.port)
        return false;
    return s_lane.sending ? SendStepHere(d) : ReceiveStepHere(d);
}

EngineTurn::EngineTurn()
{
    if (s_turnDepth++ == 0)
        TakeBack();
}

EngineTurn::~EngineTurn()
{
    if (--s_turnDepth == 0)
        Lend();
}
