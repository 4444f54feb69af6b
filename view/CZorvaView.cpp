#include "view/CZorvaView.h"
#include "view/worker_thread.h"

#include <cmath>
#include <cstdio>
#include <mutex>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/FrameState.h"
#include "app/recovery_snapshot.h"
#include "geometry/CUnit.h"
#include "geometry/DrawingSettings.h"
#include "geometry/GeometryState.h"
#include "geometry/plane_geometry.h"
#include "geometry/screen_marks.h"
#include "geometry/view_transform.h"
#include "platform/core/codepage.h"
#include "platform/core/files.h"
#include "platform/core/named_objects.h"
#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CRect.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/afx_ids.h"
#include "view/view_settings_sync.h"

IMPLEMENT_DYNCREATE(CZorvaView, CScrollView)

BEGIN_MESSAGE_MAP(CZorvaView, CScrollView)
    ON_WM_TIMER()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MBUTTONDOWN()
    ON_WM_MBUTTONUP()
    ON_WM_KEYUP()
    ON_WM_SETCURSOR()
    ON_CBN_SELCHANGE(kIdModeCombo, OnModeChanged)
    ON_COMMAND(33055, OnCodingVersion)
    ON_COMMAND(33027, OnBatchPaths)
    ON_COMMAND(65026, OnBatchPathsToolbar)
    ON_COMMAND(65017, OnTrailCreateButton)
    ON_COMMAND(65018, OnTrailManyButton)
    // The dimension toolbar and the dimension menu items, one id each.
    ON_COMMAND_RANGE(32891, 32891, OnDimensionCommand)
    ON_COMMAND_RANGE(32892, 32892, OnDimensionCommand)
    ON_COMMAND_RANGE(32898, 32898, OnDimensionCommand)
    ON_COMMAND_RANGE(32899, 32899, OnDimensionCommand)
    ON_COMMAND_RANGE(32906, 32906, OnDimensionCommand)
    ON_COMMAND_RANGE(32901, 32901, OnDimensionCommand)
    ON_COMMAND_RANGE(32922, 32922, OnDimensionCommand)
    ON_COMMAND_RANGE(32900, 32900, OnDimensionCommand)
    ON_COMMAND_RANGE(32868, 32868, OnDimensionCommand)
    ON_COMMAND_RANGE(32869, 32869, OnDimensionCommand)
    ON_COMMAND_RANGE(32872, 32872, OnDimensionCommand)
    ON_COMMAND_RANGE(32873, 32873, OnDimensionCommand)
    ON_COMMAND_RANGE(32874, 32874, OnDimensionCommand)
    ON_COMMAND_RANGE(32877, 32877, OnDimensionCommand)
    ON_COMMAND_RANGE(32924, 32924, OnDimensionCommand)
    ON_COMMAND_RANGE(33025, 33025, OnDimensionCommand)
    ON_UPDATE_COMMAND_UI_RANGE(32891, 32891, OnUpdateDimensionCommand)
    ON_UPDATE_COMMAND_UI_RANGE(32892, 32892, OnUpdateDimensionCommand)
    ON_UPDATE_COMMAND_UI_RANGE(32898, 32898, OnUpdateDimensionCommand)
    ON_UPDATE_COMMAND_UI_RANGE(32899, 32899, OnUpdateDimensionCommand)
    ON_UPDATE_COMMAND_UI_RANGE(32906, 32906, OnUpdateDimensionCommand)
    ON_UPDATE_COMMAND_UI_RANGE(32901, 32901, OnUpdateDimensionCommand)
    ON_UPDATE_COMMAND_UI_RANGE(32922, 32922, OnUpdateDimensionCommand)
    ON_UPDATE_COMMAND_UI_RANGE(32900, 32900, OnUpdateDimensionCommand)
    // The display settings of the Edit menu and the factory reset.
    ON_COMMAND_RANGE(32989, 32990, OnCrosshairSetting)
    ON_COMMAND_RANGE(33018, 33019, OnLeftToolStyleSetting)
    ON_COMMAND_RANGE(33072, 33073, OnRightMenuSetting)
    ON_COMMAND(33012, OnRestoreDefaults)
    ON_UPDATE_COMMAND_UI_RANGE(32989, 32990, OnUpdateCrosshairSetting)
    ON_UPDATE_COMMAND_UI_RANGE(33018, 33019, OnUpdateLeftToolStyleSetting)
    ON_UPDATE_COMMAND_UI_RANGE(33072, 33073, OnUpdateRightMenuSetting)
    // Command starts of the menus, the icon toolbar, the panel and the popup.
    ON_COMMAND_RANGE(32772, 32772, OnMenuStart)
    ON_COMMAND_RANGE(32780, 32787, OnMenuStart)
    ON_COMMAND_RANGE(32791, 32791, OnMenuStart)
    ON_COMMAND_RANGE(32820, 32820, OnMenuStart)
    ON_COMMAND_RANGE(32822, 32828, OnMenuStart)
    ON_COMMAND_RANGE(32831, 32831, OnMenuStart)
    ON_COMMAND_RANGE(32841, 32841, OnMenuStart)
    ON_COMMAND_RANGE(32849, 32849, OnMenuStart)
    ON_COMMAND_RANGE(32852, 32852, OnMenuStart)
    ON_COMMAND_RANGE(32881, 32881, OnMenuStart)
    ON_COMMAND_RANGE(32908, 32915, OnMenuStart)
    ON_COMMAND_RANGE(32944, 32944, OnMenuStart)
    ON_COMMAND_RANGE(32966, 32979, OnMenuStart)
    ON_COMMAND_RANGE(32981, 32981, OnMenuStart)
    ON_COMMAND_RANGE(32984, 32984, OnMenuStart)
    ON_COMMAND_RANGE(33004, 33008, OnMenuStart)
    ON_COMMAND_RANGE(33014, 33014, OnMenuStart)
    ON_COMMAND_RANGE(65025, 65025, OnMenuStart)
    ON_COMMAND_RANGE(65027, 65028, OnMenuStart)
    ON_UPDATE_COMMAND_UI_RANGE(32772, 32772, OnUpdateMenuStart)
    ON_UPDATE_COMMAND_UI_RANGE(32780, 32787, OnUpdateMenuStart)
    ON_UPDATE_COMMAND_UI_RANGE(32791, 32791, OnUpdateMenuStart)
    ON_UPDATE_COMMAND_UI_RANGE(32820, 32820, OnUpdateMenuStart)
    ON_UPDATE_COMMAND_UI_RANGE(32822, 32828, OnUpdateMenuStart)
    ON_UPDATE_COMMAND_UI_RANGE(32831, 32831, OnUpdateMenuStart)
    ON_UPDATE_COMMAND_UI_RANGE(32841, 32841, OnUpdateMenuStart)
    ON_UPDATE_COMMAND_UI_RANGE(32849, 32849, OnUpdateMenuStart)
    ON_UPDATE_COMMAND_UI_RANGE(32852, 32852, OnUpdateMenuStart)
    ON_UPDATE_COMMAND_UI_RANGE(32881, 32881, OnUpdateMenuStart)
    ON_UPDATE_COMMAND_UI_RANGE(32908, 32915, OnUpdateMenuStart)
    ON_UPDATE_COMMAND_UI_RANGE(32944, 32944, OnUpdateMenuStart)
    ON_UPDATE_COMMAND_UI_RANGE(32966, 32979, OnUpdateMenuStart)
    ON_UPDATE_COMMAND_UI_RANGE(32981, 32981, OnUpdateMenuStart)
    ON_UPDATE_COMMAND_UI_RANGE(32984, 32984, OnUpdateMenuStart)
    ON_UPDATE_COMMAND_UI_RANGE(33004, 33008, OnUpdateMenuStart)
    ON_UPDATE_COMMAND_UI_RANGE(33014, 33014, OnUpdateMenuStart)
    ON_UPDATE_COMMAND_UI_RANGE(65025, 65025, OnUpdateMenuStart)
    ON_UPDATE_COMMAND_UI_RANGE(65027, 65028, OnUpdateMenuStart)
    // Undo, redo and the clipboard; the main toolbar's file and view buttons.
    ON_COMMAND_RANGE(32788, 32788, OnEditCommand)
    ON_COMMAND_RANGE(32790, 32790, OnEditCommand)
    ON_COMMAND_RANGE(ID_EDIT_COPY, ID_EDIT_CUT, OnEditCommand)
    ON_COMMAND_RANGE(ID_EDIT_PASTE, ID_EDIT_PASTE, OnEditCommand)
    ON_COMMAND_RANGE(65012, 65016, OnEditCommand)
    ON_UPDATE_COMMAND_UI_RANGE(32788, 32788, OnUpdateEditCommand)
    ON_UPDATE_COMMAND_UI_RANGE(32790, 32790, OnUpdateEditCommand)
    ON_UPDATE_COMMAND_UI_RANGE(ID_EDIT_COPY, ID_EDIT_CUT, OnUpdateEditCommand)
    ON_UPDATE_COMMAND_UI_RANGE(ID_EDIT_PASTE, ID_EDIT_PASTE, OnUpdateEditCommand)
    ON_UPDATE_COMMAND_UI_RANGE(65012, 65016, OnUpdateEditCommand)
    ON_COMMAND_RANGE(65008, 65010, OnPanelButton)
    ON_COMMAND_RANGE(65020, 65022, OnPanelButton)
    ON_COMMAND_RANGE(65024, 65024, OnPanelButton)
    ON_UPDATE_COMMAND_UI_RANGE(65008, 65010, OnUpdatePanelButton)
    ON_UPDATE_COMMAND_UI_RANGE(65020, 65022, OnUpdatePanelButton)
    ON_UPDATE_COMMAND_UI_RANGE(65024, 65024, OnUpdatePanelButton)
    ON_COMMAND(33068, OnPopupDivide)
END_MESSAGE_MAP()

CZorvaView::CZorvaView()
{
    g_pView = this;
    g_pDocUi = this;
    g_curCommand = 0;
    g_cmdStep = 0;
    InitTwoPointRecord(m_firstPoint, m_lastPoint);
    RegisterViewSettingsSync();
    StartWorkerThread(this);
}

CZorvaView::~CZorvaView()
{
    DetachWorkerView(this);
    ReleaseFloatingEntity();
    delete m_pBackBufferInfo;
    if (g_pView == this)
        g_pView = nullptr;
    if (g_pDocUi == this)
        g_pDocUi = nullptr;
}

CZorvaDoc* CZorvaView::GetZorvaDocument() const
{
    return dynamic_cast<CZorvaDoc*>(GetDocument());
}

void CZorvaView::OnInitialUpdate()
{
    CScrollView::OnInitialUpdate();
    if (CZorvaDoc* doc = GetZorvaDocument())
        g_pDoc = doc;
    g_pView = this;
    g_pDocUi = this;
    g_batchContourPick = 0;
    m_polyArcMode = 0;
    g_TrailRunFlag = 0;
    m_pathsOnly = 0;
    if (CZorvaDoc* doc = GetZorvaDoc()) {
        m_pFloatUnit = nullptr;     // owned by nobody once the lists go
        doc->FreeAllUnits();
    }
    ShowFileName(CString());
    g_currentFileName.Empty();
    PrintLine(CString(), 1);
    m_dragDelta = x_Vector();
    m_clickBusy = 0;
    // Before, a new drawing kept the clipboard armed and Ctrl+V pasted
    // units the old drawing no longer had.
    m_clipboardMode = 0;
    m_redrawPending = 0;
    g_UnitIdCounter = 0;
    m_scrollSize = {100, 100};
    m_crosshair = {-1, -1};
    m_pickBox = {-1, -1};
    g_UndoKeyLatch = 0;
    SetScrollSizes(MM_TEXT, m_scrollSize);
    ResetForNewDrawing();
    if (!g_viewInitialised)
        FirstInitialUpdate();
    else
        g_drawingModified = 1;
    BuildBackBufferHeader();
    UpdateViewCorners();
    UpdateDashLengths();
    ClampViewScale();
    g_viewReady = 1;
    SetCommand(0);
    g_viewInitialised = 1;
}

void CZorvaView::FirstInitialUpdate()
{
    RecreateDrawingBrushes();
    CreateFixedBrushes();
    g_CurrentLineStyle = 0;
    g_CurrentDashDot = 0;
    CRect client;
    GetClientRect(&client);
    g_clientRect = client;
    g_ViewClientRect = client;
    g_RasterWidth = client.Width();
    g_RasterHeight = client.Height();
    g_RasterStride = ((g_RasterWidth * 16 / 8 + 3) / 4) * 4;
    const auto w = static_cast<std::uint32_t>(client.Width() - 25);
    std::int32_t x = static_cast<std::int32_t>(w / 2) + (g_LeftToolbarButtons ? -30 : 25);
    std::int32_t y = (client.Height() - 90) / 2;
    g_defaultOriginX = x;
    g_defaultOriginY = y;
    if (!g_settingsLoaded) {
        g_ViewOriginX = x;
        g_ViewOriginY = y;
    }
    // A file named on the command line is opened instead (CZorvaApp); the
    // history then starts as a restore would leave it.
    if (CZorvaDoc* doc = GetZorvaDoc(); doc != nullptr && g_commandLineFile.IsEmpty())
        RestoreRecoverySnapshot(*doc);
    else
        g_undoStep = 1;
    if (!g_viewReadyEvent) {
        g_viewReadyEvent = std::make_unique<CNamedEvent>();
        g_viewReadyEvent->Create(CString(u"{6e17-cfab-c5f0-cdf4-734b}"));
    }
}

void CZorvaView::BuildBackBufferHeader()
{
    delete m_pBackBufferInfo;
    m_pBackBufferInfo = new BITMAPINFO();
    BITMAPINFOHEADER& h = m_pBackBufferInfo->bmiHeader;
    h.biSize = 40;
    h.biWidth = g_RasterWidth;
    h.biHeight = -g_RasterHeight;      // top-down
    h.biPlanes = 1;
    h.biBitCount = 16;
    h.biCompression = BI_BITFIELDS;
    m_pBackBufferInfo->bmiColors[0] = 0xF800;
    m_pBackBufferInfo->bmiColors[1] = 0x07E0;
    m_pBackBufferInfo->bmiColors[2] = 0x001F;
}

void CZorvaView::ResetCommandState()
{
    g_curCommand = 0;
    g_cmdStep = 0;
    m_offsetArrowsShown = 0;
    m_clickBusy = 0;
    m_redrawPending = 0;
}

void CZorvaView::ResetForNewDrawing()
{
    g_drawingModified = 0;
    g_curCommand = 0;
    g_cmdStep = kStepIdlePick;
    g_cmdPointCount = 0;
    g_lastCommand = 0;
    g_undoCount = 0;
    g_redoCount = 0;
    ClearCommandMarks();
    g_trackPoints.RemoveAll();
    g_currentFileName.Empty();
    m_snapped = m_orthoHeld = m_trackFound = m_trackShown = 0;
    m_windowSelect = m_panning = m_rightHeld = 0;
    m_inputMarkShown = m_markInputPoint = m_pasteBaseMarked = m_pendingMarkSet = 0;
    m_cursorCross = m_pickBox = m_crosshair = {-1, -1};
    ReleaseFloatingEntity();
    // The toolbars refresh from the command state at their next idle update.
}

void CZorvaView::ResetViewForNewDrawing()
{
    ResetCommandState();
    ResetForNewDrawing();
}

void CZorvaView::AfterDrawingLoaded()
{
    UpdateDashLengths();
    UpdateViewCorners();
    RedrawNow();
}

void CZorvaView::ShowCursorCoords(double x, double y)
{
    if (g_commandBar == nullptr)
        return;
    CString text;
    text.Format(u"坐标：%0.4f , %0.4f ", x, y);
    g_commandBar->SetDlgItemText(kIdCoords, text);
}

void CZorvaView::SetPromptText(const CString& text)
{
    CUnitView::SetPromptText(text);
    if (g_commandBar != nullptr)
        g_commandBar->SetDlgItemText(kIdPrompt, text);
}

void CZorvaView::ShowFileName(const CString& name)
{
    DocumentUi::ShowFileName(name);
    if (g_commandBar == nullptr)
        return;
    CString text(u"文件：");
    text += name.IsEmpty() ? CString(u"-") : name;
    g_commandBar->SetDlgItemText(kIdFileName, text);
}

void CZorvaView::LoadHelpKeyList()
{
    const CString path = CString(g_dataDir) + CString(u"\\zorvahelp_keylist.txt");
    if (!FileExists(MapWindowsPath(path)))
        return;
    std::FILE* f = std::fopen(NativePath(MapWindowsPath(path)).c_str(), "rb");
    if (f == nullptr)
        return;
    std::string line;
    int key = 1;
    auto store = [&] {
        g_KeyList.SetAt(key++, CString(GbkToUtf16(line)));
        line.clear();
    };
    int c;
    while ((c = std::fgetc(f)) != EOF) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            store();
        } else if (line.size() == 511) {
            // The character after the 511th is consumed with the full entry.
            store();
        } else {
            line.push_back(static_cast<char>(c));
        }
    }
    if (!line.empty())
        store();
    std::fclose(f);
    g_KeyListLoaded = 1;
}

void CZorvaView::ReleaseFloatingEntity()
{
    if (m_pFloatUnit != nullptr && !m_pFloatUnit->complete) {
        // A text never placed takes its panel with it: before, the panel
        // stayed after Esc, and its OK then dropped the typed text unsaid.
        if (m_pFloatUnit->GetType() == 12 && g_pTextPanel != nullptr)
            g_pTextPanel->ShowWindow(SW_HIDE);
        delete m_pFloatUnit;
    }
    m_pFloatUnit = nullptr;
}

void CZorvaView::OnUnitFreed(CUnit* unit)
{
    if (m_pFloatUnit == unit)
        m_pFloatUnit = nullptr;
    for (CUnit*& u : m_pStepUnit)
        if (u == unit)
            u = nullptr;
    if (m_pPickedUnit == unit)
        m_pPickedUnit = nullptr;
    if (m_pPanelUnit == unit)
        m_pPanelUnit = nullptr;
    if (m_pickUnit == unit)
        m_pickUnit = nullptr;
    if (m_dragUnit == unit)
        m_dragUnit = nullptr;
    if (m_joinedUnit == unit)
        m_joinedUnit = nullptr;
}

namespace {

bool IsDegenerate(CUnit* u)
{
    switch (u->GetType()) {
    case 1:
        return u->GetLength() <= 1e-10;
    case 7:
        return u->geometry.circle.radius <= 1e-10;
    case 8:
        return u->geometry.arc.radius <= 1e-10;
    case 11:
        return u->nodes.GetSize() < 2;
    default:
        return false;
    }
}

// A spline whose first two nodes coincide or lie absurdly far apart loses
// the second; true when one was dropped.
bool DropBadSecondNode(CUnit* u)
{
    if (u->GetType() != 11 || u->nodes.GetSize() <= 1)
        return false;
    const double d = x_Vector::Distance(u->nodes[0], u->nodes[1]);
    if (d > 1e-10 && d < 1e10)
        return false;
    u->nodes.RemoveAt(1);
    return true;
}

} // namespace

void CZorvaView::PurgeDegenerateEntities(int commit)
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    std::lock_guard<std::recursive_mutex> lock(doc->m_listMutex);
    CUnitArray& list = doc->m_unitList;
    for (bool again = true; again;) {
        again = false;
        for (int i = 0; i < list.GetSize(); ++i) {
            CUnit* u = list[i];
            if (u->deleted || (u->complete && !u->temporary))
                continue;
            if (u == m_pFloatUnit)
                m_pFloatUnit = nullptr;
            doc->RecordDeleteAt(i);
            again = true;
            break;
        }
    }
    for (bool changed = true; changed;) {
        changed = false;
        for (int i = 0; i < list.GetSize(); ++i) {
            CUnit* u = list[i];
            if (u->deleted || u->role != kRoleDrawing)
                continue;
            AccumulateBounds(u->extentMin, u->extentMax);
            if (IsDegenerate(u)) {
                doc->RecordDeleteAt(i);
                changed = true;
            } else if (DropBadSecondNode(u)) {
                changed = true;
            }
        }
    }
    for (int i = 0; i < list.GetSize(); ++i)
        list[i]->listIndex = i;
    g_SelectedTrailIds.RemoveAll();
    doc->CommitUndoStep(commit);
}
