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
#include "wirepath/trail_offset.h"

namespace {

constexpr double kTouch = 1e-7;             // mm: closer than this counts as touching
constexpr double kAngleSlack = 1e-9;        // rad, a point at an arc's end is on it

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

bool CarriersMeetOnBoth(const x_TrailData& a, const x_TrailData& b)
{
    if (a.IsLine() && b.IsLine())
        return LinesCross(a, b);
    x_VectorList hits;
    if (a.IsArc() && b.IsArc()) {
        hits = IntersectArcArc(ArcOf(a), ArcOf(b));
    } else {
        const x_TrailData& line = a.IsLine() ? a : b;
        const x_TrailData& arc = a.IsLine() ? b : a;
        x_LineData l;
        l.p1 = line.start;
        l.p2 = line.end;
        hits = IntersectLineArc(ArcOf(arc), l);
    }
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

} // namespace

bool TrailCrossesItself(const x_TrailData* list, int count, bool closed)
{
    std::vector<Item> items;
    items.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        if (list[i].kind <= 3 && !ZeroLength(list[i]))
            items.push_back(BoxOf(list[i], i, static_cast<int>(items.size())));
    const int m = static_cast<int>(items.size());
    if (m < 3)
        return false;
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
    const auto crossing = [&](const Item& a, const Item& b) {
        return overlap(a, b) && !Follow(a.order, b.order, m, closed)
               && ElementsTouch(list[a.element], list[b.element]);
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
                return true;
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
                    return true;
            }
        }
        s = e;
    }
    return false;
}
