#include "geometry/entity_edits.h"

#include <cmath>
#include <memory>

#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CLine.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "geometry/curve_helpers.h"
#include "geometry/intersect.h"

namespace {

enum TypeId { kLine = 1, kCircle = 7, kArc = 8, kPolyline = 9, kPolygon = 10 };
constexpr double kLeastRadius = 0.0001;
constexpr double kFarDistance = 1e10;       // a line's distance when degenerate
constexpr double kLeastLength = 1e-6;
constexpr double kEndClearance = 0.0001;    // extend: crossings at an end do not count

using UnitPtr = std::unique_ptr<CUnit>;

bool IsVertexList(CUnit* u)
{
    const int t = u->GetType();
    return t == kPolyline || t == kPolygon;
}

// A line along segment i of a vertex list (vertex i-1 to vertex i), or null
// for an index outside it. Segment 0 once addressed vertex -1.
UnitPtr SegmentLine(CUnit* u, int i)
{
    if (i < 1 || i >= u->nodes.GetSize())
        return nullptr;
    const x_Vector p = u->nodes[i - 1], q = u->nodes[i];
    return std::make_unique<CLine>(p.x, p.y, q.x, q.y);
}

// The entity itself (not owned) or, for a vertex list, a line along its
// segment (owned by holder). Null when the segment does not exist.
CUnit* Operand(CUnit* u, int segment, UnitPtr& holder)
{
    if (!IsVertexList(u))
        return u;
    holder = SegmentLine(u, segment);
    return holder.get();
}

int Append(CUnit* unit)
{
    unit->complete = 1;
    return AppendToDrawing(unit);
}

CLine* NewLine(const x_Vector& p, const x_Vector& q)
{
    ++g_UnitIdCounter;
    return new CLine(p.x, p.y, q.x, q.y);
}

// The end of a line farther from k: its start when its end is nearer.
x_Vector FarEnd(CUnit* line, const x_Vector& k)
{
    const x_Vector s = line->GetStartPoint(), e = line->GetEndPoint();
    return x_Vector::Distance(e, k) < x_Vector::Distance(s, k) ? s : e;
}

x_Vector NearEnd(CUnit* line, const x_Vector& k)
{
    const x_Vector s = line->GetStartPoint(), e = line->GetEndPoint();
    return x_Vector::Distance(e, k) < x_Vector::Distance(s, k) ? e : s;
}

// Vertex i-1 when vertex i is nearer k, else vertex i.
x_Vector FarVertex(CUnit* u, int i, const x_Vector& k)
{
    const x_Vector p = u->nodes[i - 1], q = u->nodes[i];
    return x_Vector::Distance(q, k) < x_Vector::Distance(p, k) ? p : q;
}

// The segments of a vertex list other than the two used become lines.
void AppendOtherSegments(CUnit* u, int segmentA, int segmentB)
{
    for (int i = 1; i < u->nodes.GetSize(); ++i)
        if (i != segmentA && i != segmentB)
            Append(NewLine(u->nodes[i - 1], u->nodes[i]));
}

x_Vector Nearest(const x_VectorList& list, const x_Vector& to)
{
    x_Vector best = list.points[0];
    for (const x_Vector& p : list.points)
        if (x_Vector::Distance(p, to) < x_Vector::Distance(best, to))
            best = p;
    return best;
}

CUnit* OffsetLine(double d, CUnit* e, const x_Vector& s)
{
    const double alpha = e->GetStartAngle();
    const x_LineData g = e->geometry.line;
    auto moved = [&](double angle) {
        const x_Vector v(d * std::cos(angle), d * std::sin(angle));
        return CLine(g.p1.x + v.x, g.p1.y + v.y, g.p2.x + v.x, g.p2.y + v.y);
    };
    CLine first = moved(alpha + kPi / 2), second = moved(alpha + kPi / 2 + kPi);
    x_Vector point = s;
    const double d1 = first.DistanceTo(point, 0, 0, 0), d2 = second.DistanceTo(point, 0, 0, 0);
    if (!(std::fmin(d1, d2) < kFarDistance))
        return nullptr;
    const x_LineData& chosen = d1 < d2 ? first.geometry.line : second.geometry.line;
    return NewLine(chosen.p1, chosen.p2);
}

} // namespace

CUnit* OffsetEntity(double d, CUnit* e, x_Vector s)
{
    if (e == nullptr)
        return nullptr;
    CUnit* result = nullptr;
    const int type = e->GetType();
    if (type == kLine) {
        result = OffsetLine(d, e, s);
    } else if (type == kCircle || type == kArc) {
        const bool circle = type == kCircle;
        const x_Vector centre = circle ? e->geometry.circle.centre : e->geometry.arc.centre;
        const double r = circle ? e->geometry.circle.radius : e->geometry.arc.radius;
        const double radius = x_Vector::Distance(s, centre) < r ? r - d : r + d;
        // A radius of 0 was accepted and made a point-sized circle.
        if (!(radius >= kLeastRadius))
            return nullptr;
        if (circle) {
            CCir* c = NewCircle(centre, radius);
            c->geometry.circle.committed = c->workGeometry.circle.committed = 1;
            result = c;
        } else {
            const ArcRecord& g = e->geometry.arc;
            result = NewArc(centre, radius, g.startAngle, g.endAngle, g.direction);
        }
    }
    if (result != nullptr)
        result->temporary = 1;
    return result;
}

bool FilletEntities(CUnit* a, CUnit* b, int segmentA, int segmentB, x_Vector pick)
{
    g_EditStatus = 0;
    if (a == nullptr || b == nullptr)
        return false;
    UnitPtr holdA, holdB;
    CUnit* A = Operand(a, segmentA, holdA);
    CUnit* B = Operand(b, segmentB, holdB);
    if (A == nullptr || B == nullptr)
        return false;
    const double r = g_FilletRadius;
    // The offsets are only aids; they used to be left allocated.
    const UnitPtr offsetA(OffsetEntity(r, A, pick)), offsetB(OffsetEntity(r, B, pick));
    if (!offsetA || !offsetB)
        return false;
    const x_VectorList centres = IntersectEntities(offsetA.get(), offsetB.get(), 0);
    const x_VectorList corners = IntersectEntities(A, B, 0);
    if (centres.count == 0 || corners.count == 0)
        return false;
    const x_Vector k = corners.points[0];
    const x_Vector z = Nearest(centres, pick);
    x_Vector ta, tb, zz = z;
    A->NearestPoint(ta, zz, 0);
    B->NearestPoint(tb, zz, 0);
    if (x_Vector::Distance(ta, k) > A->GetLength() || x_Vector::Distance(tb, k) > B->GetLength()) {
        g_EditStatus = -1;
        return false;
    }
    const double start = x_Vector::AngleTo(z, ta), end = x_Vector::AngleTo(z, tb);
    const bool clockwise = AngleInArc(x_Vector::AngleTo(z, k), start, end, true);
    CArc* arc = NewArc(z, r, start, end, clockwise ? 1 : 0);
    arc->role = kRoleDrawing;
    arc->gripsValid = 0;
    Append(arc);
    if (a->GetType() == kLine && b->GetType() == kLine) {
        Append(NewLine(FarEnd(A, k), ta));
        Append(NewLine(FarEnd(B, k), tb));
    } else if (IsVertexList(a) && a->GetType() == b->GetType()) {
        Append(NewLine(FarVertex(a, segmentA, k), ta));
        Append(NewLine(FarVertex(b, segmentB, k), tb));
        AppendOtherSegments(a, segmentA, segmentB);
    }
    return true;
}

bool ChamferEntities(CUnit* a, CUnit* b, int segmentA, int segmentB)
{
    g_EditStatus = 0;
    if (a == nullptr || b == nullptr)
        return false;
    UnitPtr holdA, holdB;
    CUnit* A = Operand(a, segmentA, holdA);
    CUnit* B = Operand(b, segmentB, holdB);
    if (A == nullptr || B == nullptr)
        return false;
    const x_VectorList corners = IntersectEntities(A, B, 0);
    if (corners.count == 0)
        return false;
    const x_Vector k = corners.points[0];
    const x_Vector nearA = NearEnd(A, k), farA = FarEnd(A, k);
    const x_Vector nearB = NearEnd(B, k), farB = FarEnd(B, k);
    const double lengthA = x_Vector::Distance(nearA, farA), lengthB = x_Vector::Distance(nearB, farB);
    if (lengthA < kLeastLength || lengthB < kLeastLength)
        return false;
    const x_Vector ca = k + (farA - nearA) * (g_ChamferDist1 / lengthA);
    const x_Vector cb = k + (farB - nearB) * (g_ChamferDist2 / lengthB);
    if (x_Vector::Distance(ca, k) > A->GetLength() || x_Vector::Distance(cb, k) > B->GetLength()) {
        g_EditStatus = -1;
        return false;
    }
    Append(NewLine(ca, cb));
    const bool lines = a->GetType() == kLine && b->GetType() == kLine;
    const bool lists = IsVertexList(a) && a->GetType() == b->GetType();
    if (lines || lists) {
        Append(NewLine(farA, ca));
        Append(NewLine(farB, cb));
    }
    if (lists)
        AppendOtherSegments(a, segmentA, segmentB);
    return true;
}

bool ExtendEntity(CUnit* e, int segment)
{
    g_EditStatus = 0;
    if (e == nullptr)
        return false;
    const int type = e->GetType();
    UnitPtr holder;
    CUnit* work = e;
    int vertex = -1;
    if (type == kPolyline) {
        const int n = e->nodes.GetSize();
        if (n < 2) {
            g_EditStatus = -1;
            return false;
        }
        const bool last = segment > n / 2;
        vertex = last ? n - 1 : 0;
        holder = SegmentLine(e, last ? n - 1 : 1);
        work = holder.get();
    } else if (type != kLine) {
        return false;
    }
    const x_Vector s = work->GetStartPoint(), t = work->GetEndPoint();
    const x_Vector m = (s + t) / 2.0;
    x_VectorList kept;
    if (g_pDoc != nullptr) {
        std::lock_guard<std::recursive_mutex> lock(g_pDoc->m_listMutex);
        for (CUnit* u : g_pDoc->m_unitList) {
            if (u == nullptr || u == e || u->deleted || !u->selected || u->role != kRoleDrawing)
                continue;
            for (const x_Vector& p : IntersectEntities(u, work, 0).points)
                if (x_Vector::Distance(p, s) > kEndClearance && x_Vector::Distance(p, t) > kEndClearance)
                    kept.Add(p);
        }
    }
    if (kept.count == 0)
        return false;
    const x_Vector x = Nearest(kept, m);
    if (type == kPolyline) {
        e->nodes[vertex] = x;
    } else {
        const x_Vector other = x_Vector::Distance(t, x) < x_Vector::Distance(s, x) ? s : t;
        e->geometry.line.p1 = other;
        e->geometry.line.p2 = x;
        e->workGeometry.line = e->geometry.line;
        e->gripsValid = 0;
    }
    return true;
}

bool TangentOfCircles(CUnit* first, CUnit* second, x_LineData out[4])
{
    auto circle = [](CUnit* u, x_Vector& c, double& r) {
        const int t = u == nullptr ? 0 : u->GetType();
        if (t == kCircle) {
            c = u->geometry.circle.centre;
            r = u->geometry.circle.radius;
        } else if (t == kArc) {
            c = u->geometry.arc.centre;
            r = u->geometry.arc.radius;
        }
        return t == kCircle || t == kArc;
    };
    x_Vector c1, c2;
    double r1 = 0, r2 = 0;
    if (!circle(first, c1, r1) || !circle(second, c2, r2))
        return false;
    for (int i = 0; i < 4; ++i)
        out[i].used = 0;
    const double theta = (c2 - c1).Angle();
    const double dist = x_Vector::Distance(c1, c2);
    if (!(dist > 1e-6))
        return false;
    auto record = [&](int i, double phi, double sign1) {
        const x_Vector n(std::cos(phi), std::sin(phi));
        out[i].p1 = c1 + n * (sign1 * r1);
        out[i].p2 = c2 + n * r2;
        out[i].used = 1;
    };
    if (dist > std::fabs(r2 - r1)) {
        const double alpha = std::asin((r2 - r1) / dist);
        record(0, theta + alpha + kPi / 2, 1.0);
        record(1, theta - alpha - kPi / 2, 1.0);
    }
    if (dist > r1 + r2) {
        const double beta = std::asin((r1 + r2) / dist);
        record(2, theta + beta + kPi / 2, -1.0);
        record(3, theta - beta - kPi / 2, -1.0);
    }
    // One circle inside the other has no tangent; that was answered true.
    return out[0].used != 0;
}

// Joins a -> c: both tangent lines offset by half the chord toward its
// middle M must meet, as must the tangent lines themselves. The arc passes
//   P = M + (w − |t − M|)·(cos φ, sin φ),  φ = direction a -> c ± π/2.
// It used to run from a to d, ending 10 mm away from the next element.
bool ConnectingArc(ArcRecord& out, int side, x_Vector a, x_Vector b, x_Vector c, x_Vector d,
                   double w, x_Vector t)
{
    g_EditStatus = 0;
    const x_Vector m = (a + c) / 2.0;
    const double h = x_Vector::Distance(a, c) / 2.0;
    CLine first(a.x, a.y, b.x, b.y), second(c.x, c.y, d.x, d.y);
    const UnitPtr offsetFirst(OffsetEntity(h, &first, m)), offsetSecond(OffsetEntity(h, &second, m));
    if (!offsetFirst || !offsetSecond)
        return false;
    if (IntersectEntities(offsetFirst.get(), offsetSecond.get(), 0).count == 0)
        return false;
    if (IntersectLineLine(first.geometry.line, second.geometry.line, 0).count == 0)
        return false;
    const double psi = x_Vector::AngleTo(a, c);
    const double phi = side == 2 ? psi + kPi / 2 : psi - kPi / 2;
    const x_Vector p = m + x_Vector(std::cos(phi), std::sin(phi)) * (w - x_Vector::Distance(t, m));
    if (!ArcFromThreePoints(out, a, p, c))
        return false;
    return SweepAngleAbs(out.direction, out.startAngle, out.endAngle) < kTwoPi;
}
