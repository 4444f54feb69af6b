#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Datagrams between the host and the machine controllers: little-endian
// fields, command code at offset 0, CRC-32 of offset 6 to the end at offset 2
// on the codes that carry one.

enum LinkCode : uint16_t {
    kCodeRemoteDelete = 110,
    kCodeRemoteMkdir = 114,
    kCodeMachineMessage = 117,
    kCodeAnnounce = 800,
    kCodePoll = 801,
    kCodeLeave = 802,
    kCodeFileHeader = 1100,
    kCodeHeaderAnswer = 1101,
    kCodeDataBlock = 1102,
    kCodeBlockAnswer = 1103,
    kCodeTransferEnd = 1106,
    kCodeFetchRequest = 1107,
    kCodeListDir = 1201,
    kCodeListPage = 1202,
    kCodeListAck = 1203,
    kCodeListEnd = 1204,
    kCodeSetNumber = 1301, // host to machine
    kCodeOffer = 1301,     // machine to host
    kCodeNameAnswer = 1302, // machine to host
    kCodeOfferAnswer = 1302, // host to machine
    kCodeOfferCancel = 1303,
    kCodeOfferCancelAck = 1304,
    kCodeProcessTable = 1402,
};

constexpr int kMaxDatagram = 540;
constexpr int kBlockHead = 18;
constexpr int kMaxBlockData = 522;
constexpr int kHeaderSize = 290;
constexpr int kHeaderPathOffset = 34;
constexpr int kHeaderPathSize = 256;
constexpr int kOfferPathOffset = 34;
constexpr int kListEntryHead = 20;
// Largest file the host sends; a received header must name less.
constexpr uint32_t kMaxFileSize = 0x800000;

inline uint16_t Get16(const uint8_t* p, int offset)
{
    return static_cast<uint16_t>(p[offset] | (p[offset + 1] << 8));
}
inline uint32_t Get32(const uint8_t* p, int offset)
{
    return uint32_t(p[offset]) | uint32_t(p[offset + 1]) << 8 | uint32_t(p[offset + 2]) << 16 | uint32_t(p[offset + 3]) << 24;
}

// One datagram being built, in a 540-byte area.
struct Packet {
    uint8_t data[kMaxDatagram] = {};
    int length = 0;

    void Put8(int offset, uint8_t v) { data[offset] = v; Grow(offset + 1); }
    void Put16(int offset, uint16_t v) { Put8(offset, uint8_t(v)); Put8(offset + 1, uint8_t(v >> 8)); }
    void Put32(int offset, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            Put8(offset + i, uint8_t(v >> (8 * i)));
    }
    void PutBytes(int offset, const void* bytes, int n)
    {
        if (n > 0)
            std::memcpy(data + offset, bytes, static_cast<size_t>(n));
        Grow(offset + n);
    }
    uint16_t Code() const { return Get16(data, 0); }

private:
    void Grow(int end) { length = end > length ? end : length; }
};

// A datagram as the receive thread hands it over.
struct Datagram {
    uint8_t data[kMaxDatagram] = {};
    int length = 0;
    uint32_t address = 0; // network order
    uint16_t port = 0;
};

// Stores the CRC-32 of offset 6 to the end at offset 2.
void SealChecksum(Packet& packet);
bool ChecksumMatches(const uint8_t* data, int length);

// Shortest datagram of a code that the host reads (0: a code it ignores).
int MinimumLength(uint16_t code);

// Builders of what the host sends. Texts are ANSI bytes counted with their
// zero byte.
Packet MakeCodeOnly(uint16_t code);
Packet MakeStatusPacket(uint16_t code, uint8_t status); // 1101, 1103, 1106: 4 bytes
Packet MakeListAck(uint8_t status);
Packet MakeRemoteDelete(const char* path, int n, uint8_t kind, uint32_t row);
Packet MakeRemoteMkdir(const char* path, int n);
Packet MakeMachineMessage(const char* text, int n);
Packet MakeListRequest(uint8_t filter, const char* path, int n);
Packet MakeFetchRequest(const char* source, int a, const char* target, int b);
// path: the 256-byte zero-padded target field.
Packet MakeFileHeader(uint32_t size, uint8_t replace, const uint8_t md5[16], uint32_t tick, const char path[kHeaderPathSize]);
Packet MakeDataBlock(uint32_t offset, const void* bytes, int n, bool last);
// The same block written over a kept packet: every byte up to its new length
// is set, none past it is cleared.
void FillDataBlock(Packet& packet, uint32_t offset, const void* bytes, int n, bool last);
Packet MakeSetNumber(uint8_t letter, uint8_t number);
Packet MakeOfferAnswer(uint8_t status, uint32_t targets, uint32_t queued);
