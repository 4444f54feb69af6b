#include "platform/net/CUdpSocket.h"
#include "platform/net/ipv4.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

uint32_t Loopback(uint8_t last) { return MakeIPv4(127, 0, 0, last); }

} // namespace

TEST(ipv4, TextRoundTrip)
{
    uint32_t a = 0;
    ASSERT_TRUE(ParseIPv4("127.0.0.3", a));
    EXPECT_EQ(a, Loopback(3));
    EXPECT_EQ(IPv4ToText(a), "127.0.0.3");
    EXPECT_FALSE(ParseIPv4("127.0.0", a));
    EXPECT_FALSE(ParseIPv4("host", a));
}

TEST(CUdpSocket, SendsAndReceivesWithSender)
{
    CUdpSocket a, b;
    ASSERT_EQ(a.Open(Loopback(2), 0), 1);
    ASSERT_EQ(b.Open(Loopback(3), 0), 1);
    EXPECT_NE(a.LocalPort(), 0);
    const uint8_t data[] = {0x20, 0x03, 1, 2, 3};
    ASSERT_EQ(a.SendTo(data, sizeof data, b.LocalAddress(), b.LocalPort()), 5);
    ASSERT_TRUE(b.WaitReadable(2000));
    uint8_t buf[540];
    uint32_t from = 0;
    uint16_t port = 0;
    ASSERT_EQ(b.ReceiveFrom(buf, sizeof buf, from, port), 5);
    EXPECT_EQ(from, Loopback(2));
    EXPECT_EQ(port, a.LocalPort());
    EXPECT_EQ(std::vector<uint8_t>(buf, buf + 5), std::vector<uint8_t>(data, data + 5));
}

// Connected, a socket hears its peer alone: a stranger's datagram sent
// first is not queued ahead of the peer's.
TEST(CUdpSocket, ConnectedSocketSendsToAndHearsOnlyItsPeer)
{
    CUdpSocket peer, stranger, c;
    ASSERT_EQ(peer.Open(Loopback(2), 0), 1);
    ASSERT_EQ(stranger.Open(Loopback(4), 0), 1);
    ASSERT_EQ(c.Open(Loopback(3), 0), 1);
    ASSERT_TRUE(c.Connect(peer.LocalAddress(), peer.LocalPort()));
    const uint8_t out[] = {0x4F, 0x04, 1, 0};
    ASSERT_EQ(c.Send(out, sizeof out), 4);
    ASSERT_TRUE(peer.WaitReadable(2000));
    uint8_t buf[540];
    uint32_t from = 0;
    uint16_t port = 0;
    ASSERT_EQ(peer.ReceiveFrom(buf, sizeof buf, from, port), 4);
    EXPECT_EQ(from, c.LocalAddress());
    EXPECT_EQ(port, c.LocalPort());

    const uint8_t odd[] = {9, 9, 9};
    const uint8_t back[] = {0x4E, 0x04};
    ASSERT_EQ(stranger.SendTo(odd, sizeof odd, c.LocalAddress(), c.LocalPort()), 3);
    ASSERT_EQ(peer.SendTo(back, sizeof back, c.LocalAddress(), c.LocalPort()), 2);
    c.SetReceiveTimeout(2000);
    ASSERT_EQ(c.ReceiveFrom(buf, sizeof buf, from, port), 2);
    EXPECT_EQ(port, peer.LocalPort());
    c.SetReceiveTimeout(50);
    EXPECT_EQ(c.ReceiveFrom(buf, sizeof buf, from, port), -1);
}

TEST(CUdpSocket, ReportsTheFullLengthOfAnOversizedDatagram)
{
    CUdpSocket a, b;
    ASSERT_EQ(a.Open(Loopback(2), 0), 1);
    ASSERT_EQ(b.Open(Loopback(3), 0), 1);
    for (size_t size : {540u, 541u, 1200u}) {
        std::vector<uint8_t> big(size, 0x55);
        ASSERT_EQ(a.SendTo(big.data(), big.size(), b.LocalAddress(), b.LocalPort()), long(size));
        ASSERT_TRUE(b.WaitReadable(2000));
        uint8_t buf[540];
        uint32_t from;
        uint16_t port;
        EXPECT_EQ(b.ReceiveFrom(buf, sizeof buf, from, port), long(size));
    }
}

TEST(CUdpSocket, BindingATakenPortFails)
{
    CUdpSocket a, b;
    ASSERT_EQ(a.Open(Loopback(2), 0), 1);
    EXPECT_EQ(b.Open(Loopback(2), a.LocalPort()), -3);
    EXPECT_FALSE(b.IsOpen());
}

TEST(CUdpSocket, ShutdownWakesABlockedReceive)
{
    CUdpSocket s;
    ASSERT_EQ(s.Open(Loopback(2), 0), 1);
    std::atomic<long> result{0};
    std::thread t([&] {
        uint8_t buf[540];
        uint32_t from;
        uint16_t port;
        long n = s.ReceiveFrom(buf, sizeof buf, from, port);
        result = n <= 0 ? -1 : n;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    s.Shutdown();
    t.join();
    EXPECT_EQ(result.load(), -1);
}
