#include "platform/ui/cursors.h"

#include "platform/ui/ui_runtime.h"

#include <QCursor>
#include <QWidget>

const CursorShape kCursorArrow{Qt::ArrowCursor};
const CursorShape kCursorCross{Qt::CrossCursor};
const CursorShape kCursorHand{Qt::PointingHandCursor};
const CursorShape kCursorWait{Qt::WaitCursor};
const CursorShape kCursorIBeam{Qt::IBeamCursor};
const CursorShape kCursorSizeAll{Qt::SizeAllCursor};
const CursorShape kCursorNo{Qt::ForbiddenCursor};
static const CursorShape kCursorBlank{Qt::BlankCursor};

namespace {
HCURSOR g_current = &kCursorArrow;
}

HCURSOR LoadCursor(void*, LPCURSORID id)
{
    return id;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    const HCURSOR old = g_current;
    g_current = cursor;
    QWidget* target = uirt::CursorTarget();
    if (target != nullptr) {
        const HCURSOR shown = cursor != nullptr ? cursor : &kCursorBlank;
        target->setCursor(QCursor(Qt::CursorShape(shown->shape)));
    }
    return old;
}

HCURSOR GetCursor()
{
    return g_current;
}
