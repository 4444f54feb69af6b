#include "generators/generators_install.h"

#include "app/CZorvaDoc.h"
#include "app/tool_dialogs.h"
#include "generators/CZorvacreateGear.h"

namespace {

template <class Dialog>
bool RunModal()
{
    Dialog dialog;
    return dialog.DoModal() == IDOK;
}

} // namespace

void InstallGenerators()
{
    RegisterToolDialog(CZorvaDoc::kDlgCreateGear, &RunModal<CZorvacreateGear>);
}
