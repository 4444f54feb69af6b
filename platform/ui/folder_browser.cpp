#include "platform/ui/folder_browser.h"

#include "platform/ui/CWnd.h"
#include "platform/ui/ui_runtime.h"
#include "platform/ui/message_box.h"

#include "platform/core/files.h"

#include <QDir>
#include <QFileDialog>
#include <QList>
#include <QUrl>

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
    // The drives (root, home, mounted removable media) stand in the side
    // bar; a removable medium is where the chooser starts when there is one.
    QList<QUrl> drives;
    QString start = QDir::homePath();
    for (const DriveRoot& d : ListDriveRoots()) {
        drives.push_back(QUrl::fromLocalFile(uirt::ToQ(d.path)));
        if (d.removable && start == QDir::homePath())
            start = uirt::ToQ(d.path);
    }
    QFileDialog chooser(owner ? owner->GetSafeHwnd() : nullptr, uirt::ToQ(title), start);
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOption(QFileDialog::ShowDirsOnly);
    chooser.setSidebarUrls(drives);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return CString();
    return uirt::FromQ(QDir::toNativeSeparators(chooser.selectedFiles().front()));
}
