#pragma once

// Drives dialog controls as a user would, through Qt events, so that the
// controls' own handling and the windows' handlers run; and reads what a
// window shows. GUI thread only.

#include <functional>

#include "platform/core/CString.h"
#include "platform/gdi/gdi_types.h"
#include "platform/ui/wintypes.h"

#include <vector>

class CWnd;

namespace dlgtest {

// Makes sure the application object exists.
void EnsureGui();
// Delivers pending events and posted messages.
void Pump();

// Mouse on a control at a client point (default: its centre).
void Click(CWnd* control);
void ClickAt(CWnd* control, int x, int y);
void DoubleClick(CWnd* control);
void RightClickAt(CWnd* control, int x, int y);
void MoveMouse(CWnd* control, int x, int y);
// The mouse leaves the control (to a point outside every window).
void LeaveMouse(CWnd* control);

// Replaces an edit's (or editable combo box's) text as typing would.
void TypeText(CWnd* edit, const CString& text);
void PressKey(CWnd* target, UINT virtualKey);
// Picks an entry of a combo box, list box or tab control as the user would.
void Choose(CWnd* control, int index);
// Clicks a row of a list control (in its first column).
void ClickListRow(CWnd* list, int row, bool dbl = false);
// The headings of a report list's columns, left to right.
std::vector<CString> ListHeadings(CWnd* list);
// Toggles a list row's check box as a click on it would.
void ToggleListCheck(CWnd* list, int row);

// The window as it would be painted now: one pixel, or its size.
COLORREF PixelAt(CWnd* window, int x, int y);
SIZE WindowSize(CWnd* window);
// Bounding box of the pixels that differ from background (empty when none).
RECT InkBox(CWnd* window, COLORREF background);
// Number of pixels exactly of the colour.
int CountPixels(CWnd* window, COLORREF color);
// Number of pixels inside area (clipped to the window) that accept takes.
int CountPixels(CWnd* window, RECT area, const std::function<bool(COLORREF)>& accept);
// Writes the window's picture as PNG; false on failure.
bool SavePng(CWnd* window, const CString& path);

} // namespace dlgtest
