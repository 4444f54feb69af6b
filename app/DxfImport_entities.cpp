// The entities of a DXF file: lines, circles, arcs, ellipses, splines,
// texts and polylines (as grouped line and arc pieces). Points in an
// entity's own plane (circles, arcs, 2-D polylines, texts, inserts) are
// mirrored in x when the extrusion points down (code 230 below 0): that
// plane's x axis is the world's -x. Lines, ellipses, splines and MTEXT
// positions are world points already.

#include "app/DxfImport.h"

#include <algorithm>
#include <cmath>

#include "app/CZorvaDoc.h"
#include "app/dxf_palette.h"
#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CEllipse.h"
#include "geometry/CEllipseArc.h"
#include "geometry/CLine.h"
#include "geometry/CSplines.h"
#include "geometry/CText.h"
#include "geometry/GeometryState.h"
#include "geometry/curve_helpers.h"

namespace {

constexpr double kDegree = 0.017453292519943295;
// Text colour when a text names none.
constexpr COLORREF kTextColour = 0xFF8000;
// Longest MTEXT in bytes: 128 pieces of the 250 that files write per piece.
constexpr std::size_t kLongestText = 32000;

double Normalised(double angle)
{
    const double a = std::fmod(angle, kTwoPi);
    return a < 0.0 ? a + kTwoPi : a;
}

} // namespace

void DxfImport::ReadEntity(std::string_view kind)
{
    if (kind == "POLYLINE") {
        ReadPolyline();
        return;
    }
    CollectPairs();
    // Paper-space entities (title blocks, viewports) are not part of the part.
    if (Integer(67) == 1)
        return;
    if (kind == "LINE")
        AddLine();
    else if (kind == "CIRCLE")
        AddCircle();
    else if (kind == "ARC")
        AddArc();
    else if (kind == "LWPOLYLINE")
        AddLwPolyline();
    else if (kind == "SPLINE")
        AddSpline();
    else if (kind == "ELLIPSE")
        AddEllipse();
    else if (kind == "INSERT")
        ReadInsert();       // in a block definition too: nested blocks
    else if (m_section != Section::entities)
        return;             // block definitions keep geometry only
    else if (kind == "TEXT" || kind == "MTEXT")
        AddText(kind == "MTEXT");
    else if (kind == "DIMENSION" || kind == "ARC_DIMENSION")
        AddDimension(kind == "ARC_DIMENSION");
}

DxfStyle DxfImport::StyleOfPairs() const
{
    DxfStyle style;
    style.colour = g_CurrentColor;
    const std::string_view layer = Text(8);
    if (!layer.empty()) {
        const auto it = m_layers.find(DxfNameKey(layer));
        if (it != m_layers.end())
            style = it->second;
    }
    const std::string_view lineType = Text(6);
    if (!lineType.empty())
        DxfLineType(lineType, style.lineStyle, style.dashDot);
    if (Has(62)) {
        const int index = Integer(62);
        if (index >= 0 && index <= 255) {
            style.colour = DxfIndexColour(index);
            style.colourByBlock = index == 0;
        }
    }
    // True colours (code 420) are not read: the palette of 256 is the
    // drawing's.
    return style;
}

// A text takes no layer colour: its own 62, or a 420 that holds an index
// 0..255, whichever comes last.
DxfStyle DxfImport::TextStyleOfPairs() const
{
    DxfStyle style;
    style.colour = kTextColour;
    for (const DxfPair& pair : m_pairs) {
        const int index = pair.code == 62 || pair.code == 420 ? DxfInt(pair.value) : -1;
        if (index >= 0 && index <= 255)
            style.colour = DxfIndexColour(index);
    }
    return style;
}

void DxfImport::Place(CUnit* unit, const DxfStyle& style)
{
    unit->colour = style.colour;
    unit->lineStyle = style.lineStyle;
    unit->dashDot = style.dashDot;
    unit->complete = 1;
    unit->workGeometry = unit->geometry;
    if (m_block != nullptr) {
        unit->blockMember = 1;
        unit->ownerNo = m_block->number;
        m_block->members.push_back({unit, style.colourByBlock});
        ++m_block->units;
        return;
    }
    Append(unit);
}

void DxfImport::Append(CUnit* unit)
{
    m_maxGroup = std::max(m_maxGroup, unit->group);
    m_out.Add(unit);
}

void DxfImport::AddLine()
{
    if (!Has(10) || !Has(20) || !Has(11) || !Has(21))
        return;
    ++g_UnitIdCounter;
    Place(new CLine(Number(10), Number(20), Number(11), Number(21)), StyleOfPairs());
}

void DxfImport::AddCircle()
{
    if (!Has(10) || !Has(20) || !Has(40))
        return;
    const double x = Number(10);
    Place(NewCircle(x_Vector(Mirrored() ? -x : x, Number(20)), Number(40)), StyleOfPairs());
}

// Mirrored, the arc runs clockwise from pi - start to pi - end: the image
// of a counter-clockwise arc under x -> -x.
void DxfImport::AddArc()
{
    if (!Has(10) || !Has(20) || !Has(40) || !Has(50) || !Has(51))
        return;
    double x = Number(10);
    double start = Normalised(Number(50) * kDegree);
    double end = Normalised(Number(51) * kDegree);
    std::uint8_t direction = 0;
    if (Mirrored()) {
        x = -x;
        start = Normalised(kPi - start);
        end = Normalised(kPi - end);
        direction = 1;
    }
    Place(NewArc(x_Vector(x, Number(20)), Number(40), start, end, direction), StyleOfPairs());
}

// Centre and axis are world points; a downward extrusion turns the
// parameter the other way, so the run from s to e becomes the run from
// 2pi - e to 2pi - s.
void DxfImport::AddEllipse()
{
    for (int code : {10, 20, 11, 21, 40, 41, 42}) {
        if (!Has(code))
            return;
    }
    EllipseRecord e;
    e.centre = x_Vector(Number(10), Number(20));
    e.majorAxis = x_Vector(Number(11), Number(21));
    e.axisRatio = Number(40);
    double start = Number(41);
    double end = Number(42);
    const bool whole = std::fabs(start) < 1e-10 && std::fabs(end - kTwoPi) < 1e-10;
    if (whole) {
        ++g_UnitIdCounter;
        auto* ellipse = new CEllipse();
        e.startParam = 0.0;
        e.endParam = kTwoPi;
        ellipse->geometry.ellipse = e;
        Place(ellipse, StyleOfPairs());
        return;
    }
    if (Mirrored()) {
        const double s = kTwoPi - end;
        end = kTwoPi - start;
        start = s;
        start += start < 0.0 ? kTwoPi : 0.0;
        end += end < 0.0 ? kTwoPi : 0.0;
    }
    Place(NewEllipseArc(e, start, end), StyleOfPairs());
}

// Control points make a B-spline of the file's degree; a spline given by
// fit points only becomes the interpolating cubic through them.
void DxfImport::AddSpline()
{
    x_VectorArray control, fit;
    for (std::size_t i = 0; i + 1 < m_pairs.size(); ++i) {
        const DxfPair& a = m_pairs[i];
        const DxfPair& b = m_pairs[i + 1];
        if ((a.code == 10 && b.code == 20) || (a.code == 11 && b.code == 21))
            (a.code == 10 ? control : fit).Add(x_Vector(DxfDouble(a.value), DxfDouble(b.value)));
    }
    const bool byFit = control.GetSize() < 2;
    x_VectorArray& nodes = byFit ? fit : control;
    if (nodes.GetSize() < 2)
        return;
    ++g_UnitIdCounter;
    auto* spline = new CSplines();
    spline->geometry.spline.kind = byFit ? 0 : 2;
    spline->geometry.spline.degree = Integer(71, 3);
    spline->nodes.Copy(nodes);
    spline->keyPoints.Copy(nodes);
    spline->flatValid = 0;
    spline->gripsValid = 0;
    Place(spline, StyleOfPairs());
}

// MTEXT carries long texts in code 3 pieces before its code 1 rest; the
// whole is held to kLongestText, so that pieces cost no more than one long
// value would.
void DxfImport::AddText(bool multiLine)
{
    if (!Has(1) || !Has(10) || !Has(20))
        return;
    std::string bytes;
    for (const DxfPair& pair : m_pairs) {
        if (pair.code == 3 && multiLine && bytes.size() < kLongestText)
            bytes.append(pair.value);
    }
    bytes.append(Text(1));
    bytes.resize(CutDxfValue(bytes, kLongestText).size());
    double x = Number(10);
    if (!multiLine && Mirrored())
        x = -x;
    ++g_UnitIdCounter;
    auto* text = new CText();
    TextRecord& t = text->geometry.text;
    t.position = x_Vector(x, Number(20));
    t.text = DecodeDxfText(bytes);
    const double height = Number(40, 15.0);
    t.fontSize = t.boxSize = std::isfinite(height) && std::fabs(height) < 1e6 ? static_cast<int>(height) : 15;
    text->textStyle = multiLine ? 2 : 0;
    Place(text, TextStyleOfPairs());
}
