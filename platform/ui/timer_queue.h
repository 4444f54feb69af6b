#pragma once
// Per-window timers of the whole program, in one queue on the GUI thread.
// The clock is real by default; tests switch to a virtual clock and move it
// forward, which fires the due timers in due order without sleeping.

#include "platform/ui/wintypes.h"

#include <cstdint>
#include <memory>

class CWnd;
struct WndLife;

namespace timerq {

UINT_PTR Set(const std::shared_ptr<WndLife>& life, UINT_PTR id, UINT elapseMs);
bool Kill(const WndLife* life, UINT_PTR id);
void KillAll(const WndLife* life);
bool IsSet(const WndLife* life, UINT_PTR id);
int Count();

// Virtual clock: timers are no longer driven by the event loop.
void UseVirtualClock(bool on);
bool VirtualClock();
std::int64_t NowMs();
// Moves the virtual clock forward by ms, firing each timer that falls due on
// the way at its due time (a periodic timer as often as it falls due).
// Returns how many fired.
int Advance(std::int64_t ms);
// Fires the timers due at the current time; returns how many fired.
int RunDue();

} // namespace timerq
