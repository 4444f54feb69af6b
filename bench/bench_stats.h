#pragma once

// Statistics the benchmarks report: a shared machine makes single runs
// noisy in both directions, so they judge by medians of paired runs.

#include <algorithm>
#include <vector>

// The middle value (the upper of the two middles for an even count); -1
// for no values.
inline double Median(std::vector<double> v)
{
    if (v.empty())
        return -1.0;
    const auto middle = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), middle, v.end());
    return *middle;
}
