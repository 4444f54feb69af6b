// Offset, the queries, and the clicks of paste, explode, erase and array.
//   offset   (a click at the distance step acts as Enter) pick an entity;
//            two arrows show its sides; a click in an arrow (or a typed
//            side) places the equidistant copy
//   queries  point, distance of two points, perimeter, angle, centre
//   paste    the click places the pasted selection (one move record)
//   explode  the click selects the whole shape of a piece
//   erase, array  selection clicks; the right button or Enter acts

#include <cmath>
#include <mutex>

#include "app/AppState.h"
#include "app/CRest.h"
#include "app/CZorvaDoc.h"
#include "geometry/CText.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/path_services.h"
#include "geometry/plane_geometry.h"
#include "geometry/screen_marks.h"
#include "geometry/unit_services.h"
#include "geometry/view_transform.h"
#include "platform/gdi/CDC.h"
#include "view/CZorvaView.h"
#include "view/prompts.h"
#include "view/view_entities.h"

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr int kKeyEnter = 13;

x_DirSignData Arrow(const x_Vector& anchor, double angle, int side)
{
    x_DirSignData a;
    BuildMarkerSymbol(a, anchor, angle);
    a.angle = angle;
    a.candidateKind = side;
    a.point = anchor;
    return a;
}

// The measured distance written at the midpoint: on the screen only, the
// next full frame takes it away.
void DrawDistanceLabel(CDC* dc, const x_Vector& a, const x_Vector& b)
{
    CText label;
    TextRecord& t = label.geometry.text;
    t.position = (a + b) / 2.0;
    t.text.Format(u"%.4f", x_Vector::Distance(a, b));
    t.fontSize = 8;
    t.boxSize = 8;
    label.textStyle = 2;
    label.complete = 1;
    label.temporary = 1;
    label.colour = 0x00FF40;
    const int mode = dc->SetBkMode(TRANSPARENT);
    label.Draw(dc, 1, nullptr);
    dc->SetBkMode(mode);
}

} // namespace

void CZorvaView::ShowOffsetArrows(CDC* dc, CUnit* u)
{
    (void)dc;
    ClearTrailDirections();
    if (!u->AppendDirectionRecord(u->GetStartPoint()) || g_TrailDirections.GetSize() == 0) {
        PrintLine(CString(u"#不支持此类型实线偏移"));
        return;
    }
    u->selected = 1;
    const x_TrailDirectionData record = g_TrailDirections[0];
    m_offsetAnchor = record.point;
    m_offsetAngle = record.angle + kPi / 2;
    if (m_offsetAngle > kTwoPi)
        m_offsetAngle -= kTwoPi;
    ClearTrailDirections();
    g_DirSignList.RemoveAll();
    for (int side : {2, 1}) {
        const double angle = side == 2 ? m_offsetAngle : m_offsetAngle + kPi;
        x_TrailDirectionData d = record;
        d.angle = angle;
        d.direction = side;
        g_TrailDirections.Add(d);
        g_DirSignList.Add(Arrow(m_offsetAnchor, angle, side));
    }
    g_highlightedArrow = -1;
    m_offsetArrowsShown = 1;
    m_subStep = 2;
    m_pPickedUnit = u;
    ShowPrompt(CString(), 0);
    ResetEntityStates();
    u->selected = 1;
    RedrawNow();
}

void CZorvaView::StepOffset(CDC* dc, int inputKind)
{
    const x_Vector p = m_inputPoint;
    if (m_subStep == 0) {
        OnKey(dc, 0, kKeyEnter);
        return;
    }
    if (m_subStep == 1) {
        m_gripActive = 0;
        m_pPickedUnit = nullptr;
        m_offsetSide = 0;
        if (CUnit* u = FirstLiveHit(p, false, true))
            ShowOffsetArrows(dc, u);
        return;
    }
    int side = 0;
    if (inputKind == 0 || inputKind == 1) {
        side = inputKind + 1;
    } else if (const int arrow = DirectionArrowAt(WorldToScreen(p), m_cursorPoint); arrow >= 0) {
        side = g_DirSignList[arrow].candidateKind;
    }
    if (side != 0) {
        ClearTrailDirections();
        g_DirSignList.RemoveAll();
        g_highlightedArrow = -1;
        m_offsetArrowsShown = 0;
    }
    CUnit* u = m_pPickedUnit;
    if (side != 0 && u != nullptr && !u->deleted) {
        m_offsetSide = side;
        u->selected = 0;
        ReleaseFloatingEntity();
        CUnit* out = nullptr;
        if (u->Offset(out, m_offsetDistance, side) && out != nullptr) {
            out->complete = 1;
            out->temporary = 0;
            out->role = kRoleDrawing;
            GetZorvaDoc()->AppendUnit(out);
            PurgeDegenerateEntities(0);
            PrintLine(CString(u"操作完成"));
        } else {
            delete out;
            PrintLine(CString(u"未能创建偏移线"));
        }
        PrintSeparator();
        m_subStep = 1;
        m_pPickedUnit = nullptr;
        ShowPrompt(CString(), 0);
        RedrawNow();
        return;
    }
    if (CUnit* other = FirstLiveHit(p, false, true, true)) {
        ShowOffsetArrows(dc, other);
    } else if (u != nullptr) {
        // The pick and its arrows stay: before, the entity was deselected
        // while its arrows still offered its sides.
        PrintLine(CString(u"#请选择偏移方向"));
    } else {
        m_subStep = 1;
        ShowPrompt(CString(), 0);
        RedrawNow();
    }
}

void CZorvaView::StepQuery(CDC* dc)
{
    const x_Vector p = m_inputPoint;
    CString line;
    switch (g_curCommand) {
    case kCmdQueryPoint:
        line.Format(u"坐标点： X = %.4f , Y = %.4f", p.x, p.y);
        PrintLine(line);
        PrintSeparator();
        DrawRubberPolyline(p, dc);
        return;
    case kCmdQueryDistance:
        if (m_subStep == 0) {
            m_basePoint = p;
            m_subStep = 1;
            RedrawNow();
            DrawCyanGrip(p, dc);
            return;
        }
        line.Format(u"两点距离： %.4f mm  ; 坐标：P1(%.4f , %.4f) P1(%.4f , %.4f)", x_Vector::Distance(m_basePoint, p),
                    m_basePoint.x, m_basePoint.y, p.x, p.y);
        PrintLine(line);
        PrintSeparator();
        DrawCyanGrip(p, dc);
        DrawRubberLineAlt(m_basePoint, p, dc);
        DrawDistanceLabel(dc, m_basePoint, p);
        m_subStep = 0;
        return;
    default:
        break;
    }
    ResetEntityStates();
    CZorvaDoc* doc = GetZorvaDoc();
    CUnit* u = FirstLiveHit(p, false, true);
    if (doc == nullptr || u == nullptr)
        return;
    const int type = u->GetType();
    if (g_curCommand == kCmdQueryPerimeter) {
        double sum = u->GetLength();
        if (u->group >= 1) {
            sum = 0.0;
            for (CUnit* o : doc->m_unitList) {
                if (o->deleted || o->GetType() != type || o->group != u->group)
                    continue;
                sum += o->GetLength();
                o->selected = 1;
            }
        }
        u->selected = 1;
        line.Format(u"周长： %.4f mm  %s", sum, CommandShortName(type, 0).GetString());
    } else if (g_curCommand == kCmdQueryAngle) {
        if (type == 1) {
            const double a = x_Vector::AngleTo(u->GetStartPoint(), u->GetEndPoint());
            line.Format(u"角度： %.4f° %s", a * kDegreesPerRadian, CommandShortName(type, 0).GetString());
        } else if (type == 8) {
            line.Format(u"弧度： %.4f° %s", SweepAngle(u->geometry.arc) * kDegreesPerRadian,
                        CommandShortName(type, 0).GetString());
        } else {
            return;
        }
        u->selected = 1;
    } else {
        const bool centred = (type == 1 && u->pieceOf != 0) || type == 5 || type == 6 || type == 7 || type == 8;
        if (!centred)
            return;
        u->UpdateGripPoints();
        // A piece's centre is its shape's, which the grip rebuild keeps.
        x_Vector c = u->refPoint;
        if (type == 5 || type == 6)
            c = u->geometry.ellipse.centre;
        else if (type == 7)
            c = u->geometry.circle.centre;
        else if (type == 8)
            c = u->geometry.arc.centre;
        u->selected = 1;
        line.Format(u"中心点： X = %.4f , Y = %.4f    %s", c.x, c.y, CommandShortName(type, 0).GetString());
        RedrawNow();
        PrintLine(line);
        PrintSeparator();
        const POINT px = WorldToScreen(c);
        DrawGripBox(dc, px.x, px.y);
        return;
    }
    PrintLine(line);
    PrintSeparator();
    RedrawNow();
}

void CZorvaView::StepPasteOrExplode(CDC* dc)
{
    const x_Vector p = m_inputPoint;
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    switch (g_curCommand) {
    case kCmdErase:
        SelectionClick(dc, p, 2, true);
        return;
    case kCmdArray:
        SelectionClick(dc, p, 0, true);
        return;
    case kCmdExplode: {
        CUnit* u = FirstLiveHit(p, false, true);
        if (u != nullptr && u->GetType() == 1 && u->pieceOf != 0 && u->gearKind == 0) {
            u->hoverShown = 0;
            m_pPickedUnit = u;
            for (CUnit* o : doc->m_unitList)
                if (!o->deleted && o->group == u->group && o->role != kRolePath)
                    o->selected = 1;
            RedrawNow();
        } else {
            PrintLine(CString(u"#不支持此类型的分解"));
        }
        return;
    }
    default:
        break;
    }
    // Paste: the selection takes the moved working copies the preview left.
    EraseRubberLine(dc);
    ShowDistanceReadout();
    std::lock_guard<std::recursive_mutex> lock(doc->m_listMutex);
    CRest* rest = nullptr;
    for (CUnit* u : doc->m_unitList) {
        if (u->deleted || !u->selected || u->role != kRoleDrawing)
            continue;
        // Copies made by this paste are recorded as created, not moved: as a
        // move, undo left them on top of their sources.
        const bool fresh = !u->complete;
        u->complete = 1;
        u->CommitTransform();
        u->gripsValid = 0;
        if (fresh)
            continue;
        if (rest == nullptr) {
            doc->PrepareUndoStep();
            rest = new CRest;
            rest->m_flags = CRest::kMove;
            rest->m_displacement = u->edit->moveDelta;
        }
        rest->Add(u);
    }
    if (rest != nullptr)
        AppendToObArray(rest, doc->m_restList);
    PurgeDegenerateEntities(0);
    ClearOutput();
    ResetEntityStates();
    SetCommand(0);
}
