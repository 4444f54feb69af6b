// Idle picking (paths before geometry, unselected before selected), the
// selection toggle of Ctrl clicks and the window and crossing selection of
// the left-button release.

#include <algorithm>
#include <cmath>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CLine.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/intersect.h"
#include "geometry/unit_services.h"
#include "geometry/view_transform.h"
#include "platform/gdi/CDC.h"
#include "view/CZorvaView.h"
#include "view/path_order.h"

namespace {

// The four pick passes: unselected paths, selected paths, unselected
// geometry, selected geometry.
bool InPass(const CUnit* u, int pass)
{
    const bool path = u->role == kRolePath;
    const bool wantPath = pass < 2;
    const bool wantSelected = pass % 2 == 1;
    return path == wantPath && (u->selected != 0) == wantSelected;
}

bool PixelInside(const POINT& p, const RECT& r)
{
    return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

} // namespace

void CZorvaView::IdlePick(CDC* dc, x_Vector point)
{
    m_pStepUnit[0] = m_pStepUnit[1] = nullptr;
    m_dragDelta = x_Vector();
    m_pPickedUnit = nullptr;
    m_pickUnit = nullptr;
    m_pickedFlag = 0;
    m_gripDragFlag = 0;
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    if (!g_ctrlDown) {
        for (int pass = 0; pass < 4 && !m_pickedFlag && !m_gripDragFlag; ++pass) {
            for (int i = 0; i < doc->m_unitList.GetSize(); ++i) {
                CUnit* u = doc->m_unitList[i];
                if (u->deleted || !InPass(u, pass))
                    continue;
                u->OnPick(dc, this, point);
                if (m_pickedFlag || m_gripDragFlag)
                    break;
            }
        }
    } else if (!PathOrderClick(point)) {
        TogglePickSelection(dc, point);
    }
    // A pick that selected an entity or started a grip drag changed how
    // entities look (grips shown or cleared): the click ends with a frame.
    if (g_pickMark) {
        g_pickMark = 0;
        g_redrawAfterClick = 1;
    }
    m_pPickedUnit = m_pickUnit;
    m_unitHit = m_pickedFlag;
    m_gripActive = m_gripDragFlag;
    if (g_curCommand == kCmdPath) {
        m_windowSelect = 1;
        if (m_gripActive)
            Render(dc);
        return;
    }
    if (m_gripActive) {
        PrintLine(CString(), 1);
        ShowPrompt(CString(), 2);
    } else if (m_unitHit && m_pPickedUnit != nullptr) {
        if (g_PropertyPanelShown) {
            ResetEntityStates();
            m_pPanelUnit = m_pPickedUnit;
            m_pPanelUnit->selected = m_pPanelUnit->hoverShown = 1;
            RefreshPropertyPanel();
        }
        if (m_pPickedUnit->role == kRolePath)
            AddPathToExportOrder(m_pPickedUnit);
        if (SelectSameGroup())
            Render(dc);
        g_DisplacementMode = 0;
        PrintLine(CString(), 1);
        DescribeEntity();
    } else if (!g_ctrlDown) {
        m_windowSelect = 1;
        m_basePoint = m_secondPoint = point;
        const POINT px = WorldToScreen(point);
        m_selectionRect = {px.x, px.y, px.x, px.y};
    }
}

// Ctrl on a path: the selected paths are put in export order from it.
bool CZorvaView::PathOrderClick(x_Vector point)
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return false;
    for (int i = 0; i < doc->m_unitList.GetSize(); ++i) {
        CUnit* u = doc->m_unitList[i];
        if (u->deleted || u->role != kRolePath || !u->HitTest(point, 0))
            continue;
        FreeTemporaries();
        NumberPathsForExport(u, i);
        m_gripDragFlag = 1;
        RedrawNow();
        return true;
    }
    return false;
}

void CZorvaView::TogglePickSelection(CDC* dc, x_Vector point)
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    for (CUnit* u : doc->m_unitList) {
        if (u->deleted || !u->HitTest(point, 0))
            continue;
        u->selected = u->selected ? 0 : 1;
        if (u->role != kRolePath && u->pieceOf != 0 && u->group != 0) {
            for (CUnit* other : doc->m_unitList)
                if (!other->deleted && other->group == u->group)
                    other->selected = u->selected;
        }
        break;
    }
    Render(dc);
}

void CZorvaView::DrawSelectionWindow(CDC* dc)
{
    const RECT& r = m_selectionRect;
    dc->MoveTo(r.left, r.top);
    dc->LineTo(r.right, r.top);
    dc->LineTo(r.right, r.bottom);
    dc->LineTo(r.left, r.bottom);
    dc->LineTo(r.left, r.top);
}

x_Vector CZorvaView::FindCollectedPointAt(x_Vector point)
{
    const POINT c = WorldToScreen(point);
    const RECT box = {c.x - 8, c.y - 8, c.x + 8, c.y + 8};
    for (int i = 0; i < m_pointsA.GetSize(); ++i)
        if (PixelInside(WorldToScreen(m_pointsA[i]), box))
            return m_pointsA[i];
    return x_Vector(0, 0, 0);
}

void CZorvaView::ShowDistanceReadout()
{
    CString text;
    text.Format(u"距离：%0.4fmm", x_Vector::Distance(m_basePoint, m_cursorPoint));
    SetPromptText(text);
}

namespace {

bool SelectableInPhase(CUnit* u)
{
    if (g_cmdStep == kStepSelect) {
        switch (g_curCommand) {
        case kCmdMove:
        case kCmdRotate:
            return u->role == kRoleDrawing || u->role == kRoleAnnotation;
        case kCmdErase:
            return true;
        case kCmdMirror:
        case kCmdScale:
            return (u->role == kRoleDrawing || u->role == kRoleAnnotation) && !u->gearKind;
        default:
            return u->role == kRoleDrawing;
        }
    }
    return g_curCommand == 0;
}

bool ExtentsInside(CUnit* u, const RECT& r)
{
    if (!u->gripsValid)
        u->RefreshCachesAfterDraw();
    const POINT a = WorldToScreen(u->extentMin);
    const POINT b = WorldToScreen(u->extentMax);
    return PixelInside(a, r) && PixelInside(b, r);
}

bool ToolPointInside(CUnit* u, const RECT& r)
{
    return PixelInside(WorldToScreen(u->inputPoints[0]), r) || PixelInside(WorldToScreen(u->inputPoints[1]), r);
}

} // namespace

void CZorvaView::ApplySelectionWindow()
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    const RECT& s = m_selectionRect;
    const bool crossing = s.right < s.left;
    const RECT r = {std::min(s.left, s.right), std::min(s.top, s.bottom), std::max(s.left, s.right),
                    std::max(s.top, s.bottom)};
    if (r.right == r.left || r.bottom == r.top) {
        RedrawNow();
        return;
    }
    CLine probe;
    probe.geometry.line.p1 = probe.workGeometry.line.p1 = ScreenToWorld(s.left, s.top);
    probe.geometry.line.p2 = probe.workGeometry.line.p2 = ScreenToWorld(s.right, s.bottom);
    probe.RefreshCachesAfterDraw();
    const int n = doc->m_unitList.GetSize();
    for (int i = 0; i < n; ++i) {
        CUnit* u = doc->m_unitList[i];
        if (u->deleted || u->selected)
            continue;
        bool qualifies = u->GetType() == 24 ? ToolPointInside(u, r) : ExtentsInside(u, r);
        if (!qualifies && crossing && u->GetType() != 24)
            qualifies = IntersectEntities(&probe, u, 0).count > 0;
        if (!qualifies || !SelectableInPhase(u))
            continue;
        u->selected = 1;
        if (g_curCommand == 0 && u->pieceOf != 0 && u->GetType() == 1) {
            for (CUnit* other : doc->m_unitList)
                if (!other->deleted && !other->selected && other->GetType() == 1 && other->group == u->group
                    && other->pieceOf == u->pieceOf)
                    other->selected = 1;
        }
    }
    RedrawNow();
}
