#include "geometry/CutPoint.h"

#include <cmath>

#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "geometry/view_transform.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

IMPLEMENT_SERIAL(CutPoint, CUnit, 1)

namespace {

bool InPixelBox(const x_Vector& cursor, const x_Vector& point)
{
    const POINT c = WorldToScreen(cursor);
    const POINT p = WorldToScreen(point);
    return p.x >= c.x - 8 && p.x < c.x + 8 && p.y >= c.y - 8 && p.y < c.y + 8;
}

} // namespace

CutPoint::CutPoint()
{
    ResetState();
    role = kRoleCutPoint;
    pieceOf = 0;
    unitId = g_UnitIdCounter;
    lineStyle = g_CurrentLineStyle;
    colour = g_CurrentColor;
    dashDot = g_CurrentDashDot;
}

int CutPoint::HitTestGrip(x_Vector point)
{
    for (int i = 0; i < 2; ++i) {
        if (InPixelBox(point, inputPoints[i])) {
            edit->gripHit = inputPoints[i];
            return i + 1;
        }
    }
    return 0;
}

bool CutPoint::HitTest(x_Vector point, std::uint8_t mode)
{
    if (mode == 0)
        return InPixelBox(point, StartPoint()) || InPixelBox(point, EndPoint());
    return x_Vector::Distance(point, StartPoint()) < 0.0001
        || x_Vector::Distance(point, EndPoint()) < 0.0001;
}

void CutPoint::OnPick(CDC*, CUnitView* view, x_Vector point)
{
    if (selected || HitTestGrip(point) == 0)
        return;
    if (view != nullptr) {
        view->m_pickUnit = this;
        view->m_pickedFlag = 1;
    }
    selected = picked = 1;
    g_pickMark = 1;
}

void CutPoint::Draw(CDC* dc, int mode, std::uint8_t*)
{
    g_DashPhase = 0;
    if (mode == 0 || mode == 1) {
        DrawCutPointMarker(this, StartPoint(), 0, dc);
        if (std::fabs(EndPoint().x - StartPoint().x) >= 0.001
            || std::fabs(EndPoint().y - StartPoint().y) >= 0.001)
            DrawCutPointMarker(this, EndPoint(), 1, dc);
    } else if (mode == 2) {
        DrawCutPointMarker(this, StartPoint(), 0, dc);
        gripsValid = 0;
    } else if (mode == 3) {
        DrawCutPointMarker(this, EndPoint(), 1, dc);
        gripsValid = 0;
    }
    if (!gripsValid) {
        gripsValid = 1;
        ComputeExtents();
    }
}

void CutPoint::ComputeExtents()
{
    const x_Vector lo = x_Vector::MinCorner(StartPoint(), EndPoint());
    const x_Vector hi = x_Vector::MaxCorner(StartPoint(), EndPoint());
    extentMin.x = lo.x;
    extentMin.y = lo.y;
    extentMax.x = hi.x;
    extentMax.y = hi.y;
}

void CutPoint::CommitTransform()
{
    complete = 1;
    gripsValid = 0;
}

bool CutPoint::SnapPoints(x_Vector&, x_Vector& cursor, int, int)
{
    const int grip = HitTestGrip(cursor);
    if (grip == 0)
        return false;
    snapKind = 3;
    return true;
}

bool CutPoint::Copy(int mode, CUnit*& out)
{
    if (mode == 0 || mode == 2)
        ++g_UnitIdCounter;
    auto* copy = new CutPoint();
    if (mode != 0 && mode != 2)
        copy->unitId = unitId;
    CopyCommonAttributes(copy);
    copy->StartPoint() = StartPoint();
    copy->EndPoint() = EndPoint();
    copy->complete = 1;
    out = copy;
    return true;
}

void DrawCutPointMarker(CUnit* unit, const x_Vector& point, int endFlag, CDC* dc)
{
    if (dc == nullptr || unit == nullptr)
        return;
    COLORREF c = endFlag == 0 ? RGB(255, 0, 0) : RGB(0, 128, 255);
    if (unit->selected)
        c = RGB(0, 255, 0);
    dc->SetBkMode(TRANSPARENT);
    dc->SetROP2(R2_COPYPEN);
    CPen pen(PS_SOLID, 1, c);
    CBrush brush(c);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&brush);
    const POINT p = WorldToScreen(point);
    dc->Rectangle(p.x - 5, p.y - 5, p.x + 5, p.y + 5);
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
}
