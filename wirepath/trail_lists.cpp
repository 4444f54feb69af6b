#include "wirepath/trail_lists.h"

#include <cmath>

#include "geometry/CUnit.h"
#include "geometry/curve_helpers.h"
#include "geometry/path_services.h"
#include "wirepath/TrailPath.h"
#include "wirepath/trail_metrics.h"
#include "wirepath/trail_offset.h"

namespace {

enum TypeId { kLine = 1, kEllipseArc = 6, kArc = 8, kSpline = 11 };

// Splits element i at distance r from its start; the second part follows it
// with group -10. L is the length the line parts are measured against.
void SplitElementAt(x_TrailDataArray& list, int i, double r, double L, std::uint8_t firstAttr,
                    bool secondKeepsAttr)
{
    x_TrailData& first = list[i];
    x_TrailData second = first;
    if (first.IsLine()) {
        const x_Vector p = first.start + x_Vector::FromPolar(r, x_Vector::AngleTo(first.start, first.end));
        first.end = p;
        first.length = r;
        first.kind = 1;
        second.start = p;
        second.length = L - r;
        second.kind = 1;
    } else {
        double m;
        if (first.direction == 0) {
            m = first.startAngle + r / first.radius;
            if (m > kTwoPi)
                m -= kTwoPi;
        } else {
            m = first.startAngle - r / first.radius;
            if (m < 0.0)
                m += kTwoPi;
        }
        first.endAngle = m;
        second.startAngle = m;
    }
    second.group = -10;
    first.attribute = firstAttr;
    if (!secondKeepsAttr)
        second.attribute = 0;
    list.InsertAt(i + 1, second);
}

} // namespace

int SplitTrailFromEnd(x_TrailDataArray& list, double d)
{
    if (list.IsEmpty())
        return -1;
    double sum = 0.0;
    int i = list.GetSize() - 1;
    for (; i >= 0; --i) {
        sum += list[i].length;
        if (d <= sum)
            break;
    }
    if (i < 0) {
        RenumberTrailGroups(list);
        return -1;
    }
    if (list[i].kind <= 3) {
        const double r = sum - d;
        if (r == 0.0)
            list[i].attribute = 1;
        else
            SplitElementAt(list, i, r, list[i].length, 1, true);
    }
    RenumberTrailGroups(list);
    return i;
}

int SplitTrailSegment(x_TrailDataArray& list, int flag, int i, std::uint8_t mark, double f)
{
    if (i >= list.GetSize())
        return -1;
    const double L = TrailElementLength(list[i]);
    const double r = L * f;
    if (list[i].kind > 3 || r <= 0.0) {
        RenumberTrailGroups(list);
        return i;
    }
    SplitElementAt(list, i, r, L, mark, false);
    RenumberTrailGroups(list);
    return flag == 0 ? i + 1 : i;
}

int LocateTrailDistance(x_TrailDataArray& list, int fromEnd, std::uint8_t mark, double d, SplitPlace& place)
{
    if (list.IsEmpty())
        return -1;
    place = SplitPlace();
    if (fromEnd != 0 && fromEnd != 1)
        return -1;
    const int n = list.GetSize();
    int found = -1;
    double r = 0.0, sum = 0.0;
    if (fromEnd == 0) {
        for (int i = 0; i + 1 < n && found < 0; ++i) {
            if (list[i].role != 0)
                continue;
            const double before = sum;
            sum += TrailElementLength(list[i]);
            if (d <= sum) {
                found = i;
                r = d - before;
            }
        }
    } else {
        for (int i = n - 1; i >= 0 && found < 0; --i) {
            if (list[i].role != 0)
                continue;
            sum += TrailElementLength(list[i]);
            if (d <= sum) {
                found = i;
                r = sum - d;
            }
        }
    }
    if (found < 0)
        return -1;
    const double L = TrailElementLength(list[found]);
    place.index = found;
    place.fraction = L > 0.0 ? r / L : 0.0;
    if (list[found].kind > 3 || r <= 0.0) {
        RenumberTrailGroups(list);
        return found;
    }
    SplitElementAt(list, found, r, list[found].length, mark, false);
    RenumberTrailGroups(list);
    return fromEnd == 0 ? found + 1 : found;
}

namespace {

x_TrailData LeadElement(const x_Vector& start, const x_Vector& end)
{
    x_TrailData e;
    e.role = 1;
    e.subKind = 1;
    e.kind = 1;
    e.start = start;
    e.end = end;
    return e;
}

} // namespace

// Kind 0 is a line like kind 1; it used to be taken for an arc here.
void AddLeadInOut(x_TrailDataArray& list, const LeadLines& lead, std::uint8_t endAtCutOff)
{
    if (list.IsEmpty())
        return;
    const x_Vector s = ElementStartPoint(list[0]);
    list.InsertAt(0, LeadElement(lead.in.p1, s));
    const x_Vector z = ElementEndPoint(list[list.GetSize() - 1]);
    list.Add(LeadElement(z, endAtCutOff != 0 ? z : lead.out.p2));
}

void AddLeadInOut(TrailPath& path, int k, const LeadLines& lead, std::uint8_t endAtCutOff)
{
    AddLeadInOut(path.lists[k != 0 ? 1 : 0], lead, endAtCutOff);
}

bool CopySegmentAttribute(const x_TrailDataArray& src, x_TrailDataArray& dst)
{
    if (src.GetSize() != dst.GetSize())
        return false;
    for (int j = 0; j < src.GetSize(); ++j)
        dst[j].attribute = src[j].attribute;
    return true;
}

namespace {

x_Vector PointOrOrigin(const x_Vector& p)
{
    return p.valid ? p : x_Vector(0.0, 0.0);
}

} // namespace

bool IsClosedTrail(const x_TrailDataArray& list)
{
    if (list.GetSize() < 2)
        return false;
    const x_Vector first = PointOrOrigin(ElementStartPoint(list[0]));
    const x_Vector last = PointOrOrigin(ElementEndPoint(list[list.GetSize() - 1]));
    return first.IsEqual(last);
}

bool TrailSegmentPoint(x_TrailDataArray& list, std::uint8_t subKind, std::uint8_t role, x_TrailData a,
                       x_TrailData b, bool useEnd)
{
    const x_Vector p1 = PointOrOrigin(ElementEndPoint(a));
    const x_Vector p2 = PointOrOrigin(useEnd ? ElementEndPoint(b) : ElementStartPoint(b));
    if (p1.IsEqual(p2))
        return false;
    x_TrailData link = b;
    link.role = role;
    link.subKind = subKind;
    link.kind = 1;
    link.tag = 1;
    link.attribute = 0;
    link.group = 0;
    link.joinMark = 0;
    link.taperAngle = 0.0;
    link.start = p1;
    link.end = p2;
    link.centre = x_Vector(0.0, 0.0);
    list.Add(link);
    return true;
}

void ReverseTrailSegment(x_TrailData& e)
{
    e.Reverse();
}

void AppendReversed(x_TrailDataArray& to, const x_TrailDataArray& from, int first, int count)
{
    for (int i = first + count - 1; i >= first; --i) {
        x_TrailData e = from[i];
        ReverseTrailSegment(e);
        to.Add(e);
    }
}

double JointDistance(x_Vector p, CUnit* a, CUnit* b)
{
    const int ta = a->GetType(), tb = b->GetType();
    if (ta == kLine || ta == kSpline)
        return x_Vector::Distance(p, a->GetEndPoint());
    if (tb == kLine || tb == kSpline)
        return x_Vector::Distance(p, b->GetStartPoint());
    const x_Vector qa = (ta == kEllipseArc || ta == kArc) ? a->GetEndPoint() : x_Vector(0.0, 0.0);
    const x_Vector qb = (tb == kEllipseArc || tb == kArc) ? b->GetStartPoint() : x_Vector(0.0, 0.0);
    return x_Vector::Distance(p, qb) + x_Vector::Distance(p, qa);
}
