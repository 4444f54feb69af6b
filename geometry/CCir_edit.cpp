// Picking and grip drags of the circle, its rubber band, object snap, trim
// into an arc and the two steps of path preparation.
#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CConstructionLine.h"
#include "geometry/CLine.h"
#include "geometry/CUnitDocument.h"
#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "geometry/curve_helpers.h"
#include "geometry/intersect.h"
#include "geometry/path_services.h"
#include "geometry/pick_and_drag.h"
#include "geometry/screen_marks.h"
#include "geometry/snap_candidates.h"
#include "geometry/unit_services.h"
#include "geometry/view_transform.h"
#include "platform/core/CString.h"

namespace {

constexpr int kTrimCommand = 60;
constexpr int kStepMove = 3;
constexpr int kStepGrip = 4;
constexpr int kTwoProfile = 2;
constexpr double kDegrees = 57.29577951308232;

} // namespace

void CCir::ShowRadius(CUnitView* view) const
{
    if (view == nullptr)
        return;
    CString text;
    text.Format(u"圆半径：%0.4fmm ，周长：%.4fmm", workGeometry.circle.radius,
                kTwoPi * workGeometry.circle.radius);
    view->SetPromptText(text);
}

void CCir::OnPick(CDC* dc, CUnitView* view, x_Vector point)
{
    if (view == nullptr)
        return;
    if (!selected) {
        SelectOnHit(*this, *view, point);
        return;
    }
    if (g_curCommand != 0 || role != kRoleDrawing)
        return;
    g_rubberShown = 0;
    const int g = HitTestGrip(point);
    view->m_gripNumber = g;
    if (g == 5) {
        if (gearKind)
            SelectGroup(group);
        else
            ResetEntityStates();
        BeginGripDrag(*this, *view, kStepMove);
    } else if (g >= 1 && g <= 4 && !gearKind) {
        ResetEntityStates();
        BeginGripDrag(*this, *view, kStepGrip);
    } else {
        return;
    }
    view->m_pickUnit = this;
    DrawPickBox(edit->dragStart, dc);
}

void CCir::InteractiveStep(CDC* dc, CUnitView* view, x_Vector c)
{
    if (g_cmdStep == kStepMove) {
        edit->moveDelta = c - edit->dragPoint;
        if (gearKind && group != 0) {
            if (g_pDoc == nullptr)
                return;
            for (CUnit* u : g_pDoc->m_unitList) {
                if (u == nullptr || u->deleted || u->group != group || !u->selected)
                    continue;
                if (g_rubberShown)
                    u->DrawRubber(dc, c);
                u->Move(edit->moveDelta);
                u->DrawRubber(dc, c);
            }
            g_rubberShown = 1;
            return;
        }
        StartFromCurrent();
        workGeometry.circle.centre = geometry.circle.centre + edit->moveDelta;
        UpdateBoxCorners();
        return;
    }
    if (gearKind)
        return;
    if (g_cmdStep == kStepGrip && g_cmdPointCount == 1) {
        if (g_rubberShown)
            DrawRubber(dc, c);
        BuildCircleFromInput(workGeometry.circle.centre, c);
        g_rubberShown = 1;
        DrawRubber(dc, c);
        DrawRubberLine(edit->dragStart, c, 0, dc);
        ShowRadius(view);
        return;
    }
    // The command's first click is the view's first point; the step engine
    // keeps the second click of a three-point circle in inputPoints[2].
    const x_Vector first = view != nullptr ? view->m_firstPoint : edit->dragStart;
    if (g_CircleMode == 2 && g_cmdPointCount == 1) {
        DrawRubberLine(edit->dragStart, c, 0, dc);
        if (view != nullptr) {
            CString text;
            text.Format(u"距离：%.4fmm , 角度：%.4f°", x_Vector::Distance(edit->dragStart, c),
                        x_Vector::AngleTo(edit->dragStart, c) * kDegrees);
            view->SetPromptText(text);
        }
    } else if (g_CircleMode == 2 && g_cmdPointCount == 2) {
        ArcRecord fit;
        // Collinear clicks have no circle; the previous preview stays.
        if (!ArcFromThreePoints(fit, first, inputPoints[2], c))
            return;
        if (g_rubberShown)
            DrawRubber(dc, c);
        workGeometry.circle.centre = fit.centre;
        workGeometry.circle.radius = fit.radius;
        UpdateBoxCorners();
        g_rubberShown = 1;
        DrawRubber(dc, c);
        ShowRadius(view);
    } else if (g_CircleMode != 2 && g_cmdPointCount == 1) {
        if (g_rubberShown)
            DrawRubber(dc, c);
        BuildCircleFromInput(first, c);
        g_rubberShown = 1;
        DrawRubber(dc, c);
        DrawRubberLine(edit->dragStart, c, 0, dc);
        ShowRadius(view);
    }
}

bool CCir::SnapPoints(x_Vector& r, x_Vector& c, int, int mode)
{
    const CircleRecord& g = geometry.circle;
    std::vector<x_PolerData> candidates;
    EnsureGripPoints();
    for (int i = 0; i < gripPoints.GetSize(); ++i) {
        if (GripSquareHit(c, gripPoints[i])) {
            candidates.push_back({gripPoints[i], i == 4 ? 3 : 1});
            break;
        }
    }
    if (mode != 0 && !(r == c)) {
        if (mode == 2) {
            for (const x_Vector& t : CircleTangentPoints(g.centre, g.radius, r))
                if (GripSquareHit(c, t))
                    candidates.push_back({t, 8});
            const x_Vector v = r - g.centre;
            const double u = v.Angle();
            const x_Vector f(g.centre.x + g.radius * std::cos(u), g.centre.y + g.radius * std::sin(u));
            if (GripSquareHit(c, f))
                candidates.push_back({f, 5});
        }
        if (candidates.empty() && !g_SnapRestrict) {
            if (mode == 2) {
                CConstructionLine through(r, c);
                for (const x_Vector& q : IntersectEntities(&through, this, 0).points) {
                    if (q.valid && x_Vector::Distance(q, c) * g_ViewScale < 8.0) {
                        edit->gripHit = q;
                        snapKind = 4;
                        return true;
                    }
                }
            } else if (mode == 1) {
                x_Vector q;
                NearestPoint(q, c, 0);
                if (x_Vector::Distance(q, c) * g_ViewScale < 8.0) {
                    edit->gripHit = q;
                    snapKind = 4;
                    return true;
                }
            }
        }
    }
    return TakeNearestCandidate(*this, candidates, c);
}

// Everything but the picked gap between two crossings becomes an arc.
int CCir::Trim(int, x_Vector point, int n)
{
    if (!HitTest(point, 0) || g_pDoc == nullptr)
        return 0;
    const CircleRecord g = geometry.circle;
    x_Vector pick;
    NearestPoint(pick, point, 0);
    std::vector<x_Vector> cuts;
    const int count = g_pDoc->m_unitList.GetSize();
    for (int i = 0; i < count; ++i) {
        CUnit* edge = g_pDoc->m_unitList.GetAt(i);
        if (i == n || edge == nullptr || edge->deleted || edge->role != kRoleDrawing)
            continue;
        if (g_curCommand == kTrimCommand && !edge->selected)
            continue;
        for (const x_Vector& q : IntersectEntities(this, edge, 1).points)
            if (q.valid == 1 && HitTest(q, 1))
                cuts.push_back(q);
    }
    std::vector<x_Vector> kept;
    for (const x_Vector& q : cuts)
        if (std::none_of(kept.begin(), kept.end(), [&](const x_Vector& k) { return k.IsEqual(q); }))
            kept.push_back(q);
    if (kept.size() < 2)
        return 0;
    std::vector<double> angles;
    for (const x_Vector& q : kept)
        angles.push_back(x_Vector::AngleTo(g.centre, q));
    std::sort(angles.begin(), angles.end());
    angles.push_back(angles.front());
    const double a = x_Vector::AngleTo(g.centre, pick);
    int m = 0;
    for (int i = 1; i < static_cast<int>(angles.size()) && m == 0; ++i)
        if (AngleInArc(a, angles[i - 1], angles[i], g.direction != 0))
            m = i;
    if (m == 0)
        return 0;
    CArc* arc = NewArc(g.centre, g.radius, angles[m], angles[m - 1], g.direction);
    arc->role = kRoleDrawing;
    arc->pieceOf = 0;
    AppendToDrawing(arc);
    if (n >= 0 && n < count && !g_pDoc->m_unitList.GetAt(n)->deleted)
        g_pDoc->RecordDeleteAt(n);
    return 1;
}

bool CCir::AppendDirectionRecord(x_Vector p)
{
    if (!HitTest(p, 1))
        return false;
    const CircleRecord& g = geometry.circle;
    const double t = x_Vector::AngleTo(g.centre, p) + (g.direction == 0 ? kPi / 2 : -kPi / 2);
    AppendTrailDirectionsBothWays(*this, p, t);
    return true;
}

int CCir::SplitAtCrossings(int, x_Vector p, int k, int, x_Vector& out)
{
    chainDir = k;
    walked = 1;
    visible = 0;
    const CircleRecord g = geometry.circle;
    const double phi = x_Vector::AngleTo(g.centre, p);
    const std::uint8_t dir = k == 1 ? 1 : 0;
    const double start = k == 1 ? phi + kTwoPi : phi;
    const double end = k == 1 ? phi : phi + kTwoPi;
    std::vector<CArc*> pieces;
    if (g_CutMode == kTwoProfile) {
        pieces.push_back(NewArc(g.centre, g.radius, start, end, dir));
    } else {
        const double mid = (start + end) / 2.0;
        double e1 = mid, e2 = end;
        auto fix = [&](double s, double& e) {
            if (dir == 1 && e > s)
                e -= kTwoPi;
            if (dir == 0 && e < s)
                e += kTwoPi;
        };
        fix(start, e1);
        fix(mid, e2);
        pieces.push_back(NewArc(g.centre, g.radius, start, e1, dir));
        pieces.push_back(NewArc(g.centre, g.radius, mid, e2, dir));
    }
    for (CArc* arc : pieces) {
        arc->listIndex = listIndex;
        arc->role = kRoleDrawing;
        arc->temporary = 1;
        arc->chainDir = 2;
        arc->selected = 1;
        AppendSplitPiece(arc, listIndex, true);
    }
    out = p;
    return 1;
}
