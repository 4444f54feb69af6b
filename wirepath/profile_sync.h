#pragma once

// Two-profile synchronisation: the lower and the upper contour of a
// two-profile path are split until element i of one list corresponds to
// element i of the other, by length share or by sectors about each
// contour's centroid. Elements are only split or inserted, never merged.

#include "geometry/x_TrailData.h"

struct TrailPath;

// which 1 moves the lower list by minus offset first, any other value the
// upper list. 1 success; -1 a list is empty; -5 counts differ by more than
// one at the end.
int SyncTrailsByLength(TrailPath& path, int which, x_Vector offset);
// As above, by sectors: -2 no centroid, -3 the contours run opposite ways,
// -4 no split point, -6 counts differ by more than one at the end.
int PairProfiles(TrailPath& path, int which, x_Vector offset);
// Splits every full-circle arc into two half circles; always 1.
int FinishProfilePair(x_TrailDataArray& list);
