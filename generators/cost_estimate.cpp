#include "generators/cost_estimate.h"

#include <algorithm>

#include "wirepath/TrailParams.h"

namespace {

TrailParamsReader g_reader = nullptr;

} // namespace

void SetTrailParamsReader(TrailParamsReader reader)
{
    g_reader = reader;
}

PathLengthSum SumSelectedPaths(const CUnitArray& units)
{
    PathLengthSum sum;
    if (g_reader == nullptr)
        return sum;
    for (int i = 0; i < units.GetSize(); ++i) {
        CUnit* u = units[i];
        if (u->deleted || u->role != kRolePath || !u->selected)
            continue;
        const TrailParams* params = g_reader(*u);
        if (params == nullptr)
            continue;
        ++sum.count;
        sum.length += std::max(params->length[0], params->length[1]);
    }
    return sum;
}
