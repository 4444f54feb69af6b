#pragma once
// The framework's standard command, indicator and window ids.

#include "platform/ui/wintypes.h"

constexpr UINT ID_SEPARATOR = 0;
constexpr UINT ID_FILE_NEW = 0xE100;      // 57600
constexpr UINT ID_FILE_OPEN = 0xE101;     // 57601
constexpr UINT ID_FILE_CLOSE = 0xE102;
constexpr UINT ID_FILE_SAVE = 0xE103;     // 57603
constexpr UINT ID_FILE_SAVE_AS = 0xE104;
constexpr UINT ID_FILE_PRINT = 0xE107;    // 57607
constexpr UINT ID_EDIT_COPY = 0xE122;     // 57634
constexpr UINT ID_EDIT_CUT = 0xE123;      // 57635
constexpr UINT ID_EDIT_PASTE = 0xE125;    // 57637
constexpr UINT ID_EDIT_UNDO = 0xE12B;     // 57643
constexpr UINT ID_APP_ABOUT = 0xE140;     // 57664
constexpr UINT ID_APP_EXIT = 0xE141;      // 57665
constexpr UINT ID_HELP_FINDER = 0xE143;
constexpr UINT ID_NEXT_PANE = 0xE150;     // 57680
constexpr UINT ID_PREV_PANE = 0xE151;     // 57681

constexpr UINT ID_INDICATOR_EXT = 0xE700;
constexpr UINT ID_INDICATOR_CAPS = 0xE701;
constexpr UINT ID_INDICATOR_NUM = 0xE702;
constexpr UINT ID_INDICATOR_SCRL = 0xE703;

constexpr UINT AFX_IDW_CONTROLBAR_FIRST = 0xE800;
constexpr UINT AFX_IDW_CONTROLBAR_LAST = 0xE8FF;
constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
constexpr UINT AFX_IDW_DOCKBAR_TOP = 0xE81B;
constexpr UINT AFX_IDW_DOCKBAR_LEFT = 0xE81C;
constexpr UINT AFX_IDW_DOCKBAR_RIGHT = 0xE81D;
constexpr UINT AFX_IDW_DOCKBAR_BOTTOM = 0xE81E;
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;

constexpr UINT AFX_IDS_IDLEMESSAGE = 0xE001;
