#pragma once

// The path worker: one thread for the life of the process. It waits for a
// non-zero request word of the view (at most 100 ms between looks), runs
// the request without touching a window, and hands what the user must see
// (prints, prompts, renders, the end of the command) to the GUI thread in
// one posted call. That call clears the request word last, so the GUI
// refuses edits until the worker's output has been shown.

class CZorvaView;

// Makes view the one the worker serves; starts the thread on first use.
void StartWorkerThread(CZorvaView* view);
// The view goes away: the worker forgets it once the request it may be
// running has finished.
void DetachWorkerView(CZorvaView* view);
// A request word was set: look now instead of at the next poll.
void WakeWorker();
// True while the worker runs a request (taken, not yet handed back).
bool WorkerRunning();

// Tests: a held worker takes a request and then waits before running it.
void HoldWorkerForTest(bool hold);
// Tests: waits up to timeoutMs for the worker to hand its request back;
// false on time-out. The handed-back call still has to be pumped.
bool WaitForWorkerForTest(int timeoutMs);
