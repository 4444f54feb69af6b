#pragma once

// A document of drawing entities and a chain through them, for the tests
// of chain collection and contour building.

#include <memory>
#include <vector>

#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CLine.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "tests/wirepath/trail_fixture.h"
#include "wirepath/PathSettings.h"
#include "wirepath/TrailPath.h"
#include "wirepath/chain_collect.h"

class ChainTest : public WirepathTest {
protected:
    void SetUp() override
    {
        WirepathTest::SetUp();
        ResetGeometryState();
        g_pDoc = &doc;
        settings.compensation = 0.1;
    }
    void TearDown() override
    {
        for (CUnitArray* list : {&doc.m_unitList, &doc.m_tempList}) {
            for (int i = 0; i < list->GetSize(); ++i)
                delete (*list)[i];
            list->RemoveAll();
        }
        chain.RemoveAll();
        g_pDoc = nullptr;
    }
    void FreeCopies()
    {
        for (int i = 0; i < doc.m_tempList.GetSize(); ++i)
            delete doc.m_tempList[i];
        doc.m_tempList.RemoveAll();
    }

    // Appends a complete entity to the drawing and to the chain.
    CUnit* Take(CUnit* u, int chainDir = 2)
    {
        u->complete = 1;
        u->chainDir = chainDir;
        const int index = doc.m_unitList.Add(u);
        chain.Add({index, index});
        return u;
    }
    CUnit* TakeLine(double x1, double y1, double x2, double y2, int chainDir = 2)
    {
        return Take(new CLine(x1, y1, x2, y2), chainDir);
    }
    // A closed polyline from `at` round the points and back to `at`.
    void TakeClosed(const std::vector<x_Vector>& pts)
    {
        for (size_t i = 0; i < pts.size(); ++i) {
            const x_Vector& a = pts[i];
            const x_Vector& b = pts[(i + 1) % pts.size()];
            TakeLine(a.x, a.y, b.x, b.y);
        }
    }

    // Threading point, lead-in point = chain end, exit point = threading point.
    ChainRequest Request(x_Vector thread, x_Vector leadIn, int sideKey, double d = 0.1)
    {
        ChainRequest r;
        r.sideKey = sideKey;
        r.offset = d;
        r.pickPoints[0] = thread;
        r.pickPoints[1] = leadIn;
        r.pickPoints[2] = leadIn;
        r.pickPoints[3] = thread;
        return r;
    }
    // Like the path builder: a fresh path, the scratch list emptied first.
    int Build(const ChainRequest& r)
    {
        FreeCopies();
        path = TrailPath();
        return CollectChainPoints(r, settings, doc, chain, path);
    }

    CUnitDocument doc;
    CArray<create_trail_pt_t> chain;
    PathSettings settings;
    TrailPath path;
};

// The 20 × 10 rectangle with its bottom edge split at the lead-in point (10, 0).
inline const std::vector<x_Vector> kRectangle = {{10, 0}, {20, 0}, {20, 10}, {0, 10}, {0, 0}};
