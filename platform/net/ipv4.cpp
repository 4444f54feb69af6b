#include "platform/net/ipv4.h"

#include <arpa/inet.h>
#include <cstring>
#include <netdb.h>
#include <unistd.h>

bool ParseIPv4(const char* text, uint32_t& address)
{
    in_addr a{};
    if (text == nullptr || ::inet_pton(AF_INET, text, &a) != 1)
        return false;
    address = a.s_addr;
    return true;
}

std::string IPv4ToText(uint32_t address)
{
    const auto* b = reinterpret_cast<const uint8_t*>(&address);
    return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." + std::to_string(b[3]);
}

uint32_t MakeIPv4(uint8_t a, uint8_t b, uint8_t c, uint8_t d)
{
    const uint8_t bytes[4] = {a, b, c, d};
    uint32_t v;
    std::memcpy(&v, bytes, 4);
    return v;
}

uint32_t GetOwnIPv4()
{
    char name[260] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return 0;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* list = nullptr;
    if (::getaddrinfo(name, nullptr, &hints, &list) != 0 || list == nullptr)
        return 0;
    uint32_t result = reinterpret_cast<const sockaddr_in*>(list->ai_addr)->sin_addr.s_addr;
    ::freeaddrinfo(list);
    return result;
}
