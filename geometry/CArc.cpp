#include "geometry/CArc.h"

#include <cmath>
#include <cstddef>
#include <cstring>

#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "geometry/UnitRecord.h"
#include "geometry/curve_helpers.h"
#include "geometry/dc_lines.h"
#include "geometry/grip_pairs.h"
#include "geometry/hover_highlight.h"
#include "geometry/raster.h"
#include "geometry/raster_curves.h"
#include "geometry/screen_marks.h"
#include "geometry/text_utils.h"
#include "geometry/view_transform.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

IMPLEMENT_SERIAL(CArc, CUnit, 1)

namespace {

// The arc's tail of its ".wcx" record, after the common UnitRecord: 42
// bytes, read whole. The two flags are kept as read.
#pragma pack(push, 1)
struct ArcTail {
    RecordPoint centre;
    double radius;
    double startAngle;
    double endAngle;
    std::uint8_t direction;
    std::uint8_t splitPiece;
};
#pragma pack(pop)
static_assert(sizeof(ArcTail) == 42);
static_assert(offsetof(ArcTail, direction) == 40);

constexpr double kEps = 1e-10;

// [0, 2π): stored angles lie anywhere, the sweep and box rules expect this.
// Nearly all lie in range already, and a frame wraps two for every arc.
double Wrap(double a)
{
    if (a >= 0.0 && a < kTwoPi)
        return a;
    const double w = NormalizeAngle(a);
    return w >= kTwoPi ? 0.0 : w;
}

double MidAngle(const ArcRecord& arc)
{
    const double s = Wrap(arc.startAngle);
    double e = Wrap(arc.endAngle);
    if (arc.direction == 0 && s > e - kEps)
        e += kTwoPi;
    else if (arc.direction != 0 && s < e + kEps)
        e -= kTwoPi;
    return (s + e) / 2.0;
}

bool BothBeyond(const POINT& a, const POINT& b)
{
    const std::int32_t w = g_ViewClientRect.right - g_ViewClientRect.left;
    const std::int32_t h = g_ViewClientRect.bottom - g_ViewClientRect.top + 20;
    return (a.x < 0 && b.x < 0) || (a.x > w && b.x > w) || (a.y < 0 && b.y < 0) || (a.y > h && b.y > h);
}

// The working record becomes the current one, its split byte kept; written
// only when it differs (see AssignIfChanged), compared where it lies.
void SyncWorkRecord(ArcRecord& work, const ArcRecord& current)
{
    if (std::memcmp(&work, &current, offsetof(ArcRecord, splitPiece)) == 0)
        return;
    const std::uint8_t split = work.splitPiece;
    work = current;
    work.splitPiece = split;
}

// Out of line: its pen's frame is not set up for the raster's many arcs.
[[gnu::noinline]] void DrawWorkCurve(CArc& arc, CDC* dc, COLORREF colour)
{
    if (arc.workCurve.IsEmpty())
        arc.FlattenWorkCurve();
    CPen pen(PS_SOLID, g_PenWidth, colour);
    CPen* old = dc->SelectObject(&pen);
    dc->SetBkMode(g_BackgroundMode);
    const int rop = dc->SetROP2(R2_COPYPEN);
    DrawWorldPolyline(dc, arc.workCurve, 0, nullptr);
    dc->SetROP2(rop);
    dc->SelectObject(old);
}

} // namespace

double ArcSweep(const ArcRecord& arc)
{
    double s = Wrap(arc.startAngle), e = Wrap(arc.endAngle);
    double sweep;
    if (arc.direction == 0) {
        if (s > e - kEps)
            e += kTwoPi;
        sweep = e - s;
    } else {
        if (s < e + kEps)
            s += kTwoPi;
        sweep = s - e;
    }
    return std::fabs(sweep) < kEps ? 0.0 : sweep;
}

x_Vector ArcPointAt(const ArcRecord& arc, double t)
{
    return {arc.centre.x + arc.radius * std::cos(t), arc.centre.y + arc.radius * std::sin(t)};
}

CArc* NewArc(const x_Vector& centre, double radius, double start, double end, std::uint8_t direction)
{
    ++g_UnitIdCounter;
    auto* arc = new CArc();
    ArcRecord& g = arc->geometry.arc;
    g.centre = centre;
    g.radius = radius;
    g.startAngle = start;
    g.endAngle = end;
    g.direction = direction;
    arc->workGeometry.arc = g;
    arc->complete = 1;
    return arc;
}

int DrawWorldPolyline(CDC* dc, const x_VectorArray& points, int mode, std::uint8_t* raster)
{
    g_PenPosValid = 0;
    const std::uint8_t pattern = g_RasterDrawStyle > 3 ? 0 : g_RasterDrawStyle;
    POINT previous{};
    bool first = true;
    for (int i = 0; i < points.GetSize(); ++i) {
        const POINT p{RoundHalfUp(points[i].x * g_ViewScale + g_ViewOriginX),
                      RoundHalfUp(g_ViewOriginY - points[i].y * g_ViewScale)};
        if (!first && p.x == previous.x && p.y == previous.y)
            continue;
        if (!first && !BothBeyond(previous, p)) {
            if (mode == 0)
                LineToCached(dc, previous.x, previous.y, p.x, p.y);
            else if (raster != nullptr)
                DrawLineRGB565(raster, previous.x, previous.y, p.x, p.y, g_RasterDrawColor, pattern);
        }
        previous = p;
        first = false;
    }
    return points.GetSize();
}

// CUnit(family) has reset the state and taken the current id, style and
// colour; a drawing's arcs are made by the ten thousand when it is opened.
CArc::CArc() : CUnit(UnitFamily::arc)
{
}

CArc::~CArc()
{
    CUnit::FreeCaches();
}

// Tail: centre, radius, start and end angle (doubles), direction and the
// split-piece byte, each written as 0 or 1 (42 bytes).
void CArc::Serialize(CArchive& ar)
{
    CUnit::Serialize(ar);
    ArcRecord& g = geometry.arc;
    if (ar.IsStoring()) {
        ar << g.centre.x << g.centre.y << g.radius << g.startAngle << g.endAngle;
        ar << std::uint8_t(g.direction ? 1 : 0) << std::uint8_t(g.splitPiece ? 1 : 0);
        return;
    }
    ArcTail copy;
    const ArcTail& t = ar.ReadRecord(copy);
    g.centre = x_Vector(t.centre.x, t.centre.y);
    g.radius = t.radius;
    g.startAngle = t.startAngle;
    g.endAngle = t.endAngle;
    g.direction = t.direction;
    g.splitPiece = t.splitPiece;
}

x_Vector CArc::GetStartPoint()
{
    return ArcPointAt(geometry.arc, geometry.arc.startAngle);
}

x_Vector CArc::GetEndPoint()
{
    return ArcPointAt(geometry.arc, geometry.arc.endAngle);
}

x_Vector CArc::GetMidPoint()
{
    return ArcPointAt(geometry.arc, MidAngle(geometry.arc));
}

double CArc::GetSweepAngle()
{
    return ArcSweep(geometry.arc);
}

double CArc::GetLength()
{
    return ArcSweep(geometry.arc) * geometry.arc.radius;
}

void CArc::UpdateKeyPoints()
{
    inputPoints[0] = GetStartPoint();
    inputPoints[1] = GetMidPoint();
    inputPoints[2] = GetEndPoint();
}

void CArc::UpdateGripPoints()
{
    gripPoints.RemoveAll();
    gripPoints.FreeExtra();
    gripPoints.Reserve(4);
    for (int i = 0; i < 3; ++i)
        gripPoints.Add(inputPoints[i]);
    gripPoints.Add(geometry.arc.centre);
}

int CArc::HitTestGrip(x_Vector point)
{
    return FindGrip(point);
}

bool CArc::HitTest(x_Vector point, std::uint8_t mode)
{
    const double d = DistanceTo(point, 0, 0, 0);
    return mode == 0 ? d * g_ViewScale < 8.0 : d < 0.001;
}

double CArc::DistanceTo(x_Vector& p, int, int, double)
{
    const ArcRecord& g = geometry.arc;
    const double ds = x_Vector::Distance(p, GetStartPoint());
    if (ds < 0.001)
        return ds;
    const double de = x_Vector::Distance(p, GetEndPoint());
    if (de < 0.001)
        return de;
    if (!AngleInArc((p - g.centre).Angle(), g.startAngle, g.endAngle, g.direction != 0))
        return 1e10;
    return std::fabs(x_Vector::Distance(p, g.centre) - g.radius);
}

x_Vector CArc::NearestPoint(x_Vector& out, x_Vector& p, std::uint8_t withinSpan, double* distance, int)
{
    const ArcRecord& g = geometry.arc;
    out = Unset();
    const double a = (p - g.centre).Angle();
    if (withinSpan && !AngleInArc(a, g.startAngle, g.endAngle, g.direction != 0)
        && a != g.startAngle && a != g.endAngle)
        return out;
    out = ArcPointAt(g, a);
    if (distance != nullptr)
        *distance = std::fabs(x_Vector::Distance(out, g.centre) - g.radius);
    return out;
}

void CArc::ComputeExtents()
{
    const ArcRecord& g = geometry.arc;
    // Each end once: a point is a sine and a cosine, for every arc of a drawing opened.
    const x_Vector start = GetStartPoint(), end = GetEndPoint();
    x_Vector lo = x_Vector::MinCorner(start, end);
    x_Vector hi = x_Vector::MaxCorner(start, end);
    // Counter-clockwise from l to m; angles in no range used to cull
    // visible arcs.
    double l = Wrap(g.direction == 0 ? g.startAngle : g.endAngle);
    double m = Wrap(g.direction == 0 ? g.endAngle : g.startAngle);
    const bool wraps = l > m - 1e-12;
    const double r = g.radius, cx = g.centre.x, cy = g.centre.y;
    auto crosses = [&](double q) { return (l < q && m > q) || (wraps && (m > q || l < q)); };
    if (wraps)
        hi.x = std::max(hi.x, cx + r);
    if (crosses(kPi))
        lo.x = std::min(lo.x, cx - r);
    if (crosses(kPi / 2))
        hi.y = std::max(hi.y, cy + r);
    if (crosses(3 * kPi / 2))
        lo.y = std::min(lo.y, cy - r);
    extentMin = {lo.x, lo.y};
    extentMax = {hi.x, hi.y};
}

void CArc::CommitTransform()
{
    if (g_cmdStep != 2)
        flatValid = 0;
    const std::uint8_t split = geometry.arc.splitPiece;
    geometry.arc = workGeometry.arc;
    geometry.arc.splitPiece = split;
    complete = 1;
    gripsValid = 0;
}

void CArc::Move(x_Vector offset)
{
    edit->moveDelta = offset;
    workGeometry.arc.centre = geometry.arc.centre + offset;
}

bool CArc::Rotate(x_Vector pivot, double angle)
{
    workGeometry.arc.centre = geometry.arc.centre;
    workGeometry.arc.centre.RotateAbout(pivot, angle);
    workGeometry.arc.startAngle = NormalizeAngle(geometry.arc.startAngle + angle);
    workGeometry.arc.endAngle = NormalizeAngle(geometry.arc.endAngle + angle);
    return true;
}

bool CArc::Scale(x_Vector base, x_Vector f)
{
    if (gearKind)
        return false;
    workGeometry.arc.centre = geometry.arc.centre;
    workGeometry.arc.centre.ScaleAbout(base, f.x, f.y);
    workGeometry.arc.radius = geometry.arc.radius * f.x;
    return true;
}

// The angles are not swapped: with the flipped direction the mirrored arc
// covers the mirror image.
bool CArc::Mirror(x_Vector a, x_Vector b)
{
    ArcRecord& w = workGeometry.arc;
    w = geometry.arc;
    w.centre.MirrorAbout(a, b);
    w.direction = w.direction == 0 ? 1 : 0;
    const x_Vector origin(0, 0), along = b - a;
    auto mirrorAngle = [&](double t) {
        x_Vector u(std::cos(t), std::sin(t));
        u.MirrorAbout(origin, along);
        return std::fmod(std::atan2(u.y, u.x) + kTwoPi, kTwoPi);
    };
    w.startAngle = mirrorAngle(w.startAngle);
    w.endAngle = mirrorAngle(w.endAngle);
    refPoint = w.centre;
    return true;
}

bool CArc::Copy(int mode, CUnit*& out)
{
    if (mode == 0 || mode == 2)
        ++g_UnitIdCounter;
    auto* copy = new CArc();
    if (mode != 0 && mode != 2)
        copy->unitId = unitId;
    copy->workGeometry.arc = mode == 2 ? workGeometry.arc : geometry.arc;
    copy->geometry.arc = copy->workGeometry.arc;
    CopyCommonAttributes(copy);
    copy->complete = 1;
    out = copy;
    return true;
}

void CArc::FlattenWorkCurve()
{
    // Stored angles lie anywhere; a span of several turns was drawn as
    // that many turns.
    const ArcRecord& w = workGeometry.arc;
    FlattenArc(workCurve, w.centre, w.radius, Wrap(w.startAngle), Wrap(w.endAngle), w.direction, 0);
}

void CArc::Draw(CDC* dc, int mode, std::uint8_t* raster)
{
    g_DashPhase = 0;
    const UnitDrawStyle style = ChooseDrawStyle(DrawRule::curve);
    if (mode == 0) {
        if (dc != nullptr)
            DrawWorkCurve(*this, dc, style.colour);
    } else {
        if (mode == 1) {
            g_RasterDrawColor = style.colour;
            g_RasterDrawStyle = style.rasterPattern;
            SyncWorkRecord(workGeometry.arc, geometry.arc);
            AssignIfChanged(refPoint, geometry.arc.centre);
        }
        DrawOnRaster(raster);
    }
    DeferGripPoints();
    complete = 1;
}

void CArc::BuildPendingGrips()
{
    UpdateKeyPoints();
    UpdateGripPoints();
}

// The current record in the raster pen, made on the screen at the zoom of
// the frame (raster_curves.h).
void CArc::DrawOnRaster(std::uint8_t* raster) const
{
    const ArcRecord& g = geometry.arc;
    if (!(g.radius >= 0.0001))
        return;
    const double s = Wrap(g.startAngle), e = Wrap(g.endAngle);
    const double sweep = SweepAngleAbs(g.direction, s, e);
    const std::uint8_t pattern = g_RasterDrawStyle > 3 ? 0 : g_RasterDrawStyle;
    DrawArcRGB565(raster, g.centre, g.radius, s, g.direction == 0 ? sweep : -sweep, g_RasterDrawColor, pattern);
}

// The flattened current record, made when first asked for after a change:
// frames draw the arc without it.
const x_VectorArray& CArc::FlatOutline()
{
    if (!flatValid) {
        const ArcRecord& g = geometry.arc;
        FlattenArc(flatPoints, g.centre, g.radius, Wrap(g.startAngle), Wrap(g.endAngle), g.direction, 0);
        flatValid = 1;
    }
    return flatPoints;
}

void CArc::DrawRubber(CDC* dc, x_Vector)
{
    FlattenWorkCurve();
    if (dc == nullptr)
        return;
    DrawXorWorldPolyline(dc, g_RubberLineStyle, g_PenWidth, g_ActiveColor, workCurve);
}

void CArc::DrawHighlight(CDC* dc, int show)
{
    if (dc == nullptr || !HoverHighlightDraws(*this, show, picked))
        return;
    DrawXorWorldPolyline(dc, lineStyle, 3, RGB(255, 255, 255) - colour, FlatOutline());
}

void CArc::DrawGrips(CDC* dc)
{
    if (gearKind || dc == nullptr)
        return;
    EnsureGripPoints();
    CPen pen(PS_SOLID, 1, g_EndPointColor);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&g_DrawingBrushes[0]);
    dc->SetBkMode(TRANSPARENT);
    const int rop = dc->SetROP2(R2_NOTXORPEN);
    const int n = gripPoints.GetSize();
    for (int i = 0; i + 1 < n; ++i) {
        const POINT p = WorldToScreen(gripPoints[i]);
        if (!AddUniquePair(p.x, p.y))
            dc->Rectangle(p.x - 8, p.y - 8, p.x + 8, p.y + 8);
    }
    dc->SelectObject(&g_DrawingBrushes[1]);
    if (n >= 4 && group == 0) {
        const POINT p = WorldToScreen(gripPoints[3]);
        dc->Rectangle(p.x - 8, p.y - 8, p.x + 8, p.y + 8);
    }
    dc->SetROP2(rop);
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}
