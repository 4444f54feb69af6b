#pragma once

// The single view of the drawing: off-screen rendering into an RGB565 back
// buffer, the running command and its scratch state, the pending action of
// timer 1, the worker request word, the mouse, zoom and pan handlers, the
// idle picking, the live preview and the step engine. Members are split by
// concern over CZorvaView_*.cpp and view/commands/*.cpp.

#include <atomic>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "app/DocumentUi.h"
#include "geometry/CUnitView.h"
#include "geometry/UnitGeometry.h"
#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"
#include "platform/gdi/CPoint.h"
#include "platform/gdi/RowDamage.h"
#include "platform/ui/CScrollView.h"
#include "view/PathPick.h"
#include "view/ViewState.h"

class CBitmap;
class CCmdUI;
class CDC;
class CFrontImage;
class CUnit;
class CZorvaDoc;
struct MenuCommand;

// The numbers of a typed line: n as ParseTypedValues counts them (-1 for an
// empty line), v filled from the left.
struct TypedValues {
    int n = 0;
    double v[4] = {};
};

// Live selected units of role 0 (filter 0) or of role 0 or 5 (filter 1).
int CountSelectedUnits(int filter);
// Empties the command edit and gives it the focus.
void ClearCommandEdit();
// Fills the command edit with a default, selected whole (so typing replaces
// it), and gives it the focus.
void PrefillCommandEdit(const CString& text);

class CZorvaView : public CScrollView, public CUnitView, public DocumentUi {
    DECLARE_DYNCREATE(CZorvaView)
public:
    CZorvaView();
    ~CZorvaView() override;

    CZorvaDoc* GetZorvaDocument() const;

    // --- framework (CZorvaView.cpp, CZorvaView_mouse.cpp) ---
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnInitialUpdate() override;
    void OnDraw(CDC* dc) override;
    // Painting only shows the last frame: XOR marks live in the front image.
    void OnPaint() override {}
    void OnTimer(UINT_PTR id) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnRButtonDown(UINT flags, CPoint point) override;
    void OnRButtonUp(UINT flags, CPoint point) override;
    void OnMButtonDown(UINT flags, CPoint point) override;
    void OnMButtonUp(UINT flags, CPoint point) override;
    void OnKeyUp(UINT key, UINT repeat, UINT flags) override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
    // Install and remove the main frame's link (CZorvaView_framelink.cpp).
    int OnCreate(LPCREATESTRUCT cs) override;
    void OnDestroy() override;

    // --- rendering (CZorvaView_render.cpp) ---
    int RenderOffscreen(CDC* dc);
    void Render(CDC* dc);
    void RedrawNow() override;
    void UpdateViewCorners();

    // --- object, status writers, purge (CZorvaView.cpp) ---
    void ShowCursorCoords(double x, double y);
    void SetPromptText(const CString& text) override;
    void SetPromptLine(const CString& text) override { SetPromptText(text); }
    void ShowFileName(const CString& name) override;
    void LoadHelpKeyList();
    void PurgeDegenerateEntities(int commit);
    void ReleaseFloatingEntity();
    void ResetCommandState();
    void ResetForNewDrawing();
    // DocumentUi: the document's hooks into the view.
    bool WorkerBusy() override { return m_workerRequest.load() != 0; }
    void OnUnitFreed(CUnit* unit) override;
    void ResetViewForNewDrawing() override;
    void AfterDrawingLoaded() override;
    // The property panel and the edits it makes (CZorvaView_panels.cpp).
    void ShowProperties(CUnit* unit) override;
    // Refills the property panel from m_pPanelUnit when it is shown.
    void RefreshPropertyPanel();
    CUnit* PanelUnit() override { return m_pPanelUnit; }
    void SetPanelUnit(CUnit* unit) override { m_pPanelUnit = unit; }
    void EndEdit() override { PurgeDegenerateEntities(0); }
    bool LockOn() override;
    bool ModifyOn() override;
    CString EntityTypeName(CUnit& unit) override;
    double PathLength(CUnit& unit) override;

    // --- output list (CZorvaView_output.cpp) ---
    void PrintLine(const CString& text, int clear);
    void PrintLine(const CString& text) override { PrintLine(text, 0); }
    void PrintSeparator() override;
    void ClearOutput();
    void ResetCommandEdit() override;

    // --- commands (CZorvaView_command.cpp) ---
    void SetCommand(int command);
    void OnModeChanged();
    // ShowPrompt, CancelCommand and OnKey belong to the command line; until
    // it lands, CZorvaView_keys_stand_in.cpp holds minimal stand-ins (remove
    // that file with the commit that adds the real ones).
    void ShowPrompt(const CString& extra, int mode);
    void CancelCommand();
    void OnKey(CDC* dc, int flags, int key);
    void DispatchKey(int key);
    void OnHotKey(int id);

    // --- menu, toolbar and panel commands (CZorvaView_menus.cpp) ---
    // Runs the view's menu commands and their update handlers from one
    // table; other ids go the framework's way (message map, document).
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;
    void RunMenuCommand(const MenuCommand& command);
    void SetPathViewStyle(std::uint8_t style);
    void OnPathViewSimple();
    void OnPathViewSimulated();
    void OnUpdatePathViewStyle(CCmdUI* ui);
    void OnToggle3DView();
    void OnShowPathsOnly();
    void OnBlockMake();
    void OnBlockExplode();
    void OnBlockDisplay();
    void OnRepair();
    void OnPropertiesButton();
    void OnExportButton();

    // Dimension toolbar and menu items (commands/dimensions.cpp).
    void OnDimensionCommand(UINT id);
    void OnUpdateDimensionCommand(CCmdUI* ui);

    // --- command line and prompts (CZorvaView_cmdline*.cpp) ---
    void DescribeEntity();

    // --- typed values, clipboard and erase (CZorvaView_typed*.cpp) ---
    int ParseTypedValues(const CString& text, double values[4]);
    void EndPointInput();
    void CutSelected();
    void CopySelected();
    void PasteClipboard();
    bool CloseSpline();
    // Frees the temporary units of role 0 (from index first on).
    void FreeTemporaryUnits(int first = 0);
    void EraseSelected();
    std::uint8_t m_clipboardMode = 0;   // 0 nothing to paste, 1 copy, 2 cut
    std::uint8_t m_clearOnCancel = 0;
    std::uint8_t m_compensationEditMode = 0;
    double m_compensationEditValue = 0.0;

    // --- path menu (CZorvaView_pathmenu.cpp) ---
    void OnCodingVersion();
    void OnTrailCreateButton();
    void OnTrailManyButton();
    // Menu 33027 and button 65026 (and F10): a batch selection starts and
    // the batch panel is filled from the settings and shown.
    void OnBatchPaths();
    void OnBatchPathsToolbar();
    void StartBatchSelection();
    void HideBatchPanel();
    void PrintBatchSettings();
    // The batch generator's listing run; empty while a request is pending
    // or without the path library.
    std::vector<int> ListBatchShapes();

    // --- pending actions (CZorvaView_timer.cpp) ---
    void ArmPendingAction(int action, unsigned elapseMs);
    void RunPendingAction(int action);
    void RunDialogAction(int action);

    // --- menu, toolbar and popup commands (CZorvaView_menu_commands.cpp) ---
    void OnMenuStart(UINT id);
    void OnUpdateMenuStart(CCmdUI* ui);
    void OnEditCommand(UINT id);
    void OnUpdateEditCommand(CCmdUI* ui);
    void OnPanelButton(UINT id);
    void OnUpdatePanelButton(CCmdUI* ui);
    void OnPopupDivide();
    void ShowRightButtonMenu(POINT cursor);

    // --- Edit menu settings (CZorvaView_settings_menu.cpp) ---
    void OnCrosshairSetting(UINT id);
    void OnUpdateCrosshairSetting(CCmdUI* ui);
    void OnLeftToolStyleSetting(UINT id);
    void OnUpdateLeftToolStyleSetting(CCmdUI* ui);
    void OnRightMenuSetting(UINT id);
    void OnUpdateRightMenuSetting(CCmdUI* ui);
    void OnRestoreDefaults();

    // --- zoom and pan (CZorvaView_mouse.cpp) ---
    void ZoomAt(int direction, int x, int y);
    void UpdateDashLengths();

    // --- picking (CZorvaView_pick.cpp) ---
    void IdlePick(CDC* dc, x_Vector point);
    void TogglePickSelection(CDC* dc, x_Vector point);
    void DrawSelectionWindow(CDC* dc);
    x_Vector FindCollectedPointAt(x_Vector point);
    void ShowDistanceReadout();
    void ApplySelectionWindow();

    // --- live preview (CZorvaView_preview.cpp) ---
    void DrawPreview(CDC* dc);

    // --- entity helpers (CZorvaView_entities.cpp) ---
    void GrowDirtyRect(int x, int y);
    bool SelectSameGroup();
    bool ExplodeSelected();
    void ShowPointMarkers();
    // The OK of the text annotation panel: places the text being set.
    void ApplyTextAnnotation() override;

    // --- step engine (commands/step_engine.cpp and the family files) ---
    void StepCommand(CDC* dc, int inputKind);

    // --- wire paths (CZorvaView_paths*.cpp, worker_thread.cpp) ---
    void StepPathCommand(CDC* dc, int inputKind);
    bool TypedPathInput(CDC* dc, const CString& text);
    // True when the right button was taken by command 66.
    bool PathRightButton(CDC* dc);
    // Stores the input of a command-66 step and asks the worker for it.
    void PublishPathRequest(int inputKind);
    bool StartBatchPaths(int option);
    bool RunBatchPaths();
    // Queues a call for the GUI thread: the worker's output of one request.
    void Later(std::function<void(CZorvaView&)> call) { m_workerOutput.push_back(std::move(call)); }
    // GUI thread: shows the worker's output, then clears the request word.
    void OnWorkerDone();
    // Forgets the picks, markers and preview of command 66.
    void ClearPathState();
    // Clears the run flags: a running generation stops at its next test.
    void StopPathGeneration();
    bool PathOrderClick(x_Vector point);
    // "ed": every path goes, in one undo step.
    void DeleteAllPaths();
    // True, after "#请等待线程处理完成...", while a worker request is pending.
    bool RefusedWhileWorkerBusy();
    void DrawPathOverlays(CDC* dc);
    // Idle click on a path: the next number of the export order.
    void AddPathToExportOrder(CUnit* path);
    bool WriteDcxFile(const CString& path) override;
    int CollectExportPaths() override;
    void StartCommand(int command) override { SetCommand(command); }
    void AskForExportPaths() override;
    // Enter or the right button after the export prompt: the export runs
    // with the paths chosen meanwhile. False when no export is waiting.
    bool ConfirmExportPick();
    PathPick m_path;
    std::vector<std::function<void(CZorvaView&)>> m_workerOutput;
    std::uint8_t m_endAfterWorker = 0;  // a cancel came while the worker ran

    // --- members of the view object ---
    CUnit* m_pFloatUnit = nullptr;
    CUnit* m_pStepUnit[3] = {};
    SIZE m_scrollSize = {100, 100};
    POINT m_cursorCross = {-1, -1};
    POINT m_crosshair = {-1, -1};
    POINT m_pickBox = {-1, -1};
    std::uint8_t m_rendering = 0;
    std::uint8_t m_clickBusy = 0;
    CArray<x_Vector> m_pointsA;
    CArray<x_Vector> m_pointsB;
    std::int32_t m_subStep = 0;
    CArray<std::uint64_t> m_unitIds;
    std::int32_t m_pendingAction = kActionNone;
    std::uint8_t m_redrawPending = 0;
    std::atomic<std::int32_t> m_workerRequest{0};
    std::int32_t m_workerArg = 0;
    std::int32_t m_batchOption = 0;
    std::uint8_t m_pathsOnly = 0;
    BITMAPINFO* m_pBackBufferInfo = nullptr;
    // The frame's RGB565 back buffer: made once for the view's life (again
    // only when the raster size changes), so a frame allocates nothing.
    std::unique_ptr<CBitmap> m_backBitmap;
    std::uint8_t* m_backBits = nullptr;
    std::int32_t m_backWidth = 0;
    std::int32_t m_backHeight = 0;
    // The paths of the frame being drawn (they go over the other units).
    std::vector<CUnit*> m_pathsToDraw;
    // Where the buffer is not black (what the last frame drew), the front
    // image the last frame went to, and whether the next must copy all.
    RowDamage m_backDamage;
    CFrontImage* m_lastFront = nullptr;
    bool m_blitAll = true;

    std::int32_t m_repeatCommand = 0;
    std::int32_t m_repeatSubFlag = 0;
    std::uint8_t m_pickReadout = 0;
    x_Vector m_moveBase;
    x_Vector m_dragDelta;
    POINT m_mousePixel = {-1, -1};
    POINT m_lastPreviewPixel = {-1, -1};
    POINT m_previewedMousePixel = {-1, -1};    // the mouse's own pixel of that preview

    std::uint8_t m_lastWasSeparator = 0;

    std::uint8_t m_rightHeld = 0;
    std::uint8_t m_windowSelect = 0;
    std::uint8_t m_panning = 0;
    POINT m_panStart = {};
    RECT m_selectionRect = {};
    std::int32_t m_rightClickCount = 0;
    CUnit* m_pPickedUnit = nullptr;
    CUnit* m_pPanelUnit = nullptr;

    x_Vector m_inputPoint;
    POINT m_cursorPixel = {};
    x_Vector m_lastInputPoint;
    x_Vector m_basePoint;
    x_Vector m_secondPoint;
    x_Vector m_thirdPoint;
    std::uint8_t m_commandDone = 0;
    std::uint8_t m_unitHit = 0;
    std::uint8_t m_gripActive = 0;
    std::int32_t m_groupBase = 0;
    std::uint8_t m_markInputPoint = 0;
    std::uint8_t m_inputMarkShown = 0;
    // The point the step engine marked with the filled square (the rubber
    // band runs from it); every full frame draws it again until the next step.
    x_Vector m_pendingMark;
    std::uint8_t m_pendingMarkSet = 0;
    x_Vector m_prevOrderPoint;
    x_Vector m_lastOrderPoint;

    std::uint8_t m_snapped = 0;
    x_Vector m_snapPoint;
    std::int32_t m_snapKind = 0;
    std::uint8_t m_orthoHeld = 0;
    std::uint8_t m_trackFound = 0;
    std::uint8_t m_trackShown = 0;
    x_Vector m_trackFrom;           // alignment line of this move
    x_Vector m_trackTo;
    x_Vector m_trackShownFrom;      // the one on screen
    x_Vector m_trackShownTo;
    std::uint8_t m_scanBackwards = 0;
    std::uint8_t m_pasteBaseMarked = 0;
    std::uint8_t m_offsetArrowsShown = 0;
    RECT m_dirtyRect = {};
    POINT m_dragStart = {};         // press of the 3-D view's rotation drag

    // --- edit commands (commands/edit_*.cpp, CZorvaView_typed_edit*.cpp,
    //     CZorvaView_grips.cpp) ---
    void StepEditCommand(CDC* dc, int inputKind);
    bool TypedEditInput(CDC* dc, const CString& text);
    bool TypedGripInput(CDC* dc, const CString& text);
    x_Vector m_scaleFactor;                 // x and y factor of the scale command
    x_LineData m_tangents[4];               // candidate common tangents
    std::int32_t m_tangentChoice = -1;      // candidate under the cursor
    std::int32_t m_pickSegment[2] = {};     // fillet/chamfer picks
    std::uint64_t m_pickId[2] = {};
    CUnit* m_tangentUnit[2] = {};
    std::int32_t m_editCount = 0;           // trims and breaks of this command
    double m_offsetDistance = 5.0;
    std::int32_t m_offsetSide = 0;          // 0 none, 1 or 2
    double m_offsetAngle = 0.0;
    x_Vector m_offsetAnchor;


private:
    // Rendering steps.
    void DrawAxes(CDC* dc);
    void DrawEntities(CDC* dc, std::uint8_t* raster);
    void DrawCommandMarks(CDC* dc);
    void MarkInputPoint(CDC* dc, const x_Vector& point);
    void DrawCursorMarks(CDC* dc);
    void DrawCrosshair(CDC* dc);
    void DrawScaleBar(CDC* dc);
    void BuildBackBufferHeader();
    std::uint8_t* BackBufferBits();
    static void ClearDamagedRows(std::uint8_t* bits, const RowDamage& damage);
    void ShowFrame(CDC* dc, CDC* mem, const RowDamage& drawn);
    void DrawOverlays(CDC* dc);
    void FirstInitialUpdate();

    // Command start steps.
    void ClearStartScratch(int command, bool pathState);
    void FreeTemporaries();
    void FillModeCombo(int command);
    bool StartByTable(int command);
    void EndCommandAtOnce();
    void ShowArrayPanel();
    void EraseSelectionAtStart();
    bool AskToReplaceToolPoint();
    void RefreshCommandButtons();
    void ApplyCreationModes(int command);

    void KeepKeysWithCommandLine();

    // Right button.
    void RightButtonInCommand();
    void RightButtonAtRest(CPoint point);
    void RepeatRule();
    void CompleteMirror(const CString& answer);

    // Preview steps.
    bool PanByPreview();
    void Rotate3DView();
    void PreviewEditRubber(CDC* dc);
    void PreviewTangent(CDC* dc);
    void PreviewArrowChoice(CDC* dc);
    void PreviewSelectionWindow(CDC* dc);
    bool SnapCursor(CDC* dc);
    bool OnOrthoLine(const x_Vector& snap) const;
    void MarkSnappedPoint(CDC* dc, const x_Vector& snap, int kind);
    void OrthoAndTrack(CDC* dc);
    void PreviewRubber(CDC* dc);
    void MoveCursorMarks(CDC* dc);

    // Step engine: frame and drawing families.
    bool AutoComplete();
    void CommitGripDrag();
    void PlaceFloatingEntity();
    void StepDrawingCommand(CDC* dc);
    void CommonStepTail(CDC* dc);
    void NewFloating(CUnit* unit);
    void StepLineOrPolyline(CDC* dc);
    void StepPolylineArc(CDC* dc);
    void StepParallelLine(CDC* dc);
    void StepCircle(CDC* dc);
    void StepArc(CDC* dc);
    void StepToolPoint(CDC* dc);
    void StepRectangle(CDC* dc);
    void StepPolygon(CDC* dc);
    void PlaceCompoundPieces(const CArray<x_Vector>& vertices);
    bool PlaceShapeAsPieces();
    void StepEllipse(CDC* dc);
    void StepSpline(CDC* dc);
    void StepWaveLine(CDC* dc);
    void StepText(CDC* dc);
    bool RefuseDegenerateEllipseClick();
    void PlaceSegment(CDC* dc);

    // Dimension family (commands/dimensions.cpp).
    bool IsCentreLineCommand() const;
    void StepDimension(CDC* dc);
    CUnit* FirstLiveOfType(const x_Vector& p, std::initializer_list<int> types, bool unselected);
    void StepLengthDimension(CDC* dc);
    void StepRadialDimension(CDC* dc);
    void StepArcLengthDimension(CDC* dc);
    void StepAngleDimension(CDC* dc);
    void StepAuxLine(CDC* dc);
    bool CloseAuxLines();
    void PlaceAnnotation(CUnit* unit);
    void PlaceCentreCross(const x_Vector& centre, double angle, double half, double auxValue);
    void StepCentreLine(CDC* dc);

    // Command line.
    void OnEnterKey(CDC* dc);
    bool RunShortCommand(CDC* dc, const CString& text);
    void TypedInput(CDC* dc, const CString& text);
    void ShowKeyList();
    void GoHome(CDC* dc);
    void UndoOrRedoByKey(bool redo);
    void SelectAllByKey();
    CString DescribeByType(CUnit& unit, int type, const char16_t* name);
    void FillClipboard(std::uint8_t mode);
    void PasteCopies(CZorvaDoc& doc);

    // Typed input of the drawing commands.
    TypedValues ReadTyped(const CString& text);
    x_Vector TowardCursor(const x_Vector& from, double distance) const;
    void FeedTypedPoint(CDC* dc, const x_Vector& point, int kind);
    void BackOnePoint(CDC* dc, bool undoPiece);
    bool TypedDrawingInput(CDC* dc, const CString& text);
    bool TypedLine(CDC* dc, const CString& text);
    bool TypedParallelLine(CDC* dc, const TypedValues& t);
    bool CloseLines();
    bool TypedRectangle(CDC* dc, const CString& text);
    bool TypedText(CDC* dc, const CString& text);
    bool TypedDimension(CDC* dc, const CString& text);
    bool TypedAuxLine(CDC* dc, const CString& text);
    bool TypedToolPoint(CDC* dc, const CString& text);
    void ReplaceToolPoint();
    int ChordCentre(const x_Vector& p1, const x_Vector& p2, double r, const x_Vector* previous, x_Vector& centre);
    void SetArcByCentre(CUnit* arc, const x_Vector& c, double radius, const x_Vector& p1, const x_Vector& p2);
    void SwitchToLinePieces();
    void SwitchToArcPieces();
    bool TypedPolylineArc(CDC* dc, const CString& text);
    bool TypedPointOrDistance(CDC* dc, const TypedValues& t, int kind);
    bool TypedEllipse(CDC* dc, const CString& text);
    void PlaceTypedEntity();
    bool TypedCircle(CDC* dc, const CString& text);
    bool TypedArc(CDC* dc, const CString& text);
    bool TypedPolygon(CDC* dc, const CString& text);
    void StartTypedPolygon();
    bool TypedSpline(CDC* dc, const CString& text);
    bool TypedWave(CDC* dc, const CString& text);

    // Edit commands.
    bool SelectionClick(CDC* dc, const x_Vector& p, int roles, bool gears);
    CUnit* FirstLiveHit(const x_Vector& p, bool exact, bool gears, bool unselected = false);
    void StepTransform(CDC* dc);
    void MoveSelection(const x_Vector& d);
    void ReplaceSelectionByCopies(int kind, const x_Vector& a, const x_Vector& b, double angle);
    void DuplicateSelectionInPlace();
    void StepTrimOrAlign(CDC* dc, bool align);
    void StepBreak(CDC* dc);
    void StepDividePick(CDC* dc);
    void StepExtend(CDC* dc);
    void StepFilletOrChamfer(CDC* dc);
    bool FilletSecondPickFits(CUnit* first, CUnit* second);
    void StepTangent(CDC* dc);
    void StepOffset(CDC* dc, int inputKind);
    void ShowOffsetArrows(CDC* dc, CUnit* unit);
    void StepQuery(CDC* dc);
    void StepPasteOrExplode(CDC* dc);
    bool TypedTransform(CDC* dc, const CString& text);
    bool TypedTrimExtend(CDC* dc, const CString& text);
    bool TypedCorners(CDC* dc, const CString& text);
    bool TypedMisc(CDC* dc, const CString& text);
    void DivideOrSplit(double value);
    void TypedStepBack();

    DECLARE_MESSAGE_MAP()
};
