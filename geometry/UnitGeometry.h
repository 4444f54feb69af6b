#pragma once

#include <cstring>
#include <type_traits>

#include <cstddef>
#include <cstdint>

#include "geometry/DimensionRecord.h"
#include "geometry/LazyRecord.h"
#include "geometry/x_Vector.h"
#include "platform/core/CString.h"

// Geometry records of the entity families. A unit holds the record of its
// own family only (see UnitGeometry below).

struct x_LineData {
    x_Vector p1;
    x_Vector p2;
    std::uint8_t used = 0;
};

struct EllipseRecord {
    x_Vector centre;
    x_Vector majorAxis;                 // centre to the end of the major axis
    double axisRatio = 0.0;             // semi-minor / semi-major
    double startParam = 0.0;            // eccentric angles, radians
    double endParam = 0.0;
    std::uint8_t direction = 0;         // 0 counter-clockwise
    std::uint8_t splitPiece = 0;
};

struct CircleRecord {
    x_Vector centre;
    double radius = 0.0;
    std::uint8_t direction = 0;
    std::uint8_t committed = 0;
};

struct ArcRecord {
    x_Vector centre;
    double radius = 0.0;
    double startAngle = 0.0;            // radians, in no fixed range
    double endAngle = 0.0;
    std::uint8_t direction = 0;         // 0 counter-clockwise
    std::uint8_t splitPiece = 0;
};

struct RectangleRecord {
    x_Vector corner1;
    x_Vector corner2;
};

// The two defining points of a construction line.
struct ConstructionLineRecord {
    x_Vector p1;
    x_Vector p2;
};

struct PolygonRecord {
    std::int32_t sides = 6;
};

// Curve parameters of a spline: kind 0 interpolating cubic, 1 involute flank,
// 2 B-spline (order degree + 1). The base-circle fields serve the involute.
// The bytes come last so that the record packs into 80 bytes.
struct SplineRecord {
    x_Vector baseCentre;
    double baseRadius = 0.0;
    double angleOffsetA = 0.0;
    double angleOffsetB = 0.0;
    double endParam = 0.0;              // pressure angles, radians
    double startParam = 0.0;
    double phase = 0.0;
    std::int32_t degree = 0;
    std::uint8_t kind = 0;
    std::uint8_t closed = 0;
    std::uint8_t mirrored = 0;
};

// An annotation text; position is the top-left corner of its first line.
struct TextRecord {
    x_Vector position;
    CString text;
    std::int32_t fontSize = 10;
    std::int32_t boxSize = 0;
    float extraReal = 0.0f;
    std::int32_t extraInt = 0;
    std::int32_t spare1 = 0;
    std::int32_t spare2 = 0;
};

// Which record a UnitGeometry holds. Classes without a record of their own
// (polyline, cut point, the plain CUnit) hold none.
enum class UnitFamily : std::uint8_t {
    none,
    line,
    ellipse,
    circle,
    arc,
    rectangle,
    polygon,
    constructionLine,
    spline,
    text,
    dimension,
    dimArc,
    dimAngle,
};

// Bytes a record may take inside a unit; the largest families today
// (ellipse, spline, text) fill it.
constexpr std::size_t kRecordCapacity = 80;

// The geometry of one unit, held twice by every unit (current and working
// copy): a family tag and the one record of that family, in a union so that
// a line costs a line's bytes and not the sum of every family. Members keep
// the plain syntax (unit->geometry.line.p1). Only the member of the unit's
// family may be read or written; the class constructor picks the family
// (CUnit(UnitFamily)). Copies are deep and independent; a copy takes the
// source's family along with its record.
//
// Adding a family (dimension records, the path record, ...):
//   1. Declare the record above. It must fit kRecordCapacity (a static_assert
//      in UnitGeometry.cpp checks); larger data goes into fields of the
//      entity class, or behind a member that owns and deep-copies it.
//      A framework string (CString) or another owning member is fine: copy,
//      assignment and destruction go through the record's own.
//   2. Add an enumerator to UnitFamily and the member to the union below.
//   3. Add one case to VisitFamily in UnitGeometry.cpp.
//   4. Construct the class with its family: CDimAngle() : CUnit(UnitFamily::x).
//      A class may share another's family (CDimDASH uses line).
// Code that is handed any unit checks its class (GetType) before it reads a
// member: another family's member aliases the bytes of the unit's own.
struct UnitGeometry {
    UnitGeometry() noexcept;                    // family none, zeroed
    explicit UnitGeometry(UnitFamily family);   // the family's default record
    UnitGeometry(const UnitGeometry& other);
    UnitGeometry& operator=(const UnitGeometry& other);
    ~UnitGeometry();

    UnitFamily Family() const { return m_family; }
    // Drops the record and starts a default one of family.
    void Reset(UnitFamily family);

    union {
        x_LineData line;
        EllipseRecord ellipse;
        CircleRecord circle;
        ArcRecord arc;
        RectangleRecord rectangle;
        PolygonRecord polygon;
        ConstructionLineRecord constructionLine;
        SplineRecord spline;
        TextRecord text;
        // The dimension records are larger than the record space; a copy
        // that was never written reads as the default record.
        LazyRecord<DimensionRecord> dimension;
        LazyRecord<DimArcRecord> dimArc;
        LazyRecord<DimAngleRecord> dimAngle;
        unsigned char m_bytes[kRecordCapacity];     // storage of none and of plain copies
    };

private:
    void DestroyRecord() noexcept;
    void ConstructRecord(UnitFamily family);
    void CopyRecordFrom(const UnitGeometry& other);

    UnitFamily m_family = UnitFamily::none;
};

x_LineData MakeLineRecord(double x1, double y1, double x2, double y2);
ArcRecord MakeArcRecord(const x_Vector& centre, double radius, double startAngle, double endAngle);

// dst = src, written only when they differ: every frame refreshes the
// working copy of every unit, and a write makes the unit's memory dirty, to
// be written back from the caches at the cost of a read.
template <class T>
void AssignIfChanged(T& dst, const T& src)
{
    static_assert(std::is_trivially_copyable_v<T>);
    if (std::memcmp(&dst, &src, sizeof(T)) != 0)
        std::memcpy(&dst, &src, sizeof(T));
}
