#pragma once

// The working state of one batch run (batch_paths.cpp finds the figures,
// batch_build.cpp builds and orders their paths).

#include <cstdint>
#include <vector>

#include "app/MachiningSettings.h"
#include "geometry/x_Vector.h"
#include "wirepath/chain_index.h"

class CTrail;
class CUnit;
class CZorvaView;

// One figure: the unit the lead-in point lies on (or the circle), its
// chain and its lead line.
struct BatchFigure {
    int unit = -1;
    int lead = -1;                      // -1: a constructed lead line
    std::vector<int> members;           // the chain walked, unit included
    x_Vector thread;
    x_Vector leadIn;
    int dirCode = 2;
};

struct BatchRun {
    BatchRun(CZorvaView& v, bool list, int outerFlag) : view(v), listing(list), outer(outerFlag) {}

    CZorvaView& view;
    const bool listing;
    const int outer;
    MachiningSettings m = {};           // the settings when the run started
    int n = 0;                          // units at the start; later ones are never figures
    double leadAngle = 0.0;
    std::uint8_t savedCutMode = 0;
    int trailGroup = 0;                 // group number of the elements of each path
    int pairGroup = 0;                  // last shared group of a two-path figure
    int figures = 0;
    int built = 0;
    bool cancelled = false;
    UnitGridIndex index;
    std::vector<std::uint8_t> done, taken, examined, consumed;

    CUnit* Unit(int i) const;
    bool Cancelled();
    // A live role-0 unit of the run that no built path has used.
    bool Free(int i) const;
};

// Builds the path or paths of a figure whose chain is in
// g_CreateTrailPoints (listing: numbers it instead).
void ProcessBatchFigure(BatchRun& run, BatchFigure& figure);
// The end of a generating run: the command reset, the report and the
// cutting order; false when nothing was built or the run was cancelled.
bool EndBatchRun(BatchRun& run);
