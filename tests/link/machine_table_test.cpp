#include "link/machine_table.h"

#include "link/dispatch.h"
#include "tests/support/sim/LinkHarness.h"

#include <gtest/gtest.h>

namespace {

const Bytes kAnnounceA1 = {0x20, 0x03, 0x01, 0x02, 0x03, 0x04, 0x00, 0x01, 0x00};

} // namespace

TEST(MachineTable, AnnounceIsAnsweredAndMakesACheckedRow)
{
    CLinkHarness host;
    CSimController sim(2, 0x04030201, 0, 1);
    sim.Start(host.HostAddress(), host.HostPort());
    sim.SendRaw(kAnnounceA1);
    ASSERT_TRUE(host.Pump([&] { return sim.CountReceived(kCodeAnnounce) == 1; }));
    host.Settle();
    EXPECT_EQ(HexOf(sim.Received().at(0)), "20 03");
    ASSERT_EQ(host.display.rows.size(), 1u);
    EXPECT_EQ(host.display.Cell(0, 0), "端A1    (04030201)");
    EXPECT_EQ(host.display.Cell(0, 1), "●");
    EXPECT_EQ(host.display.Cell(0, 2), "空闲");
    EXPECT_EQ(host.display.Cell(0, 3), "-");
    EXPECT_TRUE(host.display.rows[0].checked);
    EXPECT_EQ(host.display.rows[0].image, 1);
    EXPECT_EQ(GetMachineName(0), CString(u"端A1"));
}

TEST(MachineTable, SameIdFromAnotherAddressUpdatesItsRow)
{
    CLinkHarness host;
    CSimController first(2, 0x04030201, 0, 1), second(3, 0x04030201, 0, 1);
    first.Start(host.HostAddress(), host.HostPort());
    second.Start(host.HostAddress(), host.HostPort());
    first.SendRaw(kAnnounceA1);
    ASSERT_TRUE(host.Pump([&] { return first.CountReceived(kCodeAnnounce) == 1; }));
    second.SendRaw({0x20, 0x03, 0x01, 0x02, 0x03, 0x04, 0x00, 0x01, 0x02});
    ASSERT_TRUE(host.Pump([&] { return second.CountReceived(kCodeAnnounce) == 1; }));
    host.Settle();
    ASSERT_EQ(g_Machines.size(), 1u);
    EXPECT_EQ(g_Machines[0].address, second.Address());
    EXPECT_EQ(g_Machines[0].port, second.Port());
    EXPECT_EQ(host.display.Cell(0, 2), "暂停");
}

TEST(MachineTable, LeaveMarksOfflineAtOnceAndSilenceAfterFifteenChecks)
{
    CLinkHarness host;
    CSimController a(2, 0x04030201, 0, 1), b(3, 0x0A0B0C0D, 1, 1);
    host.Join(a);
    host.Join(b);
    ASSERT_EQ(host.display.rows.size(), 2u);

    a.Announce(0, kCodeLeave);
    ASSERT_TRUE(host.Pump([] { return g_Machines[0].online == 0; }));
    EXPECT_EQ(host.display.Cell(0, 1), "-");
    EXPECT_EQ(host.display.Cell(0, 2), "-");
    EXPECT_EQ(host.display.rows[0].color, 0);

    // One check every ten idle ticks; the fifteenth puts B1 offline.
    host.Tick(149);
    EXPECT_EQ(g_Machines[1].online, 1);
    EXPECT_EQ(host.display.Cell(1, 1), "●");
    host.Tick(1);
    EXPECT_EQ(g_Machines[1].online, 0);
    EXPECT_EQ(host.display.Cell(1, 1), "-");
    EXPECT_EQ(host.display.rows[1].color, 0);
}

TEST(MachineTable, NewMachineIsSortedInAndEveryRowChecked)
{
    CLinkHarness host;
    CSimController a2(2, 0x11, 0, 2), b1(3, 0x22, 1, 1), a1(4, 0x33, 0, 1);
    host.Join(a2);
    host.Join(b1);
    host.display.SetMachineRowChecked(1, false);
    host.Join(a1);
    ASSERT_EQ(host.display.rows.size(), 3u);
    EXPECT_EQ(GetMachineName(0), CString(u"端A1"));
    EXPECT_EQ(GetMachineName(1), CString(u"端A2"));
    EXPECT_EQ(GetMachineName(2), CString(u"端B1"));
    for (const auto& row : host.display.rows)
        EXPECT_TRUE(row.checked);
}

TEST(MachineTable, NameAnswerGoesToTheMachineThatSentIt)
{
    CLinkHarness host;
    CSimController a1(2, 0x11, 0, 1), b1(3, 0x22, 1, 1);
    host.Join(a1);
    host.Join(b1);
    g_SelectedMachine = MachineIdAt(0);
    // B1 answers although A1 is selected: only B1 changes.
    b1.SendRaw({0x16, 0x05, 0x02, 0x07});
    ASSERT_TRUE(host.Pump([] { return g_Machines[1].letter == 2; }));
    EXPECT_EQ(GetMachineName(1), CString(u"端C7"));
    EXPECT_EQ(GetMachineName(0), CString(u"端A1"));
}

TEST(MachineTable, StartupPollSendsOneOhEightOneToEachMachine)
{
    CLinkHarness host;
    CSimController a1(2, 0x11, 0, 1), b1(3, 0x22, 1, 1);
    host.Join(a1);
    host.Join(b1);
    g_PollActive = true;
    g_PollIndex = 0;
    host.Tick(3);
    EXPECT_TRUE(a1.WaitReceived(kCodePoll, 1, 2000));
    EXPECT_TRUE(b1.WaitReceived(kCodePoll, 1, 2000));
    EXPECT_FALSE(g_PollActive);
    EXPECT_EQ(HexOf(b1.Received().back()), "21 03");
}
