#include "platform/ui/toolkit_language.h"

#include "platform/ui/ui_runtime.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

bool LoadToolkitTranslations(const CString& locale)
{
    if (QCoreApplication::instance() == nullptr)
        return false;
    // One translator for the process; a second call replaces the first.
    static std::unique_ptr<QTranslator> installed;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(uirt::ToQ(locale)), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    if (installed)
        QCoreApplication::removeTranslator(installed.get());
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    return true;
}
