// Line family.
//   1 line, modes "两点直线" and "角度线": each click after the first places
//     one segment and starts the next; the right button or Esc ends it and
//     the segment in the rubber band is discarded.
//   1 line, modes "单边平行线" / "双边平行线": click a line, then click the
//     side and distance; one or two copies.
//   9 polyline: as the line, its pieces share one new group (pieceOf 2); in
//     arc mode the second click is the arc's end, the third a point on it.

#include <cmath>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CArc.h"
#include "geometry/CLine.h"
#include "geometry/GeometryState.h"
#include "geometry/screen_marks.h"
#include "geometry/unit_services.h"
#include "view/CZorvaView.h"
#include "view/view_entities.h"

namespace {

CLine* NewLineFrom(const x_Vector& p)
{
    ++g_UnitIdCounter;
    auto* line = new CLine(p.x, p.y, p.x, p.y);
    line->workGeometry.line = line->geometry.line;
    return line;
}

double Wrap(double a)
{
    a = std::fmod(a, kTwoPi);
    return a < 0 ? a + kTwoPi : a;
}

// Angular difference folded into [0, π].
double Fold(double d)
{
    d = std::fabs(Wrap(d));
    return d > kPi ? kTwoPi - d : d;
}

} // namespace

void CZorvaView::StepLineOrPolyline(CDC* dc)
{
    Render(dc);
    ResetEntityStates();
    const x_Vector p = m_inputPoint;
    if (g_cmdPointCount == 1) {
        m_groupBase = GetMaxGroupNumber();
        NewFloating(NewLineFrom(p));
        m_markInputPoint = 1;
        CommonStepTail(dc);
        return;
    }
    PlaceSegment(dc);
    NewFloating(NewLineFrom(p));
    // Ortho and tracking align with the start of the segment being drawn.
    m_basePoint = m_secondPoint = p;
    CommonStepTail(dc);
}

// Places the floating piece (line or arc) as one undo step.
void CZorvaView::PlaceSegment(CDC* dc)
{
    CUnit* piece = m_pFloatUnit;
    CZorvaDoc* doc = GetZorvaDoc();
    if (piece == nullptr || doc == nullptr)
        return;
    EraseRubberLine(dc);
    if (piece->GetType() == 1)
        piece->workGeometry.line.p2 = m_inputPoint;
    piece->CommitTransform();
    piece->complete = 1;
    piece->Draw(dc, 0, nullptr);
    const bool polyline = g_curCommand == kCmdPolyline;
    if (polyline) {
        piece->group = m_groupBase + 1;
        piece->pieceOf = 2;
    }
    doc->AppendUnit(piece);
    if (polyline) {
        for (CUnit* u : doc->m_unitList)
            if (!u->deleted && u->group == piece->group)
                u->UpdateGripPoints();
    }
    // The step's tail counts the point; counting the segment here too made
    // two sub-steps per point, so "闭合(C)" was offered after two points.
    PurgeDegenerateEntities(0);
}

void CZorvaView::StepPolylineArc(CDC* dc)
{
    const x_Vector p = m_inputPoint;
    if (m_pFloatUnit == nullptr || m_pFloatUnit->GetType() != 8) {
        // Arc mode begins where the last piece ended, or at this click.
        const bool fromLine = m_pFloatUnit != nullptr;
        const x_Vector start = fromLine ? m_pFloatUnit->workGeometry.line.p1 : p;
        if (!fromLine)
            m_groupBase = GetMaxGroupNumber();
        ++g_UnitIdCounter;
        NewFloating(new CArc());
        m_basePoint = m_secondPoint = start;
        m_pFloatUnit->inputPoints[0] = m_pFloatUnit->inputPoints[1] = start;
        m_firstPoint = start;
        g_cmdPointCount = fromLine ? 2 : 1;
        if (!fromLine) {
            CommonStepTail(dc);
            return;
        }
    }
    if (g_cmdPointCount == 2) {
        m_basePoint = m_secondPoint = m_thirdPoint = p;
        m_pFloatUnit->inputPoints[1] = m_pFloatUnit->inputPoints[2] = p;
        CommonStepTail(dc);
        return;
    }
    PlaceSegment(dc);
    ++g_UnitIdCounter;
    NewFloating(new CArc());
    g_cmdPointCount = 1;
    m_subStep = 1;
    CommonStepTail(dc);
}

void CZorvaView::StepParallelLine(CDC*)
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    const x_Vector p = m_inputPoint;
    if (m_subStep == 0) {
        CUnit* hit = nullptr;
        for (CUnit* u : doc->m_unitList) {
            if (!u->deleted && u->role == kRoleDrawing && u->HitTest(p, 0)) {
                hit = u;
                break;
            }
        }
        if (hit == nullptr) {
            g_cmdPointCount = -1;
            return;
        }
        if (hit->GetType() != 1) {
            PrintLine(CString(u"#只支持直线平行线"));
            return;
        }
        hit->selected = 1;
        hit->hoverShown = 0;
        m_pPickedUnit = hit;
        m_basePoint = hit->GetStartPoint();
        m_secondPoint = hit->GetEndPoint();
        m_parallelRef[0] = m_basePoint;
        m_parallelRef[1] = m_secondPoint;
        CLine* follower = NewLineFrom(m_basePoint);
        follower->geometry.line.p2 = follower->workGeometry.line.p2 = m_secondPoint;
        NewFloating(follower);
        ++m_subStep;
        g_cmdPointCount = 1;
        ShowPrompt(CString(), 2);
        return;
    }
    const x_Vector a = m_basePoint, b = m_secondPoint;
    const x_Vector dir = b - a;
    const double len2 = dir.x * dir.x + dir.y * dir.y;
    const double t = len2 > 0 ? ((p.x - a.x) * dir.x + (p.y - a.y) * dir.y) / len2 : 0.0;
    const x_Vector foot(a.x + t * dir.x, a.y + t * dir.y);
    const double angle = Wrap(std::atan2(dir.y, dir.x));
    const double toPoint = Wrap(std::atan2(p.y - foot.y, p.x - foot.x));
    const double distance = x_Vector::Distance(foot, p);
    const double n1 = Wrap(angle + kPi / 2), n2 = Wrap(angle - kPi / 2);
    const double normal = Fold(n1 - toPoint) < Fold(n2 - toPoint) ? n1 : n2;
    auto place = [&](double direction) {
        const x_Vector off(distance * std::cos(direction), distance * std::sin(direction));
        CLine* copy = NewLineFrom(a + off);
        copy->geometry.line.p2 = copy->workGeometry.line.p2 = b + off;
        copy->complete = 1;
        doc->AppendUnit(copy);
    };
    place(normal);
    if (g_LineMode == 3)
        place(Wrap(normal + kPi));
    ReleaseFloatingEntity();
    PurgeDegenerateEntities(0);
    SetCommand(0);
}
