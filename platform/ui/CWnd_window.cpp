// Text, visibility, focus, geometry and repainting of a window.

#include "platform/ui/CWnd.h"

#include "platform/core/gui_post.h"
#include "platform/ui/ui_runtime.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTextEdit>
#include <QWidget>

void CWnd::SetWindowText(const CString& text)
{
    m_text = text;
    QWidget* w = m_hWnd;
    if (w == nullptr)
        return;
    const QString q = uirt::ToQ(text);
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->setText(q);
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(q);
    else if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(q);
    else if (auto* c = qobject_cast<QComboBox*>(w)) {
        if (c->isEditable())
            c->setEditText(q);
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        p->setPlainText(q);
    else if (auto* t = qobject_cast<QTextEdit*>(w))
        t->setPlainText(q);
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        g->setTitle(q);
    else if (w->isWindow())
        w->setWindowTitle(q);
    else
        w->update();
}

void CWnd::GetWindowText(CString& text) const
{
    QWidget* w = m_hWnd;
    if (w == nullptr) {
        text = m_text;
        return;
    }
    if (auto* e = qobject_cast<QLineEdit*>(w))
        text = uirt::FromQ(e->text());
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        text = uirt::FromQ(b->text());
    else if (auto* l = qobject_cast<QLabel*>(w))
        text = uirt::FromQ(l->text());
    else if (auto* c = qobject_cast<QComboBox*>(w))
        text = uirt::FromQ(c->currentText());
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        text = uirt::FromQ(p->toPlainText());
    else if (auto* t = qobject_cast<QTextEdit*>(w))
        text = uirt::FromQ(t->toPlainText());
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        text = uirt::FromQ(g->title());
    else if (w->isWindow())
        text = uirt::FromQ(w->windowTitle());
    else
        text = m_text;
}

int CWnd::GetWindowText(char16_t* buffer, int maxCount) const
{
    if (buffer == nullptr || maxCount <= 0)
        return 0;
    CString text;
    GetWindowText(text);
    const int n = std::min(text.GetLength(), maxCount - 1);
    for (int i = 0; i < n; ++i)
        buffer[i] = text[i];
    buffer[n] = 0;
    return n;
}

int CWnd::GetWindowTextLength() const
{
    CString text;
    GetWindowText(text);
    return text.GetLength();
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    QWidget* w = m_hWnd;
    if (w == nullptr)
        return FALSE;
    const BOOL wasVisible = w->isHidden() ? FALSE : TRUE;
    switch (nCmdShow) {
    case SW_HIDE:
        w->hide();
        break;
    case SW_SHOWMAXIMIZED:
        if (w->isWindow())
            w->showMaximized();
        else
            w->show();
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        if (w->isWindow())
            w->showMinimized();
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
        if (w->isWindow())
            w->showNormal();
        else
            w->show();
        break;
    default:
        w->show();
        break;
    }
    if (nCmdShow == SW_HIDE)
        m_style &= ~WS_VISIBLE;
    else
        m_style |= WS_VISIBLE;
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const
{
    return m_hWnd != nullptr && m_hWnd->isVisible() ? TRUE : FALSE;
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    if (m_hWnd == nullptr)
        return FALSE;
    const BOOL wasDisabled = m_hWnd->isEnabled() ? FALSE : TRUE;
    m_hWnd->setEnabled(enable != FALSE);
    if (enable)
        m_style &= ~WS_DISABLED;
    else
        m_style |= WS_DISABLED;
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const
{
    return m_hWnd != nullptr && m_hWnd->isEnabled() ? TRUE : FALSE;
}

BOOL CWnd::IsIconic() const
{
    return m_hWnd != nullptr && m_hWnd->isMinimized() ? TRUE : FALSE;
}

BOOL CWnd::IsZoomed() const
{
    return m_hWnd != nullptr && m_hWnd->isMaximized() ? TRUE : FALSE;
}

void uirt::ActivateWindowOf(QWidget* w)
{
    QWidget* top = w->window();
    if (top->isVisible() && !top->isActiveWindow())
        top->activateWindow();
}

CWnd* CWnd::SetFocus()
{
    CWnd* old = GetFocus();
    if (m_hWnd != nullptr) {
        // The focus brings its top-level window forward, as on the desktop:
        // a focus set in an inactive panel left the keys in the window before.
        uirt::ActivateWindowOf(m_hWnd);
        m_hWnd->setFocus(Qt::OtherFocusReason);
    }
    return old;
}

CWnd* CWnd::GetFocus()
{
    QWidget* w = QApplication::focusWidget();
    return w != nullptr ? FromHandle(w) : nullptr;
}

CWnd* CWnd::GetParent() const
{
    if (m_hWnd == nullptr)
        return nullptr;
    return FromHandle(m_hWnd->parentWidget());
}

CWnd* CWnd::GetOwner() const
{
    return m_pOwner != nullptr ? m_pOwner : GetParent();
}

CWnd* CWnd::GetTopLevelParent() const
{
    if (m_hWnd == nullptr)
        return nullptr;
    return FromHandle(m_hWnd->window());
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT)
{
    const DWORD old = m_style;
    m_style = (m_style & ~remove) | add;
    if ((old ^ m_style) & WS_VISIBLE)
        ShowWindow((m_style & WS_VISIBLE) != 0 ? SW_SHOW : SW_HIDE);
    if ((old ^ m_style) & WS_DISABLED)
        EnableWindow((m_style & WS_DISABLED) == 0);
    return old != m_style;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT)
{
    const DWORD old = m_exStyle;
    m_exStyle = (m_exStyle & ~remove) | add;
    return old != m_exStyle;
}

void CWnd::GetClientRect(LPRECT rect) const
{
    if (rect == nullptr)
        return;
    *rect = RECT{};
    if (m_hWnd != nullptr) {
        rect->right = m_hWnd->width();
        rect->bottom = m_hWnd->height();
    }
}

void CWnd::GetWindowRect(LPRECT rect) const
{
    if (rect == nullptr)
        return;
    *rect = RECT{};
    if (m_hWnd == nullptr)
        return;
    const QRect frame = m_hWnd->isWindow() ? m_hWnd->frameGeometry()
                                           : QRect(m_hWnd->mapToGlobal(QPoint(0, 0)), m_hWnd->size());
    rect->left = frame.left();
    rect->top = frame.top();
    rect->right = frame.left() + frame.width();
    rect->bottom = frame.top() + frame.height();
}

void CWnd::ClientToScreen(LPPOINT point) const
{
    if (point == nullptr || m_hWnd == nullptr)
        return;
    const QPoint p = m_hWnd->mapToGlobal(QPoint(point->x, point->y));
    point->x = p.x();
    point->y = p.y();
}

void CWnd::ClientToScreen(LPRECT rect) const
{
    if (rect == nullptr)
        return;
    POINT a{rect->left, rect->top}, b{rect->right, rect->bottom};
    ClientToScreen(&a);
    ClientToScreen(&b);
    *rect = RECT{a.x, a.y, b.x, b.y};
}

void CWnd::ScreenToClient(LPPOINT point) const
{
    if (point == nullptr || m_hWnd == nullptr)
        return;
    const QPoint p = m_hWnd->mapFromGlobal(QPoint(point->x, point->y));
    point->x = p.x();
    point->y = p.y();
}

void CWnd::ScreenToClient(LPRECT rect) const
{
    if (rect == nullptr)
        return;
    POINT a{rect->left, rect->top}, b{rect->right, rect->bottom};
    ScreenToClient(&a);
    ScreenToClient(&b);
    *rect = RECT{a.x, a.y, b.x, b.y};
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint)
{
    if (m_hWnd == nullptr)
        return;
    m_hWnd->setGeometry(x, y, std::max(0, width), std::max(0, height));
    if (repaint)
        m_hWnd->update();
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint)
{
    if (rect != nullptr)
        MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

void CWnd::SetMinimumClientSize(int width, int height)
{
    if (m_hWnd != nullptr)
        m_hWnd->setMinimumSize(std::max(0, width), std::max(0, height));
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    QWidget* w = m_hWnd;
    if (w == nullptr)
        return FALSE;
    if ((flags & SWP_NOMOVE) == 0)
        w->move(x, y);
    if ((flags & SWP_NOSIZE) == 0)
        w->resize(std::max(0, cx), std::max(0, cy));
    if ((flags & SWP_NOZORDER) == 0 && insertAfter != nullptr) {
        if (insertAfter == &wndTop)
            w->raise();
        else if (insertAfter == &wndBottom)
            w->lower();
        else if (insertAfter == &wndTopMost || insertAfter == &wndNoTopMost) {
            if (w->isWindow()) {
                const bool visible = w->isVisible();
                w->setWindowFlag(Qt::WindowStaysOnTopHint, insertAfter == &wndTopMost);
                if (visible)
                    w->show();
            }
            w->raise();
        } else if (insertAfter->m_hWnd != nullptr && insertAfter->m_hWnd->parentWidget() == w->parentWidget()) {
            // Below the given sibling.
            w->stackUnder(insertAfter->m_hWnd);
        }
    }
    if (flags & SWP_SHOWWINDOW)
        ShowWindow(SW_SHOW);
    if (flags & SWP_HIDEWINDOW)
        ShowWindow(SW_HIDE);
    return TRUE;
}

void CWnd::BringWindowToTop()
{
    if (m_hWnd != nullptr) {
        m_hWnd->raise();
        if (m_hWnd->isWindow())
            m_hWnd->activateWindow();
    }
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    QWidget* w = m_hWnd;
    if (w == nullptr)
        return;
    QRect area;
    CWnd* owner = alternateOwner != nullptr ? alternateOwner : GetParent();
    if (owner != nullptr && owner->m_hWnd != nullptr)
        area = QRect(owner->m_hWnd->mapToGlobal(QPoint(0, 0)), owner->m_hWnd->size());
    else if (QScreen* s = QGuiApplication::primaryScreen())
        area = s->availableGeometry();
    if (area.isEmpty())
        return;
    QPoint topLeft = area.center() - QPoint(w->width() / 2, w->height() / 2);
    if (!w->isWindow() && w->parentWidget() != nullptr)
        topLeft = w->parentWidget()->mapFromGlobal(topLeft);
    w->move(topLeft);
}

void CWnd::RepositionBars(UINT first, UINT last, UINT)
{
    if (m_hWnd == nullptr)
        return;
    int top = 0;
    int bottom = m_hWnd->height();
    for (QObject* o : m_hWnd->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        CWnd* bar = w != nullptr ? uirt::Lookup(w) : nullptr;
        if (bar == nullptr || bar->GetDlgCtrlID() < first || bar->GetDlgCtrlID() > last || w->isHidden())
            continue;
        const int h = std::max(w->sizeHint().height(), 1);
        if (qobject_cast<QStatusBar*>(w) != nullptr) {
            bottom -= h;
            w->setGeometry(0, bottom, m_hWnd->width(), h);
        } else {
            w->setGeometry(0, top, m_hWnd->width(), h);
            top += h;
        }
    }
}

void CWnd::Invalidate(BOOL)
{
    InvalidateRect(nullptr);
}

void CWnd::InvalidateRect(LPCRECT rect, BOOL)
{
    if (!uirt::IsGuiThread()) {
        std::shared_ptr<WndLife> life = GetLife();
        const RECT r = rect != nullptr ? *rect : RECT{};
        const bool whole = rect == nullptr;
        PostToGui([life, r, whole] {
            if (CWnd* w = life->wnd)
                w->InvalidateRect(whole ? nullptr : &r);
        });
        return;
    }
    if (m_hWnd == nullptr)
        return;
    if (rect == nullptr)
        m_hWnd->update();
    else
        m_hWnd->update(QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top));
}

void CWnd::UpdateWindow()
{
    if (!uirt::IsGuiThread()) {
        Invalidate();
        return;
    }
    if (m_hWnd != nullptr && m_hWnd->isVisible())
        m_hWnd->repaint();
}
