#include "geometry/intersect.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/ellipse_intersect.h"
#include "geometry/plane_geometry.h"

namespace {

enum TypeId { kLine = 1, kEllipse = 5, kEllipseArc = 6, kCircle = 7, kArc = 8, kPolyline = 9,
              kPolygon = 10, kSpline = 11, kConstructionLine = 14 };
constexpr int kPathCommand = 66;
constexpr double kArcOnTolerance = 0.001;   // an arc's exact hit test, kept for circles
// Touching circles: h² = r1²/d² − k² may round below zero; in millimetres
// (h·d)² this far below is a touch, not a miss.
constexpr double kTouchSquared = 1e-8;

enum class Kind { none, line, arc, ellipse };

// One side of a pair: what the pair routines see of an entity.
struct Operand {
    Kind kind = Kind::none;
    CUnit* unit = nullptr;                  // tests exact hits (arcs, ellipses)
    bool circle = false;                    // a circle standing in as a full arc
    std::vector<x_LineData> segments;
    ArcRecord arc;
};

x_LineData Segment(const x_Vector& p, const x_Vector& q)
{
    x_LineData s;
    s.p1 = p;
    s.p2 = q;
    s.used = 1;
    return s;
}

void AddNodeSegments(Operand& op, const x_VectorArray& nodes)
{
    for (int i = 1; i < nodes.GetSize(); ++i)
        op.segments.push_back(Segment(nodes[i - 1], nodes[i]));
}

// Outside path generation a spline stands for the one segment its hit test
// found; during it, the whole flattened curve or only the joining segment.
void AddSplineSegments(Operand& op, CUnit* u, bool first, std::uint8_t exact)
{
    const x_VectorArray& pts = u->flatPoints;
    const int n = static_cast<int>(pts.GetSize());
    if (g_curCommand == kPathCommand && exact == 1) {
        AddNodeSegments(op, pts);
    } else if (g_curCommand == kPathCommand) {
        if (n >= 2)
            op.segments.push_back(first ? Segment(pts[n - 2], pts[n - 1]) : Segment(pts[0], pts[1]));
    } else {
        const int k = u->hitSegment;
        if (k >= 1 && k < n)
            op.segments.push_back(Segment(pts[k - 1], pts[k]));
    }
}

Operand MakeOperand(CUnit* u, bool first, std::uint8_t exact)
{
    Operand op;
    op.unit = u;
    switch (u->GetType()) {
    case kLine:
        op.kind = Kind::line;
        op.segments.push_back(Segment(u->GetStartPoint(), u->GetEndPoint()));
        break;
    case kConstructionLine:
        op.kind = Kind::line;
        op.segments.push_back(Segment(u->geometry.constructionLine.p1,
                                      u->geometry.constructionLine.p2));
        break;
    case kCircle:
        op.kind = Kind::arc;
        op.circle = true;
        op.arc = MakeArcRecord(u->geometry.circle.centre, u->geometry.circle.radius, 0.0, kTwoPi);
        break;
    case kArc:
        op.kind = Kind::arc;
        op.arc = u->geometry.arc;
        break;
    case kPolyline:
    case kPolygon:
        op.kind = Kind::line;
        AddNodeSegments(op, u->nodes);
        break;
    case kSpline:
        op.kind = Kind::line;
        AddSplineSegments(op, u, first, exact);
        break;
    case kEllipse:
    case kEllipseArc:
        op.kind = Kind::ellipse;
        break;
    default:
        break;
    }
    return op;
}

ConicRecord ConicOf(const Operand& op)
{
    ConicRecord c;
    if (op.kind == Kind::arc) {
        const double r = op.arc.radius;
        c.cx = op.arc.centre.x;
        c.cy = op.arc.centre.y;
        c.axisX = c.axisY = r;
        c.semiMajor = c.semiMinor = r;
    } else {
        const EllipseRecord& e = op.unit->geometry.ellipse;
        c.cx = e.centre.x;
        c.cy = e.centre.y;
        c.axisX = e.majorAxis.x;
        c.axisY = e.majorAxis.y;
        c.semiMajor = e.majorAxis.Length();
        c.semiMinor = c.semiMajor * e.axisRatio;
    }
    EllipseConic(c);
    return c;
}

EllipseAxes AxesOf(CUnit* u)
{
    return {u->GetCentre(), u->GetAxisAngle(), u->GetSemiMajor(), u->GetSemiMinor()};
}

void Append(x_VectorList& to, const x_VectorList& from)
{
    for (const x_Vector& p : from.points)
        to.Add(p);
}

x_VectorList PairPoints(const Operand& a, const Operand& b, std::uint8_t exact)
{
    x_VectorList out;
    const bool conics = (a.kind == Kind::ellipse && b.kind != Kind::line && b.kind != Kind::none)
                     || (a.kind == Kind::arc && b.kind == Kind::ellipse);
    if (conics)
        return IntersectEllipses(ConicOf(a), ConicOf(b));
    if (a.kind == Kind::ellipse && b.kind == Kind::line) {
        for (const x_LineData& s : b.segments)
            Append(out, IntersectLineEllipse(AxesOf(a.unit), s));
    } else if (a.kind == Kind::line && b.kind == Kind::ellipse) {
        for (const x_LineData& s : a.segments)
            Append(out, IntersectLineEllipse(AxesOf(b.unit), s));
    } else if (a.kind == Kind::line && b.kind == Kind::line) {
        for (const x_LineData& s : a.segments)
            for (const x_LineData& u : b.segments)
                Append(out, IntersectLineLine(s, u, exact));
    } else if (a.kind == Kind::arc && b.kind == Kind::line) {
        for (const x_LineData& u : b.segments)
            Append(out, IntersectLineArc(a.arc, u));
    } else if (a.kind == Kind::line && b.kind == Kind::arc) {
        for (const x_LineData& s : a.segments)
            Append(out, IntersectLineArc(b.arc, s));
    } else if (a.kind == Kind::arc && b.kind == Kind::arc) {
        return IntersectArcArc(a.arc, b.arc);
    }
    return out;
}

bool LiesOn(const Operand& op, const x_Vector& p)
{
    if (op.kind == Kind::line) {
        return std::any_of(op.segments.begin(), op.segments.end(),
                           [&](const x_LineData& s) { return PointOnSegment(s.p1, s.p2, p); });
    }
    if (op.circle) {
        const double d = x_Vector::Distance(p, op.arc.centre);
        return std::fabs(d - op.arc.radius) < kArcOnTolerance;
    }
    return op.unit->HitTest(p, 1);
}

} // namespace

bool LineLinePoint(const x_LineData& a, const x_LineData& b, std::uint8_t bounded, x_Vector& at)
{
    const x_Vector& a1 = a.p1;
    const x_Vector& a2 = a.p2;
    const x_Vector& b1 = b.p1;
    const x_Vector& b2 = b.p2;
    if (bounded && (std::min(b1.x, b2.x) > std::max(a1.x, a2.x)
                    || std::min(a1.x, a2.x) > std::max(b1.x, b2.x)
                    || std::min(b1.y, b2.y) > std::max(a1.y, a2.y)
                    || std::min(a1.y, a2.y) > std::max(b1.y, b2.y)))
        return false;
    const x_Vector dA = a2 - a1, dB = b2 - b1;
    const double den = dA.x * dB.y - dB.x * dA.y;
    if (!(std::fabs(den) > 1e-10))
        return false;                           // parallel or collinear
    const double t = (dB.x * (a1.y - b1.y) - dB.y * (a1.x - b1.x)) / den;
    at = a1 + dA * t;
    return true;
}

x_VectorList IntersectLineLine(const x_LineData& a, const x_LineData& b, std::uint8_t bounded)
{
    x_Vector at;
    if (!LineLinePoint(a, b, bounded, at))
        return {};
    return x_VectorList::FromPoint(at);
}

x_VectorList IntersectLineArc(const ArcRecord& arc, const x_LineData& segment)
{
    const double r = arc.radius;
    if (!(r >= 0.0001))
        return {};
    const x_Vector& p1 = segment.p1;
    const x_Vector D = segment.p2 - p1;
    const double L = D.Length();
    if (!(L >= 1e-8))
        return {};
    const double L2 = L * L;
    const x_Vector W = p1 - arc.centre;
    const double b = D.x * W.x + D.y * W.y;
    const double disc = b * b - (W.x * W.x + W.y * W.y - r * r) * L2;
    if (disc < -1e-8)
        return {};
    const double s = std::sqrt(std::fabs(disc));
    if (std::fabs(disc) <= 1e-8) {
        x_VectorList touch = x_VectorList::FromPoint(p1 + D * ((s - b) / L2));
        touch.tangent = 1;
        return touch;
    }
    return x_VectorList::FromTwoPoints(p1 + D * ((s - b) / L2), p1 + D * ((-b - s) / L2));
}

x_VectorList IntersectArcArc(const ArcRecord& first, const ArcRecord& second)
{
    const x_Vector D = second.centre - first.centre;
    const double d = D.Length();
    if (!(d >= 1e-6))
        return {};                              // concentric or equal
    const double r1 = first.radius, r2 = second.radius;
    const double d2 = d * d;
    const double k = ((r1 * r1 - r2 * r2) / d2 + 1.0) / 2.0;
    double h2 = r1 * r1 / d2 - k * k;
    // Touching circles were dropped when rounding made h² a little negative.
    if (h2 < 0.0 && h2 * d2 >= -kTouchSquared)
        h2 = 0.0;
    if (!(h2 >= 0.0))
        return {};
    const double h = std::sqrt(h2);
    const x_Vector M = first.centre + D * k;
    const x_Vector N(D.y, -D.x);
    const x_Vector P1 = M + N * h;
    const x_Vector P2 = M - N * h;
    if (x_Vector::Distance(P1, P2) < 0.0001) {
        x_VectorList touch = x_VectorList::FromPoint(P1);
        touch.tangent = 1;
        return touch;
    }
    return x_VectorList::FromTwoPoints(P1, P2);
}

x_VectorList IntersectLineEllipse(const EllipseAxes& e, const x_LineData& segment)
{
    const x_Vector& C = e.centre;
    x_Vector p1 = segment.p1, p2 = segment.p2;
    p1.RotateAbout(C, -e.axisAngle);
    p2.RotateAbout(C, -e.axisAngle);
    const x_Vector Dv = p2 - p1, Q = p1 - C;
    const double a2 = e.semiMajor * e.semiMajor, b2 = e.semiMinor * e.semiMinor;
    const double A = Dv.x * Dv.x / a2 + Dv.y * Dv.y / b2;
    const double B = (Q.x / a2) * Dv.x + (Q.y / b2) * Dv.y;
    const double K = (Q.x / a2) * Q.x + (Q.y / b2) * Q.y - 1.0;
    double disc = B * B - A * K;
    // A touching line is a double root; rounding (the turn into the
    // ellipse's frame included) leaves a residue of either sign.
    if (std::fabs(disc) <= 1e-12 * (B * B + std::fabs(A * K)))
        disc = 0.0;
    // A zero-length segment (A = 0) or a zero semi-axis has no crossing.
    if (!(A > 0.0) || !std::isfinite(A) || !(disc >= 0.0))
        return {};
    x_VectorList out;
    if (disc == 0.0) {
        const double t = -B / A;
        if (t >= 0.0 && t <= 1.0)
            out.Add(p1 + Dv * t);
    } else {
        const double s = std::sqrt(disc);
        out.Add(p1 + Dv * ((-B - s) / A));
        out.Add(p1 + Dv * ((s - B) / A));
    }
    out.ForEachValid(C, e.axisAngle);
    out.tangent = 0;
    return out;
}

x_VectorList IntersectLineLine(CUnit* a, CUnit* b, std::uint8_t bounded)
{
    if (a == nullptr || b == nullptr)
        return {};
    return IntersectLineLine(Segment(a->GetStartPoint(), a->GetEndPoint()),
                             Segment(b->GetStartPoint(), b->GetEndPoint()), bounded);
}

x_VectorList IntersectLineArc(CUnit* arc, CUnit* segment)
{
    if (arc == nullptr || segment == nullptr)
        return {};
    return IntersectLineArc(arc->geometry.arc,
                            Segment(segment->GetStartPoint(), segment->GetEndPoint()));
}

x_VectorList IntersectArcArc(CUnit* first, CUnit* second)
{
    if (first == nullptr || second == nullptr)
        return {};
    return IntersectArcArc(first->geometry.arc, second->geometry.arc);
}

x_VectorList IntersectLineEllipse(CUnit* ellipse, CUnit* segment)
{
    if (ellipse == nullptr || segment == nullptr)
        return {};
    return IntersectLineEllipse(AxesOf(ellipse),
                                Segment(segment->GetStartPoint(), segment->GetEndPoint()));
}

x_VectorList IntersectEntities(CUnit* a, CUnit* b, std::uint8_t exact)
{
    if (a == nullptr || b == nullptr)
        return {};
    const Operand opA = MakeOperand(a, true, exact);
    const Operand opB = MakeOperand(b, false, exact);
    x_VectorList result = PairPoints(opA, opB, exact);
    const bool fromArcArc = opA.kind == Kind::arc && opB.kind == Kind::arc;
    if (!fromArcArc)
        result.tangent = 0;
    if (exact != 1 || result.count == 0)
        return result;
    x_VectorList kept;
    for (const x_Vector& p : result.points)
        if (LiesOn(opA, p) && LiesOn(opB, p))
            kept.Add(p);
    return kept;
}
