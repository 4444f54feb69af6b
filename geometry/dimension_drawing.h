#pragma once

// Drawing pieces the dimension entities share: the pen set-up, lines that
// go either into the raster or onto the device context, oblique ticks,
// arrowheads and the number label.

#include <cstdint>

#include "geometry/x_Vector.h"
#include "platform/core/CString.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/gdi_types.h"

class CDC;

// Selects a pen (style, g_PenWidth, colour), a mix mode (0 leaves the
// context's), the preview background colour and g_BackgroundMode; pen,
// brush and mix mode come back at the end.
class DimPenScope {
public:
    DimPenScope(CDC* dc, int style, COLORREF colour, int rop);
    ~DimPenScope();
    DimPenScope(const DimPenScope&) = delete;
    DimPenScope& operator=(const DimPenScope&) = delete;
    // A brush for the arrowheads: solid in colour, or of the given style.
    void Brush(unsigned style, COLORREF colour);

private:
    CDC* m_dc;
    CPen m_pen;
    CBrush m_brush;
    CPen* m_oldPen = nullptr;
    CBrush* m_oldBrush = nullptr;
    int m_oldRop = 0;
};

// World segments into the raster (in g_RasterDrawColor / g_RasterDrawStyle)
// when one is given, else onto the device context with move-to and line-to;
// with neither nothing is drawn.
struct DimLineSink {
    CDC* dc = nullptr;
    std::uint8_t* raster = nullptr;
    bool toRaster = true;
    void operator()(const x_Vector& a, const x_Vector& b) const;
};

// The label scale k: the view scale held to [1, 3].
double DimTextScale();

// The oblique ticks at both ends of a dimension line for a length L and a
// base direction phi: half-length min(L, 10)·0.025 mm, turned 0.75 rad.
void DrawObliqueTicks(const DimLineSink& sink, const x_Vector& lineStart, const x_Vector& lineEnd,
                      double length, double phi);

// An arrowhead of g_DimArrowTemplate with its tip at tip, turned by theta,
// as a polygon in the context's pen and brush.
void DrawArrowhead(CDC* dc, const x_Vector& tip, double theta);

// The number of a dimension: "Arial" of trunc(5k) pixels in colour, its
// top-left corner offset from the anchor's pixel by (dx, dy).
void DrawDimLabel(CDC* dc, const x_Vector& anchor, const CString& text, COLORREF colour, int dx, int dy);
// The usual offsets (−trunc(10k), −trunc(4.8k)).
void DrawDimLabel(CDC* dc, const x_Vector& anchor, const CString& text, COLORREF colour);
// The preview's label: red, 15 pixels high, the usual offsets.
void DrawRubberLabel(CDC* dc, const x_Vector& anchor, const CString& text);

// Angle in [0, 2π) of the direction from a to b; equal points give 0.
double DirectionOf(const x_Vector& a, const x_Vector& b);
