#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/gdi/gdi_types.h"

// How entities and screen marks are drawn. Persisted raw as one 148-byte
// block of the settings file; the fields are reached through the g_ names of
// GeometryState.h (g_SelectedColor is g_DrawingSettings.selectedColor).
struct DrawingSettings {
    std::int32_t currentLineStyle;      // 0: style of new entities
    std::int32_t rubberLineStyle;
    std::int32_t markLineStyle;
    std::int32_t penWidth;
    std::int32_t backgroundMode;
    std::int32_t viewMarker;
    std::int32_t reserved6;
    COLORREF highlightColor;            // 7
    COLORREF activeColor;
    COLORREF path1Color;
    COLORREF path2Color;
    COLORREF currentColor;
    COLORREF selectedColor;
    COLORREF hollowBrushColor;
    COLORREF leadLineColor;
    COLORREF jumpLineColor;             // 15
    COLORREF refPointColor;
    COLORREF path1SelectedColor;
    COLORREF path2SelectedColor;
    COLORREF endPointColor;
    COLORREF pickFillColor;             // 20
    COLORREF pickPenColor;
    COLORREF paramLineColor;
    COLORREF directionSignColor;
    std::int32_t reserved24;
    COLORREF snapColor;                 // 25
    std::int32_t reserved26;
    COLORREF cursorColor;
    COLORREF dimensionColor;
    COLORREF axisCrossColor;
    COLORREF axisFrameColor;            // 30
    COLORREF previewBrushColor;
    COLORREF previewBackColor;
    std::int32_t reserved33;
    COLORREF markerColor;
    COLORREF annotationColor;           // 35
    COLORREF refCrossColor;
};
static_assert(sizeof(DrawingSettings) == 148);
static_assert(offsetof(DrawingSettings, highlightColor) == 7 * 4);
static_assert(offsetof(DrawingSettings, jumpLineColor) == 15 * 4);
static_assert(offsetof(DrawingSettings, pickFillColor) == 20 * 4);
static_assert(offsetof(DrawingSettings, snapColor) == 25 * 4);
static_assert(offsetof(DrawingSettings, axisFrameColor) == 30 * 4);
static_assert(offsetof(DrawingSettings, annotationColor) == 35 * 4);
static_assert(offsetof(DrawingSettings, refCrossColor) == 36 * 4);

// Brushes 0-4 of g_DrawingBrushes again from the current colours (the old
// ones are deleted first): 0 hollow in the end-point colour, 1 hollow, 2 pick
// fill, 3 direction sign, 4 the complement of the marker colour.
void RecreateDrawingBrushes();
// Brush 5, solid white.
void CreateFixedBrushes();

// Factory values of every field but the reserved words 6, 24 and 33, and the
// direction-sign and dimension-arrow templates.
void SetDefaultDrawingSettings();
