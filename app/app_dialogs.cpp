// The application folder's own panels and dialogs join the registries the
// frame and the document use, as the later folders' dialogs do.

#include "app/CCXused_help.h"
#include "app/CZorvaDoc.h"
#include "app/CZorvaText_dlg.h"
#include "app/CZorvaimageInfo.h"
#include "app/FrameState.h"
#include "app/frame_resources.h"
#include "app/tool_dialogs.h"
#include "platform/ui/message_box.h"

namespace {

constexpr unsigned IDD_PROPERTIES = 151;
constexpr unsigned IDD_TEXT_PANEL = 169;

CDialog* MakePropertyPanel(CWnd* parent)
{
    auto* panel = new CZorvaimageInfo;
    panel->Create(IDD_PROPERTIES, parent);
    return panel;
}

CDialog* MakeTextPanel(CWnd* parent)
{
    auto* panel = new CZorvaText_dlg;
    panel->Create(IDD_TEXT_PANEL, parent);
    return panel;
}

bool RunHelp()
{
    CCXused_help help;
    return help.DoModal() == IDOK;
}

} // namespace

void InstallAppDialogs()
{
    RegisterFloatingPanel(IDD_PROPERTIES, &MakePropertyPanel);
    RegisterFloatingPanel(IDD_TEXT_PANEL, &MakeTextPanel);
    RegisterToolDialog(CZorvaDoc::kDlgHelp, &RunHelp);
}
