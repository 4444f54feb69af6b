#include "platform/ui/control_hint.h"

#include "platform/ui/CWnd.h"
#include "platform/ui/ui_runtime.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace {

// Long enough to read two lines; typing in the field ends it sooner.
constexpr int kHintMs = 6000;

QPointer<QLabel> g_hint;
QPointer<QWidget> g_hintControl;

QLineEdit* EditOf(QWidget* w)
{
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit;
    auto* box = qobject_cast<QComboBox*>(w);
    return box != nullptr ? box->lineEdit() : nullptr;
}

} // namespace

void ShowControlHint(CWnd* control, const CString& text)
{
    QWidget* w = control != nullptr ? control->GetSafeHwnd() : nullptr;
    if (w == nullptr)
        return;
    delete g_hint.data();
    // A tool-tip window of the dialog: it goes when the dialog goes.
    auto* hint = new QLabel(uirt::ToQ(text), w->window(), Qt::ToolTip | Qt::FramelessWindowHint);
    hint->setForegroundRole(QPalette::ToolTipText);
    hint->setBackgroundRole(QPalette::ToolTipBase);
    hint->setAutoFillBackground(true);
    hint->setMargin(3);
    hint->adjustSize();
    hint->move(w->mapToGlobal(QPoint(0, w->height() + 2)));
    hint->show();
    g_hint = hint;
    g_hintControl = w;
    if (QLineEdit* edit = EditOf(w)) {
        QObject::connect(edit, &QLineEdit::textEdited, hint, &QWidget::hide, Qt::SingleShotConnection);
        QObject::connect(edit, &QLineEdit::textEdited, hint, &QObject::deleteLater, Qt::SingleShotConnection);
    }
    QTimer::singleShot(kHintMs, hint, &QObject::deleteLater);
}

CString ShownControlHint()
{
    return g_hint != nullptr && g_hint->isVisible() ? uirt::FromQ(g_hint->text()) : CString();
}

CWnd* ControlOfShownHint()
{
    if (g_hint == nullptr || !g_hint->isVisible() || g_hintControl == nullptr)
        return nullptr;
    return CWnd::FromHandle(g_hintControl.data());
}
