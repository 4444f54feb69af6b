#pragma once

// Resource ids of the main frame, its bars and palettes, and the start-up
// dialogs; RegisterFrameResources declares them all in code (once).

#include "platform/ui/wintypes.h"

constexpr UINT IDR_MAINFRAME = 128;       // menu, accelerators, icon
constexpr UINT IDD_ABOUTBOX = 100;
constexpr UINT IDD_COMMANDBAR = 132;
constexpr UINT IDR_DRAWTOOLBAR = 133;
constexpr UINT IDR_RIGHTBUTTON = 254;     // the view's right-button popup
constexpr UINT IDR_DIMTOOLBAR = 134;
constexpr UINT IDD_TOOLTABBAR = 241;
constexpr UINT IDD_LEFTTOOL1 = 242;
constexpr UINT IDD_LEFTTOOL2 = 243;
constexpr UINT IDD_LEFTTOOL3 = 244;
constexpr UINT IDR_MAINTOOLBAR = 248;
constexpr UINT IDD_STARTDLG = 257;

// Command-bar controls.
constexpr int IDC_COORDS = 1002;
constexpr int IDC_ORTHO = 1003;
constexpr int IDC_OUTPUT_LIST = 1008;
constexpr int IDC_PROMPT = 1010;
constexpr int IDC_MODE_COMBO = 1012;
constexpr int IDC_TRACK = 1013;
constexpr int IDC_SNAP = 1014;
constexpr int IDC_COMMAND_EDIT = 1025;
constexpr int IDC_LOCK = 1026;
constexpr int IDC_ENDPOINTS = 1030;
constexpr int IDC_GRIPEDIT = 1201;
constexpr int IDC_FILE_NAME = 1202;
constexpr int IDC_TOOL_TAB = 1189;
constexpr int IDC_LINE_STYLE = 1281;

// Icons of the file browsers' rows and of the help list.
constexpr UINT IDI_HELP_TOPIC = 179;
constexpr UINT IDI_FOLDER_ROW = 192;
constexpr UINT IDI_FILE_ROW = 197;
constexpr UINT IDI_UP_ROW = 203;
constexpr UINT IDI_DRIVE_ROW = 252;
// The main toolbar's icons, in button order.
constexpr UINT kMainToolbarIcons[20] = {212, 213, 214, 220, 215, 216, 219, 217, 218, 229,
                                        221, 222, 232, 240, 231, 224, 225, 239, 226, 230};

// Commands the frame itself names.
constexpr UINT ID_MENU_SAVE = 32805;

void RegisterFrameResources();
// The property panel, the text panel and the help dialog join the panel and
// tool-dialog registries (app_dialogs.cpp).
void InstallAppDialogs();
// The pictures of the toolbars and lists (icon_resources.cpp).
void RegisterIconResources();
