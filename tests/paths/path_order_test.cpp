#include <gtest/gtest.h>

#include "tests/paths/path_view_fixture.h"
#include "tests/wirepath/trail_fixture.h"

// Ctrl and a click on the path at (0, 0) orders the other selected paths
// (starts (10, 0), (0, 10), (10, 10), in that list order) by nearness plus
// the distance along the batch dialog's arrangement axis. Worked by hand:
// along y, from (10, 0) the square (10, 10) costs 10 + 10 against 14.1 + 10
// for (0, 10); along x the first step already prefers (0, 10).
TEST_F(PathViewTest, CtrlClickOrderFollowsTheBatchArrangement)
{
    const struct { const char* name; std::uint8_t vertical; int order[4]; } kCases[] = {
        {"horizontal arrangement: along y", 0, {0, 1, 3, 2}},
        {"vertical arrangement: along x", 1, {0, 2, 3, 1}},
    };
    const x_Vector corners[4] = {{0, 0}, {10, 0}, {0, 10}, {10, 10}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        drv->Start(0);
        for (CUnit* u : drv->LiveEntities())
            u->deleted = 1;
        g_SelectedTrailIds.RemoveAll();
        g_MachiningSettings.batchVertical = c.vertical;
        CTrail* paths[4];
        for (int i = 0; i < 4; ++i) {
            ++g_UnitIdCounter;
            paths[i] = new CTrail();
            const x_Vector p = corners[i];
            for (const x_TrailData& e : Polygon({p, {p.x + 4, p.y}, {p.x + 4, p.y + 4}, {p.x, p.y + 4}}))
                paths[i]->trails[0].Add(e);
            paths[i]->complete = 1;
            paths[i]->selected = 1;
            drv->doc->AppendUnit(paths[i]);
        }
        g_ctrlDown = 1;
        drv->ClickAt({2, 0});
        g_ctrlDown = 0;
        ASSERT_EQ(g_SelectedTrailIds.GetSize(), 4);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(g_SelectedTrailIds[k], paths[c.order[k]]->unitId) << "place " << k;
    }
}
