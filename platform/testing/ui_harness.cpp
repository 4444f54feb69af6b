#include "platform/testing/ui_harness.h"

#include "platform/core/gui_post.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/timer_queue.h"
#include "platform/ui/ui_runtime.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

#include <chrono>
#include <cstdlib>

namespace harness {
namespace {

// Injected events get increasing timestamps, so each is a new message.
quint64 g_time = 1000;

// The widget the injected pointer is over: moves enter and leave widgets.
QPointer<QWidget> g_hover;

void Hover(QWidget* target, QPointF local, QPointF global)
{
    if (target == g_hover)
        return;
    if (g_hover != nullptr) {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(g_hover, &leave);
    }
    g_hover = target;
    if (target != nullptr) {
        QEnterEvent enter(local, local, global);
        QCoreApplication::sendEvent(target, &enter);
    }
}

Qt::KeyboardModifiers Mods(UINT modifiers)
{
    Qt::KeyboardModifiers m;
    if (modifiers & kShift)
        m |= Qt::ShiftModifier;
    if (modifiers & kCtrl)
        m |= Qt::ControlModifier;
    if (modifiers & kAlt)
        m |= Qt::AltModifier;
    return m;
}

Qt::MouseButton Button(UINT button)
{
    if (button & MK_RBUTTON)
        return Qt::RightButton;
    if (button & MK_MBUTTON)
        return Qt::MiddleButton;
    return Qt::LeftButton;
}

Qt::MouseButtons Buttons(UINT buttons)
{
    Qt::MouseButtons b;
    if (buttons & MK_LBUTTON)
        b |= Qt::LeftButton;
    if (buttons & MK_RBUTTON)
        b |= Qt::RightButton;
    if (buttons & MK_MBUTTON)
        b |= Qt::MiddleButton;
    return b;
}

// The child widget under a client point of wnd (the event goes there, as
// a real click would).
QWidget* WidgetAt(CWnd* wnd, CPoint pt, QPoint* local)
{
    QWidget* w = wnd->m_hWnd;
    QWidget* child = w->childAt(QPoint(pt.x, pt.y));
    if (child == nullptr)
        child = w;
    *local = child->mapFrom(w, QPoint(pt.x, pt.y));
    return child;
}

// A real press activates its window and moves the keyboard focus as the
// widgets' focus policies say; Qt does that only for events from the
// window system, not for sent ones.
void GiveClickFocus(QWidget* w)
{
    if (w != nullptr)
        uirt::ActivateWindowOf(w);
    for (; w != nullptr; w = w->parentWidget()) {
        QWidget* f = w->focusProxy() != nullptr ? w->focusProxy() : w;
        if (f->isEnabled() && (f->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus) {
            f->setFocus(Qt::MouseFocusReason);
            return;
        }
        if (w->isWindow())
            return;
    }
}

void SendMouse(CWnd* wnd, QEvent::Type type, CPoint pt, Qt::MouseButton button, Qt::MouseButtons held, UINT modifiers)
{
    if (wnd == nullptr || wnd->m_hWnd == nullptr)
        return;
    QPoint local;
    QWidget* target = WidgetAt(wnd, pt, &local);
    const QPointF global = target->mapToGlobal(QPointF(local));
    if (type == QEvent::MouseMove)
        Hover(target, QPointF(local), global);
    if (type == QEvent::MouseButtonPress)
        GiveClickFocus(target);
    QMouseEvent e(type, QPointF(local), global, button, held, Mods(modifiers));
    e.setTimestamp(++g_time);
    QCoreApplication::sendEvent(target, &e);
}

QString KeyText(UINT vk, UINT modifiers)
{
    if (modifiers & (kCtrl | kAlt))
        return QString();
    if (vk >= 'A' && vk <= 'Z')
        return QString(QChar((modifiers & kShift) ? vk : vk - 'A' + 'a'));
    if (vk >= '0' && vk <= '9')
        return QString(QChar(vk));
    switch (vk) {
    case VK_SPACE: return QStringLiteral(" ");
    case VK_RETURN: return QStringLiteral("\r");
    case VK_ESCAPE: return QString(QChar(0x1B));
    case VK_BACK: return QStringLiteral("\b");
    case VK_TAB: return QStringLiteral("\t");
    default: return QString();
    }
}

void SendKey(CWnd* wnd, QEvent::Type type, int qtKey, const QString& text, UINT modifiers, bool autoRepeat = false)
{
    if (wnd == nullptr || wnd->m_hWnd == nullptr)
        return;
    QKeyEvent e(type, qtKey, Mods(modifiers), text, autoRepeat);
    e.setTimestamp(++g_time);
    QCoreApplication::sendEvent(wnd->m_hWnd, &e);
}

} // namespace

void InitGui()
{
    uirt::EnsureApplication();
    timerq::UseVirtualClock(true);
}

void UseVirtualClock(bool on)
{
    timerq::UseVirtualClock(on);
}

int AdvanceTime(int ms)
{
    return timerq::Advance(ms);
}

int RunDueTimers()
{
    return timerq::RunDue();
}

int PendingTimers()
{
    return timerq::Count();
}

int PumpPosted()
{
    int ran = 0;
    for (int round = 0; round < 1000; ++round) {
        const int calls = int(::RunPostedCalls());
        ran += calls;
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        if (calls == 0 && PendingPostedCalls() == 0)
            break;
    }
    return ran;
}

void RunIdle(CFrameWnd* frame)
{
    if (frame != nullptr)
        frame->UpdateCommandUI();
}

void MouseDown(CWnd* wnd, CPoint pt, UINT button, UINT modifiers)
{
    SendMouse(wnd, QEvent::MouseButtonPress, pt, Button(button), Button(button), modifiers);
}

void MouseUp(CWnd* wnd, CPoint pt, UINT button, UINT modifiers)
{
    SendMouse(wnd, QEvent::MouseButtonRelease, pt, Button(button), Qt::NoButton, modifiers);
}

void Click(CWnd* wnd, CPoint pt, UINT button, UINT modifiers)
{
    MouseDown(wnd, pt, button, modifiers);
    MouseUp(wnd, pt, button, modifiers);
}

void DoubleClick(CWnd* wnd, CPoint pt, UINT modifiers)
{
    Click(wnd, pt, MK_LBUTTON, modifiers);
    SendMouse(wnd, QEvent::MouseButtonDblClick, pt, Qt::LeftButton, Qt::LeftButton, modifiers);
    MouseUp(wnd, pt, MK_LBUTTON, modifiers);
}

void MouseMove(CWnd* wnd, CPoint pt, UINT buttons, UINT modifiers)
{
    SendMouse(wnd, QEvent::MouseMove, pt, Qt::NoButton, Buttons(buttons), modifiers);
}

void MouseLeave()
{
    Hover(nullptr, QPointF(), QPointF());
}

void Wheel(CWnd* wnd, CPoint pt, int delta, UINT modifiers)
{
    if (wnd == nullptr || wnd->m_hWnd == nullptr)
        return;
    QPoint local;
    QWidget* target = WidgetAt(wnd, pt, &local);
    const QPointF global = target->mapToGlobal(QPointF(local));
    QWheelEvent e(QPointF(local), global, QPoint(), QPoint(0, delta), Qt::NoButton, Mods(modifiers),
                  Qt::NoScrollPhase, false);
    e.setTimestamp(++g_time);
    QCoreApplication::sendEvent(target, &e);
}

void KeyDown(CWnd* wnd, UINT vk, UINT modifiers)
{
    SendKey(wnd, QEvent::KeyPress, uirt::QtKeyFromVirtualKey(vk), KeyText(vk, modifiers), modifiers);
}

void KeyUp(CWnd* wnd, UINT vk, UINT modifiers)
{
    SendKey(wnd, QEvent::KeyRelease, uirt::QtKeyFromVirtualKey(vk), KeyText(vk, modifiers), modifiers);
}

void KeyRepeat(CWnd* wnd, UINT vk, UINT modifiers)
{
    const int key = uirt::QtKeyFromVirtualKey(vk);
    SendKey(wnd, QEvent::KeyRelease, key, KeyText(vk, modifiers), modifiers, true);
    SendKey(wnd, QEvent::KeyPress, key, KeyText(vk, modifiers), modifiers, true);
}

void PressKey(CWnd* wnd, UINT vk, UINT modifiers)
{
    KeyDown(wnd, vk, modifiers);
    KeyUp(wnd, vk, modifiers);
}

void TypeText(CWnd* wnd, const CString& text)
{
    for (int i = 0; i < text.GetLength(); ++i) {
        const QChar ch(text[i]);
        const int key = ch.isLetter() && ch.unicode() < 128 ? ch.toUpper().unicode() : ch.unicode();
        SendKey(wnd, QEvent::KeyPress, key, QString(ch), ch.isUpper() ? kShift : 0);
        SendKey(wnd, QEvent::KeyRelease, key, QString(ch), ch.isUpper() ? kShift : 0);
    }
}

void ResetKeyboard()
{
    uirt::ResetKeyState();
}

namespace {

bool ChooseIn(QMenu* menu, const QString& name)
{
    emit menu->aboutToShow(); // rebuilds the items from their update handlers
    for (QAction* a : menu->actions()) {
        if (a->menu() != nullptr) {
            if (a->isEnabled() && ChooseIn(a->menu(), name))
                return true;
        } else if (a->objectName() == name) {
            if (!a->isEnabled())
                return false;
            a->trigger();
            return true;
        }
    }
    return false;
}

} // namespace

bool ChooseMenuItem(CFrameWnd* frame, UINT id)
{
    auto* main = frame != nullptr ? qobject_cast<QMainWindow*>(frame->m_hWnd) : nullptr;
    if (main == nullptr)
        return false;
    const QString name = QString::number(id);
    for (QAction* top : main->menuBar()->actions()) {
        if (top->menu() != nullptr && ChooseIn(top->menu(), name))
            return true;
    }
    return false;
}

namespace {

// Notes that a paint event reached the watched widget; the paint itself
// runs right after, inside the same processEvents call.
class PaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

} // namespace

double WaitForPaint(CWnd* wnd, int timeoutMs)
{
    if (wnd == nullptr || wnd->m_hWnd == nullptr)
        return -1;
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto limit = start + std::chrono::milliseconds(timeoutMs);
    PaintWatch watch;
    wnd->m_hWnd->installEventFilter(&watch);
    QTimer wake;                        // ends the wait below at the limit
    wake.setSingleShot(true);
    wake.start(timeoutMs);
    while (!watch.painted && Clock::now() < limit) {
        ::RunPostedCalls();
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    wnd->m_hWnd->removeEventFilter(&watch);
    if (!watch.painted)
        return -1;
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

namespace {

// wnd as the screen shows it, with menu's popup over it when one is given.
bool SaveSnapshot(CWnd* wnd, const CMenu* menu, CPoint at, const CString& path)
{
    if (wnd == nullptr || wnd->m_hWnd == nullptr)
        return false;
    QWidget* w = wnd->m_hWnd;
    PumpPosted();
    QPixmap picture = w->grab();
    if (menu != nullptr) {
        QMenu popup;
        uirt::FillQtMenu(&popup, *menu);
        popup.resize(popup.sizeHint());
        QPainter painter(&picture);
        painter.drawPixmap(w->mapFromGlobal(QPoint(at.x, at.y)), popup.grab());
    }
    return picture.save(uirt::ToQ(path), "PNG");
}

} // namespace

CWnd* FocusWithin(CWnd* wnd)
{
    QWidget* w = wnd != nullptr ? wnd->GetSafeHwnd() : nullptr;
    QWidget* focus = w != nullptr ? w->window()->focusWidget() : nullptr;
    return focus != nullptr ? CWnd::FromHandle(focus) : nullptr;
}

bool SnapshotPng(CWnd* wnd, const CString& path)
{
    return SaveSnapshot(wnd, nullptr, CPoint(), path);
}

bool SnapshotWithMenuPng(CWnd* wnd, const CMenu& menu, CPoint at, const CString& path)
{
    return SaveSnapshot(wnd, &menu, at, path);
}

CString TempPath(const CString& name)
{
    const char* home = std::getenv("ZORVA_HOME");
    CString dir(home != nullptr ? home : "/tmp");
    return dir + u"/" + name;
}

} // namespace harness
