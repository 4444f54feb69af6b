// The view's persisted globals and their fields in the machining block.

#include "view/view_settings_sync.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/MachiningSettings.h"
#include "view/ViewState.h"

namespace {

void ViewSettingsToBlocks()
{
    MachiningSettings& m = g_MachiningSettings;
    m.shapeOffset = g_OffsetDistance;
    m.path3dLineCount = g_Path3DContours;
    m.path3dNonTaper = g_Path3DFlat;
    m.orthoOn = g_orthoOn;
    m.polarOn = g_trackOn;
    m.snapOn = g_snapOn;
    m.modifyOn = g_gripEditOn;
    m.lockOn = g_LockSwitch;
}

void ViewSettingsFromBlocks()
{
    const MachiningSettings& m = g_MachiningSettings;
    g_OffsetDistance = m.shapeOffset;
    g_Path3DContours = m.path3dLineCount;
    g_Path3DFlat = m.path3dNonTaper;
    g_orthoOn = m.orthoOn;
    g_trackOn = m.polarOn;
    g_snapOn = m.snapOn;
    g_gripEditOn = m.modifyOn;
    g_LockSwitch = m.lockOn;
}

} // namespace

void RegisterViewSettingsSync()
{
    const bool known = std::any_of(g_SettingsSyncs.begin(), g_SettingsSyncs.end(), [](const SettingsSync& s) {
        return s.toBlocks == ViewSettingsToBlocks;
    });
    if (!known)
        g_SettingsSyncs.push_back({ViewSettingsToBlocks, ViewSettingsFromBlocks});
    if (g_settingsLoaded)
        ViewSettingsFromBlocks();
}
