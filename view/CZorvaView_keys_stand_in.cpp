// Stand-ins for the command line's prompt, cancel and key interpreter, so
// the view links and its tests run before the command line lands; the
// command line's own definitions replace this file.

#include "geometry/GeometryState.h"
#include "view/CZorvaView.h"

void CZorvaView::ShowPrompt(const CString& extra, int)
{
    // The prompt texts of the commands belong to the command line; here the
    // extra text is shown and the command edit gets the focus.
    if (!extra.IsEmpty())
        SetPromptText(extra);
    ArmPendingAction(kActionFocusEdit, 2);
}

void CZorvaView::CancelCommand()
{
    ReleaseFloatingEntity();
    SetCommand(0);
}

void CZorvaView::OnKey(CDC*, int, int key)
{
    switch (key) {
    case 27:
        CancelCommand();
        break;
    case 46:
        if (g_curCommand == 0)
            SetCommand(kCmdErase);
        break;
    default:
        // Typed values, Enter and Home belong to the command-line interpreter.
        break;
    }
}

