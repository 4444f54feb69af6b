#include "platform/core/named_objects.h"

#include "platform/core/files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

namespace {

// Names may hold any character ("{6e17-...}", "__X__"); anything but a safe
// set is written as %XX of its UTF-8 bytes, so distinct names stay distinct.
std::string LockFileName(const char* kind, const CString& name)
{
    std::string out = std::string("zorva-") + kind + "-";
    for (const unsigned char c : name.ToUtf8()) {
        const bool safe = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                          c == '_' || c == '-' || c == '{' || c == '}' || c == '.';
        if (safe) {
            out += static_cast<char>(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        }
    }
    return out + ".lock";
}

std::string LockPath(const char* kind, const CString& name)
{
    return NativePath(LockFolder()) + "/" + LockFileName(kind, name);
}

std::string ErrorText(const char* what, int err)
{
    return std::string(what) + ": " + std::generic_category().message(err);
}

int OpenLockFile(const std::string& path, bool create, std::string& error)
{
    if (create)
        CreateFolder(LockFolder());
    const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0600);
    if (fd < 0)
        error = ErrorText("cannot open lock file", errno) + " (" + path + ")";
    return fd;
}

int Flock(int fd, int op)
{
    int rc;
    do
        rc = flock(fd, op);
    while (rc != 0 && errno == EINTR);
    return rc;
}

} // namespace

CString LockFolder()
{
    if (const char* home = getenv("ZORVA_HOME"); home != nullptr && *home != '\0')
        return DataRoot();
    if (const char* run = getenv("XDG_RUNTIME_DIR"); run != nullptr && run[0] == '/')
        return CString::FromUtf8(run);
    return DataRoot();
}

bool CNamedMutex::Create(const CString& name)
{
    Close();
    m_error.clear();
    m_alreadyExists = false;
    const int fd = OpenLockFile(LockPath("mutex", name), true, m_error);
    if (fd < 0)
        return false;
    if (Flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_alreadyExists = errno == EWOULDBLOCK;
        m_error = ErrorText("mutex is held", errno);
        close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void CNamedMutex::Close()
{
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
    }
}

bool CNamedEvent::Create(const CString& name)
{
    Close();
    m_error.clear();
    m_alreadyExists = Exists(name);
    const int fd = OpenLockFile(LockPath("event", name), true, m_error);
    if (fd < 0)
        return false;
    // Shared: holders never exclude each other; Exists probes exclusively
    // for a moment, so wait rather than fail on that.
    if (Flock(fd, LOCK_SH) != 0) {
        m_error = ErrorText("cannot lock event", errno);
        close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void CNamedEvent::Close()
{
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
    }
}

bool CNamedEvent::Exists(const CString& name)
{
    std::string error;
    const int fd = OpenLockFile(LockPath("event", name), false, error);
    if (fd < 0)
        return false;
    const bool held = Flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);
    return held;
}
