#include "view/commands/centre_lines.h"

#include <cmath>

namespace {

double Wrap(double a)
{
    a = std::fmod(a, kTwoPi);
    return a < 0 ? a + kTwoPi : a;
}

// Signed difference b − a folded into (−π, π].
double SignedDifference(double a, double b)
{
    double d = Wrap(b - a);
    return d > kPi ? d - kTwoPi : d;
}

} // namespace

CentreLineGeometry CentreLineOfTwoLines(const x_LineData& first, const x_LineData& second)
{
    const double a1 = Wrap(x_Vector::AngleTo(first.p1, first.p2));
    double a2 = Wrap(x_Vector::AngleTo(second.p1, second.p2));
    x_Vector b1 = second.p1, b2 = second.p2;
    // Comparing the raw angles took nearly parallel lines whose directions
    // straddle 0 (0.01 and 6.27) for opposite ones and reversed one of them.
    if (std::fabs(SignedDifference(a1, a2)) + 1e-8 >= kPi / 2) {
        std::swap(b1, b2);
        a2 = Wrap(a2 + kPi);
    }
    const double direction = Wrap(a1 + SignedDifference(a1, a2) / 2 + kPi);
    const x_Vector m1((first.p1.x + b1.x) / 2, (first.p1.y + b1.y) / 2);
    const x_Vector m2((first.p2.x + b2.x) / 2, (first.p2.y + b2.y) / 2);
    const x_Vector centre((m1.x + m2.x) / 2, (m1.y + m2.y) / 2);
    const double half = x_Vector::Distance(m1, m2) / 2;
    const x_Vector u(std::cos(direction), std::sin(direction));
    CentreLineGeometry g;
    g.start = x_Vector(centre.x - half * u.x, centre.y - half * u.y);
    g.end = x_Vector(centre.x + half * u.x, centre.y + half * u.y);
    g.halfLength = half;
    return g;
}
