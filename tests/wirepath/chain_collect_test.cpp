#include "tests/wirepath/chain_fixture.h"
#include "wirepath/path_codes.h"

using Collect = ChainTest;

namespace {

const std::vector<x_Vector> kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};

x_Vector CopyStart(const CUnitDocument& doc, int i)
{
    return doc.m_tempList[i]->GetStartPoint();
}

} // namespace

TEST_F(Collect, ClassifyOnlyAndTheOutwardFlag)
{
    TakeClosed(kSquare);
    ChainRequest r = Request({-5, 0}, {0, 0}, 2);
    r.stage = 2;
    EXPECT_EQ(Build(r), kPathOk);
    EXPECT_EQ(path.outward[0], 0);          // left of a counter-clockwise run: inside
    EXPECT_TRUE(path.lists[0].IsEmpty());
    EXPECT_EQ(doc.m_tempList.GetSize(), 4);
    r.sideKey = 1;
    EXPECT_EQ(Build(r), kPathOk);
    EXPECT_EQ(path.outward[0], 1);
    // Without own compensation the copies lie on the drawing.
    ExpectPoint(CopyStart(doc, 1), 10, 0);
    EXPECT_EQ(doc.m_tempList[1]->role, kRoleDerivedPiece);
}

TEST_F(Collect, OwnCompensationIsInheritedByTheEntitiesAfter)
{
    TakeClosed(kSquare);
    doc.m_unitList[1]->compensation = 0.15;
    ChainRequest r = Request({-5, 0}, {0, 0}, 1);
    r.stage = 2;
    ASSERT_EQ(Build(r), kPathOk);
    ExpectPoint(CopyStart(doc, 0), 0, 0);           // before the first own value
    ExpectPoint(CopyStart(doc, 1), 10.05, 0);       // right of the upward run
    ExpectPoint(CopyStart(doc, 2), 10, 10.05);
    ExpectPoint(CopyStart(doc, 3), -0.05, 10);
}

TEST_F(Collect, ReversedEntitiesRunTheChainWay)
{
    TakeLine(0, 0, 10, 0);
    TakeLine(10, 10, 10, 0, 1);                     // drawn downward, run upward
    Take(NewArc({5, 10}, 5, kPi, 0, 1), 1);         // clockwise over the top, run back
    TakeLine(0, 10, 0, 0);
    ChainRequest r = Request({-5, 0}, {0, 0}, 1);
    r.stage = 2;
    ASSERT_EQ(Build(r), kPathOk);
    ExpectPoint(CopyStart(doc, 1), 10, 0);
    const ArcRecord& a = doc.m_tempList[2]->geometry.arc;
    EXPECT_EQ(a.direction, 0);
    EXPECT_NEAR(a.startAngle, 0, kExact);
    EXPECT_NEAR(a.endAngle, kPi, kExact);
    EXPECT_EQ(path.outward[0], 1);
}

TEST_F(Collect, CircleTooSmallForTheExtraOffsetIsSkipped)
{
    CCir* c = NewCircle({0, 0}, 0.05);
    c->compensation = 0.0001;                       // g = 0.0001 - 0.1 shrinks it away
    Take(c);
    EXPECT_EQ(Build(Request({0, 0}, {0.05, 0}, 1)), kPathNoEntity);
}

TEST_F(Collect, WearMarksLowerTheCompensationStepByStep)
{
    settings.wearCorrection = true;
    TakeClosed(kSquare);
    for (int i = 0; i < 3; ++i)
        doc.m_unitList[i]->wearMarked = 1;
    ChainRequest r = Request({-5, 0}, {0, 0}, 1, 0.0015);
    r.stage = 2;
    ASSERT_EQ(Build(r), kPathOk);
    // g: 0, then -0.001 after the first mark, then bounded at -0.0015.
    ExpectPoint(CopyStart(doc, 0), 0, 0);
    ExpectPoint(CopyStart(doc, 1), 10 - 0.001, 0);
    ExpectPoint(CopyStart(doc, 2), 10, 10 - 0.0015);
    ExpectPoint(CopyStart(doc, 3), 0.0015, 10);
}

TEST_F(Collect, CancelStopsCollection)
{
    TakeClosed(kSquare);
    g_PathRunFlag = 0;
    EXPECT_EQ(Build(Request({-5, 0}, {0, 0}, 1)), kPathCancelled);
}
