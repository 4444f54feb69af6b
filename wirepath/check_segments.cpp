#include "wirepath/check_segments.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kOnLine = 1e-12;           // fraction of a line beyond its ends still on it
constexpr int kWideCells = 64;              // a piece over more cells is tested by every query

// The sweep of an arc element: its direction's way from start to end
// angle, a full turn when they agree; negative when clockwise.
double SignedSweep(const x_TrailData& e)
{
    const double s = e.startAngle, t = e.endAngle;
    double sweep;
    if (e.direction != 0)
        sweep = s < t + 1e-10 ? (s + kTwoPi) - t : s - t;
    else
        sweep = s > t - 1e-10 ? (t + kTwoPi) - s : t - s;
    if (std::fabs(sweep) < 1e-10)
        sweep = kTwoPi;
    return e.direction != 0 ? -sweep : sweep;
}

void ArcBox(CheckPiece& q)
{
    q.x0 = std::min(q.a.x, q.b.x);
    q.x1 = std::max(q.a.x, q.b.x);
    q.y0 = std::min(q.a.y, q.b.y);
    q.y1 = std::max(q.a.y, q.b.y);
    if (InSpan(q, x_Vector(1.0, 0.0)))
        q.x1 = q.c.x + q.r;
    if (InSpan(q, x_Vector(0.0, 1.0)))
        q.y1 = q.c.y + q.r;
    if (InSpan(q, x_Vector(-1.0, 0.0)))
        q.x0 = q.c.x - q.r;
    if (InSpan(q, x_Vector(0.0, -1.0)))
        q.y0 = q.c.y - q.r;
}

// Whether a point of the piece's carrier lies on the piece.
bool OnPiece(const CheckPiece& q, const x_Vector& x)
{
    if (q.arc)
        return InSpan(q, x - q.c);
    const x_Vector d = q.b - q.a;
    const double t = Dot(x - q.a, d) / Dot(d, d);
    return t >= -kOnLine && t <= 1.0 + kOnLine;
}

int LineLine(const CheckPiece& p, const CheckPiece& q, x_Vector out[2])
{
    const x_Vector r = p.b - p.a, s = q.b - q.a;
    const double den = Cross(r, s);
    if (den == 0.0)
        return 0;
    out[0] = p.a + r * (Cross(q.a - p.a, s) / den);
    return 1;
}

int LineCircle(const CheckPiece& line, const CheckPiece& circle, x_Vector out[2])
{
    const x_Vector d = line.b - line.a;
    const double len = Norm(d);
    const x_Vector u = d / len;
    const double t = Dot(circle.c - line.a, u);
    const x_Vector foot = line.a + u * t;
    const double h = Dist(foot, circle.c);
    if (h > circle.r)
        return 0;
    const double half = std::sqrt(std::max(0.0, circle.r * circle.r - h * h));
    out[0] = foot - u * half;
    out[1] = foot + u * half;
    return half == 0.0 ? 1 : 2;
}

int CircleCircle(const CheckPiece& p, const CheckPiece& q, x_Vector out[2])
{
    const double d = Dist(p.c, q.c);
    if (d == 0.0 || d > p.r + q.r || d < std::fabs(p.r - q.r))
        return 0;
    const double along = (d * d + p.r * p.r - q.r * q.r) / (2.0 * d);
    const double half = std::sqrt(std::max(0.0, p.r * p.r - along * along));
    const x_Vector u = (q.c - p.c) / d;
    const x_Vector m = p.c + u * along;
    const x_Vector n(-u.y, u.x);
    out[0] = m + n * half;
    out[1] = m - n * half;
    return half == 0.0 ? 1 : 2;
}

// Spans of two concentric arcs overlap when an end of one lies on the other.
bool SpansOverlap(const CheckPiece& p, const CheckPiece& q)
{
    return InSpan(p, q.u0) || InSpan(p, q.u1) || InSpan(q, p.u0) || InSpan(q, p.u1);
}

} // namespace

// Every field written in place (no whole-piece temporary: a long contour's
// pieces are written once, in order).
bool MakePiece(const x_TrailData& e, const x_Vector& shift, CheckPiece& out)
{
    out.element = -1;
    if (e.IsLine()) {
        const double ax = e.start.x + shift.x, ay = e.start.y + shift.y;
        const double bx = e.end.x + shift.x, by = e.end.y + shift.y;
        const double dx = bx - ax, dy = by - ay;
        const double length = std::sqrt(dx * dx + dy * dy);
        out.arc = false;
        out.length = length;
        if (!(length > kPieceNoLength))
            return false;
        out.a = x_Vector(ax, ay);
        out.b = x_Vector(bx, by);
        out.u0 = out.chordU = x_Vector(dx / length, dy / length);
        out.u1 = x_Vector(0.0, 0.0);
        out.c = x_Vector(0.0, 0.0);
        out.r = out.a0 = out.sweep = out.sagitta = 0.0;
        out.chordLength = length;
        out.x0 = std::min(ax, bx);
        out.x1 = std::max(ax, bx);
        out.y0 = std::min(ay, by);
        out.y1 = std::max(ay, by);
        return true;
    }
    out.arc = false;
    if (!e.IsArc() || !(e.radius >= 1e-10))
        return false;
    const double cx = e.centre.x + shift.x, cy = e.centre.y + shift.y, r = e.radius;
    const double sweep = SignedSweep(e);
    out.length = r * std::fabs(sweep);
    if (!(out.length > kPieceNoLength))
        return false;
    out.arc = true;
    out.c = x_Vector(cx, cy);
    out.r = r;
    out.a0 = e.startAngle;
    out.sweep = sweep;
    // From the element's own angles: the ends are its StartPoint and EndPoint.
    double c0, s0, c1, s1;
    SinCos(e.startAngle, s0, c0);
    SinCos(e.endAngle, s1, c1);
    out.u0 = x_Vector(c0, s0);
    out.u1 = x_Vector(c1, s1);
    const double ax = cx + c0 * r, ay = cy + s0 * r, bx = cx + c1 * r, by = cy + s1 * r;
    out.a = x_Vector(ax, ay);
    out.b = x_Vector(bx, by);
    const double dx = bx - ax, dy = by - ay;
    const double chord = std::sqrt(dx * dx + dy * dy);
    out.chordLength = chord;
    out.chordU = chord > 0.0 ? x_Vector(dx / chord, dy / chord) : out.u0;
    // Up to half a turn the arc strays from its chord by r - sqrt(r^2 - h^2)
    // (h half the chord), written without the cancellation; grown by a few
    // units of the last place, as it bounds distances from below.
    const double h = chord / 2.0, inner = std::sqrt(std::max(0.0, r * r - h * h));
    out.sagitta = std::fabs(sweep) <= kPi ? h * h / (r + inner) * (1.0 + 1e-12) + 1e-15 * r : 2.0 * r;
    ArcBox(out);
    return true;
}

double PointArcDistance(const x_Vector& p, const CheckPiece& q, NearestAt* at)
{
    NearestAt where = kAtInside;
    double d;
    const double fromCentre = Dist(p, q.c);
    if (fromCentre == 0.0 || InSpan(q, p - q.c)) {
        d = std::fabs(fromCentre - q.r);
    } else {
        const double da = Dist(p, q.a), db = Dist(p, q.b);
        where = da <= db ? kAtStart : kAtEnd;
        d = std::min(da, db);
    }
    if (at != nullptr)
        *at = where;
    return d;
}

int CarrierMeetings(const CheckPiece& p, const CheckPiece& q, x_Vector out[2])
{
    if (!p.arc && !q.arc)
        return LineLine(p, q, out);
    if (p.arc && q.arc)
        return CircleCircle(p, q, out);
    return p.arc ? LineCircle(q, p, out) : LineCircle(p, q, out);
}

namespace {

// To a piece's chord (a line's self).
double SquaredPointSegment(const x_Vector& p, const CheckPiece& line)
{
    const x_Vector w = p - line.a;
    const double t = std::clamp(Dot(w, line.chordU), 0.0, line.chordLength);
    const x_Vector d = w - line.chordU * t;
    return Dot(d, d);
}

// Two chords: 0 when each one's ends lie on both sides of the other, else
// the nearest of their ends to the other chord.
double SegmentDistance(const CheckPiece& p, const CheckPiece& q)
{
    const x_Vector r = p.b - p.a, s = q.b - q.a;
    const double d1 = Cross(r, q.a - p.a), d2 = Cross(r, q.b - p.a);
    const double d3 = Cross(s, p.a - q.a), d4 = Cross(s, p.b - q.a);
    if (d1 * d2 < 0.0 && d3 * d4 < 0.0)
        return 0.0;
    return std::sqrt(std::min({SquaredPointSegment(p.a, q), SquaredPointSegment(p.b, q), SquaredPointSegment(q.a, p),
                               SquaredPointSegment(q.b, p)}));
}

} // namespace

// The minimum lies where the two pieces meet, at an end of one of them, or
// between two inner points whose joining segment is normal to both: for a
// line and an arc the arc's points whose radius is normal to the line, for
// two arcs their points on the line of centres.
double PieceDistance(const CheckPiece& p, const CheckPiece& q)
{
    if (!p.arc && !q.arc)
        return SegmentDistance(p, q);
    x_Vector meet[2];
    const int n = CarrierMeetings(p, q, meet);
    for (int i = 0; i < n; ++i)
        if (OnPiece(p, meet[i]) && OnPiece(q, meet[i]))
            return 0.0;
    double best = std::min({PointPieceDistance(p.a, q), PointPieceDistance(p.b, q), PointPieceDistance(q.a, p),
                            PointPieceDistance(q.b, p)});
    auto tryArcPoint = [&](const CheckPiece& arc, const x_Vector& dir, const CheckPiece& other) {
        if (InSpan(arc, dir))
            best = std::min(best, PointPieceDistance(arc.c + dir * arc.r, other));
    };
    if (p.arc != q.arc) {
        const CheckPiece& arc = p.arc ? p : q;
        const CheckPiece& line = p.arc ? q : p;
        const x_Vector normal(-line.u0.y, line.u0.x);
        tryArcPoint(arc, normal, line);
        tryArcPoint(arc, normal * -1.0, line);
    } else if (p.arc) {
        const double d = Dist(p.c, q.c);
        if (d == 0.0) {
            if (SpansOverlap(p, q))
                best = std::min(best, std::fabs(p.r - q.r));
        } else {
            const x_Vector u = (q.c - p.c) / d;
            tryArcPoint(p, u, q);
            tryArcPoint(p, u * -1.0, q);
            tryArcPoint(q, u, p);
            tryArcPoint(q, u * -1.0, p);
        }
    }
    return best;
}

bool ChordGapAtLeast(const CheckPiece& p, const CheckPiece& q, double least)
{
    // SegmentDistance less the sagittas, squared: no root.
    const double want = least + p.sagitta + q.sagitta;
    const x_Vector r = p.b - p.a, s = q.b - q.a;
    const double d1 = Cross(r, q.a - p.a), d2 = Cross(r, q.b - p.a);
    const double d3 = Cross(s, p.a - q.a), d4 = Cross(s, p.b - q.a);
    if (d1 * d2 < 0.0 && d3 * d4 < 0.0)
        return !(want > 0.0);
    const double w2 = want > 0.0 ? want * want : 0.0;
    return SquaredPointSegment(p.a, q) >= w2 && SquaredPointSegment(p.b, q) >= w2 && SquaredPointSegment(q.a, p) >= w2
           && SquaredPointSegment(q.b, p) >= w2;
}

// From a piece to the whole carrier of another: a line's infinite line, an
// arc's full circle, never more than the distance between the pieces;
// distances from a centre compared squared.
bool CurvedCarrierGapAtLeast(const CheckPiece& p, const CheckPiece& q, double least)
{
    if (!q.arc) {
        const x_Vector n(-q.u0.y, q.u0.x);
        // An arc: its ends, and its points farthest along the normal either way.
        double lo = std::min(Dot(p.a - q.a, n), Dot(p.b - q.a, n)), hi = std::max(Dot(p.a - q.a, n), Dot(p.b - q.a, n));
        const double mid = Dot(p.c - q.a, n);
        if (InSpan(p, n))
            hi = std::max(hi, mid + p.r);
        if (InSpan(p, n * -1.0))
            lo = std::min(lo, mid - p.r);
        return (lo <= 0.0 && hi >= 0.0 ? 0.0 : std::min(std::fabs(lo), std::fabs(hi))) >= least;
    }
    // Outside the circle by least (nearest point), or inside it by least
    // (farthest point; all of a line's points lie within its ends' farthest).
    const double outside = q.r + least, inside = q.r - least;
    if (!p.arc) {
        const double far2 = std::max(Dot(p.a - q.c, p.a - q.c), Dot(p.b - q.c, p.b - q.c));
        return (outside >= 0.0 && SquaredPointSegment(q.c, p) >= outside * outside)
               || (inside >= 0.0 && far2 <= inside * inside);
    }
    // Two circles: apart by least, or one inside the other by least.
    const double d2 = Dot(p.c - q.c, p.c - q.c);
    const double apart = p.r + q.r + least, nested = std::fabs(p.r - q.r) - least;
    return (apart >= 0.0 && d2 >= apart * apart) || (nested >= 0.0 && d2 <= nested * nested);
}

PieceGrid::PieceGrid(const std::vector<CheckPiece>& pieces, double minCell, GridStorage& storage)
    : m_pieces(pieces), m_s(storage)
{
    m_s.seen.assign(pieces.size(), 0u);
    m_s.stamp = 0;
    m_s.wide.clear();
    m_s.items.clear();
    m_s.slots.clear();
    if (pieces.empty())
        return;
    double x1 = pieces[0].x1, y1 = pieces[0].y1, sizes = 0.0;
    m_x0 = pieces[0].x0;
    m_y0 = pieces[0].y0;
    for (const CheckPiece& q : pieces) {
        m_x0 = std::min(m_x0, q.x0);
        m_y0 = std::min(m_y0, q.y0);
        x1 = std::max(x1, q.x1);
        y1 = std::max(y1, q.y1);
        sizes += std::max(q.x1 - q.x0, q.y1 - q.y0);
    }
    const double m = static_cast<double>(pieces.size());
    // About one piece per cell along a contour, and no more columns than pieces.
    m_cell = std::max({sizes / m, std::max(x1 - m_x0, y1 - m_y0) / m, 2.0 * minCell, 1e-6});
    m_columns = Column(x1) + 1;
    m_rows = Row(y1) + 1;
    // Count the pieces of each cell, then place them: no sort. The table
    // has room for twice the cells there can be. Each piece's cells are
    // found once, their slots kept for the placing.
    m_s.isWide.assign(pieces.size(), 0);
    m_s.ranges.resize(pieces.size());
    size_t cells = 0;
    for (size_t k = 0; k < pieces.size(); ++k) {
        const CheckPiece& q = pieces[k];
        CellRange& g = m_s.ranges[k];
        g = {Column(q.x0), Column(q.x1), Row(q.y0), Row(q.y1)};
        const std::int64_t n = (g.c1 - g.c0 + 1) * (g.r1 - g.r0 + 1);
        if (n > kWideCells) {
            m_s.wide.push_back(static_cast<int>(k));
            m_s.isWide[k] = 1;
        } else {
            cells += static_cast<size_t>(n);
        }
    }
    size_t size = 16;
    while (size < 2 * cells)
        size *= 2;
    m_s.slots.assign(size, GridSlot{kEmpty, 0, 0});
    m_s.entrySlots.resize(cells);
    size_t entries = 0;
    for (size_t k = 0; k < pieces.size(); ++k) {
        if (m_s.isWide[k] != 0)
            continue;
        const CellRange& g = m_s.ranges[k];
        for (std::int64_t r = g.r0; r <= g.r1; ++r) {
            for (std::int64_t c = g.c0; c <= g.c1; ++c) {
                const std::int64_t key = r * m_columns + c;
                const size_t i = Find(key);
                m_s.slots[i].key = key;
                ++m_s.slots[i].count;
                m_s.entrySlots[entries++] = static_cast<std::uint32_t>(i);
            }
        }
    }
    int start = 0;
    for (GridSlot& slot : m_s.slots) {
        slot.start = start;
        start += slot.count;
        slot.count = 0;
    }
    m_s.items.resize(entries);
    entries = 0;
    for (size_t k = 0; k < pieces.size(); ++k) {
        if (m_s.isWide[k] != 0)
            continue;
        const CellRange& g = m_s.ranges[k];
        const std::int64_t n = (g.c1 - g.c0 + 1) * (g.r1 - g.r0 + 1);
        for (std::int64_t e = 0; e < n; ++e) {
            GridSlot& slot = m_s.slots[m_s.entrySlots[entries++]];
            m_s.items[static_cast<size_t>(slot.start + slot.count++)] = static_cast<int>(k);
        }
    }
}

// The slot of a cell, or the empty slot where it would go.
size_t PieceGrid::Find(std::int64_t key) const
{
    const size_t mask = m_s.slots.size() - 1;
    // Neighbouring cells of a row in neighbouring slots: a query's cells
    // share cache lines.
    size_t i = static_cast<size_t>(static_cast<std::uint64_t>(key) ^ (static_cast<std::uint64_t>(key) >> 17)) & mask;
    while (m_s.slots[i].key != key && m_s.slots[i].key != kEmpty)
        i = (i + 1) & mask;
    return i;
}
