#pragma once

// A document with units for the tests of the history and the files.

#include "app/CRest.h"
#include "app/CZorvaDoc.h"
#include "app_fixture.h"
#include "geometry/CUnit.h"

// A unit that moves: Move shifts both extent corners, so a test can see
// where undo and redo put it.
class MovableUnit : public CUnit {
public:
    void Move(x_Vector d) override
    {
        extentMin += d;
        extentMax += d;
    }
};

class DocTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        doc = new CZorvaDoc;
        g_undoStep = 1;
    }
    void TearDown() override
    {
        delete doc;
        AppTest::TearDown();
    }

    // A new unit appended to the drawing the way creators do it.
    template <class T = MovableUnit>
    T* Add()
    {
        ++g_UnitIdCounter;
        T* unit = new T;
        doc->m_unitList.Add(unit);
        return unit;
    }
    int Live() const
    {
        int n = 0;
        for (CUnit* u : doc->m_unitList)
            n += u->deleted ? 0 : 1;
        return n;
    }

    CZorvaDoc* doc = nullptr;
};
