#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "geometry/x_Vector.h"

// The point set that intersections and geometry functions hand back.
// `count` always equals points.size(); the members stay public for callers
// that read them directly.
class x_VectorList {
public:
    std::vector<x_Vector> points;
    std::int32_t count = 0;
    std::uint8_t tangent = 0;   // set when two entities only touch

    static x_VectorList FromPoint(const x_Vector& p);
    static x_VectorList FromTwoPoints(const x_Vector& first, const x_Vector& second);

    void SetSize(int n);        // n unset points (0, 0), valid 0
    void Clear();
    void Add(const x_Vector& p);
    // Entry i; an index outside the list, negative included, gives (0, 0) valid.
    x_Vector GetAt(int i) const;
    void Assign(const x_VectorList& source);
    x_VectorList Copy(const x_VectorList& source);
    void ForEachValid(const x_Vector& centre, double angle);
    x_Vector Nearest(const x_Vector& q) const;
};
