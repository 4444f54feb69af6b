#pragma once
// Screen size and cursor position.

#include "platform/ui/wintypes.h"

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;

// The primary screen's size for SM_CXSCREEN / SM_CYSCREEN; 0 otherwise.
int GetSystemMetrics(int index);
// The cursor in screen coordinates: where the last mouse message put it.
BOOL GetCursorPos(LPPOINT point);
