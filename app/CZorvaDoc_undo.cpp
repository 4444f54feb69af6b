#include "app/CZorvaDoc.h"

#include "app/AppState.h"
#include "app/CRest.h"
#include "app/DocumentUi.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"

#include <algorithm>
#include <unordered_set>

namespace {

std::int32_t NextStepId(std::int32_t id)
{
    return id >= kUndoRingSize ? 1 : id + 1;
}

// Units named by records of any step other than stepId.
std::unordered_set<const CUnit*> UnitsOfOtherSteps(const CRestArray& records, std::int32_t stepId)
{
    std::unordered_set<const CUnit*> named;
    for (CRest* rest : records) {
        if (rest->m_stepId == stepId)
            continue;
        for (CUnit* unit : rest->m_units) {
            if (unit != nullptr)
                named.insert(unit);
        }
    }
    return named;
}

} // namespace

CRest* CZorvaDoc::FindRecord(CUnit* unit)
{
    for (CRest* rest : m_restList) {
        if (rest->m_stepId == g_undoStep && rest->Lists(unit))
            return rest;
    }
    return nullptr;
}

CRest* CZorvaDoc::RecordFor(CUnit* unit)
{
    if (CRest* rest = FindRecord(unit))
        return rest;
    CRest* rest = new CRest;
    rest->Add(unit);
    AppendToObArray(rest, m_restList);
    return rest;
}

void CZorvaDoc::FreeStepRecords(std::int32_t stepId, bool onlyReplayedDeleted)
{
    int kept = 0;
    for (int i = 0; i < m_restList.GetSize(); ++i) {
        CRest* rest = m_restList.GetAt(i);
        if (rest->m_stepId == stepId && (!onlyReplayedDeleted || rest->m_replayedDeleted)) {
            delete rest;
            continue;
        }
        m_restList.SetAt(kept++, rest);
    }
    m_restList.SetSize(kept);
}

void CZorvaDoc::PrepareUndoStep()
{
    if (m_undoStepOpen)
        return;
    m_undoStepOpen = 1;
    const std::int32_t s = g_undoStep;
    FreeStepRecords(s, false);
    // A unit that a still undoable step names is not this slot's to free
    // (its stamp can be a lap old).
    auto named = UnitsOfOtherSteps(m_restList, s);
    FreeUnits([&](const CUnit* unit) {
        return unit->editStamp == s && unit->deleted && named.count(unit) == 0;
    });
}

void CZorvaDoc::RecordDelete(CUnit* unit)
{
    if (unit == nullptr)
        return;
    PrepareUndoStep();
    g_unsavedEdits = 1;
    unit->deleted = 1;
    if (unit->group != 0 && unit->pieceOf != 0)
        unit->gripsValid = 0;
    RecordFor(unit)->m_flags |= CRest::kDeletion;
}

void CZorvaDoc::RecordDeleteAt(int index)
{
    if (index < 0 || index >= m_unitList.GetSize())
        return;
    CUnit* unit = m_unitList.GetAt(index);
    if (unit == nullptr || unit->deleted)
        return;
    PrepareUndoStep();
    g_unsavedEdits = 1;
    unit->deleted = 1;
    RecordFor(unit)->m_flags |= CRest::kDeletion;
}

void CZorvaDoc::RecordTransformAt(int index, x_Vector displacement)
{
    if (index < 0 || index >= m_unitList.GetSize())
        return;
    CUnit* unit = m_unitList.GetAt(index);
    if (unit == nullptr)
        return;
    PrepareUndoStep();
    g_unsavedEdits = 1;
    CRest* rest = RecordFor(unit);
    rest->m_flags |= CRest::kMove;
    rest->m_displacement = displacement;
}

CUnit* CZorvaDoc::RecordDeleteObject(CUnit* unit)
{
    if (unit == nullptr)
        return nullptr;
    PrepareUndoStep();
    unit->deleted = 1;
    unit->selected = 0;
    RecordFor(unit)->m_flags |= CRest::kDeletion;
    CUnit* copy = nullptr;
    unit->Copy(2, copy);
    if (copy != nullptr) {
        copy->complete = 1;
        copy->deleted = 0;
        copy->selected = 0;
        std::lock_guard<std::recursive_mutex> lock(m_listMutex);
        m_unitList.Add(copy);
    }
    return copy;
}

void CZorvaDoc::RecordDeleteWithValue(CUnit* unit, CUnit* replacement)
{
    if (unit == nullptr)
        return;
    PrepareUndoStep();
    g_unsavedEdits = 1;
    unit->deleted = 1;
    unit->selected = 0;
    RecordFor(unit)->m_flags |= CRest::kDeletion;
    if (replacement != nullptr) {
        replacement->complete = 1;
        replacement->deleted = 0;
        replacement->selected = 0;
        std::lock_guard<std::recursive_mutex> lock(m_listMutex);
        m_unitList.Add(replacement);
    }
}

// The units appended since the last commit that carry this step's stamp
// and no record of the step lists yet. Only that range is walked: a unit
// further back may carry the same stamp from the previous lap of the ring.
void CZorvaDoc::RecordCreations()
{
    const int start = std::clamp(m_stepStartCount, 0, m_unitList.GetSize());
    CRest* created = nullptr;
    for (int i = m_unitList.GetSize() - 1; i >= start; --i) {
        CUnit* unit = m_unitList.GetAt(i);
        if (unit == nullptr)
            continue;
        if (unit->editStamp != g_undoStep)
            break;
        if (FindRecord(unit) != nullptr)
            continue;
        if (created == nullptr)
            created = new CRest;
        created->Add(unit);
    }
    if (created != nullptr)
        AppendToObArray(created, m_restList);
}

void CZorvaDoc::DropRedoTail()
{
    std::int32_t id = g_undoStep;
    for (int r = 0; r < g_redoCount; ++r) {
        id = NextStepId(id);
        FreeStepRecords(id, true);
        auto named = UnitsOfOtherSteps(m_restList, id);
        FreeUnits([&](const CUnit* unit) {
            return unit->editStamp == id && unit->deleted && named.count(unit) == 0;
        });
    }
}

bool CZorvaDoc::StepHasRecords(std::int32_t stepId) const
{
    for (CRest* rest : m_restList)
        if (rest->m_stepId == stepId && !rest->m_units.IsEmpty())
            return true;
    return false;
}

bool CZorvaDoc::StepMadeUnitsSince(std::int32_t stepId, std::uint64_t lastId) const
{
    for (const CRest* rest : m_restList)
        if (rest->m_stepId == stepId)
            for (const CUnit* unit : rest->m_units)
                if (unit != nullptr && unit->unitId > lastId)
                    return true;
    return false;
}

void CZorvaDoc::CommitUndoStep(int skipCreations)
{
    std::lock_guard<std::recursive_mutex> lock(m_listMutex);
    g_listBusy = 1;
    try {
        PrepareUndoStep();
        m_undoStepOpen = 0;
        if (skipCreations == 0)
            RecordCreations();
        // Before, only Open and the repair command marked the drawing, so
        // edits made since the last save never reached the exit snapshot.
        if (StepHasRecords(g_undoStep)) {
            g_drawingModified = 1;
            // A step may take in units made before the last save, which
            // the file holds: only a unit made after it is an edit (the
            // recorders mark the others as they happen).
            if (StepMadeUnitsSince(g_undoStep, m_savedUnitId))
                g_unsavedEdits = 1;
        }
        DropRedoTail();
        g_undoCount = std::min(g_undoCount + 1, kUndoRingSize);
        std::int32_t next = g_undoStep + 1;
        if (next > kUndoRingSize)
            next = 1;
        else if (next < 1)
            next = kUndoRingSize;
        g_undoStep = next;
        g_redoCount = 0;
    } catch (const CException&) {
        // An array error ends the commit; the lists stay as they are.
    }
    m_stepStartCount = m_unitList.GetSize();
    g_listBusy = 0;
}

void CZorvaDoc::ApplyUndoStep(int stepId, int redo)
{
    m_undoStepOpen = 0;
    for (CRest* rest : m_restList) {
        if (rest->m_stepId != stepId)
            continue;
        if (redo)
            rest->Redo();
        else
            rest->Undo();
    }
    m_stepStartCount = m_unitList.GetSize();
    DocUi().ResetEntityMarks();
}

bool CZorvaDoc::Undo()
{
    g_undoCount -= 1;
    if (g_undoCount < 0) {
        g_undoCount = 0;
        return false;
    }
    DocUi().ResetEntityMarks();
    g_redoCount += 1;
    g_undoStep -= 1;
    if (g_undoStep < 1)
        g_undoStep = kUndoRingSize;
    ApplyUndoStep(g_undoStep, 0);
    g_drawingModified = g_unsavedEdits = 1;
    return true;
}

bool CZorvaDoc::Redo()
{
    if (g_redoCount < 1)
        return false;
    DocUi().ResetEntityMarks();
    g_redoCount -= 1;
    g_undoCount += 1;
    const std::int32_t id = g_undoStep;
    g_undoStep = NextStepId(id);
    ApplyUndoStep(id > kUndoRingSize ? 1 : id, 1);
    g_drawingModified = g_unsavedEdits = 1;
    return true;
}
