#include "platform/core/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/core/files.h"

MappedFile::~MappedFile()
{
    Close();
}

bool MappedFile::Open(const CString& path)
{
    Close();
    const int fd = ::open(NativePath(MapWindowsPath(path)).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    if (st.st_size > 0) {
        void* data = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (data == MAP_FAILED) {
            ::close(fd);
            return false;
        }
        m_data = data;
        m_size = static_cast<std::size_t>(st.st_size);
    }
    ::close(fd);
    return true;
}

void MappedFile::Close()
{
    if (m_data != nullptr)
        ::munmap(m_data, m_size);
    m_data = nullptr;
    m_size = 0;
}
