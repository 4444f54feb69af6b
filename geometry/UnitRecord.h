#pragma once

#include <cstddef>
#include <cstdint>

// The record of a ".wcx" file that every unit starts with: 162 bytes, no
// version word, fields unaligned. A unit reads and writes it whole
// (CUnit_archive.cpp); the class tails that follow are records of the same
// kind in their classes' files.
#pragma pack(push, 1)
struct RecordPoint {
    double x;
    double y;
};

struct UnitRecord {
    RecordPoint inputPoints[4];
    std::uint8_t complete;
    RecordPoint extentMin;
    RecordPoint extentMax;
    std::int32_t listIndex;
    std::uint8_t temporary;
    std::uint64_t unitId;
    std::int32_t role;
    std::int32_t ownerNo;
    std::int32_t textStyle;
    std::int32_t pieceOf;
    std::int32_t group;
    std::int32_t chainDir;
    std::int32_t lineStyle;
    std::uint32_t colour;
    std::uint8_t dashDot;
    std::int32_t radiusMode;
    std::uint8_t gearKind;
    std::uint8_t gearHandle;
    std::int32_t toothCount;
    double taperAngle;
    std::uint8_t blockMember;
};
#pragma pack(pop)

static_assert(sizeof(RecordPoint) == 16);
static_assert(sizeof(UnitRecord) == 162);
static_assert(offsetof(UnitRecord, complete) == 64);
static_assert(offsetof(UnitRecord, extentMin) == 65);
static_assert(offsetof(UnitRecord, extentMax) == 81);
static_assert(offsetof(UnitRecord, listIndex) == 97);
static_assert(offsetof(UnitRecord, temporary) == 101);
static_assert(offsetof(UnitRecord, unitId) == 102);
static_assert(offsetof(UnitRecord, role) == 110);
static_assert(offsetof(UnitRecord, ownerNo) == 114);
static_assert(offsetof(UnitRecord, textStyle) == 118);
static_assert(offsetof(UnitRecord, pieceOf) == 122);
static_assert(offsetof(UnitRecord, group) == 126);
static_assert(offsetof(UnitRecord, chainDir) == 130);
static_assert(offsetof(UnitRecord, lineStyle) == 134);
static_assert(offsetof(UnitRecord, colour) == 138);
static_assert(offsetof(UnitRecord, dashDot) == 142);
static_assert(offsetof(UnitRecord, radiusMode) == 143);
static_assert(offsetof(UnitRecord, gearKind) == 147);
static_assert(offsetof(UnitRecord, gearHandle) == 148);
static_assert(offsetof(UnitRecord, toothCount) == 149);
static_assert(offsetof(UnitRecord, taperAngle) == 153);
static_assert(offsetof(UnitRecord, blockMember) == 161);
