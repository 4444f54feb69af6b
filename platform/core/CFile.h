#pragma once

#include "platform/core/CString.h"

#include <cstdint>

class CFileException;

// A binary file. Paths are UTF-8 on disk; '\' is taken as '/'. Share modes
// are accepted and not enforced: files are never locked against others.
class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() = default;
    // Opens or throws CFileException.
    CFile(const CString& path, unsigned flags);
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // False (and the cause in error when given) when the file cannot be opened.
    // Folders are refused.
    virtual bool Open(const CString& path, unsigned flags, CFileException* error = nullptr);
    // Reads up to count bytes; fewer only at the end of the file. Errors throw.
    virtual unsigned Read(void* data, unsigned count);
    virtual void Write(const void* data, unsigned count);
    virtual uint64_t Seek(int64_t offset, unsigned from);
    void SeekToBegin() { Seek(0, begin); }
    uint64_t SeekToEnd() { return Seek(0, end); }
    virtual uint64_t GetLength() const;
    virtual void SetLength(uint64_t length);
    virtual uint64_t GetPosition() const;
    virtual void Flush();
    virtual void Close();
    // Closes without throwing.
    virtual void Abort();

    bool IsOpen() const { return m_fd >= 0; }
    CString GetFilePath() const { return m_path; }
    CString GetFileName() const;

    // The UTF-8 form of a program path, with '\' turned into '/'.
    static std::string NativePath(const CString& path);

protected:
    [[noreturn]] void ThrowOsError(int error) const;

    int m_fd = -1;
    CString m_path;
};
