#include "link/CLinkUdp.h"

#include "link/LinkState.h"
#include "platform/core/gui_post.h"
#include "platform/net/ipv4.h"
#include "tests/support/sim/LinkHarness.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

bool WaitPending(size_t count, int timeoutMs = 2000)
{
    for (int i = 0; i < timeoutMs; ++i) {
        if (PendingPostedCalls() >= count)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

} // namespace

TEST(CLinkUdp, BindsFromTheEnvironmentOrTheDefaults)
{
    unsetenv("ZORVALINK_PORT");
    unsetenv("ZORVALINK_BIND");
    uint32_t address = 1;
    uint16_t port = 0;
    LinkBindConfig(address, port);
    EXPECT_EQ(address, 0u);
    EXPECT_EQ(port, 6180);
    setenv("ZORVALINK_PORT", "16180", 1);
    setenv("ZORVALINK_BIND", "127.0.0.1", 1);
    LinkBindConfig(address, port);
    EXPECT_EQ(address, MakeIPv4(127, 0, 0, 1));
    EXPECT_EQ(port, 16180);
    setenv("ZORVALINK_PORT", "x", 1);
    LinkBindConfig(address, port);
    EXPECT_EQ(port, 6180);
    unsetenv("ZORVALINK_PORT");
    unsetenv("ZORVALINK_BIND");
}

TEST(CLinkUdp, DropsOversizeAndOwnDatagramsAndStopsPromptly)
{
    RunPostedCalls();
    CLinkUdp udp;
    const uint32_t own = MakeIPv4(127, 0, 0, 2);
    ASSERT_EQ(udp.StartUdp(MakeIPv4(127, 0, 0, 1), 0, own), 1);
    CUdpSocket ownSocket, other;
    ASSERT_EQ(ownSocket.Open(own, udp.Port()), 1); // our own address and port
    ASSERT_EQ(other.Open(own, 0), 1);              // our own address, another port
    const Bytes fits(540, 1), tooLong(541, 1);
    other.SendTo(tooLong.data(), tooLong.size(), udp.BoundAddress(), udp.Port());
    ownSocket.SendTo(fits.data(), fits.size(), udp.BoundAddress(), udp.Port());
    other.SendTo(fits.data(), fits.size(), udp.BoundAddress(), udp.Port());
    ASSERT_TRUE(WaitPending(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(PendingPostedCalls(), 1u);

    const auto start = std::chrono::steady_clock::now();
    udp.Stop();
    EXPECT_FALSE(udp.IsRunning());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    ResetLinkState();
    RunPostedCalls();
    ResetLinkState();
}

TEST(CLinkUdp, EveryDatagramIsHandledOnceInOrderWithItsSender)
{
    CLinkHarness host;
    CSimController a(2, 0x11, 0, 1), b(3, 0x22, 1, 1);
    a.Start(host.HostAddress(), host.HostPort());
    b.Start(host.HostAddress(), host.HostPort());
    // Many announces before the dialog thread looks, more than the receive
    // ring holds: none lost, none twice, the states of each machine in the
    // order sent.
    constexpr int kEach = 200;
    for (int i = 0; i < kEach; ++i) {
        a.SendRaw(SimAnnounce(kCodeAnnounce, 0x11, 0, 1, uint8_t(i % 6)));
        b.SendRaw(SimAnnounce(kCodeAnnounce, 0x22, 1, 1, uint8_t((i + 3) % 6)));
    }
    ASSERT_TRUE(host.Pump([&] { return a.CountReceived(kCodeAnnounce) == kEach && b.CountReceived(kCodeAnnounce) == kEach; }));
    host.Settle();
    EXPECT_EQ(a.CountReceived(kCodeAnnounce), kEach);
    EXPECT_EQ(b.CountReceived(kCodeAnnounce), kEach);
    ASSERT_EQ(g_Machines.size(), 2u);
    EXPECT_EQ(g_Machines[0].address, a.Address());
    EXPECT_EQ(g_Machines[0].state, (kEach - 1) % 6);
    EXPECT_EQ(g_Machines[1].address, b.Address());
    EXPECT_EQ(g_Machines[1].state, (kEach - 1 + 3) % 6);
}
