#pragma once

// The geometry of the path check: elements as pieces with their span and
// box, exact distances between points and pieces and between two pieces,
// and a grid that finds the pieces near a box. Written apart from the
// offset's own intersection code, so that the check does not share its
// faults.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "geometry/x_TrailData.h"

// One line or arc; arcs run counter-clockwise from a0 by sweep when
// sweep > 0, clockwise when sweep < 0.
struct CheckPiece {
    bool arc = false;
    x_Vector a, b;                      // start and end point
    x_Vector c;                         // centre
    double r = 0.0;
    double a0 = 0.0, sweep = 0.0;
    double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;  // box
    int element = -1;                   // index in the list it came from

    double Length() const;
    x_Vector At(double t) const;        // t in [0, 1] along the piece
    x_Vector Tangent(double t) const;   // unit, direction of travel
};

// Pieces of this length or less carry no geometry.
constexpr double kPieceNoLength = 1e-9;

// False for elements without geometry (kind above 3, zero length).
bool MakePiece(const x_TrailData& e, const x_Vector& shift, CheckPiece& out);

// Where on a piece the nearest point lies.
enum NearestAt : int { kAtInside = 0, kAtStart = 1, kAtEnd = 2 };
double PointPieceDistance(const x_Vector& p, const CheckPiece& q, NearestAt* at = nullptr);
// The smallest distance between two pieces (0 when they meet).
double PieceDistance(const CheckPiece& p, const CheckPiece& q);
// The points where the carriers (whole line, whole circle) of two pieces
// meet: 0, 1 or 2.
int CarrierMeetings(const CheckPiece& p, const CheckPiece& q, x_Vector out[2]);
// The distance between two boxes (0 when they overlap).
double BoxGap(double ax0, double ay0, double ax1, double ay1, const CheckPiece& q);

// Pieces by grid cell: a sorted list of (cell, piece) and the distinct
// cells, so that a lookup is a binary search.
class PieceGrid {
public:
    explicit PieceGrid(const std::vector<CheckPiece>& pieces);
    // Calls visit(index) once for every piece whose box comes within
    // `reach` of the box; visit returns false to stop.
    template <class Visit> bool Near(double x0, double y0, double x1, double y1, double reach, Visit&& visit);

private:
    std::int64_t Column(double x) const;
    std::int64_t Row(double y) const;

    const std::vector<CheckPiece>& m_pieces;
    double m_x0 = 0.0, m_y0 = 0.0, m_cell = 1.0;
    std::int64_t m_columns = 1, m_rows = 1;
    std::vector<std::int64_t> m_keys;           // distinct cells, sorted
    std::vector<int> m_starts;                  // first item of each cell, and the end
    std::vector<int> m_items;
    std::vector<int> m_wide;                    // pieces over too many cells
    std::vector<std::uint32_t> m_seen;
    std::uint32_t m_stamp = 0;
};

template <class Visit> bool PieceGrid::Near(double x0, double y0, double x1, double y1, double reach, Visit&& visit)
{
    if (++m_stamp == 0) {
        std::fill(m_seen.begin(), m_seen.end(), 0u);
        m_stamp = 1;
    }
    auto take = [&](int k) {
        if (m_seen[static_cast<size_t>(k)] == m_stamp)
            return true;
        m_seen[static_cast<size_t>(k)] = m_stamp;
        const CheckPiece& q = m_pieces[static_cast<size_t>(k)];
        if (BoxGap(x0, y0, x1, y1, q) > reach)
            return true;
        return visit(k);
    };
    for (const int k : m_wide)
        if (!take(k))
            return false;
    const std::int64_t c0 = std::max<std::int64_t>(Column(x0 - reach), 0);
    const std::int64_t c1 = std::min(Column(x1 + reach), m_columns - 1);
    const std::int64_t r0 = std::max<std::int64_t>(Row(y0 - reach), 0);
    const std::int64_t r1 = std::min(Row(y1 + reach), m_rows - 1);
    if (c0 > c1 || r0 > r1)
        return true;
    if ((c1 - c0 + 1) * (r1 - r0 + 1) > static_cast<std::int64_t>(m_keys.size())) {
        for (size_t s = 0; s + 1 < m_starts.size(); ++s)
            for (int i = m_starts[s]; i < m_starts[s + 1]; ++i)
                if (!take(m_items[static_cast<size_t>(i)]))
                    return false;
        return true;
    }
    for (std::int64_t r = r0; r <= r1; ++r) {
        for (std::int64_t c = c0; c <= c1; ++c) {
            const std::int64_t key = r * m_columns + c;
            const auto it = std::lower_bound(m_keys.begin(), m_keys.end(), key);
            if (it == m_keys.end() || *it != key)
                continue;
            const size_t s = static_cast<size_t>(it - m_keys.begin());
            for (int i = m_starts[s]; i < m_starts[s + 1]; ++i)
                if (!take(m_items[static_cast<size_t>(i)]))
                    return false;
        }
    }
    return true;
}
