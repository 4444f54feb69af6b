#include "wirepath/x_TrailData_Work.h"

void InitTrailDataWork(x_TrailData_Work& r)
{
    r.role = 0;
    r.subKind = 1;
    r.group = 0;
    for (std::uint8_t& b : r.flags)
        b = 0;
    for (x_Vector& p : r.points)
        p = x_Vector(0.0, 0.0, 1);
}
