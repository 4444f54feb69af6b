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
#include <vector>

#include "wirepath/check_pieces.h"
#include "wirepath/trail_offset.h"

namespace {

constexpr double kRule = 0.001;             // mm: how far a contour may stray from its offset
constexpr double kJointExact = 1e-6;        // mm: ends this close are one point
constexpr double kSampleStep = 0.05;        // mm between sampled points of an element
constexpr int kMaxSamples = 256;
constexpr double kSameVertex = 0.01;        // mm: reference ends this close form a corner
constexpr double kShadowSlack = 1e-7;       // mm: rounding of distances computed two ways
constexpr std::uint8_t kRoleDieMark = 0x50; // 'P', a contour element of a multi-pass path

bool ContourRole(std::uint8_t role)
{
    return role == 0 || role == kRoleDieMark;
}

double Cross(const x_Vector& u, const x_Vector& v)
{
    return u.x * v.y - u.y * v.x;
}

double Dot(const x_Vector& u, const x_Vector& v)
{
    return u.x * v.x + u.y * v.y;
}

// The unit normal towards a side (1 left, 0 right) of a direction.
x_Vector Normal(const x_Vector& t, int side)
{
    return side == 1 ? x_Vector(-t.y, t.x) : x_Vector(t.y, -t.x);
}

int Samples(const CheckPiece& q)
{
    return std::clamp(static_cast<int>(std::ceil(q.Length() / kSampleStep)), 1, kMaxSamples);
}

// A convex corner of the reference: points of the contour in its wedge
// may lie as far from V as the miter of the two offset carriers.
struct CornerZone {
    x_Vector v, in, out;                // the corner and the tangents there
    double due = 0.0;                   // the larger offset of its two pieces
    double reach = 0.0;
};

// The reference pieces with their due distances and sides.
struct Reference {
    std::vector<CheckPiece> pieces;
    std::vector<double> due;            // |offset| of each piece
    std::vector<int> side;              // the side each piece's offset lies on
    std::vector<int> previous, next;    // the piece meeting it at its start, its end; -1 none
    // Where a variable taper puts two neighbours on opposite sides, the
    // contour crosses the reference near their corner: the radius about
    // the corner at a piece's start and end where the rules wait (-1 none).
    std::vector<double> flipStart, flipEnd;
    std::vector<CornerZone> zones;
    std::vector<CheckPiece> zoneBoxes;  // the zones' boxes, for a grid
    double maxDue = 0.0;
};

double ElementOffset(const SurfaceIntent& intent, const x_TrailData& e)
{
    if (!intent.perElementTaper)
        return intent.offset;
    const double t = std::tan(e.taperAngle * kPi / 180.0) * intent.thickness;
    return intent.negate ? intent.offset - t : intent.offset + t;
}

// The carrier of a piece moved by d to a side: a line, or a circle of the
// radius the offset gives (none when it vanishes).
bool OffsetCarrier(const CheckPiece& q, double d, int side, CheckPiece& out)
{
    out = q;
    if (!q.arc) {
        const x_Vector n = Normal(q.Tangent(0.0), side);
        out.a = q.a + n * d;
        out.b = q.b + n * d;
        return true;
    }
    // Left of a counter-clockwise arc is its centre.
    const bool towardCentre = (q.sweep > 0.0) == (side == 1);
    out.r = towardCentre ? q.r - d : q.r + d;
    return out.r > 0.0;
}

// Two neighbours offset to opposite sides: their offset carriers meet at
// M across the reference, and nothing near the corner is due at either
// distance.
void AddFlip(Reference& ref, int i, int j)
{
    const CheckPiece& a = ref.pieces[static_cast<size_t>(i)];
    const CheckPiece& b = ref.pieces[static_cast<size_t>(j)];
    const double da = ref.due[static_cast<size_t>(i)], db = ref.due[static_cast<size_t>(j)];
    double reach = 2.0 * std::max(da, db);
    CheckPiece ca, cb;
    x_Vector m[2];
    if (OffsetCarrier(a, da, ref.side[static_cast<size_t>(i)], ca)
        && OffsetCarrier(b, db, ref.side[static_cast<size_t>(j)], cb)) {
        const int n = CarrierMeetings(ca, cb, m);
        for (int k = 0; k < n; ++k)
            reach = std::min(reach, x_Vector::Distance(m[k], a.b));
        if (n > 0)
            reach = std::max(reach, std::max(da, db));
    }
    ref.flipEnd[static_cast<size_t>(i)] = reach + kRule;
    ref.flipStart[static_cast<size_t>(j)] = reach + kRule;
}

void AddZone(Reference& ref, int i, int j)
{
    const CheckPiece& a = ref.pieces[static_cast<size_t>(i)];
    const CheckPiece& b = ref.pieces[static_cast<size_t>(j)];
    const int side = ref.side[static_cast<size_t>(i)];
    if (side != ref.side[static_cast<size_t>(j)]) {
        AddFlip(ref, i, j);
        return;
    }
    CornerZone z;
    z.v = a.b;
    z.in = a.Tangent(1.0);
    z.out = b.Tangent(0.0);
    const double turn = Cross(z.in, z.out);
    if (!(side == 1 ? turn < 0.0 : turn > 0.0))
        return;
    const double da = ref.due[static_cast<size_t>(i)], db = ref.due[static_cast<size_t>(j)];
    // The miter of the tangent lines, then the carriers' meeting nearest it.
    const double half = std::acos(std::clamp(Dot(z.in, z.out), -1.0, 1.0)) / 2.0;
    const double tangentReach = std::max(da, db) / std::max(std::cos(half), 1e-6);
    const x_Vector bisector = Normal(z.in, side) + Normal(z.out, side);
    const x_Vector guess = z.v + bisector * (tangentReach / std::max(bisector.Length(), 1e-12));
    z.reach = tangentReach;
    z.due = std::max(da, db);
    CheckPiece ca, cb;
    if (OffsetCarrier(a, da, side, ca) && OffsetCarrier(b, db, side, cb)) {
        x_Vector m[2];
        const int n = CarrierMeetings(ca, cb, m);
        double best = -1.0;
        for (int k = 0; k < n; ++k)
            if (best < 0.0 || x_Vector::Distance(m[k], guess) < best) {
                best = x_Vector::Distance(m[k], guess);
                z.reach = std::max(x_Vector::Distance(m[k], z.v), std::max(da, db));
            }
    }
    CheckPiece box;
    box.a = z.v;
    box.x0 = z.v.x - z.reach - kRule;
    box.x1 = z.v.x + z.reach + kRule;
    box.y0 = z.v.y - z.reach - kRule;
    box.y1 = z.v.y + z.reach + kRule;
    ref.zones.push_back(z);
    ref.zoneBoxes.push_back(box);
}

Reference BuildReference(const x_TrailDataArray& list, const SurfaceIntent& intent, bool closed)
{
    Reference ref;
    for (int i = 0; i < list.GetSize(); ++i) {
        CheckPiece q;
        if (!MakePiece(list[i], intent.shift, q))
            continue;
        q.element = i;
        const double o = ElementOffset(intent, list[i]);
        ref.pieces.push_back(q);
        ref.due.push_back(std::fabs(o));
        ref.side.push_back(o >= 0.0 ? intent.side : 1 - intent.side);
        ref.maxDue = std::max(ref.maxDue, std::fabs(o));
    }
    const int m = static_cast<int>(ref.pieces.size());
    ref.previous.assign(static_cast<size_t>(m), -1);
    ref.next.assign(static_cast<size_t>(m), -1);
    ref.flipStart.assign(static_cast<size_t>(m), -1.0);
    ref.flipEnd.assign(static_cast<size_t>(m), -1.0);
    for (int i = 0; i < m; ++i) {
        const int j = i + 1 < m ? i + 1 : (closed && m > 1 ? 0 : -1);
        if (j < 0 || x_Vector::Distance(ref.pieces[static_cast<size_t>(i)].b, ref.pieces[static_cast<size_t>(j)].a)
                         > kSameVertex)
            continue;
        ref.next[static_cast<size_t>(i)] = j;
        ref.previous[static_cast<size_t>(j)] = i;
        AddZone(ref, i, j);
    }
    return ref;
}

// The distances due at a point of piece j: its own, or at a corner either
// of the two pieces' (the lower as the least, the higher as the most).
double DueLow(const Reference& ref, int j, NearestAt at)
{
    double d = ref.due[static_cast<size_t>(j)];
    const int k = at == kAtStart ? ref.previous[static_cast<size_t>(j)]
                                 : (at == kAtEnd ? ref.next[static_cast<size_t>(j)] : -1);
    return k >= 0 ? std::min(d, ref.due[static_cast<size_t>(k)]) : d;
}

double DueHigh(const Reference& ref, int j, NearestAt at)
{
    double d = ref.due[static_cast<size_t>(j)];
    const int k = at == kAtStart ? ref.previous[static_cast<size_t>(j)]
                                 : (at == kAtEnd ? ref.next[static_cast<size_t>(j)] : -1);
    return k >= 0 ? std::max(d, ref.due[static_cast<size_t>(k)]) : d;
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

// Intermediate values of one contour check.
struct ContourWork {
    const x_TrailData* list = nullptr;
    int count = 0;
    int extraFrom = 0;
    bool closed = false;
    std::vector<CheckPiece> pieces;     // the contour's elements with geometry
    Reference ref;
};

PathCheckResult CheckClosingAndCrossing(const ContourWork& w)
{
    std::vector<x_TrailData> contour;
    for (int i = 0; i < w.extraFrom; ++i)
        if (ContourRole(w.list[i].role))
            contour.push_back(w.list[i]);
    if (w.closed) {
        const x_Vector s = w.list[0].StartPoint(), e = w.list[w.extraFrom - 1].EndPoint();
        const double gap = x_Vector::Distance(s, e);
        if (!(gap <= kJointExact))
            return Fault(kCheckClosingOpen, w.extraFrom - 1, e, gap, 0.0);
    }
    if (TrailCrossesItself(contour.data(), static_cast<int>(contour.size()), w.closed))
        return Fault(kCheckCrossing, -1, x_Vector(), 0.0, 0.0);
    return {};
}

bool InZone(const CornerZone& z, const x_Vector& p)
{
    const x_Vector d = p - z.v;
    return Dot(d, z.in) >= -kRule && Dot(d, z.out) <= kRule && d.Length() <= z.reach + kRule;
}

// Whether a point lies within a corner where the offset changes side.
bool InFlip(const Reference& ref, size_t j, const x_Vector& p)
{
    const CheckPiece& q = ref.pieces[j];
    return (ref.flipStart[j] >= 0.0 && x_Vector::Distance(p, q.a) <= ref.flipStart[j])
           || (ref.flipEnd[j] >= 0.0 && x_Vector::Distance(p, q.b) <= ref.flipEnd[j]);
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

// No point of the contour nearer to the reference than its offset.
PathCheckResult CheckNear(ContourWork& w, PieceGrid& refGrid)
{
    PathCheckResult bad;
    for (const CheckPiece& e : w.pieces) {
        refGrid.Near(e.x0, e.y0, e.x1, e.y1, w.ref.maxDue, [&](int j) {
            const CheckPiece& q = w.ref.pieces[static_cast<size_t>(j)];
            const double due = w.ref.due[static_cast<size_t>(j)];
            if (BoxGap(e.x0, e.y0, e.x1, e.y1, q) >= due - kRule)
                return true;
            const double d = PieceDistance(e, q);
            if (d >= due - kRule)
                return true;
            // Nearest at a corner whose other piece is due nearer.
            if (std::fabs(PointPieceDistance(q.a, e) - d) <= 1e-9 && d >= DueLow(w.ref, j, kAtStart) - kRule)
                return true;
            if (std::fabs(PointPieceDistance(q.b, e) - d) <= 1e-9 && d >= DueLow(w.ref, j, kAtEnd) - kRule)
                return true;
            double sampled = d;
            const size_t jj = static_cast<size_t>(j);
            if ((w.ref.flipStart[jj] >= 0.0 || w.ref.flipEnd[jj] >= 0.0) && !NearOutsideFlips(w.ref, jj, e, sampled))
                return true;
            bad = Fault(kCheckTooNear, e.element, e.At(0.5), sampled, due);
            return false;
        });
        if (!bad.Ok())
            return bad;
    }
    return bad;
}


// Every sampled point of the contour within its offset of the reference,
// or in the miter of a convex corner.
PathCheckResult CheckFar(ContourWork& w, PieceGrid& refGrid, PieceGrid& zoneGrid)
{
    const double reach = w.ref.maxDue + kRule;
    for (const CheckPiece& e : w.pieces) {
        const int n = Samples(e);
        for (int s = 0; s <= n; ++s) {
            const x_Vector p = e.At(static_cast<double>(s) / n);
            bool ok = false;
            double nearest = 1e300, due = 0.0;
            refGrid.Near(p.x, p.y, p.x, p.y, reach, [&](int j) {
                NearestAt at;
                const double d = PointPieceDistance(p, w.ref.pieces[static_cast<size_t>(j)], &at);
                if (d < nearest) {
                    nearest = d;
                    due = w.ref.due[static_cast<size_t>(j)];
                }
                ok = d <= DueHigh(w.ref, j, at) + kRule;
                return !ok;
            });
            if (ok)
                continue;
            zoneGrid.Near(p.x, p.y, p.x, p.y, 0.0, [&](int z) {
                ok = InZone(w.ref.zones[static_cast<size_t>(z)], p);
                return !ok;
            });
            if (!ok)
                return Fault(kCheckTooFar, e.element, p, nearest, due);
        }
    }
    return {};
}

// Whether a point lies nearer to the reference than its offset allows:
// the offset of the contour cannot pass there. (Without a margin of the
// rule's size: at a concave corner under an offset of 0.001 the points
// beside it are due, and barely nearer.)
bool Shadowed(ContourWork& w, PieceGrid& refGrid, const x_Vector& o)
{
    bool shadowed = false;
    refGrid.Near(o.x, o.y, o.x, o.y, w.ref.maxDue, [&](int j) {
        NearestAt at;
        const double d = PointPieceDistance(o, w.ref.pieces[static_cast<size_t>(j)], &at);
        shadowed = d < DueLow(w.ref, j, at) - kShadowSlack;
        return !shadowed;
    });
    return shadowed;
}

// Whether a point lies in the miter of a convex corner beyond the circle
// of the offset about it: a miter contour may pass outside it there.
bool BeyondCorner(ContourWork& w, PieceGrid& zoneGrid, const x_Vector& o)
{
    bool beyond = false;
    zoneGrid.Near(o.x, o.y, o.x, o.y, 0.0, [&](int k) {
        const CornerZone& z = w.ref.zones[static_cast<size_t>(k)];
        beyond = InZone(z, o) && x_Vector::Distance(o, z.v) > z.due + kShadowSlack;
        return !beyond;
    });
    return beyond;
}

// Each sampled point of the reference, moved by its offset, lies on the
// contour, unless a nearer part of the reference keeps the offset away,
// or the point lies where a convex corner's miter passes beyond it.
PathCheckResult CheckCovered(ContourWork& w, PieceGrid& refGrid, PieceGrid& contourGrid, PieceGrid& zoneGrid)
{
    for (size_t j = 0; j < w.ref.pieces.size(); ++j) {
        const CheckPiece& q = w.ref.pieces[j];
        const int n = Samples(q);
        for (int s = 0; s <= n; ++s) {
            const double t = static_cast<double>(s) / n;
            if (InFlip(w.ref, j, q.At(t)))
                continue;
            const x_Vector o = q.At(t) + Normal(q.Tangent(t), w.ref.side[j]) * w.ref.due[j];
            bool hit = false;
            contourGrid.Near(o.x, o.y, o.x, o.y, kRule, [&](int k) {
                hit = PointPieceDistance(o, w.pieces[static_cast<size_t>(k)]) <= kRule;
                return !hit;
            });
            if (!hit && !Shadowed(w, refGrid, o) && !BeyondCorner(w, zoneGrid, o))
                return Fault(kCheckUncovered, q.element, q.At(t), 0.0, w.ref.due[j]);
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
            const double gap = x_Vector::Distance(end, start);
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
    ContourWork w;
    w.list = list;
    w.count = count;
    w.extraFrom = std::clamp(extraFrom, 0, count);
    w.closed = closed;
    for (int i = 0; i < count; ++i) {
        CheckPiece q;
        if (ContourRole(list[i].role) && MakePiece(list[i], x_Vector(0.0, 0.0), q)) {
            q.element = i;
            w.pieces.push_back(q);
        }
    }
    if (w.pieces.empty() || w.extraFrom == 0)
        return Fault(kCheckEmpty, -1, x_Vector(), 0.0, 0.0);
    PathCheckResult r = CheckClosingAndCrossing(w);
    if (!r.Ok() || !intent.set)
        return r;
    w.ref = BuildReference(reference, intent, closed);
    if (w.ref.pieces.empty())
        return Fault(kCheckEmpty, -1, x_Vector(), 0.0, 0.0);
    PieceGrid refGrid(w.ref.pieces), contourGrid(w.pieces), zoneGrid(w.ref.zoneBoxes);
    r = CheckNear(w, refGrid);
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
        if (!MakePiece(list[i], x_Vector(0.0, 0.0), q))
            continue;
        sum += Cross(q.a, q.b);
        if (q.arc)
            sum += q.r * q.r * (q.sweep - std::sin(q.sweep));
    }
    return sum;
}

bool SameOrientation(const x_TrailData* a, int countA, const x_TrailData* b, int countB)
{
    const double sa = TwiceArea(a, countA), sb = TwiceArea(b, countB);
    return (sa > 0.0 && sb > 0.0) || (sa < 0.0 && sb < 0.0);
}
