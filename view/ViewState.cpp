#include "view/ViewState.h"

#include "platform/core/named_objects.h"

CZorvaView* g_pView = nullptr;
CWnd* g_commandBar = nullptr;

std::int32_t g_lastCommand = 0;
std::int32_t g_LockSwitch = 0;
CArray<x_Vector> g_inputPoints;
std::uint8_t g_SnapReduced = 0;
std::atomic<std::uint8_t> g_TrailRunFlag{0};
std::uint8_t g_batchContourPick = 0;
std::uint8_t g_DisplacementMode = 0;
std::uint8_t g_PromptEchoOff = 0;
double g_OffsetDistance = 5.0;
std::int32_t g_Path3DContours = 120;
std::uint8_t g_Path3DFlat = 1;
bool (*g_TypedEditInputHook)(CZorvaView*, CDC*, const CString&) = nullptr;

std::uint8_t g_viewInitialised = 0;
RECT g_clientRect = {};
x_Vector g_visibleMin;
x_Vector g_visibleMax;
std::uint8_t g_CrosshairOn = 0;
std::uint8_t g_LeftToolbarButtons = 0;
std::uint8_t g_PathViewStyle = 0;
std::int32_t g_screenWidth = 1920;
std::int32_t g_screenHeight = 1080;
CMap<std::int32_t, std::int32_t, CString, const CString&> g_KeyList;
std::uint8_t g_KeyListLoaded = 0;
std::unique_ptr<CNamedEvent> g_viewReadyEvent;

std::int32_t g_rightButtonState = 0;
std::uint8_t g_RightMenuOn = 0;
std::uint8_t g_ctrlDown = 0;
std::uint8_t g_redrawAfterClick = 0;
std::uint8_t g_UndoKeyLatch = 0;
std::uint8_t g_EditKeyLatch = 0;
std::int32_t g_snapOn = 0;
std::int32_t g_orthoOn = 0;
std::int32_t g_trackOn = 0;
std::int32_t g_gripEditOn = 1;
std::int32_t g_endpointsOn = 1;
CArray<x_Vector> g_trackPoints;
std::int32_t g_highlightedArrow = -1;

CArray<std::uint64_t> g_SelectedTrailIds;
CArray<x_Vector> g_WearMarkers;
std::uint8_t g_WearCorrectionMode = 0;
std::uint8_t g_CompensationPreview = 0;

void ResetViewState()
{
    g_pView = nullptr;
    g_commandBar = nullptr;
    g_lastCommand = 0;
    g_LockSwitch = 0;
    g_inputPoints.RemoveAll();
    g_SnapReduced = 0;
    g_TrailRunFlag = 0;
    g_batchContourPick = 0;
    g_DisplacementMode = 0;
    g_PromptEchoOff = 0;
    g_OffsetDistance = 5.0;
    g_Path3DContours = 120;
    g_Path3DFlat = 1;
    g_viewInitialised = 0;
    g_clientRect = {};
    g_visibleMin = x_Vector();
    g_visibleMax = x_Vector();
    g_CrosshairOn = 0;
    g_LeftToolbarButtons = 0;
    g_PathViewStyle = 0;
    g_screenWidth = 1920;
    g_screenHeight = 1080;
    g_KeyList.RemoveAll();
    g_KeyListLoaded = 0;
    // The named event stays open for the life of the process.
    g_rightButtonState = 0;
    g_RightMenuOn = 0;
    g_ctrlDown = 0;
    g_redrawAfterClick = 0;
    g_UndoKeyLatch = 0;
    g_EditKeyLatch = 0;
    g_snapOn = 0;
    g_orthoOn = 0;
    g_trackOn = 0;
    g_gripEditOn = 1;
    g_endpointsOn = 1;
    g_trackPoints.RemoveAll();
    g_highlightedArrow = -1;
    g_SelectedTrailIds.RemoveAll();
    g_WearMarkers.RemoveAll();
    g_WearCorrectionMode = 0;
    g_CompensationPreview = 0;
}
