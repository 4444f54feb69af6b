#include "platform/ui/folder_browser.h"

#include "platform/ui/CWnd.h"
#include "platform/ui/ui_runtime.h"
#include "platform/ui/message_box.h"

#include <QDir>
#include <QFileDialog>

namespace {

FolderBrowserHook& Hook()
{
    static FolderBrowserHook hook;
    return hook;
}

} // namespace

FolderBrowserHook SetFolderBrowserHook(FolderBrowserHook hook)
{
    FolderBrowserHook old = std::move(Hook());
    Hook() = std::move(hook);
    return old;
}

CString BrowseForFolder(CWnd* owner, const CString& title)
{
    if (Hook()) {
        FolderBrowserHook hook = Hook();
        return hook(title);
    }
    if (IsHeadlessSession())
        AbortUnansweredModal("folder browser", title);
    const QString folder = QFileDialog::getExistingDirectory(
        (owner ? owner->GetSafeHwnd() : nullptr), uirt::ToQ(title), QDir::homePath(), QFileDialog::ShowDirsOnly);
    return uirt::FromQ(QDir::toNativeSeparators(folder));
}
