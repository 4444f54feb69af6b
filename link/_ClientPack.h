#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// One machine record. Its raw image is the record of the scheme files.
struct _ClientPack {
    uint8_t id[4];
    uint8_t pad0[4];
    uint8_t letter;
    uint8_t number;
    uint8_t state;
    uint8_t pad1;
    uint32_t address; // network order
    uint16_t port;    // host order
    uint8_t online;
    uint8_t pad2;
    uint32_t lastSeen;
    uint8_t checked;
    uint8_t pad3[3];
    int32_t missCount;
    int32_t receiveTimeouts;
    char rememberedFolder[256];

    uint32_t Id() const
    {
        uint32_t v;
        std::memcpy(&v, id, 4);
        return v;
    }
};

static_assert(sizeof(_ClientPack) == 292);
static_assert(offsetof(_ClientPack, letter) == 8);
static_assert(offsetof(_ClientPack, address) == 12);
static_assert(offsetof(_ClientPack, port) == 16);
static_assert(offsetof(_ClientPack, online) == 18);
static_assert(offsetof(_ClientPack, lastSeen) == 20);
static_assert(offsetof(_ClientPack, checked) == 24);
static_assert(offsetof(_ClientPack, missCount) == 28);
static_assert(offsetof(_ClientPack, receiveTimeouts) == 32);
static_assert(offsetof(_ClientPack, rememberedFolder) == 36);
