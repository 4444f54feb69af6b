#include "wirepath/point_fitting.h"

#include <cmath>

#include "geometry/curve_helpers.h"
#include "geometry/plane_geometry.h"

namespace {

constexpr double kCollinear = 1e-10;
constexpr double kMaxArcGap = 0.1;          // arc length against chord, mm

x_LineToArcData LinePiece(const x_Vector& a, const x_Vector& b)
{
    x_LineToArcData piece;
    piece.kind = 1;
    piece.start = a;
    piece.end = b;
    piece.lineFlag = 1;
    return piece;
}

// The arc through A, B and C when it passes the acceptance tests.
bool ArcThrough(const x_Vector& a, const x_Vector& b, const x_Vector& c, x_LineToArcData& piece)
{
    const double a1 = x_Vector::AngleTo(a, b), a2 = x_Vector::AngleTo(b, c);
    if (std::fabs(a1 - a2) <= kCollinear)
        return false;
    const x_Vector centre = Circumcentre(a, b, c);
    if (!centre.valid)
        return false;
    const double r = x_Vector::Distance(c, centre);
    const double aA = x_Vector::AngleTo(centre, a), aC = x_Vector::AngleTo(centre, c);
    const std::uint8_t direction = IsRightTurn(a, b, c) ? 1 : 0;
    if (!(centre + x_Vector::FromPolar(r, aA)).IsEqual(a) || !(centre + x_Vector::FromPolar(r, aC)).IsEqual(c))
        return false;
    const double length = r * SweepAngleAbs(direction, aA, aC);
    if (!(std::fabs(length - x_Vector::Distance(a, c)) < kMaxArcGap))
        return false;
    double e = aC;
    if (direction == 0 && aA > aC - 1e-10)
        e = aC + kTwoPi;
    if (direction != 0 && aA < aC + 1e-10)
        e = aC - kTwoPi;
    double mid = (aA + e) / 2.0;
    if (mid >= kTwoPi)
        mid -= kTwoPi;
    if (mid < 0.0)
        mid += kTwoPi;
    if (!(std::fabs(x_Vector::AngleTo(centre, (a + c) / 2.0) - mid) < kPi / 4))
        return false;
    if (!(r > 1e-10 && r < 1e10))
        return false;
    piece = x_LineToArcData();
    piece.kind = 2;
    piece.centre = centre;
    piece.radius = r;
    piece.startAngle = aA;
    piece.endAngle = aC;
    piece.direction = direction;
    piece.arcMark = 1;
    return true;
}

// Whether moving the arc's end to angle phi keeps it growing the same way
// and below half a turn.
bool ArcMayGrowTo(const x_LineToArcData& arc, double phi)
{
    const double before = SweepAngleAbs(arc.direction, arc.startAngle, arc.endAngle);
    const double after = SweepAngleAbs(arc.direction, arc.startAngle, phi);
    return after >= before && after <= kPi;
}

bool OnArc(const x_LineToArcData& arc, const x_Vector& p, double tol, double& phi)
{
    phi = x_Vector::AngleTo(arc.centre, p);
    const x_Vector q = arc.centre + x_Vector::FromPolar(arc.radius, phi);
    return (q == p || x_Vector::Distance(q, p) < tol) && ArcMayGrowTo(arc, phi);
}

} // namespace

// An arc piece grew by its end angle alone, so it could pass a half turn
// or turn back along its circle; such a point now closes the piece.
void FitLinesAndArcs(const x_Vector* p, int n, CArray<x_LineToArcData>& out, double tol)
{
    out.RemoveAll();
    if (n < 3) {
        if (n == 2)
            out.Add(LinePiece(p[0], p[1]));
        return;
    }
    enum class Mode { none, line, arc } mode = Mode::none;
    x_Vector base;
    double theta = 0.0, walked = 0.0;
    for (int i = 1; i <= n - 2; ++i) {
        const x_Vector& a = p[i - 1];
        const x_Vector& b = p[i];
        const x_Vector& c = p[i + 1];
        if (mode == Mode::line) {
            walked += x_Vector::Distance(a, b);
            if (x_Vector::Distance(base + x_Vector::FromPolar(walked, theta), b) < tol) {
                out[out.GetSize() - 1].end = b;
                continue;
            }
        } else if (mode == Mode::arc) {
            double phi;
            x_LineToArcData& arc = out[out.GetSize() - 1];
            if (OnArc(arc, b, tol, phi)) {
                arc.endAngle = phi;
                continue;
            }
        }
        x_LineToArcData piece;
        if (ArcThrough(a, b, c, piece) && ArcMayGrowTo(piece, piece.endAngle)) {
            out.Add(piece);
            mode = Mode::arc;
            continue;
        }
        out.Add(LinePiece(a, b));
        mode = Mode::line;
        base = b;
        theta = x_Vector::AngleTo(a, b);
        walked = 0.0;
    }
    const x_Vector& z = p[n - 1];
    if (mode == Mode::arc) {
        double phi;
        x_LineToArcData& arc = out[out.GetSize() - 1];
        if (OnArc(arc, z, tol, phi)) {
            arc.endAngle = phi;
            return;
        }
    }
    out.Add(LinePiece(p[n - 2], p[n - 1]));
}
