#pragma once

#include "platform/core/CString.h"
#include "platform/ui/CCmdTarget.h"
#include "platform/ui/cursors.h"

#include <memory>
#include <vector>

class CDocTemplate;
class CDocument;
class CWnd;

// The shell command of the command line: a new document, or the file named.
class CCommandLineInfo {
public:
    enum { FileNew, FileOpen, FileNothing };
    int m_nShellCommand = FileNew;
    CString m_strFileName;
};

// The application object: one per program, constructed as a global. The
// framework runs InitInstance, then the message loop until the main window
// goes (or InitInstance said no), then ExitInstance.
class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(const char16_t* appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance();
    // The message loop; returns ExitInstance's result.
    virtual int Run();
    // Idle work after messages: the frame's bars ask their update handlers.
    virtual BOOL OnIdle(long count);

    void AddDocTemplate(CDocTemplate* docTemplate); // takes ownership
    void ParseCommandLine(CCommandLineInfo& info) const;
    BOOL ProcessShellCommand(CCommandLineInfo& info);
    virtual CDocument* OpenDocumentFile(const char16_t* path);
    void SetRegistryKey(const CString& key) { m_registryKey = key; }
    HCURSOR LoadStandardCursor(LPCURSORID id) const { return LoadCursor(nullptr, id); }

    void OnFileNew();
    void OnAppExit();

    CWnd* m_pMainWnd = nullptr;
    CString m_pszAppName;
    CString m_pszExeName;
    std::vector<CString> m_args; // command-line arguments after the program name
    int m_exitCode = 0;

private:
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    CString m_registryKey;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// The program's entry: creates the Qt application, runs the application
// object's InitInstance, its message loop and ExitInstance. Returns the exit code.
int AfxWinMain(int argc, char** argv);

// Start-up calls of the framework that have nothing to do here.
struct INITCOMMONCONTROLSEX {
    DWORD dwSize = sizeof(INITCOMMONCONTROLSEX);
    DWORD dwICC = 0;
};
inline BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX*) { return TRUE; }
inline BOOL AfxOleInit() { return TRUE; }
inline void AfxEnableControlContainer() {}
