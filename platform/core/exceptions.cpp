#include "platform/core/exceptions.h"

#include <cerrno>

const char* CArchiveException::What() const
{
    switch (m_cause) {
    case none: return "archive: no error";
    case readOnly: return "archive: write to a loading archive";
    case endOfFile: return "archive: unexpected end of data";
    case writeOnly: return "archive: read from a storing archive";
    case badIndex: return "archive: bad object or class index";
    case badClass: return "archive: bad class";
    case badSchema: return "archive: bad schema";
    default: return "archive: error";
    }
}

const char* CFileException::What() const
{
    switch (m_cause) {
    case none: return "file: no error";
    case fileNotFound: return "file: not found";
    case badPath: return "file: bad path";
    case tooManyOpenFiles: return "file: too many open files";
    case accessDenied: return "file: access denied";
    case badSeek: return "file: bad seek";
    case hardIO: return "file: read or write error";
    case diskFull: return "file: disk full";
    case endOfFile: return "file: end of file";
    default: return "file: error";
    }
}

int CFileException::OsErrorToCause(int error)
{
    switch (error) {
    case 0: return none;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return accessDenied;
    case EINVAL:
    case ESPIPE: return badSeek;
    case ENOSPC:
    case EDQUOT: return diskFull;
    case EIO: return hardIO;
    default: return genericException;
    }
}
