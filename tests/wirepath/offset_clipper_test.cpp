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

#ifdef ZORVA_HAVE_CLIPPER
// Clipper's miter offset of the polygon (delta > 0 outward): its contours.
ClipperLib::Paths ClipperOffsetOf(const std::vector<x_Vector>& pts, double delta)
{
    ClipperLib::Path path;
    for (const x_Vector& p : pts)
        path.emplace_back(static_cast<ClipperLib::cInt>(std::llround(p.x * kClipperScale)),
                          static_cast<ClipperLib::cInt>(std::llround(p.y * kClipperScale)));
    ClipperLib::ClipperOffset co(100.0);
    co.AddPath(path, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
    ClipperLib::Paths solution;
    co.Execute(solution, delta * kClipperScale);
    return solution;
}

std::vector<x_Vector> VerticesOf(const ClipperLib::Path& path)
{
    std::vector<x_Vector> out;
    for (const ClipperLib::IntPoint& q : path)
        out.emplace_back(q.X / kClipperScale, q.Y / kClipperScale);
    return out;
}

// The farthest a start point of ours lies from Clipper's vertices (from
// its edges, with `onEdges`: a start in the middle of an edge), or one of
// those vertices from our start points. (Points of elements that vanished
// stand at a vertex of the offset too.)
double VerticesApart(const x_TrailDataArray& out, const std::vector<x_Vector>& expected, bool onEdges = false)
{
    std::vector<x_Vector> ours;
    for (const x_TrailData& e : out)
        ours.push_back(e.start);
    double worst = 0.0;
    for (const x_Vector& p : expected)
        worst = std::max(worst, NearestVertex(p, ours));
    const size_t n = expected.size();
    for (const x_Vector& p : ours) {
        double d = NearestVertex(p, expected);
        for (size_t k = 0; onEdges && k < n; ++k)
            d = std::min(d, SegmentDistance(p, expected[k], expected[(k + 1) % n]));
        worst = std::max(worst, d);
    }
    return worst;
}
#endif

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

        const ClipperLib::Paths solution = ClipperOffsetOf(pts, outward ? delta : -delta);
        ASSERT_EQ(solution.size(), 1u);
        const std::vector<x_Vector> expected = VerticesOf(solution[0]);
        // Counts may differ where Clipper keeps two points a rounding
        // apart on a nearly straight corner; every point has its partner.
        EXPECT_LT(VerticesApart(out, expected), kAgree);
        if (HasFailure()) {
            x_TrailDataArray clip = Polygon(expected);
            ADD_FAILURE() << WriteSvg("clipper_case", {&in, &out, &clip});
            return;
        }
    }
    EXPECT_EQ(cases, 120);
#endif
}

// Polygons with an edge that vanishes in the offset (the offset of its
// neighbours meet past it): the offset is still one contour, and ours
// agrees with Clipper's vertex by vertex.
TEST_F(OffsetAgainstClipper, EdgesThatVanishAgreeWithTheMiterOffset)
{
#ifndef ZORVA_HAVE_CLIPPER
    GTEST_SKIP() << "Clipper (libpolyclipping-dev) not installed";
#else
    // A rack's end: from the middle of a tooth's tip (0.84 wide, flanks at
    // 20 degrees) round a space and the next half tip, down to a base.
    const std::vector<x_Vector> kHalfTeeth = {{0, 2.25},       {0.421428, 2.25}, {1.240361, 0}, {1.901232, 0},
                                              {2.720165, 2.25}, {3.141593, 2.25}, {3.141593, -5}, {0, -5}};
    // A 0.03 step in the bottom of a square, starting left of it.
    const std::vector<x_Vector> kStep = {{2, 0}, {5, 0}, {5, 0.03}, {10, 0.03}, {10, 10}, {0, 10}, {0, 0}};
    const struct {
        const char* name;
        std::vector<x_Vector> pts;
        int side;                       // 0 right, 1 left
        double delta;                   // Clipper's: > 0 outward
    } kCases[] = {
        // The first element vanished, and a line bridged the gap from the
        // last one to where its carrier met the second (0.09 mm into the
        // part at 0.3); before that, the joint was taken at (0, 0).
        {"half tips vanish, first and last, 0.3", kHalfTeeth, 0, -0.3},
        {"half tips vanish, first and last, 0.45", kHalfTeeth, 0, -0.45},
        {"half tips stay, 0.2", kHalfTeeth, 0, -0.2},
        {"short step, outline, 0.1", kStep, 0, 0.1},
        {"short step, hole, 0.1", kStep, 1, -0.1},
        {"short step, outline, 0.5", kStep, 0, 0.5},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        x_TrailDataArray out;
        ASSERT_EQ(OffsetTrail(1, 0, Polygon(c.pts), out, 1, c.side, std::fabs(c.delta)), kOffsetOk);
        const ClipperLib::Paths solution = ClipperOffsetOf(c.pts, c.delta);
        ASSERT_EQ(solution.size(), 1u);
        EXPECT_LT(VerticesApart(out, VerticesOf(solution[0]), true), kAgree);
        EXPECT_FALSE(TrailCrossesItself(out.GetData(), out.GetSize(), true));
        EXPECT_EQ(out[out.GetSize() - 1].EndPoint(), out[0].StartPoint());
        if (HasFailure()) {
            const x_TrailDataArray in = Polygon(c.pts), clip = Polygon(VerticesOf(solution[0]));
            ADD_FAILURE() << WriteSvg("vanishing_edge", {&in, &out, &clip});
            return;
        }
    }
#endif
}
