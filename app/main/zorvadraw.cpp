// The drawing program: the application object and the framework's entry.

#include "app/CZorvaApp.h"
#include "generators/generators_install.h"
#include "paths/paths_install.h"
#include "process/path_dialogs_install.h"
#include "process/process_install.h"

#if __has_include("view/CZorvaView.h")
#include "view/CZorvaView.h"
#define ZORVA_VIEW_CLASS RUNTIME_CLASS(CZorvaView)
#else
// Without the drawing view the start-up finds no view class and ends.
#define ZORVA_VIEW_CLASS nullptr
#endif

int main(int argc, char** argv)
{
    CloseOnTerminationSignals();
    InstallProcessDialogs();
    InstallGenerators();
    InstallPaths();
    InstallPathDialogs();
    CZorvaApp app(ZORVA_VIEW_CLASS);
    return AfxWinMain(argc, argv);
}
