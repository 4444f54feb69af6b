#include "link/transfer.h"

#include "platform/core/files.h"
#include "tests/support/sim/LinkHarness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

Bytes Pattern(size_t n, uint32_t seed)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = uint8_t((i * 31 + seed * 17) ^ (i >> 5));
    return b;
}

Bytes ReadAll(const CString& path)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

SimFaults Lossy(uint32_t seed)
{
    return MakeFaults([&](SimFaults& f) {
        f.dropRate = 0.1;
        f.dropInRate = 0.1;
        f.duplicateRate = 0.1;
        f.seed = seed;
    });
}

const size_t kSizes[] = {300, 1500, 6000};

} // namespace

// Every outcome must be honest: a file counted as done is there, whole.
TEST(Loss, SendUnderLossAndDuplicatesNeverClaimsAFileNotWritten)
{
    int done = 0, runs = 0;
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        for (size_t size : kSizes) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << ", " << size << " bytes");
            CLinkHarness host;
            CSimController sim(2, 0x11, 0, 1);
            host.Join(sim);
            sim.SetFaults(Lossy(seed));
            const Bytes content = Pattern(size, seed);
            const CString local = DataRoot() + u"/s.bin";
            ASSERT_TRUE(WriteFileAtomic(local, content));
            StartSendBatch({local}, {MachineIdAt(0)}, DataRoot() + u"/", u"C:\\d\\");
            ASSERT_TRUE(host.RunUntil([] { return g_TransferState == 0; }, 2000, 2));
            Bytes stored;
            const bool claimed = host.display.HasLog("端A1--完成：1/1");
            const bool there = sim.GetFile("C:\\d\\s.bin", stored);
            if (claimed) {
                ASSERT_TRUE(there);
                EXPECT_EQ(stored, content);
                ++done;
            } else {
                EXPECT_TRUE(host.display.HasLog("端A1--完成：0/1  , 失败：1"));
                EXPECT_TRUE(host.display.remoteFilesPut.empty());
            }
            ++runs;
        }
    }
    std::printf("send under loss: %d of %d files done, the rest failed cleanly\n", done, runs);
    EXPECT_GT(done, 0);
}

TEST(Loss, FetchUnderLossAndDuplicatesWritesOnlyVerifiedFiles)
{
    int done = 0, runs = 0;
    for (uint32_t seed = 11; seed <= 14; ++seed) {
        for (size_t size : kSizes) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << ", " << size << " bytes");
            CLinkHarness host;
            CSimController sim(2, 0x11, 0, 1);
            host.Join(sim);
            const CString folder = DataRoot() + u"/recv";
            CreateFolder(folder);
            const Bytes old = Pattern(100, 99);
            ASSERT_TRUE(WriteFileAtomic(folder + u"/f.bin", old));
            const Bytes content = Pattern(size, seed);
            sim.PutFile("C:\\d\\f.bin", content);
            sim.SetFaults(Lossy(seed));
            StartReceiveBatch({u"C:\\d\\f.bin"}, MachineIdAt(0), folder + u"/", u"C:\\d\\");
            ASSERT_TRUE(host.RunUntil([] { return g_TransferState == 0; }, 3000, 2));
            const Bytes now = ReadAll(folder + u"/f.bin");
            if (host.display.HasLog("端A1--接收：1/1 ")) {
                EXPECT_EQ(now, content);
                ++done;
            } else {
                EXPECT_EQ(now, old);
                EXPECT_TRUE(host.display.localFilesPut.empty());
            }
            EXPECT_EQ(ListFolder(folder + u"/*").size(), 1u);
            ++runs;
        }
    }
    std::printf("fetch under loss: %d of %d files done, the rest failed cleanly\n", done, runs);
    EXPECT_GT(done, 0);
}

TEST(Loss, DelayedTruncatedAndOversizedDatagramsAreSurvived)
{
    CLinkHarness host;
    CSimController sim(2, 0x11, 0, 1);
    host.Join(sim);
    const CString folder = DataRoot() + u"/recv";
    CreateFolder(folder);
    const Bytes content = Pattern(3000, 5);
    sim.PutFile("C:\\d\\f.bin", content);
    // The first block arrives cut in half, the header answer comes late and
    // one datagram is too long to be received at all.
    sim.SetFaults(MakeFaults([](SimFaults& f) {
        f.truncateCode = kCodeDataBlock;
        f.delayMs = 5;
    }));
    StartReceiveBatch({u"C:\\d\\f.bin"}, MachineIdAt(0), folder + u"/", u"C:\\d\\");
    ASSERT_TRUE(host.RunUntil([] { return g_TransferState == 0; }, 200, 10));
    EXPECT_EQ(ReadAll(folder + u"/f.bin"), content);
    EXPECT_TRUE(host.display.HasLog("端A1--接收：1/1 "));

    sim.SetFaults(MakeFaults([](SimFaults& f) { f.oversizeNext = true; }));
    sim.Announce(2);
    host.Settle(30);
    EXPECT_EQ(g_Machines[0].state, 0);
    sim.Announce(2);
    ASSERT_TRUE(host.Pump([] { return g_Machines[0].state == 2; }));
}
