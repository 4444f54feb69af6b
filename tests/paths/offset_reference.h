#pragma once

// The independent reference of the path tests: Clipper's miter offset of a
// contour flattened finely, and how far apart two flattened contours lie,
// measured both ways.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "geometry/x_TrailData.h"

#ifdef ZORVA_HAVE_CLIPPER
#include <polyclipping/clipper.hpp>
#endif

using Polyline = std::vector<x_Vector>;

// Arcs become chords this close to them.
constexpr double kFlatError = 1e-5;
// Distances beyond this are reported as this: agreement is asked far below.
constexpr double kApartCap = 0.05;
// Points compared along each polyline, mm apart.
constexpr double kSampleStep = 0.02;

// An arc's sweep from start to end angle in its direction, a full turn
// when they agree; negative when clockwise.
inline double ReferenceSweep(const x_TrailData& e)
{
    double sweep = e.direction != 0 ? e.startAngle - e.endAngle : e.endAngle - e.startAngle;
    sweep = std::fmod(sweep, 2 * kPi);
    if (sweep < 1e-10)
        sweep += 2 * kPi;
    return e.direction != 0 ? -sweep : sweep;
}

// The cutting elements of a list as a polyline (lead lines, links and
// corner excursions left out), moved by shift.
inline Polyline Flatten(const x_TrailData* list, int count, const x_Vector& shift = x_Vector(0, 0))
{
    Polyline out;
    auto add = [&](const x_Vector& p) {
        const x_Vector q(p.x + shift.x, p.y + shift.y);
        if (out.empty() || x_Vector::Distance(out.back(), q) > 1e-12)
            out.push_back(q);
    };
    for (int i = 0; i < count; ++i) {
        const x_TrailData& e = list[i];
        if (e.role == 1 || e.role == 4 || e.role == 7 || e.kind > 3)
            continue;
        if (e.IsLine()) {
            add(e.start);
            add(e.end);
            continue;
        }
        const double sweep = ReferenceSweep(e);
        const double step = 2.0 * std::acos(std::max(0.0, 1.0 - kFlatError / e.radius));
        const int n = std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / std::max(step, 1e-6))));
        for (int k = 0; k <= n; ++k) {
            const double a = e.startAngle + sweep * k / n;
            add(x_Vector(e.centre.x + e.radius * std::cos(a), e.centre.y + e.radius * std::sin(a)));
        }
    }
    return out;
}

// Ends of neighbouring elements this close are one vertex, as the engine
// joins them.
constexpr double kJoinedEnds = 1e-4;

// A closed contour as the polygon Clipper offsets: flattened, without its
// closing point, and without the step where two elements miss each other
// by a hair (a gear's flank line and its involute 1e-5 apart). Kept, such a
// step is an edge of its own direction (which Clipper's 1e-7 grid makes up)
// with a miter of its own: where the two flanks' offsets meet in a narrow
// notch, that moves the notch's tip along it by thousandths.
inline Polyline ReferencePolygon(const x_TrailDataArray& contour)
{
    const Polyline flat = Flatten(contour.GetData(), contour.GetSize());
    Polyline polygon;
    for (const x_Vector& p : flat)
        if (polygon.empty() || x_Vector::Distance(polygon.back(), p) > kJoinedEnds)
            polygon.push_back(p);
    while (polygon.size() > 1 && x_Vector::Distance(polygon.front(), polygon.back()) <= kJoinedEnds)
        polygon.pop_back();
    return polygon;
}

inline double TwiceSignedArea(const Polyline& p)
{
    double sum = 0.0;
    for (size_t i = 0; i < p.size(); ++i) {
        const x_Vector& a = p[i];
        const x_Vector& b = p[(i + 1) % p.size()];
        sum += a.x * b.y - a.y * b.x;
    }
    return sum;
}

// Segments by grid cell, for the distance from a point to a set of
// polylines up to kApartCap.
class SegmentIndex {
public:
    explicit SegmentIndex(const std::vector<Polyline>& lines)
    {
        for (const Polyline& l : lines)
            for (size_t i = 0; i + 1 < l.size(); ++i)
                Add(l[i], l[i + 1]);
    }
    double Distance(const x_Vector& p) const
    {
        double best = kApartCap;
        const std::int64_t cx = Cell(p.x), cy = Cell(p.y);
        for (std::int64_t y = cy - 1; y <= cy + 1; ++y)
            for (std::int64_t x = cx - 1; x <= cx + 1; ++x) {
                const auto it = m_cells.find(Key(x, y));
                if (it == m_cells.end())
                    continue;
                for (const size_t s : it->second)
                    best = std::min(best, SegmentDistance(p, m_a[s], m_b[s]));
            }
        return best;
    }

private:
    static std::int64_t Cell(double v) { return static_cast<std::int64_t>(std::floor(v / kApartCap)); }
    static std::int64_t Key(std::int64_t x, std::int64_t y) { return (x << 32) ^ (y & 0xffffffff); }
    static double SegmentDistance(const x_Vector& p, const x_Vector& a, const x_Vector& b)
    {
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
    }
    // In pieces no longer than a cell, so that a long slanted segment does
    // not fill its whole box with cells.
    void Add(const x_Vector& a, const x_Vector& b)
    {
        const int pieces = std::max(1, static_cast<int>(std::ceil(x_Vector::Distance(a, b) / kApartCap)));
        for (int k = 0; k < pieces; ++k) {
            const x_Vector p = a + (b - a) * (static_cast<double>(k) / pieces);
            const x_Vector q = k + 1 == pieces ? b : a + (b - a) * (static_cast<double>(k + 1) / pieces);
            const size_t s = m_a.size();
            m_a.push_back(p);
            m_b.push_back(q);
            for (std::int64_t y = Cell(std::min(p.y, q.y)); y <= Cell(std::max(p.y, q.y)); ++y)
                for (std::int64_t x = Cell(std::min(p.x, q.x)); x <= Cell(std::max(p.x, q.x)); ++x)
                    m_cells[Key(x, y)].push_back(s);
        }
    }
    std::vector<x_Vector> m_a, m_b;
    std::unordered_map<std::int64_t, std::vector<size_t>> m_cells;
};

// A disc left out of a comparison.
struct Zone {
    x_Vector centre;
    double radius = 0.0;
};

// The largest distance from a point of one set of polylines to the other
// set, both ways, the points taken every kSampleStep (capped at kApartCap);
// points in the zones are left out.
inline double FarthestApart(const std::vector<Polyline>& a, const std::vector<Polyline>& b, x_Vector* where = nullptr,
                            const std::vector<Zone>& skip = {})
{
    double worst = 0.0;
    auto skipped = [&](const x_Vector& p) {
        for (const Zone& z : skip)
            if (x_Vector::Distance(p, z.centre) <= z.radius)
                return true;
        return false;
    };
    auto oneWay = [&](const std::vector<Polyline>& from, const SegmentIndex& to) {
        for (const Polyline& l : from)
            for (size_t i = 0; i + 1 < l.size(); ++i) {
                const int n = std::max(1, static_cast<int>(std::ceil(x_Vector::Distance(l[i], l[i + 1]) / kSampleStep)));
                for (int k = 0; k <= n; ++k) {
                    const x_Vector p = l[i] + (l[i + 1] - l[i]) * (static_cast<double>(k) / n);
                    if (skipped(p))
                        continue;
                    const double d = to.Distance(p);
                    if (d > worst) {
                        worst = d;
                        if (where != nullptr)
                            *where = p;
                    }
                }
            }
    };
    oneWay(a, SegmentIndex(b));
    oneWay(b, SegmentIndex(a));
    return worst;
}

// Where an arc meets a neighbour at a corner that the offset turns away
// from, the engine continues the arc's circle to the meeting point, while
// a flattened contour continues its last chord: the two miters part by
// up to r (1 / cos a - 1) near the corner. Discs about such corners, as
// wide as twice the miter of their tangents.
inline std::vector<Zone> ArcCornerZones(const x_TrailDataArray& contour, double offset, int side, bool closed)
{
    std::vector<Zone> zones;
    auto tangent = [](const x_TrailData& e, bool atEnd) {
        if (e.IsLine()) {
            const x_Vector d = e.end - e.start;
            return d / d.Length();
        }
        const double a = atEnd ? e.endAngle : e.startAngle;
        const x_Vector radial(std::cos(a), std::sin(a));
        return e.direction != 0 ? x_Vector(radial.y, -radial.x) : x_Vector(-radial.y, radial.x);
    };
    const int n = contour.GetSize();
    const int effective = (offset >= 0.0) == (side == 1) ? 1 : 0;     // 1: the offset lies left
    for (int i = 0; i < n; ++i) {
        const int j = i + 1 < n ? i + 1 : (closed ? 0 : -1);
        if (j < 0 || contour[i].kind > 3 || contour[j].kind > 3 || (contour[i].IsLine() && contour[j].IsLine()))
            continue;
        const x_Vector u = tangent(contour[i], true), v = tangent(contour[j], false);
        const double turn = u.x * v.y - u.y * v.x, along = u.x * v.x + u.y * v.y;
        if (std::fabs(turn) < 1e-9 && along > 0.0)
            continue;
        if ((effective == 1) != (turn < 0.0))
            continue;
        const double half = std::acos(std::clamp(along, -1.0, 1.0)) / 2.0;
        zones.push_back({contour[i].EndPoint(), 2.0 * std::fabs(offset) / std::max(std::cos(half), 0.05)});
    }
    return zones;
}

#ifdef ZORVA_HAVE_CLIPPER
// Clipper works on integers: 1e-7 mm per unit.
constexpr double kClipperUnits = 1e7;

// The miter offset of a closed polygon: delta > 0 outward. Miters are
// kept up to 1000 times the offset, as the engine keeps them all.
inline std::vector<Polyline> ClipperMiterOffset(const Polyline& polygon, double delta)
{
    ClipperLib::Path path;
    for (const x_Vector& p : polygon)
        path.emplace_back(static_cast<ClipperLib::cInt>(std::llround(p.x * kClipperUnits)),
                          static_cast<ClipperLib::cInt>(std::llround(p.y * kClipperUnits)));
    ClipperLib::ClipperOffset co(1000.0);
    co.AddPath(path, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
    ClipperLib::Paths solution;
    co.Execute(solution, delta * kClipperUnits);
    std::vector<Polyline> out;
    for (const ClipperLib::Path& s : solution) {
        Polyline l;
        for (const ClipperLib::IntPoint& q : s)
            l.emplace_back(q.X / kClipperUnits, q.Y / kClipperUnits);
        if (!l.empty())
            l.push_back(l.front());
        out.push_back(l);
    }
    return out;
}
#endif
