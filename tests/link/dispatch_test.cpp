#include "link/dispatch.h"

#include "link/link_helpers.h"
#include "link/machine_table.h"
#include "link/transfer.h"
#include "platform/core/files.h"
#include "tests/support/sim/LinkHarness.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::vector<Bytes> OfCode(const std::vector<Bytes>& all, uint16_t code)
{
    std::vector<Bytes> out;
    for (const Bytes& d : all)
        if (d.size() >= 2 && Get16(d.data(), 0) == code)
            out.push_back(d);
    return out;
}

std::vector<std::string> ListAcks(const CSimController& sim)
{
    std::vector<std::string> acks;
    for (const Bytes& d : sim.Received())
        if (Get16(d.data(), 0) == kCodeListAck)
            acks.push_back(HexOf(d));
    return acks;
}

} // namespace

TEST(Listing, HeaderAndPageAreAnsweredAndEntriesShown)
{
    CLinkHarness host;
    CSimController sim(2, 0x11, 0, 1);
    host.Join(sim);
    sim.SetListing("C:\\data", {{1, 0, "sub"}, {2, 100, "a.nc"}, {2, 5, ".."}, {2, 7, "..\\x"}});
    std::strcpy(g_Machines[0].rememberedFolder, "C:\\data");
    SelectMachineRow(0, 3);
    ASSERT_TRUE(host.Pump([&] { return host.display.listingsEnded == 1 && sim.CountReceived(kCodeListAck) == 2; }));
    Bytes request;
    for (const Bytes& d : sim.Received())
        if (Get16(d.data(), 0) == kCodeListDir)
            request = d;
    EXPECT_EQ(HexOf(request), "B1 04 03 00 43 3A 5C 64 61 74 61 00");
    EXPECT_EQ(host.display.remoteFolder, "C:\\data");
    ASSERT_EQ(host.display.remote.size(), 2u);
    EXPECT_EQ(host.display.remote[0].name, CString(u"sub"));
    EXPECT_EQ(host.display.remote[1].name, CString(u"a.nc"));
    EXPECT_EQ(host.display.remote[1].size, 100u);
    EXPECT_EQ(ListAcks(sim), (std::vector<std::string>{"B3 04 01", "B3 04 01"}));
    EXPECT_EQ(g_RelistCount, 0);
}

TEST(Listing, CorruptedPageIsAnsweredZeroAndAddsNoRow)
{
    CLinkHarness host;
    CSimController sim(2, 0x11, 0, 1);
    host.Join(sim);
    sim.SetListing("C:\\data", {{2, 100, "a.nc"}});
    sim.SetFaults(MakeFaults([](SimFaults& f) { f.corruptCode = kCodeListPage; f.corruptCount = 1; }));
    std::strcpy(g_Machines[0].rememberedFolder, "C:\\data");
    SelectMachineRow(0, 0);
    ASSERT_TRUE(host.Pump([&] { return host.display.listingsEnded == 1 && sim.CountReceived(kCodeListAck) == 2; }));
    EXPECT_TRUE(host.display.remote.empty());
    EXPECT_EQ(ListAcks(sim), (std::vector<std::string>{"B3 04 01", "B3 04 00"}));
}

TEST(Relay, OfferIsFetchedThenSentOnWithTheTextsInOrder)
{
    CLinkHarness host;
    CSimController a1(2, 0x11, 0, 1), b1(3, 0x22, 1, 1);
    host.Join(a1);
    host.Join(b1);
    const Bytes content(1200, 0x42);
    a1.PutFile("C:\\data\\r.nc", content);
    // A stale staging file of the same name must not be what is relayed.
    CreateFolder(StagingFolder());
    WriteFileAtomic(StagingFolder() + u"/r.nc", std::string_view("stale"));
    a1.Offer("C:\\data\\r.nc");
    ASSERT_TRUE(host.Pump([&] { return a1.CountReceived(kCodeOfferAnswer) == 1; }));
    Bytes answer;
    for (const Bytes& d : a1.Received())
        if (Get16(d.data(), 0) == kCodeOfferAnswer)
            answer = d;
    EXPECT_EQ(HexOf(answer), "16 05 01 00 01 00 00 00 01 00 00 00 00 00");

    Bytes relayed;
    ASSERT_TRUE(host.RunUntil([&] { return g_TransferState == 0 && g_OfferQueue.empty() && b1.GetFile("C:\\data\\r.nc", relayed); }, 100));
    host.RunUntil([] { return false; }, 3);
    EXPECT_EQ(relayed, content);
    // The fetch names the offered file, in a staging folder of its own.
    const Bytes fetch = OfCode(a1.Received(), kCodeFetchRequest).at(0);
    const std::string target(reinterpret_cast<const char*>(fetch.data() + 14 + Get32(fetch.data(), 6)));
    const std::string staging = NativePath(StagingFolder()) + "/";
    ASSERT_EQ(target.compare(0, staging.size(), staging), 0) << target;
    const std::string inside = target.substr(staging.size());
    EXPECT_EQ(inside.substr(inside.find('/')), "/r.nc") << target;
    // Nothing of the relay stays behind.
    EXPECT_FALSE(FileExists(CString::FromUtf8(target)));
    EXPECT_FALSE(FolderExists(GetPathHead(CString::FromUtf8(target))));
    EXPECT_EQ(a1.Messages(), (std::vector<std::string>{
        "端A1--上传：1/1   文件：r.nc",
        "文件上传完成,等待主控传输......",
        "开始传输文件到其它机器.......",
        "端B1--完成：1/1 文件：r.nc",
        "传输完成",
    }));
    EXPECT_TRUE(b1.Messages().empty());
}

TEST(Relay, StagingLeftByAnEarlierRunIsNotTakenForThisRunsFetch)
{
    CLinkHarness host;
    CSimController a1(2, 0x11, 0, 1), b1(3, 0x22, 1, 1);
    host.Join(a1);
    host.Join(b1);
    const Bytes content(800, 0x33);
    a1.PutFile("C:\\data\\r.nc", content);
    // What a run before this one left: the same file under the names the
    // first staging of a run would use.
    CreateFolder(StagingFolder() + u"/1");
    WriteFileAtomic(StagingFolder() + u"/1-r.nc", content);
    WriteFileAtomic(StagingFolder() + u"/1/r.nc", content);
    a1.Offer("C:\\data\\r.nc");
    Bytes relayed;
    ASSERT_TRUE(host.RunUntil([&] { return g_TransferState == 0 && g_OfferQueue.empty() && b1.GetFile("C:\\data\\r.nc", relayed); }, 100));
    EXPECT_EQ(relayed, content);
    for (const std::string& text : a1.Messages())
        EXPECT_EQ(text.find("文件未能上传到主控"), std::string::npos) << text;
    EXPECT_EQ(a1.CountReceived(kCodeFetchRequest), 1);
}

TEST(Relay, AnOfferThatCouldNotBeFetchedIsNotRelayed)
{
    CLinkHarness host;
    CSimController a1(2, 0x11, 0, 1), b1(3, 0x22, 1, 1);
    host.Join(a1);
    host.Join(b1);
    CreateFolder(StagingFolder());
    WriteFileAtomic(StagingFolder() + u"/gone.nc", std::string_view("stale"));
    a1.Offer("C:\\data\\gone.nc");
    host.RunUntil([&] { return false; }, 15);
    EXPECT_EQ(b1.CountReceived(kCodeFileHeader), 0);
    const auto texts = a1.Messages();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), "文件未能上传到主控,取消传输 文件：gone.nc");
}

TEST(Relay, SameNamedOffersOfTwoMachinesEachFetchTheirOwn)
{
    CLinkHarness host;
    CSimController a1(2, 0x11, 0, 1), b1(3, 0x22, 1, 1), c1(4, 0x33, 2, 1);
    host.Join(a1);
    host.Join(b1);
    host.Join(c1);
    a1.PutFile("C:\\a\\p.nc", Bytes(600, 'a'));
    b1.PutFile("C:\\b\\p.nc", Bytes(700, 'b'));
    a1.Offer("C:\\a\\p.nc");
    b1.Offer("C:\\b\\p.nc");
    host.Settle();
    Bytes got;
    ASSERT_TRUE(host.RunUntil([&] { return g_TransferState == 0 && g_OfferQueue.empty() && c1.GetFile("C:\\b\\p.nc", got); }, 200));
    EXPECT_EQ(a1.CountReceived(kCodeFetchRequest), 1);
    EXPECT_EQ(b1.CountReceived(kCodeFetchRequest), 1);
    Bytes fromA;
    ASSERT_TRUE(c1.GetFile("C:\\a\\p.nc", fromA));
    EXPECT_EQ(fromA, Bytes(600, 'a'));
    EXPECT_EQ(got, Bytes(700, 'b'));
    ASSERT_TRUE(b1.GetFile("C:\\a\\p.nc", got));
    EXPECT_EQ(got, Bytes(600, 'a'));
}

TEST(Relay, CancelStopsTheBatch)
{
    CLinkHarness host;
    CSimController a1(2, 0x11, 0, 1);
    host.Join(a1);
    a1.SetFaults(MakeFaults([](SimFaults& f) { f.dropCode = kCodeHeaderAnswer; }));
    StartSendBatch({StagingFolder() + u"/none"}, {MachineIdAt(0)}, DataRoot() + u"/", u"C:\\");
    g_StepCountdown = 50;
    a1.CancelOffer();
    ASSERT_TRUE(host.Pump([&] { return a1.CountReceived(kCodeOfferCancelAck) == 1; }));
    EXPECT_EQ(g_TransferState, 0);
    EXPECT_TRUE(host.display.HasLog("同步文件传输中止"));
}

TEST(Relay, CancelledRelayLeavesNoStagingBehind)
{
    CLinkHarness host;
    CSimController a1(2, 0x11, 0, 1), b1(3, 0x22, 1, 1);
    host.Join(a1);
    host.Join(b1);
    a1.PutFile("C:\\data\\c.nc", Bytes(700, 'c'));
    b1.SetFaults(MakeFaults([](SimFaults& f) { f.silent = true; }));
    a1.Offer("C:\\data\\c.nc");
    // Fetched, and the relay to the silent machine has begun.
    ASSERT_TRUE(host.RunUntil([] { return g_TransferState == 3 && g_StepCountdown > 0; }, 60));
    ASSERT_EQ(ListFolder(StagingFolder() + u"/*").size(), 1u);
    a1.CancelOffer();
    ASSERT_TRUE(host.Pump([&] { return a1.CountReceived(kCodeOfferCancelAck) == 1; }));
    EXPECT_EQ(g_TransferState, 0);
    EXPECT_TRUE(ListFolder(StagingFolder() + u"/*").empty());
}
