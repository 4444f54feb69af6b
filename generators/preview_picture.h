#pragma once

// The small preview pictures of the gear and formula-curve dialogs: a
// mapping that fits the preview list into the picture, and the drawing of
// the axes and the units into an off-screen bitmap copied to the dialog.

#include "geometry/CUnit.h"           // CUnitDocument.h needs it complete
#include "geometry/CUnitDocument.h"
#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"
#include "platform/gdi/gdi_types.h"

class CDC;

struct PreviewMapping {
    double scale = 1.0;             // pixels per mm
    int originX = 0;                // pixel of the drawing origin
    int originY = 0;
};

// How a picture fits its list: the largest box (pixels) the list's box is
// scaled into, and the pixel its centre lands on.
struct PreviewFit {
    double boxWidth;
    double boxHeight;
    int centreX;
    int centreY;
    bool skipCircles;               // the gear preview leaves its handle circle out
};

// The mapping that centres the list's box; false, mapping unchanged, for a
// list without a box.
bool FitPreviewMapping(const CUnitArray& units, const PreviewFit& fit, PreviewMapping& mapping);
POINT PreviewPixel(const PreviewMapping& m, const x_Vector& p);

// Draws into a width x height bitmap (black) the dotted axes through the
// origin and every line, circle, arc and spline of units in white, and
// copies it to (left, top) of dc. splineStep is the sampling step of the
// splines (0.1 rad for involutes, 1.0 mm for the formula curves).
void DrawPreviewPicture(CDC* dc, int left, int top, int width, int height, const PreviewMapping& m,
                        const CUnitArray& units, double splineStep);
