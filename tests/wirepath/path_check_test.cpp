// The path check on contours worked by hand: the 20 x 10 rectangle from
// (10, 0) counter-clockwise, offset outward (to the right) by 0.1, exact
// and with one fault each.

#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/wirepath/trail_fixture.h"
#include "wirepath/TrailPath.h"
#include "wirepath/check_segments.h"
#include "wirepath/path_check.h"

namespace {

constexpr double kD = 0.1;

x_TrailDataArray Chain(const std::vector<x_Vector>& pts)
{
    x_TrailDataArray list;
    for (size_t i = 0; i + 1 < pts.size(); ++i)
        list.Add(Line(pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, static_cast<int>(i)));
    return list;
}

const std::vector<x_Vector> kRect = {{10, 0}, {20, 0}, {20, 10}, {0, 10}, {0, 0}, {10, 0}};
// The miter offset, each corner 0.1 out in x and in y.
const std::vector<x_Vector> kRectOut = {{10, -0.1}, {20.1, -0.1}, {20.1, 10.1}, {-0.1, 10.1}, {-0.1, -0.1}, {10, -0.1}};

SurfaceIntent Intent(double offset, int side)
{
    SurfaceIntent i;
    i.set = true;
    i.side = side;
    i.offset = offset;
    return i;
}

PathCheckResult Check(const x_TrailDataArray& contour, const x_TrailDataArray& reference, const SurfaceIntent& intent,
                      bool closed = true)
{
    return CheckContour(contour.GetData(), contour.GetSize(), contour.GetSize(), reference, intent, closed);
}

} // namespace

using PathCheck = WirepathTest;

TEST_F(PathCheck, HandWorkedRectangleContours)
{
    const x_TrailDataArray rect = Chain(kRect);
    const struct {
        const char* name;
        std::vector<x_Vector> contour;
        PathFault fault;
    } kCases[] = {
        {"exact miter offset", kRectOut, kCheckOk},
        {"top edge 0.05 in: cuts into the part",
         {{10, -0.1}, {20.1, -0.1}, {20.1, 10.05}, {-0.1, 10.05}, {-0.1, -0.1}, {10, -0.1}}, kCheckTooNear},
        {"corner chamfered through the part's corner",
         {{10, -0.1}, {20.1, -0.1}, {20.1, 9.9}, {19.9, 10.1}, {-0.1, 10.1}, {-0.1, -0.1}, {10, -0.1}}, kCheckTooNear},
        {"top edge 0.1 out: the offset there is missing",
         {{10, -0.1}, {20.1, -0.1}, {20.1, 10.2}, {-0.1, 10.2}, {-0.1, -0.1}, {10, -0.1}}, kCheckUncovered},
        {"ends 0.0005 apart at the lead-in",
         {{10, -0.1}, {20.1, -0.1}, {20.1, 10.1}, {-0.1, 10.1}, {-0.1, -0.1}, {9.9995, -0.1}}, kCheckClosingOpen},
        {"collapsed to the lead-in point and back", {{10, -0.1}, {10.5, -0.1}, {10, -0.1}}, kCheckUncovered},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Check(Chain(c.contour), rect, Intent(kD, 0)).fault, c.fault);
    }
    // The same contour checked at the wrong side or distance.
    EXPECT_EQ(Check(Chain(kRectOut), rect, Intent(kD, 1)).fault, kCheckUncovered);
    EXPECT_EQ(Check(Chain(kRectOut), rect, Intent(-kD, 1)).fault, kCheckOk);
    EXPECT_EQ(Check(Chain(kRectOut), rect, Intent(0.2, 0)).fault, kCheckTooNear);
    EXPECT_EQ(Check(Chain(kRectOut), rect, Intent(0.05, 0)).fault, kCheckUncovered);
}

TEST_F(PathCheck, FaultsTellWhereAndHowFar)
{
    const PathCheckResult r = Check(
        Chain({{10, -0.1}, {20.1, -0.1}, {20.1, 10.05}, {-0.1, 10.05}, {-0.1, -0.1}, {10, -0.1}}), Chain(kRect),
        Intent(kD, 0));
    ASSERT_EQ(r.fault, kCheckTooNear);
    EXPECT_EQ(r.element, 2);
    EXPECT_NEAR(r.measured, 0.05, 1e-12);
    EXPECT_NEAR(r.intended, 0.1, 1e-12);
    EXPECT_EQ(PathCheckHint(r), CString(u"轨迹检查：下表面在(10.000,10.050)离图形0.0500mm，小于补偿0.1000mm，会切入工件"));
}

// An L with a concave corner at (10, 5), offset outward: the contour meets
// the concave corner 0.1 from both edges, and every other corner by miter.
TEST_F(PathCheck, ConcaveCornerAndRoundedConvexCornerPass)
{
    const x_TrailDataArray l = Chain({{5, 0}, {20, 0}, {20, 5}, {10, 5}, {10, 10}, {0, 10}, {0, 0}, {5, 0}});
    const x_TrailDataArray out =
        Chain({{5, -0.1}, {20.1, -0.1}, {20.1, 5.1}, {10.1, 5.1}, {10.1, 10.1}, {-0.1, 10.1}, {-0.1, -0.1}, {5, -0.1}});
    EXPECT_EQ(Check(out, l, Intent(kD, 0)).fault, kCheckOk);
    // At 0.001 the points beside the concave corner are barely nearer the
    // other edge than due.
    const x_TrailDataArray thin = Chain({{5, -0.001}, {20.001, -0.001}, {20.001, 5.001}, {10.001, 5.001},
                                         {10.001, 10.001}, {-0.001, 10.001}, {-0.001, -0.001}, {5, -0.001}});
    EXPECT_EQ(Check(thin, l, Intent(0.001, 0)).fault, kCheckOk);
    // A wire that rounds the corner (20, 0) on an arc of 0.1 cuts the same part.
    x_TrailDataArray rounded;
    rounded.Add(Line(5, -0.1, 20, -0.1));
    rounded.Add(Arc(20, 0, kD, 1.5 * kPi, 0.0, false));
    for (int i = 1; i < out.GetSize(); ++i)
        rounded.Add(out[i]);
    rounded[2].start = x_Vector(20.1, 0);
    EXPECT_EQ(Check(rounded, l, Intent(kD, 0)).fault, kCheckOk);
}

// A circle of radius 5 in two halves; the hole's contour at 4.9.
TEST_F(PathCheck, ArcsAtTheirOffset)
{
    x_TrailDataArray circle;
    circle.Add(Arc(0, 0, 5, 0, kPi, false, 0));
    circle.Add(Arc(0, 0, 5, kPi, 0, false, 1));
    x_TrailDataArray hole;
    hole.Add(Arc(0, 0, 4.9, 0, kPi, false, 0));
    hole.Add(Arc(0, 0, 4.9, kPi, 0, false, 1));
    EXPECT_EQ(Check(hole, circle, Intent(kD, 1)).fault, kCheckOk);
    hole[0].radius = hole[1].radius = 4.95;
    EXPECT_EQ(Check(hole, circle, Intent(kD, 1)).fault, kCheckTooNear);
    EXPECT_EQ(Check(circle, circle, Intent(0.0, 1)).fault, kCheckOk);
    // An arc over x 14..16 of the rectangle's bottom offset, its chord 0.1
    // below the part, bulging up 0.05 into it (radius 10.025): its chord
    // alone would pass.
    const double r = 10.025, cy = -0.05 - r, a = std::atan2(-0.1 - cy, 1.0);
    x_TrailDataArray bulge = Chain({{10, -0.1}, {14, -0.1}});
    bulge.Add(Arc(15, cy, r, kPi - a, a, true, 1));
    for (const x_TrailData& e : Chain({{16, -0.1}, {20.1, -0.1}, {20.1, 10.1}, {-0.1, 10.1}, {-0.1, -0.1}, {10, -0.1}}))
        bulge.Add(e);
    const PathCheckResult near = Check(bulge, Chain(kRect), Intent(kD, 0));
    EXPECT_EQ(near.fault, kCheckTooNear);
    EXPECT_NEAR(near.measured, 0.05, 1e-9);
}

// Variable taper: the left edge leans 0.4237 inward while the others stand
// 0.1 outward; the upper contour crosses the drawn corners there.
TEST_F(PathCheck, VariableTaperChangingSidesAtCorners)
{
    x_TrailDataArray rect = Chain(kRect);
    const double t = 0.5237;        // tan(1.5°) x 20 to four places
    rect[3].taperAngle = 1.5;
    SurfaceIntent intent = Intent(kD, 0);
    intent.perElementTaper = true;
    intent.negate = true;
    intent.thickness = t / std::tan(1.5 * kPi / 180.0);
    const double x = t - kD;
    const x_TrailDataArray upper =
        Chain({{10, -0.1}, {20.1, -0.1}, {20.1, 10.1}, {x, 10.1}, {x, -0.1}, {10, -0.1}});
    EXPECT_EQ(Check(upper, rect, intent).fault, kCheckOk);
    // The lean missing: the left edge where the other edges are.
    EXPECT_NE(Check(Chain(kRectOut), rect, intent).fault, kCheckOk);
}

// An open contour: the wire may not run on past its end.
TEST_F(PathCheck, OpenContourEnds)
{
    const x_TrailDataArray line = Chain({{0, 0}, {10, 0}});
    EXPECT_EQ(Check(Chain({{0, -0.1}, {10, -0.1}}), line, Intent(kD, 0), false).fault, kCheckOk);
    EXPECT_EQ(Check(Chain({{0, -0.1}, {12, -0.1}}), line, Intent(kD, 0), false).fault, kCheckTooFar);
    EXPECT_EQ(Check(Chain({{0, -0.1}, {8, -0.1}}), line, Intent(kD, 0), false).fault, kCheckUncovered);
}

TEST_F(PathCheck, JointsAreExact)
{
    x_TrailDataArray list = Chain(kRectOut);
    EXPECT_EQ(CheckJoints(list).fault, kCheckOk);
    list[2].start.x += 0.0005;
    const PathCheckResult r = CheckJoints(list);
    EXPECT_EQ(r.fault, kCheckJointOpen);
    EXPECT_EQ(r.element, 2);
    EXPECT_NEAR(r.measured, 0.0005, 1e-12);
}

// A finished path: lead-in, the contour, 2 mm of over-cut out and back,
// lead-out; the parts are found by their roles and the return to the start.
TEST_F(PathCheck, FinishedPathIsTakenApartByItsLeadsAndItsReturn)
{
    TrailPath path;
    path.params.closedCut = 1;
    path.unshifted[0] = Chain(kRect);
    path.intent[0] = Intent(kD, 0);
    x_TrailDataArray& lower = path.lists[0];
    lower.Add(Line(10, -5, 10, -0.1));
    lower[0].role = 1;
    lower.Append(Chain(kRectOut));
    lower.Add(Line(10, -0.1, 12, -0.1));
    lower.Add(Line(12, -0.1, 10, -0.1));
    lower.Add(Line(10, -0.1, 10, -5));
    lower[lower.GetSize() - 1].role = 1;
    EXPECT_EQ(CheckFinishedPath(path).fault, kCheckOk);

    // An upper surface of the same shape, run the other way round.
    path.unshifted[1] = path.unshifted[0];
    path.intent[1] = path.intent[0];
    x_TrailDataArray& upper = path.lists[1];
    upper.Add(lower[0]);
    for (int i = 5; i >= 1; --i) {
        x_TrailData e = lower[i];
        e.Reverse();
        upper.Add(e);
    }
    for (int i = 6; i < lower.GetSize(); ++i)
        upper.Add(lower[i]);
    PathCheckResult r = CheckFinishedPath(path);
    EXPECT_EQ(r.fault, kCheckOrientation);
    upper.InsertAt(1, Line(10, -0.1, 10, -0.1));
    EXPECT_EQ(CheckFinishedPath(path).fault, kCheckCounts);

    // A contour that never comes back to its start.
    TrailPath open;
    open.params.closedCut = 1;
    open.unshifted[0] = path.unshifted[0];
    open.intent[0] = path.intent[0];
    open.lists[0] = Chain({{10, -0.1}, {20.1, -0.1}, {20.1, 10.1}, {-0.1, 10.1}, {-0.1, -0.1}, {9.9995, -0.1}});
    r = CheckFinishedPath(open);
    EXPECT_EQ(r.fault, kCheckClosingOpen);
    EXPECT_NEAR(r.measured, 0.0005, 1e-9);
}

// The crossing rule alone (no intent): elements that do not follow each
// other may not meet, also a few elements apart within a long run, and a
// long run of short elements that only advances passes.
TEST_F(PathCheck, ElementsThatDoNotFollowEachOtherNeverMeet)
{
    std::vector<x_Vector> straight;
    for (int i = 0; i <= 40; ++i)
        straight.push_back({0.25 * i, 0.0});
    std::vector<x_Vector> polygon;
    for (int i = 0; i <= 64; ++i)
        polygon.push_back({10.0 * std::cos(kTwoPi * (i % 64) / 64), 10.0 * std::sin(kTwoPi * (i % 64) / 64)});
    // Along the straight run, up, back over it and down onto it at x = 1.5.
    std::vector<x_Vector> hook(straight.begin(), straight.begin() + 13);
    for (const x_Vector& p : std::vector<x_Vector>{{3, 1}, {1.5, 1}, {1.5, 0.5}, {1.5, 0}})
        hook.push_back(p);
    // The same, stopping 0.001 short of the run.
    std::vector<x_Vector> shortHook = hook;
    shortHook.back() = {1.5, 0.001};
    // A polygon whose 22nd vertex lies just beyond its 19th.
    std::vector<x_Vector> folded = polygon;
    folded[21] = folded[18] * 1.001;
    const struct {
        const char* name;
        std::vector<x_Vector> points;
        bool closed;
        PathFault fault;
    } kCases[] = {
        {"40 short elements in a line", straight, false, kCheckOk},
        {"64-gon", polygon, true, kCheckOk},
        {"bow tie", {{0, 0}, {10, 10}, {10, 0}, {0, 10}, {0, 0}}, true, kCheckCrossing},
        {"hook down onto the run", hook, false, kCheckCrossing},
        {"hook stopping short of the run", shortHook, false, kCheckOk},
        {"polygon with a vertex beyond an earlier one", folded, true, kCheckCrossing},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const x_TrailDataArray list = Chain(c.points);
        EXPECT_EQ(CheckContour(list.GetData(), list.GetSize(), list.GetSize(), list, SurfaceIntent(), c.closed).fault,
                  c.fault);
    }
}

// The check's own sine and cosine agree with the library's to a few units
// in the last place, over the angles an element can hold and past the
// range where they hand over to the library.
TEST(PathCheckTrig, SinCosAgreesWithTheLibrary)
{
    double worst = 0.0;
    for (double x : {0.0, -0.0, kPi / 4, -kPi / 4, kPi / 2, kPi, 1.5 * kPi, kTwoPi, -kTwoPi, 1e-300, 99999.9, 1e5, 3e7})
        for (double step = -1.0; step <= 1.0; step += 1.0 / 1024) {
            const double a = x + step * 1e-9;
            double s, c;
            SinCos(a, s, c);
            worst = std::max({worst, std::fabs(s - std::sin(a)), std::fabs(c - std::cos(a))});
        }
    for (int i = -200000; i <= 200000; ++i) {
        const double a = i * 1.2345e-3;
        double s, c;
        SinCos(a, s, c);
        worst = std::max({worst, std::fabs(s - std::sin(a)), std::fabs(c - std::cos(a))});
    }
    EXPECT_LT(worst, 1e-15);
}
