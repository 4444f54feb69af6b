#include "wirepath/chain_collect.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "geometry/CArc.h"
#include "geometry/CEllipseArc.h"
#include "geometry/CLine.h"
#include "geometry/CSplines.h"
#include "geometry/CUnit.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "geometry/curve_helpers.h"
#include "geometry/path_services.h"
#include "geometry/plane_geometry.h"
#include "wirepath/PathSettings.h"
#include "wirepath/TrailPath.h"
#include "wirepath/WirepathState.h"
#include "wirepath/contour_build.h"
#include "wirepath/path_codes.h"

namespace {

enum TypeId { kLine = 1, kEllipse = 5, kEllipseArc = 6, kCircle = 7, kArc = 8, kSpline = 11 };
constexpr double kProbe = 0.1;              // the outline moved towards the compensation side
constexpr double kMinSize = 0.0001;
constexpr double kWearStep = 0.001;
constexpr double kSplineStepInvolute = 0.001;
constexpr double kSplineStepCurve = 0.01;
constexpr double kSplineThinning = 0.001;

// State carried along the chain.
struct CollectWork {
    CollectWork(const ChainRequest& r, const PathSettings& ps) : req(r), s(ps) {}
    const ChainRequest& req;
    const PathSettings& s;
    x_Vector running;                   // chain-order end of the entity handled last
    double carried = 0.0;               // extra offset
    bool previousWorn = false;
    CArray<x_Vector> plain, moved;      // outlines A and B
};

double NormalAngle(const x_Vector& from, const x_Vector& to, int sideKey)
{
    double n = x_Vector::AngleTo(from, to) + (sideKey == 1 ? -kPi / 2 : kPi / 2);
    if (n < 0.0)
        n += kTwoPi;
    if (n >= kTwoPi)
        n -= kTwoPi;
    return n;
}

// Wear correction lowers the compensation by 0.001 per mark, never below
// none at all. (It used to start at 0 and stop at 0, so it changed nothing.)
void LowerForWear(CollectWork& w)
{
    w.carried = std::max(w.carried - kWearStep, -std::max(w.req.offset, 0.0));
}

double ExtraOffset(CollectWork& w, const CUnit& u)
{
    if (w.s.batchContourPick)
        return w.carried;
    if (w.s.wearCorrection) {
        if (w.previousWorn)
            LowerForWear(w);
        w.previousWorn = u.wearMarked != 0;
        return w.carried;
    }
    if (u.compensation != 0.0)
        w.carried = u.compensation - w.req.offset;
    return w.carried;
}

void AddOutline(CArray<x_Vector>& to, const CArray<x_Vector>& points)
{
    to.Append(points);
}

CUnit* CollectLine(CollectWork& w, CUnit& u, double g)
{
    x_Vector s = u.GetStartPoint(), e = u.GetEndPoint();
    if (u.chainDir == 1)
        std::swap(s, e);
    if (x_Vector::Distance(s, e) < kMinSize || s.IsEqual(e))
        return nullptr;
    const double n = NormalAngle(s, e, w.req.sideKey);
    const x_Vector shift = x_Vector::FromPolar(g, n), probe = x_Vector::FromPolar(kProbe, n);
    if (w.plain.IsEmpty() || w.plain[w.plain.GetSize() - 1] != s)
        w.plain.Add(s);
    w.plain.Add(e);
    w.moved.Add(s + probe);
    w.moved.Add(e + probe);
    const x_Vector ms = g == 0.0 ? s : s + shift, me = g == 0.0 ? e : e + shift;
    w.running = e;
    return new CLine(ms.x, ms.y, me.x, me.y);
}

CUnit* CollectEllipseArc(CollectWork& w, CUnit& u, double g)
{
    const EllipseRecord& src = u.geometry.ellipse;
    const bool reversed = u.chainDir == 1;
    double start = src.startParam, end = src.endParam;
    if (u.GetType() == kEllipse) {
        start = 0.0;
        end = kTwoPi;
    }
    if (reversed)
        std::swap(start, end);
    const double a = src.majorAxis.Length(), b = a * src.axisRatio;
    const double sign = w.req.sideKey == u.chainDir ? -1.0 : 1.0;
    const double a2 = a + sign * g, b2 = b + sign * g;
    const double axisAngle = src.majorAxis.Angle();
    const std::uint8_t direction = reversed ? 1 : 0;
    CArray<x_Vector> pts;
    FlattenEllipseArc(src.centre, direction, pts, a, b, axisAngle, start, end, 0.0);
    AddOutline(w.plain, pts);
    pts.RemoveAll();
    FlattenEllipseArc(src.centre, direction, pts, a + sign * kProbe, b + sign * kProbe, axisAngle, start, end, 0.0);
    AddOutline(w.moved, pts);
    x_Vector endPoint(a * std::cos(end), b * std::sin(end));
    endPoint.RotateAbout(x_Vector(0.0, 0.0), axisAngle);
    w.running = src.centre + endPoint;
    if (a2 < kMinSize || b2 < kMinSize || a <= 0.0)
        return nullptr;
    EllipseRecord rec = src;
    rec.axisRatio = b2 / a2;
    rec.majorAxis = src.majorAxis * (a2 / a);
    rec.direction = direction;
    return NewEllipseArc(rec, start, end);
}

// Circles and arcs: the radius grows when the compensation side is away
// from the centre.
CUnit* CollectCircular(CollectWork& w, CUnit& u, double g)
{
    const bool circle = u.GetType() == kCircle;
    const bool reversed = u.chainDir == 1;
    x_Vector centre;
    double r, start, end;
    std::uint8_t ownDir;
    if (circle) {
        centre = u.geometry.circle.centre;
        r = u.geometry.circle.radius;
        ownDir = u.geometry.circle.direction;
    } else {
        centre = u.geometry.arc.centre;
        r = u.geometry.arc.radius;
        ownDir = u.geometry.arc.direction;
    }
    const std::uint8_t direction = reversed ? (ownDir != 0 ? 0 : 1) : ownDir;
    if (circle) {
        start = direction != 0 ? kTwoPi : 0.0;
        end = direction != 0 ? 0.0 : kTwoPi;
    } else {
        start = NormalizeAngle(reversed ? u.geometry.arc.endAngle : u.geometry.arc.startAngle);
        end = NormalizeAngle(reversed ? u.geometry.arc.startAngle : u.geometry.arc.endAngle);
        if (start >= kTwoPi)
            start = 0.0;
        if (end >= kTwoPi)
            end = 0.0;
    }
    const bool grows = (ownDir != 0) == (w.req.sideKey == u.chainDir);
    const double r2 = grows ? r + g : r - g;
    CArray<x_Vector> pts;
    FlattenArc(pts, centre, r, start, end, direction, 6);
    AddOutline(w.plain, pts);
    pts.RemoveAll();
    FlattenArc(pts, centre, grows ? r + kProbe : r - kProbe, start, end, direction, 6);
    AddOutline(w.moved, pts);
    w.running = centre + x_Vector::FromPolar(r, circle ? 0.0 : end);
    if (r2 < kMinSize)
        return nullptr;
    return NewArc(centre, r2, start, end, direction);
}

// The spline's points from the one nearest the running point, in chain
// order (round past the end of a closed spline).
CArray<x_Vector> ChainOrderPoints(const CArray<x_Vector>& pts, const x_Vector& from, bool reversed, bool closed)
{
    const int n = pts.GetSize();
    int k = 0;
    for (int i = 1; i < n; ++i)
        if (x_Vector::Distance(from, pts[i]) < x_Vector::Distance(from, pts[k]))
            k = i;
    CArray<x_Vector> out;
    const bool closing = closed && n > 2 && pts[0].IsEqual(pts[n - 1]);
    const int m = closing ? n - 1 : n;
    for (int step = 0; step < (closed ? m : (reversed ? k + 1 : n - k)); ++step) {
        const int i = reversed ? ((k - step) % m + m) % m : (k + step) % m;
        out.Add(pts[i]);
    }
    if (closed && out.GetSize() > 0)
        out.Add(out[0]);
    return out;
}

CArray<x_Vector> SplinePoints(CUnit& u)
{
    if (u.flatPoints.GetSize() >= 2)
        return u.flatPoints;
    // Never flattened: sample the curve finely and thin it.
    u.workGeometry.spline = u.geometry.spline;
    u.keyPoints.Copy(u.nodes);
    if (u.geometry.spline.kind == 1) {
        g_SplineStep = kSplineStepInvolute;
        u.BuildInvoluteCurve();
    } else {
        g_SplineStep = kSplineStepCurve;
        u.RebuildCurve(0);
    }
    CArray<x_Vector> thin;
    ResamplePoints(thin, u.workCurve.GetData(), u.workCurve.GetSize(), kSplineThinning);
    return thin;
}

CUnit* CollectSpline(CollectWork& w, CUnit& u, double g)
{
    const bool closed = u.geometry.spline.closed != 0;
    CArray<x_Vector> pts = ChainOrderPoints(SplinePoints(u), w.running, u.chainDir == 1, closed);
    const int n = pts.GetSize();
    if (n == 0)
        return nullptr;
    CArray<x_Vector> moved = pts;
    for (int i = 0; i < n; ++i) {
        if (n < 2)
            break;
        const int a = i + 1 < n ? i : i - 1;
        const double normal = NormalAngle(pts[a], pts[a + 1], w.req.sideKey);
        if (w.s.wearCorrection && i > 0 && i - 1 < u.wearSteps.GetSize() && u.wearSteps[i - 1] == 1)
            LowerForWear(w);
        const double gi = w.s.wearCorrection ? w.carried : g;
        w.plain.Add(pts[i]);
        w.moved.Add(pts[i] + x_Vector::FromPolar(kProbe, normal));
        if (gi != 0.0)
            moved[i] = pts[i] + x_Vector::FromPolar(gi, normal);
    }
    w.running = pts[n - 1];
    ++g_UnitIdCounter;
    auto* copy = new CSplines();
    copy->nodes.Copy(u.nodes);
    copy->keyPoints.Copy(u.nodes);
    copy->geometry.spline = copy->workGeometry.spline = u.geometry.spline;
    copy->flatPoints.Copy(moved);
    copy->flatValid = 1;
    return copy;
}

CUnit* CollectEntity(CollectWork& w, CUnit& u)
{
    const double g = ExtraOffset(w, u);
    switch (u.GetType()) {
    case kLine:
        return CollectLine(w, u, g);
    case kEllipse:
    case kEllipseArc:
        return CollectEllipseArc(w, u, g);
    case kCircle:
    case kArc:
        return CollectCircular(w, u, g);
    case kSpline:
        return CollectSpline(w, u, g);
    default:
        return nullptr;
    }
}

double ClosedArea(CArray<x_Vector>& outline)
{
    if (!outline.IsEmpty())
        outline.Add(outline[0]);
    return PolygonArea(outline.GetSize(), outline.GetData());
}

} // namespace

int CollectChainPoints(const ChainRequest& req, const PathSettings& s, CUnitDocument& doc,
                       const CArray<create_trail_pt_t>& chain, TrailPath& path)
{
    CollectWork w(req, s);
    w.running = req.pickPoints[1];
    int copies = 0;
    for (const create_trail_pt_t& entry : chain) {
        if (PathRunCancelled())
            return kPathCancelled;
        if (entry.index < 0 || entry.index >= doc.m_unitList.GetSize())
            continue;
        CUnit* u = doc.m_unitList[entry.index];
        if (u == nullptr || u->role != 0)
            continue;
        CUnit* copy = CollectEntity(w, *u);
        if (copy == nullptr)
            continue;
        copy->role = kRoleDerivedPiece;
        copy->complete = 1;
        copy->ownerNo = req.ownerNo;
        copy->taperAngle = u->taperAngle;
        std::lock_guard<std::recursive_mutex> lock(doc.m_listMutex);
        doc.m_tempList.Add(copy);
        ++copies;
    }
    if (copies == 0)
        return kPathNoEntity;
    const int k = req.list != 0 ? 1 : 0;
    path.outward[k] = ClosedArea(w.plain) <= ClosedArea(w.moved) ? 1 : 0;
    if (req.stage == 2)
        return kPathOk;
    const bool closed = req.pickPoints[1].IsEqual(req.pickPoints[2]);
    return BuildContourTrail(req, s, doc.m_tempList, closed, path);
}
