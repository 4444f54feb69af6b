// Qt input events as window messages: every key and mouse event first walks
// the pre-translation chain (the target window, then its parents), then
// reaches the target's handler, then the widget's own handling.

#include "platform/ui/CWnd.h"
#include "platform/ui/screen.h"
#include "platform/ui/ui_runtime.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWheelEvent>
#include <QWidget>

namespace {

// Qt hands an ignored event on to the parent widgets (for mouse events as a
// copy); those repeats must not become second messages.
struct Seen {
    int type = 0;
    quint64 time = 0;
    int detail = 0;
    QPointF global;
    QPointer<QWidget> receiver;
};
Seen g_seen;

bool IsRepeatOfSeen(QWidget* receiver, int type, quint64 time, int detail, QPointF global)
{
    if (g_seen.receiver == nullptr || g_seen.type != type || g_seen.time != time || g_seen.detail != detail
        || g_seen.global != global)
        return false;
    return receiver != g_seen.receiver && receiver->isAncestorOf(g_seen.receiver);
}

void RememberSeen(QWidget* receiver, int type, quint64 time, int detail, QPointF global)
{
    g_seen = Seen{type, time, detail, global, receiver};
}

// The window that takes a widget's input: none for a window of Qt's own
// that hangs from one of ours (a popup menu, a drop-down list, a toolkit
// dialog). Before, the click that chose a popup menu's item also reached
// the view under it as a click of its own, and dropped the selection the
// item was meant for.
CWnd* InputTarget(QWidget* receiver)
{
    CWnd* target = CWnd::FromHandle(receiver);
    if (target == nullptr || target->m_hWnd == nullptr || target->m_hWnd->window() != receiver->window())
        return nullptr;
    return target;
}

// Calls PreTranslateMessage from the target up through its parents, as far
// as its top-level window: a dialog keeps its keys from its owner frame.
bool PreTranslate(CWnd* target, MSG& msg)
{
    for (QWidget* w = target->m_hWnd; w != nullptr; w = w->parentWidget()) {
        if (CWnd* wnd = uirt::Lookup(w)) {
            std::shared_ptr<WndLife> life = wnd->GetLife();
            uirt::DispatchScope scope;
            if (wnd->PreTranslateMessage(&msg))
                return true;
            if (life->wnd == nullptr)
                return true; // destroyed while pre-translating
        }
        if (w->isWindow())
            break;
    }
    return false;
}

UINT MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    UINT f = 0;
    if (buttons & Qt::LeftButton)
        f |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        f |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        f |= MK_MBUTTON;
    if (mods & Qt::ShiftModifier)
        f |= MK_SHIFT;
    if (mods & Qt::ControlModifier)
        f |= MK_CONTROL;
    return f;
}

void NoteModifiers(Qt::KeyboardModifiers mods)
{
    uirt::NoteModifiers((mods & Qt::ShiftModifier) != 0, (mods & Qt::ControlModifier) != 0,
                        (mods & Qt::AltModifier) != 0);
}

class InputRouter : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!watched->isWidgetType())
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return Key(static_cast<QWidget*>(watched), static_cast<QKeyEvent*>(event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return Mouse(static_cast<QWidget*>(watched), static_cast<QMouseEvent*>(event));
        case QEvent::Wheel:
            return Wheel(static_cast<QWidget*>(watched), static_cast<QWheelEvent*>(event));
        default:
            return false;
        }
    }

private:
    static bool Key(QWidget* receiver, QKeyEvent* e);
    static bool Mouse(QWidget* receiver, QMouseEvent* e);
    static bool Wheel(QWidget* receiver, QWheelEvent* e);
};

bool InputRouter::Key(QWidget* receiver, QKeyEvent* e)
{
    const int type = int(e->type());
    if (IsRepeatOfSeen(receiver, type, e->timestamp(), e->key(), QPointF()))
        return false;
    RememberSeen(receiver, type, e->timestamp(), e->key(), QPointF());
    CWnd* target = InputTarget(receiver);
    const bool down = e->type() == QEvent::KeyPress;
    const UINT vk = uirt::VirtualKeyFromQt(e->key(), (e->modifiers() & Qt::KeypadModifier) != 0);
    NoteModifiers(e->modifiers());
    uirt::NoteKey(vk, down);
    if (target == nullptr || vk == 0)
        return false;
    std::shared_ptr<WndLife> life = target->GetLife();

    // Alt combinations (and F10, the menu key) come as system keys.
    const bool sys = (e->modifiers() & Qt::AltModifier) != 0;
    MSG msg;
    msg.hwnd = target->m_hWnd;
    msg.message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    msg.wParam = vk;
    msg.lParam = LPARAM(1) | (e->isAutoRepeat() || !down ? LPARAM(1) << 30 : 0) | (down ? 0 : LPARAM(1) << 31) |
                 (e->isAutoRepeat() && !down ? KF_AUTOREPEAT_RELEASE : 0);
    msg.time = DWORD(e->timestamp());
    GetCursorPos(&msg.pt);
    if (PreTranslate(target, msg))
        return true;
    if (life->wnd == nullptr)
        return true;
    {
        uirt::DispatchScope scope;
        const UINT flags = UINT((msg.lParam >> 16) & 0xFFFF);
        if (down)
            target->OnKeyDown(vk, 1, flags);
        else
            target->OnKeyUp(vk, 1, flags);
    }
    if (life->wnd == nullptr)
        return true;
    if (!down || sys)
        return false;
    const QString text = e->text();
    for (QChar ch : text) {
        MSG charMsg = msg;
        charMsg.message = WM_CHAR;
        charMsg.wParam = ch.unicode();
        if (PreTranslate(target, charMsg) || life->wnd == nullptr)
            return true;
        uirt::DispatchScope scope;
        target->OnChar(ch.unicode(), 1, 0);
        if (life->wnd == nullptr)
            return true;
    }
    return false;
}

bool InputRouter::Mouse(QWidget* receiver, QMouseEvent* e)
{
    const int type = int(e->type());
    const int detail = int(e->button()) | (int(e->buttons()) << 8);
    if (IsRepeatOfSeen(receiver, type, e->timestamp(), detail, e->globalPosition()))
        return false;
    RememberSeen(receiver, type, e->timestamp(), detail, e->globalPosition());
    NoteModifiers(e->modifiers());
    uirt::NoteMousePos(int(e->globalPosition().x()), int(e->globalPosition().y()));
    uirt::NoteMouseButtons((e->buttons() & Qt::LeftButton) != 0, (e->buttons() & Qt::RightButton) != 0,
                           (e->buttons() & Qt::MiddleButton) != 0);
    CWnd* target = InputTarget(receiver);
    if (target == nullptr)
        return false;
    std::shared_ptr<WndLife> life = target->GetLife();

    const QPoint local = receiver == target->m_hWnd
                             ? e->position().toPoint()
                             : target->m_hWnd->mapFromGlobal(e->globalPosition().toPoint());
    UINT message = WM_MOUSEMOVE;
    const Qt::MouseButton b = e->button();
    if (e->type() == QEvent::MouseButtonPress)
        message = b == Qt::LeftButton ? WM_LBUTTONDOWN : b == Qt::RightButton ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
    else if (e->type() == QEvent::MouseButtonRelease)
        message = b == Qt::LeftButton ? WM_LBUTTONUP : b == Qt::RightButton ? WM_RBUTTONUP : WM_MBUTTONUP;
    else if (e->type() == QEvent::MouseButtonDblClick)
        message = b == Qt::LeftButton ? WM_LBUTTONDBLCLK : b == Qt::RightButton ? WM_RBUTTONDBLCLK : WM_MBUTTONDBLCLK;
    const UINT flags = MouseFlags(e->buttons(), e->modifiers());
    MSG msg;
    msg.hwnd = target->m_hWnd;
    msg.message = message;
    msg.wParam = flags;
    msg.lParam = MAKELPARAM(UINT(local.x()), UINT(local.y()));
    msg.time = DWORD(e->timestamp());
    msg.pt = POINT{int(e->globalPosition().x()), int(e->globalPosition().y())};
    if (PreTranslate(target, msg))
        return true;
    if (life->wnd == nullptr)
        return true;

    uirt::DispatchScope scope;
    const CPoint pt(local.x(), local.y());
    switch (message) {
    case WM_MOUSEMOVE: {
        uirt::SetCursorTarget(target->m_hWnd);
        if (!target->OnSetCursor(target, HTCLIENT, WM_MOUSEMOVE) && life->wnd != nullptr)
            target->m_hWnd->unsetCursor();
        if (life->wnd != nullptr)
            target->OnMouseMove(flags, pt);
        break;
    }
    case WM_LBUTTONDOWN: target->OnLButtonDown(flags, pt); break;
    case WM_LBUTTONUP: target->OnLButtonUp(flags, pt); break;
    case WM_LBUTTONDBLCLK: target->OnLButtonDblClk(flags, pt); break;
    case WM_RBUTTONDOWN: target->OnRButtonDown(flags, pt); break;
    case WM_RBUTTONUP: target->OnRButtonUp(flags, pt); break;
    case WM_RBUTTONDBLCLK: target->OnRButtonDblClk(flags, pt); break;
    case WM_MBUTTONDOWN: target->OnMButtonDown(flags, pt); break;
    case WM_MBUTTONUP: target->OnMButtonUp(flags, pt); break;
    default: break;
    }
    return life->wnd == nullptr;
}

// A wheel the target leaves unhandled goes on to its parents.
bool InputRouter::Wheel(QWidget* receiver, QWheelEvent* e)
{
    const int type = int(e->type());
    if (IsRepeatOfSeen(receiver, type, e->timestamp(), e->angleDelta().y(), e->globalPosition()))
        return false;
    RememberSeen(receiver, type, e->timestamp(), e->angleDelta().y(), e->globalPosition());
    NoteModifiers(e->modifiers());
    uirt::NoteMousePos(int(e->globalPosition().x()), int(e->globalPosition().y()));
    const UINT flags = MouseFlags(e->buttons(), e->modifiers());
    const CPoint screen(int(e->globalPosition().x()), int(e->globalPosition().y()));
    const short delta = short(e->angleDelta().y());
    for (QWidget* w = receiver; w != nullptr; w = w->parentWidget()) {
        if (CWnd* wnd = uirt::Lookup(w)) {
            uirt::DispatchScope scope;
            if (wnd->OnMouseWheel(flags, delta, screen))
                return true;
        }
        if (w->isWindow())
            break;
    }
    return false;
}

} // namespace

void uirt::InstallInputRouter()
{
    static InputRouter* router = nullptr;
    if (router != nullptr || QCoreApplication::instance() == nullptr)
        return;
    router = new InputRouter;
    QCoreApplication::instance()->installEventFilter(router);
}
