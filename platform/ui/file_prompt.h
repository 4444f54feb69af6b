#pragma once

#include "platform/core/CString.h"

#include <functional>

// The framework's "save as" question: a file name, or empty when cancelled.
CString PromptForSaveFileName(const CString& suggestedName);

// Tests answer the question through a hook; an empty one restores the dialog.
using SaveFileNameHook = std::function<CString(const CString& suggestedName)>;
SaveFileNameHook SetSaveFileNameHook(SaveFileNameHook hook);
