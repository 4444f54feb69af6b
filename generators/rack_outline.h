#pragma once

// The outline of a straight involute rack along +x with its root line on
// y = 0: flanks inclined by the pressure angle, optional fillets at the tips
// and the roots, root lines and tip lines, written into a list of new units.

#include <cstdint>

#include "geometry/CUnit.h"           // CUnitDocument.h needs it complete
#include "geometry/CUnitDocument.h"
#include "geometry/x_Vector.h"
#include "platform/core/CString.h"

class CUnit;

struct RackInputs {
    int teeth = 0;                  // tooth spaces
    double module = 0.0;
    double alphaDeg = 0.0;
    double ha = 0.0;                // ha*
    double c = 0.0;                 // c*
    double shift = 0.0;
    double tipFillet = 0.0;         // rt, 0 none
    double rootFillet = 0.0;        // rf, 0 none
    bool typedHeights = false;      // the heights below replace the computed ones
    double typedTip = 0.0;          // the page's fields: twice the heights
    double typedRoot = 0.0;
};

// Addendum ha and dedendum hf.
struct RackHeights {
    double ha = 0.0;
    double hf = 0.0;
};

struct RackOutline {
    CString message;                // "--" on success
    CUnit* handleUnit = nullptr;    // the middle tip line
    x_Vector handlePoint;
};

RackHeights ComputeRackHeights(const RackInputs& in);
// Appends the outline to out; false with the message when a fillet does not
// fit (out unchanged).
bool BuildRack(const RackInputs& in, const RackHeights& h, std::int32_t group, CUnitArray& out,
               RackOutline& result);
