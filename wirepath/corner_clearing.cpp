#include "wirepath/corner_clearing.h"

#include <cmath>

#include "geometry/intersect.h"
#include "wirepath/PathSettings.h"
#include "wirepath/trail_lists.h"
#include "wirepath/trail_metrics.h"
#include "wirepath/trail_offset.h"

namespace {

constexpr double kProbeOffset = 0.05;
constexpr double kMinTurnLimit = 0.1;
constexpr double kArm = 10.0;               // length of the test vectors at the joint
constexpr double kShift = 0.1;              // the contour shifted left for the outer test
constexpr std::uint8_t kRoleLead = 1;
constexpr std::uint8_t kRoleMove = 4;       // link, support and over-cut moves

double Bring(double a)
{
    if (a > kTwoPi + 1e-10)
        a -= kTwoPi;
    if (a < 0.0)
        a += kTwoPi;
    return a;
}

double BackAngle(const x_TrailData& e)
{
    if (e.IsLine())
        return x_Vector::AngleTo(e.end, e.start);
    return Bring(e.direction != 0 ? e.endAngle + kPi / 2 : e.endAngle - kPi / 2);
}

x_Vector Unit(double a)
{
    return {std::cos(a), std::sin(a)};
}

double Reduced(double a)
{
    return a > kTwoPi ? a - kTwoPi : a;
}

x_TrailData Excursion(const x_TrailData& like, const x_Vector& a, const x_Vector& b)
{
    x_TrailData e = like;
    e.role = 7;
    e.kind = 1;
    e.attribute = 0;
    e.start = a;
    e.end = b;
    return e;
}

// Appends the excursion of the corner between p and c; the number of
// lines appended.
int ClearCorner(const PathSettings& s, const x_TrailData& p, const x_TrailData& c, int compSide, double turnLimit,
                x_TrailDataArray& out)
{
    if (p.role != 0 || c.role != 0 || p.tag == 1 || c.tag == 1 || p.kind > 3 || c.kind > 3)
        return 0;
    const double d0 = ElementTravelAngle(p, true), b0 = BackAngle(p), f1 = ElementTravelAngle(c, false), d1 = f1;
    const x_Vector j = p.EndPoint();
    double turn = std::fabs(d0 - d1);
    if (turn > kPi)
        turn = kTwoPi - turn;
    if (turn < turnLimit)
        return 0;
    const x_Vector v0 = Unit(b0) * kArm, v1 = Unit(f1) * kArm;
    const bool left = v0.x * v1.y - v0.y * v1.x < 0.0;
    const x_Vector l0 = Unit(Reduced(d0 + kPi / 2)) * kShift, l1 = Unit(Reduced(d1 + kPi / 2)) * kShift;
    x_LineData a, b;
    a.p1 = v0 + l0;
    a.p2 = l0;
    b.p1 = v1 + l1;
    b.p2 = l1;
    const x_VectorList hits = IntersectLineLine(a, b, 0);
    if (hits.count == 0)
        return 0;
    bool outer = x_Vector::Distance(v0 + l0, hits.points[0]) >= kArm;
    if (compSide == 2)
        outer = !outer;
    double g;
    double f1a = f1;
    if (!left) {
        g = f1 - b0 + (b0 > f1 - 1e-10 ? kTwoPi : 0.0);
        if (f1 - 1e-10 < b0)
            f1a = f1 + kTwoPi;
    } else {
        g = b0 - f1 + (b0 < f1 + 1e-10 ? kTwoPi : 0.0);
        if (f1 + 1e-10 > b0)
            f1a = f1 - kTwoPi;
    }
    if (std::fabs(g) < 1e-10)
        g = 0.0;
    const double limit = s.clearCornerAngle * kPi / 180.0;
    const double L = s.clearCornerLeadLength;
    const int mode = s.clearCornerLeadDir;
    if (outer && (mode == 1 || mode == 2) && g <= limit) {
        const x_Vector t = j + Unit((f1a + b0) / 2 + kPi) * L;
        out.Add(Excursion(c, j, t));
        out.Add(Excursion(c, t, j));
        return 2;
    }
    if (!outer && (mode == 0 || mode == 2) && g <= limit) {
        const x_Vector t1 = j + Unit(b0 + kPi) * L, t2 = j + Unit(f1a + kPi) * L;
        out.Add(Excursion(c, j, t1));
        out.Add(Excursion(c, t1, t2));
        out.Add(Excursion(c, t2, j));
        return 3;
    }
    return 0;
}

// The contour alone: no lead lines or link moves, and a closed one only up
// to where it closes (an over-cut runs on past that point and back).
// Offset with its lead lines, a path always gained connecting lines, so
// the trial offset below failed and no corner was ever cleared.
x_TrailDataArray ContourOf(const x_TrailDataArray& list, bool closed)
{
    x_TrailDataArray contour;
    for (const x_TrailData& e : list) {
        if (e.role == kRoleLead || e.role == kRoleMove)
            continue;
        contour.Add(e);
        const x_Vector end = ElementEndPoint(e);
        // A zero-length partner of the other surface closes nothing.
        if (closed && !(end == ElementStartPoint(e)) && end.IsEqual(ElementStartPoint(contour[0])))
            break;
    }
    return contour;
}

// The contour's 0.05 trial offset must work and keep the element count.
bool ProbeOffsets(const x_TrailDataArray lists[2], int m, std::uint8_t closed, std::uint8_t offsetSide)
{
    for (int k = 0; k < m; ++k) {
        const x_TrailDataArray contour = ContourOf(lists[k], closed != 0);
        if (contour.IsEmpty())
            return false;
        x_TrailDataArray probe;
        if (OffsetTrail(kOffsetTaper, 0, contour, probe, closed, offsetSide, kProbeOffset) != kOffsetOk)
            return false;
        if (probe.GetSize() != contour.GetSize())
            return false;
    }
    return true;
}

void PadWithZeroLines(x_TrailDataArray& list, int count)
{
    for (int i = 0; i < count && !list.IsEmpty(); ++i) {
        const x_TrailData last = list[list.GetSize() - 1];
        const x_Vector end = last.EndPoint();
        list.Add(Excursion(last, end, end));
    }
}

} // namespace

bool ClearCorners(const PathSettings& s, const x_TrailDataArray lists[2], int m, x_TrailDataArray out[2],
                  std::uint8_t closed, std::uint8_t offsetSide, int compSide)
{
    const double a = s.clearCornerAngle * kPi / 180.0;
    const double turnLimit = std::max(kPi - a, kMinTurnLimit);
    const bool closedList = IsClosedTrail(lists[0]);
    out[0].RemoveAll();
    out[1].RemoveAll();
    m = m >= 2 ? 2 : 1;
    if (m == 2 && lists[0].GetSize() != lists[1].GetSize())
        return false;
    if (!ProbeOffsets(lists, m, closed, offsetSide))
        return false;
    const int n = lists[0].GetSize();
    const int corners = closedList ? n + 1 : n;
    for (int j = 1; j < corners; ++j) {
        const int p = (j - 1) % n, c = j % n;
        int inserted[2] = {0, 0};
        for (int k = 0; k < m; ++k) {
            out[k].Add(lists[k][j - 1]);
            inserted[k] = ClearCorner(s, lists[k][p], lists[k][c], compSide, turnLimit, out[k]);
        }
        if (m == 2 && inserted[0] != inserted[1])
            PadWithZeroLines(out[inserted[0] < inserted[1] ? 0 : 1], std::abs(inserted[0] - inserted[1]));
    }
    if (!closedList)
        for (int k = 0; k < m; ++k)
            out[k].Add(lists[k][n - 1]);
    return true;
}
