#include <cmath>

#include "edit_fixture.h"
#include "geometry/CEllipse.h"

namespace {

// Sweeps within this of the hand values: arcs store angles brought into
// [0, 2π), which costs a few ulps.
constexpr double kAngleTol = 1e-9;

double Length(CUnit* u)
{
    return x_Vector::Distance(u->GetStartPoint(), u->GetEndPoint());
}

} // namespace

class DivideTest : public EditTest {
protected:
    // Starts break in the given mode and picks the entity at p.
    void Pick(int mode, const x_Vector& p)
    {
        g_CommandModes.mode[16] = static_cast<std::uint8_t>(mode);
        drv->Start(kCmdBreak);
        drv->ClickAt(p);
        ASSERT_EQ(drv->view->m_subStep, 1);
    }
};

TEST_F(DivideTest, LineIntoThreeAndACountOfOneRefused)
{
    AddLine(0, 0, 10, 0);
    Pick(1, {5, 0});
    const auto before = Now();
    Type(u"1");
    EXPECT_FALSE(OutputHas(u"#等分数量必须大于2").empty());
    EXPECT_EQ(Now(), before);
    Type(u"3");
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        ExpectPoint(lines[i]->GetStartPoint(), 10.0 * i / 3, 0);
        EXPECT_NEAR(Length(lines[i]), 10.0 / 3, 1e-12);
    }
    EXPECT_FALSE(OutputHas(u"操作完成").empty());
    EXPECT_EQ(drv->Command(), 0);
    ExpectOneUndoStep(before);
}

TEST_F(DivideTest, EquidistantSplitLeavesTheRestAsTheLastPiece)
{
    AddLine(0, 0, 10, 0);
    Pick(2, {5, 0});
    const auto before = Now();
    Type(u"4");
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NEAR(Length(lines[0]), 4, 1e-12);
    EXPECT_NEAR(Length(lines[1]), 4, 1e-12);
    EXPECT_NEAR(Length(lines[2]), 2, 1e-12);
    ExpectPoint(lines[2]->GetEndPoint(), 10, 0);
    ExpectOneUndoStep(before);
}

TEST_F(DivideTest, CircleSplitByTwoGivesThreeArcsOfTwoRadiansAndTheRest)
{
    AddCircle(0, 0, 1);
    Pick(2, {1, 0});
    const auto before = Now();
    Type(u"2");
    EXPECT_TRUE(Live(7).empty());
    const auto arcs = Live(8);
    ASSERT_EQ(arcs.size(), 4u);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(arcs[i]->GetSweepAngle(), 2.0, kAngleTol) << i;
    EXPECT_NEAR(arcs[3]->GetSweepAngle(), 2 * kPi - 6, kAngleTol);
    EXPECT_NEAR(arcs[0]->geometry.arc.startAngle, 0.0, kAngleTol);
    EXPECT_NEAR(arcs[3]->geometry.arc.endAngle, 2 * kPi, kAngleTol);
    ExpectOneUndoStep(before);
}

// Counts and lengths were converted to int unchecked and had no least piece
// for circles: a tiny length asked for billions of arcs.
TEST_F(DivideTest, HugeCountsAndTinyPiecesAreRefusedWithoutAChange)
{
    const struct { const char* name; int mode; const char16_t* text; bool circle; } kCases[] = {
        {"split a circle into pieces below 0.0001", 2, u"0.00001", true},
        {"divide a circle beyond the piece limit", 1, u"20000", true},
        {"count beyond any int", 1, u"99999999999999999999999", false},
        {"split a line into too many pieces", 2, u"0.0002", false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        drv->PressKey(27);
        for (CUnit* u : drv->LiveEntities())
            u->deleted = 1;
        if (c.circle)
            AddCircle(0, 0, 100);
        else
            AddLine(0, 0, 10, 0);
        Pick(c.mode, c.circle ? x_Vector(100, 0) : x_Vector(5, 0));
        const auto before = Now();
        const int steps = g_undoCount;
        Type(c.text);
        EXPECT_EQ(Now(), before);
        EXPECT_EQ(g_undoCount, steps);
        EXPECT_FALSE(OutputHas(u"#等分尺寸过小").empty());
    }
}

TEST_F(EditTest, TrimAgainstACrossingLine)
{
    CLine* h = AddLine(0, 0, 10, 0);
    AddLine(5, -5, 5, 5);
    drv->Start(kCmdTrim);
    const auto before = Now();
    drv->ClickAt({8, 0});
    EXPECT_TRUE(h->deleted);
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 2u);
    ExpectPoint(lines[1]->GetStartPoint(), 0, 0);
    ExpectPoint(lines[1]->GetEndPoint(), 5, 0);
    EXPECT_EQ(drv->Command(), kCmdTrim);     // trims go on until Esc
    ExpectOneUndoStep(before);
}

TEST_F(EditTest, TrimWithNothingCrossingChangesNothing)
{
    AddLine(0, 0, 10, 0);
    drv->Start(kCmdTrim);
    const auto before = Now();
    const int steps = g_undoCount;
    drv->ClickAt({8, 0});
    EXPECT_EQ(Now(), before);
    EXPECT_EQ(g_undoCount, steps);
}

TEST_F(EditTest, BreakAtAPointOfALineCrossedByAnother)
{
    AddLine(0, 0, 10, 0);
    AddLine(5, -5, 5, 5);
    drv->Start(kCmdBreak);
    const auto before = Now();
    drv->ClickAt({3, 0});
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 3u);
    ExpectPoint(lines[1]->GetStartPoint(), 3, 0);
    ExpectPoint(lines[1]->GetEndPoint(), 10, 0);
    ExpectPoint(lines[2]->GetStartPoint(), 0, 0);
    ExpectPoint(lines[2]->GetEndPoint(), 3, 0);
    EXPECT_FALSE(OutputHas(u"打断点： (X: 3.0000 , Y:0.0000)").empty());
    ExpectOneUndoStep(before);
}

TEST_F(EditTest, BreakOfACircleIsRefused)
{
    AddCircle(0, 0, 5);
    drv->Start(kCmdBreak);
    const auto before = Now();
    drv->ClickAt({5, 0});
    EXPECT_EQ(Now(), before);
    EXPECT_EQ(OutputHas(u"#不能打断该类型实线").size() + OutputHas(u"#打断失败").size(), 1u);
}

TEST_F(EditTest, ExtendALineToTheSelectedBoundary)
{
    AddLine(10, -5, 10, 5);
    AddLine(0, 0, 5, 0);
    drv->Start(kCmdExtend);
    drv->ClickAt({10, 2});
    Type(u"");
    ASSERT_EQ(drv->view->m_subStep, 1);
    const auto before = Now();
    drv->ClickAt({4, 0});
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 2u);
    ExpectPoint(lines[1]->GetStartPoint(), 0, 0);
    ExpectPoint(lines[1]->GetEndPoint(), 10, 0);
    ExpectOneUndoStep(before);
}

TEST_F(DivideTest, EllipseIntoFourQuarters)
{
    ++g_UnitIdCounter;
    auto* e = new CEllipse();
    e->geometry.ellipse.centre = x_Vector(0, 0);
    e->geometry.ellipse.majorAxis = x_Vector(10, 0);
    e->geometry.ellipse.axisRatio = 0.5;
    e->geometry.ellipse.startParam = 0;
    e->geometry.ellipse.endParam = 0;
    e->workGeometry = e->geometry;
    e->complete = 1;
    drv->doc->AppendUnit(e);
    drv->doc->CommitUndoStep(0);
    Pick(1, {10, 0});
    const auto before = Now();
    Type(u"4");
    const auto pieces = Live(6);
    ASSERT_EQ(pieces.size(), 4u);
    // By symmetry the quarters of equal length meet at the axis ends.
    const double kQuarter = kPi / 2;
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(std::remainder(pieces[i]->geometry.ellipse.startParam - i * kQuarter, kTwoPi), 0, 1e-3) << i;
        EXPECT_NEAR(std::remainder(pieces[i]->geometry.ellipse.endParam - (i + 1) * kQuarter, kTwoPi), 0, 1e-3) << i;
    }
    EXPECT_EQ(Now().size(), 4u);
    ASSERT_TRUE(drv->doc->Undo());
    EXPECT_EQ(Live(5).size(), 1u);
    EXPECT_TRUE(Live(6).empty());
}

TEST_F(EditTest, AlignTrimsAgainstTheSelectedBoundaryOnly)
{
    AddLine(0, 0, 10, 0);
    AddLine(5, -5, 5, 5);
    AddLine(8, -5, 8, 5);       // crosses too, but is no boundary
    drv->Start(kCmdAlign);
    drv->ClickAt({5, 3});
    Type(u"");
    ASSERT_EQ(drv->view->m_subStep, 1);
    const auto before = Now();
    drv->ClickAt({9, 0});
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 3u);
    ExpectPoint(lines[2]->GetStartPoint(), 0, 0);
    ExpectPoint(lines[2]->GetEndPoint(), 5, 0);
    ExpectOneUndoStep(before);
}

TEST_F(EditTest, TypedUTakesBackTheLastTrim)
{
    AddLine(0, 0, 10, 0);
    AddLine(5, -5, 5, 5);
    drv->Start(kCmdTrim);
    const auto before = Now();
    Type(u"8,0");
    EXPECT_EQ(drv->view->m_editCount, 1);
    Type(u"u");
    EXPECT_EQ(Now(), before);
    EXPECT_EQ(drv->Command(), 0);
}
