#include "geometry/GeometryState.h"

double g_ViewScale = 1.0;
std::int32_t g_ViewOriginX = 0;
std::int32_t g_ViewOriginY = 0;

std::int32_t g_RasterWidth = 0;
std::int32_t g_RasterHeight = 0;
std::int32_t g_RasterStride = 0;
RowDamage* g_RasterDamage = nullptr;
COLORREF g_RasterColor = 0;
std::uint16_t g_RasterColor565 = 0;
std::uint32_t g_DashPhase = 0;
std::uint32_t g_DashLengths[6] = {6, 9, 10, 13, 16, 19};
COLORREF g_RasterDrawColor = 0;
std::uint8_t g_RasterDrawStyle = 0;
std::int32_t g_PenPosX = 0;
std::int32_t g_PenPosY = 0;
std::uint8_t g_PenPosValid = 0;

DrawingSettings g_DrawingSettings = {};
std::int32_t& g_CurrentLineStyle = g_DrawingSettings.currentLineStyle;
std::int32_t& g_RubberLineStyle = g_DrawingSettings.rubberLineStyle;
std::int32_t& g_MarkLineStyle = g_DrawingSettings.markLineStyle;
std::int32_t& g_PenWidth = g_DrawingSettings.penWidth;
std::int32_t& g_BackgroundMode = g_DrawingSettings.backgroundMode;
std::int32_t& g_ViewMarker = g_DrawingSettings.viewMarker;
COLORREF& g_HighlightColor = g_DrawingSettings.highlightColor;
COLORREF& g_ActiveColor = g_DrawingSettings.activeColor;
COLORREF& g_Path1Color = g_DrawingSettings.path1Color;
COLORREF& g_Path2Color = g_DrawingSettings.path2Color;
COLORREF& g_CurrentColor = g_DrawingSettings.currentColor;
COLORREF& g_SelectedColor = g_DrawingSettings.selectedColor;
COLORREF& g_HollowBrushColor = g_DrawingSettings.hollowBrushColor;
COLORREF& g_LeadLineColor = g_DrawingSettings.leadLineColor;
COLORREF& g_JumpLineColor = g_DrawingSettings.jumpLineColor;
COLORREF& g_RefPointColor = g_DrawingSettings.refPointColor;
COLORREF& g_Path1SelectedColor = g_DrawingSettings.path1SelectedColor;
COLORREF& g_Path2SelectedColor = g_DrawingSettings.path2SelectedColor;
COLORREF& g_EndPointColor = g_DrawingSettings.endPointColor;
COLORREF& g_PickFillColor = g_DrawingSettings.pickFillColor;
COLORREF& g_PickPenColor = g_DrawingSettings.pickPenColor;
COLORREF& g_ParamLineColor = g_DrawingSettings.paramLineColor;
COLORREF& g_DirectionSignColor = g_DrawingSettings.directionSignColor;
COLORREF& g_SnapColor = g_DrawingSettings.snapColor;
COLORREF& g_CursorColor = g_DrawingSettings.cursorColor;
COLORREF& g_DimensionColor = g_DrawingSettings.dimensionColor;
COLORREF& g_AxisCrossColor = g_DrawingSettings.axisCrossColor;
COLORREF& g_AxisFrameColor = g_DrawingSettings.axisFrameColor;
COLORREF& g_PreviewBrushColor = g_DrawingSettings.previewBrushColor;
COLORREF& g_PreviewBackColor = g_DrawingSettings.previewBackColor;
COLORREF& g_MarkerColor = g_DrawingSettings.markerColor;
COLORREF& g_AnnotationColor = g_DrawingSettings.annotationColor;
COLORREF& g_RefCrossColor = g_DrawingSettings.refCrossColor;
x_Vector g_DimArrowTemplate[3];
x_DirSignData g_DirSignTemplate;
CBrush g_DrawingBrushes[6];

x_Vector g_BoundsMin(0.0, 0.0, 0);
x_Vector g_BoundsMax(0.0, 0.0, 0);

std::uint8_t g_RubberLineShown = 0;
x_Vector g_RubberLineStart;
x_Vector g_RubberLineEnd;
std::uint8_t g_GuideLineShown = 0;
x_Vector g_GuideLineStart;
x_Vector g_GuideLineEnd;
std::int32_t g_GuideLineStyle = 0;
std::uint8_t g_CursorSquareShown = 0;
x_Vector g_CursorSquarePoint;
std::uint8_t g_SnapMarkShown = 0;
std::int32_t g_SnapMarkKind = 0;
x_Vector g_SnapMarkPoint;
CArray<x_Vector> g_RefPointList;
MarkerSymbolArray g_DirSignList;
CArray<POINT> g_GripPairList;
View3D g_View3D;

CUnitDocument* g_pDoc = nullptr;
std::uint64_t g_UnitIdCounter = 0;
std::int32_t g_undoStep = 0;
std::uint8_t g_PropertyPanelShown = 0;
std::uint8_t g_SettingsDirty = 0;

std::int32_t g_curCommand = 0;
std::int32_t g_cmdStep = 0;
std::int32_t g_cmdPointCount = 0;
std::uint8_t g_LineMode = 0;
std::uint8_t g_ArcMode = 0;
std::uint8_t g_CircleMode = 0;
std::uint8_t g_PolygonByEdge = 0;
std::uint8_t g_cmdSubFlag = 0;
std::uint8_t g_CurrentDashDot = 0;
std::uint8_t g_SnapRestrict = 0;
x_Vector g_LineEndPoint;
std::int32_t g_rubberShown = 0;
std::uint8_t g_pickMark = 0;
std::uint8_t g_RubberLineMark = 0;
RECT g_ViewClientRect;
RECT g_CommandBarRect;

CArray<x_TrailDirectionData> g_TrailDirections;
CArray<create_trail_pt_t> g_CreateTrailPoints;
std::uint8_t g_CutMode = 0;
int (*g_CollectCrossingsHook)(std::uint64_t, x_Vector, x_Vector&) = nullptr;

double g_SplineStep = 0.5;
std::int32_t g_PolygonSides = 6;
double g_WavePeak = 10.0;
double g_FilletRadius = 3.0;
double g_ChamferDist1 = 3.0;
double g_ChamferDist2 = 3.0;
std::int32_t g_EditStatus = 0;

void ResetGeometryState()
{
    g_ViewScale = 1.0;
    g_ViewOriginX = g_ViewOriginY = 0;
    g_RasterWidth = g_RasterHeight = g_RasterStride = 0;
    g_RasterDamage = nullptr;
    g_RasterColor = 0;
    g_RasterColor565 = 0;
    g_DashPhase = 0;
    const std::uint32_t dashes[6] = {6, 9, 10, 13, 16, 19};
    for (int i = 0; i < 6; ++i)
        g_DashLengths[i] = dashes[i];
    g_RasterDrawColor = 0;
    g_RasterDrawStyle = 0;
    g_PenPosX = g_PenPosY = 0;
    g_PenPosValid = 0;

    g_DrawingSettings = DrawingSettings{};
    for (x_Vector& p : g_DimArrowTemplate)
        p = x_Vector();
    g_DirSignTemplate = x_DirSignData();
    for (int i = 5; i >= 0; --i)
        g_DrawingBrushes[i].DeleteObject();
    g_BoundsMin = x_Vector(0.0, 0.0, 0);
    g_BoundsMax = x_Vector(0.0, 0.0, 0);
    g_RubberLineShown = g_GuideLineShown = g_CursorSquareShown = g_SnapMarkShown = 0;
    g_RubberLineStart = g_RubberLineEnd = g_GuideLineStart = g_GuideLineEnd = x_Vector();
    g_CursorSquarePoint = g_SnapMarkPoint = x_Vector();
    g_SnapMarkKind = 0;
    g_GuideLineStyle = 0;
    g_RefPointList.RemoveAll();
    g_DirSignList.RemoveAll();
    g_GripPairList.RemoveAll();
    g_View3D = View3D();

    g_pDoc = nullptr;
    g_UnitIdCounter = 0;
    g_undoStep = 0;
    g_PropertyPanelShown = 0;
    g_SettingsDirty = 0;

    g_curCommand = g_cmdStep = g_cmdPointCount = 0;
    g_LineMode = g_ArcMode = g_CircleMode = g_PolygonByEdge = g_cmdSubFlag = 0;
    g_CurrentDashDot = 0;
    g_SnapRestrict = 0;
    g_LineEndPoint = x_Vector();
    g_rubberShown = 0;
    g_pickMark = 0;
    g_RubberLineMark = 0;
    g_ViewClientRect = RECT();
    g_CommandBarRect = RECT();

    g_TrailDirections.RemoveAll();
    g_CreateTrailPoints.RemoveAll();
    g_CutMode = 0;
    g_CollectCrossingsHook = nullptr;

    g_SplineStep = 0.5;
    g_PolygonSides = 6;
    g_WavePeak = 10.0;
    g_FilletRadius = g_ChamferDist1 = g_ChamferDist2 = 3.0;
    g_EditStatus = 0;
}
