#pragma once

// Drawings for seeds and for the save tests: wire paths, a cut point, and
// the DXF fixtures imported.

#include "geometry/CUnitDocument.h"
#include "geometry/x_Vector.h"

class CTrail;
class CZorvaDoc;

// A closed path of lines and an arc at (dx, dy), 10 mm across; with upper
// set it has an upper list too. Takes the next unit id.
CTrail* NewSeedPath(double dx, double dy, bool upper);
void AddSeedCutPoint(CZorvaDoc& doc, x_Vector from, x_Vector to);
// A DXF file of tests/app/data read into out.
bool ImportSeedDrawing(const char* dxfName, CUnitArray& out);
