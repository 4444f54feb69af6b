#pragma once

// Resource ids of zorvalink: dialog templates, menus, icons, strings and the
// controls the code names. RegisterLinkResources declares them in code.

#include "platform/ui/wintypes.h"

// Dialog templates.
constexpr UINT IDD_LINK_ABOUTBOX = 100;
constexpr UINT IDD_ZORVALINK_DIALOG = 102;
constexpr UINT IDD_FILE_PAGE = 129;
constexpr UINT IDD_CREATE_DIR = 141;
constexpr UINT IDD_MACHINE_NUMBER = 144;

// Icons.
constexpr UINT IDR_LINK_MAINFRAME = 128;
constexpr UINT IDI_PARENT_ROW = 130;
constexpr UINT IDI_FILE_ROW = 131;
constexpr UINT IDI_FOLDER_ROW = 132;
constexpr UINT IDI_DRIVE_ROW = 133;
constexpr UINT IDI_MACHINE_ONLINE = 137;
constexpr UINT IDI_MACHINE_OFFLINE = 138;
constexpr UINT IDI_SPARE = 139;
constexpr UINT IDI_REMOVABLE_ROW = 140;

// Menus.
constexpr UINT IDR_LOCAL_MENU = 135;
constexpr UINT IDR_REMOTE_MENU = 136;
constexpr UINT IDR_LOG_MENU = 142;
constexpr UINT IDR_MACHINE_MENU = 143;

// Strings and status panes.
constexpr UINT IDS_ABOUTBOX = 101;
constexpr UINT ID_PANE_STATUS = 59144;
constexpr UINT ID_PANE_ADDRESS = 59145;
constexpr UINT IDM_ABOUTBOX = 16;

// Main dialog.
constexpr int IDC_RELOAD = 1; // the default button: also Enter
constexpr int IDC_MACHINE_LIST = 1000;
constexpr int IDC_SELECT_ALL = 1004;
constexpr int IDC_SELECT_NONE = 1006;
constexpr int IDC_SAVE_SCHEME = 1012;
constexpr int IDC_CLEAR_SCHEMES = 1013;
constexpr int IDC_TAB = 1014;
constexpr int IDC_SKIP_EXISTING = 1021;
constexpr int IDC_LOG = 1022;
constexpr int IDC_REPLACE_EXISTING = 1024;
constexpr int IDC_SHOW_MAXIMISED = 1028;
constexpr int IDC_TRANSFER_LABEL = 1029;
constexpr int IDC_SCHEME = 1030;
constexpr int IDC_STATE_TEXT = 1040;

// File page.
constexpr int IDC_LOCAL_LIST = 1001;
constexpr int IDC_REMOTE_LIST = 1002;
constexpr int IDC_LOCAL_PATH = 1003;
constexpr int IDC_LOCAL_UP = 1004;
constexpr int IDC_REMOTE_PATH = 1005;
constexpr int IDC_REMOTE_UP = 1006;
constexpr int IDC_FILTER = 1008;
constexpr int IDC_LOCAL_LABEL = 1010;
constexpr int IDC_REMOTE_LABEL = 1011;
constexpr int IDC_SEND = 1012;
constexpr int IDC_RECEIVE = 1013;
constexpr int IDC_STOP = 1015;
constexpr int IDC_MACHINE_BOX = 1020;
constexpr int IDC_SEND_ALL = 1021;
constexpr int IDC_SKIP_BUSY = 1028;

// Small dialogs.
constexpr int IDC_NAME_EDIT = 1003;
constexpr int IDC_HINT = 1010;
constexpr int IDC_LETTER = 1030;

// Commands.
constexpr UINT ID_LOCAL_REFRESH = 32777;
constexpr UINT ID_LOCAL_SEND = 32778;
constexpr UINT ID_REMOTE_REFRESH = 32779;
constexpr UINT ID_REMOTE_RECEIVE = 32780;
constexpr UINT ID_REMOTE_DELETE = 32781;
constexpr UINT ID_REMOTE_NEW_FOLDER = 32783;
constexpr UINT ID_LOCAL_NEW_FOLDER = 32786;
constexpr UINT ID_LOCAL_DELETE = 32788;
constexpr UINT ID_LOCAL_OPEN_FOLDER = 32790;
constexpr UINT ID_LOG_CLEAR = 32792;
constexpr UINT ID_CHANGE_MACHINE_NUMBER = 32794;

void RegisterLinkResources();
