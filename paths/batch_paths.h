#pragma once

// Batch path generation: every closed figure of the selection with a lead
// line (a drawn line from the threading point to a point on the figure),
// and every circle or ellipse without one, becomes a path (two in the
// straight-and-taper modes) without the click dialogue; the paths are then
// put in cutting order from the chosen corner and numbered. The listing
// form only numbers the figures for the per-shape compensation table.

#include <vector>

class CZorvaView;

// listing: every figure of the drawing is listed and numbered, nothing is
// built. outer: the run's hole (0) or outer-shape (1) choice. True when a
// path was built (listing: when a candidate exists).
bool GenerateTrailsForSelection(CZorvaView& view, bool listing, int outer);

// The view's hooks: request 72 (generating over the selection when
// selectedOnly, else listing) and the listing run of the compensation
// table, which returns g_BatchShapeList.
bool RunBatchRequest(CZorvaView& view, bool selectedOnly, int option);
std::vector<int> ListBatchShapesHook(CZorvaView& view, int option);
