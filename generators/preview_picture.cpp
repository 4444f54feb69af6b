#include "generators/preview_picture.h"

#include <algorithm>
#include <cmath>

#include "geometry/CArc.h"
#include "geometry/CSplines.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/curve_helpers.h"
#include "geometry/text_utils.h"
#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

namespace {

// Boxes narrower than this are widened so that a point or a straight line
// does not blow the scale up.
constexpr double kMinBox = 0.8;
constexpr COLORREF kCircleColour = 0x4000;

struct Picture {
    CDC* dc;
    int width;
    int height;
    const PreviewMapping& map;
};

bool OffPicture(const Picture& p, POINT a, POINT b)
{
    return (a.x < 0 && b.x < 0) || (a.x > p.width && b.x > p.width) || (a.y < 0 && b.y < 0)
        || (a.y > p.height && b.y > p.height);
}

// A point on the pixel of the one before is skipped; a segment wholly off
// one side of the picture is not drawn and the pen is lifted.
void DrawPolyline(const Picture& p, const x_VectorArray& points)
{
    bool penDown = false;
    POINT last{};
    for (int i = 0; i < points.GetSize(); ++i) {
        const POINT q = PreviewPixel(p.map, points[i]);
        if (i == 0) {
            last = q;
            continue;
        }
        if (q.x == last.x && q.y == last.y)
            continue;
        if (OffPicture(p, last, q)) {
            penDown = false;
        } else {
            if (!penDown)
                p.dc->MoveTo(last);
            p.dc->LineTo(q);
            penDown = true;
        }
        last = q;
    }
}

void DrawUnit(const Picture& p, CUnit* u, double splineStep)
{
    switch (u->GetType()) {
    case 1: {
        const POINT a = PreviewPixel(p.map, u->geometry.line.p1);
        const POINT b = PreviewPixel(p.map, u->geometry.line.p2);
        p.dc->MoveTo(a);
        p.dc->LineTo(b);
        break;
    }
    case 7: {
        const CircleRecord& c = u->geometry.circle;
        const POINT a = PreviewPixel(p.map, c.centre - x_Vector(c.radius, c.radius));
        const POINT b = PreviewPixel(p.map, c.centre + x_Vector(c.radius, c.radius));
        CPen pen(PS_SOLID, 1, kCircleColour);
        CPen* old = p.dc->SelectObject(&pen);
        CGdiObject* oldBrush = p.dc->SelectStockObject(HOLLOW_BRUSH);
        p.dc->Ellipse(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
        p.dc->SelectObject(oldBrush);
        p.dc->SelectObject(old);
        break;
    }
    case 8: {
        const ArcRecord& a = u->geometry.arc;
        FlattenArc(u->workCurve, a.centre, a.radius, a.startAngle, a.endAngle, a.direction, 0);
        DrawPolyline(p, u->workCurve);
        break;
    }
    case 11: {
        auto* s = static_cast<CSplines*>(u);
        s->keyPoints.Copy(s->nodes);
        g_SplineStep = splineStep;
        s->workGeometry.spline = s->geometry.spline;
        if (s->geometry.spline.kind == 1)
            s->BuildInvoluteCurve();
        else
            s->RebuildCurve(0);
        DrawPolyline(p, s->workCurve);
        break;
    }
    default:
        break;
    }
}

} // namespace

POINT PreviewPixel(const PreviewMapping& m, const x_Vector& p)
{
    return POINT{RoundHalfUp(p.x * m.scale + m.originX), RoundHalfUp(m.originY - p.y * m.scale)};
}

bool FitPreviewMapping(const CUnitArray& units, const PreviewFit& fit, PreviewMapping& mapping)
{
    bool any = false;
    x_Vector lo, hi;
    for (CUnit* u : units) {
        if (fit.skipCircles && u->GetType() == 7)
            continue;
        u->ComputeExtents();
        lo = any ? x_Vector::MinCorner(lo, u->extentMin) : u->extentMin;
        hi = any ? x_Vector::MaxCorner(hi, u->extentMax) : u->extentMax;
        any = true;
    }
    if (!any)
        return false;
    const double w = std::max(hi.x - lo.x, kMinBox);
    const double h = std::max(hi.y - lo.y, kMinBox);
    const double scale = std::min(fit.boxHeight / h, fit.boxWidth / w);
    const double ox = fit.centreX - (lo.x + hi.x) / 2.0 * scale;
    const double oy = fit.centreY + (lo.y + hi.y) / 2.0 * scale;
    // A box beyond the int range cannot be shown; the mapping stays.
    if (!(std::fabs(ox) < 1e9 && std::fabs(oy) < 1e9 && scale > 0.0))
        return false;
    mapping.scale = scale;
    mapping.originX = static_cast<int>(ox);
    mapping.originY = static_cast<int>(oy);
    return true;
}

void DrawPreviewPicture(CDC* dc, int left, int top, int width, int height, const PreviewMapping& m,
                        const CUnitArray& units, double splineStep)
{
    CDC mem;
    mem.CreateCompatibleDC(dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(dc, width, height);
    CBitmap* oldBitmap = mem.SelectObject(&bitmap);
    mem.FillSolidRect(0, 0, width, height, RGB(0, 0, 0));
    const Picture p{&mem, width, height, m};
    {
        CPen dotted(PS_DOT, 1, g_AxisCrossColor);
        CPen* old = mem.SelectObject(&dotted);
        mem.SetBkMode(TRANSPARENT);
        mem.MoveTo(m.originX, 0);
        mem.LineTo(m.originX, height);
        mem.MoveTo(0, m.originY);
        mem.LineTo(width, m.originY);
        mem.SelectObject(old);
    }
    CPen white(PS_SOLID, 1, RGB(255, 255, 255));
    CPen* old = mem.SelectObject(&white);
    mem.SetROP2(R2_COPYPEN);
    for (CUnit* u : units)
        DrawUnit(p, u, splineStep);
    mem.SelectObject(old);
    dc->BitBlt(left, top, width, height, &mem, 0, 0, SRCCOPY);
    mem.SelectObject(oldBitmap);
}
