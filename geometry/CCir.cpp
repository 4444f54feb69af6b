#include "geometry/CCir.h"

#include <algorithm>
#include <cmath>

#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "geometry/UnitRecord.h"
#include "geometry/grip_pairs.h"
#include "geometry/hover_highlight.h"
#include "geometry/raster.h"
#include "geometry/raster_curves.h"
#include "geometry/screen_marks.h"
#include "geometry/text_utils.h"
#include "geometry/view_transform.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

IMPLEMENT_SERIAL(CCir, CUnit, 1)

namespace {

// The circle's tail of its ".wcx" record, after the common UnitRecord: 25
// bytes, read whole. The flag is kept as read.
#pragma pack(push, 1)
struct CircleTail {
    RecordPoint centre;
    double radius;
    std::uint8_t committed;
};
#pragma pack(pop)
static_assert(sizeof(CircleTail) == 25);

constexpr double kLeastRadius = 0.0001 - 1e-12;   // see the arc's offset
// A committed gear circle commits its group; the others it reaches must not
// cascade again (two gear circles of a copied gear did so without end).
thread_local bool t_inGroupCommit = false;

} // namespace

CCir* NewCircle(const x_Vector& centre, double radius)
{
    ++g_UnitIdCounter;
    auto* c = new CCir();
    c->geometry.circle.centre = centre;
    c->geometry.circle.radius = radius;
    c->workGeometry.circle = c->geometry.circle;
    c->complete = 1;
    return c;
}

// CUnit(family) has reset the state (brush style 1), taken the current id,
// style and colour and made the default record (counter-clockwise); a
// drawing's circles are made by the ten thousand when it is opened.
CCir::CCir() : CUnit(UnitFamily::circle)
{
}

CCir::~CCir()
{
    CUnit::FreeCaches();
}

// Tail: centre, radius (doubles) and the committed byte as 0 or 1 (25 bytes).
void CCir::Serialize(CArchive& ar)
{
    CUnit::Serialize(ar);
    CircleRecord& g = geometry.circle;
    if (ar.IsStoring()) {
        ar << g.centre.x << g.centre.y << g.radius << std::uint8_t(g.committed ? 1 : 0);
        return;
    }
    CircleTail copy;
    const CircleTail& t = ar.ReadRecord(copy);
    g.centre = x_Vector(t.centre.x, t.centre.y);
    g.radius = t.radius;
    g.committed = t.committed;
}

x_Vector CCir::GetStartPoint()
{
    const CircleRecord& g = geometry.circle;
    return {g.centre.x + g.radius, g.centre.y};
}

x_Vector CCir::GetMidPoint()
{
    const CircleRecord& g = geometry.circle;
    return {g.centre.x + g.radius * std::cos(kPi), g.centre.y + g.radius * std::sin(kPi)};
}

void CCir::StartFromCurrent()
{
    AssignIfChanged(workGeometry.circle.centre, geometry.circle.centre);
    AssignIfChanged(workGeometry.circle.radius, geometry.circle.radius);
}

// Written only when they change (a frame refreshes them for every circle).
void CCir::UpdateBoxCorners()
{
    const CircleRecord& w = workGeometry.circle;
    const x_Vector low{w.centre.x - w.radius, w.centre.y - w.radius};
    const x_Vector high{w.centre.x + w.radius, w.centre.y + w.radius};
    const UnitInputPoints& now = inputPoints;
    if (!(now[0] == low))
        inputPoints[0] = low;
    if (!(now[1] == high))
        inputPoints[1] = high;
}

double CCir::BuildCircleFromInput(x_Vector p, x_Vector q)
{
    CircleRecord& w = workGeometry.circle;
    if (g_CircleMode == 0) {
        w.centre = p;
        w.radius = x_Vector::Distance(p, q);
    } else if (g_CircleMode == 1) {
        w.centre = (p + q) / 2.0;
        w.radius = x_Vector::Distance(q, w.centre);
    } else {
        return w.radius;
    }
    UpdateBoxCorners();
    return w.radius;
}

bool CCir::SetFromDiameter(const x_Vector& p, const x_Vector& q)
{
    if (!(x_Vector::Distance(p, q) > 1e-10))
        return false;
    workGeometry.circle.centre = p + (q - p) / 2.0;
    workGeometry.circle.radius = x_Vector::Distance(p, q) / 2.0;
    UpdateBoxCorners();
    return true;
}

double CCir::DistanceTo(x_Vector& p, int, int, double)
{
    return std::fabs(x_Vector::Distance(p, geometry.circle.centre) - geometry.circle.radius);
}

x_Vector CCir::NearestPoint(x_Vector& out, x_Vector& p, std::uint8_t, double* distance, int)
{
    const CircleRecord& g = geometry.circle;
    const double a = (p - g.centre).Angle();
    out = {g.centre.x + g.radius * std::cos(a), g.centre.y + g.radius * std::sin(a)};
    if (distance != nullptr)
        *distance = std::fabs(x_Vector::Distance(out, g.centre) - g.radius);
    return out;
}

bool CCir::HitTest(x_Vector p, std::uint8_t mode)
{
    const double d = DistanceTo(p, 0, 0, 0);
    if (mode != 0)
        return d < 0.0001;
    return d * ClampViewScale() < 8.0;
}

void CCir::ComputeExtents()
{
    const CircleRecord& g = geometry.circle;
    extentMin = {g.centre.x - g.radius, g.centre.y - g.radius};
    extentMax = {g.centre.x + g.radius, g.centre.y + g.radius};
}

void CCir::UpdateGripPoints()
{
    const CircleRecord& g = geometry.circle;
    const double r = g.radius;
    gripPoints.RemoveAll();
    gripPoints.Reserve(5);
    gripPoints.Add(g.centre + x_Vector(r, 0));
    gripPoints.Add(g.centre + x_Vector(0, r));
    gripPoints.Add(g.centre - x_Vector(r, 0));
    gripPoints.Add(g.centre - x_Vector(0, r));
    gripPoints.Add(g.centre);
}

int CCir::HitTestGrip(x_Vector point)
{
    return FindGrip(point);
}

void CCir::Move(x_Vector offset)
{
    edit->moveDelta = offset;
    StartFromCurrent();
    workGeometry.circle.centre = geometry.circle.centre + offset;
    UpdateBoxCorners();
}

bool CCir::Rotate(x_Vector pivot, double angle)
{
    StartFromCurrent();
    workGeometry.circle.centre.RotateAbout(pivot, angle);
    UpdateBoxCorners();
    return true;
}

bool CCir::Mirror(x_Vector a, x_Vector b)
{
    StartFromCurrent();
    workGeometry.circle.centre.MirrorAbout(a, b);
    UpdateBoxCorners();
    return true;
}

bool CCir::Scale(x_Vector base, x_Vector f)
{
    if (gearKind)
        return false;
    StartFromCurrent();
    workGeometry.circle.centre.ScaleAbout(base, f.x, f.y);
    workGeometry.circle.radius *= f.x;
    UpdateBoxCorners();
    return true;
}

void CCir::CommitTransform()
{
    geometry.circle.centre = workGeometry.circle.centre;
    geometry.circle.radius = workGeometry.circle.radius;
    geometry.circle.committed = 1;
    complete = 1;
    if (gearKind && group != 0 && g_pDoc != nullptr && !t_inGroupCommit) {
        t_inGroupCommit = true;
        for (CUnit* u : g_pDoc->m_unitList)
            if (u != nullptr && !u->deleted && u->group == group && u->unitId != unitId)
                u->CommitTransform();
        t_inGroupCommit = false;
    }
    gripsValid = 0;
}

bool CCir::Copy(int mode, CUnit*& out)
{
    if (mode != 1)
        ++g_UnitIdCounter;
    auto* copy = new CCir();
    if (mode == 1)
        copy->unitId = unitId;
    copy->workGeometry.circle = mode == 2 ? workGeometry.circle : geometry.circle;
    copy->geometry.circle = copy->workGeometry.circle;
    CopyCommonAttributes(copy);
    copy->complete = 1;
    out = copy;
    return true;
}

// With direction 0, side 2 is the inside.
bool CCir::Offset(CUnit*& out, double d, int side)
{
    const CircleRecord& g = geometry.circle;
    const bool outward = (g.direction == 0 && side != 2) || (g.direction != 0 && side == 2);
    const double r = outward ? g.radius + d : g.radius - d;
    if (!(r >= kLeastRadius))
        return false;
    CCir* c = NewCircle(g.centre, r);
    c->geometry.circle.direction = c->workGeometry.circle.direction = g.direction;
    c->role = kRoleDrawing;
    out = c;
    return true;
}

bool CCir::OffsetForPath(CUnit*& out, double d, int side, int newRole, int owner)
{
    const CircleRecord& g = geometry.circle;
    CCir* c = NewCircle(g.centre, side == 1 ? g.radius + d : g.radius - d);
    c->role = newRole;
    c->ownerNo = owner;
    out = c;
    return true;
}

// The circle from angle 0 counter-clockwise, made on the screen at the
// zoom of the frame (raster_curves.h).
void CCir::DrawRasterChords(std::uint8_t* raster, COLORREF colour, std::uint8_t pattern) const
{
    const CircleRecord& g = geometry.circle;
    if (raster == nullptr || !(g.radius >= 0.0001))
        return;
    DrawArcRGB565(raster, g.centre, g.radius, 0.0, kTwoPi, colour, pattern);
}

void CCir::DrawBoxEllipse(CDC* dc) const
{
    const POINT a = WorldToScreen(inputPoints[0]);
    const POINT b = WorldToScreen(inputPoints[1]);
    dc->Ellipse(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
}

// No fill; pen, raster operation and background mode come back after.
void CCir::DrawBoxEllipseInPen(CDC* dc, int penStyle, int width, COLORREF colour, int rop) const
{
    CPen pen(penStyle, width, colour);
    CPen* oldPen = dc->SelectObject(&pen);
    CGdiObject* oldBrush = dc->SelectStockObject(NULL_BRUSH);
    const int oldRop = dc->SetROP2(rop);
    const int bk = dc->SetBkMode(g_BackgroundMode);
    DrawBoxEllipse(dc);
    dc->SetBkMode(bk);
    dc->SetROP2(oldRop);
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

void CCir::Draw(CDC* dc, int mode, std::uint8_t* raster)
{
    g_DashPhase = 0;
    const UnitDrawStyle style = ChooseDrawStyle(DrawRule::curve);
    // A solid thin circle goes into the raster like an arc: the device's
    // ellipse cost a pen, a brush and a list of row spans per circle.
    const bool thinSolid = style.lineStyle == 0 && g_PenWidth <= 1 && raster != nullptr;
    if (mode == 1 && (style.lineStyle == 2 || thinSolid)) {
        StartFromCurrent();
        UpdateBoxCorners();
        DrawRasterChords(raster, style.colour, style.lineStyle == 2 ? 2 : 0);
    } else if (dc != nullptr) {
        if (mode == 1) {
            StartFromCurrent();
            UpdateBoxCorners();
        }
        const COLORREF back = dc->SetBkColor(g_PreviewBackColor);
        DrawBoxEllipseInPen(dc, style.lineStyle, g_PenWidth, style.colour, R2_COPYPEN);
        dc->SetBkColor(back);
    }
    complete = 1;
    DeferGripPoints();
}

void CCir::DrawRubber(CDC* dc, x_Vector)
{
    if (dc == nullptr)
        return;
    DrawBoxEllipseInPen(dc, g_RubberLineStyle, g_PenWidth, g_ActiveColor, R2_NOTXORPEN);
}

void CCir::DrawHighlight(CDC* dc, int show)
{
    if (dc == nullptr || !HoverHighlightDraws(*this, show, highlighted))
        return;
    const COLORREF back = dc->SetBkColor(g_PreviewBackColor);
    DrawBoxEllipseInPen(dc, lineStyle, 3, RGB(255, 255, 255) - colour, R2_NOTXORPEN);
    dc->SetBkColor(back);
}

void CCir::DrawGrips(CDC* dc)
{
    if (dc == nullptr)
        return;
    EnsureGripPoints();
    if (gripPoints.GetSize() < 5)
        return;
    CPen pen(PS_SOLID, 1, g_EndPointColor);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&g_DrawingBrushes[0]);
    const int rop = dc->SetROP2(R2_NOTXORPEN);
    const int bk = dc->SetBkMode(OPAQUE);
    auto square = [&](const x_Vector& g) {
        const POINT p = WorldToScreen(g);
        dc->Rectangle(p.x - 8, p.y - 8, p.x + 8, p.y + 8);
    };
    if (pieceOf != 5) {
        for (int i = 0; i < 4; ++i) {
            const POINT p = WorldToScreen(gripPoints[i]);
            if (!AddUniquePair(p.x, p.y))
                square(gripPoints[i]);
        }
    }
    dc->SelectObject(&g_DrawingBrushes[1]);
    square(gripPoints[4]);
    dc->SetBkMode(bk);
    dc->SetROP2(rop);
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}
