#include "platform/ui/CWinApp.h"

#include "platform/core/gui_post.h"
#include "platform/ui/CDocTemplate.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/afx_ids.h"
#include "platform/ui/timer_queue.h"
#include "platform/ui/ui_runtime.h"

#include <QApplication>
#include <QTimer>

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

namespace {

CWinApp* g_app = nullptr;

// Posted calls run on the GUI thread from the Qt event loop.
class QtPoster : public IGuiPoster {
public:
    void Post(std::function<void()> call) override
    {
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(call), Qt::QueuedConnection);
    }
};

constexpr int kIdleMs = 100;

} // namespace

CWinApp::CWinApp(const char16_t* appName)
{
    g_app = this;
    if (appName != nullptr)
        m_pszAppName = appName;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

CWinApp* AfxGetApp()
{
    return g_app;
}

CWnd* AfxGetMainWnd()
{
    return g_app != nullptr ? g_app->m_pMainWnd : nullptr;
}

int CWinApp::ExitInstance()
{
    return m_exitCode;
}

BOOL CWinApp::OnIdle(long)
{
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd))
        frame->UpdateCommandUI();
    return FALSE;
}

int CWinApp::Run()
{
    if (m_pMainWnd == nullptr)
        return ExitInstance();
    QTimer idle;
    QObject::connect(&idle, &QTimer::timeout, [this] { OnIdle(0); });
    idle.start(kIdleMs);
    m_exitCode = QApplication::exec();
    return ExitInstance();
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate)
{
    if (docTemplate != nullptr)
        m_templates.emplace_back(docTemplate);
}

// The first argument that is not a switch ("-...") names a file to open;
// "/" starts a path here, not a switch.
void CWinApp::ParseCommandLine(CCommandLineInfo& info) const
{
    info = CCommandLineInfo();
    for (const CString& a : m_args) {
        if (a.IsEmpty() || a[0] == u'-')
            continue;
        info.m_nShellCommand = CCommandLineInfo::FileOpen;
        info.m_strFileName = a;
        break;
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return m_pMainWnd != nullptr ? TRUE : FALSE;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName.GetString()) != nullptr ? TRUE : FALSE;
    default:
        return TRUE;
    }
}

CDocument* CWinApp::OpenDocumentFile(const char16_t* path)
{
    if (m_templates.empty())
        return nullptr;
    return m_templates.front()->OpenDocumentFile(path);
}

void CWinApp::OnFileNew()
{
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

int AfxWinMain(int argc, char** argv)
{
    static int s_argc = argc;
    uirt::EnsureApplication(&s_argc, argv);
    static QtPoster poster;
    SetGuiPoster(&poster);
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return 1;
    for (int i = 1; i < argc; ++i)
        app->m_args.push_back(CString(argv[i]));
    if (argc > 0)
        app->m_pszExeName = CString(argv[0]);
    int code = 0;
    if (app->InitInstance())
        code = app->Run();
    else
        code = app->ExitInstance();
    SetGuiPoster(nullptr);
    return code;
}
