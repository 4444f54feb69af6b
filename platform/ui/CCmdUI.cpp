#include "platform/ui/CCmdUI.h"

#include "platform/ui/CCmdTarget.h"

void CCmdUI::Enable(BOOL on)
{
    m_bEnabled = on != FALSE;
    m_bEnableChanged = true;
}

void CCmdUI::SetCheck(int check)
{
    m_nCheck = check;
    m_bCheckChanged = true;
}

void CCmdUI::SetText(const CString&) {}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler)
{
    m_bEnableChanged = false;
    BOOL handled = target != nullptr && target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    // A command with a handler but no update handler stays enabled.
    if (!handled && target != nullptr && disableIfNoHandler)
        Enable(target->OnCmdMsg(m_nID, CN_COMMAND, nullptr, reinterpret_cast<void*>(1)) ? TRUE : FALSE);
    return handled;
}
