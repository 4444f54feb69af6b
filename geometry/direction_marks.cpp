// Path-direction arrows: the arrow record built from the template, its
// drawing in the two styles, and the small filled arrowhead of a path.
#include "geometry/screen_marks.h"

#include "geometry/GeometryState.h"
#include "geometry/View3D.h"
#include "geometry/screen_marks_dc.h"
#include "geometry/text_utils.h"
#include "geometry/view_transform.h"

namespace {

POINT Offset(const POINT& base, const x_Vector& p)
{
    const std::int64_t x = std::int64_t(base.x) + RoundHalfUp(p.x);
    const std::int64_t y = std::int64_t(base.y) + RoundHalfUp(p.y);
    auto clamp = [](std::int64_t v) {
        return static_cast<std::int32_t>(v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : v));
    };
    return {clamp(x), clamp(y)};
}

void FillTriangle(CDC* dc, const POINT (&points)[3], COLORREF colour)
{
    CBrush brush(colour);
    CBrush* old = dc->SelectObject(&brush);
    dc->Polygon(points, 3);
    if (old != nullptr)
        dc->SelectObject(old);
}

} // namespace

void BuildMarkerSymbol(x_DirSignData& out, const x_Vector& base, double angle)
{
    out = g_DirSignTemplate;
    // The template is in pixels with y down: turning by −angle points the
    // finished arrow along the world direction of angle.
    for (x_Vector& p : out.head)
        p.Rotate(-angle);
    for (x_Vector& p : out.pickArea)
        p.Rotate(-angle);
    for (x_Vector& p : out.shaft)
        p.Rotate(-angle);
    out.base = base;
    PlaceMarkerSymbol(out);
    out.direction = 2;
    out.candidateKind = 1;
    out.listIndex = -1;
    out.active = 1;
}

void PlaceMarkerSymbol(x_DirSignData& record)
{
    const POINT b = WorldToScreen(record.base);
    for (int i = 0; i < 3; ++i) {
        record.headScreen[i] = Offset(b, record.head[i]);
        record.pickScreen[i] = Offset(b, record.pickArea[i]);
    }
    for (int i = 0; i < 2; ++i)
        record.shaftScreen[i] = Offset(b, record.shaft[i]);
}

void DrawMarkerSymbol(int index, int style, CDC* dc, const x_DirSignData& record)
{
    if (dc == nullptr || (style != 1 && style != 2))
        return;
    const COLORREF normal = RGB(5, 35, 75);
    MarkScope s(dc, PS_SOLID, RGB(255, 255, 255) - g_EndPointColor, R2_COPYPEN, TRANSPARENT);
    if (style == 1) {
        FillTriangle(dc, record.headScreen, normal);
        dc->MoveTo(record.shaftScreen[0].x, record.shaftScreen[0].y);
        dc->LineTo(record.shaftScreen[1].x, record.shaftScreen[1].y);
        g_PenPosValid = 0;
        return;
    }
    if (index >= 0 && index < g_DirSignList.GetSize())
        FillTriangle(dc, g_DirSignList[index].headScreen, normal);
    FillTriangle(dc, record.headScreen, RGB(100, 255, 100));
}

void DrawPolygonMarker(const x_Vector& point, double angle, double z, CDC* dc)
{
    if (dc == nullptr)
        return;
    const bool view3d = g_curCommand == 22;
    const POINT p = WorldToScreen(view3d ? Project3D(point.x, point.y, z) : point);
    const x_Vector offsets[3] = {{-12, 4}, {-12, -4}, {-7, 0}};
    POINT abc[3];
    for (int i = 0; i < 3; ++i) {
        x_Vector o = offsets[i];
        o.Rotate(-angle);
        if (view3d)
            o = Project3D(o.x, o.y, z);
        abc[i] = Offset(p, o);
    }
    const POINT outline[5] = {abc[0], p, abc[1], abc[2], abc[0]};
    MarkScope s(dc, PS_SOLID, g_DirectionSignColor, R2_COPYPEN, OPAQUE);
    s.Brush(g_DrawingBrushes[3]);
    dc->Polygon(outline, 5);
}
