#pragma once

// The nine parametric curves of the formula-curve dialog, sampled into the
// nodes of an interpolating spline.

#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"

constexpr int kFormulaCurveTypes = 9;
// More nodes than this are refused: a huge typed span would exhaust memory.
constexpr int kMaxFormulaNodes = 20000;

struct FormulaInputs {
    int type = 0;                   // 0..8, the list order of the dialog
    double startDeg = 0.0;
    double endDeg = 0.0;
    double base = 0.0;              // the base number a
    bool reverse = false;           // the parameter runs negative
};

enum class FormulaResult {
    ok,
    tooShort,                       // the span gives no interval
    tooLong,                        // more than kMaxFormulaNodes nodes
    undefined,                      // a sample has no value (reverse logarithm)
};

// Interval count of the span: 30 per radian, 20 for type 8, truncated.
double FormulaIntervals(const FormulaInputs& in);
// The point of the type's formula at parameter t.
x_Vector FormulaPoint(int type, double a, double t);
// The samples k = 0 .. n, t = k * span / n (negated in reverse); nodes is
// left empty unless the result is ok.
FormulaResult SampleFormulaCurve(const FormulaInputs& in, CArray<x_Vector>& nodes);
