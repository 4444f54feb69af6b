#pragma once

#include "platform/core/CString.h"
#include "platform/ui/wintypes.h"

// Hands a document, folder or address to the desktop's "open" action.
// False when nothing could open it; no error dialog is shown.
BOOL ShellOpen(const CString& target, int showCmd = SW_SHOWNORMAL);
