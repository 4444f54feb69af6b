#pragma once

// A short hint under a control, in the desktop's tool-tip colours: it stays
// until the user edits the control, the dialog closes or a few seconds
// pass. A dialog points at the field it refuses with it.

#include "platform/core/CString.h"

class CWnd;

void ShowControlHint(CWnd* control, const CString& text);
// The text of the hint on screen; empty when none is shown.
CString ShownControlHint();
// The control the hint on screen points at; null when none is shown.
CWnd* ControlOfShownHint();
