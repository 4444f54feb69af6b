#include "app/CZorvaApp.h"

#include "platform/ui/termination_signals.h"

// SIGTERM, SIGINT and SIGHUP close the main window as the user would, so
// the settings and the recovery snapshot are saved before the process ends.
void CloseOnTerminationSignals()
{
    CloseMainWindowOnTerminationSignals([] { EndProcess(0); });
}
