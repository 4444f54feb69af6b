#pragma once

// Standard cursors. A cursor handle names one of the shapes below.

struct CursorShape {
    int shape; // a Qt::CursorShape value
};
using HCURSOR = const CursorShape*;

// Ids for LoadCursor(nullptr, id) and CWinApp::LoadStandardCursor.
using LPCURSORID = const CursorShape*;
extern const CursorShape kCursorArrow;
extern const CursorShape kCursorCross;
extern const CursorShape kCursorHand;
extern const CursorShape kCursorWait;
extern const CursorShape kCursorIBeam;
extern const CursorShape kCursorSizeAll;
extern const CursorShape kCursorNo;
#define IDC_ARROW (&kCursorArrow)
#define IDC_CROSS (&kCursorCross)
#define IDC_HAND (&kCursorHand)
#define IDC_WAIT (&kCursorWait)
#define IDC_IBEAM (&kCursorIBeam)
#define IDC_SIZEALL (&kCursorSizeAll)
#define IDC_NO (&kCursorNo)

HCURSOR LoadCursor(void* instance, LPCURSORID id);
// Shows cursor over the window that is handling the current mouse message
// (or the one under the mouse); null hides it. Returns the previous one.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
