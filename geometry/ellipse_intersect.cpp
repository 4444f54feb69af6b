#include "geometry/ellipse_intersect.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kZeroValue = 1e-6;         // coordinates this close to 0 are 0
constexpr double kSameValue = 1e-6;         // relative difference of equal roots
constexpr double kResidual = 1e-6;          // conic value, per unit of mean radius
// Quadratic parts this close to proportional leave a line, not a quartic:
// the leading coefficient then holds nothing but rounding.
constexpr double kProportional = 1e-10;
constexpr double kMergeDistance = 1e-6;     // mm: a touch rounded into two roots
const Complex kOmega(-0.5, 0.8660254037844386);
const Complex kOmegaBar(-0.5, -0.8660254037844386);

double ConicValue(const ConicRecord& q, double x, double y)
{
    return q.A * x * x + q.B * x * y + q.C * y * y + q.D * x + q.E * y + q.F;
}

bool OnBoth(const ConicRecord& p, const ConicRecord& q, double m1, double m2, double x, double y)
{
    // A value that is not a number fails both comparisons.
    return std::fabs(ConicValue(p, x, y)) < m1 * kResidual
        && std::fabs(ConicValue(q, x, y)) < m2 * kResidual;
}

double ZeroSmall(double v)
{
    return std::fabs(v) < kZeroValue ? 0.0 : v;
}

bool SameValue(double u, double v)
{
    if (u == 0.0 && v == 0.0)
        return true;
    const double ratio = u / v;
    return !(ratio < 0.0) && std::fabs(ratio - 1.0) <= kSameValue;
}

// Keeps the last of equal values, in their order.
int Distinct(const double in[4], double out[4])
{
    int n = 0;
    for (int i = 0; i < 4; ++i) {
        bool later = false;
        for (int j = i + 1; j < 4 && !later; ++j)
            later = SameValue(in[i], in[j]);
        if (!later)
            out[n++] = in[i];
    }
    return n;
}

ConicRecord MirrorDiagonal(const ConicRecord& c)
{
    ConicRecord m = c;
    m.A = c.C;
    m.C = c.A;
    m.D = c.E;
    m.E = c.D;
    return m;
}

// Both conics' quadratic parts proportional (equal circles' radii aside, two
// circles, or parallel ellipses of one axis ratio): the eliminated equation
// k2·x + k3·y + k4 = 0 is a line; its crossings with p are the answer.
bool HasProportionalQuadratics(const ConicRecord& p, const ConicRecord& q, const double k[5])
{
    const double scale = std::fabs(p.A * q.C) + std::fabs(p.C * q.A) + std::fabs(p.B * q.C)
                       + std::fabs(p.C * q.B);
    return std::fabs(k[0]) <= kProportional * scale && std::fabs(k[1]) <= kProportional * scale;
}

x_VectorList LineAndConic(const ConicRecord& p, const ConicRecord& q, const double k[5],
                          double m1, double m2)
{
    x_VectorList result;
    const double nn = k[2] * k[2] + k[3] * k[3];
    if (!(nn > 0.0) || !std::isfinite(nn))
        return result;                      // concentric: no line at all
    const double len = std::sqrt(nn);
    const x_Vector base(-k[4] * k[2] / nn, -k[4] * k[3] / nn);
    const x_Vector dir(-k[3] / len, k[2] / len);
    // (1) p(base + t·dir) = a·t² + b·t + c
    const double a = p.A * dir.x * dir.x + p.B * dir.x * dir.y + p.C * dir.y * dir.y;
    const double b = 2.0 * p.A * base.x * dir.x + p.B * (base.x * dir.y + base.y * dir.x)
                   + 2.0 * p.C * base.y * dir.y + p.D * dir.x + p.E * dir.y;
    const double c = ConicValue(p, base.x, base.y);
    double disc = b * b - 4.0 * a * c;
    if (disc < 0.0 && disc >= -1e-9 * (b * b + std::fabs(4.0 * a * c)))
        disc = 0.0;                         // touching, rounded below zero
    if (!(disc >= 0.0) || a == 0.0)
        return result;
    const double s = std::sqrt(disc);
    const double t1 = (-b - s) / (2.0 * a);
    const double t2 = (-b + s) / (2.0 * a);
    const x_Vector p1 = base + dir * t1;
    const x_Vector p2 = base + dir * t2;
    if (OnBoth(p, q, m1, m2, p1.x, p1.y))
        result.Add(p1);
    if (x_Vector::Distance(p1, p2) >= kMergeDistance && OnBoth(p, q, m1, m2, p2.x, p2.y))
        result.Add(p2);
    return result;
}

} // namespace

void EllipseConic(ConicRecord& q)
{
    const double ax = q.axisX, ay = q.axisY;
    const double L = std::sqrt(ay * ay + ax * ax);
    const double c = ax / L;
    const double c2 = c * c;
    double s = std::sqrt(1.0 - c2);
    if (ay < 0.0)
        s = -s;
    const double a2 = q.semiMajor * q.semiMajor;
    const double b2 = q.semiMinor * q.semiMinor;
    const double cx = q.cx, cy = q.cy;
    const double s2 = s * s;
    q.A = s2 / b2 + c2 / a2;
    q.B = 2.0 * s * c / a2 - 2.0 * s * c / b2;
    q.C = s2 / a2 + c2 / b2;
    q.D = -(2.0 * cy * s * c + 2.0 * cx * c2) / a2 - (2.0 * cx * s2 - 2.0 * cy * s * c) / b2;
    q.E = -(2.0 * cx * s * c + 2.0 * cy * s2) / a2 - (2.0 * cy * c2 - 2.0 * cx * s * c) / b2;
    q.F = (c2 * cx * cx + s2 * cy * cy + 2.0 * cx * cy * s * c) / a2
        + (s2 * cx * cx + c2 * cy * cy - 2.0 * cx * cy * s * c) / b2 - 1.0;
}

ConicElimination ConicResultant(const ConicRecord& p, const ConicRecord& q)
{
    ConicElimination r;
    double* k = r.k;
    k[0] = p.A * q.C - p.C * q.A;
    k[1] = p.B * q.C - p.C * q.B;
    k[2] = p.D * q.C - p.C * q.D;
    k[3] = p.E * q.C - p.C * q.E;
    k[4] = p.F * q.C - p.C * q.F;
    const double A1 = p.A, B1 = p.B, C1 = p.C, D1 = p.D, E1 = p.E, F1 = p.F;
    const double G = A1 * k[1] * k[1] - B1 * k[0] * k[1] + C1 * k[0] * k[0];
    const double x3 = 2 * A1 * k[1] * k[3] - B1 * k[0] * k[3] - B1 * k[1] * k[2]
                    + 2 * C1 * k[0] * k[2] + D1 * k[1] * k[1] - E1 * k[0] * k[1];
    const double x2 = A1 * k[3] * k[3] - B1 * k[2] * k[3] - B1 * k[1] * k[4] + C1 * k[2] * k[2]
                    + 2 * C1 * k[0] * k[4] + 2 * D1 * k[1] * k[3] - E1 * k[0] * k[3]
                    - E1 * k[1] * k[2] + F1 * k[1] * k[1];
    const double x1 = 2 * C1 * k[2] * k[4] - B1 * k[3] * k[4] + D1 * k[3] * k[3]
                    - E1 * k[2] * k[3] - E1 * k[1] * k[4] + 2 * F1 * k[1] * k[3];
    const double x0 = C1 * k[4] * k[4] - E1 * k[3] * k[4] + F1 * k[3] * k[3];
    r.leading = G;
    r.quartic[0] = 1.0;
    r.quartic[1] = x3 / G;
    r.quartic[2] = x2 / G;
    r.quartic[3] = x1 / G;
    r.quartic[4] = x0 / G;
    return r;
}

Complex ComplexRoot(Complex z, int n)
{
    const double r = std::hypot(z.real(), z.imag());
    if (!(r > 0.0))
        return 0.0;
    const double phi = std::atan2(z.imag(), z.real());
    const double m = std::pow(r, 1.0 / n);
    return {m * std::cos(phi / n), m * std::sin(phi / n)};
}

void SolveQuartic(const Complex quartic[5], Complex roots[4])
{
    const Complex b = quartic[1], c = quartic[2], d = quartic[3], e = quartic[4];
    // Resolvent cubic by Cardano.
    const Complex D = (c * c - 3.0 * b * d + 12.0 * e) / 9.0;
    const Complex V = (2.0 * c * c * c - 9.0 * b * c * d + 27.0 * d * d + 27.0 * b * b * e
                       - 72.0 * c * e) / 54.0;
    const Complex w = std::sqrt(V * V - D * D * D);
    const Complex u1 = V + w, u2 = V - w;
    const Complex u = std::norm(u2) > std::norm(u1) ? u2 : u1;
    const Complex q = ComplexRoot(u, 3);
    Complex y = c / 3.0;
    if (std::norm(q) > 0.0) {
        Complex qk = q;
        Complex dk = D / q;
        double best = -1.0;
        for (int k = 0; k < 3; ++k) {
            const Complex yk = qk + dk + c / 3.0;
            const double score = std::norm(b * b + 4.0 * (yk - c));
            if (score > best) {
                best = score;
                y = yk;
            }
            qk *= kOmega;
            dk *= kOmegaBar;
        }
    }
    const Complex p = std::sqrt(b * b + 4.0 * (y - c));
    if (std::norm(p) >= std::numeric_limits<double>::min()) {
        const Complex v = (b * y - 2.0 * d) / p;
        const Complex s1 = std::sqrt((b + p) * (b + p) - 8.0 * (y + v));
        const Complex s2 = std::sqrt((b - p) * (b - p) - 8.0 * (y - v));
        roots[0] = (-(b + p) + s1) / 4.0;
        roots[2] = (-(b + p) - s1) / 4.0;
        roots[1] = (-(b - p) + s2) / 4.0;
        roots[3] = (-(b - p) - s2) / 4.0;
    } else {
        const Complex s = std::sqrt(b * b - 8.0 * y);
        roots[0] = roots[1] = (-b + s) / 4.0;
        roots[2] = roots[3] = (-b - s) / 4.0;
    }
}

void BackSubstituteY(const Complex x[4], const double k[5], const ConicRecord& q, Complex y[4])
{
    for (int i = 0; i < 4; ++i) {
        const Complex den = k[1] * x[i] + k[3];
        const Complex num = -k[0] * x[i] * x[i] - k[2] * x[i] - k[4];
        if (den.real() == 0.0 || num.real() == 0.0)
            y[i] = ComplexRoot(-(q.A * x[i] * x[i] + q.D * x[i] + q.F) / q.C, 2);
        else
            y[i] = num / den;
    }
    if ((k[1] == 0.0 && k[3] == 0.0) || (k[0] == 0.0 && k[2] == 0.0 && k[4] == 0.0)) {
        y[0] = {-y[0].real(), y[0].imag()};
        y[1] = {-y[1].real(), y[1].imag()};
    }
}

x_VectorList CollectConicPoints(const Complex x[4], const Complex y[4], const ConicRecord& p,
                                const ConicRecord& q, double m1, double m2)
{
    double xs[4], ys[4], dx[4], dy[4];
    for (int i = 0; i < 4; ++i) {
        xs[i] = ZeroSmall(x[i].real());
        ys[i] = ZeroSmall(y[i].real());
    }
    const int nx = Distinct(xs, dx);
    const int ny = Distinct(ys, dy);
    x_VectorList result;
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j)
            if (OnBoth(p, q, m1, m2, dx[i], dy[j]))
                result.Add(x_Vector(dx[i], dy[j]));
    return result;
}

x_VectorList IntersectEllipses(const ConicRecord& p, const ConicRecord& q)
{
    const double m1 = (p.semiMajor + p.semiMinor) / 2.0;
    const double m2 = (q.semiMajor + q.semiMinor) / 2.0;
    const ConicElimination r = ConicResultant(p, q);
    // The quartic's leading coefficient vanished and gave no points before.
    if (HasProportionalQuadratics(p, q, r.k))
        return LineAndConic(p, q, r.k, m1, m2);
    Complex xr[4], yr[4];
    SolveQuartic(r.quartic, xr);
    const Complex den = r.k[1] * xr[0] + r.k[3];
    const Complex num = -r.k[0] * xr[0] * xr[0] - r.k[2] * xr[0] - r.k[4];
    if (den.real() == 0.0 || num.real() == 0.0) {
        const ConicElimination m = ConicResultant(MirrorDiagonal(p), MirrorDiagonal(q));
        SolveQuartic(m.quartic, yr);
    } else {
        BackSubstituteY(xr, r.k, q, yr);
    }
    x_VectorList result = CollectConicPoints(xr, yr, p, q, m1, m2);
    result.tangent = 0;
    return result;
}
