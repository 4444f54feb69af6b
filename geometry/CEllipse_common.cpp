// What the ellipse and the elliptic arc share: the conversions of the
// record, the archive tail, drawing, hit tests and the transforms.
#include <cmath>

#include "geometry/CArc.h"
#include "geometry/CEllipse.h"
#include "geometry/GeometryState.h"
#include "geometry/curve_helpers.h"
#include "geometry/grip_pairs.h"
#include "geometry/hover_highlight.h"
#include "geometry/screen_marks.h"
#include "geometry/view_transform.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

namespace {

constexpr double kEps = 1e-10;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kExactHit = 0.0001;    // exact hit test of ellipses, mm

// [0, 2π): stored parameters lie anywhere.
double Wrap(double a)
{
    const double w = NormalizeAngle(a);
    return w >= kTwoPi ? 0.0 : w;
}

// How far from s the parameter t lies along a run in the given direction.
double Along(double s, double t, std::uint8_t direction)
{
    double d = std::fmod(direction == 0 ? t - s : s - t, kTwoPi);
    if (d < 0.0)
        d += kTwoPi;
    return d;
}

} // namespace

double EllipseAxisAngle(const EllipseRecord& e)
{
    return std::fmod(std::atan2(e.majorAxis.y, e.majorAxis.x) + kTwoPi, kTwoPi);
}

x_Vector EllipsePointAt(const EllipseRecord& e, double t)
{
    const double a = e.majorAxis.Length();
    const double b = a * e.axisRatio;
    x_Vector p(e.centre.x + a * std::cos(t), e.centre.y + b * std::sin(t));
    p.RotateAbout(e.centre, EllipseAxisAngle(e));
    p.valid = 1;
    return p;
}

double EllipseParameterOf(const EllipseRecord& e, const x_Vector& q)
{
    x_Vector d = q - e.centre;
    d.Rotate(-EllipseAxisAngle(e));
    d.Scale(e.axisRatio, 1.0);
    return std::fmod(std::atan2(d.y, d.x) + kTwoPi, kTwoPi);
}

// Before, an arc from 5.0 to 0.7 answered −4.3: the ends are wrapped first,
// as the arc's sweep does.
double EllipseSweep(const EllipseRecord& e)
{
    double s = Wrap(e.startParam), t = Wrap(e.endParam);
    if (e.direction == 0) {
        if (s > t - kEps)
            t += kTwoPi;
        return t - s;
    }
    if (s < t + kEps)
        s += kTwoPi;
    return s - t;
}

// The span rule of the circular arc (normalised, swapped for direction 1,
// slack past the end), and a parameter a few ulps before the start counts.
// Before, a normalised parameter was compared with the stored ends and the
// direction was ignored, so a clockwise arc was hit where it is not drawn.
bool EllipseParamInRun(const EllipseRecord& e, double t)
{
    if (AngleInArc(t, e.startParam, e.endParam, e.direction != 0))
        return true;
    for (double end : {e.startParam, e.endParam}) {
        const double d = Wrap(t - end);
        if (d < kEps || kTwoPi - d < kEps)
            return true;
    }
    return false;
}

double EllipseUnwrapIntoRun(const EllipseRecord& e, double t)
{
    const double d = Along(e.startParam, t, e.direction);
    return e.direction == 0 ? e.startParam + d : e.startParam - d;
}

CEllipseCommon::CEllipseCommon() : CUnit(UnitFamily::ellipse)
{
    minorAxis = x_Vector(0, 0, 1);
    CUnit::ResetState();
    EllipseRecord& w = workGeometry.ellipse;
    w.startParam = 0.0;
    w.endParam = kTwoPi;
    w.direction = 0;
    unitId = g_UnitIdCounter;
    lineStyle = g_CurrentLineStyle;
    colour = g_CurrentColor;
    dashDot = g_CurrentDashDot;
}

CEllipseCommon::~CEllipseCommon() = default;

// Tail: centre, major axis, ratio, start and end parameter (doubles), then
// direction and the split-piece byte, each written as 0 or 1 (58 bytes).
void CEllipseCommon::Serialize(CArchive& ar)
{
    CUnit::Serialize(ar);
    EllipseRecord& g = geometry.ellipse;
    if (ar.IsStoring()) {
        ar << g.centre.x << g.centre.y << g.majorAxis.x << g.majorAxis.y << g.axisRatio;
        ar << g.startParam << g.endParam;
        ar << std::uint8_t(g.direction ? 1 : 0) << std::uint8_t(g.splitPiece ? 1 : 0);
        return;
    }
    ar >> g.centre.x >> g.centre.y >> g.majorAxis.x >> g.majorAxis.y >> g.axisRatio;
    ar >> g.startParam >> g.endParam >> g.direction >> g.splitPiece;
    g.centre.valid = 1;
    g.majorAxis.valid = 1;
}

x_Vector CEllipseCommon::GetStartPoint()
{
    return EllipsePointAt(geometry.ellipse, geometry.ellipse.startParam);
}

x_Vector CEllipseCommon::GetEndPoint()
{
    return EllipsePointAt(geometry.ellipse, geometry.ellipse.endParam);
}

double CEllipseCommon::ParameterAtPoint(x_Vector& point)
{
    return EllipseParameterOf(geometry.ellipse, point);
}

double CEllipseCommon::GetSemiMajor()
{
    return geometry.ellipse.majorAxis.Length();
}

double CEllipseCommon::GetSemiMinor()
{
    return geometry.ellipse.majorAxis.Length() * geometry.ellipse.axisRatio;
}

// The length of the polyline the last raster draw left.
double CEllipseCommon::GetLength()
{
    double sum = 0.0;
    for (int i = 1; i < flatPoints.GetSize(); ++i)
        sum += x_Vector::Distance(flatPoints[i - 1], flatPoints[i]);
    return sum;
}

int CEllipseCommon::HitTestGrip(x_Vector point)
{
    return FindGrip(point);
}

bool CEllipseCommon::HitTest(x_Vector point, std::uint8_t mode)
{
    double d = 1e10;
    x_Vector n;
    if (mode != 0) {
        NearestPoint(n, point, mode, &d);
        return d < kExactHit;
    }
    const double scale = ClampViewScale();
    NearestPoint(n, point, 0, &d);
    return scale * d < 8.0;
}

double CEllipseCommon::DistanceTo(x_Vector& point, int, int, double)
{
    double d = 1e10;
    x_Vector n;
    NearestPoint(n, point, 1, &d);
    return d;
}

// The box of the four axis ends; for a turned ellipse or an arc it is not
// the tight box, and nothing needs more.
void CEllipseCommon::ComputeExtents()
{
    const EllipseRecord& g = geometry.ellipse;
    const double b = GetSemiMinor(), theta = EllipseAxisAngle(g);
    minorAxis = x_Vector(b * std::cos(theta + kHalfPi), b * std::sin(theta + kHalfPi));
    const x_Vector ends[4] = {g.centre + g.majorAxis, g.centre - g.majorAxis, g.centre + minorAxis,
                              g.centre - minorAxis};
    x_Vector lo = ends[0], hi = ends[0];
    for (const x_Vector& p : ends) {
        lo = x_Vector::MinCorner(lo, p);
        hi = x_Vector::MaxCorner(hi, p);
    }
    extentMin = {lo.x, lo.y};
    extentMax = {hi.x, hi.y};
}

void CEllipseCommon::CommitTransform()
{
    if (g_cmdStep != 2)
        flatValid = 0;
    const std::uint8_t split = geometry.ellipse.splitPiece;
    geometry.ellipse = workGeometry.ellipse;
    geometry.ellipse.splitPiece = split;
    complete = 1;
    gripsValid = 0;
}

void CEllipseCommon::Move(x_Vector offset)
{
    edit->moveDelta = offset;
    const x_Vector& c = geometry.ellipse.centre;
    workGeometry.ellipse.centre = x_Vector(c.x + offset.x, c.y + offset.y, c.valid);
}

bool CEllipseCommon::Rotate(x_Vector pivot, double angle)
{
    EllipseRecord& w = workGeometry.ellipse;
    w.centre = geometry.ellipse.centre;
    w.centre.RotateAbout(pivot, angle);
    w.majorAxis = geometry.ellipse.majorAxis;
    w.majorAxis.Rotate(angle);
    return true;
}

// The ratio and the parameters stay: the shape scales uniformly by sx.
bool CEllipseCommon::Scale(x_Vector base, x_Vector f)
{
    EllipseRecord& w = workGeometry.ellipse;
    w.centre = geometry.ellipse.centre;
    w.centre.ScaleAbout(base, f.x, f.y);
    w.majorAxis = geometry.ellipse.majorAxis;
    w.majorAxis.Scale(f.x, f.x);
    return true;
}

// A point at parameter s maps to the point at −s of the mirrored ellipse
// (its axis angle 2φ − θ), so the parameters become −s up to whole turns
// and the direction flips.
bool CEllipseCommon::Mirror(x_Vector l1, x_Vector l2)
{
    EllipseRecord& w = workGeometry.ellipse;
    w = geometry.ellipse;
    x_Vector end = w.centre + w.majorAxis;
    w.centre.MirrorAbout(l1, l2);
    end.MirrorAbout(l1, l2);
    w.majorAxis = end - w.centre;
    const double phi = std::fmod(std::atan2(l2.y - l1.y, l2.x - l1.x) + kTwoPi, kTwoPi);
    const x_Vector origin(0, 0), along = l2 - l1;
    auto mirrored = [&](double s) {
        x_Vector u(std::cos(s), std::sin(s));
        u.MirrorAbout(origin, along);
        return std::fmod(std::atan2(u.y, u.x) + kTwoPi, kTwoPi) - 2.0 * phi;
    };
    w.startParam = mirrored(w.startParam);
    w.endParam = mirrored(w.endParam);
    w.direction = w.direction == 0 ? 1 : 0;
    refPoint = w.centre;
    return true;
}

double CEllipseCommon::BuildEllipseFromInput(x_Vector, x_Vector)
{
    const x_Vector& p = inputPoints[0];
    const x_Vector& q = inputPoints[1];
    if (p.IsEqual(q))
        return -1.0;
    EllipseRecord& w = workGeometry.ellipse;
    w.startParam = 0.0;
    w.endParam = kTwoPi;
    w.direction = 0;
    const x_Vector m((p.x + q.x) / 2.0, (p.y + q.y) / 2.0);
    refPoint = m;
    w.centre = m;
    w.majorAxis = x_Vector(q.x - m.x, q.y - m.y);
    return 0.0;
}

bool CEllipseCommon::SetMinorFrom(const x_Vector& point)
{
    const double a = workGeometry.ellipse.majorAxis.Length();
    if (point.IsEqual(refPoint) || !(a > kEps))
        return false;
    minorAxis = point - refPoint;
    workGeometry.ellipse.axisRatio = minorAxis.Length() / a;
    return true;
}

bool CEllipseCommon::AcceptsClick(int collected, const x_Vector& click) const
{
    if (collected == 1)
        return !click.IsEqual(inputPoints[0]);
    if (collected == 2)
        return !click.IsEqual(refPoint);
    return true;
}

void CEllipseCommon::FlattenWorkCurve()
{
    const EllipseRecord& w = workGeometry.ellipse;
    const double a = w.majorAxis.Length();
    FlattenEllipseArc(w.centre, w.direction, workCurve, a, a * w.axisRatio, EllipseAxisAngle(w),
                      w.startParam, w.endParam, 0.0);
}

void CEllipseCommon::Draw(CDC* dc, int mode, std::uint8_t* raster)
{
    g_DashPhase = 0;
    const UnitDrawStyle style = ChooseDrawStyle(DrawRule::curve);
    if (mode == 0) {
        if (dc != nullptr) {
            CPen pen(style.lineStyle, g_PenWidth, style.colour);
            CPen* old = dc->SelectObject(&pen);
            dc->SetBkMode(g_BackgroundMode);
            const int rop = dc->SetROP2(R2_COPYPEN);
            DrawWorldPolyline(dc, workCurve, 0, nullptr);
            dc->SetROP2(rop);
            dc->SelectObject(old);
        }
    } else {
        g_RasterDrawColor = style.colour;
        g_RasterDrawStyle = style.rasterPattern;
        if (mode == 1) {
            const std::uint8_t split = workGeometry.ellipse.splitPiece;
            workGeometry.ellipse = geometry.ellipse;
            workGeometry.ellipse.splitPiece = split;
            refPoint = geometry.ellipse.centre;
            if (!flatValid) {
                flatValid = 1;
                FlattenWorkCurve();
                flatPoints.Copy(workCurve);
            }
        }
        DrawWorldPolyline(dc, flatPoints, 1, raster);
    }
    complete = 1;
    if (!gripsValid) {
        gripsValid = 1;
        UpdateGripPoints();
        ComputeExtents();
    }
}

void CEllipseCommon::DrawRubber(CDC* dc, x_Vector)
{
    FlattenWorkCurve();
    if (dc == nullptr)
        return;
    DrawXorWorldPolyline(dc, g_RubberLineStyle, g_PenWidth, g_ActiveColor, workCurve);
}

void CEllipseCommon::EraseRubber(CDC* dc)
{
    if (g_rubberShown)
        DrawRubber(dc, x_Vector());
}

void CEllipseCommon::DrawHighlight(CDC* dc, int show)
{
    if (dc == nullptr || !HoverHighlightDraws(*this, show, picked))
        return;
    DrawXorWorldPolyline(dc, lineStyle, 3, RGB(255, 255, 255) - colour, flatPoints);
}

// Every grip but the last (the centre) with brush 0, each pixel once per
// render; the centre with brush 1.
void CEllipseCommon::DrawGrips(CDC* dc)
{
    const int n = gripPoints.GetSize();
    if (dc == nullptr || n == 0)
        return;
    CPen pen(PS_SOLID, 1, g_EndPointColor);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&g_DrawingBrushes[0]);
    dc->SetBkMode(OPAQUE);
    const int rop = dc->SetROP2(R2_NOTXORPEN);
    for (int i = 0; i + 1 < n; ++i) {
        const POINT p = WorldToScreen(gripPoints[i]);
        if (!AddUniquePair(p.x, p.y))
            dc->Rectangle(p.x - 8, p.y - 8, p.x + 8, p.y + 8);
    }
    dc->SelectObject(&g_DrawingBrushes[1]);
    const POINT c = WorldToScreen(gripPoints[n - 1]);
    dc->Rectangle(c.x - 8, c.y - 8, c.x + 8, c.y + 8);
    dc->SetROP2(rop);
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

void CEllipseCommon::CopyInto(CEllipseCommon* copy, int mode)
{
    if (mode != 0 && mode != 2)
        copy->unitId = unitId;
    copy->workGeometry.ellipse = mode == 2 ? workGeometry.ellipse : geometry.ellipse;
    copy->geometry.ellipse = copy->workGeometry.ellipse;
    CopyCommonAttributes(copy);
    copy->complete = 1;
}
