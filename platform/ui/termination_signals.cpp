#include "platform/ui/termination_signals.h"

#include "platform/ui/CWinApp.h"
#include "platform/ui/CWnd.h"

#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <thread>
#include <unistd.h>

// The signals are blocked in every thread and taken by one waiting thread,
// which only posts; the close itself runs on the GUI thread.
void CloseMainWindowOnTerminationSignals(void (*whenNoWindow)())
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread([set, whenNoWindow] {
        for (;;) {
            int signal = 0;
            if (sigwait(&set, &signal) != 0)
                continue;
            CWnd* main = AfxGetMainWnd();
            if (main != nullptr && main->PostMessage(WM_CLOSE))
                continue;
            if (whenNoWindow != nullptr) {
                whenNoWindow();
            } else {
                std::fflush(nullptr);
                _exit(0);
            }
        }
    }).detach();
}
