#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CConstructionLine.h"
#include "geometry/CLine.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/intersect.h"

namespace {

constexpr double kExact = 1e-9;         // hand-worked values; only rounding differs

x_LineData Seg(double x1, double y1, double x2, double y2)
{
    return MakeLineRecord(x1, y1, x2, y2);
}

ArcRecord Circ(double cx, double cy, double r)
{
    return MakeArcRecord(x_Vector(cx, cy), r, 0.0, kTwoPi);
}

void ExpectList(const x_VectorList& got, const std::vector<x_Vector>& want, double tol = kExact)
{
    ASSERT_EQ(got.count, static_cast<int>(want.size()));
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_NEAR(got.points[i].x, want[i].x, tol) << "point " << i;
        EXPECT_NEAR(got.points[i].y, want[i].y, tol) << "point " << i;
        EXPECT_EQ(got.points[i].valid, 1) << "point " << i;
    }
}

// A stand-in entity: the intersection reads only the type, the points and
// the records; arcs and ellipses also answer the exact hit test.
class FakeUnit : public CUnit {
public:
    int type = 0;
    x_Vector start, end;
    EllipseAxes axes;
    int GetType() override { return type; }
    x_Vector GetStartPoint() override { return start; }
    x_Vector GetEndPoint() override { return end; }
    x_Vector GetCentre() override { return axes.centre; }
    double GetAxisAngle() override { return axes.axisAngle; }
    double GetSemiMajor() override { return axes.semiMajor; }
    double GetSemiMinor() override { return axes.semiMinor; }
    bool HitTest(x_Vector p, std::uint8_t) override
    {
        if (type == 8) {
            const ArcRecord& a = geometry.arc;
            return std::fabs(x_Vector::Distance(p, a.centre) - a.radius) < 0.001
                && AngleInArc(x_Vector::AngleTo(a.centre, p), a.startAngle, a.endAngle,
                              a.direction);
        }
        // Axis-parallel ellipse at its centre.
        const double u = (p.x - axes.centre.x) / axes.semiMajor;
        const double v = (p.y - axes.centre.y) / axes.semiMinor;
        return std::fabs(std::sqrt(u * u + v * v) - 1.0) < 0.0001;
    }
};

FakeUnit Line(double x1, double y1, double x2, double y2)
{
    FakeUnit u;
    u.type = 1;
    u.start = {x1, y1};
    u.end = {x2, y2};
    return u;
}

FakeUnit CircleUnit(double cx, double cy, double r)
{
    FakeUnit u;
    u.type = 7;
    u.geometry.circle.centre = {cx, cy};
    u.geometry.circle.radius = r;
    return u;
}

FakeUnit ArcUnit(double cx, double cy, double r, double s, double e)
{
    FakeUnit u;
    u.type = 8;
    u.geometry.arc = MakeArcRecord(x_Vector(cx, cy), r, s, e);
    return u;
}

FakeUnit EllipseUnit(double cx, double cy, double a, double b)
{
    FakeUnit u;
    u.type = 5;
    u.axes = {x_Vector(cx, cy), 0.0, a, b};
    u.geometry.ellipse.centre = {cx, cy};
    u.geometry.ellipse.majorAxis = {a, 0};
    u.geometry.ellipse.axisRatio = b / a;
    return u;
}

FakeUnit PointRun(int type, std::vector<x_Vector> pts)
{
    FakeUnit u;
    u.type = type;
    for (const x_Vector& p : pts) {
        u.nodes.Add(p);
        u.flatPoints.Add(p);
    }
    return u;
}

class Intersect : public testing::Test {
protected:
    void SetUp() override { ResetGeometryState(); }
};

TEST_F(Intersect, LineAndCircleFartherPointFirst)
{
    ExpectList(IntersectLineArc(Circ(0, 0, 10), Seg(-20, 0, 20, 0)), {{10, 0}, {-10, 0}});
    ExpectList(IntersectLineArc(Circ(0, 0, 10), Seg(20, 0, -20, 0)), {{-10, 0}, {10, 0}});
    const x_VectorList touch = IntersectLineArc(Circ(0, 0, 10), Seg(-20, 10, 20, 10));
    ExpectList(touch, {{0, 10}});
    EXPECT_EQ(touch.tangent, 1);
    EXPECT_EQ(IntersectLineArc(Circ(0, 0, 0.00009), Seg(-1, 0, 1, 0)).count, 0);
    EXPECT_EQ(IntersectLineArc(Circ(0, 0, 10), Seg(1, 1, 1, 1)).count, 0);
    EXPECT_EQ(IntersectLineArc(Circ(0, 0, 10), Seg(-20, 11, 20, 11)).count, 0);
}

TEST_F(Intersect, TwoCirclesRightOfTheCentreLineFirst)
{
    const x_VectorList two = IntersectArcArc(Circ(0, 0, 5), Circ(6, 0, 5));
    ExpectList(two, {{3, -4}, {3, 4}});
    EXPECT_EQ(two.tangent, 0);
    ExpectList(IntersectArcArc(Circ(6, 0, 5), Circ(0, 0, 5)), {{3, 4}, {3, -4}});
    const x_VectorList touch = IntersectArcArc(Circ(0, 0, 5), Circ(10, 0, 5));
    ExpectList(touch, {{5, 0}});
    EXPECT_EQ(touch.tangent, 1);
    EXPECT_EQ(IntersectArcArc(Circ(1, 1, 5), Circ(1, 1, 5)).count, 0);
    EXPECT_EQ(IntersectArcArc(Circ(1, 1, 5), Circ(1, 1, 2)).count, 0);
    EXPECT_EQ(IntersectArcArc(Circ(0, 0, 1), Circ(5, 0, 1)).count, 0);
}

TEST_F(Intersect, TouchingCirclesSurviveRoundingBelowZero)
{
    // Built touching along the angle 0.5; here h² rounds to about −1e-16,
    // which used to drop the point.
    const double r1 = 1.322, r2 = 0.726, a = 0.5;
    const x_Vector c1(0.57, 0.44);
    const x_Vector c2(c1.x + (r1 + r2) * std::cos(a), c1.y + (r1 + r2) * std::sin(a));
    const x_VectorList got = IntersectArcArc(MakeArcRecord(c1, r1, 0, kTwoPi),
                                             MakeArcRecord(c2, r2, 0, kTwoPi));
    ExpectList(got, {{c1.x + r1 * std::cos(a), c1.y + r1 * std::sin(a)}}, 1e-7);
    EXPECT_EQ(got.tangent, 1);
}

TEST_F(Intersect, LineAndLine)
{
    const struct { const char* name; x_LineData a, b; std::uint8_t bounded; int hits; x_Vector p; }
    kCases[] = {
        {"crossing inside both", Seg(0, 0, 10, 10), Seg(0, 10, 10, 0), 1, 1, {5, 5}},
        {"lines cross outside, unbounded", Seg(0, 0, 1, 1), Seg(0, 10, 10, 0), 0, 1, {5, 5}},
        {"outside both, boxes overlap", Seg(0, 0, 10, 10), Seg(6, 0, 10, 1), 1, 1, {-2, -2}},
        {"parallel", Seg(0, 0, 10, 0), Seg(0, 1, 10, 1), 0, 0, {}},
        {"collinear overlapping", Seg(0, 0, 10, 0), Seg(5, 0, 15, 0), 0, 0, {}},
        {"boxes apart in x only", Seg(0, 0, 2, 2), Seg(3, 0, 4, 2), 1, 0, {}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const x_VectorList got = IntersectLineLine(c.a, c.b, c.bounded);
        ASSERT_EQ(got.count, c.hits);
        if (c.hits == 1) {
            EXPECT_NEAR(got.points[0].x, c.p.x, kExact);
            EXPECT_NEAR(got.points[0].y, c.p.y, kExact);
        }
    }
}

TEST_F(Intersect, LineAndEllipse)
{
    const EllipseAxes e{x_Vector(0, 0), 0.0, 10, 2};
    // x²/100 + y²/4 = 1 at y = 1: x = ±sqrt(75).
    ExpectList(IntersectLineEllipse(e, Seg(-1, 1, 1, 1)), {{-std::sqrt(75.0), 1}, {std::sqrt(75.0), 1}});
    ExpectList(IntersectLineEllipse(e, Seg(-5, 2, 5, 2)), {{0, 2}});            // touching inside
    EXPECT_EQ(IntersectLineEllipse(e, Seg(20, 2, 30, 2)).count, 0);          // touching beyond
    EXPECT_EQ(IntersectLineEllipse(e, Seg(1, 1, 1, 1)).count, 0);            // no length
    // Turned a quarter: the major axis along y.
    const EllipseAxes t{x_Vector(1, 1), kPi / 2, 10, 2};
    ExpectList(IntersectLineEllipse(t, Seg(1, -20, 1, 20)), {{1, -9}, {1, 11}});
}

TEST_F(Intersect, EntitiesNullOrWithoutGeometryGiveNothing)
{
    FakeUnit line = Line(0, 0, 10, 0);
    FakeUnit text;
    text.type = 12;
    FakeUnit cut;
    cut.type = 24;
    EXPECT_EQ(IntersectEntities(nullptr, &line, 0).count, 0);
    EXPECT_EQ(IntersectEntities(&line, nullptr, 1).count, 0);
    EXPECT_EQ(IntersectEntities(&line, &text, 0).count, 0);
    EXPECT_EQ(IntersectEntities(&cut, &line, 0).count, 0);
}

TEST_F(Intersect, EntitiesExactFlagKeepsPointsOnBoth)
{
    FakeUnit a = Line(0, 0, 1, 1), b = Line(0, 10, 10, 0);
    ExpectList(IntersectEntities(&a, &b, 0), {{5, 5}});
    EXPECT_EQ(IntersectEntities(&a, &b, 1).count, 0);
    FakeUnit seg = Line(-20, 0, 20, 0), circle = CircleUnit(0, 0, 10);
    ExpectList(IntersectEntities(&seg, &circle, 1), {{10, 0}, {-10, 0}});
    ExpectList(IntersectEntities(&circle, &seg, 1), {{10, 0}, {-10, 0}});
}

TEST_F(Intersect, EntitiesCircleAndArcOverlappingOnlyOnTheMissingPart)
{
    // The circles cross at (3, ±4); the arc covers angles 0.1..1.0 of the
    // second circle's centre (6, 0), which holds neither point.
    FakeUnit circle = CircleUnit(0, 0, 5);
    FakeUnit arc = ArcUnit(6, 0, 5, 0.1, 1.0);
    EXPECT_EQ(IntersectEntities(&circle, &arc, 0).count, 2);
    EXPECT_EQ(IntersectEntities(&circle, &arc, 1).count, 0);
}

TEST_F(Intersect, EntitiesKeepTheTouchFlagOnlyFromTheCirclePairUnfiltered)
{
    FakeUnit a = CircleUnit(0, 0, 5), b = CircleUnit(10, 0, 5);
    EXPECT_EQ(IntersectEntities(&a, &b, 0).tangent, 1);
    const x_VectorList exact = IntersectEntities(&a, &b, 1);
    ExpectList(exact, {{5, 0}});
    EXPECT_EQ(exact.tangent, 0);
    FakeUnit touchLine = Line(-20, 5, 20, 5);
    EXPECT_EQ(IntersectEntities(&touchLine, &a, 0).tangent, 0);
}

TEST_F(Intersect, EntitiesPolylineVertexOnACircleCountsPerSegment)
{
    FakeUnit poly = PointRun(9, {{0, 0}, {10, 0}, {10, 10}});
    FakeUnit circle = CircleUnit(10, 0, 0.5);
    const x_VectorList got = IntersectEntities(&poly, &circle, 1);
    ExpectList(got, {{9.5, 0}, {10, 0.5}});
    FakeUnit through = CircleUnit(5, 0, 5);     // passes through the vertex (10, 0)
    ExpectList(IntersectEntities(&poly, &through, 1), {{10, 0}, {0, 0}, {10, 0}});
    // No closing edge: the polygon's last vertex back to the first is not tested.
    FakeUnit polygon = PointRun(10, {{0, 0}, {10, 0}, {10, 10}});
    FakeUnit diagonal = Line(2, 8, 8, 2);
    EXPECT_EQ(IntersectEntities(&polygon, &diagonal, 1).count, 0);
}

TEST_F(Intersect, EntitiesSplineSegmentByCommand)
{
    FakeUnit spline = PointRun(11, {{0, 0}, {10, 0}, {20, 10}, {30, 10}});
    FakeUnit v5 = Line(5, -20, 5, 20), v25 = Line(25, -20, 25, 20);
    spline.hitSegment = 0;
    EXPECT_EQ(IntersectEntities(&spline, &v5, 1).count, 0);
    spline.hitSegment = -1;
    EXPECT_EQ(IntersectEntities(&spline, &v5, 1).count, 0);
    spline.hitSegment = 1;
    ExpectList(IntersectEntities(&spline, &v5, 1), {{5, 0}});
    EXPECT_EQ(IntersectEntities(&spline, &v25, 1).count, 0);

    g_curCommand = 66;
    ExpectList(IntersectEntities(&spline, &v25, 1), {{25, 10}});      // every segment
    ExpectList(IntersectEntities(&spline, &v5, 1), {{5, 0}});
    ExpectList(IntersectEntities(&spline, &v5, 0), {{5, 10}});        // first: its last segment
    ExpectList(IntersectEntities(&v5, &spline, 0), {{5, 0}});         // second: its first
}

TEST_F(Intersect, EntitiesWithEllipses)
{
    FakeUnit ellipse = EllipseUnit(0, 0, 10, 2);
    FakeUnit circle = CircleUnit(0, 0, 5);
    const double x = std::sqrt(21.875), y = std::sqrt(3.125);
    EXPECT_EQ(IntersectEntities(&ellipse, &circle, 1).count, 4);
    EXPECT_EQ(IntersectEntities(&circle, &ellipse, 0).count, 4);
    const x_VectorList got = IntersectEntities(&ellipse, &circle, 0);
    for (const x_Vector& p : got.points) {
        EXPECT_NEAR(std::fabs(p.x), x, 1e-6);
        EXPECT_NEAR(std::fabs(p.y), y, 1e-6);
    }
    // A short line that would cross twice if extended.
    FakeUnit shortLine = Line(-1, 1, 1, 1);
    EXPECT_EQ(IntersectEntities(&ellipse, &shortLine, 0).count, 2);
    EXPECT_EQ(IntersectEntities(&shortLine, &ellipse, 1).count, 0);
    FakeUnit other = EllipseUnit(4, 0, 10, 5);
    FakeUnit same = EllipseUnit(0, 0, 10, 5);
    const x_VectorList equalRatio = IntersectEntities(&same, &other, 1);
    ASSERT_EQ(equalRatio.count, 2);
    for (const x_Vector& p : equalRatio.points) {
        EXPECT_NEAR(p.x, 2, 1e-6);
        EXPECT_NEAR(std::fabs(p.y), std::sqrt(24.0), 1e-6);
    }
    EXPECT_NE(equalRatio.points[0].y, equalRatio.points[1].y);
}

TEST_F(Intersect, DrawingEntitiesInPointOrder)
{
    CLine segment(-20, 0, 20, 0);
    CCir* c10 = NewCircle(x_Vector(0, 0), 10);
    CCir* c5 = NewCircle(x_Vector(0, 0), 5);
    CCir* c5right = NewCircle(x_Vector(6, 0), 5);
    CCir* c5far = NewCircle(x_Vector(10, 0), 5);
    CArc* upper = NewArc(x_Vector(0, 0), 10, 0, kPi, 0);
    CConstructionLine through(x_Vector(0, 20), x_Vector(0, -20));
    ExpectList(IntersectEntities(&segment, c10, 1), {{10, 0}, {-10, 0}});
    ExpectList(IntersectEntities(c5, c5right, 0), {{3, -4}, {3, 4}});
    const x_VectorList touch = IntersectEntities(c5, c5far, 0);
    ExpectList(touch, {{5, 0}});
    EXPECT_EQ(touch.tangent, 1);
    // The arc's sweep counts only with the exact flag: (0, −10) is off it.
    ExpectList(IntersectEntities(&through, upper, 0), {{0, -10}, {0, 10}});
    ExpectList(IntersectEntities(&through, upper, 1), {{0, 10}});
    ExpectList(IntersectEntities(upper, &segment, 1), {{10, 0}, {-10, 0}});
    for (CUnit* u : std::initializer_list<CUnit*>{c10, c5, c5right, c5far, upper})
        delete u;
}

} // namespace
