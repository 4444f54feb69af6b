#include "geometry/CEllipseArc.h"

#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "geometry/screen_marks.h"
#include "platform/core/CArchive.h"
#include "platform/core/CString.h"

IMPLEMENT_SERIAL(CEllipseArc, CUnit, 1)

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

CEllipseArc* NewEllipseArc(const EllipseRecord& e, double start, double end)
{
    ++g_UnitIdCounter;
    auto* arc = new CEllipseArc();
    EllipseRecord& g = arc->geometry.ellipse;
    g.centre = e.centre;
    g.majorAxis = e.majorAxis;
    g.axisRatio = e.axisRatio;
    g.direction = e.direction;
    g.startParam = start;
    g.endParam = end;
    g.splitPiece = 0;
    arc->workGeometry.ellipse = g;
    arc->complete = 1;
    return arc;
}

CEllipseArc::CEllipseArc() = default;

CEllipseArc::~CEllipseArc() = default;

double CEllipseArc::ParameterAtPointWork(x_Vector& point)
{
    return EllipseParameterOf(workGeometry.ellipse, point);
}

void CEllipseArc::SetStartFromPoint(x_Vector point)
{
    workGeometry.ellipse.startParam = ParameterAtPointWork(point);
}

void CEllipseArc::SetEndFromPoint(x_Vector point)
{
    workGeometry.ellipse.endParam = ParameterAtPointWork(point);
}

x_Vector CEllipseArc::NearestPoint(x_Vector& out, x_Vector& p, std::uint8_t, double* distance, int)
{
    out = Unset();
    if (!p.valid) {
        if (distance != nullptr)
            *distance = 1e10;
        return out;
    }
    const double t = ParameterAtPointWork(p);
    if (!EllipseParamInRun(geometry.ellipse, t))
        return out;
    out = EllipsePointAt(geometry.ellipse, t);
    if (distance != nullptr)
        *distance = x_Vector::Distance(p, out);
    return out;
}

x_Vector CEllipseArc::GetMidPoint()
{
    const EllipseRecord& g = geometry.ellipse;
    const double half = EllipseSweep(g) / 2.0;
    return EllipsePointAt(g, g.direction == 0 ? g.startParam + half : g.startParam - half);
}

void CEllipseArc::UpdateGripPoints()
{
    gripPoints.RemoveAll();
    gripPoints.FreeExtra();
    gripPoints.Add(GetStartPoint());
    gripPoints.Add(GetEndPoint());
    gripPoints.Add(geometry.ellipse.centre);
}

EllipseRecord CEllipseArc::GetEllipseRecord(EllipseRecord& out)
{
    out = geometry.ellipse;
    return out;
}

bool CEllipseArc::Copy(int mode, CUnit*& out)
{
    if (mode == 0 || mode == 2)
        ++g_UnitIdCounter;
    auto* copy = new CEllipseArc();
    CopyInto(copy, mode);
    out = copy;
    return true;
}

void CEllipseArc::OnPick(CDC* dc, CUnitView* view, x_Vector point)
{
    PickWithCentreGrip(dc, view, point, 3);
}

bool CEllipseArc::SnapPoints(x_Vector& r, x_Vector& c, int, int mode)
{
    return SnapOnCurve(r, c, mode, true);
}

void CEllipseArc::InteractiveStep(CDC* dc, CUnitView* view, x_Vector p)
{
    EllipseRecord& w = workGeometry.ellipse;
    if (g_cmdStep == kStepMove) {
        w.centre = p;
        refPoint = p;
    } else if (g_cmdStep == kStepGrip) {
        EraseRubber(dc);
        g_rubberShown = 1;
        if (view != nullptr && view->m_gripNumber == 1)
            SetStartFromPoint(p);
        else
            SetEndFromPoint(p);
        DrawRubberLine(edit->dragStart, p, 0, dc);
        DrawRubber(dc, p);
        CString text;
        text.Format(u"椭圆弧 A1:%.4f°A2:%.4f°", w.startParam * kDegrees, w.endParam * kDegrees);
        Prompt(view, text);
    } else if (g_cmdStep == kStepCreate && g_cmdPointCount >= 1) {
        StepCreate(dc, view, p);
    }
}

// Clicks: two major-axis ends, a point of the minor axis, the start and the
// end point.
void CEllipseArc::StepCreate(CDC* dc, CUnitView* view, const x_Vector& p)
{
    if (view == nullptr)
        return;
    EllipseRecord& w = workGeometry.ellipse;
    const double semiMinor = w.majorAxis.Length() * w.axisRatio;
    CString text;
    if (g_cmdPointCount == 1) {
        const x_Vector& first = view->m_firstPoint;
        view->m_lastPoint = p;
        DrawRubberLine(first, p, 0, dc);
        const x_Vector mid((first.x + p.x) / 2.0, (first.y + p.y) / 2.0);
        text.Format(u"椭圆弧 R1:%0.4f R2:%0.4f A:%.4f°", x_Vector::Distance(first, p) / 2.0,
                    semiMinor, (first - mid).Angle() * kDegrees);
    } else if (g_cmdPointCount == 2) {
        if (p == view->m_lastPoint || p.IsEqual(refPoint) || !(w.majorAxis.Length() > 0.0))
            return;                             // the centre gives no minor axis
        EraseRubber(dc);
        view->m_lastPoint = p;
        SetMinorFrom(p);
        g_rubberShown = 1;
        DrawRubber(dc, p);
        DrawRubberLine(refPoint, p, 0, dc);
        text.Format(u"椭圆弧 R1:%0.4f R2:%0.4f A:%.4f°", w.majorAxis.Length(),
                    w.majorAxis.Length() * w.axisRatio, w.majorAxis.Angle() * kDegrees);
    } else if (g_cmdPointCount == 3) {
        DrawRubberLine(refPoint, p, 0, dc);
        x_Vector q = p;
        text.Format(u"椭圆弧 A1:%.4f°A2:%.4f°", ParameterAtPointWork(q) * kDegrees,
                    w.endParam * kDegrees);
    } else {
        if (p == view->m_lastPoint)
            return;
        EraseRubber(dc);
        view->m_lastPoint = p;
        SetEndFromPoint(p);
        g_rubberShown = 1;
        DrawRubberLine(refPoint, p, 0, dc);
        DrawRubber(dc, p);
        text.Format(u"椭圆弧 A1:%.4f°A2:%.4f°", w.startParam * kDegrees, w.endParam * kDegrees);
    }
    Prompt(view, text);
}
