#include "wirepath/trail_offset.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <unordered_map>
#include <vector>

#include "geometry/intersect.h"
#include "geometry/plane_geometry.h"
#include "wirepath/offset_join.h"
#include "wirepath/offset_work.h"
#include "wirepath/trail_metrics.h"

namespace {

constexpr double kVanishedRadius = 1e-10;

x_LineData Segment(const x_Vector& p, const x_Vector& q)
{
    x_LineData s;
    s.p1 = p;
    s.p2 = q;
    s.used = 1;
    return s;
}

// Two segments meeting within both (the exact line-line intersection).
bool SegmentsMeet(const x_Vector& a1, const x_Vector& a2, const x_Vector& b1, const x_Vector& b2, x_Vector& at)
{
    const x_VectorList hits = IntersectLineLine(Segment(a1, a2), Segment(b1, b2), 1);
    for (const x_Vector& p : hits.points) {
        if (PointOnSegment(a1, a2, p) && PointOnSegment(b1, b2, p)) {
            at = p;
            return true;
        }
    }
    return false;
}

double Normalized(double a)
{
    if (a > kTwoPi)
        a -= kTwoPi;
    if (a < 0.0)
        a += kTwoPi;
    return a;
}

// Offsets one element; running is the end of the previous offset element.
void OffsetElement(x_TrailData& e, double d, int side, x_Vector& running)
{
    if (e.IsLine()) {
        const double a = Normalized(x_Vector::AngleTo(e.start, e.end) + (side != 0 ? kPi / 2 : -kPi / 2));
        const x_Vector shift(d * std::cos(a), d * std::sin(a));
        e.start = e.start + shift;
        e.end = e.end + shift;
        running = e.end;
        return;
    }
    const double r = ((e.direction != 0) == (side != 0)) ? e.radius + d : e.radius - d;
    if (r < kVanishedRadius) {
        MakePlaceholder(e, running);
        return;
    }
    e.radius = r;
    running = e.centre + x_Vector::FromPolar(r, e.endAngle);
}

// A run whose own ends meet (a closed spline alone) has its first and last
// element side by side at the closing point, and the tests below always
// hit there: such a run collapsed to a point. It is never taken as inverted.
bool InvertedRunPoint(const OffsetWork& wk, int i, int j, x_Vector& at)
{
    const x_TrailData& wi = wk.w[i];
    const x_TrailData& wj = wk.w[j];
    const x_TrailData& ii = wk.in[i];
    const x_TrailData& ij = wk.in[j];
    if (Meets(ii.StartPoint(), ij.EndPoint()))
        return false;
    if (SegmentsMeet(wi.start, wi.end, wj.start, wj.end, at))
        return true;
    if (SegmentsMeet(ii.StartPoint(), wi.StartPoint(), ij.EndPoint(), wj.EndPoint(), at))
        return true;
    return SegmentsMeet(ii.EndPoint(), wi.EndPoint(), ij.StartPoint(), wj.StartPoint(), at);
}

void JoinArcRun(OffsetWork& wk, int i, int j)
{
    for (int k = i + 1; k <= j; ++k) {
        if (wk.w[k - 1].kind != 2 && wk.w[k].kind != 3)
            continue;
        x_TrailData a = wk.w[k - 1], b = wk.w[k];
        x_Vector p;
        if (JoinOffsetElements(a, b, p, 0) == kJoined) {
            wk.w[k - 1] = a;
            wk.w[k] = b;
        }
    }
}

// The segments of a run's elements in a uniform grid, so that the loop
// test of each element looks only at earlier elements near it (it used to
// test every earlier element: quadratic in a run of thousands of pieces).
// An element whose ends move is entered again; candidates are deduplicated.
class RunGrid {
public:
    RunGrid(const OffsetWork& wk, int i, int j) : m_wk(wk), m_seen(static_cast<size_t>(j - i + 1), -1), m_first(i)
    {
        double sum = 0.0;
        for (int k = i; k <= j; ++k)
            sum += x_Vector::Distance(wk.w[k].start, wk.w[k].end);
        m_cell = std::max(2.0 * sum / (j - i + 1), 1e-6);
    }
    void Enter(int u)
    {
        const x_TrailData& e = m_wk.w[u];
        std::int64_t x0, y0, x1, y1;
        Cells(e.start, e.end, x0, y0, x1, y1);
        if ((x1 - x0 + 1) * (y1 - y0 + 1) > kMaxCells) {
            m_wide.push_back(u);
            return;
        }
        for (std::int64_t y = y0; y <= y1; ++y)
            for (std::int64_t x = x0; x <= x1; ++x)
                m_cells[Key(x, y)].push_back(u);
    }
    // Elements entered whose boxes may meet the segment a-b, ascending.
    std::vector<int> Near(const x_Vector& a, const x_Vector& b, int query)
    {
        std::vector<int> out;
        auto take = [&](int u) {
            int& seen = m_seen[static_cast<size_t>(u - m_first)];
            if (seen != query) {
                seen = query;
                out.push_back(u);
            }
        };
        std::int64_t x0, y0, x1, y1;
        Cells(a, b, x0, y0, x1, y1);
        if ((x1 - x0 + 1) * (y1 - y0 + 1) > kMaxCells) {
            for (const auto& cell : m_cells)
                for (const int u : cell.second)
                    take(u);
        } else {
            for (std::int64_t y = y0; y <= y1; ++y)
                for (std::int64_t x = x0; x <= x1; ++x) {
                    const auto found = m_cells.find(Key(x, y));
                    if (found != m_cells.end())
                        for (const int u : found->second)
                            take(u);
                }
        }
        for (const int u : m_wide)
            take(u);
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    static constexpr std::int64_t kMaxCells = 4096;
    static std::int64_t Key(std::int64_t x, std::int64_t y) { return (x << 32) ^ (y & 0xffffffff); }
    void Cells(const x_Vector& a, const x_Vector& b, std::int64_t& x0, std::int64_t& y0, std::int64_t& x1,
               std::int64_t& y1) const
    {
        // A margin of one cell covers the tolerance of the segment test.
        x0 = static_cast<std::int64_t>(std::floor(std::min(a.x, b.x) / m_cell)) - 1;
        y0 = static_cast<std::int64_t>(std::floor(std::min(a.y, b.y) / m_cell)) - 1;
        x1 = static_cast<std::int64_t>(std::floor(std::max(a.x, b.x) / m_cell)) + 1;
        y1 = static_cast<std::int64_t>(std::floor(std::max(a.y, b.y) / m_cell)) + 1;
    }

    const OffsetWork& m_wk;
    std::unordered_map<std::int64_t, std::vector<int>> m_cells;
    std::vector<int> m_wide;
    std::vector<int> m_seen;
    int m_first;
    double m_cell = 1.0;
};

// A run that starts and ends at one point (a closed spline or ellipse alone
// in a closed contour) runs from the lead-in point round to it, and its last
// pieces meet its first ones there.
bool ClosesOnItself(const OffsetWork& wk, int i, int j)
{
    return wk.closed && i == 0 && j == wk.Count() - 1 && Meets(wk.in[i].StartPoint(), wk.in[j].EndPoint());
}

// Where the current element crosses an earlier one of the run, the part
// between becomes one point. True on any crossing. In a run that closes on
// itself a crossing with fewer pieces beyond it, at both ends, than between
// is its closing joint, not a loop (cutting there collapsed the contour).
bool CutRunLoops(OffsetWork& wk, RunGrid& grid, int i, int k, int closingEnd)
{
    bool hit = false;
    const x_TrailData& original = wk.w[k];
    for (const int u : grid.Near(original.start, original.end, k)) {
        if (u < i || u > k - 2)
            continue;
        if (closingEnd >= 0 && (closingEnd - k) + (u - i) < k - u - 1)
            continue;
        x_TrailData& cur = wk.w[k];
        x_TrailData& wu = wk.w[u];
        if (cur.start == cur.end || wu.start == wu.end)
            continue;
        x_Vector p;
        if (!IntersectSegments(cur.start, cur.end, wu.start, wu.end, p))
            continue;
        for (int v = u + 1; v <= k - 1; ++v)
            wk.w[v].start = wk.w[v].end = p;
        wu.end = p;
        cur.start = p;
        hit = true;
    }
    return hit;
}

void RelinkLineRun(OffsetWork& wk, int i, int j)
{
    x_Vector r = wk.w[i].end;
    for (int k = i + 1; k < j; ++k) {
        x_TrailData& e = wk.w[k];
        e.start = r;
        if (e.joinMark == 4)
            e.end = e.start;
        else
            r = e.end;
    }
    r = wk.w[j].start;
    wk.w[j - 1].end = r;
    for (int k = i; k <= j; ++k)
        wk.w[k].joinMark = 1;
}

void JoinLineRun(OffsetWork& wk, int i, int j, bool closing)
{
    RunGrid grid(wk, i, j);
    int previous = i;
    for (int k = i + 1; k <= j; ++k) {
        if (k - 2 >= i)
            grid.Enter(k - 2);
        if (CutRunLoops(wk, grid, i, k, closing ? j : -1)) {
            previous = k;
            continue;
        }
        x_TrailData a = wk.w[previous], b = wk.w[k];
        x_Vector p;
        if (JoinOffsetElements(a, b, p, 0) == kJoined) {
            wk.w[previous] = a;
            wk.w[k] = b;
            // An element already entered may have moved its end outside its box.
            if (previous <= k - 2)
                grid.Enter(previous);
            previous = k;
        } else {
            wk.w[k].joinMark = 4;           // skipped: the next joins past it
        }
    }
    RelinkLineRun(wk, i, j);
}

bool JoinOnCopies(OffsetWork& wk, int a, int b, std::uint8_t flag, x_Vector& p)
{
    x_TrailData ea = wk.w[a], eb = wk.w[b];
    if (JoinOffsetElements(ea, eb, p, flag) != kJoined)
        return false;
    wk.w[a] = ea;
    wk.w[b] = eb;
    return true;
}

// Ends within 0.001 that the join leaves apart (two arcs) meet where
// their carriers do, when that point is that near both.
void CloseExactly(OffsetWork& wk, int a, int b)
{
    x_TrailData& ea = wk.w[a];
    x_TrailData& eb = wk.w[b];
    if (!ea.IsArc() || !eb.IsArc() || ea.EndPoint() == eb.StartPoint())
        return;
    const x_VectorList hits = IntersectArcArc(ArcOf(ea), ArcOf(eb));
    for (const x_Vector& p : hits.points) {
        if (Meets(p, ea.EndPoint()) && Meets(p, eb.StartPoint())) {
            ea.endAngle = (p - ea.centre).Angle();
            eb.startAngle = (p - eb.centre).Angle();
            return;
        }
    }
}

// The closing joint of a run that closes on itself: where its last pieces
// cross its first ones the pieces beyond become points there; otherwise
// the last and the first usable piece are joined. (No junction pass sees
// this joint, and the contour was left open by a few micrometres, its first
// and last pieces crossing.)
void CloseRun(OffsetWork& wk, int i, int j)
{
    const x_Vector at = wk.in[i].StartPoint();
    const double reach = 4.0 * x_Vector::Distance(at, wk.w[i].StartPoint()) + 0.01;
    auto near = [&](int k) { return x_Vector::Distance(wk.w[k].StartPoint(), at) <= reach; };
    int tail = j, head = i;
    while (tail > i + 1 && near(tail))
        --tail;
    while (head < j - 1 && near(head + 1))
        ++head;
    x_Vector p;
    for (int k = j; k >= tail; --k) {
        for (int u = i; u <= head && u < k - 1; ++u) {
            if (!IsUsable(wk.w[k]) || !IsUsable(wk.w[u]) || !JoinOnCopies(wk, k, u, 1, p))
                continue;
            for (int v = k + 1; v <= j; ++v)
                MakePlaceholder(wk.w[v], p);
            for (int v = i; v < u; ++v)
                MakePlaceholder(wk.w[v], p);
            return;
        }
    }
    int last = j, first = i;
    while (last > i && !IsUsable(wk.w[last]))
        --last;
    while (first < last && !IsUsable(wk.w[first]))
        ++first;
    if (first < last && JoinOnCopies(wk, last, first, 0, p))
        CloseExactly(wk, last, first);
}

// A run of one source entity, after its elements were offset.
void RepairRun(OffsetWork& wk, int i, int j)
{
    for (int k = i; k <= j; ++k) {
        wk.runs[k].count = j - i + 1;
        wk.runs[k].first = i;
        wk.runs[k].last = j;
    }
    x_Vector at;
    if (wk.w[i].IsLine() && InvertedRunPoint(wk, i, j, at)) {
        wk.w[i].joinMark = wk.w[j].joinMark = 2;
        for (int k = i + 1; k < j; ++k)
            MakePlaceholder(wk.w[k], at);
        return;
    }
    for (int k = i; k <= j; ++k)
        wk.w[k].joinMark = 1;
    const bool closing = ClosesOnItself(wk, i, j);
    if (wk.w[i].IsArc())
        JoinArcRun(wk, i, j);
    else
        JoinLineRun(wk, i, j, closing);
    if (closing)
        CloseRun(wk, i, j);
}

bool OffsetEveryElement(OffsetWork& wk, const x_TrailDataArray& in, int mode, int negate, double thickness)
{
    const int n = in.GetSize();
    x_Vector running;
    std::int32_t previousGroup = -1;
    int runStart = -1;
    for (int w = 0; w < n; ++w) {
        if (PathRunCancelled())
            return false;
        x_TrailData e = in[w];
        if (e.kind > 3)
            continue;
        e.joinMark = 0;
        double d = wk.offset;
        if (mode == kOffsetVarTaper) {
            const double t = std::tan(e.taperAngle * kPi / 180.0) * thickness;
            d = negate != 0 ? wk.offset - t : t + wk.offset;
        }
        const int index = wk.Count();
        int first = -1, last = -1;
        if (index >= 1 && e.group == previousGroup) {
            if (runStart < 0)
                runStart = index - 1;
            if (w == n - 1) {
                first = runStart;
                last = index;
            }
        } else if (runStart >= 0) {
            first = runStart;
            last = index - 1;
            runStart = -1;
        }
        previousGroup = e.group;
        wk.runs.push_back({e.group, e.kind, 1, index, index});
        OffsetElement(e, d, wk.side, running);
        wk.w.push_back(e);
        if (first >= 0 && last > first)
            RepairRun(wk, first, last);
    }
    return true;
}

// Runs of one source entity whose pieces are short and whose ends nearly
// meet collapse to their first and last element.
void RemoveShortRuns(OffsetWork& wk)
{
    const int n = wk.Count();
    for (int i = 0; i < n; i = wk.runs[i].last + 1) {
        const int j = wk.runs[i].last;
        x_TrailData& wi = wk.w[i];
        if (wi.joinMark != 1 || !wi.IsLine() || wk.runs[i].count < 2)
            continue;
        x_TrailData& wj = wk.w[j];
        if (Meets(wi.EndPoint(), wj.StartPoint()))
            continue;
        if (x_Vector::Distance(wi.StartPoint(), wj.EndPoint()) >= 0.05)
            continue;
        double chords = 0.0;
        for (int k = i; k <= j; ++k)
            chords += x_Vector::Distance(wk.w[k].start, wk.w[k].end);
        if (chords >= 0.2)
            continue;
        x_TrailData a = wi, b = wj;
        x_Vector p;
        if (JoinOffsetElements(a, b, p, 0) == kJoined) {
            wi = a;
            wj = b;
            for (int k = i + 1; k < j; ++k)
                wk.w[k].start = wk.w[k].end = p;
        } else {
            wi.joinMark = wj.joinMark = 2;
            const x_Vector end = wi.EndPoint();
            for (int k = i + 1; k < j; ++k) {
                wk.w[k].start = wk.w[k].end = end;
                wk.w[k].joinMark = 2;
            }
        }
    }
}

bool FirstElementUsable(OffsetWork& wk)
{
    if (!IsDegenerate(wk.w[0]))
        return true;
    for (int i = 1; i < wk.Count(); ++i) {
        if (!IsDegenerate(wk.w[i])) {
            MakePlaceholder(wk.w[0], wk.w[i].StartPoint());
            return true;
        }
    }
    return false;
}

// A closed list of several elements left with fewer than two that have a
// length (a full circle alone is one): the final pass made points of all
// the others, since no part of the contour remains at this offset.
bool EnclosesNothing(const OffsetWork& wk)
{
    if (!wk.closed || wk.Count() < 2)
        return false;
    int kept = 0;
    for (const x_TrailData& e : wk.w)
        if (!IsDegenerate(e) && ++kept == 2)
            return false;
    return true;
}

// Ends within 0.001 that are not one point become one: a line's end moves
// (an arc's is fixed by its angle); of two arcs the later one's start turns
// to the earlier one's end. (Some joints were left micrometres apart.)
void CloseJoint(x_TrailData& previous, x_TrailData& next)
{
    const x_Vector end = previous.EndPoint();
    if (end == next.StartPoint())
        return;
    if (next.IsLine())
        next.start = end;
    else if (previous.IsLine())
        previous.end = next.StartPoint();
    else
        next.startAngle = (end - next.centre).Angle();
}

x_TrailData ConnectingLine(const x_TrailData& like, const x_Vector& from, const x_Vector& to)
{
    x_TrailData link = like;
    link.kind = 1;
    link.tag = 100;
    link.role = 0;
    link.attribute = 0;
    link.joinMark = 0;
    link.start = from;
    link.end = to;
    return link;
}

// The closing joint of a closed list: from the end of its last element to
// the start of its first one with a length (the points before that one
// stand there). It used to join the first element even when that was a
// point, which it moved to the last end, away from the element after it.
void CloseChain(x_TrailDataArray& out)
{
    const int n = out.GetSize();
    int first = 0;
    while (first < n && IsDegenerate(out[first]))
        ++first;
    if (first == n || first + 1 == n)
        return;
    const x_Vector end = out[n - 1].EndPoint(), start = out[first].StartPoint();
    if (!Meets(end, start))
        out.Add(ConnectingLine(out[first], end, start));
    else
        CloseJoint(out[n - 1], out[first]);
    // The join may have moved that start: the points stand on it.
    const x_Vector moved = out[first].StartPoint();
    for (int i = 0; i < first; ++i)
        out[i].start = out[i].end = moved;
}

// Degenerate elements become points at the running end; gaps get
// connecting lines. Written straight into the (empty) output: a list
// between them cost another copy of every record and, in a fresh
// process, the faults of its pages.
void ChainElements(const OffsetWork& wk, x_TrailDataArray& out)
{
    const int n = wk.Count();
    out.Reserve(n + 8);
    // Points in front stand where the first element with a length starts
    // (the final pass may have made the first element a point elsewhere).
    int first = 0;
    while (first < n && IsDegenerate(wk.w[first]))
        ++first;
    x_Vector r = first < n ? wk.w[first].StartPoint() : x_Vector();
    for (int i = 0; i < n; ++i) {
        x_TrailData e = wk.w[i];
        if (i < first) {
            e.kind = 1;
            e.start = e.end = r;
        } else if (i >= 1) {
            if (IsDegenerate(e)) {
                e.kind = 1;
                e.start = e.end = r;
            } else if (!Meets(r, e.StartPoint())) {
                out.Add(ConnectingLine(e, r, e.StartPoint()));
            } else {
                CloseJoint(out[out.GetSize() - 1], e);
            }
        }
        r = e.EndPoint();
        out.Add(e);
    }
    if (wk.closed)
        CloseChain(out);
}

// Stage 1 takes the elements of kinds 0 to 3 only: when it leaves one out,
// the input it keeps in step is a list of its own.
void TakeInput(OffsetWork& wk, const x_TrailDataArray& in)
{
    const bool all = std::all_of(in.begin(), in.end(), [](const x_TrailData& e) { return e.kind <= 3; });
    if (all) {
        wk.in.View(in.GetData());
        return;
    }
    std::vector<x_TrailData> taken;
    std::copy_if(in.begin(), in.end(), std::back_inserter(taken), [](const x_TrailData& e) { return e.kind <= 3; });
    wk.in.Adopt(taken);
}

// Lists of up to this many elements stay with the thread between calls.
constexpr size_t kKeptElements = 20000;

// The working lists of the last call on this thread. The path worker
// offsets contour after contour; lists freed at every return let the
// allocator hand their pages back to the system, and each offset faulted
// them in again (a 1,000-element offset took three times as long).
struct KeptLists {
    std::vector<x_TrailData> w;
    std::vector<x_TrailListPN> runs;
};
thread_local KeptLists t_kept;

// Lends the kept lists to a call's work and takes them back, emptied, when
// the call ends on any path; larger lists are freed as before.
class LentLists {
public:
    explicit LentLists(OffsetWork& wk) : m_wk(wk) { Swap(); }
    ~LentLists()
    {
        Swap();
        t_kept.w.clear();
        t_kept.runs.clear();
        if (t_kept.w.capacity() > kKeptElements)
            t_kept = KeptLists();
    }
    LentLists(const LentLists&) = delete;
    LentLists& operator=(const LentLists&) = delete;

private:
    void Swap()
    {
        m_wk.w.swap(t_kept.w);
        m_wk.runs.swap(t_kept.runs);
    }
    OffsetWork& m_wk;
};

} // namespace

void MakePlaceholder(x_TrailData& e, const x_Vector& p)
{
    e.kind = 1;
    e.joinMark = 4;
    e.start = e.end = p;
}

void CollapseBetween(OffsetWork& wk, int i, int j, const x_Vector& p)
{
    const int n = wk.Count();
    if (j <= i)
        j += n;
    for (int k = i + 1; k < j; ++k)
        MakePlaceholder(wk.w[k % n], p);
}

int OffsetTrail(int mode, int negate, const x_TrailDataArray& in, x_TrailDataArray& out, std::uint8_t closed,
                int side, double offset, double thickness)
{
    out.RemoveAll();
    if (in.IsEmpty())
        return kOffsetFailed;
    OffsetWork wk;
    const LentLists lent(wk);
    wk.closed = closed != 0;
    wk.side = side;
    wk.offset = offset;
    wk.w.reserve(static_cast<size_t>(in.GetSize()) + 16);
    wk.runs.reserve(wk.w.capacity());
    TakeInput(wk, in);
    if (!OffsetEveryElement(wk, in, mode, negate, thickness) || wk.w.empty())
        return kOffsetFailed;
    RemoveShortRuns(wk);
    bool cornerFailed = false;
    if (!OverlapSearchAtJunctions(wk) || !JoinAtJunctions(wk, cornerFailed) || cornerFailed
        || !CutLoopsAtJunctions(wk) || !RejoinCutRuns(wk))
        return kOffsetFailed;
    if (!FirstElementUsable(wk) || !FinalJunctionPass(wk) || PathRunCancelled() || EnclosesNothing(wk))
        return kOffsetFailed;
    ChainElements(wk, out);
    return out.IsEmpty() ? kOffsetFailed : kOffsetOk;
}

void CloseSmallJoints(x_TrailDataArray& list, bool closed)
{
    const int n = list.GetSize();
    for (int i = 1; i < n + (closed ? 1 : 0) && n > 1; ++i) {
        x_TrailData& previous = list[i - 1];
        x_TrailData& next = list[i % n];
        if (previous.kind <= 3 && next.kind <= 3 && Meets(previous.EndPoint(), next.StartPoint()))
            CloseJoint(previous, next);
    }
}

void RenumberTrailGroups(x_TrailData* list, int count)
{
    std::int32_t counter = -1, previous = 0;
    for (int i = 0; i < count; ++i) {
        const std::int32_t old = list[i].group;
        if (i == 0 || old != previous)
            ++counter;
        previous = old;
        list[i].group = counter;
    }
}

void RenumberTrailGroups(x_TrailDataArray& list)
{
    RenumberTrailGroups(list.GetData(), list.GetSize());
}

void RemoveZeroLengthLines(x_TrailDataArray& list)
{
    x_TrailDataArray kept;
    for (const x_TrailData& e : list)
        if (!(e.IsLine() && e.start == e.end))
            kept.Add(e);
    list.Copy(kept);
}

void RemoveZeroLengthPairs(x_TrailDataArray& a, x_TrailDataArray& b)
{
    x_TrailDataArray keptA, keptB;
    const int n = std::min(a.GetSize(), b.GetSize());
    for (int i = 0; i < n; ++i) {
        const bool zeroA = a[i].IsLine() && a[i].start == a[i].end;
        const bool zeroB = b[i].IsLine() && b[i].start == b[i].end;
        if (zeroA && zeroB)
            continue;
        keptA.Add(a[i]);
        keptB.Add(b[i]);
    }
    a.Copy(keptA);
    b.Copy(keptB);
}
