#pragma once

#include "platform/core/CString.h"

#include <functional>

class CWnd;

// The system's folder chooser (file-system folders only). Returns the chosen
// folder's path, or an empty text when the user cancels.
CString BrowseForFolder(CWnd* owner, const CString& title);

// Replaces the chooser by a call that gets the title and returns the answer
// (empty: cancelled); an empty function restores it. Returns the old hook.
using FolderBrowserHook = std::function<CString(const CString& title)>;
FolderBrowserHook SetFolderBrowserHook(FolderBrowserHook hook);
