#pragma once

// A drawing list for entity tests: owns its units, counts the deletions it
// records, and answers the crossing search with a scripted result.

#include <vector>

#include "geometry/CUnit.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "geometry/path_services.h"

class TestDoc : public CUnitDocument {
public:
    TestDoc() { g_pDoc = this; }
    ~TestDoc() override
    {
        for (CUnit* u : m_unitList)
            delete u;
        g_pDoc = nullptr;
    }
    void RecordDeleteAt(int index) override
    {
        ++deletions;
        deletedIndices.push_back(index);
        CUnitDocument::RecordDeleteAt(index);
    }
    template <class T> T* Add(T* unit)
    {
        unit->listIndex = AppendUnit(unit);
        return unit;
    }
    CUnit* At(int i) { return m_unitList.GetAt(i); }
    int Count() { return m_unitList.GetSize(); }

    int deletions = 0;
    std::vector<int> deletedIndices;
};

// The crossing search of the path engine, scripted.
struct CrossingScript {
    static inline int answer = 0;
    static inline x_Vector out;
    static inline x_Vector lastT;
    static inline std::uint64_t lastSkip = 0;
    static int Hook(std::uint64_t skip, x_Vector t, x_Vector& o)
    {
        lastSkip = skip;
        lastT = t;
        o = answer == 0 ? t : out;
        return answer;
    }
};
