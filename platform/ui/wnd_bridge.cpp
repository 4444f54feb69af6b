#include "platform/ui/wnd_bridge.h"

#include "platform/ui/CWnd.h"
#include "platform/ui/ui_runtime.h"

#include <QCloseEvent>
#include <QPainter>
#include <QWidget>

WndBridge::~WndBridge()
{
    Unwatch();
}

void WndBridge::Watch(QWidget* widget)
{
    Unwatch();
    m_widget = widget;
    widget->installEventFilter(this);
    m_destroyed = QObject::connect(widget, &QObject::destroyed, this, [this] { m_wnd->HandleWidgetDestroyed(); });
}

void WndBridge::Unwatch()
{
    if (m_widget != nullptr)
        m_widget->removeEventFilter(this);
    QObject::disconnect(m_destroyed);
    m_widget = nullptr;
}

bool WndBridge::Paint(QWidget* widget)
{
    {
        uirt::PaintScope paint;
        uirt::DispatchScope scope;
        m_wnd->OnPaint();
    }
    if (m_widget == nullptr || !m_wnd->HasFrontImage())
        return false;
    QPainter painter(widget);
    m_wnd->PaintFrontImage(&painter);
    return true;
}

bool WndBridge::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_widget || m_wnd->m_hWnd != m_widget)
        return false;
    QWidget* w = m_widget;
    switch (event->type()) {
    case QEvent::Paint:
        return Paint(w);
    case QEvent::Resize: {
        m_wnd->ResizeFrontImage();
        uirt::DispatchScope scope;
        const UINT kind = w->isMaximized() ? SIZE_MAXIMIZED : w->isMinimized() ? SIZE_MINIMIZED : SIZE_RESTORED;
        m_wnd->OnSize(kind, w->width(), w->height());
        return false;
    }
    case QEvent::Close: {
        // The window decides: the default OnClose destroys it.
        event->ignore();
        uirt::DispatchScope scope;
        m_wnd->SendMessage(WM_CLOSE);
        return true;
    }
    case QEvent::Show: {
        uirt::DispatchScope scope;
        m_wnd->OnShowWindow(TRUE, 0);
        return false;
    }
    case QEvent::Hide: {
        uirt::DispatchScope scope;
        m_wnd->OnShowWindow(FALSE, 0);
        return false;
    }
    case QEvent::FocusIn: {
        uirt::DispatchScope scope;
        m_wnd->OnSetFocus(nullptr);
        return false;
    }
    case QEvent::FocusOut: {
        uirt::DispatchScope scope;
        m_wnd->OnKillFocus(nullptr);
        return false;
    }
    default:
        return false;
    }
}
