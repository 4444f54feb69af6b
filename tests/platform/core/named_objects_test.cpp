#include "platform/core/named_objects.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs body in a child process; its result becomes the exit code.
int RunInChild(const std::function<int()>& body)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(body());
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// A child that takes a named object, reports through a pipe and then waits
// until it is told to exit or is killed.
class Holder {
public:
    explicit Holder(const std::function<bool()>& take)
    {
        if (pipe(m_ready) != 0 || pipe(m_go) != 0)
            std::abort();
        m_pid = fork();
        if (m_pid == 0) {
            close(m_ready[0]);
            close(m_go[1]);
            const char ok = take() ? 'y' : 'n';
            if (write(m_ready[1], &ok, 1) != 1)
                _exit(3);
            char go;
            _exit(read(m_go[0], &go, 1) == 1 ? 0 : 4);
        }
        close(m_ready[1]);
        close(m_go[0]);
    }
    ~Holder()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        close(m_ready[0]);
        close(m_go[1]);
    }
    bool Took()
    {
        char ok = 0;
        return read(m_ready[0], &ok, 1) == 1 && ok == 'y';
    }
    void Exit()
    {
        const char go = 'g';
        ASSERT_EQ(write(m_go[1], &go, 1), 1);
        int status = 0;
        ASSERT_EQ(waitpid(m_pid, &status, 0), m_pid);
        EXPECT_TRUE(WIFEXITED(status));
        m_pid = -1;
    }
    void Kill9()
    {
        ASSERT_EQ(kill(m_pid, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(m_pid, &status, 0), m_pid);
        EXPECT_TRUE(WIFSIGNALED(status));
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    int m_ready[2] = {-1, -1};
    int m_go[2] = {-1, -1};
};

const CString kMutexName = u"__ZORVADRAWTOOL__";

// 0: taken; 1: refused as held; 2: other failure.
int TryMutex()
{
    CNamedMutex m;
    if (m.Create(kMutexName))
        return 0;
    return m.AlreadyExists() ? 1 : 2;
}

} // namespace

TEST(CNamedMutex, SecondProcessCannotTakeAHeldMutex)
{
    CNamedMutex first;
    ASSERT_TRUE(first.Create(kMutexName)) << first.Error();
    EXPECT_TRUE(first.IsHeld());
    EXPECT_FALSE(first.AlreadyExists());

    EXPECT_EQ(RunInChild(TryMutex), 1);
    EXPECT_EQ(TryMutex(), 1); // a second object in the same process as well

    first.Close();
    EXPECT_EQ(RunInChild(TryMutex), 0);
}

TEST(CNamedMutex, FreedWhenTheHolderEndsEvenByKill9)
{
    for (const bool crash : {false, true}) {
        SCOPED_TRACE(crash ? "kill -9" : "normal exit");
        Holder holder([] {
            static CNamedMutex m; // lives until the child ends
            return m.Create(kMutexName);
        });
        ASSERT_TRUE(holder.Took());
        EXPECT_EQ(TryMutex(), 1);
        if (crash)
            holder.Kill9();
        else
            holder.Exit();
        EXPECT_EQ(TryMutex(), 0);
    }
}

TEST(CNamedMutex, NamesStayDistinctAndLockFilesFollowTheDataRoot)
{
    CNamedMutex a, b, c;
    ASSERT_TRUE(a.Create(u"{5cd945-93249d-943874-ed99343}"));
    EXPECT_TRUE(b.Create(u"a/b"));
    EXPECT_TRUE(c.Create(u"a_b"));
    EXPECT_EQ(LockFolder().ToUtf8(), getenv("ZORVA_HOME"));
}

TEST(CNamedEvent, ExistsWhileAnyProcessHoldsIt)
{
    const CString name = u"{67AE5D7-C5FC-49C3-9096-C255AD791B78}";
    EXPECT_FALSE(CNamedEvent::Exists(name));

    Holder holder([name] {
        static CNamedEvent e;
        return e.Create(name) && !e.AlreadyExists();
    });
    ASSERT_TRUE(holder.Took());
    EXPECT_TRUE(CNamedEvent::Exists(name));
    EXPECT_FALSE(CNamedEvent::Exists(u"{6e17-cfab-c5f0-cdf4-734b}"));

    // Opening it here too works and reports that it existed.
    CNamedEvent mine;
    ASSERT_TRUE(mine.Create(name)) << mine.Error();
    EXPECT_TRUE(mine.AlreadyExists());

    holder.Kill9();
    EXPECT_TRUE(CNamedEvent::Exists(name)); // still held here
    mine.Close();
    EXPECT_FALSE(CNamedEvent::Exists(name));
}
