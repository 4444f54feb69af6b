#include "app/tool_dialogs.h"

#include <map>

namespace {

std::map<int, ToolDialogRunner>& Runners()
{
    static std::map<int, ToolDialogRunner> runners;
    return runners;
}

} // namespace

void RegisterToolDialog(int number, ToolDialogRunner run)
{
    Runners()[number] = run;
}

bool RunRegisteredToolDialog(int number)
{
    const auto at = Runners().find(number);
    return at != Runners().end() && at->second != nullptr && at->second();
}

bool ToolDialogRegistered(int number)
{
    const auto at = Runners().find(number);
    return at != Runners().end() && at->second != nullptr;
}
