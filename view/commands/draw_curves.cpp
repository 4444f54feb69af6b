// Ellipse, elliptic arc and spline.
//   5 ellipse: the two ends of the major axis, then a point giving the
//     minor axis.
//   6 elliptic arc: as the ellipse, then the start and the end point.
//   11 spline: every click adds a node; the right button or Esc ends it
//     ("闭曲线" closes it).
//   23 wave line: the two ends; the wave height is typed in the command
//      edit (g_WavePeak).
// Coincident axis ends and a minor-axis point on the centre would divide
// by zero in the builders; such clicks are refused with "#输入有误".

#include "geometry/CEllipse.h"
#include "geometry/CEllipseArc.h"
#include "geometry/CSplines.h"
#include "geometry/GeometryState.h"
#include "geometry/screen_marks.h"
#include "geometry/view_transform.h"
#include "view/CZorvaView.h"
#include "view/view_entities.h"

bool CZorvaView::RefuseDegenerateEllipseClick()
{
    auto* ellipse = dynamic_cast<CEllipseCommon*>(m_pFloatUnit);
    if (ellipse == nullptr || g_cmdPointCount < 1 || g_cmdPointCount > 2)
        return false;
    if (ellipse->AcceptsClick(g_cmdPointCount, m_inputPoint))
        return false;
    PrintLine(CString(u"#输入有误"));
    return true;
}

void CZorvaView::StepEllipse(CDC* dc)
{
    const x_Vector p = m_inputPoint;
    m_pointsA.Add(p);
    if (g_cmdPointCount == 1) {
        Render(dc);
        ++g_UnitIdCounter;
        CUnit* unit = g_curCommand == kCmdEllipse ? static_cast<CUnit*>(new CEllipse())
                                                  : static_cast<CUnit*>(new CEllipseArc());
        NewFloating(unit);
        m_basePoint = m_secondPoint = p;
        unit->inputPoints[0] = unit->inputPoints[1] = p;
        return;     // the common tail advances the sub-step
    }
    CUnit* unit = m_pFloatUnit;
    if (unit == nullptr)
        return;
    if (g_cmdPointCount == 2) {
        DrawGripSquareAtCursor(dc);
        unit->inputPoints[1] = p;
        unit->BuildEllipseFromInput(unit->inputPoints[0], unit->inputPoints[1]);
        const x_Vector centre = unit->workGeometry.ellipse.centre;
        m_basePoint = m_secondPoint = unit->inputPoints[0] = centre;
        const POINT px = WorldToScreen(centre);
        m_selectionRect = {px.x, px.y, px.x, px.y};
        MarkInputPoint(dc, centre);
    } else if (g_cmdPointCount == 4 && g_curCommand == kCmdEllipseArc) {
        if (g_rubberShown)
            unit->DrawRubber(dc, p);
        unit->SetStartFromPoint(p);
    }
}

void CZorvaView::StepSpline(CDC* dc)
{
    const x_Vector p = m_inputPoint;
    if (g_cmdPointCount == 1) {
        Render(dc);
        ++g_UnitIdCounter;
        auto* spline = new CSplines();
        spline->nodes.RemoveAll();
        spline->keyPoints.RemoveAll();
        spline->geometry.spline.closed = spline->workGeometry.spline.closed = GetCommandMode(kCmdSpline - 1) == 1 ? 1 : 0;
        NewFloating(spline);
        m_basePoint = m_secondPoint = p;
    }
    m_pointsA.Add(p);
    m_basePoint = m_secondPoint;
    m_secondPoint = p;
    // The key points follow the nodes at once: the repeat test, the rubber
    // band and the close read them, and a spline being drawn is never drawn
    // into the raster, where they would be copied. (Left empty, a repeated
    // click became a node and a closed spline could not be made.)
    if (CUnit* spline = m_pFloatUnit; spline != nullptr && spline->FindNodeAt(p) < 0) {
        spline->nodes.Add(p);
        spline->keyPoints.Copy(spline->nodes);
    }
    // The curve through the nodes so far, until the cursor moves: typed
    // points move no cursor.
    if (g_cmdPointCount >= 2 && m_pFloatUnit != nullptr)
        m_pFloatUnit->InteractiveStep(dc, this, p);
    m_markInputPoint = 1;
}

void CZorvaView::StepWaveLine(CDC*)
{
    if (m_subStep != 0)
        return;
    const x_Vector p = m_inputPoint;
    ++g_UnitIdCounter;
    auto* wave = new CSplines();
    wave->inputPoints[0] = wave->inputPoints[1] = p;
    wave->keyPoints.RemoveAll();
    NewFloating(wave);
    m_markInputPoint = 1;
    ++m_subStep;
    if (g_commandBar != nullptr)
        g_commandBar->SetDlgItemText(kIdCommandEdit, CString());
    ++m_subStep;
    m_basePoint = m_secondPoint = p;
}
