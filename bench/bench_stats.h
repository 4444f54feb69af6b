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

// Runs pairs of two measures, taking turns at going first so that neither
// always meets the other's leftovers, and appends their times to a and b.
// False when a measure failed (returned a negative time).
template <class MeasureA, class MeasureB>
bool TakeTurns(int pairs, MeasureA&& measureA, MeasureB&& measureB, std::vector<double>& a, std::vector<double>& b)
{
    for (int i = 0; i < pairs; ++i) {
        double x = 0.0, y = 0.0;
        if (i % 2 == 0) {
            x = measureA();
            y = measureB();
        } else {
            y = measureB();
            x = measureA();
        }
        if (x < 0.0 || y < 0.0)
            return false;
        a.push_back(x);
        b.push_back(y);
    }
    return true;
}
