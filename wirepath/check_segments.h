#pragma once

// The geometry of the path check: elements as pieces with their span and
// box, exact distances between points and pieces and between two pieces,
// and a grid that finds the pieces near a box. Written apart from the
// offset's own intersection code, so that the check does not share its
// faults.

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

#include "geometry/sin_cos.h"
#include "geometry/x_TrailData.h"

inline double Cross(const x_Vector& u, const x_Vector& v)
{
    return u.x * v.y - u.y * v.x;
}

inline double Dot(const x_Vector& u, const x_Vector& v)
{
    return u.x * v.x + u.y * v.y;
}

// As x_Vector::Length and Distance, inline.
inline double Norm(const x_Vector& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y);
}

inline double Dist(const x_Vector& p, const x_Vector& q)
{
    return Norm(q - p);
}

// One line or arc; arcs run counter-clockwise from a0 by sweep when
// sweep > 0, clockwise when sweep < 0.
struct CheckPiece {
    double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;  // box
    int element = -1;                   // index in the list it came from
    bool arc = false;
    x_Vector a, b;                      // start and end point
    x_Vector c;                         // centre
    double r = 0.0;
    double a0 = 0.0, sweep = 0.0;
    // An arc's unit directions from its centre to its start and end; a
    // line's u0 is its unit direction.
    x_Vector u0, u1;
    double length = 0.0;
    // The chord from a to b (a line's own direction and length) and how far
    // the piece strays from it.
    x_Vector chordU;
    double chordLength = 0.0, sagitta = 0.0;

    double Length() const { return length; }
    x_Vector At(double t) const;        // t in [0, 1] along the piece
    x_Vector Tangent(double t) const;   // unit, direction of travel
    // Both at once: an arc's angle there is taken once.
    void PointAndTangent(double t, x_Vector& point, x_Vector& tangent) const;
};

inline x_Vector CheckPiece::At(double t) const
{
    if (t == 0.0)
        return a;
    if (t == 1.0)
        return b;
    if (arc) {
        double sn, cs;
        SinCos(a0 + sweep * t, sn, cs);
        return c + x_Vector(r * cs, r * sn);
    }
    return a + (b - a) * t;
}

inline x_Vector CheckPiece::Tangent(double t) const
{
    if (!arc)
        return u0;
    if (t == 0.0 || t == 1.0) {
        const x_Vector& radial = t == 0.0 ? u0 : u1;
        return sweep > 0.0 ? x_Vector(-radial.y, radial.x) : x_Vector(radial.y, -radial.x);
    }
    double sn, cs;
    SinCos(a0 + sweep * t, sn, cs);
    return sweep > 0.0 ? x_Vector(-sn, cs) : x_Vector(sn, -cs);
}

inline void CheckPiece::PointAndTangent(double t, x_Vector& point, x_Vector& tangent) const
{
    if (!arc || t == 0.0 || t == 1.0) {
        point = At(t);
        tangent = Tangent(t);
        return;
    }
    double sn, cs;
    SinCos(a0 + sweep * t, sn, cs);
    point = c + x_Vector(r * cs, r * sn);
    tangent = sweep > 0.0 ? x_Vector(-sn, cs) : x_Vector(sn, -cs);
}

constexpr double kSpanSlack = 1e-12;        // rad: a point at an arc's end is on it

// Whether a direction from the centre lies within an arc's span, by the
// signs of cross products with the start and end directions (no angles).
inline bool InSpan(const CheckPiece& q, const x_Vector& d)
{
    const double span = std::fabs(q.sweep);
    if (span >= kTwoPi - kSpanSlack)
        return true;
    // The slack scales with the point's distance (the larger coordinate
    // serves: no root).
    const double slack = kSpanSlack * std::max(std::fabs(d.x), std::fabs(d.y));
    // Counter-clockwise from u0 to u1; a clockwise arc the other way.
    const double sign = q.sweep > 0.0 ? 1.0 : -1.0;
    if (span <= kPi)
        return sign * Cross(q.u0, d) >= -slack && sign * Cross(d, q.u1) >= -slack;
    // More than half a turn: not strictly inside the gap from u1 to u0.
    return !(sign * Cross(q.u1, d) > slack && sign * Cross(d, q.u0) > slack);
}


// Pieces of this length or less carry no geometry.
constexpr double kPieceNoLength = 1e-9;

// False for elements without geometry (kind above 3, zero length).
bool MakePiece(const x_TrailData& e, const x_Vector& shift, CheckPiece& out);
// Appends the piece of an element with geometry, made in place; false
// (nothing added) for one without.
inline bool AddPiece(std::vector<CheckPiece>& pieces, const x_TrailData& e, const x_Vector& shift, int element)
{
    CheckPiece& q = pieces.emplace_back();
    if (!MakePiece(e, shift, q)) {
        pieces.pop_back();
        return false;
    }
    q.element = element;
    return true;
}

// Where on a piece the nearest point lies.
enum NearestAt : int { kAtInside = 0, kAtStart = 1, kAtEnd = 2 };
double PointArcDistance(const x_Vector& p, const CheckPiece& q, NearestAt* at);
inline double PointPieceDistance(const x_Vector& p, const CheckPiece& q, NearestAt* at = nullptr)
{
    if (q.arc)
        return PointArcDistance(p, q, at);
    NearestAt where = kAtInside;
    double d;
    const x_Vector w = p - q.a;
    const double t = Dot(w, q.u0);
    if (t <= 0.0) {
        where = kAtStart;
        d = Norm(w);
    } else if (t >= q.length) {
        where = kAtEnd;
        d = Dist(p, q.b);
    } else {
        d = std::fabs(Cross(q.u0, w));
    }
    if (at != nullptr)
        *at = where;
    return d;
}
// The smallest distance between two pieces (0 when they meet).
double PieceDistance(const CheckPiece& p, const CheckPiece& q);
// Quick proofs that PieceDistance(p, q) >= least: from p to q's carrier
// (its whole line or circle); between the chords, less the pieces'
// sagittas.
bool ChordGapAtLeast(const CheckPiece& p, const CheckPiece& q, double least);
// CarrierGapAtLeast where either piece is an arc; two lines inline.
bool CurvedCarrierGapAtLeast(const CheckPiece& p, const CheckPiece& q, double least);
inline bool CarrierGapAtLeast(const CheckPiece& p, const CheckPiece& q, double least)
{
    if (p.arc || q.arc)
        return CurvedCarrierGapAtLeast(p, q, least);
    const x_Vector n(-q.u0.y, q.u0.x);
    const double da = Dot(p.a - q.a, n), db = Dot(p.b - q.a, n);
    return (da * db <= 0.0 ? 0.0 : std::min(std::fabs(da), std::fabs(db))) >= least;
}
// The points where the carriers (whole line, whole circle) of two pieces
// meet: 0, 1 or 2.
int CarrierMeetings(const CheckPiece& p, const CheckPiece& q, x_Vector out[2]);
// The distance between two boxes (0 when they overlap).
inline double BoxGap(double ax0, double ay0, double ax1, double ay1, const CheckPiece& q)
{
    const double dx = std::max(q.x0 - ax1, ax0 - q.x1);
    const double dy = std::max(q.y0 - ay1, ay0 - q.y1);
    return std::max(std::max(dx, dy), 0.0);
}
// Twice the signed area a piece adds to its contour's: its chord from the
// origin, and an arc's segment.
inline double TwiceAreaPart(const CheckPiece& q)
{
    // sin(sweep) from the end directions.
    return q.arc ? Cross(q.a, q.b) + q.r * q.r * (q.sweep - Cross(q.u0, q.u1)) : Cross(q.a, q.b);
}

struct GridSlot {
    std::int64_t key;
    int start, count;
};

// The cells a piece's box covers.
struct CellRange {
    std::int64_t c0, c1, r0, r1;
};

// The memory of a grid, kept by its owner from one grid to the next: a
// check of a long contour faulted in megabytes of fresh pages each time.
struct GridStorage {
    std::vector<GridSlot> slots;                // size a power of two
    std::vector<int> items;
    std::vector<int> wide;                      // pieces over too many cells
    std::vector<std::uint8_t> isWide;
    std::vector<CellRange> ranges;
    std::vector<std::uint32_t> entrySlots;      // each cell of each piece's slot, in order
    std::vector<std::uint32_t> seen;
    std::uint32_t stamp = 0;
};

// Pieces by grid cell, the cells in an open-addressed hash table: a lookup
// costs one probe or a few.
class PieceGrid {
public:
    // Cells at least `minCell` wide: a query that reaches that far looks
    // at four cells or fewer around a point.
    PieceGrid(const std::vector<CheckPiece>& pieces, double minCell, GridStorage& storage);
    // Calls visit(index) once for every piece whose box comes within
    // `reach` of the box; visit returns false to stop.
    template <class Visit> bool Near(double x0, double y0, double x1, double y1, double reach, Visit&& visit);

private:
    static constexpr std::int64_t kEmpty = INT64_MIN;
    std::int64_t Column(double x) const;
    std::int64_t Row(double y) const;
    size_t Find(std::int64_t key) const;

    const std::vector<CheckPiece>& m_pieces;
    GridStorage& m_s;
    double m_x0 = 0.0, m_y0 = 0.0, m_cell = 1.0;
    std::int64_t m_columns = 1, m_rows = 1;
};

inline std::int64_t PieceGrid::Column(double x) const
{
    return static_cast<std::int64_t>(std::floor(std::clamp((x - m_x0) / m_cell, -1e9, 1e9)));
}

inline std::int64_t PieceGrid::Row(double y) const
{
    return static_cast<std::int64_t>(std::floor(std::clamp((y - m_y0) / m_cell, -1e9, 1e9)));
}

template <class Visit> bool PieceGrid::Near(double x0, double y0, double x1, double y1, double reach, Visit&& visit)
{
    if (++m_s.stamp == 0) {
        std::fill(m_s.seen.begin(), m_s.seen.end(), 0u);
        m_s.stamp = 1;
    }
    auto take = [&](int k) {
        std::uint32_t& seen = m_s.seen[static_cast<size_t>(k)];
        if (seen == m_s.stamp)
            return true;
        seen = m_s.stamp;
        if (BoxGap(x0, y0, x1, y1, m_pieces[static_cast<size_t>(k)]) > reach)
            return true;
        return visit(k);
    };
    for (const int k : m_s.wide)
        if (!take(k))
            return false;
    if (m_pieces.empty())
        return true;
    const std::int64_t c0 = std::max<std::int64_t>(Column(x0 - reach), 0);
    const std::int64_t c1 = std::min(Column(x1 + reach), m_columns - 1);
    const std::int64_t r0 = std::max<std::int64_t>(Row(y0 - reach), 0);
    const std::int64_t r1 = std::min(Row(y1 + reach), m_rows - 1);
    for (std::int64_t r = r0; r <= r1; ++r) {
        for (std::int64_t c = c0; c <= c1; ++c) {
            const GridSlot& slot = m_s.slots[Find(r * m_columns + c)];
            for (int i = 0; i < slot.count; ++i)
                if (!take(m_s.items[static_cast<size_t>(slot.start + i)]))
                    return false;
        }
    }
    return true;
}
