#include "geometry/View3D.h"

#include <cmath>

#include "geometry/GeometryState.h"

void Reset3DView()
{
    g_View3D = View3D();
    g_View3D.turn = 6.3;
    g_View3D.tilt = -0.95;
}

void Update3DViewAngles()
{
    View3D& v = g_View3D;
    v.sinSpin = std::sin(v.spin);
    v.cosSpin = std::cos(v.spin);
    v.sinTurn = std::sin(v.turn);
    v.cosTurn = std::cos(v.turn);
    v.sinTilt = std::sin(v.tilt);
    v.cosTilt = std::cos(v.tilt);
}

x_Vector Project3D(double x, double y, double z)
{
    const View3D& v = g_View3D;
    const double x1 = x * v.cosSpin - y * v.sinSpin;
    const double y1 = x * v.sinSpin + y * v.cosSpin;
    const double x2 = x1 * v.cosTurn + z * v.sinTurn;
    const double z2 = z * v.cosTurn - x1 * v.sinTurn;
    return {x2, y1 * v.cosTilt - z2 * v.sinTilt};
}
