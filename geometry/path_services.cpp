#include "geometry/path_services.h"

#include <cmath>
#include <mutex>

#include "geometry/CUnit.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "geometry/x_TrailData.h"

double SweepAngle(ArcRecord arc)
{
    double sweep;
    if (arc.direction == 0) {
        const double e = arc.startAngle > arc.endAngle - 1e-10 ? arc.endAngle + kTwoPi : arc.endAngle;
        sweep = e - arc.startAngle;
    } else {
        const double s = arc.startAngle < arc.endAngle + 1e-10 ? arc.startAngle + kTwoPi : arc.startAngle;
        sweep = s - arc.endAngle;
    }
    return std::fabs(sweep) < 1e-10 ? kTwoPi : sweep;
}

double ResamplePoints(CArray<x_Vector>& out, const x_Vector* p, int n, double tol)
{
    out.RemoveAll();
    double total = 0.0;
    for (int i = 1; i < n; ++i)
        total += x_Vector::Distance(p[i - 1], p[i]);
    if (n <= 2) {
        for (int i = 0; i < n; ++i)
            out.Add(p[i]);
        return total;
    }
    out.Add(p[0]);
    bool inRun = false;
    x_Vector base;
    double theta = 0.0, walked = 0.0;
    for (int i = 1; i <= n - 2; ++i) {
        if (inRun) {
            walked += x_Vector::Distance(p[i], p[i - 1]);
            if (walked < 0.001 || p[i].IsEqual(p[i - 1]))
                continue;
            const x_Vector along = base + x_Vector::FromPolar(walked, theta);
            if (std::fabs(along.x - p[i].x) < tol && std::fabs(along.y - p[i].y) < tol)
                continue;
        }
        out.Add(p[i]);
        inRun = true;
        base = p[i];
        theta = x_Vector::AngleTo(p[i - 1], p[i]);
        walked = 0.0;
    }
    out.Add(p[n - 1]);
    return total;
}

x_Vector PolygonCentroid(const x_Vector* p, int n)
{
    if (n <= 3)
        return {0.0, 0.0, 0};
    double area = 0.0, cx = 0.0, cy = 0.0;
    for (int i = 1; i + 1 < n; ++i) {
        const x_Vector a = p[i] - p[0], b = p[i + 1] - p[0];
        const double twice = a.x * b.y - a.y * b.x;        // twice the triangle's area
        area += twice;
        cx += twice * (p[0].x + p[i].x + p[i + 1].x) / 3.0;
        cy += twice * (p[0].y + p[i].y + p[i + 1].y) / 3.0;
    }
    // A closed list of collinear points has no area; dividing gave NaN.
    if (std::fabs(area) < 1e-12)
        return {0.0, 0.0, 0};
    return {cx / area, cy / area};
}

void ClearTrailDirections()
{
    g_TrailDirections.RemoveAll();
    g_TrailDirections.FreeExtra();
}

void SetCollectCrossingsHook(CollectCrossingsFn hook)
{
    g_CollectCrossingsHook = hook;
}

int CollectCrossings(std::uint64_t skipUnitId, x_Vector t, x_Vector& out)
{
    if (g_CollectCrossingsHook != nullptr)
        return g_CollectCrossingsHook(skipUnitId, t, out);
    out = t;
    return 0;
}

void AppendTrailDirection(const CUnit& unit, const x_Vector& point, const x_Vector& point2, double angle,
                          int kind)
{
    x_TrailDirectionData r;
    r.angle = angle;
    r.point = point;
    r.point2 = point2;
    r.direction = kind;
    r.unitId = unit.unitId;
    r.listIndex = unit.listIndex;
    r.active = 1;
    g_TrailDirections.Add(r);
}

void AppendTrailDirection(const CUnit& unit, const x_Vector& point, double angle, int kind)
{
    AppendTrailDirection(unit, point, point, angle, kind);
}

double ReverseAngle(double angle)
{
    double reverse = angle + kPi;
    if (reverse > kTwoPi)
        reverse -= kTwoPi;
    return reverse;
}

void AppendTrailDirectionsBothWays(const CUnit& unit, const x_Vector& point, double forward)
{
    AppendTrailDirection(unit, point, forward, 2);
    AppendTrailDirection(unit, point, ReverseAngle(forward), 1);
}

void AppendSplitPiece(CUnit* piece, int ownerIndex, bool chained)
{
    if (g_pDoc == nullptr) {
        delete piece;
        return;
    }
    std::lock_guard<std::recursive_mutex> lock(g_pDoc->m_listMutex);
    if (chained)
        g_CreateTrailPoints.Add({g_pDoc->m_unitList.GetSize(), ownerIndex});
    g_pDoc->AppendUnit(piece);
}

int ContinueChainFrom(CUnit& unit, std::uint64_t skipUnitId, const x_Vector& t, const x_Vector& p,
                      x_Vector& out)
{
    const int q = CollectCrossings(skipUnitId, t, out);
    if (out == p && q == 0) {
        unit.selected = 0;
        return 0;
    }
    return q == 2 ? 2 : 1;
}
