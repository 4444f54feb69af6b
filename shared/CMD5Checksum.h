#pragma once

#include <cstddef>
#include <cstdint>

// MD5 message digest (RFC 1321) of a memory block or a file. Callers use the
// raw 16-byte digest as an integrity tag.
class CMD5Checksum {
public:
    CMD5Checksum();
    virtual ~CMD5Checksum() = default;

    void Update(const uint8_t* data, size_t length);
    void Final(uint8_t digest[16]);

private:
    void Transform(const uint8_t block[64]);

    uint8_t m_buffer[64];
    uint32_t m_count[2]; // bit count, low word first
    uint32_t m_state[4];
};

void MD5OfBuffer(uint8_t out[16], size_t length, const void* data);

// False, with out untouched, when the file cannot be opened. A read error
// after that throws CFileException.
bool MD5OfFile(const char16_t* path, uint8_t out[16]);
