#pragma once

// Geometry tests of the generators: fresh globals, and a list of new units
// that the test owns.

#include <gtest/gtest.h>

#include <cmath>

#include "generators/GeneratorState.h"
#include "geometry/CUnit.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"

class UnitListTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGeometryState();
        ResetGeneratorState();
    }
    void TearDown() override
    {
        for (CUnit* u : units)
            delete u;
        units.RemoveAll();
    }
    int Count(int type) const
    {
        int n = 0;
        for (int i = 0; i < units.GetSize(); ++i)
            n += units[i]->GetType() == type ? 1 : 0;
        return n;
    }

    CUnitArray units;
};
