#include "platform/core/files.h"

#include "platform/core/CArchive.h"
#include "platform/core/CFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string Home()
{
    return getenv("ZORVA_HOME");
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteRaw(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Sets (or, with nullopt, unsets) an environment variable for one scope.
class EnvVar {
public:
    EnvVar(const char* name, std::optional<std::string> value) : m_name(name)
    {
        if (const char* old = getenv(name))
            m_old = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~EnvVar()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

} // namespace

TEST(DataRoot, FollowsEnvironment)
{
    const std::nullopt_t unset = std::nullopt;
    const struct {
        const char* name;
        std::optional<std::string> zorvaHome, xdgDataHome, home;
        const char* root;
    } kCases[] = {
        {"ZORVA_HOME wins", "/z/home", "/x/data", "/h", "/z/home"},
        {"ZORVA_HOME trailing slash", "/z/home/", unset, "/h", "/z/home"},
        {"empty ZORVA_HOME ignored", "", "/x/data", "/h", "/x/data/zorva"},
        {"XDG_DATA_HOME", unset, "/x/data", "/h", "/x/data/zorva"},
        {"relative XDG_DATA_HOME ignored", unset, "rel/data", "/h", "/h/.local/share/zorva"},
        {"home only", unset, unset, "/h", "/h/.local/share/zorva"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EnvVar a("ZORVA_HOME", c.zorvaHome), b("XDG_DATA_HOME", c.xdgDataHome), h("HOME", c.home);
        EXPECT_EQ(DataRoot().ToUtf8(), c.root);
    }
}

TEST(MapWindowsPath, FixedLocationsLandUnderTheRoot)
{
    const std::string root = Home();
    const struct {
        const char* path;
        ZorvaProgram program;
        std::string mapped;
    } kCases[] = {
        {"C:\\zorvadraw", ZorvaProgram::Draw, root + "/zorvadraw"},
        {"C:\\zorvadraw\\ToolTemp\\001", ZorvaProgram::Draw, root + "/zorvadraw/ToolTemp/001"},
        {"c:/zorvadraw//ToolData/", ZorvaProgram::Draw, root + "/zorvadraw/ToolData"},
        {"C:\\zorvadraw\\ToolTemp\\001", ZorvaProgram::Link, root + "/zorvadraw/ToolTemp/001"},
        {"\\zorvadraw\\x", ZorvaProgram::Draw, root + "/zorvadraw/x"},
        {"data", ZorvaProgram::Draw, root + "/zorvadraw/data"},
        {"data\\config_back", ZorvaProgram::Draw, root + "/zorvadraw/data/config_back"},
        {"TempFile", ZorvaProgram::Draw, root + "/zorvadraw/TempFile"},
        {".\\Data", ZorvaProgram::Link, root + "/zorvalink/Data"},
        {".\\Data\\方案1.dat", ZorvaProgram::Link, root + "/zorvalink/Data/方案1.dat"},
        {".\\FileTemp", ZorvaProgram::Link, root + "/zorvalink/FileTemp"},
        {"/home/u/parts\\a.wcx", ZorvaProgram::Draw, "/home/u/parts/a.wcx"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(MapWindowsPath(c.path, c.program).ToUtf8(), c.mapped);
    }
    EXPECT_EQ(ProgramFolder(ZorvaProgram::Link).ToUtf8(), root + "/zorvalink");
}

TEST(Files, AbsolutePathJoinsTheWorkingFolder)
{
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
    const std::string here(cwd);
    const struct { const char* name; const char16_t* path; std::string want; } kCases[] = {
        {"relative name", u"part.wcx", here + "/part.wcx"},
        {"relative with a folder", u"a\\b.wcx", here + "/a/b.wcx"},
        {"absolute stays", u"/tmp//x.wcx", "/tmp/x.wcx"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AbsolutePath(CString(c.path)).ToUtf8(), c.want);
    }
}

TEST(Files, SafeRelativePathsStayInsideTheirFolder)
{
    const struct {
        const char* path;
        bool safe;
    } kCases[] = {
        {"a.wcx", true},          {"sub\\a.3b", true},
        {"..a\\b..", true},       {"", false},
        {"..", false},            {"a\\..\\..\\b", false},
        {"a/../b", false},        {"/etc/passwd", false},
        {"\\x", false},           {"C:\\x", false},
        {"C:x", false},           {"a\tb", false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(IsSafeRelativePath(c.path), c.safe);
    }
}

TEST(Files, FoldersFilesSizesAndTimes)
{
    const std::string root = Home();
    const CString folder = CString::FromUtf8(root) + u"\\图纸/a\\b";
    EXPECT_FALSE(FolderExists(folder));
    ASSERT_TRUE(CreateFolder(folder));
    EXPECT_TRUE(CreateFolder(folder)); // an existing folder is fine
    EXPECT_TRUE(fs::is_directory(root + "/图纸/a/b")); // UTF-8 on disk
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_FALSE(FileExists(folder));

    const CString file = folder + u"\\零件.wcx";
    EXPECT_FALSE(FileExists(file));
    EXPECT_EQ(GetFileSize(file), -1);
    const time_t before = time(nullptr);
    WriteRaw(root + "/图纸/a/b/零件.wcx", std::string(2500, 'x'));
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FolderExists(file));
    EXPECT_EQ(GetFileSize(file), 2500);
    EXPECT_EQ(GetFileSize(folder), -1);

    FileTimes times;
    ASSERT_TRUE(GetFileTimes(file, times));
    // Whole seconds, and the clock may tick between the write and the reads.
    EXPECT_GE(times.modified, before - 1);
    EXPECT_LE(times.modified, time(nullptr) + 1);
    EXPECT_GE(times.created, before - 1);
    EXPECT_LE(times.created, times.modified + 1);
    EXPECT_FALSE(GetFileTimes(folder + u"/missing", times));

    uint64_t free = 0;
    EXPECT_TRUE(GetFreeSpace(folder, free));
    EXPECT_GT(free, 0u);
}

TEST(Files, DeleteAndRenameRefuseWhatTheyMustNotTouch)
{
    const CString root = CString::FromUtf8(Home());
    ASSERT_TRUE(CreateFolder(root + u"/dir"));
    WriteRaw(Home() + "/a.txt", "A");
    WriteRaw(Home() + "/b.txt", "B");

    EXPECT_FALSE(DeleteFile(root + u"/dir"));
    EXPECT_TRUE(FolderExists(root + u"/dir"));
    EXPECT_FALSE(DeleteFile(root + u"/missing"));

    EXPECT_FALSE(RenameFile(root + u"\\a.txt", root + u"\\b.txt"));
    EXPECT_EQ(ReadAll(Home() + "/a.txt"), "A");
    EXPECT_EQ(ReadAll(Home() + "/b.txt"), "B");
    EXPECT_FALSE(RenameFile(root + u"/missing", root + u"/c.txt"));

    EXPECT_TRUE(RenameFile(root + u"\\a.txt", root + u"\\dir\\c.txt"));
    EXPECT_FALSE(FileExists(root + u"/a.txt"));
    EXPECT_EQ(ReadAll(Home() + "/dir/c.txt"), "A");

    EXPECT_TRUE(DeleteFile(root + u"\\b.txt"));
    EXPECT_FALSE(FileExists(root + u"/b.txt"));

    // Folders: only an empty one goes; a fresh one is made only once.
    EXPECT_FALSE(RemoveFolder(root + u"/dir"));
    EXPECT_TRUE(FolderExists(root + u"/dir"));
    EXPECT_FALSE(RemoveFolder(root + u"/dir/c.txt"));
    EXPECT_TRUE(CreateNewFolder(root + u"/dir/new"));
    EXPECT_FALSE(CreateNewFolder(root + u"/dir/new"));
    EXPECT_FALSE(CreateNewFolder(root + u"/missing/new"));
    EXPECT_TRUE(RemoveFolder(root + u"\\dir\\new"));
    EXPECT_FALSE(FolderExists(root + u"/dir/new"));
    EXPECT_FALSE(RemoveFolder(root + u"/dir/new"));
}

TEST(Files, WildcardMatch)
{
    const struct {
        const char* name;
        const char* pattern;
        bool match;
    } kCases[] = {
        {"a.dat", "*.dat", true},         {"A.DAT", "*.dat", true},
        {"a.dat.bak", "*.dat", false},    {"a.dat", "?.dat", true},
        {"ab.dat", "?.dat", false},       {".dat", "*.dat", true},
        {"noext", "*.*", true},           {"noext", "*.", false},
        {"", "*", true},                  {"", "?", false},
        {"aXbXb", "*a*b", true},          {"aXbXc", "*a*b", false},
        {"方案1.dat", "方案?.DAT", true}, {"abc", "abc", true},
        {"abc", "ab", false},             {"ab", "abc", false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.name) + " ~ " + c.pattern);
        EXPECT_EQ(WildcardMatch(c.name, c.pattern), c.match);
    }
}

TEST(Files, ListFolderWithWildcard)
{
    const std::string home = Home();
    fs::create_directories(home + "/d/sub.dat");
    for (const char* name : {"a.dat", "B.DAT", "ab.txt", "abc.dat", "noext"})
        WriteRaw(home + "/d/" + name, "12345");

    const struct {
        const char* pattern;
        std::vector<std::string> names;
    } kCases[] = {
        {"*.dat", {"a.dat", "abc.dat", "B.DAT", "sub.dat"}},
        {"?.DAT", {"a.dat", "B.DAT"}},
        {"a?.*", {"ab.txt"}},
        {"*.*", {"a.dat", "ab.txt", "abc.dat", "B.DAT", "noext", "sub.dat"}},
        {"noext", {"noext"}},
        {"x*", {}},
        {"", {}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.pattern);
        std::vector<std::string> names;
        for (const FileEntry& e : ListFolder(CString::FromUtf8(home) + u"\\d\\" + CString(c.pattern)))
            names.push_back(e.name.ToUtf8());
        EXPECT_EQ(names, c.names);
    }

    const std::vector<FileEntry> all = ListFolder(CString::FromUtf8(home + "/d/*"));
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(all[0].name, "a.dat");
    EXPECT_FALSE(all[0].isFolder);
    EXPECT_EQ(all[0].size, 5);
    EXPECT_EQ(all[5].name, "sub.dat");
    EXPECT_TRUE(all[5].isFolder);
    EXPECT_TRUE(ListFolder(CString::FromUtf8(home + "/missing/*")).empty());
}

TEST(AtomicReplace, ReplacesWholeFileKeepingPermissions)
{
    const std::string path = Home() + "/config";
    WriteRaw(path, "old content, longer than the new");
    chmod(path.c_str(), 0640);
    std::string error = "stale";
    ASSERT_TRUE(WriteFileAtomic(CString::FromUtf8(path), std::string_view("new"), &error));
    EXPECT_EQ(ReadAll(path), "new");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
    EXPECT_EQ(Names(Home()), std::vector<std::string>{"config"});

    // A new file, a binary buffer with zero bytes.
    const std::vector<uint8_t> bytes = {0x00, 0xFF, 0x00, 0x41};
    ASSERT_TRUE(WriteFileAtomic(CString::FromUtf8(Home()) + u"\\新.bin", bytes));
    EXPECT_EQ(ReadAll(Home() + "/新.bin"), std::string("\0\xFF\0A", 4));
}

TEST(AtomicReplace, FailureLeavesOldFileAndNoTemporary)
{
    const std::string home = Home();
    std::string error;
    // The folder does not exist: nothing is created, failure is reported.
    EXPECT_FALSE(WriteFileAtomic(CString::FromUtf8(home + "/none/config"), std::string_view("x"), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(home + "/none"));

    // The target is a folder: it stays as it is.
    fs::create_directories(home + "/folder");
    error.clear();
    EXPECT_FALSE(WriteFileAtomic(CString::FromUtf8(home + "/folder"), std::string_view("x"), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_directory(home + "/folder"));
    fs::remove(home + "/folder");

    // A write that fails halfway (a file size limit, which binds root too).
    const std::string path = home + "/config";
    WriteRaw(path, "old");
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit = {4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string childError;
        const bool ok = WriteFileAtomic(CString::FromUtf8(path), std::string(100000, 'n'), &childError);
        _exit(ok ? 1 : (childError.empty() ? 2 : 0));
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: reported success, 2: no error text";
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(Names(home), std::vector<std::string>{"config"});
}

TEST(AtomicReplace, ArchiveWriterCommitsOrAbandons)
{
    const std::string path = Home() + "/drawing.wcx";
    WriteRaw(path, "old");
    try {
        CAtomicFile out;
        ASSERT_TRUE(out.Open(CString::FromUtf8(path)));
        CFile file(out.TempPath(), CFile::modeCreate | CFile::modeWrite);
        file.Write("half", 4);
        throw std::runtime_error("writer failed"); // before Commit
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(Names(Home()), std::vector<std::string>{"drawing.wcx"});

    CAtomicFile out;
    ASSERT_TRUE(out.Open(CString::FromUtf8(path)));
    EXPECT_EQ(out.TempPath().Left(static_cast<int>(Home().size()) + 1).ToUtf8(), Home() + "/");
    {
        CFile file(out.TempPath(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        ar << int32_t{100052} << int32_t{1078};
        ar.Close();
        file.Close();
    }
    ASSERT_TRUE(out.Commit()) << out.Error();
    EXPECT_EQ(ReadAll(path), std::string("\xD4\x86\x01\x00\x36\x04\x00\x00", 8));
    EXPECT_EQ(Names(Home()), std::vector<std::string>{"drawing.wcx"});
    EXPECT_FALSE(out.Commit()); // only once
}

TEST(AtomicReplace, TemporaryNamesAreOursOnly)
{
    const struct {
        const char* name;
        bool ours;
        const char* target;
    } kCases[] = {
        {".a.wcx.tmp-AbC123", true, "a.wcx"},
        {".config.tmp-000000", true, "config"},
        {".001MD5.tmp-zZ9aA0", true, "001MD5"},
        {"a.wcx.tmp-AbC123", false, ""},   // no leading dot
        {".a.wcx.tmp-AbC12", false, ""},   // five random characters
        {".a.wcx.tmp-AbC1_3", false, ""},  // not mkstemp's alphabet
        {".a.wcx.tmp-AbC1234", false, ""}, // seven
        {".tmp-AbC123", false, ""},        // no target
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsAtomicTemporaryName(c.name), c.ours);
        EXPECT_EQ(AtomicTemporaryTarget(c.name), c.target);
    }
}

// Before, a save killed half-way left its temporary, as large as the file,
// beside the target for good.
TEST(AtomicReplace, LeftoversOfDeadWritersGoWithTheNextWriteInTheFolder)
{
    const std::string home = Home();
    const std::vector<std::string> kept = {
        ".001MD5.tmp-Qq1234", // a digest companion's: its reader settles it
        ".x.tmp-ab",          // not a name we make
        "notes.tmp-abcdef",
    };
    for (const std::string& name : kept)
        WriteRaw(home + "/" + name, "keep");
    WriteRaw(home + "/.a.wcx.tmp-AbC123", std::string(10000, 'h'));
    CAtomicFile live;
    ASSERT_TRUE(live.Open(CString::FromUtf8(home + "/b.wcx")));
    ASSERT_TRUE(live.Write("new", 3));

    ASSERT_TRUE(WriteFileAtomic(CString::FromUtf8(home + "/c"), std::string_view("x")));
    std::vector<std::string> expected = kept;
    expected.push_back(fs::path(live.TempPath().ToUtf8()).filename().string());
    expected.push_back("c");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(home), expected);
    ASSERT_TRUE(live.Commit()) << live.Error();
    EXPECT_EQ(ReadAll(home + "/b.wcx"), "new");
}
