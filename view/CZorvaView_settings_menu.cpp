// The display settings of the Edit menu and the factory reset: the
// crosshair, the left panel's style (from the next start), the right-button
// menu, and "恢复默认设置". Each change is stored with the settings at exit.

#include "app/AppState.h"
#include "app/ToolPalette.h"
#include "app/frame_resources.h"
#include "app/settings_file.h"
#include "geometry/GeometryState.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/message_box.h"
#include "view/CZorvaView.h"

namespace {

constexpr UINT kCrosshairOn = 32989;
constexpr UINT kIconStyle = 33018;
constexpr UINT kRightMenuOn = 33072;

// The command bar's switches show the values the settings now hold.
void ShowSwitchesOfTheSettings()
{
    if (g_commandBar == nullptr)
        return;
    const MachiningSettings& m = g_MachiningSettings;
    const struct { int id; std::int32_t value; } kSwitches[] = {
        {IDC_ORTHO, m.orthoOn}, {IDC_TRACK, m.polarOn}, {IDC_SNAP, m.snapOn},
        {IDC_ENDPOINTS, m.endpointOn}, {IDC_GRIPEDIT, m.modifyOn}, {IDC_LOCK, m.lockOn}};
    for (const auto& s : kSwitches)
        if (auto* box = dynamic_cast<CButton*>(g_commandBar->GetDlgItem(s.id)))
            box->SetCheck(s.value != 0 ? 1 : 0);
}

} // namespace

void CZorvaView::OnCrosshairSetting(UINT id)
{
    g_CrosshairOn = id == kCrosshairOn ? 1 : 0;
    g_SettingsDirty = 1;
    RedrawNow();
}

void CZorvaView::OnUpdateCrosshairSetting(CCmdUI* ui)
{
    ui->Enable(TRUE);
    ui->SetCheck((ui->m_nID == kCrosshairOn) == (g_CrosshairOn != 0) ? 1 : 0);
}

void CZorvaView::OnLeftToolStyleSetting(UINT id)
{
    const bool icons = id == kIconStyle;
    g_LeftToolbarButtons = icons ? 0 : 1;
    g_SettingsDirty = 1;
    PrintSeparator();
    PrintLine(CString(icons ? u"*已改变工具栏为图标样式，重启绘图程序后生效" : u"*已改变工具栏为按键样式，重启绘图程序后生效"));
}

void CZorvaView::OnUpdateLeftToolStyleSetting(CCmdUI* ui)
{
    ui->Enable(TRUE);
    ui->SetCheck((ui->m_nID == kIconStyle) == (g_LeftToolbarButtons == 0) ? 1 : 0);
}

void CZorvaView::OnRightMenuSetting(UINT id)
{
    g_RightMenuOn = id == kRightMenuOn ? 1 : 0;
    g_SettingsDirty = 1;
}

void CZorvaView::OnUpdateRightMenuSetting(CCmdUI* ui)
{
    ui->Enable(TRUE);
    ui->SetCheck((ui->m_nID == kRightMenuOn) == (g_RightMenuOn != 0) ? 1 : 0);
}

void CZorvaView::OnRestoreDefaults()
{
    if (ShowMessageBox(this, CString(u"是否恢复默认设置？"), CString(u"提示"), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    RestoreDefaultSettings();
    ShowSwitchesOfTheSettings();
    PrintSeparator();
    PrintLine(CString(u"默认设置恢复成功!"));
    SyncAllPaletteButtons();
    RedrawNow();
}
