#include "platform/core/gui_post.h"

#include <deque>
#include <mutex>
#include <utility>

namespace {

struct PostState {
    std::mutex mutex;
    IGuiPoster* poster = nullptr;
    std::deque<std::function<void()>> queue;
};

PostState& State()
{
    static PostState state;
    return state;
}

} // namespace

void SetGuiPoster(IGuiPoster* poster)
{
    PostState& s = State();
    std::lock_guard lock(s.mutex);
    s.poster = poster;
    if (poster == nullptr)
        return;
    // Under the lock, so nothing posted meanwhile overtakes the queued calls.
    while (!s.queue.empty()) {
        poster->Post(std::move(s.queue.front()));
        s.queue.pop_front();
    }
}

void PostToGui(std::function<void()> call)
{
    if (!call)
        return;
    PostState& s = State();
    std::lock_guard lock(s.mutex);
    if (s.poster != nullptr)
        s.poster->Post(std::move(call));
    else
        s.queue.push_back(std::move(call));
}

std::size_t RunPostedCalls()
{
    PostState& s = State();
    std::size_t ran = 0;
    for (;;) {
        std::function<void()> call;
        {
            std::lock_guard lock(s.mutex);
            if (s.queue.empty())
                return ran;
            call = std::move(s.queue.front());
            s.queue.pop_front();
        }
        // Run outside the lock: the call may post again.
        call();
        ++ran;
    }
}

std::size_t PendingPostedCalls()
{
    PostState& s = State();
    std::lock_guard lock(s.mutex);
    return s.queue.size();
}
