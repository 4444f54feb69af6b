#include "app/CZorvasendwork.h"

#include "app/AppState.h"
#include "platform/ui/CStatic.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/message_box.h"

namespace {

constexpr int kIdCount = 1031;
constexpr int kIdIcon = 1032;
constexpr UINT kExportIcon = 236;
constexpr int kIconSize = 32;

void RegisterTemplate()
{
    static const bool done = [] {
        RegisterDialogTemplate({CZorvasendwork::IDD, CString(u"导出加工任务  (F5)"),
                                WS_POPUP | WS_CAPTION | WS_SYSMENU, 180, 70, {
            dlg::Picture(kIdIcon, 10, 8, 20, 20),
            dlg::LText(kIdCount, CString(u"轨迹图形数量：0  个"), 40, 14, 130, 10),
            dlg::DefPushButton(IDOK, CString(u"确定(&S)"), 40, 44, 50, 14),
            dlg::PushButton(IDCANCEL, CString(u"取消"), 110, 44, 50, 14),
        }});
        return true;
    }();
    (void)done;
}

} // namespace

CZorvasendwork::CZorvasendwork(int pathCount) : CDialog(IDD), m_pathCount(pathCount)
{
    RegisterTemplate();
}

BOOL CZorvasendwork::OnInitDialog()
{
    CDialog::OnInitDialog();
    CString text;
    text.Format(u"轨迹图形数量：%d  个", m_pathCount);
    SetDlgItemText(kIdCount, text);
    if (auto* picture = dynamic_cast<CStatic*>(GetDlgItem(kIdIcon))) {
        m_icon = std::make_unique<CImageList>();
        m_icon->Create(kIconSize, kIconSize, ILC_COLOR24 | ILC_MASK, 1, 1);
        m_icon->AddIcon(kExportIcon);
        picture->SetPicture(*m_icon, 0);
    }
    return TRUE;
}

BOOL CZorvasendwork::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        g_keyDownSeen = 1;
    } else if (msg->message == WM_KEYUP && msg->wParam == VK_F1 + 4 && g_keyDownSeen) {
        g_keyDownSeen = 0;
        OnCancel();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}
