#include "geometry/x_VectorList.h"

x_VectorList x_VectorList::FromPoint(const x_Vector& p)
{
    x_VectorList list;
    list.Add(p);
    return list;
}

x_VectorList x_VectorList::FromTwoPoints(const x_Vector& first, const x_Vector& second)
{
    x_VectorList list;
    list.Add(first);
    list.Add(second);
    return list;
}

void x_VectorList::SetSize(int n)
{
    points.assign(n > 0 ? static_cast<std::size_t>(n) : 0, x_Vector(0.0, 0.0, 0));
    count = static_cast<std::int32_t>(points.size());
    tangent = 0;
}

void x_VectorList::Clear()
{
    std::vector<x_Vector>().swap(points);
    count = 0;
    tangent = 0;
}

void x_VectorList::Add(const x_Vector& p)
{
    points.push_back(p);
    count = static_cast<std::int32_t>(points.size());
}

x_Vector x_VectorList::GetAt(int i) const
{
    // A negative index once read before the array.
    if (i < 0 || i >= count || static_cast<std::size_t>(i) >= points.size())
        return {};
    return points[static_cast<std::size_t>(i)];
}

void x_VectorList::Assign(const x_VectorList& source)
{
    if (this == &source)
        return;
    points = source.points;
    count = static_cast<std::int32_t>(points.size());
    tangent = source.tangent;
}

x_VectorList x_VectorList::Copy(const x_VectorList& source)
{
    Assign(source);
    return *this;
}

void x_VectorList::ForEachValid(const x_Vector& centre, double angle)
{
    for (x_Vector& p : points)
        if (p.valid == 1)
            p.RotateAbout(centre, angle);
}

x_Vector x_VectorList::Nearest(const x_Vector& q) const
{
    x_Vector best(0.0, 0.0, 0);
    double bestDistance = 1e10;
    for (const x_Vector& p : points) {
        if (p.valid == 0)
            continue;
        const double d = x_Vector::Distance(p, q);
        if (d < bestDistance) {
            bestDistance = d;
            best = p;
        }
    }
    return best;
}
