#include "geometry/CDimPLine.h"

#include <cmath>

#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CDC.h"

IMPLEMENT_SERIAL(CDimPLine, CUnit, 1)

namespace {

constexpr double kDegrees = 57.29577951308232;
constexpr double kLongRun = 30.0;       // longer axis runs get a jog 20 mm before the text
constexpr double kFinalRun = 20.0;
constexpr double kJogStart = 28.0;      // the axis run ends this far short of the knee

bool SameExactly(const x_Vector& a, const x_Vector& b)
{
    return a.x == b.x && a.y == b.y && a.valid == b.valid;
}

} // namespace

void CDimPLine::Serialize(CArchive& ar)
{
    CUnit::Serialize(ar);
    SerializeTail(ar, Tail::shared);
}

//   w = leader angle to the X axis in [0, π/2]
//   knee K = (p1.x, p2.y) when steeper than 45°, else (p2.x, p1.y)
//   axis run X > 30:  p1 → J = p1 + (X − 28)·dir(R),  J → K' = p2 − 20·dir(R),  K' → p2
//   otherwise:        K → p1 only
int OrdinateLeader(const x_Vector& p1, const x_Vector& p2, x_LineData out[3])
{
    auto segment = [&](int i, const x_Vector& a, const x_Vector& b) {
        out[i].p1 = a;
        out[i].p2 = b;
        out[i].used = 1;
    };
    double w = DirectionOf(p1, p2);
    if (w > kPi)
        w -= kPi;
    if (w > kPi / 2)
        w = kPi - w;
    const x_Vector knee = std::fabs(w - kPi / 2) < w ? x_Vector(p1.x, p2.y) : x_Vector(p2.x, p1.y);
    const double run = x_Vector::Distance(p1, knee);
    if (SameExactly(p2, knee) || run <= kLongRun) {
        segment(0, knee, p1);
        return 1;
    }
    const double dir = DirectionOf(p1, knee);
    double back = dir + kPi;
    if (back >= kTwoPi)
        back -= kTwoPi;
    const x_Vector jogStart = p1 + x_Vector::FromPolar(run - kJogStart, dir);
    const x_Vector jogEnd = p2 + x_Vector::FromPolar(kFinalRun, back);
    segment(0, p1, jogStart);
    segment(1, jogStart, jogEnd);
    segment(2, jogEnd, p2);
    return 3;
}

void CDimPLine::Draw(CDC* dc, int mode, std::uint8_t* raster)
{
    const UnitDrawStyle style = BeginDraw(mode);
    DimPenScope pen(dc, style.lineStyle, style.colour, R2_COPYPEN);
    const DimensionRecord& w = Working();
    text.Format(u"%.2f", w.value);
    SetSegment(0, w.p1, w.p2);
    x_LineData leader[3];
    const int n = OrdinateLeader(w.p1, w.p2, leader);
    const DimLineSink sink{dc, raster, true};
    for (int i = 0; i < n; ++i)
        sink(leader[i].p1, leader[i].p2);
    const double k = DimTextScale();
    const int h = static_cast<int>(std::trunc(5 * k));
    DrawDimLabel(dc, w.p2, text, style.colour, -h, -static_cast<int>(std::trunc(0.5 * k)));
    if (!gripsValid) {
        gripsValid = 1;
        UpdateGripPoints();
        ComputeExtents();
    }
}

void CDimPLine::DrawRubber(CDC* dc, x_Vector)
{
    if (dc == nullptr)
        return;
    DimPenScope pen(dc, g_RubberLineStyle, g_ActiveColor, R2_NOTXORPEN);
    DimLineSink{dc, nullptr, false}(Working().p1, Working().p2);
}

void CDimPLine::InteractiveStep(CDC* dc, CUnitView* view, x_Vector p)
{
    if (g_cmdStep == 4 || g_cmdPointCount != 2)
        return;
    if (rubberShown)
        DrawRubber(dc, p);
    DimensionRecord& w = Working();
    w.distance = 0;
    w.p2 = p;
    CString readout;
    if (std::fabs(p.y - w.p1.y) <= std::fabs(p.x - w.p1.x)) {
        w.p2.y = w.p1.y;
        w.value = w.p1.y;
        readout.Format(u"Y 值：%0.4f ，角度：%.4f°", w.p1.y, DirectionOf(w.p1, w.p2) * kDegrees);
    } else {
        w.p2.x = w.p1.x;
        w.value = w.p1.x;
        readout.Format(u"X 值：%0.4f ，角度：%.4f°", w.p1.x, DirectionOf(w.p1, w.p2) * kDegrees);
    }
    if (view != nullptr)
        view->SetPromptText(readout);
    if (rubberShown)
        DrawRubber(dc, p);
}

// A grip click copies the record as it is: the exchange of the shared pick
// swapped the feature point and the text point of the committed dimension.
void CDimPLine::OnPick(CDC* dc, CUnitView* view, x_Vector point)
{
    PickDimension(dc, view, point, false);
}

bool CDimPLine::HitTest(x_Vector point, std::uint8_t mode)
{
    return HitSegments(point, mode, 1);
}

void CDimPLine::ComputeExtents()
{
    Working() = Current();
    extentMin = x_Vector::MinCorner(Working().p1, Working().p2);
    extentMax = x_Vector::MaxCorner(Working().p1, Working().p2);
}

void CDimPLine::UpdateGripPoints()
{
    keyPoints.RemoveAll();
    gripPoints.RemoveAll();
    for (const x_Vector& p : {Current().p1, Current().p2}) {
        keyPoints.Add(p);
        gripPoints.Add(p);
    }
}

bool CDimPLine::Rotate(x_Vector centre, double angle)
{
    DimensionRecord& w = Working();
    w = Current();
    w.p1.RotateAbout(centre, angle);
    w.p2.RotateAbout(centre, angle);
    w.angle = NormalizeAngle(w.angle + angle);
    return true;
}

bool CDimPLine::Mirror(x_Vector a, x_Vector b)
{
    DimensionRecord& w = Working();
    w = Current();
    w.p1.MirrorAbout(a, b);
    w.p2.MirrorAbout(a, b);
    x_Vector u = x_Vector::FromPolar(1.0, w.angle);
    u.MirrorAbout(x_Vector(0, 0), b - a);
    w.angle = u.Angle();
    return true;
}

bool CDimPLine::Scale(x_Vector base, x_Vector f)
{
    DimensionRecord& w = Working();
    w = Current();
    w.distance *= f.x;
    w.p1.ScaleAbout(base, f.x, f.y);
    w.p2.ScaleAbout(base, f.x, f.y);
    return true;
}

bool CDimPLine::Copy(int mode, CUnit*& out)
{
    if (mode != 1)
        ++g_UnitIdCounter;
    return CopyInto(new CDimPLine(), mode, out);
}
