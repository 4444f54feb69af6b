#include "platform/core/files.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kTempMark = ".tmp-";
constexpr std::size_t kRandomPart = 6; // mkostemp's XXXXXX

bool IsRandomChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Leftovers of a digest companion stay for its reader, which may complete
// the pair with one (FinishDigestPair).
bool IsDigestCompanionTemporary(std::string_view name)
{
    const std::string target = AtomicTemporaryTarget(name);
    return target.size() > 3 && target.compare(target.size() - 3, 3, "MD5") == 0;
}

// Calls settle when path is a regular file whose lock nobody holds, with
// the lock held: a writer that created the file but has not locked it yet
// waits, then finds it gone and makes another (CAtomicFile::Open).
template <class Settle>
void WithUnheld(const std::string& path, Settle settle)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0)
        settle(path);
    close(fd);
}

template <class Visit>
void ForEachTemporary(const std::string& folder, Visit visit)
{
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return;
    while (const dirent* d = readdir(dir)) {
        const std::string_view name = d->d_name;
        if (IsAtomicTemporaryName(name))
            visit(name, (folder.empty() ? std::string() : folder + "/") + std::string(name));
    }
    closedir(dir);
}

} // namespace

bool IsAtomicTemporaryName(std::string_view name)
{
    if (name.size() < 1 + 1 + kTempMark.size() + kRandomPart || name[0] != '.')
        return false;
    const std::size_t mark = name.size() - kRandomPart - kTempMark.size();
    if (name.substr(mark, kTempMark.size()) != kTempMark)
        return false;
    for (std::size_t i = name.size() - kRandomPart; i < name.size(); ++i)
        if (!IsRandomChar(name[i]))
            return false;
    return true;
}

std::string AtomicTemporaryTarget(std::string_view name)
{
    if (!IsAtomicTemporaryName(name))
        return std::string();
    return std::string(name.substr(1, name.size() - 1 - kTempMark.size() - kRandomPart));
}

void SettleStaleTemporaries(const CString& target, const std::function<void(const std::string&)>& settle)
{
    const std::string path = NativePath(target);
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : (slash == 0 ? "/" : path.substr(0, slash));
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    ForEachTemporary(folder, [&](std::string_view name, const std::string& full) {
        // Long names are cut in the temporary's name (CAtomicFile::Open).
        const std::string of = AtomicTemporaryTarget(name);
        if (of == base || (of.size() >= 180 && base.compare(0, of.size(), of) == 0))
            WithUnheld(full, settle);
    });
}

void RemoveStaleTemporaries(const std::string& nativeFolder)
{
    ForEachTemporary(nativeFolder, [](std::string_view name, const std::string& full) {
        if (!IsDigestCompanionTemporary(name))
            WithUnheld(full, [](const std::string& p) { unlink(p.c_str()); });
    });
}
