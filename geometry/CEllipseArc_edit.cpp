// Edits of the elliptic arc that change the drawing (break, trim) and the
// two steps of path preparation. Split parameters are unwrapped onto the
// arc's run, so each piece keeps a monotone run in the arc's direction.
#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/CEllipseArc.h"
#include "geometry/CLine.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "geometry/intersect.h"
#include "geometry/path_services.h"

namespace {

constexpr int kTrimCommand = 60;

// Crossings of the live edges with the arc, inside its run and off its ends.
std::vector<x_Vector> CrossingsInside(CUnit& arc, int self, const x_Vector& s, const x_Vector& e)
{
    std::vector<x_Vector> cuts;
    const int count = g_pDoc->m_unitList.GetSize();
    for (int i = 0; i < count; ++i) {
        CUnit* edge = g_pDoc->m_unitList.GetAt(i);
        if (i == self || edge == nullptr || edge == &arc || edge->deleted || edge->role != kRoleDrawing)
            continue;
        if (g_curCommand == kTrimCommand && !edge->selected)
            continue;
        for (const x_Vector& q : IntersectEntities(&arc, edge, 1).points) {
            if (!q.valid || !arc.HitTest(q, 1) || q.IsEqual(s) || q.IsEqual(e))
                continue;
            if (std::none_of(cuts.begin(), cuts.end(), [&](const x_Vector& k) { return k.IsEqual(q); }))
                cuts.push_back(q);
        }
    }
    return cuts;
}

} // namespace

int CEllipseArc::Break(x_Vector point, x_Vector& out)
{
    if (!HitTest(point, 0))
        return 0;
    x_Vector n;
    NearestPoint(n, point, 1);
    if (!n.valid || n.IsEqual(GetStartPoint()) || n.IsEqual(GetEndPoint()))
        return 0;
    EllipseRecord& g = geometry.ellipse;
    const double at = EllipseUnwrapIntoRun(g, ParameterAtPointWork(n));
    const double oldEnd = g.endParam;
    flatValid = 0;
    g.endParam = at;
    gripsValid = 0;
    complete = 1;
    CEllipseArc* rest = NewEllipseArc(g, at, oldEnd);
    rest->geometry.ellipse.splitPiece = rest->workGeometry.ellipse.splitPiece = 1;
    AppendToDrawing(rest);
    out = n;
    return 1;
}

// The start stays first and the end last; the crossings between them are
// ordered along the run.
int CEllipseArc::Trim(int, x_Vector point, int n)
{
    if (!HitTest(point, 0) || g_pDoc == nullptr)
        return 0;
    const EllipseRecord g = geometry.ellipse;
    x_Vector pick;
    NearestPoint(pick, point, 1);
    const std::vector<x_Vector> cuts = CrossingsInside(*this, n, GetStartPoint(), GetEndPoint());
    if (cuts.empty())
        return 0;
    std::vector<double> params;
    for (x_Vector q : cuts)
        params.push_back(EllipseUnwrapIntoRun(g, ParameterAtPointWork(q)));
    std::sort(params.begin(), params.end());
    if (g.direction != 0)
        std::reverse(params.begin(), params.end());
    params.insert(params.begin(), g.startParam);
    params.push_back(g.endParam);
    const double t = ParameterAtPointWork(pick);
    const int last = static_cast<int>(params.size()) - 1;
    int k = 0;
    for (int i = 1; i <= last && k == 0; ++i)
        if (AngleInArc(t, params[i - 1], params[i], g.direction != 0))
            k = i;
    if (k == 0)
        return 0;
    if (k != 1)
        AppendToDrawing(NewEllipseArc(g, g.startParam, params[k - 1]));
    if (k != last)
        AppendToDrawing(NewEllipseArc(g, params[k], g.endParam));
    const int count = g_pDoc->m_unitList.GetSize();
    if (n >= 0 && n < count && !g_pDoc->m_unitList.GetAt(n)->deleted)
        g_pDoc->RecordDeleteAt(n);
    return 1;
}

// The chord to the point 0.1 further along the run stands for the tangent.
bool CEllipseArc::AppendDirectionRecord(x_Vector p)
{
    if (!HitTest(p, 1))
        return false;
    const EllipseRecord& g = geometry.ellipse;
    const double t = ParameterAtPointWork(p);
    const x_Vector q1 = EllipsePointAt(g, t);
    const x_Vector q2 = EllipsePointAt(g, g.direction == 0 ? t + 0.1 : t - 0.1);
    const double forward = x_Vector::AngleTo(q1, q2);
    if (p.IsEqual(GetStartPoint())) {
        AppendTrailDirection(*this, p, forward, 2);
    } else if (p.IsEqual(GetEndPoint())) {
        AppendTrailDirection(*this, p, x_Vector::AngleTo(q2, q1), 1);
    } else {
        AppendTrailDirectionsBothWays(*this, p, forward);
    }
    return true;
}

int CEllipseArc::SplitAtCrossings(int, x_Vector p, int k, int, x_Vector& out)
{
    chainDir = k;
    const EllipseRecord g = geometry.ellipse;
    const x_Vector S = GetStartPoint(), E = GetEndPoint();
    const x_Vector X = k == 1 ? S : E;
    const bool closed = S.IsEqual(E);
    std::uint64_t skip = 0;
    if (p.IsEqual(S) || p.IsEqual(E)) {
        if (p.IsEqual(X)) {
            skip = unitId;
            if (closed)
                g_CreateTrailPoints.Add({listIndex, listIndex});
        } else {
            g_CreateTrailPoints.Add({listIndex, listIndex});
            selected = 1;
        }
    } else {
        walked = 1;
        visible = 0;
        const double at = EllipseUnwrapIntoRun(g, ParameterAtPoint(p));
        for (int piece = 1; piece <= 2; ++piece) {
            CEllipseArc* arc = piece == 1 ? NewEllipseArc(g, g.startParam, at)
                                          : NewEllipseArc(g, at, g.endParam);
            arc->listIndex = listIndex;
            arc->role = kRoleDrawing;
            arc->temporary = 1;
            const bool chained = closed || piece == k;
            if (chained) {
                arc->chainDir = k;
                arc->selected = 1;
            }
            AppendSplitPiece(arc, listIndex, chained);
        }
    }
    if (closed) {
        selected = 1;
        out = p;
        return 1;
    }
    return ContinueChainFrom(*this, skip, X, p, out);
}
