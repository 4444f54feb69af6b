#pragma once
// Qt menus built from CMenu item trees (never included outside platform/).

#include "platform/ui/wintypes.h"

#include <functional>

class CMenu;
class QMenu;
class QMenuBar;

struct MenuSink {
    std::function<void(UINT id)> command;     // an item was chosen
    std::function<void(UINT id)> hover;       // an item is highlighted; 0: the menus closed
    std::function<void(CMenu* menu)> opening; // before a popup shows (update handlers)
};

// Fills qmenu from menu, now and again each time it opens. The item's Qt
// object name is its command id.
void FillQMenu(QMenu* qmenu, CMenu* menu, const MenuSink& sink);
// One Qt menu per top-level popup of menu.
void FillQMenuBar(QMenuBar* bar, CMenu* menu, const MenuSink& sink);
