// The view's persisted globals and their fields in the machining block.

#include "view/view_settings_sync.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/MachiningSettings.h"
#include "geometry/GeometryState.h"
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
    m.endpointOn = g_endpointsOn;
    m.crossHair = g_CrosshairOn;
    m.rightClickMenu = g_RightMenuOn;
    m.paletteButtonStyle = g_LeftToolbarButtons;
    m.path3dStyle = g_PathViewStyle;
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
    g_endpointsOn = m.endpointOn;
    // Before, these three kept the view's start values whatever the file held.
    g_CrosshairOn = m.crossHair;
    g_RightMenuOn = m.rightClickMenu;
    g_LeftToolbarButtons = m.paletteButtonStyle;
    g_PathViewStyle = m.path3dStyle;
}

// Values that are not stored but go back to their start with the factory
// settings (restore defaults).
void ResetViewRuntimeSettings()
{
    g_PromptEchoOff = 0;
    g_DirSignList.RemoveAll();
}

} // namespace

void Path3DSettingsToBlocks()
{
    g_MachiningSettings.path3dLineCount = g_Path3DContours;
    g_MachiningSettings.path3dNonTaper = g_Path3DFlat;
    g_MachiningSettings.path3dStyle = g_PathViewStyle;
}

void CopyViewSettingsFromBlocks()
{
    ViewSettingsFromBlocks();
}

void RegisterViewSettingsSync()
{
    const bool known = std::any_of(g_SettingsSyncs.begin(), g_SettingsSyncs.end(), [](const SettingsSync& s) {
        return s.toBlocks == ViewSettingsToBlocks;
    });
    if (!known)
        g_SettingsSyncs.push_back({ViewSettingsToBlocks, ViewSettingsFromBlocks});
    // Before, the hook was never installed: restoring the defaults left them.
    g_ResetRuntimeSettingsHook = ResetViewRuntimeSettings;
    if (g_settingsLoaded)
        ViewSettingsFromBlocks();
}
