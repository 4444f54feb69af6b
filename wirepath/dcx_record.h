#pragma once

// The records of a ".dcx" path export for the machining program: int32
// 209852, 0, 0, the 179-byte header record (count, bounding box, cut-point
// marker, file name), then per path its parameter record (599 bytes) and
// both element lists.

#include <cstdint>

#include "geometry/x_Vector.h"
#include "platform/core/CString.h"

class CArchive;

constexpr std::int32_t kDcxMagic = 209852;
constexpr int kDcxNameBytes = 50;

struct DcxHeader {
    std::int32_t count = 0;
    std::uint8_t flags[2] = {0, 0};
    x_Vector min;
    x_Vector max;
    double zeros3[3] = {};
    x_Vector point;
    std::uint8_t bytes[2] = {0, 0};
    double zeros2[2] = {};
    std::uint8_t hasCutPoint = 0;
    x_Vector cutPoint[2];
    char name[kDcxNameBytes] = {};
};

void WriteDcxHeader(CArchive& ar, const DcxHeader& header);
// The name field: the file's base name (before its first ".") in GBK, cut
// on a character boundary so that a terminating zero always fits.
void FillDcxName(DcxHeader& header, const CString& fileName);
