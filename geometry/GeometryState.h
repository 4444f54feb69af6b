#pragma once

// Every global of the geometry folder, and the globals of the document, the
// view and the path engine that entities read. Those neighbours' globals are
// defined here so that geometry links alone; their owners set them and must
// not define them again.

#include <cstdint>

#include "geometry/DrawingSettings.h"
#include "geometry/View3D.h"
#include "geometry/x_DirSignData.h"
#include "geometry/x_TrailData.h"
#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/gdi_types.h"

class CUnitDocument;
class RowDamage;

// View transform (written by the view's zoom and pan).
extern double g_ViewScale;                  // pixels per millimetre
extern std::int32_t g_ViewOriginX;
extern std::int32_t g_ViewOriginY;

// RGB565 raster target (sizes set by the view).
extern std::int32_t g_RasterWidth;
extern std::int32_t g_RasterHeight;
extern std::int32_t g_RasterStride;         // bytes per row
extern COLORREF g_RasterColor;              // colour converted last
extern std::uint16_t g_RasterColor565;
extern std::uint32_t g_DashPhase;
extern std::uint32_t g_DashLengths[6];      // 6, 9, 10, 13, 16, 19 at start
extern COLORREF g_RasterDrawColor;
extern std::uint8_t g_RasterDrawStyle;      // 0 solid, 1 dashed, 2 dotted, 3 dash-dot
extern std::int32_t g_PenPosX;
extern std::int32_t g_PenPosY;
extern std::uint8_t g_PenPosValid;
// Where the raster line drawer wrote during the view's frame (null outside
// one): the view clears and copies only there.
extern RowDamage* g_RasterDamage;

// Drawing settings: one raw block, its fields under their own names.
extern DrawingSettings g_DrawingSettings;
extern std::int32_t& g_CurrentLineStyle;
extern std::int32_t& g_RubberLineStyle;
extern std::int32_t& g_MarkLineStyle;
extern std::int32_t& g_PenWidth;
extern std::int32_t& g_BackgroundMode;
extern std::int32_t& g_ViewMarker;
extern COLORREF& g_HighlightColor;
extern COLORREF& g_ActiveColor;
extern COLORREF& g_Path1Color;
extern COLORREF& g_Path2Color;
extern COLORREF& g_CurrentColor;
extern COLORREF& g_SelectedColor;
extern COLORREF& g_HollowBrushColor;
extern COLORREF& g_LeadLineColor;
extern COLORREF& g_JumpLineColor;
extern COLORREF& g_RefPointColor;
extern COLORREF& g_Path1SelectedColor;
extern COLORREF& g_Path2SelectedColor;
extern COLORREF& g_EndPointColor;
extern COLORREF& g_PickFillColor;
extern COLORREF& g_PickPenColor;
extern COLORREF& g_ParamLineColor;
extern COLORREF& g_DirectionSignColor;
extern COLORREF& g_SnapColor;
extern COLORREF& g_CursorColor;
extern COLORREF& g_DimensionColor;
extern COLORREF& g_AxisCrossColor;
extern COLORREF& g_AxisFrameColor;
extern COLORREF& g_PreviewBrushColor;
extern COLORREF& g_PreviewBackColor;
extern COLORREF& g_MarkerColor;
extern COLORREF& g_AnnotationColor;
extern COLORREF& g_RefCrossColor;
extern x_Vector g_DimArrowTemplate[3];      // millimetres, tip at the origin
extern x_DirSignData g_DirSignTemplate;
// Brushes 0-4 follow the colours (RecreateDrawingBrushes); 5 is solid white
// (CreateFixedBrushes). Drawing code selects them and never deletes them.
extern CBrush g_DrawingBrushes[6];

// Bounding box of the drawing; an invalid corner means empty.
extern x_Vector g_BoundsMin;
extern x_Vector g_BoundsMax;

// Screen marks that remember themselves, so the next call can remove them
// (world coordinates; the view clears the flags on a full render or a new
// command).
extern std::uint8_t g_RubberLineShown;
extern x_Vector g_RubberLineStart;
extern x_Vector g_RubberLineEnd;
extern std::uint8_t g_GuideLineShown;
extern x_Vector g_GuideLineStart;
extern x_Vector g_GuideLineEnd;
extern std::int32_t g_GuideLineStyle;       // pen style it was drawn with
extern std::uint8_t g_CursorSquareShown;
extern x_Vector g_CursorSquarePoint;
extern std::uint8_t g_SnapMarkShown;
extern std::int32_t g_SnapMarkKind;
extern x_Vector g_SnapMarkPoint;
extern CArray<x_Vector> g_RefPointList;     // reference-point crosses shown
// Path-direction arrows; an index outside raises the invalid-argument exception.
using MarkerSymbolArray = CArray<x_DirSignData>;
extern MarkerSymbolArray g_DirSignList;

// Screen positions of the grip squares drawn since the last full render.
extern CArray<POINT> g_GripPairList;

// 3-D preview angles.
extern View3D g_View3D;

// --- Document (its owner installs g_pDoc) ---
extern CUnitDocument* g_pDoc;
extern std::uint64_t g_UnitIdCounter;       // incremented before each new unit
extern std::int32_t g_undoStep;
extern std::uint8_t g_PropertyPanelShown;
extern std::uint8_t g_SettingsDirty;

// --- View: command state and drawing area ---
extern std::int32_t g_curCommand;
extern std::int32_t g_cmdStep;
extern std::int32_t g_cmdPointCount;
extern std::uint8_t g_LineMode;
extern std::uint8_t g_ArcMode;
extern std::uint8_t g_CircleMode;
extern std::uint8_t g_PolygonByEdge;
extern std::uint8_t g_cmdSubFlag;
extern std::uint8_t g_CurrentDashDot;
extern std::uint8_t g_SnapRestrict;
extern x_Vector g_LineEndPoint;
extern std::int32_t g_rubberShown;
extern std::uint8_t g_pickMark;
extern std::uint8_t g_RubberLineMark;
extern RECT g_ViewClientRect;
extern RECT g_CommandBarRect;

// --- Path engine ---
// One piece that path preparation made: its drawing-list index and the
// listIndex of the unit it came from.
struct create_trail_pt_t {
    std::int32_t index = 0;
    std::int32_t tag = 0;
};
extern CArray<x_TrailDirectionData> g_TrailDirections;
extern CArray<create_trail_pt_t> g_CreateTrailPoints;
extern std::uint8_t g_CutMode;
// The crossing search the path engine installs (path_services.h).
extern int (*g_CollectCrossingsHook)(std::uint64_t skipUnitId, x_Vector t, x_Vector& out);

// --- Spline sampling and the edit settings ---
// Sampling step of the spline builders (mm for cubics, rad for involutes);
// each caller sets it before a build.
extern double g_SplineStep;
// Persisted with the machining settings: the application copies them into
// and out of its settings block when it loads and saves.
extern std::int32_t g_PolygonSides;         // factory value 6
extern double g_WavePeak;                   // 10.0
extern double g_FilletRadius;               // 3.0
extern double g_ChamferDist1;               // 3.0
extern double g_ChamferDist2;               // 3.0
// 0 when a fillet, chamfer, extend or connecting arc starts; -1 when a
// fillet or chamfer does not fit or a polyline to extend is too short.
extern std::int32_t g_EditStatus;

// Puts every global above back to its start value (tests call it in SetUp).
void ResetGeometryState();
