#include "geometry/CDimDASH.h"

#include <cmath>

#include "geometry/CUnitDocument.h"
#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "geometry/dimension_drawing.h"
#include "geometry/pick_and_drag.h"
#include "geometry/plane_geometry.h"
#include "geometry/raster.h"
#include "geometry/screen_marks.h"
#include "geometry/unit_services.h"
#include "geometry/view_transform.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CDC.h"

IMPLEMENT_SERIAL(CDimDASH, CUnit, 1)

namespace {

constexpr double kDegrees = 57.29577951308232;
constexpr double kCoincident = 0.001;

std::uint8_t ReadFlag(CArchive& ar)
{
    std::uint8_t b = 0;
    ar >> b;
    return b;
}

bool Coincide(const x_Vector& a, const x_Vector& b)
{
    return std::fabs(a.x - b.x) < kCoincident && std::fabs(a.y - b.y) < kCoincident;
}

} // namespace

CDimDASH::CDimDASH() : CUnit(UnitFamily::line)
{
    CUnit::ResetState();
    role = kRoleAnnotation;
    auxKind = 0;
    unitId = g_UnitIdCounter;
    lineStyle = g_CurrentLineStyle;
    colour = g_AnnotationColor;
    dashDot = g_CurrentDashDot;
}

CDimDASH::~CDimDASH()
{
    CUnit::FreeCaches();
}

CDimDASH* CDimDASH::Make(const x_Vector& a, const x_Vector& b, std::uint8_t kind)
{
    ++g_UnitIdCounter;
    auto* line = new CDimDASH();
    line->auxKind = kind;
    line->workGeometry.line = MakeLineRecord(a.x, a.y, b.x, b.y);
    line->geometry.line = line->workGeometry.line;
    line->CommitTransform();
    return line;
}

// The line's tail (p1, p2, used, refActive, refPoint, auxKind), then
// auxValue: 59 bytes.
void CDimDASH::Serialize(CArchive& ar)
{
    CUnit::Serialize(ar);
    x_LineData& g = geometry.line;
    if (ar.IsStoring()) {
        ar << g.p1 << g.p2 << std::uint8_t(g.used ? 1 : 0) << std::uint8_t(refActive ? 1 : 0);
        ar << refPoint << auxKind << auxValue;
        return;
    }
    ar >> g.p1 >> g.p2;
    g.used = ReadFlag(ar) != 0 ? 1 : 0;
    refActive = ReadFlag(ar) != 0 ? 1 : 0;
    ar >> refPoint;
    auxKind = ReadFlag(ar);
    ar >> auxValue;
    gripsValid = 0;
}

// Every commit sets the line type again from the kind; kind 0 takes the
// type current at that moment.
void CDimDASH::ApplyLineType()
{
    switch (auxKind) {
    case 0:
        lineStyle = g_CurrentLineStyle;
        dashDot = g_CurrentDashDot;
        break;
    case 1:
        lineStyle = 0;
        dashDot = 0;
        break;
    case 2:
        lineStyle = 2;
        dashDot = 0;
        break;
    case 4:
        lineStyle = 1;
        dashDot = 0;
        break;
    default:
        lineStyle = 1;
        dashDot = 1;
        break;
    }
}

void CDimDASH::CommitTransform()
{
    geometry.line.p1 = workGeometry.line.p1;
    geometry.line.p2 = workGeometry.line.p2;
    gripsValid = 0;
    complete = 1;
    ApplyLineType();
}

void CDimDASH::Draw(CDC* dc, int mode, std::uint8_t* raster)
{
    g_DashPhase = 0;
    if (lineStyle < 0 || lineStyle > 2)
        lineStyle = 0;
    COLORREF c = (selected || picked) ? g_SelectedColor : colour;
    if (g_PropertyPanelShown)
        c = colour;
    const int style = lineStyle;
    DimPenScope pen(dc, style, c, R2_COPYPEN);
    const x_LineData& g = geometry.line;
    x_LineData& w = workGeometry.line;
    if (!Coincide(g.p1, g.p2)) {
        if (mode == 0 && dc != nullptr) {
            if (auxKind == 0 && style == 2) {
                DrawDashedLine(c, dc, dashDot ? 0 : 1, w.p1, w.p2);
            } else if (auxKind == 4) {
                DrawDashedLine(c, dc, 1, w.p1, w.p2);
            } else {
                const POINT a = WorldToScreen(g.p1), b = WorldToScreen(g.p2);
                dc->MoveTo(a.x, a.y);
                dc->LineTo(b.x, b.y);
                g_PenPosValid = 0;
            }
        } else if (mode == 1) {
            const POINT a = WorldToScreen(g.p1), b = WorldToScreen(g.p2);
            if (g_cmdStep != 4)
                w = g;
            g_RasterDrawColor = c;
            g_RasterDrawStyle = static_cast<std::uint8_t>(style == 1 && dashDot ? 3 : style);
            DrawLineCurrentStyle(raster, a.x, a.y, b.x, b.y);
        }
    }
    if (!gripsValid) {
        w.p1 = g.p1;
        w.p2 = g.p2;
        gripsValid = 1;
        UpdateGripPoints();
        ComputeExtents();
    }
}

void CDimDASH::DrawRubber(CDC* dc, x_Vector)
{
    const x_LineData& w = workGeometry.line;
    if (dc == nullptr || w.p1.IsEqual(w.p2))
        return;
    DimPenScope pen(dc, g_RubberLineStyle, g_ActiveColor, R2_NOTXORPEN);
    DimLineSink{dc, nullptr, false}(w.p1, w.p2);
}

void CDimDASH::ComputeExtents()
{
    extentMin = x_Vector::MinCorner(geometry.line.p1, geometry.line.p2);
    extentMax = x_Vector::MaxCorner(geometry.line.p1, geometry.line.p2);
}

// A centre line is hit by world distances, the others by rounded pixels.
bool CDimDASH::HitTest(x_Vector p, std::uint8_t mode)
{
    const x_Vector& a = geometry.line.p1;
    const x_Vector& b = geometry.line.p2;
    if (mode != 0)
        return PointOnSegment(a, b, p);
    bool hit = false;
    if (auxKind == 3) {
        using V = x_Vector;
        hit = (V::Distance(p, a) + V::Distance(p, b) - V::Distance(b, a)) * g_ViewScale < 0.65;
    } else {
        const POINT s = WorldToScreen(p), pa = WorldToScreen(a), pb = WorldToScreen(b);
        hit = DistanceInt(s.x, s.y, pb.x, pb.y) + DistanceInt(s.x, s.y, pa.x, pa.y)
                  - DistanceInt(pa.x, pa.y, pb.x, pb.y)
              < 0.65;
    }
    if (hit)
        hitSegment = 0;
    return hit;
}

int CDimDASH::HitTestGrip(x_Vector point)
{
    const int k = FindGripNear(keyPoints, point, edit->gripHit);
    if (k != 0)
        return k;
    if (refActive && pieceOf != 0 && GripSquareHit(point, refPoint)) {
        edit->gripHit = refPoint;
        return -1;
    }
    return 0;
}

void CDimDASH::DrawGrips(CDC* dc)
{
    DrawGripSquares(*this, dc);
}

void CDimDASH::UpdateGripPoints()
{
    const x_LineData& g = geometry.line;
    keyPoints.RemoveAll();
    gripPoints.RemoveAll();
    for (const x_Vector& p : {g.p1, g.p2, (g.p1 + g.p2) / 2.0}) {
        keyPoints.Add(p);
        gripPoints.Add(p);
    }
}

x_Vector CDimDASH::NearestEnd(x_Vector& out, const x_Vector& point, double* distance)
{
    const double d1 = x_Vector::Distance(point, geometry.line.p1);
    const double d2 = x_Vector::Distance(point, geometry.line.p2);
    out = d2 < d1 ? geometry.line.p2 : geometry.line.p1;
    if (distance != nullptr)
        *distance = d2 < d1 ? d2 : d1;
    return out;
}

double CDimDASH::DistanceTo(x_Vector& p, int, int, double)
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
    const double len = u.Length();
    if (len < 1e-6)
        return 1e10;
    const x_Vector w = p - a, w2 = p - b;
    const double along1 = (w.x * u.x + w.y * u.y) / len;
    const double along2 = -(w2.x * u.x + w2.y * u.y) / len;
    if (along1 > len || along2 > len) {
        double d = 0;
        x_Vector end;
        NearestEnd(end, p, &d);
        return d;
    }
    return std::fabs(w.x * u.y - w.y * u.x) / len;
}

x_Vector CDimDASH::NearestPoint(x_Vector& out, x_Vector& p, std::uint8_t withinSpan, double* distance, int)
{
    const x_Vector& a = geometry.line.p1;
    const x_Vector u = geometry.line.p2 - a;
    const double len2 = u.x * u.x + u.y * u.y;
    if (std::sqrt(len2) < 1e-6) {
        if (distance != nullptr)
            *distance = 1e10;
        out = Unset();
        return out;
    }
    const x_Vector w = p - a;
    const double t = (w.x * u.x + w.y * u.y) / len2;
    if (withinSpan && (t > 1.0 || t < 0.0))
        return NearestEnd(out, p, distance);
    out = a + u * t;
    out.valid = 1;
    if (distance != nullptr)
        *distance = x_Vector::Distance(out, p);
    return out;
}

void CDimDASH::Move(x_Vector offset)
{
    workGeometry.line = geometry.line;
    workGeometry.line.p1 = geometry.line.p1 + offset;
    workGeometry.line.p2 = geometry.line.p2 + offset;
}

bool CDimDASH::Mirror(x_Vector a, x_Vector b)
{
    workGeometry.line = geometry.line;
    workGeometry.line.p1.MirrorAbout(a, b);
    workGeometry.line.p2.MirrorAbout(a, b);
    return true;
}

bool CDimDASH::Rotate(x_Vector centre, double angle)
{
    workGeometry.line = geometry.line;
    workGeometry.line.p1.RotateAbout(centre, angle);
    workGeometry.line.p2.RotateAbout(centre, angle);
    return true;
}

bool CDimDASH::Scale(x_Vector base, x_Vector f)
{
    workGeometry.line = geometry.line;
    workGeometry.line.p1.ScaleAbout(base, f.x, f.y);
    workGeometry.line.p2.ScaleAbout(base, f.x, f.y);
    return true;
}

bool CDimDASH::Copy(int mode, CUnit*& out)
{
    if (mode != 1)
        ++g_UnitIdCounter;
    auto* copy = new CDimDASH();
    if (mode == 1)
        copy->unitId = unitId;
    const x_LineData& source = mode == 2 ? workGeometry.line : geometry.line;
    copy->workGeometry.line = source;
    copy->geometry.line = source;
    CopyCommonAttributes(copy);
    copy->auxKind = auxKind;
    copy->auxValue = auxValue;
    copy->complete = 1;
    out = copy;
    return true;
}

void CDimDASH::OnPick(CDC* dc, CUnitView* view, x_Vector point)
{
    if (view == nullptr)
        return;
    if (selected && g_curCommand == 0 && role == kRoleAnnotation) {
        g_rubberShown = 0;
        const int k = HitTestGrip(point);
        view->m_gripNumber = k;
        if (k >= 1 && k <= 3) {
            if (k == 3)
                ResetEntityStates();
            BeginGripDrag(*this, *view, k == 3 ? 3 : 4);
            g_PenPosValid = 0;
            Draw(dc, 0, nullptr);
            const x_LineData g = geometry.line;
            workGeometry.line = g;
            if (k == 1)
                std::swap(workGeometry.line.p1, workGeometry.line.p2);
        }
    } else if (!selected) {
        SelectOnHit(*this, *view, point);
    }
    if (!view->m_gripDragFlag)
        return;
    view->m_dragUnit = this;
    view->m_pickUnit = this;
}

void CDimDASH::InteractiveStep(CDC* dc, CUnitView* view, x_Vector p)
{
    x_LineData& w = workGeometry.line;
    if (g_cmdStep == 3) {
        const x_Vector d = p - edit->dragStart;
        edit->moveDelta = d;
        w.p1 = geometry.line.p1 + d;
        w.p2 = geometry.line.p2 + d;
        return;
    }
    if (g_cmdStep == 4) {
        StepEndDrag(dc, view, p);
    } else {
        w.p2 = p;
        g_LineEndPoint = p;
        if (auxKind != 3)
            DrawRubberLineAlt(w.p1, w.p2, dc);
    }
    if (auxKind != 3 && view != nullptr) {
        CString readout;
        readout.Format(u"长度：%0.4fmm ，角度：%.4f°", x_Vector::Distance(w.p1, w.p2),
                       x_Vector::AngleTo(w.p1, w.p2) * kDegrees);
        view->SetPromptText(readout);
    }
}

// Near its own line the dragged end slides along the line's direction.
void CDimDASH::StepEndDrag(CDC* dc, CUnitView* view, const x_Vector& cursor)
{
    if (rubberShown)
        DrawRubber(dc, cursor);
    const x_Vector foot = PerpendicularFoot(cursor, geometry.line.p1, geometry.line.p2);
    rubberShown = 1;
    const POINT c = WorldToScreen(cursor), f = WorldToScreen(foot);
    const int half = g_PenWidth + 8;
    const bool nearFoot = c.x >= f.x - half && c.x < f.x + half && c.y >= f.y - half && c.y < f.y + half;
    if (nearFoot) {
        workGeometry.line.p2 = foot;
        if (view != nullptr)
            view->m_cursorPoint = foot;
    } else {
        workGeometry.line.p2 = cursor;
    }
    DrawRubber(dc, cursor);
    DrawRubberLine(edit->dragStart, cursor, 0, dc);
}
