// The upper contour of the cut modes, the pairing of the two lists and the
// lead lines of shifted contours.

#include <cmath>

#include "geometry/CUnit.h"
#include "wirepath/PathSettings.h"
#include "wirepath/TrailPath.h"
#include "wirepath/contour_build.h"
#include "wirepath/trail_metrics.h"
#include "wirepath/trail_offset.h"

namespace {

constexpr double kRightAngle = 90.0;        // tan() of it and beyond is no taper

double TaperShift(double degrees, double thickness)
{
    return std::tan(degrees * kPi / 180.0) * thickness;
}

double InclineShift(const PathSettings& s, double value)
{
    if (value == 0.0)
        return 0.0;
    return s.inclineAsDistance ? value : TaperShift(value, s.thickness);
}

x_TrailData Partner(const x_TrailData& like, const x_Vector& at)
{
    x_TrailData e = like;
    e.role = 0;
    e.kind = 1;
    e.tag = 100;
    e.start = e.end = at;
    return e;
}

void MoveElement(x_TrailData& e, const x_Vector& by)
{
    if (e.IsLine()) {
        e.start = e.start + by;
        e.end = e.end + by;
    } else if (e.IsArc()) {
        e.centre = e.centre + by;
    }
}

LeadLines Shifted(const LeadLines& lead, const x_Vector& by)
{
    LeadLines s = lead;
    for (x_LineData* l : {&s.in, &s.out}) {
        l->p1 = l->p1 + by;
        l->p2 = l->p2 + by;
    }
    return s;
}

} // namespace

// The inverted taper flips the sign of the taper term; the lists stay
// where they are. It used to also exchange the lower and upper lists,
// which inverted the taper a second time.
double TaperOffset(const PathSettings& s, double base, double extra, std::uint8_t outward)
{
    const double t = TaperShift(s.taperAngle, s.thickness);
    const bool plus = (!s.invertedTaper && outward == 0) || (s.invertedTaper && outward == 1);
    return plus ? base + extra + t : base + extra - t;
}

int OffsetTrailTaper(const PathSettings& s, const x_TrailDataArray& in, x_TrailDataArray& out, int side,
                     std::uint8_t closed, double base, double extra, std::uint8_t outward)
{
    if (s.cutMode != 1)
        return kOffsetOk;
    return OffsetTrail(kOffsetTaper, 0, in, out, closed, side, TaperOffset(s, base, extra, outward));
}

int OffsetTrailVarTaper(const PathSettings& s, const x_TrailDataArray& in, x_TrailDataArray& out, int side,
                        std::uint8_t closed, double base, double extra, int negate)
{
    if (s.cutMode != 3)
        return kOffsetOk;
    return OffsetTrail(kOffsetVarTaper, negate, in, out, closed, side, base + extra, s.thickness);
}

bool ApplyInclineShift(const PathSettings& s, x_TrailDataArray& list, double& sx, double& sy)
{
    sx = InclineShift(s, s.inclineX);
    sy = InclineShift(s, s.inclineY);
    const x_Vector by(sx, sy);
    for (x_TrailData& e : list)
        MoveElement(e, by);
    return true;
}

int OffsetTrailForCutMode(const PathSettings& s, bool taperFlag, const x_TrailDataArray& in,
                          x_TrailDataArray& out, std::uint8_t outward, int side, std::uint8_t closed,
                          double base, double extra, int negate)
{
    const double sum = base + extra;
    auto copy = [&] {
        if (&in != &out)
            out.Copy(in);
        CloseSmallJoints(out, closed != 0);
        return kOffsetOk;
    };
    if (taperFlag && s.cutMode != 4) {
        // The taper term applies whatever the compensation (a pass at
        // distance 0 used to be copied, cut straight).
        if (s.cutMode == 1)
            return TaperOffset(s, base, extra, outward) == 0.0
                       ? copy() : OffsetTrailTaper(s, in, out, side, closed, base, extra, outward);
        if (s.cutMode == 3)
            return OffsetTrailVarTaper(s, in, out, side, closed, base, extra, negate);
    }
    return sum == 0.0 ? copy() : OffsetTrail(kOffsetTaper, 0, in, out, closed, side, sum);
}

int CheckedOffsetForCutMode(const PathSettings& s, bool taperFlag, const x_TrailDataArray& in,
                            x_TrailDataArray& out, std::uint8_t outward, int side, std::uint8_t closed,
                            double base, double extra, int negate)
{
    const int r = OffsetTrailForCutMode(s, taperFlag, in, out, outward, side, closed, base, extra, negate);
    if (r == kOffsetOk && !UncrossedOrLoopsCut(out, closed != 0))
        return kOffsetSelfCrossing;
    return r;
}

void MergeTrailPair(x_TrailDataArray& a, x_TrailDataArray& b)
{
    // Built as new lists: inserting in place moved the whole tail per partner.
    x_TrailDataArray na, nb;
    int i = 0, j = 0;
    while (i < a.GetSize() || j < b.GetSize()) {
        const bool aTagged = i < a.GetSize() && a[i].tag == 100;
        const bool bTagged = j < b.GetSize() && b[j].tag == 100;
        if (aTagged && !bTagged && !b.IsEmpty()) {
            na.Add(a[i++]);
            nb.Add(j < b.GetSize() ? Partner(b[j], b[j].StartPoint()) : Partner(b[b.GetSize() - 1], b[b.GetSize() - 1].EndPoint()));
        } else if (bTagged && !aTagged && !a.IsEmpty()) {
            nb.Add(b[j++]);
            na.Add(i < a.GetSize() ? Partner(a[i], a[i].StartPoint()) : Partner(a[a.GetSize() - 1], a[a.GetSize() - 1].EndPoint()));
        } else {
            if (i < a.GetSize())
                na.Add(a[i++]);
            if (j < b.GetSize())
                nb.Add(b[j++]);
        }
    }
    a.Copy(na);
    b.Copy(nb);
}

bool AddLeadLines(TrailPath& path, const LeadLines& lead, bool shiftLower, bool pause, double sx, double sy,
                  bool endAtCutOff)
{
    const x_Vector by(sx, sy);
    const int shiftedList = shiftLower ? 0 : 1;
    LeadLines first[2] = {lead, lead};
    first[shiftedList] = Shifted(lead, by);
    // Then the move from the threading point to the shifted one and back:
    // lines of length zero on the list that is not shifted.
    const LeadLines second = lead;
    for (int k = 0; k < 2; ++k)
        AddLeadInOut(path.lists[k], first[k], endAtCutOff ? 1 : 0);
    if (sx == 0.0 && sy == 0.0)
        return true;
    for (int k = 0; k < 2; ++k) {
        x_TrailDataArray& list = path.lists[k];
        if (pause && !list.IsEmpty())
            list[list.GetSize() - 1].attribute = 1;
        AddLeadInOut(list, second, 0);
    }
    return true;
}

bool AnglesRefused(const PathSettings& s, const CUnitArray& copies)
{
    if (s.cutMode == 1 && !(std::fabs(s.taperAngle) < kRightAngle))
        return true;
    if (s.cutMode == 3)
        for (int k = 0; k < copies.GetSize(); ++k)
            if (copies[k] != nullptr && !(std::fabs(copies[k]->taperAngle) < kRightAngle))
                return true;
    if (s.InclineShiftsUpper() && !s.inclineAsDistance
        && !(std::fabs(s.inclineX) < kRightAngle && std::fabs(s.inclineY) < kRightAngle))
        return true;
    return false;
}
