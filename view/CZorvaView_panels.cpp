// The view's side of the property panel: which entity it shows, and the
// view state its edits read.

#include "app/AppState.h"
#include "app/CZorvaimageInfo.h"
#include "app/FrameState.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "view/CZorvaView.h"
#include "view/path_hooks.h"
#include "view/prompts.h"

void CZorvaView::ShowProperties(CUnit* unit)
{
    g_rightButtonState = 0;
    if (unit != nullptr)
        m_pPanelUnit = unit;
    if (g_pPropertyPanel == nullptr)
        return;
    if (unit != nullptr)
        RefreshPropertyPanel();
    g_pPropertyPanel->ShowWindow(SW_SHOWNORMAL);
}

void CZorvaView::RefreshPropertyPanel()
{
    if (auto* panel = dynamic_cast<CZorvaimageInfo*>(g_pPropertyPanel))
        panel->ShowEntity();
}

bool CZorvaView::LockOn()
{
    return g_LockSwitch != 0;
}

bool CZorvaView::ModifyOn()
{
    return g_gripEditOn != 0;
}

CString CZorvaView::EntityTypeName(CUnit& unit)
{
    const int type = unit.GetType();
    return CommandShortName(type, type == 17 ? unit.radiusMode : 0);
}

double CZorvaView::PathLength(CUnit& unit)
{
    if (g_PathHooks.summary == nullptr)
        return 0.0;
    const PathSummary s = g_PathHooks.summary(unit);
    return s.upperLength > s.length ? s.upperLength : s.length;
}
