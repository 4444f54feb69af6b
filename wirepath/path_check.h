#pragma once

// The check every path passes before it is stored or reported as built:
// its joints closed, no crossings, both surfaces running the same way
// round, and each compensated contour the true offset of its contour
// within 0.001 mm: no point nearer than the offset (the wire would cut
// into the part), none farther away from the joins of convex corners, and
// every offset point of the contour reached (nothing collapsed or lost).
// Lead lines (role 1), links and moves (role 4) and corner excursions
// (role 7) keep only the joint rule. The check reports; it never prints.

#include <cstdint>
#include <vector>

#include "geometry/x_TrailData.h"
#include "platform/core/CString.h"

struct TrailPath;
struct CheckPiece;

// What one surface was built to be: its contour (a list before
// compensation, moved by `shift`) offset to one side.
struct SurfaceIntent {
    bool set = false;
    int reference = 0;                  // which list before compensation
    int side = 0;                       // 0 right, 1 left of the direction of travel
    double offset = 0.0;                // signed: negative lies on the other side
    bool perElementTaper = false;       // ± tan(element's taperAngle) × thickness more
    bool negate = false;                // minus instead of plus
    double thickness = 0.0;
    x_Vector shift{0.0, 0.0};
};

enum PathFault : int {
    kCheckOk = 0,
    kCheckEmpty,                        // no contour element at all
    kCheckJointOpen,                    // an element does not start where the one before ends
    kCheckClosingOpen,                  // a closed contour does not return to its start
    kCheckCrossing,                     // two elements that do not follow each other meet
    kCheckOrientation,                  // the upper contour runs the other way round
    kCheckTooNear,                      // nearer to the contour than its offset
    kCheckTooFar,                       // farther from the contour than its offset
    kCheckUncovered,                    // a stretch of the contour has no offset beside it
    kCheckCounts,                       // lower and upper lists of different counts
};

struct PathCheckResult {
    PathFault fault = kCheckOk;
    int surface = 0;                    // 0 lower, 1 upper
    int pass = 0;                       // 1-based pass of a multi-pass path, else 0
    int element = -1;                   // in the list checked
    x_Vector where;
    double measured = 0.0;              // the distance or gap found
    double intended = 0.0;              // the offset due there

    bool Ok() const { return fault == kCheckOk; }
};

// Every joint of the list exact (ends 1e-6 mm apart at most).
PathCheckResult CheckJoints(const x_TrailDataArray& list);
// One compensated contour: list[0 .. count) in travel order; elements from
// `extraFrom` on (an over-cut run over the start) keep to the distance
// rules only. Roles 1, 4 and 7 are left out of the contour.
PathCheckResult CheckContour(const x_TrailData* list, int count, int extraFrom, const x_TrailDataArray& reference,
                             const SurfaceIntent& intent, bool closed);
// The same with the contour's pieces made by the caller (elements of
// contour roles with geometry, `element` their index in list). With
// `sameReference` the reference pieces of the thread's last contour check
// serve again: the caller knows it was the same list, moved the same way.
PathCheckResult CheckContourPieces(const x_TrailData* list, const std::vector<CheckPiece>& pieces, int count,
                                   int extraFrom, const x_TrailDataArray& reference, const SurfaceIntent& intent,
                                   bool closed, bool sameReference);
// Twice the signed area a list encloses (positive counter-clockwise).
double TwiceArea(const x_TrailData* list, int count);
// Whether two closed contours run the same way round.
bool SameOrientation(const x_TrailData* a, int countA, const x_TrailData* b, int countB);
// A single-pass or two-profile path as built: each surface's lists from
// its lead lines to its over-cut, against the intents contour building
// recorded in the path.
PathCheckResult CheckFinishedPath(const TrailPath& path);
// What failed, for the line under the refusal (no "*" in front).
CString PathCheckHint(const PathCheckResult& r);
