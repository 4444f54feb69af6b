#include "platform/ui/popup_menu.h"

#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/message_box.h"
#include "platform/ui/ui_runtime.h"

#include <QMenu>

namespace {

PopupMenuHook& Hook()
{
    static PopupMenuHook hook;
    return hook;
}

UINT RunQtMenu(const CMenu& menu, UINT flags, int x, int y, CWnd* target)
{
    QMenu popup(target != nullptr ? target->GetSafeHwnd() : nullptr);
    uirt::FillQtMenu(&popup, menu);
    const QSize size = popup.sizeHint();
    QPoint at(x, y);
    if ((flags & TPM_RIGHTALIGN) != 0)
        at.rx() -= size.width();
    else if ((flags & TPM_CENTERALIGN) != 0)
        at.rx() -= size.width() / 2;
    if ((flags & TPM_BOTTOMALIGN) != 0)
        at.ry() -= size.height();
    else if ((flags & TPM_VCENTERALIGN) != 0)
        at.ry() -= size.height() / 2;
    QAction* chosen = popup.exec(at);
    return chosen != nullptr ? chosen->data().toUInt() : 0;
}

// As the menu opens, its owner's frame asks the update handlers of its items.
void UpdateItemsThroughFrame(CMenu* menu, CWnd* target)
{
    CWnd* top = target;
    while (top != nullptr && dynamic_cast<CFrameWnd*>(top) == nullptr)
        top = top->GetParent();
    if (auto* frame = dynamic_cast<CFrameWnd*>(top))
        frame->UpdateMenuCmdUI(menu);
}

} // namespace

void uirt::FillQtMenu(QMenu* target, const CMenu& menu)
{
    for (const CMenu::Item& item : menu.Items()) {
        if (item.separator) {
            target->addSeparator();
            continue;
        }
        const QString text = uirt::ToQ(item.text);
        if (item.popup != nullptr) {
            FillQtMenu(target->addMenu(text), *item.popup);
            continue;
        }
        QAction* action = target->addAction(text.section(QLatin1Char('\t'), 0, 0));
        action->setData(item.id);
        action->setEnabled((item.state & (MF_GRAYED | MF_DISABLED)) == 0);
        if ((item.state & MF_CHECKED) != 0) {
            action->setCheckable(true);
            action->setChecked(true);
        }
    }
}

PopupMenuHook SetPopupMenuHook(PopupMenuHook hook)
{
    PopupMenuHook old = std::move(Hook());
    Hook() = std::move(hook);
    return old;
}

BOOL TrackPopupMenu(CMenu* menu, UINT flags, int x, int y, CWnd* target)
{
    if (menu == nullptr)
        return FALSE;
    UpdateItemsThroughFrame(menu, target);
    UINT command = 0;
    if (Hook()) {
        PopupMenuHook hook = Hook();
        command = hook(*menu, x, y);
    } else if (!IsHeadlessSession()) {
        command = RunQtMenu(*menu, flags, x, y, target);
    }
    if ((flags & TPM_RETURNCMD) != 0)
        return BOOL(command);
    if (command != 0 && target != nullptr)
        target->PostMessage(WM_COMMAND, MAKEWPARAM(command, 0), 0);
    return command != 0 ? TRUE : FALSE;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* target, LPCRECT)
{
    return ::TrackPopupMenu(this, flags, x, y, target);
}
