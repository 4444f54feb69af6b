#include "generators/gear_outline.h"

#include "generators/involute_tooth.h"
#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CLine.h"
#include "geometry/CSplines.h"
#include "geometry/spline_math.h"
#include "tests/generators/generator_fixture.h"

namespace {

// Worked by hand for z 20, m 1, alpha 20 degrees, x 0: pitch radius 10,
// base radius 10 cos 20, half tooth angle pi / 40, inv 20 = tan 20 - 20 (rad).
constexpr double kRb = 9.3969262078590838;
constexpr double kInv20 = 0.014904383867336446;
constexpr double kThetaS = 3.141592653589793 / 40.0;
// Points computed from the entities against the closed formula.
constexpr double kFlankTol = 1e-6;

double Inv(double a)
{
    return std::tan(a) - a;
}

double AngleDiff(double a, double b)
{
    return std::remainder(a - b, 2.0 * kPi);
}

GearInputs Z20()
{
    GearInputs in;
    in.teeth = 20;
    in.module = 1.0;
    in.alphaDeg = 20.0;
    in.ha = 1.0;
    in.c = 0.25;
    return in;
}

GearInputs Z40()
{
    GearInputs in = Z20();
    in.teeth = 40;
    return in;
}

class GearOutlineTest : public UnitListTest {
protected:
    bool External(const GearInputs& in, GearOutline& out)
    {
        return BuildExternalGear(in, ExternalGearCircles(in), 7, false, units, out);
    }
    bool Internal(const GearInputs& in, GearOutline& out)
    {
        return BuildInternalGear(in, InternalGearCircles(in), 7, false, units, out);
    }
};

TEST_F(GearOutlineTest, ExternalZ20CirclesAndEntityCount)
{
    const GearCircles c = ExternalGearCircles(Z20());
    EXPECT_DOUBLE_EQ(2 * c.ra, 22.0);
    EXPECT_DOUBLE_EQ(2 * c.rroot, 17.5);
    GearOutline out;
    ASSERT_TRUE(External(Z20(), out));
    EXPECT_EQ(out.message, CString(u"--"));
    // Per tooth two flanks, two radial lines (the root circle lies inside
    // the base circle) and a tip line; 20 root arcs; the handle circle.
    ASSERT_EQ(units.GetSize(), 121);
    EXPECT_EQ(Count(11), 40);
    EXPECT_EQ(Count(1), 60);
    EXPECT_EQ(Count(8), 20);
    CUnit* handle = units[120];
    ASSERT_EQ(handle->GetType(), 7);
    EXPECT_NEAR(handle->geometry.circle.radius, 7.95, 1e-12);
    EXPECT_EQ(handle->role, 2);
    EXPECT_EQ(handle->gearHandle, 1);
    EXPECT_EQ(out.handleUnit, handle);
    EXPECT_TRUE(out.handlePoint.IsEqual({0, 0}));
    for (CUnit* u : units) {
        EXPECT_EQ(u->gearKind, 1);
        EXPECT_EQ(u->pieceOf, 5);
        EXPECT_EQ(u->toothCount, 20);
        EXPECT_EQ(u->group, 7);
        EXPECT_EQ(u->complete, 0);
    }
    // Each copy's pieces in order: right flank, left flank, two radial
    // lines, the tip line; the first tooth's axis points along +x.
    EXPECT_NEAR(units[0]->geometry.spline.phase, 0.0, 1e-15);
    EXPECT_EQ(units[1]->geometry.spline.mirrored, 1);
    EXPECT_NEAR(units[5]->geometry.spline.phase, 2 * kPi / 20, 1e-15);
}

TEST_F(GearOutlineTest, ExternalFlanksFollowTheAnalyticInvolute)
{
    GearOutline out;
    ASSERT_TRUE(External(Z20(), out));
    EXPECT_NEAR(units[0]->geometry.spline.baseRadius, kRb, 1e-12);
    int checked = 0;
    for (int k = 0; k < 20; ++k) {
        const double axis = k * 2 * kPi / 20;
        for (int side = 0; side < 2; ++side) {
            auto* flank = static_cast<CSplines*>(units[5 * k + side]);
            ASSERT_EQ(flank->GetType(), 11);
            x_VectorArray curve, keys;
            BuildInvolute(flank->geometry.spline, 0.01, curve, keys);
            ASSERT_GE(curve.GetSize(), 50);
            for (const x_Vector& p : curve) {
                const double r = p.Length();
                ASSERT_GE(r, kRb - 1e-9);
                ASSERT_LE(r, 11.0 + 1e-9);
                const double unroll = Inv(std::acos(std::min(1.0, kRb / r)));
                const double expected = side == 0 ? axis - kThetaS - kInv20 + unroll
                                                  : axis + kThetaS + kInv20 - unroll;
                EXPECT_NEAR(AngleDiff(p.Angle(), expected), 0.0, kFlankTol);
                ++checked;
            }
            // Base circle to tip circle.
            EXPECT_NEAR(flank->GetStartPoint().Length(), kRb, kFlankTol);
            EXPECT_NEAR(flank->GetEndPoint().Length(), 11.0, kFlankTol);
        }
    }
    EXPECT_GT(checked, 2000);
}

TEST_F(GearOutlineTest, ExternalOutlineIsClosed)
{
    GearOutline out;
    ASSERT_TRUE(External(Z20(), out));
    // Radial lines run from the root circle up to the flank's base point,
    // tip lines join the flank tops on the tip circle, root arcs lie on the
    // root circle and start and end at radial lines' feet.
    for (int k = 0; k < 20; ++k) {
        auto* rightFlank = units[5 * k];
        auto* leftFlank = units[5 * k + 1];
        auto* rightRadial = static_cast<CLine*>(units[5 * k + 2]);
        auto* leftRadial = static_cast<CLine*>(units[5 * k + 3]);
        auto* tip = static_cast<CLine*>(units[5 * k + 4]);
        EXPECT_NEAR(rightRadial->geometry.line.p1.Length(), 8.75, 1e-9);
        EXPECT_TRUE(rightRadial->geometry.line.p2.IsEqual(rightFlank->GetStartPoint()));
        EXPECT_TRUE(leftRadial->geometry.line.p2.IsEqual(leftFlank->GetStartPoint()));
        EXPECT_TRUE(tip->geometry.line.p1.IsEqual(rightFlank->GetEndPoint()));
        EXPECT_TRUE(tip->geometry.line.p2.IsEqual(leftFlank->GetEndPoint()));
        auto* arc = static_cast<CArc*>(units[100 + k]);
        EXPECT_NEAR(arc->geometry.arc.radius, 8.75, 1e-12);
        EXPECT_TRUE(arc->GetStartPoint().IsEqual(leftRadial->geometry.line.p1));
        auto* nextRight = static_cast<CLine*>(units[5 * ((k + 1) % 20) + 2]);
        EXPECT_TRUE(arc->GetEndPoint().IsEqual(nextRight->geometry.line.p1));
    }
}

TEST_F(GearOutlineTest, InternalZ40CirclesCountAndHandle)
{
    const GearCircles c = InternalGearCircles(Z40());
    EXPECT_DOUBLE_EQ(2 * c.ra, 38.0);
    EXPECT_DOUBLE_EQ(2 * c.rroot, 42.5);
    GearOutline out;
    ASSERT_TRUE(Internal(Z40(), out));
    // The tip circle lies outside the base circle: per space two flanks that
    // start on the tip circle and a bottom line; 40 tip arcs; the handle.
    ASSERT_EQ(units.GetSize(), 161);
    EXPECT_EQ(Count(11), 80);
    EXPECT_EQ(Count(1), 40);
    EXPECT_EQ(Count(8), 40);
    EXPECT_NEAR(units[160]->geometry.circle.radius, 21.75, 1e-12);
    EXPECT_EQ(out.handleUnit, units[160]);
    EXPECT_NEAR(units[0]->GetStartPoint().Length(), 19.0, 1e-9);
    EXPECT_NEAR(units[0]->GetEndPoint().Length(), 21.25, 1e-9);
    for (CUnit* u : units) {
        EXPECT_EQ(u->gearKind, 2);
        EXPECT_EQ(u->toothCount, 40);
    }
    // The 40th tip arc joins the last space to the first.
    auto* last = static_cast<CArc*>(units[159]);
    EXPECT_TRUE(last->GetEndPoint().IsEqual(units[0]->GetStartPoint()));
}

TEST_F(GearOutlineTest, InternalGearWithNegativeShiftIsBuilt)
{
    // The circles follow the space: da = m(z - 2ha* + 2x), df = m(z + 2ha* + 2c* + 2x).
    GearInputs in = Z40();
    in.shift = -0.5;
    const GearCircles c = InternalGearCircles(in);
    EXPECT_DOUBLE_EQ(2 * c.ra, 37.0);
    EXPECT_DOUBLE_EQ(2 * c.rroot, 41.5);
    GearOutline out;
    ASSERT_TRUE(Internal(in, out)) << out.message.ToUtf8();
    // The tip circle now lies inside the base circle: radial lines as well.
    EXPECT_EQ(units.GetSize(), 241);
    // The circles moved against the shift closed the space before its root.
    TearDown();
    EXPECT_FALSE(BuildInternalGear(in, GearCircles{19.5, 21.75}, 7, false, units, out));
    EXPECT_EQ(out.message, CString(u"#参数不正确，无法生成齿轮"));
}

TEST_F(GearOutlineTest, ByCountRunOfTeeth)
{
    GearInputs in = Z20();
    in.byCount = true;
    in.countToMake = 5;
    in.startAngleDeg = 90.0;
    GearOutline out;
    ASSERT_TRUE(External(in, out));
    EXPECT_EQ(units.GetSize(), 5 * 5 + 4);
    EXPECT_EQ(Count(7), 0);
    EXPECT_NEAR(units[0]->geometry.spline.phase, kPi / 2, 1e-12);
    ASSERT_NE(out.handleUnit, nullptr);
    EXPECT_EQ(out.handleUnit, units[2 * 5 + 4]) << "the tip line of the third tooth";
    EXPECT_EQ(out.handleUnit->gearHandle, 1);
    EXPECT_EQ(units[0]->toothCount, 5);
}

TEST_F(GearOutlineTest, RunsAndRefusalsTable)
{
    const struct {
        const char* name;
        GearInputs in;
        bool internal;
        bool ok;
        const char16_t* message;
        int units;
    } kCases[] = {
        {"count above z gives the full gear", [] { auto g = Z20(); g.byCount = true; g.countToMake = 50; return g; }(),
         false, true, u"--", 121},
        {"count 0 places nothing", [] { auto g = Z20(); g.byCount = true; g.countToMake = 0; return g; }(), false, true,
         u"--", 0},
        {"tip fillet centre inside the base circle", [] { auto g = Z20(); g.tipFillet = 2.0; return g; }(), false,
         false, u"#齿顶过渡圆角半径过大或变位系数过大", 0},
        {"root fillet of m / 2", [] { auto g = Z20(); g.rootFillet = 0.5; return g; }(), false, false,
         u"#齿根过渡圆半径过大 代码：1", 0},
        {"root fillet just below m / 2", [] { auto g = Z20(); g.rootFillet = 0.499; return g; }(), false, true, u"--",
         -1},
        {"shift passing the tooth axis", [] { auto g = Z20(); g.shift = -1.0; g.ha = 3.0; return g; }(), false,
         false, u"#变位系数过大", 0},
        {"typed da = df", [] { auto g = Z20(); g.typedSizes = true; g.typedDa = 20; g.typedDf = 20; return g; }(),
         false, false, u"#外齿轮参数 da<df 参数错误", 0},
        {"internal tip fillet of m / 2", [] { auto g = Z40(); g.tipFillet = 0.5; return g; }(), true, false,
         u"#齿根过渡圆半径过大 代码：1", 0},
        {"internal typed da > df", [] { auto g = Z40(); g.typedSizes = true; g.typedDa = 44; g.typedDf = 42; return g; }(),
         true, false, u"#内齿轮参数 da>df 参数错误", 0},
        {"internal one space by count", [] { auto g = Z40(); g.byCount = true; return g; }(), true, true, u"--", 3},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TearDown();
        GearOutline out;
        const bool ok = c.internal ? Internal(c.in, out) : External(c.in, out);
        EXPECT_EQ(ok, c.ok);
        EXPECT_EQ(out.message, CString(c.message));
        if (c.units >= 0) {
            EXPECT_EQ(units.GetSize(), c.units);
        }
    }
}

TEST_F(GearOutlineTest, FilletsOnBothCorners)
{
    // Outer fillet 0.4 on a z 20, m 2 gear: the fillet's top lies within
    // 0.01 mm inside the tip circle (the construction is approximate).
    GearInputs in = Z20();
    in.module = 2.0;
    in.tipFillet = 0.4;
    in.rootFillet = 0.76;
    GearOutline out;
    ASSERT_TRUE(External(in, out)) << out.message.ToUtf8();
    bool sawTipFillet = false;
    for (CUnit* u : units) {
        if (u->GetType() != 8 || std::fabs(u->geometry.arc.radius - 0.4) > 1e-12)
            continue;
        const double top = u->GetEndPoint().Length();
        EXPECT_LE(top, 22.0 + 1e-9);
        EXPECT_GT(top, 22.0 - 0.01);
        sawTipFillet = true;
    }
    EXPECT_TRUE(sawTipFillet);
    // Root circle 17.5 + rf inside the base circle 18.79: radial case, one
    // radial line per side.
    EXPECT_EQ(Count(1), 20 * 3);
}

TEST_F(GearOutlineTest, InternalTangentTipFilletStartsTheFlankAboveTheBase)
{
    GearInputs in = Z40();
    in.tipFillet = 0.38;
    GearOutline out;
    ASSERT_TRUE(Internal(in, out)) << out.message.ToUtf8();
    EXPECT_GT(units[0]->geometry.spline.startParam, 0.0);
    EXPECT_EQ(Count(1), 40);        // bottom lines only, no radial lines
}

TEST_F(GearOutlineTest, TeethLimits)
{
    EXPECT_EQ(TeethCountMessage(0), CString(u"#请输入齿数"));
    EXPECT_TRUE(TeethCountMessage(kMaxGearTeeth).IsEmpty());
    EXPECT_EQ(TeethCountMessage(2147483647), CString(u"#齿数不能大于1000"));
}

} // namespace
