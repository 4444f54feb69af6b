#include "geometry/CRectangle.h"

#include <cmath>

#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "geometry/view_transform.h"
#include "platform/core/CArchive.h"
#include "platform/core/CString.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

IMPLEMENT_SERIAL(CRectangle, CUnit, 1)

CRectangle::CRectangle() : CUnit(UnitFamily::rectangle)
{
    CUnit::ResetState();
    lineStyle = g_CurrentLineStyle;
    colour = g_CurrentColor;
    dashDot = g_CurrentDashDot;
}

void CRectangle::Serialize(CArchive& ar)
{
    CUnit::Serialize(ar);
}

void CRectangle::InteractiveStep(CDC* dc, CUnitView* view, x_Vector p)
{
    if (g_cmdPointCount <= 0)
        return;
    if (g_rubberShown)
        DrawRubber(dc, p);
    inputPoints[1] = p;
    if (view != nullptr)
        view->m_lastPoint = p;
    geometry.rectangle.corner2 = p;
    DrawRubber(dc, p);
    g_rubberShown = 1;
    if (view != nullptr) {
        CString text;
        text.Format(u"长宽：%0.4f , %0.4fmm", std::fabs(inputPoints[0].x - inputPoints[1].x),
                    std::fabs(inputPoints[0].y - inputPoints[1].y));
        view->SetPromptText(text);
    }
}

void CRectangle::DrawRubber(CDC* dc, x_Vector)
{
    if (dc == nullptr)
        return;
    // The outline moves the pen itself; the cached line-to must not trust
    // its remembered position afterwards.
    g_PenPosValid = 0;
    CPen pen(g_RubberLineStyle, g_PenWidth, g_ActiveColor);
    LOGBRUSH lb{};
    lb.lbStyle = static_cast<unsigned>(brushStyle);
    lb.lbColor = g_PreviewBrushColor;
    CBrush brush;
    brush.CreateBrushIndirect(&lb);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&brush);
    const int bk = dc->SetBkMode(g_BackgroundMode);
    const COLORREF back = dc->SetBkColor(g_PreviewBackColor);
    const int rop = dc->SetROP2(R2_NOTXORPEN);
    const POINT a = WorldToScreen(inputPoints[0]);
    const POINT b = WorldToScreen(inputPoints[1]);
    dc->MoveTo(a.x, a.y);
    dc->LineTo(b.x, a.y);
    dc->LineTo(b.x, b.y);
    dc->LineTo(a.x, b.y);
    dc->LineTo(a.x, a.y);
    dc->SetROP2(rop);
    dc->SetBkColor(back);
    dc->SetBkMode(bk);
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

void CRectangle::CommitTransform()
{
    geometry.rectangle.corner1 = inputPoints[0];
    geometry.rectangle.corner2 = inputPoints[1];
    complete = 1;
}
