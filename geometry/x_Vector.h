#pragma once

#include <cstdint>

class CArchive;

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 6.283185307179586;

// A point or a vector of the plane in millimetres (world y grows upward).
// Inside raw file records it takes 24 bytes: x, y, valid and 7 padding bytes.
struct x_Vector {
    double x = 0.0;
    double y = 0.0;
    std::uint8_t valid = 1;

    x_Vector() = default;
    constexpr x_Vector(double px, double py, std::uint8_t v = 1) : x(px), y(py), valid(v) {}

    void Set(double px, double py) { x = px; y = py; valid = 1; }
    void SetXY(double px, double py) { Set(px, py); }
    void Offset(double dx, double dy) { x += dx; y += dy; valid = 1; }

    x_Vector operator+(const x_Vector& o) const { return {x + o.x, y + o.y}; }
    x_Vector operator-(const x_Vector& o) const { return {x - o.x, y - o.y}; }
    x_Vector& operator+=(const x_Vector& o) { x += o.x; y += o.y; return *this; }
    x_Vector operator*(double s) const { return {x * s, y * s}; }
    x_Vector operator/(double s) const { return {x / s, y / s}; }
    bool operator==(const x_Vector& o) const { return x == o.x && y == o.y && valid == o.valid; }
    bool operator!=(const x_Vector& o) const { return !(*this == o); }

    // Both coordinate differences strictly below 0.001 mm; valid is ignored.
    bool IsEqual(const x_Vector& o) const;

    static x_Vector FromPolar(double r, double a);
    double Angle() const;                       // [0, 2π)
    static double AngleTo(const x_Vector& p, const x_Vector& q);
    double Length() const;
    static double Distance(const x_Vector& p, const x_Vector& q);
    static x_Vector Lerp(double t, const x_Vector& a, const x_Vector& b);
    // Inline (as std::min and std::max pick): every unit's extents use them.
    static x_Vector MinCorner(const x_Vector& a, const x_Vector& b)
    {
        return {b.x < a.x ? b.x : a.x, b.y < a.y ? b.y : a.y};
    }
    static x_Vector MaxCorner(const x_Vector& a, const x_Vector& b)
    {
        return {a.x < b.x ? b.x : a.x, a.y < b.y ? b.y : a.y};
    }
    static x_Vector Perpendicular(const x_Vector& p, const x_Vector& q);

    // In place; each returns a copy of the result and keeps valid.
    x_Vector Translate(double dx, double dy);
    x_Vector Rotate(double angle);
    x_Vector RotateAbout(const x_Vector& centre, double angle);
    x_Vector Scale(double sx, double sy);
    x_Vector ScaleAbout(const x_Vector& base, double sx, double sy);
    x_Vector MirrorAbout(const x_Vector& a, const x_Vector& b);  // sets valid
};

// Brings a into [0, 2π]; 2π stays 2π. A non-finite angle gives 0.
double NormalizeAngle(double a);

// Whether a lies on the counter-clockwise arc from start to end (end to start
// when reversed), with 0.001 rad slack; a full turn contains every angle.
bool AngleInArc(double a, double start, double end, bool reversed);

// Archive form: x then y as doubles (16 bytes); reading sets valid.
CArchive& operator<<(CArchive& ar, const x_Vector& v);
CArchive& operator>>(CArchive& ar, x_Vector& v);

template <class TYPE, class ARG_TYPE> class CArray;
// A point list: the framework count, then the points' archive forms. Reading
// checks the count against the bytes left before it sizes the list.
void StorePointList(CArchive& ar, const CArray<x_Vector, const x_Vector&>& points);
void LoadPointList(CArchive& ar, CArray<x_Vector, const x_Vector&>& points);
