// The command bar's switches, the line-style combo and the mode combo.

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "app/FrameState.h"
#include "app/MainFrameLink.h"
#include "app/frame_resources.h"
#include "geometry/GeometryState.h"
#include "platform/ui/CButton.h"

#include <cstdint>

namespace {

std::int32_t* SwitchSetting(UINT id)
{
    switch (id) {
    case IDC_ORTHO: return &g_MachiningSettings.orthoOn;
    case IDC_TRACK: return &g_MachiningSettings.polarOn;
    case IDC_SNAP: return &g_MachiningSettings.snapOn;
    case IDC_LOCK: return &g_MachiningSettings.lockOn;
    case IDC_ENDPOINTS: return &g_MachiningSettings.endpointOn;
    case IDC_GRIPEDIT: return &g_MachiningSettings.modifyOn;
    default: return nullptr;
    }
}

} // namespace

void CMainFrame::OnOptionSwitch(UINT id)
{
    std::int32_t* setting = SwitchSetting(id);
    auto* box = dynamic_cast<CButton*>(m_commandBar.GetDlgItem(int(id)));
    if (setting == nullptr || box == nullptr)
        return;
    *setting = box->GetCheck() != 0 ? 1 : 0;
    g_SettingsDirty = 1;
    FrameLink().OptionSwitchChanged(int(id), *setting);
    // The keys typed next belong to the command line; before, the clicked
    // box kept the focus and letters went nowhere.
    if (CWnd* edit = m_commandBar.GetDlgItem(IDC_COMMAND_EDIT))
        edit->SetFocus();
}

void CMainFrame::OnLineStyleChanged()
{
    // Item order: solid, dotted, dashed, dash-dot; the style numbers are
    // the entities' (0 solid, 1 dashed, 2 dotted).
    const struct { std::int32_t style; std::uint8_t dashDot; } kStyles[] = {{0, 0}, {2, 0}, {1, 0}, {1, 1}};
    const int sel = m_lineStyleCombo.GetCurSel();
    if (sel < 0 || sel > 3)
        return;
    g_CurrentLineStyle = kStyles[sel].style;
    g_CurrentDashDot = kStyles[sel].dashDot;
    FrameLink().SetLineStyle(kStyles[sel].style, kStyles[sel].dashDot);
}

void CMainFrame::OnModeListConfirmed()
{
    g_modeComboConfirmed = 1;
}

void CMainFrame::OnModeListClosed()
{
    if (g_modeComboConfirmed == 1) {
        g_modeComboConfirmed = 0;
        return;
    }
    auto* combo = dynamic_cast<CComboBox*>(g_modeCombo);
    const int n = combo != nullptr ? combo->GetCount() : 0;
    if (n > 0) {
        int next = combo->GetCurSel() + 1;
        if (next >= n)
            next = 0;
        combo->SetCurSel(next);
        if (g_curCommand >= 1 && g_curCommand <= 56)
            FrameLink().SetCommandMode(g_curCommand, next);
        g_cmdPointCount = 0;
        FrameLink().SetCommand(g_curCommand, false);
    }
    g_modeComboConfirmed = 0;
}
