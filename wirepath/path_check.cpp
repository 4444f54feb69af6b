// The rules of the path check on one compensated contour. The reference is
// the contour before compensation; each of its elements is due at its own
// distance (a variable taper gives every element its own), and where two
// elements meet either distance is due.
//
//      reference  ──────────V
//                           │╲   a point of the contour beside V is due
//      contour    ──────────┼─M  within the miter M of a convex corner

#include "wirepath/path_check.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "wirepath/check_segments.h"
#include "wirepath/check_reference.h"

namespace {

constexpr double kJointExact = 1e-6;        // mm: ends this close are one point
constexpr double kSampleStep = 0.25;        // mm between sampled points of an element
constexpr int kMaxSamples = 256;
constexpr double kTouch = 1e-7;             // mm: contour pieces this close touch
constexpr std::uint8_t kRoleDieMark = 0x50; // 'P', a contour element of a multi-pass path

bool ContourRole(std::uint8_t role)
{
    return role == 0 || role == kRoleDieMark;
}

// Points taken along a piece: its start and every kSampleStep after it (its
// end is the next piece's start; the last piece of an open chain adds it).
int Samples(const CheckPiece& q)
{
    // ceil without the library call
    const double k = std::min(q.Length() / kSampleStep, static_cast<double>(kMaxSamples));
    const int n = static_cast<int>(k);
    return std::max(n < k ? n + 1 : n, 1);
}

int LastSample(int n, bool lastOfOpen)
{
    return lastOfOpen ? n : n - 1;
}

PathCheckResult Fault(PathFault f, int element, const x_Vector& where, double measured, double intended)
{
    PathCheckResult r;
    r.fault = f;
    r.element = element;
    r.where = where;
    r.measured = measured;
    r.intended = intended;
    return r;
}

// The box of a reference piece grown by the distance it is due at less the
// rule: a contour piece whose box keeps out of it keeps away from the piece.
struct GrownBox {
    double x0, y0, x1, y1;
};

// Storage kept from one check to the next on each thread (the path
// worker's): a contour of 10,000 elements takes some megabytes, which fresh
// pages made as slow as the check itself.
struct CheckScratch {
    std::vector<CheckPiece> pieces;
    Reference ref;
    GridStorage grids[4];
    std::vector<CheckPiece> chunks;
    std::vector<int> candidates;
    std::vector<int> nearRef;
    std::vector<GrownBox> grown;
    std::vector<int> order;
    std::vector<std::uint8_t> advancing;
};
thread_local CheckScratch t_scratch;


// Intermediate values of one contour check.
struct ContourWork {
    explicit ContourWork(const std::vector<CheckPiece>& contour) : pieces(contour) {}
    const x_TrailData* list = nullptr;
    int count = 0;
    int extraFrom = 0;
    bool closed = false;
    const std::vector<CheckPiece>& pieces;  // the contour's elements with geometry
    Reference& ref = t_scratch.ref;
};

// A grid built on its first use: the contour's and the corners' grids
// serve only the points their neighbours did not.
class LazyGrid {
public:
    LazyGrid(const std::vector<CheckPiece>& pieces, double reach, GridStorage& storage)
        : m_pieces(pieces), m_reach(reach), m_storage(storage)
    {
    }
    PieceGrid* operator->()
    {
        if (!m_grid)
            m_grid.emplace(m_pieces, m_reach, m_storage);
        return &*m_grid;
    }

private:
    const std::vector<CheckPiece>& m_pieces;
    double m_reach;
    GridStorage& m_storage;
    std::optional<PieceGrid> m_grid;
};

constexpr size_t kChunk = 8;               // pieces of a run boxed together

// Appends the boxes of runs of kChunk consecutive boxes (anything with
// x0, y0, x1, y1), as pieces for a grid whose element is the run's first.
template <class Box> void AddRunBoxes(const std::vector<Box>& boxes, std::vector<CheckPiece>& chunks)
{
    for (size_t i = 0; i < boxes.size(); i += kChunk) {
        CheckPiece& box = chunks.emplace_back();
        box.x0 = boxes[i].x0, box.y0 = boxes[i].y0, box.x1 = boxes[i].x1, box.y1 = boxes[i].y1;
        for (size_t k = i + 1; k < std::min(i + kChunk, boxes.size()); ++k) {
            box.x0 = std::min(box.x0, boxes[k].x0);
            box.y0 = std::min(box.y0, boxes[k].y0);
            box.x1 = std::max(box.x1, boxes[k].x1);
            box.y1 = std::max(box.y1, boxes[k].y1);
        }
        box.element = static_cast<int>(i);
    }
}

// Whether the pieces of run [from, to) that do not follow each other keep
// apart by their advance along one direction: when every piece moves on
// along it all the way (an arc turning by less than half a turn), two
// pieces with one between them lie at least that one's advance apart,
// less the gaps of the joints.
bool AdvancingRun(const std::vector<CheckPiece>& pieces, const std::vector<int>& order, size_t from, size_t to)
{
    const x_Vector chord = pieces[to - 1].b - pieces[from].a;
    const double length = Norm(chord);
    if (!(length > 0.0))
        return false;
    const x_Vector d = chord / length;
    double advance = 1e300, gaps = 0.0;
    for (size_t i = from; i < to; ++i) {
        const CheckPiece& q = pieces[i];
        if (order[i] < 0)
            return false;
        // An arc's tangent turns monotonically: both ends ahead, all ahead.
        if (q.arc ? !(std::fabs(q.sweep) < kPi && Dot(q.Tangent(0.0), d) > 0.0 && Dot(q.Tangent(1.0), d) > 0.0)
                  : !(Dot(q.u0, d) > 0.0))
            return false;
        advance = std::min(advance, Dot(q.b - q.a, d));
        if (i + 1 < to)
            gaps += Dist(q.b, pieces[i + 1].a);
    }
    return advance - gaps > 2.0 * kTouch;
}

// A contour piece too near reference piece j, outside its corners where
// the offset changes side; samples the piece (such corners are rare).
bool NearOutsideFlips(const Reference& ref, size_t j, const CheckPiece& e, double& d)
{
    const int n = Samples(e);
    for (int s = 0; s <= n; ++s) {
        const x_Vector p = e.At(static_cast<double>(s) / n);
        if (InFlip(ref, j, p))
            continue;
        NearestAt at;
        d = PointPieceDistance(p, ref.pieces[j], &at);
        if (d < DueLow(ref, static_cast<int>(j), at) - kRule)
            return true;
    }
    return false;
}

// Whether contour piece e keeps its distance from reference piece j (their
// boxes tried by the caller). Two lines' chord gap is their distance.
bool KeepsAway(const ContourWork& w, const CheckPiece& e, int j, double& measured)
{
    const CheckPiece& q = w.ref.pieces[static_cast<size_t>(j)];
    const double due = w.ref.due[static_cast<size_t>(j)];
    const double least = due - kRule;
    if (!(least > 0.0) || CarrierGapAtLeast(e, q, least) || ChordGapAtLeast(e, q, least))
        return true;
    const double d = PieceDistance(e, q);
    if (d >= due - kRule)
        return true;
    // Nearest at a corner whose other piece is due nearer.
    if (std::fabs(PointPieceDistance(q.a, e) - d) <= 1e-9 && d >= DueLow(w.ref, j, kAtStart) - kRule)
        return true;
    if (std::fabs(PointPieceDistance(q.b, e) - d) <= 1e-9 && d >= DueLow(w.ref, j, kAtEnd) - kRule)
        return true;
    measured = d;
    const size_t jj = static_cast<size_t>(j);
    return (w.ref.flipStart[jj] >= 0.0 || w.ref.flipEnd[jj] >= 0.0) && !NearOutsideFlips(w.ref, jj, e, measured);
}

// Pairs of pieces of the contour that do not follow each other keep apart
// (the over-cut run over the start and pieces shorter than the touch
// distance, which only join their neighbours, left out), and with a
// reference each piece of the contour keeps its distance from it. Runs of
// pieces are boxed, the contour's and the reference's in one grid: a run
// of the contour looks up the runs near it once, and a piece tries the
// pieces of a run only when their box comes near it.
class CrossingAndNear {
public:
    explicit CrossingAndNear(ContourWork& w, bool withReference);
    // True on a crossing; a piece too near is kept in `nearFault` (a
    // crossing is reported before it).
    bool Run(PathCheckResult& nearFault);

private:
    void NearRun(size_t c, PathCheckResult& nearFault);
    bool Apart(size_t k, size_t o) const;

    ContourWork& m_w;
    std::vector<int>& m_order = t_scratch.order;
    std::vector<CheckPiece>& m_chunks = t_scratch.chunks;
    std::vector<GrownBox>& m_grown = t_scratch.grown;
    std::vector<int>& m_nearRuns = t_scratch.candidates;
    std::vector<int>& m_nearRef = t_scratch.nearRef;
    size_t m_contourChunks = 0;
    int m_ordered = 0;                  // pieces in the crossing rule
    bool m_reference;
};

CrossingAndNear::CrossingAndNear(ContourWork& w, bool withReference) : m_w(w), m_reference(withReference)
{
    const size_t n = w.pieces.size();
    m_order.assign(n, -1);
    for (size_t k = 0; k < n; ++k)
        if (w.pieces[k].element < w.extraFrom && w.pieces[k].length >= kTouch)
            m_order[k] = m_ordered++;
    m_chunks.clear();
    AddRunBoxes(w.pieces, m_chunks);
    m_contourChunks = m_chunks.size();
    if (!m_reference)
        return;
    const std::vector<CheckPiece>& ref = w.ref.pieces;
    m_grown.resize(ref.size());
    for (size_t j = 0; j < ref.size(); ++j) {
        const CheckPiece& q = ref[j];
        // A piece due at no distance (or none to speak of) keeps away from
        // all: its own box serves.
        const double least = w.ref.due[j] - kRule;
        const double g = least > 0.0 ? least : 0.0;
        m_grown[j] = {q.x0 - g, q.y0 - g, q.x1 + g, q.y1 + g};
    }
    AddRunBoxes(m_grown, m_chunks);
}

bool CrossingAndNear::Apart(size_t k, size_t o) const
{
    const int d = std::abs(m_order[o] - m_order[k]);
    if (m_order[o] < 0 || d <= 1 || (m_w.closed && d == m_ordered - 1))
        return true;
    const CheckPiece& e = m_w.pieces[k];
    return BoxGap(e.x0, e.y0, e.x1, e.y1, m_w.pieces[o]) > kTouch || PieceDistance(e, m_w.pieces[o]) >= kTouch;
}

// The pieces of contour run c against the reference runs near it.
void CrossingAndNear::NearRun(size_t c, PathCheckResult& nearFault)
{
    const size_t n = m_w.pieces.size(), m = m_w.ref.pieces.size();
    for (size_t k = c * kChunk; k < std::min((c + 1) * kChunk, n); ++k) {
        const CheckPiece& e = m_w.pieces[k];
        for (const int r : m_nearRef) {
            const CheckPiece& run = m_chunks[static_cast<size_t>(r)];
            if (e.x1 <= run.x0 || e.x0 >= run.x1 || e.y1 <= run.y0 || e.y0 >= run.y1)
                continue;
            const size_t first = static_cast<size_t>(run.element);
            for (size_t j = first; j < std::min(first + kChunk, m); ++j) {
                const GrownBox& g = m_grown[j];
                if (e.x1 <= g.x0 || e.x0 >= g.x1 || e.y1 <= g.y0 || e.y0 >= g.y1)
                    continue;
                double measured = 0.0;
                if (!KeepsAway(m_w, e, static_cast<int>(j), measured)) {
                    nearFault = Fault(kCheckTooNear, e.element, e.At(0.5), measured, m_w.ref.due[j]);
                    return;
                }
            }
        }
    }
}

bool CrossingAndNear::Run(PathCheckResult& nearFault)
{
    const bool crossing = m_ordered >= 3;
    if (!crossing && !m_reference)
        return false;
    PieceGrid grid(m_chunks, kTouch, t_scratch.grids[3]);
    const size_t n = m_w.pieces.size(), runs = m_contourChunks;
    // Runs of two chunks that advance: their pairs need no test.
    std::vector<std::uint8_t>& advancing = t_scratch.advancing;
    advancing.resize(runs);
    for (size_t c = 0; crossing && c < runs; ++c)
        advancing[c] = AdvancingRun(m_w.pieces, m_order, c * kChunk, std::min((c + 2) * kChunk, n)) ? 1 : 0;
    bool nearDone = !m_reference;
    for (size_t c = 0; c < runs; ++c) {
        m_nearRuns.clear();
        m_nearRef.clear();
        const CheckPiece& box = m_chunks[c];
        grid.Near(box.x0, box.y0, box.x1, box.y1, kTouch, [&](int o) {
            const size_t u = static_cast<size_t>(o);
            if (u >= runs)
                m_nearRef.push_back(o);
            else if (u >= c && !(advancing[c] != 0 && u <= c + 1))
                m_nearRuns.push_back(o);
            return true;
        });
        if (!nearDone) {
            NearRun(c, nearFault);
            nearDone = !nearFault.Ok();
        }
        if (!crossing)
            continue;
        if (nearDone && m_nearRuns.empty())
            continue;
        for (size_t k = c * kChunk; k < std::min((c + 1) * kChunk, n); ++k) {
            if (m_order[k] < 0)
                continue;
            const CheckPiece& e = m_w.pieces[k];
            for (const int o : m_nearRuns) {
                const CheckPiece& other = m_chunks[static_cast<size_t>(o)];
                if (BoxGap(e.x0, e.y0, e.x1, e.y1, other) > kTouch)
                    continue;
                const size_t first = static_cast<size_t>(other.element);
                for (size_t q = std::max(first, k + 1); q < std::min(first + kChunk, n); ++q)
                    if (!Apart(k, q))
                        return true;
            }
        }
    }
    return false;
}

PathCheckResult ClosingFault(const ContourWork& w)
{
    if (w.closed) {
        const x_Vector s = w.list[0].StartPoint(), e = w.list[w.extraFrom - 1].EndPoint();
        const double gap = Dist(s, e);
        if (!(gap <= kJointExact))
            return Fault(kCheckClosingOpen, w.extraFrom - 1, e, gap, 0.0);
    }
    return {};
}

// Pieces next to the one that served the last point are tried first: a
// contour and its reference run side by side.
template <class Test> bool WitnessNear(int& last, int count, bool closed, Test&& test)
{
    for (const int step : {0, 1, -1, 2}) {
        int k = last + step;
        if (closed)
            k = k < 0 ? k + count : (k >= count ? k - count : k);
        if (k >= 0 && k < count && test(k)) {
            last = k;
            return true;
        }
    }
    return false;
}

bool WithinDue(const ContourWork& w, int j, const x_Vector& p)
{
    NearestAt at;
    const double d = PointPieceDistance(p, w.ref.pieces[static_cast<size_t>(j)], &at);
    return d <= DueHigh(w.ref, j, at) + kRule;
}

// A point of the contour farther from the reference than due: how far,
// and the due there, for the report.
PathCheckResult FarFault(ContourWork& w, LazyGrid& refGrid, const CheckPiece& e, const x_Vector& p)
{
    double nearest = 1e300, due = 0.0;
    refGrid->Near(p.x, p.y, p.x, p.y, w.ref.maxDue + kRule, [&](int j) {
        const double d = PointPieceDistance(p, w.ref.pieces[static_cast<size_t>(j)]);
        if (d < nearest) {
            nearest = d;
            due = w.ref.due[static_cast<size_t>(j)];
        }
        return true;
    });
    return Fault(kCheckTooFar, e.element, p, nearest, due);
}

// Every sampled point of the contour within its offset of the reference,
// or in the miter of a convex corner.
PathCheckResult CheckFar(ContourWork& w, LazyGrid& refGrid, LazyGrid& zoneGrid)
{
    const double reach = w.ref.maxDue + kRule;
    const int refCount = static_cast<int>(w.ref.pieces.size());
    int witness = 0;
    for (size_t i = 0; i < w.pieces.size(); ++i) {
        const CheckPiece& e = w.pieces[i];
        const int n = Samples(e);
        for (int s = 0, last = LastSample(n, !w.closed && i + 1 == w.pieces.size()); s <= last; ++s) {
            const x_Vector p = e.At(static_cast<double>(s) / n);
            bool ok = WitnessNear(witness, refCount, w.closed, [&](int j) { return WithinDue(w, j, p); });
            if (!ok)
                refGrid->Near(p.x, p.y, p.x, p.y, reach, [&](int j) {
                    ok = WithinDue(w, j, p);
                    if (ok)
                        witness = j;
                    return !ok;
                });
            if (!ok)
                zoneGrid->Near(p.x, p.y, p.x, p.y, 0.0, [&](int z) {
                    ok = InZone(w.ref.zones[static_cast<size_t>(z)], p);
                    return !ok;
                });
            if (!ok)
                return FarFault(w, refGrid, e, p);
        }
    }
    return {};
}

// Whether a point lies nearer to the reference than its offset allows:
// the offset of the contour cannot pass there. (Without a margin of the
// rule's size: at a concave corner under an offset of 0.001 the points
// beside it are due, and barely nearer.)
bool Shadowed(ContourWork& w, LazyGrid& refGrid, const x_Vector& o)
{
    bool shadowed = false;
    refGrid->Near(o.x, o.y, o.x, o.y, w.ref.maxDue, [&](int j) {
        NearestAt at;
        const double d = PointPieceDistance(o, w.ref.pieces[static_cast<size_t>(j)], &at);
        shadowed = d < DueLow(w.ref, j, at) - kShadowSlack;
        return !shadowed;
    });
    return shadowed;
}

// Whether a point lies in the miter of a convex corner beyond the circle
// of the offset about it: a miter contour may pass outside it there.
bool BeyondCorner(ContourWork& w, LazyGrid& zoneGrid, const x_Vector& o)
{
    bool beyond = false;
    zoneGrid->Near(o.x, o.y, o.x, o.y, 0.0, [&](int k) {
        const CornerZone& z = w.ref.zones[static_cast<size_t>(k)];
        beyond = InZone(z, o) && Dist(o, z.v) > z.due + kShadowSlack;
        return !beyond;
    });
    return beyond;
}

// Each sampled point of the reference, moved by its offset, lies on the
// contour, unless a nearer part of the reference keeps the offset away,
// or the point lies where a convex corner's miter passes beyond it.
PathCheckResult CheckCovered(ContourWork& w, LazyGrid& refGrid, LazyGrid& contourGrid, LazyGrid& zoneGrid)
{
    const int count = static_cast<int>(w.pieces.size());
    int witness = 0;
    auto onContour = [&](int k, const x_Vector& o) {
        return PointPieceDistance(o, w.pieces[static_cast<size_t>(k)]) <= kRule;
    };
    for (size_t j = 0; j < w.ref.pieces.size(); ++j) {
        const CheckPiece& q = w.ref.pieces[j];
        const int n = Samples(q);
        // Both ends of every piece: where it meets the next one at a corner
        // the two offset points differ.
        for (int s = 0, last = w.ref.smoothEnd[j] != 0 ? n - 1 : n; s <= last; ++s) {
            const double t = static_cast<double>(s) / n;
            x_Vector p, tangent;
            q.PointAndTangent(t, p, tangent);
            if (InFlip(w.ref, j, p))
                continue;
            const x_Vector o = p + Normal(tangent, w.ref.side[j]) * w.ref.due[j];
            bool hit = WitnessNear(witness, count, w.closed, [&](int k) { return onContour(k, o); });
            if (!hit)
                contourGrid->Near(o.x, o.y, o.x, o.y, kRule, [&](int k) {
                    hit = onContour(k, o);
                    if (hit)
                        witness = k;
                    return !hit;
                });
            if (!hit && !Shadowed(w, refGrid, o) && !BeyondCorner(w, zoneGrid, o))
                return Fault(kCheckUncovered, q.element, p, 0.0, w.ref.due[j]);
        }
    }
    return {};
}

} // namespace

PathCheckResult CheckJoints(const x_TrailDataArray& list)
{
    const x_TrailData* previous = nullptr;
    for (int i = 0; i < list.GetSize(); ++i) {
        const x_TrailData& e = list[i];
        if (e.kind > 3)
            continue;
        if (previous != nullptr) {
            const x_Vector end = previous->EndPoint(), start = e.StartPoint();
            const double gap = Dist(end, start);
            if (!(gap <= kJointExact))
                return Fault(kCheckJointOpen, i, start, gap, 0.0);
        }
        previous = &e;
    }
    return {};
}

PathCheckResult CheckContour(const x_TrailData* list, int count, int extraFrom, const x_TrailDataArray& reference,
                             const SurfaceIntent& intent, bool closed)
{
    std::vector<CheckPiece>& pieces = t_scratch.pieces;
    pieces.clear();
    pieces.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        if (ContourRole(list[i].role))
            AddPiece(pieces, list[i], x_Vector(0.0, 0.0), i);
    return CheckContourPieces(list, pieces, count, extraFrom, reference, intent, closed, false);
}

PathCheckResult CheckContourPieces(const x_TrailData* list, const std::vector<CheckPiece>& pieces, int count,
                                   int extraFrom, const x_TrailDataArray& reference, const SurfaceIntent& intent,
                                   bool closed, bool sameReference)
{
    ContourWork w(pieces);
    w.list = list;
    w.count = count;
    w.extraFrom = std::clamp(extraFrom, 0, count);
    w.closed = closed;
    if (w.pieces.empty() || w.extraFrom == 0)
        return Fault(kCheckEmpty, -1, x_Vector(), 0.0, 0.0);
    PathCheckResult r = ClosingFault(w);
    if (!r.Ok())
        return r;
    if (intent.set) {
        if (!sameReference)
            BuildReferencePieces(w.ref, reference, intent.shift);
        SetReferenceDues(w.ref, reference, intent, closed);
    }
    const bool rules = intent.set && !w.ref.pieces.empty();
    if (CrossingAndNear(w, rules).Run(r))
        return Fault(kCheckCrossing, -1, x_Vector(), 0.0, 0.0);
    if (!intent.set)
        return {};
    if (!rules)
        return Fault(kCheckEmpty, -1, x_Vector(), 0.0, 0.0);
    const double reach = w.ref.maxDue + kRule;
    LazyGrid refGrid(w.ref.pieces, reach, t_scratch.grids[0]);
    LazyGrid contourGrid(w.pieces, reach, t_scratch.grids[1]), zoneGrid(w.ref.zoneBoxes, reach, t_scratch.grids[2]);
    if (r.Ok())
        r = CheckCovered(w, refGrid, contourGrid, zoneGrid);
    if (r.Ok())
        r = CheckFar(w, refGrid, zoneGrid);
    return r;
}

// Twice the signed area: chords by the shoelace, arcs by their segments.
double TwiceArea(const x_TrailData* list, int count)
{
    double sum = 0.0;
    for (int i = 0; i < count; ++i) {
        CheckPiece q;
        if (MakePiece(list[i], x_Vector(0.0, 0.0), q))
            sum += TwiceAreaPart(q);
    }
    return sum;
}

bool SameOrientation(const x_TrailData* a, int countA, const x_TrailData* b, int countB)
{
    const double sa = TwiceArea(a, countA), sb = TwiceArea(b, countB);
    return (sa > 0.0 && sb > 0.0) || (sa < 0.0 && sb < 0.0);
}
