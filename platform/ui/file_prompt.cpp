#include "platform/ui/file_prompt.h"

#include "platform/ui/ui_runtime.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>

namespace {
SaveFileNameHook g_hook;
}

SaveFileNameHook SetSaveFileNameHook(SaveFileNameHook hook)
{
    SaveFileNameHook old = std::move(g_hook);
    g_hook = std::move(hook);
    return old;
}

CString PromptForSaveFileName(const CString& suggestedName)
{
    if (g_hook)
        return g_hook(suggestedName);
    // Nobody could answer a dialog on the offscreen platform.
    if (QCoreApplication::instance() == nullptr || QGuiApplication::platformName() == QStringLiteral("offscreen"))
        return CString();
    const QString name = QFileDialog::getSaveFileName(nullptr, QString(), uirt::ToQ(suggestedName));
    return uirt::FromQ(name);
}
