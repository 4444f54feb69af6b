#pragma once

// One undo record: the units an edit step touched, with their ids, and
// whether the step deleted, created or moved them. Entries are full
// pointers and 64-bit ids; a unit that is freed is cleared from every
// record first (CZorvaDoc frees units only through FreeUnits).

#include <cstdint>
#include <unordered_set>

#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"
#include "platform/core/CObject.h"

class CUnit;

class CRest : public CObject {
    DECLARE_DYNAMIC(CRest)
public:
    enum Flags : std::uint8_t { kCreation = 0, kDeletion = 1, kMove = 2 };

    CRest();
    ~CRest() override = default;

    // Displacement (0, 0), flags 0, replayed state 0, step = g_undoStep.
    void Init();
    void Add(CUnit* unit);
    bool Lists(const CUnit* unit) const;
    // Clears the entries of units about to be freed; returns how many.
    int Forget(const std::unordered_set<const CUnit*>& units);
    // Replays the record backwards (undo) or forwards (redo).
    void Undo();
    void Redo();

    CArray<CUnit*> m_units;
    CArray<std::uint64_t> m_unitIds;
    std::int32_t m_stepId = 0;
    std::uint8_t m_flags = 0;
    std::uint8_t m_replayedDeleted = 0;
    x_Vector m_displacement;

private:
    void Replay(bool redo);
};
