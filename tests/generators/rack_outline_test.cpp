#include "generators/rack_outline.h"

#include "geometry/CArc.h"
#include "geometry/CLine.h"
#include "tests/generators/generator_fixture.h"

namespace {

constexpr double kTol = 1e-9;

// The factory rack: z 18, module 2, alpha 20, ha* 0.8, c* 0.25, x 0.
RackInputs Factory()
{
    RackInputs in;
    in.teeth = 18;
    in.module = 2.0;
    in.alphaDeg = 20.0;
    in.ha = 0.8;
    in.c = 0.25;
    return in;
}

class RackOutlineTest : public UnitListTest {};

TEST_F(RackOutlineTest, FactoryHeightsAndTypedHeights)
{
    const RackHeights h = ComputeRackHeights(Factory());
    EXPECT_NEAR(h.ha, 1.6, kTol);
    EXPECT_NEAR(h.hf, 2.1, kTol);
    RackInputs typed = Factory();
    typed.typedHeights = true;
    typed.typedTip = 3.0;                // the field shows twice the height
    typed.typedRoot = 4.2;
    EXPECT_NEAR(ComputeRackHeights(typed).ha, 1.5, kTol);
}

TEST_F(RackOutlineTest, FactoryRackWithPresetRootFillet)
{
    RackInputs in = Factory();
    in.rootFillet = 0.76;                // 0.38 x module
    RackOutline out;
    ASSERT_TRUE(BuildRack(in, ComputeRackHeights(in), 3, units, out));
    // Per space two flanks, two root fillets and a root line; 19 tip lines.
    EXPECT_EQ(units.GetSize(), 18 * 5 + 19);
    EXPECT_EQ(Count(8), 36);
    const double p = 2.0 * kPi;
    const double height = 3.7;
    // The outline runs from (0, H) to (z p, H): a half tip at each end.
    auto* first = static_cast<CLine*>(units[18 * 5]);
    auto* last = static_cast<CLine*>(units[units.GetSize() - 1]);
    EXPECT_NEAR(first->geometry.line.p1.x, 0.0, kTol);
    EXPECT_NEAR(first->geometry.line.p1.y, height, kTol);
    EXPECT_NEAR(last->geometry.line.p2.x, 18 * p, kTol);
    EXPECT_NEAR(last->geometry.line.p2.y, height, kTol);
    // The middle tip line (index 19 / 2 = 9) is the handle, over tooth 9.
    ASSERT_NE(out.handleUnit, nullptr);
    EXPECT_EQ(out.handleUnit, units[18 * 5 + 9]);
    EXPECT_NEAR(out.handlePoint.x, 9 * p, kTol);
    EXPECT_NEAR(out.handlePoint.y, height, kTol);
    for (CUnit* u : units) {
        EXPECT_EQ(u->gearKind, 3);
        EXPECT_EQ(u->toothCount, 18);
        EXPECT_EQ(u->group, 3);
        EXPECT_EQ(u->pieceOf, 5);
    }
    // Root fillets end on the root line, tip lines lie on the tip line.
    for (CUnit* u : units) {
        if (u->GetType() == 8) {
            EXPECT_NEAR(u->GetEndPoint().y, 0.0, kTol);
        }
    }
}

TEST_F(RackOutlineTest, WithoutFilletsRootLinesAndTipLinesByHand)
{
    RackInputs in = Factory();
    RackOutline out;
    ASSERT_TRUE(BuildRack(in, ComputeRackHeights(in), 1, units, out));
    const double p = 2.0 * kPi, t = std::tan(20.0 * kPi / 180.0);
    for (int k = 0; k < 18; ++k) {
        auto* root = static_cast<CLine*>(units[3 * k + 2]);
        EXPECT_NEAR(root->geometry.line.p1.x, k * p + p / 4 + 2.1 * t, kTol);
        EXPECT_NEAR(root->geometry.line.p2.x, (k + 1) * p - p / 4 - 2.1 * t, kTol);
        EXPECT_EQ(root->gearHandle, 1);
    }
}

TEST_F(RackOutlineTest, FilletLimitsAndSingleSpace)
{
    const double p = 2.0 * kPi;
    const double mu = (20.0 * kPi / 180.0 + kPi / 2) / 2;
    const double t = std::tan(20.0 * kPi / 180.0);
    // The root fillet whose bottom reaches x = p/2 exactly, and the tip
    // fillet whose top reaches x = 0.
    const double rfMax = (p / 4 - 2.1 * t) / (std::cos(mu) / std::sin(mu));
    const double rtMax = (p / 4 - 1.6 * t) / (std::cos(mu) / std::sin(mu));
    const struct {
        const char* name;
        double rt, rf;
        bool ok;
        const char16_t* message;
    } kCases[] = {
        {"largest root fillet", 0.0, rfMax * (1 - 1e-9), true, u"--"},
        {"root fillet past the space centre", 0.0, rfMax * 1.001, false, u"#齿根过渡圆角半径过大"},
        {"largest tip fillet", rtMax * (1 - 1e-9), 0.0, true, u"--"},
        {"tip fillet past the tooth centre", rtMax * 1.001, 0.0, false, u"#齿顶过渡圆角半径过大"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TearDown();
        RackInputs in = Factory();
        in.tipFillet = c.rt;
        in.rootFillet = c.rf;
        RackOutline out;
        EXPECT_EQ(BuildRack(in, ComputeRackHeights(in), 1, units, out), c.ok);
        EXPECT_EQ(out.message, CString(c.message));
        if (!c.ok) {
            EXPECT_EQ(units.GetSize(), 0);
        }
    }
    TearDown();
    RackInputs one = Factory();
    one.teeth = 1;
    RackOutline out;
    ASSERT_TRUE(BuildRack(one, ComputeRackHeights(one), 1, units, out));
    // One space between two half teeth: two tip lines, the second the handle.
    EXPECT_EQ(units.GetSize(), 3 + 2);
    EXPECT_EQ(out.handleUnit, units[4]);
}

} // namespace
