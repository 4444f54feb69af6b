#include <gtest/gtest.h>

#include <cmath>

#include "app/wcx_file.h"
#include "geometry/GeometryState.h"
#include "paths/CTrail.h"
#include "platform/testing/ui_harness.h"
#include "tests/paths/path_view_fixture.h"
#include "tests/support/archive_bytes.h"
#include "tests/wirepath/trail_fixture.h"

namespace {

// A lead line and an arc: the lower list of a small path.
void FillSmallPath(CTrail& t)
{
    x_TrailData lead = Line(0, -5, 0, 0);
    lead.role = 1;
    t.trails[0].Add(lead);
    t.trails[0].Add(Arc(5, 0, 5, kPi, 0.0, true));
    t.params.threadPoint[0] = t.params.threadPoint[1] = x_Vector(0, -5);
    t.params.boxMin[0] = x_Vector(0, -5);
    t.params.boxMax[0] = x_Vector(10, 5);
}

Bytes Serialized(CUnit& u)
{
    return Stored([&](CArchive& ar) { u.Serialize(ar); });
}

} // namespace

using TrailEntity = WirepathTest;

TEST_F(TrailEntity, NewPathIsAnEmptyRoleFourUnitWithTheCounterAsId)
{
    g_UnitIdCounter = 41;
    CTrail t;
    EXPECT_EQ(t.GetType(), 66);
    EXPECT_EQ(t.role, kRolePath);
    EXPECT_EQ(t.unitId, 41u);
    EXPECT_TRUE(t.trails[0].IsEmpty() && t.trails[1].IsEmpty());
    EXPECT_FALSE(t.params.threadPoint[0].valid);
    EXPECT_FALSE(t.GetElementStartPoint(0).valid);
}

TEST_F(TrailEntity, CopyTakesANewIdInModeZeroAndKeepsItOtherwise)
{
    g_UnitIdCounter = 7;
    CTrail t;
    FillSmallPath(t);
    CUnit* copy = nullptr;
    ASSERT_TRUE(t.Copy(0, copy));
    EXPECT_EQ(copy->unitId, 8u);
    EXPECT_EQ(Serialized(*copy).size(), Serialized(t).size());
    delete copy;
    ASSERT_TRUE(t.Copy(1, copy));
    EXPECT_EQ(copy->unitId, t.unitId);
    EXPECT_EQ(static_cast<CTrail*>(copy)->trails[0].GetSize(), 2);
    EXPECT_EQ(copy->complete, 1);
    delete copy;
}

// Before, Move left the threading points and the boxes where they were, so
// the export carried the old threading point.
TEST_F(TrailEntity, MoveTakesThreadingPointAndBoxesAlong)
{
    CTrail t;
    FillSmallPath(t);
    t.trails[0].Add(x_TrailData());     // kind 0 line, moved
    t.trails[0][2].kind = 5;            // an empty element is not
    t.trails[0][2].start = x_Vector(1, 1);
    t.Move(x_Vector(10, 20));
    ExpectPoint(t.trails[0][0].start, 10, 15);
    ExpectPoint(t.trails[0][1].centre, 15, 20);
    ExpectPoint(t.trails[0][2].start, 1, 1);
    ExpectPoint(t.params.threadPoint[0], 10, 15);
    ExpectPoint(t.params.threadPoint[1], 10, 15);
    ExpectPoint(t.params.boxMin[0], 10, 15);
    ExpectPoint(t.params.boxMax[0], 20, 25);
    EXPECT_FALSE(t.params.boxMin[1].valid) << "an unset point stays unset";
    EXPECT_EQ(t.gripsValid, 0);
    g_RasterWidth = g_RasterHeight = 0;
    t.Draw(nullptr, 1, nullptr);
    ExpectPoint(t.extentMin, 10, 15);
    ExpectPoint(t.extentMax, 20, 25);
    ExpectPoint(t.params.drawMax, 20, 25);
    ASSERT_EQ(t.drawnPieces.GetSize(), 2);
    ExpectPoint(t.drawnPieces[1].min, 10, 20);
}

TEST_F(TrailEntity, HitTestEdgesInPixelsAndExactly)
{
    g_ViewScale = 10.0;
    CTrail t;
    FillSmallPath(t);
    // Line from (0, -5) to (0, 0): a detour 0.08 mm longer is 0.8 pixels.
    const double h = std::sqrt(std::pow(2.5 + 0.04, 2) - 2.5 * 2.5);
    EXPECT_TRUE(t.HitTest(x_Vector(h - 1e-9, -2.5), 0));
    EXPECT_FALSE(t.HitTest(x_Vector(h + 1e-6, -2.5), 0));
    // Arc of radius 5 about (5, 0) at 16 pixels a mm: exactly 8 pixels
    // (0.5 mm) off is not a hit.
    g_ViewScale = 16.0;
    EXPECT_FALSE(t.HitTest(x_Vector(5, 5.5), 0));
    EXPECT_TRUE(t.HitTest(x_Vector(5, 5.49), 0));
    EXPECT_TRUE(t.HitTest(x_Vector(5, 5), 1));
    EXPECT_FALSE(t.HitTest(x_Vector(5, 5.001), 1));
    EXPECT_FALSE(t.HitTest(x_Vector(5, -5), 0)) << "the lower half is not on the arc";
}

// Saved with the drawing and read back: the 599-byte parameters and both
// element lists come back byte for byte.
TEST_F(PathViewTest, SaveAndReopenKeepsThePathByteForByte)
{
    MakeRectanglePath();
    auto paths = Paths();
    ASSERT_EQ(paths.size(), 1u);
    const Bytes params = Stored([&](CArchive& ar) { StoreTrailParams(ar, paths[0]->params); });
    ASSERT_EQ(params.size(), 599u);
    const Bytes before = Serialized(*paths[0]);
    EXPECT_EQ(before.size(), static_cast<size_t>(kUnitRecordSize) + 599 + 2 + 7 * 144 + 2);
    const CString file = harness::TempPath(u"rect.wcx");
    ASSERT_TRUE(WriteWcxFile(file, *drv->doc));
    CUnitArray back;
    ASSERT_EQ(ReadWcxFile(file, back), WcxRead::loaded);
    CTrail* loaded = nullptr;
    for (CUnit* u : back)
        if (u->GetType() == 66)
            loaded = static_cast<CTrail*>(u);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(Serialized(*loaded), before);
    EXPECT_EQ(loaded->offsetOutside[0], 0);
    EXPECT_TRUE(loaded->drawnPieces.IsEmpty());
    EXPECT_TRUE(loaded->params.boxMin[0].valid && loaded->params.threadPoint[1].valid);
    FreeUnitArray(back);
}
