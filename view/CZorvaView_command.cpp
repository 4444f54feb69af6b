// Starting a command: the one entry every menu, button, typed command and
// pending action goes through. Refusals (busy worker, lock switch) come
// before anything is reset, so a refused start leaves the running command
// untouched.

#include <mutex>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/FrameState.h"
#include "app/ToolPalette.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/screen_marks.h"
#include "geometry/unit_services.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CComboBox.h"
#include "view/CZorvaView.h"
#include "view/view_settings_sync.h"
#include "view/view_entities.h"

namespace {

enum class ModeSelect { remembered, first, none };

struct CommandStart {
    int command;
    std::initializer_list<const char16_t*> modes;
    ModeSelect select;
    int step;
    bool readout;
};

const CommandStart kStarts[] = {
    {1, {u"两点直线", u"角度线", u"单边平行线", u"双边平行线"}, ModeSelect::remembered, 2, false},
    {3, {u"两点四边形"}, ModeSelect::remembered, 2, false},
    {5, {u"三点椭圆"}, ModeSelect::remembered, 2, false},
    {6, {u"三点椭圆弧"}, ModeSelect::remembered, 2, false},
    {7, {u"圆心+半径", u"两点", u"两点+半径"}, ModeSelect::remembered, 2, false},
    {8, {u"三点圆弧", u"两点+半径", u"中心+起点+角度正向", u"中心+起点+角度逆向"},
     ModeSelect::remembered, 2, false},
    {9, {u"多段直线"}, ModeSelect::remembered, 2, false},
    {10, {u"中点+角度", u"起点+角度"}, ModeSelect::remembered, 2, false},
    {11, {u"开曲线", u"闭曲线"}, ModeSelect::remembered, 2, false},
    {12, {u"文字标注"}, ModeSelect::first, 2, true},
    {15, {u"尺寸标注"}, ModeSelect::first, 2, true},
    {16, {u"线性标注"}, ModeSelect::first, 2, true},
    {17, {u"圆径标注"}, ModeSelect::first, 2, true},
    {18, {u"弧长标注"}, ModeSelect::first, 2, true},
    {19, {u"角度标注"}, ModeSelect::none, 2, true},
    {20, {u"直线标注", u"实线参考", u"虚线参考", u"中心线标注", u"多段线参考", u"点划线参考"},
     ModeSelect::remembered, 2, true},
    {22, {u"轨迹三维显示"}, ModeSelect::none, 5, false},
    {23, {u"正弦波浪线"}, ModeSelect::remembered, 2, false},
    {24, {u"设置对刀点"}, ModeSelect::none, 2, false},
    {26, {u"中心线"}, ModeSelect::none, 2, true},
    {53, {u"移动"}, ModeSelect::none, 5, true},
    {54, {u"镜像"}, ModeSelect::none, 5, false},
    {55, {u"修剪"}, ModeSelect::none, 5, false},
    {56, {u"打断", u"等分", u"等距拆分"}, ModeSelect::remembered, 5, true},
    {57, {u"旋转"}, ModeSelect::none, 5, false},
    {58, {u"缩放"}, ModeSelect::none, 5, true},
    {59, {u"延伸"}, ModeSelect::none, 5, false},
    {60, {u"齐边"}, ModeSelect::none, 5, false},
    {61, {u"圆角"}, ModeSelect::none, 5, false},
    {62, {u"阵列"}, ModeSelect::none, 5, false},
    {63, {u"倒角"}, ModeSelect::none, 5, false},
    {64, {u"圆切线"}, ModeSelect::none, 5, false},
    {66, {u"轨迹生成"}, ModeSelect::none, 5, false},
    {68, {u"分解"}, ModeSelect::none, 5, false},
    {69, {u"擦除"}, ModeSelect::none, 5, false},
    {71, {u"原点偏移"}, ModeSelect::none, 5, true},
    {72, {u"坐标点查询"}, ModeSelect::none, 5, true},
    {73, {u"两点距离"}, ModeSelect::none, 5, true},
    {74, {u"周长查询"}, ModeSelect::none, 5, true},
    {75, {u"角度查询"}, ModeSelect::none, 5, true},
    {76, {u"中心点查询"}, ModeSelect::none, 5, true},
    {80, {u"图形偏移"}, ModeSelect::none, 5, true},
};

// Commands with a remembered mode, in the order of their bytes.
constexpr int kModeOwners[kCommandModeCount] = {1, 3, 5, 6, 7, 8, 9, 10, 11, 20, 15, 16, 17, 18, 19, 23, 56};

int ModeSlot(int command)
{
    for (int i = 0; i < kCommandModeCount; ++i)
        if (kModeOwners[i] == command)
            return i;
    return -1;
}

const CommandStart* FindStart(int command)
{
    for (const CommandStart& s : kStarts)
        if (s.command == command)
            return &s;
    return nullptr;
}

CComboBox* ModeCombo()
{
    return g_commandBar ? dynamic_cast<CComboBox*>(g_commandBar->GetDlgItem(kIdModeCombo)) : nullptr;
}

} // namespace

std::uint8_t GetCommandMode(int index)
{
    const int slot = ModeSlot(index + 1);
    return slot < 0 || index + 1 > 56 ? 255 : g_CommandModes.mode[slot];
}

void SetCommandMode(std::uint8_t mode, int index)
{
    const int slot = ModeSlot(index + 1);
    if (slot >= 0)
        g_CommandModes.mode[slot] = mode;
}

void CZorvaView::ApplyCreationModes(int command)
{
    // The entity builders read their creation mode from these words.
    if (command == kCmdLine)
        g_LineMode = GetCommandMode(0);
    else if (command == kCmdCircle)
        g_CircleMode = GetCommandMode(6);
    else if (command == kCmdArc)
        g_ArcMode = GetCommandMode(7);
    else if (command == kCmdPolygon)
        g_PolygonByEdge = GetCommandMode(9);
}

void CZorvaView::SetCommand(int n)
{
    const bool workerBusy = m_workerRequest.load() != 0;
    if (workerBusy && n != 0) {
        PrintLine(CString(u"#请等待线程处理完成..."));
        return;
    }
    if (workerBusy) {
        // Ending is never refused, but the worker still walks the picks and
        // the temporaries: it is stopped, and they go when it hands back.
        StopPathGeneration();
        m_endAfterWorker = 1;
    }
    if (n != 0 && g_LockSwitch) {
        g_lastCommand = n;
        PrintLine(CString(u"#锁定开关已开启，无法进行操作"));
        return;
    }
    HideBatchPanel();
    g_listBusy = 0;
    m_clickBusy = 0;
    m_polyArcMode = 0;
    g_rightButtonState = 0;
    if (g_lastCommand == kCmdPathView3D && n == 0)
        ClearOutput();
    ClearStartScratch(n, !workerBusy);
    if (!workerBusy)
        FreeTemporaries();
    FillModeCombo(n);
    if (n == 0) {
        g_cmdSubFlag = 0;
        g_curCommand = 0;
        g_cmdStep = kStepIdlePick;
        g_cmdPointCount = 0;
        g_lastCommand = 0;
    } else {
        g_TrailRunFlag = 0;
        m_repeatCommand = (n == kCmdErase || n == kCmdToolPoint || n == kCmdArray) ? 0 : n;
        m_repeatSubFlag = g_cmdSubFlag;
        if (!StartByTable(n))
            return;
    }
    if (g_cmdStep == kStepSelect)
        ClearEntityMarks();
    else
        ResetEntityStates();
    g_cmdPointCount = 0;
    m_subStep = 0;
    RedrawNow();
    if (g_commandBar != nullptr)
        g_commandBar->SetDlgItemText(kIdCommandEdit, CString());
    if (g_curCommand != 0)
        ShowPrompt(CString(), 2);
    ReleaseFloatingEntity();
    RefreshCommandButtons();
}

// A command takes the view back from the batch panel and its preview.
void CZorvaView::HideBatchPanel()
{
    if (g_batchPanelShown && g_pBatchPanel != nullptr)
        g_pBatchPanel->ShowWindow(SW_HIDE);
    g_batchPanelShown = 0;
    g_CompensationPreview = 0;
}

void CZorvaView::ClearStartScratch(int n, bool pathState)
{
    for (CUnit*& u : m_pStepUnit)
        u = nullptr;
    m_rightClickCount = 0;
    m_clearOnCancel = 0;
    g_PromptEchoOff = 0;
    m_pathsOnly = 0;
    g_WearCorrectionMode = 0;
    g_lastCommand = n;
    g_WearMarkers.RemoveAll();
    m_pointsB.RemoveAll();
    m_unitIds.RemoveAll();
    g_trackPoints.RemoveAll();
    g_SelectedTrailIds.RemoveAll();
    g_inputPoints.RemoveAll();
    SetPromptText(CString());
    m_pointsA.RemoveAll();
    m_subStep = 0;
    m_snapped = m_orthoHeld = m_trackFound = m_trackShown = 0;
    m_inputMarkShown = m_markInputPoint = m_pasteBaseMarked = m_offsetArrowsShown = 0;
    m_pendingMarkSet = 0;
    m_windowSelect = 0;
    m_pickReadout = 0;
    g_SnapReduced = 0;
    g_SnapRestrict = 0;
    ClearCommandMarks();
    if (pathState)
        ClearPathState();
}

void CZorvaView::FreeTemporaries()
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    std::lock_guard<std::recursive_mutex> lock(doc->m_listMutex);
    g_listBusy = 1;
    const bool leavingPaste = g_curCommand == kCmdPaste;
    doc->FreeUnits([leavingPaste](const CUnit* u) { return u->temporary || (leavingPaste && !u->complete); });
    g_listBusy = 0;
}

void CZorvaView::FillModeCombo(int)
{
    CComboBox* combo = ModeCombo();
    if (combo == nullptr)
        return;
    combo->ResetContent();
    combo->EnableWindow(FALSE);
}

bool CZorvaView::StartByTable(int n)
{
    const CommandStart* start = FindStart(n);
    if (start == nullptr) {
        g_curCommand = 0;
        return true;
    }
    if (CComboBox* combo = ModeCombo()) {
        for (const char16_t* mode : start->modes)
            combo->AddString(CString(mode));
        int sel = -1;
        if (start->select == ModeSelect::remembered) {
            const std::uint8_t m = GetCommandMode(n - 1);
            sel = m == 255 ? -1 : m;
        } else if (start->select == ModeSelect::first) {
            sel = 0;
        }
        combo->SetCurSel(sel);
        combo->EnableWindow(TRUE);
    }
    ApplyCreationModes(n);
    g_curCommand = n;
    g_cmdStep = start->step;
    g_cmdPointCount = 0;
    m_subStep = 0;
    m_pickReadout = start->readout ? 1 : 0;
    switch (n) {
    case kCmdPolyline:
        m_polyArcMode = 0;
        break;
    case kCmdMirror:
    case kCmdRotate:
    case kCmdScale:
        DeselectNonGeometry();
        break;
    case kCmdTrim:
    case kCmdExtend:
    case kCmdAlign:
    case kCmdFillet:
    case kCmdChamfer:
    case kCmdTangent:
        g_SnapReduced = 1;
        g_SnapRestrict = 1;
        break;
    case kCmdPathView3D:
        g_SnapReduced = 1;
        g_SnapRestrict = 1;
        Path3DSettingsToBlocks();
        break;
    case kCmdBreak:
        if (GetCommandMode(n - 1) == 1) {
            ResetEntityStates();
            RedrawNow();
        }
        break;
    case kCmdPath:
        g_batchContourPick = 0;
        break;
    case kCmdExplode:
        if (ExplodeSelected())
            EndCommandAtOnce();
        ResetEntityStates();
        break;
    case kCmdErase:
        EraseSelectionAtStart();
        break;
    case kCmdToolPoint:
        return !AskToReplaceToolPoint();
    case kCmdArray:
        ShowArrayPanel();
        break;
    default:
        break;
    }
    return true;
}

// The array command works in its floating panel, shown where it was left.
void CZorvaView::ShowArrayPanel()
{
    if (g_pArrayPanel == nullptr)
        return;
    g_pArrayPanel->ShowWindow(SW_SHOW);
    g_arrayPanelShown = 1;
    g_pArrayPanel->SetFocus();
}

void CZorvaView::EndCommandAtOnce()
{
    g_cmdSubFlag = 0;
    g_curCommand = 0;
    g_cmdStep = kStepIdlePick;
    g_cmdPointCount = 0;
    g_lastCommand = 0;
    FillModeCombo(0);
}

void CZorvaView::EraseSelectionAtStart()
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    int count = 0;
    for (int i = 0; i < doc->m_unitList.GetSize(); ++i) {
        CUnit* u = doc->m_unitList[i];
        if (!u->deleted && u->selected) {
            doc->RecordDeleteAt(i);
            ++count;
        }
    }
    if (count == 0)
        return;
    CString text;
    text.Format(u"擦除 (TD)->删除对象 %d 个", count);
    PrintLine(text);
    doc->CommitUndoStep(0);
    EndCommandAtOnce();
}

bool CZorvaView::AskToReplaceToolPoint()
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return false;
    bool exists = false;
    for (CUnit* u : doc->m_unitList)
        exists = exists || (!u->deleted && u->role == kRoleCutPoint);
    if (!exists)
        return false;
    CString question;
    question.Format(u"%-30s  %-15s", u"设置对刀点(MM)->已存在对刀点，是否删除(Y/N)：", u"");
    PrintLine(question, 1);
    // Before, the "Y" was not selected, so a typed "n" gave "Yn".
    PrefillCommandEdit(CString(u"Y"));
    g_cmdPointCount = -1;
    m_subStep = -1;
    return true;
}

void CZorvaView::RefreshCommandButtons()
{
    // The toolbars follow g_curCommand in their idle update; the palette
    // buttons are set here.
    SyncAllPaletteButtons();
}

void CZorvaView::OnModeChanged()
{
    CComboBox* combo = ModeCombo();
    if (combo == nullptr)
        return;
    const int sel = combo->GetCurSel();
    if (sel < 0)
        return;
    g_cmdPointCount = 0;
    if (g_curCommand >= 1 && g_curCommand <= 56) {
        SetCommandMode(static_cast<std::uint8_t>(sel), g_curCommand - 1);
        g_SettingsDirty = 1;
    }
    SetCommand(g_curCommand);
}

void CZorvaView::DispatchKey(int key)
{
    CClientDC dc(g_pView != nullptr ? static_cast<CWnd*>(g_pView) : this);
    OnKey(&dc, 0, key);
}

void CZorvaView::OnHotKey(int id)
{
    if (id != 0)
        DispatchKey(id);
}
