#pragma once

// Templates and control ids of the gear dialog and its two pages.

constexpr unsigned IDD_GEAR = 154;
constexpr unsigned IDD_GEAR_PAGE = 175;
constexpr unsigned IDD_RACK_PAGE = 177;

// Dialog 154.
constexpr int IDC_GEAR_TAB = 1189;
constexpr int IDC_GEAR_PREVIEW = 1178;

// Pages 175 and 177 (the same id can mean another field on each page).
constexpr int IDC_TEETH = 1009;
constexpr int IDC_MODULE = 1012;
constexpr int IDC_ALPHA = 1104;
constexpr int IDC_HA = 1105;
constexpr int IDC_C = 1114;
constexpr int IDC_MESSAGE = 1031;
constexpr int IDC_SIZE_TIP = 1099;
constexpr int IDC_SIZE_ROOT = 1103;
// Gear page.
constexpr int IDC_GEAR_SHIFT = 1015;
constexpr int IDC_GEAR_MODE1 = 1044;
constexpr int IDC_GEAR_MODE2 = 1045;
constexpr int IDC_GEAR_EXTERNAL = 1043;
constexpr int IDC_GEAR_INTERNAL = 1029;
constexpr int IDC_GEAR_TIP_ON = 1032;
constexpr int IDC_GEAR_TIP_R = 1016;
constexpr int IDC_GEAR_ROOT_ON = 1097;
constexpr int IDC_GEAR_ROOT_R = 1017;
constexpr int IDC_GEAR_BYCOUNT = 1030;
constexpr int IDC_GEAR_COUNT = 1106;
constexpr int IDC_GEAR_START = 1096;
// Rack page.
constexpr int IDC_RACK_SHIFT = 1016;
constexpr int IDC_RACK_MODE1 = 1043;
constexpr int IDC_RACK_MODE2 = 1029;
constexpr int IDC_RACK_TIP_ON = 1030;
constexpr int IDC_RACK_TIP_R = 1017;
constexpr int IDC_RACK_ROOT_ON = 1032;
constexpr int IDC_RACK_ROOT_R = 1096;

// The module list: 32 values written with "%.2f".
constexpr int kModuleCount = 32;
extern const double kModules[kModuleCount];

void RegisterGearDialogTemplates();
