// Small operations of the command line: the parser of typed values, the end
// of point input, cancel (Esc), the internal clipboard, the closing of a
// spline, the freeing of temporaries and the erase of the selection. None
// of them touches the system clipboard.

#include <algorithm>
#include <mutex>

#include "app/AppState.h"
#include "app/CSplitStr.h"
#include "app/CZorvaDoc.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/text_utils.h"
#include "geometry/unit_services.h"
#include "platform/core/CStringArray.h"
#include "platform/ui/CClientDC.h"
#include "view/CZorvaView.h"
#include "view/view_entities.h"

namespace {

constexpr double kSameNode = 0.01;      // mm: the spline's repeated-click rule

// Live, solid, placed and accepted: what cut and copy take.
bool Eligible(const CUnit* u)
{
    return !u->deleted && u->role == kRoleDrawing && u->complete && !u->temporary;
}

bool WorkerRefuses(CZorvaView* view)
{
    if (view->m_workerRequest.load() == 0)
        return false;
    view->PrintLine(CString(u"#请等待线程处理完成..."));
    return true;
}

bool InClipboard(const CArray<std::uint64_t>& ids, std::uint64_t id)
{
    for (int i = 0; i < ids.GetSize(); ++i)
        if (ids[i] == id)
            return true;
    return false;
}

} // namespace

int CZorvaView::ParseTypedValues(const CString& text, double values[4])
{
    if (text.IsEmpty())
        return -1;
    CSplitStr splitter;
    splitter.SetSeparator(CString(u","));
    splitter.SetText(text);
    CStringArray pieces;
    splitter.Split(pieces);
    const int n = std::min(4, static_cast<int>(pieces.GetSize()));
    int count = 0;
    for (int i = 0; i < n; ++i) {
        const CString piece = TrimString(pieces[i]);
        if (!IsNumberText(piece))
            break;
        values[count++] = TextToDouble(piece);
    }
    return count;
}

void CZorvaView::EndPointInput()
{
    CUnit* unit = m_pFloatUnit;
    CZorvaDoc* doc = GetZorvaDoc();
    if (g_cmdPointCount < 1 || unit == nullptr || doc == nullptr)
        return;
    m_subStep = 0;
    unit->flatValid = 0;
    unit->selected = 0;
    unit->highlighted = 0;
    unit->complete = 1;
    g_cmdPointCount = 0;
    doc->AppendUnit(unit);
    if (g_curCommand == kCmdEllipseArc || g_curCommand == kCmdArc || g_curCommand == kCmdSpline) {
        CClientDC dc(this);
        unit->Draw(&dc, 0, nullptr);
    }
    PurgeDegenerateEntities(0);
}

void CZorvaView::CancelCommand()
{
    // Before, Esc freed the temporaries the worker was walking.
    if (m_workerRequest.load() != 0) {
        StopPathGeneration();
        m_endAfterWorker = 1;
        return;
    }
    if (CZorvaDoc* doc = GetZorvaDoc())
        doc->FreeUnits([](const CUnit* u) { return !u->complete || u->temporary; });
    if (g_rightButtonState == 10) {
        g_rightButtonState = 0;
        ResetEntityStates();
        RedrawNow();
        return;
    }
    if (m_pathsOnly) {
        m_pathsOnly = 0;
        PrintLine(CString(), 1);
    }
    m_clipboardMode = 0;
    g_TrailRunFlag = 0;
    m_unitIds.RemoveAll();
    g_cmdPointCount = 0;
    g_keyDownSeen = 1;
    ResetEntityStates();
    if (g_curCommand != kCmdArray) {
        if (g_curCommand != 0 || m_clearOnCancel)
            ClearOutput();
        SetCommand(0);
    }
    m_clearOnCancel = 0;
    RedrawNow();
}

int CountSelectedUnits(int filter)
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr || (filter != 0 && filter != 1))
        return 0;
    int n = 0;
    for (CUnit* u : doc->m_unitList)
        if (!u->deleted && u->selected && (u->role == kRoleDrawing || (filter == 1 && u->role == kRoleAnnotation)))
            ++n;
    return n;
}

void CZorvaView::CutSelected()
{
    FillClipboard(2);
}

void CZorvaView::CopySelected()
{
    FillClipboard(1);
}

void CZorvaView::FillClipboard(std::uint8_t mode)
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (WorkerRefuses(this) || doc == nullptr)
        return;
    m_clearOnCancel = 1;
    m_clipboardMode = mode;
    m_unitIds.RemoveAll();
    doc->m_tempList.RemoveAll();
    for (CUnit* u : doc->m_unitList)
        if (Eligible(u) && u->selected)
            m_unitIds.Add(u->unitId);
    CString text;
    text.Format(mode == 2 ? u"剪切->找到实线 %d 个" : u"复制->找到实线 %d 个", static_cast<int>(m_unitIds.GetSize()));
    PrintLine(text, 1);
    RedrawNow();
}

void CZorvaView::PasteClipboard()
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (WorkerRefuses(this) || m_clipboardMode == 0 || doc == nullptr)
        return;
    m_basePoint = m_cursorPoint;
    m_clearOnCancel = 1;
    m_subStep = 0;
    ResetEntityStates();
    if (m_clipboardMode == 1)
        PasteCopies(*doc);
    else
        for (CUnit* u : doc->m_unitList)
            if (!u->deleted)
                u->selected = Eligible(u) && InClipboard(m_unitIds, u->unitId) ? 1 : 0;
    m_subStep = 1;
    g_cmdPointCount = 1;
    m_pasteBaseMarked = 0;
    m_clipboardMode = 0;
    g_lastCommand = g_curCommand = kCmdPaste;
    g_cmdStep = kStepSelect;
    ShowPrompt(CString(), 0);
    RedrawNow();
}

// Copies the clipboard's entities as unplaced, selected units. A group g
// becomes 2M - g with M above every group, so the pieces of one shape stay
// together and two shapes stay apart.
void CZorvaView::PasteCopies(CZorvaDoc& doc)
{
    const int m = GetMaxGroupNumber() + 1;
    const int before = doc.m_unitList.GetSize();
    for (int i = 0; i < before; ++i) {
        CUnit* u = doc.m_unitList[i];
        if (u->deleted)
            continue;
        u->selected = 0;
        if (!Eligible(u) || !InClipboard(m_unitIds, u->unitId))
            continue;
        ++g_UnitIdCounter;
        CUnit* copy = nullptr;
        if (!u->Copy(0, copy) || copy == nullptr)
            continue;
        copy->group = u->group != 0 ? 2 * m - u->group : 0;
        copy->role = u->role;
        copy->gearKind = u->gearKind;
        copy->toothCount = u->toothCount;
        copy->pieceOf = u->pieceOf;
        copy->complete = 0;
        copy->selected = 1;
        doc.AppendUnit(copy);
    }
}

void ClearCommandEdit()
{
    if (g_commandBar == nullptr)
        return;
    g_commandBar->SetDlgItemText(kIdCommandEdit, CString());
    if (CWnd* edit = g_commandBar->GetDlgItem(kIdCommandEdit))
        edit->SetFocus();
}

bool CZorvaView::CloseSpline()
{
    CUnit* spline = m_pFloatUnit;
    CZorvaDoc* doc = GetZorvaDoc();
    if (spline == nullptr || doc == nullptr || spline->keyPoints.GetSize() < 3)
        return false;
    spline->flatValid = 0;
    spline->geometry.spline.closed = 1;
    spline->workGeometry.spline.closed = 1;
    // The cursor closes the curve as its last node, unless it repeats the
    // last node (typed points leave the cursor there) or the first one (the
    // closing chord already runs there).
    const int n = spline->nodes.GetSize();
    const bool repeats = n > 0
        && (x_Vector::Distance(m_cursorPoint, spline->nodes[n - 1]) < kSameNode
            || x_Vector::Distance(m_cursorPoint, spline->nodes[0]) < kSameNode);
    if (!repeats)
        spline->nodes.Add(m_cursorPoint);
    spline->complete = 1;
    spline->keyPoints.Copy(spline->nodes);
    spline->RebuildCurve(0);
    spline->flatPoints.Copy(spline->workCurve);
    doc->AppendUnit(spline);
    PurgeDegenerateEntities(0);
    SetCommand(0);
    return true;
}

void CZorvaView::FreeTemporaryUnits(int first)
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    std::lock_guard<std::recursive_mutex> lock(doc->m_listMutex);
    g_listBusy = 1;
    if (m_pFloatUnit != nullptr && m_pFloatUnit->temporary && m_pFloatUnit->role == kRoleDrawing)
        m_pFloatUnit = nullptr;
    doc->FreeUnitsFrom(first, [](const CUnit* u) { return u->temporary && u->role == kRoleDrawing; });
    g_listBusy = 0;
}

// Temporaries are left out of the undo step: they are freed below, and a
// record of them would point at freed units.
void CZorvaView::EraseSelected()
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (WorkerRefuses(this) || doc == nullptr)
        return;
    int n = 0;
    for (int i = 0; i < doc->m_unitList.GetSize(); ++i) {
        CUnit* u = doc->m_unitList[i];
        if (u->deleted || !u->selected || u->temporary)
            continue;
        doc->RecordDeleteAt(i);
        ++n;
    }
    if (n > 0) {
        CString text;
        text.Format(u"擦除 (TD)->删除对象 %d 个", n);
        PrintLine(text, 0);
    }
    {
        std::lock_guard<std::recursive_mutex> lock(doc->m_listMutex);
        g_listBusy = 1;
        doc->FreeUnits([](const CUnit* u) { return u->temporary != 0; });
        g_listBusy = 0;
    }
    RedrawNow();
    PurgeDegenerateEntities(0);
}
