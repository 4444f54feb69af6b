// Edits of the line that change the drawing (trim, break, offset), object
// snap, and the two steps of path preparation.
#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/CLine.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "geometry/intersect.h"
#include "geometry/path_services.h"
#include "geometry/screen_marks.h"
#include "geometry/view_transform.h"

namespace {

constexpr int kTrimCommand = 60;

CLine* NewLine(const x_Vector& a, const x_Vector& b)
{
    ++g_UnitIdCounter;
    auto* line = new CLine(a.x, a.y, b.x, b.y);
    line->complete = 1;
    return line;
}

double Pixels(double mm)
{
    return mm * g_ViewScale;
}

} // namespace

// Crossings with the cutting edges, then the interval around the pick.
int CLine::Trim(int, x_Vector point, int n)
{
    if (!HitTest(point, 0) || g_pDoc == nullptr)
        return 0;
    x_Vector pick;
    NearestPoint(pick, point, 1);
    const x_Vector p1 = geometry.line.p1, p2 = geometry.line.p2;
    std::vector<x_Vector> crossings;
    const int count = g_pDoc->m_unitList.GetSize();
    for (int i = 0; i < count; ++i) {
        CUnit* edge = g_pDoc->m_unitList.GetAt(i);
        if (i == n || edge == nullptr || edge->deleted || edge->role != kRoleDrawing)
            continue;
        if (g_curCommand == kTrimCommand && !edge->selected)
            continue;
        for (const x_Vector& c : IntersectEntities(this, edge, 1).points) {
            if (HitTest(c, 1) && x_Vector::Distance(c, p1) > 0.0001
                && x_Vector::Distance(c, p2) > 0.0001)
                crossings.push_back(c);
        }
    }
    if (crossings.empty())
        return 0;
    std::vector<x_Vector> cut{p1};
    for (const x_Vector& c : crossings)
        if (std::none_of(cut.begin(), cut.end(), [&](const x_Vector& k) { return k.IsEqual(c); }))
            cut.push_back(c);
    std::stable_sort(cut.begin() + 1, cut.end(), [&](const x_Vector& a, const x_Vector& b) {
        return x_Vector::Distance(p1, a) < x_Vector::Distance(p1, b);
    });
    cut.push_back(p2);

    const int last = static_cast<int>(cut.size()) - 1;
    int k = 0;
    for (int i = 1; i <= last && k == 0; ++i) {
        const x_Vector& a = cut[i - 1];
        const x_Vector& b = cut[i];
        using V = x_Vector;
        if (pick.IsEqual(a) || pick.IsEqual(b)
            || std::fabs(V::Distance(a, pick) + V::Distance(pick, b) - V::Distance(a, b)) < 0.01)
            k = i;
    }
    // The interval index was left undefined when no interval held the pick.
    if (k == 0)
        return 0;
    // The list entry, not this copy, says whether the line is still live;
    // the deletion is recorded here only.
    if (n >= 0 && n < count && !g_pDoc->m_unitList.GetAt(n)->deleted)
        g_pDoc->RecordDeleteAt(n);
    if (k == 1) {
        AppendToDrawing(NewLine(cut[1], p2));
    } else if (k == last) {
        AppendToDrawing(NewLine(p1, cut[last - 1]));
    } else {
        AppendToDrawing(NewLine(p1, cut[k - 1]));
        AppendToDrawing(NewLine(cut[k], p2));
    }
    return 1;
}

int CLine::Break(x_Vector point, x_Vector& out)
{
    if (!HitTest(point, 0))
        return 0;
    NearestPoint(edit->hitPoint, point, 0);
    hitSegment = 0;
    const x_Vector p1 = geometry.line.p1, p2 = geometry.line.p2;
    if (x_Vector::Distance(edit->hitPoint, p1) < 0.0001 || x_Vector::Distance(edit->hitPoint, p2) < 0.0001
        || edit->hitPoint.IsEqual(p1) || edit->hitPoint.IsEqual(p2))
        return 0;
    geometry.line.p2 = edit->hitPoint;
    pieceOf = 0;
    gripsValid = 0;
    CLine* rest = NewLine(edit->hitPoint, p2);
    rest->pieceOf = 0;
    AppendToDrawing(rest);
    out = edit->hitPoint;
    return 1;
}

bool CLine::Offset(CUnit*& out, double d, int side)
{
    const x_Vector s = GetStartPoint(), e = GetEndPoint();
    const double alpha = x_Vector::AngleTo(s, e);
    const double normal = side == 2 ? alpha + kPi / 2 : alpha - kPi / 2;
    const x_Vector shift = d != 0.0 ? x_Vector::FromPolar(d, normal) : x_Vector(0, 0);
    CLine* line = NewLine(s + shift, e + shift);
    line->role = kRoleDrawing;
    out = line;
    return true;
}

bool CLine::AppendDirectionRecord(x_Vector p)
{
    if (!HitTest(p, 1))
        return false;
    const x_Vector p1 = geometry.line.p1, p2 = geometry.line.p2;
    const double forward = x_Vector::AngleTo(p1, p2);
    if (p.IsEqual(p1)) {
        AppendTrailDirection(*this, p, forward, 2);
    } else if (p.IsEqual(p2)) {
        AppendTrailDirection(*this, p, x_Vector::AngleTo(p2, p1), 1);
    } else {
        AppendTrailDirectionsBothWays(*this, p, forward);
    }
    return true;
}

int CLine::SplitAtCrossings(int, x_Vector p, int dir, int, x_Vector& out)
{
    chainDir = dir;
    const x_Vector p1 = geometry.line.p1, p2 = geometry.line.p2;
    const x_Vector t = dir == 1 ? p1 : p2;
    std::uint64_t skip = 0;
    if (!p.IsEqual(p1) && !p.IsEqual(p2)) {
        walked = 1;
        visible = 0;
        for (int piece = 1; piece <= 2; ++piece) {
            CLine* line = piece == 1 ? NewLine(p1, p) : NewLine(p, p2);
            line->role = kRoleDrawing;
            line->temporary = 1;
            line->listIndex = listIndex;
            const bool chained = piece == dir;
            if (chained) {
                line->chainDir = dir;
                line->selected = 1;
            }
            AppendSplitPiece(line, listIndex, chained);
        }
    } else if (!p.IsEqual(t)) {
        g_CreateTrailPoints.Add({listIndex, listIndex});
        selected = 1;
    } else {
        skip = unitId;
    }
    return ContinueChainFrom(*this, skip, t, p, out);
}

bool CLine::SnapPoints(x_Vector& r, x_Vector& c, int, int mode)
{
    const x_Vector a = geometry.line.p1, b = geometry.line.p2;
    const double len = x_Vector::Distance(a, b);
    x_PolerData candidate;
    bool found = false;
    const x_PolerData keys[3] = {{a, 1}, {b, 1}, {GetMidPoint(), 2}};
    for (const x_PolerData& k : keys) {
        if (GripSquareHit(c, k.point)) {
            candidate = k;
            found = true;
            break;
        }
    }
    if (refActive && refPoint.valid && GripSquareHit(c, refPoint)) {
        candidate = {refPoint, 3};
        found = true;
    }
    auto result = [&](const x_PolerData& d) {
        edit->gripHit = d.point;
        snapKind = d.kind;
        return true;
    };
    if (mode == 0 || r == c)
        return found ? result(candidate) : false;
    using V = x_Vector;
    if (mode == 2 && V::Distance(c, a) + V::Distance(c, b) - len < 8.0 / g_ViewScale) {
        const x_Vector foot = PerpendicularFootOnLine(r);
        const bool onSegment = V::Distance(foot, a) + V::Distance(foot, b) - len <= 1e-10;
        if (onSegment && Pixels(V::Distance(foot, c)) < 8.0) {
            if (found && V::Distance(candidate.point, c) <= V::Distance(foot, c))
                return result(candidate);
            return result({foot, 5});
        }
    }
    if (found)
        return result(candidate);
    if (g_SnapRestrict)
        return false;
    x_Vector q(0, 0, 0);
    if (mode == 2) {
        const x_VectorList hits = IntersectLineLine(geometry.line, MakeLineRecord(r.x, r.y, c.x, c.y), 1);
        if (hits.count > 0)
            q = hits.points[0];
    } else {
        NearestPoint(q, c, 0);
    }
    if (q.valid && std::fabs(V::Distance(q, a) + V::Distance(q, b) - len) <= 1e-10
        && V::Distance(q, c) <= PixelsToMm(8))
        return result({q, 4});
    return false;
}

x_Vector CLine::PerpendicularFootOnLine(const x_Vector& p) const
{
    const x_Vector a = geometry.line.p1, b = geometry.line.p2;
    const x_Vector u = b - a;
    const double L2 = u.x * u.x + u.y * u.y;
    if (L2 <= 0.0)
        return a;
    const x_Vector w = p - a;
    return a + u * ((w.x * u.x + w.y * u.y) / L2);
}
