#pragma once

// Every global of the process folder: the process-parameter table, the
// table dialog's hand-over and search filter, the ".qcx" folders, the open
// path dialogs and the hand-over between the multi-pass list and its
// per-cut dialog.

#include <cstdint>
#include <vector>

#include "platform/core/CString.h"
#include "platform/gdi/gdi_types.h"
#include "process/trail_sql_t.h"

class CZorvaTrail_create;
class CZorvasql_cutcount;
class CZorvatrailSql;

// The records of the table of the coding version last opened, in load and
// append order; a record's index is its identity inside the program.
extern std::vector<trail_sql_t> g_ProcessTable;
// "sql_list_h1", "sql_list_f1", ...: the table the dialog last opened.
extern CString g_ProcessTableName;
// Whether g_ProcessTable holds what the table file holds.
enum class TableSource : std::uint8_t {
    none,       // nothing opened yet
    loaded,     // read from the file or written to it
    missing,    // there is no file yet: an empty table
    rejected,   // the file failed its check and was not loaded
};
extern TableSource g_ProcessTableSource;
// The table changed in memory since it was loaded or saved.
extern std::uint8_t g_ProcessTableChanged;
// The record chosen with 选中; -1 when none.
extern int g_SelectedProcessIndex;
extern CZorvatrailSql* g_ProcessTableDialog;

// The search filter; it applies to one list filling.
extern std::uint8_t g_ProcessFilterActive;
extern CString g_ProcessFilterText;
extern double g_ProcessFilterThickness[2];      // minimum, maximum
extern std::int32_t g_ProcessFilterEfficiency[2];
extern std::int32_t g_ProcessFilterFinish[2];

// The ".qcx" path of the save dialog and the folder of the import dialog.
extern CString g_QcxSavePath;
extern CString g_QcxImportFolder;

// Edit fields of the parameter dialogs are painted on this light blue.
constexpr COLORREF kEditFieldColour = RGB(223, 223, 255);
HBRUSH EditBrush();

// The single-pass dialog while it is open (its pages forward Esc to it).
extern CZorvaTrail_create* g_pTrailCreateDlg;
// 1 while the multi-pass dialog builds its cut-mode pages (the taper page
// then moves its angle field to the right), 0 for the single-pass dialog.
extern std::uint8_t g_TaperPageShifted;
// The per-cut dialog while it is open: its pages let the allowance be edited.
extern CZorvasql_cutcount* g_pCutCountDlg;
// The multi-pass list row (0..6) the per-cut dialog edits; -1 none.
extern std::int32_t g_SelectedPassRow;

// Puts every global above back to its start value (tests call it in SetUp).
void ResetProcessState();
