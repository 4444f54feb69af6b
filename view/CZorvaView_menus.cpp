// The view's remaining menu and toolbar commands, one table (the command
// starts, the clipboard, undo and the main toolbar's file and view buttons
// are in CZorvaView_menu_commands.cpp): the text item, the 3-D path styles,
// the paths-only display, path deletion, the block operations, repair, the
// property panel and the export button.
//   start   a menu item or panel button: g_lastCommand first, then the start
//   call    a member of the view, with an update handler where one is named

#include "app/AppState.h"
#include "app/CZorvaApp.h"
#include "app/CZorvaDoc.h"
#include "app/recovery_snapshot.h"
#include "app/settings_file.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/View3D.h"
#include "platform/core/files.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/message_box.h"
#include "view/CZorvaView.h"
#include "view/view_entities.h"

enum class Act : std::uint8_t { start, call };

struct MenuCommand {
    UINT id;
    Act act;
    int command;                                // start
    void (CZorvaView::*run)();                  // call
    void (CZorvaView::*update)(CCmdUI*);        // call: null when none
};

namespace {

constexpr MenuCommand Start(UINT id, int command) { return {id, Act::start, command, nullptr, nullptr}; }
constexpr MenuCommand Call(UINT id, void (CZorvaView::*run)(), void (CZorvaView::*update)(CCmdUI*) = nullptr)
{
    return {id, Act::call, 0, run, update};
}

const MenuCommand kMenuCommands[] = {
    Start(32870, kCmdText),
    Call(32949, &CZorvaView::OnPathViewSimple, &CZorvaView::OnUpdatePathViewStyle),
    Call(32950, &CZorvaView::OnPathViewSimulated, &CZorvaView::OnUpdatePathViewStyle),
    Call(33031, &CZorvaView::OnShowPathsOnly),
    Call(32942, &CZorvaView::DeleteAllPaths),
    Call(32995, &CZorvaView::OnBlockMake),
    Call(32996, &CZorvaView::OnBlockExplode),
    Call(32998, &CZorvaView::OnBlockDisplay),
    Call(33010, &CZorvaView::OnRepair),
    Call(65011, &CZorvaView::OnPropertiesButton),
    Call(65019, &CZorvaView::OnExportButton),
};

const MenuCommand* FindMenuCommand(UINT id)
{
    for (const MenuCommand& c : kMenuCommands)
        if (c.id == id)
            return &c;
    return nullptr;
}

// A persisted byte set from a menu; the settings file is rewritten at exit.
void SetSetting(std::uint8_t& setting, std::uint8_t value)
{
    setting = value;
    g_SettingsDirty = 1;
}

} // namespace

BOOL CZorvaView::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo)
{
    const MenuCommand* c = FindMenuCommand(id);
    if (c != nullptr && code == CN_COMMAND) {
        if (handlerInfo == nullptr)
            RunMenuCommand(*c);
        return TRUE;
    }
    if (c != nullptr && code == CN_UPDATE_COMMAND_UI && c->update != nullptr) {
        auto* ui = static_cast<CCmdUI*>(extra);
        if (handlerInfo == nullptr && ui != nullptr)
            (this->*c->update)(ui);
        return TRUE;
    }
    return CScrollView::OnCmdMsg(id, code, extra, handlerInfo);
}

void CZorvaView::RunMenuCommand(const MenuCommand& c)
{
    if (c.act == Act::call) {
        (this->*c.run)();
        return;
    }
    g_lastCommand = c.command;
    SetCommand(c.command);
}

// --- display settings ---

void CZorvaView::SetPathViewStyle(std::uint8_t style)
{
    SetSetting(g_PathViewStyle, style);
    g_lastCommand = kCmdPathView3D;
    Reset3DView();
    Update3DViewAngles();
    SetCommand(kCmdPathView3D);
}

void CZorvaView::OnPathViewSimple() { SetPathViewStyle(0); }
void CZorvaView::OnPathViewSimulated() { SetPathViewStyle(1); }

void CZorvaView::OnUpdatePathViewStyle(CCmdUI* ui)
{
    ui->SetCheck(g_PathViewStyle == (ui->m_nID == 32950 ? 1 : 0) ? 1 : 0);
}

void CZorvaView::OnToggle3DView()
{
    if (g_lastCommand == kCmdPathView3D) {
        SetCommand(0);
        return;
    }
    Reset3DView();
    Update3DViewAngles();
    SetCommand(kCmdPathView3D);
}

// Only the paths are drawn until the next left release, cancel or start.
void CZorvaView::OnShowPathsOnly()
{
    m_pathsOnly = 1;
    RedrawNow();
    PrintSeparator();
    PrintLine(CString(u"轨迹显示-> 按【Esc/右键】退出"));
}

// --- main toolbar buttons ---

void CZorvaView::OnPropertiesButton()
{
    if (CZorvaDoc* doc = GetZorvaDoc())
        doc->OnEditProperties();
}

void CZorvaView::OnExportButton()
{
    if (CZorvaDoc* doc = GetZorvaDoc())
        doc->OnExportWork();
}

// --- repair ---

void CZorvaView::OnRepair()
{
    if (ShowMessageBox(this, CString(u"图形将删除，请先保存。确定修复绘图程序？"), CString(u"提示"), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (CZorvaDoc* doc = GetZorvaDoc())
        ClearRecoveryTag(*doc);
    g_undoStep = 1;
    g_undoCount = 0;
    g_redoCount = 0;
    for (const CString& file : {SettingsFilePath(), SettingsBackupPath()})
        if (FileExists(file))
            DeleteFile(file);
    // Before, the exit path wrote the settings file straight back when a
    // setting had changed or the view had moved, so the repair did nothing.
    g_SettingsDirty = 0;
    g_loadedViewScale = g_ViewScale;
    g_loadedViewOriginX = g_ViewOriginX;
    g_loadedViewOriginY = g_ViewOriginY;
    CZorvaApp::ExitApplication();
}


// --- blocks ---
// Make and explode change roles and purge: refused while the worker walks
// the drawing (they used to run under it).

void CZorvaView::OnBlockMake()
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr || RefusedWhileWorkerBusy())
        return;
    m_groupBase = GetMaxGroupNumber();
    const int group = m_groupBase + 1;
    int count = 0;
    for (CUnit* u : doc->m_unitList) {
        if (u->deleted || u->role != kRoleDrawing || !u->selected || u->blockMember)
            continue;
        u->blockMember = 1;
        u->group = group;
        u->role = kRoleBlockMember;
        u->pieceOf = 0;
        u->gripsValid = 0;
        u->selected = 0;
        ++count;
    }
    if (count == 0) {
        PrintLine(CString(u"#未选择生成块实线"), 1);
        return;
    }
    CString text;
    text.Format(u"块生成->编号：%d  实线数量：%d", group, count);
    PrintLine(text, 1);
    PrintSeparator();
    PurgeDegenerateEntities(0);
    RedrawNow();
}

void CZorvaView::OnBlockExplode()
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr || RefusedWhileWorkerBusy())
        return;
    int count = 0;
    for (CUnit* u : doc->m_unitList) {
        if (u->deleted || !u->blockMember || !u->selected || u->role != kRoleBlockMember)
            continue;
        u->blockMember = 0;
        u->group = 0;
        u->role = kRoleDrawing;
        u->pieceOf = 0;
        u->gripsValid = 0;
        u->selected = 0;
        ++count;
    }
    if (count == 0) {
        PrintLine(CString(u"#未找到选择块实线"), 1);
        return;
    }
    PrintLine(CString(u"块打散->操作完成"), 1);
    PrintSeparator();
    PurgeDegenerateEntities(0);
    RedrawNow();
}

// Only blocks are drawn until the next reset of the marks (a start, Esc).
void CZorvaView::OnBlockDisplay()
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    int members = 0;
    int blocks = 0;
    int lastGroup = 0;
    for (CUnit* u : doc->m_unitList) {
        if (u->deleted)
            continue;
        u->visible = u->blockMember ? 1 : 0;
        if (!u->blockMember)
            continue;
        ++members;
        if (u->group != lastGroup) {
            ++blocks;
            lastGroup = u->group;
        }
    }
    CString text;
    text.Format(u"块显示->块数量：%d   实线数量：%d 【Esc/退出】", blocks, members);
    PrintLine(text, 1);
    PrintSeparator();
    RedrawNow();
}

