#pragma once

// The construction that external and internal gear outlines share: one
// template shape with its axis on +y (a tooth of an external gear, a tooth
// space of an internal one) bounded by two involute flanks that unwind from
// the base circle, finished at its outer circle (tip of a tooth, root of a
// space) and at its inner circle, mirrored about its axis, and placed around
// the centre O = (0, 0), neighbouring copies joined by arcs of the inner
// circle. Millimetres and radians, angles counter-clockwise from +x.
//
//            axis (pi/2)
//     left    |    right      the right flank lies clockwise of the axis;
//    flank \  |  / flank      its point of parameter t (the pressure angle
//           \ | /             there) lies at radius rb / cos t
//        ----\|/---- inner circle

#include <cstdint>
#include <memory>
#include <vector>

#include "geometry/CUnit.h"           // CUnitDocument.h needs it complete
#include "geometry/CUnitDocument.h"
#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"

class CArc;
class CLine;
class CSplines;

using x_VectorArray = CArray<x_Vector>;

// What the gear generator gives the construction.
struct ToothBasis {
    double rb = 0.0;            // base radius
    double invAlpha = 0.0;      // tan a' - a', a' = acos(rb / pitch radius)
    double thetaS = 0.0;        // half the angular width of the shape at the pitch circle
};

// The template pieces; each is held here only while one outline is built.
struct ToothTemplate {
    ToothTemplate();
    ~ToothTemplate();
    std::unique_ptr<CSplines> rightFlank, leftFlank;
    std::unique_ptr<CLine> rightRadial, leftRadial;
    std::unique_ptr<CArc> rightInnerFillet, leftInnerFillet;
    std::unique_ptr<CArc> rightOuterFillet, leftOuterFillet;
};

// The right template flank's point of parameter t.
x_Vector RightFlankPoint(const ToothBasis& basis, double t);

// A right template flank from t = 0 to tEnd (involute spline, axis pi/2).
std::unique_ptr<CSplines> NewTemplateFlank(const ToothBasis& basis, double tEnd);
// Sets the parameter range of a flank; its nodes become its two end points.
void SetFlankRange(CSplines& flank, double tStart, double tEnd);

// Samples the flank at steps of about 0.1 rad into samples and returns their
// count: one for a span below one step, none for an undefined span (a tip
// circle inside the base circle).
int SampleInvolute(CSplines& flank, x_VectorArray& samples);

// The fillet between the right flank and the outer circle of radius rOut.
// False, building nothing, when the fillet circle cannot touch the flank
// (rOut - rho inside the base circle). t1 is where the flank then ends.
bool BuildOuterFillet(const ToothBasis& basis, double rOut, double rho, std::unique_ptr<CArc>& arc,
                      double& t1);

// The fillet between the right flank and the inner circle of radius rIn:
// below the base circle a radial line continues the flank from s0 (its
// base-circle point) and the fillet joins that line; otherwise the fillet
// touches the involute itself and the flank starts there.
void BuildInnerFillet(const ToothBasis& basis, double rIn, double rho, const x_Vector& s0, ToothTemplate& t);
// The inner corner without a fillet: a radial line down to the inner circle,
// or the flank starting on it. False when the circle meets no point.
bool BuildPlainInnerCorner(const ToothBasis& basis, double rIn, const x_Vector& s0, ToothTemplate& t);

// The left pieces: the right ones mirrored about the axis (x -> -x).
void MirrorTemplate(ToothTemplate& t);

// Markings and places of the copies.
struct ToothPlacement {
    int count = 0;                  // copies
    double firstAxis = 0.0;         // axis angle of copy 0
    double step = 0.0;              // 2 pi / z
    std::int32_t toothCount = 0;
    std::uint8_t gearKind = 0;      // 1 external, 2 internal
    std::int32_t group = 0;
};

// What placing left for the closing arcs and the handle choice.
struct PlacedTeeth {
    x_VectorArray leftInner;        // per copy, on the inner circle side
    x_VectorArray rightInner;
    std::vector<CLine*> connecting; // per copy; null when the outer points coincide
};

// Appends count copies of the template to out, each followed by the line
// joining its right and left outer points.
void PlaceToothCopies(const ToothTemplate& t, const ToothPlacement& place, CUnitArray& out,
                      PlacedTeeth& placed);
// Appends arcCount arcs of the inner circle, arc i from copy i's left side to
// copy i + 1's right side (wrapping); nothing for fewer than two copies.
void AppendInnerArcs(const PlacedTeeth& placed, int arcCount, double rIn, const ToothPlacement& place,
                     CUnitArray& out);

// Gives a generated unit the markings of the gear it belongs to.
void MarkGearPiece(CUnit& unit, const ToothPlacement& place);
