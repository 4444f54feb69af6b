#pragma once

// The junction walk of the offset passes (included by offset_work.h).

#include "wirepath/WirepathState.h"

// Visits each junction once: at an index whose group differs from the group
// where the previous run began and from the group handled last; then skips
// to the end of the current run. A closed list ends with the wrap junction.
template <class Visit> bool ForEachJunction(OffsetWork& wk, Visit&& visit)
{
    const int n = wk.Count();
    if (n == 0)
        return true;
    const int limit = wk.closed ? n : n - 1;
    int prevStart = 0;
    bool anyHandled = false;
    std::int32_t lastHandled = 0;
    for (int at = 1; at <= limit;) {
        if (PathRunCancelled())
            return false;
        const int e = at % n;
        const std::int32_t g = wk.w[e].group;
        if (g == wk.w[prevStart].group || (anyHandled && g == lastHandled)) {
            ++at;
            continue;
        }
        const x_TrailListPN& prev = wk.runs[at - 1];
        const x_TrailListPN& cur = wk.runs[e];
        Junction j{at, prev.first, prev.last, cur.first, cur.last};
        if (!visit(j))
            return true;
        anyHandled = true;
        lastHandled = g;
        prevStart = j.f2;
        if (e == 0 || j.l2 < at)
            break;
        at = j.l2 + 1;
    }
    return true;
}
