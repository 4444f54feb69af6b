#pragma once

// What the transfer program's entries share: a fresh engine per input with
// a display that keeps the machine rows, a virtual clock, and loopback
// sockets standing for two machines.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/core/CString.h"

class ILinkDisplay;

constexpr std::uint32_t kMachineAId = 0x11;
constexpr std::uint32_t kMachineBId = 0x22;

class LinkFuzzScope {
public:
    // withSocket: the engine's socket on 127.0.0.1 (sends go to the
    // loopback machines); without it nothing is sent.
    explicit LinkFuzzScope(bool withSocket);
    ~LinkFuzzScope();
    LinkFuzzScope(const LinkFuzzScope&) = delete;
    LinkFuzzScope& operator=(const LinkFuzzScope&) = delete;

    // Machines A and B announce themselves, then state 1 starts fetching
    // two files from A, 2 sends a file to both, 3 has A offer a file.
    void EnterState(int state);
    void Tick();
    // One datagram from sender 0 (A), 1 (B), 2 (unknown) or 3 (A's address,
    // another port); seal stores the checksum.
    void Deliver(const std::uint8_t* data, std::size_t size, int sender, bool seal);
    void Announce(std::uint32_t id, int sender);
    void Offer(const std::string& ansiPath);

    CString folder; // emptied for each input

private:
    ILinkDisplay* m_display = nullptr;
};
