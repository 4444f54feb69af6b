#include "generators/taper_calc.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kDeg = 3.141592653589793 / 180.0;

TEST(TaperCalc, MeasuredEqualsSetKeepsTheHeights)
{
    // Page 1 with Dm = D: p = 0 and H1' = H2 + T(H1 - H2) / T = H1.
    TaperResult r = TaperPage1(120, 40, 2, 20, 20);
    ASSERT_TRUE(r.ok);
    EXPECT_NEAR(r.h1, 120, 1e-9);
    r = TaperPage2(40, 2, 20, 20);
    ASSERT_TRUE(r.ok);
    EXPECT_NEAR(r.h2, 40, 1e-9);
    r = TaperPage4(120, 3, 3);
    ASSERT_TRUE(r.ok);
    EXPECT_NEAR(r.h1, 120, 1e-9);
}

TEST(TaperCalc, WorkedValues)
{
    // Page 1: p = 0.1, T = tan 2; H1' = 40 + (0.1 + 80 T) / ((40 T - 0.1) / 40).
    const double t = std::tan(2 * kDeg);
    EXPECT_NEAR(TaperPage1(120, 40, 2, 20, 20.2).h1, 40 + (0.1 + 80 * t) / ((40 * t - 0.1) / 40), 1e-9);
    // Page 2: H2' = 40 - 0.1 / tan 2.
    EXPECT_NEAR(TaperPage2(40, 2, 20, 20.2).h2, 40 - 0.1 / t, 1e-9);
    // Page 3: thickness 50, taper 1, lower diameter 20.
    EXPECT_NEAR(TaperUpperDiameter(50, 1, 20), 20 - 100 * std::tan(1 * kDeg), 1e-12);
    const double t1 = std::tan(1 * kDeg), p = 0.05, m = (20.1 - 18.0) / 100.0;
    const TaperResult r = TaperPage3(120, 40, 50, 1, 20, 20.1, 18.0);
    ASSERT_TRUE(r.ok);
    EXPECT_NEAR(r.h2, (t1 * 40 - p) / t1, 1e-9);
    EXPECT_NEAR(r.h1, (t1 * 80 + p) / m + (t1 * 40 - p) / t1, 1e-9);
    // Page 4: H1 tan b / tan bm; a measured slant of 0 gives 0.
    EXPECT_NEAR(TaperPage4(100, 4, 2).h1, 100 * std::tan(4 * kDeg) / std::tan(2 * kDeg), 1e-9);
    EXPECT_TRUE(TaperPage4(100, 4, 0).ok);
    EXPECT_EQ(TaperPage4(100, 4, 0).h1, 0.0);
}

TEST(TaperCalc, DivisionsByZeroAreRefused)
{
    const struct {
        const char* name;
        TaperResult r;
    } kCases[] = {
        {"page 1, T H2 = p (no taper, no difference)", TaperPage1(120, 40, 0, 20, 20)},
        {"page 2, taper 0", TaperPage2(40, 0, 20, 20.2)},
        {"page 3, taper 0", TaperPage3(120, 40, 50, 0, 20, 20.1, 18)},
        {"page 3, thickness 0", TaperPage3(120, 40, 0, 1, 20, 20.1, 18)},
        {"page 3, equal measured diameters", TaperPage3(120, 40, 50, 1, 20, 20.1, 20.1)},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.r.ok);
        EXPECT_NE(c.r.refusal, nullptr);
    }
    // H2 = 0 shows 0 and is no refusal.
    EXPECT_TRUE(TaperPage1(120, 0, 2, 20, 20.2).ok);
}

} // namespace
