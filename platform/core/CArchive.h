#pragma once

#include "platform/core/CObject.h"
#include "platform/core/CString.h"
#include "platform/core/exceptions.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <unordered_map>
#include <vector>

class CFile;

// Buffered binary archive over a CFile, byte-compatible with the framework's:
// little-endian scalars, counts, wide strings and tagged objects with class
// records and back-references. Fixed-width types are the safe choice here:
// long is 8 bytes on this platform, as are int64_t and long long.
class CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2 };

    // buffer is accepted for compatibility; the archive keeps its own.
    CArchive(CFile* file, unsigned mode, int bufferSize = 4096, void* buffer = nullptr);
    // Flushes a storing archive that was not closed; errors are lost then, so
    // writers call Close() themselves.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return m_loading; }
    bool IsStoring() const { return !m_loading; }
    CFile* GetFile() const { return m_file; }

    // Storing: writes the buffer out. Loading: puts the file position back
    // to the first byte not yet consumed.
    void Flush();
    void Close();
    void Abort();

    // Raw blocks. Read returns the bytes read, fewer only at the end of the data.
    unsigned Read(void* data, unsigned size);
    void Write(const void* data, unsigned size);
    // Reads exactly size bytes or throws endOfFile. Fixed records are read
    // whole with it and decoded from the copy.
    void ReadExact(void* data, size_t size)
    {
        if (size == 0)
            return;
        if (m_loading && m_max - m_cur >= size) {
            std::memcpy(data, m_buffer.data() + m_cur, size);
            m_cur += size;
            return;
        }
        ReadExactSlow(data, size);
    }

    // Loading: the next size bytes, consumed, where the buffer holds them
    // already; else null, and nothing is consumed. A fixed record is then
    // decoded in place rather than from a copy.
    const void* TakeBuffered(size_t size)
    {
        if (!m_loading || m_max - m_cur < size)
            return nullptr;
        const void* at = m_buffer.data() + m_cur;
        m_cur += size;
        return at;
    }
    // The record of type T in place (TakeBuffered), or read whole into copy.
    template <class T>
    const T& ReadRecord(T& copy)
    {
        static_assert(alignof(T) == 1, "records are packed");
        if (const void* at = TakeBuffered(sizeof(T)))
            return *static_cast<const T*>(at);
        ReadExact(&copy, sizeof(T));
        return copy;
    }

    // 16 bits below 0xFFFF, else 0xFFFF and 32 bits. ReadCount throws
    // endOfFile for a count larger than the bytes left; callers still check
    // count times element size with CheckCount before allocating.
    void WriteCount(size_t count);
    size_t ReadCount();

    // Bytes still to be read: the buffer plus the rest of the file.
    uint64_t BytesLeft() const;
    // Throws endOfFile unless count elements of elementSize bytes can follow.
    void CheckCount(uint64_t count, uint64_t elementSize) const;

    void WriteObject(const CObject* object);
    // Reads one tagged object; requested (may be null) is the class it must derive from.
    CObject* ReadObject(const CRuntimeClass* requested);

    // While set, ReadObject accepts only classes the predicate accepts, and
    // refuses back-references and null objects unless allowed (badClass).
    void SetLoadFilter(std::function<bool(const CRuntimeClass*)> acceptClass,
                       bool allowBackReferences = false, bool allowNull = false);
    void ClearLoadFilter();

    CArchive& operator<<(bool value);
    CArchive& operator<<(char value);
    CArchive& operator<<(signed char value);
    CArchive& operator<<(unsigned char value);
    CArchive& operator<<(short value);
    CArchive& operator<<(unsigned short value);
    CArchive& operator<<(char16_t value);
    CArchive& operator<<(int value);
    CArchive& operator<<(unsigned value);
    CArchive& operator<<(long value);
    CArchive& operator<<(unsigned long value);
    CArchive& operator<<(long long value);
    CArchive& operator<<(unsigned long long value);
    CArchive& operator<<(float value);
    CArchive& operator<<(double value);
    CArchive& operator<<(const char16_t* text);    // wide string form
    CArchive& operator<<(const CObject* object);   // WriteObject
    // Any other pointer would silently turn into bool.
    CArchive& operator<<(const void*) = delete;
    CArchive& operator<<(const char*) = delete;

    CArchive& operator>>(bool& value);
    CArchive& operator>>(char& value);
    CArchive& operator>>(signed char& value);
    CArchive& operator>>(unsigned char& value);
    CArchive& operator>>(short& value);
    CArchive& operator>>(unsigned short& value);
    CArchive& operator>>(char16_t& value);
    CArchive& operator>>(int& value);
    CArchive& operator>>(unsigned& value);
    CArchive& operator>>(long& value);
    CArchive& operator>>(unsigned long& value);
    CArchive& operator>>(long long& value);
    CArchive& operator>>(unsigned long long& value);
    CArchive& operator>>(float& value);
    CArchive& operator>>(double& value);
    CArchive& operator>>(CObject*& object);        // ReadObject(nullptr)

    void WriteWideString(const CString& text);         // wide string form
    // Reads the wide form, or the narrow form (GBK bytes) converted.
    CString ReadWideString();

private:
    template <class T>
    void Put(T value);
    template <class T>
    T Get();

    void CheckStoring() const
    {
        if (m_file == nullptr || m_loading)
            FailStoring();
    }
    void CheckLoading() const
    {
        if (m_file == nullptr || !m_loading)
            FailLoading();
    }
    [[noreturn]] void FailStoring() const;
    [[noreturn]] void FailLoading() const;
    void ReadExactSlow(void* data, size_t size);
    void FillBuffer(size_t wanted);
    void FlushBuffer();

    uint32_t ReadTag(uint16_t small);
    const CRuntimeClass* ReadClass(uint16_t small, uint32_t tag, const CRuntimeClass* requested);
    const CRuntimeClass* LoadNewClass();
    void WriteClass(const CRuntimeClass* cls);
    void WriteIndexTag(uint32_t index, bool isClass);
    uint32_t NextIndex();

    struct LoadedClass {
        uint32_t index;
        const CRuntimeClass* cls;
    };
    const CRuntimeClass* LoadedClassAt(uint32_t index);

    CFile* m_file;
    bool m_loading;
    bool m_flushOnDelete;
    size_t m_block;     // the buffer size asked for: the unit of file reads and writes
    std::vector<uint8_t> m_buffer;
    size_t m_cur = 0;   // next byte to read or write
    size_t m_max = 0;   // loading: end of valid bytes
    uint64_t m_fileAt = 0;          // loading: the file position after the last read
    bool m_fileAtKnown = false;     // asked of the file at the first read and after a seek

    uint32_t m_mapCount = 1;   // 0 is the null object
    std::unordered_map<const void*, uint32_t> m_storeMap;
    std::vector<LoadedClass> m_loadClasses;     // in index order
    uint32_t m_lastClassIndex = 0;              // LoadedClassAt's last answer
    const CRuntimeClass* m_lastClass = nullptr;
    uint32_t m_repeatTag = 0;                   // the last class tag ReadClass checked...
    const CRuntimeClass* m_repeatRequested = nullptr;   // ...the class it was checked against...
    const CRuntimeClass* m_repeatClass = nullptr;       // ...and its class (null: none)
    std::vector<CObject*> m_loadObjects;        // by index; null: not an object

    std::function<bool(const CRuntimeClass*)> m_acceptClass;
    bool m_allowBackReferences = true;
    bool m_allowNull = true;
};

// Scalar reads are inline: a drawing is read value by value, and a call
// per value was a fifth of an open.
template <class T>
inline T CArchive::Get()
{
    T value;
    ReadExact(&value, sizeof(T));
    return value;
}

inline CArchive& CArchive::operator>>(bool& value) { value = Get<uint8_t>() != 0; return *this; }
inline CArchive& CArchive::operator>>(char& value) { value = Get<char>(); return *this; }
inline CArchive& CArchive::operator>>(signed char& value) { value = Get<signed char>(); return *this; }
inline CArchive& CArchive::operator>>(unsigned char& value) { value = Get<unsigned char>(); return *this; }
inline CArchive& CArchive::operator>>(short& value) { value = Get<short>(); return *this; }
inline CArchive& CArchive::operator>>(unsigned short& value) { value = Get<unsigned short>(); return *this; }
inline CArchive& CArchive::operator>>(char16_t& value) { value = Get<char16_t>(); return *this; }
inline CArchive& CArchive::operator>>(int& value) { value = Get<int>(); return *this; }
inline CArchive& CArchive::operator>>(unsigned& value) { value = Get<unsigned>(); return *this; }
inline CArchive& CArchive::operator>>(long& value) { value = Get<long>(); return *this; }
inline CArchive& CArchive::operator>>(unsigned long& value) { value = Get<unsigned long>(); return *this; }
inline CArchive& CArchive::operator>>(long long& value) { value = Get<long long>(); return *this; }
inline CArchive& CArchive::operator>>(unsigned long long& value) { value = Get<unsigned long long>(); return *this; }
inline CArchive& CArchive::operator>>(float& value) { value = Get<float>(); return *this; }
inline CArchive& CArchive::operator>>(double& value) { value = Get<double>(); return *this; }

CArchive& operator<<(CArchive& ar, const CString& text);
CArchive& operator>>(CArchive& ar, CString& text);
