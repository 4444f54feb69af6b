#include "app/CZorvaDoc.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/CRest.h"
#include "app/DocumentUi.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"

#include <unordered_set>

IMPLEMENT_DYNCREATE(CZorvaDoc, CDocument)

int AppendToObArray(CObject* object, CObArray& array)
{
    int index = array.GetSize();
    array.SetAtGrow(index, object);
    return index;
}

namespace {

// Removes from list every pointer in the set, keeping the order; returns
// how many of them lay before limit.
int RemoveListed(CUnitArray& list, const std::unordered_set<const CUnit*>& gone, int limit, int first = 0)
{
    int before = 0;
    int kept = std::max(first, 0);
    for (int i = kept; i < list.GetSize(); ++i) {
        CUnit* unit = list.GetAt(i);
        if (gone.count(unit) != 0) {
            if (i < limit)
                ++before;
            continue;
        }
        list.SetAt(kept++, unit);
    }
    list.SetSize(kept);
    return before;
}

} // namespace

CZorvaDoc::CZorvaDoc()
{
    if (g_pDoc == nullptr)
        g_pDoc = this;
}

CZorvaDoc::~CZorvaDoc()
{
    FreeAllUnits();
    if (g_pDoc == this)
        g_pDoc = nullptr;
}

int CZorvaDoc::FreeUnits(const std::function<bool(const CUnit*)>& pick)
{
    return FreeUnitsFrom(0, pick);
}

int CZorvaDoc::FreeUnitsFrom(int first, const std::function<bool(const CUnit*)>& pick)
{
    std::lock_guard<std::recursive_mutex> lock(m_listMutex);
    std::vector<CUnit*> victims;
    std::unordered_set<const CUnit*> gone;
    for (int i = std::max(first, 0); i < m_unitList.GetSize(); ++i) {
        CUnit* unit = m_unitList[i];
        if (unit != nullptr && pick(unit) && gone.insert(unit).second)
            victims.push_back(unit);
    }
    if (victims.empty())
        return 0;
    m_stepStartCount -= RemoveListed(m_unitList, gone, m_stepStartCount, first);
    RemoveListed(m_tempList, gone, 0);
    // Before, records kept pointers to freed units and undo touched them.
    // One pass per record: a record of a large array holds thousands.
    for (CRest* rest : m_restList)
        rest->Forget(gone);
    for (CUnit* unit : victims) {
        DocUi().OnUnitFreed(unit);
        delete unit;
    }
    return static_cast<int>(victims.size());
}

int CZorvaDoc::FreeDeletedUnits()
{
    return FreeUnits([](const CUnit* unit) { return unit->deleted != 0; });
}

void CZorvaDoc::FreeUndoHistory()
{
    for (CRest* rest : m_restList)
        delete rest;
    m_restList.RemoveAll();
    m_undoStepOpen = 0;
}

void CZorvaDoc::FreeAllUnits()
{
    std::lock_guard<std::recursive_mutex> lock(m_listMutex);
    FreeUndoHistory();
    std::unordered_set<CUnit*> owned;
    for (CUnit* unit : m_unitList)
        owned.insert(unit);
    for (CUnit* unit : m_tempList)
        owned.insert(unit);
    m_unitList.RemoveAll();
    m_tempList.RemoveAll();
    m_stepStartCount = 0;
    for (CUnit* unit : owned) {
        if (unit == nullptr)
            continue;
        DocUi().OnUnitFreed(unit);
        delete unit;
    }
}

void CZorvaDoc::ReplaceDrawing(CUnitArray& loaded)
{
    std::lock_guard<std::recursive_mutex> lock(m_listMutex);
    FreeAllUnits();
    // One block for the whole list: growing it by doubling copied a large
    // drawing's list a dozen times, into fresh memory each time.
    m_unitList.Reserve(m_unitList.GetSize() + loaded.GetSize());
    for (CUnit* unit : loaded) {
        // Stamp 0 is no ring slot: no commit takes loaded units as its own.
        unit->editStamp = 0;
        // Where the first frame would write it: a large drawing's units
        // are not in the caches by then.
        unit->listIndex = m_unitList.Add(unit);
    }
    loaded.RemoveAll();
    m_stepStartCount = m_unitList.GetSize();
}
