#include "link/transfer.h"

#include "link/link_helpers.h"
#include "platform/core/files.h"
#include "tests/support/sim/LinkHarness.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

Bytes Pattern(size_t n, uint8_t salt = 0)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = uint8_t(i * 13 + salt);
    return b;
}

Bytes ReadAll(const CString& path)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::vector<Bytes> OfCode(const std::vector<Bytes>& all, uint16_t code)
{
    std::vector<Bytes> out;
    for (const Bytes& d : all)
        if (d.size() >= 2 && Get16(d.data(), 0) == code)
            out.push_back(d);
    return out;
}

struct FetchSetup {
    CLinkHarness host;
    CSimController sim{2, 0x04030201, 0, 1};
    CString folder = DataRoot() + u"/recv";
    FetchSetup()
    {
        CreateFolder(folder);
        host.Join(sim);
    }
    bool Fetch(const std::vector<CString>& remote, int maxTicks = 100)
    {
        StartReceiveBatch(remote, MachineIdAt(0), folder + u"/", u"C:\\data\\");
        return host.RunUntil([] { return g_TransferState == 0; }, maxTicks);
    }
};

} // namespace

TEST(TransferReceive, FetchWritesTheFileAfterItsDigestMatches)
{
    FetchSetup s;
    s.sim.PutFile("C:\\data\\x.nc", Pattern(1500));
    ASSERT_TRUE(s.Fetch({u"C:\\data\\x.nc"}));
    EXPECT_EQ(ReadAll(s.folder + u"/x.nc"), Pattern(1500));

    const auto requests = OfCode(s.sim.Received(), kCodeFetchRequest);
    ASSERT_EQ(requests.size(), 1u);
    const std::string target = NativePath(s.folder + u"/x.nc");
    EXPECT_EQ(Get32(requests[0].data(), 6), 13u); // "C:\data\x.nc" and its zero
    EXPECT_EQ(Get32(requests[0].data(), 10), target.size() + 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(requests[0].data() + 14)), "C:\\data\\x.nc");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(requests[0].data() + 27)), target);
    EXPECT_EQ(requests[0].size(), 14 + 13 + target.size() + 1);

    EXPECT_TRUE(s.host.display.HasLog("端A1--接收：1/1 "));
    EXPECT_TRUE(s.host.display.HasLog("接收完成"));
    EXPECT_EQ(s.host.display.status, "提示：接收完成");
    EXPECT_EQ(s.host.display.localFilesPut, std::vector<std::string>{"x.nc"});
    EXPECT_EQ(s.host.display.Cell(0, 3), "↓ 100％");
}

TEST(TransferReceive, WrongDigestKeepsTheOldFile)
{
    FetchSetup s;
    ASSERT_TRUE(WriteFileAtomic(s.folder + u"/x.nc", Pattern(300, 9)));
    s.sim.PutFile("C:\\data\\x.nc", Pattern(1500));
    s.sim.SetFaults(MakeFaults([&](SimFaults& f) { f.wrongMd5 = true; }));
    ASSERT_TRUE(s.Fetch({u"C:\\data\\x.nc"}));
    EXPECT_EQ(ReadAll(s.folder + u"/x.nc"), Pattern(300, 9));
    EXPECT_EQ(ListFolder(s.folder + u"/*").size(), 1u); // no temporary left behind
    EXPECT_TRUE(s.host.display.HasLog("端A1--接收：0/1  , 失败：1"));
    const auto ends = OfCode(s.sim.Received(), kCodeTransferEnd);
    ASSERT_FALSE(ends.empty());
    EXPECT_EQ(HexOf(ends.back()), "52 04 00 00");
    EXPECT_TRUE(s.host.display.localFilesPut.empty());
}

TEST(TransferReceive, SameFileAlreadyThereIsSkippedAsDone)
{
    FetchSetup s;
    ASSERT_TRUE(WriteFileAtomic(s.folder + u"/x.nc", Pattern(700)));
    s.sim.PutFile("C:\\data\\x.nc", Pattern(700));
    ASSERT_TRUE(s.Fetch({u"C:\\data\\x.nc"}));
    EXPECT_EQ(OfCode(s.sim.Received(), kCodeDataBlock).size(), 0u);
    EXPECT_EQ(HexOf(OfCode(s.sim.Received(), kCodeTransferEnd).at(0)), "52 04 01 00");
    EXPECT_TRUE(s.host.display.HasLog("端A1--接收：1/1 "));
}

TEST(TransferReceive, FiveBadBlocksAreAskedAgainAndTheSixthAborts)
{
    FetchSetup s;
    s.sim.PutFile("C:\\data\\x.nc", Pattern(1500));
    s.sim.SetFaults(MakeFaults([&](SimFaults& f) { f.corruptCode = kCodeDataBlock; f.corruptCount = 6; }));
    ASSERT_TRUE(s.Fetch({u"C:\\data\\x.nc"}));
    std::vector<std::string> answers;
    for (const Bytes& d : s.sim.Received()) {
        uint16_t code = Get16(d.data(), 0);
        if (code == kCodeBlockAnswer || code == kCodeTransferEnd || code == kCodeFetchRequest)
            answers.push_back(code == kCodeFetchRequest ? "1107" : HexOf(d));
    }
    ASSERT_GE(answers.size(), 8u);
    const std::vector<std::string> start = {"1107", "4F 04 02 00", "4F 04 02 00", "4F 04 02 00", "4F 04 02 00",
                                            "4F 04 02 00", "52 04 00 00", "1107"};
    EXPECT_EQ(std::vector<std::string>(answers.begin(), answers.begin() + 8), start);
    // The second request goes through.
    EXPECT_EQ(ReadAll(s.folder + u"/x.nc"), Pattern(1500));
    EXPECT_TRUE(s.host.display.HasLog("端A1--接收：1/1 "));
}

TEST(TransferReceive, AFileThatKeepsFailingIsAskedForThreeTimes)
{
    FetchSetup s;
    s.sim.PutFile("C:\\data\\x.nc", Pattern(1500));
    s.sim.SetFaults(MakeFaults([&](SimFaults& f) { f.corruptCode = kCodeDataBlock; f.corruptCount = 1000; }));
    ASSERT_TRUE(s.Fetch({u"C:\\data\\x.nc"}, 200));
    EXPECT_EQ(s.sim.CountReceived(kCodeFetchRequest), 3);
    EXPECT_FALSE(FileExists(s.folder + u"/x.nc"));
    EXPECT_TRUE(s.host.display.HasLog("端A1--接收：0/1  , 失败：1"));
}

TEST(TransferReceive, HeaderForAnotherPathIsRefusedAndNothingWritten)
{
    FetchSetup s;
    s.sim.PutFile("C:\\data\\x.nc", Pattern(100));
    const CString elsewhere = DataRoot() + u"/evil.nc";
    s.sim.SetFaults(MakeFaults([&](SimFaults& f) { f.headerPath = NativePath(elsewhere); }));
    StartReceiveBatch({u"C:\\data\\x.nc"}, MachineIdAt(0), s.folder + u"/", u"C:\\data\\");
    ASSERT_TRUE(s.host.RunUntil([&] { return s.sim.CountReceived(kCodeHeaderAnswer) == 1; }, 10));
    // The fetch still waits for its own header, until its time runs out.
    EXPECT_EQ(g_BatchFileIndex, 0);
    s.host.Tick(400);
    ASSERT_TRUE(s.host.RunUntil([] { return g_TransferState == 0; }, 5));
    EXPECT_FALSE(FileExists(elsewhere));
    EXPECT_FALSE(FileExists(s.folder + u"/x.nc"));
    EXPECT_EQ(HexOf(OfCode(s.sim.Received(), kCodeHeaderAnswer).at(0)), "4D 04 00 00");
    EXPECT_TRUE(s.host.display.HasLog("端A1--接收：0/1  , 失败：1"));
}

TEST(TransferReceive, UnaskedHeaderIsRefusedWithoutTouchingAnything)
{
    FetchSetup s;
    uint8_t md5[16] = {};
    char path[256] = {};
    const std::string target = NativePath(DataRoot() + u"/planted.nc");
    std::memcpy(path, target.data(), target.size());
    Packet header = MakeFileHeader(10, 0, md5, 0, path);
    s.sim.SendRaw(Bytes(header.data, header.data + header.length));
    ASSERT_TRUE(s.host.Pump([&] { return s.sim.CountReceived(kCodeHeaderAnswer) == 1; }));
    EXPECT_EQ(HexOf(OfCode(s.sim.Received(), kCodeHeaderAnswer).at(0)), "4D 04 00 00");
    EXPECT_FALSE(g_HasReceiveBuffer);
    EXPECT_FALSE(FileExists(DataRoot() + u"/planted.nc"));
}

TEST(TransferReceive, UnansweredFetchTimesOutAfterFourHundredTicks)
{
    FetchSetup s;
    s.sim.SetFaults(MakeFaults([&](SimFaults& f) { f.silent = true; }));
    StartReceiveBatch({u"C:\\data\\x.nc"}, MachineIdAt(0), s.folder + u"/", u"C:\\data\\");
    s.host.Tick(1);
    EXPECT_EQ(g_StepCountdown, 400);
    s.host.Tick(399);
    EXPECT_EQ(g_BatchFileIndex, 0);
    s.host.Tick(1);
    EXPECT_EQ(g_BatchFileIndex, 1);
    EXPECT_EQ(g_Machines[0].receiveTimeouts, 1);
}

TEST(TransferReceive, RepeatedHeaderGetsTheSameAnswerWhenTheFirstWasLost)
{
    FetchSetup s;
    s.sim.PutFile("C:\\data\\x.nc", Pattern(1500));
    s.sim.SetFaults(MakeFaults([&](SimFaults& f) {
        f.loseInCode = kCodeHeaderAnswer;
        f.loseInCount = 1;
        f.headerRepeatMs = 20;
    }));
    ASSERT_TRUE(s.Fetch({u"C:\\data\\x.nc"}));
    EXPECT_EQ(ReadAll(s.folder + u"/x.nc"), Pattern(1500));
    // Two headers, each answered "accepted"; the transfer itself ran once.
    const auto answers = OfCode(s.sim.Received(), kCodeHeaderAnswer);
    ASSERT_EQ(answers.size(), 1u); // the first one was lost on the way
    EXPECT_EQ(HexOf(answers[0]), "4D 04 01 00");
    EXPECT_EQ(s.sim.CountReceived(kCodeFetchRequest), 1);
    EXPECT_TRUE(s.host.display.HasLog("端A1--接收：1/1 "));
}

TEST(TransferReceive, StrayHeaderIsRefusedAndTheFetchGoesOn)
{
    FetchSetup s;
    s.sim.PutFile("C:\\data\\x.nc", Pattern(900));
    const CString elsewhere = s.folder + u"/old.nc";
    s.sim.SetFaults(MakeFaults([&](SimFaults& f) { f.strayHeaderPath = NativePath(elsewhere); }));
    ASSERT_TRUE(s.Fetch({u"C:\\data\\x.nc"}));
    const auto answers = OfCode(s.sim.Received(), kCodeHeaderAnswer);
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(HexOf(answers[0]), "4D 04 00 00");
    EXPECT_EQ(HexOf(answers[1]), "4D 04 01 00");
    EXPECT_EQ(ReadAll(s.folder + u"/x.nc"), Pattern(900));
    EXPECT_FALSE(FileExists(elsewhere));
    EXPECT_TRUE(s.host.display.HasLog("端A1--接收：1/1 "));
}
