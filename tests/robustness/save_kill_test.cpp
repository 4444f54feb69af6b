// Saves killed at random points: a child (save_child) writes one kind of
// file over and over, alternating two versions, and is killed with SIGKILL
// after a random delay. Afterwards every file of the kind is there and is
// the old or the new version whole; a file and its digest companion, once
// their reader has settled them, hold the same version; and the next save
// in the folder leaves no temporaries behind. ZORVA_KILL_ROUNDS sets the
// rounds per kind.

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <random>
#include <set>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/core/files.h"
#include "shared/digest_pair.h"
#include "tests/robustness/memory_home.h"
#include "tests/support/saves/save_kinds.h"
#include "tests/support/spawn_program.h"

extern char** environ;

namespace {

constexpr int kDefaultRounds = 10;
// Longest wait for the child to have saved its first version.
constexpr int kReadyTimeoutMs = 20000;
// Kills land within this many microseconds after the first save, several
// save cycles of the larger versions.
constexpr int kLongestDelayUs = 30000;

int Rounds()
{
    const char* text = std::getenv("ZORVA_KILL_ROUNDS");
    return text != nullptr && *text != '\0' ? std::atoi(text) : kDefaultRounds;
}

using Bytes = std::vector<std::uint8_t>;

Bytes ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::string ChildPath()
{
    return std::string(ZORVA_TEST_BIN) + "/save_child";
}

// Starts the child; with ready it waits until the child printed "ready".
pid_t Spawn(const std::vector<std::string>& args, bool waitReady)
{
    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    pid_t pid = SpawnProgram(args, &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (pid > 0 && waitReady) {
        pollfd p{out[0], POLLIN, 0};
        char text[16] = {};
        if (poll(&p, 1, kReadyTimeoutMs) != 1 || read(out[0], text, sizeof text - 1) < 5 ||
            std::string(text).rfind("ready", 0) != 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            pid = -1;
        }
    }
    close(out[0]);
    return pid;
}

int Wait(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

// Temporaries of our writers in the folders of the kind's files.
int Temporaries(SaveKind kind)
{
    std::set<std::string> folders;
    for (const CString& file : SaveKindFiles(kind))
        folders.insert(std::filesystem::path(NativePath(file)).parent_path().string());
    int n = 0;
    for (const std::string& folder : folders)
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            n += IsAtomicTemporaryName(entry.path().filename().string()) ? 1 : 0;
    return n;
}

class SaveKill : public testing::TestWithParam<SaveKind> {
protected:
    MemoryHome home;
};

std::string KindName(const testing::TestParamInfo<SaveKind>& info)
{
    return SaveKindName(info.param);
}

} // namespace

TEST_P(SaveKill, OldOrNewFileWholeWhereverTheKillLands)
{
    const SaveKind kind = GetParam();
    const std::string kindName = SaveKindName(kind);
    PrepareSaveKind(kind);
    const std::string refs = NativePath(DataRoot()) + "/refs";
    const pid_t maker = Spawn({ChildPath(), kindName, "reference", refs}, false);
    ASSERT_GT(maker, 0);
    ASSERT_EQ(Wait(maker), 0) << "the child could not save both versions";
    const std::vector<CString> files = SaveKindFiles(kind);
    std::vector<Bytes> versions[2];
    for (std::size_t i = 0; i < files.size(); ++i) {
        versions[0].push_back(ReadAll(refs + "/a/" + std::to_string(i)));
        versions[1].push_back(ReadAll(refs + "/b/" + std::to_string(i)));
        ASSERT_NE(versions[0][i], versions[1][i]);
    }

    std::mt19937 random(static_cast<unsigned>(std::hash<std::string>()(kindName)));
    int interrupted = 0, newer = 0;
    const int rounds = Rounds();
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const pid_t child = Spawn({ChildPath(), kindName, "loop"}, true);
        ASSERT_GT(child, 0) << "the child did not save its first version";
        usleep(std::uniform_int_distribution<useconds_t>(0, kLongestDelayUs)(random));
        kill(child, SIGKILL);
        const int status = Wait(child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the child ended before the kill";
        interrupted += Temporaries(kind) > 0 ? 1 : 0;
        // What a reader of the pair does first.
        if (IsDigestPairKind(kind))
            FinishDigestPair(files[0]);
        int version[2] = {-1, -1};
        for (std::size_t i = 0; i < files.size(); ++i) {
            const Bytes now = ReadAll(NativePath(files[i]));
            ASSERT_FALSE(now.empty()) << files[i].ToUtf8() << " is missing";
            version[i] = now == versions[0][i] ? 0 : now == versions[1][i] ? 1 : -1;
            ASSERT_NE(version[i], -1) << files[i].ToUtf8() << " is neither version whole";
        }
        if (IsDigestPairKind(kind)) {
            EXPECT_EQ(version[0], version[1]) << "the pair holds two versions";
        }
        newer += version[0];
    }
    std::printf("%s: %d kills, %d inside a save, %d left the new version\n", kindName.c_str(), rounds, interrupted,
                newer);

    // The next save in the folder removes what killed saves left.
    const pid_t next = Spawn({ChildPath(), kindName, "reference", refs}, false);
    ASSERT_GT(next, 0);
    ASSERT_EQ(Wait(next), 0);
    if (IsDigestPairKind(kind))
        FinishDigestPair(files[0]);
    EXPECT_EQ(Temporaries(kind), 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SaveKill, testing::ValuesIn(AllSaveKinds()), KindName);
