#pragma once

// A page of a path dialog passes Enter and Esc on to the dialog it sits in:
// a page that ended itself would only hide.

class CWnd;

// Presses the default button (Enter) or Cancel (Esc) of the nearest
// enclosing top-level dialog of page.
void PressHostDefault(CWnd* page);
void PressHostCancel(CWnd* page);
