#include "geometry/CLine.h"

#include <cmath>
#include <cstddef>

#include "geometry/CUnitDocument.h"
#include "geometry/UnitRecord.h"
#include "geometry/GeometryState.h"
#include "geometry/compound_outlines.h"
#include "geometry/dc_lines.h"
#include "geometry/grip_pairs.h"
#include "geometry/hover_highlight.h"
#include "geometry/plane_geometry.h"
#include "geometry/raster.h"
#include "geometry/screen_marks.h"
#include "geometry/view_transform.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

IMPLEMENT_SERIAL(CLine, CUnit, 1)

namespace {

// The line's tail of its ".wcx" record, after the common UnitRecord: 51
// bytes, read and written whole (a drawing holds lines by the hundred
// thousand, and a call per field was a third of reading one).
#pragma pack(push, 1)
struct LineTail {
    RecordPoint p1;
    RecordPoint p2;
    std::uint8_t used;
    std::uint8_t refActive;
    RecordPoint refPoint;
    std::uint8_t auxKind;
};
#pragma pack(pop)
static_assert(sizeof(LineTail) == 51);
static_assert(offsetof(LineTail, used) == 32);
static_assert(offsetof(LineTail, refPoint) == 34);
static_assert(offsetof(LineTail, auxKind) == 50);

// Pen for the device-context drawing of a line: dashed or solid.
int GdiPenStyle(std::int32_t lineStyle)
{
    return lineStyle == 1 ? PS_DASH : PS_SOLID;
}

} // namespace

int AppendToDrawing(CUnit* unit)
{
    if (g_pDoc == nullptr) {
        delete unit;
        return -1;
    }
    return g_pDoc->AppendUnit(unit);
}

// CUnit(family) has reset the state and taken the current id, style and
// colour; a drawing's lines are made by the hundred thousand when it is
// opened.
CLine::CLine() : CUnit(UnitFamily::line)
{
}

CLine::CLine(double x1, double y1, double x2, double y2) : CLine()
{
    geometry.line = MakeLineRecord(x1, y1, x2, y2);
}

CLine::~CLine()
{
    CUnit::FreeCaches();
}

// Tail after the common record: p1, p2, used, refActive, refPoint, auxKind
// (51 bytes).
void CLine::Serialize(CArchive& ar)
{
    CUnit::Serialize(ar);
    x_LineData& g = geometry.line;
    if (ar.IsStoring()) {
        const LineTail t = {{g.p1.x, g.p1.y}, {g.p2.x, g.p2.y}, std::uint8_t(g.used ? 1 : 0), std::uint8_t(refActive ? 1 : 0),
             {refPoint.x, refPoint.y}, auxKind};
        ar.Write(&t, sizeof t);
        return;
    }
    LineTail copy;
    const LineTail& t = ar.ReadRecord(copy);
    g.p1 = x_Vector(t.p1.x, t.p1.y);
    g.p2 = x_Vector(t.p2.x, t.p2.y);
    g.used = t.used != 0 ? 1 : 0;
    refActive = t.refActive != 0 ? 1 : 0;
    refPoint = x_Vector(t.refPoint.x, t.refPoint.y);
    auxKind = t.auxKind;
}

double CLine::GetStartAngle()
{
    return (geometry.line.p1 - geometry.line.p2).Angle();
}

double CLine::GetEndAngle()
{
    return (geometry.line.p2 - geometry.line.p1).Angle();
}

double CLine::GetLength()
{
    return x_Vector::Distance(geometry.line.p1, geometry.line.p2);
}

x_Vector CLine::GetMidPoint()
{
    return (geometry.line.p1 + geometry.line.p2) / 2.0;
}

void CLine::ComputeExtents()
{
    extentMin = x_Vector::MinCorner(geometry.line.p1, geometry.line.p2);
    extentMax = x_Vector::MaxCorner(geometry.line.p1, geometry.line.p2);
}

bool CLine::HitTest(x_Vector p, std::uint8_t mode)
{
    const x_Vector& a = geometry.line.p1;
    const x_Vector& b = geometry.line.p2;
    if (mode != 0)
        return PointOnSegment(a, b, p);
    if ((std::fabs(p.x - a.x) < 0.001 && std::fabs(p.y - a.y) < 0.001) || p.IsEqual(b))
        return true;
    // In pixels: grows with the distance from the segment; 0.65 is the
    // whole tolerance.
    using V = x_Vector;
    return (V::Distance(p, a) + V::Distance(p, b) - V::Distance(a, b)) * g_ViewScale <= 0.65;
}

int CLine::HitTestGrip(x_Vector point)
{
    EnsureGripPoints();
    for (int i = 0; i < keyPoints.GetSize(); ++i) {
        if (GripSquareHit(point, keyPoints[i])) {
            edit->gripHit = keyPoints[i];
            return i + 1;
        }
    }
    if (refActive && pieceOf != 0 && GripSquareHit(point, refPoint)) {
        edit->gripHit = refPoint;
        return -1;
    }
    return 0;
}

x_Vector CLine::NearestEnd(x_Vector& out, const x_Vector& point, double* distance)
{
    const double d1 = x_Vector::Distance(point, geometry.line.p1);
    const double d2 = x_Vector::Distance(point, geometry.line.p2);
    out = d2 < d1 ? geometry.line.p2 : geometry.line.p1;
    if (distance != nullptr)
        *distance = d2 < d1 ? d2 : d1;
    return out;
}

double CLine::DistanceTo(x_Vector& p, int, int, double)
{
    const x_Vector& a = geometry.line.p1;
    const x_Vector& b = geometry.line.p2;
    const double d1 = x_Vector::Distance(p, a);
    if (d1 < 0.0001)
        return d1;
    const double d2 = x_Vector::Distance(p, b);
    if (d2 < 0.0001)
        return d2;
    const x_Vector u = b - a;
    const double L = u.Length();
    if (L < 1e-6)
        return 1e10;
    const x_Vector w = p - a, w2 = p - b;
    const double along1 = (w.x * u.x + w.y * u.y) / L;
    const double along2 = -(w2.x * u.x + w2.y * u.y) / L;
    if (along1 > L || along2 > L) {
        double d = 0;
        x_Vector end;
        NearestEnd(end, p, &d);
        return d;
    }
    return std::fabs(w.x * u.y - w.y * u.x) / L;
}

x_Vector CLine::NearestPoint(x_Vector& out, x_Vector& p, std::uint8_t withinSpan, double* distance,
                             int)
{
    const x_Vector& a = geometry.line.p1;
    const x_Vector& b = geometry.line.p2;
    const x_Vector u = b - a;
    const double L2 = u.x * u.x + u.y * u.y;
    if (std::sqrt(L2) < 1e-6) {
        if (distance != nullptr)
            *distance = 1e10;
        out = Unset();
        return out;
    }
    const x_Vector w = p - a;
    const double t = (w.x * u.x + w.y * u.y) / L2;
    const x_Vector foot = a + u * t;
    const double L = std::sqrt(L2);
    if (withinSpan && (t * L > L || (1.0 - t) * L > L))
        return NearestEnd(out, p, distance);
    out = foot;
    out.valid = 1;
    if (distance != nullptr)
        *distance = x_Vector::Distance(foot, p);
    return out;
}

void CLine::Move(x_Vector offset)
{
    edit->moveDelta = offset;
    workGeometry.line = geometry.line;
    workGeometry.line.p1 = geometry.line.p1 + offset;
    workGeometry.line.p2 = geometry.line.p2 + offset;
}

bool CLine::Mirror(x_Vector a, x_Vector b)
{
    workGeometry.line = geometry.line;
    workGeometry.line.p1.MirrorAbout(a, b);
    workGeometry.line.p2.MirrorAbout(a, b);
    return true;
}

bool CLine::Rotate(x_Vector centre, double angle)
{
    workGeometry.line = geometry.line;
    workGeometry.line.p1.RotateAbout(centre, angle);
    workGeometry.line.p2.RotateAbout(centre, angle);
    return true;
}

bool CLine::Scale(x_Vector base, x_Vector f)
{
    if (gearKind)
        return false;
    workGeometry.line = geometry.line;
    workGeometry.line.p1.ScaleAbout(base, f.x, f.y);
    workGeometry.line.p2.ScaleAbout(base, f.x, f.y);
    return true;
}

bool CLine::Copy(int mode, CUnit*& out)
{
    if (mode != 1)
        ++g_UnitIdCounter;
    auto* copy = new CLine();
    if (mode == 1)
        copy->unitId = unitId;
    const x_LineData& source = mode == 2 ? workGeometry.line : geometry.line;
    copy->geometry.line = source;
    copy->workGeometry.line = source;
    CopyCommonAttributes(copy);
    copy->complete = 1;
    out = copy;
    return true;
}

void CLine::CommitTransform()
{
    geometry.line = workGeometry.line;
    if (IsCompoundPiece() && g_cmdStep != 5 && g_pDoc != nullptr) {
        for (CUnit* u : g_pDoc->m_unitList) {
            if (u == nullptr || u == this || u->deleted || u->group != group || u->GetType() != 1)
                continue;
            u->geometry.line = u->workGeometry.line;
            u->gripsValid = 0;
        }
    }
    gripsValid = 0;
}

void CLine::UpdateGripPoints()
{
    FillGripArrays();
    UpdateReferencePoint();
}

void CLine::BuildPendingGrips()
{
    FillGripArrays();
}

void CLine::FillGripArrays()
{
    const x_LineData& g = geometry.line;
    const bool piece = group != 0 && pieceOf != 0;
    keyPoints.RemoveAll();
    gripPoints.RemoveAll();
    keyPoints.Reserve(3);
    gripPoints.Reserve(piece ? 2 : 3);
    keyPoints.Add(g.p1);
    keyPoints.Add(g.p2);
    keyPoints.Add(GetMidPoint());
    gripPoints.Add(g.p1);
    gripPoints.Add(g.p2);
    if (!piece)
        gripPoints.Add(GetMidPoint());
}

// A closed compound shape's centroid is a grip of each of its pieces.
void CLine::UpdateReferencePoint()
{
    if (group == 0 || pieceOf == 0)
        return;
    refActive = 0;
    if (g_pDoc == nullptr)
        return;
    const GroupReference reference = GroupReferenceOf(g_pDoc->m_unitList, group);
    if (reference.closed) {
        refActive = 1;
        refPoint = reference.centroid;
    }
}

void CLine::Draw(CDC* dc, int mode, std::uint8_t* raster)
{
    g_DashPhase = 0;
    const UnitDrawStyle style = ChooseDrawStyle(DrawRule::line);
    if (mode == 0) {
        if (dc != nullptr) {
            CPen pen(GdiPenStyle(style.lineStyle), g_PenWidth, style.colour);
            CPen* old = dc->SelectObject(&pen);
            const int rop = dc->SetROP2(R2_COPYPEN);
            dc->SetBkMode(g_BackgroundMode);
            const POINT a = WorldToScreen(workGeometry.line.p1);
            const POINT b = WorldToScreen(workGeometry.line.p2);
            LineToCached(dc, a.x, a.y, b.x, b.y);
            dc->SetROP2(rop);
            dc->SelectObject(old);
        }
        geometry.line = workGeometry.line;
    } else {
        g_RasterDrawColor = style.colour;
        g_RasterDrawStyle = style.rasterPattern;
        POINT a, b;
        WorldToPixels(geometry.line.p1, geometry.line.p2, a, b);
        DrawLineCurrentStyle(raster, a.x, a.y, b.x, b.y);
        if (g_cmdStep != 4)
            AssignIfChanged(workGeometry.line, geometry.line);
    }
    if (!gripsValid) {
        UpdateReferencePoint();
        DeferGripPoints();
    }
}

void CLine::DrawHighlight(CDC* dc, int show)
{
    if (dc == nullptr || !HoverHighlightDraws(*this, show, picked))
        return;
    CPen pen(lineStyle, 3, RGB(255, 255, 255) - colour);
    CPen* old = dc->SelectObject(&pen);
    const int rop = dc->SetROP2(R2_NOTXORPEN);
    dc->SetBkMode(g_BackgroundMode);
    const POINT a = WorldToScreen(workGeometry.line.p1);
    const POINT b = WorldToScreen(workGeometry.line.p2);
    dc->MoveTo(a.x, a.y);
    dc->LineTo(b.x, b.y);
    dc->SetROP2(rop);
    dc->SelectObject(old);
}

void CLine::DrawRubber(CDC* dc, x_Vector)
{
    if (dc == nullptr)
        return;
    CPen pen(g_RubberLineStyle, g_PenWidth, g_ActiveColor);
    CPen* old = dc->SelectObject(&pen);
    const int rop = dc->SetROP2(R2_NOTXORPEN);
    dc->SetBkMode(g_BackgroundMode);
    auto line = [&](const x_LineData& l) {
        const POINT a = WorldToScreen(l.p1);
        const POINT b = WorldToScreen(l.p2);
        dc->MoveTo(a.x, a.y);
        dc->LineTo(b.x, b.y);
    };
    if (IsCompoundPiece() && g_cmdStep != 5 && g_pDoc != nullptr) {
        for (CUnit* u : g_pDoc->m_unitList)
            if (u != nullptr && !u->deleted && u->group == group && u->GetType() == 1)
                line(u->workGeometry.line);
    } else if (!workGeometry.line.p1.IsEqual(workGeometry.line.p2)) {
        line(workGeometry.line);
    }
    dc->SetROP2(rop);
    dc->SelectObject(old);
}

void CLine::DrawGrips(CDC* dc)
{
    if (gearKind)
        return;
    DrawGripSquares(*this, dc);
}
