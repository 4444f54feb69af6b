#pragma once

#include <cstdint>

#include "geometry/x_Vector.h"
#include "platform/core/CString.h"

// Geometry records of the entity families; a unit uses the member of its
// class and leaves the others at their initial values.

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
struct SplineRecord {
    std::uint8_t kind = 0;
    std::int32_t degree = 0;
    std::uint8_t closed = 0;
    x_Vector baseCentre;
    double baseRadius = 0.0;
    double angleOffsetA = 0.0;
    double angleOffsetB = 0.0;
    double endParam = 0.0;              // pressure angles, radians
    double startParam = 0.0;
    double phase = 0.0;
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

// Held twice by every unit (current and working copy); plain values, so the
// copies are independent. Members of the other entity families join here.
struct UnitGeometry {
    x_LineData line;
    EllipseRecord ellipse;
    CircleRecord circle;
    ArcRecord arc;
    RectangleRecord rectangle;
    PolygonRecord polygon;
    ConstructionLineRecord constructionLine;
    SplineRecord spline;
    TextRecord text;
    x_Vector sparePoint;
};

x_LineData MakeLineRecord(double x1, double y1, double x2, double y2);
ArcRecord MakeArcRecord(const x_Vector& centre, double radius, double startAngle, double endAngle);
