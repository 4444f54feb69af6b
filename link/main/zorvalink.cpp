// The file-transfer master: the application object and the framework's entry.

#include "link/CZorvalinkApp.h"
#include "platform/ui/termination_signals.h"

int main(int argc, char** argv)
{
    CloseMainWindowOnTerminationSignals();
    CZorvalinkApp app;
    return AfxWinMain(argc, argv);
}
