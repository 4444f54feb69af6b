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
    m_state->stop = false;
    m_state->threadId = 0;
    m_state->running = true;
    // Held until m_thread is assigned: the body may look at its wrapper.
    std::unique_lock gate(m_state->mutex);
    m_thread = std::thread([state = m_state, body = std::move(body)] {
        state->threadId = CurrentThreadId();
        {
            std::lock_guard wait(state->mutex);
        }
        body();
        state->running = false;
    });
    return true;
}

void CWorkerThread::RequestStop()
{
    {
        std::lock_guard lock(m_state->mutex);
        m_state->stop = true;
    }
    m_state->wake.notify_all();
}

bool CWorkerThread::WaitForStop(uint32_t ms)
{
    State& s = *m_state;
    std::unique_lock lock(s.mutex);
    return s.wake.wait_for(lock, std::chrono::milliseconds(ms), [&s] { return s.stop.load(); });
}

void CWorkerThread::Join()
{
    if (!m_thread.joinable() || m_thread.get_id() == std::this_thread::get_id())
        return;
    m_thread.join();
}
