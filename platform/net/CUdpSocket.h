#pragma once

#include <cstddef>
#include <cstdint>

// One IPv4 datagram socket (POSIX). Addresses are 32-bit values in network
// byte order, ports in host order.
class CUdpSocket {
public:
    CUdpSocket() = default;
    ~CUdpSocket();
    CUdpSocket(const CUdpSocket&) = delete;
    CUdpSocket& operator=(const CUdpSocket&) = delete;

    // 1 bound, -2 no socket could be made, -3 the address could not be bound.
    // Port 0 picks a free port.
    int Open(uint32_t address, uint16_t port);
    bool IsOpen() const { return m_fd >= 0; }
    void Close();

    uint32_t LocalAddress() const { return m_localAddress; }
    uint16_t LocalPort() const { return m_localPort; }

    // Bytes sent, or -1.
    long SendTo(const void* data, size_t length, uint32_t address, uint16_t port);

    // Fixes the peer: Send goes to it without a route lookup per datagram,
    // and only its datagrams are received.
    bool Connect(uint32_t address, uint16_t port);
    // To the connected peer; bytes sent, or -1.
    long Send(const void* data, size_t length);

    // Blocks for one datagram. Returns its full length, which is above
    // capacity when it did not fit (only capacity bytes are stored), or -1
    // when the receive failed or the socket was shut down.
    long ReceiveFrom(void* buffer, size_t capacity, uint32_t& address, uint16_t& port);

    // True when a datagram is waiting, at most timeoutMs later.
    bool WaitReadable(int timeoutMs);

    // Wakes a thread blocked in ReceiveFrom; later receives fail at once.
    void Shutdown();

    void SetBufferSizes(int bytes);
    // ReceiveFrom gives up after timeoutMs without a datagram (returns -1);
    // one call then both waits and receives.
    void SetReceiveTimeout(int timeoutMs);

private:
    int m_fd = -1;
    uint32_t m_localAddress = 0;
    uint16_t m_localPort = 0;
};
