// Picking an arc, its grip drags, the rubber band of the four ways of
// creating one, and object snap.
#include <cmath>
#include <vector>

#include "geometry/CArc.h"
#include "geometry/CConstructionLine.h"
#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "geometry/curve_helpers.h"
#include "geometry/intersect.h"
#include "geometry/path_services.h"
#include "geometry/pick_and_drag.h"
#include "geometry/plane_geometry.h"
#include "geometry/screen_marks.h"
#include "geometry/snap_candidates.h"
#include "geometry/unit_services.h"
#include "geometry/view_transform.h"
#include "platform/core/CString.h"

namespace {

constexpr int kStepCreate = 2;
constexpr int kStepMove = 3;
constexpr int kStepGrip = 4;
constexpr double kDegrees = 57.29577951308232;

void Prompt(CUnitView* view, const CString& text)
{
    if (view != nullptr)
        view->SetPromptText(text);
}

// Through three points into the working record; a failed fit (collinear or
// coincident points) keeps the previous record instead of a radius of 1e14.
void FitThrough(ArcRecord& work, const x_Vector& a, const x_Vector& b, const x_Vector& c)
{
    ArcRecord fit = work;
    if (ArcFromThreePoints(fit, a, b, c) && std::isfinite(fit.centre.x) && std::isfinite(fit.centre.y))
        work = fit;
}

} // namespace

void CArc::OnPick(CDC* dc, CUnitView* view, x_Vector point)
{
    if (view == nullptr)
        return;
    if (!selected) {
        SelectOnHit(*this, *view, point);
    } else if (g_curCommand == 0 && role == kRoleDrawing && !gearKind) {
        g_rubberShown = 0;
        const int g = HitTestGrip(point);
        view->m_gripNumber = g;
        if (g != 0 && !(g == 4 && group != 0)) {
            ResetEntityStates();
            BeginGripDrag(*this, *view, g == 4 ? kStepMove : kStepGrip);
        }
    }
    if (view->m_gripDragFlag) {
        view->m_pickUnit = this;
        if (role == kRoleDrawing)
            DrawPickBox(edit->dragStart, dc);
    }
}

void CArc::EraseRubber(CDC* dc, const x_Vector& cursor)
{
    if (g_rubberShown)
        DrawRubber(dc, cursor);
}

void CArc::InteractiveStep(CDC* dc, CUnitView* view, x_Vector p)
{
    if (g_cmdPointCount < 1)
        return;
    if (g_cmdStep == kStepMove) {
        edit->moveDelta = p - edit->dragPoint;
        workGeometry.arc.centre = geometry.arc.centre + edit->moveDelta;
        refPoint = p;
    } else if (g_cmdStep == kStepGrip) {
        StepGripDrag(dc, view, p);
    } else if (g_cmdStep == kStepCreate) {
        StepCreate(dc, view, p);
    }
}

void CArc::StepGripDrag(CDC* dc, CUnitView* view, const x_Vector& p)
{
    const int g = view != nullptr ? view->m_gripNumber : 0;
    if (g < 1 || g > 3)
        return;
    EraseRubber(dc, p);
    g_rubberShown = 1;
    inputPoints[g - 1] = p;
    FitThrough(workGeometry.arc, inputPoints[0], inputPoints[1], inputPoints[2]);
    DrawRubber(dc, p);
    if (view != nullptr)
        view->m_lastPoint = p;
    DrawRubberLine(edit->dragStart, p, 0, dc);
    const ArcRecord& w = workGeometry.arc;
    const double sweep = SweepAngle(w);
    CString text;
    text.Format(u"半径：%0.4fmm ，弧度：%.4f°，长度：%.4fmm", w.radius, sweep * kDegrees,
                sweep * w.radius);
    Prompt(view, text);
}

void CArc::StepCreate(CDC* dc, CUnitView* view, const x_Vector& p)
{
    const int variant = (view != nullptr && view->m_polyArcMode == 1) ? 1 : g_ArcMode;
    if (variant > 3)
        return;
    CString text;
    if (g_cmdPointCount == 1) {
        inputPoints[1] = p;
        DrawRubberLine(inputPoints[0], p, 0, dc);
        text.Format(u"距离：%.4fmm , 角度：%.4f°", x_Vector::Distance(inputPoints[0], p),
                    x_Vector::AngleTo(inputPoints[0], p) * kDegrees);
        Prompt(view, text);
        return;
    }
    if (g_cmdPointCount != 2)
        return;
    EraseRubber(dc, p);
    inputPoints[2] = p;
    g_rubberShown = 1;
    ArcRecord& w = workGeometry.arc;
    if (variant == 1) {
        // The second click is the end; the cursor is a point the arc passes.
        FitThrough(w, inputPoints[0], p, inputPoints[1]);
        DrawRubber(dc, p);
        const double sweep = SweepAngle(w);
        text.Format(u"半径：%0.4fmm ，长度：%.4fmm , 弧度：%.4f°", w.radius, sweep * w.radius,
                    sweep * kDegrees);
    } else if (variant == 0) {
        FitThrough(w, inputPoints[0], inputPoints[1], p);
        DrawRubberLine(inputPoints[1], p, 0, dc);
        DrawRubber(dc, p);
        const double sweep = SweepAngle(w);
        text.Format(u"距离：%.4fmm ,半径：%0.4fmm ，弧度：%.4f°，长度：%.4fmm",
                    x_Vector::Distance(inputPoints[1], p), w.radius, sweep * kDegrees,
                    sweep * w.radius);
    } else {
        w.centre = inputPoints[0];
        w.radius = x_Vector::Distance(inputPoints[0], inputPoints[1]);
        w.startAngle = x_Vector::AngleTo(inputPoints[0], inputPoints[1]);
        w.endAngle = x_Vector::AngleTo(inputPoints[0], p);
        w.direction = variant == 2 ? 0 : 1;
        DrawRubberLine(inputPoints[0], inputPoints[1], 0, dc);
        DrawRubber(dc, p);
        const double sweep = SweepAngle(w);
        text.Format(u"半径：%0.4fmm ，弧度：%.4f°，长度：%.4fmm", w.radius, sweep * kDegrees,
                    sweep * w.radius);
    }
    Prompt(view, text);
}

bool CArc::SnapPoints(x_Vector& r, x_Vector& c, int, int mode)
{
    const ArcRecord& g = geometry.arc;
    std::vector<x_PolerData> candidates;
    EnsureGripPoints();
    for (int i = 0; i < gripPoints.GetSize(); ++i) {
        if (GripSquareHit(c, gripPoints[i])) {
            candidates.push_back({gripPoints[i], i == 3 ? 3 : (i == 1 ? 2 : 1)});
            break;
        }
    }
    auto inSweep = [&](const x_Vector& p) {
        return AngleInSweep((p - g.centre).Angle(), g.startAngle, g.endAngle, g.direction);
    };
    if (mode != 0 && !(r == c)) {
        if (mode == 2) {
            for (const x_Vector& t : CircleTangentPoints(g.centre, g.radius, r))
                if (inSweep(t) && GripSquareHit(c, t))
                    candidates.push_back({t, 8});
            const x_Vector v = r - g.centre;
            const double u = std::fmod(std::atan2(v.y, v.x) + kTwoPi, kTwoPi);
            const x_Vector f = ArcPointAt(g, u);
            if (GripSquareHit(c, f))
                candidates.push_back({f, 5});
        }
        if (candidates.empty() && !g_SnapRestrict && inSweep(c)) {
            if (mode == 2) {
                CConstructionLine through(r, c);
                for (const x_Vector& q : IntersectEntities(&through, this, 0).points) {
                    if (q.valid && x_Vector::Distance(q, c) * g_ViewScale < 8.0) {
                        edit->gripHit = q;
                        snapKind = 4;
                        return true;
                    }
                }
            } else {
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
