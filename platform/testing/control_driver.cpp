#include "platform/testing/control_driver.h"

#include "platform/gdi/gdi_qt.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/control_widgets.h"
#include "platform/ui/ui_runtime.h"

#include "platform/core/gui_post.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace dlgtest {

namespace {

QWidget* W(CWnd* wnd)
{
    return wnd != nullptr ? wnd->GetSafeHwnd() : nullptr;
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons held)
{
    const QPoint global = target->mapToGlobal(local);
    QCursor::setPos(global);
    QMouseEvent event(type, QPointF(local), QPointF(global), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// The widget that really receives a click at local (a child, or a viewport).
QWidget* Receiver(QWidget* w, QPoint* local)
{
    QWidget* child = w->childAt(*local);
    if (child == nullptr)
        return w;
    *local = child->mapFrom(w, *local);
    return child;
}

void ClickOn(QWidget* w, QPoint local, Qt::MouseButton button, bool dbl)
{
    QWidget* r = Receiver(w, &local);
    SendMouse(r, QEvent::MouseButtonPress, local, button, button);
    SendMouse(r, QEvent::MouseButtonRelease, local, button, Qt::NoButton);
    if (dbl) {
        SendMouse(r, QEvent::MouseButtonDblClick, local, button, button);
        SendMouse(r, QEvent::MouseButtonRelease, local, button, Qt::NoButton);
    }
    Pump();
}

QImage Grab(CWnd* window)
{
    QWidget* w = W(window);
    if (w == nullptr)
        return QImage();
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

void EnsureGui()
{
    uirt::EnsureApplication();
}

void Pump()
{
    EnsureGui();
    for (int i = 0; i < 3; ++i) {
        QApplication::sendPostedEvents();
        QApplication::processEvents();
        RunPostedCalls();
    }
}

void Click(CWnd* control)
{
    QWidget* w = W(control);
    ClickOn(w, w->rect().center(), Qt::LeftButton, false);
}

void ClickAt(CWnd* control, int x, int y)
{
    ClickOn(W(control), QPoint(x, y), Qt::LeftButton, false);
}

void DoubleClick(CWnd* control)
{
    QWidget* w = W(control);
    ClickOn(w, w->rect().center(), Qt::LeftButton, true);
}

void RightClickAt(CWnd* control, int x, int y)
{
    ClickOn(W(control), QPoint(x, y), Qt::RightButton, false);
}

void MoveMouse(CWnd* control, int x, int y)
{
    QWidget* w = W(control);
    QPoint local(x, y);
    QWidget* r = Receiver(w, &local);
    const QPointF at(local);
    QEnterEvent enter(at, at, QPointF(r->mapToGlobal(local)));
    if (!r->underMouse())
        QApplication::sendEvent(r, &enter);
    SendMouse(r, QEvent::MouseMove, local, Qt::NoButton, Qt::NoButton);
    Pump();
}

void LeaveMouse(CWnd* control)
{
    QWidget* w = W(control);
    QCursor::setPos(w->mapToGlobal(QPoint(-1000, -1000)));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w, &leave);
    Pump();
}

void TypeText(CWnd* edit, const CString& text)
{
    QWidget* w = W(edit);
    const QString q = uirt::ToQ(text);
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        line->setFocus();
        line->selectAll();
        line->insert(q); // emits textEdited as typing does
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        plain->setFocus();
        plain->selectAll();
        plain->insertPlainText(q);
    } else if (auto* combo = qobject_cast<QComboBox*>(w); combo != nullptr && combo->lineEdit() != nullptr) {
        combo->lineEdit()->selectAll();
        combo->lineEdit()->insert(q);
    }
    Pump();
}

void PressKey(CWnd* target, UINT virtualKey)
{
    QWidget* w = W(target);
    const int key = uirt::QtKeyFromVirtualKey(virtualKey);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QWidget* receiver = w->focusWidget() != nullptr ? w->focusWidget() : w;
    QApplication::sendEvent(receiver, &press);
    QApplication::sendEvent(receiver, &release);
    Pump();
}

void Choose(CWnd* control, int index)
{
    QWidget* w = W(control);
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    } else if (auto* tabs = dynamic_cast<ctl::TabWidget*>(w)) {
        tabs->m_bar->setCurrentIndex(index);
    }
    Pump();
}

void ClickListRow(CWnd* list, int row, bool dbl)
{
    auto* view = qobject_cast<QAbstractItemView*>(W(list));
    QWidget* viewport = view->viewport();
    const QRect r = view->visualRect(view->model()->index(row, 0));
    // On the part a user sees: a column wider than the list has its centre
    // outside, where a press selects nothing.
    const QRect seen = r & viewport->rect();
    const QPoint local = seen.isEmpty() ? r.center() : seen.center();
    SendMouse(viewport, QEvent::MouseButtonPress, local, Qt::LeftButton, Qt::LeftButton);
    SendMouse(viewport, QEvent::MouseButtonRelease, local, Qt::LeftButton, Qt::NoButton);
    if (dbl) {
        SendMouse(viewport, QEvent::MouseButtonDblClick, local, Qt::LeftButton, Qt::LeftButton);
        SendMouse(viewport, QEvent::MouseButtonRelease, local, Qt::LeftButton, Qt::NoButton);
    }
    Pump();
}

std::vector<CString> ListHeadings(CWnd* list)
{
    std::vector<CString> headings;
    auto* view = qobject_cast<QAbstractItemView*>(W(list));
    if (view == nullptr)
        return headings;
    QAbstractItemModel* model = view->model();
    for (int c = 0; c < model->columnCount(); ++c)
        headings.push_back(CString(model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString().toStdU16String()));
    return headings;
}

void ToggleListCheck(CWnd* list, int row)
{
    auto* view = qobject_cast<QAbstractItemView*>(W(list));
    const QModelIndex index = view->model()->index(row, 0);
    const bool on = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    view->model()->setData(index, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    Pump();
}

COLORREF PixelAt(CWnd* window, int x, int y)
{
    const QImage image = Grab(window);
    if (image.isNull() || !image.rect().contains(x, y))
        return CLR_INVALID;
    return FromQColor(image.pixelColor(x, y));
}

SIZE WindowSize(CWnd* window)
{
    QWidget* w = W(window);
    return w != nullptr ? SIZE{w->width(), w->height()} : SIZE{};
}

RECT InkBox(CWnd* window, COLORREF background)
{
    const QImage image = Grab(window);
    const QRgb bg = ToQColor(background).rgb();
    int left = image.width(), top = image.height(), right = 0, bottom = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == bg)
                continue;
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x + 1);
            bottom = std::max(bottom, y + 1);
        }
    }
    if (right == 0)
        return RECT{};
    return RECT{left, top, right, bottom};
}

int CountPixels(CWnd* window, COLORREF color)
{
    const QImage image = Grab(window);
    const QRgb wanted = ToQColor(color).rgb();
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == wanted ? 1 : 0;
    }
    return n;
}

int CountPixels(CWnd* window, RECT area, const std::function<bool(COLORREF)>& accept)
{
    const QImage image = Grab(window);
    int n = 0;
    for (int y = std::max(0, int(area.top)); y < std::min(image.height(), int(area.bottom)); ++y) {
        for (int x = std::max(0, int(area.left)); x < std::min(image.width(), int(area.right)); ++x)
            n += accept(FromQColor(image.pixelColor(x, y))) ? 1 : 0;
    }
    return n;
}

bool SavePng(CWnd* window, const CString& path)
{
    const QImage image = Grab(window);
    return !image.isNull() && image.save(uirt::ToQ(path), "PNG");
}

} // namespace dlgtest
