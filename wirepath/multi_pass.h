#pragma once

// Multi-pass finishing: one roughing cut and up to six trim cuts on the
// same contour. From the base contours of a path (the chain before
// compensation; for two-profile paths the synchronised lower and upper
// lists) it builds one offset contour per pass, the die support (an uncut
// tab cut last), the over-cut, the pauses and the lead lines, and joins
// them into the path's two element lists.

#include "geometry/x_Vector.h"
#include "platform/core/CString.h"

struct PathSettings;
struct TrailPath;

// Why finishing refused (every other result is kPathOk).
enum PassCode : int {
    kPassDieTooWide = -10,          // a surface is not longer than its die support
    kPassDieSplit = -11,            // the die-support point cannot be placed
    kPassOffsetWithDie = -12,       // a pass offset failed (with die support)
    kPassOffset = -13,              // a pass offset failed
    kPassStepOffset = -14,          // the step offset of the support part failed
    kPassOverCutOffset = -15,       // the step offset of the over-cut failed
    kPassListsDiffer = -17,         // lower and upper lists of different counts
    kPassToolChange = -18,          // the tool-change point cannot be placed
};

struct PassRequest {
    int compSide = 1;                   // 1 right, 2 left of the run direction
    double compensation = 0.0;          // 0 when no offset is wanted
    x_Vector pickPoints[4];             // threading, lead-in, chain end, end point
};

// path: lists, base contour (unshifted[0]), outward flags and parameters
// as contour building left them for a multi-pass path. On kPathOk the
// lists are finished and the metrics computed; cornerFailed tells that a
// pass kept its corners because clearing them failed.
int BuildPasses(const PathSettings& s, const PassRequest& request, TrailPath& path, bool& cornerFailed);
// The output line of a refusal.
CString PassFailureText(int code);
