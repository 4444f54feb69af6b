#include "app/DocumentUi.h"

#include "app/AppState.h"
#include "app/CZorvaFileSaveAs.h"
#include "app/CZorvaOpenFile.h"
#include "platform/ui/message_box.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"

void DocumentUi::ResetEntityMarks()
{
    if (g_pDoc == nullptr)
        return;
    for (CUnit* unit : g_pDoc->m_unitList) {
        if (unit == nullptr || unit->deleted)
            continue;
        unit->selected = 0;
        unit->highlighted = 0;
        unit->picked = 0;
    }
}

bool DocumentUi::RunSaveDialog()
{
    CZorvaFileSaveAs dialog;
    return dialog.DoModal() == IDOK;
}

bool DocumentUi::RunOpenDialog()
{
    CZorvaOpenFile dialog;
    return dialog.DoModal() == IDOK;
}

DocumentUi& DocUi()
{
    static DocumentUi quiet;
    return g_pDocUi != nullptr ? *g_pDocUi : quiet;
}
