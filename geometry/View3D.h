#pragma once

#include "geometry/x_Vector.h"

// View angles of the 3-D path preview (radians) and their cached sines and
// cosines; the projection reads only the cache.
struct View3D {
    double spin = 0.0;      // about z, applied first
    double turn = 0.0;      // about y
    double tilt = 0.0;      // about x, applied last
    double sinSpin = 0.0, cosSpin = 0.0;
    double sinTurn = 0.0, cosTurn = 0.0;
    double sinTilt = 0.0, cosTilt = 0.0;
};

// Zero everything, then spin 0, turn 6.3, tilt -0.95; the cache stays zero.
void Reset3DView();
void Update3DViewAngles();
// Orthographic projection of (x, y, z) onto the drawing plane, millimetres.
x_Vector Project3D(double x, double y, double z);
