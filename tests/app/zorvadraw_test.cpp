// The built program, run as a user runs it (offscreen): one instance only,
// and a termination signal closes it cleanly.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/core/CString.h"
#include "platform/core/files.h"
#include "platform/core/named_objects.h"
#include "tests/support/spawn_program.h"

extern char** environ;

namespace {

// Generous: a loaded machine starts Qt slowly; a healthy run takes well under a second.
constexpr auto kStartTimeout = std::chrono::seconds(30);
constexpr auto kExitTimeout = std::chrono::seconds(10);
constexpr auto kPoll = std::chrono::milliseconds(20);

std::string ProgramPath()
{
#ifdef ZORVA_TEST_BIN
    return std::string(ZORVA_TEST_BIN) + "/../zorvadraw";
#else
    return std::string();
#endif
}

pid_t Spawn(const std::string& path)
{
    return SpawnProgram({path});
}

// The exit status, or -1 when the process did not end in time.
int WaitFor(pid_t pid, std::chrono::seconds limit)
{
    const auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(kPoll);
    }
    return -1;
}

// The view holds this event from its first update for the life of the process.
bool WaitUntilRunning(pid_t pid)
{
    const auto until = std::chrono::steady_clock::now() + kStartTimeout;
    while (std::chrono::steady_clock::now() < until) {
        if (CNamedEvent::Exists(CString(u"{6e17-cfab-c5f0-cdf4-734b}")))
            return true;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return false;
        std::this_thread::sleep_for(kPoll);
    }
    return false;
}

TEST(zorvadraw, SecondStartReturnsAtOnceAndTermSignalClosesCleanly)
{
    const std::string program = ProgramPath();
    if (program.empty() || access(program.c_str(), X_OK) != 0)
        GTEST_SKIP() << "zorvadraw is not built";
    const pid_t first = Spawn(program);
    ASSERT_GT(first, 0);
    ASSERT_TRUE(WaitUntilRunning(first));

    const auto before = std::chrono::steady_clock::now();
    const pid_t second = Spawn(program);
    ASSERT_GT(second, 0);
    EXPECT_EQ(WaitFor(second, kExitTimeout), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
    EXPECT_EQ(waitpid(first, nullptr, WNOHANG), 0) << "the first instance ended";

    kill(first, SIGTERM);
    EXPECT_EQ(WaitFor(first, kExitTimeout), 0);
    // The exit ran: the view's start-up moved the view, so the settings were saved.
    EXPECT_TRUE(FileExists(MapWindowsPath(CString(u"data\\config"))));
}

} // namespace
