#include "platform/net/CUdpSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

CUdpSocket::~CUdpSocket()
{
    Close();
}

int CUdpSocket::Open(uint32_t address, uint16_t port)
{
    Close();
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -2;
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = address;
    sa.sin_port = htons(port);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0) {
        ::close(fd);
        return -3;
    }
    socklen_t len = sizeof sa;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
    m_fd = fd;
    m_localAddress = sa.sin_addr.s_addr;
    m_localPort = ntohs(sa.sin_port);
    return 1;
}

void CUdpSocket::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_localAddress = 0;
    m_localPort = 0;
}

long CUdpSocket::SendTo(const void* data, size_t length, uint32_t address, uint16_t port)
{
    if (m_fd < 0)
        return -1;
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = address;
    sa.sin_port = htons(port);
    ssize_t n;
    do {
        n = ::sendto(m_fd, data, length, 0, reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
    } while (n < 0 && errno == EINTR);
    return n;
}

bool CUdpSocket::Connect(uint32_t address, uint16_t port)
{
    if (m_fd < 0)
        return false;
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = address;
    sa.sin_port = htons(port);
    return ::connect(m_fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0;
}

long CUdpSocket::Send(const void* data, size_t length)
{
    if (m_fd < 0)
        return -1;
    ssize_t n;
    do {
        n = ::send(m_fd, data, length, 0);
    } while (n < 0 && errno == EINTR);
    return n;
}

long CUdpSocket::ReceiveFrom(void* buffer, size_t capacity, uint32_t& address, uint16_t& port)
{
    if (m_fd < 0)
        return -1;
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    // MSG_TRUNC makes the kernel report the datagram's real length, so an
    // oversized one can be told apart from one that just fills the buffer.
    ssize_t n;
    do {
        n = ::recvfrom(m_fd, buffer, capacity, MSG_TRUNC, reinterpret_cast<sockaddr*>(&sa), &len);
    } while (n < 0 && errno == EINTR);
    if (n < 0 || len < sizeof(sockaddr_in) || sa.sin_family != AF_INET)
        return -1;
    address = sa.sin_addr.s_addr;
    port = ntohs(sa.sin_port);
    return n;
}

bool CUdpSocket::WaitReadable(int timeoutMs)
{
    if (m_fd < 0)
        return false;
    pollfd p{m_fd, POLLIN, 0};
    int r;
    do {
        r = ::poll(&p, 1, timeoutMs);
    } while (r < 0 && errno == EINTR);
    return r > 0 && (p.revents & POLLIN) != 0;
}

void CUdpSocket::Shutdown()
{
    // On an unbound peer the call reports ENOTCONN but still marks the socket
    // shut and wakes a blocked receive.
    if (m_fd >= 0)
        ::shutdown(m_fd, SHUT_RDWR);
}

void CUdpSocket::SetBufferSizes(int bytes)
{
    if (m_fd < 0)
        return;
    ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
    ::setsockopt(m_fd, SOL_SOCKET, SO_SNDBUF, &bytes, sizeof bytes);
}

void CUdpSocket::SetReceiveTimeout(int timeoutMs)
{
    if (m_fd < 0)
        return;
    timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    ::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
}
