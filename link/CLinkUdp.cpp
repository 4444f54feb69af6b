#include "link/CLinkUdp.h"

#include "link/dispatch.h"
#include "link/transfer_lane.h"
#include "platform/core/gui_post.h"
#include "platform/net/ipv4.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

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
    m_ring = std::make_shared<LinkReceiveRing>();
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

// Slots [tail, head) hold datagrams for the dialog thread; the receive
// thread fills slot head and then publishes it, the dialog thread handles
// slot tail in place and then frees it.
struct LinkReceiveRing {
    static constexpr uint32_t kSlots = 256;
    Datagram slots[kSlots];
    std::atomic<uint32_t> head{0};
    std::atomic<uint32_t> tail{0};
    std::atomic<bool> drainPosted{false};
    bool draining = false;              // dialog thread only
};

namespace {

// Runs on the dialog thread. The pending flag is cleared before the last
// look at head, so a datagram published after that look posts again.
void DrainRing(const std::shared_ptr<LinkReceiveRing>& ring)
{
    if (ring->draining)
        return;                         // a handler's nested loop; the outer one goes on
    ring->draining = true;
    uint32_t tail = ring->tail.load(std::memory_order_relaxed);
    for (;;) {
        while (tail != ring->head.load(std::memory_order_acquire)) {
            OnPacket(ring->slots[tail % LinkReceiveRing::kSlots]);
            ring->tail.store(++tail, std::memory_order_release);
        }
        ring->drainPosted.store(false);
        if (ring->head.load() == tail || ring->drainPosted.exchange(true))
            break;
    }
    ring->draining = false;
}

} // namespace

void CLinkUdp::ReceiveLoop()
{
    const uint16_t ownPort = m_socket.LocalPort();
    const std::shared_ptr<LinkReceiveRing> ring = m_ring;
    while (!m_thread.StopRequested()) {
        const uint32_t head = ring->head.load(std::memory_order_relaxed);
        if (head - ring->tail.load(std::memory_order_acquire) >= LinkReceiveRing::kSlots) {
            // All slots wait for the dialog thread; the socket's own buffer
            // holds what comes meanwhile.
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        Datagram& d = ring->slots[head % LinkReceiveRing::kSlots];
        long n = m_socket.ReceiveFrom(d.data, sizeof d.data, d.address, d.port);
        if (m_thread.StopRequested())
            break;
        // A longer datagram was cut by the kernel: drop it rather than read
        // a stump of it.
        if (n < 0 || n > kMaxDatagram)
            continue;
        if (d.address == m_ownAddress && d.port == ownPort)
            continue;
        d.length = static_cast<int>(n);
        // Only with no datagram before it still waiting: the order stays.
        if (ring->tail.load(std::memory_order_acquire) == head && RunBlockStepHere(d))
            continue;
        ring->head.store(head + 1);
        if (!ring->drainPosted.exchange(true))
            PostToGui([ring] { DrainRing(ring); });
    }
}
