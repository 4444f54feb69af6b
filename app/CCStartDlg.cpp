#include "app/CCStartDlg.h"

#include "app/frame_resources.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/ui/message_box.h"

namespace {

constexpr int kNameHeight = 40;     // pixels: readable from across the room
constexpr int kLineHeight = 18;
constexpr COLORREF kNameColour = 0xFFFFFF;
constexpr COLORREF kLineColour = 0xE0D0C0;
// Dark blue, so the splash stands out from the black drawing behind it.
constexpr COLORREF kBackground = RGB(16, 40, 72);

} // namespace

CCStartDlg::CCStartDlg() : CDialog(IDD_STARTDLG)
{
    RegisterFrameResources();
}

CCStartDlg::~CCStartDlg()
{
    if (m_background != nullptr)
        DeleteObject(m_background);
}

BOOL CCStartDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_nameFont.CreateFont(kNameHeight, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, u"宋体");
    m_lineFont.CreateFont(kLineHeight, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, u"宋体");
    if (CWnd* name = GetDlgItem(IDC_SPLASH_NAME))
        name->SetFont(&m_nameFont);
    for (int id : {IDC_SPLASH_VERSION, IDC_SPLASH_LINE})
        if (CWnd* line = GetDlgItem(id))
            line->SetFont(&m_lineFont);
    CenterWindow();
    // The second counts from the moment the splash is on the screen. Before,
    // it counted from here, and the main window's first layout ate into it.
    ShowWindow(SW_SHOW);
    UpdateWindow();
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

HBRUSH CCStartDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT)
{
    if (m_background == nullptr)
        m_background = CreateSolidBrush(kBackground);
    if (dc != nullptr) {
        const bool name = wnd != nullptr && wnd->GetDlgCtrlID() == IDC_SPLASH_NAME;
        dc->SetTextColor(name ? kNameColour : kLineColour);
        dc->SetBkColor(kBackground);
    }
    return m_background;
}
