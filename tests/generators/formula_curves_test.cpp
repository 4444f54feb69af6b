#include "generators/formula_curves.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

FormulaInputs Curve(int type, double start, double end, double base = 10.0, bool reverse = false)
{
    FormulaInputs in;
    in.type = type;
    in.startDeg = start;
    in.endDeg = end;
    in.base = base;
    in.reverse = reverse;
    return in;
}

TEST(FormulaCurves, NodeCountsAndFirstNodes)
{
    const struct {
        const char* name;
        FormulaInputs in;
        int nodes;
        double x0, y0;
    } kCases[] = {
        // span pi: trunc(30 pi) = 94 intervals.
        {"involute 0..180", Curve(0, 0, 180), 95, 0.0, 0.0},
        {"parabola 0..90", Curve(1, 0, 90), 48, 0.0, 0.0},
        {"logarithm 0..90: ln 0.0001 at t = 0", Curve(2, 0, 90), 48, 0.0, 10.0 * std::log(0.0001)},
        {"double-arc epicycloid 0..360", Curve(3, 0, 360), 189, 120.0, 0.0},
        {"astroid 0..360", Curve(4, 0, 360), 189, 50.0, 0.0},
        {"deltoid 0..360", Curve(5, 0, 360), 189, 300.0, 0.0},
        {"rose 0..360", Curve(6, 0, 360), 189, 10.0, 0.0},
        {"rose with base 0 uses 0.0001", Curve(6, 0, 360, 0.0), 189, 0.0001, 0.0},
        {"long-leaf star 0..360", Curve(7, 0, 360), 189, 10.0, 0.0},
        {"crescent 0..360: trunc(20 x 2 pi) = 125", Curve(8, 0, 360), 126, 20.0, 0.0},
        {"only the span counts", Curve(1, 90, 180), 48, 0.0, 0.0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        CArray<x_Vector> nodes;
        ASSERT_EQ(SampleFormulaCurve(c.in, nodes), FormulaResult::ok);
        ASSERT_EQ(nodes.GetSize(), c.nodes);
        EXPECT_NEAR(nodes[0].x, c.x0, 1e-9);
        EXPECT_NEAR(nodes[0].y, c.y0, 1e-9);
    }
}

TEST(FormulaCurves, ReverseRunsTheParameterTheOtherWay)
{
    CArray<x_Vector> forward, backward;
    ASSERT_EQ(SampleFormulaCurve(Curve(4, 0, 360), forward), FormulaResult::ok);
    ASSERT_EQ(SampleFormulaCurve(Curve(4, 0, 360, 10.0, true), backward), FormulaResult::ok);
    ASSERT_EQ(forward.GetSize(), backward.GetSize());
    const int n = forward.GetSize();
    // The astroid is symmetric in y: t -> -t is the mirror, and over a whole
    // turn the same point set runs the other way.
    for (int k = 0; k < n; ++k) {
        EXPECT_NEAR(backward[k].x, forward[n - 1 - k].x, 1e-9);
        EXPECT_NEAR(backward[k].y, forward[n - 1 - k].y, 1e-9);
    }
    // Same span from 90..180 as 0..90.
    CArray<x_Vector> a, b;
    SampleFormulaCurve(Curve(0, 90, 180), a);
    SampleFormulaCurve(Curve(0, 0, 90), b);
    ASSERT_EQ(a.GetSize(), b.GetSize());
    EXPECT_NEAR(a[a.GetSize() - 1].x, b[b.GetSize() - 1].x, 1e-12);
}

TEST(FormulaCurves, SpansAndValuesWithoutACurveAreRefused)
{
    CArray<x_Vector> nodes;
    EXPECT_EQ(SampleFormulaCurve(Curve(0, 30, 30), nodes), FormulaResult::tooShort);
    EXPECT_EQ(SampleFormulaCurve(Curve(8, 0, 2.8), nodes), FormulaResult::tooShort);   // 20 x 0.0489 < 1
    EXPECT_EQ(SampleFormulaCurve(Curve(0, 0, 1e9), nodes), FormulaResult::tooLong);
    EXPECT_EQ(SampleFormulaCurve(Curve(2, 0, 90, 10.0, true), nodes), FormulaResult::undefined);
    EXPECT_EQ(nodes.GetSize(), 0);
    EXPECT_EQ(SampleFormulaCurve(Curve(0, 0, std::nan("")), nodes), FormulaResult::undefined);
}

} // namespace
