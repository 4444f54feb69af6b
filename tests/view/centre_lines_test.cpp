#include <gtest/gtest.h>

#include <cmath>

#include "view/commands/centre_lines.h"

namespace {

x_LineData Line(double x1, double y1, double x2, double y2)
{
    x_LineData l;
    l.p1 = x_Vector(x1, y1);
    l.p2 = x_Vector(x2, y2);
    return l;
}

// Compares as a segment: either end order.
void ExpectSegment(const CentreLineGeometry& g, x_Vector a, x_Vector b)
{
    constexpr double kTol = 1e-9;   // worked by hand, exact in doubles up to rounding
    const bool forward = std::fabs(g.start.x - a.x) < kTol && std::fabs(g.start.y - a.y) < kTol;
    const x_Vector& s = forward ? a : b;
    const x_Vector& e = forward ? b : a;
    EXPECT_NEAR(g.start.x, s.x, kTol);
    EXPECT_NEAR(g.start.y, s.y, kTol);
    EXPECT_NEAR(g.end.x, e.x, kTol);
    EXPECT_NEAR(g.end.y, e.y, kTol);
}

} // namespace

TEST(CentreLines, BetweenTwoLines)
{
    const struct {
        const char* name;
        x_LineData a, b;
        x_Vector s, e;
    } kCases[] = {
        {"parallel, same way", Line(0, 0, 10, 0), Line(0, 4, 10, 4), {0, 2}, {10, 2}},
        {"parallel, opposite ways", Line(0, 0, 10, 0), Line(10, 4, 0, 4), {0, 2}, {10, 2}},
        // Directions 0.01 and 2π − 0.01: the difference folds to 0.02 and
        // neither line is reversed (the raw difference reversed one and
        // gave a short cross line at x = 5).
        {"nearly parallel, straddling 0", Line(0, 0, 10, 0.1), Line(0, 2, 10, 1.9), {0, 1}, {10, 1}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const CentreLineGeometry g = CentreLineOfTwoLines(c.a, c.b);
        ExpectSegment(g, c.s, c.e);
        EXPECT_NEAR(g.halfLength, 5.0, 1e-9);
    }
}
