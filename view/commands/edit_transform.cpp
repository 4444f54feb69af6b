// Move, mirror, rotate and scale by clicks.
//   move    select; base point; target point (the selection moves by the
//           difference, one move record)
//   mirror  select; first axis point; second axis point (the keep-source
//           question follows as typed input)
//   rotate  select; centre; a point giving the angle from the centre
//   scale   select (no gears); base point; a point that fixes the factor
//           the preview wrote into m_scaleFactor
// Rotate, scale and mirror replace each entity by a transformed copy.

#include <cmath>
#include <mutex>

#include "app/AppState.h"
#include "app/CRest.h"
#include "app/CZorvaDoc.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/screen_marks.h"
#include "view/CZorvaView.h"
#include "view/view_entities.h"

namespace {

bool SolidSelected(const CUnit* u)
{
    return !u->deleted && u->selected && (u->role == kRoleDrawing || u->role == kRoleAnnotation);
}

} // namespace

void CZorvaView::StepTransform(CDC* dc)
{
    const x_Vector p = m_inputPoint;
    const int command = g_curCommand;
    if (m_subStep == 0) {
        if (command == kCmdMirror) {
            CUnit* gear = FirstLiveHit(p, false, true);
            if (gear != nullptr && (gear->gearKind == 1 || gear->gearKind == 2)) {
                PrintLine(CString(u"#不支持该类型镜像"));
                return;
            }
        }
        SelectionClick(dc, p, 1, command != kCmdScale);
        return;
    }
    if (m_subStep == 1) {
        m_basePoint = p;
        if (command == kCmdMove)
            m_moveBase = p;
        ++m_subStep;
        ShowPrompt(CString(), 0);
        MarkInputPoint(dc, p);
        return;
    }
    switch (command) {
    case kCmdMove:
        m_subStep = 0;
        MoveSelection(p - m_basePoint);
        PurgeDegenerateEntities(2);
        SetCommand(0);
        break;
    case kCmdMirror:
        m_secondPoint = p;
        m_subStep = 3;
        ShowPrompt(CString(), 0);
        break;
    case kCmdRotate:
        ReplaceSelectionByCopies(kCmdRotate, m_basePoint, p, x_Vector::AngleTo(m_basePoint, p));
        break;
    case kCmdScale:
        // A factor the preview never wrote would collapse the selection.
        if (!(m_scaleFactor.x >= 1e-10 && m_scaleFactor.y >= 1e-10)) {
            PrintLine(CString(u"输入比例必须大于0"));
            return;
        }
        ReplaceSelectionByCopies(kCmdScale, m_basePoint, p, 0.0);
        break;
    default:
        break;
    }
}

// One move record for every moved entity: undo moves them all back by -d.
void CZorvaView::MoveSelection(const x_Vector& d)
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    std::lock_guard<std::recursive_mutex> lock(doc->m_listMutex);
    CRest* rest = nullptr;
    for (CUnit* u : doc->m_unitList) {
        // A generated gear's handle circle goes with its gear.
        if (!SolidSelected(u) && !(u->selected && !u->deleted && u->role == kRoleGearHandle))
            continue;
        if (rest == nullptr) {
            doc->PrepareUndoStep();
            rest = new CRest;
            rest->m_flags = CRest::kMove;
            rest->m_displacement = d;
        }
        u->Move(d);
        u->CommitTransform();
        u->gripsValid = 0;
        u->flatValid = 0;
        rest->Add(u);
    }
    if (rest != nullptr)
        AppendToObArray(rest, doc->m_restList);
}

// Replaces every selected solid entity by a transformed copy. A refusing
// entity keeps its place and its copy is destroyed, so the step holds only
// whole replacements. Mirror takes the image the preview or the typed axis
// left in the working copy; the transform on the copy is then only a test.
void CZorvaView::ReplaceSelectionByCopies(int kind, const x_Vector& a, const x_Vector& b, double angle)
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc != nullptr) {
        std::lock_guard<std::recursive_mutex> lock(doc->m_listMutex);
        const int count = doc->m_unitList.GetSize();
        for (int i = 0; i < count; ++i) {
            CUnit* u = doc->m_unitList[i];
            if (!SolidSelected(u))
                continue;
            if (kind == kCmdMirror)
                u->Mirror(a, b);
            CUnit* copy = nullptr;
            if (!u->Copy(kind == kCmdMirror ? 2 : 0, copy) || copy == nullptr)
                continue;
            bool ok = false;
            if (kind == kCmdRotate)
                ok = copy->Rotate(a, angle);
            else if (kind == kCmdScale)
                ok = copy->Scale(a, m_scaleFactor);
            else
                ok = copy->Mirror(a, b);
            if (!ok || (copy->gearKind != 0 && kind == kCmdScale)) {
                delete copy;
                continue;
            }
            if (kind != kCmdMirror)
                copy->CommitTransform();
            else
                copy->workGeometry = copy->geometry;
            copy->selected = copy->highlighted = copy->picked = 0;
            copy->complete = 1;
            copy->gripsValid = copy->flatValid = 0;
            doc->RecordDelete(u);
            AppendToObArray(copy, doc->m_unitList);
        }
    }
    PurgeDegenerateEntities(0);
    SetCommand(0);
    PrintSeparator();
}

// "y" to the mirror question: the sources stay as duplicates in place, in
// new groups above every existing one.
void CZorvaView::DuplicateSelectionInPlace()
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    std::lock_guard<std::recursive_mutex> lock(doc->m_listMutex);
    doc->m_tempList.RemoveAll();
    const int m = 1 + GetMaxGroupNumber();
    const int count = doc->m_unitList.GetSize();
    for (int i = 0; i < count; ++i) {
        CUnit* u = doc->m_unitList[i];
        if (!SolidSelected(u) || u->gearKind != 0)
            continue;
        CUnit* copy = nullptr;
        if (!u->Copy(0, copy) || copy == nullptr)
            continue;
        if (u->group != 0)
            copy->group = 2 * m - u->group;
        copy->role = u->role;
        copy->gearKind = u->gearKind;
        copy->toothCount = u->toothCount;
        copy->pieceOf = u->pieceOf;
        copy->selected = copy->highlighted = copy->picked = 0;
        copy->complete = 1;
        AppendToObArray(copy, doc->m_unitList);
    }
}
