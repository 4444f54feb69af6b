#pragma once

// Every global of the application folder. The document's globals that the
// entities read (g_pDoc, g_UnitIdCounter, g_undoStep, g_SettingsDirty,
// g_CutMode, g_ViewScale and the origin) live in geometry/GeometryState.h.

#include <cstdint>
#include <vector>

#include "app/MachiningSettings.h"
#include "app/settings_blocks.h"
#include "geometry/x_Vector.h"
#include "platform/core/CMap.h"
#include "platform/core/CString.h"
#include "wirepath/CutParams.h"

class CZorvaDoc;
class DocumentUi;

// --- Settings blocks (persisted by the settings file) ---
extern MachiningSettings g_MachiningSettings;
extern CutParams g_CutParams;
extern std::int32_t g_CutTypeIndex;         // first word of the view block
extern std::int32_t g_ViewBlockReserved;    // second word of the view block
extern CalcInputs g_CalcInputs;
extern ArraySettings g_ArraySettings;
extern CommandModes g_CommandModes;
extern FileDialogBlock g_FileDialogBlock;
extern std::uint8_t& g_openTypeIndex;
extern std::uint8_t& g_saveTypeIndex;
extern GearParams g_GearParams;
extern RackParams g_RackParams;
extern std::int32_t g_GearPage;             // 0 gear, 1 rack; not saved

extern std::uint8_t g_settingsLoaded;
extern double g_loadedViewScale;            // the view right after loading
extern std::int32_t g_loadedViewOriginX;
extern std::int32_t g_loadedViewOriginY;
extern const char16_t* const g_dataDir;     // "data"
extern const char16_t* const g_toolTempDir; // "C:\zorvadraw\ToolTemp"

// Run-time values other subsystems reset with the factory settings.
extern void (*g_ResetRuntimeSettingsHook)();

// Settings that later subsystems keep in globals of their own (the view's
// switches, for example) while the file holds them in a block: toBlocks
// copies them in before a save, fromBlocks out after a load or a reset.
struct SettingsSync {
    void (*toBlocks)();
    void (*fromBlocks)();
};
extern std::vector<SettingsSync> g_SettingsSyncs;

// --- Document ---
extern std::int32_t g_drawingModified;      // the drawing changed since saving
// Edits not yet in the drawing's file (the snapshot at exit keeps them,
// but a new drawing or another file put in its place would lose them).
extern std::int32_t g_unsavedEdits;
extern std::uint8_t g_listBusy;             // lists being rebuilt: no painting
extern CString g_currentFileName;           // no folder
extern CString g_currentFilePath;           // full path from the file dialogs
extern std::int32_t g_fileDialogType;       // open: 0 wcx, 1 DXF, 2 dat; save: 0 wcx, 1 dcx
extern std::uint8_t g_exportMode;           // the next save dialog asks for a ".dcx" file
extern std::int32_t g_modalDialogId;
extern std::uint8_t g_keyDownSeen;
extern std::uint8_t g_openHintShown;
extern std::uint8_t g_viewReady;
// The drawing named on the command line (empty: none); while it is set the
// view's first set-up does not restore the recovery snapshot over it.
extern CString g_commandLineFile;

// The built-in file dialogs: where they list, their folder history and the
// name fragment of a search; each opens where the last one was left.
extern CString g_browseFolder;              // no trailing separator; empty: the drive level
extern std::vector<CString> g_folderHistory;
extern CString g_searchText;

// The help list, read once per run (topic number to title and to text).
extern CMap<int, int, CString, const CString&> g_helpTitles;
extern CMap<int, int, CString, const CString&> g_helpTexts;
extern std::uint8_t g_helpListLoaded;

// Undo ring.
extern std::int32_t g_undoCount;            // 0..100
extern std::int32_t g_redoCount;
constexpr std::int32_t kUndoRingSize = 100;

// Recovery snapshot number (always 1: the file "001").
extern std::uint8_t g_snapshotIndex;

// View fit of a loaded drawing.
extern x_Vector g_DrawingExtents[2];        // minimum, maximum corner
extern std::int32_t g_defaultOriginX;       // the view's client centre
extern std::int32_t g_defaultOriginY;

// Where the document prints, redraws and asks (the view and the dialogs
// install theirs; null means the quiet default).
extern DocumentUi* g_pDocUi;

// The document object behind g_pDoc, or null.
CZorvaDoc* GetZorvaDoc();

// Puts every global above back to its start value (tests call it in SetUp).
void ResetAppState();
