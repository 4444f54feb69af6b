#pragma once

// Control ids of the multi-pass path dialog (template 155).

namespace multipass {
constexpr unsigned IDD_TRAIL_MANY = 155;
constexpr int IDC_COMPENSATION = 1009, IDC_OFFSET_ON = 1043, IDC_OFFSET_OFF = 1029;
constexpr int IDC_OVERCUT = 1015, IDC_THICKNESS = 1016, IDC_CUT_TYPE = 1027, IDC_DIE_WIDTH = 1017;
constexpr int IDC_PASS_COUNT = 1012, IDC_DIE_STEP = 1030, IDC_DIE_STEP_OFFSET = 1096;
constexpr int IDC_PAUSE_BEFORE_STEP = 1032, IDC_PAUSE_AFTER_STEP = 1097;
constexpr int IDC_PAUSE_BEFORE_CUTOFF = 1031, IDC_CUTOFF_DISTANCE = 1099, IDC_END_AFTER_CUTOFF = 1033;
constexpr int IDC_PAUSE_AFTER_FIRST = 1109, IDC_TRIM_LEAD = 1102, IDC_TRIM_LEAD_LENGTH = 1103;
constexpr int IDC_INNER_DIE_SUPPORT = 1107, IDC_WIRE_CHANGE = 1283, IDC_WIRE_CHANGE_DISTANCE = 1106;
constexpr int IDC_PAUSE_AT_WIRE_CHANGE = 1108, IDC_PASS_LIST = 1008, IDC_TO_DATABASE = 1100;
constexpr int IDC_PICTURE = 1101, IDC_MODE_TAB = 1021;

// Item values of the list rows, read by its custom drawing.
constexpr int kRowBeyondCount = 0, kRowNormal = 1, kRowHighlighted = 2;
constexpr int kMaxPasses = 7;
} // namespace multipass
