#include "geometry/CDimLine.h"

#include <cmath>

#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "geometry/plane_geometry.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CDC.h"

IMPLEMENT_SERIAL(CDimLine, CUnit, 1)

namespace {

constexpr double kDegrees = 57.29577951308232;

void ShowReadout(CUnitView* view, const x_Vector& a, const x_Vector& b)
{
    if (view == nullptr)
        return;
    CString text;
    text.Format(u"长度：%0.4fmm ，角度：%.4f°", x_Vector::Distance(a, b), DirectionOf(a, b) * kDegrees);
    view->SetPromptText(text);
}

} // namespace

void CDimLine::Serialize(CArchive& ar)
{
    CUnit::Serialize(ar);
    SerializeTail(ar, Tail::aligned);
}

//   o = distance·(cos angle, sin angle),  o' = (distance + 1)·(cos angle, sin angle)
//   lineStart = p1 + o, lineEnd = p2 + o, extEnd1 = p1 + o', extEnd2 = p2 + o'
void CDimLine::BuildDerived()
{
    const DimensionRecord& w = Working();
    const x_Vector o = x_Vector::FromPolar(w.distance, w.angle);
    const x_Vector o1 = x_Vector::FromPolar(w.distance + 1.0, w.angle);
    lineStart = w.p1 + o;
    lineEnd = w.p2 + o;
    extEnd1 = w.p1 + o1;
    extEnd2 = w.p2 + o1;
    SetSegment(0, lineStart, lineEnd);
    SetSegment(1, w.p1, extEnd1);
    SetSegment(2, w.p2, extEnd2);
}

void CDimLine::InteractiveStep(CDC* dc, CUnitView* view, x_Vector p)
{
    const bool drag = g_cmdStep == 4;
    if (!drag && g_cmdPointCount == 1) {
        ShowReadout(view, Working().p1, p);
        return;
    }
    if (!drag && g_cmdPointCount != 2)
        return;
    if (rubberShown)
        DrawRubber(dc, p);
    DimensionRecord& w = Working();
    const x_Vector foot = PerpendicularFoot(p, w.p1, w.p2);
    w.distance = x_Vector::Distance(p, foot);
    const double theta = DirectionOf(w.p1, w.p2);
    double plus = theta + kPi / 2;
    if (plus > kTwoPi)
        plus -= kTwoPi;
    double minus = theta - kPi / 2;
    if (minus < 0)
        minus += kTwoPi;
    // The side of the cursor: the normal nearer to the offset F→P.
    const x_Vector c = x_Vector::FromPolar(w.distance, DirectionOf(foot, p));
    const x_Vector a = x_Vector::FromPolar(w.distance, plus);
    const x_Vector b = x_Vector::FromPolar(w.distance, minus);
    w.angle = (b - c).Length() < (a - c).Length() ? minus : plus;
    if (drag) {
        rubberShown = 1;
        DrawRubber(dc, p);
        return;
    }
    ShowReadout(view, w.p1, w.p2);
    if (w.distance > 0 || rubberShown) {
        DrawRubber(dc, p);
        rubberShown = 1;
    }
}

void CDimLine::DrawRubber(CDC* dc, x_Vector)
{
    if (dc == nullptr)
        return;
    BuildDerived();
    DimPenScope pen(dc, g_RubberLineStyle, g_ActiveColor, R2_NOTXORPEN);
    const DimLineSink sink{dc, nullptr, false};
    const DimensionRecord& w = Working();
    sink(w.p1, extEnd1);
    sink(lineStart, lineEnd);
    sink(w.p2, extEnd2);
    DrawObliqueTicks(sink, lineStart, lineEnd, x_Vector::Distance(lineStart, lineEnd),
                     DirectionOf(extEnd1, extEnd2));
    if (!rubberShown) {
        Working().value = x_Vector::Distance(w.p1, w.p2);
        text.Format(u"%.4f", Working().value);
        DrawRubberLabel(dc, (lineStart + lineEnd) / 2.0, text);
    }
}

void CDimLine::Draw(CDC* dc, int mode, std::uint8_t* raster)
{
    const UnitDrawStyle style = BeginDraw(mode);
    DimPenScope pen(dc, style.lineStyle, style.colour, R2_COPYPEN);
    DimensionRecord& w = Working();
    if (mode == 0)
        w.value = x_Vector::Distance(w.p1, w.p2);
    text.Format(u"%.4f", w.value);
    BuildDerived();
    const DimLineSink sink{dc, raster, true};
    sink(extEnd1, w.p1);
    sink(lineEnd, lineStart);
    sink(extEnd2, w.p2);
    DrawObliqueTicks(sink, lineStart, lineEnd, w.value, DirectionOf(extEnd1, extEnd2));
    DrawDimLabel(dc, (lineStart + lineEnd) / 2.0, text, style.colour);
    if (!gripsValid) {
        gripsValid = 1;
        UpdateGripPoints();
        ComputeExtents();
    }
}

void CDimLine::ComputeExtents()
{
    if (!gripsValid) {
        Working() = Current();
        BuildDerived();
    }
    extentMin = extentMax = segments[0].p1;
    for (const x_LineData& s : segments) {
        for (const x_Vector& p : {s.p1, s.p2}) {
            extentMin = x_Vector::MinCorner(extentMin, p);
            extentMax = x_Vector::MaxCorner(extentMax, p);
        }
    }
}

bool CDimLine::HitTest(x_Vector point, std::uint8_t mode)
{
    return HitSegments(point, mode, 3);
}

void CDimLine::CommitTransform()
{
    DimensionRecord& w = Working();
    w.value = x_Vector::Distance(w.p1, w.p2);
    w.p3 = w.p1;
    w.p4 = w.p2;
    CommitCommon();
}

bool CDimLine::Rotate(x_Vector centre, double angle)
{
    DimensionRecord& w = Working();
    w = Current();
    for (x_Vector* p : {&w.p1, &w.p2, &w.p3, &w.p4})
        p->RotateAbout(centre, angle);
    w.angle = NormalizeAngle(w.angle + angle);
    rubberShown = 1;
    return true;
}

bool CDimLine::Mirror(x_Vector a, x_Vector b)
{
    DimensionRecord& w = Working();
    w = Current();
    for (x_Vector* p : {&w.p1, &w.p2, &w.p3, &w.p4})
        p->MirrorAbout(a, b);
    x_Vector u = x_Vector::FromPolar(1.0, w.angle);
    u.MirrorAbout(x_Vector(0, 0), b - a);
    w.angle = u.Angle();
    rubberShown = 1;
    return true;
}

bool CDimLine::Scale(x_Vector base, x_Vector f)
{
    DimensionRecord& w = Working();
    w = Current();
    w.distance *= f.x;
    w.p1.ScaleAbout(base, f.x, f.y);
    w.p2.ScaleAbout(base, f.x, f.y);
    rubberShown = 1;
    return true;
}

bool CDimLine::Copy(int mode, CUnit*& out)
{
    if (mode != 1)
        ++g_UnitIdCounter;
    return CopyInto(new CDimLine(), mode, out);
}
