#include "app/CZorvafileSreach.h"

#include "app/AppState.h"
#include "app/browser_resources.h"

CZorvafileSreach::CZorvafileSreach() : CDialog(IDD_FILE_SEARCH)
{
    RegisterBrowserTemplates();
}

void CZorvafileSreach::OnOK()
{
    CString text;
    GetDlgItemText(kIdNameEdit, text);
    text.Trim();
    g_searchText = text;
    CDialog::OnOK();
}
