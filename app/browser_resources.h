#pragma once

// Templates, control ids and the popup menu of the built-in file dialogs:
// save 139 "保存为  (F2)", open 144 "打开文件  (F1)", search 245 "搜索文件",
// and menu 143 "文件操作" of their lists.

#include "platform/ui/wintypes.h"

constexpr UINT IDD_FILE_SAVEAS = 139;
constexpr UINT IDR_BROWSER_MENU = 143;
constexpr UINT IDD_FILE_OPEN = 144;
constexpr UINT IDD_FILE_SEARCH = 245;

constexpr int kIdBrowserList = 1008;
constexpr int kIdNameEdit = 1009;       // save: file name; search: the fragment
constexpr int kIdTypeCombo = 1012;
constexpr int kIdUpButton = 1178;
constexpr int kIdFolderCombo = 1232;

constexpr UINT kCmdBrowserRefresh = 32803;
constexpr UINT kCmdBrowserDelete = 32804;
constexpr UINT kCmdBrowserSearch = 33021;

// Registers the three templates and the menu (once).
void RegisterBrowserTemplates();
