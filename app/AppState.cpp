#include "app/AppState.h"

#include "app/CZorvaDoc.h"
#include "app/DocumentUi.h"
#include "geometry/GeometryState.h"

#include <cstring>

MachiningSettings g_MachiningSettings;
CutParams g_CutParams;
std::int32_t g_CutTypeIndex = 0;
std::int32_t g_ViewBlockReserved = 0;
CalcInputs g_CalcInputs;
ArraySettings g_ArraySettings;
CommandModes g_CommandModes;
FileDialogBlock g_FileDialogBlock;
std::uint8_t& g_openTypeIndex = g_FileDialogBlock.openTypeIndex;
std::uint8_t& g_saveTypeIndex = g_FileDialogBlock.saveTypeIndex;
GearParams g_GearParams;
RackParams g_RackParams;
std::int32_t g_GearPage = 0;

std::uint8_t g_settingsLoaded = 0;
double g_loadedViewScale = 0.0;
std::int32_t g_loadedViewOriginX = 0;
std::int32_t g_loadedViewOriginY = 0;
const char16_t* const g_dataDir = u"data";
const char16_t* const g_toolTempDir = u"C:\\zorvadraw\\ToolTemp";

void (*g_ResetRuntimeSettingsHook)() = nullptr;
std::vector<SettingsSync> g_SettingsSyncs;

std::int32_t g_drawingModified = 0;
std::int32_t g_unsavedEdits = 0;
std::uint8_t g_listBusy = 0;
CString g_currentFileName;
CString g_currentFilePath;
std::int32_t g_fileDialogType = 0;
std::uint8_t g_exportMode = 0;
std::int32_t g_modalDialogId = 0;
std::uint8_t g_keyDownSeen = 0;
std::uint8_t g_openHintShown = 0;
std::uint8_t g_viewReady = 0;
CString g_commandLineFile;
CString g_browseFolder;
std::vector<CString> g_folderHistory;
CString g_searchText;
CMap<int, int, CString, const CString&> g_helpTitles;
CMap<int, int, CString, const CString&> g_helpTexts;
std::uint8_t g_helpListLoaded = 0;

std::int32_t g_undoCount = 0;
std::int32_t g_redoCount = 0;

std::uint8_t g_snapshotIndex = 1;

x_Vector g_DrawingExtents[2];
std::int32_t g_defaultOriginX = 0;
std::int32_t g_defaultOriginY = 0;

DocumentUi* g_pDocUi = nullptr;

CZorvaDoc* GetZorvaDoc()
{
    return dynamic_cast<CZorvaDoc*>(g_pDoc);
}

void ResetAppState()
{
    std::memset(&g_MachiningSettings, 0, sizeof(g_MachiningSettings));
    std::memset(&g_CutParams, 0, sizeof(g_CutParams));
    g_CutTypeIndex = 0;
    g_ViewBlockReserved = 0;
    std::memset(&g_CalcInputs, 0, sizeof(g_CalcInputs));
    std::memset(&g_ArraySettings, 0, sizeof(g_ArraySettings));
    std::memset(&g_CommandModes, 0, sizeof(g_CommandModes));
    std::memset(&g_FileDialogBlock, 0, sizeof(g_FileDialogBlock));
    std::memset(&g_GearParams, 0, sizeof(g_GearParams));
    std::memset(&g_RackParams, 0, sizeof(g_RackParams));
    g_GearPage = 0;

    g_settingsLoaded = 0;
    g_loadedViewScale = 0.0;
    g_loadedViewOriginX = 0;
    g_loadedViewOriginY = 0;
    g_ResetRuntimeSettingsHook = nullptr;
    g_SettingsSyncs.clear();

    g_drawingModified = 0;
    g_unsavedEdits = 0;
    g_listBusy = 0;
    g_currentFileName.Empty();
    g_currentFilePath.Empty();
    g_fileDialogType = 0;
    g_exportMode = 0;
    g_modalDialogId = 0;
    g_keyDownSeen = 0;
    g_openHintShown = 0;
    g_viewReady = 0;
    g_commandLineFile.Empty();
    g_browseFolder.Empty();
    g_folderHistory.clear();
    g_searchText.Empty();
    g_helpTitles.RemoveAll();
    g_helpTexts.RemoveAll();
    g_helpListLoaded = 0;

    g_undoCount = 0;
    g_redoCount = 0;
    g_snapshotIndex = 1;

    g_DrawingExtents[0] = x_Vector();
    g_DrawingExtents[1] = x_Vector();
    g_defaultOriginX = 0;
    g_defaultOriginY = 0;
    g_pDocUi = nullptr;
}
