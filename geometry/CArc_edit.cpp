// Edits of the arc that change the drawing (break, trim, offset) and the
// two steps of path preparation.
#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/CArc.h"
#include "geometry/CLine.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "geometry/intersect.h"
#include "geometry/path_services.h"

namespace {

constexpr int kTrimCommand = 60;
// Offsets refuse radii below 0.0001; the slack lets 5 − 4.9999, which
// rounds a hair below, count as the 0.0001 it is.
constexpr double kLeastRadius = 0.0001 - 1e-12;

// How far along the arc from its start angle s the angle a lies, in [0, 2π).
double AlongArc(double s, double a, std::uint8_t direction)
{
    double d = std::fmod(direction == 0 ? a - s : s - a, kTwoPi);
    if (d < 0.0)
        d += kTwoPi;
    return d;
}

} // namespace

int CArc::Break(x_Vector point, x_Vector& out)
{
    if (!HitTest(point, 0))
        return 0;
    x_Vector n;
    double d = 0;
    NearestPoint(n, point, 1, &d);
    if (!n.valid || n.IsEqual(GetStartPoint()) || n.IsEqual(GetEndPoint()))
        return 0;
    ArcRecord& g = geometry.arc;
    const double at = x_Vector::AngleTo(g.centre, n);
    const double oldEnd = g.endAngle;
    g.endAngle = at;
    flatValid = gripsValid = 0;
    complete = 1;
    CArc* rest = NewArc(g.centre, g.radius, at, oldEnd, g.direction);
    rest->geometry.arc.splitPiece = 1;
    AppendToDrawing(rest);
    out = n;
    return 1;
}

// The start stays first: sorted among the crossings, its angle (a few ulps
// off the stored one) could land last and turn the result into a full circle.
int CArc::Trim(int, x_Vector point, int n)
{
    if (!HitTest(point, 0) || g_pDoc == nullptr)
        return 0;
    const ArcRecord g = geometry.arc;
    const x_Vector S = GetStartPoint(), E = GetEndPoint();
    x_Vector pick;
    NearestPoint(pick, point, 1);
    std::vector<x_Vector> cuts;
    const int count = g_pDoc->m_unitList.GetSize();
    for (int i = 0; i < count; ++i) {
        CUnit* edge = g_pDoc->m_unitList.GetAt(i);
        if (i == n || edge == nullptr || edge->deleted || edge->role != kRoleDrawing)
            continue;
        if (g_curCommand == kTrimCommand && !edge->selected)
            continue;
        for (const x_Vector& q : IntersectEntities(this, edge, 1).points) {
            if (!q.valid || !HitTest(q, 1) || q.IsEqual(S) || q.IsEqual(E))
                continue;
            if (std::none_of(cuts.begin(), cuts.end(), [&](const x_Vector& k) { return k.IsEqual(q); }))
                cuts.push_back(q);
        }
    }
    if (cuts.empty())
        return 0;
    std::vector<double> angles;
    for (const x_Vector& q : cuts)
        angles.push_back(x_Vector::AngleTo(g.centre, q));
    std::stable_sort(angles.begin(), angles.end(), [&](double a, double b) {
        return AlongArc(g.startAngle, a, g.direction) < AlongArc(g.startAngle, b, g.direction);
    });
    angles.insert(angles.begin(), g.startAngle);
    angles.push_back(g.endAngle);

    const double t = x_Vector::AngleTo(g.centre, pick);
    const int last = static_cast<int>(angles.size()) - 1;
    int k = 0;
    for (int i = 1; i <= last && k == 0; ++i)
        if (AngleInArc(t, angles[i - 1], angles[i], g.direction != 0))
            k = i;
    if (k == 0)
        return 0;
    if (k == 1) {
        AppendToDrawing(NewArc(g.centre, g.radius, angles[1], g.endAngle, g.direction));
    } else if (k == last) {
        AppendToDrawing(NewArc(g.centre, g.radius, g.startAngle, angles[k - 1], g.direction));
    } else {
        AppendToDrawing(NewArc(g.centre, g.radius, g.startAngle, angles[k - 1], g.direction));
        AppendToDrawing(NewArc(g.centre, g.radius, angles[k], g.endAngle, g.direction));
    }
    if (n >= 0 && n < count && !g_pDoc->m_unitList.GetAt(n)->deleted)
        g_pDoc->RecordDeleteAt(n);
    return 1;
}

// Side 2 is the left of the direction of travel.
bool CArc::Offset(CUnit*& out, double d, int side)
{
    const ArcRecord& g = geometry.arc;
    const bool inward = (g.direction == 0 && side == 2) || (g.direction != 0 && side != 2);
    const double r = inward ? g.radius - d : g.radius + d;
    if (!(r >= kLeastRadius))
        return false;
    CArc* arc = NewArc(g.centre, r, NormalizeAngle(g.startAngle), NormalizeAngle(g.endAngle), g.direction);
    arc->role = kRoleDrawing;
    out = arc;
    return true;
}

bool CArc::OffsetForPath(CUnit*& out, double, double d, int side, int newRole, int owner)
{
    const ArcRecord& g = geometry.arc;
    CArc* arc = NewArc(g.centre, side == 1 ? g.radius + d : g.radius - d, g.startAngle, g.endAngle,
                       g.direction);
    arc->role = newRole;
    arc->ownerNo = owner;
    out = arc;
    return true;
}

bool CArc::AppendDirectionRecord(x_Vector p)
{
    if (!HitTest(p, 1))
        return false;
    const ArcRecord& g = geometry.arc;
    const double theta = x_Vector::AngleTo(g.centre, p);
    const double forward = g.direction == 0 ? theta + kPi / 2 : theta - kPi / 2;
    const double backward = g.direction == 0 ? theta - kPi / 2 : theta + kPi / 2;
    if (p.IsEqual(GetStartPoint())) {
        AppendTrailDirection(*this, p, forward, 2);
    } else if (p.IsEqual(GetEndPoint())) {
        AppendTrailDirection(*this, p, backward, 1);
    } else {
        AppendTrailDirectionsBothWays(*this, p, forward);
    }
    return true;
}

int CArc::SplitAtCrossings(int, x_Vector p, int k, int, x_Vector& out)
{
    chainDir = k;
    const ArcRecord g = geometry.arc;
    const x_Vector S = GetStartPoint(), E = GetEndPoint();
    const x_Vector T = k == 1 ? S : E;
    const bool closed = S.IsEqual(E);
    std::uint64_t skip = 0;
    if (p.IsEqual(S) || p.IsEqual(E)) {
        if (p.IsEqual(T)) {
            skip = unitId;
        } else {
            g_CreateTrailPoints.Add({listIndex, listIndex});
            selected = 1;
        }
    } else {
        walked = 1;
        visible = 0;
        const double at = x_Vector::AngleTo(g.centre, p);
        for (int piece = 1; piece <= 2; ++piece) {
            CArc* arc = piece == 1 ? NewArc(g.centre, g.radius, g.startAngle, at, g.direction)
                                   : NewArc(g.centre, g.radius, at, g.endAngle, g.direction);
            arc->listIndex = listIndex;
            arc->role = kRoleDrawing;
            arc->temporary = 1;
            const bool chained = closed || piece == k;
            if (chained) {
                arc->chainDir = closed ? k : piece;
                arc->selected = 1;
            }
            AppendSplitPiece(arc, listIndex, chained);
        }
    }
    if (closed) {
        out = p;
        return 1;
    }
    return ContinueChainFrom(*this, skip, T, p, out);
}
