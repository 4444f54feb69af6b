#include "geometry/dc_lines.h"

#include "geometry/GeometryState.h"
#include "geometry/raster.h"
#include "geometry/text_utils.h"
#include "geometry/view_transform.h"
#include "platform/gdi/CDC.h"

void DrawLineTo(CDC* dc, const x_Vector& point)
{
    if (dc == nullptr)
        return;
    const POINT p = WorldToScreen(point);
    dc->LineTo(p.x, p.y);
    // The pen moved without the cache: the next cached line must move first.
    g_PenPosValid = 0;
}

void LineToCached(CDC* dc, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1)
{
    if (dc == nullptr)
        return;
    if (!g_PenPosValid || x0 != g_PenPosX || y0 != g_PenPosY) {
        dc->MoveTo(x0, y0);
        g_PenPosX = x0;
        g_PenPosY = y0;
        g_PenPosValid = 1;
    }
    if (x1 == x0 && y1 == y0)
        return;
    dc->LineTo(x1, y1);
    g_PenPosX = x1;
    g_PenPosY = y1;
}

namespace {

bool WhollyOff(const POINT& a, const POINT& b, std::int64_t w, std::int64_t h)
{
    return (a.x < 0 && b.x < 0) || (a.x > w && b.x > w) || (a.y < 0 && b.y < 0)
        || (a.y > h && b.y > h);
}

} // namespace

int DrawPointList(CDC* dc, const CArray<x_Vector>& points, int rasterFlag, std::uint8_t* raster,
                  PointListCull cull)
{
    g_PenPosValid = 0;
    const RECT& client = g_ViewClientRect;
    const std::int64_t w = std::int64_t(client.right) - client.left;
    std::int64_t h = std::int64_t(client.bottom) - client.top;
    if (cull == PointListCull::aboveCommandBar)
        h -= std::int64_t(g_CommandBarRect.bottom) - g_CommandBarRect.top - 20;
    const std::uint8_t style = g_RasterDrawStyle > 3 ? 0 : g_RasterDrawStyle;
    POINT previous{};
    for (int i = 0; i < points.GetSize(); ++i) {
        const x_Vector& p = points[i];
        const POINT pixel{RoundHalfUp(p.x * g_ViewScale + g_ViewOriginX),
                          RoundHalfUp(g_ViewOriginY - p.y * g_ViewScale)};
        if (i > 0 && !(pixel.x == previous.x && pixel.y == previous.y)
            && !WhollyOff(previous, pixel, w, h)) {
            if (rasterFlag == 0)
                LineToCached(dc, previous.x, previous.y, pixel.x, pixel.y);
            else if (raster != nullptr)
                DrawLineRGB565(raster, previous.x, previous.y, pixel.x, pixel.y, g_RasterDrawColor, style);
        }
        previous = pixel;
    }
    return points.GetSize();
}
