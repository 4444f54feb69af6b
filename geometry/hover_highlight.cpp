#include "geometry/hover_highlight.h"

#include "geometry/CArc.h"
#include "geometry/GeometryState.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

bool HoverHighlightDraws(CUnit& unit, int show, bool marked)
{
    if (show == 0) {
        if (!unit.hoverShown)
            return false;
        unit.hoverShown = 0;
        return true;
    }
    return !(unit.hoverShown || unit.selected || marked);
}

void DrawXorWorldPolyline(CDC* dc, int penStyle, int width, COLORREF colour, const x_VectorArray& points)
{
    CPen pen(penStyle, width, colour);
    CPen* old = dc->SelectObject(&pen);
    const int rop = dc->SetROP2(R2_NOTXORPEN);
    dc->SetBkMode(g_BackgroundMode);
    DrawWorldPolyline(dc, points, 0, nullptr);
    dc->SetROP2(rop);
    dc->SelectObject(old);
}
