#pragma once

#include "link/packets.h"
#include "platform/core/thread.h"
#include "platform/net/CUdpSocket.h"

#include <cstdint>
#include <memory>

constexpr uint16_t kLinkPort = 6180;

struct LinkReceiveRing;

// The host's one UDP socket and its receive thread. Every datagram of at most
// 540 bytes is handled in arrival order: the block steps of a running
// transfer by the thread itself (see transfer_lane.h), all others by OnPacket
// on the dialog thread. The thread receives straight into a ring of slots
// that the dialog thread reads in place, and posts one call when the dialog
// thread has none pending: no allocation and no copy per datagram, at most
// one wake-up of the dialog thread each.
class CLinkUdp {
public:
    CLinkUdp() = default;
    ~CLinkUdp();
    CLinkUdp(const CLinkUdp&) = delete;
    CLinkUdp& operator=(const CLinkUdp&) = delete;

    // Binds to all addresses on port 6180, or to ZORVALINK_BIND and
    // ZORVALINK_PORT when set, and starts the receive thread. 1 on success,
    // -2 no socket, -3 not bound. ownAddress: datagrams from it and the bound
    // port are our own and are dropped.
    int StartUdp(uint32_t ownAddress);
    int StartUdp(uint32_t bindAddress, uint16_t port, uint32_t ownAddress);
    // Shuts the socket, which wakes the receive thread, and joins it.
    void Stop();

    long Send(const Packet& packet, uint32_t address, uint16_t port);
    uint16_t Port() const { return m_socket.LocalPort(); }
    uint32_t BoundAddress() const { return m_socket.LocalAddress(); }
    bool IsRunning() const { return m_thread.IsRunning(); }

private:
    void ReceiveLoop();

    CUdpSocket m_socket;
    // Shared with the posted calls, which may run after Stop.
    std::shared_ptr<LinkReceiveRing> m_ring;
    CWorkerThread m_thread;
    uint32_t m_ownAddress = 0;
};

// Where the host binds: ZORVALINK_BIND / ZORVALINK_PORT, else 0.0.0.0:6180.
void LinkBindConfig(uint32_t& address, uint16_t& port);
