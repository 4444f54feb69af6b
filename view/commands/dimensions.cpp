// Dimension family.
//   15 aligned, 16 linear: the two measured points, then a click that
//      places the dimension line where the preview shows it.
//   17 diameter / radius (g_cmdSubFlag 1): a click on a circle (radius: or
//      an arc), then the text point.
//   18 arc length: a click on an arc, then the distance of the dimension arc.
//   19 angle: an arc, or two lines that meet; then the angle and radius.
//   20 auxiliary line (modes other than "中心线标注"): each click after the
//      first places one line of the mode's line type and starts the next.
//   26 centre line, and 20 in mode "中心线标注": a circle, arc, ellipse or
//      polygon gets two crossing centre lines; two lines get their bisector.
// The dimension toolbar and the dimension menu items start these commands.

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CDimAngle.h"
#include "geometry/CDimArc.h"
#include "geometry/CDimCir.h"
#include "geometry/CDimDASH.h"
#include "geometry/CDimLine.h"
#include "geometry/CDimLinear.h"
#include "geometry/GeometryState.h"
#include "geometry/intersect.h"
#include "geometry/screen_marks.h"
#include "geometry/unit_services.h"
#include "geometry/view_transform.h"
#include "platform/ui/CCmdUI.h"
#include "view/CZorvaView.h"
#include "view/commands/centre_lines.h"
#include "view/view_entities.h"

namespace {

constexpr std::uint8_t kCentreLineKind = 3;
constexpr double kCircleOvershoot = 1.1;    // centre lines reach past the circle
constexpr double kBoxShare = 1.5;           // polygon centre lines: max(w, h) / 1.5 each side

int AuxLineMode()
{
    return GetCommandMode(kCmdAuxLine - 1);
}

// The dimension toolbar's buttons toggle their command; the menu items of
// "工程标注" and "中心线" start it.
struct DimensionStart {
    UINT id;
    int command;
    std::uint8_t subFlag;
    bool toggle;
};

const DimensionStart kDimensionStarts[] = {
    {32891, kCmdDimAligned, 0, true},  {32868, kCmdDimAligned, 0, false},
    {32892, kCmdDimLinear, 0, true},   {32869, kCmdDimLinear, 0, false},
    {32898, kCmdDimCircle, 0, true},   {32872, kCmdDimCircle, 0, false},
    {32899, kCmdDimCircle, 1, true},   {32873, kCmdDimCircle, 1, false},
    {32906, kCmdDimArc, 0, true},      {32874, kCmdDimArc, 0, false},
    {32901, kCmdDimAngle, 0, true},    {32877, kCmdDimAngle, 0, false},
    {32922, kCmdAuxLine, 0, true},     {32924, kCmdAuxLine, 0, false},
    {32900, kCmdText, 0, true},        {33025, kCmdCentreLine, 0, false},
};

const DimensionStart* FindDimensionStart(UINT id)
{
    for (const DimensionStart& s : kDimensionStarts)
        if (s.id == id)
            return &s;
    return nullptr;
}

// A toggle's own command is running (for the radial one, in its variant).
bool ToggleRuns(const DimensionStart& s)
{
    return g_lastCommand == s.command && (s.command != kCmdDimCircle || g_cmdSubFlag == s.subFlag);
}

} // namespace

void CZorvaView::OnDimensionCommand(UINT id)
{
    const DimensionStart* s = FindDimensionStart(id);
    if (s == nullptr)
        return;
    if (s->toggle && ToggleRuns(*s)) {
        SetCommand(0);
        return;
    }
    if (!s->toggle)
        g_lastCommand = s->command;
    g_cmdSubFlag = s->subFlag;
    SetCommand(s->command);
}

void CZorvaView::OnUpdateDimensionCommand(CCmdUI* ui)
{
    const DimensionStart* s = ui != nullptr ? FindDimensionStart(ui->m_nID) : nullptr;
    if (s == nullptr || !s->toggle)
        return;
    ui->Enable(TRUE);
    ui->SetCheck(ToggleRuns(*s) ? 1 : 0);
}

bool CZorvaView::IsCentreLineCommand() const
{
    return g_curCommand == kCmdCentreLine || (g_curCommand == kCmdAuxLine && AuxLineMode() == 3);
}

void CZorvaView::StepDimension(CDC* dc)
{
    if (IsCentreLineCommand()) {
        StepCentreLine(dc);
        return;
    }
    switch (g_curCommand) {
    case kCmdDimAligned:
    case kCmdDimLinear:
        StepLengthDimension(dc);
        break;
    case kCmdDimCircle:
        StepRadialDimension(dc);
        break;
    case kCmdDimArc:
        StepArcLengthDimension(dc);
        break;
    case kCmdDimAngle:
        StepAngleDimension(dc);
        break;
    case kCmdAuxLine:
        StepAuxLine(dc);
        break;
    default:
        break;
    }
}

// The first live unit of one of the types under p (pixel hit test).
CUnit* CZorvaView::FirstLiveOfType(const x_Vector& p, std::initializer_list<int> types, bool unselected)
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return nullptr;
    for (CUnit* u : doc->m_unitList) {
        if (u->deleted || (unselected && u->selected))
            continue;
        const int t = u->GetType();
        if (std::find(types.begin(), types.end(), t) != types.end() && u->HitTest(p, 0))
            return u;
    }
    return nullptr;
}

void CZorvaView::StepLengthDimension(CDC* dc)
{
    const x_Vector p = m_inputPoint;
    const POINT px = WorldToScreen(p);
    if (g_cmdPointCount == 1) {
        ++g_UnitIdCounter;
        CDimension* dim = g_curCommand == kCmdDimAligned ? static_cast<CDimension*>(new CDimLine())
                                                           : static_cast<CDimension*>(new CDimLinear());
        dim->Working().p1 = p;
        NewFloating(dim);
        m_basePoint = m_secondPoint = p;
        m_selectionRect = {px.x, px.y, px.x, px.y};
    } else if (auto* dim = dynamic_cast<CDimension*>(m_pFloatUnit)) {
        dim->rubberShown = 0;
        dim->Working().p2 = p;
        m_secondPoint = p;
        m_selectionRect.right = px.x;
        m_selectionRect.bottom = px.y;
    }
    DrawCyanGrip(p, dc);
    CommonStepTail(dc);
}

void CZorvaView::StepRadialDimension(CDC* dc)
{
    const bool radius = g_cmdSubFlag == 1;
    CUnit* hit = radius ? FirstLiveOfType(m_inputPoint, {7, 8}, false) : FirstLiveOfType(m_inputPoint, {7}, false);
    if (hit == nullptr) {
        g_cmdPointCount = 0;
        return;
    }
    ++g_UnitIdCounter;
    auto* dim = new CDimCir();
    const bool circle = hit->GetType() == 7;
    dim->Working().p1 = circle ? hit->geometry.circle.centre : hit->geometry.arc.centre;
    dim->Working().distance = circle ? hit->geometry.circle.radius : hit->geometry.arc.radius;
    dim->radiusMode = g_cmdSubFlag;
    dim->rubberShown = 0;
    NewFloating(dim);
    hit->selected = 1;
    Render(dc);
    CommonStepTail(dc);
}

void CZorvaView::StepArcLengthDimension(CDC* dc)
{
    CUnit* arc = FirstLiveOfType(m_inputPoint, {8}, false);
    if (arc == nullptr) {
        g_cmdPointCount = 0;
        return;
    }
    ++g_UnitIdCounter;
    auto* dim = new CDimArc();
    DimArcRecord& w = dim->Working();
    const ArcRecord& a = arc->geometry.arc;
    w.measuredId = arc->unitId;
    w.centre = a.centre;
    w.startAngle = a.startAngle;
    w.endAngle = a.endAngle;
    w.direction = a.direction;
    w.value = arc->GetLength();
    w.witnessRadius = w.radius = a.radius;
    dim->rubberShown = 0;
    NewFloating(dim);
    arc->selected = 1;
    Render(dc);
    g_cmdPointCount = 2;
    CommonStepTail(dc);
}

void CZorvaView::StepAngleDimension(CDC* dc)
{
    const x_Vector p = m_inputPoint;
    g_cmdPointCount = 0;
    CUnit* arc = m_subStep == 0 ? FirstLiveOfType(p, {8}, false) : nullptr;
    if (arc != nullptr) {
        ++g_UnitIdCounter;
        auto* dim = new CDimAngle();
        DimAngleRecord& w = dim->Working();
        const ArcRecord& a = arc->geometry.arc;
        w.centre = a.centre;
        w.startAngle = a.startAngle;
        w.endAngle = a.endAngle;
        w.direction = a.direction;
        w.witnessRadius = w.radius = a.radius;
        w.value = arc->GetSweepAngle();
        NewFloating(dim);
        arc->selected = 1;
        g_cmdPointCount = 2;
        Render(dc);
        return;
    }
    CUnit* line = FirstLiveOfType(p, {1}, true);
    if (line == nullptr)
        return;
    if (m_subStep == 1 && m_pStepUnit[0] == nullptr)
        m_subStep = 0;
    if (m_subStep == 0) {
        line->selected = 1;
        m_pStepUnit[0] = line;
        m_subStep = 1;
        Render(dc);
        ShowPrompt(CString(), 2);
        return;
    }
    CUnit* first = m_pStepUnit[0];
    const x_VectorList meet = IntersectEntities(first, line, 0);
    if (meet.count < 1)
        return;                                     // parallel lines
    ++g_UnitIdCounter;
    auto* dim = new CDimAngle();
    DimAngleRecord& w = dim->Working();
    w.centre = meet.points[0];
    w.fromLines = 1;
    w.line1Start = first->GetStartPoint();
    w.line1End = first->GetEndPoint();
    w.line2Start = line->GetStartPoint();
    w.line2End = line->GetEndPoint();
    NewFloating(dim);
    line->selected = 1;
    m_pStepUnit[1] = line;
    g_cmdPointCount = 2;
    Render(dc);
}

void CZorvaView::StepAuxLine(CDC* dc)
{
    const x_Vector p = m_inputPoint;
    if (g_cmdPointCount == 1) {
        m_groupBase = GetMaxGroupNumber();
    } else if (CUnit* line = m_pFloatUnit; line != nullptr && line->GetType() == 20) {
        CZorvaDoc* doc = GetZorvaDoc();
        EraseRubberLine(dc);
        line->workGeometry.line.p2 = p;
        line->CommitTransform();
        line->Draw(dc, 0, nullptr);
        m_pFloatUnit = nullptr;
        if (doc != nullptr)
            doc->AppendUnit(line);
        else
            delete line;
        PurgeDegenerateEntities(0);
        ++m_subStep;
        Render(dc);
    }
    ++g_UnitIdCounter;
    auto* next = new CDimDASH();
    next->auxKind = static_cast<std::uint8_t>(AuxLineMode());
    next->workGeometry.line = MakeLineRecord(p.x, p.y, p.x, p.y);
    NewFloating(next);
    m_basePoint = m_secondPoint = p;
    const POINT px = WorldToScreen(p);
    m_selectionRect = {px.x, px.y, px.x, px.y};
    CommonStepTail(dc);
}

// "c": a line from the last point back to the first ends the command.
bool CZorvaView::CloseAuxLines()
{
    CZorvaDoc* doc = GetZorvaDoc();
    const int given = static_cast<int>(g_inputPoints.GetSize());
    if (given < 3 || doc == nullptr)
        return false;
    doc->AppendUnit(CDimDASH::Make(g_inputPoints[given - 1], g_inputPoints[0],
                                   static_cast<std::uint8_t>(AuxLineMode())));
    PurgeDegenerateEntities(0);
    SetCommand(0);
    return true;
}

void CZorvaView::PlaceAnnotation(CUnit* unit)
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr) {
        delete unit;
        return;
    }
    doc->AppendUnit(unit);
}

// Two centre lines crossing at centre, the first in direction angle, each
// reaching half to both sides.
void CZorvaView::PlaceCentreCross(const x_Vector& centre, double angle, double half, double auxValue)
{
    for (double a : {angle, angle + kPi / 2}) {
        const x_Vector d = x_Vector::FromPolar(half, a);
        CDimDASH* line = CDimDASH::Make(centre - d, centre + d, kCentreLineKind);
        line->auxValue = auxValue;
        PlaceAnnotation(line);
    }
}

void CZorvaView::StepCentreLine(CDC* dc)
{
    CZorvaDoc* doc = GetZorvaDoc();
    CUnit* hit = nullptr;
    for (int i = 0; doc != nullptr && i < doc->m_unitList.GetSize() && hit == nullptr; ++i) {
        CUnit* u = doc->m_unitList[i];
        if (!u->deleted && u->role == kRoleDrawing && !u->selected && u->HitTest(m_inputPoint, 0))
            hit = u;
    }
    if (hit == nullptr)
        return;
    const int type = hit->GetType();
    if (type == 1 && hit->pieceOf == 0) {
        if (m_subStep > 0 && m_pStepUnit[0] == nullptr)
            m_subStep = 0;
        if (m_subStep == 0) {
            m_pStepUnit[0] = hit;
            hit->selected = 1;
            Render(dc);
            m_subStep = 1;
            ShowPrompt(CString(), 2);
            return;
        }
        m_pStepUnit[1] = hit;
        hit->selected = 1;
        const CentreLineGeometry g = CentreLineOfTwoLines(m_pStepUnit[0]->geometry.line, hit->geometry.line);
        PlaceAnnotation(CDimDASH::Make(g.start, g.end, kCentreLineKind));
        m_pFloatUnit = nullptr;
    } else if (type == 7 || type == 8) {
        const bool circle = type == 7;
        const x_Vector c = circle ? hit->geometry.circle.centre : hit->geometry.arc.centre;
        const double r = circle ? hit->geometry.circle.radius : hit->geometry.arc.radius;
        PlaceCentreCross(c, 0.0, kCircleOvershoot * r, 1.0);
    } else if (type == 5 || type == 6) {
        const EllipseRecord& e = hit->geometry.ellipse;
        PlaceCentreCross(e.centre, e.majorAxis.Angle(), kCircleOvershoot * e.majorAxis.Length(), e.axisRatio);
    } else if (type == 1) {
        x_Vector lo = hit->GetStartPoint(), hi = lo;
        for (CUnit* u : doc->m_unitList) {
            if (u->deleted || u->GetType() != 1 || u->group != hit->group)
                continue;
            for (const x_Vector& q : {u->GetStartPoint(), u->GetEndPoint()}) {
                lo = x_Vector::MinCorner(lo, q);
                hi = x_Vector::MaxCorner(hi, q);
            }
        }
        const double half = std::max(hi.x - lo.x, hi.y - lo.y) / kBoxShare;
        PlaceCentreCross((lo + hi) / 2.0, 0.0, half, 1.0);
    } else {
        return;
    }
    PurgeDegenerateEntities(0);
    m_subStep = 0;
    ShowPrompt(CString(), 2);
    Render(dc);
}
