#pragma once

// Crossings of two ellipses (a circle counts as an ellipse with equal axes)
// by elimination to a quartic in x, solved in closed form.

#include <complex>

#include "geometry/x_VectorList.h"

using Complex = std::complex<double>;

// An ellipse and its implicit form A·x² + B·xy + C·y² + D·x + E·y + F = 0.
// The caller fills the first six fields; EllipseConic fills the rest.
struct ConicRecord {
    double cx = 0.0, cy = 0.0;          // centre
    double axisX = 0.0, axisY = 0.0;    // along the major axis; direction only
    double semiMajor = 0.0;
    double semiMinor = 0.0;
    double A = 0.0, B = 0.0, C = 0.0, D = 0.0, E = 0.0, F = 0.0;
};

// The y² term eliminated between two conics: k0·x² + k1·xy + k2·x + k3·y + k4
// = 0, and the monic quartic in x that substitution into the first gives.
struct ConicElimination {
    double k[5] = {};
    double leading = 0.0;               // x⁴ coefficient before scaling
    Complex quartic[5];                 // x⁴ (1) down to the constant
};

void EllipseConic(ConicRecord& conic);
x_VectorList IntersectEllipses(const ConicRecord& p, const ConicRecord& q);

ConicElimination ConicResultant(const ConicRecord& p, const ConicRecord& q);
// Roots of x⁴ + b·x³ + c·x² + d·x + e (coefficients from index 1 on).
void SolveQuartic(const Complex quartic[5], Complex roots[4]);
Complex ComplexRoot(Complex z, int n);
void BackSubstituteY(const Complex x[4], const double k[5], const ConicRecord& q, Complex y[4]);
x_VectorList CollectConicPoints(const Complex x[4], const Complex y[4], const ConicRecord& p,
                                const ConicRecord& q, double m1, double m2);
