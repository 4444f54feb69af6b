#pragma once

// Pages inside the tab controls of the path dialogs: placing a page in a
// tab's page area, and sizing a tab (and the dialog) around a page.

#include "platform/gdi/gdi_types.h"

class CWnd;

// The page's size in pixels.
SIZE WindowSize(const CWnd* w);
// Places page over the page area of tab (tab and page share a parent
// coordinate system only through the tab: the page is the tab's child).
void PlaceInTab(CWnd* tab, CWnd* page);
// The outer size a tab needs for a page of that size.
SIZE TabSizeFor(CWnd* tab, SIZE page);
// Moves w by (dx, dy) within its parent.
void MoveBy(CWnd* w, int dx, int dy);
// Resizes a top-level window so that its client area grows by (dx, dy).
void GrowClient(CWnd* w, int dx, int dy);
// A child's rectangle in its parent's client coordinates.
RECT ChildRect(const CWnd* child);
