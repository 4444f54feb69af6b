#include "geometry/pick_and_drag.h"

#include "geometry/CUnit.h"
#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "geometry/view_transform.h"

void SelectOnHit(CUnit& unit, CUnitView& view, const x_Vector& point)
{
    if (!unit.HitTest(point, 0))
        return;
    view.m_pickUnit = &unit;
    unit.selected = unit.picked = 1;
    view.m_pickedFlag = 1;
    if (unit.group == 0)
        g_pickMark = 1;
}

void BeginGripDrag(CUnit& unit, CUnitView& view, int step)
{
    unit.edit->dragStart = unit.edit->dragPoint = unit.edit->gripHit;
    view.m_gripDragFlag = 1;
    unit.picked = 1;
    view.m_firstPoint = view.m_lastPoint = unit.edit->gripHit;
    g_cmdStep = step;
    g_pickMark = 1;
    const POINT px = WorldToScreen(unit.edit->gripHit);
    view.m_dragPixel[0] = view.m_dragPixel[1] = px;
}
