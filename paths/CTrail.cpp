#include "paths/CTrail.h"

#include <cmath>

#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "geometry/plane_geometry.h"
#include "geometry/screen_marks.h"
#include "geometry/view_transform.h"
#include "platform/core/CArchive.h"
#include "wirepath/TrailPath.h"

IMPLEMENT_SERIAL(CTrail, CUnit, 1)

namespace {


constexpr double kExactArc = 0.0001;        // mm, the exact hit of an arc element
constexpr double kPickLinePixels = 0.8;     // excess length of the detour through the point
constexpr double kPickArcPixels = 8.0;
constexpr double kAtEnd = 0.0001;           // an arc's end point counts as on it

bool Drawable(const x_TrailData& e)
{
    return e.kind <= 3;
}

void MoveElement(x_TrailData& e, double dx, double dy)
{
    if (e.IsArc()) {
        e.centre.Offset(dx, dy);
        return;
    }
    e.start.Offset(dx, dy);
    e.end.Offset(dx, dy);
}

void MovePoint(x_Vector& p, double dx, double dy)
{
    // An unset point stays unset; drawing fills it from the first element.
    if (p.valid)
        p.Offset(dx, dy);
}

} // namespace

CTrail::CTrail()
{
    InitTrailParams(params);
    ClearTrailParams(params);
    colour = g_Path1Color;
    lineStyle = g_CurrentLineStyle;
    unitId = g_UnitIdCounter;
    role = kRolePath;
}

CTrail::~CTrail() = default;

void CTrail::Serialize(CArchive& ar)
{
    CUnit::Serialize(ar);
    if (ar.IsStoring()) {
        StoreTrailParams(ar, params);
        StoreTrailList(ar, trails[0]);
        StoreTrailList(ar, trails[1]);
        return;
    }
    LoadTrailParams(ar, params);
    LoadTrailList(ar, trails[0]);
    LoadTrailList(ar, trails[1]);
    gripsValid = 0;
}

x_Vector CTrail::GetElementStartPoint(int surface) const
{
    const x_TrailDataArray& list = trails[surface == 0 ? 0 : 1];
    if (list.IsEmpty() || list[0].kind > 3)
        return {0.0, 0.0, 0};
    return list[0].StartPoint();
}

x_Vector CTrail::GetElementEndPoint() const
{
    const x_TrailDataArray& list = trails[0];
    if (list.IsEmpty() || list[list.GetSize() - 1].kind > 3)
        return {0.0, 0.0, 0};
    return list[list.GetSize() - 1].EndPoint();
}

double CTrail::ArcElementDistance(x_Vector p, x_Vector c, double r, double a0, double a1, std::uint8_t direction)
{
    const x_Vector s = c + x_Vector::FromPolar(r, a0);
    const double ds = x_Vector::Distance(p, s);
    if (ds < kAtEnd)
        return ds;
    const x_Vector e = c + x_Vector::FromPolar(r, a1);
    const double de = x_Vector::Distance(p, e);
    if (de < kAtEnd)
        return de;
    const double a = std::fmod(std::atan2(p.y - c.y, p.x - c.x) + kTwoPi, kTwoPi);
    if (!AngleInArc(a, a0, a1, direction != 0))
        return 1e10;
    return std::fabs(x_Vector::Distance(p, c) - r);
}

bool CTrail::HitTest(x_Vector p, std::uint8_t mode)
{
    const bool exact = mode != 0;
    for (int s = 0; s < 2; ++s) {
        for (const x_TrailData& e : trails[s]) {
            if (!Drawable(e))
                continue;
            if (e.IsLine()) {
                if (exact) {
                    if (PointOnSegment(e.start, e.end, p))
                        return true;
                    continue;
                }
                const double excess = x_Vector::Distance(p, e.start) + x_Vector::Distance(p, e.end)
                                      - x_Vector::Distance(e.start, e.end);
                if (excess * g_ViewScale <= kPickLinePixels) {
                    hitSegment = 0;
                    return true;
                }
                continue;
            }
            const double d = ArcElementDistance(p, e.centre, e.radius, e.startAngle, e.endAngle, e.direction);
            if (exact ? d < kExactArc : d * g_ViewScale < kPickArcPixels)
                return true;
        }
        if (trails[1].IsEmpty())
            break;
    }

    return false;
}

void CTrail::OnPick(CDC*, CUnitView* view, x_Vector point)
{
    if (view == nullptr || selected || !HitTest(point, 0))
        return;
    view->m_pickUnit = this;
    selected = picked = 1;
    view->m_pickedFlag = 1;
    g_pickMark = 1;
}

bool CTrail::SnapPoints(x_Vector&, x_Vector& cursor, int, int)
{
    const POINT c = WorldToScreen(cursor);
    const auto inside = [&](const x_Vector& p) {
        const POINT q = WorldToScreen(p);
        return q.x >= c.x - 8 && q.x <= c.x + 8 && q.y >= c.y - 8 && q.y <= c.y + 8;
    };
    const x_Vector* found = nullptr;
    if (params.threadPoint[0].valid && inside(params.threadPoint[0])) {
        found = &params.threadPoint[0];
    } else {
        for (const x_Vector& g : gripPoints) {
            if (inside(g)) {
                found = &g;
                break;
            }
        }
    }
    if (found == nullptr)
        return false;
    edit->gripHit = *found;
    snapKind = 1;
    return true;
}

// Before, only the elements moved: the threading points, the boxes and the
// drawn box stayed behind, so an export carried the old threading point.
void CTrail::Move(x_Vector d)
{
    for (int s = 0; s < 2; ++s) {
        for (x_TrailData& e : trails[s])
            if (Drawable(e))
                MoveElement(e, d.x, d.y);
    }
    for (x_Vector* pair : {params.threadPoint, params.boxMin, params.boxMax}) {
        MovePoint(pair[0], d.x, d.y);
        MovePoint(pair[1], d.x, d.y);
    }
    MovePoint(params.drawMin, d.x, d.y);
    MovePoint(params.drawMax, d.x, d.y);
    MovePoint(extentMin, d.x, d.y);
    MovePoint(extentMax, d.x, d.y);
    gripsValid = 0;
}

bool CTrail::Copy(int mode, CUnit*& out)
{
    if (mode == 0)
        ++g_UnitIdCounter;
    auto* copy = new CTrail();
    if (mode != 0)
        copy->unitId = unitId;
    CopyCommonAttributes(copy);
    copy->params = params;
    copy->trails[0].Copy(trails[0]);
    copy->trails[1].Copy(trails[1]);
    copy->complete = 1;
    out = copy;
    return true;
}

void CTrail::ComputeExtents()
{
    // The drawn box is the extents; a path not yet drawn uses its lists.
    if (gripsValid && params.drawMin.valid)
        return;
    bool any = false;
    x_Vector lo, hi;
    for (int s = 0; s < 2; ++s) {
        for (const x_TrailData& e : trails[s]) {
            if (!Drawable(e))
                continue;
            for (const x_Vector& p : {e.StartPoint(), e.EndPoint()}) {
                lo = any ? x_Vector::MinCorner(lo, p) : p;
                hi = any ? x_Vector::MaxCorner(hi, p) : p;
                any = true;
            }
        }
    }
    if (any) {
        extentMin = lo;
        extentMax = hi;
    }
}

void CTrail::TakeBuilt(TrailPath& built)
{
    trails[0] = std::move(built.lists[0]);
    trails[1] = std::move(built.lists[1]);
    // The second contour of a two-profile path is kept for the check at its
    // last step.
    baseTrails[0] = std::move(built.unshifted[0]);
    baseTrails[1] = std::move(built.unshifted[1]);
    checkIntents[0] = built.intent[0];
    checkIntents[1] = built.intent[1];
    offsetOutside[0] = built.outward[0];
    offsetOutside[1] = built.outward[1];
    params = built.params;
    if (built.extentMin.valid) {
        extentMin = built.extentMin;
        extentMax = built.extentMax;
    }
    gripsValid = 0;
}

void CTrail::GiveToEngine(TrailPath& work) const
{
    work.lists[0].Copy(trails[0]);
    work.lists[1].Copy(trails[1]);
    work.unshifted[0].Copy(baseTrails[0]);
    work.unshifted[1].Copy(baseTrails[1]);
    work.intent[0] = checkIntents[0];
    work.intent[1] = checkIntents[1];
    work.outward[0] = offsetOutside[0];
    work.outward[1] = offsetOutside[1];
    work.params = params;
    work.unitId = unitId;
}
