#include "wirepath/wire_wear.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <mutex>
#include <vector>

#include "geometry/CArc.h"
#include "geometry/CEllipse.h"
#include "geometry/CEllipseArc.h"
#include "geometry/CLine.h"
#include "geometry/CSplines.h"
#include "geometry/CUnit.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"

namespace {

enum TypeId { kLine = 1, kEllipse = 5, kEllipseArc = 6, kCircle = 7, kArc = 8, kSpline = 11 };
constexpr double kMinStep = 0.0001;
constexpr int kEllipseSamples = 720;        // per unit; the pieces' parameters are interpolated

// A unit seen along the chain: its length, and the piece between two
// distances from the chain's start as a new unit in the unit's own sense
// (it keeps the unit's chain direction, so chain collection runs it the
// same way).
struct ChainUnit {
    double length = 0.0;
    std::function<x_Vector(double)> pointAt;
    std::function<CUnit*(double, double)> piece;
};

bool Reversed(const CUnit& u)
{
    return u.chainDir == 1;
}

ChainUnit LineAlong(CUnit& u)
{
    const x_Vector p1 = u.geometry.line.p1, p2 = u.geometry.line.p2;
    const bool rev = Reversed(u);
    const x_Vector a = rev ? p2 : p1, b = rev ? p1 : p2;
    ChainUnit c;
    c.length = x_Vector::Distance(p1, p2);
    const double length = c.length;
    c.pointAt = [a, b, length](double s) { return s >= length ? b : x_Vector::Lerp(s / length, a, b); };
    c.piece = [pointAt = c.pointAt, rev](double s0, double s1) -> CUnit* {
        const x_Vector q0 = pointAt(s0), q1 = pointAt(s1);
        ++g_UnitIdCounter;
        return rev ? new CLine(q1.x, q1.y, q0.x, q0.y) : new CLine(q0.x, q0.y, q1.x, q1.y);
    };
    return c;
}

// Arcs and circles: the angle advances by distance / radius in the chain's
// sense; the chain's end is the exact end angle.
ChainUnit CircularAlong(CUnit& u)
{
    const bool circle = u.GetType() == kCircle;
    const x_Vector centre = circle ? u.geometry.circle.centre : u.geometry.arc.centre;
    const double r = circle ? u.geometry.circle.radius : u.geometry.arc.radius;
    const std::uint8_t own = circle ? u.geometry.circle.direction : u.geometry.arc.direction;
    const double ownStart = circle ? 0.0 : u.geometry.arc.startAngle;
    const double ownEnd = circle ? kTwoPi : u.geometry.arc.endAngle;
    const bool rev = Reversed(u);
    ChainUnit c;
    c.length = u.GetLength();
    const double length = c.length;
    const double from = rev ? ownEnd : ownStart, to = rev ? ownStart : ownEnd;
    const double sense = (own == 0) != rev ? 1.0 : -1.0;
    auto angleAt = [=](double s) { return s >= length ? to : from + sense * s / r; };
    c.pointAt = [=](double s) { return centre + x_Vector::FromPolar(r, angleAt(s)); };
    c.piece = [=](double s0, double s1) -> CUnit* {
        const double a0 = angleAt(s0), a1 = angleAt(s1);
        return rev ? NewArc(centre, r, a1, a0, own) : NewArc(centre, r, a0, a1, own);
    };
    return c;
}

// Ellipses run counter-clockwise in their own sense (as chain collection
// takes them); the length is walked over a fine sampling.
ChainUnit EllipseAlong(CUnit& u)
{
    const EllipseRecord e = u.geometry.ellipse;
    const bool whole = u.GetType() == kEllipse;
    const double ownStart = whole ? 0.0 : e.startParam;
    double ownEnd = whole ? kTwoPi : e.endParam;
    while (ownEnd <= ownStart)
        ownEnd += kTwoPi;
    const bool rev = Reversed(u);
    auto samples = std::make_shared<std::vector<std::pair<double, double>>>();     // (distance, parameter)
    double sum = 0.0;
    x_Vector last = EllipsePointAt(e, rev ? ownEnd : ownStart);
    samples->push_back({0.0, rev ? ownEnd : ownStart});
    for (int i = 1; i <= kEllipseSamples; ++i) {
        const double t = ownStart + (ownEnd - ownStart) * i / kEllipseSamples;
        const double param = rev ? ownEnd + ownStart - t : t;
        const x_Vector p = EllipsePointAt(e, param);
        sum += x_Vector::Distance(last, p);
        last = p;
        samples->push_back({sum, param});
    }
    auto paramAt = [samples](double s) {
        auto it = std::lower_bound(samples->begin(), samples->end(), std::make_pair(s, -1e300));
        if (it == samples->begin())
            return it->second;
        if (it == samples->end())
            return samples->back().second;
        const auto& [d1, t1] = *it;
        const auto& [d0, t0] = *(it - 1);
        return d1 > d0 ? t0 + (t1 - t0) * (s - d0) / (d1 - d0) : t1;
    };
    ChainUnit c;
    c.length = sum;
    c.pointAt = [e, paramAt](double s) { return EllipsePointAt(e, paramAt(s)); };
    c.piece = [e, paramAt, rev](double s0, double s1) -> CUnit* {
        const double t0 = paramAt(s0), t1 = paramAt(s1);
        EllipseRecord rec = e;
        rec.direction = 0;
        return rev ? NewEllipseArc(rec, t1, t0) : NewEllipseArc(rec, t0, t1);
    };
    return c;
}

struct WearWork {
    double step = 0.0;
    double carried = 0.0;               // cut since the last correction point
    bool apply = false;
    int count = 0;
    CArray<x_Vector>* points = nullptr;
    CArray<create_trail_pt_t> list;     // the new chain
};

void AddPiece(WearWork& w, CUnit& source, CUnit* piece, int tag, bool marked)
{
    piece->complete = piece->selected = piece->temporary = 1;
    piece->wearMarked = marked ? 1 : 0;
    piece->chainDir = source.chainDir;
    piece->listIndex = source.listIndex;
    piece->role = kRoleDrawing;
    std::lock_guard<std::recursive_mutex> lock(g_pDoc->m_listMutex);
    w.list.Add({g_pDoc->AppendUnit(piece), tag});
}

// Points at step - carried from the chain start of the unit and then
// every step while at least a step of the unit is left.
void SplitAlong(WearWork& w, CUnit& u, const ChainUnit& c, const create_trail_pt_t& entry)
{
    std::vector<double> at;
    double s = w.step - w.carried;
    at.push_back(s);
    while (c.length - s >= w.step) {
        s += w.step;
        at.push_back(s);
    }
    const double rest = c.length - s;
    for (double d : at) {
        w.points->Add(c.pointAt(d));
        ++w.count;
    }
    w.carried = rest;
    if (!w.apply)
        return;
    u.visible = 0;
    double previous = 0.0;
    for (double d : at) {
        AddPiece(w, u, c.piece(previous, d), entry.tag, true);
        previous = d;
    }
    // The rest carries no mark (elliptic rests used to carry one, a
    // correction more than the points counted).
    if (rest > 0.0)
        AddPiece(w, u, c.piece(previous, c.length), entry.tag, false);
}

// Splines: the point is the first flattened vertex a step past the last
// one (the overshoot is dropped); applied, one new spline over the
// flattened points carries the marks vertex by vertex.
void SplitSpline(WearWork& w, CUnit& u, const create_trail_pt_t& entry)
{
    const CArray<x_Vector>& pts = u.flatPoints;
    const int n = pts.GetSize();
    CArray<std::uint8_t> steps;
    steps.SetSize(n);
    for (int i = 0; i < n; ++i)
        steps[i] = 0;
    for (int k = 1; k < n; ++k) {
        const int i = Reversed(u) ? n - 1 - k : k, j = Reversed(u) ? i + 1 : i - 1;
        w.carried += x_Vector::Distance(pts[j], pts[i]);
        if (w.carried >= w.step) {
            w.points->Add(pts[i]);
            ++w.count;
            steps[i] = 1;
            w.carried = 0.0;
        }
    }
    if (!w.apply) {
        w.list.Add(entry);
        return;
    }
    u.visible = 0;
    ++g_UnitIdCounter;
    auto* spline = new CSplines();
    spline->geometry.spline = spline->workGeometry.spline = u.geometry.spline;
    spline->nodes.Copy(pts);
    spline->keyPoints.Copy(pts);
    spline->flatPoints.Copy(pts);
    spline->flatValid = 1;
    spline->wearSteps.Copy(steps);
    AddPiece(w, u, spline, entry.tag, false);
}

void CorrectUnit(WearWork& w, CUnit& u, const create_trail_pt_t& entry)
{
    const int type = u.GetType();
    const double length = u.GetLength();
    if (length + w.carried < w.step) {
        w.list.Add(entry);
        w.carried += length;
        return;
    }
    ChainUnit c;
    switch (type) {
    case kLine:
        c = LineAlong(u);
        break;
    case kCircle:
    case kArc:
        c = CircularAlong(u);
        break;
    case kEllipse:
    case kEllipseArc:
        c = EllipseAlong(u);
        break;
    case kSpline:
        if (u.flatPoints.GetSize() >= 2) {
            SplitSpline(w, u, entry);
            return;
        }
        [[fallthrough]];
    default:
        w.list.Add(entry);
        w.carried += length;
        return;
    }
    if (!(c.length > 0.0)) {
        w.list.Add(entry);
        return;
    }
    const int before = w.list.GetSize();
    SplitAlong(w, u, c, entry);
    if (!w.apply && w.list.GetSize() == before)
        w.list.Add(entry);
}

} // namespace

double WearChainLength()
{
    double sum = 0.0;
    if (g_pDoc == nullptr)
        return sum;
    for (const create_trail_pt_t& e : g_CreateTrailPoints) {
        if (e.index < 0 || e.index >= g_pDoc->m_unitList.GetSize())
            continue;
        CUnit* u = g_pDoc->m_unitList[e.index];
        if (u != nullptr && u->role == kRoleDrawing)
            sum += u->GetLength();
    }
    return sum;
}

int PlaceWearCorrections(double ratio, double thickness, bool apply, CArray<x_Vector>& points, int& count)
{
    points.RemoveAll();
    count = 0;
    if (!(thickness > 0.0))
        return kWearBadThickness;
    WearWork w;
    w.step = ratio / thickness / 10.0;     // (1)
    if (!(w.step >= kMinStep))
        return kWearStepTooSmall;
    w.apply = apply;
    w.points = &points;
    const CArray<create_trail_pt_t> chain = g_CreateTrailPoints;
    for (const create_trail_pt_t& entry : chain) {
        if (g_pDoc == nullptr || entry.index < 0 || entry.index >= g_pDoc->m_unitList.GetSize())
            continue;
        CUnit& u = *g_pDoc->m_unitList[entry.index];
        if (u.role != kRoleDrawing)
            w.list.Add(entry);
        else
            CorrectUnit(w, u, entry);
    }
    count = w.count;
    if (apply)
        g_CreateTrailPoints.Copy(w.list);
    return kWearDone;
}
