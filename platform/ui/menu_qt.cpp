#include "platform/ui/menu_qt.h"

#include "platform/ui/CMenu.h"
#include "platform/ui/ui_runtime.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

void AddItems(QMenu* qmenu, CMenu* menu, const MenuSink& sink)
{
    for (CMenu::Item& item : menu->Items()) {
        if (item.separator) {
            qmenu->addSeparator();
            continue;
        }
        const QString text = uirt::ToQ(item.text);
        const bool enabled = (item.state & (MF_GRAYED | MF_DISABLED)) == 0;
        if (item.popup != nullptr) {
            QMenu* sub = qmenu->addMenu(text);
            sub->setEnabled(enabled);
            FillQMenu(sub, item.popup.get(), sink);
            continue;
        }
        QAction* action = qmenu->addAction(text);
        const UINT id = item.id;
        action->setObjectName(QString::number(id));
        action->setEnabled(enabled);
        if ((item.state & MF_CHECKED) != 0) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        if (sink.command)
            QObject::connect(action, &QAction::triggered, [command = sink.command, id] { command(id); });
        if (sink.hover)
            QObject::connect(action, &QAction::hovered, [hover = sink.hover, id] { hover(id); });
    }
}

} // namespace

void FillQMenu(QMenu* qmenu, CMenu* menu, const MenuSink& sink)
{
    qmenu->clear();
    AddItems(qmenu, menu, sink);
    // Item states come from the update handlers each time the menu opens.
    QObject::connect(qmenu, &QMenu::aboutToShow, qmenu, [qmenu, menu, sink] {
        if (sink.opening)
            sink.opening(menu);
        qmenu->clear();
        for (QMenu* old : qmenu->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
            delete old;
        AddItems(qmenu, menu, sink);
    });
}

void FillQMenuBar(QMenuBar* bar, CMenu* menu, const MenuSink& sink)
{
    bar->clear();
    for (QMenu* old : bar->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        delete old;
    if (menu == nullptr)
        return;
    for (CMenu::Item& item : menu->Items()) {
        if (item.separator)
            continue;
        if (item.popup != nullptr) {
            QMenu* q = bar->addMenu(uirt::ToQ(item.text));
            FillQMenu(q, item.popup.get(), sink);
            if (sink.hover)
                QObject::connect(q, &QMenu::aboutToHide, [hover = sink.hover] { hover(0); });
            continue;
        }
        QAction* action = bar->addAction(uirt::ToQ(item.text));
        const UINT id = item.id;
        action->setObjectName(QString::number(id));
        if (sink.command)
            QObject::connect(action, &QAction::triggered, [command = sink.command, id] { command(id); });
    }
}
