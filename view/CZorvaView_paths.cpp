// Command 66 on the GUI side: publishing a click to the worker, taking its
// output back, the batch start, the overlays of path generation, the
// export order of clicked paths and the ".dcx" writer hand-over.

#include <algorithm>
#include <cmath>
#include <mutex>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/path_services.h"
#include "geometry/CLine.h"
#include "geometry/CText.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/screen_marks.h"
#include "geometry/unit_services.h"
#include "geometry/view_transform.h"
#include "platform/core/named_objects.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "view/view_entities.h"
#include "view/CZorvaView.h"
#include "view/path_hooks.h"
#include "view/path_order.h"
#include "view/worker_thread.h"

namespace {

constexpr char16_t kWait[] = u"#请等待线程处理完成...";
constexpr char16_t kMachiningEvent[] = u"{67AE5D7-C5FC-49C3-9096-C255AD791B78}";

bool Differs(const x_Vector& a, const x_Vector& b)
{
    return std::fabs(a.x - b.x) >= 0.001 || std::fabs(a.y - b.y) >= 0.001;
}

CUnit* FirstToolPoint(CZorvaDoc& doc)
{
    for (CUnit* u : doc.m_unitList)
        if (!u->deleted && u->role == kRoleCutPoint)
            return u;
    return nullptr;
}

} // namespace

void CZorvaView::StepPathCommand(CDC* dc, int inputKind)
{
    if (m_workerRequest.load() != 0) {
        PrintLine(CString(kWait));
        return;
    }
    if (!m_compensationEditMode) {
        PublishPathRequest(inputKind);
        return;
    }
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    for (CUnit* u : doc->m_unitList) {
        if (u->deleted || u->role != kRoleDrawing || u->gearKind != 0 || !u->HitTest(m_cursorPoint, 0))
            continue;
        m_pPickedUnit = u;
        ResetEntityStates();
        u->selected = 1;
        break;
    }
    Render(dc);
}

void CZorvaView::PublishPathRequest(int inputKind)
{
    // Everything the worker reads is stored before the request word.
    m_path.clickPoint = m_cursorPoint;
    const POINT px = WorldToScreen(m_cursorPoint);
    m_path.clickPixel[0] = px.x;
    m_path.clickPixel[1] = px.y;
    m_path.cursorPoint = m_cursorPoint;
    m_path.typedIndex = inputKind >= 0 ? inputKind : -1;
    m_workerArg = inputKind;
    m_workerOutput.clear();
    g_TrailRunFlag = 1;
    m_workerRequest.store(kWorkerPath);
    WakeWorker();
}

void CZorvaView::OnWorkerDone()
{
    std::vector<std::function<void(CZorvaView&)>> calls;
    calls.swap(m_workerOutput);
    // Cleared first: the output may end the command, which a pending
    // request would defer. Nothing else runs on this thread meanwhile.
    m_workerRequest.store(0);
    for (auto& call : calls)
        call(*this);
    if (m_endAfterWorker) {
        m_endAfterWorker = 0;
        if (g_curCommand == kCmdPath) {
            CancelCommand();
        } else {
            FreeTemporaries();
            ClearPathState();
            RedrawNow();
        }
    }
}

void CZorvaView::StopPathGeneration()
{
    g_TrailRunFlag = 0;
    if (g_PathHooks.cancel != nullptr)
        g_PathHooks.cancel();
}

// A path still held here was never added to the drawing (the first
// contour of a two-profile path, a failed build): it is freed. Abandoning
// the dialogue used to leak it.
void CZorvaView::ClearPathState()
{
    delete m_path.trail;
    m_path.trail = nullptr;
    m_path.leadInLine = m_path.leadOutLine = nullptr;
    m_path.pickedUnit = nullptr;
    m_path.markersShown = 0;
    m_path.branchPick = 0;
    m_path.taperStep = 0;
    m_path.dirCode = 0;
    m_path.compSide = 0;
    m_path.clickedPoints.RemoveAll();
    m_path.leadPreviewLines.RemoveAll();
    ClearTrailDirections();
    g_DirSignList.RemoveAll();
    g_CreateTrailPoints.RemoveAll();
}

// Before, a busy check was missing here and the start reported success
// while the machining program worked.
bool CZorvaView::StartBatchPaths(int option)
{
    if (m_workerRequest.load() != 0) {
        PrintLine(CString(kWait));
        return false;
    }
    if (CNamedEvent::Exists(CString(kMachiningEvent))) {
        PrintLine(CString(u"#加工程序工作中，不能执行此操作"));
        return false;
    }
    if (g_PathHooks.batch == nullptr)
        return false;
    PrintLine(CString(u"批量轨迹生成->正在处理,请等待..."));
    m_batchOption = option & 0xff;
    m_workerOutput.clear();
    g_TrailRunFlag = 1;
    m_workerRequest.store(kWorkerBatch);
    WakeWorker();
    return true;
}

// Runs a batch on the GUI thread; refused while the worker holds the
// drawing (it used to run over a list the worker was changing).
bool CZorvaView::RunBatchPaths()
{
    if (m_workerRequest.load() != 0) {
        PrintLine(CString(kWait));
        return false;
    }
    if (g_PathHooks.batch == nullptr)
        return false;
    g_TrailRunFlag = 1;
    m_workerOutput.clear();
    const bool made = g_PathHooks.batch(*this, false, m_batchOption & 0xff);
    std::vector<std::function<void(CZorvaView&)>> calls;
    calls.swap(m_workerOutput);
    for (auto& call : calls)
        call(*this);
    return made;
}

bool CZorvaView::WriteDcxFile(const CString& path)
{
    return g_PathHooks.writeDcx != nullptr && g_PathHooks.writeDcx(path);
}

// The path under construction, the preview lead lines of finished
// contours and the direction or side arrows.
void CZorvaView::DrawPathOverlays(CDC* dc)
{
    if (g_curCommand != kCmdPath)
        return;
    if (m_path.trail != nullptr && m_path.trail->complete == 0 && g_cmdStep == kStepSelect)
        m_path.trail->Draw(dc, 1, nullptr);
    if (!m_path.leadPreviewLines.IsEmpty()) {
        CPen pen(PS_DOT, 1, g_LeadLineColor);
        CPen* old = dc->SelectObject(&pen);
        for (const x_LineData& l : m_path.leadPreviewLines) {
            const POINT a = WorldToScreen(l.p1), b = WorldToScreen(l.p2);
            dc->MoveTo(a.x, a.y);
            dc->LineTo(b.x, b.y);
        }
        dc->SelectObject(old);
    }
    if (m_path.markersShown && !g_TrailDirections.IsEmpty())
        for (const x_DirSignData& marker : g_DirSignList)
            DrawMarkerSymbol(0, 1, dc, marker);
    for (int s = 0; s < 2; ++s) {
        const x_Vector& p = s == 0 ? m_path.pickPointsLower[0] : m_path.pickPointsUpper[0];
        if (m_subStep > 0 && (s == 0 || g_CutMode == 2) && p.valid && (s == 0 || m_subStep > 5)) {
            const POINT q = WorldToScreen(p);
            DrawGripBox(dc, q.x, q.y);
        }
    }
}

void CZorvaView::AddPathToExportOrder(CUnit* path)
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr || g_PathHooks.startPoint == nullptr)
        return;
    const x_Vector start = g_PathHooks.startPoint(*path);
    m_prevOrderPoint = g_SelectedTrailIds.IsEmpty() ? start : m_lastOrderPoint;
    m_lastOrderPoint = start;
    AddExportPathId(path);
    std::lock_guard<std::recursive_mutex> lock(doc->m_listMutex);
    doc->m_unitList.Add(MakeOrderLabel(start, static_cast<int>(g_SelectedTrailIds.GetSize())));
    x_Vector from = m_prevOrderPoint;
    bool line = g_SelectedTrailIds.GetSize() >= 2;
    if (g_SelectedTrailIds.GetSize() == 1) {
        if (CUnit* tool = FirstToolPoint(*doc); tool != nullptr && Differs(tool->inputPoints[0], start)) {
            from = tool->inputPoints[0];
            line = true;
        }
    }
    if (line)
        doc->m_unitList.Add(MakeTravelLine(from, m_lastOrderPoint));
}

int CZorvaView::CollectExportPaths()
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc != nullptr && g_SelectedTrailIds.IsEmpty())
        for (CUnit* u : doc->m_unitList)
            if (!u->deleted && u->role == kRolePath && u->selected)
                AddExportPathId(u);
    return static_cast<int>(g_SelectedTrailIds.GetSize());
}

void CZorvaView::AskForExportPaths()
{
    ResetEntityStates();
    g_lastCommand = kCmdExportPick;
    g_PromptEchoOff = 1;
    PrintLine(CString(u"*Ctrl+A全选/Ctrl+鼠标左键选中第一个轨迹/适用多图形自动跳步排列"));
    PrintSeparator();
    PrintLine(CString(u"导出加工> 请选择加工轨迹，按【回车/右键】确定"));
    RedrawNow();
    ClearCommandEdit();
}

bool CZorvaView::ConfirmExportPick()
{
    if (g_curCommand != 0 || g_lastCommand != kCmdExportPick)
        return false;
    g_lastCommand = 0;
    ClearCommandEdit();
    if (CZorvaDoc* doc = GetZorvaDoc())
        doc->OnExportWork();
    return true;
}

bool CZorvaView::RefusedWhileWorkerBusy()
{
    if (m_workerRequest.load() == 0)
        return false;
    PrintLine(CString(kWait));
    return true;
}

// Refused while the worker runs: it may be appending a path (it used to
// delete under the worker's feet).
void CZorvaView::DeleteAllPaths()
{
    if (RefusedWhileWorkerBusy())
        return;
    SetCommand(0);
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    {
        std::lock_guard<std::recursive_mutex> lock(doc->m_listMutex);
        for (int i = 0; i < doc->m_unitList.GetSize(); ++i)
            if (!doc->m_unitList[i]->deleted && doc->m_unitList[i]->role == kRolePath)
                doc->RecordDeleteAt(i);
    }
    RedrawNow();
    PurgeDegenerateEntities(0);
}
