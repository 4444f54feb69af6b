// Picking and grip drags of the ellipse classes, the ellipse's rubber band
// of creation and object snap.
#include <cmath>
#include <vector>

#include "geometry/CConstructionLine.h"
#include "geometry/CEllipse.h"
#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "geometry/intersect.h"
#include "geometry/pick_and_drag.h"
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

} // namespace

void CEllipseCommon::PickWithCentreGrip(CDC* dc, CUnitView* view, const x_Vector& point,
                                        int centreGrip)
{
    if (view == nullptr)
        return;
    if (!selected) {
        SelectOnHit(*this, *view, point);
    } else if (g_curCommand == 0 && role == kRoleDrawing) {
        g_rubberShown = 0;
        const int g = HitTestGrip(point);
        view->m_gripNumber = g;
        if (g != 0) {
            ResetEntityStates();
            BeginGripDrag(*this, *view, g == centreGrip ? kStepMove : kStepGrip);
        }
    }
    if (view->m_gripDragFlag) {
        view->m_pickUnit = this;
        if (role == kRoleDrawing)
            DrawPickBox(edit->dragStart, dc);
    }
}

void CEllipse::OnPick(CDC* dc, CUnitView* view, x_Vector point)
{
    PickWithCentreGrip(dc, view, point, 5);
}

void CEllipse::InteractiveStep(CDC* dc, CUnitView* view, x_Vector p)
{
    if (g_cmdStep == kStepMove) {
        workGeometry.ellipse.centre = p;
    } else if (g_cmdStep == kStepGrip) {
        StepAxisGrip(dc, view, p);
    } else if (g_cmdStep == kStepCreate && g_cmdPointCount >= 1) {
        StepCreate(dc, view, p);
    }
}

// A drag onto the centre would make an axis of length 0 and a ratio of 0 or
// infinity; such moves are ignored.
void CEllipse::StepAxisGrip(CDC* dc, CUnitView* view, const x_Vector& p)
{
    const int g = view != nullptr ? view->m_gripNumber : 0;
    EllipseRecord& w = workGeometry.ellipse;
    if (g < 1 || g > 4)
        return;
    if (g == 1 || g == 3) {
        if (p.IsEqual(refPoint) || !(w.majorAxis.Length() > 0.0))
            return;
        EraseRubber(dc);
        minorAxis = p - refPoint;
    } else {
        if (p.IsEqual(w.centre))
            return;
        EraseRubber(dc);
        w.majorAxis = x_Vector::FromPolar(x_Vector::Distance(w.centre, p), w.majorAxis.Angle());
    }
    g_rubberShown = 1;
    w.axisRatio = minorAxis.Length() / w.majorAxis.Length();
    DrawRubberLine(edit->dragStart, p, 0, dc);
    DrawRubber(dc, p);
    CString text;
    text.Format(u"椭圆 R1:%0.3f R2:%0.3f A:%.1f°", w.majorAxis.Length(), minorAxis.Length(),
                w.majorAxis.Angle() / kTwoPi * 360.0);
    Prompt(view, text);
}

void CEllipse::StepCreate(CDC* dc, CUnitView* view, const x_Vector& p)
{
    if (view == nullptr)
        return;
    CString text;
    if (g_cmdPointCount == 1) {
        const x_Vector& first = view->m_firstPoint;
        view->m_lastPoint = p;
        DrawRubberLine(first, p, 0, dc);
        const x_Vector mid((first.x + p.x) / 2.0, (first.y + p.y) / 2.0);
        text.Format(u"椭圆 R1:%0.4f R2:%0.4f A:%.4f°", x_Vector::Distance(first, p) / 2.0,
                    minorAxis.Length(), (first - mid).Angle() * kDegrees);
        Prompt(view, text);
        return;
    }
    if (p == view->m_lastPoint)
        return;
    if (p.IsEqual(refPoint) || !(workGeometry.ellipse.majorAxis.Length() > 0.0))
        return;                                 // the centre gives no minor axis
    EraseRubber(dc);
    view->m_lastPoint = p;
    SetMinorFrom(p);
    g_rubberShown = 1;
    DrawRubber(dc, p);
    DrawRubberLine(refPoint, p, 0, dc);
    const EllipseRecord& w = workGeometry.ellipse;
    text.Format(u"椭圆 R1:%0.3f R2:%0.3f A:%.4f°", w.majorAxis.Length(), minorAxis.Length(),
                w.majorAxis.Angle() * kDegrees);
    Prompt(view, text);
}

bool CEllipseCommon::SnapOnCurve(x_Vector& r, x_Vector& c, int mode, bool arc)
{
    std::vector<x_PolerData> candidates;
    const int centre = gripPoints.GetSize() - 1;
    for (int i = 0; i < gripPoints.GetSize(); ++i) {
        if (GripSquareHit(c, gripPoints[i])) {
            candidates.push_back({gripPoints[i], i == centre ? 3 : 1});
            break;
        }
    }
    auto onRun = [&](double t) { return !arc || EllipseParamInRun(geometry.ellipse, t); };
    if (mode == 2) {
        const double t = arc ? ParameterAtPointWork(c) : ParameterAtPoint(c);
        const x_Vector f = EllipsePointAt(geometry.ellipse, t);
        if (onRun(t) && GripSquareHit(c, f))
            candidates.push_back({f, 5});
    }
    if (candidates.empty() && !g_SnapRestrict) {
        const double scale = ClampViewScale();
        if (mode == 2) {
            CConstructionLine through(r, c);
            for (const x_Vector& q : IntersectEntities(&through, this, 0).points) {
                if (q.valid && onRun(EllipseParameterOf(geometry.ellipse, q))
                    && x_Vector::Distance(q, c) * scale < 8.0) {
                    edit->gripHit = q;
                    snapKind = 4;
                    return true;
                }
            }
        } else {
            x_Vector q;
            NearestPoint(q, c, 0);
            if (q.valid && x_Vector::Distance(q, c) * scale < 8.0) {
                edit->gripHit = q;
                snapKind = 4;
                return true;
            }
        }
    }
    return TakeNearestCandidate(*this, candidates, c);
}

bool CEllipse::SnapPoints(x_Vector& r, x_Vector& c, int, int mode)
{
    return SnapOnCurve(r, c, mode, false);
}
