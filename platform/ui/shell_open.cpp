#include "platform/ui/shell_open.h"

#include "platform/ui/ui_runtime.h"

#include <QDesktopServices>
#include <QUrl>

BOOL ShellOpen(const CString& target, int)
{
    if (target.IsEmpty())
        return FALSE;
    return QDesktopServices::openUrl(QUrl::fromUserInput(uirt::ToQ(target))) ? TRUE : FALSE;
}
