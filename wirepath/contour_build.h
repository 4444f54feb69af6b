#pragma once

// Contour building: the working copies of a chain become the element lists
// of a path: converted, offset by the compensation, with over-cut, the
// upper contour of the cut mode, lead lines, metrics and parameters.

#include <cstdint>

#include "geometry/CUnit.h"
#include "geometry/CUnitDocument.h"
#include "geometry/x_TrailData.h"
#include "wirepath/trail_lists.h"

struct ChainRequest;
struct PathSettings;
struct TrailPath;

// 1, or a PathCode below 1 (nothing is left half built in a way callers
// use: they discard the path).
int BuildContourTrail(const ChainRequest& request, const PathSettings& settings, const CUnitArray& copies,
                      bool closed, TrailPath& path);

// The copies as elements (lines, arcs, fitted pieces of elliptic arcs and
// splines); false when cancelled.
bool ConvertCopies(const CUnitArray& copies, const PathSettings& settings, x_TrailDataArray& out);
// Wire-wear correction narrows the offset by 0.001 mm after each mark, so
// where the contour goes on smoothly a piece's copy stands that far from
// the next one's. The offset takes ends 0.001 apart for one point and
// closed such a step by slanting the whole piece before it (or, when the
// rounding fell the other way, by a half circle); a line across each step,
// the closing one included, makes it cut a true step.
void AddWearSteps(x_TrailDataArray& list, bool closed);

// The distance of a taper's upper contour: base + extra ± tan(taper) ×
// thickness, the sign by the side and the inverted-taper setting.
double TaperOffset(const PathSettings& s, double base, double extra, std::uint8_t outward);
// Taper upper contour at TaperOffset; only in cut mode 1 (true without
// work otherwise). Results as OffsetTrail's.
int OffsetTrailTaper(const PathSettings& s, const x_TrailDataArray& in, x_TrailDataArray& out, int side,
                     std::uint8_t closed, double base, double extra, std::uint8_t outward);
int OffsetTrailVarTaper(const PathSettings& s, const x_TrailDataArray& in, x_TrailDataArray& out, int side,
                        std::uint8_t closed, double base, double extra, int negate);
// Moves every element by the incline shift; returns it in sx, sy.
bool ApplyInclineShift(const PathSettings& s, x_TrailDataArray& list, double& sx, double& sy);
// The per-pass offset of multi-pass paths: a copy when the distance,
// taper included, is 0.
int OffsetTrailForCutMode(const PathSettings& s, bool taperFlag, const x_TrailDataArray& in,
                          x_TrailDataArray& out, std::uint8_t outward, int side, std::uint8_t closed,
                          double base, double extra, int negate);
// The same, refusing a contour that crosses itself (kOffsetSelfCrossing).
int CheckedOffsetForCutMode(const PathSettings& s, bool taperFlag, const x_TrailDataArray& in,
                            x_TrailDataArray& out, std::uint8_t outward, int side, std::uint8_t closed,
                            double base, double extra, int negate);
// Inserts zero-length partners so that elements the offset inserted (tag
// 100) stand at the same index in both lists.
void MergeTrailPair(x_TrailDataArray& a, x_TrailDataArray& b);
// Lead lines of both lists when one of them is shifted by (sx, sy).
bool AddLeadLines(TrailPath& path, const LeadLines& lead, bool shiftLower, bool pause, double sx, double sy,
                  bool endAtCutOff);
// Whether any angle the cut mode turns into tan(angle) is 90° or more.
bool AnglesRefused(const PathSettings& s, const CUnitArray& copies);
