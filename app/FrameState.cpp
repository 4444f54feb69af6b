#include "app/FrameState.h"

#include "app/MainFrameLink.h"
#include "app/ToolPalette.h"

#include <map>

std::uint8_t g_MainWindowCreated = 0;
std::int32_t g_pendingFKey = 0;
std::uint8_t g_modeComboConfirmed = 0;
std::uint8_t g_arrayPanelShown = 0;
std::uint8_t g_batchPanelShown = 0;
HBRUSH g_dialogBrush = nullptr;

CMainFrame* g_pMainFrame = nullptr;
CToolBar* g_mainToolBar = nullptr;
CToolBar* g_drawToolBar = nullptr;
CToolBar* g_dimToolBar = nullptr;
CDialogBar* g_toolTabBar = nullptr;
CDialogBar* g_pCommandBar = nullptr;
CWnd* g_modeCombo = nullptr;

CDialog* g_pPropertyPanel = nullptr;
CDialog* g_pTextPanel = nullptr;
CDialog* g_pArrayPanel = nullptr;
CDialog* g_pBatchPanel = nullptr;
CDialog* g_pCompTablePanel = nullptr;

CZorvaleftTool1 g_leftTool1;
CZorvaleftTool2 g_leftTool2;
CZorvaleftTool3 g_leftTool3;

MainFrameLink* g_pFrameLink = nullptr;

MainFrameLink& FrameLink()
{
    static MainFrameLink quiet;
    return g_pFrameLink != nullptr ? *g_pFrameLink : quiet;
}

namespace {

std::map<unsigned, FloatingPanelFactory>& PanelFactories()
{
    static std::map<unsigned, FloatingPanelFactory> factories;
    return factories;
}

} // namespace

void RegisterFloatingPanel(unsigned templateId, FloatingPanelFactory factory)
{
    PanelFactories()[templateId] = factory;
}

namespace {

PanelLoader& BatchPanelLoader()
{
    static PanelLoader loader = nullptr;
    return loader;
}

} // namespace

void RegisterBatchPanelLoader(PanelLoader loader)
{
    BatchPanelLoader() = loader;
}

bool LoadBatchPanel()
{
    if (BatchPanelLoader() == nullptr)
        return false;
    BatchPanelLoader()();
    return true;
}

FloatingPanelFactory FindFloatingPanel(unsigned templateId)
{
    const auto it = PanelFactories().find(templateId);
    return it != PanelFactories().end() ? it->second : nullptr;
}

void ResetFrameState()
{
    g_MainWindowCreated = 0;
    g_pendingFKey = 0;
    g_modeComboConfirmed = 0;
    g_arrayPanelShown = 0;
    g_batchPanelShown = 0;
    g_pMainFrame = nullptr;
    g_mainToolBar = nullptr;
    g_drawToolBar = nullptr;
    g_dimToolBar = nullptr;
    g_toolTabBar = nullptr;
    g_pCommandBar = nullptr;
    g_modeCombo = nullptr;
    g_pPropertyPanel = nullptr;
    g_pTextPanel = nullptr;
    g_pArrayPanel = nullptr;
    g_pBatchPanel = nullptr;
    g_pCompTablePanel = nullptr;
}
