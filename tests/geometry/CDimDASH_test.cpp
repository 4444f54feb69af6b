#include <cmath>

#include "geometry/CDimDASH.h"
#include "tests/geometry/dimension_support.h"

namespace {

class AuxiliaryLine : public DimensionTest {};

TEST_F(AuxiliaryLine, TailIsTheLinesTailAndItsValue)
{
    g_UnitIdCounter = 4;
    CDimDASH* d = CDimDASH::Make({1, 2}, {3, 4}, 3);
    d->auxValue = 0.5;
    const Bytes want = Hex(
        "000000000000f03f 0000000000000040 0000000000000840 0000000000001040"   // p1, p2
        "01 00 0000000000000000 0000000000000000"                               // used, ref, refPoint
        "03 000000000000e03f");                                                 // auxKind, auxValue
    ASSERT_EQ(want.size(), 59u);
    EXPECT_EQ(TailOf(*d), want);
    CDimDASH read;
    LoadBytes(RecordOf(*d), [&](CArchive& ar) { read.Serialize(ar); });
    EXPECT_EQ(read.auxKind, 3);
    EXPECT_EQ(read.auxValue, 0.5);
    EXPECT_EQ(read.unitId, 5u);
    EXPECT_EQ(RecordOf(read), RecordOf(*d));
    delete d;
}

TEST_F(AuxiliaryLine, EveryCommitSetsTheLineTypeFromTheKind)
{
    const struct {
        std::uint8_t kind;
        int style, dashDot;
    } kCases[] = {{1, 0, 0}, {2, 2, 0}, {3, 1, 1}, {4, 1, 0}, {5, 1, 1}, {255, 1, 1}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(int(c.kind));
        CDimDASH* d = CDimDASH::Make({0, 0}, {1, 0}, c.kind);
        EXPECT_EQ(d->lineStyle, c.style);
        EXPECT_EQ(d->dashDot, c.dashDot);
        delete d;
    }
    g_CurrentLineStyle = 2;
    CDimDASH* current = CDimDASH::Make({0, 0}, {1, 0}, 0);
    EXPECT_EQ(current->lineStyle, 2);
    g_CurrentLineStyle = 0;
    current->Move({1, 1});
    current->CommitTransform();
    EXPECT_EQ(current->lineStyle, 0);
    CUnit* copy = nullptr;
    current->auxValue = 0.25;
    ASSERT_TRUE(current->Copy(0, copy));
    EXPECT_EQ(copy->auxKind, 0);
    EXPECT_EQ(copy->auxValue, 0.25);
    delete copy;
    delete current;
}

TEST_F(AuxiliaryLine, CreationStepShowsLengthAndAngle)
{
    CDimDASH line;
    CUnitView view;
    g_cmdStep = 2;
    line.InteractiveStep(nullptr, &view, {3, 4});
    EXPECT_EQ(view.m_promptText, CString(u"长度：5.0000mm ，角度：53.1301°"));
    ExpectNear(line.workGeometry.line.p2, 3, 4);
}

TEST_F(AuxiliaryLine, DraggedStartIsStoredAsTheEnd)
{
    g_ViewScale = 1;
    g_ViewOriginY = 500;
    CDimDASH* d = CDimDASH::Make({0, 0}, {100, 0}, 1);
    d->Draw(nullptr, 1, nullptr);
    d->selected = 1;
    CUnitView view;
    d->OnPick(nullptr, &view, {0, 0});
    ASSERT_EQ(view.m_gripNumber, 1);
    ASSERT_EQ(g_cmdStep, 4);
    d->InteractiveStep(nullptr, &view, {-20, 30});
    d->CommitTransform();
    ExpectNear(d->geometry.line.p1, 100, 0);
    ExpectNear(d->geometry.line.p2, -20, 30);
    delete d;
}

// The end snaps onto its own line within g_PenWidth + 8 pixels of the
// foot point: 9 to the left in, 9 to the right and 10 to the left out.
TEST_F(AuxiliaryLine, DraggedEndSnapsToItsLineNearTheFoot)
{
    g_ViewScale = 1;
    g_ViewOriginY = 500;
    g_PenWidth = 1;
    const struct {
        double dy;
        bool snaps;
    } kCases[] = {{9, true}, {-9, false}, {10, false}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.dy);
        CDimDASH* d = CDimDASH::Make({0, 0}, {0, 100}, 1);   // vertical: the offset runs in x
        CUnitView view;
        g_cmdStep = 4;
        d->InteractiveStep(nullptr, &view, {-c.dy, 50});
        ExpectNear(d->workGeometry.line.p2, c.snaps ? 0 : -c.dy, 50);
        delete d;
    }
}

TEST_F(AuxiliaryLine, CentreLinesAreHitByWorldDistanceOthersByPixels)
{
    g_ViewScale = 1;
    CDimDASH* centre = CDimDASH::Make({0, 0}, {10, 0}, 3);
    CDimDASH* solid = CDimDASH::Make({0, 0}, {10, 0}, 1);
    // 1.6 mm beside the middle: detour 0.50 mm, but 0.77 between the pixels
    // (y rounds to 2).
    EXPECT_TRUE(centre->HitTest({5, 1.6}, 0));
    EXPECT_FALSE(solid->HitTest({5, 1.6}, 0));
    // Just off the start: detour 0.97 mm, but the pixel is the start's own.
    EXPECT_FALSE(centre->HitTest({-0.4, 0.4}, 0));
    EXPECT_TRUE(solid->HitTest({-0.4, 0.4}, 0));
    EXPECT_TRUE(solid->HitTest({5, 0.0005}, 1));
    EXPECT_FALSE(solid->HitTest({5, 0.1}, 1));      // detour 0.002
    delete centre;
    delete solid;
}

} // namespace
