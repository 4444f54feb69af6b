// The live preview run by pending action 500: cursor to world, pan, window
// rectangle, object snap, ortho and alignment tracking, the rubber band of
// the running command and the cursor marks. The point it leaves in
// m_cursorPoint is the point of the next click.

#include <cmath>
#include <cstdlib>
#include <mutex>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/View3D.h"
#include "geometry/intersect.h"
#include "geometry/screen_marks.h"
#include "geometry/view_transform.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "view/CZorvaView.h"

namespace {

constexpr int kSnapBoxPixels = 8;       // the pick square around the cursor
constexpr int kTrackPixels = 15;        // alignment tracking catches within this

bool SamePixel(const POINT& a, const POINT& b)
{
    return a.x == b.x && a.y == b.y;
}

bool InSquare(const POINT& a, const POINT& b, int half)
{
    return std::abs(a.x - b.x) <= half && std::abs(a.y - b.y) <= half;
}

bool BoxContains(const CUnit* u, const x_Vector& p, double tol)
{
    return p.x >= u->extentMin.x - tol && p.x <= u->extentMax.x + tol && p.y >= u->extentMin.y - tol
        && p.y <= u->extentMax.y + tol;
}

} // namespace

void CZorvaView::DrawPreview(CDC* dc)
{
    // A snap moves the previewed pixel onto the snap point; the mouse's own
    // pixel counts as previewed too. Before, a press there previewed again,
    // the snap scan ran the other way round, and the click stored another
    // candidate than the marker showed.
    if (SamePixel(m_mousePixel, m_lastPreviewPixel) || SamePixel(m_mousePixel, m_previewedMousePixel))
        return;
    m_cursorPoint = ScreenToWorld(m_mousePixel.x, m_mousePixel.y);
    m_cursorPixel = m_lastPreviewPixel = m_previewedMousePixel = m_mousePixel;
    GrowDirtyRect(m_mousePixel.x, m_mousePixel.y);
    if (PanByPreview())
        return;
    if (g_curCommand == kCmdPathView3D) {
        Rotate3DView();
        return;
    }
    PreviewSelectionWindow(dc);
    if (g_snapOn && !m_offsetArrowsShown && !SnapCursor(dc))
        return;
    if (g_cmdPointCount > 0)
        OrthoAndTrack(dc);
    PreviewRubber(dc);
    m_cursorPixel = WorldToScreen(m_cursorPoint);
    MoveCursorMarks(dc);
    ShowCursorCoords(m_cursorPoint.x, m_cursorPoint.y);
}

bool CZorvaView::PanByPreview()
{
    if (!m_panning)
        return false;
    g_ViewOriginX += m_mousePixel.x - m_panStart.x;
    g_ViewOriginY += m_mousePixel.y - m_panStart.y;
    m_panStart = m_mousePixel;
    UpdateViewCorners();
    RedrawNow();
    return true;
}

// Left drag tilts and turns the 3-D path view, right drag spins it, by a
// fixed step per move in the direction of the movement.
void CZorvaView::Rotate3DView()
{
    constexpr double kDegree = kPi / 180.0;
    const auto sign = [](int v) { return (v > 0) - (v < 0); };
    const int dy = m_dragStart.y - m_mousePixel.y;
    const int dx = m_dragStart.x - m_mousePixel.x;
    if (m_windowSelect) {
        g_View3D.tilt += -4.0 * kDegree * sign(dy);
        g_View3D.turn += -4.0 * kDegree * sign(dx);
    } else if (m_rightHeld) {
        g_View3D.spin += -3.0 * kDegree * sign(dy);
    }
    Update3DViewAngles();
    RedrawNow();
    m_dragStart = m_mousePixel;
}

void CZorvaView::PreviewSelectionWindow(CDC* dc)
{
    if (g_rightButtonState != 0 || !m_windowSelect
        || (g_cmdStep != kStepIdlePick && g_cmdStep != kStepSelect))
        return;
    CPen pen(PS_DOT, 1, RGB(255, 0, 255));
    CPen* old = dc->SelectObject(&pen);
    const int rop = dc->SetROP2(R2_NOTXORPEN);
    if (g_rubberShown)
        DrawSelectionWindow(dc);
    m_secondPoint = m_cursorPoint;
    m_selectionRect.right = m_cursorPixel.x;
    m_selectionRect.bottom = m_cursorPixel.y;
    g_rubberShown = 1;
    DrawSelectionWindow(dc);
    dc->SetROP2(rop);
    dc->SelectObject(old);
}

// Object snap; false when the cursor just left a snap point (the marker is
// erased and the rest of this move's preview is skipped).
bool CZorvaView::SnapCursor(CDC* dc)
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return true;
    m_scanBackwards = m_scanBackwards ? 0 : 1;
    const double tol = PixelsToMm(15);
    const x_Vector cursor = m_cursorPoint;
    x_Vector reference = g_cmdPointCount > 0 ? m_basePoint : cursor;
    const int mode = g_cmdPointCount > 0 ? 2 : 0;
    bool found = false;
    x_Vector snap;
    int kind = 0;
    CUnit* crossing[2] = {};
    int crossingCount = 0;
    {
        std::lock_guard<std::recursive_mutex> lock(doc->m_listMutex);
        const int n = doc->m_unitList.GetSize();
        for (int k = 0; k < n; ++k) {
            CUnit* u = doc->m_unitList[m_scanBackwards ? n - 1 - k : k];
            if (u->deleted || u == m_pFloatUnit)
                continue;
            if (!u->gripsValid)
                u->RefreshCachesAfterDraw();
            if (!BoxContains(u, cursor, tol))
                continue;
            const bool offers = u->role == kRoleDrawing || u->role == kRoleGearHandle || u->role == kRolePath
                || u->temporary;
            x_Vector c = cursor;
            if (!found && offers && u->SnapPoints(reference, c, 0, mode)) {
                found = true;
                snap = u->edit->gripHit;
                kind = u->snapKind;
            }
            if (crossingCount < 2 && u->role == kRoleDrawing && u->GetType() != 11 && !u->hoverShown
                && u->HitTest(cursor, 0))
                crossing[crossingCount++] = u;
        }
    }
    if (crossingCount == 2) {
        const x_VectorList hits = IntersectEntities(crossing[0], crossing[1], 0);
        const POINT cp = WorldToScreen(cursor);
        for (const x_Vector& p : hits.points) {
            if (!p.valid || !InSquare(WorldToScreen(p), cp, kSnapBoxPixels))
                continue;
            const bool keepOld = found
                && (kind == 4 || x_Vector::Distance(snap, cursor) + 0.01 < x_Vector::Distance(p, cursor));
            if (!keepOld) {
                snap = p;
                kind = 4;
                found = true;
            }
            break;
        }
    }
    if (!found) {
        const x_Vector collected = FindCollectedPointAt(cursor);
        if (collected.valid) {
            snap = collected;
            kind = 1;
            found = true;
        } else if (InSquare(WorldToScreen(cursor), {g_ViewOriginX, g_ViewOriginY}, kSnapBoxPixels)) {
            snap = x_Vector(0, 0);
            kind = 1;
            found = true;
        }
    }
    if (found && !OnOrthoLine(snap))
        found = false;
    if (found) {
        m_snapPoint = m_cursorPoint = snap;
        m_snapKind = kind;
        m_snapped = 1;
        m_mousePixel = m_lastPreviewPixel = WorldToScreen(snap);
        MarkSnappedPoint(dc, snap, kind);
        DrawMarkerXor2(kind, snap, dc);
        return true;
    }
    if (m_snapped && !InSquare(WorldToScreen(cursor), WorldToScreen(m_snapPoint), kSnapBoxPixels)) {
        DrawMarkerXor(dc);
        m_snapped = 0;
        // The rest of this move is skipped; the next move or press at this
        // pixel previews again, so a click never uses a stale rubber band.
        m_lastPreviewPixel = m_previewedMousePixel = {-1, -1};
        return false;
    }
    // Still inside the square of the marker on screen: the cursor stays on
    // the point the marker shows.
    if (m_snapped)
        m_cursorPoint = m_snapPoint;
    return true;
}

// While a command takes points, the snapped point of an entity gets a
// reference cross once (alignment tracking starts from such points); kind 6
// takes its cross away again.
void CZorvaView::MarkSnappedPoint(CDC* dc, const x_Vector& snap, int kind)
{
    if (kind == 6) {
        DrawPolylineXor(snap, dc);
        return;
    }
    const bool outlined = kind == 1 || kind == 2 || kind == 3 || kind == 5 || kind == 8;
    if (!outlined || g_curCommand == 0 || g_cmdStep == kStepIdlePick || g_curCommand == kCmdPath)
        return;
    for (int i = 0; i < g_RefPointList.GetSize(); ++i)
        if (g_RefPointList[i] == snap)
            return;
    DrawRubberPolyline(snap, dc);
}

// With the orthogonal hold, a snap point counts only on the held line
// through the first point (exact: the ortho step would move it otherwise).
bool CZorvaView::OnOrthoLine(const x_Vector& snap) const
{
    if (!g_orthoOn || g_cmdPointCount <= 0)
        return true;
    const POINT base = WorldToScreen(m_basePoint);
    const POINT cur = WorldToScreen(m_cursorPoint);
    return std::abs(cur.x - base.x) > std::abs(cur.y - base.y) ? snap.y == m_basePoint.y : snap.x == m_basePoint.x;
}

void CZorvaView::OrthoAndTrack(CDC* dc)
{
    const POINT base = WorldToScreen(m_basePoint);
    const POINT cur = WorldToScreen(m_cursorPoint);
    const int dx = std::abs(cur.x - base.x);
    const int dy = std::abs(cur.y - base.y);
    if (g_orthoOn) {
        // A snap point kept with ortho lies on the held line already.
        if (!m_snapped) {
            if (dx > dy)
                m_cursorPoint.y = m_basePoint.y;
            else
                m_cursorPoint.x = m_basePoint.x;
        }
        m_orthoHeld = 1;
        return;
    }
    const bool parallelModes = g_curCommand == kCmdLine && (g_LineMode == 2 || g_LineMode == 3);
    if (!g_trackOn || m_offsetArrowsShown || parallelModes || m_snapped || !m_basePoint.valid
        || g_cmdStep == kStepIdlePick)
        return;
    m_trackFound = 0;
    auto alignTo = [&](const x_Vector& p) {
        const POINT q = WorldToScreen(p);
        const int ax = std::abs(cur.x - q.x);
        const int ay = std::abs(cur.y - q.y);
        if (ay < kTrackPixels && ax > ay) {
            m_cursorPoint.y = p.y;
        } else if (ax < kTrackPixels && ay > ax) {
            m_cursorPoint.x = p.x;
        } else {
            return false;
        }
        m_trackFound = 1;
        m_trackFrom = p;
        m_trackTo = m_cursorPoint;
        return true;
    };
    if (!alignTo(m_basePoint)) {
        for (int i = 0; i < g_trackPoints.GetSize(); ++i)
            if (alignTo(g_trackPoints[i]))
                break;
    }
    if (m_trackShown) {
        DrawXorSegment(m_trackShownFrom, m_trackShownTo, dc);
        m_trackShown = 0;
    }
    if (m_trackFound) {
        DrawXorSegment(m_trackFrom, m_trackTo, dc);
        m_trackShownFrom = m_trackFrom;
        m_trackShownTo = m_trackTo;
        m_trackShown = 1;
    }
}

void CZorvaView::PreviewRubber(CDC* dc)
{
    if (g_LockSwitch)
        return;
    if (g_cmdStep == kStepPointInput && m_pFloatUnit != nullptr) {
        m_pFloatUnit->InteractiveStep(dc, this, m_cursorPoint);
        return;
    }
    CUnit* dragged = m_pPickedUnit;
    if ((g_cmdStep == kStepGripMove || g_cmdStep == kStepGripStretch) && dragged != nullptr && g_gripEditOn) {
        if (g_cmdStep == kStepGripMove && g_rubberShown && !dragged->gearKind)
            dragged->DrawRubber(dc, m_cursorPoint);
        dragged->InteractiveStep(dc, this, m_cursorPoint);
        if (g_cmdStep == kStepGripStretch && m_joinedUnit != nullptr)
            m_joinedUnit->InteractiveStep(dc, this, m_cursorPoint);
        if (g_cmdStep == kStepGripMove) {
            dragged->DrawRubber(dc, m_cursorPoint);
            g_rubberShown = 1;
            m_dragDelta = m_cursorPoint - dragged->edit->dragStart;
            m_basePoint = dragged->edit->dragStart;
            // The guide line from where the grip was taken to the cursor.
            DrawRubberLine(dragged->edit->dragStart, m_cursorPoint, 0, dc);
            ShowDistanceReadout();
        }
    }
    if (g_cmdStep == kStepSelect)
        PreviewEditRubber(dc);
}

void CZorvaView::MoveCursorMarks(CDC* dc)
{
    DrawCursorMarks(dc);
    DrawCrosshair(dc);
    const bool hideAll = m_snapped && (m_snapKind == 4 || m_snapKind == 6);
    m_cursorCross = hideAll ? POINT{-1, -1} : m_cursorPixel;
    m_pickBox = (m_snapped || hideAll) ? POINT{-1, -1} : m_cursorPixel;
    m_crosshair = m_cursorPixel;
    DrawCursorMarks(dc);
    DrawCrosshair(dc);
}
