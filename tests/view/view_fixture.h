#pragma once

// A fresh view over an empty drawing, 10 pixels per millimetre with the
// world origin at pixel (100, 500), for the tests of the view.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CLine.h"
#include "geometry/GeometryState.h"
#include "tests/support/viewdriver/ViewDriver.h"
#include "view/CZorvaView.h"
#include "view/ViewState.h"

// Coordinates typed or computed by hand are compared within this: the view
// works in doubles, and one pixel is 0.1 mm at the fixture's scale.
constexpr double kTol = 1e-9;

class ViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        drv = std::make_unique<ViewDriver>(800, 600);
        drv->SetView(10.0, 100, 500);
    }
    void TearDown() override { drv.reset(); }

    // The live entities of one type.
    std::vector<CUnit*> Live(int type) const
    {
        std::vector<CUnit*> out;
        for (CUnit* u : drv->LiveEntities())
            if (u->GetType() == type)
                out.push_back(u);
        return out;
    }
    CLine* AddLine(double x1, double y1, double x2, double y2)
    {
        ++g_UnitIdCounter;
        auto* line = new CLine(x1, y1, x2, y2);
        line->workGeometry = line->geometry;
        line->complete = 1;
        drv->doc->AppendUnit(line);
        drv->doc->CommitUndoStep(0);
        drv->view->RedrawNow();         // as after every change: grips current
        return line;
    }
    static void ExpectPoint(const x_Vector& p, double x, double y, double tol = kTol)
    {
        EXPECT_NEAR(p.x, x, tol);
        EXPECT_NEAR(p.y, y, tol);
    }

    std::unique_ptr<ViewDriver> drv;
};
