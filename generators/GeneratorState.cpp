#include "generators/GeneratorState.h"

CZorvacreateGear* g_GearDialog = nullptr;

std::int32_t g_ArrayPage = 0;
std::uint8_t g_ArrayPending = 0;
CArray<std::uint64_t> g_ArraySourceIds;

double g_CalcAccumulator = 0.0;
double g_CalcOperand = 0.0;
std::int32_t g_CalcOperator = 0;
std::int32_t g_CalcOperandPending = 0;
std::int32_t g_CalcNewEntry = 0;

void ResetGeneratorState()
{
    g_GearDialog = nullptr;
    g_ArrayPage = 0;
    g_ArrayPending = 0;
    g_ArraySourceIds.RemoveAll();
    g_CalcAccumulator = 0.0;
    g_CalcOperand = 0.0;
    g_CalcOperator = 0;
    g_CalcOperandPending = 0;
    g_CalcNewEntry = 0;
}
