#pragma once

#include "platform/core/CFile.h"

#include <cstddef>
#include <cstdint>

// A file in memory. Its buffer comes from malloc: after Detach() the caller
// owns it and releases it with free().
class CMemFile : public CFile {
public:
    explicit CMemFile(unsigned growBytes = 1024);
    // Works on the caller's buffer; see Attach.
    CMemFile(uint8_t* buffer, unsigned size, unsigned growBytes = 0);
    ~CMemFile() override;

    // growBytes 0: the buffer is the whole file and cannot grow (a write past
    // its end throws diskFull). Otherwise the file starts empty and grows by
    // reallocating the buffer, which then belongs to the CMemFile.
    void Attach(uint8_t* buffer, unsigned size, unsigned growBytes = 0);
    // Gives the buffer away and leaves the file empty.
    uint8_t* Detach();

    bool Open(const CString& path, unsigned flags, CFileException* error = nullptr) override;
    unsigned Read(void* data, unsigned count) override;
    void Write(const void* data, unsigned count) override;
    uint64_t Seek(int64_t offset, unsigned from) override;
    uint64_t GetLength() const override { return m_fileSize; }
    void SetLength(uint64_t length) override;
    uint64_t GetPosition() const override { return m_position; }
    void Flush() override {}
    void Close() override;
    void Abort() override;

private:
    void Grow(size_t newSize);
    void FreeOwned();

    uint8_t* m_buffer = nullptr;
    size_t m_bufferSize = 0;
    size_t m_fileSize = 0;
    size_t m_position = 0;
    unsigned m_growBytes = 1024;
    bool m_autoDelete = true;   // the buffer is ours to free
};
