#include "platform/core/CMemFile.h"

#include "platform/core/exceptions.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

CMemFile::CMemFile(unsigned growBytes) : m_growBytes(growBytes == 0 ? 1024 : growBytes)
{
}

CMemFile::CMemFile(uint8_t* buffer, unsigned size, unsigned growBytes)
{
    Attach(buffer, size, growBytes);
}

CMemFile::~CMemFile()
{
    FreeOwned();
}

void CMemFile::FreeOwned()
{
    if (m_autoDelete)
        std::free(m_buffer);
    m_buffer = nullptr;
    m_bufferSize = m_fileSize = m_position = 0;
    m_autoDelete = true;
}

void CMemFile::Attach(uint8_t* buffer, unsigned size, unsigned growBytes)
{
    FreeOwned();
    m_buffer = buffer;
    m_bufferSize = size;
    m_fileSize = growBytes == 0 ? size : 0;
    m_growBytes = growBytes;
    m_autoDelete = false;
}

uint8_t* CMemFile::Detach()
{
    uint8_t* buffer = m_buffer;
    m_buffer = nullptr;
    m_bufferSize = m_fileSize = m_position = 0;
    m_autoDelete = true;
    if (m_growBytes == 0)
        m_growBytes = 1024;
    return buffer;
}

bool CMemFile::Open(const CString&, unsigned, CFileException* error)
{
    // A memory file has no path to open.
    if (error != nullptr)
        *error = CFileException(CFileException::genericException);
    return false;
}

void CMemFile::Grow(size_t newSize)
{
    if (newSize <= m_bufferSize)
        return;
    if (m_growBytes == 0)
        throw CFileException(CFileException::diskFull);
    size_t size = m_bufferSize;
    while (size < newSize)
        size += std::max<size_t>(m_growBytes, size / 2);
    uint8_t* grown;
    if (m_autoDelete) {
        grown = static_cast<uint8_t*>(std::realloc(m_buffer, size));
    } else {
        // The caller's buffer is copied once into memory we own.
        grown = static_cast<uint8_t*>(std::malloc(size));
        if (grown != nullptr && m_fileSize > 0)
            std::memcpy(grown, m_buffer, m_fileSize);
    }
    if (grown == nullptr)
        throw CMemoryException();
    m_buffer = grown;
    m_bufferSize = size;
    m_autoDelete = true;
}

unsigned CMemFile::Read(void* data, unsigned count)
{
    if (count == 0 || m_position >= m_fileSize)
        return 0;
    size_t n = std::min<size_t>(count, m_fileSize - m_position);
    std::memcpy(data, m_buffer + m_position, n);
    m_position += n;
    return static_cast<unsigned>(n);
}

void CMemFile::Write(const void* data, unsigned count)
{
    if (count == 0)
        return;
    size_t end = m_position + count;
    Grow(end);
    if (m_position > m_fileSize)
        std::memset(m_buffer + m_fileSize, 0, m_position - m_fileSize);
    std::memcpy(m_buffer + m_position, data, count);
    m_position = end;
    if (end > m_fileSize)
        m_fileSize = end;
}

uint64_t CMemFile::Seek(int64_t offset, unsigned from)
{
    int64_t base = from == current ? static_cast<int64_t>(m_position)
                 : from == end     ? static_cast<int64_t>(m_fileSize)
                                   : 0;
    if ((offset < 0 && -offset > base) || offset > INT64_MAX - base)
        throw CFileException(CFileException::badSeek);
    m_position = static_cast<size_t>(base + offset);
    return m_position;
}

void CMemFile::SetLength(uint64_t length)
{
    Grow(static_cast<size_t>(length));
    if (length > m_fileSize)
        std::memset(m_buffer + m_fileSize, 0, static_cast<size_t>(length) - m_fileSize);
    m_fileSize = static_cast<size_t>(length);
    if (m_position > m_fileSize)
        m_position = m_fileSize;
}

void CMemFile::Close()
{
    FreeOwned();
}

void CMemFile::Abort()
{
    FreeOwned();
}
