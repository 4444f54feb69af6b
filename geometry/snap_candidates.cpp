#include "geometry/snap_candidates.h"

#include <cmath>

std::vector<x_Vector> CircleTangentPoints(const x_Vector& centre, double radius, const x_Vector& from)
{
    // The radius to a tangent point is square to the line from `from`:
    // cos α = radius / d, α measured at the centre from the direction to `from`.
    std::vector<x_Vector> points;
    const x_Vector v = from - centre;
    const double d = v.Length();
    const double k = d < 1e-10 ? 0.0 : radius / d;
    // From inside the circle (k > 1) there is no tangent; acos gave NaN.
    if (k > 1.0)
        return points;
    const double alpha = std::acos(k);
    for (double sign : {1.0, -1.0}) {
        x_Vector t = centre + v * k;
        t.RotateAbout(centre, sign * alpha);
        if (std::fabs(x_Vector::Distance(t, centre) - radius) < 0.0001)
            points.push_back(t);
    }
    return points;
}

bool TakeNearestCandidate(CUnit& unit, const std::vector<x_PolerData>& candidates, const x_Vector& cursor)
{
    if (candidates.empty())
        return false;
    const x_PolerData* best = &candidates[0];
    for (const x_PolerData& k : candidates)
        if (x_Vector::Distance(k.point, cursor) < x_Vector::Distance(best->point, cursor))
            best = &k;
    unit.edit->gripHit = best->point;
    unit.snapKind = best->kind;
    return true;
}
