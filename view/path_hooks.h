#pragma once

// What the view needs of the wire-path library, which is built after it:
// the path library installs these at start-up (InstallPaths). Without them
// the view has no path generation and treats paths as plain entities.

#include <cstdint>
#include <vector>

#include "geometry/x_Vector.h"
#include "platform/core/CString.h"

class CUnit;
class CZorvaView;

// The numbers a path description shows.
struct PathSummary {
    int cutMode = 0;
    int cutCount = 0;
    double length = 0.0;                // lower list
    double upperLength = 0.0;
    double compensation = 0.0;
    double thickness = 0.0;
    double taperAngle = 0.0;
};

struct PathHooks {
    // One step of interactive generation (request 66), on the worker.
    void (*generate)(CZorvaView& view) = nullptr;
    // A batch run (request 72); true when it made a path.
    bool (*batch)(CZorvaView& view, bool selectedOnly, int option) = nullptr;
    // The listing run of batch generation, on the GUI thread: numbers the
    // closed shapes it would cut (contourNo, contourShape of their units)
    // without making paths; the drawing-list index of each shape's unit in
    // figure order (figure k + 1 at k).
    std::vector<int> (*listBatchShapes)(CZorvaView& view, int option) = nullptr;
    // Stops a running generation at its next test.
    void (*cancel)() = nullptr;
    // First element's start and last element's end of a path's lower list.
    x_Vector (*startPoint)(CUnit& path) = nullptr;
    x_Vector (*endPoint)(CUnit& path) = nullptr;
    PathSummary (*summary)(CUnit& path) = nullptr;
    // Writes the paths of g_SelectedTrailIds as a ".dcx" file.
    bool (*writeDcx)(const CString& path) = nullptr;
};

extern PathHooks g_PathHooks;
