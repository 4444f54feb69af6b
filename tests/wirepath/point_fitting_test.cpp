#include <cmath>

#include "tests/wirepath/trail_fixture.h"
#include "wirepath/point_fitting.h"

namespace {

std::vector<x_Vector> CirclePoints(double r, double from, double to, double step)
{
    std::vector<x_Vector> pts;
    const int n = static_cast<int>(std::lround(std::fabs(to - from) / step));
    for (int i = 0; i <= n; ++i) {
        const double a = from + (to - from) * i / n;
        pts.emplace_back(r * std::cos(a), r * std::sin(a));
    }
    return pts;
}

CArray<x_LineToArcData> Fit(const std::vector<x_Vector>& pts, double tol = 0.001)
{
    CArray<x_LineToArcData> out;
    FitLinesAndArcs(pts.data(), static_cast<int>(pts.size()), out, tol);
    return out;
}

} // namespace

TEST(PointFitting, ShortRunsAndStraightRuns)
{
    EXPECT_EQ(Fit({}).GetSize(), 0);
    EXPECT_EQ(Fit({{1, 1}}).GetSize(), 0);
    EXPECT_EQ(Fit({{0, 0}, {1, 0}}).GetSize(), 1);
    const auto three = Fit({{0, 0}, {1, 0}, {2, 0}});
    ASSERT_EQ(three.GetSize(), 2);
    ExpectPoint(three[0].end, 1, 0);
    const auto four = Fit({{0, 0}, {1, 0}, {2, 0}, {3, 0}});
    ASSERT_EQ(four.GetSize(), 2);
    ExpectPoint(four[0].end, 2, 0);
    ExpectPoint(four[1].start, 2, 0);
    ExpectPoint(four[1].end, 3, 0);
}

TEST(PointFitting, SampledArcBecomesOneArcEitherWay)
{
    for (const bool clockwise : {false, true}) {
        SCOPED_TRACE(clockwise ? "clockwise" : "counter-clockwise");
        const auto out = clockwise ? Fit(CirclePoints(10, 2.0, 0.5, 0.05)) : Fit(CirclePoints(10, 0.5, 2.0, 0.05));
        ASSERT_EQ(out.GetSize(), 1);
        EXPECT_EQ(out[0].kind, 2);
        EXPECT_EQ(out[0].direction, clockwise ? 1 : 0);
        EXPECT_NEAR(out[0].startAngle, clockwise ? 2.0 : 0.5, 1e-9);
        EXPECT_NEAR(out[0].endAngle, clockwise ? 0.5 : 2.0, 1e-9);
        EXPECT_NEAR(out[0].radius, 10, 1e-9);
    }
    // A half circle in three points is no arc: 31.4 against a chord of 20.
    EXPECT_EQ(Fit({{10, 0}, {0, 10}, {-10, 0}}).GetSize(), 2);
    // A last point off the circle ends the run with a line.
    auto pts = CirclePoints(10, 0.5, 1.5, 0.05);
    pts.push_back({0, 20});
    const auto out = Fit(pts);
    ASSERT_EQ(out.GetSize(), 2);
    EXPECT_EQ(out[1].kind, 1);
    ExpectPoint(out[1].end, 0, 20);
}

TEST(PointFitting, ArcPieceEndsAtHalfATurn)
{
    // A full circle sampled densely: the arc used to grow round to the start.
    const auto out = Fit(CirclePoints(5, 0.0, kTwoPi, 0.01));
    ASSERT_GE(out.GetSize(), 2);
    for (const x_LineToArcData& piece : out) {
        if (piece.kind != 2)
            continue;
        double sweep = piece.endAngle - piece.startAngle;
        if (sweep < 0)
            sweep += kTwoPi;
        EXPECT_LE(sweep, kPi + 1e-9);
    }
    // A run that turns back along its circle closes the arc there.
    auto pts = CirclePoints(5, 0.0, 1.0, 0.01);
    const auto back = CirclePoints(5, 1.0, 0.5, 0.01);
    pts.insert(pts.end(), back.begin() + 1, back.end());
    const auto out2 = Fit(pts);
    ASSERT_GE(out2.GetSize(), 2);
    EXPECT_NEAR(out2[0].endAngle, 1.0, 1e-9);
}
