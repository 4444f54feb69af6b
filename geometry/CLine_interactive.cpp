// Picking a line, its grip drags and the rubber band of line creation.
#include <cmath>

#include "geometry/CLine.h"
#include "geometry/CUnitDocument.h"
#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "geometry/pick_and_drag.h"
#include "geometry/plane_geometry.h"
#include "geometry/screen_marks.h"
#include "geometry/unit_services.h"
#include "geometry/view_transform.h"
#include "platform/core/CString.h"

namespace {

constexpr int kLineCommand = 1;
constexpr int kStepMove = 3;
constexpr int kStepGrip = 4;
constexpr double kDegrees = 57.29577951308232;

void ShowLengthReadout(CUnitView* view, const x_LineData& line)
{
    if (view == nullptr)
        return;
    CString text;
    text.Format(u"长度：%0.4fmm ，角度：%.4f°", x_Vector::Distance(line.p1, line.p2),
                x_Vector::AngleTo(line.p1, line.p2) * kDegrees);
    view->SetPromptText(text);
}

bool SameExactly(const x_Vector& a, const x_Vector& b)
{
    return a.x == b.x && a.y == b.y && a.valid == b.valid;
}

} // namespace

void CLine::OnPick(CDC* dc, CUnitView* view, x_Vector point)
{
    if (view == nullptr)
        return;
    if (!selected) {
        SelectOnHit(*this, *view, point);
    } else if (g_curCommand == 0 && role == kRoleDrawing) {
        g_rubberShown = 0;
        const int k = HitTestGrip(point);
        view->m_gripNumber = k;
        const bool endGrip = (k == 1 || k == 2) && !gearKind;
        const bool midGrip = k == 3 && ((!gearKind && pieceOf == 0) || (gearKind && gearHandle == 1));
        const bool refGrip = k == -1 && pieceOf != 0 && !gearKind;
        if (endGrip || midGrip || refGrip)
            StartGripDrag(dc, view, k);
    }
    if (!view->m_gripDragFlag)
        return;
    view->m_dragUnit = this;
    rubberShown = 0;
    if (g_pDoc != nullptr) {
        for (CUnit* u : g_pDoc->m_unitList) {
            if (u == nullptr || u == this || u->deleted || u->group == group || u->unitId == unitId)
                continue;
            u->selected = u->picked = u->rubberShown = 0;
        }
    }
    if (view->m_gripNumber == 1 || view->m_gripNumber == 2)
        JoinEndDrag(view);
    view->m_pickUnit = this;
    if (role == kRoleDrawing)
        DrawPickBox(edit->dragStart, dc);
}

void CLine::StartGripDrag(CDC* dc, CUnitView* view, int k)
{
    const bool move = k == 3 || k == -1;
    if (move)
        ResetEntityStates();
    edit->dragStart = edit->dragPoint = edit->gripHit;
    view->m_gripDragFlag = 1;
    picked = 1;
    g_pickMark = 1;
    g_PenPosValid = 0;
    Draw(dc, 0, nullptr);
    const x_LineData g = geometry.line;
    if (move) {
        g_cmdStep = kStepMove;
        workGeometry.line = g;
        view->m_firstPoint = edit->gripHit;
    } else {
        // The dragged end is always the working second point, so a drag of
        // the start leaves the line reversed.
        g_cmdStep = kStepGrip;
        workGeometry.line = g;
        if (k == 1)
            std::swap(workGeometry.line.p1, workGeometry.line.p2);
        view->m_firstPoint = k == 1 ? g.p2 : g.p1;
    }
    const POINT px = WorldToScreen(view->m_firstPoint);
    view->m_dragPixel[0] = view->m_dragPixel[1] = px;
}

// The first live, selected line sharing the dragged end follows the drag.
void CLine::JoinEndDrag(CUnitView* view)
{
    view->m_joinedUnit = nullptr;
    if (g_pDoc == nullptr)
        return;
    for (CUnit* u : g_pDoc->m_unitList) {
        if (u == nullptr || u->deleted || !u->selected || u->GetType() != 1 || u->unitId == unitId)
            continue;
        const x_LineData g = u->geometry.line;
        const bool atStart = SameExactly(g.p1, edit->dragStart);
        if (!atStart && !SameExactly(g.p2, edit->dragStart))
            continue;
        view->m_joinedUnit = u;
        u->picked = 1;
        u->rubberShown = 0;
        u->edit->dragStart = u->edit->dragPoint = edit->dragStart;
        u->workGeometry.line = g;
        if (atStart)
            std::swap(u->workGeometry.line.p1, u->workGeometry.line.p2);
        return;
    }
}

void CLine::InteractiveStep(CDC* dc, CUnitView* view, x_Vector cursor)
{
    if (g_cmdStep == kStepMove) {
        StepMoveDrag(dc, cursor);
        return;
    }
    if (g_cmdStep == kStepGrip) {
        StepEndDrag(dc, view, cursor);
    } else if (g_curCommand == kLineCommand && (g_LineMode == 2 || g_LineMode == 3)) {
        StepParallel(dc, view, cursor);
    } else {
        workGeometry.line.p2 = cursor;
        g_LineEndPoint = cursor;
        DrawRubberLineAlt(workGeometry.line.p1, workGeometry.line.p2, dc);
    }
    ShowLengthReadout(view, workGeometry.line);
}

void CLine::StepMoveDrag(CDC* dc, const x_Vector& cursor)
{
    if (!gearKind && pieceOf == 0) {
        edit->moveDelta = cursor - edit->dragPoint;
        workGeometry.line = geometry.line;
        workGeometry.line.p1 = geometry.line.p1 + edit->moveDelta;
        workGeometry.line.p2 = geometry.line.p2 + edit->moveDelta;
        gripsValid = 0;
        return;
    }
    if (g_pDoc == nullptr)
        return;
    if (!gearKind) {
        edit->moveDelta = cursor - edit->dragPoint;
        for (CUnit* u : g_pDoc->m_unitList) {
            if (u == nullptr || u->deleted || u->group != group || u->pieceOf != pieceOf)
                continue;
            u->workGeometry.line = u->geometry.line;
            u->workGeometry.line.p1 = u->geometry.line.p1 + edit->moveDelta;
            u->workGeometry.line.p2 = u->geometry.line.p2 + edit->moveDelta;
            u->gripsValid = 0;
        }
        return;
    }
    if (gearHandle != 1 || group == 0)
        return;
    edit->moveDelta = cursor - edit->dragPoint;
    for (CUnit* u : g_pDoc->m_unitList) {
        if (u == nullptr || u->deleted || u->role != kRoleDrawing || u->group != group || !u->selected)
            continue;
        if (g_rubberShown)
            u->DrawRubber(dc, cursor);
        u->Move(edit->moveDelta);
        u->gripsValid = 0;
        u->DrawRubber(dc, cursor);
    }
    g_rubberShown = 1;
}

// The dragged end snaps to the line's own direction near the foot point.
void CLine::StepEndDrag(CDC* dc, CUnitView* view, const x_Vector& cursor)
{
    if (rubberShown)
        DrawRubber(dc, cursor);
    rubberShown = 1;
    const x_Vector foot = PerpendicularFoot(cursor, geometry.line.p1, geometry.line.p2);
    const POINT c = WorldToScreen(cursor);
    const POINT f = WorldToScreen(foot);
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

// A copy of the reference line A-B, moved to the cursor's side.
void CLine::StepParallel(CDC* dc, CUnitView* view, const x_Vector& cursor)
{
    const x_Vector a = view != nullptr ? view->m_parallelRef[0] : x_Vector();
    const x_Vector b = view != nullptr ? view->m_parallelRef[1] : x_Vector();
    const x_Vector foot = PerpendicularFoot(cursor, a, b);
    const double d = x_Vector::Distance(cursor, foot);
    const double alpha = x_Vector::AngleTo(a, b);
    const double beta = x_Vector::AngleTo(foot, cursor);
    double t1 = alpha + kPi / 2;
    if (t1 > kTwoPi)
        t1 -= kTwoPi;
    double t2 = alpha - kPi / 2;
    if (t2 < 0)
        t2 += kTwoPi;
    auto gap = [&](double t) {
        const double g = std::fabs(t - beta);
        return g > kPi ? kTwoPi - g : g;
    };
    const double theta = gap(t1) < gap(t2) ? t1 : t2;
    if (rubberShown)
        DrawRubber(dc, cursor);
    const x_Vector shift = x_Vector::FromPolar(d, theta);
    workGeometry.line.p1 = a + shift;
    workGeometry.line.p2 = b + shift;
    rubberShown = 1;
    g_LineEndPoint = workGeometry.line.p2;
    DrawRubber(dc, cursor);
    if (g_LineMode == 3) {
        double other = theta + kPi;
        if (other > kTwoPi)
            other -= kTwoPi;
        const x_Vector back = x_Vector::FromPolar(d, other);
        DrawRubberLineAlt(a + back, b + back, dc);
        g_LineEndPoint = b + back;
    }
}
