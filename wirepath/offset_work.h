#pragma once

// Working storage of one OffsetTrail call, shared by its pass files.

#include <cmath>
#include <cstdint>
#include <vector>

#include "geometry/x_TrailData.h"

// One run-table record per element of W: the run the element belongs to.
struct x_TrailListPN {
    std::int32_t group = 0;
    std::uint8_t kind = 0;
    std::int32_t count = 1;
    std::int32_t first = 0;
    std::int32_t last = 0;
};

// A boundary between two consecutive runs: previous run [f1, l1], current
// run [f2, l2]; at is the walk index (n for the wrap junction).
struct Junction {
    int at = 0;
    int f1 = 0, l1 = 0, f2 = 0, l2 = 0;
};

// The input of an offset, kept in step with the offset elements: the
// caller's list itself while every element of it was taken and no corner
// arc was inserted, else a list of its own. A copy of every input used to
// cost as much as a tenth of the offset, and in a fresh process the faults
// of its pages.
class OffsetInput {
public:
    void View(const x_TrailData* elements) { m_elements = elements; }
    // Takes the list (leaving the one given empty) and reads from it.
    void Adopt(std::vector<x_TrailData>& own)
    {
        m_own.swap(own);
        m_elements = m_own.data();
    }
    const x_TrailData& operator[](int k) const { return m_elements[k]; }
    const x_TrailData* data() const { return m_elements; }

private:
    const x_TrailData* m_elements = nullptr;
    std::vector<x_TrailData> m_own;
};

struct OffsetWork {
    std::vector<x_TrailData> w;         // the offset elements
    OffsetInput in;                     // the input, kept in step with w
    std::vector<x_TrailListPN> runs;
    bool closed = false;
    int side = 0;
    double offset = 0.0;
    int cornerCounter = -10;

    int Count() const { return static_cast<int>(w.size()); }
    int Wrap(int i) const { return i % Count(); }
};

// Inline: every pass asks these of every element it passes.
// Degenerate: a line (kind 0 or 1; kind 0 is a line here as everywhere
// else in the engine) with start exactly equal to end, or an arc of radius
// below 1e-10.
inline bool IsDegenerate(const x_TrailData& e)
{
    if (e.IsLine())
        return e.start == e.end;
    return !(e.radius >= 1e-10);
}
inline bool IsUsable(const x_TrailData& e)
{
    return !IsDegenerate(e) && e.joinMark != 4;
}
// Both coordinates within 0.001.
inline bool Meets(const x_Vector& a, const x_Vector& b)
{
    return std::fabs(a.x - b.x) < 0.001 && std::fabs(a.y - b.y) < 0.001;
}
// Line of length zero at p, joinMark 4.
void MakePlaceholder(x_TrailData& e, const x_Vector& p);
// Elements strictly between i and j (wrap) become placeholders at p.
void CollapseBetween(OffsetWork& wk, int i, int j, const x_Vector& p);
// Runs the visitor at every junction in walk order; false when cancelled.
// The visitor returns false to stop the whole walk.
template <class Visit> bool ForEachJunction(OffsetWork& wk, Visit&& visit);

// The passes after the offset of single elements.
bool OverlapSearchAtJunctions(OffsetWork& wk);
bool JoinAtJunctions(OffsetWork& wk, bool& failed);
bool CutLoopsAtJunctions(OffsetWork& wk);
bool RejoinCutRuns(OffsetWork& wk);
bool FinalJunctionPass(OffsetWork& wk);

#include "wirepath/offset_work_walk.h"
