// Drawing of a wire path: its elements into the RGB565 back buffer, the
// threading-point box, pause marks and the direction arrow through the
// device context; while the grips are stale also the element boxes, the
// extents and the missing threading points. In the 3-D preview the two
// surfaces are joined at their vertices and, as simulated contours, by
// wire positions along every first-pass element.

#include <algorithm>
#include <cmath>

#include "app/AppState.h"
#include "app/MachiningSettings.h"
#include "geometry/GeometryState.h"
#include "geometry/View3D.h"
#include "geometry/curve_helpers.h"
#include "geometry/raster.h"
#include "geometry/screen_marks.h"
#include "geometry/view_transform.h"
#include "paths/CTrail.h"
#include "wirepath/trail_metrics.h"

namespace {

constexpr double kHidePassPixels = 1.5;     // a pass closer than this lies on the previous one
constexpr double kSameVertex = 0.001;       // vertices closer than this are joined once
constexpr COLORREF kJoinColour = RGB(128, 128, 255);
constexpr COLORREF kContourColour = RGB(128, 128, 180);
constexpr std::uint8_t kDotted = 2;

bool View3DActive()
{
    return g_curCommand == 22;
}

POINT ScreenOfAt(const x_Vector& p, double z)
{
    return WorldToScreen(View3DActive() ? Project3D(p.x, p.y, z) : p);
}

// What one surface's walk leaves for the markers.
struct SurfaceMarks {
    CArray<x_Vector> pauses;
    CArray<x_Vector> vertices;      // 3-D preview: first-pass element ends
    bool hasLongest = false;
    double longest = -1.0;
    x_Vector arrowPoint;
    double arrowAngle = 0.0;
};

struct DrawState {
    std::uint8_t* raster = nullptr;
    COLORREF colour = 0;
    std::uint8_t pattern = 0;
    bool penSet = false;
    POINT last = {0, 0};
    int colourSurface = 0;          // the lower list drawn again keeps its colours
};

// A segment whose two ends lie on the same outer side of the view is not
// rasterised.
void Segment(std::uint8_t* raster, POINT a, POINT b, COLORREF colour, std::uint8_t pattern)
{
    const bool outside = (a.x < 0 && b.x < 0) || (a.x > g_RasterWidth && b.x > g_RasterWidth)
                         || (a.y < 0 && b.y < 0) || (a.y > g_RasterHeight && b.y > g_RasterHeight);
    if (raster != nullptr && !outside)
        DrawLineRGB565(raster, a.x, a.y, b.x, b.y, colour, pattern > 3 ? 0 : pattern);
}

void LineTo(DrawState& d, POINT to)
{
    Segment(d.raster, d.last, to, d.colour, d.pattern);
    d.last = to;
}

// The pen of one element: jump lines, the selected look and the own colours.
void ChoosePen(CTrail& t, const x_TrailData& e, int s, DrawState& d)
{
    COLORREF colour;
    std::uint8_t pattern;
    if (e.kind == 0) {
        colour = g_JumpLineColor;
        pattern = static_cast<std::uint8_t>(g_MarkLineStyle);
    } else if (t.selected || t.picked) {
        colour = s == 0 ? g_Path1SelectedColor : g_Path2SelectedColor;
        pattern = static_cast<std::uint8_t>(g_MarkLineStyle);
    } else {
        colour = s == 0 ? t.colour : g_Path2Color;
        pattern = static_cast<std::uint8_t>(t.lineStyle);
    }
    if (pattern == 1 && t.dashDot)
        pattern = 3;
    if (!d.penSet || colour != d.colour || pattern != d.pattern) {
        d.colour = colour;
        d.pattern = pattern;
        d.penSet = true;
        g_RasterDrawColor = colour;
        g_RasterDrawStyle = pattern;
    }
}

// A pass run of role-0 elements lies on the previous pass when its
// allowance differs by less than 1.5 pixels.
bool PassHidden(const CTrail& t, int pass)
{
    if (pass < 2 || pass > 7)
        return false;
    const double step = t.params.cuts[pass - 1].allowance - t.params.cuts[pass - 2].allowance;
    return std::fabs(step) * g_ViewScale < kHidePassPixels;
}

int PassOf(const x_TrailData& e)
{
    return e.subKind == 0 || e.subKind > 7 ? 1 : e.subKind;
}

void RememberLongest(const x_TrailData& e, SurfaceMarks& m)
{
    if (e.role != 0 || e.length <= m.longest)
        return;
    m.longest = e.length;
    m.hasLongest = true;
    if (e.IsLine()) {
        m.arrowPoint = (e.start + e.end) / 2.0;
        m.arrowAngle = x_Vector::AngleTo(e.start, e.end);
        return;
    }
    double a1 = e.endAngle;
    if (e.direction == 0 && a1 < e.startAngle - 1e-10)
        a1 += kTwoPi;
    else if (e.direction != 0 && a1 > e.startAngle + 1e-10)
        a1 -= kTwoPi;
    const double mid = (e.startAngle + a1) / 2.0;
    m.arrowPoint = e.centre + x_Vector::FromPolar(e.radius, mid);
    m.arrowAngle = mid + (e.direction == 0 ? kPi / 2 : -kPi / 2);
}

void AddVertex(CArray<x_Vector>& vertices, const x_Vector& p)
{
    for (const x_Vector& v : vertices)
        if (std::fabs(v.x - p.x) < kSameVertex && std::fabs(v.y - p.y) < kSameVertex)
            return;
    vertices.Add(p);
}

void AddBox(CTrail& t, const x_TrailData& e, bool& any, x_Vector& lo, x_Vector& hi)
{
    x_Vector bmin = x_Vector::MinCorner(e.StartPoint(), e.EndPoint());
    x_Vector bmax = x_Vector::MaxCorner(e.StartPoint(), e.EndPoint());
    if (e.IsArc())
        ArcBounds(ArcOf(e), e.StartPoint(), e.EndPoint(), bmin, bmax);
    t.drawnPieces.Add({bmin, bmax});
    lo = any ? x_Vector::MinCorner(lo, bmin) : bmin;
    hi = any ? x_Vector::MaxCorner(hi, bmax) : bmax;
    any = true;
}

void DrawElements(CTrail& t, CDC* dc, int s, const x_TrailDataArray& list, bool rebuild, DrawState& d,
                  SurfaceMarks& m, bool& any, x_Vector& lo, x_Vector& hi)
{
    t.drawZ = s == 0 ? 0.0 : g_MachiningSettings.thickness;
    bool first = true, fresh = true, hidden = false;
    int previousPass = 0;
    for (const x_TrailData& e : list) {
        if (e.kind > 3)
            continue;
        const int pass = PassOf(e);
        if (e.role == 0 && pass != previousPass)
            hidden = PassHidden(t, pass);
        previousPass = e.role == 0 ? pass : previousPass;
        if (rebuild)
            AddBox(t, e, any, lo, hi);
        if (hidden && e.role == 0) {
            fresh = true;
            continue;
        }
        ChoosePen(t, e, d.colourSurface, d);
        const x_Vector start = e.StartPoint();
        if (fresh) {
            if (e.IsLine() && first && (s == 0 || View3DActive()) && start == t.params.threadPoint[0]) {
                const POINT p = ScreenOfAt(start, t.drawZ);
                if (View3DActive())
                    DrawCrossLines(start, t.drawZ, dc);
                else
                    DrawGripBox(dc, p.x, p.y);
            }
            d.last = ScreenOfAt(start, t.drawZ);
            t.gripPoints.Add(start);
            fresh = false;
        }
        first = false;
        if (e.IsLine()) {
            LineTo(d, ScreenOfAt(e.end, t.drawZ));
        } else {
            t.workCurve.RemoveAll();
            FlattenArc(t.workCurve, e.centre, e.radius, e.startAngle, e.endAngle, e.direction, 0);
            for (int i = 1; i < t.workCurve.GetSize(); ++i) {
                const POINT p = ScreenOfAt(t.workCurve[i], t.drawZ);
                if (p.x != d.last.x || p.y != d.last.y)
                    LineTo(d, p);
            }
            LineTo(d, ScreenOfAt(e.EndPoint(), t.drawZ));
        }
        t.gripPoints.Add(e.EndPoint());
        if (e.attribute != 0)
            m.pauses.Add(e.EndPoint());
        if (View3DActive() && e.role == 0 && pass == 1)
            AddVertex(m.vertices, e.EndPoint());
        RememberLongest(e, m);
    }
    t.lastScreenPoint[0] = d.last.x;
    t.lastScreenPoint[1] = d.last.y;
}

// The wire position j of n along an element: lines by equal lengths, arcs
// by equal angles from the start in their direction.
x_Vector StepPoint(const x_TrailData& e, int j, int n)
{
    const double f = static_cast<double>(j) / n;
    if (e.IsLine())
        return e.start + (e.end - e.start) * f;
    const double sweep = SweepAngleAbs(e.direction, e.startAngle, e.endAngle);
    const double a = e.startAngle + (e.direction == 0 ? sweep : -sweep) * f;
    return e.centre + x_Vector::FromPolar(e.radius, a);
}

// Dotted lines from each lower vertex to the upper vertex of the same rank.
void DrawVertexJoins(std::uint8_t* raster, const SurfaceMarks marks[2], double thickness)
{
    const int n = static_cast<int>(std::min(marks[0].vertices.GetSize(), marks[1].vertices.GetSize()));
    for (int i = 0; i < n; ++i)
        Segment(raster, ScreenOfAt(marks[0].vertices[i], 0.0), ScreenOfAt(marks[1].vertices[i], thickness),
                kJoinColour, kDotted);
}

// Simulated contours: the wire at n positions along every first-pass
// element, from the lower to the upper surface, and the line its midpoint
// follows at half height.
void DrawSimulatedContours(const CTrail& t, std::uint8_t* raster, bool twice, double thickness)
{
    if (t.params.cutLength[0] == 0.0)
        return;
    const x_TrailDataArray& lower = t.trails[0];
    const x_TrailDataArray& upper = twice ? t.trails[0] : t.trails[1];
    const int count = static_cast<int>(twice ? lower.GetSize() : std::min(lower.GetSize(), upper.GetSize()));
    const int n = std::clamp(static_cast<int>(g_MachiningSettings.path3dLineCount), 10, 360);
    for (int i = 0; i < count; ++i) {
        const x_TrailData& lo = lower[i];
        const x_TrailData& up = upper[i];
        if (lo.role != 0 || lo.subKind >= 2 || lo.kind > 3 || up.kind > 3)
            continue;
        POINT previousMid = {0, 0};
        for (int j = 0; j <= n; ++j) {
            const x_Vector l = StepPoint(lo, j, n), u = StepPoint(up, j, n);
            if (j > 0 && j < n)
                Segment(raster, ScreenOfAt(l, 0.0), ScreenOfAt(u, thickness), kContourColour, kDotted);
            const POINT mid = ScreenOfAt((l + u) / 2.0, thickness / 2.0);
            if (j > 0)
                Segment(raster, previousMid, mid, kContourColour, kDotted);
            previousMid = mid;
        }
    }
}

} // namespace

void CTrail::Draw(CDC* dc, int, std::uint8_t* raster)
{
    gripPoints.RemoveAll();
    if (lineStyle > 2)
        lineStyle = 0;
    const bool rebuild = gripsValid == 0;
    const int surfaces = trails[1].IsEmpty() ? 1 : 2;
    if (rebuild) {
        drawnPieces.RemoveAll();
        for (int s = 0; s < surfaces; ++s)
            if (!params.threadPoint[s].valid)
                params.threadPoint[s] = GetElementStartPoint(s);
    }
    const bool twice = View3DActive() && surfaces == 1 && g_MachiningSettings.path3dNonTaper == 1
                       && g_MachiningSettings.thickness > 0.0;
    const int runs = twice ? 2 : surfaces;
    DrawState d;
    d.raster = raster;
    SurfaceMarks marks[2];
    bool any = false;
    x_Vector lo, hi;
    for (int s = 0; s < runs; ++s) {
        const x_TrailDataArray& list = twice ? trails[0] : trails[s];
        d.colourSurface = twice ? 0 : s;
        DrawElements(*this, dc, s, list, rebuild && (s == 0 || !twice), d, marks[s], any, lo, hi);
    }
    if (rebuild && any) {
        extentMin = params.drawMin = lo;
        extentMax = params.drawMax = hi;
    }
    gripsValid = 1;
    for (int s = 0; s < runs; ++s) {
        const double z = s == 0 ? 0.0 : g_MachiningSettings.thickness;
        for (const x_Vector& p : marks[s].pauses) {
            const POINT q = ScreenOfAt(p, z);
            DrawCircleMarker(dc, q.x, q.y);
        }
    }
    const double thickness = g_MachiningSettings.thickness;
    if (View3DActive() && runs == 2 && thickness > 0.0) {
        DrawVertexJoins(raster, marks, thickness);
        if (g_MachiningSettings.path3dStyle == 1)
            DrawSimulatedContours(*this, raster, twice, thickness);
    }
    for (int s = 0; s < runs; ++s) {
        if (!marks[s].hasLongest || (View3DActive() && s > 0))
            continue;
        const double z = s == 0 ? 0.0 : g_MachiningSettings.thickness;
        DrawPolygonMarker(marks[s].arrowPoint, marks[s].arrowAngle, z, dc);
    }
}
