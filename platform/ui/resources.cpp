#include "platform/ui/resources.h"

#include <map>
#include <mutex>

namespace {

struct Resources {
    std::mutex mutex;
    std::map<UINT, CString> strings;
    std::map<UINT, std::vector<ACCEL>> accelerators;
    std::map<UINT, ToolBarResource> toolbars;
};

Resources& R()
{
    static Resources r;
    return r;
}

} // namespace

void RegisterResourceString(UINT id, const CString& text)
{
    std::lock_guard lock(R().mutex);
    R().strings[id] = text;
}

CString LoadResourceString(UINT id)
{
    std::lock_guard lock(R().mutex);
    auto it = R().strings.find(id);
    return it == R().strings.end() ? CString() : it->second;
}

// Registration happens at start-up, before any lookup; entries are never
// removed, so the returned pointers stay valid.
void RegisterAcceleratorResource(UINT id, std::vector<ACCEL> table)
{
    std::lock_guard lock(R().mutex);
    R().accelerators[id] = std::move(table);
}

const std::vector<ACCEL>* FindAcceleratorResource(UINT id)
{
    std::lock_guard lock(R().mutex);
    auto it = R().accelerators.find(id);
    return it == R().accelerators.end() ? nullptr : &it->second;
}

void RegisterToolBarResource(UINT id, ToolBarResource toolbar)
{
    std::lock_guard lock(R().mutex);
    R().toolbars[id] = std::move(toolbar);
}

const ToolBarResource* FindToolBarResource(UINT id)
{
    std::lock_guard lock(R().mutex);
    auto it = R().toolbars.find(id);
    return it == R().toolbars.end() ? nullptr : &it->second;
}
