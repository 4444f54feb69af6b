#include "generators/rack_outline.h"

#include <cmath>
#include <memory>

#include "geometry/CArc.h"
#include "geometry/CLine.h"
#include "geometry/GeometryState.h"
#include "platform/core/CArray.h"

namespace {

constexpr double kDegree = 0.017453292519943295;
constexpr double kPiValue = 3.141592653589793;
constexpr double kHalfPi = kPiValue / 2.0;

// Tooth frame: root line y = 0, pitch line y = hf, tip line y = H; tooth k
// is centred on x = k p, space k on x = k p + p/2. The template is the right
// flank of tooth 0 with its fillets; its image in x = p/2 is the left flank
// of tooth 1.
struct RackTemplate {
    x_Vector rootEnd, tipEnd;                   // the flank line's ends
    std::unique_ptr<CArc> tipFillet, rootFillet;
    std::unique_ptr<CArc> tipFilletImage, rootFilletImage;
};

struct RackMarks {
    std::int32_t toothCount;
    std::int32_t group;
};

void Mark(CUnit& u, const RackMarks& m)
{
    u.gearKind = 3;
    u.pieceOf = 5;
    u.toothCount = m.toothCount;
    u.complete = 0;
    u.group = m.group;
}

CLine* AddLine(const x_Vector& a, const x_Vector& b, const RackMarks& m, CUnitArray& out)
{
    ++g_UnitIdCounter;
    auto* l = new CLine(a.x, a.y, b.x, b.y);
    l->workGeometry = l->geometry;
    Mark(*l, m);
    out.Add(l);
    return l;
}

CArc* AddArc(const CArc& src, double shift, const RackMarks& m, CUnitArray& out)
{
    const ArcRecord& a = src.geometry.arc;
    CArc* arc = NewArc(a.centre + x_Vector(shift, 0.0), a.radius, a.startAngle, a.endAngle, a.direction);
    Mark(*arc, m);
    out.Add(arc);
    return arc;
}

std::unique_ptr<CArc> TemplateArc(const x_Vector& c, double r, double start, double end)
{
    auto arc = std::make_unique<CArc>();
    arc->geometry.arc = MakeArcRecord(c, r, start, end);
    arc->geometry.arc.direction = 0;
    arc->workGeometry.arc = arc->geometry.arc;
    return arc;
}

std::unique_ptr<CArc> MirrorArc(const CArc& src, double axisX)
{
    const ArcRecord& a = src.geometry.arc;
    const auto mirrorAngle = [](double t) { return x_Vector(-std::cos(t), std::sin(t)).Angle(); };
    auto arc = TemplateArc(x_Vector(2.0 * axisX - a.centre.x, a.centre.y), a.radius, mirrorAngle(a.startAngle),
                           mirrorAngle(a.endAngle));
    arc->geometry.arc.direction = a.direction != 0 ? 0 : 1;
    arc->workGeometry.arc = arc->geometry.arc;
    return arc;
}

x_Vector EndOf(const CArc& arc)
{
    return ArcPointAt(arc.geometry.arc, arc.geometry.arc.endAngle);
}

} // namespace

RackHeights ComputeRackHeights(const RackInputs& in)
{
    if (in.typedHeights)
        return {in.typedTip / 2.0, in.typedRoot / 2.0};
    return {in.module * (in.ha + in.shift), in.module * (in.ha + in.c - in.shift)};
}

bool BuildRack(const RackInputs& in, const RackHeights& h, std::int32_t group, CUnitArray& out,
               RackOutline& result)
{
    result.message = CString(u"--");
    result.handleUnit = nullptr;
    const double alpha = in.alphaDeg * kDegree;
    const double p = in.module * kPiValue;
    const double height = h.ha + h.hf;
    // Both corners, the tooth's at the tip and the space's at the root,
    // measure pi/2 + alpha; mu is half of it.
    const double mu = (alpha + kHalfPi) / 2.0;
    RackTemplate t;
    t.rootEnd = x_Vector(p / 4.0 + h.hf * std::tan(alpha), 0.0);
    t.tipEnd = x_Vector(p / 4.0 - h.ha * std::tan(alpha), height);
    if (in.tipFillet > 0.0) {
        const x_Vector c = t.tipEnd + x_Vector::FromPolar(in.tipFillet / std::sin(mu), mu + kPiValue);
        const x_Vector flankContact = c + x_Vector::FromPolar(in.tipFillet, alpha);
        const x_Vector tipContact = c + x_Vector(0.0, in.tipFillet);
        if (tipContact.x < 0.0) {
            result.message = CString(u"#齿顶过渡圆角半径过大");
            return false;
        }
        t.tipFillet = TemplateArc(c, in.tipFillet, x_Vector::AngleTo(c, flankContact), kHalfPi);
        t.tipEnd = flankContact;
    }
    if (in.rootFillet > 0.0) {
        const x_Vector c = t.rootEnd + x_Vector::FromPolar(in.rootFillet / std::sin(mu), mu);
        const x_Vector flankContact = c + x_Vector::FromPolar(in.rootFillet, kPiValue + alpha);
        const x_Vector rootContact = c - x_Vector(0.0, in.rootFillet);
        if (rootContact.x > p / 2.0) {
            result.message = CString(u"#齿根过渡圆角半径过大");
            return false;
        }
        t.rootFillet = TemplateArc(c, in.rootFillet, x_Vector::AngleTo(c, flankContact), 3.0 * kHalfPi);
        t.rootEnd = flankContact;
    }
    const double axis = p / 2.0;
    const x_Vector rootImage(2.0 * axis - t.rootEnd.x, t.rootEnd.y);
    const x_Vector tipImage(2.0 * axis - t.tipEnd.x, t.tipEnd.y);
    if (t.tipFillet)
        t.tipFilletImage = MirrorArc(*t.tipFillet, axis);
    if (t.rootFillet)
        t.rootFilletImage = MirrorArc(*t.rootFillet, axis);

    const RackMarks marks{in.teeth, group};
    CArray<x_Vector> tipStarts, tipEnds;
    x_Vector previousLeftTip(0.0, height);      // the centre of tooth 0's tip
    double halfTip = 0.0;
    for (int k = 0; k < in.teeth; ++k) {
        const x_Vector u(k * p, 0.0);
        const CLine* right = AddLine(t.rootEnd + u, t.tipEnd + u, marks, out);
        const CLine* left = AddLine(rootImage + u, tipImage + u, marks, out);
        x_Vector rightRoot = right->geometry.line.p1, leftRoot = left->geometry.line.p1;
        x_Vector rightTip = right->geometry.line.p2, nextLeftTip = left->geometry.line.p2;
        if (t.rootFillet) {
            rightRoot = EndOf(*AddArc(*t.rootFillet, u.x, marks, out));
            leftRoot = EndOf(*AddArc(*t.rootFilletImage, u.x, marks, out));
        }
        if (t.tipFillet) {
            rightTip = EndOf(*AddArc(*t.tipFillet, u.x, marks, out));
            nextLeftTip = EndOf(*AddArc(*t.tipFilletImage, u.x, marks, out));
        }
        if (!(std::fabs(rightRoot.x - leftRoot.x) < 0.001 && std::fabs(rightRoot.y - leftRoot.y) < 0.001))
            AddLine(rightRoot, leftRoot, marks, out)->gearHandle = 1;
        if (k == 0)
            halfTip = x_Vector::Distance(x_Vector(0.0, height), rightTip);
        tipStarts.Add(previousLeftTip);
        tipEnds.Add(rightTip);
        previousLeftTip = nextLeftTip;
    }
    if (in.teeth >= 1) {
        tipStarts.Add(previousLeftTip);
        tipEnds.Add(previousLeftTip + x_Vector(halfTip, 0.0));
    }
    const int count = tipStarts.GetSize();
    if (count < 2)
        return true;
    for (int i = 0; i < count; ++i) {
        CLine* tip = AddLine(tipStarts[i], tipEnds[i], marks, out);
        tip->gearHandle = 1;
        if (i == count / 2) {
            result.handleUnit = tip;
            result.handlePoint = (tip->geometry.line.p1 + tip->geometry.line.p2) / 2.0;
        }
    }
    return true;
}
