#include "platform/core/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <system_error>
#include <unistd.h>

namespace {

std::string StripTrailingSlashes(std::string s)
{
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

std::string HomeFolderUtf8()
{
    std::string home;
    if (const char* h = getenv("HOME"); h != nullptr && *h != '\0')
        home = h;
    else if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr)
        home = pw->pw_dir;
    else
        home = "/tmp";
    return StripTrailingSlashes(home);
}

std::string DataRootUtf8()
{
    if (const char* home = getenv("ZORVA_HOME"); home != nullptr && *home != '\0')
        return StripTrailingSlashes(home);
    // A relative XDG_DATA_HOME is invalid and ignored.
    if (const char* xdg = getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/')
        return StripTrailingSlashes(xdg) + "/zorva";
    return HomeFolderUtf8() + "/.local/share/zorva";
}

bool IsDrivePath(std::string_view s)
{
    return s.size() >= 2 && s[1] == ':' && ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z'));
}

// Drops empty and "." parts; a leading '/' stays.
std::string JoinParts(std::string_view path, bool absolute)
{
    std::string out = absolute ? "/" : "";
    size_t i = 0;
    while (i <= path.size()) {
        size_t end = path.find('/', i);
        if (end == std::string_view::npos)
            end = path.size();
        std::string_view part = path.substr(i, end - i);
        if (!part.empty() && part != ".") {
            if (!out.empty() && out.back() != '/')
                out += '/';
            out += part;
        }
        i = end + 1;
    }
    return out.empty() ? "." : out;
}

std::string Slashes(std::string_view utf8)
{
    std::string s(utf8);
    std::replace(s.begin(), s.end(), '\\', '/');
    return s;
}

// A Windows-rooted path ("C:\x", "C:x", "\x") becomes the part below the root.
bool WindowsRooted(std::string_view original, std::string_view& rest)
{
    if (IsDrivePath(original)) {
        rest = original.substr(2);
        return true;
    }
    if (!original.empty() && original[0] == '\\') {
        rest = original;
        return true;
    }
    return false;
}

std::string MapUtf8(std::string_view original, const std::string& relativeBase)
{
    const std::string s = Slashes(original);
    std::string_view rest;
    if (WindowsRooted(original, rest))
        return JoinParts(DataRootUtf8() + "/" + Slashes(rest), true);
    if (!s.empty() && s[0] == '/')
        return JoinParts(s, true);
    return JoinParts(relativeBase + "/" + s, relativeBase[0] == '/');
}

int64_t TimeOf(const statx_timestamp& t) { return static_cast<int64_t>(t.tv_sec); }

bool StatTimes(const std::string& path, FileTimes& times, bool& isFolder, int64_t& size)
{
    struct statx stx {};
    if (statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME, &stx) != 0)
        return false;
    times.modified = TimeOf(stx.stx_mtime);
    // Some file systems report a birth time of 0 for files they did not see born.
    const bool born = (stx.stx_mask & STATX_BTIME) != 0 && stx.stx_btime.tv_sec != 0;
    times.created = born ? TimeOf(stx.stx_btime) : times.modified;
    isFolder = S_ISDIR(stx.stx_mode);
    size = isFolder ? 0 : static_cast<int64_t>(stx.stx_size);
    return true;
}

char16_t FoldAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

mode_t ProcessUmask()
{
    // umask() cannot be read without setting it, which races other threads.
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    return 022;
}

} // namespace

CString DataRoot()
{
    return CString::FromUtf8(DataRootUtf8());
}

CString ProgramFolder(ZorvaProgram program)
{
    return CString::FromUtf8(DataRootUtf8() + (program == ZorvaProgram::Link ? "/zorvalink" : "/zorvadraw"));
}

CString MapWindowsPath(const CString& path, ZorvaProgram program)
{
    return CString::FromUtf8(MapUtf8(path.ToUtf8(), ProgramFolder(program).ToUtf8()));
}

std::string NativePathUtf8(std::string_view utf8Path)
{
    const std::string s = Slashes(utf8Path);
    return JoinParts(s, !s.empty() && s[0] == '/');
}

std::string NativePath(const CString& path)
{
    return NativePathUtf8(path.ToUtf8());
}

CString AbsolutePath(const CString& path)
{
    std::string native = NativePath(path);
    if (!native.empty() && native[0] != '/') {
        char cwd[4096];
        if (getcwd(cwd, sizeof(cwd)) != nullptr)
            native = NativePathUtf8(std::string(cwd) + "/" + native);
    }
    return CString::FromUtf8(native);
}

bool IsSafeRelativePath(const CString& path)
{
    const std::u16string_view p = path.View();
    if (p.empty() || p[0] == u'/' || p[0] == u'\\' || p.find(u':') != std::u16string_view::npos)
        return false;
    size_t start = 0;
    for (size_t i = 0; i <= p.size(); ++i) {
        if (i < p.size() && p[i] < 0x20)
            return false;
        if (i == p.size() || p[i] == u'/' || p[i] == u'\\') {
            if (p.substr(start, i - start) == u"..")
                return false;
            start = i + 1;
        }
    }
    return true;
}

bool FileExists(const CString& path)
{
    struct stat st {};
    return stat(NativePath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool FolderExists(const CString& path)
{
    struct stat st {};
    return stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateFolder(const CString& path)
{
    const std::string native = NativePath(path);
    std::error_code ec;
    std::filesystem::create_directories(native, ec);
    struct stat st {};
    return stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<DriveRoot> ListDriveRoots()
{
    std::vector<DriveRoot> roots = {{CString(u"/"), false}};
    const std::string home = HomeFolderUtf8();
    if (!home.empty() && home != "/")
        roots.push_back({CString::FromUtf8(home), false});
    std::string user;
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_name != nullptr)
        user = pw->pw_name;
    // Where desktops mount removable media for the user.
    for (const std::string& base : {"/media/" + user, "/run/media/" + user}) {
        if (user.empty())
            break;
        for (const FileEntry& e : ListFolder(CString::FromUtf8(base) + u"/*"))
            if (e.isFolder)
                roots.push_back({CString::FromUtf8(base) + u"/" + e.name, true});
    }
    return roots;
}

bool CreateNewFolder(const CString& path)
{
    return mkdir(NativePath(path).c_str(), 0777) == 0;
}

bool RemoveFolder(const CString& path)
{
    const std::string native = NativePath(path);
    struct stat st {};
    if (lstat(native.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    return rmdir(native.c_str()) == 0;
}

bool DeleteFile(const CString& path)
{
    const std::string native = NativePath(path);
    struct stat st {};
    if (lstat(native.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    return unlink(native.c_str()) == 0;
}

bool RenameFile(const CString& from, const CString& to)
{
    const std::string a = NativePath(from);
    const std::string b = NativePath(to);
    if (renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without RENAME_NOREPLACE: check, then rename.
    struct stat st {};
    if (lstat(b.c_str(), &st) == 0)
        return false;
    return rename(a.c_str(), b.c_str()) == 0;
}

int64_t GetFileSize(const CString& path)
{
    FileTimes times;
    bool isFolder = false;
    int64_t size = 0;
    if (!StatTimes(NativePath(path), times, isFolder, size) || isFolder)
        return -1;
    return size;
}

bool GetFileTimes(const CString& path, FileTimes& times)
{
    bool isFolder = false;
    int64_t size = 0;
    return StatTimes(NativePath(path), times, isFolder, size);
}

bool GetFreeSpace(const CString& path, uint64_t& bytes)
{
    struct statvfs vfs {};
    if (statvfs(NativePath(path).c_str(), &vfs) != 0)
        return false;
    bytes = static_cast<uint64_t>(vfs.f_bavail) * vfs.f_frsize;
    return true;
}

bool WildcardMatch(const CString& name, const CString& pattern)
{
    const std::u16string_view n = name.View();
    const std::u16string_view p = (pattern == u"*.*") ? std::u16string_view(u"*") : pattern.View();
    size_t ni = 0, pi = 0;
    size_t starP = std::u16string_view::npos, starN = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == u'?' || (p[pi] != u'*' && FoldAscii(p[pi]) == FoldAscii(n[ni])))) {
            ++ni;
            ++pi;
        } else if (pi < p.size() && p[pi] == u'*') {
            starP = pi++;
            starN = ni;
        } else if (starP != std::u16string_view::npos) {
            // Let the last '*' swallow one more character and retry.
            pi = starP + 1;
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == u'*')
        ++pi;
    return pi == p.size();
}

std::vector<FileEntry> ListFolder(const CString& pattern)
{
    std::vector<FileEntry> entries;
    const std::string original = pattern.ToUtf8();
    const size_t slash = Slashes(original).rfind('/');
    const CString namePattern = CString::FromUtf8(slash == std::string::npos ? original : original.substr(slash + 1));
    const std::string folder =
        NativePathUtf8(slash == std::string::npos ? std::string(".") : original.substr(0, slash == 0 ? 1 : slash));
    if (namePattern.IsEmpty())
        return entries;

    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return entries;
    while (const dirent* d = readdir(dir)) {
        const std::string_view raw = d->d_name;
        if (raw == "." || raw == "..")
            continue;
        FileEntry e;
        e.name = CString::FromUtf8(raw);
        if (!WildcardMatch(e.name, namePattern))
            continue;
        if (!StatTimes(folder + "/" + std::string(raw), e.times, e.isFolder, e.size))
            continue;
        entries.push_back(std::move(e));
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const FileEntry& a, const FileEntry& b) {
        const int c = a.name.CompareNoCase(b.name);
        return c != 0 ? c < 0 : a.name < b.name;
    });
    return entries;
}

namespace {

bool StillNamed(int fd, const std::string& path)
{
    struct stat byFd {}, byName {};
    return fstat(fd, &byFd) == 0 && stat(path.c_str(), &byName) == 0 && byFd.st_ino == byName.st_ino &&
           byFd.st_dev == byName.st_dev;
}

} // namespace

CAtomicFile::~CAtomicFile()
{
    Abandon();
}

bool CAtomicFile::Open(const CString& target)
{
    Abandon();
    m_error.clear();
    m_target = NativePath(target);
    struct stat old {};
    const bool hadOld = stat(m_target.c_str(), &old) == 0;
    if (hadOld && S_ISDIR(old.st_mode))
        return Fail("target is a folder", EISDIR);

    const size_t slash = m_target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : m_target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? m_target : m_target.substr(slash + 1);
    // Keep the temporary name within the file system's 255-byte limit,
    // cutting at a UTF-8 character boundary.
    if (base.size() > 200) {
        size_t cut = 200;
        while (cut > 0 && (static_cast<unsigned char>(base[cut]) & 0xC0) == 0x80)
            --cut;
        base.resize(cut);
    }
    // Before, a save killed half-way left its temporary (as large as the
    // file) beside the target for good.
    RemoveStaleTemporaries(folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder);
    std::string tmpl;
    for (int attempt = 0;; ++attempt) {
        tmpl = folder + "." + base + ".tmp-XXXXXX";
        m_fd = mkostemp(tmpl.data(), O_CLOEXEC);
        if (m_fd < 0)
            return Fail("cannot create a temporary file", errno);
        // Held while the file is ours; a free lock marks a leftover.
        while (flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        if (StillNamed(m_fd, tmpl))
            break;
        // Another writer's clean-up took it before it was locked.
        close(m_fd);
        m_fd = -1;
        if (attempt == 3)
            return Fail("the temporary file vanished", ENOENT);
    }
    m_temp = tmpl;
    m_tempPath = CString::FromUtf8(m_temp);
    const mode_t mode = hadOld ? (old.st_mode & 07777) : (0666 & ~ProcessUmask());
    if (fchmod(m_fd, mode) != 0)
        return Fail("cannot set permissions", errno);
    return true;
}

bool CAtomicFile::Write(const void* data, std::size_t size)
{
    if (m_fd < 0)
        return false;
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(m_fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return Fail("write failed", n < 0 ? errno : EIO);
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool CAtomicFile::Sync()
{
    if (m_fd < 0) {
        if (m_error.empty())
            m_error = "nothing to commit";
        return false;
    }
    return fsync(m_fd) == 0 || Fail("sync failed", errno);
}

bool CAtomicFile::Commit()
{
    if (!Sync())
        return false;
    // Renamed while still open and locked, so that no clean-up takes it
    // first; the data is synced, so closing cannot lose any.
    if (rename(m_temp.c_str(), m_target.c_str()) != 0)
        return Fail("cannot replace the file", errno);
    close(m_fd);
    m_fd = -1;
    m_temp.clear();
    m_tempPath.Empty();
    // Make the rename itself durable; the new file is in place either way.
    const size_t slash = m_target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : m_target.substr(0, slash));
    const int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    m_error.clear();
    return true;
}

void CAtomicFile::Abandon()
{
    // Removed before its lock goes with the descriptor.
    if (!m_temp.empty()) {
        unlink(m_temp.c_str());
        m_temp.clear();
    }
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
    }
    m_tempPath.Empty();
}

bool CAtomicFile::Fail(const std::string& what, int err)
{
    m_error = what + ": " + std::generic_category().message(err) + " (" + m_target + ")";
    Abandon();
    return false;
}

bool WriteFileAtomic(const CString& path, const void* data, std::size_t size, std::string* error)
{
    CAtomicFile file;
    const bool ok = file.Open(path) && file.Write(data, size) && file.Commit();
    if (!ok && error != nullptr)
        *error = file.Error();
    return ok;
}

bool WriteFileAtomic(const CString& path, std::string_view bytes, std::string* error)
{
    return WriteFileAtomic(path, bytes.data(), bytes.size(), error);
}

bool WriteFileAtomic(const CString& path, const std::vector<uint8_t>& bytes, std::string* error)
{
    return WriteFileAtomic(path, bytes.data(), bytes.size(), error);
}
