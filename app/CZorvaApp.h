#pragma once

// The drawing program's application object: the guarded start (one
// instance, data folders, factory settings then the settings file, the
// document template, the splash) and the exit that ends the process
// directly after saving what changed.

#include <memory>

#include "platform/core/CString.h"
#include "platform/ui/CWinApp.h"

class CNamedMutex;
struct CRuntimeClass;

class CZorvaApp : public CWinApp {
public:
    // viewClass: the view the document template creates (the program's
    // main passes the drawing view; tests pass their own).
    explicit CZorvaApp(CRuntimeClass* viewClass = nullptr);
    ~CZorvaApp() override;

    BOOL InitInstance() override;
    void OnAppAbout();

    // Ends the process (never returns unless a test replaced the ending):
    // stops path generation, saves the settings when they changed and the
    // recovery snapshot when the drawing changed. A watchdog ends the
    // process after 4000 ms should saving hang.
    static void ExitApplication();
    // The watchdog's delay (tests shorten it).
    static inline unsigned s_exitWatchdogMs = 4000;
    void OnAppExit() { ExitApplication(); }

    CRuntimeClass* m_pViewClass;

private:
    std::unique_ptr<CNamedMutex> m_instanceMutex;

    DECLARE_MESSAGE_MAP()
};

// Data folders (set by CreateDataFolders).
extern CString g_dataRoot;      // "C:\zorvadraw"
extern CString g_toolDataDir;   // g_dataRoot + "\ToolData"
extern CString g_tempFileDir;   // "TempFile"

// Sets the folder names and creates the missing folders (root, ToolTemp,
// ToolData, data, TempFile, mapped under the data root); failures are ignored.
void CreateDataFolders();

// Ends the process with code after graceMs. Tests install g_EndProcessHook
// to see the call instead; the process then goes on.
void EndProcess(int code, int graceMs = 0);
extern void (*g_EndProcessHook)(int code);

// Call first in main, before any thread starts: a termination signal then
// closes the main window (saving as on exit) instead of killing the process.
void CloseOnTerminationSignals();

constexpr int kExitGraceMs = 100;
