#include "wirepath/chain_index.h"

#include <algorithm>
#include <cmath>

#include "geometry/CUnit.h"

namespace {

enum TypeId {
    kRectangle = 0, kLine = 1, kEllipse = 5, kEllipseArc = 6, kCircle = 7, kArc = 8, kPolyline = 9,
    kPolygon = 10, kSpline = 11,
};
// Grown by more than the 0.001 mm of the point tests, so that a point on a
// box edge is never missed by rounding.
constexpr double kPad = 0.01;
constexpr int kMaxCellsPerSide = 2048;
constexpr long kMaxCellsPerUnit = 256;

struct Box {
    x_Vector min, max;
};

void Grow(Box& b, const x_Vector& p)
{
    b.min = x_Vector::MinCorner(b.min, p);
    b.max = x_Vector::MaxCorner(b.max, p);
}

bool PointsBox(const CArray<x_Vector>& points, Box& b)
{
    if (points.IsEmpty())
        return false;
    b.min = b.max = points[0];
    for (const x_Vector& p : points)
        Grow(b, p);
    return true;
}

// A box that holds the whole unit; false when the type has none we trust.
bool UnitBox(CUnit& u, Box& b)
{
    switch (u.GetType()) {
    case kLine:
        b.min = b.max = u.geometry.line.p1;
        Grow(b, u.geometry.line.p2);
        return true;
    case kCircle:
    case kArc: {
        const x_Vector c = u.GetType() == kCircle ? u.geometry.circle.centre : u.geometry.arc.centre;
        const double r = u.GetType() == kCircle ? u.geometry.circle.radius : u.geometry.arc.radius;
        b.min = {c.x - r, c.y - r};
        b.max = {c.x + r, c.y + r};
        return true;
    }
    case kEllipse:
    case kEllipseArc: {
        const x_Vector c = u.geometry.ellipse.centre;
        const double a = u.geometry.ellipse.majorAxis.Length();
        b.min = {c.x - a, c.y - a};
        b.max = {c.x + a, c.y + a};
        return true;
    }
    case kSpline:
        if (u.flatPoints.GetSize() >= 2)
            return PointsBox(u.flatPoints, b);
        return false;
    case kRectangle:
    case kPolyline:
    case kPolygon:
        return PointsBox(u.nodes, b);
    default:
        return false;
    }
}

} // namespace

int UnitGridIndex::CellOf(double v, double origin, int cells) const
{
    const int c = static_cast<int>(std::floor((v - origin) / m_cell));
    return std::clamp(c, 0, cells - 1);
}

// Cells of a box; false when it would spread over too many of them.
bool UnitGridIndex::Cells(const x_Vector& min, const x_Vector& max, int& x0, int& x1, int& y0, int& y1) const
{
    x0 = CellOf(min.x - kPad, m_min.x, m_nx);
    x1 = CellOf(max.x + kPad, m_min.x, m_nx);
    y0 = CellOf(min.y - kPad, m_min.y, m_ny);
    y1 = CellOf(max.y + kPad, m_min.y, m_ny);
    return static_cast<long>(x1 - x0 + 1) * (y1 - y0 + 1) <= kMaxCellsPerUnit;
}

// Two passes over the boxes (count per cell, then fill): one flat array,
// the units of each cell in drawing order.
void UnitGridIndex::Build(const CUnitArray& list, int count)
{
    m_count = m_tail = count;
    m_cellStart.clear();
    m_entries.clear();
    m_everywhere.clear();
    std::vector<Box> boxes(count);
    std::vector<char> boxed(count, 0);
    Box all;
    bool any = false;
    for (int i = 0; i < count; ++i) {
        CUnit* u = list[i];
        if (u == nullptr || u->deleted)
            continue;
        if (!UnitBox(*u, boxes[i]) || !std::isfinite(boxes[i].min.x) || !std::isfinite(boxes[i].max.y)) {
            m_everywhere.push_back(i);
            continue;
        }
        boxed[i] = 1;
        if (!any)
            all = boxes[i];
        Grow(all, boxes[i].min);
        Grow(all, boxes[i].max);
        any = true;
    }
    if (!any) {
        m_nx = m_ny = 0;
        return;
    }
    const double w = all.max.x - all.min.x + 2 * kPad, h = all.max.y - all.min.y + 2 * kPad;
    // About one cell per unit, never so fine that a side passes the limit.
    m_cell = std::max({std::sqrt(w * h / std::max(count, 1)), w / kMaxCellsPerSide, h / kMaxCellsPerSide, 1e-3});
    m_min = {all.min.x - kPad, all.min.y - kPad};
    m_nx = std::max(1, static_cast<int>(std::ceil(w / m_cell)));
    m_ny = std::max(1, static_cast<int>(std::ceil(h / m_cell)));
    m_cellStart.assign(static_cast<size_t>(m_nx) * m_ny + 1, 0);
    int x0, x1, y0, y1;
    for (int i = 0; i < count; ++i) {
        if (!boxed[i])
            continue;
        if (!Cells(boxes[i].min, boxes[i].max, x0, x1, y0, y1)) {
            boxed[i] = 0;
            m_everywhere.push_back(i);
            continue;
        }
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                ++m_cellStart[static_cast<size_t>(y) * m_nx + x + 1];
    }
    for (size_t c = 1; c < m_cellStart.size(); ++c)
        m_cellStart[c] += m_cellStart[c - 1];
    m_entries.resize(m_cellStart.back());
    std::vector<int> next(m_cellStart.begin(), m_cellStart.end() - 1);
    for (int i = 0; i < count; ++i) {
        if (!boxed[i])
            continue;
        Cells(boxes[i].min, boxes[i].max, x0, x1, y0, y1);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                m_entries[next[static_cast<size_t>(y) * m_nx + x]++] = i;
    }
    std::sort(m_everywhere.begin(), m_everywhere.end());
}

void UnitGridIndex::Near(const x_Vector& p, std::vector<int>& out) const
{
    out.clear();
    int begin = 0, end = 0;
    if (m_nx > 0) {
        const double fx = (p.x - m_min.x) / m_cell, fy = (p.y - m_min.y) / m_cell;
        if (fx >= 0 && fy >= 0 && fx < m_nx && fy < m_ny) {
            const size_t c = static_cast<size_t>(fy) * m_nx + static_cast<size_t>(fx);
            begin = m_cellStart[c];
            end = m_cellStart[c + 1];
        }
    }
    out.resize(static_cast<size_t>(end - begin) + m_everywhere.size());
    std::merge(m_entries.begin() + begin, m_entries.begin() + end, m_everywhere.begin(), m_everywhere.end(),
               out.begin());
}
