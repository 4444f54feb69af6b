#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// Id of the calling thread (the kernel's thread id).
uint32_t CurrentThreadId();

// A background thread with a stop request. The body polls StopRequested() or
// waits with WaitForStop(); the destructor asks it to stop and joins it.
class CWorkerThread {
public:
    CWorkerThread() = default;
    ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // Starts the body on a new thread; false when one is already started and
    // not joined yet.
    bool Start(std::function<void()> body);

    void RequestStop();
    bool StopRequested() const { return m_state->stop.load(); }

    // Sleeps up to ms milliseconds; returns at once with true when a stop is
    // (or becomes) requested, so a polling loop ends without waiting its period.
    bool WaitForStop(uint32_t ms);

    // Waits for the body to return; no effect from the thread itself or when
    // nothing was started.
    void Join();

    bool IsRunning() const { return m_state->running.load(); }
    // Id of the thread once it has started (0 before).
    uint32_t ThreadId() const { return m_state->threadId.load(); }

private:
    // Shared with the running body, so a body may outlive its wrapper.
    struct State {
        std::atomic<bool> stop{false};
        std::atomic<bool> running{false};
        std::atomic<uint32_t> threadId{0};
        std::mutex mutex;
        std::condition_variable wake;
    };

    std::thread m_thread;
    std::shared_ptr<State> m_state = std::make_shared<State>();
};
