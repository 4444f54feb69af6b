#include "geometry/spline_math.h"

#include <algorithm>
#include <cmath>

#include "geometry/GeometryState.h"
#include "geometry/curve_helpers.h"

namespace {

// A chord this short has no length ratio; closing a spline by clicking its
// first node made one and every sample became NaN.
constexpr double kLeastChord = 1e-6;
constexpr int kJacobiSweeps = 10;
constexpr double kSameSample = 0.001;       // both coordinates, mm
constexpr double kKnotSnap = 5e-6;

// Key points with consecutive near repeats dropped (and, when closed, a last
// point that repeats the first).
std::vector<x_Vector> DistinctKeys(const x_VectorArray& keys, bool closed)
{
    std::vector<x_Vector> out;
    for (int i = 0; i < keys.GetSize(); ++i) {
        if (!out.empty() && x_Vector::Distance(out.back(), keys[i]) < kLeastChord)
            continue;
        out.push_back(keys[i]);
    }
    if (closed)
        while (out.size() > 1 && x_Vector::Distance(out.back(), out.front()) < kLeastChord)
            out.pop_back();
    return out;
}

void AllocateWorkspace(SplineWorkspace& ws, const std::vector<x_Vector>& pts)
{
    const size_t n = pts.size();
    ws.n = static_cast<int>(n);
    for (std::vector<double>* a : {&ws.pointX, &ws.pointY, &ws.spanX, &ws.spanY, &ws.ratio,
                                   &ws.sub, &ws.diag, &ws.super, &ws.tangentX, &ws.tangentY,
                                   &ws.endTangentX, &ws.endTangentY})
        a->assign(n, 0.0);
    for (size_t k = 0; k < n; ++k) {
        ws.pointX[k] = pts[k].x;
        ws.pointY[k] = pts[k].y;
    }
}

// Rows 1..last of the chord-length system: C2 continuity at key point k.
void SetInnerRows(SplineWorkspace& ws, int last)
{
    for (int k = 1; k <= last; ++k) {
        const double r = ws.ratio[k - 1];
        ws.sub[k] = 1.0;
        ws.diag[k] = 2.0 * r * (r + 1.0);
        ws.super[k] = r * r * ws.ratio[k];
        ws.tangentX[k] = 3.0 * (r * r * ws.spanX[k] + ws.spanX[k - 1]);
        ws.tangentY[k] = 3.0 * (r * r * ws.spanY[k] + ws.spanY[k - 1]);
    }
}

void CopyRaw(const x_VectorArray& keys, x_VectorArray& out)
{
    out.RemoveAll();
    for (int i = 0; i < keys.GetSize(); ++i)
        out.Add(keys[i]);
}

void Sample(SplineWorkspace& ws, bool closed, x_VectorArray& out)
{
    out.RemoveAll();
    out.SetSize(0, CountSplineSamples(ws, closed));
    SampleSplineSegments(ws, closed, out);
    FreeSplineWorkspace(ws);
}

void Jacobi(const SplineWorkspace& ws, std::vector<double>& b, bool cyclic)
{
    const int n = ws.n;
    if (n < 2)
        return;
    std::vector<double> x(n), next(n);
    for (int i = 0; i < n; ++i)
        x[i] = b[i] / ws.diag[i];
    for (int sweep = 0; sweep < kJacobiSweeps; ++sweep) {
        for (int i = 0; i < n; ++i) {
            double v = b[i];
            if (i > 0)
                v -= ws.sub[i] * x[i - 1];
            else if (cyclic)
                v -= ws.sub[0] * x[n - 1];
            if (i < n - 1)
                v -= ws.super[i] * x[i + 1];
            else if (cyclic)
                v -= ws.super[n - 1] * x[0];
            next[i] = v / ws.diag[i];
        }
        x.swap(next);
    }
    b = x;
}

// Samples of segment k: N = the larger whole-millimetre chord component
// over the step, at least 1.
int SegmentSamples(const SplineWorkspace& ws, int k)
{
    const double span = std::max(std::fabs(std::trunc(ws.spanX[k])),
                                 std::fabs(std::trunc(ws.spanY[k])));
    const double n = std::trunc(span / g_SplineStep);
    if (!(n >= 1.0))
        return 1;
    return n > kMaxFlattenPoints ? kMaxFlattenPoints : static_cast<int>(n);
}

} // namespace

void SolveTangentsJacobi(const SplineWorkspace& ws, std::vector<double>& b)
{
    Jacobi(ws, b, false);
}

void SolveTangentsCyclic(const SplineWorkspace& ws, std::vector<double>& b)
{
    Jacobi(ws, b, true);
}

int CountSplineSamples(const SplineWorkspace& ws, bool closed)
{
    const int segments = closed ? ws.n : ws.n - 1;
    int total = 0;
    for (int k = 0; k < segments; ++k)
        total += SegmentSamples(ws, k) + 1;
    return total;
}

int SampleSplineSegments(const SplineWorkspace& ws, bool closed, x_VectorArray& out)
{
    const int before = out.GetSize();
    const int segments = closed ? ws.n : ws.n - 1;
    for (int k = 0; k < segments; ++k)
        SampleHermiteSegment(ws, k, out);
    return out.GetSize() - before;
}

// Hermite form on the local parameter g of segment k:
//   Q(g) = P + h1·D + h2·T + h3·E,  h1 = g²(3 − 2g), h2 = g(g − 1)², h3 = g²(g − 1)
void SampleHermiteSegment(const SplineWorkspace& ws, int k, x_VectorArray& out)
{
    const int count = SegmentSamples(ws, k);
    x_Vector last(ws.pointX[k], ws.pointY[k]);
    out.Add(last);
    for (int j = 1; j <= count; ++j) {
        const double g = static_cast<double>(j) / count;
        const double h1 = g * g * (3.0 - 2.0 * g);
        const double h2 = g * (g - 1.0) * (g - 1.0);
        const double h3 = g * g * (g - 1.0);
        const x_Vector q(ws.pointX[k] + h1 * ws.spanX[k] + h2 * ws.tangentX[k] + h3 * ws.endTangentX[k],
                         ws.pointY[k] + h1 * ws.spanY[k] + h2 * ws.tangentY[k] + h3 * ws.endTangentY[k]);
        if (std::fabs(q.x - last.x) < kSameSample && std::fabs(q.y - last.y) < kSameSample)
            continue;
        out.Add(q);
        last = q;
    }
}

void FreeSplineWorkspace(SplineWorkspace& ws)
{
    for (std::vector<double>* a : {&ws.pointX, &ws.pointY, &ws.spanX, &ws.spanY, &ws.ratio,
                                   &ws.sub, &ws.diag, &ws.super, &ws.tangentX, &ws.tangentY,
                                   &ws.endTangentX, &ws.endTangentY}) {
        a->clear();
        a->shrink_to_fit();
    }
    ws.n = 0;
}

// Natural ends (zero second derivative) close the open system.
void BuildOpenCubic(const x_VectorArray& keys, SplineWorkspace& ws, x_VectorArray& out)
{
    const std::vector<x_Vector> pts = DistinctKeys(keys, false);
    if (pts.size() < 2) {
        CopyRaw(keys, out);
        return;
    }
    AllocateWorkspace(ws, pts);
    const int n = ws.n;
    std::vector<double> length(n - 1);
    for (int k = 0; k + 1 < n; ++k) {
        ws.spanX[k] = pts[k + 1].x - pts[k].x;
        ws.spanY[k] = pts[k + 1].y - pts[k].y;
        length[k] = std::hypot(ws.spanX[k], ws.spanY[k]);
    }
    for (int k = 0; k + 2 < n; ++k)
        ws.ratio[k] = length[k] / length[k + 1];
    ws.ratio[n - 2] = 1.0;
    SetInnerRows(ws, n - 2);
    ws.diag[0] = 2.0;
    ws.super[0] = ws.ratio[0];
    ws.tangentX[0] = 3.0 * ws.spanX[0];
    ws.tangentY[0] = 3.0 * ws.spanY[0];
    ws.sub[n - 1] = 1.0;
    ws.diag[n - 1] = 2.0 * ws.ratio[n - 2];
    ws.tangentX[n - 1] = 3.0 * ws.spanX[n - 2];
    ws.tangentY[n - 1] = 3.0 * ws.spanY[n - 2];
    SolveTangentsJacobi(ws, ws.tangentX);
    SolveTangentsJacobi(ws, ws.tangentY);
    for (int k = 0; k + 1 < n; ++k) {
        ws.endTangentX[k] = ws.tangentX[k + 1] * ws.ratio[k];
        ws.endTangentY[k] = ws.tangentY[k + 1] * ws.ratio[k];
    }
    Sample(ws, false, out);
}

void BuildClosedCubic(const x_VectorArray& keys, SplineWorkspace& ws, x_VectorArray& out)
{
    const std::vector<x_Vector> pts = DistinctKeys(keys, true);
    if (pts.size() < 2) {
        CopyRaw(keys, out);
        return;
    }
    AllocateWorkspace(ws, pts);
    const int n = ws.n;
    std::vector<double> length(n);
    for (int k = 0; k < n; ++k) {
        const x_Vector& next = pts[(k + 1) % n];
        ws.spanX[k] = next.x - pts[k].x;
        ws.spanY[k] = next.y - pts[k].y;
        length[k] = static_cast<float>(std::hypot(ws.spanX[k], ws.spanY[k]));
    }
    for (int k = 0; k < n; ++k)
        ws.ratio[k] = length[k] / length[(k + 1) % n];
    SetInnerRows(ws, n - 1);
    const double r = ws.ratio[n - 1];
    ws.sub[0] = 1.0;
    ws.diag[0] = 2.0 * r * (r + 1.0);
    ws.super[0] = r * r * ws.ratio[0];
    ws.tangentX[0] = 3.0 * (r * r * ws.spanX[0] + ws.spanX[n - 1]);
    ws.tangentY[0] = 3.0 * (r * r * ws.spanY[0] + ws.spanY[n - 1]);
    SolveTangentsCyclic(ws, ws.tangentX);
    SolveTangentsCyclic(ws, ws.tangentY);
    for (int k = 0; k < n; ++k) {
        ws.endTangentX[k] = ws.tangentX[(k + 1) % n] * ws.ratio[k];
        ws.endTangentY[k] = ws.tangentY[(k + 1) % n] * ws.ratio[k];
    }
    Sample(ws, true, out);
}

x_Vector InvolutePoint(const SplineRecord& rec, double t)
{
    const double offsets = rec.angleOffsetA + rec.angleOffsetB;
    const double phi = rec.mirrored ? std::tan(-t) + t + rec.phase + offsets
                                    : std::tan(t) - t + rec.phase - offsets;
    const double r = rec.baseRadius / std::cos(t);
    return {rec.baseCentre.x + r * std::cos(phi), rec.baseCentre.y + r * std::sin(phi)};
}

void BuildInvolute(const SplineRecord& rec, double step, x_VectorArray& curve, x_VectorArray& keys)
{
    const double range = rec.endParam - rec.startParam;
    // A range shorter than one step gave m = 0 and a division by it.
    const double steps = std::trunc(range / step);
    int m = 1;
    if (steps >= 1.0)
        m = steps > kMaxFlattenPoints ? kMaxFlattenPoints : static_cast<int>(steps);
    const double dt = range / m;
    curve.RemoveAll();
    keys.RemoveAll();
    for (int i = 0; i <= m; ++i)
        curve.Add(InvolutePoint(rec, rec.startParam + i * dt));
    if (curve.GetSize() >= 2) {
        keys.Add(curve[0]);
        keys.Add(curve[curve.GetSize() - 1]);
    }
}

double SampleStepFor(const x_VectorArray& keys, double current)
{
    if (keys.GetSize() < 2)
        return current;
    x_Vector lo = keys[0], hi = keys[0];
    for (int i = 1; i < keys.GetSize(); ++i) {
        lo = x_Vector::MinCorner(lo, keys[i]);
        hi = x_Vector::MaxCorner(hi, keys[i]);
    }
    const double s = std::max(hi.x - lo.x, hi.y - lo.y) / 60.0;
    if (s > 1.0)
        return 1.0;
    if (!(s >= 0.05))
        return 0.05;
    return s;
}

// Cox-de Boor on integer knots, in place over ascending i.
void BSplineBasis(int c, double t, int n, const int* x, const double* w, double* r)
{
    std::vector<double> N(static_cast<size_t>(n + c + 1), 0.0);
    for (int i = 1; i <= n + c - 1; ++i)
        N[i] = (x[i] <= t && t < x[i + 1]) ? 1.0 : 0.0;
    for (int k = 2; k <= c; ++k) {
        for (int i = 1; i <= n + c - k; ++i) {
            const double d = N[i] != 0.0 ? (t - x[i]) * N[i] / (x[i + k - 1] - x[i]) : 0.0;
            const double e = N[i + 1] != 0.0 ? (x[i + k] - t) * N[i + 1] / (x[i + k] - x[i + 1]) : 0.0;
            N[i] = d + e;
        }
    }
    if (t == x[n + c])
        N[n] = 1.0;
    double sum = 0.0;
    for (int i = 1; i <= n; ++i)
        sum += N[i] * w[i];
    for (int i = 1; i <= n; ++i)
        r[i] = sum != 0.0 ? N[i] * w[i] / sum : 0.0;
}

void ClampedKnots(int n, int c, int* x)
{
    x[1] = 0;
    for (int i = 2; i <= n + c; ++i)
        x[i] = (c < i && i < n + 2) ? x[i - 1] + 1 : x[i - 1];
}

void UniformKnots(int n, int c, int* x)
{
    for (int i = 1; i <= n + c; ++i)
        x[i] = i - 1;
}

namespace {

void Evaluate(int n, int c, int m, const double* b, const double* w, double* p, double t,
              double step, const std::vector<int>& x)
{
    std::vector<double> r(static_cast<size_t>(n + 1), 0.0);
    for (int q = 1; q <= m; ++q) {
        if (x[n + c] - t < kKnotSnap)
            t = x[n + c];
        BSplineBasis(c, t, n, x.data(), w, r.data());
        for (int j = 1; j <= 3; ++j) {
            double v = 0.0;
            for (int i = 1; i <= n; ++i)
                v += r[i] * b[3 * (i - 1) + j];
            p[3 * (q - 1) + j] = v;
        }
        t += step;
    }
}

} // namespace

void EvaluateClamped(int n, int c, int m, const double* b, const double* w, double* p)
{
    std::vector<int> x(static_cast<size_t>(n + c + 1), 0);
    ClampedKnots(n, c, x.data());
    Evaluate(n, c, m, b, w, p, 0.0, static_cast<double>(x[n + c]) / (m - 1), x);
}

void EvaluateUniform(int n, int c, int m, const double* b, const double* w, double* p)
{
    std::vector<int> x(static_cast<size_t>(n + c + 1), 0);
    UniformKnots(n, c, x.data());
    Evaluate(n, c, m, b, w, p, c - 1.0, static_cast<double>(n - c + 1) / (m - 1), x);
}

void BuildBSpline(const x_VectorArray& keys, int degree, bool closed, x_VectorArray& out)
{
    const int n = keys.GetSize();
    if (n < 2) {
        CopyRaw(keys, out);
        return;
    }
    // An order above the control-point count has no clamped knots; the
    // curve collapsed onto one point.
    const int c = static_cast<int>(std::clamp<long long>(static_cast<long long>(degree) + 1, 1, n));
    const int m = 8 * n;
    std::vector<double> b(static_cast<size_t>(3 * n + 1), 0.0), w(static_cast<size_t>(n + 1), 1.0);
    std::vector<double> p(static_cast<size_t>(3 * m + 1), 0.0);
    for (int i = 1; i <= n; ++i) {
        b[3 * (i - 1) + 1] = keys[i - 1].x;
        b[3 * (i - 1) + 2] = keys[i - 1].y;
    }
    if (closed)
        EvaluateUniform(n, c, m, b.data(), w.data(), p.data());
    else
        EvaluateClamped(n, c, m, b.data(), w.data(), p.data());
    out.RemoveAll();
    for (int q = 1; q <= m; ++q)
        out.Add(x_Vector(p[3 * (q - 1) + 1], p[3 * (q - 1) + 2]));
}
