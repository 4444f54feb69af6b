#pragma once

#include "platform/ui/wintypes.h"

#include <functional>

class CMenu;
class CWnd;

constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

// Shows menu as a popup with its corner at the screen point (x, y), placed
// by the TPM_ alignment flags. The chosen command goes to target as a
// posted WM_COMMAND; with TPM_RETURNCMD it is returned instead (0: none).
// Without TPM_RETURNCMD the result is nonzero when a command was chosen.
BOOL TrackPopupMenu(CMenu* menu, UINT flags, int x, int y, CWnd* target);

// Replaces the popup by a call that gets the menu and point and returns
// the chosen command (0: dismissed). Returns the old hook. Without a hook
// a headless session dismisses every popup.
using PopupMenuHook = std::function<UINT(const CMenu& menu, int x, int y)>;
PopupMenuHook SetPopupMenuHook(PopupMenuHook hook);
