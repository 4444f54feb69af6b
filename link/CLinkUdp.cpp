#include "link/CLinkUdp.h"

#include "link/dispatch.h"
#include "platform/core/gui_post.h"
#include "platform/net/ipv4.h"

#include <cstdlib>
#include <memory>

void LinkBindConfig(uint32_t& address, uint16_t& port)
{
    address = 0;
    port = kLinkPort;
    if (const char* text = std::getenv("ZORVALINK_BIND"); text != nullptr && *text != 0) {
        uint32_t a;
        if (ParseIPv4(text, a))
            address = a;
    }
    if (const char* text = std::getenv("ZORVALINK_PORT"); text != nullptr && *text != 0) {
        char* end = nullptr;
        long p = std::strtol(text, &end, 10);
        if (end != nullptr && *end == 0 && p > 0 && p < 65536)
            port = static_cast<uint16_t>(p);
    }
}

CLinkUdp::~CLinkUdp()
{
    Stop();
}

int CLinkUdp::StartUdp(uint32_t ownAddress)
{
    uint32_t address;
    uint16_t port;
    LinkBindConfig(address, port);
    return StartUdp(address, port, ownAddress);
}

int CLinkUdp::StartUdp(uint32_t bindAddress, uint16_t port, uint32_t ownAddress)
{
    Stop();
    int r = m_socket.Open(bindAddress, port);
    if (r != 1)
        return r;
    m_socket.SetBufferSizes(1 << 20);
    m_ownAddress = ownAddress;
    m_thread.Start([this] { ReceiveLoop(); });
    return 1;
}

void CLinkUdp::Stop()
{
    if (m_socket.IsOpen()) {
        m_thread.RequestStop();
        m_socket.Shutdown();
        m_thread.Join();
        m_socket.Close();
    }
}

long CLinkUdp::Send(const Packet& packet, uint32_t address, uint16_t port)
{
    return m_socket.SendTo(packet.data, static_cast<size_t>(packet.length), address, port);
}

void CLinkUdp::ReceiveLoop()
{
    const uint16_t ownPort = m_socket.LocalPort();
    while (!m_thread.StopRequested()) {
        auto d = std::make_shared<Datagram>();
        long n = m_socket.ReceiveFrom(d->data, sizeof d->data, d->address, d->port);
        if (m_thread.StopRequested())
            break;
        // A longer datagram was cut by the kernel: drop it rather than read
        // a stump of it.
        if (n < 0 || n > kMaxDatagram)
            continue;
        if (d->address == m_ownAddress && d->port == ownPort)
            continue;
        d->length = static_cast<int>(n);
        PostToGui([d] { OnPacket(*d); });
    }
}
