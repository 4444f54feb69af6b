#include "view/view_entities.h"

#include <mutex>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/plane_geometry.h"
#include "view/ViewState.h"

int DirectionArrowAt(POINT pixel, const x_Vector& cursor)
{
    int found = -1;
    double best = 0.0;
    for (int i = 0; i < g_DirSignList.GetSize(); ++i) {
        const x_DirSignData& a = g_DirSignList[i];
        if (!PointInPolygon(pixel.x, pixel.y, a.pickScreen, 3))
            continue;
        const double d = x_Vector::Distance(a.base, cursor);
        if (found < 0 || d < best) {
            found = i;
            best = d;
        }
    }
    return found;
}

void ClearEntityMarks()
{
    if (g_pDoc == nullptr)
        return;
    for (CUnit* u : g_pDoc->m_unitList)
        if (!u->deleted)
            u->hoverShown = 0;
}

void DeselectNonGeometry()
{
    if (g_pDoc == nullptr)
        return;
    for (CUnit* u : g_pDoc->m_unitList) {
        if (u->deleted)
            continue;
        if ((u->role != kRoleDrawing && u->role != kRoleAnnotation) || u->gearKind)
            u->selected = 0;
    }
}

int GetMaxGroupNumber()
{
    int best = 0;
    if (g_pDoc == nullptr)
        return 0;
    for (CUnit* u : g_pDoc->m_unitList)
        if (!u->deleted && u->role != kRolePath && u->group > best)
            best = u->group;
    return best;
}

void AddExportPathId(const CUnit* path)
{
    for (int i = 0; i < g_SelectedTrailIds.GetSize(); ++i)
        if (g_SelectedTrailIds[i] == path->unitId)
            return;
    g_SelectedTrailIds.Add(path->unitId);
}

x_Vector NegateVector(const x_Vector& v)
{
    return x_Vector(-v.x, -v.y);
}

bool ClearDrawingList()
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return true;
    g_listBusy = 1;
    doc->FreeAllUnits();
    g_listBusy = 0;
    return true;
}

bool ClearUndoHistory()
{
    if (CZorvaDoc* doc = GetZorvaDoc())
        doc->FreeUndoHistory();
    return true;
}

// A unit's own compensation and variable-taper angle stay: clearing them
// here wiped the compensation table's values at every batch start.
void ClearWearMarks()
{
    if (g_pDoc != nullptr) {
        for (CUnit* u : g_pDoc->m_unitList) {
            u->wearMarked = 0;
            u->wearSteps.RemoveAll();
        }
    }
    g_WearMarkers.RemoveAll();
    g_WearCorrectionMode = 0;
}
