#include "geometry/CDimension.h"

#include <cmath>

#include "geometry/CUnitDocument.h"
#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "geometry/pick_and_drag.h"
#include "geometry/plane_geometry.h"
#include "geometry/screen_marks.h"
#include "geometry/view_transform.h"
#include "platform/core/CArchive.h"

CDimension::CDimension() : CUnit(UnitFamily::dimension)
{
    CUnit::ResetState();
    role = kRoleAnnotation;
    unitId = g_UnitIdCounter;
    colour = g_AnnotationColor;
    lineStyle = g_CurrentLineStyle;
    dashDot = g_CurrentDashDot;
}

CDimension::~CDimension()
{
    CUnit::FreeCaches();
}

// Tails after the common record, little-endian:
//   aligned  angle, distance, p1, p2, p3, p4, value             88 bytes
//   linear   angle, distance, p1, p2, p3, p4, linearMode, value 92 bytes
//   shared   angle, distance, p1, p2, value                     56 bytes
void CDimension::SerializeTail(CArchive& ar, Tail tail)
{
    DimensionRecord& r = Current();
    const bool four = tail != Tail::shared;
    if (ar.IsStoring()) {
        ar << r.angle << r.distance << r.p1 << r.p2;
        if (four)
            ar << r.p3 << r.p4;
        if (tail == Tail::linear)
            ar << r.linearMode;
        ar << r.value;
        return;
    }
    ar >> r.angle >> r.distance >> r.p1 >> r.p2;
    if (four)
        ar >> r.p3 >> r.p4;
    if (tail == Tail::linear)
        ar >> r.linearMode;
    ar >> r.value;
    gripsValid = 0;
}

int CDimension::HitTestGrip(x_Vector point)
{
    return FindGripNear(keyPoints, point, edit->gripHit);
}

void CDimension::SetSegment(int i, const x_Vector& a, const x_Vector& b)
{
    segments[i].p1 = a;
    segments[i].p2 = b;
}

bool CDimension::HitSegments(const x_Vector& p, std::uint8_t exact, int count)
{
    if (exact) {
        for (int i = 0; i < count; ++i) {
            if (PointOnSegment(segments[i].p1, segments[i].p2, p)) {
                lastSegment = i;
                return true;
            }
        }
        return false;
    }
    using V = x_Vector;
    for (int i = 0; i < count; ++i) {
        lastSegment = i;
        const x_Vector& s = segments[i].p1;
        const x_Vector& e = segments[i].p2;
        // The detour through P in pixels; 0.65 is the whole tolerance.
        if ((V::Distance(p, s) + V::Distance(p, e) - V::Distance(e, s)) * g_ViewScale < 0.65) {
            hitSegment = 0;
            return true;
        }
    }
    return false;
}

x_Vector CDimension::NearestEnd(x_Vector& out, const x_Vector& point, double* distance)
{
    const x_LineData& seg = segments[lastSegment];
    const double ds = x_Vector::Distance(seg.p1, point);
    const double de = x_Vector::Distance(seg.p2, point);
    out = de < ds ? seg.p2 : seg.p1;
    if (distance != nullptr)
        *distance = de < ds ? de : ds;
    return out;
}

//   u = E − S,  a = ((P − S)·u / |u|²)·u,  b = ((P − E)·(S − E) / |u|²)·(S − E)
x_Vector CDimension::NearestPoint(x_Vector& out, x_Vector& p, std::uint8_t withinSpan, double* distance, int)
{
    const x_Vector s = segments[lastSegment].p1;
    const x_Vector e = segments[lastSegment].p2;
    const x_Vector u = e - s;
    const double len = u.Length();
    if (len < 1e-6) {
        out = Unset();
        if (distance != nullptr)
            *distance = 1e10;
        return out;
    }
    const double len2 = len * len;
    const x_Vector w = p - s, w2 = p - e, back = s - e;
    const x_Vector a = u * ((w.x * u.x + w.y * u.y) / len2);
    const x_Vector b = back * ((w2.x * back.x + w2.y * back.y) / len2);
    if (withinSpan && (a.Length() > len || b.Length() > len))
        return NearestEnd(out, p, distance);
    out = s + a;
    out.valid = 1;
    if (distance != nullptr)
        *distance = x_Vector::Distance(out, p);
    return out;
}

void CDimension::DrawGrips(CDC* dc)
{
    DrawGripSquares(*this, dc);
}

void CDimension::UpdateGripPoints()
{
    keyPoints.RemoveAll();
    gripPoints.RemoveAll();
    for (const x_Vector& p : {lineStart, lineEnd}) {
        keyPoints.Add(p);
        gripPoints.Add(p);
    }
}

void CDimension::MoveRecord(const x_Vector& d, int points)
{
    DimensionRecord& w = Working();
    w = Current();
    x_Vector* moved[4] = {&w.p1, &w.p2, &w.p3, &w.p4};
    for (int i = 0; i < points; ++i) {
        *moved[i] = *moved[i] + d;
        moved[i]->valid = 1;
    }
}

bool CDimension::CopyInto(CDimension* copy, int mode, CUnit*& out)
{
    if (mode == 1)
        copy->unitId = unitId;
    copy->Working() = mode == 2 ? Working() : Current();
    copy->Current() = copy->Working();
    CopyCommonAttributes(copy);
    copy->complete = 1;
    out = copy;
    return true;
}

void CDimension::CommitCommon()
{
    Current() = Working();
    complete = 1;
    gripsValid = 0;
}

UnitDrawStyle CDimension::BeginDraw(int mode)
{
    g_DashPhase = 0;
    const UnitDrawStyle style = ChooseDrawStyle(DrawRule::annotation);
    g_RasterDrawColor = style.colour;
    g_RasterDrawStyle = style.rasterPattern > 3 ? 0 : style.rasterPattern;
    if (mode == 1)
        Working() = Current();
    return style;
}

void CDimension::PickDimension(CDC* dc, CUnitView* view, const x_Vector& point, bool exchange)
{
    if (view == nullptr)
        return;
    if (selected && g_curCommand == 0) {
        g_rubberShown = 0;
        const int k = HitTestGrip(point);
        view->m_gripNumber = k;
        if (k >= 1) {
            edit->dragStart = edit->dragPoint = edit->gripHit;
            view->m_gripDragFlag = 1;
            g_cmdStep = 4;
            picked = 1;
            g_pickMark = 1;
            g_PenPosValid = 0;
            Draw(dc, 0, nullptr);
            if (exchange) {
                const DimensionRecord c = Current();
                Working().p1 = c.p2;
                Working().p2 = c.p1;
            } else {
                Working() = Current();
            }
            view->m_dragPixel[0] = view->m_dragPixel[1] = WorldToScreen(Current().p2);
        }
    } else if (!selected) {
        SelectOnHit(*this, *view, point);
    }
    if (!view->m_gripDragFlag)
        return;
    view->m_dragUnit = this;
    rubberShown = 0;
    if (g_pDoc != nullptr) {
        for (CUnit* u : g_pDoc->m_unitList) {
            if (u == nullptr || u->deleted || u->group == group || u->unitId == unitId)
                continue;
            u->selected = u->picked = 0;
        }
    }
    if (view->m_gripNumber == 1 || view->m_gripNumber == 2)
        view->m_pickUnit = this;
}

void CDimension::OnPick(CDC* dc, CUnitView* view, x_Vector point)
{
    PickDimension(dc, view, point, true);
}
