#include "view/worker_thread.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/core/gui_post.h"
#include "platform/core/thread.h"
#include "view/CZorvaView.h"
#include "view/path_hooks.h"

namespace {

constexpr std::uint32_t kPollMs = 100;
constexpr auto kBatchDelay = std::chrono::milliseconds(50);

enum Phase : int { kIdle = 0, kRunning = 1, kHandedBack = 2 };

std::atomic<CZorvaView*> g_pWorkerView{nullptr};
std::atomic<int> g_phase{kIdle};
std::atomic<bool> g_hold{false};
std::mutex g_mutex;
std::condition_variable g_wake;

CWorkerThread& Thread()
{
    static CWorkerThread thread;
    return thread;
}

// A request the installed path library can answer; without it a request
// stays set and nothing runs.
int RunnableRequest(CZorvaView* v)
{
    if (v == nullptr)
        return 0;
    const int request = v->m_workerRequest.load();
    if ((request == kWorkerPath && g_PathHooks.generate == nullptr)
        || (request == kWorkerBatch && g_PathHooks.batch == nullptr))
        return 0;
    return request;
}

// Changes a word the worker waits on. Changed outside the mutex, the word
// could flip between the worker's test of it and its sleep, and the wake-up
// was lost: a held worker slept on after its release, for good.
template <typename Change>
void SetAndWake(Change change)
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        change();
    }
    g_wake.notify_all();
}

void WaitWhileHeld()
{
    std::unique_lock<std::mutex> lock(g_mutex);
    g_wake.wait(lock, [] { return !g_hold.load() || Thread().StopRequested(); });
}

void RunRequest(CZorvaView& view, int request)
{
    // The view arms the run flag when it publishes the request, and a stop
    // clears it. (The worker used to arm it here, so Esc or F3 pressed
    // before the run began was lost and the whole batch was built.)
    if (request == kWorkerPath) {
        if (g_TrailRunFlag.load() != 0 && g_PathHooks.generate != nullptr)
            g_PathHooks.generate(view);
        return;
    }
    if (request == kWorkerBatch) {
        std::this_thread::sleep_for(kBatchDelay);
        const bool made = g_TrailRunFlag.load() != 0 && g_PathHooks.batch != nullptr
                          && g_PathHooks.batch(view, true, view.m_batchOption & 0xff);
        view.Later([made](CZorvaView& v) {
            if (made) {
                v.ArmPendingAction(kActionRescale, 1);
                v.m_redrawPending = 1;
            } else {
                v.PrintLine(CString(u"轨迹生成->未能创建轨迹"));
                v.PrintSeparator();
            }
        });
    }
}

// Hands the request back: the view shows the worker's output, then the
// request word is cleared. The phase changes with the call posted, under
// the mutex, so whoever sees kHandedBack finds the call already queued.
void HandBack(CZorvaView* view)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_phase = kHandedBack;
    PostToGui([view] {
        if (g_pWorkerView.load() == view)
            view->OnWorkerDone();
        SetAndWake([] { g_phase = kIdle; });
    });
}

void WorkerLoop()
{
    CWorkerThread& self = Thread();
    while (!self.StopRequested()) {
        {
            std::unique_lock<std::mutex> lock(g_mutex);
            g_wake.wait_for(lock, std::chrono::milliseconds(kPollMs), [] {
                return Thread().StopRequested()
                       || (g_phase.load() == kIdle && RunnableRequest(g_pWorkerView.load()) != 0);
            });
        }
        CZorvaView* view = g_pWorkerView.load();
        if (view == nullptr || g_phase.load() != kIdle)
            continue;
        const int request = RunnableRequest(view);
        if (request == 0)
            continue;
        g_phase = kRunning;
        WaitWhileHeld();
        RunRequest(*view, request);
        HandBack(view);
    }
}

} // namespace

void StartWorkerThread(CZorvaView* view)
{
    g_pWorkerView = view;
    if (!Thread().IsRunning())
        Thread().Start(&WorkerLoop);
}

void DetachWorkerView(CZorvaView* view)
{
    // A running request still uses the view; the GUI thread is the only
    // one that hands it back, so wait for the run itself to end.
    while (g_pWorkerView.load() == view && g_phase.load() == kRunning) {
        SetAndWake([] { g_hold = false; });
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    CZorvaView* expected = view;
    g_pWorkerView.compare_exchange_strong(expected, nullptr);
}

void WakeWorker()
{
    SetAndWake([] {});
}

bool WorkerRunning()
{
    return g_phase.load() == kRunning;
}

void HoldWorkerForTest(bool hold)
{
    SetAndWake([hold] { g_hold = hold; });
}

bool WaitForWorkerForTest(int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    const auto pending = [] {
        std::lock_guard<std::mutex> lock(g_mutex);
        const int phase = g_phase.load();
        return phase == kRunning || (phase == kIdle && RunnableRequest(g_pWorkerView.load()) != 0);
    };
    while (pending()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
