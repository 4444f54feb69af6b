// The main dialog's own commands: the remembered check boxes, the machine
// list buttons, the schemes and the two context menus.

#include "link/CZorvalinkDlg.h"
#include "link/LinkState.h"
#include "link/link_helpers.h"
#include "link/link_resources.h"
#include "link/machine_table.h"
#include "link/settings_ini.h"
#include "platform/core/files.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/message_box.h"

namespace {

CString CutAtFirstPoint(const CString& name)
{
    const int dot = name.Find(u'.');
    return dot < 0 ? name : name.Left(dot);
}

} // namespace

void CZorvalinkDlg::LoadSettings()
{
    LoadSettingsIni();
    const LinkSettings& s = g_LinkSettings;
    CheckDlgButton(IDC_REPLACE_EXISTING, s.replaceExisting ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_SKIP_EXISTING, s.skipExisting ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_SHOW_MAXIMISED, s.showMaximised ? BST_CHECKED : BST_UNCHECKED);
    m_filePage.CheckDlgButton(IDC_SEND_ALL, s.sendToAll ? BST_CHECKED : BST_UNCHECKED);
    m_filePage.CheckDlgButton(IDC_SKIP_BUSY, s.skipBusy ? BST_CHECKED : BST_UNCHECKED);
}

void CZorvalinkDlg::TakeCheckStates()
{
    LinkSettings& s = g_LinkSettings;
    s.replaceExisting = IsDlgButtonChecked(IDC_REPLACE_EXISTING) != 0;
    s.skipExisting = IsDlgButtonChecked(IDC_SKIP_EXISTING) != 0;
    s.showMaximised = IsDlgButtonChecked(IDC_SHOW_MAXIMISED) != 0;
    s.sendToAll = m_filePage.IsDlgButtonChecked(IDC_SEND_ALL) != 0;
    s.skipBusy = m_filePage.IsDlgButtonChecked(IDC_SKIP_BUSY) != 0;
}

void CZorvalinkDlg::SaveSettings()
{
    TakeCheckStates();
    CString name;
    SchemeCombo()->GetWindowText(name);
    SaveSettingsIni(name);
}

void CZorvalinkDlg::OnReplaceCheck()
{
    if (IsDlgButtonChecked(IDC_REPLACE_EXISTING) != 0)
        CheckDlgButton(IDC_SKIP_EXISTING, BST_UNCHECKED);
    TakeCheckStates();
}

void CZorvalinkDlg::OnCancelCheck()
{
    if (IsDlgButtonChecked(IDC_SKIP_EXISTING) != 0)
        CheckDlgButton(IDC_REPLACE_EXISTING, BST_UNCHECKED);
    TakeCheckStates();
}

void CZorvalinkDlg::OnMaximizeCheck()
{
    if (IsDlgButtonChecked(IDC_SHOW_MAXIMISED) != 0)
        ShowWindow(SW_SHOWMAXIMIZED);
    TakeCheckStates();
}

void CZorvalinkDlg::OnReloadList()
{
    if (TransferGuard())
        return;
    if (ShowMessageBox(this, u"是否重载客户端列表？", u"提示", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    std::vector<_ClientPack>().swap(g_Machines);
    RebuildMachineList();
}

void CZorvalinkDlg::OnSelectAll()
{
    if (TransferGuard())
        return;
    CListCtrl* list = MachineList();
    for (int row = 0; row < list->GetItemCount(); ++row)
        list->SetCheck(row, TRUE);
}

void CZorvalinkDlg::OnSelectNone()
{
    if (TransferGuard())
        return;
    CListCtrl* list = MachineList();
    for (int row = 0; row < list->GetItemCount(); ++row)
        list->SetCheck(row, FALSE);
}

void CZorvalinkDlg::OnSaveScheme()
{
    CString text;
    SchemeCombo()->GetWindowText(text);
    const CString name = CutAtFirstPoint(text);
    // An empty name would join the list as an empty entry and name no file.
    if (name.IsEmpty() || !IsLegalFileName(name)) {
        AddLog(u"方案名称包含非法字符！");
        return;
    }
    CComboBox* combo = SchemeCombo();
    bool listed = false;
    for (int i = 0; i < combo->GetCount(); ++i)
        listed = listed || combo->GetLBText(i) == name;
    if (!listed)
        combo->AddString(name);
    CListCtrl* list = MachineList();
    for (int row = 0; row < list->GetItemCount() && row < static_cast<int>(g_Machines.size()); ++row)
        g_Machines[static_cast<size_t>(row)].checked = list->GetCheck(row) ? 1 : 0;
    if (!SaveScheme(name))
        return;
    AddLog(u"保存方案完成");
}

void CZorvalinkDlg::OnSchemeChange()
{
    std::vector<_ClientPack>().swap(g_Machines);
    CComboBox* combo = SchemeCombo();
    const int selected = combo->GetCurSel();
    if (selected >= 0)
        LoadScheme(CutAtFirstPoint(combo->GetLBText(selected)));
    ResetLoadedMachines();
}

void CZorvalinkDlg::OnClearSchemes()
{
    if (TransferGuard())
        return;
    if (ShowMessageBox(this, u"是否清空方案列表？", u"提示", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    CComboBox* combo = SchemeCombo();
    for (int i = 0; i < combo->GetCount(); ++i) {
        const CString entry = combo->GetLBText(i);
        // Entries are file names or checked names; anything else names no
        // scheme file.
        if (!IsSafeFileName(entry))
            continue;
        const CString path = SchemePath(entry);
        if (FileExists(path) && !DeleteFile(path)) {
            AddLog(CString(u"错误：不能删除方案 ") + entry);
            return;
        }
    }
    combo->ResetContent();
    combo->AddString(CString(u"方案-1"));
    combo->SetCurSel(0);
}

void CZorvalinkDlg::OnClearLog()
{
    LogList()->ResetContent();
}

void CZorvalinkDlg::OnChangeMachineNumber()
{
    if (TransferGuard())
        return;
    g_NumberDialogRequest = 100;
}
