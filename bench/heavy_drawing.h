#pragma once

// The reference drawing of the render and open benchmarks, as a shop's large
// DXF holds it: lines 1-60 mm long at any angle, arcs of radius 0.5-40 mm
// sweeping 10-300 degrees, circles of radius 0.5-25 mm and closed polylines
// of 8-16 vertices with a bulge on every second vertex, uniformly over
// 2,000 x 1,400 mm. The kinds are interleaved 100 : 20 : 5 : 2, so the first
// n shapes keep the mix; 127,000 shapes make a file of about 20 MB.

#include <string>

constexpr double kHeavyWidthMm = 2000.0;
constexpr double kHeavyHeightMm = 1400.0;
constexpr int kHeavyShapes = 127000;

// An ASCII DXF (R2000 group codes, model space only) of the first count
// shapes of the fixed drawing.
std::string HeavyDxfText(int count);

// Writes HeavyDxfText(count) to path; false when the file cannot be written.
bool WriteHeavyDxf(const std::string& path, int count);

// Where `HeavyDxfText(kHeavyShapes)` lies: written once per process into a
// fresh temporary folder.
const std::string& HeavyDxfFile();
