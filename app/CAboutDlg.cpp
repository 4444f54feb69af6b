#include "app/CAboutDlg.h"

#include "app/frame_resources.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX)
{
    RegisterFrameResources();
}
