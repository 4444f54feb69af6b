#include "link/packets.h"

#include "link/link_helpers.h"

void SealChecksum(Packet& packet)
{
    uint32_t crc = packet.length > 6 ? Crc32(packet.data + 6, static_cast<size_t>(packet.length - 6)) : 0;
    packet.Put32(2, crc);
}

bool ChecksumMatches(const uint8_t* data, int length)
{
    if (length < 6)
        return false;
    return Get32(data, 2) == Crc32(data + 6, static_cast<size_t>(length - 6));
}

int MinimumLength(uint16_t code)
{
    switch (code) {
    case kCodeAnnounce:
    case kCodeLeave:
        return 9;
    case kCodeRemoteDelete:
        return 8;
    case kCodeRemoteMkdir:
    case kCodeProcessTable:
        return 3;
    case kCodeFileHeader:
        return kHeaderSize;
    case kCodeHeaderAnswer:
    case kCodeBlockAnswer:
    case kCodeTransferEnd:
    case kCodeNameAnswer:
        return 4;
    case kCodeDataBlock:
        return kBlockHead;
    case kCodeListDir:
        return 6;
    case kCodeListPage:
        return 10;
    case kCodeListEnd:
    case kCodeOfferCancel:
        return 2;
    case kCodeOffer:
        return kOfferPathOffset;
    default:
        return 0;
    }
}

Packet MakeCodeOnly(uint16_t code)
{
    Packet p;
    p.Put16(0, code);
    return p;
}

Packet MakeStatusPacket(uint16_t code, uint8_t status)
{
    Packet p;
    p.Put16(0, code);
    p.Put8(2, status);
    p.Put8(3, 0);
    return p;
}

Packet MakeListAck(uint8_t status)
{
    Packet p;
    p.Put16(0, kCodeListAck);
    p.Put8(2, status);
    return p;
}

Packet MakeRemoteDelete(const char* path, int n, uint8_t kind, uint32_t row)
{
    Packet p;
    p.Put16(0, kCodeRemoteDelete);
    p.Put8(6, kind);
    p.Put8(7, 0);
    p.Put32(8, row);
    p.PutBytes(12, path, n);
    SealChecksum(p);
    return p;
}

Packet MakeRemoteMkdir(const char* path, int n)
{
    Packet p;
    p.Put16(0, kCodeRemoteMkdir);
    p.Put8(6, 0);
    p.Put8(7, 0);
    p.PutBytes(8, path, n);
    SealChecksum(p);
    return p;
}

Packet MakeMachineMessage(const char* text, int n)
{
    Packet p;
    p.Put16(0, kCodeMachineMessage);
    p.PutBytes(2, text, n);
    return p;
}

Packet MakeListRequest(uint8_t filter, const char* path, int n)
{
    Packet p;
    p.Put16(0, kCodeListDir);
    p.Put8(2, filter);
    p.Put8(3, 0);
    p.PutBytes(4, path, n);
    return p;
}

Packet MakeFetchRequest(const char* source, int a, const char* target, int b)
{
    Packet p;
    p.Put16(0, kCodeFetchRequest);
    p.Put32(6, static_cast<uint32_t>(a));
    p.Put32(10, static_cast<uint32_t>(b));
    p.PutBytes(14, source, a);
    p.PutBytes(14 + a, target, b);
    SealChecksum(p);
    return p;
}

Packet MakeFileHeader(uint32_t size, uint8_t replace, const uint8_t md5[16], uint32_t tick, const char path[kHeaderPathSize])
{
    Packet p;
    p.Put16(0, kCodeFileHeader);
    p.Put32(6, size);
    p.Put8(10, replace);
    p.Put8(11, 0);
    p.Put8(12, 0);
    p.Put8(13, 0);
    p.PutBytes(14, md5, 16);
    p.Put32(30, tick);
    p.PutBytes(kHeaderPathOffset, path, kHeaderPathSize);
    SealChecksum(p);
    return p;
}

Packet MakeDataBlock(uint32_t offset, const void* bytes, int n, bool last)
{
    Packet p;
    FillDataBlock(p, offset, bytes, n, last);
    return p;
}

void FillDataBlock(Packet& p, uint32_t offset, const void* bytes, int n, bool last)
{
    p.length = 0;
    p.Put16(0, kCodeDataBlock);
    p.Put32(6, offset);
    p.Put32(10, static_cast<uint32_t>(n));
    p.Put8(14, last ? 1 : 0);
    p.Put8(15, 0);
    p.Put8(16, 0);
    p.Put8(17, 0);
    p.PutBytes(kBlockHead, bytes, n);
    SealChecksum(p);
}

Packet MakeSetNumber(uint8_t letter, uint8_t number)
{
    Packet p;
    p.Put16(0, kCodeSetNumber);
    p.Put8(2, letter);
    p.Put8(3, number);
    return p;
}

Packet MakeOfferAnswer(uint8_t status, uint32_t targets, uint32_t queued)
{
    Packet p;
    p.Put16(0, kCodeOfferAnswer);
    p.Put8(2, status);
    p.Put8(3, 0);
    p.Put32(4, targets);
    p.Put32(8, queued);
    p.Put16(12, 0);
    return p;
}
