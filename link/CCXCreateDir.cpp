#include "link/CCXCreateDir.h"

#include "link/LinkState.h"
#include "link/link_helpers.h"
#include "link/link_resources.h"
#include "platform/ui/message_box.h"

BEGIN_MESSAGE_MAP(CCXCreateDir, CDialog)
    ON_EN_CHANGE(IDC_NAME_EDIT, OnNameChange)
END_MESSAGE_MAP()

namespace {

// The check buffer holds 252 characters with its terminating zero.
constexpr int kMaxNameLength = 251;

} // namespace

CCXCreateDir::CCXCreateDir(CWnd* parent) : CDialog(IDD_CREATE_DIR, parent)
{
    RegisterLinkResources();
}

BOOL CCXCreateDir::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(g_NewFolderCaption);
    return TRUE;
}

void CCXCreateDir::OnNameChange()
{
    SetDlgItemText(IDC_HINT, u"--");
}

void CCXCreateDir::OnOK()
{
    CString text;
    GetDlgItemText(IDC_NAME_EDIT, text);
    g_NewFolderName = TrimText(text);
    if (g_NewFolderName.GetLength() > kMaxNameLength) {
        SetDlgItemText(IDC_HINT, u"提示：目录名称过长");
        return;
    }
    if (!IsLegalFileName(g_NewFolderName)) {
        SetDlgItemText(IDC_HINT, u"提示：目录名称不能包含非法字符");
        return;
    }
    EndDialog(IDOK);
}
