#pragma once

// A uniform grid over the boxes of the drawing's units, so that the batch
// run finds the units at a point (lead-line ends, chain ends) without a
// walk of the whole drawing per question. Built once per run over the
// units that exist when the run starts; units appended later (split
// pieces, paths) are not in it and callers look at them directly.

#include <cstdint>
#include <vector>

#include "geometry/CUnitDocument.h"
#include "geometry/x_Vector.h"

class UnitGridIndex {
public:
    // Boxes of units [0, count) of list; deleted units are left out.
    void Build(const CUnitArray& list, int count);
    // Drawing-list indices, ascending, of the indexed units whose box
    // (grown by the point tolerance) holds p.
    void Near(const x_Vector& p, std::vector<int>& out) const;
    int Count() const { return m_count; }
    // Units appended from here on are looked at one by one; the ones
    // between Count() and it (paths the run made, pieces of figures done)
    // never continue a chain.
    int Tail() const { return m_tail; }
    void SetTail(int first) { m_tail = first > m_count ? first : m_count; }

private:
    int CellOf(double v, double origin, int cells) const;
    bool Cells(const x_Vector& min, const x_Vector& max, int& x0, int& x1, int& y0, int& y1) const;

    int m_count = 0;
    int m_tail = 0;
    double m_cell = 1.0;
    x_Vector m_min;
    int m_nx = 0, m_ny = 0;
    std::vector<int> m_cellStart;       // per cell, its first entry in m_entries; one more at the end
    std::vector<int> m_entries;         // unit indices, ascending within a cell
    std::vector<int> m_everywhere;      // boxes too large or unknown: always asked
};
