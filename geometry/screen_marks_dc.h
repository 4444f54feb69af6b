#pragma once

// The device-context set-up the screen marks share: a pen made for the
// call, a raster operation, a background mode and optionally a brush, all
// put back (and the pen deleted) when the scope ends.

#include "platform/gdi/CDC.h"

class MarkScope {
public:
    MarkScope(CDC* dc, int penStyle, COLORREF penColour, int rop, int bkMode);
    ~MarkScope();
    MarkScope(const MarkScope&) = delete;
    MarkScope& operator=(const MarkScope&) = delete;

    // Selects a brush that has a handle; the previous one comes back at the
    // end unless keepBrush is set.
    void Brush(CBrush& brush, bool keepBrush = false);
    CDC* dc() const { return m_dc; }

private:
    CDC* m_dc;
    CPen m_pen;
    CPen* m_oldPen = nullptr;
    CBrush* m_oldBrush = nullptr;
    bool m_brushSelected = false;
    bool m_keepBrush = false;
    int m_oldRop = 0;
    int m_oldBk = 0;
};

// World point to screen, and a line between two world points.
POINT ScreenOf(const x_Vector& p);
void ScreenLine(CDC* dc, const x_Vector& a, const x_Vector& b);
