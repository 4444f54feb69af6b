#include "geometry/CUnit.h"

#include "geometry/GeometryState.h"
#include "geometry/screen_marks.h"

IMPLEMENT_SERIAL(CUnit, CObject, 1)

CUnit::CUnit() : CUnit(UnitFamily::none)
{
}

// The members' initialisers are the values ResetState gives, so the
// constructor sets only what they cannot: a drawing read from a file
// constructs every one of its units, and the reset wrote them all twice.
CUnit::CUnit(UnitFamily family) : geometry(family), workGeometry(family)
{
    editStamp = g_undoStep;
    unitId = g_UnitIdCounter;
    lineStyle = g_CurrentLineStyle;
    colour = g_CurrentColor;
    dashDot = g_CurrentDashDot;
}

CUnit::~CUnit()
{
    CUnit::FreeCaches();
}

void CUnit::ResetState()
{
    compensation = 0.0;
    chainScratchA = chainScratchB = wearMarked = 0;
    selected = highlighted = picked = flatValid = hoverShown = splitMarked = 0;
    deleted = complete = temporary = walked = blockMember = dashDot = 0;
    gripsValid = gripsPending = gearKind = gearHandle = refActive = 0;
    visible = 1;
    radiusMode = ownerNo = group = role = textStyle = 0;
    contourShape = contourNo = pieceOf = toothCount = 0;
    extentMin = extentMax = x_Vector();
    if (edit.Exists())
        edit->dragPoint = x_Vector();
    inputPoints.Clear(0);
    refPoint.valid = 0;
    auxValue = 1.0;
    taperAngle = 0.0;
    listIndex = -1;
    chainDir = 2;
    brushStyle = 1;
    editStamp = g_undoStep;
}

void CUnit::FreeCaches()
{
    for (x_VectorArray* list : {&keyPoints, &nodes, &workCurve, &flatPoints, &gripPoints}) {
        list->RemoveAll();
        list->FreeExtra();
    }
    wearSteps.RemoveAll();
    wearSteps.FreeExtra();
}

void CUnit::CopyCommonAttributes(CUnit* target)
{
    if (target == nullptr || target == this)
        return;
    target->inputPoints = inputPoints;
    target->extentMin = extentMin;
    target->extentMax = extentMax;
    target->listIndex = listIndex;
    target->temporary = temporary;
    target->textStyle = textStyle;
    target->role = role;
    target->group = group;
    target->chainDir = chainDir;
    target->ownerNo = ownerNo;
    target->radiusMode = radiusMode;
    target->gearKind = gearKind;
    target->gearHandle = gearHandle;
    target->toothCount = toothCount;
    target->taperAngle = taperAngle;
    target->colour = colour;
    target->lineStyle = lineStyle;
    target->dashDot = dashDot;
    target->blockMember = blockMember;
    target->complete = complete;
    target->pieceOf = pieceOf;
}

bool CUnit::IsOnPath()
{
    return role == kRoleGearHandle || role == kRoleDerivedPiece || role == kRolePath;
}

UnitDrawStyle CUnit::ChooseMarkedDrawStyle(DrawRule rule)
{
    // A negative style read from a file reached pen creation; it is drawn
    // solid like any style above 2.
    if (lineStyle < 0 || lineStyle > 2)
        lineStyle = 0;
    UnitDrawStyle s{colour, lineStyle, 0};
    if (selected || picked) {
        s = {g_SelectedColor, g_MarkLineStyle, 0};
    } else if (rule != DrawRule::annotation && highlighted) {
        s.colour = g_HighlightColor;
    } else if (rule != DrawRule::annotation && role == kRoleLeadLine) {
        s = {RGB(255, 255, 255) - g_LeadLineColor, g_MarkLineStyle, 0};
    } else if (rule != DrawRule::annotation && role == kRoleGearHandle) {
        s = {g_Path1Color, g_MarkLineStyle, 0};
    } else if (rule != DrawRule::annotation && role == kRoleDerivedPiece) {
        s = rule == DrawRule::line ? UnitDrawStyle{g_JumpLineColor, g_MarkLineStyle, 0}
                                   : UnitDrawStyle{g_Path1Color, lineStyle, 0};
    }
    if (g_PropertyPanelShown) {
        s.colour = colour;
        if (lineStyle == 2)
            s.lineStyle = 2;
    }
    // The settings block may hold any mark style; draw those solid as well.
    if (s.lineStyle < 0 || s.lineStyle > 2)
        s.lineStyle = 0;
    s.rasterPattern = static_cast<std::uint8_t>(s.lineStyle == 1 && dashDot ? 3 : s.lineStyle);
    return s;
}

int CUnit::FindGrip(x_Vector point)
{
    x_Vector hit;
    EnsureGripPoints();
    const int grip = FindGripNear(gripPoints, point, hit);
    if (grip != 0)
        edit->gripHit = hit;
    return grip;
}

void CUnit::DeferGripPoints()
{
    if (gripsValid)
        return;
    ComputeExtents();
    gripsPending = 1;
    gripsValid = 1;
}

void CUnit::RefreshCachesAfterDraw()
{
    if (gripsValid)
        return;
    workGeometry = geometry;
    UpdateGripPoints();
    ComputeExtents();
    gripsValid = 1;
}

CircleRecord GetCircleRecord(const CUnit& unit)
{
    return unit.geometry.circle;
}

x_Vector GetCircleCentre(const CUnit& unit)
{
    return unit.geometry.circle.centre;
}

ArcRecord GetArcRecord(const CUnit& unit)
{
    return unit.geometry.arc;
}

x_Vector GetArcCentre(const CUnit& unit)
{
    return unit.geometry.arc.centre;
}

void InitTwoPointRecord(x_Vector& first, x_Vector& second)
{
    first = x_Vector();
    second = x_Vector();
}
