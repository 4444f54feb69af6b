#include "geometry/DrawingSettings.h"

#include "geometry/GeometryState.h"

void SetDefaultDrawingSettings()
{
    DrawingSettings& s = g_DrawingSettings;
    s.currentLineStyle = 0;
    s.rubberLineStyle = 0;
    s.markLineStyle = 2;
    s.penWidth = 1;
    s.backgroundMode = 1;               // transparent
    s.viewMarker = 10;
    s.highlightColor = RGB(0, 128, 255);
    s.activeColor = RGB(255, 0, 255);
    s.path1Color = RGB(255, 0, 255);
    s.path2Color = RGB(0, 128, 255);
    s.currentColor = RGB(255, 255, 255);
    s.selectedColor = RGB(255, 0, 0);
    s.hollowBrushColor = RGB(255, 255, 255);
    s.leadLineColor = RGB(180, 50, 0);
    s.jumpLineColor = RGB(0, 128, 255);
    s.refPointColor = RGB(50, 150, 150);
    s.path1SelectedColor = RGB(0, 192, 128);
    s.path2SelectedColor = RGB(0, 128, 255);
    s.endPointColor = RGB(255, 255, 0);
    s.pickFillColor = RGB(255, 0, 0);
    s.pickPenColor = RGB(255, 0, 0);
    s.paramLineColor = RGB(200, 150, 50);
    s.directionSignColor = RGB(0, 255, 64);
    s.snapColor = RGB(0, 160, 255);
    s.reserved26 = 0;
    s.cursorColor = RGB(80, 40, 40);
    s.dimensionColor = RGB(0, 255, 0);
    s.axisCrossColor = RGB(0, 20, 40);
    s.axisFrameColor = RGB(0, 100, 100);
    s.previewBrushColor = RGB(0, 0, 0);
    s.previewBackColor = RGB(0, 0, 0);
    s.markerColor = RGB(0, 255, 255);
    s.annotationColor = RGB(0, 255, 0);
    s.refCrossColor = RGB(128, 128, 0);

    g_DimArrowTemplate[0] = x_Vector(0.0, 0.0);
    g_DimArrowTemplate[1] = x_Vector(2.0, 0.25);
    g_DimArrowTemplate[2] = x_Vector(2.0, -0.25);
    SetDefaultDirSignTemplate();
}

void SetDefaultDirSignTemplate()
{
    x_DirSignData& t = g_DirSignTemplate;
    t.head[0] = x_Vector(20.0, -6.0);
    t.head[1] = x_Vector(20.0, 6.0);
    t.head[2] = x_Vector(60.0, 0.0);
    t.shaft[0] = x_Vector(0.0, 0.0);
    t.shaft[1] = x_Vector(20.0, 0.0);
    t.pickArea[0] = x_Vector(20.0, -200.0);
    t.pickArea[1] = x_Vector(20.0, 200.0);
    t.pickArea[2] = x_Vector(400.0, 0.0);
}

namespace {

void MakeBrush(CBrush& brush, unsigned style, COLORREF colour)
{
    brush.DeleteObject();
    const LOGBRUSH lb{style, colour, 0};
    brush.CreateBrushIndirect(&lb);
}

} // namespace

void RecreateDrawingBrushes()
{
    MakeBrush(g_DrawingBrushes[0], BS_NULL, g_EndPointColor);
    MakeBrush(g_DrawingBrushes[1], BS_NULL, g_HollowBrushColor);
    MakeBrush(g_DrawingBrushes[2], BS_SOLID, g_PickFillColor);
    g_DrawingBrushes[3].DeleteObject();
    g_DrawingBrushes[3].CreateSolidBrush(g_DirectionSignColor);
    MakeBrush(g_DrawingBrushes[4], BS_SOLID, RGB(255, 255, 255) - g_MarkerColor);
}

void CreateFixedBrushes()
{
    MakeBrush(g_DrawingBrushes[5], BS_SOLID, RGB(255, 255, 255));
}
