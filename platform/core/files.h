#pragma once

#include "platform/core/CString.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Paths are CString (UTF-16) or UTF-8 std::string; on disk they are UTF-8.
// '\' and '/' both separate folders; a relative path is relative to the
// working folder of the process. The file functions (like CFile) take paths of
// this system: a fixed Windows location goes through MapWindowsPath first.

// The data root: $ZORVA_HOME when set, else $XDG_DATA_HOME/zorva, else
// ~/.local/share/zorva. Read from the environment on every call.
CString DataRoot();

enum class ZorvaProgram { Draw, Link };

// <root>/zorvadraw or <root>/zorvalink: stands in for the program's working
// (and program-file) folder, where its relative folders live.
CString ProgramFolder(ZorvaProgram program);

// Maps a location the programs name in Windows form to its place here:
//   "C:\zorvadraw\ToolTemp\001"  -> <root>/zorvadraw/ToolTemp/001 (any drive
//                                   letter; "\x" without a drive likewise)
//   "data", "TempFile\x"         -> <root>/zorvadraw/data, .../TempFile/x
//   ".\Data", ".\FileTemp"       -> <root>/zorvalink/Data, .../FileTemp
//                                   (relative paths go under ProgramFolder)
//   "/home/u/a.wcx"              -> unchanged (already a path of this system)
// So "C:\zorvadraw" and zorvadraw's working folder are one folder; their
// subfolders (ToolTemp, ToolData, data, TempFile) do not clash. "." parts and
// doubled separators are dropped; ".." is kept as it is.
CString MapWindowsPath(const CString& path, ZorvaProgram program = ZorvaProgram::Draw);

// The path as the system calls take it: UTF-8, '/' separators, without
// doubled separators, "." parts or a trailing separator.
std::string NativePath(const CString& path);
std::string NativePathUtf8(std::string_view utf8Path);
// A path relative to the working folder made absolute (native form); an
// absolute path comes back in native form.
CString AbsolutePath(const CString& path);

// For names and paths that arrive in files or datagrams: true when the path,
// joined to a folder, stays inside it: not empty, relative (no leading
// separator, no drive "X:"), no ".." part, no control characters.
bool IsSafeRelativePath(const CString& path);

bool FileExists(const CString& path);   // exists and is not a folder
bool FolderExists(const CString& path);
// Creates the folder and its missing parents; true when it exists afterwards.
bool CreateFolder(const CString& path);
// The "drives" of file browsers: the root folder, the home folder and the
// mounted removable media of this user.
struct DriveRoot {
    CString path;
    bool removable = false;
};
std::vector<DriveRoot> ListDriveRoots();

// Creates one folder whose parent exists; false when it exists already or
// cannot be made (so a caller that gets true owns a fresh, empty folder).
bool CreateNewFolder(const CString& path);
// Deletes a file (never a folder); false when nothing was deleted.
bool DeleteFile(const CString& path);
// Removes an empty folder; false when it is missing, not empty or not a folder.
bool RemoveFolder(const CString& path);
// Moves a file or folder; fails, leaving both alone, when `to` exists.
bool RenameFile(const CString& from, const CString& to);

// Size in bytes of a file; -1 when it does not exist or is a folder.
int64_t GetFileSize(const CString& path);

// Times in seconds since 1970-01-01 UTC. Creation time is the birth time where
// the file system keeps one, else the modification time.
struct FileTimes {
    int64_t created = 0;
    int64_t modified = 0;
};
bool GetFileTimes(const CString& path, FileTimes& times);

// Free bytes for this user on the file system holding path.
bool GetFreeSpace(const CString& path, uint64_t& bytes);

struct FileEntry {
    CString name;          // name only, no folder
    bool isFolder = false;
    int64_t size = 0;      // 0 for folders
    FileTimes times;
};

// Entries of a folder whose names match the last part of the pattern
// ("C:\d\*.dat", "/x/a?c", "dir\*"). '*' matches any run of characters, '?'
// one; letters match regardless of ASCII case; "*.*" matches every name.
// "." and ".." are left out; sorted by name, case-insensitively.
std::vector<FileEntry> ListFolder(const CString& pattern);
bool WildcardMatch(const CString& name, const CString& pattern);

// Replaces a whole file safely: the new content goes to a temporary file in
// the target's folder, which is flushed, synced and renamed over the target.
// The old file stays untouched until Commit succeeds; a failure at any step
// removes the temporary file and is reported. The destructor abandons an
// uncommitted write.
//
// Byte writers call Write. A CFile/CArchive writer opens TempPath() itself,
// writes, closes its file and then calls Commit (or Abandon when its writing
// failed).
class CAtomicFile {
public:
    CAtomicFile() = default;
    ~CAtomicFile();
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    // Creates the temporary file beside target. The new file gets the old
    // one's permissions, or the usual ones for a new file.
    bool Open(const CString& target);
    bool Write(const void* data, std::size_t size);
    // Puts what was written on the disk, the target untouched: files that
    // replace each other's companions are all synced before the first is
    // renamed.
    bool Sync();
    bool Commit();
    void Abandon();

    const CString& TempPath() const { return m_tempPath; }
    bool IsOpen() const { return m_fd >= 0; }
    // Why the last step failed (empty after success).
    const std::string& Error() const { return m_error; }

private:
    bool Fail(const std::string& what, int err);

    int m_fd = -1;
    bool m_failed = false;
    std::string m_target;
    std::string m_temp;
    CString m_tempPath;
    std::string m_error;
};

// A temporary of CAtomicFile is ".<name>.tmp-XXXXXX" beside its target, and
// its writer holds a lock on it while it lives. One whose lock is free was
// left by a writer that died (a save killed half-way). Opening a CAtomicFile
// removes such leftovers from the target's folder, except those of digest
// companions ("<file>MD5"): their readers settle them (FinishDigestPair).
bool IsAtomicTemporaryName(std::string_view name);
// The target a temporary's name belongs to ("" for other names).
std::string AtomicTemporaryTarget(std::string_view name);
// Calls settle for each temporary of target that no live writer holds, with
// its lock held so that no writer takes it meanwhile; settle may read,
// rename or remove it (native path).
void SettleStaleTemporaries(const CString& target, const std::function<void(const std::string&)>& settle);
void RemoveStaleTemporaries(const std::string& nativeFolder);

// One-call atomic replace; error (when given) receives the reason of a failure.
bool WriteFileAtomic(const CString& path, const void* data, std::size_t size, std::string* error = nullptr);
bool WriteFileAtomic(const CString& path, std::string_view bytes, std::string* error = nullptr);
bool WriteFileAtomic(const CString& path, const std::vector<uint8_t>& bytes, std::string* error = nullptr);
