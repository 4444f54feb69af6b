#pragma once

// Wire-wear correction. The wire thins as it cuts: one correction of
// 0.001 mm is due after every
//
//     step = ratio / t / 10 mm of cutting length                      (1)
//
// (ratio: the cut area in mm2 that wears the wire by 0.01 mm; t: the
// workpiece thickness). The correction points lie along the chain that
// path generation is about to build (g_CreateTrailPoints); applied, the
// chain's units are split at them and the pieces ending at a point are
// marked, so chain collection lowers the compensation there.

#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"

enum WearResult : int {
    kWearDone = 1,
    kWearBadThickness = -1,             // t <= 0
    kWearStepTooSmall = -2,             // step below 0.0001 mm
};

// Total length of the role-0 units the chain lists.
double WearChainLength();
// Places the points into points (count = their number); with apply the
// chain is split and g_CreateTrailPoints replaced by the pieces, in order.
int PlaceWearCorrections(double ratio, double thickness, bool apply, CArray<x_Vector>& points, int& count);
