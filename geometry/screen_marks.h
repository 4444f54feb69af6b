#pragma once

// Temporary marks on the view's window: pick box, grip squares, rubber-band
// and guide lines, reference crosses, snap marks, dot marker, dashed lines
// and path-direction arrows. Most are drawn in R2_NOTXORPEN, so drawing a
// mark twice removes it; the remembered ones (GeometryState.h) remove their
// previous image first. World points are converted with WorldToScreen.

#include <cstdint>

#include "geometry/x_DirSignData.h"
#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"
#include "platform/gdi/gdi_types.h"

class CDC;

void DrawPickBox(const x_Vector& point, CDC* dc);
void EraseRubberLine(CDC* dc);
void DrawRubberLineAlt(const x_Vector& start, const x_Vector& end, CDC* dc);
void DrawXorSegment(const x_Vector& start, const x_Vector& end, CDC* dc);
void DrawGuideLine(CDC* dc);
void DrawRubberLine(const x_Vector& start, const x_Vector& end, int mode, CDC* dc);
void DrawGripSquareAtCursor(CDC* dc);
void DrawFilledGrip(const x_Vector& point, CDC* dc);
void DrawPolygonMarker(const x_Vector& point, double angle, double z, CDC* dc);
void DrawPolylineXor(const x_Vector& point, CDC* dc);
void DrawRubberPolyline(const x_Vector& point, CDC* dc);
void DrawWhiteLine(const x_Vector& start, const x_Vector& end, CDC* dc);
void DrawCircleMarker(CDC* dc, int x, int y);
void DrawCrossLines(const x_Vector& point, double z, CDC* dc);
void DrawGripBox(CDC* dc, int x, int y);
void DrawSnapShape(int kind, CDC* dc, int x, int y);
void DrawMarkerXor(CDC* dc);
void DrawMarkerXor2(int kind, const x_Vector& point, CDC* dc);
void DrawCyanGrip(const x_Vector& point, CDC* dc);
// mode 0: dash-dot in R2_COPYPEN; mode 1: dashed in the complement, NOT-XOR.
void DrawDashedLine(COLORREF colour, CDC* dc, int mode, const x_Vector& start, const x_Vector& end);
void BuildMarkerSymbol(x_DirSignData& out, const x_Vector& base, double angle);
// The arrow's pixels for the current view transform (after a zoom or pan).
void PlaceMarkerSymbol(x_DirSignData& record);
// style 1 normal arrow, 2 highlight this record (index: the previous one).
void DrawMarkerSymbol(int index, int style, CDC* dc, const x_DirSignData& record);

// Whether a grip lies in the ±8-pixel square around the cursor: the left and
// top edges belong to the square, the right and bottom ones do not.
bool GripSquareHit(const x_Vector& cursor, const x_Vector& grip);
// The 1-based index of the first grip hit near point (hit receives it), or 0.
int FindGripNear(const CArray<x_Vector>& grips, const x_Vector& point, x_Vector& hit);

// Per-render state a full render starts from: the cached pen position, the
// grip pixels, the reference crosses and the snap-mark and cursor-square
// flags (the render repaints everything).
void ClearRenderMarks();
// A new command or drawing: the rubber-line, guide-line and snap-mark flags.
void ClearCommandMarks();

class CUnit;
// Grip squares (±8 pixels, NOT-XOR, brush 0, pen in the end-point colour) at
// every grip of the unit, each pixel once per render; nothing for gear units.
void DrawGripSquares(CUnit& unit, CDC* dc);
