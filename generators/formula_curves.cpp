#include "generators/formula_curves.h"

#include <cmath>

namespace {

constexpr double kDegree = 0.017453292519943295;
// Smallest base number of the rose-like curves; also keeps ln defined at t = 0.
constexpr double kMinBase = 0.0001;

double Sq(double v)
{
    return v * v;
}

double Cube(double v)
{
    return v * v * v;
}

} // namespace

double FormulaIntervals(const FormulaInputs& in)
{
    const double span = std::fabs(in.endDeg * kDegree - in.startDeg * kDegree);
    return std::trunc(span * (in.type == 8 ? 20.0 : 30.0));
}

x_Vector FormulaPoint(int type, double a, double t)
{
    const double a1 = a >= kMinBase ? a : kMinBase;
    switch (type) {
    case 0:
        return {a * t * (std::cos(t) + std::sin(t)), a * t * (std::sin(t) - std::cos(t))};
    case 1:
        return {4.0 * a * t, a * (5.0 * t * t + 3.0 * t)};
    case 2:
        return {10.0 * a * t, a * std::log(10.0 * t + kMinBase)};
    case 3:
        return {a * (9.0 * std::cos(t) + 3.0 * std::cos(3.0 * t)), a * (9.0 * std::sin(t) + 3.0 * std::sin(3.0 * t))};
    case 4:
        return {5.0 * a * Cube(std::cos(t)), 5.0 * a * Cube(std::sin(t))};
    case 5:
        return {10.0 * a * (2.0 * std::cos(t) + std::cos(2.0 * t)), 10.0 * a * (2.0 * std::sin(t) - std::sin(2.0 * t))};
    case 6: {
        const double r = 9.0 * Sq(std::sin(2.5 * t)) + a1;
        return {r * std::cos(t), r * std::sin(t)};
    }
    case 7: {
        const double r = a1 - 9.0 * Sq(std::sin(2.5 * t));
        return {r * std::cos(t), r * std::sin(t)};
    }
    case 8:
        return {a1 * (std::cos(t) + std::cos(2.0 * t)), 4.0 * a1 * std::sin(t)};
    default:
        return {0.0, 0.0};
    }
}

FormulaResult SampleFormulaCurve(const FormulaInputs& in, CArray<x_Vector>& nodes)
{
    nodes.RemoveAll();
    const double n = FormulaIntervals(in);
    if (std::isnan(n))
        return FormulaResult::undefined;
    // Below one interval the step span / n is undefined, and a curve of one
    // point is no curve.
    if (n < 1.0)
        return FormulaResult::tooShort;
    if (n + 1.0 > kMaxFormulaNodes)
        return FormulaResult::tooLong;
    const int count = static_cast<int>(n);
    const double span = std::fabs(in.endDeg * kDegree - in.startDeg * kDegree);
    const double step = span / count;
    for (int k = 0; k <= count; ++k) {
        const double t = in.reverse ? -(k * step) : k * step;
        const x_Vector p = FormulaPoint(in.type, in.base, t);
        // The logarithm in reverse has no value past the first sample; such
        // a curve is refused rather than cut to a single point.
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
            nodes.RemoveAll();
            return FormulaResult::undefined;
        }
        nodes.Add(p);
    }
    return FormulaResult::ok;
}
