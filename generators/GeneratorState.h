#pragma once

// Every global of the generators folder: the gear dialog pointer, the array
// panel's page and pending result, and the calculator's state.

#include <cstdint>

#include "platform/core/CArray.h"

class CZorvacreateGear;

// Gear dialog last initialised; its pages reach the dialog through it.
extern CZorvacreateGear* g_GearDialog;

// Array panel: page last shown (0 rectangular, 1 polar), a generation not
// yet accepted, and the unit ids of its source entities in list order.
extern std::int32_t g_ArrayPage;
extern std::uint8_t g_ArrayPending;
extern CArray<std::uint64_t> g_ArraySourceIds;

// Calculator: the two numbers survive between openings.
extern double g_CalcAccumulator;
extern double g_CalcOperand;
extern std::int32_t g_CalcOperator;         // 0 none, 1 +, 2 -, 3 *, 4 /
extern std::int32_t g_CalcOperandPending;
extern std::int32_t g_CalcNewEntry;

void ResetGeneratorState();
