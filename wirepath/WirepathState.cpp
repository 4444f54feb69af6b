#include "wirepath/WirepathState.h"

std::atomic<std::uint8_t> g_PathRunFlag{1};
x_Vector g_TrailPickPoints[4];
const UnitGridIndex* g_ChainIndex = nullptr;
CArray<std::int32_t> g_BatchShapeList;

void ResetWirepathState()
{
    g_PathRunFlag.store(1);
    for (x_Vector& p : g_TrailPickPoints)
        p = x_Vector();
    g_ChainIndex = nullptr;
    g_BatchShapeList.RemoveAll();
}
