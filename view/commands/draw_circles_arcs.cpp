// Circle and arc family.
//   7 circle: "圆心+半径" centre then a point of the circle; "两点" the two
//     ends of a diameter; "两点+半径" three points of the circle.
//   8 arc: three clicks; what they mean follows the arc mode (three points,
//     two points and a point on the arc, centre + start + angle either way).
//   24 tool point: the start, then the end of the threading point.

#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CutPoint.h"
#include "geometry/GeometryState.h"
#include "view/CZorvaView.h"

void CZorvaView::StepCircle(CDC* dc)
{
    const x_Vector p = m_inputPoint;
    if (g_cmdPointCount == 1) {
        Render(dc);
        ++g_UnitIdCounter;
        auto* circle = new CCir();
        NewFloating(circle);
        m_basePoint = p;
        circle->edit->dragStart = p;
        circle->workGeometry.circle.centre = p;
        m_markInputPoint = 1;
        return;
    }
    m_secondPoint = p;
    if (m_pFloatUnit != nullptr)
        m_pFloatUnit->inputPoints[2] = p;
    m_markInputPoint = 1;
}

void CZorvaView::StepArc(CDC*)
{
    const x_Vector p = m_inputPoint;
    m_pointsA.Add(p);
    if (g_cmdPointCount == 1) {
        ++g_UnitIdCounter;
        NewFloating(new CArc());
        m_basePoint = m_secondPoint = p;
        m_pFloatUnit->inputPoints[0] = m_pFloatUnit->inputPoints[1] = p;
        return;
    }
    // The common tail advances the sub-step: one step per point, as the
    // prompts and the typed rules count them.
    m_basePoint = m_secondPoint = m_thirdPoint = p;
    if (m_pFloatUnit != nullptr)
        m_pFloatUnit->inputPoints[1] = m_pFloatUnit->inputPoints[2] = p;
}

void CZorvaView::StepToolPoint(CDC*)
{
    const x_Vector p = m_inputPoint;
    ++g_UnitIdCounter;
    auto* tool = new CutPoint();
    tool->inputPoints[0] = tool->inputPoints[1] = p;
    NewFloating(tool);
    m_basePoint = m_secondPoint = p;
    m_markInputPoint = 1;
}
