#include "app/CZorvaApp.h"

#include "platform/ui/CWnd.h"

#include <csignal>
#include <pthread.h>
#include <thread>

// SIGTERM, SIGINT and SIGHUP close the main window as the user would, so
// the settings and the recovery snapshot are saved before the process ends.
// The signals are blocked in every thread and taken by one waiting thread,
// which only posts; the close itself runs on the GUI thread.
void CloseOnTerminationSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread([set] {
        for (;;) {
            int signal = 0;
            if (sigwait(&set, &signal) != 0)
                continue;
            CWnd* main = AfxGetMainWnd();
            if (main == nullptr || !main->PostMessage(WM_CLOSE))
                EndProcess(0);
        }
    }).detach();
}
