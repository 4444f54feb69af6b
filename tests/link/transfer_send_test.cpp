#include "link/transfer.h"

#include "link/link_helpers.h"
#include "platform/core/files.h"
#include "platform/net/CUdpSocket.h"
#include "platform/net/ipv4.h"
#include "shared/CMD5Checksum.h"
#include "tests/support/sim/LinkHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

Bytes Pattern(size_t n)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = uint8_t(i * 7 + 3);
    return b;
}

CString WriteLocal(const char* name, const Bytes& content)
{
    CString path = DataRoot() + u"/" + CString(name);
    EXPECT_TRUE(WriteFileAtomic(path, content));
    return path;
}

std::vector<Bytes> OfCode(const std::vector<Bytes>& all, uint16_t code)
{
    std::vector<Bytes> out;
    for (const Bytes& d : all)
        if (d.size() >= 2 && Get16(d.data(), 0) == code)
            out.push_back(d);
    return out;
}

struct SendSetup {
    CLinkHarness host;
    CSimController sim{2, 0x04030201, 0, 1};
    SendSetup() { host.Join(sim); }
    bool Send(const CString& path)
    {
        StartSendBatch({path}, {MachineIdAt(0)}, DataRoot() + u"/", u"C:\\data\\");
        return host.RunUntil([] { return g_TransferState == 0; }, 200);
    }
};

} // namespace

TEST(TransferSend, SixHundredBytesGoAsExactHeaderAndTwoBlocks)
{
    SendSetup s;
    const Bytes content = Pattern(600);
    CString path = WriteLocal("part.nc", content);
    ASSERT_TRUE(s.Send(path));

    const auto received = s.sim.Received();
    const auto headers = OfCode(received, kCodeFileHeader);
    ASSERT_EQ(headers.size(), 1u);
    // The header written out field by field.
    Bytes expected(290, 0);
    expected[0] = 0x4C;
    expected[1] = 0x04;
    expected[6] = 0x58; // 600
    expected[7] = 0x02;
    MD5OfBuffer(expected.data() + 14, content.size(), content.data());
    const uint32_t tick = Get32(headers[0].data(), 30);
    std::memcpy(expected.data() + 30, &tick, 4);
    std::memcpy(expected.data() + 34, "C:\\data\\part.nc", 15);
    const uint32_t crc = Crc32(expected.data() + 6, 284);
    std::memcpy(expected.data() + 2, &crc, 4);
    EXPECT_EQ(HexOf(headers[0]), HexOf(expected));

    const auto blocks = OfCode(received, kCodeDataBlock);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].size(), 540u);
    EXPECT_EQ(blocks[1].size(), 96u);
    EXPECT_EQ(HexOf(Bytes(blocks[0].begin() + 6, blocks[0].begin() + 18)), "00 00 00 00 0A 02 00 00 00 00 00 00");
    EXPECT_EQ(HexOf(Bytes(blocks[1].begin() + 6, blocks[1].begin() + 18)), "0A 02 00 00 4E 00 00 00 01 00 00 00");

    Bytes stored;
    ASSERT_TRUE(s.sim.GetFile("C:\\data\\part.nc", stored));
    EXPECT_EQ(stored, content);
    EXPECT_TRUE(s.host.display.HasLog("端A1--完成：1/1"));
    EXPECT_TRUE(s.host.display.HasLog("传输完成"));
    EXPECT_TRUE(s.host.display.HasLog(std::string(44, '-')));
    EXPECT_EQ(s.host.display.status, "提示：传输完成");
    EXPECT_EQ(s.host.display.Cell(0, 3), "↑ 100％");
    EXPECT_EQ(s.host.display.Cell(0, 4), "part.nc");
    EXPECT_EQ(s.host.display.remoteFilesPut, std::vector<std::string>{"part.nc"});
    EXPECT_TRUE(s.host.display.schemeComboEnabled);
    EXPECT_FALSE(s.host.display.labelEnabled);
}

TEST(TransferSend, BlockSplitsAroundOneBlock)
{
    const struct { size_t size; std::vector<std::pair<uint32_t, uint8_t>> blocks; } kCases[] = {
        {521, {{521, 1}}},
        {522, {{522, 0}, {0, 1}}},
        {523, {{522, 0}, {1, 1}}},
        {1044, {{522, 0}, {522, 0}, {0, 1}}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.size);
        SendSetup s;
        const Bytes content = Pattern(c.size);
        ASSERT_TRUE(s.Send(WriteLocal("f.bin", content)));
        const auto blocks = OfCode(s.sim.Received(), kCodeDataBlock);
        ASSERT_EQ(blocks.size(), c.blocks.size());
        for (size_t i = 0; i < blocks.size(); ++i) {
            EXPECT_EQ(Get32(blocks[i].data(), 10), c.blocks[i].first);
            EXPECT_EQ(blocks[i][14], c.blocks[i].second);
            EXPECT_EQ(blocks[i].size(), 18 + c.blocks[i].first);
        }
        Bytes stored;
        ASSERT_TRUE(s.sim.GetFile("C:\\data\\f.bin", stored));
        EXPECT_EQ(stored, content);
    }
}

TEST(TransferSend, ProgressTextWhileWaiting)
{
    SendSetup s;
    s.sim.SetFaults(MakeFaults([&](SimFaults& f) { f.silent = true; }));
    StartSendBatch({WriteLocal("a.nc", Pattern(2000))}, {MachineIdAt(0)}, DataRoot() + u"/", u"C:\\data\\");
    s.host.Tick(2);
    EXPECT_EQ(s.host.display.status, "端A1-- 传输第 1/1 个文件 0,   a.nc   ...  (0.0％)");
    EXPECT_EQ(s.host.display.Cell(0, 3), "↑ SEND...");
}

TEST(TransferSend, UnansweredHeaderGivesUpAfterOneHundredTicks)
{
    SendSetup s;
    s.sim.SetFaults(MakeFaults([&](SimFaults& f) { f.silent = true; }));
    StartSendBatch({WriteLocal("a.nc", Pattern(100))}, {MachineIdAt(0)}, DataRoot() + u"/", u"C:\\data\\");
    s.host.Tick(1); // header out, 100 ticks to wait
    EXPECT_EQ(g_StepCountdown, 100);
    s.host.Tick(99);
    EXPECT_EQ(g_BatchFileIndex, 0);
    s.host.Tick(1);
    EXPECT_EQ(g_BatchFileIndex, 1);
    s.host.Tick(2);
    EXPECT_EQ(g_TransferState, 0);
    EXPECT_TRUE(s.host.display.HasLog("端A1--完成：0/1  , 失败：1"));
}

TEST(TransferSend, LastBlockIsResentThreeTicksApartTwice)
{
    SendSetup s;
    // The machine's end-of-file answers are lost.
    s.sim.SetFaults(MakeFaults([&](SimFaults& f) { f.dropCode = kCodeTransferEnd; }));
    StartSendBatch({WriteLocal("a.nc", Pattern(100))}, {MachineIdAt(0)}, DataRoot() + u"/", u"C:\\data\\");
    s.host.Tick(1);
    ASSERT_TRUE(s.host.Pump([&] { return s.sim.CountReceived(kCodeDataBlock) == 1; }));
    s.host.Tick(2);
    s.host.Settle();
    EXPECT_EQ(s.sim.CountReceived(kCodeDataBlock), 1);
    s.host.Tick(1);
    EXPECT_TRUE(s.sim.WaitReceived(kCodeDataBlock, 2, 2000));
    s.host.Tick(2);
    s.host.Settle();
    EXPECT_EQ(s.sim.CountReceived(kCodeDataBlock), 2);
    s.host.Tick(1);
    EXPECT_TRUE(s.sim.WaitReceived(kCodeDataBlock, 3, 2000));
    s.host.Tick(10);
    s.host.Settle();
    EXPECT_EQ(s.sim.CountReceived(kCodeDataBlock), 3);
}

TEST(TransferSend, DiskFullSkipsTheRestForThatMachine)
{
    SendSetup s;
    SimFaults f;
    f.headerAnswer = 5;
    s.sim.SetFaults(f);
    std::vector<CString> files = {WriteLocal("a.nc", Pattern(10)), WriteLocal("b.nc", Pattern(20)), WriteLocal("c.nc", Pattern(30))};
    StartSendBatch(files, {MachineIdAt(0)}, DataRoot() + u"/", u"C:\\data\\");
    ASSERT_TRUE(s.host.RunUntil([] { return g_TransferState == 0; }, 50));
    EXPECT_EQ(s.sim.CountReceived(kCodeFileHeader), 1);
    EXPECT_TRUE(s.host.display.HasLog("*远程系统盘已满"));
    EXPECT_TRUE(s.host.display.HasLog("端A1--完成：0/3  , 失败：3"));
}

TEST(TransferSend, EchoOfAnOldLastBlockDoesNotEndTheNextFile)
{
    SendSetup s;
    std::vector<CString> files = {WriteLocal("a.nc", Pattern(100)), WriteLocal("b.nc", Pattern(3000))};
    s.sim.SetFaults(MakeFaults([&](SimFaults& f) { f.duplicateRate = 1.0; }));
    StartSendBatch(files, {MachineIdAt(0)}, DataRoot() + u"/", u"C:\\data\\");
    ASSERT_TRUE(s.host.RunUntil([] { return g_TransferState == 0; }, 300));
    Bytes stored;
    ASSERT_TRUE(s.sim.GetFile("C:\\data\\b.nc", stored));
    EXPECT_EQ(stored, Pattern(3000));
    EXPECT_TRUE(s.host.display.HasLog("端A1--完成：2/2"));
}

// The simulated controller keeps a file only when its blocks give the
// header's digest, whether they came in order (hashed as they arrive) or
// with a block repeated (hashed whole at the end): the send tests trust it.
TEST(TransferSend, TheSimulatedControllerKeepsOnlyAFileOfTheHeadersDigest)
{
    const Bytes content = Pattern(1500);
    uint8_t right[16];
    MD5OfBuffer(right, content.size(), content.data());
    uint8_t wrong[16];
    std::memcpy(wrong, right, 16);
    wrong[15] ^= 1;
    const struct {
        const char* name;
        const uint8_t* md5;
        bool repeatFirstBlock;
        int end;
    } kCases[] = {
        {"in order, right digest", right, false, 1},
        {"in order, wrong digest", wrong, false, 0},
        {"a block twice, right digest", right, true, 1},
        {"a block twice, wrong digest", wrong, true, 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        CUdpSocket host;
        ASSERT_EQ(host.Open(MakeIPv4(127, 0, 0, 1), 0), 1);
        CSimController sim{2, 0x11, 0, 1};
        ASSERT_TRUE(sim.Start(host.LocalAddress(), host.LocalPort()));
        auto send = [&](const Packet& p) { host.SendTo(p.data, size_t(p.length), sim.Address(), sim.Port()); };
        char path[kHeaderPathSize] = "C:\\x.nc";
        send(MakeFileHeader(uint32_t(content.size()), 0, c.md5, 0, path));
        ASSERT_TRUE(sim.WaitReceived(kCodeFileHeader, 1, 2000));
        int blocks = 0;
        for (uint32_t at = 0; at < content.size(); at += kMaxBlockData) {
            const int n = int(std::min<size_t>(kMaxBlockData, content.size() - at));
            const Packet block = MakeDataBlock(at, content.data() + at, n, at + n >= content.size());
            send(block);
            if (at == 0 && c.repeatFirstBlock)
                send(block);
            blocks += at == 0 && c.repeatFirstBlock ? 2 : 1;
            ASSERT_TRUE(sim.WaitReceived(kCodeDataBlock, blocks, 2000));
        }
        for (int i = 0; i < 200 && sim.SentEnds().empty(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(sim.SentEnds(), std::vector<int>{c.end});
        Bytes stored;
        EXPECT_EQ(sim.GetFile("C:\\x.nc", stored), c.end == 1);
        sim.Stop();
    }
}
