#include "app/CCStartDlg.h"

#include "app/frame_resources.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/ui/message_box.h"

CCStartDlg::CCStartDlg() : CDialog(IDD_STARTDLG)
{
    RegisterFrameResources();
}

CCStartDlg::~CCStartDlg()
{
    if (m_black != nullptr)
        DeleteObject(m_black);
}

BOOL CCStartDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetTimer(1, kSplashMs);
    return TRUE;
}

void CCStartDlg::OnTimer(UINT_PTR id)
{
    if (id != 1)
        return;
    KillTimer(1);
    EndDialog(IDCANCEL);
}

HBRUSH CCStartDlg::OnCtlColor(CDC* dc, CWnd*, UINT)
{
    if (m_black == nullptr)
        m_black = CreateSolidBrush(0x000000);
    if (dc != nullptr)
        dc->SetTextColor(0xFFFFFF);
    return m_black;
}
