// The working copies of a chain as path elements.

#include <cmath>

#include "geometry/CUnit.h"
#include "geometry/curve_helpers.h"
#include "wirepath/PathSettings.h"
#include "wirepath/WirepathState.h"
#include "wirepath/contour_build.h"
#include "wirepath/point_fitting.h"
#include "wirepath/trail_metrics.h"
#include "wirepath/trail_offset.h"

namespace {

enum TypeId { kLine = 1, kEllipseArc = 6, kArc = 8, kSpline = 11 };
constexpr double kEllipseFit = 0.001;
constexpr double kSplineFit = 0.0001;
constexpr double kMinPiece = 0.001;
constexpr double kMinFittedRadius = 0.0001;
constexpr double kWearStep = 0.001;         // one wire-wear correction
constexpr double kSmoothTurn = 0.5;         // radians; sharper joints are corners

x_TrailData NewElement(const CUnit& copy, std::int32_t group)
{
    x_TrailData e;
    e.role = 0;
    e.subKind = 1;
    e.taperAngle = copy.taperAngle;
    e.group = group;
    return e;
}

x_TrailData LineElement(const CUnit& copy, std::int32_t group, const x_Vector& a, const x_Vector& b)
{
    x_TrailData e = NewElement(copy, group);
    e.kind = 1;
    e.start = a;
    e.end = b;
    return e;
}

x_TrailData ArcElement(const CUnit& copy, std::int32_t group, const x_Vector& centre, double r, double s,
                       double end, std::uint8_t direction)
{
    x_TrailData e = NewElement(copy, group);
    e.kind = direction != 0 ? 2 : 3;
    e.centre = centre;
    e.radius = r;
    e.startAngle = s;
    e.endAngle = end;
    e.direction = direction;
    return e;
}

// Arcs past half a turn are cut in two, except in two-profile mode.
void AddArc(const CUnit& copy, std::int32_t& group, bool split, x_TrailDataArray& out)
{
    const ArcRecord& a = copy.geometry.arc;
    const double sweep = SweepAngleAbs(a.direction, a.startAngle, a.endAngle);
    if (!split || sweep <= kPi) {
        out.Add(ArcElement(copy, group++, a.centre, a.radius, a.startAngle, a.endAngle, a.direction));
        return;
    }
    double mid = a.direction != 0 ? a.startAngle - sweep / 2 : a.startAngle + sweep / 2;
    mid = std::fmod(mid + 2 * kTwoPi, kTwoPi);
    out.Add(ArcElement(copy, group++, a.centre, a.radius, a.startAngle, mid, a.direction));
    out.Add(ArcElement(copy, group++, a.centre, a.radius, mid, a.endAngle, a.direction));
}

// The fitted pieces of one curve, one group; the two first and the two
// last pieces keep tag 0, the others get tag 1.
void AddFitted(const CUnit& copy, std::int32_t group, const CArray<x_Vector>& pts, double tolerance,
               x_TrailDataArray& out)
{
    CArray<x_LineToArcData> pieces;
    FitLinesAndArcs(pts.GetData(), pts.GetSize(), pieces, tolerance);
    const int n = pieces.GetSize();
    for (int i = 0; i < n; ++i) {
        const x_LineToArcData& p = pieces[i];
        x_TrailData e;
        if (p.kind == 1) {
            if (p.start.IsEqual(p.end))
                continue;
            e = LineElement(copy, group, p.start, p.end);
        } else {
            if (!(p.radius > kMinFittedRadius))
                continue;
            e = ArcElement(copy, group, p.centre, p.radius, p.startAngle, p.endAngle, p.direction);
        }
        e.tag = (i >= 2 && i < n - 2) ? 1 : 0;
        out.Add(e);
    }
}

void AddEllipseArc(const CUnit& copy, std::int32_t group, x_TrailDataArray& out)
{
    const EllipseRecord& r = copy.geometry.ellipse;
    const double a = r.majorAxis.Length();
    CArray<x_Vector> pts;
    FlattenEllipseArc(r.centre, r.direction, pts, a, a * r.axisRatio, r.majorAxis.Angle(), r.startParam,
                      r.endParam, 0.0);
    AddFitted(copy, group, pts, kEllipseFit, out);
}

void AddSpline(const CUnit& copy, std::int32_t group, bool fitArcs, x_TrailDataArray& out)
{
    const CArray<x_Vector>& pts = copy.flatPoints;
    if (fitArcs) {
        AddFitted(copy, group, pts, kSplineFit, out);
        if (copy.geometry.spline.closed != 0)
            for (int i = 0; i < out.GetSize(); ++i)
                if (out[i].group == group)
                    out[i].tag = 1;
        return;
    }
    const int n = pts.GetSize();
    if (n == 1) {
        out.Add(LineElement(copy, group, pts[0], pts[0]));
        return;
    }
    const bool closed = copy.geometry.spline.closed != 0;
    x_Vector taken = n > 0 ? pts[0] : x_Vector();
    for (int i = 1; i < n; ++i) {
        if (pts[i].IsEqual(taken))
            continue;
        x_TrailData e = LineElement(copy, group, taken, pts[i]);
        e.tag = closed || (i >= 2 && i < n - 2) ? 1 : 0;
        out.Add(e);
        taken = pts[i];
    }
}

// A wear step: where the contour goes on smoothly, the ends of a piece and
// of the next one stand apart by a correction (at the closing joint, by all
// of them).
bool IsWearStep(const x_TrailData& a, const x_TrailData& b)
{
    const double gap = x_Vector::Distance(ElementEndPoint(a), ElementStartPoint(b));
    const double turn = std::remainder(ElementTravelAngle(b, false) - ElementTravelAngle(a, true), kTwoPi);
    return gap > kWearStep / 2 && std::fabs(turn) < kSmoothTurn;
}

x_TrailData StepLine(const x_TrailData& from, const x_TrailData& to)
{
    x_TrailData e = to;
    e.kind = 1;
    e.tag = 0;
    e.attribute = 0;
    e.group = -1;                           // a run of its own
    e.start = ElementEndPoint(from);
    e.end = ElementStartPoint(to);
    return e;
}

} // namespace

void AddWearSteps(x_TrailDataArray& list, bool closed)
{
    const int n = list.GetSize();
    if (n < 2)
        return;
    x_TrailDataArray out;
    out.SetSize(0, n + 8);
    bool added = false;
    if (closed && IsWearStep(list[n - 1], list[0])) {
        out.Add(StepLine(list[n - 1], list[0]));
        added = true;
    }
    for (int i = 0; i < n; ++i) {
        if (i > 0 && IsWearStep(list[i - 1], list[i])) {
            out.Add(StepLine(list[i - 1], list[i]));
            added = true;
        }
        out.Add(list[i]);
    }
    if (!added)
        return;
    RenumberTrailGroups(out);
    list = out;
}

bool ConvertCopies(const CUnitArray& copies, const PathSettings& s, x_TrailDataArray& out)
{
    std::int32_t group = 0;
    for (int k = 0; k < copies.GetSize(); ++k) {
        if (PathRunCancelled())
            return false;
        CUnit* copy = copies[k];
        if (copy == nullptr)
            continue;
        switch (copy->GetType()) {
        case kLine: {
            const x_Vector a = copy->GetStartPoint(), b = copy->GetEndPoint();
            if (!a.IsEqual(b))
                out.Add(LineElement(*copy, group++, a, b));
            break;
        }
        case kArc:
            AddArc(*copy, group, s.cutMode != 2, out);
            break;
        case kEllipseArc:
            AddEllipseArc(*copy, group++, out);
            break;
        case kSpline:
            AddSpline(*copy, group++, s.splineArcFit, out);
            break;
        default:
            break;
        }
    }
    return true;
}
