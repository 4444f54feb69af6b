// Dimensions. The kind comes from the last subclass marker (code 100), or,
// in files without markers (R12), from the dimension type (the first code
// 70). Points 10, 13, 14 and 15 are world points; 11 (text) and 16 (a
// point on an angle's arc) lie in the dimension's plane, mirrored in x when
// its extrusion points down.

#include "app/DxfImport.h"

#include <cmath>

#include "geometry/CDimAngle.h"
#include "geometry/CDimArc.h"
#include "geometry/CDimCir.h"
#include "geometry/CDimLine.h"
#include "geometry/CDimLinear.h"
#include "geometry/CDimPLine.h"
#include "geometry/GeometryState.h"
#include "geometry/plane_geometry.h"

namespace {

enum class DimKind { none, aligned, rotated, diametric, radial, angular2, angular3, ordinate, arc };

constexpr double kDegree = 0.017453292519943295;
constexpr int kOrdinateX = 64;          // dimension type flag: an X ordinate

DimKind KindOfMarker(std::string_view marker, DimKind current)
{
    if (marker == "AcDbAlignedDimension")
        return DimKind::aligned;
    // Rotated dimensions carry the aligned marker first.
    if (marker == "AcDbRotatedDimension")
        return current == DimKind::aligned ? DimKind::rotated : current;
    if (marker == "AcDbDiametricDimension")
        return DimKind::diametric;
    if (marker == "AcDbRadialDimension")
        return DimKind::radial;
    if (marker == "AcDb2LineAngularDimension")
        return DimKind::angular2;
    if (marker == "AcDb3PointAngularDimension")
        return DimKind::angular3;
    if (marker == "AcDbOrdinateDimension")
        return DimKind::ordinate;
    if (marker == "AcDbArcDimension")
        return DimKind::arc;
    return current;
}

DimKind KindOfType(int type)
{
    static constexpr DimKind kByType[8] = {DimKind::rotated,  DimKind::aligned,  DimKind::angular2,
                                           DimKind::diametric, DimKind::radial,  DimKind::angular3,
                                           DimKind::ordinate, DimKind::arc};
    return type < 0 ? DimKind::none : kByType[type & 7];
}

// Whether angle a lies on the counter-clockwise run from start to end.
bool OnRun(double a, double start, double end)
{
    const double run = std::fmod(end - start + 2 * kTwoPi, kTwoPi);
    return std::fmod(a - start + 2 * kTwoPi, kTwoPi) <= run;
}

double Run(double start, double end)
{
    return std::fmod(end - start + 2 * kTwoPi, kTwoPi);
}

// The end of a line farther out along direction a from the vertex.
x_Vector FarEnd(const x_Vector& vertex, const x_Vector& s, const x_Vector& e, double a)
{
    const x_Vector d = x_Vector::FromPolar(1.0, a);
    auto along = [&](const x_Vector& p) { return (p.x - vertex.x) * d.x + (p.y - vertex.y) * d.y; };
    return along(s) >= along(e) ? s : e;
}

} // namespace

struct DxfDimensionPoints {
    x_Vector p10, p11, p13, p14, p15, p16;
    bool has13 = false, has14 = false, has15 = false, has16 = false;
    double measured = 0.0;          // code 42; 0 when the file has none
    double rotation = 0.0;          // code 50, radians
    int type = -1;                  // the first code 70
};

void DxfImport::AddDimension(bool arcDimension)
{
    DimKind kind = arcDimension ? DimKind::arc : DimKind::none;
    DxfDimensionPoints d;
    for (const DxfPair& pair : m_pairs) {
        if (pair.code == 100)
            kind = KindOfMarker(pair.value, kind);
        else if (pair.code == 70 && d.type < 0)
            d.type = DxfInt(pair.value);
    }
    if (kind == DimKind::none)
        kind = KindOfType(d.type);
    if (!Has(10) || !Has(20) || !Has(11) || !Has(21))
        return;
    auto point = [&](int code) { return x_Vector(Number(code), Number(code + 10)); };
    const double flip = Mirrored() ? -1.0 : 1.0;
    d.p10 = point(10);
    d.p11 = point(11);
    d.p11.x *= flip;
    d.p13 = point(13), d.has13 = Has(13) && Has(23);
    d.p14 = point(14), d.has14 = Has(14) && Has(24);
    d.p15 = point(15), d.has15 = Has(15) && Has(25);
    d.p16 = point(16), d.has16 = Has(16) && Has(26);
    d.p16.x *= flip;
    d.measured = Number(42);
    d.rotation = Number(50) * kDegree;

    CUnit* unit = nullptr;
    // A rotated dimension off the axes measures along its own direction
    // (R12 writers store aligned dimensions so): an aligned one here.
    if (kind == DimKind::rotated && std::fabs(std::sin(2 * d.rotation)) > 1e-9)
        kind = DimKind::aligned;
    switch (kind) {
    case DimKind::aligned:
    case DimKind::rotated:
        unit = NewLengthDimension(d, kind == DimKind::rotated);
        break;
    case DimKind::diametric:
    case DimKind::radial:
        unit = NewRadialDimension(d, kind == DimKind::diametric);
        break;
    case DimKind::angular2:
    case DimKind::angular3:
        unit = NewAngleDimension(d, kind == DimKind::angular2);
        break;
    case DimKind::ordinate:
        unit = NewOrdinateDimension(d);
        break;
    case DimKind::arc:
        unit = NewArcDimension(d);
        break;
    default:
        break;
    }
    if (unit == nullptr)
        return;
    DxfStyle style;
    style.colour = g_DimensionColor;
    unit->role = kRoleAnnotation;
    Place(unit, style);
}

// The dimension line is offset from the measured points 13 and 14 to pass
// through 10: the offset is the part of 10 - 13 across the measured
// direction (across the chosen axis for a rotated dimension).
CUnit* DxfImport::NewLengthDimension(const DxfDimensionPoints& d, bool rotated)
{
    if (!d.has13 || !d.has14)
        return nullptr;
    x_Vector offset;
    int mode = 0;
    if (rotated) {
        mode = std::fabs(std::cos(d.rotation)) > 0.5 ? 1 : 0;
        offset = mode == 1 ? x_Vector(0.0, d.p10.y - d.p13.y) : x_Vector(d.p10.x - d.p13.x, 0.0);
    } else {
        offset = d.p10 - PerpendicularFoot(d.p10, d.p13, d.p14);
    }
    ++g_UnitIdCounter;
    CDimension* dim = rotated ? static_cast<CDimension*>(new CDimLinear()) : new CDimLine();
    DimensionRecord& w = dim->Working();
    w.p1 = d.p13;
    w.p2 = d.p14;
    w.distance = offset.Length();
    w.angle = w.distance > 0.0 ? offset.Angle() : x_Vector::AngleTo(d.p13, d.p14) + kPi / 2;
    w.angle = std::fmod(w.angle, kTwoPi);
    w.linearMode = mode;
    dim->CommitTransform();
    return dim;
}

// Radius: centre 10, on the circle 15. Diameter: 10 and 15 are the ends of
// a diameter. The text point is 11; the measured value 42 when given.
CUnit* DxfImport::NewRadialDimension(const DxfDimensionPoints& d, bool diametric)
{
    if (!d.has15)
        return nullptr;
    const double span = x_Vector::Distance(d.p10, d.p15);
    const double radius = d.measured > 0.0 ? (diametric ? d.measured / 2 : d.measured) : (diametric ? span / 2 : span);
    if (!(radius > 0.0))
        return nullptr;
    ++g_UnitIdCounter;
    auto* dim = new CDimCir();
    dim->radiusMode = diametric ? 0 : 1;
    DimensionRecord& w = dim->Working();
    w.p1 = diametric ? (d.p10 + d.p15) / 2.0 : d.p10;
    w.p2 = d.p11;
    w.distance = radius;
    w.angle = x_Vector::AngleTo(d.p10, d.p15);
    dim->CommitTransform();
    return dim;
}

// Two lines (13-14 and 10-15) meeting at the vertex, or the vertex 15 with
// the rays to 13 and 14; the angle is the one that holds the arc point (16
// for two lines, 10 for three points), counter-clockwise from start to end.
CUnit* DxfImport::NewAngleDimension(const DxfDimensionPoints& d, bool twoLines)
{
    if (!d.has13 || !d.has14 || !d.has15)
        return nullptr;
    x_Vector vertex = d.p15;
    x_Vector line1[2] = {d.p13, d.p14};
    x_Vector line2[2] = {d.p10, d.p15};
    x_Vector onArc = d.p10;
    if (twoLines) {
        const x_Vector a = d.p14 - d.p13, b = d.p15 - d.p10;
        const double cross = a.x * b.y - a.y * b.x;
        if (std::fabs(cross) <= 1e-10)
            return nullptr;             // parallel lines have no vertex
        const x_Vector w = d.p10 - d.p13;
        vertex = d.p13 + a * ((w.x * b.y - w.y * b.x) / cross);
        onArc = d.has16 ? d.p16 : d.p11;
    } else {
        line1[0] = line2[0] = vertex;
        line1[1] = d.p13;
        line2[1] = d.p14;
    }
    const double radius = x_Vector::Distance(vertex, onArc);
    if (!(radius > 0.0))
        return nullptr;
    // Each line gives a ray either way from the vertex; take the pair whose
    // run of less than half a turn holds the arc point.
    const double arcAngle = x_Vector::AngleTo(vertex, onArc);
    const double r1 = x_Vector::AngleTo(line1[0], line1[1]), r2 = x_Vector::AngleTo(line2[0], line2[1]);
    double start = r1, end = r2;
    bool found = false;
    for (double a : {r1, std::fmod(r1 + kPi, kTwoPi)}) {
        for (double b : {r2, std::fmod(r2 + kPi, kTwoPi)}) {
            for (const auto& [s, e] : {std::pair{a, b}, std::pair{b, a}}) {
                if (!found && Run(s, e) <= kPi && OnRun(arcAngle, s, e)) {
                    start = s;
                    end = e;
                    found = true;
                }
            }
        }
    }
    ++g_UnitIdCounter;
    auto* dim = new CDimAngle();
    DimAngleRecord& w = dim->Working();
    w.centre = vertex;
    w.radius = radius;
    w.startAngle = start;
    w.endAngle = end;
    w.direction = 0;
    w.value = Run(start, end);
    w.fromLines = 1;
    w.line1Start = line1[0];
    w.line1End = line1[1];
    w.line2Start = line2[0];
    w.line2End = line2[1];
    const bool firstStarts = std::fabs(std::remainder(start - r1, kPi)) < 1e-9;
    w.witness1 = firstStarts ? FarEnd(vertex, line1[0], line1[1], start) : FarEnd(vertex, line2[0], line2[1], start);
    w.witness2 = firstStarts ? FarEnd(vertex, line2[0], line2[1], end) : FarEnd(vertex, line1[0], line1[1], end);
    w.witnessRadius = radius;
    dim->Current() = w;
    return dim;
}

// Feature point 13, leader end 14; the value is its X (type flag 64) or Y
// distance from the origin 10.
CUnit* DxfImport::NewOrdinateDimension(const DxfDimensionPoints& d)
{
    if (!d.has13 || !d.has14)
        return nullptr;
    ++g_UnitIdCounter;
    auto* dim = new CDimPLine();
    DimensionRecord& w = dim->Working();
    w.p1 = d.p13;
    w.p2 = d.p14;
    w.value = (d.type & kOrdinateX) != 0 ? d.p13.x - d.p10.x : d.p13.y - d.p10.y;
    dim->CommitTransform();
    return dim;
}

// The measured arc runs counter-clockwise about 15 from 13 to 14; the
// dimension arc passes through 10.
CUnit* DxfImport::NewArcDimension(const DxfDimensionPoints& d)
{
    if (!d.has13 || !d.has14 || !d.has15)
        return nullptr;
    const double arcRadius = x_Vector::Distance(d.p15, d.p13);
    const double radius = x_Vector::Distance(d.p15, d.p10);
    if (!(arcRadius > 0.0) || !(radius > 0.0))
        return nullptr;
    ++g_UnitIdCounter;
    auto* dim = new CDimArc();
    DimArcRecord& w = dim->Working();
    w.centre = d.p15;
    w.radius = radius;
    w.startAngle = x_Vector::AngleTo(d.p15, d.p13);
    w.endAngle = x_Vector::AngleTo(d.p15, d.p14);
    w.witnessRadius = arcRadius;
    w.direction = 0;
    const double run = Run(w.startAngle, w.endAngle);
    w.value = arcRadius * (run > 1e-10 ? run : kTwoPi);
    dim->Current() = w;
    return dim;
}
