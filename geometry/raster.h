#pragma once

#include <cstddef>
#include <cstdint>

// RGB565 of a COLORREF (0x00BBGGRR).
std::uint16_t ToRgb565(std::uint32_t colour);

// One Bresenham step of a dash pattern at phase p (p advanced); true when the
// step's pixel is drawn. Patterns: 0 solid, 1 dashed, 2 dotted, 3 dash-dot;
// values above 3 count as solid.
bool DashStep(std::uint32_t& p, std::uint8_t pattern);

// Line into the RGB565 raster (g_RasterWidth/Height/Stride) from (x0, y0)
// towards (x1, y1); the end pixel is never drawn and g_DashPhase runs on.
void DrawLineRGB565(std::uint8_t* raster, std::int32_t x0, std::int32_t y0,
                    std::int32_t x1, std::int32_t y1, std::uint32_t colour,
                    std::uint8_t pattern);
// A solid segment with both ends on a raster of the given stride, in the
// RGB565 word: the pixels of DrawLineRGB565 without its clipping, colour and
// phase bookkeeping, which cost more than a segment of a few pixels (a
// curve's chords).
void DrawSolidInside(std::uint8_t* raster, std::ptrdiff_t stride, std::int32_t x0, std::int32_t y0,
                     std::int32_t x1, std::int32_t y1, std::uint16_t word);
// The same in g_RasterDrawColor and g_RasterDrawStyle; nothing without a raster.
void DrawLineCurrentStyle(std::uint8_t* raster, std::int32_t x0, std::int32_t y0,
                          std::int32_t x1, std::int32_t y1);
