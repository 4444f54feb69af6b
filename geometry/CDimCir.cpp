#include "geometry/CDimCir.h"

#include <cmath>

#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "geometry/plane_geometry.h"
#include "geometry/view_transform.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CDC.h"

IMPLEMENT_SERIAL(CDimCir, CUnit, 1)

namespace {

constexpr double kShoulderPixels = 40.0;

double Turned(double a, double by)
{
    a += by;
    return a > kTwoPi ? a - kTwoPi : a;
}

} // namespace

void CDimCir::Serialize(CArchive& ar)
{
    CUnit::Serialize(ar);
    SerializeTail(ar, Tail::shared);
}

//   radius:   lineStart = p1
//   diameter: lineStart = p1 + R·dir(angle + π)
//   lineEnd = p2 when outside (|p2 − p1| > R), else p1 + R·dir(angle)
bool CDimCir::BuildDimensionLine()
{
    const DimensionRecord& w = Working();
    const double r = w.distance;
    const bool outside = x_Vector::Distance(w.p2, w.p1) > r;
    lineStart = radiusMode ? w.p1 : w.p1 + x_Vector::FromPolar(r, Turned(w.angle, kPi));
    lineEnd = outside ? w.p2 : w.p1 + x_Vector::FromPolar(r, w.angle);
    return outside;
}

void CDimCir::Draw(CDC* dc, int mode, std::uint8_t* raster)
{
    const UnitDrawStyle style = BeginDraw(mode);
    DimPenScope pen(dc, style.lineStyle, style.colour, R2_COPYPEN);
    // The arrowheads are filled in the line's colour, like the angle
    // dimension's; the context's brush was whatever the last caller left.
    pen.Brush(BS_SOLID, style.colour);
    DimensionRecord& w = Working();
    if (mode == 0)
        w.value = radiusMode ? w.distance : 2 * w.distance;
    const bool outside = BuildDimensionLine();
    text.Format(radiusMode ? u"R %.4f" : u"Ø %.4f", w.value);
    const DimLineSink sink{dc, raster, true};
    sink(lineEnd, lineStart);
    SetSegment(0, lineStart, lineEnd);
    const double theta = DirectionOf(lineStart, lineEnd);
    if (!radiusMode)
        DrawArrowhead(dc, lineStart, theta);
    if (outside) {
        const double s = ClampViewScale();
        const double length = 100.0 / s * 0.4;
        const bool left = w.angle >= kPi / 2 && w.angle <= 3 * kPi / 2;
        lineStart = lineEnd + x_Vector(left ? -length : length, 0);
        sink(lineEnd, lineStart);
    } else {
        DrawArrowhead(dc, lineEnd, Turned(theta, kPi));
    }
    DrawDimLabel(dc, (lineStart + lineEnd) / 2.0, text, style.colour);
    if (!gripsValid) {
        gripsValid = 1;
        UpdateGripPoints();
        ComputeExtents();
    }
}

void CDimCir::DrawRubber(CDC* dc, x_Vector)
{
    if (dc == nullptr)
        return;
    DimPenScope pen(dc, g_RubberLineStyle, g_ActiveColor, R2_NOTXORPEN);
    pen.Brush(static_cast<unsigned>(brushStyle), g_ActiveColor);
    const bool outside = BuildDimensionLine();
    DimLineSink{dc, nullptr, false}(lineStart, lineEnd);
    const double theta = DirectionOf(lineStart, lineEnd);
    if (!radiusMode)
        DrawArrowhead(dc, lineStart, theta);
    // Drawn twice to disappear: an inner arrowhead still on screen when the
    // text crosses the circle is drawn once more.
    if (!outside || arrowShown) {
        DrawArrowhead(dc, lineEnd, Turned(theta, kPi));
        arrowShown = arrowShown ? 0 : 1;
    }
    if (outside)
        arrowShown = 0;
}

void CDimCir::InteractiveStep(CDC* dc, CUnitView*, x_Vector p)
{
    if (g_cmdStep != 4 && g_cmdPointCount != 1)
        return;
    if (rubberShown)
        DrawRubber(dc, p);
    DimensionRecord& w = Working();
    w.angle = DirectionOf(w.p1, p);
    w.p2 = p;
    rubberShown = 1;
    DrawRubber(dc, p);
}

void CDimCir::OnPick(CDC* dc, CUnitView* view, x_Vector point)
{
    PickDimension(dc, view, point, false);
}

bool CDimCir::HitTest(x_Vector p, std::uint8_t exact)
{
    if (exact) {
        if (!PointOnSegment(segments[0].p1, segments[0].p2, p))
            return false;
        lastSegment = 0;
        return true;
    }
    lastSegment = 0;
    x_Vector near;
    NearestPoint(near, p, 0);
    if (!near.valid)
        return false;
    const POINT a = WorldToScreen(near), c = WorldToScreen(p);
    const bool inSquare = a.x >= c.x - 8 && a.x < c.x + 8 && a.y >= c.y - 8 && a.y < c.y + 8;
    if (!inSquare || !PointOnSegment(segments[0].p1, segments[0].p2, near))
        return false;
    edit->hitPoint = near;
    hitSegment = 0;
    return true;
}

void CDimCir::ComputeExtents()
{
    const DimensionRecord& w = Working();
    const x_Vector rim = w.p1 + x_Vector::FromPolar(w.distance, w.angle);
    extentMin = x_Vector::MinCorner(w.p1, rim);
    extentMax = x_Vector::MaxCorner(w.p1, rim);
}

void CDimCir::UpdateGripPoints()
{
    keyPoints.RemoveAll();
    gripPoints.RemoveAll();
    if (!radiusMode) {
        keyPoints.Add(lineStart);
        gripPoints.Add(lineStart);
    }
    keyPoints.Add(lineEnd);
    gripPoints.Add(lineEnd);
}

void CDimCir::CommitTransform()
{
    DimensionRecord& w = Working();
    w.value = radiusMode ? w.distance : 2 * w.distance;
    CommitCommon();
}

bool CDimCir::Copy(int mode, CUnit*& out)
{
    if (mode != 1)
        ++g_UnitIdCounter;
    return CopyInto(new CDimCir(), mode, out);
}
