#include "geometry/CUnitDocument.h"

#include "geometry/CUnit.h"

void CUnitDocument::RecordDeleteAt(int index)
{
    if (index < 0 || index >= m_unitList.GetSize())
        return;
    CUnit* unit = m_unitList.GetAt(index);
    if (unit != nullptr && !unit->deleted)
        unit->deleted = 1;
}

void CUnitDocument::CommitUndoStep(int) {}
