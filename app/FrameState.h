#pragma once

// Globals of the application object, the main frame and the palettes.
// The view's globals that the frame touches (command bar pointer, Ctrl
// latch, hot-key latches, screen size) are reached through MainFrameLink.

#include <cstdint>

#include "platform/gdi/gdi_types.h"
#include "platform/ui/wintypes.h"

class CDialog;
class CDialogBar;
class CMainFrame;
class CToolBar;
class CWnd;
class CZorvaleftTool1;
class CZorvaleftTool2;
class CZorvaleftTool3;

extern std::uint8_t g_MainWindowCreated;    // set as frame creation begins
extern std::int32_t g_pendingFKey;          // 112..116 waiting for frame timer 1
extern std::uint8_t g_modeComboConfirmed;
extern std::uint8_t g_arrayPanelShown;
extern std::uint8_t g_batchPanelShown;
extern HBRUSH g_dialogBrush;                // solid 0xFFDFDF, created once

extern CMainFrame* g_pMainFrame;
extern CToolBar* g_mainToolBar;
extern CToolBar* g_drawToolBar;
extern CToolBar* g_dimToolBar;
extern CDialogBar* g_toolTabBar;
extern CDialogBar* g_pCommandBar;           // the view's g_commandBar
extern CWnd* g_modeCombo;

// Floating panels, created hidden by the frame (null until then).
extern CDialog* g_pPropertyPanel;
extern CDialog* g_pTextPanel;
extern CDialog* g_pArrayPanel;
extern CDialog* g_pBatchPanel;
extern CDialog* g_pCompTablePanel;

// The palettes: constructed once, windows created by the frame.
extern CZorvaleftTool1 g_leftTool1;
extern CZorvaleftTool2 g_leftTool2;
extern CZorvaleftTool3 g_leftTool3;

void ResetFrameState();

// The floating panels belong to later folders: each registers how its panel
// is made (allocated, created modeless and hidden from its template with the
// frame as parent), and the frame makes them in template order 151, 169,
// 171, 238, 247 as it is created.
using FloatingPanelFactory = CDialog* (*)(CWnd* parent);
void RegisterFloatingPanel(unsigned templateId, FloatingPanelFactory factory);
FloatingPanelFactory FindFloatingPanel(unsigned templateId);

// The batch path panel fills itself from the settings and shows itself
// (menu 33027, button 65026, F10); the panel's folder registers how.
using PanelLoader = void (*)();
void RegisterBatchPanelLoader(PanelLoader loader);
// Runs the registered loader; false when none is registered.
bool LoadBatchPanel();
