#include "paths/trail_generate.h"

#include <cmath>
#include <mutex>

#include "app/AppState.h"
#include "app/MachiningSettings.h"
#include "geometry/CLine.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/path_services.h"
#include "geometry/plane_geometry.h"
#include "geometry/screen_marks.h"
#include "geometry/unit_services.h"
#include "geometry/view_transform.h"
#include "paths/CTrail.h"
#include "paths/path_build.h"
#include "view/CZorvaView.h"
#include "view/view_entities.h"
#include "wirepath/WirepathState.h"

namespace {

void Print(CZorvaView& v, const CString& text)
{
    v.Later([text](CZorvaView& w) { w.PrintLine(text); });
}

void Prompt(CZorvaView& v)
{
    v.Later([](CZorvaView& w) { w.ShowPrompt(CString(), 0); });
}

void Render(CZorvaView& v)
{
    v.Later([](CZorvaView& w) { w.RedrawNow(); });
}

CString MarkerIndices()
{
    CString list;
    for (int i = 0; i < g_DirSignList.GetSize(); ++i) {
        if (i > 0)
            list += u",";
        list.AppendFormat(u"%d", i);
    }
    return list;
}

CUnit* LiveUnitById(std::uint64_t id)
{
    for (CUnit* u : g_pDoc->m_unitList)
        if (!u->deleted && u->unitId == id)
            return u;
    return nullptr;
}

// A temporary preview line of the dialogue (role 1, chain direction 2).
CUnit* AppendPreviewLine(const x_Vector& a, const x_Vector& b)
{
    ++g_UnitIdCounter;
    auto* line = new CLine(a.x, a.y, b.x, b.y);
    line->role = kRoleLeadLine;
    line->chainDir = 2;
    line->temporary = line->complete = 1;
    std::lock_guard<std::recursive_mutex> lock(g_pDoc->m_listMutex);
    g_pDoc->m_unitList.Add(line);
    return line;
}

// The marker under the click: among the arrow heads that hold the click's
// pixel, the one whose anchor is nearest the input point; a later one
// wins only when strictly nearer. A typed index wins over the click.
int ChosenMarker(const PathPick& pick)
{
    if (pick.typedIndex >= 0)
        return pick.typedIndex;
    int best = -1;
    double bestDistance = 0.0;
    for (int i = 0; i < g_DirSignList.GetSize(); ++i) {
        const x_DirSignData& m = g_DirSignList[i];
        if (!PointInPolygon(pick.clickPixel[0], pick.clickPixel[1], m.headScreen, 3))
            continue;
        const POINT anchor = WorldToScreen(m.base);
        const double d = x_Vector::Distance(ScreenToWorld(anchor.x, anchor.y), pick.cursorPoint);
        if (best < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

void AddMarker(const x_Vector& at, double angle, int code, std::uint64_t unitId, const x_Vector& point)
{
    x_DirSignData m;
    BuildMarkerSymbol(m, at, angle);
    m.direction = code;
    m.unitId = unitId;
    m.angle = angle;
    m.point = point;
    g_DirSignList.Add(m);
}

void StepThreadingPoint(CZorvaView& v, PathPick& p)
{
    const int step = v.m_subStep;
    if (step == 0)
        p.pickedUnit = nullptr;
    p.branchPick = 0;
    p.leadInLine = p.leadOutLine = nullptr;
    p.markersShown = 0;
    ClearTrailDirections();
    g_DirSignList.RemoveAll();
    g_CreateTrailPoints.RemoveAll();
    ResetEntityStates();
    if (step == 0)
        p.clickedPoints.RemoveAll();
    p.clickedPoints.Add(p.clickPoint);
    g_TrailPickPoints[0] = p.clickPoint;
    (step == 0 ? p.pickPointsLower : p.pickPointsUpper)[0] = p.clickPoint;
    p.lineStart = p.lineEnd = p.clickPoint;
    const POINT px = WorldToScreen(p.clickPoint);
    p.rubberPixels[0] = p.rubberPixels[2] = px.x;
    p.rubberPixels[1] = p.rubberPixels[3] = px.y;
    ++v.m_subStep;
    Prompt(v);
    Render(v);
}

void StepLeadIn(CZorvaView& v, PathPick& p)
{
    ClearTrailDirections();
    if (v.m_subStep == 1)
        ResetEntityStates();
    for (CUnit* u : g_pDoc->m_unitList) {
        if (u->deleted || u->role != kRoleDrawing || u->temporary)
            continue;
        if (u->HitTest(p.clickPoint, 1) && u->AppendDirectionRecord(p.clickPoint))
            u->highlighted = u->selected = 1;
    }
    if (g_TrailDirections.IsEmpty()) {
        Print(v, CString(u"#切入点不在实线上"));
        return;
    }
    p.lineEnd = p.clickPoint;
    p.leadInLine = AppendPreviewLine(p.lineStart, p.lineEnd);
    p.trailGroup = GetMaxGroupNumber() + 1;
    g_DirSignList.RemoveAll();
    for (const x_TrailDirectionData& d : g_TrailDirections)
        AddMarker(p.clickPoint, d.angle, d.direction, d.unitId, d.point);
    ++v.m_subStep;
    p.markersShown = 1;
    g_TrailPickPoints[1] = p.lineEnd;
    p.lineStart = p.lineEnd;
    p.rubberPixels[0] = p.rubberPixels[1] = p.rubberPixels[2] = p.rubberPixels[3] = -1;
    for (CUnit* u : g_pDoc->m_unitList) {
        if (u->deleted)
            continue;
        u->selected = u->highlighted = 0;
        if (g_CutMode == 3)
            u->taperAngle = 0.0;
    }
    Prompt(v);
    Render(v);
}

void StepSide(CZorvaView& v, PathPick& p);

// A chain walked to its end: open chains wait for the end point, closed
// ones go on to the side at once.
void ChainWalked(CZorvaView& v, PathPick& p, const x_Vector& chainEnd)
{
    p.branchPick = 0;
    ClearTrailDirections();
    g_DirSignList.RemoveAll();
    p.normalAngle += kPi / 2;
    if (p.normalAngle > kTwoPi)
        p.normalAngle -= kTwoPi;
    p.markersShown = 0;
    g_TrailPickPoints[2] = chainEnd;
    p.lineStart = chainEnd;
    ++v.m_subStep;
    if (!chainEnd.IsEqual(g_TrailPickPoints[1])) {
        const POINT px = WorldToScreen(chainEnd);
        p.rubberPixels[0] = p.rubberPixels[2] = px.x;
        p.rubberPixels[1] = p.rubberPixels[3] = px.y;
        Prompt(v);
        Render(v);
        return;
    }
    p.lineEnd = g_TrailPickPoints[0];
    p.rubberPixels[0] = p.rubberPixels[1] = p.rubberPixels[2] = p.rubberPixels[3] = -1;
    StepSide(v, p);
}

void StepDirection(CZorvaView& v, PathPick& p)
{
    const int index = ChosenMarker(p);
    p.dirCode = 0;
    if (index >= 0 && index < g_DirSignList.GetSize()) {
        const x_DirSignData m = g_DirSignList[index];
        p.markerAngle = m.angle;
        p.dirPoint = m.point;
        p.dirCode = m.direction;
        p.pickedUnit = LiveUnitById(m.unitId);
    }
    if (p.dirCode == 0) {
        CString text;
        text.Format(p.branchPick ? u"轨迹生成->请继续选择方向的路径 (%s)【放弃(U)】" : u"#请选择切割方向 (%s)",
                    MarkerIndices().GetString());
        Print(v, text);
        return;
    }
    p.compSide = g_MachiningSettings.defaultCompSide != 0 ? 2 : 1;
    if (!p.branchPick) {
        p.normalAngle = p.markerAngle;
        p.firstDirPoint = p.dirPoint;
    }
    if (p.pickedUnit == nullptr) {
        Print(v, CString(u"#轨迹生成失败"));
        return;
    }
    x_Vector chainEnd;
    const x_Vector from = p.branchPick ? p.dirPoint : g_TrailPickPoints[1];
    const int r = p.pickedUnit->SplitAtCrossings(0, from, p.dirCode, p.dirCode == 1, chainEnd);
    if (r == 0) {
        Print(v, CString(u"#无法获取该方向的路径"));
        return;
    }
    if (r == 2) {
        p.branchPick = 1;
        p.markersShown = 1;
        Render(v);
        CString text;
        text.Format(u"轨迹生成->请继续选择方向的路径 (%s)【放弃(U)】", MarkerIndices().GetString());
        Print(v, text);
        return;
    }
    ChainWalked(v, p, chainEnd);
}

// The end point (open chains: the click) and the two side markers at the
// first direction's point: code 2 on the left of the cut, code 1 right.
void StepEndPoint(CZorvaView& v, PathPick& p)
{
    // A closed chain leads out to the threading point, whatever chose its
    // direction (a typed one used to send the lead-out to the lead-in point).
    if ((v.m_subStep == 3 || v.m_subStep == 8) && !g_TrailPickPoints[2].IsEqual(g_TrailPickPoints[1]))
        p.lineEnd = p.clickPoint;
    p.leadOutLine = AppendPreviewLine(p.lineStart, p.lineEnd);
    g_TrailPickPoints[3] = p.lineEnd;
    p.trailCompensation = g_MachiningSettings.compensation;
    ClearTrailDirections();
    g_DirSignList.RemoveAll();
    const double angles[2] = {p.normalAngle, p.normalAngle + kPi};
    const int codes[2] = {2, 1};
    for (int i = 0; i < 2; ++i) {
        x_TrailDirectionData d;
        d.angle = angles[i];
        d.point = p.firstDirPoint;
        d.direction = codes[i];
        g_TrailDirections.Add(d);
        AddMarker(p.firstDirPoint, angles[i], codes[i], 0, p.firstDirPoint);
    }
    ++v.m_subStep;
    p.markersShown = 1;
    Prompt(v);
    Render(v);
}

// The side typed as a number n is side n + 1 (0 right of the cut, 1 left);
// a click takes the code of the marker hit, 2 for the first one (+90°).
int ChosenSide(const PathPick& p)
{
    if (p.typedIndex >= 0)
        return p.typedIndex + 1;
    const int index = ChosenMarker(p);
    return index >= 0 && index < g_DirSignList.GetSize() ? g_DirSignList[index].direction : 0;
}

void StepSide(CZorvaView& v, PathPick& p)
{
    if (v.m_subStep == 3 || v.m_subStep == 8) {
        StepEndPoint(v, p);
        return;
    }
    if (p.taperStep == 0) {
        p.compSide = ChosenSide(p);
        if (p.compSide == 0) {
            Print(v, CString(u"#请选择补偿方向(0,1)"));
            return;
        }
        ClearTrailDirections();
        g_DirSignList.RemoveAll();
        if (g_CutMode == 3 && v.m_subStep == 4) {
            for (CUnit* u : g_pDoc->m_unitList) {
                if (u->deleted || !u->selected)
                    continue;
                u->highlighted = 1;
                u->taperAngle = 0.0;
                u->selected = 0;
                u->gripsValid = 0;
            }
            p.taperStep = 1;
            p.markersShown = 0;
            Render(v);
            Prompt(v);
            return;
        }
    } else if (p.taperStep == 1) {
        if (g_CutMode != 3 || v.m_subStep != 4)
            return;
        for (CUnit* u : g_pDoc->m_unitList)
            if (!u->deleted && u->role == kRoleDrawing && u->highlighted)
                u->selected = u->HitTest(p.clickPoint, 0) ? 1 : 0;
        Render(v);
        return;
    }
    p.markersShown = 0;
    if (v.m_subStep == 4) {
        ++g_UnitIdCounter;
        p.trail = new CTrail();
    }
    if (p.trail == nullptr) {
        v.Later([](CZorvaView& w) { w.SetCommand(0); });
        Print(v, CString(u"#生成失败！请检查参数或实线；  code：-1"));
        return;
    }
    const double compensation = g_MachiningSettings.noOffset ? 0.0 : g_MachiningSettings.compensation;
    BuildTrail(v, false, v.m_subStep == 4 ? 0 : 1, compensation);
}

} // namespace

void GenerateTrail(CZorvaView& v)
{
    PathPick& p = v.m_path;
    switch (v.m_subStep) {
    case 0:
    case 5:
        StepThreadingPoint(v, p);
        break;
    case 1:
    case 6:
        StepLeadIn(v, p);
        break;
    case 2:
    case 7:
        StepDirection(v, p);
        break;
    case 3:
    case 8:
    case 4:
    case 9:
        StepSide(v, p);
        break;
    case 10:
        BuildTwoProfileTrail(v);
        break;
    default:
        break;
    }
}
