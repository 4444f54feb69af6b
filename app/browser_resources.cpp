#include "app/browser_resources.h"

#include "platform/ui/CMenu.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/message_box.h"

namespace {

CString S(const char16_t* text) { return CString(text); }

// The list, the folder combo with the up button above it, the type combo
// below; the save dialog adds the name edit.
DlgTemplate Browser(UINT id, const char16_t* caption, bool save)
{
    using namespace dlg;
    DlgTemplate t{id, S(caption), WS_POPUP | WS_CAPTION | WS_SYSMENU, 330, save ? 262 : 244, {
        LText(-1, S(u"目录："), 7, 9, 28, 10),
        ComboBox(kIdFolderCombo, 36, 7, 222, 120),
        PushButton(kIdUpButton, S(u"返回上一级"), 264, 6, 59, 14),
        ListView(kIdBrowserList, 7, 26, 316, 176, LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP),
    }};
    int y = 208;
    if (save) {
        t.items.push_back(LText(-1, S(u"文件名："), 7, y + 2, 34, 10));
        t.items.push_back(EditText(kIdNameEdit, 42, y, 216, 13, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP));
        y += 18;
    }
    t.items.push_back(LText(-1, S(u"类型："), 7, y + 2, 34, 10));
    t.items.push_back(ComboBox(kIdTypeCombo, 42, y, 216, 80));
    t.items.push_back(DefPushButton(IDOK, S(save ? u"保存(&S)" : u"打开(&O)"), 264, y - (save ? 18 : 0), 59, 14));
    t.items.push_back(PushButton(IDCANCEL, S(u"取消"), 264, y + (save ? 0 : 18), 59, 14));
    return t;
}

} // namespace

void RegisterBrowserTemplates()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterDialogTemplate(Browser(IDD_FILE_SAVEAS, u"保存为  (F2)", true));
    RegisterDialogTemplate(Browser(IDD_FILE_OPEN, u"打开文件  (F1)", false));
    using namespace dlg;
    RegisterDialogTemplate({IDD_FILE_SEARCH, S(u"搜索文件"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 56, {
        LText(-1, S(u"内容"), 8, 10, 24, 10),
        EditText(kIdNameEdit, 34, 8, 158, 13, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
        DefPushButton(IDOK, S(u"确定(&S)"), 80, 32, 54, 14),
        PushButton(IDCANCEL, S(u"取消"), 138, 32, 54, 14)}});
    using menu::Item;
    using menu::Popup;
    using menu::Separator;
    RegisterMenuResource(IDR_BROWSER_MENU, {Popup(S(u"文件操作"), {
        Item(S(u"刷新(&W)"), kCmdBrowserRefresh), Separator(), Item(S(u"搜索(&S)"), kCmdBrowserSearch), Separator(),
        Item(S(u"删除(&D)"), kCmdBrowserDelete)})});
}
