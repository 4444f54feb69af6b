#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
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
    bool StopRequested() const { return m_stop.load(); }

    // Sleeps up to ms milliseconds; returns at once with true when a stop is
    // (or becomes) requested, so a polling loop ends without waiting its period.
    bool WaitForStop(uint32_t ms);

    // Waits for the body to return; no effect from the thread itself or when
    // nothing was started.
    void Join();

    bool IsRunning() const { return m_running.load(); }
    // Id of the thread while it runs (0 before it has started).
    uint32_t ThreadId() const { return m_threadId.load(); }

private:
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_running{false};
    std::atomic<uint32_t> m_threadId{0};
    std::mutex m_mutex;
    std::condition_variable m_wake;
};
