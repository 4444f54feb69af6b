// Transforms, copies, offsets and path preparation of the spline.
#include "geometry/CSplines.h"

#include <cmath>

#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "geometry/intersect.h"
#include "geometry/path_services.h"

namespace {

constexpr double kInvoluteEditStep = 0.1;
constexpr double kInvoluteSplitStep = 0.001;
constexpr double kCurveSplitStep = 0.01;
constexpr double kSplitTolerance = 0.001;
constexpr double kSameNode = 0.001;         // both coordinates, mm

bool NearSame(const x_Vector& a, const x_Vector& b)
{
    return std::fabs(a.x - b.x) < kSameNode && std::fabs(a.y - b.y) < kSameNode;
}

x_LineData LineThrough(const x_Vector& a, const x_Vector& b)
{
    x_LineData l;
    l.p1 = a;
    l.p2 = b;
    l.used = 1;
    return l;
}

} // namespace

// --- transforms: the result stays in keyPoints and the working record ---

void CSplines::RebuildAfterTransform()
{
    ComputeSampleStep();
    RebuildCurve(0);
}

void CSplines::Move(x_Vector d)
{
    edit->moveDelta = d;
    workGeometry.spline = geometry.spline;
    if (geometry.spline.kind == 1) {
        workGeometry.spline.baseCentre = geometry.spline.baseCentre + d;
        g_SplineStep = kInvoluteEditStep;
        BuildInvoluteCurve();
        return;
    }
    keyPoints.Copy(nodes);
    for (int i = 0; i < keyPoints.GetSize(); ++i)
        keyPoints[i] = keyPoints[i] + d;
    RebuildAfterTransform();
}

bool CSplines::Rotate(x_Vector centre, double angle)
{
    workGeometry.spline = geometry.spline;
    if (geometry.spline.kind == 1) {
        workGeometry.spline.baseCentre.RotateAbout(centre, angle);
        workGeometry.spline.phase += angle;
        g_SplineStep = kInvoluteEditStep;
        BuildInvoluteCurve();
        return true;
    }
    keyPoints.Copy(nodes);
    for (int i = 0; i < keyPoints.GetSize(); ++i)
        keyPoints[i].RotateAbout(centre, angle);
    RebuildAfterTransform();
    return true;
}

bool CSplines::Mirror(x_Vector a, x_Vector b)
{
    workGeometry.spline = geometry.spline;
    if (geometry.spline.kind == 1) {
        workGeometry.spline.phase += 2.0 * x_Vector::AngleTo(a, b);
        workGeometry.spline.baseCentre.MirrorAbout(a, b);
        g_SplineStep = kInvoluteEditStep;
        BuildInvoluteCurve();
        return true;
    }
    keyPoints.Copy(nodes);
    for (int i = 0; i < keyPoints.GetSize(); ++i)
        keyPoints[i].MirrorAbout(a, b);
    RebuildAfterTransform();
    return true;
}

bool CSplines::Scale(x_Vector base, x_Vector f)
{
    if (geometry.spline.kind == 1 || gearKind)
        return false;
    workGeometry.spline = geometry.spline;
    keyPoints.Copy(nodes);
    for (int i = 0; i < keyPoints.GetSize(); ++i)
        keyPoints[i].ScaleAbout(base, f.x, f.y);
    RebuildAfterTransform();
    return true;
}

void CSplines::CommitTransform()
{
    if (g_cmdStep != 2)
        flatValid = 0;
    geometry.spline = workGeometry.spline;
    nodes.Copy(keyPoints);
    gripsValid = 0;
    complete = 1;
}

// Mode 2 takes the working copy (the transformed preview): the key points
// and the working record.
bool CSplines::Copy(int mode, CUnit*& out)
{
    if (mode != 1)
        ++g_UnitIdCounter;
    auto* s = new CSplines();
    if (mode == 1)
        s->unitId = unitId;
    const x_VectorArray& points = mode == 2 ? keyPoints : nodes;
    s->nodes.Copy(points);
    s->keyPoints.Copy(points);
    s->geometry.spline = s->workGeometry.spline = mode == 2 ? workGeometry.spline : geometry.spline;
    CopyCommonAttributes(s);
    s->gearKind = gearKind;
    s->gearHandle = gearHandle;
    s->toothCount = toothCount;
    s->complete = 1;
    s->flatValid = 0;
    out = s;
    return true;
}

// Each node moves by d to the side; neighbouring offset chords meet at
// their crossing I, and the shared node moves to I. (It used to move by d
// towards I, which is right only at right angles.)
bool CSplines::Offset(CUnit*& out, double d, int side)
{
    out = nullptr;
    if (nodes.GetSize() < 2)
        return false;
    ++g_UnitIdCounter;
    auto* s = new CSplines();
    x_VectorArray& result = s->nodes;
    x_Vector prev = nodes[0];
    if (d == 0.0)
        result.Add(prev);
    for (int i = 0; i < nodes.GetSize(); ++i) {
        const x_Vector c = nodes[i];
        if (NearSame(c, prev))
            continue;
        if (d == 0.0) {
            result.Add(c);
            prev = c;
            continue;
        }
        const double theta = (c - prev).Angle();
        const double phi = side == 2 ? theta + kPi / 2 : theta - kPi / 2;
        const x_Vector o(d * std::cos(phi), d * std::sin(phi));
        if (result.GetSize() == 0)
            result.Add(prev + o);
        const int n = result.GetSize();
        if (n >= 2 && !result[n - 1].IsEqual(prev + o)) {
            const x_VectorList hits = IntersectLineLine(LineThrough(result[n - 2], result[n - 1]),
                                                        LineThrough(prev + o, c + o), 0);
            if (hits.count == 0) {
                delete s;
                return false;
            }
            result[n - 1] = hits.points[0];
        }
        result.Add(c + o);
        prev = c;
    }
    s->keyPoints.Copy(result);
    s->role = kRoleDrawing;
    s->complete = 1;
    out = s;
    return true;
}

// --- path preparation ---

bool CSplines::AppendDirectionRecord(x_Vector p)
{
    const int n = flatPoints.GetSize();
    int found = -1;
    for (int i = 0; i < n && found < 0; ++i)
        if (flatPoints[i].IsEqual(p))
            found = i;
    if (found < 0)
        return false;
    if (gearKind && !p.IsEqual(GetStartPoint()) && !p.IsEqual(GetEndPoint()))
        return false;
    auto record = [&](double angle, int code) { AppendTrailDirection(*this, flatPoints[found], p, angle, code); };
    const double forward = x_Vector::AngleTo(inputPoints[0], inputPoints[1]);
    const double backward = ReverseAngle(forward);
    if (flatPoints[0] == flatPoints[n - 1]) {
        record(forward, 2);
        record(backward, 1);
    } else if (p.IsEqual(flatPoints[0])) {
        record(forward, 2);
    } else if (p.IsEqual(flatPoints[n - 1])) {
        record(x_Vector::AngleTo(inputPoints[1], inputPoints[0]), 1);
    } else {
        record(forward, 2);
        record(backward, 1);
    }
    return true;
}

// A temporary piece of this spline for path preparation, appended to the
// drawing list (freed at once without a document).
CSplines* CSplines::NewPiece(int direction)
{
    ++g_UnitIdCounter;
    auto* piece = new CSplines();
    piece->nodes.Copy(nodes);
    piece->keyPoints.Copy(keyPoints);
    piece->geometry.spline = piece->workGeometry.spline = geometry.spline;
    piece->role = kRoleDrawing;
    piece->complete = piece->temporary = piece->flatValid = piece->chainScratchA = 1;
    piece->listIndex = listIndex;
    piece->chainDir = direction;
    return piece;
}

namespace {

void AppendPiece(CSplines* piece, bool chained, int direction, int sourceIndex)
{
    if (chained) {
        piece->chainDir = direction;
        piece->selected = 1;
    }
    AppendSplitPiece(piece, sourceIndex, chained);
}

} // namespace

int CSplines::SplitAtCrossings(int, x_Vector p, int r, int, x_Vector& out)
{
    if (nodes.GetSize() < 2)
        return 0;
    chainDir = r;
    const x_Vector F = nodes[0], L = nodes[nodes.GetSize() - 1];
    const x_Vector C = r == 1 ? F : L;
    const bool closed = geometry.spline.closed || F.IsEqual(L);
    workGeometry.spline = geometry.spline;
    keyPoints.Copy(nodes);
    if (geometry.spline.kind == 1) {
        g_SplineStep = kInvoluteSplitStep;
        BuildInvoluteCurve();
    } else {
        g_SplineStep = kCurveSplitStep;
        RebuildCurve(0);
    }
    x_VectorArray T;
    ResamplePoints(T, workCurve.GetData(), workCurve.GetSize(), kSplitTolerance);
    std::uint64_t lastPieceId = 0;
    if (closed || p.IsEqual(F) || p.IsEqual(L) || gearKind || T.GetSize() < 2) {
        walked = 1;
        visible = 0;
        selected = 0;
        CSplines* piece = NewPiece(r);
        piece->flatPoints.Copy(T);
        piece->visible = 1;
        lastPieceId = piece->unitId;
        AppendPiece(piece, true, r, listIndex);
        if (closed) {
            out = p;
            return 1;
        }
    } else {
        edit->splitPoint = p;
        splitMarked = 1;
        splitDir = r;
        walked = 1;
        visible = 0;
        int k = 1;
        double best = 0.0;
        for (int i = 1; i < T.GetSize(); ++i) {
            const double e = x_Vector::Distance(p, T[i - 1]) + x_Vector::Distance(p, T[i]);
            if (i == 1 || e < best) {
                best = e;
                k = i;
            }
        }
        CSplines* first = NewPiece(r);
        for (int i = 0; i < k; ++i)
            first->flatPoints.Add(T[i]);
        first->flatPoints.Add(p);
        first->visible = 1;
        CSplines* second = NewPiece(r);
        second->flatPoints.Add(p);
        for (int i = k; i < T.GetSize(); ++i)
            second->flatPoints.Add(T[i]);
        lastPieceId = second->unitId;
        AppendPiece(first, r == 1, r, listIndex);
        AppendPiece(second, r == 2, r, listIndex);
    }
    return ContinueChainFrom(*this, p.IsEqual(C) ? lastPieceId : 0, C, p, out);
}
