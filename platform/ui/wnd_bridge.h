#pragma once
// Watches the widget of one window: paint, size, show, focus and close
// events reach the window's handlers; the widget's deletion detaches it.
// Input events go through the application-wide router instead (CWnd_input.cpp).

#include <QMetaObject>
#include <QObject>
#include <QPointer>

class CWnd;
class QWidget;

class WndBridge : public QObject {
public:
    explicit WndBridge(CWnd* wnd) : m_wnd(wnd) {}
    ~WndBridge() override;

    void Watch(QWidget* widget);
    void Unwatch();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Paint(QWidget* widget);
    CWnd* m_wnd;
    QPointer<QWidget> m_widget;
    QMetaObject::Connection m_destroyed;
};
