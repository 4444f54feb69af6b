#include "platform/ui/shell_open.h"

#include "platform/core/files.h"
#include "platform/ui/ui_runtime.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace {

StartProgramHook& Hook()
{
    static StartProgramHook hook;
    return hook;
}

} // namespace

BOOL ShellOpen(const CString& target, int)
{
    if (target.IsEmpty())
        return FALSE;
    return QDesktopServices::openUrl(QUrl::fromUserInput(uirt::ToQ(target))) ? TRUE : FALSE;
}

StartProgramHook SetStartProgramHook(StartProgramHook hook)
{
    StartProgramHook old = std::move(Hook());
    Hook() = std::move(hook);
    return old;
}

BOOL StartDetachedProgram(const CString& program, const std::vector<CString>& args)
{
    if (program.IsEmpty())
        return FALSE;
    if (Hook())
        return Hook()(program, args);
    QStringList list;
    for (const CString& a : args)
        list << uirt::ToQ(a);
    return QProcess::startDetached(uirt::ToQ(program), list) ? TRUE : FALSE;
}

BOOL OpenFolderInFileManager(const CString& folder)
{
    // An absolute path can never be read as an option of the opener.
    const std::string native = NativePath(folder);
    if (native.empty() || native[0] != '/')
        return FALSE;
    return StartDetachedProgram(u"xdg-open", {CString::FromUtf8(native)});
}
