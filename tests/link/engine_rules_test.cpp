#include "link/dispatch.h"

#include "link/machine_table.h"
#include "link/transfer.h"
#include "platform/core/files.h"
#include "tests/support/sim/LinkHarness.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace {

std::vector<Bytes> OfCode(const std::vector<Bytes>& all, uint16_t code)
{
    std::vector<Bytes> out;
    for (const Bytes& d : all)
        if (d.size() >= 2 && Get16(d.data(), 0) == code)
            out.push_back(d);
    return out;
}

CString LocalFile(const char* name, size_t size)
{
    CString path = DataRoot() + u"/" + CString(name);
    EXPECT_TRUE(WriteFileAtomic(path, std::string(size, 'z')));
    return path;
}

} // namespace

TEST(EngineRules, DeleteGoesToTheSelectedMachineAfterAResort)
{
    CLinkHarness host;
    CSimController b1(2, 0x22, 1, 1), a1(3, 0x11, 0, 1);
    host.Join(b1);
    SelectMachineRow(0, 0);
    host.Join(a1); // sorted in ahead of B1: B1 is row 1 now
    ASSERT_EQ(GetMachineName(1), CString(u"端B1"));
    ASSERT_TRUE(SendRemoteDelete(u"C:\\data\\x.nc", 2, 7));
    ASSERT_TRUE(host.Pump([&] { return b1.CountReceived(kCodeRemoteDelete) == 1 && host.display.status == "提示：删除成功"; }));
    EXPECT_EQ(a1.CountReceived(kCodeRemoteDelete), 0);
    const Bytes request = OfCode(b1.Received(), kCodeRemoteDelete).at(0);
    EXPECT_EQ(HexOf(Bytes(request.begin() + 6, request.begin() + 12)), "02 00 07 00 00 00");
}

TEST(EngineRules, MkdirResultAndProcessTableNotice)
{
    CLinkHarness host;
    CSimController a1(2, 0x11, 0, 1);
    host.Join(a1);
    SelectMachineRow(0, 0);
    ASSERT_TRUE(SendRemoteMkdir(u"U:\\new", 0));
    ASSERT_TRUE(host.Pump([&] { return host.display.status == "提示：创建成功"; }));
    a1.SendRaw({0x7A, 0x05, 0x03, 0x00, 0x0C, 0x00, 0x00, 0x00});
    ASSERT_TRUE(host.Pump([&] { return host.display.HasLog("端A1  工艺数据表类型 3 更新完成..数量 12"); }));
}

TEST(EngineRules, DamagedHeaderIsSentAgainTwiceThenTheFileFails)
{
    CLinkHarness host;
    CSimController a1(2, 0x11, 0, 1);
    host.Join(a1);
    a1.SetFaults(MakeFaults([](SimFaults& f) { f.headerAnswer = 0; }));
    StartSendBatch({LocalFile("a.nc", 50)}, {MachineIdAt(0)}, DataRoot() + u"/", u"C:\\");
    ASSERT_TRUE(host.RunUntil([] { return g_TransferState == 0; }, 20));
    const auto headers = OfCode(a1.Received(), kCodeFileHeader);
    ASSERT_EQ(headers.size(), 3u);
    EXPECT_EQ(headers[1], headers[0]);
    EXPECT_EQ(headers[2], headers[0]);
    EXPECT_TRUE(host.display.HasLog("端A1--完成：0/1  , 失败：1"));
}

TEST(EngineRules, BadBlockAnswersRepeatTheBlockThreeTimes)
{
    CLinkHarness host;
    CSimController a1(2, 0x11, 0, 1);
    host.Join(a1);
    // Every block is damaged on the way: the machine asks again each time.
    a1.SetFaults(MakeFaults([](SimFaults& f) { f.dropCode = kCodeBlockAnswer; }));
    StartSendBatch({LocalFile("a.nc", 2000)}, {MachineIdAt(0)}, DataRoot() + u"/", u"C:\\");
    host.Tick();
    ASSERT_TRUE(host.Pump([&] { return a1.CountReceived(kCodeDataBlock) == 1; }));
    for (int i = 0; i < 4; ++i)
        a1.SendRaw({0x4F, 0x04, 0x02, 0x00});
    ASSERT_TRUE(host.Pump([&] { return a1.CountReceived(kCodeTransferEnd) == 1; }));
    const auto blocks = OfCode(a1.Received(), kCodeDataBlock);
    ASSERT_EQ(blocks.size(), 4u);
    for (const Bytes& b : blocks)
        EXPECT_EQ(Get32(b.data(), 6), 0u);
    EXPECT_EQ(HexOf(OfCode(a1.Received(), kCodeTransferEnd).at(0)), "52 04 00 00");
    EXPECT_EQ(g_BatchFileIndex, 1);
}

TEST(EngineRules, LastBlockWaitsFiveHundredTicks)
{
    CLinkHarness host;
    CSimController a1(2, 0x11, 0, 1);
    host.Join(a1);
    a1.SetFaults(MakeFaults([](SimFaults& f) { f.dropCode = kCodeTransferEnd; }));
    StartSendBatch({LocalFile("a.nc", 100)}, {MachineIdAt(0)}, DataRoot() + u"/", u"C:\\");
    host.Tick();
    ASSERT_TRUE(host.Pump([&] { return a1.CountReceived(kCodeDataBlock) == 1; }));
    EXPECT_EQ(g_StepCountdown, 500);
}

TEST(EngineRules, ThreeFetchTimeoutsPutTheMachineOffline)
{
    CLinkHarness host;
    CSimController a1(2, 0x11, 0, 1);
    host.Join(a1);
    a1.SetFaults(MakeFaults([](SimFaults& f) { f.silent = true; }));
    CreateFolder(DataRoot() + u"/r");
    StartReceiveBatch({u"C:\\a", u"C:\\b", u"C:\\c", u"C:\\d"}, MachineIdAt(0), DataRoot() + u"/r/", u"C:\\");
    host.Tick(3 * 401);
    EXPECT_EQ(g_Machines[0].online, 0);
    EXPECT_EQ(g_Machines[0].receiveTimeouts, 0);
    EXPECT_EQ(host.display.Cell(0, 1), "-");
    host.Tick(5);
    EXPECT_EQ(g_TransferState, 0);
    EXPECT_TRUE(host.display.HasLog("端A1--接收：0/4  , 失败：4"));
}

TEST(EngineRules, OfferOfAQueuedPathIsAnsweredTwo)
{
    CLinkHarness host;
    CSimController a1(2, 0x11, 0, 1);
    host.Join(a1);
    // The offer stays queued while a batch runs.
    StartSendBatch({}, {}, DataRoot() + u"/", u"C:\\");
    g_StepCountdown = 50;
    a1.Offer("C:\\data\\o.nc");
    a1.Offer("C:\\data\\o.nc");
    ASSERT_TRUE(host.Pump([&] { return a1.CountReceived(kCodeOfferAnswer) == 2; }));
    const auto answers = OfCode(a1.Received(), kCodeOfferAnswer);
    EXPECT_EQ(answers[0][2], 1);
    EXPECT_EQ(HexOf(answers[1]), "16 05 02 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(g_OfferQueue.size(), 1u);
}

TEST(EngineRules, AnswersFromOtherMachinesOrOutsideATransferAreNotTaken)
{
    CLinkHarness host;
    CSimController a1(2, 0x11, 0, 1), b1(3, 0x22, 1, 1);
    host.Join(a1);
    host.Join(b1);
    a1.SetFaults(MakeFaults([](SimFaults& f) { f.silent = true; }));
    StartSendBatch({LocalFile("a.nc", 2000)}, {MachineIdAt(0)}, DataRoot() + u"/", u"C:\\");
    host.Tick();
    ASSERT_TRUE(g_SendFileOpen);
    // B1 answers for A1's file: nothing moves.
    b1.SendRaw({0x4D, 0x04, 0x01, 0x00});
    b1.SendRaw({0x52, 0x04, 0x01, 0x00});
    host.Settle();
    EXPECT_FALSE(g_HeaderAnswered);
    EXPECT_EQ(g_BatchFileIndex, 0);
    EXPECT_EQ(g_BatchOkCount, 0);
    EXPECT_EQ(b1.CountReceived(kCodeDataBlock), 0);
    // A 1106 while nothing is in transfer counts for nothing either.
    StopTransfer();
    a1.SendRaw({0x52, 0x04, 0x01, 0x00});
    host.Settle();
    EXPECT_EQ(g_BatchOkCount, 0);
}

TEST(EngineRules, NumberDialogRequestSendsTheNewName)
{
    CLinkHarness host;
    CSimController a1(2, 0x11, 0, 1);
    host.Join(a1);
    SelectMachineRow(0, 0);
    host.display.askAnswer = true;
    host.display.askLetter = 3;
    host.display.askNumber = 9;
    g_NumberDialogRequest = 100;
    host.Tick();
    ASSERT_TRUE(host.Pump([] { return GetMachineName(0) == CString(u"端D9"); }));
    EXPECT_EQ(HexOf(OfCode(a1.Received(), kCodeSetNumber).at(0)), "15 05 03 09");
}

TEST(EngineRules, RelayWithNoOtherCheckedMachineEndsAtOnce)
{
    CLinkHarness host;
    CSimController a1(2, 0x11, 0, 1), b1(3, 0x22, 1, 1);
    host.Join(a1);
    host.Join(b1);
    host.display.SetMachineRowChecked(1, false);
    a1.PutFile("C:\\x.nc", Bytes(10, 1));
    a1.Offer("C:\\x.nc");
    ASSERT_TRUE(host.RunUntil([&] { return a1.Messages().size() >= 4; }, 60));
    EXPECT_EQ(a1.Messages(), (std::vector<std::string>{"端A1--上传：1/1   文件：x.nc", "文件上传完成,等待主控传输......",
                                                       "开始传输文件到其它机器.......", "传输完成"}));
    EXPECT_EQ(b1.CountReceived(kCodeFileHeader), 0);
}

TEST(EngineRules, AnExceptionInAHandlerIsLoggedAndTheDialogGoesOn)
{
    CLinkHarness host;
    CSimController a1(2, 0x11, 0, 1);
    host.Join(a1);
    a1.SetListing("C:\\d", {{2, 1, "a.nc"}});
    std::strcpy(g_Machines[0].rememberedFolder, "C:\\d");
    host.display.failRemoteEntries = true;
    SelectMachineRow(0, 0);
    ASSERT_TRUE(host.Pump([&] { return host.display.listingsEnded == 1; }));
    EXPECT_TRUE(host.display.HasLog("错误：code:-2  list view is gone"));
}

TEST(EngineRules, UnansweredListingIsAskedOnceMoreByTheTimer)
{
    CLinkHarness host;
    CSimController a1(2, 0x11, 0, 1);
    host.Join(a1);
    a1.SetFaults(MakeFaults([](SimFaults& f) { f.silent = true; }));
    SelectMachineRow(0, 0);
    g_RelistCount = 1;
    host.Tick(5);
    host.Settle();
    EXPECT_EQ(a1.CountReceived(kCodeListDir), 1);
    host.Tick(1);
    ASSERT_TRUE(host.Pump([&] { return a1.CountReceived(kCodeListDir) == 2; }));
    host.Tick(20);
    host.Settle();
    EXPECT_EQ(a1.CountReceived(kCodeListDir), 2);
}
