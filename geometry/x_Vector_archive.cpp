#include "geometry/x_Vector.h"

#include "platform/core/CArchive.h"

CArchive& operator<<(CArchive& ar, const x_Vector& v)
{
    return ar << v.x << v.y;
}

CArchive& operator>>(CArchive& ar, x_Vector& v)
{
    ar >> v.x >> v.y;
    v.valid = 1;
    return ar;
}
