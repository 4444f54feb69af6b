#include "link/dispatch.h"

#include "link/link_helpers.h"
#include "link/transfer.h"
#include "platform/core/files.h"
#include "shared/CMD5Checksum.h"
#include "tests/support/sim/LinkHarness.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

Bytes Code(uint16_t code, size_t size)
{
    Bytes d(size, 0);
    d[0] = uint8_t(code);
    d[1] = uint8_t(code >> 8);
    return d;
}

Bytes Block(uint32_t offset, uint32_t n, size_t dataBytes, uint8_t last = 0)
{
    Bytes d = Code(kCodeDataBlock, 18 + dataBytes);
    SimPut32(d, 6, offset);
    SimPut32(d, 10, n);
    d[14] = last;
    SimSeal(d);
    return d;
}

Bytes ListPage(uint32_t count, size_t size)
{
    Bytes d = Code(kCodeListPage, size);
    SimPut32(d, 6, count);
    for (size_t pos = 10; pos + 20 <= size; pos += 20) {
        d[pos] = 2;
        d[pos + 16] = 0; // empty names: refused
    }
    SimSeal(d);
    return d;
}

Bytes Offer(uint32_t id, uint32_t n, const std::string& path)
{
    Bytes d = Code(kCodeOffer, 34);
    SimPut32(d, 6, id);
    SimPut32(d, 14, n);
    d.insert(d.end(), path.begin(), path.end());
    d.push_back(0);
    SimSeal(d);
    return d;
}

Bytes Announce(size_t size)
{
    Bytes d = SimAnnounce(kCodeAnnounce, 0x99, 0, 9, 0);
    d.resize(size, 0);
    return d;
}

} // namespace

// Hostile or broken datagrams from a known machine while a fetch is under
// way: each is refused as the protocol allows, nothing is written and the
// buffer keeps its size.
TEST(Robustness, MalformedDatagramsAreRefusedSafely)
{
    CLinkHarness host;
    CSimController sim(2, 0x11, 0, 1);
    host.Join(sim);
    const CString folder = DataRoot() + u"/recv";
    CreateFolder(folder);
    sim.PutFile("C:\\d\\f.nc", Bytes(1000, 7));
    // Blocks of the machine's own never arrive: the test sends its own.
    sim.SetFaults(MakeFaults([](SimFaults& f) { f.dropCode = kCodeDataBlock; }));
    StartReceiveBatch({u"C:\\d\\f.nc"}, MachineIdAt(0), folder + u"/", u"C:\\d\\");
    host.Tick();
    ASSERT_TRUE(host.Pump([&] { return g_HasReceiveBuffer && sim.CountReceived(kCodeHeaderAnswer) == 1; }));
    ASSERT_EQ(g_ReceiveBuffer.size(), 1000u);

    const struct {
        const char* name;
        Bytes datagram;
        int answerCode;   // 0: no answer expected
        int answerStatus; // byte 2 of the answer
    } kCases[] = {
        {"oversize announce", Announce(600), 0, 0},
        {"unknown code", Code(0x1234, 40), 0, 0},
        {"empty datagram", Bytes{}, 0, 0},
        {"one byte", Bytes{0x20}, 0, 0},
        {"short announce", Announce(5), 0, 0},
        {"short header", Code(kCodeFileHeader, 100), 0, 0},
        {"short block", Code(kCodeDataBlock, 10), 0, 0},
        {"short offer", Code(kCodeOffer, 20), 0, 0},
        {"short listing page", Code(kCodeListPage, 8), 0, 0},
        {"short delete result", Code(kCodeRemoteDelete, 4), 0, 0},
        {"short header answer", Code(kCodeHeaderAnswer, 2), 0, 0},
        {"block n = 0xFFFFFFFF", Block(0, 0xFFFFFFFFu, 100), kCodeBlockAnswer, 2},
        {"block n above the datagram", Block(0, 400, 100), kCodeBlockAnswer, 2},
        {"block offset wraps 32 bits", Block(0xFFFFFF00u, 0x200, 0x200), kCodeBlockAnswer, 2},
        {"block past the file end", Block(900, 200, 200), kCodeBlockAnswer, 2},
        {"1,000 entries in 60 bytes", ListPage(1000, 60), kCodeListAck, 1},
        {"offer n = 100000", Offer(0x11, 100000, "C:\\d\\x.nc"), kCodeOfferAnswer, 0},
        {"offer of ..", Offer(0x11, 6, "C:\\.."), kCodeOfferAnswer, 0},
        {"offer from an unknown id", Offer(0x77, 10, "C:\\d\\x.nc"), kCodeOfferAnswer, 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const size_t before = sim.Received().size();
        sim.SendRaw(c.datagram);
        if (c.answerCode != 0) {
            ASSERT_TRUE(host.Pump([&] { return sim.Received().size() > before; }));
        }
        host.Settle(15);
        const auto received = sim.Received();
        if (c.answerCode == 0) {
            EXPECT_EQ(received.size(), before);
        } else {
            ASSERT_EQ(received.size(), before + 1);
            EXPECT_EQ(Get16(received.back().data(), 0), c.answerCode);
            EXPECT_EQ(received.back()[2], c.answerStatus);
        }
        EXPECT_EQ(g_Machines.size(), 1u);
        EXPECT_TRUE(host.display.remote.empty());
        EXPECT_TRUE(g_HasReceiveBuffer);
        EXPECT_EQ(g_ReceiveBuffer.size(), 1000u);
        EXPECT_TRUE(g_OfferQueue.empty());
    }
    // Nothing was written anywhere under the data root.
    EXPECT_TRUE(ListFolder(folder + u"/*").empty());
}

TEST(Robustness, NamesThatWouldLeaveTheFolderAreNotFetched)
{
    CLinkHarness host;
    CSimController sim(2, 0x11, 0, 1);
    host.Join(sim);
    const CString folder = DataRoot() + u"/recv";
    CreateFolder(folder);
    for (const char16_t* remote : {u"C:\\d\\..", u"C:\\d\\.", u"C:\\d\\", u"C:\\d\\a\tb"}) {
        StartReceiveBatch({remote}, MachineIdAt(0), folder + u"/", u"C:\\d\\");
        host.RunUntil([] { return g_TransferState == 0; }, 10);
    }
    EXPECT_EQ(sim.CountReceived(kCodeFetchRequest), 0);
    EXPECT_TRUE(ListFolder(folder + u"/*").empty());
}

TEST(Robustness, TooLongATargetPathIsRefusedNotCut)
{
    CLinkHarness host;
    CSimController sim(2, 0x11, 0, 1);
    host.Join(sim);
    const CString local = DataRoot() + u"/a.nc";
    WriteFileAtomic(local, std::string_view("abc"));
    StartSendBatch({local}, {MachineIdAt(0)}, DataRoot() + u"/", CString(u"C:\\") + CString(u'x', 250) + u"\\");
    host.RunUntil([] { return g_TransferState == 0; }, 10);
    EXPECT_EQ(sim.CountReceived(kCodeFileHeader), 0);
    EXPECT_TRUE(host.display.HasLog("端A1--完成：0/1  , 失败：1"));
}
