#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/ellipse_intersect.h"

namespace {

constexpr double kPointTol = 1e-6;      // the solver's own acceptance is 1e-6 per mean radius

ConicRecord Ellipse(double cx, double cy, double ax, double ay, double ratio)
{
    ConicRecord c;
    c.cx = cx;
    c.cy = cy;
    c.axisX = ax;
    c.axisY = ay;
    c.semiMajor = std::hypot(ax, ay);
    c.semiMinor = c.semiMajor * ratio;
    EllipseConic(c);
    return c;
}

ConicRecord Circle(double cx, double cy, double r)
{
    ConicRecord c;
    c.cx = cx;
    c.cy = cy;
    c.axisX = c.axisY = r;
    c.semiMajor = c.semiMinor = r;
    EllipseConic(c);
    return c;
}

// Sorted copy, so that sets compare regardless of the solver's order.
std::vector<x_Vector> Sorted(const x_VectorList& list)
{
    std::vector<x_Vector> v = list.points;
    std::sort(v.begin(), v.end(), [](const x_Vector& a, const x_Vector& b) {
        return a.x < b.x - 1e-9 || (std::fabs(a.x - b.x) <= 1e-9 && a.y < b.y);
    });
    return v;
}

void ExpectPoints(const x_VectorList& got, std::vector<x_Vector> want)
{
    ASSERT_EQ(got.count, static_cast<int>(want.size()));
    std::vector<x_Vector> g = Sorted(got);
    x_VectorList w;
    for (const x_Vector& p : want)
        w.Add(p);
    want = Sorted(w);
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_NEAR(g[i].x, want[i].x, kPointTol) << i;
        EXPECT_NEAR(g[i].y, want[i].y, kPointTol) << i;
        EXPECT_EQ(g[i].valid, 1);
    }
}

// Independent count: walk the first ellipse by its parameter and count the
// sign changes of the second one's implicit value.
int CountCrossings(double cx, double cy, double ax, double ay, double ratio,
                   const ConicRecord& other)
{
    const double a = std::hypot(ax, ay), b = a * ratio, th = std::atan2(ay, ax);
    auto value = [&](double t) {
        const double ex = a * std::cos(t), ey = b * std::sin(t);
        const double x = cx + ex * std::cos(th) - ey * std::sin(th);
        const double y = cy + ex * std::sin(th) + ey * std::cos(th);
        return other.A * x * x + other.B * x * y + other.C * y * y + other.D * x + other.E * y
             + other.F;
    };
    int changes = 0;
    const int n = 100000;
    double prev = value(0.0);
    for (int i = 1; i <= n; ++i) {
        const double v = value(kTwoPi * i / n);
        if ((v < 0) != (prev < 0))
            ++changes;
        prev = v;
    }
    return changes;
}

TEST(EllipseIntersect, ConicOfAnAxisParallelEllipse)
{
    // (x − 1)²/16 + (y + 2)²/4 − 1, expanded by hand.
    const ConicRecord c = Ellipse(1, -2, 4, 0, 0.5);
    EXPECT_NEAR(c.A, 1.0 / 16, 1e-15);
    EXPECT_NEAR(c.B, 0.0, 1e-15);
    EXPECT_NEAR(c.C, 1.0 / 4, 1e-15);
    EXPECT_NEAR(c.D, -2.0 / 16, 1e-15);
    EXPECT_NEAR(c.E, 4.0 / 4, 1e-15);
    EXPECT_NEAR(c.F, 1.0 / 16 + 4.0 / 4 - 1, 1e-15);
}

TEST(EllipseIntersect, EllipseAndCentredCircleMeetInFourPoints)
{
    // x²/100 + y²/4 = 1 and x² + y² = 25: x² = 5.25/0.24, y² = 3.125.
    const x_VectorList got = IntersectEllipses(Ellipse(0, 0, 10, 0, 0.2), Circle(0, 0, 5));
    ExpectPoints(got, {{4.677072, 1.767767}, {4.677072, -1.767767}, {-4.677072, 1.767767},
                       {-4.677072, -1.767767}});
    EXPECT_EQ(got.tangent, 0);
    // x-major: each distinct x is followed through the y values.
    EXPECT_DOUBLE_EQ(got.points[0].x, got.points[1].x);
    EXPECT_DOUBLE_EQ(got.points[2].x, got.points[3].x);
}

TEST(EllipseIntersect, CrossedEllipsesMeetInFourPoints)
{
    // Symmetric about both diagonals: x² = y² = 1/(1/100 + 1/4).
    const double v = std::sqrt(1.0 / 0.26);
    ExpectPoints(IntersectEllipses(Ellipse(0, 0, 10, 0, 0.2), Ellipse(0, 0, 0, 10, 0.2)),
                 {{v, v}, {v, -v}, {-v, v}, {-v, -v}});
}

TEST(EllipseIntersect, TiltedEllipsesAgreeWithAWalkAlongTheCurve)
{
    const struct { const char* name; double c1[5]; double c2[5]; } kCases[] = {
        {"two crossings", {1, 2, 6, 2, 0.5}, {4, 1, -1, 5, 0.4}},
        {"four crossings", {0, 0, 6, 1, 0.3}, {0.2, -0.1, 1, 5, 0.35}},
        {"disjoint", {0, 0, 3, 1, 0.5}, {20, 20, 1, 3, 0.5}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const ConicRecord p = Ellipse(c.c1[0], c.c1[1], c.c1[2], c.c1[3], c.c1[4]);
        const ConicRecord q = Ellipse(c.c2[0], c.c2[1], c.c2[2], c.c2[3], c.c2[4]);
        const x_VectorList got = IntersectEllipses(p, q);
        EXPECT_EQ(got.count, CountCrossings(c.c1[0], c.c1[1], c.c1[2], c.c1[3], c.c1[4], q));
        for (const x_Vector& pt : got.points) {
            EXPECT_LT(std::fabs(p.A * pt.x * pt.x + p.B * pt.x * pt.y + p.C * pt.y * pt.y
                                + p.D * pt.x + p.E * pt.y + p.F), 1e-5);
        }
    }
}

TEST(EllipseIntersect, ProportionalConicsMeetOnTheirCommonLine)
{
    // These pairs leave no quartic (its leading coefficient vanishes) and
    // once gave no points at all.
    SCOPED_TRACE("two circles");
    ExpectPoints(IntersectEllipses(Circle(0, 0, 5), Circle(6, 0, 5)), {{3, -4}, {3, 4}});
    SCOPED_TRACE("equal ratio, parallel axes: x = 2, y² = 25·(1 − 4/100)");
    ExpectPoints(IntersectEllipses(Ellipse(0, 0, 10, 0, 0.5), Ellipse(4, 0, 10, 0, 0.5)),
                 {{2, std::sqrt(24.0)}, {2, -std::sqrt(24.0)}});
    SCOPED_TRACE("equal ratio touching end to end");
    ExpectPoints(IntersectEllipses(Ellipse(0, 0, 10, 0, 0.2), Ellipse(20, 0, 10, 0, 0.2)),
                 {{10, 0}});
    SCOPED_TRACE("concentric circles, identical ellipses");
    EXPECT_EQ(IntersectEllipses(Circle(1, 1, 5), Circle(1, 1, 3)).count, 0);
    EXPECT_EQ(IntersectEllipses(Ellipse(1, 1, 4, 3, 0.5), Ellipse(1, 1, 4, 3, 0.5)).count, 0);
    SCOPED_TRACE("distant circles");
    EXPECT_EQ(IntersectEllipses(Circle(0, 0, 1), Circle(5, 0, 1)).count, 0);
}

TEST(EllipseIntersect, TouchingCurvesGiveOnePointAndSmallCoordinatesBecomeZero)
{
    // The circle sits on top of the flat ellipse at (0, 2); x comes out as a
    // rounding residue below 1e-6 and is reported as exactly 0.
    const x_VectorList got = IntersectEllipses(Ellipse(0, 0, 10, 0, 0.2), Circle(0, 7, 5));
    ASSERT_EQ(got.count, 1);
    EXPECT_EQ(got.points[0].x, 0.0);
    EXPECT_NEAR(got.points[0].y, 2.0, kPointTol);
}

TEST(EllipseIntersect, DegenerateInputGivesNoPoint)
{
    EXPECT_EQ(IntersectEllipses(Ellipse(0, 0, 0, 0, 0.5), Circle(0, 0, 5)).count, 0);
    EXPECT_EQ(IntersectEllipses(Ellipse(0, 0, 10, 0, 0.0), Circle(0, 0, 5)).count, 0);
}

TEST(EllipseIntersect, QuarticRootsAndComplexRoot)
{
    // (x − 1)(x − 2)(x + 3)(x − 4) = x⁴ − 4x³ − 7x² + 34x − 24
    const Complex q[5] = {1.0, -4.0, -7.0, 34.0, -24.0};
    Complex roots[4];
    SolveQuartic(q, roots);
    std::vector<double> re;
    for (const Complex& r : roots) {
        EXPECT_NEAR(r.imag(), 0.0, 1e-9);
        re.push_back(r.real());
    }
    std::sort(re.begin(), re.end());
    EXPECT_NEAR(re[0], -3, 1e-9);
    EXPECT_NEAR(re[1], 1, 1e-9);
    EXPECT_NEAR(re[2], 2, 1e-9);
    EXPECT_NEAR(re[3], 4, 1e-9);
    const Complex c = ComplexRoot(Complex(-8.0, 0.0), 3);   // principal: 2·e^(iπ/3)
    EXPECT_NEAR(c.real(), 1.0, 1e-12);
    EXPECT_NEAR(c.imag(), std::sqrt(3.0), 1e-12);
    EXPECT_EQ(ComplexRoot(Complex(0.0, 0.0), 2), Complex(0.0, 0.0));
}

} // namespace
