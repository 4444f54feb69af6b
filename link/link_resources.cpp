#include "link/link_resources.h"

#include "platform/ui/CImageList.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/message_box.h"
#include "platform/ui/resources.h"

namespace {

CString S(const char16_t* text)
{
    return CString(text);
}

void RegisterMainDialog()
{
    // 1400 x 860 pixels; the lists, the tab and the log are placed by code.
    RegisterDialogTemplate({IDD_ZORVALINK_DIALOG, S(u"Zorva远程主控端.   ver 2.0"),
                            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 933, 573,
                            {
                                dlg::DefPushButton(IDC_RELOAD, S(u"重载列表"), 2, 8, 50, 15),
                                dlg::PushButton(IDC_SELECT_ALL, S(u"全选列表"), 56, 8, 50, 15),
                                dlg::PushButton(IDC_SELECT_NONE, S(u"空选"), 110, 8, 36, 15),
                                dlg::LText(IDC_STATE_TEXT, S(u"状态："), 154, 11, 24, 10),
                                dlg::LText(IDC_TRANSFER_LABEL, S(u"●"), 178, 8, 14, 14),
                                dlg::AutoCheckBox(IDC_REPLACE_EXISTING, S(u"重复文件默认替换"), 198, 9, 86, 12),
                                dlg::AutoCheckBox(IDC_SKIP_EXISTING, S(u"重复文件默认取消"), 288, 9, 86, 12),
                                dlg::AutoCheckBox(IDC_SHOW_MAXIMISED, S(u"最大化显示"), 378, 9, 62, 12),
                                dlg::ComboBox(IDC_SCHEME, 470, 8, 120, 200, CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP),
                                dlg::PushButton(IDC_SAVE_SCHEME, S(u"保存方案"), 594, 8, 50, 15),
                                dlg::PushButton(IDC_CLEAR_SCHEMES, S(u"清空"), 648, 8, 40, 15),
                                dlg::ListView(IDC_MACHINE_LIST, 1, 30, 453, 440, LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER),
                                dlg::Tab(IDC_TAB, 467, 30, 464, 527),
                                dlg::ListBox(IDC_LOG, 1, 473, 453, 80, WS_VSCROLL | WS_HSCROLL | WS_BORDER),
                            }});
}

void RegisterFilePage()
{
    const unsigned list = LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP;
    RegisterDialogTemplate({IDD_FILE_PAGE, CString(), WS_CHILD, 278, 321,
                            {
                                dlg::LText(IDC_LOCAL_LABEL, S(u"主机目录"), 1, 7, 40, 10),
                                dlg::EditText(IDC_LOCAL_PATH, 36, 3, 180, 14, ES_READONLY | ES_AUTOHSCROLL),
                                dlg::PushButton(IDC_LOCAL_UP, S(u"上一目录"), 218, 3, 59, 14),
                                dlg::ListView(IDC_LOCAL_LIST, 1, 20, 276, 120, list),
                                dlg::LText(IDC_REMOTE_LABEL, S(u"远程目录"), 1, 147, 40, 10),
                                dlg::EditText(IDC_REMOTE_PATH, 36, 143, 180, 14, ES_READONLY | ES_AUTOHSCROLL),
                                dlg::PushButton(IDC_REMOTE_UP, S(u"上一目录"), 218, 143, 59, 14),
                                dlg::ListView(IDC_REMOTE_LIST, 1, 160, 276, 120, list),
                                dlg::ComboBox(IDC_FILTER, 1, 284, 133, 100, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP),
                                dlg::EditText(IDC_MACHINE_BOX, 212, 284, 63, 14, WS_DISABLED),
                                dlg::AutoCheckBox(IDC_SEND_ALL, S(u"多机选中传输"), 1, 303, 66, 14),
                                dlg::AutoCheckBox(IDC_SKIP_BUSY, S(u"排除加工机器"), 73, 303, 66, 14),
                                dlg::PushButton(IDC_SEND, S(u"传输文件(&S)"), 144, 303, 53, 15),
                                dlg::PushButton(IDC_RECEIVE, S(u"接收文件(&R)"), 200, 303, 53, 15),
                                dlg::PushButton(IDC_STOP, S(u"停止(&P)"), 225, 303, 53, 15),
                            }});
}

void RegisterSmallDialogs()
{
    RegisterDialogTemplate({IDD_CREATE_DIR, S(u"新建目录"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 220, 70,
                            {
                                dlg::LText(1040, S(u"目录名称"), 8, 12, 40, 10),
                                dlg::EditText(IDC_NAME_EDIT, 50, 10, 160, 14, ES_AUTOHSCROLL | WS_TABSTOP),
                                dlg::LText(IDC_HINT, S(u"--"), 8, 32, 204, 10),
                                dlg::DefPushButton(IDOK, S(u"确定"), 106, 50, 50, 14),
                                dlg::PushButton(IDCANCEL, S(u"取消"), 162, 50, 50, 14),
                            }});
    RegisterDialogTemplate({IDD_MACHINE_NUMBER, S(u"修改机器编号"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 190, 72,
                            {
                                dlg::LText(1040, S(u"客户端"), 8, 12, 30, 10),
                                dlg::ComboBox(IDC_LETTER, 42, 10, 40, 100, CBS_DROPDOWNLIST | CBS_SORT | WS_TABSTOP),
                                dlg::EditText(IDC_NAME_EDIT, 88, 10, 50, 14, ES_NUMBER | WS_TABSTOP),
                                dlg::LText(IDC_HINT, S(u"--"), 8, 32, 176, 10),
                                dlg::DefPushButton(IDOK, S(u"确定(&S)"), 76, 52, 50, 14),
                                dlg::PushButton(IDCANCEL, S(u"取消"), 132, 52, 50, 14),
                            }});
    RegisterDialogTemplate({IDD_LINK_ABOUTBOX, S(u"关于 zorvalink"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 70,
                            {
                                dlg::LText(1040, S(u"zorvalink 1.0 版"), 40, 12, 150, 10),
                                dlg::LText(1041, S(u"线切割机床远程文件传输主控端"), 40, 28, 150, 10),
                                dlg::DefPushButton(IDOK, S(u"确定"), 140, 48, 50, 14),
                            }});
}

void RegisterMenus()
{
    using namespace menu;
    RegisterMenuResource(IDR_LOCAL_MENU, {Popup(S(u"主机"), {
        Item(S(u"刷新(&C)"), ID_LOCAL_REFRESH),
        Item(S(u"发送文件至机器端(&S)"), ID_LOCAL_SEND),
        Item(S(u"打开文件所在目录(&U)"), ID_LOCAL_OPEN_FOLDER),
        Separator(),
        Item(S(u"新建(&N)"), ID_LOCAL_NEW_FOLDER),
        Item(S(u"删除(&D)"), ID_LOCAL_DELETE),
    })});
    RegisterMenuResource(IDR_REMOTE_MENU, {Popup(S(u"远程"), {
        Item(S(u"刷新(&C)"), ID_REMOTE_REFRESH),
        Item(S(u"传输文件至主机端(&S)"), ID_REMOTE_RECEIVE),
        Separator(),
        Item(S(u"新建(&N)"), ID_REMOTE_NEW_FOLDER),
        Item(S(u"删除(&D)"), ID_REMOTE_DELETE),
    })});
    RegisterMenuResource(IDR_LOG_MENU, {Popup(S(u"日志"), {Item(S(u"清空(&C)"), ID_LOG_CLEAR)})});
    RegisterMenuResource(IDR_MACHINE_MENU, {Popup(S(u"机器"), {
        Item(S(u"修改机器编号"), ID_CHANGE_MACHINE_NUMBER),
        Separator(),
    })});
}

void RegisterIcons()
{
    RegisterThemeIcon(IDR_LINK_MAINFRAME, "network-server");
    RegisterThemeIcon(IDI_PARENT_ROW, "go-parent-folder");
    RegisterThemeIcon(IDI_FILE_ROW, "text-x-generic");
    RegisterThemeIcon(IDI_FOLDER_ROW, "folder");
    RegisterThemeIcon(IDI_DRIVE_ROW, "drive-harddisk");
    RegisterThemeIcon(IDI_MACHINE_ONLINE, "network-wired");
    RegisterThemeIcon(IDI_MACHINE_OFFLINE, "network-offline");
    RegisterThemeIcon(IDI_SPARE, "document-send");
    RegisterThemeIcon(IDI_REMOVABLE_ROW, "drive-removable-media");
}

} // namespace

void RegisterLinkResources()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterMainDialog();
    RegisterFilePage();
    RegisterSmallDialogs();
    RegisterMenus();
    RegisterIcons();
    RegisterResourceString(IDS_ABOUTBOX, S(u"关于 zorvalink(&A)..."));
    // Pane widths: 165 and 48 blanks of the status bar's font.
    RegisterResourceString(ID_PANE_STATUS, CString(u' ', 165));
    RegisterResourceString(ID_PANE_ADDRESS, CString(u' ', 48));
}
