#pragma once

#include "platform/core/CString.h"

// Framework exceptions: thrown by value, caught by reference.
class CException {
public:
    virtual ~CException() = default;
    // A short English description for logs.
    virtual const char* What() const { return "exception"; }
};

class CArchiveException : public CException {
public:
    enum {
        none,
        genericException,
        readOnly,   // writing to an archive that loads
        endOfFile,  // the stream ends early, or a count exceeds the bytes left
        writeOnly,  // reading from an archive that stores
        badIndex,   // an object or class reference to no known index
        badClass,   // unknown class name, or a class the reader refuses
        badSchema,  // stored schema differs from the registered class
    };
    // The framework names the generic cause both ways.
    static constexpr int generic = genericException;

    explicit CArchiveException(int cause = none, const CString& fileName = CString())
        : m_cause(cause), m_strFileName(fileName)
    {
    }
    const char* What() const override;

    int m_cause;
    CString m_strFileName;
};

class CFileException : public CException {
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };
    static constexpr int generic = genericException;

    explicit CFileException(int cause = none, long osError = -1, const CString& fileName = CString())
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName)
    {
    }
    const char* What() const override;

    // The cause that best describes an errno value.
    static int OsErrorToCause(int error);

    int m_cause;
    long m_lOsError;
    CString m_strFileName;
};

// An index outside a container, or an argument a function cannot take.
class CInvalidArgException : public CException {
public:
    const char* What() const override { return "invalid argument"; }
};

class CMemoryException : public CException {
public:
    const char* What() const override { return "out of memory"; }
};
