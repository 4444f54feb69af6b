// The order in which a table save puts its files on the disk. This test
// program defines fsync and rename itself, so the code under test calls
// these, which log the calls and pass them on.

#include "process/process_table.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "process/ProcessState.h"

namespace {

std::vector<std::string>* g_fileCalls = nullptr;

std::string PathOf(int fd)
{
    char path[4096];
    const ssize_t n = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

std::string BaseName(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

} // namespace

extern "C" int fsync(int fd)
{
    if (g_fileCalls != nullptr)
        g_fileCalls->push_back("sync " + BaseName(PathOf(fd)));
    return static_cast<int>(syscall(SYS_fsync, fd));
}

extern "C" int rename(const char* from, const char* to) noexcept
{
    if (g_fileCalls != nullptr)
        g_fileCalls->push_back("rename " + BaseName(from) + " " + BaseName(to));
    return renameat(AT_FDCWD, from, AT_FDCWD, to);
}

namespace {

// When the table's rename lands, the companion's temporary must be on the
// disk: a read after a power cut there completes the pair from it.
TEST(ProcessTablePair, CompanionOnDiskBeforeTheTableIsReplaced)
{
    ResetProcessState();
    g_ProcessTableName = u"sql_list_f1";
    g_ProcessTable.resize(3);
    std::vector<std::string> calls;
    g_fileCalls = &calls;
    const bool saved = SaveProcessTable(ProcessTablePath());
    g_fileCalls = nullptr;
    ASSERT_TRUE(saved);

    std::string log;
    int tableRenamed = -1, companionSynced = -1, companionRenamed = -1;
    for (int i = 0; i < static_cast<int>(calls.size()); ++i) {
        const std::string& call = calls[static_cast<std::size_t>(i)];
        log += call + "\n";
        if (call.rfind("rename .sql_list_f1.tmp-", 0) == 0 && call.size() > 12 &&
            call.compare(call.size() - 12, 12, " sql_list_f1") == 0)
            tableRenamed = i;
        if (call.rfind("sync .sql_list_f1MD5.tmp-", 0) == 0 && companionSynced < 0)
            companionSynced = i;
        if (call.rfind("rename .sql_list_f1MD5.tmp-", 0) == 0)
            companionRenamed = i;
    }
    ASSERT_GE(tableRenamed, 0) << log;
    EXPECT_GE(companionSynced, 0) << log;
    EXPECT_LT(companionSynced, tableRenamed) << log;
    EXPECT_GT(companionRenamed, tableRenamed) << log;
}

} // namespace
