#pragma once

#include "platform/gdi/gdi_types.h"

class CSize : public SIZE {
public:
    CSize() = default;
    CSize(int w, int h) { cx = w; cy = h; }
    CSize(const SIZE& s) : SIZE(s) {}

    void SetSize(int w, int h) { cx = w; cy = h; }

    bool operator==(const SIZE& s) const { return cx == s.cx && cy == s.cy; }
    bool operator!=(const SIZE& s) const { return !(*this == s); }
    CSize operator+(const SIZE& s) const { return CSize(cx + s.cx, cy + s.cy); }
    CSize operator-(const SIZE& s) const { return CSize(cx - s.cx, cy - s.cy); }
};
