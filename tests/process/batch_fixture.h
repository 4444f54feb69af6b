#pragma once

// The batch dialog and the compensation table as the frame makes them
// (modeless, hidden), a drawing of a few closed shapes, and a stand-in for
// the batch generator's listing and run: each live unit of role 0 is one
// figure, numbered in list order.

#include <numbers>
#include <vector>

#include "app/FrameState.h"
#include "geometry/CCir.h"
#include "geometry/CEllipse.h"
#include "geometry/CLine.h"
#include "process/CZorvatrailm.h"
#include "process/CZorvatrailmOffest.h"
#include "tests/process/path_dialog_fixture.h"
#include "view/path_hooks.h"

class BatchTest : public PathDialogTest {
protected:
    void SetUp() override
    {
        PathDialogTest::SetUp();
        m_savedHooks = g_PathHooks;
        s_runs.clear();
        g_PathHooks.listBatchShapes = &ListEveryUnit;
        g_PathHooks.batch = &RecordRun;
        batch = new CZorvatrailm;
        batch->Create(238, nullptr);
        table = new CZorvatrailmOffest;
        table->Create(247, nullptr);
        g_pBatchPanel = batch;
        g_pCompTablePanel = table;
        g_batchPanelShown = 0;
    }
    void TearDown() override
    {
        g_pBatchPanel = nullptr;
        g_pCompTablePanel = nullptr;
        delete table;
        delete batch;
        g_PathHooks = m_savedHooks;
        PathDialogTest::TearDown();
    }

    CUnit* Add(CUnit* u)
    {
        AppendToObArray(u, drv->doc->m_unitList);
        return u;
    }
    CUnit* Circle(double x, double y, double r) { return Add(NewCircle(x_Vector(x, y), r)); }
    CUnit* Line(double x1, double y1, double x2, double y2)
    {
        ++g_UnitIdCounter;
        auto* l = new CLine();
        l->geometry.line.p1 = x_Vector(x1, y1);
        l->geometry.line.p2 = x_Vector(x2, y2);
        l->workGeometry.line = l->geometry.line;
        l->complete = 1;
        return Add(l);
    }

    struct Run {
        bool selectedOnly;
        int option;
    };
    static inline std::vector<Run> s_runs;

    CZorvatrailm* batch = nullptr;
    CZorvatrailmOffest* table = nullptr;

private:
    static std::vector<int> ListEveryUnit(CZorvaView&, int)
    {
        std::vector<int> shapes;
        int number = 0;
        for (int i = 0; i < g_pDoc->m_unitList.GetSize(); ++i) {
            CUnit* u = g_pDoc->m_unitList[i];
            if (u->deleted || u->role != 0)
                continue;
            u->contourNo = ++number;
            u->contourShape = u->GetType() == 7 ? 2 : u->GetType() == 5 ? 3 : 1;
            shapes.push_back(i);
        }
        return shapes;
    }
    static bool RecordRun(CZorvaView&, bool selectedOnly, int option)
    {
        s_runs.push_back({selectedOnly, option});
        return true;
    }

    PathHooks m_savedHooks;
};
