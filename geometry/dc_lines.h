#pragma once

#include <cstdint>

#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"

class CDC;

// GDI line from the current pen position to a world point.
void DrawLineTo(CDC* dc, const x_Vector& point);
// GDI line with a cached pen position (g_PenPosX/Y/Valid): a move only when
// the start is not where the pen already is; no zero-length LineTo.
void LineToCached(CDC* dc, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1);

// Which height DrawPointList culls against: the client area, or the area
// above the command bar (client height less the bar's height plus 20).
enum class PointListCull { clientArea, aboveCommandBar };

// World points as connected screen segments: on dc (rasterFlag 0) or into
// the raster in g_RasterDrawColor/Style; repeated pixels and segments wholly
// off the view are skipped. Returns the number of points walked.
int DrawPointList(CDC* dc, const CArray<x_Vector>& points, int rasterFlag, std::uint8_t* raster,
                  PointListCull cull = PointListCull::clientArea);
