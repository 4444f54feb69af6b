// Polylines (POLYLINE with its VERTEX list, LWPOLYLINE) become line and arc
// pieces that share one group number.

#include "app/DxfImport.h"

#include <cmath>

#include "app/dxf_palette.h"
#include "geometry/CArc.h"
#include "geometry/CLine.h"
#include "geometry/GeometryState.h"
#include "geometry/curve_helpers.h"

namespace {

// POLYLINE flags: closed, a 3-D polyline (world points), a polygon mesh, a
// polyface mesh; VERTEX flag: a spline frame point (not on the curve).
constexpr int kClosed = 1;
constexpr int k3dPolyline = 8;
constexpr int kMesh = 16;
constexpr int kPolyface = 64;
constexpr int kFramePoint = 16;

// The arc through a and b that bulges by bulge (tan of a quarter of its
// sweep, positive counter-clockwise): its middle point lies at the sagitta
// (half chord x |bulge|) from the chord's middle, to the right of a->b for a
// counter-clockwise arc.
CUnit* NewBulgeArc(const x_Vector& a, const x_Vector& b, double bulge)
{
    const x_Vector mid = (a + b) / 2.0;
    const double sagitta = x_Vector::Distance(a, b) / 2.0 * std::fabs(bulge);
    const double towards = x_Vector::AngleTo(a, b) + (bulge < 0.0 ? kPi / 2 : -kPi / 2);
    const x_Vector top = mid + x_Vector::FromPolar(sagitta, towards);
    ArcRecord arc;
    if (!ArcFromThreePoints(arc, a, top, b))
        return nullptr;
    return NewArc(arc.centre, arc.radius, arc.startAngle, arc.endAngle, arc.direction);
}

} // namespace

void DxfImport::AddLwPolyline()
{
    if (!Has(70) || !Has(90))
        return;
    const DxfStyle style = StyleOfPairs();
    std::vector<DxfVertex> vertices;
    for (const DxfPair& pair : m_pairs) {
        if (pair.code == 10) {
            vertices.push_back({x_Vector(DxfDouble(pair.value), 0.0), 0.0, style.colour});
        } else if (vertices.empty()) {
            continue;
        } else if (pair.code == 20) {
            vertices.back().point.y = DxfDouble(pair.value);
        } else if (pair.code == 42) {
            vertices.back().bulge = DxfDouble(pair.value);
        }
    }
    if (static_cast<int>(vertices.size()) != Integer(90))
        return;
    AddPolylinePieces(vertices, (Integer(70) & kClosed) != 0, Mirrored(), style);
}

// The header, then VERTEX entities up to SEQEND (or the next other entity,
// which the main loop then reads).
void DxfImport::ReadPolyline()
{
    CollectPairs();
    const int flags = Integer(70);
    const bool skip = Integer(67) == 1 || (flags & (kMesh | kPolyface)) != 0;
    const bool mirrored = Mirrored() && (flags & k3dPolyline) == 0;
    // The header's layer and line type give the line style only, and its 62
    // nothing: a piece takes the colour of the vertex it starts at, else the
    // current colour.
    DxfStyle style = StyleOfPairs();
    style.colour = g_CurrentColor;
    style.colourByBlock = false;
    std::vector<DxfVertex> vertices;
    while (m_more && m_pair.code == 0 && m_pair.value == "VERTEX") {
        CollectPairs();
        if (!Has(10) || !Has(20) || (Integer(70) & kFramePoint) != 0)
            continue;
        DxfVertex v{x_Vector(Number(10), Number(20)), Number(42), style.colour};
        const int index = Integer(62, -1);
        if (index >= 0 && index <= 255)
            v.colour = DxfIndexColour(index);
        vertices.push_back(v);
    }
    if (m_more && m_pair.code == 0 && m_pair.value == "SEQEND")
        CollectPairs();
    if (!skip)
        AddPolylinePieces(vertices, (flags & kClosed) != 0, mirrored, style);
}

void DxfImport::AddPolylinePieces(std::vector<DxfVertex>& vertices, bool closed, bool mirrored,
                                  const DxfStyle& style)
{
    const std::size_t n = vertices.size();
    if (n < 2)
        return;
    if (mirrored) {
        // x -> -x turns every arc the other way.
        for (DxfVertex& v : vertices) {
            v.point.x = -v.point.x;
            v.bulge = -v.bulge;
        }
    }
    const int group = NextGroup();
    const std::size_t segments = closed ? n : n - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        const DxfVertex& a = vertices[i];
        const x_Vector& b = vertices[(i + 1) % n].point;
        // Files often repeat the first vertex at the end of a closed outline.
        if (a.point.x == b.x && a.point.y == b.y)
            continue;
        CUnit* piece = a.bulge != 0.0 ? NewBulgeArc(a.point, b, a.bulge) : nullptr;
        if (piece == nullptr) {
            ++g_UnitIdCounter;
            piece = new CLine(a.point.x, a.point.y, b.x, b.y);
        }
        piece->pieceOf = 2;
        piece->group = group;
        DxfStyle pieceStyle = style;
        pieceStyle.colour = a.colour;
        Place(piece, pieceStyle);
    }
}
