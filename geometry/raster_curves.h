#pragma once

// Circles and arcs straight into the RGB565 raster from their centre and
// radius, made on the screen. A solid curve wholly on the raster is drawn
// point by point: its exact points a pixel or less apart, each rounded to
// its pixel. Any other is a polyline whose chords stay within a quarter
// pixel of the curve, its vertices rounded like every world point
// (RoundHalfUp) and joined with DrawLineRGB565, which clips them and runs a
// dash pattern on along the curve (g_DashPhase). A point list in millimetres made once per
// arc at a fixed angular step cost a hundred vertices for an arc ten pixels
// wide, and its memory for the life of the arc.

#include <cstddef>
#include <cstdint>

#include "geometry/x_Vector.h"

// Chords per radian for a curve of radius r pixels: a chord of angle a
// strays r (1 - cos(a / 2)) ~ r a^2 / 8 from the curve; a quarter pixel
// gives a = sqrt(2 / r). At least one chord a radian.
double ChordsPerRadian(double radiusPixels);

// The arc of the circle (centre, radius, in millimetres) from the angle
// start through sweep radians (counter-clockwise when positive), in the
// view transform, in colour and pattern (0 solid ... 3 dash-dot).
// Nothing without a raster.
void DrawArcRGB565(std::uint8_t* raster, const x_Vector& centre, double radius, double start, double sweep,
                   std::uint32_t colour, std::uint8_t pattern);

// The loops that draw a solid curve wholly on the raster point by point;
// both draw the same pixels, and DrawArcRGB565 takes AVX2 where the
// processor has it. SSE2 stands for the portable loop elsewhere.
enum class ArcPointLoop { sse2, avx2 };
bool HasArcPointLoop(ArcPointLoop loop);

// DrawArcRGB565's solid arc with its centre and radius in pixels (rows
// downwards), in one RGB565 word, by the given loop. The circle lies two
// pixels or more inside a raster narrower and lower than 2^15 pixels, with
// rows shorter than 2^16 bytes.
void DrawSolidArcRGB565(ArcPointLoop loop, std::uint8_t* raster, std::ptrdiff_t stride, double cx, double cy,
                        double r, double start, double sweep, std::uint16_t word);
