#include "platform/core/CArchive.h"

#include "platform/core/CFile.h"

#include <bit>
#include <cstring>
#include <limits>

static_assert(std::endian::native == std::endian::little, "archive scalars are copied as little-endian");

// Loading keeps room for two blocks, so that a read that first brings the
// file position to a block boundary is followed by whole blocks.
CArchive::CArchive(CFile* file, unsigned mode, int bufferSize, void*)
    : m_file(file),
      m_loading((mode & load) != 0),
      m_flushOnDelete((mode & bNoFlushOnDelete) == 0),
      m_block(static_cast<size_t>(bufferSize < 128 ? 128 : bufferSize)),
      m_buffer(m_loading ? 2 * m_block : m_block)
{
}

CArchive::~CArchive()
{
    if (m_file != nullptr && m_flushOnDelete) {
        try {
            Close();
        } catch (const CException&) {
            // A destructor cannot report; writers that care call Close().
        }
    }
}

void CArchive::FailStoring() const
{
    if (m_file == nullptr)
        throw CArchiveException(CArchiveException::genericException);
    throw CArchiveException(CArchiveException::readOnly);
}

void CArchive::FailLoading() const
{
    if (m_file == nullptr)
        throw CArchiveException(CArchiveException::genericException);
    throw CArchiveException(CArchiveException::writeOnly);
}

void CArchive::FlushBuffer()
{
    if (m_cur > 0) {
        size_t n = m_cur;
        m_cur = 0;
        m_file->Write(m_buffer.data(), static_cast<unsigned>(n));
    }
}

void CArchive::Flush()
{
    if (m_file == nullptr)
        return;
    if (m_loading) {
        if (m_max > m_cur)
            m_file->Seek(-static_cast<int64_t>(m_max - m_cur), CFile::current);
        m_cur = m_max = 0;
        m_fileAtKnown = false;
    } else {
        FlushBuffer();
    }
}

void CArchive::Close()
{
    if (m_file == nullptr)
        return;
    Flush();
    m_file = nullptr;
}

void CArchive::Abort()
{
    m_file = nullptr;
    m_cur = m_max = 0;      // ReadExact's fast path then finds nothing
}

// Moves unread bytes to the front and reads from the file until at least
// `wanted` bytes (or all that remain) are buffered. Each read ends on a
// block boundary of the file, as a plain reader's reads do: a read across
// two pages of the page cache cost a tenth more, and a drawing is read in
// thousands of them.
void CArchive::FillBuffer(size_t wanted)
{
    size_t have = m_max - m_cur;
    if (have > 0 && m_cur > 0)
        std::memmove(m_buffer.data(), m_buffer.data() + m_cur, have);
    m_cur = 0;
    m_max = have;
    if (!m_fileAtKnown) {
        m_fileAt = m_file->GetPosition();
        m_fileAtKnown = true;
    }
    while (m_max < wanted && m_max < m_buffer.size()) {
        const size_t toBoundary = m_block - static_cast<size_t>(m_fileAt % m_block);
        const size_t amount = std::min(toBoundary, m_buffer.size() - m_max);
        unsigned n = m_file->Read(m_buffer.data() + m_max, static_cast<unsigned>(amount));
        if (n == 0)
            break;
        m_max += n;
        m_fileAt += n;
    }
}

unsigned CArchive::Read(void* data, unsigned size)
{
    CheckLoading();
    if (size == 0)
        return 0;
    auto* out = static_cast<uint8_t*>(data);
    size_t done = 0;
    while (done < size) {
        if (m_cur == m_max) {
            size_t rest = size - done;
            if (rest >= m_block) {
                // Large blocks go straight from the file.
                unsigned n = m_file->Read(out + done, static_cast<unsigned>(rest));
                done += n;
                m_fileAt += n;
                break;
            }
            FillBuffer(rest);
            if (m_cur == m_max)
                break;
        }
        size_t n = std::min(m_max - m_cur, size - done);
        std::memcpy(out + done, m_buffer.data() + m_cur, n);
        m_cur += n;
        done += n;
    }
    return static_cast<unsigned>(done);
}

void CArchive::ReadExactSlow(void* data, size_t size)
{
    auto* out = static_cast<uint8_t*>(data);
    while (size > 0) {
        unsigned chunk = static_cast<unsigned>(std::min<size_t>(size, 1u << 30));
        if (Read(out, chunk) != chunk)
            throw CArchiveException(CArchiveException::endOfFile);
        out += chunk;
        size -= chunk;
    }
}

void CArchive::Write(const void* data, unsigned size)
{
    CheckStoring();
    if (size == 0)
        return;
    const auto* in = static_cast<const uint8_t*>(data);
    if (size >= m_buffer.size()) {
        FlushBuffer();
        m_file->Write(in, size);
        return;
    }
    if (m_cur + size > m_buffer.size())
        FlushBuffer();
    std::memcpy(m_buffer.data() + m_cur, in, size);
    m_cur += size;
}

uint64_t CArchive::BytesLeft() const
{
    CheckLoading();
    uint64_t length = m_file->GetLength();
    uint64_t position = m_file->GetPosition();
    return (m_max - m_cur) + (length > position ? length - position : 0);
}

void CArchive::CheckCount(uint64_t count, uint64_t elementSize) const
{
    // Bytes already buffered settle most counts without asking the file:
    // before, every count and string cost a stat and a seek, and a drawing
    // of 100,000 texts opened ten times slower than one of lines.
    if (m_loading && m_file != nullptr && elementSize != 0 && count <= (m_max - m_cur) / elementSize)
        return;
    uint64_t left = BytesLeft();
    if (elementSize != 0 && count > left / elementSize)
        throw CArchiveException(CArchiveException::endOfFile);
}

template <class T>
void CArchive::Put(T value)
{
    CheckStoring();
    if (m_cur + sizeof(T) > m_buffer.size())
        FlushBuffer();
    std::memcpy(m_buffer.data() + m_cur, &value, sizeof(T));
    m_cur += sizeof(T);
}

void CArchive::WriteCount(size_t count)
{
    if (count < 0xFFFF) {
        Put<uint16_t>(static_cast<uint16_t>(count));
        return;
    }
    if (count > 0xFFFFFFFFu)
        throw CArchiveException(CArchiveException::genericException);
    Put<uint16_t>(0xFFFF);
    Put<uint32_t>(static_cast<uint32_t>(count));
}

size_t CArchive::ReadCount()
{
    uint16_t small = Get<uint16_t>();
    size_t count = small != 0xFFFF ? small : Get<uint32_t>();
    // Every element takes at least a byte, so a larger count is a broken stream.
    CheckCount(count, 1);
    return count;
}

CArchive& CArchive::operator<<(bool value) { Put<uint8_t>(value ? 1 : 0); return *this; }
CArchive& CArchive::operator<<(char value) { Put(value); return *this; }
CArchive& CArchive::operator<<(signed char value) { Put(value); return *this; }
CArchive& CArchive::operator<<(unsigned char value) { Put(value); return *this; }
CArchive& CArchive::operator<<(short value) { Put(value); return *this; }
CArchive& CArchive::operator<<(unsigned short value) { Put(value); return *this; }
CArchive& CArchive::operator<<(char16_t value) { Put(value); return *this; }
CArchive& CArchive::operator<<(int value) { Put(value); return *this; }
CArchive& CArchive::operator<<(unsigned value) { Put(value); return *this; }
CArchive& CArchive::operator<<(long value) { Put(value); return *this; }
CArchive& CArchive::operator<<(unsigned long value) { Put(value); return *this; }
CArchive& CArchive::operator<<(long long value) { Put(value); return *this; }
CArchive& CArchive::operator<<(unsigned long long value) { Put(value); return *this; }
CArchive& CArchive::operator<<(float value) { Put(value); return *this; }
CArchive& CArchive::operator<<(double value) { Put(value); return *this; }

CArchive& CArchive::operator<<(const char16_t* text)
{
    WriteWideString(text != nullptr ? CString(text) : CString());
    return *this;
}

CArchive& CArchive::operator<<(const CObject* object)
{
    WriteObject(object);
    return *this;
}


CArchive& CArchive::operator>>(CObject*& object)
{
    object = ReadObject(nullptr);
    return *this;
}
