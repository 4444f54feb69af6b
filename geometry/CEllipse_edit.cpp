// Edits of the ellipse that change the drawing (trim, offset of both
// ellipse classes) and the two steps of path preparation.
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
// Offsets refuse semi-axes below 0.0001; the slack lets 5 − 4.9999, which
// rounds a hair below, count as the 0.0001 it is.
constexpr double kLeastAxis = 0.0001 - 1e-12;

} // namespace

// Everything but the picked gap between two crossings becomes an elliptic
// arc; the crossings are visited in the ellipse's direction.
int CEllipse::Trim(int, x_Vector point, int n)
{
    if (!HitTest(point, 0) || g_pDoc == nullptr)
        return 0;
    const EllipseRecord g = geometry.ellipse;
    x_Vector pick;
    NearestPoint(pick, point, 1);
    std::vector<x_Vector> cuts;
    const int count = g_pDoc->m_unitList.GetSize();
    for (int i = 0; i < count; ++i) {
        CUnit* edge = g_pDoc->m_unitList.GetAt(i);
        if (i == n || edge == nullptr || edge == this || edge->deleted || edge->role != kRoleDrawing)
            continue;
        if (g_curCommand == kTrimCommand && !edge->selected)
            continue;
        for (const x_Vector& q : IntersectEntities(this, edge, 1).points) {
            if (!q.valid || !HitTest(q, 1))
                continue;
            if (std::none_of(cuts.begin(), cuts.end(), [&](const x_Vector& k) { return k.IsEqual(q); }))
                cuts.push_back(q);
        }
    }
    if (cuts.size() < 2)
        return 0;
    std::vector<double> params;
    for (const x_Vector& q : cuts)
        params.push_back(EllipseParameterOf(g, q));
    std::sort(params.begin(), params.end());
    // A mirrored ellipse runs clockwise: its gaps run from each crossing to
    // the next lower one.
    if (g.direction != 0)
        std::reverse(params.begin(), params.end());
    params.push_back(params.front());
    const double t = EllipseParameterOf(g, pick);
    int k = 0;
    for (int i = 1; i < static_cast<int>(params.size()) && k == 0; ++i)
        if (AngleInArc(t, params[i - 1], params[i], g.direction != 0))
            k = i;
    if (k == 0)
        return 0;
    AppendToDrawing(NewEllipseArc(g, params[k], params[k - 1]));
    if (n >= 0 && n < count && !g_pDoc->m_unitList.GetAt(n)->deleted)
        g_pDoc->RecordDeleteAt(n);
    return 1;
}

// Both semi-axes change by d; side 2 is the left of the direction of travel,
// inward for a counter-clockwise run. The result is again an ellipse, not
// the true parallel curve. Before, the direction was dropped (a clockwise
// arc became its complement) and an inward offset beyond a semi-axis
// divided by zero at d = a or flipped the axis.
bool CEllipseCommon::Offset(CUnit*& out, double d, int side)
{
    out = nullptr;
    const EllipseRecord& g = geometry.ellipse;
    const double a = g.majorAxis.Length();
    const double b = a * g.axisRatio;
    const bool inward = (g.direction == 0) == (side == 2);
    const double a2 = inward ? a - d : a + d;
    const double b2 = inward ? b - d : b + d;
    if (!(a2 >= kLeastAxis) || !(b2 >= kLeastAxis) || !(a > 0.0))
        return false;
    EllipseRecord shape = g;
    shape.majorAxis = g.majorAxis * (a2 / a);
    shape.axisRatio = b2 / a2;
    CEllipseArc* arc = NewEllipseArc(shape, GetStartAngle(), GetEndAngle());
    arc->geometry.ellipse.splitPiece = arc->workGeometry.ellipse.splitPiece = 1;
    arc->role = kRoleDrawing;
    out = arc;
    return true;
}

// The chord to the point 0.1 further along the run stands for the tangent.
// Before, a mirrored (clockwise) ellipse got its reverse as kind 2.
bool CEllipse::AppendDirectionRecord(x_Vector p)
{
    if (!HitTest(p, 1))
        return false;
    const EllipseRecord& g = geometry.ellipse;
    const double t = ParameterAtPoint(p);
    const x_Vector q1 = EllipsePointAt(g, t);
    const x_Vector q2 = EllipsePointAt(g, g.direction == 0 ? t + 0.1 : t - 0.1);
    const double forward = x_Vector::AngleTo(q1, q2);
    AppendTrailDirectionsBothWays(*this, p, forward);
    return true;
}

// One closed elliptic arc from the picked point round to it, in the
// ellipse's direction (before, a clockwise one ran its parameter upward).
int CEllipse::SplitAtCrossings(int, x_Vector p, int k, int, x_Vector& out)
{
    walked = 1;
    visible = 0;
    const EllipseRecord& g = geometry.ellipse;
    const double t = ParameterAtPoint(p);
    CEllipseArc* arc = NewEllipseArc(g, t, g.direction == 0 ? t + kTwoPi : t - kTwoPi);
    arc->chainDir = k;
    arc->gripsValid = 0;
    arc->role = kRoleDrawing;
    arc->temporary = 1;
    arc->listIndex = listIndex;
    arc->selected = 1;
    AppendSplitPiece(arc, listIndex, true);
    out = p;
    return 1;
}
