#pragma once
// Test hooks of the window layer: the GUI set-up, a virtual clock for the
// window timers, posted calls, key and mouse input sent as Qt events (so
// the pre-translation chain and the real handlers run), and PNG snapshots.

#include "platform/core/CString.h"
#include "platform/gdi/CPoint.h"
#include "platform/ui/wintypes.h"

class CFrameWnd;
class CMenu;
class CWnd;

namespace harness {

// Creates the Qt application when needed and switches the window timers to
// the virtual clock. Call at the start of every GUI test.
void InitGui();

// Window timers on the virtual clock.
void UseVirtualClock(bool on = true);
// Moves the clock forward, firing each timer when it falls due, in due
// order; returns how many fired.
int AdvanceTime(int ms);
int RunDueTimers();
int PendingTimers();

// Runs posted calls, Qt's posted events and deferred deletions until none
// is left; returns how many posted calls ran.
int PumpPosted();

// The framework's idle work: bars ask their update handlers.
void RunIdle(CFrameWnd* frame);

// Modifier keys held during an injected event.
constexpr UINT kShift = 0x1;
constexpr UINT kCtrl = 0x2;
constexpr UINT kAlt = 0x4;

// Mouse input at a client point of wnd; button is MK_LBUTTON, MK_RBUTTON or MK_MBUTTON.
// A press moves the keyboard focus as a real click does.
void MouseDown(CWnd* wnd, CPoint pt, UINT button = MK_LBUTTON, UINT modifiers = 0);
void MouseUp(CWnd* wnd, CPoint pt, UINT button = MK_LBUTTON, UINT modifiers = 0);
void Click(CWnd* wnd, CPoint pt, UINT button = MK_LBUTTON, UINT modifiers = 0);
void DoubleClick(CWnd* wnd, CPoint pt, UINT modifiers = 0);
// buttons: MK_ flags of the buttons held while moving. The pointer enters
// the widget under pt (and leaves the one it was over).
void MouseMove(CWnd* wnd, CPoint pt, UINT buttons = 0, UINT modifiers = 0);
// The pointer leaves the widget it is over.
void MouseLeave();
// delta 120 per notch, positive away from the user.
void Wheel(CWnd* wnd, CPoint pt, int delta, UINT modifiers = 0);

// Key input to wnd's widget; vk is a virtual-key code.
void KeyDown(CWnd* wnd, UINT vk, UINT modifiers = 0);
void KeyUp(CWnd* wnd, UINT vk, UINT modifiers = 0);
void PressKey(CWnd* wnd, UINT vk, UINT modifiers = 0);
// One step of a held key's auto-repeat, as Qt reports it: a release and a
// press, both marked auto-repeated.
void KeyRepeat(CWnd* wnd, UINT vk, UINT modifiers = 0);
// Each character as a key press with that text, then its release.
void TypeText(CWnd* wnd, const CString& text);
// Forgets every key and button held.
void ResetKeyboard();

// Chooses command id from the frame's menu bar as the user would: each
// menu on the way opens (its update handlers run) and the item is chosen
// only when it is enabled. False when the item is missing or disabled.
bool ChooseMenuItem(CFrameWnd* frame, UINT id);

// Runs the event loop on the real clock until wnd's widget has painted;
// the milliseconds that took, or -1 when timeoutMs passed without a paint.
// Latency benchmarks call it right after injecting an input.
double WaitForPaint(CWnd* wnd, int timeoutMs);

// The control of wnd's window that holds the keyboard focus, or will hold
// it once the window is active (offscreen windows are not always made
// active); null when none.
CWnd* FocusWithin(CWnd* wnd);

// Saves a picture of wnd (as the screen would show it) as PNG.
bool SnapshotPng(CWnd* wnd, const CString& path);
// The same with menu drawn over it as its popup shows it, the corner at
// the screen point at (a popup of its own cannot be grabbed offscreen).
bool SnapshotWithMenuPng(CWnd* wnd, const CMenu& menu, CPoint at, const CString& path);
// A file name in the test's own temporary folder ($ZORVA_HOME).
CString TempPath(const CString& name);

} // namespace harness
