#include "geometry/grip_pairs.h"

#include "geometry/GeometryState.h"

bool AddUniquePair(std::int32_t x, std::int32_t y)
{
    for (int i = 0; i < g_GripPairList.GetSize(); ++i) {
        const POINT& p = g_GripPairList[i];
        if (p.x == x && p.y == y)
            return true;
    }
    g_GripPairList.Add(POINT{x, y});
    return false;
}
