#pragma once
// Qt-side runtime of the window layer, shared by the platform/ui sources
// (never included outside platform/).

#include "platform/core/CString.h"
#include "platform/ui/wintypes.h"

#include <QPoint>
#include <QString>

class CMenu;
class CWnd;
class QMenu;
class QWidget;

namespace uirt {

// Creates the QApplication when none exists yet (tests, start-up) and
// installs the input router. The first caller's thread is the GUI thread.
void EnsureApplication(int* argc = nullptr, char** argv = nullptr);
bool IsGuiThread();

inline QString ToQ(const CString& text) { return QString::fromUtf16(text.GetString(), text.GetLength()); }
inline CString FromQ(const QString& text)
{
    return CString(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<int>(text.size()));
}

// Widget -> window map (GUI thread).
void MapWidget(QWidget* widget, CWnd* wnd);
void UnmapWidget(QWidget* widget, CWnd* wnd);
CWnd* Lookup(QWidget* widget);

// Depth of handler calls made from Qt events; a window destroyed inside one
// has its widget deleted later, not under Qt's feet.
struct DispatchScope {
    DispatchScope();
    ~DispatchScope();
};
bool InDispatch();

// True while a window's OnPaint runs on the GUI thread: repaint requests
// of the paint DC itself are then dropped (the blit follows at once).
bool InPaint();
struct PaintScope {
    PaintScope();
    ~PaintScope();
};

// The widget that WM_SETCURSOR is being handled for (SetCursor applies to it).
void SetCursorTarget(QWidget* widget);
QWidget* CursorTarget();

// Screen position of the last mouse message (false before the first).
void NoteMousePos(int x, int y);
bool LastMousePos(QPoint* pos);

// With ZORVA_PAINT_TRACE set, logs every widget paint to the standard error
// (paint_trace.cpp).
void InstallPaintTrace();

// Installs the filter that turns Qt input into window messages.
void InstallInputRouter();

// Virtual-key code of a Qt key, and back.
UINT VirtualKeyFromQt(int qtKey, bool keypad);
int QtKeyFromVirtualKey(UINT vk);
// Records key and modifier state for GetKeyState.
void NoteKey(UINT vk, bool down);
void NoteModifiers(bool shift, bool ctrl, bool alt);
void NoteMouseButtons(bool left, bool right, bool middle);
void ResetKeyState();

// Brings the visible top-level window of w forward when another one is
// active, as a click or a focus change does on the desktop.
void ActivateWindowOf(QWidget* w);

// The items of menu as actions of target (submenus, checks, grey items).
void FillQtMenu(QMenu* target, const CMenu& menu);

} // namespace uirt
