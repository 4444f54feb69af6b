#include "geometry/UnitGeometry.h"

x_LineData MakeLineRecord(double x1, double y1, double x2, double y2)
{
    x_LineData line;
    line.p1 = x_Vector(x1, y1);
    line.p2 = x_Vector(x2, y2);
    line.used = 1;
    return line;
}

ArcRecord MakeArcRecord(const x_Vector& centre, double radius, double startAngle, double endAngle)
{
    ArcRecord arc;
    arc.centre = centre;
    arc.radius = radius;
    arc.startAngle = startAngle;
    arc.endAngle = endAngle;
    arc.direction = 0;
    return arc;
}
