#include "link/CZorvalinkApp.h"

#include "link/CZorvalinkDlg.h"
#include "platform/core/named_objects.h"

CZorvalinkApp::CZorvalinkApp() : CWinApp(u"zorvalink") {}

CZorvalinkApp::~CZorvalinkApp() = default;

BOOL CZorvalinkApp::InitInstance()
{
    m_instanceMutex = std::make_unique<CNamedMutex>();
    if (!m_instanceMutex->Create(CString(u"{5cd945-93249d-943874-ed99343}")) && m_instanceMutex->AlreadyExists())
        return FALSE;
    INITCOMMONCONTROLSEX controls;
    controls.dwICC = 0xFF;
    InitCommonControlsEx(&controls);
    AfxEnableControlContainer();
    SetRegistryKey(CString(u"应用程序向导生成的本地应用程序"));
    CZorvalinkDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
