#pragma once

#include "platform/gdi/gdi_types.h"

class CPoint : public POINT {
public:
    CPoint() = default;
    CPoint(int x0, int y0) { x = x0; y = y0; }
    CPoint(const POINT& p) : POINT(p) {}

    void SetPoint(int x0, int y0) { x = x0; y = y0; }
    void Offset(int dx, int dy) { x += dx; y += dy; }
    void Offset(const POINT& p) { Offset(p.x, p.y); }

    bool operator==(const POINT& p) const { return x == p.x && y == p.y; }
    bool operator!=(const POINT& p) const { return !(*this == p); }
    CPoint& operator+=(const POINT& p) { Offset(p); return *this; }
    CPoint& operator-=(const POINT& p) { x -= p.x; y -= p.y; return *this; }
    CPoint operator+(const POINT& p) const { return CPoint(x + p.x, y + p.y); }
    CPoint operator-(const POINT& p) const { return CPoint(x - p.x, y - p.y); }
    CPoint operator-() const { return CPoint(-x, -y); }
};
