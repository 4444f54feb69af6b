#pragma once

#include "platform/core/CString.h"
#include "platform/ui/wintypes.h"

#include <functional>
#include <vector>

// Hands a document, folder or address to the desktop's "open" action.
// False when nothing could open it; no error dialog is shown.
BOOL ShellOpen(const CString& target, int showCmd = SW_SHOWNORMAL);

// Starts program (looked up in PATH) with its arguments, each passed as one
// argument and never through a shell, and does not wait for it. False when
// it could not be started.
BOOL StartDetachedProgram(const CString& program, const std::vector<CString>& args);

// Opens a folder in the desktop's file manager (xdg-open with the folder).
BOOL OpenFolderInFileManager(const CString& folder);

// Replaces the start by a call (tests see the program and its arguments);
// an empty function restores it. Returns the previous hook.
using StartProgramHook = std::function<BOOL(const CString& program, const std::vector<CString>& args)>;
StartProgramHook SetStartProgramHook(StartProgramHook hook);
