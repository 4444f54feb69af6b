#include "geometry/unit_services.h"

#include "geometry/CUnit.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"

void ResetEntityStates()
{
    if (g_pDoc == nullptr)
        return;
    for (CUnit* u : g_pDoc->m_unitList) {
        if (u == nullptr || u->deleted)
            continue;
        u->visible = 1;
        u->walked = u->hoverShown = u->highlighted = u->picked = 0;
        u->selected = u->rubberShown = u->splitMarked = 0;
    }
}

void SelectGroup(int group)
{
    if (g_pDoc == nullptr)
        return;
    for (CUnit* u : g_pDoc->m_unitList) {
        if (u == nullptr || u->deleted)
            continue;
        u->selected = (u->group != 0 && u->group == group && u->role != kRolePath) ? 1 : 0;
    }
}
