#include "process/ProcessState.h"

#include "platform/gdi/CBrush.h"

std::vector<trail_sql_t> g_ProcessTable;
CString g_ProcessTableName;
TableSource g_ProcessTableSource = TableSource::none;
std::uint8_t g_ProcessTableChanged = 0;
int g_SelectedProcessIndex = -1;
CZorvatrailSql* g_ProcessTableDialog = nullptr;

std::uint8_t g_ProcessFilterActive = 0;
CString g_ProcessFilterText;
double g_ProcessFilterThickness[2] = {0.0, 0.0};
std::int32_t g_ProcessFilterEfficiency[2] = {0, 0};
std::int32_t g_ProcessFilterFinish[2] = {0, 0};

CString g_QcxSavePath;
CString g_QcxImportFolder;

CZorvaTrail_create* g_pTrailCreateDlg = nullptr;
std::uint8_t g_TaperPageShifted = 0;
CZorvasql_cutcount* g_pCutCountDlg = nullptr;
std::int32_t g_SelectedPassRow = -1;

HBRUSH EditBrush()
{
    // Made once and kept for the life of the program.
    static CBrush brush;
    if (brush.GetSafeHandle() == nullptr)
        brush.CreateSolidBrush(kEditFieldColour);
    return brush;
}

void ResetProcessState()
{
    g_ProcessTable.clear();
    g_ProcessTableName.Empty();
    g_ProcessTableSource = TableSource::none;
    g_ProcessTableChanged = 0;
    g_SelectedProcessIndex = -1;
    g_ProcessTableDialog = nullptr;
    g_ProcessFilterActive = 0;
    g_ProcessFilterText.Empty();
    g_ProcessFilterThickness[0] = g_ProcessFilterThickness[1] = 0.0;
    g_ProcessFilterEfficiency[0] = g_ProcessFilterEfficiency[1] = 0;
    g_ProcessFilterFinish[0] = g_ProcessFilterFinish[1] = 0;
    g_QcxSavePath.Empty();
    g_QcxImportFolder.Empty();
    g_pTrailCreateDlg = nullptr;
    g_TaperPageShifted = 0;
    g_pCutCountDlg = nullptr;
    g_SelectedPassRow = -1;
}
