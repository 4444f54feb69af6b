#pragma once

// What the entities see of the document: its drawing and scratch lists and
// the undo hooks. The application's document derives from this class,
// overrides the hooks to record undo steps, and installs itself in g_pDoc:
//   class CZorvaDoc : public CDocument, public CUnitDocument { ... };
//   g_pDoc = this;
// Entity code then calls g_pDoc->RecordDeleteAt(i) unchanged.

#include <mutex>

#include "platform/core/CObArray.h"
#include "platform/core/CTypedPtrArray.h"

class CUnit;

using CUnitArray = CTypedPtrArray<CObArray, CUnit*>;

class CUnitDocument {
public:
    CUnitDocument() = default;
    virtual ~CUnitDocument() = default;
    CUnitDocument(const CUnitDocument&) = delete;
    CUnitDocument& operator=(const CUnitDocument&) = delete;

    // The drawing list in drawing order; the document owns every unit in it.
    CUnitArray m_unitList;
    // The scratch list: chain pieces, generator previews, block members.
    CUnitArray m_tempList;

    // Sets `deleted` on the unit at index; the document also records the
    // deletion in the current undo step. An index outside the list, or a
    // unit already deleted, does nothing.
    virtual void RecordDeleteAt(int index);
    // Records the units of the current undo stamp as additions and closes
    // the step; without a document's undo history it does nothing.
    virtual void CommitUndoStep(int reserved);
    // Guards the lists' structure: the render and every append, removal and
    // purge take it (path preparation appends from the worker thread).
    std::recursive_mutex m_listMutex;

    // Appends a unit under the list lock; returns its index.
    int AppendUnit(CUnit* unit)
    {
        std::lock_guard<std::recursive_mutex> lock(m_listMutex);
        return m_unitList.Add(unit);
    }
};
