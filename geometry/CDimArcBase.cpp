#include "geometry/CDimArcBase.h"

#include <cmath>

#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "geometry/curve_helpers.h"
#include "geometry/dimension_drawing.h"
#include "geometry/pick_and_drag.h"
#include "geometry/screen_marks.h"
#include "geometry/unit_services.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CDC.h"

namespace {

constexpr double kOnArcEnd = 0.0001;    // a point this close to an arc end is at distance d
constexpr double kSameWitness = 0.001;

double Wrapped(double a)
{
    if (a > kTwoPi)
        return a - kTwoPi;
    if (a < 0)
        return a + kTwoPi;
    return a;
}

x_Vector OnArc(const DimensionArc& r, double a)
{
    return r.centre + x_Vector::FromPolar(r.radius, a);
}

bool Differs(const x_Vector& a, const x_Vector& b)
{
    return std::fabs(a.x - b.x) >= kSameWitness || std::fabs(a.y - b.y) >= kSameWitness;
}

} // namespace

double UnwrappedEnd(double start, double end, std::uint8_t direction)
{
    if (direction == 1)
        return start < end + 1e-10 ? end - kTwoPi : end;
    return start > end - 1e-10 ? end + kTwoPi : end;
}

CDimArcBase::CDimArcBase(UnitFamily family) : CUnit(family)
{
    CUnit::ResetState();
    role = kRoleAnnotation;
    unitId = g_UnitIdCounter;
    lineStyle = g_CurrentLineStyle;
    colour = g_AnnotationColor;
    dashDot = g_CurrentDashDot;
}

CDimArcBase::~CDimArcBase()
{
    CUnit::FreeCaches();
}

// centre, startAngle, endAngle, storedText (wide string form), witnessRadius,
// radius, direction (byte); the kind's own fields follow.
void CDimArcBase::SerializeArc(CArchive& ar)
{
    DimensionArc& r = CurrentArc();
    if (ar.IsStoring()) {
        ar << r.centre << r.startAngle << r.endAngle;
        ar.WriteWideString(r.storedText);
        ar << r.witnessRadius << r.radius << std::uint8_t(r.direction ? 1 : 0) << r.value;
        return;
    }
    ar >> r.centre >> r.startAngle >> r.endAngle;
    r.storedText = ar.ReadWideString();
    std::uint8_t direction = 0;
    ar >> r.witnessRadius >> r.radius >> direction >> r.value;
    r.direction = direction != 0 ? 1 : 0;
    gripsValid = 0;
}

x_Vector CDimArcBase::GetStartPoint()
{
    x_Vector p = OnArc(CurrentArc(), CurrentArc().startAngle);
    p.valid = 1;
    return p;
}

x_Vector CDimArcBase::GetEndPoint()
{
    x_Vector p = OnArc(CurrentArc(), CurrentArc().endAngle);
    p.valid = 1;
    return p;
}

void CDimArcBase::UpdateKeyPoints()
{
    const DimensionArc& r = CurrentArc();
    const double middle = (r.startAngle + UnwrappedEnd(r.startAngle, r.endAngle, r.direction)) / 2;
    inputPoints[0] = OnArc(r, r.startAngle);
    inputPoints[1] = OnArc(r, middle);
    inputPoints[2] = OnArc(r, r.endAngle);
    for (int i = 0; i < 3; ++i)
        inputPoints[i].valid = 1;
}

void CDimArcBase::UpdateGripPoints()
{
    gripPoints.RemoveAll();
    keyPoints.RemoveAll();
    for (int i = 0; i < 3; ++i) {
        gripPoints.Add(inputPoints[i]);
        keyPoints.Add(inputPoints[i]);
    }
}

int CDimArcBase::HitTestGrip(x_Vector point)
{
    return FindGripNear(keyPoints, point, edit->gripHit);
}

void CDimArcBase::DrawGrips(CDC* dc)
{
    DrawGripSquares(*this, dc);
}

// Near the centre, inside the sector, the dimension is as close as the
// centre itself.
double CDimArcBase::DistanceTo(x_Vector& p, int, int, double)
{
    const double ds = x_Vector::Distance(p, GetStartPoint());
    if (ds < kOnArcEnd)
        return ds;
    const double de = x_Vector::Distance(p, GetEndPoint());
    if (de < kOnArcEnd)
        return de;
    const DimensionArc& r = CurrentArc();
    if (!AngleInArc((p - r.centre).Angle(), r.startAngle, r.endAngle, r.direction != 0))
        return 1e10;
    const double fromCentre = x_Vector::Distance(p, r.centre);
    const double fromArc = std::fabs(fromCentre - r.radius);
    return fromArc < fromCentre ? fromArc : fromCentre;
}

bool CDimArcBase::HitTest(x_Vector p, std::uint8_t exact)
{
    const double d = DistanceTo(p, 0, 0, 0);
    return exact ? d < 0.0001 : d * g_ViewScale < 8;
}

void CDimArcBase::ComputeExtents()
{
    const DimensionArc& r = CurrentArc();
    const x_Vector s = GetStartPoint(), e = GetEndPoint();
    x_Vector lo = x_Vector::MinCorner(s, e), hi = x_Vector::MaxCorner(s, e);
    const double a = r.direction == 1 ? r.endAngle : r.startAngle;
    const double b = r.direction == 1 ? r.startAngle : r.endAngle;
    const bool wraps = a > b - 1e-12;
    auto crosses = [&](double q) { return (a < q && q < b) || (wraps && (b > q || a < q)); };
    const double cx = r.centre.x, cy = r.centre.y, rad = r.radius;
    if (crosses(kPi))
        lo.x = cx - rad;
    if (wraps)
        hi.x = cx + rad;
    if (crosses(3 * kPi / 2))
        lo.y = cy - rad;
    if (crosses(kPi / 2))
        hi.y = cy + rad;
    extentMin = x_Vector(lo.x, lo.y);
    extentMax = x_Vector(hi.x, hi.y);
}

void CDimArcBase::OnPick(CDC*, CUnitView* view, x_Vector point)
{
    if (view == nullptr)
        return;
    if (selected && g_curCommand == 0) {
        g_rubberShown = 0;
        const int k = HitTestGrip(point);
        view->m_gripNumber = k;
        if (k >= 1) {
            ResetEntityStates();
            BeginGripDrag(*this, *view, 4);
            TakeCurrentRecord();
        }
    } else if (!selected) {
        SelectOnHit(*this, *view, point);
    }
    if (!view->m_gripDragFlag)
        return;
    view->m_dragUnit = this;
    view->m_pickUnit = this;
}

CDimArcBase::Witnesses CDimArcBase::WorkingWitnesses()
{
    return {};
}

//   θs = dir(Ps − centre) ± π/2, θe = dir(Pe − centre) ∓ π/2 (upper signs
//   counter-clockwise): each arrowhead's tip on an arc end, pointing out.
void CDimArcBase::DrawArcPicture(CDC* dc, std::uint8_t* raster, bool toRaster, PointListCull cull)
{
    const DimensionArc& r = WorkingArc();
    FlattenArc(workCurve, r.centre, r.radius, r.startAngle, r.endAngle, r.direction, 0);
    DrawPointList(dc, workCurve, toRaster ? 1 : 0, raster, cull);
    const x_Vector ps = OnArc(r, r.startAngle), pe = OnArc(r, r.endAngle);
    const double quarter = r.direction == 1 ? -kPi / 2 : kPi / 2;
    DrawArrowhead(dc, ps, Wrapped((ps - r.centre).Angle() + quarter));
    DrawArrowhead(dc, pe, Wrapped((pe - r.centre).Angle() - quarter));
    const Witnesses w = WorkingWitnesses();
    const DimLineSink sink{dc, raster, toRaster};
    if (!w.fromLines) {
        const x_Vector w1 = r.centre + x_Vector::FromPolar(r.witnessRadius, r.startAngle);
        const x_Vector w2 = r.centre + x_Vector::FromPolar(r.witnessRadius, r.endAngle);
        auto apart = [&](const x_Vector& a, const x_Vector& b) { return toRaster ? Differs(a, b) : !a.IsEqual(b); };
        if (apart(ps, w1))
            sink(ps, w1);
        if (apart(pe, w2))
            sink(pe, w2);
        return;
    }
    // A picked line end beyond the dimension arc needs no witness line.
    if (x_Vector::Distance(w.w1, r.centre) < r.radius)
        sink(ps, w.w1);
    if (x_Vector::Distance(w.w2, r.centre) < r.radius)
        sink(pe, w.w2);
}

void CDimArcBase::DrawArcLabel(CDC* dc, COLORREF colour)
{
    const DimensionArc& r = WorkingArc();
    const double middle = (r.startAngle + UnwrappedEnd(r.startAngle, r.endAngle, r.direction)) / 2;
    FormatLabel();
    DrawDimLabel(dc, OnArc(r, middle), text, colour);
}

void CDimArcBase::DrawDimensionArc(CDC* dc, int mode, std::uint8_t* raster, bool copyMode, PointListCull cull)
{
    g_DashPhase = 0;
    const UnitDrawStyle style = ChooseDrawStyle(DrawRule::annotation);
    {
        DimPenScope pen(dc, style.lineStyle, style.colour, copyMode ? R2_COPYPEN : 0);
        pen.Brush(BS_SOLID, style.colour);
        g_RasterDrawColor = style.colour;
        g_RasterDrawStyle = style.rasterPattern > 3 ? 0 : style.rasterPattern;
        if (mode == 1)
            TakeCurrentRecord();
        DrawArcPicture(dc, raster, true, cull);
        DrawArcLabel(dc, style.colour);
    }
    if (!gripsValid) {
        gripsValid = 1;
        UpdateKeyPoints();
        UpdateGripPoints();
        ComputeExtents();
    }
}

void CDimArcBase::DrawArcRubber(CDC* dc, PointListCull cull)
{
    if (dc == nullptr)
        return;
    DimPenScope pen(dc, g_RubberLineStyle, g_ActiveColor, R2_NOTXORPEN);
    pen.Brush(static_cast<unsigned>(brushStyle), g_ActiveColor);
    DrawArcPicture(dc, nullptr, false, cull);
}

void CDimArcBase::MoveArc(const x_Vector& d)
{
    DimensionArc& w = WorkingArc();
    w.centre = w.centre + d;
    w.centre.valid = 1;
}

void CDimArcBase::RotateArc(const x_Vector& c, double angle)
{
    DimensionArc& w = WorkingArc();
    w.centre.RotateAbout(c, angle);
    w.startAngle = NormalizeAngle(w.startAngle + angle);
    w.endAngle = NormalizeAngle(w.endAngle + angle);
}

void CDimArcBase::ScaleArc(const x_Vector& base, const x_Vector& f)
{
    DimensionArc& w = WorkingArc();
    w.centre.ScaleAbout(base, f.x, f.y);
    w.radius *= f.x;
}

void CDimArcBase::MirrorArc(const x_Vector& a, const x_Vector& b)
{
    DimensionArc& w = WorkingArc();
    w.centre.MirrorAbout(a, b);
    w.direction = w.direction ? 0 : 1;
    for (double* angle : {&w.startAngle, &w.endAngle}) {
        x_Vector u = x_Vector::FromPolar(1.0, *angle);
        u.MirrorAbout(x_Vector(0, 0), b - a);
        *angle = u.Angle();
    }
}
