// The check that an offset contour does not cross itself: elements that do
// not follow each other must keep apart. Element boxes go into a uniform
// grid, so the check is linear for contours of similar element sizes.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "geometry/curve_helpers.h"
#include "geometry/intersect.h"
#include "wirepath/trail_metrics.h"
#include "wirepath/offset_work.h"
#include "wirepath/path_check.h"
#include "wirepath/trail_offset.h"

namespace {

constexpr double kTouch = 1e-7;             // mm: closer than this counts as touching
constexpr double kAngleSlack = 1e-9;        // rad, a point at an arc's end is on it
constexpr size_t kMostCrossings = 2048;     // crossing pairs weighed for loops to cut

struct Item {
    int element;                            // index into the list
    int order;                              // position among non-degenerate elements
    double x0, y0, x1, y1;
};

bool ZeroLength(const x_TrailData& e)
{
    return e.IsLine() ? x_Vector::Distance(e.start, e.end) < kTouch : !(e.radius >= 1e-10);
}

Item BoxOf(const x_TrailData& e, int element, int order)
{
    x_Vector lo, hi;
    if (e.IsLine()) {
        lo = x_Vector::MinCorner(e.start, e.end);
        hi = x_Vector::MaxCorner(e.start, e.end);
    } else {
        ArcBounds(ArcOf(e), e.StartPoint(), e.EndPoint(), lo, hi);
    }
    return {element, order, lo.x - kTouch, lo.y - kTouch, hi.x + kTouch, hi.y + kTouch};
}

bool OnArcSpan(const x_TrailData& arc, const x_Vector& p)
{
    const double a = (p - arc.centre).Angle();
    const double sweep = SweepAngleAbs(arc.direction, arc.startAngle, arc.endAngle);
    const double from = SweepAngleAbs(arc.direction, arc.startAngle, a);
    return from <= sweep + kAngleSlack || from >= kTwoPi - kAngleSlack;
}

double DistanceToSegment(const x_Vector& p, const x_Vector& a, const x_Vector& b)
{
    const x_Vector ab = b - a, ap = p - a;
    const double len2 = ab.x * ab.x + ab.y * ab.y;
    double t = len2 > 0.0 ? (ap.x * ab.x + ap.y * ab.y) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return x_Vector::Distance(p, a + ab * t);
}

double DistanceToElement(const x_Vector& p, const x_TrailData& e)
{
    if (e.IsLine())
        return DistanceToSegment(p, e.start, e.end);
    if (OnArcSpan(e, p))
        return std::fabs(x_Vector::Distance(p, e.centre) - e.radius);
    return std::min(x_Vector::Distance(p, e.StartPoint()), x_Vector::Distance(p, e.EndPoint()));
}

bool LinesCross(const x_TrailData& a, const x_TrailData& b)
{
    const x_Vector r = a.end - a.start, s = b.end - b.start, q = b.start - a.start;
    const double den = r.x * s.y - r.y * s.x;
    if (den == 0.0)
        return false;                       // parallel: the end tests below decide
    const double t = (q.x * s.y - q.y * s.x) / den;
    const double u = (q.x * r.y - q.y * r.x) / den;
    return t >= 0.0 && t <= 1.0 && u >= 0.0 && u <= 1.0;
}

// Where the circle of an arc meets the carrier of the other element (at
// least one of the two an arc).
x_VectorList CurvedMeetings(const x_TrailData& a, const x_TrailData& b)
{
    if (a.IsArc() && b.IsArc())
        return IntersectArcArc(ArcOf(a), ArcOf(b));
    const x_TrailData& line = a.IsLine() ? a : b;
    x_LineData l;
    l.p1 = line.start;
    l.p2 = line.end;
    return IntersectLineArc(ArcOf(a.IsLine() ? b : a), l);
}

bool CarriersMeetOnBoth(const x_TrailData& a, const x_TrailData& b)
{
    if (a.IsLine() && b.IsLine())
        return LinesCross(a, b);
    const x_VectorList hits = CurvedMeetings(a, b);
    for (const x_Vector& p : hits.points)
        if (DistanceToElement(p, a) < kTouch && DistanceToElement(p, b) < kTouch)
            return true;
    return false;
}

bool ElementsTouch(const x_TrailData& a, const x_TrailData& b)
{
    if (CarriersMeetOnBoth(a, b))
        return true;
    // Touching without crossing, and overlapping parallel lines.
    for (const x_Vector& p : {a.StartPoint(), a.EndPoint()})
        if (DistanceToElement(p, b) < kTouch)
            return true;
    for (const x_Vector& p : {b.StartPoint(), b.EndPoint()})
        if (DistanceToElement(p, a) < kTouch)
            return true;
    return false;
}

bool Follow(int orderA, int orderB, int count, bool closed)
{
    const int d = std::abs(orderA - orderB);
    return d <= 1 || (closed && d == count - 1);
}

// Calls visit(a, b) (list indices, a before b in the list) for pairs of
// elements that do not follow each other and touch, until it returns
// false; false then.
template <class Visit> bool ForEachCrossing(const x_TrailData* list, int count, bool closed, Visit&& visit)
{
    std::vector<Item> items;
    items.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        if (list[i].kind <= 3 && !ZeroLength(list[i]))
            items.push_back(BoxOf(list[i], i, static_cast<int>(items.size())));
    const int m = static_cast<int>(items.size());
    if (m < 3)
        return true;
    double x0 = items[0].x0, y0 = items[0].y0, x1 = items[0].x1, y1 = items[0].y1, sizes = 0.0;
    for (const Item& it : items) {
        x0 = std::min(x0, it.x0);
        y0 = std::min(y0, it.y0);
        x1 = std::max(x1, it.x1);
        y1 = std::max(y1, it.y1);
        sizes += std::max(it.x1 - it.x0, it.y1 - it.y0);
    }
    // Cells about the mean element size, but no more cells than elements
    // along either axis.
    const double span = std::max(x1 - x0, y1 - y0);
    const double cell = std::max({sizes / m, span / m, 1e-9});
    const auto cellOf = [&](double v, double origin) { return static_cast<std::int64_t>((v - origin) / cell); };
    const std::int64_t columns = cellOf(x1, x0) + 1;
    const auto keyOf = [&](double x, double y) { return cellOf(y, y0) * columns + cellOf(x, x0); };
    const auto overlap = [](const Item& a, const Item& b) {
        return !(a.x0 > b.x1 || b.x0 > a.x1 || a.y0 > b.y1 || b.y0 > a.y1);
    };
    // False when the visitor stops the walk.
    const auto crossing = [&](const Item& a, const Item& b) {
        if (!overlap(a, b) || Follow(a.order, b.order, m, closed) || !ElementsTouch(list[a.element], list[b.element]))
            return false;
        return !(a.element < b.element ? visit(a.element, b.element) : visit(b.element, a.element));
    };
    // An element over very many cells is tested against every other one.
    constexpr std::int64_t kLargeCells = 256;
    std::vector<std::pair<std::int64_t, int>> entries;
    std::vector<int> large;
    entries.reserve(static_cast<size_t>(m) * 2);
    for (int k = 0; k < m; ++k) {
        const Item& it = items[k];
        const std::int64_t cx0 = cellOf(it.x0, x0), cx1 = cellOf(it.x1, x0);
        const std::int64_t cy0 = cellOf(it.y0, y0), cy1 = cellOf(it.y1, y0);
        if ((cx1 - cx0 + 1) * (cy1 - cy0 + 1) > kLargeCells) {
            large.push_back(k);
            continue;
        }
        for (std::int64_t cy = cy0; cy <= cy1; ++cy)
            for (std::int64_t cx = cx0; cx <= cx1; ++cx)
                entries.emplace_back(cy * columns + cx, k);
    }
    for (const int k : large)
        for (int o = 0; o < m; ++o)
            if (o != k && (o < k || std::find(large.begin(), large.end(), o) == large.end())
                && crossing(items[k], items[o]))
                return false;
    std::sort(entries.begin(), entries.end());
    for (size_t s = 0; s < entries.size();) {
        size_t e = s;
        while (e < entries.size() && entries[e].first == entries[s].first)
            ++e;
        for (size_t a = s; a < e; ++a) {
            const Item& ia = items[entries[a].second];
            for (size_t b = a + 1; b < e; ++b) {
                const Item& ib = items[entries[b].second];
                // A pair sharing several cells is tested in the first of them only.
                if (!overlap(ia, ib) || keyOf(std::max(ia.x0, ib.x0), std::max(ia.y0, ib.y0)) != entries[s].first)
                    continue;
                if (crossing(ia, ib))
                    return false;
            }
        }
        s = e;
    }
    return true;
}

// How far along e the point p of e lies: a line's dot product with its
// direction, an arc's sweep from its start.
double ParamOn(const x_TrailData& e, const x_Vector& p)
{
    if (e.IsLine())
        return (p.x - e.start.x) * (e.end.x - e.start.x) + (p.y - e.start.y) * (e.end.y - e.start.y);
    const double sweep = SweepAngleAbs(e.direction, e.startAngle, (p - e.centre).Angle());
    return sweep >= kTwoPi - kAngleSlack ? 0.0 : sweep;
}

// Where a and b meet, the first such point along a, or along b.
bool FirstMeeting(const x_TrailData& a, const x_TrailData& b, bool alongB, x_Vector& at)
{
    x_VectorList hits;
    if (a.IsLine() && b.IsLine()) {
        const x_Vector r = a.end - a.start, s = b.end - b.start, q = b.start - a.start;
        const double den = r.x * s.y - r.y * s.x;
        if (den != 0.0)
            hits.points.push_back(a.start + r * ((q.x * s.y - q.y * s.x) / den));
    } else {
        hits = CurvedMeetings(a, b);
    }
    for (const x_Vector& p : {a.StartPoint(), a.EndPoint(), b.StartPoint(), b.EndPoint()})
        hits.points.push_back(p);
    bool found = false;
    double best = 0.0;
    for (const x_Vector& p : hits.points) {
        if (!(DistanceToElement(p, a) < kTouch && DistanceToElement(p, b) < kTouch))
            continue;
        const double t = ParamOn(alongB ? b : a, p);
        if (!found || t < best) {
            found = true;
            best = t;
            at = p;
        }
    }
    return found;
}

// e from p on (start) or up to p (end); an arc left with no sweep becomes a
// point.
void TrimAt(x_TrailData& e, const x_Vector& p, bool start)
{
    if (e.IsLine()) {
        (start ? e.start : e.end) = p;
        return;
    }
    (start ? e.startAngle : e.endAngle) = (p - e.centre).Angle();
    if (x_Vector::Distance(e.StartPoint(), e.EndPoint()) < kTouch)
        MakePlaceholder(e, p);
}

// Twice the signed area of the loop that leaves list[i] at p, runs through
// the elements between and comes back along list[j] to p. `sums[k]` holds
// the areas of the elements before k: a long loop takes its middle from
// them.
double TwiceLoopArea(const x_TrailData* list, const std::vector<double>& sums, int i, int j, const x_Vector& p)
{
    constexpr int kSummedFrom = 64;
    x_TrailData first = list[i], last = list[j];
    TrimAt(first, p, true);
    TrimAt(last, p, false);
    const double middle = j - i > kSummedFrom ? sums[static_cast<size_t>(j)] - sums[static_cast<size_t>(i + 1)]
                                               : TwiceArea(list + i + 1, j - i - 1);
    return TwiceArea(&first, 1) + middle + TwiceArea(&last, 1);
}

} // namespace

bool TrailCrossesItself(const x_TrailData* list, int count, bool closed)
{
    return !ForEachCrossing(list, count, closed, [](int, int) { return false; });
}

bool CutInvertedLoops(x_TrailDataArray& list, bool closed)
{
    x_TrailData* e = list.GetData();
    const int n = list.GetSize();
    if (!closed || n < 3)
        return false;
    const double whole = TwiceArea(e, n);
    if (whole == 0.0)
        return false;
    const auto inverted = [whole](double loop) { return RunsAgainst(loop, whole); };
    // The loop from i to j, or (wrap) the one from j round the list's end
    // to i; the two make the whole.
    struct Cut {
        int i, j;
        bool wrap;
        x_Vector at;
    };
    std::vector<Cut> cuts;
    std::vector<std::uint8_t> touched(static_cast<size_t>(n));
    const auto point = [&](int k, const x_Vector& at) {
        MakePlaceholder(e[k], at);
        touched[static_cast<size_t>(k)] = 1;
    };
    std::vector<std::pair<int, int>> pairs;
    std::vector<double> sums(static_cast<size_t>(n) + 1);
    for (int round = 0; round < 64; ++round) {
        pairs.clear();
        // Each pair is weighed against every other: many is no loop to cut.
        if (!ForEachCrossing(e, n, true, [&](int i, int j) {
                pairs.emplace_back(i, j);
                return pairs.size() <= kMostCrossings;
            }))
            return false;
        for (int k = 0; k < n; ++k)
            sums[static_cast<size_t>(k) + 1] = sums[static_cast<size_t>(k)] + TwiceArea(e + k, 1);
        // Only a loop with no other crossing inside it is cut: a loop that
        // holds one may hold a part of the offset that runs the right way.
        cuts.clear();
        for (const auto& [i, j] : pairs) {
            bool innerSimple = true, wrapSimple = true;
            for (const auto& [a, b] : pairs) {
                if (a == i && b == j)
                    continue;
                const bool inside = a >= i && b <= j;
                innerSimple = innerSimple && !inside;
                wrapSimple = wrapSimple && !(a <= i && b >= j) && !(b <= i) && !(a >= j);
            }
            // The inner loop closes where i first meets j, the wrapping
            // one where j first meets i.
            Cut c{i, j, false, {}};
            if (innerSimple && FirstMeeting(e[i], e[j], false, c.at) && inverted(TwiceLoopArea(e, sums, i, j, c.at))) {
                cuts.push_back(c);
            } else if (wrapSimple && FirstMeeting(e[i], e[j], true, c.at)
                       && inverted(whole - TwiceLoopArea(e, sums, i, j, c.at))) {
                c.wrap = true;
                cuts.push_back(c);
            }
        }
        if (cuts.empty())
            break;
        std::fill(touched.begin(), touched.end(), 0);
        for (const Cut& c : cuts) {
            if (touched[static_cast<size_t>(c.i)] != 0 || touched[static_cast<size_t>(c.j)] != 0)
                continue;
            TrimAt(e[c.i], c.at, c.wrap);
            TrimAt(e[c.j], c.at, !c.wrap);
            if (c.wrap) {
                for (int k = c.j + 1; k < n; ++k)
                    point(k, c.at);
                for (int k = 0; k < c.i; ++k)
                    point(k, c.at);
            } else {
                for (int k = c.i + 1; k < c.j; ++k)
                    point(k, c.at);
            }
            touched[static_cast<size_t>(c.i)] = touched[static_cast<size_t>(c.j)] = 1;
        }
    }
    return !TrailCrossesItself(e, n, true);
}

bool UncrossedOrLoopsCut(x_TrailDataArray& list, bool closed)
{
    return !TrailCrossesItself(list.GetData(), list.GetSize(), closed) || CutInvertedLoops(list, closed);
}
