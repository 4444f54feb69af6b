#pragma once

// One recipe of the process-parameter database (工艺数据表): 440 bytes,
// written to table files and ".qcx" lists as its raw image, so the layout,
// padding included, is a file format.

#include <cstddef>
#include <cstdint>

#include "platform/core/CString.h"
#include "wirepath/CutParams.h"

struct trail_sql_t {
    std::int32_t processNo;             // 工艺号
    std::uint8_t pad4[4];
    double wireDiameter;                // mm
    double compensation;                // mm
    double thickness;                   // mm
    std::int32_t efficiency;            // mm2/min
    std::int32_t finish;
    std::uint8_t shape;                 // 0 外形, else 内孔
    char material[103];                 // GBK, terminated within 50 bytes when we write it
    std::int64_t timeStamp;             // seconds since 1970 UTC
    std::int32_t cutCount;              // 1..7
    std::uint8_t pad156[4];
    CutParams cuts[7];                  // all seven always stored
};
static_assert(sizeof(trail_sql_t) == 440);
static_assert(offsetof(trail_sql_t, wireDiameter) == 8);
static_assert(offsetof(trail_sql_t, efficiency) == 32);
static_assert(offsetof(trail_sql_t, shape) == 40);
static_assert(offsetof(trail_sql_t, material) == 41);
static_assert(offsetof(trail_sql_t, timeStamp) == 144);
static_assert(offsetof(trail_sql_t, cutCount) == 152);
static_assert(offsetof(trail_sql_t, cuts) == 160);

constexpr int kMaterialBytes = 50;      // terminator included

// The material as text. The field is read up to its first zero byte and
// never past its 103 bytes; a character cut in two at the end is dropped.
CString MaterialText(const trail_sql_t& record);
// Stores the text as GBK in at most 49 bytes, cut between characters, and
// zeroes the rest of the field.
void SetMaterialText(trail_sql_t& record, const CString& text);
