#include "wirepath/check_reference.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kSameVertex = 0.01;        // mm: reference ends this close form a corner

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

bool SmoothJoint(const Reference& ref, int i, int j)
{
    const CheckPiece& a = ref.pieces[static_cast<size_t>(i)];
    const CheckPiece& b = ref.pieces[static_cast<size_t>(j)];
    const x_Vector u = a.Tangent(1.0), v = b.Tangent(0.0);
    return ref.side[static_cast<size_t>(i)] == ref.side[static_cast<size_t>(j)]
           && ref.due[static_cast<size_t>(i)] == ref.due[static_cast<size_t>(j)]
           && Dist(a.b, b.a) < 1e-9 && std::fabs(Cross(u, v)) < 1e-9 && Dot(u, v) > 0.0;
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
            reach = std::min(reach, Dist(m[k], a.b));
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
    // cos of half the turn, from its cosine.
    const double cosHalf = std::sqrt(std::max(0.0, (1.0 + Dot(z.in, z.out)) / 2.0));
    const double tangentReach = std::max(da, db) / std::max(cosHalf, 1e-6);
    // A miter within the rule of the circle about the corner needs no zone
    // (most corners of a flattened curve); arcs' carriers may reach farther.
    const bool arcs = a.arc || b.arc;
    if ((!arcs && tangentReach - std::max(da, db) < kRule / 2) || std::fabs(turn) < 1e-9)
        return;
    const x_Vector bisector = Normal(z.in, side) + Normal(z.out, side);
    const x_Vector guess = z.v + bisector * (tangentReach / std::max(Norm(bisector), 1e-12));
    z.reach = tangentReach;
    z.due = std::max(da, db);
    CheckPiece ca, cb;
    if (OffsetCarrier(a, da, side, ca) && OffsetCarrier(b, db, side, cb)) {
        x_Vector m[2];
        const int n = CarrierMeetings(ca, cb, m);
        double best = -1.0;
        for (int k = 0; k < n; ++k)
            if (best < 0.0 || Dist(m[k], guess) < best) {
                best = Dist(m[k], guess);
                z.reach = std::max(Dist(m[k], z.v), std::max(da, db));
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

} // namespace

void Reference::ClearDues()
{
    for (auto* v : {&due, &flipStart, &flipEnd})
        v->clear();
    for (auto* v : {&side, &previous, &next})
        v->clear();
    zones.clear();
    zoneBoxes.clear();
    smoothEnd.clear();
    maxDue = 0.0;
}

void BuildReferencePieces(Reference& ref, const x_TrailDataArray& list, const x_Vector& shift)
{
    ref.pieces.clear();
    ref.pieces.reserve(static_cast<size_t>(list.GetSize()));
    for (int i = 0; i < list.GetSize(); ++i)
        AddPiece(ref.pieces, list[i], shift, i);
}

void SetReferenceDues(Reference& ref, const x_TrailDataArray& list, const SurfaceIntent& intent, bool closed)
{
    ref.ClearDues();
    const size_t m = ref.pieces.size();
    ref.due.reserve(m);
    ref.side.reserve(m);
    for (const CheckPiece& q : ref.pieces) {
        const double o = ElementOffset(intent, list[q.element]);
        ref.due.push_back(std::fabs(o));
        ref.side.push_back(o >= 0.0 ? intent.side : 1 - intent.side);
        ref.maxDue = std::max(ref.maxDue, std::fabs(o));
    }
    ref.previous.assign(m, -1);
    ref.next.assign(m, -1);
    ref.flipStart.assign(m, -1.0);
    ref.flipEnd.assign(m, -1.0);
    ref.smoothEnd.assign(m, 0);
    const int n = static_cast<int>(m);
    for (int i = 0; i < n; ++i) {
        const int j = i + 1 < n ? i + 1 : (closed && n > 1 ? 0 : -1);
        if (j < 0 || Dist(ref.pieces[static_cast<size_t>(i)].b, ref.pieces[static_cast<size_t>(j)].a) > kSameVertex)
            continue;
        ref.next[static_cast<size_t>(i)] = j;
        ref.previous[static_cast<size_t>(j)] = i;
        ref.smoothEnd[static_cast<size_t>(i)] = SmoothJoint(ref, i, j) ? 1 : 0;
        AddZone(ref, i, j);
    }
}

// The distances due at a point of piece j: its own, or at a corner either
// of the two pieces' (the lower as the least, the higher as the most).


bool InZone(const CornerZone& z, const x_Vector& p)
{
    const x_Vector d = p - z.v;
    return Dot(d, z.in) >= -kRule && Dot(d, z.out) <= kRule && Norm(d) <= z.reach + kRule;
}

// Whether a point lies within a corner where the offset changes side.

