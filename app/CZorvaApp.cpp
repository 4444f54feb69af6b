#include "app/CZorvaApp.h"

#include "app/AppState.h"
#include "app/CAboutDlg.h"
#include "app/CCStartDlg.h"
#include "app/CMainFrame.h"
#include "app/CZorvaDoc.h"
#include "app/FrameState.h"
#include "app/MainFrameLink.h"
#include "app/frame_resources.h"
#include "app/recovery_snapshot.h"
#include "app/settings_file.h"
#include "geometry/GeometryState.h"
#include "platform/core/files.h"
#include "platform/core/named_objects.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/ui/CDocTemplate.h"
#include "platform/ui/CView.h"
#include "platform/ui/afx_ids.h"
#include "platform/ui/message_box.h"
#include "platform/ui/toolkit_language.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <utility>
#include <unistd.h>

CString g_dataRoot;
CString g_toolDataDir;
CString g_tempFileDir;
void (*g_EndProcessHook)(int) = nullptr;

BEGIN_MESSAGE_MAP(CZorvaApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_COMMAND(65023, OnAppExit)        // the main toolbar's exit button
END_MESSAGE_MAP()

namespace {

constexpr COLORREF kDialogBrushColour = 0xFFDFDF;

// Ends the process unless disarmed first. A thread, not a window timer: a
// save that blocks the GUI thread would also block the timer meant to end it.
class ExitWatchdog {
public:
    void Arm(unsigned ms)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_thread.joinable())
            return;
        m_armed = true;
        m_thread = std::thread([this, ms] {
            std::unique_lock<std::mutex> wait(m_mutex);
            if (!m_cv.wait_for(wait, std::chrono::milliseconds(ms), [this] { return !m_armed; })) {
                wait.unlock();
                EndProcess(0);
            }
        });
    }
    void Disarm()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_armed = false;
        }
        m_cv.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }
    ~ExitWatchdog() { Disarm(); }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_armed = false;
    std::thread m_thread;
};

ExitWatchdog& Watchdog()
{
    static ExitWatchdog watchdog;
    return watchdog;
}

// Whether a test answers modal dialogs (the hook is read by swapping it back).
bool ModalDialogsAnswered()
{
    ModalDialogHook hook = SetModalDialogHook(nullptr);
    const bool answered = bool(hook);
    SetModalDialogHook(std::move(hook));
    return answered;
}

void ShowSplash()
{
    // A headless run has nobody to see the splash, and the platform refuses
    // a modal dialog there that nobody answers.
    if (IsHeadlessSession() && !ModalDialogsAnswered())
        return;
    CCStartDlg splash;
    splash.DoModal();
}

void SaveChangedState()
{
    if (!g_MainWindowCreated)
        return;
    g_MainWindowCreated = 0;
    SaveSettingsIfChanged();
    if (g_drawingModified != 0)
        if (CZorvaDoc* doc = GetZorvaDoc())
            WriteRecoverySnapshot(*doc);
}

} // namespace

void EndProcess(int code, int graceMs)
{
    if (graceMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(graceMs));
    if (g_EndProcessHook != nullptr) {
        g_EndProcessHook(code);
        return;
    }
    std::fflush(nullptr);
    _exit(code);
}

void CreateDataFolders()
{
    g_dataRoot = CString(u"C:\\zorvadraw");
    g_toolDataDir = g_dataRoot + CString(u"\\ToolData");
    g_tempFileDir = CString(u"TempFile");
    const CString folders[] = {g_dataRoot, CString(g_toolTempDir), g_toolDataDir, CString(g_dataDir), g_tempFileDir};
    for (const CString& folder : folders) {
        const CString path = MapWindowsPath(folder);
        if (!FolderExists(path))
            CreateFolder(path);
    }
}

CZorvaApp::CZorvaApp(CRuntimeClass* viewClass) : CWinApp(u"zorvadraw"), m_pViewClass(viewClass) {}

CZorvaApp::~CZorvaApp() = default;

BOOL CZorvaApp::InitInstance()
{
    m_instanceMutex = std::make_unique<CNamedMutex>();
    if (!m_instanceMutex->Create(CString(u"__ZORVADRAWTOOL__")) && m_instanceMutex->AlreadyExists())
        return FALSE;
    // The toolkit's own dialogs and buttons speak the program's language;
    // without the installed translations they stay in English.
    LoadToolkitTranslations(CString(u"zh_CN"));
    CreateDataFolders();
    g_UnitIdCounter = 0;
    g_undoStep = 0;
    ResetSettingsDefaults();
    ResetProcessDefaults();
    LoadSettingsFile();
    g_loadedViewScale = g_ViewScale;
    g_loadedViewOriginX = g_ViewOriginX;
    g_loadedViewOriginY = g_ViewOriginY;
    if (g_dialogBrush == nullptr)
        g_dialogBrush = CreateSolidBrush(kDialogBrushColour);
    RegisterFrameResources();
    SetRegistryKey(CString(u"应用程序向导生成的本地应用程序"));

    CRuntimeClass* viewClass = m_pViewClass != nullptr ? m_pViewClass : CRuntimeClass::FromName(u"CZorvaView");
    if (viewClass == nullptr) {
        EndProcess(0);
        return FALSE;
    }
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CZorvaDoc), RUNTIME_CLASS(CMainFrame),
                                          viewClass));
    CCommandLineInfo info;
    ParseCommandLine(info);
    // A named file is opened over a new, untitled drawing as Open opens it.
    // Before, the framework read it and the view's set-up then emptied the
    // drawing (or restored the snapshot) under the file's name.
    if (info.m_nShellCommand == CCommandLineInfo::FileOpen) {
        g_commandLineFile = info.m_strFileName;
        info.m_nShellCommand = CCommandLineInfo::FileNew;
    }
    if (!ProcessShellCommand(info)) {
        EndProcess(0);
        return FALSE;
    }
    if (!g_commandLineFile.IsEmpty()) {
        if (CZorvaDoc* doc = GetZorvaDoc())
            doc->OpenFromCommandLine(g_commandLineFile);
        g_commandLineFile.Empty();
    }
    if (m_pMainWnd != nullptr)
        m_pMainWnd->ShowWindow(SW_SHOWMAXIMIZED);
    ShowSplash();
    if (m_pMainWnd != nullptr) {
        // The keys go back to the main window the splash took them from.
        m_pMainWnd->BringWindowToTop();
        m_pMainWnd->UpdateWindow();
    }
    return TRUE;
}

void CZorvaApp::OnAppAbout()
{
    CAboutDlg about;
    about.DoModal();
}

void CZorvaApp::ExitApplication()
{
    try {
        Watchdog().Arm(s_exitWatchdogMs);
        FrameLink().StopPathGeneration();
        SaveChangedState();
    } catch (...) {
        EndProcess(0);
        return;
    }
    EndProcess(0, kExitGraceMs);
    // Only a test's ending comes back here.
    Watchdog().Disarm();
}
