#include "generators/gear_outline.h"

#include <algorithm>
#include <cmath>

#include "generators/involute_tooth.h"
#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CLine.h"
#include "geometry/CSplines.h"
#include "geometry/GeometryState.h"

namespace {

constexpr double kDegree = 0.017453292519943295;
constexpr double kPiValue = 3.141592653589793;
// The external gear's handle circle lies this far inside the root circle,
// the internal gear's this far outside it.
constexpr double kExternalHandleInset = 0.8;
constexpr double kInternalHandleOffset = 0.5;

struct GearBasics {
    double alpha, r, rb, invAlpha, thetaS;
};

GearBasics Basics(const GearInputs& in)
{
    GearBasics b;
    b.alpha = in.alphaDeg * kDegree;
    b.r = in.teeth * in.module / 2.0;
    b.rb = b.r * std::cos(b.alpha);
    const double alphaPitch = std::acos(b.rb / b.r);
    b.invAlpha = std::tan(alphaPitch) - alphaPitch;
    const double p = in.module * kPiValue;
    b.thetaS = (p / 2.0 + 2.0 * in.shift * in.module * std::tan(b.alpha)) / (2.0 * b.r);
    return b;
}

ToothBasis BasisOf(const GearBasics& b)
{
    return {b.rb, b.invAlpha, b.thetaS};
}

bool Fail(GearOutline& result, const char16_t* message)
{
    result.message = CString(message);
    return false;
}

bool Finite(const x_Vector& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// A template with an undefined number anywhere (a radius at or below zero,
// a coefficient that puts a circle inside out) must not reach the drawing.
bool TemplateIsFinite(ToothTemplate& t)
{
    bool ok = Finite(t.rightFlank->GetStartPoint()) && Finite(t.rightFlank->GetEndPoint());
    for (CArc* a : {t.rightInnerFillet.get(), t.rightOuterFillet.get()})
        if (a != nullptr)
            ok = ok && Finite(a->geometry.arc.centre) && std::isfinite(a->geometry.arc.radius)
                 && std::isfinite(a->geometry.arc.startAngle) && std::isfinite(a->geometry.arc.endAngle);
    if (t.rightRadial)
        ok = ok && Finite(t.rightRadial->geometry.line.p1) && Finite(t.rightRadial->geometry.line.p2);
    return ok;
}

CCir* NewHandleCircle(double radius, const ToothPlacement& place)
{
    CCir* c = NewCircle(x_Vector(0.0, 0.0), radius);
    MarkGearPiece(*c, place);
    c->role = 2;
    c->gearHandle = 1;
    return c;
}

void SetHandle(GearOutline& result, CUnit* unit, const x_Vector& point)
{
    unit->gearHandle = 1;
    result.handleUnit = unit;
    result.handlePoint = point;
}

x_Vector LineMidpoint(const CLine& line)
{
    return (line.geometry.line.p1 + line.geometry.line.p2) / 2.0;
}

bool SizesUsable(const GearCircles& c)
{
    return std::isfinite(c.ra) && std::isfinite(c.rroot);
}

} // namespace

CString TeethCountMessage(int teeth)
{
    if (teeth < 1)
        return CString(u"#请输入齿数");
    if (teeth > kMaxGearTeeth) {
        CString text;
        text.Format(u"#齿数不能大于%d", kMaxGearTeeth);
        return text;
    }
    return CString();
}

GearCircles ExternalGearCircles(const GearInputs& in)
{
    if (in.typedSizes)
        return {in.typedDa / 2.0, in.typedDf / 2.0};
    const double r = in.teeth * in.module / 2.0;
    return {r + in.module * (in.ha + in.shift), r - in.module * (in.ha + in.c - in.shift)};
}

GearCircles InternalGearCircles(const GearInputs& in)
{
    if (in.typedSizes)
        return {in.typedDa / 2.0, in.typedDf / 2.0};
    // The circles used to move against the shift (ra = r - m(ha* + x)) while
    // the space widened with it, so a plain z 40, x -0.5 gear closed its
    // spaces before the root circle and was refused.
    const double r = in.teeth * in.module / 2.0;
    return {r - in.module * (in.ha - in.shift), r + in.module * (in.ha + in.c + in.shift)};
}

bool BuildExternalGear(const GearInputs& in, const GearCircles& circles, std::int32_t group, bool checkOnly,
                       CUnitArray& out, GearOutline& result)
{
    result.message = CString(u"--");
    result.handleUnit = nullptr;
    if (!(circles.ra > circles.rroot) || !SizesUsable(circles))
        return Fail(result, u"#外齿轮参数 da<df 参数错误");
    if (checkOnly)
        return true;
    const GearBasics b = Basics(in);
    const ToothBasis basis = BasisOf(b);
    ToothTemplate t;
    double tEnd = std::acos(b.rb / circles.ra);
    if (in.tipFillet > 0.0) {
        if (!BuildOuterFillet(basis, circles.ra, in.tipFillet, t.rightOuterFillet, tEnd)
            || ArcPointAt(t.rightOuterFillet->geometry.arc, t.rightOuterFillet->geometry.arc.endAngle).x < 0.0)
            return Fail(result, u"#齿顶过渡圆角半径过大或变位系数过大");
    }
    t.rightFlank = NewTemplateFlank(basis, tEnd);
    if (SampleInvolute(*t.rightFlank, result.flankSamples) < 2)
        return Fail(result, u"#齿轮生成失败");
    if (t.rightFlank->GetEndPoint().x < 0.0)
        return Fail(result, u"#变位系数过大");
    const x_Vector s0 = result.flankSamples[0];
    if (in.rootFillet > 0.0) {
        if (in.rootFillet >= in.module / 2.0)
            return Fail(result, u"#齿根过渡圆半径过大 代码：1");
        BuildInnerFillet(basis, circles.rroot, in.rootFillet, s0, t);
    } else if (!BuildPlainInnerCorner(basis, circles.rroot, s0, t)) {
        return Fail(result, u"#齿根过渡圆半径过大或过小 代码：2");
    }
    if (!TemplateIsFinite(t))
        return Fail(result, u"#齿轮生成失败");
    MirrorTemplate(t);

    ToothPlacement place;
    place.count = in.byCount ? std::min(in.countToMake, in.teeth) : in.teeth;
    place.firstAxis = in.byCount ? in.startAngleDeg * kDegree : 0.0;
    place.step = 2.0 * kPiValue / in.teeth;
    place.count = std::max(place.count, 0);
    place.toothCount = place.count;
    place.gearKind = 1;
    place.group = group;
    const bool full = place.count == in.teeth;
    PlacedTeeth placed;
    PlaceToothCopies(t, place, out, placed);
    if (!full && place.count >= 1)
        if (CLine* tip = placed.connecting[size_t(place.count / 2)])
            SetHandle(result, tip, LineMidpoint(*tip));
    AppendInnerArcs(placed, full ? place.count : place.count - 1, circles.rroot, place, out);
    if (full && place.count >= 2) {
        // A root circle smaller than the inset would give the handle circle
        // a negative radius; it then takes half the root radius.
        double radius = circles.rroot - kExternalHandleInset;
        if (!(radius > 0.0))
            radius = circles.rroot / 2.0;
        CCir* handle = NewHandleCircle(radius, place);
        out.Add(handle);
        SetHandle(result, handle, x_Vector(0.0, 0.0));
    }
    return true;
}

bool BuildInternalGear(const GearInputs& in, const GearCircles& circles, std::int32_t group, bool checkOnly,
                       CUnitArray& out, GearOutline& result)
{
    result.message = CString(u"--");
    result.handleUnit = nullptr;
    if (circles.ra > circles.rroot || !SizesUsable(circles))
        return Fail(result, u"#内齿轮参数 da>df 参数错误");
    if (checkOnly)
        return true;
    const GearBasics b = Basics(in);
    const ToothBasis basis = BasisOf(b);
    ToothTemplate t;
    t.rightFlank = NewTemplateFlank(basis, std::acos(b.rb / circles.rroot));
    if (SampleInvolute(*t.rightFlank, result.flankSamples) < 2)
        return Fail(result, u"#齿轮参数错误");
    const x_Vector s0 = result.flankSamples[0];
    if (in.tipFillet > 0.0) {
        if (in.tipFillet >= in.module / 2.0)
            return Fail(result, u"#齿根过渡圆半径过大 代码：1");
        BuildInnerFillet(basis, circles.ra, in.tipFillet, s0, t);
    } else if (!BuildPlainInnerCorner(basis, circles.ra, s0, t)) {
        return Fail(result, u"#齿根过渡圆半径过大或过小 代码：2");
    }
    if (t.rightFlank->GetEndPoint().x < 0.0)
        return Fail(result, u"#参数不正确，无法生成齿轮");
    if (in.rootFillet > 0.0) {
        // A root fillet that does not fit the space bottom is left out.
        std::unique_ptr<CArc> fillet;
        double t1 = 0.0;
        if (BuildOuterFillet(basis, circles.rroot, in.rootFillet, fillet, t1)
            && ArcPointAt(fillet->geometry.arc, fillet->geometry.arc.endAngle).x >= 0.0) {
            t.rightOuterFillet = std::move(fillet);
            SetFlankRange(*t.rightFlank, t.rightFlank->geometry.spline.startParam, t1);
        }
    }
    if (!TemplateIsFinite(t))
        return Fail(result, u"#齿轮参数错误");
    MirrorTemplate(t);

    ToothPlacement place;
    place.count = in.byCount ? 1 : in.teeth;
    place.firstAxis = in.byCount ? in.startAngleDeg * kDegree : 0.0;
    place.step = 2.0 * kPiValue / in.teeth;
    place.toothCount = in.teeth;
    place.gearKind = 2;
    place.group = group;
    PlacedTeeth placed;
    PlaceToothCopies(t, place, out, placed);
    if (place.count == 1 && placed.connecting[0] != nullptr)
        SetHandle(result, placed.connecting[0], LineMidpoint(*placed.connecting[0]));
    if (place.count >= 2) {
        AppendInnerArcs(placed, place.count, circles.ra, place, out);
        CCir* handle = NewHandleCircle(circles.rroot + kInternalHandleOffset, place);
        out.Add(handle);
        SetHandle(result, handle, x_Vector(0.0, 0.0));
    }
    return true;
}
