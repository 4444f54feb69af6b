#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/CZorvasendwork.h"
#include "app/DocumentUi.h"
#include "geometry/GeometryState.h"
#include "platform/ui/message_box.h"

namespace {

constexpr int kExportDialogId = 1103;

} // namespace

void CZorvaDoc::OnExportWork()
{
    g_curCommand = 0;
    g_cmdStep = 1;
    const int count = DocUi().CollectExportPaths();
    if (count == 0) {
        DocUi().AskForExportPaths();
        return;
    }
    g_modalDialogId = kExportDialogId;
    CZorvasendwork confirm(count);
    const INT_PTR answer = confirm.DoModal();
    g_modalDialogId = 0;
    g_keyDownSeen = 0;
    if (answer != IDOK)
        return;
    // The export names its own file: the drawing keeps its name and type.
    const CString name = g_currentFileName, path = g_currentFilePath;
    const std::int32_t type = g_fileDialogType;
    g_saveTypeIndex = 1;
    g_exportMode = 1;
    SaveDocument(1);
    g_exportMode = 0;
    g_currentFileName = name;
    g_currentFilePath = path;
    g_fileDialogType = type;
}
