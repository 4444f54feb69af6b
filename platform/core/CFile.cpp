#include "platform/core/CFile.h"

#include "platform/core/exceptions.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CFile::CFile(const CString& path, unsigned flags)
{
    CFileException error;
    if (!Open(path, flags, &error))
        throw error;
}

CFile::~CFile()
{
    Abort();
}

std::string CFile::NativePath(const CString& path)
{
    std::string native = path.ToUtf8();
    for (char& c : native) {
        if (c == '\\')
            c = '/';
    }
    return native;
}

CString CFile::GetFileName() const
{
    const std::u16string& s = m_path.Str();
    size_t slash = s.find_last_of(u"/\\");
    return slash == std::u16string::npos ? m_path : CString(s.substr(slash + 1));
}

bool CFile::Open(const CString& path, unsigned flags, CFileException* error)
{
    Abort();
    int access = O_RDONLY;
    if ((flags & 3) == modeWrite)
        access = O_WRONLY;
    else if ((flags & 3) == modeReadWrite)
        access = O_RDWR;
    int oflags = access | O_CLOEXEC;
    if (flags & modeCreate) {
        oflags |= O_CREAT;
        if (!(flags & modeNoTruncate))
            oflags |= O_TRUNC;
    }
    int fd = ::open(NativePath(path).c_str(), oflags, 0666);
    int osError = errno;
    if (fd >= 0) {
        struct stat st {};
        if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
            ::close(fd);
            fd = -1;
            osError = EISDIR;
        }
    }
    if (fd < 0) {
        if (error != nullptr)
            *error = CFileException(CFileException::OsErrorToCause(osError), osError, path);
        return false;
    }
    m_fd = fd;
    m_path = path;
    return true;
}

void CFile::ThrowOsError(int error) const
{
    throw CFileException(CFileException::OsErrorToCause(error), error, m_path);
}

unsigned CFile::Read(void* data, unsigned count)
{
    if (m_fd < 0)
        throw CFileException(CFileException::invalidFile, -1, m_path);
    auto* out = static_cast<char*>(data);
    unsigned done = 0;
    while (done < count) {
        ssize_t n = ::read(m_fd, out + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw CFileException(CFileException::hardIO, errno, m_path);
        }
        if (n == 0)
            break;
        done += static_cast<unsigned>(n);
    }
    return done;
}

void CFile::Write(const void* data, unsigned count)
{
    if (m_fd < 0)
        throw CFileException(CFileException::invalidFile, -1, m_path);
    const auto* in = static_cast<const char*>(data);
    unsigned done = 0;
    while (done < count) {
        ssize_t n = ::write(m_fd, in + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowOsError(errno);
        }
        done += static_cast<unsigned>(n);
    }
}

uint64_t CFile::Seek(int64_t offset, unsigned from)
{
    if (m_fd < 0)
        throw CFileException(CFileException::invalidFile, -1, m_path);
    int whence = from == current ? SEEK_CUR : from == end ? SEEK_END : SEEK_SET;
    off_t pos = ::lseek(m_fd, static_cast<off_t>(offset), whence);
    if (pos < 0)
        throw CFileException(CFileException::badSeek, errno, m_path);
    return static_cast<uint64_t>(pos);
}

uint64_t CFile::GetLength() const
{
    if (m_fd < 0)
        throw CFileException(CFileException::invalidFile, -1, m_path);
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        ThrowOsError(errno);
    return static_cast<uint64_t>(st.st_size);
}

void CFile::SetLength(uint64_t length)
{
    if (m_fd < 0)
        throw CFileException(CFileException::invalidFile, -1, m_path);
    if (::ftruncate(m_fd, static_cast<off_t>(length)) != 0)
        ThrowOsError(errno);
}

uint64_t CFile::GetPosition() const
{
    if (m_fd < 0)
        throw CFileException(CFileException::invalidFile, -1, m_path);
    off_t pos = ::lseek(m_fd, 0, SEEK_CUR);
    if (pos < 0)
        throw CFileException(CFileException::badSeek, errno, m_path);
    return static_cast<uint64_t>(pos);
}

void CFile::Flush()
{
    if (m_fd >= 0 && ::fsync(m_fd) != 0 && errno != EINVAL)
        ThrowOsError(errno);
}

void CFile::Close()
{
    if (m_fd < 0)
        return;
    int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR)
        ThrowOsError(errno);
}

void CFile::Abort()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}
