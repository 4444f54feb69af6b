#pragma once

// Small operations of the view over the drawing list: transient marks,
// groups, the export order of paths, and the list clearing of a new drawing.

#include <cstdint>

#include "geometry/x_Vector.h"
#include "platform/gdi/gdi_types.h"

class CUnit;

// The remembered creation mode of command index + 1; 255 when it has none.
std::uint8_t GetCommandMode(int index);
void SetCommandMode(std::uint8_t mode, int index);

// Clears the hover mark of every live unit; the selection stays.
void ClearEntityMarks();
// Deselects every live unit that is neither plain geometry nor text, and
// every gear unit.
void DeselectNonGeometry();
// The largest positive group over the live units that are not paths; 0 none.
int GetMaxGroupNumber();
// The direction arrow of g_DirSignList whose pick triangle holds the pixel,
// the one whose anchor is nearest the cursor when several do; -1 none.
int DirectionArrowAt(POINT pixel, const x_Vector& cursor);
// Appends the path's id to the export order unless it is there.
void AddExportPathId(const CUnit* path);
x_Vector NegateVector(const x_Vector& v);
// Frees every unit of the drawing list and the undo history.
bool ClearDrawingList();
bool ClearUndoHistory();
class CDC;
// Red squares at the points of g_WearMarkers.
void DrawPointMarkers(CDC* dc);
// "补偿:%.3f mm" at every live unit of role 0 with a compensation of its own.
void DrawCompensationLabels(CDC* dc);
// The variable-taper angle ("%.3f°") of every highlighted shape at its mid
// point, while command 66 takes the angles.
void DrawAngleLabels(CDC* dc);
// Clears the wire-wear data of every unit and the marker list.
void ClearWearMarks();
