// The one entry through which an input point (click, typed point, right
// button finisher) advances the running command: phase rules, automatic
// completion, counting, idle picking and the drawing-command dispatch.

#include <mutex>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/screen_marks.h"
#include "geometry/unit_services.h"
#include "geometry/view_transform.h"
#include "view/CZorvaView.h"

void CZorvaView::StepCommand(CDC* dc, int inputKind)
{
    m_inputPoint = m_cursorPoint;
    if (inputKind != 2)
        m_lastInputPoint = m_cursorPoint;
    m_commandDone = 0;
    m_markInputPoint = 0;
    m_pendingMarkSet = 0;
    // The rubber curve of a spline being drawn is XOR over the frame, and
    // no frame is drawn between its clicks: once the flag drops, the curve
    // of the last move stayed on the screen.
    if (g_rubberShown && g_cmdStep == kStepPointInput && g_curCommand == kCmdSpline && m_pFloatUnit != nullptr)
        m_pFloatUnit->DrawRubber(dc, m_cursorPoint);
    g_rubberShown = 0;
    DrawGuideLine(dc);
    EraseRubberLine(dc);
    if (m_trackShown) {
        DrawXorSegment(m_trackShownFrom, m_trackShownTo, dc);
        m_trackShown = 0;
    }
    switch (g_cmdStep) {
    case kStepIdlePick:
        g_cmdPointCount = 0;
        break;
    case kStepPointInput:
        if (RefuseDegenerateEllipseClick() || !AutoComplete())
            return;
        break;
    case kStepGripMove:
    case kStepGripStretch:
        if (m_workerRequest.load() != 0) {
            PrintLine(CString(u"#请等待线程处理完成..."));
            return;
        }
        g_cmdPointCount = -1;
        if (m_gripActive)
            CommitGripDrag();
        g_cmdStep = kStepIdlePick;
        break;
    default:
        break;
    }
    if (m_commandDone) {
        if (m_pFloatUnit != nullptr)
            PlaceFloatingEntity();
        return;
    }
    const x_Vector p = m_inputPoint;
    ++g_cmdPointCount;
    m_unitHit = m_gripActive = 0;
    const bool batchPick = g_curCommand == kCmdPath && g_batchContourPick;
    if ((g_cmdPointCount == 1 && g_cmdStep == kStepPointInput) || batchPick) {
        m_pointsA.Add(p);
        m_basePoint = m_secondPoint = p;
        m_firstPoint = p;
        const POINT px = WorldToScreen(p);
        m_selectionRect = {px.x, px.y, px.x, px.y};
    }
    if ((g_curCommand == 0 && g_cmdPointCount == 1 && g_cmdStep == kStepIdlePick) || batchPick) {
        // Picking marks and numbers entities the worker may be walking.
        if (m_workerRequest.load() != 0) {
            PrintLine(CString(u"#请等待线程处理完成..."));
            return;
        }
        IdlePick(dc, p);
        return;
    }
    if (g_cmdStep == kStepSelect) {
        g_inputPoints.Add(p);
        if (g_LockSwitch) {
            PrintLine(CString(u"#锁定开关已开启，无法操作"));
            return;
        }
        StepEditCommand(dc, inputKind);
        return;
    }
    if (g_cmdStep == kStepPointInput) {
        if (g_LockSwitch) {
            PrintLine(CString(u"#锁定开关已开启，无法操作"));
            return;
        }
        g_inputPoints.Add(p);
        StepDrawingCommand(dc);
    }
}

// Automatic completion, tested on the count before this point is counted;
// false when the point must not be used at all.
bool CZorvaView::AutoComplete()
{
    const int count = g_cmdPointCount;
    bool done = false;
    switch (g_curCommand) {
    case kCmdRectangle:
    case kCmdPolygon:
    case kCmdDimCircle:
        done = count >= 1;
        break;
    case kCmdEllipse:
    case kCmdArc:
    case kCmdDimAligned:
    case kCmdDimLinear:
    case kCmdDimArc:
    case kCmdDimAngle:
        done = count >= 2;
        break;
    case kCmdEllipseArc:
        done = count >= 4;
        if (done && m_pFloatUnit != nullptr)
            m_pFloatUnit->SetEndFromPoint(m_inputPoint);
        break;
    case kCmdCircle:
        done = count >= (g_CircleMode == 2 ? 2 : 1);
        break;
    case kCmdWaveLine:
        done = count >= 1;
        break;
    case kCmdToolPoint:
        if (count == -1) {
            // The replace question is still open: the point is not used.
            return false;
        }
        done = count >= 1;
        if (done && m_pFloatUnit != nullptr) {
            m_pFloatUnit->role = kRoleCutPoint;
            m_pFloatUnit->inputPoints[1] = m_inputPoint;
            PrintSeparator();
            PrintLine(CString(u"操作完成"));
        }
        break;
    default:
        break;
    }
    if (done) {
        g_cmdPointCount = -1;
        m_commandDone = 1;
    }
    return true;
}

void CZorvaView::PlaceFloatingEntity()
{
    CUnit* unit = m_pFloatUnit;
    unit->selected = 0;
    unit->hoverShown = 0;
    unit->CommitTransform();
    unit->complete = 1;
    CZorvaDoc* doc = GetZorvaDoc();
    if (!PlaceShapeAsPieces() && doc != nullptr)
        doc->AppendUnit(unit);
    PurgeDegenerateEntities(0);
    g_cmdPointCount = 0;
    SetCommand(0);
}

void CZorvaView::CommitGripDrag()
{
    CZorvaDoc* doc = GetZorvaDoc();
    CUnit* picked = m_pPickedUnit;
    if (doc == nullptr || picked == nullptr)
        return;
    auto commitMove = [&](CUnit* u) {
        u->CommitTransform();
        doc->RecordTransformAt(u->listIndex, m_dragDelta);
    };
    const bool move = g_cmdStep == kStepGripMove;
    if (move) {
        if (m_joinedUnit != nullptr && picked->GetType() == 1)
            commitMove(m_joinedUnit);
        if ((picked->pieceOf != 0 || picked->blockMember) && picked->group != 0) {
            for (CUnit* u : doc->m_unitList)
                if (!u->deleted && u->group == picked->group && u->role != kRolePath)
                    commitMove(u);
        } else {
            commitMove(picked);
        }
    } else {
        if (m_joinedUnit != nullptr && picked->GetType() == 1)
            doc->RecordDeleteObject(m_joinedUnit);
        doc->RecordDeleteObject(picked);
    }
    PurgeDegenerateEntities(move ? 2 : 0);
    ResetEntityStates();
    RedrawNow();
    m_pPickedUnit = nullptr;
}

void CZorvaView::NewFloating(CUnit* unit)
{
    ReleaseFloatingEntity();
    m_pFloatUnit = unit;
}

void CZorvaView::StepDrawingCommand(CDC* dc)
{
    switch (g_curCommand) {
    case kCmdLine:
        if (g_LineMode == 2 || g_LineMode == 3)
            StepParallelLine(dc);
        else
            StepLineOrPolyline(dc);
        return;
    case kCmdPolyline:
        if (m_polyArcMode)
            StepPolylineArc(dc);
        else
            StepLineOrPolyline(dc);
        return;
    case kCmdCircle:
        StepCircle(dc);
        break;
    case kCmdArc:
        StepArc(dc);
        break;
    case kCmdToolPoint:
        StepToolPoint(dc);
        break;
    case kCmdRectangle:
        StepRectangle(dc);
        break;
    case kCmdPolygon:
        StepPolygon(dc);
        break;
    case kCmdEllipse:
    case kCmdEllipseArc:
        StepEllipse(dc);
        break;
    case kCmdSpline:
        StepSpline(dc);
        break;
    case kCmdWaveLine:
        StepWaveLine(dc);
        break;
    case kCmdText:
        StepText(dc);
        return;
    case kCmdDimAligned:
    case kCmdDimLinear:
    case kCmdDimCircle:
    case kCmdDimArc:
    case kCmdDimAngle:
    case kCmdAuxLine:
    case kCmdCentreLine:
        StepDimension(dc);
        return;
    default:
        return;
    }
    CommonStepTail(dc);
}

void CZorvaView::MarkInputPoint(CDC* dc, const x_Vector& point)
{
    DrawFilledGrip(point, dc);
    m_pendingMark = point;
    m_pendingMarkSet = 1;
}

void CZorvaView::CommonStepTail(CDC* dc)
{
    ++m_subStep;
    ShowPrompt(CString(), 2);
    if (g_cmdStep == kStepPointInput && g_cmdPointCount == 1 && m_pFloatUnit != nullptr) {
        m_pFloatUnit->inputPoints[0] = m_basePoint;
        m_pFloatUnit->inputPoints[1] = m_secondPoint;
    }
    if (m_markInputPoint) {
        m_inputMarkShown = 1;
        MarkInputPoint(dc, m_inputPoint);
    }
}
