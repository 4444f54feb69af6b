#include "geometry/CDimLinear.h"

#include <cmath>

#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CDC.h"

IMPLEMENT_SERIAL(CDimLinear, CUnit, 1)

namespace {

constexpr double kDegrees = 57.29577951308232;
constexpr double kSameAxis = 0.0001;    // points this close in x (or y) lie on one vertical (horizontal)

void ShowReadout(CUnitView* view, const x_Vector& a, const x_Vector& b)
{
    if (view == nullptr)
        return;
    CString text;
    text.Format(u"线性长度：%0.4fmm ,角度：%.4f°", x_Vector::Distance(a, b), DirectionOf(a, b) * kDegrees);
    view->SetPromptText(text);
}

bool StrictlyOutside(double v, double a, double b)
{
    return (v > a && v > b) || (v < a && v < b);
}

// From p through the end e of the dimension line and 1 mm beyond.
x_Vector ExtensionEnd(const x_Vector& p, const x_Vector& e)
{
    return p + x_Vector::FromPolar(x_Vector::Distance(p, e) + 1.0, DirectionOf(p, e));
}

} // namespace

void CDimLinear::Serialize(CArchive& ar)
{
    CUnit::Serialize(ar);
    SerializeTail(ar, Tail::linear);
}

// Between the two points in both directions the previous choice holds.
void CDimLinear::ChooseMode(const x_Vector& p)
{
    DimensionRecord& w = Working();
    if (std::fabs(w.p1.x - w.p2.x) < kSameAxis)
        w.linearMode = 0;
    else if (std::fabs(w.p1.y - w.p2.y) < kSameAxis)
        w.linearMode = 1;
    else if (w.linearMode == 1 && StrictlyOutside(p.x, w.p1.x, w.p2.x))
        w.linearMode = 0;
    else if (w.linearMode == 0 && StrictlyOutside(p.y, w.p1.y, w.p2.y))
        w.linearMode = 1;
}

void CDimLinear::BuildDimensionLine()
{
    const DimensionRecord& w = Working();
    lineStart = w.p1 + x_Vector::FromPolar(w.distance, w.angle);
    lineEnd = w.linearMode == 1 ? x_Vector(w.p2.x, lineStart.y) : x_Vector(lineStart.x, w.p2.y);
}

void CDimLinear::BuildExtensions()
{
    const DimensionRecord& w = Working();
    extEnd1 = ExtensionEnd(w.p1, lineStart);
    extEnd2 = ExtensionEnd(w.p2, lineEnd);
    SetSegment(0, lineStart, lineEnd);
    SetSegment(1, w.p1, extEnd1);
    SetSegment(2, w.p2, extEnd2);
}

void CDimLinear::InteractiveStep(CDC* dc, CUnitView* view, x_Vector p)
{
    const bool drag = g_cmdStep == 4;
    DimensionRecord& w = Working();
    if (!drag && g_cmdPointCount == 1) {
        if (std::fabs(w.p1.x - p.x) < kSameAxis)
            w.linearMode = 0;
        else if (std::fabs(w.p1.y - p.y) < kSameAxis)
            w.linearMode = 1;
        lineStart = w.linearMode == 1 ? x_Vector(w.p1.x, p.y) : x_Vector(p.x, w.p1.y);
        lineEnd = p;
        w.value = x_Vector::Distance(lineStart, lineEnd);
        ShowReadout(view, lineStart, lineEnd);
        return;
    }
    if (!drag && g_cmdPointCount != 2)
        return;
    if (rubberShown)
        DrawRubber(dc, p);
    ChooseMode(p);
    double d = 0.0;
    if (w.linearMode == 1) {
        lineStart = x_Vector(w.p1.x, p.y);
        lineEnd = x_Vector(w.p2.x, p.y);
        d = p.y - w.p1.y;
    } else {
        lineStart = x_Vector(p.x, w.p1.y);
        lineEnd = x_Vector(p.x, w.p2.y);
        d = p.x - w.p1.x;
    }
    w.angle = DirectionOf(w.p1, lineStart);
    w.distance = std::fabs(d);
    if (drag) {
        rubberShown = 1;
        DrawRubber(dc, p);
        return;
    }
    w.value = x_Vector::Distance(lineStart, lineEnd);
    ShowReadout(view, lineStart, lineEnd);
    if ((x_Vector::Distance(lineStart, w.p1) > 0 && x_Vector::Distance(lineEnd, w.p2) > 0) || rubberShown) {
        DrawRubber(dc, p);
        rubberShown = 1;
    }
}

void CDimLinear::DrawRubber(CDC* dc, x_Vector)
{
    if (dc == nullptr)
        return;
    BuildDimensionLine();
    BuildExtensions();
    DimPenScope pen(dc, g_RubberLineStyle, g_ActiveColor, R2_NOTXORPEN);
    const DimLineSink sink{dc, nullptr, false};
    DimensionRecord& w = Working();
    sink(w.p1, extEnd1);
    sink(lineStart, lineEnd);
    sink(w.p2, extEnd2);
    // Set against the second extension line, unlike the drawn ticks.
    DrawObliqueTicks(sink, lineStart, lineEnd, x_Vector::Distance(w.p1, w.p2), DirectionOf(w.p2, extEnd2));
    if (!rubberShown) {
        w.value = x_Vector::Distance(lineStart, lineEnd);
        text.Format(u"%.4f", w.value);
        DrawRubberLabel(dc, (lineStart + lineEnd) / 2.0, text);
    }
}

void CDimLinear::Draw(CDC* dc, int mode, std::uint8_t* raster)
{
    const UnitDrawStyle style = BeginDraw(mode);
    DimPenScope pen(dc, style.lineStyle, style.colour, R2_COPYPEN);
    DimensionRecord& w = Working();
    BuildDimensionLine();
    BuildExtensions();
    w.value = x_Vector::Distance(lineStart, lineEnd);
    text.Format(u"%.4f", w.value);
    const DimLineSink sink{dc, raster, true};
    sink(extEnd1, w.p1);
    sink(lineEnd, lineStart);
    sink(extEnd2, w.p2);
    if (!gripsValid) {
        gripsValid = 1;
        UpdateGripPoints();
        ComputeExtents();
    }
    DrawObliqueTicks(sink, lineStart, lineEnd, w.value, DirectionOf(extEnd1, extEnd2));
    DrawDimLabel(dc, (lineStart + lineEnd) / 2.0, text, style.colour);
}

void CDimLinear::ComputeExtents()
{
    if (!gripsValid) {
        Working() = Current();
        lineStart = inputPoints[0];
        lineEnd = inputPoints[1];
        BuildExtensions();
    }
    extentMin = extentMax = segments[0].p1;
    for (const x_LineData& s : segments) {
        for (const x_Vector& p : {s.p1, s.p2}) {
            extentMin = x_Vector::MinCorner(extentMin, p);
            extentMax = x_Vector::MaxCorner(extentMax, p);
        }
    }
}

bool CDimLinear::HitTest(x_Vector point, std::uint8_t mode)
{
    return HitSegments(point, mode, 3);
}

void CDimLinear::CommitTransform()
{
    BuildDimensionLine();
    inputPoints[0] = lineStart;
    inputPoints[1] = lineEnd;
    DimensionRecord& w = Working();
    w.value = x_Vector::Distance(lineStart, lineEnd);
    w.p3 = w.p1;
    w.p4 = w.p2;
    CommitCommon();
}

// The offset direction turns to the nearest axis; the value is the X or
// Y distance of the transformed points.
void CDimLinear::SnapToAxis()
{
    DimensionRecord& w = Working();
    const double dx = std::fabs(w.p1.x - w.p2.x), dy = std::fabs(w.p1.y - w.p2.y);
    if (std::fabs(w.angle - kPi / 2) <= kPi / 4) {
        w.angle = kPi / 2;
        w.linearMode = 1;
        w.value = dx;
    } else if (std::fabs(w.angle - kPi) <= kPi / 4) {
        w.angle = kPi;
        w.linearMode = 0;
        w.value = dy;
    } else if (std::fabs(w.angle - 3 * kPi / 2) <= kPi / 4) {
        w.angle = 3 * kPi / 2;
        w.linearMode = 1;
        w.value = dx;
    } else {
        w.angle = 0;
        w.linearMode = 0;
        w.value = dy;
    }
    rubberShown = 1;
}

bool CDimLinear::Rotate(x_Vector centre, double angle)
{
    DimensionRecord& w = Working();
    w = Current();
    for (x_Vector* p : {&w.p1, &w.p2, &w.p3, &w.p4})
        p->RotateAbout(centre, angle);
    w.angle = NormalizeAngle(w.angle + angle);
    SnapToAxis();
    return true;
}

bool CDimLinear::Mirror(x_Vector a, x_Vector b)
{
    DimensionRecord& w = Working();
    w = Current();
    for (x_Vector* p : {&w.p1, &w.p2, &w.p3, &w.p4, &inputPoints[0], &inputPoints[1]})
        p->MirrorAbout(a, b);
    x_Vector u = x_Vector::FromPolar(1.0, w.angle);
    u.MirrorAbout(x_Vector(0, 0), b - a);
    w.angle = u.Angle();
    SnapToAxis();
    return true;
}

bool CDimLinear::Scale(x_Vector base, x_Vector f)
{
    DimensionRecord& w = Working();
    w = Current();
    w.distance *= f.x;
    for (x_Vector* p : {&w.p1, &w.p2, &w.p3, &w.p4, &inputPoints[0], &inputPoints[1]})
        p->ScaleAbout(base, f.x, f.y);
    SnapToAxis();
    return true;
}

// A copy from the working record (the commit of a grip drag) gets the
// dimension line of that record: it kept the old one before, so its ticks,
// label and hit segments stayed where the drag had started.
bool CDimLinear::Copy(int mode, CUnit*& out)
{
    if (mode != 1)
        ++g_UnitIdCounter;
    auto* copy = new CDimLinear();
    CopyInto(copy, mode, out);
    if (mode == 2) {
        copy->BuildDimensionLine();
        copy->inputPoints[0] = copy->lineStart;
        copy->inputPoints[1] = copy->lineEnd;
    }
    return true;
}
