// View members over the entities: the preview's dirty rectangle, group
// selection of the picked unit and exploding compound pieces.

#include <algorithm>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CUnit.h"
#include "geometry/DrawingSettings.h"
#include "geometry/GeometryState.h"
#include "geometry/view_transform.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPen.h"
#include "platform/ui/CClientDC.h"
#include "view/CZorvaView.h"

void CZorvaView::GrowDirtyRect(int x, int y)
{
    m_dirtyRect.left = std::min<int>(m_dirtyRect.left, x);
    m_dirtyRect.top = std::min<int>(m_dirtyRect.top, y);
    m_dirtyRect.right = std::max<int>(m_dirtyRect.right, x);
    m_dirtyRect.bottom = std::max<int>(m_dirtyRect.bottom, y);
}

bool CZorvaView::SelectSameGroup()
{
    CUnit* picked = m_pPickedUnit;
    if (picked == nullptr || g_pDoc == nullptr || picked->group == 0
        || (picked->pieceOf == 0 && !picked->blockMember))
        return false;
    bool any = false;
    for (CUnit* u : g_pDoc->m_unitList) {
        if (u->deleted || u->group != picked->group || u->role == kRolePath)
            continue;
        u->selected = 1;
        any = true;
    }
    return any;
}

bool CZorvaView::ExplodeSelected()
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return false;
    int count = 0;
    const int n = doc->m_unitList.GetSize();
    for (int i = 0; i < n; ++i) {
        CUnit* u = doc->m_unitList[i];
        if (u->deleted || !u->selected)
            continue;
        if (!((u->GetType() == 1 && u->pieceOf != 0) || u->gearKind))
            continue;
        CUnit* copy = nullptr;
        if (!u->Copy(0, copy) || copy == nullptr)
            continue;
        copy->gearKind = copy->gearHandle = 0;
        copy->toothCount = 0;
        copy->pieceOf = 0;
        copy->group = 0;
        copy->gripsValid = 0;
        doc->RecordDelete(u);
        doc->AppendUnit(copy);
        ++count;
    }
    CString text;
    text.Format(u"分解 (TX)->分解实线数量 %d 条", count);
    PrintLine(text);
    doc->CommitUndoStep(0);
    return count > 0;
}

// Red squares of ±3 pixels at the points the wire-wear dialog marks.
void DrawPointMarkers(CDC* dc)
{
    CBrush brush(RGB(255, 0, 0));
    CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
    CBrush* oldBrush = dc->SelectObject(&brush);
    CPen* oldPen = dc->SelectObject(&pen);
    const int rop = dc->SetROP2(R2_COPYPEN);
    dc->SetBkMode(TRANSPARENT);
    for (int i = 0; i < g_WearMarkers.GetSize(); ++i) {
        const POINT p = WorldToScreen(g_WearMarkers[i]);
        dc->Rectangle(p.x - 3, p.y - 3, p.x + 4, p.y + 4);
    }
    dc->SetROP2(rop);
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
}

// Each shape's own compensation at its mid point, sized with the zoom.
void DrawCompensationLabels(CDC* dc)
{
    if (g_pDoc == nullptr)
        return;
    const double k = std::clamp(g_ViewScale, 1.0, 3.0);
    // Four pixels a unit of k would be too small to read below k = 3.
    constexpr int kSmallestReadable = 12;
    CFont font;
    font.CreateFont(std::max(kSmallestReadable, int(4.0 * k)), 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 2, u"宋体");
    CFont* oldFont = dc->SelectObject(&font);
    const int oldMode = dc->SetBkMode(g_DrawingSettings.backgroundMode);
    const int rop = dc->SetROP2(R2_COPYPEN);
    dc->SetTextColor(RGB(0, 255, 0));
    for (CUnit* u : g_pDoc->m_unitList) {
        if (u->deleted || u->role != 0 || u->compensation == 0.0)
            continue;
        const POINT p = WorldToScreen(u->GetMidPoint());
        CString text;
        text.Format(u"补偿:%.3f mm", u->compensation);
        dc->TextOut(p.x - int(10.0 * k), p.y - int(4.8 * k), text);
    }
    dc->SetROP2(rop);
    dc->SetBkMode(oldMode);
    dc->SelectObject(oldFont);
}

void DrawAngleLabels(CDC* dc)
{
    if (g_pDoc == nullptr)
        return;
    const double k = std::clamp(g_ViewScale, 1.0, 3.0);
    CFont font;
    font.CreateFont(15, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 2, 0, u"Arial");
    CFont* oldFont = dc->SelectObject(&font);
    const int oldMode = dc->SetBkMode(g_DrawingSettings.backgroundMode);
    const int rop = dc->SetROP2(R2_COPYPEN);
    dc->SetTextColor(RGB(0, 255, 0));
    for (CUnit* u : g_pDoc->m_unitList) {
        if (u->deleted || u->role != 0 || !u->highlighted)
            continue;
        const POINT p = WorldToScreen(u->GetMidPoint());
        CString text;
        text.Format(u"%.3f°", u->taperAngle);
        dc->TextOut(p.x - int(10.0 * k), p.y - int(4.8 * k), text);
    }
    dc->SetROP2(rop);
    dc->SetBkMode(oldMode);
    dc->SelectObject(oldFont);
}

void CZorvaView::ShowPointMarkers()
{
    if (g_WearMarkers.IsEmpty() || g_pView == nullptr)
        return;
    CClientDC dc(g_pView);
    DrawPointMarkers(&dc);
}
