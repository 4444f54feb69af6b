// With ZORVA_PAINT_TRACE set, every paint of a widget is written to the
// standard error as "paint <ms> <class> <object name path> <x>,<y> <w>x<h>":
// how an idle window is checked for repaints it does not need, and how a
// slow frame is found among the paints.

#include "platform/ui/ui_runtime.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPaintEvent>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace uirt {
namespace {

class PaintTrace : public QObject {
public:
    explicit PaintTrace(QObject* parent) : QObject(parent) { m_clock.start(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        const QRect r = static_cast<QPaintEvent*>(event)->rect();
        QString path;
        for (QObject* o = watched; o != nullptr; o = o->parent())
            path.prepend(QLatin1Char('/') + (o->objectName().isEmpty() ? QString("-") : o->objectName()));
        std::fprintf(stderr, "paint %lld %s %s %d,%d %dx%d\n", static_cast<long long>(m_clock.elapsed()),
                     watched->metaObject()->className(), path.toUtf8().constData(), r.x(), r.y(), r.width(),
                     r.height());
        return false;
    }

private:
    QElapsedTimer m_clock;
};

} // namespace

void InstallPaintTrace()
{
    static bool installed = false;
    if (installed || std::getenv("ZORVA_PAINT_TRACE") == nullptr || QCoreApplication::instance() == nullptr)
        return;
    installed = true;
    QCoreApplication::instance()->installEventFilter(new PaintTrace(QCoreApplication::instance()));
}

} // namespace uirt
