#include "platform/testing/ui_harness.h"
#include "platform/ui/CWnd.h"

#include <gtest/gtest.h>

#include <string>
#include <chrono>
#include <thread>
#include <vector>

namespace {

// Records every timer and application message it gets, as "name:id".
class Recorder : public CWnd {
public:
    explicit Recorder(std::string name, std::vector<std::string>* log) : m_name(std::move(name)), m_log(log) {}
    void OnTimer(UINT_PTR id) override
    {
        m_log->push_back(m_name + ":" + std::to_string(id));
        if (id == oneShotId)
            KillTimer(id);
        if (id == destroyOnId)
            DestroyWindow();
    }
    LRESULT OnApp(WPARAM w, LPARAM l)
    {
        m_log->push_back(m_name + ":msg" + std::to_string(w) + "/" + std::to_string(l));
        return 7;
    }
    UINT_PTR oneShotId = 0;
    UINT_PTR destroyOnId = 0;

private:
    std::string m_name;
    std::vector<std::string>* m_log;
    DECLARE_MESSAGE_MAP()
};

constexpr UINT WM_APP_TEST = WM_USER + 101;

BEGIN_MESSAGE_MAP(Recorder, CWnd)
    ON_MESSAGE(WM_APP_TEST, OnApp)
    ON_WM_TIMER()
END_MESSAGE_MAP()

class WindowTimers : public testing::Test {
protected:
    void SetUp() override
    {
        harness::InitGui();
        harness::PumpPosted();
    }
    void TearDown() override { harness::PumpPosted(); }
    static void Make(CWnd& w) { ASSERT_TRUE(w.Create(nullptr, CString(), WS_CHILD, RECT{0, 0, 10, 10}, nullptr, 1)); }
    std::vector<std::string> log;
};

TEST_F(WindowTimers, FireInDueOrderAcrossWindows)
{
    Recorder a("a", &log), b("b", &log);
    Make(a);
    Make(b);
    a.SetTimer(1, 30);
    b.SetTimer(2, 20);
    a.SetTimer(3, 50);
    EXPECT_EQ(harness::AdvanceTime(19), 0);
    // Due at 20 (b:2), 30 (a:1), 40 (b:2), 50 (a:3), 60 (a:1 and b:2; a:1 was set first).
    EXPECT_EQ(harness::AdvanceTime(41), 6);
    EXPECT_EQ(log, (std::vector<std::string>{"b:2", "a:1", "b:2", "a:3", "a:1", "b:2"}));
}

TEST_F(WindowTimers, SettingAnIdAgainRestartsIt)
{
    Recorder a("a", &log);
    Make(a);
    a.SetTimer(1, 100);
    harness::AdvanceTime(90);
    a.SetTimer(1, 100);
    harness::AdvanceTime(90);
    EXPECT_TRUE(log.empty());
    harness::AdvanceTime(10);
    EXPECT_EQ(log, (std::vector<std::string>{"a:1"}));
}

TEST_F(WindowTimers, KilledInItsHandlerFiresOnce)
{
    Recorder a("a", &log);
    Make(a);
    a.oneShotId = 1;
    a.SetTimer(1, 1);
    harness::AdvanceTime(1000);
    EXPECT_EQ(log, (std::vector<std::string>{"a:1"}));
    EXPECT_EQ(harness::PendingTimers(), 0);
}

TEST_F(WindowTimers, DestroyedWindowNeverFires)
{
    Recorder a("a", &log), b("b", &log);
    Make(a);
    Make(b);
    a.SetTimer(1, 10);
    b.SetTimer(2, 10);
    a.DestroyWindow();
    harness::AdvanceTime(100);
    EXPECT_EQ(std::count(log.begin(), log.end(), "a:1"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "b:2"), 10);
    // A timer set on a window that is gone is refused.
    EXPECT_EQ(a.SetTimer(3, 10), 0u);
}

TEST_F(WindowTimers, WindowDestroyedByAnEarlierTimerOfTheSameTickMissesItsOwn)
{
    Recorder a("a", &log), b("b", &log);
    Make(a);
    Make(b);
    a.destroyOnId = 1;
    a.SetTimer(1, 10);
    a.SetTimer(2, 10);
    harness::AdvanceTime(10);
    EXPECT_EQ(log, (std::vector<std::string>{"a:1"}));
}

TEST_F(WindowTimers, WindowObjectDeletedWithTimersPendingIsForgotten)
{
    {
        Recorder a("a", &log);
        Make(a);
        a.SetTimer(1, 10);
    }
    harness::AdvanceTime(100);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(harness::PendingTimers(), 0);
}

TEST_F(WindowTimers, SetFromAWorkerThreadArrivesThroughThePostedCalls)
{
    Recorder a("a", &log);
    Make(a);
    std::thread worker([&] { a.SetTimer(1, 5); });
    worker.join();
    EXPECT_EQ(harness::AdvanceTime(10), 0); // not set until the GUI thread runs the call
    harness::PumpPosted();
    harness::AdvanceTime(5);
    EXPECT_EQ(log, (std::vector<std::string>{"a:1"}));
}

TEST_F(WindowTimers, PostedMessageArrivesLaterAndNeverAtADestroyedWindow)
{
    Recorder a("a", &log), b("b", &log);
    Make(a);
    Make(b);
    EXPECT_EQ(a.SendMessage(WM_APP_TEST, 1, 2), 7);
    log.clear();
    a.PostMessage(WM_APP_TEST, 3, 4);
    std::thread worker([&] { b.PostMessage(WM_APP_TEST, 5, 6); });
    worker.join();
    EXPECT_TRUE(log.empty());
    b.DestroyWindow();
    harness::PumpPosted();
    EXPECT_EQ(log, (std::vector<std::string>{"a:msg3/4"}));
}

TEST_F(WindowTimers, MessagePostedBeforeARecreationDoesNotReachTheNewWindow)
{
    Recorder a("a", &log);
    Make(a);
    a.PostMessage(WM_APP_TEST, 1, 1);
    a.DestroyWindow();
    Make(a);
    harness::PumpPosted();
    EXPECT_TRUE(log.empty());
}

TEST_F(WindowTimers, RealClockTimersRunFromTheEventLoop)
{
    harness::UseVirtualClock(false);
    Recorder a("a", &log);
    Make(a);
    a.oneShotId = 1;
    a.SetTimer(1, 5);
    // The one test of the real clock: it has to wait for it.
    for (int i = 0; i < 2000 && log.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        harness::PumpPosted(); // the Qt timer fires among the events
    }
    harness::UseVirtualClock(true);
    EXPECT_EQ(log, (std::vector<std::string>{"a:1"}));
}

} // namespace
