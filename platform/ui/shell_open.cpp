#include "platform/ui/shell_open.h"

#include "platform/ui/ui_runtime.h"

#include <QCursor>
#include <QDesktopServices>
#include <QUrl>

BOOL ShellOpen(const CString& target, int)
{
    if (target.IsEmpty())
        return FALSE;
    return QDesktopServices::openUrl(QUrl::fromUserInput(uirt::ToQ(target))) ? TRUE : FALSE;
}

BOOL GetCursorPos(LPPOINT point)
{
    if (point == nullptr)
        return FALSE;
    const QPoint p = QCursor::pos();
    point->x = p.x();
    point->y = p.y();
    return TRUE;
}
