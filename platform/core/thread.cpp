#include "platform/core/thread.h"

#include <chrono>
#include <sys/syscall.h>
#include <unistd.h>

uint32_t CurrentThreadId()
{
    return static_cast<uint32_t>(syscall(SYS_gettid));
}

CWorkerThread::~CWorkerThread()
{
    RequestStop();
    // A body that destroys its own wrapper cannot join itself.
    if (m_thread.joinable() && m_thread.get_id() == std::this_thread::get_id())
        m_thread.detach();
    Join();
}

bool CWorkerThread::Start(std::function<void()> body)
{
    if (m_thread.joinable() || !body)
        return false;
    m_stop = false;
    m_running = true;
    m_thread = std::thread([this, body = std::move(body)] {
        m_threadId = CurrentThreadId();
        body();
        m_running = false;
    });
    return true;
}

void CWorkerThread::RequestStop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
}

bool CWorkerThread::WaitForStop(uint32_t ms)
{
    std::unique_lock lock(m_mutex);
    return m_wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_stop.load(); });
}

void CWorkerThread::Join()
{
    if (!m_thread.joinable() || m_thread.get_id() == std::this_thread::get_id())
        return;
    m_thread.join();
}
