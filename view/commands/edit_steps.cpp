// The edit half of the step engine: one click of an edit command in phase 5,
// dispatched by family, and the pick helpers the families share.

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/view_transform.h"
#include "view/CZorvaView.h"
#include "view/view_entities.h"

namespace {

// The command line reaches the typed input of the edit commands through
// this hook; it lives here so that the step engine's reference links it.
bool TypedEditHook(CZorvaView* view, CDC* dc, const CString& text)
{
    return view != nullptr && view->TypedEditInput(dc, text);
}

const bool g_typedEditHookInstalled = [] {
    g_TypedEditInputHook = &TypedEditHook;
    return true;
}();

bool RoleAllowed(const CUnit* u, int roles)
{
    switch (roles) {
    case 0:
        return u->role == kRoleDrawing;
    case 1:
        return u->role == kRoleDrawing || u->role == kRoleAnnotation;
    default:
        return true;
    }
}

} // namespace

void CZorvaView::StepEditCommand(CDC* dc, int inputKind)
{
    // The hook must stay installed even when a test resets the view globals.
    g_TypedEditInputHook = &TypedEditHook;
    switch (g_curCommand) {
    case kCmdMove:
    case kCmdMirror:
    case kCmdRotate:
    case kCmdScale:
        StepTransform(dc);
        break;
    case kCmdTrim:
        StepTrimOrAlign(dc, false);
        break;
    case kCmdAlign:
        StepTrimOrAlign(dc, true);
        break;
    case kCmdBreak:
        if (GetCommandMode(kCmdBreak - 1) == 0)
            StepBreak(dc);
        else
            StepDividePick(dc);
        break;
    case kCmdExtend:
        StepExtend(dc);
        break;
    case kCmdFillet:
    case kCmdChamfer:
        StepFilletOrChamfer(dc);
        break;
    case kCmdTangent:
        StepTangent(dc);
        break;
    case kCmdOffset:
        StepOffset(dc, inputKind);
        break;
    case kCmdQueryPoint:
    case kCmdQueryDistance:
    case kCmdQueryPerimeter:
    case kCmdQueryAngle:
    case kCmdQueryCentre:
        StepQuery(dc);
        break;
    case kCmdPaste:
    case kCmdExplode:
    case kCmdErase:
    case kCmdArray:
        StepPasteOrExplode(dc);
        break;
    case kCmdPath:
        StepPathCommand(dc, inputKind);
        break;
    default:
        // The origin offset and the numbers no command uses take no click.
        break;
    }
}

// The selection click: the live units of the allowed roles are offered the
// click in list order until one is hit or starts a grip drag.
bool CZorvaView::SelectionClick(CDC* dc, const x_Vector& p, int roles, bool gears)
{
    const POINT px = WorldToScreen(p);
    m_selectionRect = {px.x, px.y, px.x, px.y};
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return false;
    CUnit* hit = nullptr;
    for (int i = 0; i < doc->m_unitList.GetSize() && hit == nullptr; ++i) {
        CUnit* u = doc->m_unitList[i];
        if (u->deleted || !RoleAllowed(u, roles) || (!gears && u->gearKind != 0))
            continue;
        m_pickedFlag = m_gripDragFlag = 0;
        m_pickUnit = nullptr;
        u->OnPick(dc, this, p);
        if (m_pickedFlag || m_gripDragFlag)
            hit = u;
    }
    if (hit == nullptr) {
        // A drag from here selects by window when the button comes up.
        m_windowSelect = 1;
        return false;
    }
    m_unitHit = 1;
    m_pPickedUnit = hit;
    hit->hoverShown = 0;
    if (hit->group != 0)
        SelectSameGroup();
    RedrawNow();
    return true;
}

// The first live unit of role 0 under the point (exactly on it when exact).
CUnit* CZorvaView::FirstLiveHit(const x_Vector& p, bool exact, bool gears, bool unselected)
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return nullptr;
    for (int i = 0; i < doc->m_unitList.GetSize(); ++i) {
        CUnit* u = doc->m_unitList[i];
        if (u->deleted || u->role != kRoleDrawing || (!gears && u->gearKind != 0))
            continue;
        if (unselected && u->selected)
            continue;
        if (u->HitTest(p, exact ? 1 : 0)) {
            u->listIndex = i;
            return u;
        }
    }
    return nullptr;
}
