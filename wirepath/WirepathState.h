#pragma once

// Every global of the path engine. Each generation run reads the run flag
// before every walk step, element and junction; the GUI thread clears it to
// cancel.

#include <atomic>
#include <cstdint>

#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"

class UnitGridIndex;

// 1 while path generation may go on; a cancel clears it.
extern std::atomic<std::uint8_t> g_PathRunFlag;
// [0] threading point, [1] lead-in point (where a closing chain stops),
// [2] end of the chain, [3] exit point.
extern x_Vector g_TrailPickPoints[4];
// While a batch run has one, chain following asks it instead of walking
// the whole drawing (units past its count are still walked one by one).
extern const UnitGridIndex* g_ChainIndex;
// Drawing-list indices of the figures the last listing run of batch
// generation found, in figure order.
extern CArray<std::int32_t> g_BatchShapeList;

inline bool PathRunCancelled()
{
    return g_PathRunFlag.load(std::memory_order_relaxed) == 0;
}

// Puts every global above back to its start value (run flag set).
void ResetWirepathState();
