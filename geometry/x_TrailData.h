#pragma once

#include <cstddef>
#include <cstdint>

#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"

class CArchive;

// One element of a wire path: a line (kind 0/1) or an arc (kind 2/3); any
// kind above 3 is an empty element. Its 144-byte memory image is the file
// format of the drawing and the path export; padding is always written as 0.
struct x_TrailData {
    std::uint8_t role = 0;              // 0 cutting, 1 lead line
    std::uint8_t subKind = 1;
    std::uint8_t pad2[2] = {};
    std::int32_t group = 0;
    std::uint8_t tag = 0;               // 'd': merged upper/lower pair
    std::uint8_t attribute = 0;         // 1: pause after this element
    std::uint8_t joinMark = 0;
    std::uint8_t kind = 0;
    std::uint8_t pad12[4] = {};
    double length = 0.0;
    double taperAngle = 0.0;            // degrees, variable-taper paths
    x_Vector start;
    x_Vector end;
    std::uint8_t lineFlag = 0;          // line made from fitted pieces
    std::uint8_t pad81[7] = {};
    x_Vector centre;
    double radius = 0.0;
    double startAngle = 0.0;
    double endAngle = 0.0;
    std::uint8_t direction = 0;         // 0 counter-clockwise
    std::uint8_t arcMark = 0;           // arc made from fitted pieces
    std::uint8_t pad138[2] = {};
    std::int32_t reserved140 = 0;

    bool IsLine() const { return kind <= 1; }
    bool IsArc() const { return kind == 2 || kind == 3; }
    double Length() const;              // from the geometry, not `length`
    x_Vector StartPoint() const;
    x_Vector EndPoint() const;
    void Reverse();

    // The 144 bytes as written to a file, padding zeroed.
    void ToBytes(std::uint8_t out[144]) const;
    void FromBytes(const std::uint8_t in[144]);
};
static_assert(sizeof(x_TrailData) == 144);
static_assert(offsetof(x_TrailData, group) == 4);
static_assert(offsetof(x_TrailData, tag) == 8);
static_assert(offsetof(x_TrailData, joinMark) == 10);
static_assert(offsetof(x_TrailData, kind) == 11);
static_assert(offsetof(x_TrailData, length) == 16);
static_assert(offsetof(x_TrailData, taperAngle) == 24);
static_assert(offsetof(x_TrailData, start) == 32);
static_assert(offsetof(x_TrailData, end) == 56);
static_assert(offsetof(x_TrailData, lineFlag) == 80);
static_assert(offsetof(x_TrailData, centre) == 88);
static_assert(offsetof(x_TrailData, radius) == 112);
static_assert(offsetof(x_TrailData, startAngle) == 120);
static_assert(offsetof(x_TrailData, endAngle) == 128);
static_assert(offsetof(x_TrailData, direction) == 136);
static_assert(offsetof(x_TrailData, arcMark) == 137);
static_assert(offsetof(x_TrailData, reserved140) == 140);
static_assert(sizeof(x_Vector) == 24 && offsetof(x_Vector, valid) == 16);

using x_TrailDataArray = CArray<x_TrailData>;

// The framework count, then the raw 144-byte records. Reading checks the
// count against the bytes left before it sizes the list.
void StoreTrailList(CArchive& ar, const x_TrailDataArray& list);
void LoadTrailList(CArchive& ar, x_TrailDataArray& list);

// One direction in which a path can leave the picked point along an entity.
// Never written to a file.
struct x_TrailDirectionData {
    double angle = 0.0;                 // [0, 2π]
    x_Vector point;
    x_Vector point2;
    std::int32_t direction = 0;         // 2 start to end, 1 end to start
    std::uint64_t unitId = 0;
    std::int32_t listIndex = 0;
    std::uint8_t active = 0;
};
