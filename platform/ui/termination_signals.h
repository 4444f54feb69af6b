#pragma once

// Call first in main, before any thread starts: SIGTERM, SIGINT and SIGHUP
// then close the main window as the user would (so the program saves what
// it saves at exit) instead of killing the process. Without a main window
// whenNoWindow runs, or the process ends with code 0.
void CloseMainWindowOnTerminationSignals(void (*whenNoWindow)() = nullptr);
