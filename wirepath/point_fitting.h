#pragma once

// Point runs of flattened curves turned into line and arc pieces.

#include "platform/core/CArray.h"
#include "wirepath/x_LineToArcData.h"

// Pieces in run order; consecutive pieces meet. No arc piece turns by more
// than half a turn or turns back.
void FitLinesAndArcs(const x_Vector* points, int n, CArray<x_LineToArcData>& out, double tolerance);
