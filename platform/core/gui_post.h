#pragma once

#include <cstddef>
#include <functional>

// The GUI layer's way of running a call on the GUI thread. Post may be called
// from any thread and must queue the call, never run it inline.
class IGuiPoster {
public:
    virtual ~IGuiPoster() = default;
    virtual void Post(std::function<void()> call) = 0;
};

// Installs the poster that PostToGui hands calls to; nullptr goes back to the
// local queue. Calls already queued move to the new poster, in order. The
// poster must outlive its installation.
void SetGuiPoster(IGuiPoster* poster);

// Hands a call to the GUI thread. Thread-safe; calls from one thread arrive in
// the order they were posted.
void PostToGui(std::function<void()> call);

// With no poster installed: runs the queued calls on the calling thread, in
// order, including calls they post themselves, until the queue is empty.
// Returns how many ran.
std::size_t RunPostedCalls();

// Number of calls waiting in the local queue.
std::size_t PendingPostedCalls();
