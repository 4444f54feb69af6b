#include "geometry/CPolyLine.h"

#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "geometry/screen_marks.h"
#include "geometry/view_transform.h"
#include "platform/core/CArchive.h"
#include "platform/core/CString.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

IMPLEMENT_SERIAL(CPolyLine, CUnit, 1)

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

} // namespace

CPolyLine::CPolyLine()
{
    CUnit::ResetState();
    keyPoints.RemoveAll();
    unitId = g_UnitIdCounter;
    lineStyle = g_CurrentLineStyle;
    colour = g_CurrentColor;
    dashDot = g_CurrentDashDot;
}

CPolyLine::~CPolyLine()
{
    CUnit::FreeCaches();
}

void CPolyLine::Serialize(CArchive& ar)
{
    CUnit::Serialize(ar);
}

void CPolyLine::InteractiveStep(CDC* dc, CUnitView* view, x_Vector p)
{
    if (g_cmdStep != 2)
        return;
    inputPoints[1] = p;
    if (view != nullptr)
        view->m_lastPoint = p;
    DrawRubberLineAlt(inputPoints[0], inputPoints[1], dc);
    if (view != nullptr) {
        CString text;
        text.Format(u"长度：%0.4fmm ，角度：%.4f°", x_Vector::Distance(inputPoints[0], inputPoints[1]),
                    x_Vector::AngleTo(inputPoints[0], inputPoints[1]) * kDegreesPerRadian);
        view->SetPromptText(text);
    }
}

void CPolyLine::DrawRubber(CDC* dc, x_Vector)
{
    if (dc == nullptr)
        return;
    CPen pen(g_RubberLineStyle, g_PenWidth, g_ActiveColor);
    CPen* old = dc->SelectObject(&pen);
    const COLORREF back = dc->SetBkColor(g_PreviewBackColor);
    const int bk = dc->SetBkMode(g_BackgroundMode);
    const int rop = dc->SetROP2(R2_NOTXORPEN);
    dc->MoveTo(WorldToScreen(inputPoints[0]));
    dc->LineTo(WorldToScreen(inputPoints[1]));
    dc->SetROP2(rop);
    dc->SetBkMode(bk);
    dc->SetBkColor(back);
    dc->SelectObject(old);
}
