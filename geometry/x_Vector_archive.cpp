#include "geometry/x_Vector.h"

#include "platform/core/CArchive.h"
#include "platform/core/CArray.h"

CArchive& operator<<(CArchive& ar, const x_Vector& v)
{
    return ar << v.x << v.y;
}

// x then y read as one block: a drawing holds points by the hundred thousand.
CArchive& operator>>(CArchive& ar, x_Vector& v)
{
    double xy[2];
    ar.ReadExact(xy, sizeof xy);
    v.x = xy[0];
    v.y = xy[1];
    v.valid = 1;
    return ar;
}

void StorePointList(CArchive& ar, const CArray<x_Vector>& points)
{
    ar.WriteCount(static_cast<size_t>(points.GetSize()));
    for (int i = 0; i < points.GetSize(); ++i)
        ar << points[i];
}

void LoadPointList(CArchive& ar, CArray<x_Vector>& points)
{
    const size_t count = ar.ReadCount();
    ar.CheckCount(count, 16);
    points.RemoveAll();
    points.SetSize(static_cast<int>(count));
    for (size_t i = 0; i < count; ++i)
        ar >> points.ElementAt(static_cast<int>(i));
}
