#pragma once

// Results of the path builders. Callers report every value below 1 as a
// failed generation; the values tell tests and logs which check refused.
enum PathCode : int {
    kPathOk = 1,
    kPathCancelled = 0,
    kPathNoEntity = -2,             // nothing usable in the chain
    kPathBuildFailed = -3,          // conversion or compensation offset failed
    kPathAngleRefused = -4,         // a taper or incline angle of 90 degrees or more
    kPathSelfCrossing = -5,         // the offset contour crosses itself
    kPathListMismatch = -6,         // lower and upper lists of different counts
    kPathCheckRefused = -7,         // the finished path failed its check (TrailPath::check)
};
