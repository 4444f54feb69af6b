#pragma once

// Every global of the view folder, and the named numbers of its command
// engine. The command words the entities read (g_curCommand, g_cmdStep,
// g_cmdPointCount, the creation-mode bytes) live in geometry/GeometryState.h;
// the document's (g_listBusy, g_keyDownSeen, ...) in app/AppState.h.

#include <atomic>
#include <cstdint>
#include <memory>

#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"
#include "platform/core/CMap.h"
#include "platform/core/CString.h"
#include "platform/gdi/gdi_types.h"

class CZorvaView;
class CDC;
class CWnd;
class CNamedEvent;

// --- Phases of g_cmdStep ---
constexpr std::int32_t kStepRest = 0;         // before the first start
constexpr std::int32_t kStepIdlePick = 1;
constexpr std::int32_t kStepPointInput = 2;
constexpr std::int32_t kStepGripMove = 3;
constexpr std::int32_t kStepGripStretch = 4;
constexpr std::int32_t kStepSelect = 5;

// --- Command numbers (drawing commands equal the entity type they make) ---
enum CommandType : std::int32_t {
    kCmdNone = 0,
    kCmdLine = 1,
    kCmdRectangle = 3,
    kCmdEllipse = 5,
    kCmdEllipseArc = 6,
    kCmdCircle = 7,
    kCmdArc = 8,
    kCmdPolyline = 9,
    kCmdPolygon = 10,
    kCmdSpline = 11,
    kCmdText = 12,
    kCmdDimAligned = 15,
    kCmdDimLinear = 16,
    kCmdDimCircle = 17,
    kCmdDimArc = 18,
    kCmdDimAngle = 19,
    kCmdAuxLine = 20,
    kCmdPathView3D = 22,
    kCmdWaveLine = 23,
    kCmdToolPoint = 24,
    kCmdCentreLine = 26,
    kCmdMove = 53,
    kCmdMirror = 54,
    kCmdTrim = 55,
    kCmdBreak = 56,
    kCmdRotate = 57,
    kCmdScale = 58,
    kCmdExtend = 59,
    kCmdAlign = 60,
    kCmdFillet = 61,
    kCmdArray = 62,
    kCmdChamfer = 63,
    kCmdTangent = 64,
    kCmdPaste = 65,
    kCmdPath = 66,
    kCmdExplode = 68,
    kCmdErase = 69,
    kCmdOriginOffset = 71,
    kCmdQueryPoint = 72,
    kCmdQueryDistance = 73,
    kCmdQueryPerimeter = 74,
    kCmdQueryAngle = 75,
    kCmdQueryCentre = 76,
    kCmdOffset = 80,
    kCmdExportPick = 100,       // g_lastCommand only: paths are being chosen for export
};

// --- Deferred actions of view timer 1 ---
enum PendingAction : std::int32_t {
    kActionNone = -1,
    kActionRescale = 2,
    kActionColourScheme = 11,
    kActionProperties = 12,
    kActionPathView3D = 13,
    kActionDeletePaths = 14,
    kActionGearDialog = 24,
    kActionCalculator = 31,
    kActionOnePassDialog = 41,
    kActionExportPaths = 42,
    kActionCornerDialog = 43,
    kActionMachineCalc = 44,
    kActionMultiPassDialog = 45,
    kActionToolPoint = 46,
    kActionHelpList = 51,
    kActionAbout = 52,
    kActionFormulaCurve = 72,
    kActionNothing = 81,
    kActionOpen = 82,
    kActionSave = 83,
    kActionSaveAs = 84,
    kActionWearDialog = 90,
    kActionFocusEdit = 91,
    kActionPreview = 500,
};

// The wire-wear dialog (pending action 90), registered by the path library
// (app/tool_dialogs.h) under its template number.
constexpr int kWearDialog = 256;

// --- Worker request word ---
enum WorkerRequest : std::int32_t { kWorkerIdle = 0, kWorkerPath = 66, kWorkerBatch = 72 };

// --- View timers ---
constexpr unsigned kPendingTimer = 1;
constexpr unsigned kExitWatchdogTimer = 20;

// --- Controls of the command bar the view writes and reads ---
constexpr int kIdCoords = 1002;
constexpr int kIdOutputList = 1008;
constexpr int kIdPrompt = 1010;
constexpr int kIdModeCombo = 1012;
constexpr int kIdCommandEdit = 1025;
constexpr int kIdFileName = 1202;

// --- Limits ---
constexpr int kOutputMaxLines = 500;
constexpr int kSeparatorTrimLines = 100;
constexpr double kMinViewScale = 0.01;
constexpr double kMaxViewScale = 2000.0;

// --- Objects ---
extern CZorvaView* g_pView;
extern CWnd* g_commandBar;                  // the main frame's command bar

// --- Command state ---
extern std::int32_t g_lastCommand;
extern std::int32_t g_LockSwitch;           // persisted "锁定"
extern CArray<x_Vector> g_inputPoints;      // points given to a drawing command
extern std::uint8_t g_SnapReduced;          // object snap skips its second group
extern std::atomic<std::uint8_t> g_TrailRunFlag;   // the worker sets it, a cancel clears it
extern std::uint8_t g_batchContourPick;
extern std::uint8_t g_DisplacementMode;     // "d": the move prompts ask for a displacement
extern std::uint8_t g_PromptEchoOff;        // typed input is not echoed behind the prompt
extern double g_OffsetDistance;             // persisted setting, factory 5.0
extern std::int32_t g_Path3DContours;       // persisted setting, factory 120
extern std::uint8_t g_Path3DFlat;           // persisted setting, factory 1
// Typed input of the edit commands and the grips (installed by their
// interpreter; returns false when the text fits nothing).
extern bool (*g_TypedEditInputHook)(CZorvaView* view, CDC* dc, const CString& text);

// --- View set-up and drawing area ---
extern std::uint8_t g_viewInitialised;
extern RECT g_clientRect;
extern x_Vector g_visibleMin;
extern x_Vector g_visibleMax;
extern std::uint8_t g_CrosshairOn;          // persisted
extern std::uint8_t g_LeftToolbarButtons;   // persisted
extern std::uint8_t g_PathViewStyle;        // persisted: 0 simple, 1 simulated 3-D path outline
extern std::int32_t g_screenWidth;          // recorded by the main frame
extern std::int32_t g_screenHeight;
extern CMap<std::int32_t, std::int32_t, CString, const CString&> g_KeyList;
extern std::uint8_t g_KeyListLoaded;
extern std::unique_ptr<CNamedEvent> g_viewReadyEvent;

// --- Input ---
extern std::int32_t g_rightButtonState;     // 10 while the popup menu is up
extern std::uint8_t g_RightMenuOn;          // persisted
extern std::uint8_t g_ctrlDown;
extern std::uint8_t g_redrawAfterClick;
extern std::uint8_t g_UndoKeyLatch;
extern std::uint8_t g_EditKeyLatch;
extern std::int32_t g_snapOn;               // persisted switches
extern std::int32_t g_orthoOn;
extern std::int32_t g_trackOn;
extern std::int32_t g_gripEditOn;
extern std::int32_t g_endpointsOn;          // "端点": grip squares are drawn
extern CArray<x_Vector> g_trackPoints;
extern std::int32_t g_highlightedArrow;

// --- Paths and wire wear ---
extern CArray<std::uint64_t> g_SelectedTrailIds;
extern CArray<x_Vector> g_WearMarkers;
extern std::uint8_t g_WearCorrectionMode;
// The batch dialog shows each shape's own compensation in the view.
extern std::uint8_t g_CompensationPreview;

// Puts every global above back to its start value (tests call it in SetUp).
void ResetViewState();
