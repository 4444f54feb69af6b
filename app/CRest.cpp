#include "app/CRest.h"

#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"

IMPLEMENT_DYNAMIC(CRest, CObject)

CRest::CRest()
{
    Init();
}

void CRest::Init()
{
    m_displacement = x_Vector(0.0, 0.0, 1);
    m_flags = kCreation;
    m_replayedDeleted = 0;
    m_stepId = g_undoStep;
}

void CRest::Add(CUnit* unit)
{
    m_units.Add(unit);
    m_unitIds.Add(unit->unitId);
}

bool CRest::Lists(const CUnit* unit) const
{
    for (CUnit* u : m_units) {
        if (u == unit)
            return true;
    }
    return false;
}

int CRest::Forget(const std::unordered_set<const CUnit*>& units)
{
    int cleared = 0;
    for (CUnit*& u : m_units) {
        if (u != nullptr && units.count(u) != 0) {
            u = nullptr;
            ++cleared;
        }
    }
    return cleared;
}

void CRest::Undo()
{
    Replay(false);
}

void CRest::Redo()
{
    Replay(true);
}

void CRest::Replay(bool redo)
{
    try {
        for (int i = 0; i < m_units.GetSize(); ++i) {
            CUnit* unit = m_units[i];
            if (unit == nullptr || unit->unitId != m_unitIds[i])
                continue;
            if (m_flags & kMove) {
                x_Vector d = redo ? m_displacement : x_Vector(-m_displacement.x, -m_displacement.y);
                unit->Move(d);
                unit->CommitTransform();
                unit->deleted = 0;
            } else if (redo) {
                unit->deleted = (m_flags & kDeletion) ? 1 : 0;
            } else {
                unit->deleted = (m_flags & kDeletion) ? 0 : 1;
            }
            m_replayedDeleted = unit->deleted;
            unit->selected = 0;
        }
    } catch (const CException&) {
        // An array error ends this record's walk.
    }
}
