// Property test: the compensation offset of random simple polygons agrees
// with Clipper's miter offset of the same polygon.

#include <algorithm>
#include <cmath>
#include <random>

#include "tests/wirepath/trail_fixture.h"
#include "wirepath/trail_offset.h"

#ifdef ZORVA_HAVE_CLIPPER
#include <polyclipping/clipper.hpp>
#endif

namespace {

// Clipper works on integers, and where it resolves a nearly straight corner
// its rounding grows by the inverse of the turn (about 300 units at 0.2°):
// 1e-10 mm per unit keeps that below the agreement asked for.
constexpr double kClipperScale = 1e10;
constexpr double kAgree = 1e-6;             // mm between corresponding vertices
// Corners between 30° and 330° keep every offset edge longer than its
// shortening at both ends when the offset is at most a tenth of the
// smallest feature, so the offset keeps the polygon's topology.
constexpr double kMinCorner = 30.0 * kPi / 180.0;

double SegmentDistance(const x_Vector& p, const x_Vector& a, const x_Vector& b)
{
    const x_Vector ab = b - a, ap = p - a;
    const double t = std::clamp((ap.x * ab.x + ap.y * ab.y) / (ab.x * ab.x + ab.y * ab.y), 0.0, 1.0);
    return x_Vector::Distance(p, a + ab * t);
}

// The smallest edge and the smallest distance between a vertex and an
// edge it does not touch; 0 when a corner is sharper than the limit.
double SmallestFeature(const std::vector<x_Vector>& pts)
{
    const int n = static_cast<int>(pts.size());
    double feature = 1e300;
    for (int i = 0; i < n; ++i) {
        const x_Vector& prev = pts[(i + n - 1) % n];
        const x_Vector& p = pts[i];
        const x_Vector& next = pts[(i + 1) % n];
        const x_Vector u = prev - p, v = next - p;
        const double corner = std::acos(std::clamp((u.x * v.x + u.y * v.y) / (u.Length() * v.Length()), -1.0, 1.0));
        if (corner < kMinCorner)
            return 0.0;
        feature = std::min(feature, v.Length());
        for (int k = 0; k < n; ++k) {
            if (k == i || (k + 1) % n == i)
                continue;
            feature = std::min(feature, SegmentDistance(p, pts[k], pts[(k + 1) % n]));
        }
    }
    return feature;
}

// A star-shaped polygon: sorted angles, a smooth radius with some noise,
// coordinates on a 0.001 mm grid.
std::vector<x_Vector> RandomPolygon(std::mt19937& rng, int n)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<double> angles(static_cast<size_t>(n));
    for (double& a : angles)
        a = unit(rng) * kTwoPi;
    std::sort(angles.begin(), angles.end());
    double amp[3], phase[3];
    for (int k = 0; k < 3; ++k) {
        amp[k] = 0.25 * unit(rng) / (k + 1);
        phase[k] = unit(rng) * kTwoPi;
    }
    const double noise = unit(rng) * 0.1;
    std::vector<x_Vector> pts;
    for (const double a : angles) {
        double r = 1.0 + noise * (unit(rng) - 0.5);
        for (int k = 0; k < 3; ++k)
            r += amp[k] * std::sin((k + 1) * a + phase[k]);
        r *= 60.0;
        pts.emplace_back(std::round(r * std::cos(a) * 1000.0) / 1000.0, std::round(r * std::sin(a) * 1000.0) / 1000.0);
    }
    return pts;
}

double NearestVertex(const x_Vector& p, const std::vector<x_Vector>& to)
{
    double best = 1e300;
    for (const x_Vector& q : to)
        best = std::min(best, x_Vector::Distance(p, q));
    return best;
}

} // namespace

using OffsetAgainstClipper = WirepathTest;

TEST_F(OffsetAgainstClipper, RandomPolygonsAgreeWithTheMiterOffset)
{
#ifndef ZORVA_HAVE_CLIPPER
    GTEST_SKIP() << "Clipper (libpolyclipping-dev) not installed";
#else
    std::mt19937 rng(20240616);
    std::uniform_int_distribution<int> sizes(3, 200);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int cases = 0;
    for (int attempt = 0; cases < 120 && attempt < 20000; ++attempt) {
        const int n = cases < 12 ? 3 + cases % 6 : sizes(rng);
        std::vector<x_Vector> pts = RandomPolygon(rng, n);
        const double feature = SmallestFeature(pts);
        if (feature <= 0.0)
            continue;
        ++cases;
        const bool clockwise = unit(rng) < 0.5;
        if (clockwise)
            std::reverse(pts.begin(), pts.end());
        const bool outward = unit(rng) < 0.5;
        const double delta = std::max(0.001, feature / 10.0 * unit(rng));
        SCOPED_TRACE(testing::Message() << "case " << cases << ", " << n << " vertices, "
                                        << (outward ? "outward " : "inward ") << delta);
        const x_TrailDataArray in = Polygon(pts);
        x_TrailDataArray out;
        // Right of a counter-clockwise run is the outside.
        const int side = (outward != clockwise) ? 0 : 1;
        ASSERT_EQ(OffsetTrail(1, 0, in, out, 1, side, delta), kOffsetOk);
        EXPECT_FALSE(TrailCrossesItself(out.GetData(), out.GetSize(), true));

        ClipperLib::Path path;
        for (const x_Vector& p : pts)
            path.emplace_back(static_cast<ClipperLib::cInt>(std::llround(p.x * kClipperScale)),
                              static_cast<ClipperLib::cInt>(std::llround(p.y * kClipperScale)));
        ClipperLib::ClipperOffset co(100.0);
        co.AddPath(path, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
        ClipperLib::Paths solution;
        co.Execute(solution, (outward ? delta : -delta) * kClipperScale);
        ASSERT_EQ(solution.size(), 1u);
        std::vector<x_Vector> expected, ours;
        for (const ClipperLib::IntPoint& q : solution[0])
            expected.emplace_back(q.X / kClipperScale, q.Y / kClipperScale);
        for (const x_TrailData& e : out)
            ours.push_back(e.start);
        double worst = 0.0;
        for (const x_Vector& p : expected)
            worst = std::max(worst, NearestVertex(p, ours));
        for (const x_Vector& p : ours)
            worst = std::max(worst, NearestVertex(p, expected));
        // Counts may differ where Clipper keeps two points a rounding
        // apart on a nearly straight corner; every point has its partner.
        EXPECT_LT(worst, kAgree);
        if (HasFailure()) {
            x_TrailDataArray clip = Polygon(expected);
            ADD_FAILURE() << WriteSvg("clipper_case", {&in, &out, &clip});
            return;
        }
    }
    EXPECT_EQ(cases, 120);
#endif
}
