#include "platform/ui/screen.h"

#include "platform/ui/ui_runtime.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

int GetSystemMetrics(int index)
{
    uirt::EnsureApplication();
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return 0;
    switch (index) {
    case SM_CXSCREEN: return screen->geometry().width();
    case SM_CYSCREEN: return screen->geometry().height();
    default: return 0;
    }
}

BOOL GetCursorPos(LPPOINT point)
{
    if (point == nullptr)
        return FALSE;
    QPoint p;
    if (!uirt::LastMousePos(&p))
        p = QCursor::pos();
    point->x = p.x();
    point->y = p.y();
    return TRUE;
}
