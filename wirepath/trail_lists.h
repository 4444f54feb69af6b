#pragma once

// Small operations on path element lists: splitting, lead lines, pause
// marks, the closed test, connecting lines, reversal and the joint measure.
// They report by result and never print.

#include <cstdint>

#include "geometry/UnitGeometry.h"
#include "geometry/x_TrailData.h"

class CUnit;
struct TrailPath;

// Where the last LocateTrailDistance split a list, for the partner split:
// index -1 when nothing was found; the fraction of the element's length
// from its start.
struct SplitPlace {
    std::int32_t index = -1;
    double fraction = 0.0;
};

// The lead-in line (start = threading point) and the lead-out line (end =
// exit point) of a path.
struct LeadLines {
    x_LineData in;
    x_LineData out;
};

// Splits at distance d from the end (stored lengths); the first part gets
// the pause mark. Index of the element that held the point, -1 when none.
int SplitTrailFromEnd(x_TrailDataArray& list, double d);
// Splits element i at fraction f of its length; -1 when i is past the end,
// i + 1 after a split when flag is 0, else i.
int SplitTrailSegment(x_TrailDataArray& list, int flag, int i, std::uint8_t mark, double f);
// Splits at cutting length d from the start (fromEnd 0) or the end (1),
// counting role-0 elements only; records the place in `place`.
int LocateTrailDistance(x_TrailDataArray& list, int fromEnd, std::uint8_t mark, double d, SplitPlace& place);
// Lead-in before the first element and lead-out after the last of list k;
// with endAtCutOff the lead-out has length zero.
void AddLeadInOut(TrailPath& path, int k, const LeadLines& lead, std::uint8_t endAtCutOff);
void AddLeadInOut(x_TrailDataArray& list, const LeadLines& lead, std::uint8_t endAtCutOff);
bool CopySegmentAttribute(const x_TrailDataArray& src, x_TrailDataArray& dst);
bool IsClosedTrail(const x_TrailDataArray& list);
// Appends a connecting line from A's end to B's start (B's end with useEnd)
// unless they meet.
bool TrailSegmentPoint(x_TrailDataArray& list, std::uint8_t subKind, std::uint8_t role, x_TrailData a,
                       x_TrailData b, bool useEnd);
void ReverseTrailSegment(x_TrailData& e);
// How far a candidate joint P lies from where entities A and B meet.
double JointDistance(x_Vector p, CUnit* a, CUnit* b);
// Element lists reversed: the elements in reverse order, each reversed.
void AppendReversed(x_TrailDataArray& to, const x_TrailDataArray& from, int first, int count);
