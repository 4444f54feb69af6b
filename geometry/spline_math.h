#pragma once

// The curve builders of the spline entity: the interpolating cubic through
// key points (open or closed), the involute flank of a gear tooth and the
// rational B-spline with all weights 1. They sample into a point list at
// g_SplineStep (millimetres, or radians for the involute).

#include <vector>

#include "geometry/UnitGeometry.h"
#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"

using x_VectorArray = CArray<x_Vector>;

// Arrays of one cubic build, n entries each (n = the solved point count).
struct SplineWorkspace {
    std::vector<double> pointX, pointY;         // key points
    std::vector<double> spanX, spanY;           // chord k: P(k+1) - P(k)
    std::vector<double> ratio;                  // |chord k| / |chord k+1|
    std::vector<double> sub, diag, super;       // tangent system
    std::vector<double> tangentX, tangentY;     // right-hand side, then tangents
    std::vector<double> endTangentX, endTangentY;
    int n = 0;
};

// Ten Jacobi sweeps on the tridiagonal (open) or cyclic (closed) system;
// the result overwrites b.
void SolveTangentsJacobi(const SplineWorkspace& ws, std::vector<double>& b);
void SolveTangentsCyclic(const SplineWorkspace& ws, std::vector<double>& b);
// Points to reserve for the sampling: N + 1 per segment.
int CountSplineSamples(const SplineWorkspace& ws, bool closed);
// Samples every segment into out (appending); returns the points written.
int SampleSplineSegments(const SplineWorkspace& ws, bool closed, x_VectorArray& out);
// One segment k: its start point, then N samples with near repeats dropped.
void SampleHermiteSegment(const SplineWorkspace& ws, int k, x_VectorArray& out);
void FreeSplineWorkspace(SplineWorkspace& ws);

// Interpolating cubic through keys into out (emptied first). Consecutive
// key points closer than 1e-6 count once; with fewer than two distinct
// points out is a copy of keys.
void BuildOpenCubic(const x_VectorArray& keys, SplineWorkspace& ws, x_VectorArray& out);
void BuildClosedCubic(const x_VectorArray& keys, SplineWorkspace& ws, x_VectorArray& out);

// Involute flank of the record at step radians into curve; keys becomes its
// first and last point (empty when fewer than two points).
void BuildInvolute(const SplineRecord& rec, double step, x_VectorArray& curve,
                   x_VectorArray& keys);
// The involute's point at pressure angle t.
x_Vector InvolutePoint(const SplineRecord& rec, double t);

// Step from the box of the key points: max(width, height) / 60 within
// [0.05, 1.0]; fewer than two points keep current.
double SampleStepFor(const x_VectorArray& keys, double current);

// B-spline pieces; every array is indexed from 1 (element 0 unused), control
// and curve points are (x, y, z) triples.
void BSplineBasis(int c, double t, int n, const int* x, const double* w, double* r);
void ClampedKnots(int n, int c, int* x);
void UniformKnots(int n, int c, int* x);
void EvaluateClamped(int n, int c, int m, const double* b, const double* w, double* p);
void EvaluateUniform(int n, int c, int m, const double* b, const double* w, double* p);
// B-spline with keys as control points, 8 output points per control point.
void BuildBSpline(const x_VectorArray& keys, int degree, bool closed, x_VectorArray& out);
