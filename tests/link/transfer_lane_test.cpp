#include "link/transfer.h"

#include "platform/core/files.h"
#include "tests/support/sim/LinkHarness.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

// Big enough that the blocks still flow when the test steps in.
constexpr size_t kBigFile = 4 * 1024 * 1024;

const Bytes kAnswerOne = {0x4F, 0x04, 0x01, 0x00}; // 1103, status 1
const Bytes kEndFailed = {0x52, 0x04, 0x00, 0x00}; // 1106, status 0

Bytes Pattern(size_t n)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = uint8_t(i * 11 + 5);
    return b;
}

void WaitWithoutDialogThread(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

struct LaneSetup {
    CLinkHarness host;
    CSimController sim{2, 0x04030201, 0, 1};
    LaneSetup() { host.Join(sim); }

    // A big file on its way, blocks flowing.
    void StartSend()
    {
        const CString path = DataRoot() + u"/big.bin";
        ASSERT_TRUE(WriteFileAtomic(path, Pattern(kBigFile)));
        StartSendBatch({path}, {MachineIdAt(0)}, DataRoot() + u"/", u"C:\\data\\");
        host.Tick();
        ASSERT_TRUE(host.Pump([&] { return sim.CountReceived(kCodeDataBlock) >= 20; }));
    }
};

} // namespace

TEST(TransferLane, AnAnswerWaitsBehindADatagramQueuedBeforeIt)
{
    LaneSetup s;
    ASSERT_NO_FATAL_FAILURE(s.StartSend());
    s.sim.SetFaults(MakeFaults([](SimFaults& f) { f.silent = true; }));
    s.host.Settle(30);
    const int before = s.sim.CountReceived(kCodeDataBlock);

    // Alone, an answer is run by the receive thread: the next block goes
    // while the dialog thread sleeps.
    s.sim.SendRaw(kAnswerOne);
    ASSERT_TRUE(s.sim.WaitReceived(kCodeDataBlock, before + 1, 2000));

    // Behind an end that waits for the dialog thread, it waits too: the end
    // closes the file first, and the answer then asks for nothing.
    s.sim.SendRaw(kEndFailed);
    s.sim.SendRaw(kAnswerOne);
    WaitWithoutDialogThread(50);
    EXPECT_EQ(s.sim.CountReceived(kCodeDataBlock), before + 1);
    s.host.Settle(30);
    EXPECT_EQ(s.sim.CountReceived(kCodeDataBlock), before + 1);
    EXPECT_FALSE(g_SendFileOpen);
    EXPECT_GE(s.sim.CountReceived(kCodeTransferEnd), 1);
}

TEST(TransferLane, StopTakesTheTransferBackFromTheReceiveThread)
{
    struct Case {
        const char* name;
        bool fetch;
        uint16_t hostStep; // what the host sends per block
    };
    const Case kCases[] = {
        {"sending", false, kCodeDataBlock},
        {"fetching", true, kCodeBlockAnswer},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        LaneSetup s;
        const CString folder = DataRoot() + u"/recv";
        if (c.fetch) {
            CreateFolder(folder);
            s.sim.PutFile("C:\\data\\big.bin", Pattern(kBigFile));
            StartReceiveBatch({u"C:\\data\\big.bin"}, MachineIdAt(0), folder + u"/", u"C:\\data\\");
            s.host.Tick();
            ASSERT_TRUE(s.host.Pump([&] { return s.sim.CountReceived(kCodeBlockAnswer) >= 20; }));
        } else {
            ASSERT_NO_FATAL_FAILURE(s.StartSend());
        }
        // The buffers go with the stop; a step still running on them would
        // write or read freed memory.
        StopTransfer();
        s.host.Settle(30);
        const int steps = s.sim.CountReceived(c.hostStep);
        s.host.Settle(50);
        EXPECT_EQ(s.sim.CountReceived(c.hostStep), steps);
        EXPECT_EQ(g_TransferState, 0);
        Bytes stored;
        if (c.fetch)
            EXPECT_FALSE(FileExists(folder + u"/big.bin"));
        else
            EXPECT_FALSE(s.sim.GetFile("C:\\data\\big.bin", stored));
    }
}
