#include "geometry/screen_marks.h"

#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/grip_pairs.h"
#include "geometry/View3D.h"
#include "geometry/screen_marks_dc.h"
#include "geometry/text_utils.h"
#include "geometry/view_transform.h"

MarkScope::MarkScope(CDC* dc, int penStyle, COLORREF penColour, int rop, int bkMode)
    : m_dc(dc), m_pen(penStyle, 1, penColour)
{
    m_oldPen = m_dc->SelectObject(&m_pen);
    m_oldRop = m_dc->SetROP2(rop);
    m_oldBk = m_dc->SetBkMode(bkMode);
}

MarkScope::~MarkScope()
{
    if (m_brushSelected && !m_keepBrush && m_oldBrush != nullptr)
        m_dc->SelectObject(m_oldBrush);
    m_dc->SetBkMode(m_oldBk);
    m_dc->SetROP2(m_oldRop);
    if (m_oldPen != nullptr)
        m_dc->SelectObject(m_oldPen);
}

void MarkScope::Brush(CBrush& brush, bool keepBrush)
{
    // A brush whose creation failed leaves the context's brush as it was.
    if (brush.GetSafeHandle() == nullptr)
        return;
    CBrush* old = m_dc->SelectObject(&brush);
    if (!m_brushSelected) {
        m_oldBrush = old;
        m_brushSelected = true;
    }
    m_keepBrush = keepBrush;
}

POINT ScreenOf(const x_Vector& p)
{
    return WorldToScreen(p);
}

void ScreenLine(CDC* dc, const x_Vector& a, const x_Vector& b)
{
    const POINT s = ScreenOf(a), e = ScreenOf(b);
    dc->MoveTo(s.x, s.y);
    dc->LineTo(e.x, e.y);
    g_PenPosValid = 0;
}

namespace {

void Square(CDC* dc, const POINT& c, int n)
{
    dc->Rectangle(c.x - n, c.y - n, c.x + n, c.y + n);
}

void Cross(CDC* dc, const POINT& c)
{
    dc->MoveTo(c.x, c.y - 8);
    dc->LineTo(c.x, c.y + 8);
    dc->MoveTo(c.x - 8, c.y);
    dc->LineTo(c.x + 8, c.y);
    g_PenPosValid = 0;
}

int FindRefPoint(const x_Vector& point)
{
    for (int i = 0; i < g_RefPointList.GetSize(); ++i)
        if (g_RefPointList[i] == point)
            return i;
    return -1;
}

} // namespace

void DrawPickBox(const x_Vector& point, CDC* dc)
{
    if (dc == nullptr)
        return;
    MarkScope s(dc, PS_SOLID, g_PickPenColor, R2_COPYPEN, OPAQUE);
    s.Brush(g_DrawingBrushes[2], true);
    Square(dc, ScreenOf(point), 8);
}

void EraseRubberLine(CDC* dc)
{
    if (dc == nullptr)
        return;
    MarkScope s(dc, PS_SOLID, g_ActiveColor, R2_NOTXORPEN, OPAQUE);
    if (g_RubberLineShown) {
        ScreenLine(dc, g_RubberLineStart, g_RubberLineEnd);
        g_RubberLineShown = 0;
    }
}

void DrawRubberLineAlt(const x_Vector& start, const x_Vector& end, CDC* dc)
{
    if (dc == nullptr)
        return;
    EraseRubberLine(dc);
    MarkScope s(dc, PS_SOLID, g_ActiveColor, R2_NOTXORPEN, OPAQUE);
    g_RubberLineStart = start;
    g_RubberLineEnd = end;
    g_RubberLineShown = 1;
    g_RubberLineMark = 1;
    ScreenLine(dc, start, end);
}

void DrawXorSegment(const x_Vector& start, const x_Vector& end, CDC* dc)
{
    if (dc == nullptr)
        return;
    MarkScope s(dc, PS_SOLID, g_LeadLineColor, R2_NOTXORPEN, OPAQUE);
    ScreenLine(dc, start, end);
}

// The guide line is removed with the pen style it was drawn with: a dotted
// line removed with a solid pen left its gaps inverted on the screen.
void DrawGuideLine(CDC* dc)
{
    if (dc == nullptr)
        return;
    MarkScope s(dc, g_GuideLineStyle, g_LeadLineColor, R2_NOTXORPEN, OPAQUE);
    if (g_GuideLineShown) {
        ScreenLine(dc, g_GuideLineStart, g_GuideLineEnd);
        g_GuideLineShown = 0;
    }
}

void DrawRubberLine(const x_Vector& start, const x_Vector& end, int mode, CDC* dc)
{
    if (dc == nullptr)
        return;
    DrawGuideLine(dc);
    const int style = mode == 1 ? PS_DOT : PS_SOLID;
    MarkScope s(dc, style, g_LeadLineColor, R2_NOTXORPEN, OPAQUE);
    g_GuideLineStart = start;
    g_GuideLineEnd = end;
    g_GuideLineStyle = style;
    g_GuideLineShown = 1;
    ScreenLine(dc, start, end);
}

void DrawGripSquareAtCursor(CDC* dc)
{
    if (dc == nullptr)
        return;
    MarkScope s(dc, PS_SOLID, g_EndPointColor, R2_NOTXORPEN, OPAQUE);
    s.Brush(g_DrawingBrushes[0]);
    if (g_CursorSquareShown)
        Square(dc, ScreenOf(g_CursorSquarePoint), 8);
    g_CursorSquareShown = 0;
}

void DrawFilledGrip(const x_Vector& point, CDC* dc)
{
    if (dc == nullptr)
        return;
    CBrush fill(g_EndPointColor);
    {
        MarkScope s(dc, PS_SOLID, g_EndPointColor, R2_NOTXORPEN, OPAQUE);
        s.Brush(fill);
        if (g_CursorSquareShown)
            Square(dc, ScreenOf(g_CursorSquarePoint), 8);
        g_CursorSquarePoint = point;
        g_CursorSquareShown = 1;
        Square(dc, ScreenOf(point), 8);
    }
}

void DrawPolylineXor(const x_Vector& point, CDC* dc)
{
    if (dc == nullptr)
        return;
    const int at = FindRefPoint(point);
    if (at < 0)
        return;
    MarkScope s(dc, PS_SOLID, g_RefPointColor, R2_NOTXORPEN, OPAQUE);
    Cross(dc, ScreenOf(point));
    g_RefPointList.RemoveAt(at);
}

void DrawRubberPolyline(const x_Vector& point, CDC* dc)
{
    if (dc == nullptr)
        return;
    const int at = FindRefPoint(point);
    if (at >= 0)
        g_RefPointList.RemoveAt(at);
    else
        g_RefPointList.Add(point);
    MarkScope s(dc, PS_SOLID, g_RefPointColor, R2_NOTXORPEN, OPAQUE);
    Cross(dc, ScreenOf(point));
}

void DrawWhiteLine(const x_Vector& start, const x_Vector& end, CDC* dc)
{
    if (dc == nullptr)
        return;
    MarkScope s(dc, PS_SOLID, RGB(255, 255, 255), R2_COPYPEN, OPAQUE);
    ScreenLine(dc, start, end);
}

void DrawCircleMarker(CDC* dc, int x, int y)
{
    if (dc == nullptr)
        return;
    MarkScope s(dc, PS_SOLID, RGB(255, 255, 255) - g_MarkerColor, R2_COPYPEN, g_BackgroundMode);
    s.Brush(g_DrawingBrushes[4]);
    dc->Ellipse(x - 4, y - 4, x + 4, y + 4);
}

void DrawCrossLines(const x_Vector& point, double z, CDC* dc)
{
    if (dc == nullptr)
        return;
    const double h = 100.0 / ClampViewScale() * 0.06;     // 6 pixels
    const x_Vector corners[4] = {{point.x - h, point.y + h}, {point.x + h, point.y + h},
                                 {point.x + h, point.y - h}, {point.x - h, point.y - h}};
    POINT p[4];
    for (int i = 0; i < 4; ++i)
        p[i] = ScreenOf(Project3D(corners[i].x, corners[i].y, z));
    MarkScope s(dc, PS_SOLID, g_EndPointColor, R2_NOTXORPEN, g_BackgroundMode);
    s.Brush(g_DrawingBrushes[5]);
    dc->MoveTo(p[0].x, p[0].y);
    for (int i = 1; i <= 4; ++i)
        dc->LineTo(p[i % 4].x, p[i % 4].y);
    g_PenPosValid = 0;
}

void DrawGripBox(CDC* dc, int x, int y)
{
    if (dc == nullptr)
        return;
    MarkScope s(dc, PS_SOLID, g_EndPointColor, R2_NOTXORPEN, g_BackgroundMode);
    s.Brush(g_DrawingBrushes[1]);
    dc->Rectangle(x - 8, y - 8, x + 8, y + 8);
}

void DrawSnapShape(int kind, CDC* dc, int x, int y)
{
    if (dc == nullptr)
        return;
    auto path = [dc](std::initializer_list<POINT> points) {
        auto it = points.begin();
        dc->MoveTo(it->x, it->y);
        for (++it; it != points.end(); ++it)
            dc->LineTo(it->x, it->y);
    };
    switch (kind) {
    case 1:
    case 3:
        dc->Rectangle(x - 8, y - 8, x + 8, y + 8);
        break;
    case 2:
        path({{x - 8, y + 8}, {x + 8, y + 8}, {x, y - 8}, {x - 8, y + 8}});
        break;
    case 4:
        path({{x - 8, y - 8}, {x + 8, y - 8}, {x - 8, y + 8}, {x + 8, y + 8}, {x - 8, y - 8}});
        break;
    case 5:
        path({{x - 8, y - 8}, {x - 8, y + 8}, {x + 8, y + 8}});
        break;
    case 6:
        path({{x - 8, y - 8}, {x + 8, y + 8}});
        path({{x + 8, y - 8}, {x - 8, y + 8}});
        break;
    case 8:
        dc->Ellipse(x - 7, y - 7, x + 7, y + 7);
        path({{x - 8, y - 8}, {x + 8, y - 8}});
        break;
    default:
        return;
    }
    g_PenPosValid = 0;
}

void DrawMarkerXor(CDC* dc)
{
    if (dc == nullptr)
        return;
    MarkScope s(dc, PS_SOLID, g_SnapColor, R2_NOTXORPEN, OPAQUE);
    s.Brush(g_DrawingBrushes[5]);
    if (g_SnapMarkShown) {
        const POINT p = ScreenOf(g_SnapMarkPoint);
        DrawSnapShape(g_SnapMarkKind, dc, p.x, p.y);
    }
    g_SnapMarkShown = 0;
}

void DrawMarkerXor2(int kind, const x_Vector& point, CDC* dc)
{
    if (dc == nullptr)
        return;
    DrawMarkerXor(dc);
    MarkScope s(dc, PS_SOLID, g_SnapColor, R2_NOTXORPEN, OPAQUE);
    s.Brush(g_DrawingBrushes[5]);
    g_SnapMarkKind = kind;
    g_SnapMarkPoint = point;
    g_SnapMarkShown = 1;
    const POINT p = ScreenOf(point);
    DrawSnapShape(kind, dc, p.x, p.y);
}

void DrawCyanGrip(const x_Vector& point, CDC* dc)
{
    if (dc == nullptr)
        return;
    MarkScope s(dc, PS_SOLID, RGB(0, 255, 255), R2_NOTXORPEN, OPAQUE);
    s.Brush(g_DrawingBrushes[5]);
    Square(dc, ScreenOf(point), 3);
}

bool GripSquareHit(const x_Vector& cursor, const x_Vector& grip)
{
    const POINT c = ScreenOf(cursor), g = ScreenOf(grip);
    const std::int64_t dx = std::int64_t(g.x) - c.x, dy = std::int64_t(g.y) - c.y;
    return dx >= -8 && dx < 8 && dy >= -8 && dy < 8;
}

int FindGripNear(const CArray<x_Vector>& grips, const x_Vector& point, x_Vector& hit)
{
    for (int i = 0; i < grips.GetSize(); ++i) {
        if (GripSquareHit(point, grips[i])) {
            hit = grips[i];
            return i + 1;
        }
    }
    return 0;
}

void ClearRenderMarks()
{
    g_PenPosValid = 0;
    g_GripPairList.RemoveAll();
    g_RefPointList.RemoveAll();
    g_SnapMarkShown = 0;
    g_CursorSquareShown = 0;
}

void ClearCommandMarks()
{
    g_RubberLineShown = 0;
    g_GuideLineShown = 0;
    g_SnapMarkShown = 0;
}

void DrawGripSquares(CUnit& unit, CDC* dc)
{
    if (dc == nullptr || unit.gearKind != 0)
        return;
    unit.EnsureGripPoints();
    MarkScope s(dc, PS_SOLID, g_EndPointColor, R2_NOTXORPEN, g_BackgroundMode);
    s.Brush(g_DrawingBrushes[0]);
    for (int i = 0; i < unit.gripPoints.GetSize(); ++i) {
        const POINT p = ScreenOf(unit.gripPoints[i]);
        if (!AddUniquePair(p.x, p.y))
            Square(dc, p, 8);
    }
}
