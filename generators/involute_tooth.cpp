#include "generators/involute_tooth.h"

#include <cmath>

#include "geometry/CArc.h"
#include "geometry/CLine.h"
#include "geometry/CSplines.h"
#include "geometry/GeometryState.h"
#include "geometry/intersect.h"
#include "geometry/spline_math.h"

namespace {

constexpr double kHalfPi = kPi / 2.0;
// Sampling step of the flank parameter, radians.
constexpr double kFlankSampleStep = 0.1;
// Radius and length below which the corner intersection finds no point.
constexpr double kMinCircleRadius = 0.0001;
constexpr double kMinLineLength = 1e-8;

const x_Vector kOrigin(0.0, 0.0);

x_Vector Polar(double r, double a)
{
    return x_Vector::FromPolar(r, a);
}

x_Vector MirrorX(const x_Vector& p)
{
    return {-p.x, p.y, p.valid};
}

SplineRecord FlankRecord(const ToothBasis& basis, double tStart, double tEnd)
{
    SplineRecord s;
    s.kind = 1;
    s.baseCentre = kOrigin;
    s.baseRadius = basis.rb;
    s.angleOffsetA = basis.invAlpha;
    s.angleOffsetB = basis.thetaS;
    s.endParam = tEnd;
    s.startParam = tStart;
    s.phase = kHalfPi;
    s.mirrored = 0;
    return s;
}

std::unique_ptr<CArc> MakeArc(const x_Vector& centre, double radius, double start, double end, std::uint8_t dir)
{
    auto arc = std::make_unique<CArc>();
    arc->geometry.arc = MakeArcRecord(centre, radius, start, end);
    arc->geometry.arc.direction = dir;
    arc->workGeometry.arc = arc->geometry.arc;
    return arc;
}

std::unique_ptr<CLine> MakeLine(const x_Vector& a, const x_Vector& b)
{
    auto line = std::make_unique<CLine>(a.x, a.y, b.x, b.y);
    line->workGeometry = line->geometry;
    return line;
}

x_Vector ArcEnd(const CArc& arc)
{
    return ArcPointAt(arc.geometry.arc, arc.geometry.arc.endAngle);
}

// A fillet's image in the axis: centre mirrored, direction reversed, each
// angle the direction to the mirror image of its point on the unit circle.
std::unique_ptr<CArc> MirroredArc(const CArc& src)
{
    const ArcRecord& a = src.geometry.arc;
    const auto mirrorAngle = [](double t) { return x_Vector::AngleTo(kOrigin, {-std::cos(t), std::sin(t)}); };
    return MakeArc(MirrorX(a.centre), a.radius, mirrorAngle(a.startAngle), mirrorAngle(a.endAngle),
                   a.direction != 0 ? 0 : 1);
}

} // namespace

ToothTemplate::ToothTemplate() = default;
ToothTemplate::~ToothTemplate() = default;

x_Vector RightFlankPoint(const ToothBasis& basis, double t)
{
    return InvolutePoint(FlankRecord(basis, 0.0, t), t);
}

std::unique_ptr<CSplines> NewTemplateFlank(const ToothBasis& basis, double tEnd)
{
    auto flank = std::make_unique<CSplines>();
    flank->geometry.spline = FlankRecord(basis, 0.0, tEnd);
    flank->workGeometry.spline = flank->geometry.spline;
    flank->flatValid = 0;
    flank->visible = 1;
    flank->complete = 0;
    return flank;
}

void SetFlankRange(CSplines& flank, double tStart, double tEnd)
{
    flank.geometry.spline.startParam = tStart;
    flank.geometry.spline.endParam = tEnd;
    flank.workGeometry.spline = flank.geometry.spline;
    // The nodes of an involute are its two ends; they follow the range so
    // that grips and snaps sit on the flank as drawn.
    flank.nodes.RemoveAll();
    flank.nodes.Add(InvolutePoint(flank.geometry.spline, tStart));
    flank.nodes.Add(InvolutePoint(flank.geometry.spline, tEnd));
}

int SampleInvolute(CSplines& flank, x_VectorArray& samples)
{
    samples.RemoveAll();
    const SplineRecord& s = flank.geometry.spline;
    const double span = s.endParam - s.startParam;
    if (!std::isfinite(span))
        return 0;                       // acos of a number above 1: no flank at all
    if (span < kFlankSampleStep) {
        samples.Add(InvolutePoint(s, s.startParam));
        return 1;
    }
    flank.keyPoints.Copy(flank.nodes);
    g_SplineStep = kFlankSampleStep;
    flank.workGeometry.spline = s;
    flank.BuildInvoluteCurve();
    samples.Copy(flank.workCurve);
    flank.nodes.Copy(flank.keyPoints);
    return samples.GetSize();
}

bool BuildOuterFillet(const ToothBasis& basis, double rOut, double rho, std::unique_ptr<CArc>& arc, double& t1)
{
    arc.reset();
    const double rCentre = rOut - rho;
    // Below the base circle acos(rb / R') is undefined; the NaN it gave
    // passed every later test and put NaN points into the drawing.
    if (!(rCentre > 0.0 && basis.rb <= rCentre))
        return false;
    const double beta = std::acos(basis.rb / rCentre);
    t1 = std::atan((rCentre * std::sin(beta) + rho) / basis.rb);
    const double phi1 = std::tan(t1) - t1 + kHalfPi - basis.invAlpha - basis.thetaS;
    const x_Vector p1 = Polar(basis.rb / std::cos(t1), phi1);
    // The direction beta + pi is measured from the x axis, not along the
    // flank's normal: the fillet meets the flank and the outer circle
    // nearly, not exactly, tangentially.
    const x_Vector c = p1 + Polar(rho, beta + kPi);
    arc = MakeArc(c, rho, x_Vector::AngleTo(c, p1), kHalfPi, 0);
    return true;
}

void BuildInnerFillet(const ToothBasis& basis, double rIn, double rho, const x_Vector& s0, ToothTemplate& t)
{
    const double rc = rIn + rho;        // the fillet circle touches the inner circle from outside
    if (rIn < basis.rb && rc < basis.rb) {
        const double psi0 = x_Vector::AngleTo(kOrigin, s0);
        const double gamma = std::asin(rho / rc);
        const x_Vector q1 = Polar(rc * std::cos(gamma), psi0);
        const x_Vector cf = Polar(rc, psi0 - gamma);
        const x_Vector q2 = Polar(rIn, psi0 - gamma);
        t.rightInnerFillet = MakeArc(cf, rho, x_Vector::AngleTo(cf, q1), x_Vector::AngleTo(cf, q2), 0);
        t.rightRadial = MakeLine(q1, s0);
        t.rightRadial->pieceOf = 5;
        t.rightRadial->complete = 0;
        return;
    }
    const double delta = std::acos(basis.rb / rc);
    const double t2 = std::atan((rc * std::sin(delta) - rho) / basis.rb);
    const double phi2 = std::tan(t2) - t2 + kHalfPi - basis.invAlpha - basis.thetaS;
    const x_Vector q1 = Polar(basis.rb / std::cos(t2), phi2);
    const double psiC = phi2 + t2 - delta;
    const x_Vector cf = Polar(rc, psiC);
    const x_Vector q2 = Polar(rIn, psiC);
    t.rightInnerFillet = MakeArc(cf, rho, x_Vector::AngleTo(cf, q1), x_Vector::AngleTo(cf, q2), 0);
    SetFlankRange(*t.rightFlank, t2, t.rightFlank->geometry.spline.endParam);
}

bool BuildPlainInnerCorner(const ToothBasis& basis, double rIn, const x_Vector& s0, ToothTemplate& t)
{
    if (!(rIn >= kMinCircleRadius) || !(s0.Length() >= kMinLineLength))
        return false;
    // The line through s0 and O, unbounded, against the full inner circle.
    const x_VectorList hits = IntersectLineArc(MakeArcRecord(kOrigin, rIn, 0.0, kPi),
                                               MakeLineRecord(s0.x, s0.y, 0.0, 0.0));
    if (hits.count == 0)
        return false;
    x_Vector p = hits.points[0];
    for (const x_Vector& q : hits.points)
        if (q.y > p.y)
            p = q;
    if (rIn < basis.rb) {
        t.rightRadial = MakeLine(p, s0);
        t.rightRadial->pieceOf = 5;
        t.rightRadial->complete = 0;
        return true;
    }
    SetFlankRange(*t.rightFlank, std::acos(basis.rb / p.Length()), t.rightFlank->geometry.spline.endParam);
    return true;
}

void MirrorTemplate(ToothTemplate& t)
{
    t.leftFlank = std::make_unique<CSplines>();
    t.leftFlank->geometry.spline = t.rightFlank->geometry.spline;
    t.leftFlank->geometry.spline.mirrored = 1;
    t.leftFlank->workGeometry.spline = t.leftFlank->geometry.spline;
    t.leftFlank->flatValid = 0;
    t.leftFlank->complete = 0;
    for (const x_Vector& p : t.rightFlank->nodes)
        t.leftFlank->nodes.Add(MirrorX(p));
    if (t.rightRadial) {
        const x_LineData& l = t.rightRadial->geometry.line;
        t.leftRadial = MakeLine(MirrorX(l.p1), MirrorX(l.p2));
        t.leftRadial->pieceOf = 5;
        t.leftRadial->complete = 0;
    }
    if (t.rightInnerFillet)
        t.leftInnerFillet = MirroredArc(*t.rightInnerFillet);
    if (t.rightOuterFillet)
        t.leftOuterFillet = MirroredArc(*t.rightOuterFillet);
}

void MarkGearPiece(CUnit& unit, const ToothPlacement& place)
{
    unit.toothCount = place.toothCount;
    unit.gearKind = place.gearKind;
    unit.pieceOf = 5;
    unit.complete = 0;
    unit.group = place.group;
}

namespace {

// One copy of the template turned by tau about O, appended to out; the
// copy's four corner points are tracked as each piece replaces the last.
struct CopyCorners {
    x_Vector rightInner, leftInner, rightOuter, leftOuter;
};

CUnit* AppendCopy(CUnit* unit, const ToothPlacement& place, CUnitArray& out)
{
    MarkGearPiece(*unit, place);
    out.Add(unit);
    return unit;
}

CSplines* CopyFlank(const CSplines& src, double axis, double tau, const ToothPlacement& place, CUnitArray& out)
{
    ++g_UnitIdCounter;
    auto* f = new CSplines();
    f->geometry.spline = src.geometry.spline;
    f->geometry.spline.phase = axis;
    f->workGeometry.spline = f->geometry.spline;
    for (x_Vector p : src.nodes)
        f->nodes.Add(p.RotateAbout(kOrigin, tau));
    f->flatValid = 0;
    f->visible = 1;
    AppendCopy(f, place, out);
    return f;
}

CLine* CopyLine(const CLine& src, double tau, const ToothPlacement& place, CUnitArray& out)
{
    x_Vector a = src.geometry.line.p1, b = src.geometry.line.p2;
    a.RotateAbout(kOrigin, tau);
    b.RotateAbout(kOrigin, tau);
    ++g_UnitIdCounter;
    auto* l = new CLine(a.x, a.y, b.x, b.y);
    l->workGeometry = l->geometry;
    AppendCopy(l, place, out);
    return l;
}

CArc* CopyArc(const CArc& src, double tau, const ToothPlacement& place, CUnitArray& out)
{
    const ArcRecord& a = src.geometry.arc;
    x_Vector c = a.centre;
    c.RotateAbout(kOrigin, tau);
    CArc* arc = NewArc(c, a.radius, NormalizeAngle(a.startAngle + tau), NormalizeAngle(a.endAngle + tau),
                       a.direction);
    AppendCopy(arc, place, out);
    return arc;
}

CopyCorners PlaceOneCopy(const ToothTemplate& t, double axis, const ToothPlacement& place, CUnitArray& out)
{
    const double tau = axis - kHalfPi;
    CopyCorners c;
    CSplines* right = CopyFlank(*t.rightFlank, axis, tau, place, out);
    CSplines* left = CopyFlank(*t.leftFlank, axis, tau, place, out);
    c.rightInner = right->GetStartPoint();
    c.leftInner = left->GetStartPoint();
    c.rightOuter = right->GetEndPoint();
    c.leftOuter = left->GetEndPoint();
    if (t.rightRadial)
        c.rightInner = CopyLine(*t.rightRadial, tau, place, out)->geometry.line.p1;
    if (t.leftRadial)
        c.leftInner = CopyLine(*t.leftRadial, tau, place, out)->geometry.line.p1;
    if (t.rightInnerFillet)
        c.rightInner = ArcEnd(*CopyArc(*t.rightInnerFillet, tau, place, out));
    if (t.leftInnerFillet)
        c.leftInner = ArcEnd(*CopyArc(*t.leftInnerFillet, tau, place, out));
    if (t.rightOuterFillet)
        c.rightOuter = ArcEnd(*CopyArc(*t.rightOuterFillet, tau, place, out));
    if (t.leftOuterFillet)
        c.leftOuter = ArcEnd(*CopyArc(*t.leftOuterFillet, tau, place, out));
    return c;
}

} // namespace

void PlaceToothCopies(const ToothTemplate& t, const ToothPlacement& place, CUnitArray& out, PlacedTeeth& placed)
{
    for (int k = 0; k < place.count; ++k) {
        const CopyCorners c = PlaceOneCopy(t, place.firstAxis + k * place.step, place, out);
        CLine* joint = nullptr;
        if (!(std::fabs(c.rightOuter.x - c.leftOuter.x) < 0.001 && std::fabs(c.rightOuter.y - c.leftOuter.y) < 0.001)) {
            ++g_UnitIdCounter;
            joint = new CLine(c.rightOuter.x, c.rightOuter.y, c.leftOuter.x, c.leftOuter.y);
            joint->workGeometry = joint->geometry;
            AppendCopy(joint, place, out);
        }
        placed.connecting.push_back(joint);
        placed.leftInner.Add(c.leftInner);
        placed.rightInner.Add(c.rightInner);
    }
}

void AppendInnerArcs(const PlacedTeeth& placed, int arcCount, double rIn, const ToothPlacement& place,
                     CUnitArray& out)
{
    const int n = placed.leftInner.GetSize();
    if (n < 2)
        return;
    for (int i = 0; i < arcCount; ++i) {
        const double start = x_Vector::AngleTo(kOrigin, placed.leftInner[i % n]);
        const double end = x_Vector::AngleTo(kOrigin, placed.rightInner[(i + 1) % n]);
        AppendCopy(NewArc(kOrigin, rIn, start, end, 0), place, out);
    }
}
