// Creation, the wave line and node drags of the spline.
#include "geometry/CSplines.h"

#include <algorithm>
#include <cmath>

#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "geometry/screen_marks.h"
#include "geometry/unit_services.h"
#include "geometry/view_transform.h"
#include "platform/core/CString.h"

namespace {

constexpr int kWaveLineCommand = 23;
constexpr double kLeastNodeStep = 1.0;      // mm between a node and the cursor
constexpr double kInvoluteEditStep = 0.1;

void ShowNodeDistance(CUnitView* view, double distance)
{
    if (view == nullptr)
        return;
    CString text;
    text.Format(u"曲线节点距离：%.4f mm", distance);
    view->SetPromptText(text);
}

} // namespace

void CSplines::EraseRubber(CDC* dc)
{
    if (g_rubberShown)
        DrawRubber(dc, x_Vector());
}

void CSplines::InteractiveStep(CDC* dc, CUnitView* view, x_Vector p)
{
    if (g_cmdStep == 2 && g_curCommand == kWaveLineCommand)
        StepWaveLine(dc, view, p);
    else if (g_cmdStep == 2)
        StepCreate(dc, view, p);
    else if (g_cmdStep == 4 && pieceOf == 0)
        StepNodeDrag(dc, view, p);
}

// Five key points: A, a peak left of the chord at 1/4, the chord's middle,
// a peak right of it at 3/4, and the cursor.
void CSplines::StepWaveLine(CDC* dc, CUnitView* view, const x_Vector& p)
{
    if (view == nullptr)
        return;
    const x_Vector a = view->m_firstPoint;
    if (p.IsEqual(a))
        return;
    EraseRubber(dc);
    view->m_lastPoint = p;
    const double theta = x_Vector::AngleTo(a, p);
    const double step = std::max(x_Vector::Distance(a, p) / 4.0, 1e-10);
    const double h = g_WavePeak;
    const x_Vector along(std::cos(theta), std::sin(theta));
    const x_Vector left(std::cos(theta + kPi / 2), std::sin(theta + kPi / 2));
    const x_Vector right(std::cos(theta - kPi / 2), std::sin(theta - kPi / 2));
    keyPoints.RemoveAll();
    keyPoints.Add(a);
    keyPoints.Add(a + along * step + left * h);
    keyPoints.Add(a + along * (2 * step));
    keyPoints.Add(a + along * (3 * step) + right * h);
    keyPoints.Add(p);
    ComputeSampleStep();
    RebuildCurve(0);
    DrawRubber(dc, p);
    g_rubberShown = 1;
}

// The cursor joins the curve as a node for the moment of drawing. The
// readout measured from the point just set (always 0) and a close cursor
// removed a node it had not appended: it measures from the last node now
// and removes only what it added.
void CSplines::StepCreate(CDC* dc, CUnitView* view, const x_Vector& p)
{
    const int n = keyPoints.GetSize();
    const x_Vector anchor = n > 0 ? keyPoints[n - 1] : (view != nullptr ? view->m_firstPoint : p);
    if (g_cmdPointCount == 1) {
        if (view != nullptr)
            view->m_lastPoint = p;
        DrawRubberLine(anchor, p, 0, dc);
        ShowNodeDistance(view, x_Vector::Distance(anchor, p));
        return;
    }
    const int kind = workGeometry.spline.kind;
    if (g_cmdPointCount < 2 || (kind != 0 && kind != 2) || n < 2)
        return;
    const bool appended = x_Vector::Distance(p, anchor) >= kLeastNodeStep;
    if (appended) {
        keyPoints.Add(p);
        ComputeSampleStep();
        nodes.Copy(keyPoints);
    }
    EraseRubber(dc);
    RebuildCurve(1);
    g_rubberShown = 1;
    ShowNodeDistance(view, x_Vector::Distance(anchor, p));
    DrawRubberLine(anchor, p, 0, dc);
    DrawRubber(dc, p);
    if (view != nullptr)
        view->m_lastPoint = p;
    if (appended) {
        keyPoints.RemoveAt(keyPoints.GetSize() - 1);
        nodes.RemoveAt(nodes.GetSize() - 1);
    }
}

void CSplines::StepNodeDrag(CDC* dc, CUnitView* view, const x_Vector& p)
{
    if (dragNode >= 0 && dragNode < keyPoints.GetSize())
        keyPoints[dragNode] = p;
    EraseRubber(dc);
    g_rubberShown = 1;
    if (workGeometry.spline.kind == 1) {
        g_SplineStep = kInvoluteEditStep;
        BuildInvoluteCurve();
    } else {
        ComputeSampleStep();
        RebuildCurve(0);
    }
    DrawRubberLine(edit->dragStart, p, 0, dc);
    DrawRubber(dc, p);
    if (view != nullptr) {
        CString text;
        text.Format(u"曲线控制点：%d", keyPoints.GetSize());
        view->SetPromptText(text);
    }
}

void CSplines::OnPick(CDC* dc, CUnitView* view, x_Vector point)
{
    if (view == nullptr)
        return;
    if (!selected) {
        if (HitTest(point, 0)) {
            view->m_pickUnit = this;
            selected = picked = 1;
            view->m_pickedFlag = 1;
            g_pickMark = 1;
        }
    } else if (g_curCommand == 0 && role == kRoleDrawing && gearKind == 0) {
        const int grip = HitTestGrip(point);
        view->m_gripNumber = grip;
        if (grip > 0) {
            ResetEntityStates();
            dragNode = grip - 1;
            view->m_gripDragFlag = 1;
            edit->dragStart = edit->gripHit;
            picked = 1;
            view->m_firstPoint = edit->gripHit;
            view->m_dragPixel[0] = WorldToScreen(edit->gripHit);
            g_cmdStep = 4;
            g_pickMark = 1;
        }
    }
    if (view->m_gripDragFlag) {
        view->m_pickUnit = this;
        DrawGrips(dc);
        if (role == kRoleDrawing)
            DrawPickBox(edit->dragStart, dc);
        Draw(dc, 0, nullptr);
    }
}
