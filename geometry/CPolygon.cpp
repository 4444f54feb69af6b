#include "geometry/CPolygon.h"

#include <cmath>

#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "geometry/curve_helpers.h"
#include "geometry/screen_marks.h"
#include "geometry/view_transform.h"
#include "platform/core/CArchive.h"
#include "platform/core/CString.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

IMPLEMENT_SERIAL(CPolygon, CUnit, 1)

namespace {

bool SideCountUsable(int sides)
{
    return sides >= 3 && sides <= kMaxPolygonSides;
}

} // namespace

CPolygon::CPolygon() : CUnit(UnitFamily::polygon)
{
    CPolygon::ResetState();
    unitId = g_UnitIdCounter;
}

CPolygon::~CPolygon()
{
    CUnit::FreeCaches();
}

// The builders keep nothing in files but the common record.
void CPolygon::Serialize(CArchive& ar)
{
    CUnit::Serialize(ar);
}

void CPolygon::ResetState()
{
    CUnit::ResetState();
    keyPoints.RemoveAll();
    geometry.polygon.sides = 6;
    lineStyle = g_CurrentLineStyle;
    colour = g_CurrentColor;
    dashDot = g_CurrentDashDot;
}

bool CPolygon::BuildRegularPolygon(x_Vector centre, x_Vector vertex, int sides)
{
    keyPoints.RemoveAll();
    if (!centre.valid || !vertex.valid || !SideCountUsable(sides))
        return false;
    x_Vector p = vertex;
    keyPoints.Add(p);
    for (int i = 1; i < sides; ++i)
        keyPoints.Add(p.RotateAbout(centre, kTwoPi / sides));
    keyPoints.Add(vertex);
    refPoint = centre;
    return true;
}

bool CPolygon::BuildPolygonFromPoints(x_Vector p0, x_Vector p1, int sides)
{
    keyPoints.RemoveAll();
    if (!p0.valid || !p1.valid || !SideCountUsable(sides))
        return false;
    const double s = x_Vector::Distance(p0, p1);
    const double theta = x_Vector::AngleTo(p0, p1);
    x_Vector p = p0;
    keyPoints.Add(p);
    for (int k = 0; k < sides; ++k) {
        const double a = theta + kTwoPi * k / sides;
        p = p + x_Vector(s * std::cos(a), s * std::sin(a));
        keyPoints.Add(p);
    }
    refPoint = Circumcentre(keyPoints[1], keyPoints[0], keyPoints[2]);
    return true;
}

void CPolygon::InteractiveStep(CDC* dc, CUnitView* view, x_Vector p)
{
    if (g_cmdStep != 2)
        return;
    if (g_rubberShown)
        DrawRubber(dc, p);
    inputPoints[1] = p;
    if (view != nullptr)
        view->m_lastPoint = p;
    g_rubberShown = 1;
    if (g_PolygonSides < 3)
        g_PolygonSides = 3;
    if (g_PolygonSides > kMaxPolygonSides) {
        keyPoints.RemoveAll();
        g_rubberShown = 0;
        if (view != nullptr)
            view->SetPromptText(CString(u"#输入有误"));
        return;
    }
    geometry.polygon.sides = g_PolygonSides;
    const bool built = g_PolygonByEdge == 1
                           ? BuildPolygonFromPoints(inputPoints[0], inputPoints[1], g_PolygonSides)
                           : BuildRegularPolygon(inputPoints[0], inputPoints[1], g_PolygonSides);
    if (built) {
        DrawRubberLine(inputPoints[0], inputPoints[1], 0, dc);
        DrawRubber(dc, p);
    }
    const double d = x_Vector::Distance(inputPoints[0], inputPoints[1]);
    const double edge = keyPoints.GetSize() >= 2 ? x_Vector::Distance(keyPoints[0], keyPoints[1]) : 0.0;
    if (view != nullptr) {
        CString text;
        text.Format(u"距离：%.4f , 中心半径：%0.4fmm ，边长：%.4fmm", d, d, edge);
        view->SetPromptText(text);
    }
}

void CPolygon::DrawRubber(CDC* dc, x_Vector)
{
    if (dc == nullptr || keyPoints.GetSize() == 0)
        return;
    CPen pen(g_RubberLineStyle, g_PenWidth, g_ActiveColor);
    CPen* old = dc->SelectObject(&pen);
    const int bk = dc->SetBkMode(g_BackgroundMode);
    const int rop = dc->SetROP2(R2_NOTXORPEN);
    dc->MoveTo(WorldToScreen(keyPoints[0]));
    for (int i = 1; i < keyPoints.GetSize(); ++i)
        dc->LineTo(WorldToScreen(keyPoints[i]));
    dc->SetROP2(rop);
    dc->SetBkMode(bk);
    dc->SelectObject(old);
}
