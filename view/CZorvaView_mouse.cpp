// Mouse handlers of the view (moves, buttons), zoom about a pixel, the
// dash rescale after a zoom and the keyboard hand-off.

#include <cmath>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/unit_services.h"
#include "geometry/view_transform.h"
#include "platform/core/exceptions.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/cursors.h"
#include "view/CZorvaView.h"
#include "view/view_entities.h"

BOOL CZorvaView::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_MBUTTONUP) {
        m_rightHeld = 0;
        m_panning = 0;
        g_keyDownSeen = 0;
    } else if (msg->message == WM_KEYDOWN) {
        g_keyDownSeen = 1;
    }
    return CScrollView::PreTranslateMessage(msg);
}

void CZorvaView::OnKeyUp(UINT, UINT, UINT)
{
    g_keyDownSeen = 0;
}

BOOL CZorvaView::OnSetCursor(CWnd*, UINT, UINT)
{
    // The view draws its own cursor cross; the arrow only for the popup.
    ::SetCursor(g_rightButtonState == 10 ? LoadCursor(nullptr, IDC_ARROW) : nullptr);
    return TRUE;
}

void CZorvaView::OnMouseMove(UINT, CPoint point)
{
    if (g_listBusy)
        return;
    // The latest pixel is always kept: the coalesced preview and the next
    // click must see where the mouse is now, not where the burst began.
    m_mousePixel = {point.x, point.y};
    if (!m_redrawPending)
        ArmPendingAction(kActionPreview, 1);
}

// A press in the view takes the keyboard focus with it; the keys typed next
// belong to the command line. Before, a click that changed no step (a trim
// pick that missed) left them in the view, where letters went nowhere.
void CZorvaView::KeepKeysWithCommandLine()
{
    if (g_commandBar == nullptr)
        return;
    CWnd* edit = g_commandBar->GetDlgItem(kIdCommandEdit);
    if (edit != nullptr && CWnd::GetFocus() != edit)
        edit->SetFocus();
}

void CZorvaView::OnLButtonDown(UINT, CPoint point)
{
    KeepKeysWithCommandLine();
    g_listBusy = 0;
    if (g_curCommand == kCmdPathView3D) {
        m_mousePixel = {point.x, point.y};
        m_windowSelect = 1;
        m_dragStart = m_mousePixel;
        return;
    }
    if (m_clickBusy || g_rightButtonState != 0) {
        m_clickBusy = 0;
        return;
    }
    m_clickBusy = 1;
    try {
        CClientDC dc(this);
        m_mousePixel = {point.x, point.y};
        // A press away from the last previewed pixel (no move came first, or
        // the preview is still queued) previews that pixel before the step;
        // the preview itself skips a pixel it has seen.
        DrawPreview(&dc);
        StepCommand(&dc, -1);
        if (g_redrawAfterClick)
            Render(&dc);
    } catch (const CException&) {
        // The step is abandoned; the view keeps its state.
        return;
    }
    m_clickBusy = 0;
}

void CZorvaView::OnLButtonUp(UINT, CPoint)
{
    if (g_rightButtonState == 10 && g_curCommand == 0) {
        m_panning = m_rightHeld = m_windowSelect = m_redrawPending = 0;
        g_rightButtonState = 0;
        SetCommand(0);
        return;
    }
    g_rightButtonState = 0;
    m_clickBusy = 0;
    m_redrawPending = 0;
    if (m_pathsOnly) {
        m_pathsOnly = 0;
        PrintLine(CString(), 1);
    }
    if (m_windowSelect && g_curCommand != kCmdPathView3D)
        ApplySelectionWindow();
    m_panning = m_rightHeld = m_windowSelect = 0;
}

void CZorvaView::OnRButtonDown(UINT, CPoint point)
{
    KeepKeysWithCommandLine();
    m_rightHeld = 1;
    if (g_curCommand == kCmdPathView3D)
        m_dragStart = {point.x, point.y};
    m_clickBusy = 0;
}

void CZorvaView::OnMButtonDown(UINT, CPoint point)
{
    KeepKeysWithCommandLine();
    m_panStart = {point.x, point.y};
    m_clickBusy = 0;
    m_panning = 1;
}

void CZorvaView::OnMButtonUp(UINT, CPoint)
{
    m_clickBusy = m_panning = m_windowSelect = m_rightHeld = 0;
}

void CZorvaView::ZoomAt(int direction, int x, int y)
{
    m_clickBusy = 0;
    if (m_redrawPending)
        return;
    m_redrawPending = 1;
    if (g_curCommand == 0 && (g_cmdStep == kStepPointInput || g_cmdStep == kStepSelect))
        g_cmdStep = kStepIdlePick;
    const double scale = ClampViewScale();
    const int u = g_ViewOriginX - x;
    const int v = g_ViewOriginY - y;
    double factor = 0.0;
    if (direction == 1 && scale > kMinViewScale)
        factor = 0.6;
    else if (direction != 1 && scale < kMaxViewScale)
        factor = 1.4;
    if (factor == 0.0) {
        m_redrawPending = 0;
        return;
    }
    g_ViewScale = scale * factor;
    // Held in range: zooming in far from the origin used to overflow it.
    g_ViewOriginX = ClampViewOrigin(x + u * factor);
    g_ViewOriginY = ClampViewOrigin(y + v * factor);
    ArmPendingAction(kActionRescale, 1);
}

void CZorvaView::UpdateDashLengths()
{
    UpdateGlyphSizes();
}

void CZorvaView::OnRButtonUp(UINT, CPoint point)
{
    m_clickBusy = m_panning = m_windowSelect = m_rightHeld = 0;
    if (g_curCommand != 0 && g_curCommand != kCmdPathView3D)
        RightButtonInCommand();
    else
        RightButtonAtRest(point);
}

void CZorvaView::RightButtonInCommand()
{
    const auto editText = [] {
        CString text;
        if (g_commandBar != nullptr)
            g_commandBar->GetDlgItemText(kIdCommandEdit, text);
        text.Trim();
        return text;
    };
    const auto nextSubStep = [this] {
        ++m_subStep;
        ShowPrompt(CString(), 2);
    };
    switch (g_curCommand) {
    case kCmdSpline:
        if (g_cmdPointCount >= 2 && m_pFloatUnit != nullptr) {
            if (GetCommandMode(kCmdSpline - 1) == 1) {
                CloseSpline();
            } else {
                m_pFloatUnit->nodes.Add(m_cursorPoint);
                EndPointInput();
                SetCommand(0);
            }
            return;
        }
        break;
    case kCmdWaveLine:
    case kCmdOffset:
        if (m_subStep == 0 && !editText().IsEmpty()) {
            DispatchKey(13);
            return;
        }
        if (g_curCommand == kCmdOffset && m_subStep == 2) {
            m_subStep = 1;
            g_TrailDirections.RemoveAll();
            g_DirSignList.RemoveAll();
            ShowPrompt(CString(), 2);
            ResetEntityStates();
            RedrawNow();
            return;
        }
        break;
    case kCmdMove:
    case kCmdRotate:
    case kCmdScale:
        if (m_subStep == 0 && CountSelectedUnits(1) > 0) {
            nextSubStep();
            return;
        }
        break;
    case kCmdMirror:
        if (m_subStep == 0) {
            DeselectNonGeometry();
            if (CountSelectedUnits(0) > 0) {
                nextSubStep();
                return;
            }
        } else if (m_subStep >= 3) {
            CompleteMirror(editText());
            return;
        }
        break;
    case kCmdExtend:
        if (m_subStep == 0 && CountSelectedUnits(0) > 0) {
            nextSubStep();
            return;
        }
        break;
    case kCmdAlign:
        if (m_subStep == 0) {
            if (CountSelectedUnits(0) > 0)
                ++m_subStep;
            ShowPrompt(CString(), 2);
            return;
        }
        break;
    case kCmdPath: {
        CClientDC dc(this);
        if (PathRightButton(&dc))
            return;
        break;
    }
    default:
        break;
    }
    CancelCommand();
}

// Mirror ends with the answer in the command edit: "y" keeps the sources.
void CZorvaView::CompleteMirror(const CString& answer)
{
    if (answer == CString(u"y") || answer == CString(u"Y"))
        DuplicateSelectionInPlace();
    ReplaceSelectionByCopies(kCmdMirror, m_basePoint, m_secondPoint, 0.0);
}

void CZorvaView::RightButtonAtRest(CPoint point)
{
    if (ConfirmExportPick())
        return;
    bool anySelected = false;
    if (g_pDoc != nullptr)
        for (CUnit* u : g_pDoc->m_unitList)
            anySelected = anySelected || (!u->deleted && u->selected);
    if (anySelected) {
        m_rightClickCount = 1;
        if (g_cmdStep != kStepIdlePick) {
            CancelCommand();
            return;
        }
        if (g_RightMenuOn) {
            m_rightClickCount = 0;
            ShowRightButtonMenu(POINT{point.x, point.y});
            return;
        }
        ResetEntityStates();
        RedrawNow();
        return;
    }
    if (g_cmdStep != kStepIdlePick) {
        CancelCommand();
        return;
    }
    RepeatRule();
}

void CZorvaView::RepeatRule()
{
    if (m_repeatCommand == 0 || m_rightClickCount > 0) {
        if (m_rightClickCount > 0)
            --m_rightClickCount;
        ResetEntityStates();
        RedrawNow();
        return;
    }
    g_cmdSubFlag = static_cast<std::uint8_t>(m_repeatSubFlag);
    g_lastCommand = m_repeatCommand;
    SetCommand(m_repeatCommand);
}
