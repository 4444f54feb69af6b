#pragma once

// External and internal involute gear outlines: the circles, the checks and
// the outline itself, written into a list of new units (the gear dialog's
// preview list). The template construction is involute_tooth.h.

#include <cstdint>

#include "geometry/CUnit.h"           // CUnitDocument.h needs it complete
#include "geometry/CUnitDocument.h"
#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"
#include "platform/core/CString.h"

class CUnit;

// More teeth than this are refused: each tooth makes several units, and a
// huge typed count would exhaust memory.
constexpr int kMaxGearTeeth = 1000;

// What the gear page holds, read as numbers (mm, degrees).
struct GearInputs {
    int teeth = 0;
    double module = 0.0;
    double alphaDeg = 0.0;
    double ha = 0.0;                // addendum coefficient ha*
    double c = 0.0;                 // clearance coefficient c*
    double shift = 0.0;             // profile shift coefficient x
    double tipFillet = 0.0;         // rt, 0 none
    double rootFillet = 0.0;        // rf, 0 none
    bool typedSizes = false;        // the diameters below replace the computed ones
    double typedDa = 0.0;
    double typedDf = 0.0;
    bool byCount = false;           // a run of teeth (external) or one space (internal)
    int countToMake = 0;
    double startAngleDeg = 0.0;
};

// Tip radius ra and root radius rroot.
struct GearCircles {
    double ra = 0.0;
    double rroot = 0.0;
};

struct GearOutline {
    CString message;                // the page's message line; "--" on success
    CUnit* handleUnit = nullptr;    // the unit the move command carries, or none
    x_Vector handlePoint;
    CArray<x_Vector> flankSamples;  // the template's right flank
};

// The message for a tooth count that cannot be built; empty when it can.
CString TeethCountMessage(int teeth);

GearCircles ExternalGearCircles(const GearInputs& in);
// An internal gear's circles follow its tooth space: da = m(z - 2ha* + 2x),
// df = m(z + 2ha* + 2c* + 2x).
GearCircles InternalGearCircles(const GearInputs& in);

// The size check and, unless checkOnly, the outline appended to out (new
// units of the given group). False with the message when the parameters
// cannot make a gear; out is then unchanged.
bool BuildExternalGear(const GearInputs& in, const GearCircles& circles, std::int32_t group, bool checkOnly,
                       CUnitArray& out, GearOutline& result);
bool BuildInternalGear(const GearInputs& in, const GearCircles& circles, std::int32_t group, bool checkOnly,
                       CUnitArray& out, GearOutline& result);
