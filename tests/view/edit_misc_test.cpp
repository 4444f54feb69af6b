#include <algorithm>
#include <cmath>

#include "edit_fixture.h"
#include "platform/testing/control_driver.h"

namespace {

// The two ends of a line in lexicographic order, so that a drag that
// reverses a line compares by its points only.
std::pair<x_Vector, x_Vector> Ends(CUnit* u)
{
    x_Vector a = u->GetStartPoint(), b = u->GetEndPoint();
    if (std::tie(b.x, b.y) < std::tie(a.x, a.y))
        std::swap(a, b);
    return {a, b};
}

} // namespace

class OffsetTest : public EditTest {
protected:
    void PickLineAtDistance(const char16_t* distance)
    {
        AddLine(0, 0, 10, 0);
        drv->Start(kCmdOffset);
        Type(distance);
        ASSERT_EQ(drv->view->m_subStep, 1);
        drv->ClickAt({5, 0});
        ASSERT_EQ(drv->view->m_subStep, 2);
    }
};

TEST_F(OffsetTest, TypedSideZeroGoesRightOfTheDirection)
{
    PickLineAtDistance(u"3");
    const auto before = Now();
    Type(u"0");
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 2u);
    ExpectPoint(lines[1]->GetStartPoint(), 0, -3, 1e-9);
    ExpectPoint(lines[1]->GetEndPoint(), 10, -3, 1e-9);
    EXPECT_FALSE(OutputHas(u"操作完成").empty());
    EXPECT_EQ(drv->view->m_subStep, 1);
    ExpectOneUndoStep(before);
}

TEST_F(OffsetTest, ClickInTheUpperArrowGoesLeft)
{
    PickLineAtDistance(u"2.5");
    const auto before = Now();
    drv->ClickAt({0, 5});
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 2u);
    ExpectPoint(lines[1]->GetStartPoint(), 0, 2.5, 1e-9);
    ExpectPoint(lines[1]->GetEndPoint(), 10, 2.5, 1e-9);
    ExpectOneUndoStep(before);
}

// Before, the arrows were never drawn, so the side was chosen blind, and a
// zoom left their pick triangles where they had been.
TEST_F(OffsetTest, ArrowsAreDrawnTheOneUnderTheCursorIsHighlightedAndAZoomMovesThem)
{
    PickLineAtDistance(u"3");
    // The upper arrow's head lies 20 to 60 pixels above the line's start.
    const auto headColour = [&] {
        const POINT a = drv->Pixel({0, 0});
        return dlgtest::PixelAt(drv->view, a.x, a.y - 40);
    };
    const auto green = [](COLORREF c) { return (c >> 8 & 0xFF) > 200; };
    EXPECT_NE(headColour(), 0x000000u);
    EXPECT_FALSE(green(headColour()));
    drv->MoveTo({0, 10});
    EXPECT_EQ(g_highlightedArrow, 0);
    EXPECT_TRUE(green(headColour()));

    // A click beside both arrows keeps the pick and its arrows.
    drv->ClickAt({30, 0});
    EXPECT_FALSE(OutputHas(u"#请选择偏移方向").empty());
    EXPECT_EQ(Live(1)[0]->selected, 1);
    EXPECT_EQ(drv->view->m_subStep, 2);

    drv->ZoomAt(1, {400, 300});
    EXPECT_NE(headColour(), 0x000000u);
    const POINT a = drv->Pixel({0, 0});
    drv->ClickAtPixel({a.x, a.y - 100});
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 2u);
    ExpectPoint(lines[1]->GetStartPoint(), 0, 3, 1e-9);
}

TEST_F(OffsetTest, TypedSideOutOfRangeIsNotTaken)
{
    PickLineAtDistance(u"3");
    const auto before = Now();
    Type(u"2");
    EXPECT_EQ(Now(), before);
    EXPECT_FALSE(OutputHas(u"#输入有误").empty());
}

class GripTest : public EditTest {
protected:
    // Lines A (0,0)-(10,0) and B (10,0)-(10,10) joined at (10, 0), both
    // selected by idle clicks.
    void SelectJoinedLines()
    {
        a = AddLine(0, 0, 10, 0);
        b = AddLine(10, 0, 10, 10);
        drv->ClickAt({5, 0});
        drv->ClickAt({10, 5});
        ASSERT_TRUE(a->selected && b->selected);
        ShowGrips();
    }
    // The grips of a selection are built when a frame draws them; an idle
    // pick of a single line does not render by itself.
    void ShowGrips() { drv->view->RedrawNow(); }
    CLine* a = nullptr;
    CLine* b = nullptr;
};

TEST_F(GripTest, StretchOfAJoinedEndByATypedPoint)
{
    SelectJoinedLines();
    const auto before = Now();
    drv->ClickAt({10, 0});                  // A's end grip
    ASSERT_EQ(drv->Step(), kStepGripStretch);
    Type(u"20,5");
    EXPECT_EQ(drv->Step(), kStepIdlePick);
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 2u);
    std::vector<std::pair<x_Vector, x_Vector>> ends;
    for (CUnit* u : lines)
        ends.push_back(Ends(u));
    std::sort(ends.begin(), ends.end(), [](auto& p, auto& q) { return p.first.x < q.first.x; });
    ExpectPoint(ends[0].first, 0, 0);
    ExpectPoint(ends[0].second, 20, 5);
    ExpectPoint(ends[1].first, 10, 10);
    ExpectPoint(ends[1].second, 20, 5);
    EXPECT_TRUE(a->deleted && b->deleted);
    ExpectOneUndoStep(before);
}

TEST_F(GripTest, MoveByTheMiddleGripWithATypedDisplacement)
{
    a = AddLine(0, 0, 10, 0);
    drv->ClickAt({5, 0});
    ShowGrips();
    const auto before = Now();
    drv->ClickAt({5, 0});                   // the middle grip
    ASSERT_EQ(drv->Step(), kStepGripMove);
    Type(u"d");
    Type(u"3,4");
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], a);                 // a move keeps the entity
    ExpectPoint(a->GetStartPoint(), 3, 4);
    ExpectPoint(a->GetEndPoint(), 13, 4);
    ExpectOneUndoStep(before);
}

TEST_F(GripTest, MoveByTheMiddleGripWithAClick)
{
    a = AddLine(0, 0, 10, 0);
    drv->ClickAt({5, 0});
    ShowGrips();
    const auto before = Now();
    drv->ClickAt({5, 0});
    ASSERT_EQ(drv->Step(), kStepGripMove);
    drv->ClickAt({8, 2});
    ExpectPoint(a->GetStartPoint(), 3, 2);
    ExpectPoint(a->GetEndPoint(), 13, 2);
    ExpectOneUndoStep(before);
}

TEST_F(GripTest, StretchOfAJoinedEndByAClick)
{
    SelectJoinedLines();
    const auto before = Now();
    drv->ClickAt({10, 0});
    ASSERT_EQ(drv->Step(), kStepGripStretch);
    drv->ClickAt({20, 5});
    EXPECT_EQ(drv->Step(), kStepIdlePick);
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 2u);
    int atTarget = 0;
    for (CUnit* u : lines) {
        const auto e = Ends(u);
        atTarget += e.first.IsEqual({20, 5}) || e.second.IsEqual({20, 5});
    }
    EXPECT_EQ(atTarget, 2);
    ExpectOneUndoStep(before);
}

// Roles 2 to 4 once counted as paths here, and a plain line of role 3 was
// read through path fields.
TEST_F(EditTest, ALineOfRoleThreeIsDescribedAsALine)
{
    CLine* line = AddLine(0, 0, 0, 10);
    line->role = kRoleDerivedPiece;
    drv->view->m_pPickedUnit = line;
    drv->view->DescribeEntity();
    ASSERT_FALSE(drv->Output().empty());
    EXPECT_EQ(drv->Output().back(),
              CString(u"直线(L)-> (0.0000,0.0000   0.0000,10.0000)  长度：10.0000 mm  角度：90.0000°"));
}

TEST_F(EditTest, ScaleKeepsAGearThatRefusesAndReplacesTheRestInOneStep)
{
    CLine* gear = AddLine(0, 0, 10, 0);
    gear->gearKind = 1;
    CLine* plain = AddLine(0, 5, 10, 5);
    drv->Start(kCmdScale);
    // A window selection takes the gear too; the start deselected gears only.
    gear->selected = plain->selected = 1;
    Type(u"");
    const auto before = Now();
    Type(u"0,0");
    Type(u"2");
    EXPECT_FALSE(gear->deleted);
    ExpectPoint(gear->GetEndPoint(), 10, 0);
    EXPECT_TRUE(plain->deleted);
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 2u);
    ExpectPoint(lines[1]->GetStartPoint(), 0, 10);
    ExpectPoint(lines[1]->GetEndPoint(), 20, 10);
    ExpectOneUndoStep(before);
}

// Pasted copies were recorded as a move: undo put them back onto their
// sources instead of removing them.
TEST_F(EditTest, PasteOfCopiesByATypedPointUndoesToTheSourcesAlone)
{
    CLine* a = AddLine(0, 0, 10, 0);
    a->selected = 1;
    drv->view->CopySelected();
    drv->view->m_cursorPoint = x_Vector(0, 0);
    drv->view->PasteClipboard();
    ASSERT_EQ(drv->Command(), kCmdPaste);
    const auto before = Picture({a});
    Type(u"0,5");
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 2u);
    ExpectPoint(lines[1]->GetStartPoint(), 0, 5);
    ExpectPoint(lines[1]->GetEndPoint(), 10, 5);
    ExpectPoint(a->GetStartPoint(), 0, 0);
    EXPECT_EQ(drv->Command(), 0);
    ExpectOneUndoStep(before);
}

TEST_F(EditTest, PasteOfACutSelectionMovesItAsOneStep)
{
    CLine* a = AddLine(0, 0, 10, 0);
    a->selected = 1;
    drv->view->CutSelected();
    drv->view->m_cursorPoint = x_Vector(0, 0);
    drv->view->PasteClipboard();
    const auto before = Now();
    Type(u"0,5");
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], a);
    ExpectPoint(a->GetStartPoint(), 0, 5);
    ExpectOneUndoStep(before);
}

TEST_F(EditTest, QueriesPrintWhatWasClicked)
{
    AddLine(0, 20, 0, 30);                      // length 10, at 90°
    AddCircle(2, 3, 1);
    ++g_UnitIdCounter;
    CArc* arc = NewArc({20, 0}, 2, 0, kPi / 2, 0);
    drv->doc->AppendUnit(arc);
    drv->doc->CommitUndoStep(0);
    const int steps = g_undoCount;
    const struct { const char* name; int command; std::vector<x_Vector> clicks; const char16_t* line; } kCases[] = {
        {"point", kCmdQueryPoint, {{3, 4}}, u"坐标点： X = 3.0000 , Y = 4.0000"},
        {"distance", kCmdQueryDistance, {{0, 0}, {3, 4}},
         u"两点距离： 5.0000 mm  ; 坐标：P1(0.0000 , 0.0000) P1(3.0000 , 4.0000)"},
        {"perimeter of a line", kCmdQueryPerimeter, {{0, 25}}, u"周长： 10.0000 mm"},
        {"angle of a line", kCmdQueryAngle, {{0, 25}}, u"角度： 90.0000°"},
        {"sweep of an arc", kCmdQueryAngle, {{22, 0}}, u"弧度： 90.0000°"},
        {"centre of a circle", kCmdQueryCentre, {{3, 3}}, u"中心点： X = 2.0000 , Y = 3.0000"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        drv->Start(c.command);
        for (const x_Vector& p : c.clicks)
            drv->ClickAt(p);
        EXPECT_FALSE(OutputHas(c.line).empty());
        EXPECT_EQ(drv->Command(), c.command);
    }
    EXPECT_EQ(g_undoCount, steps);              // queries change nothing
}

TEST_F(EditTest, OriginOffsetMovesEveryEntityInOneStep)
{
    AddLine(10, 20, 15, 20);
    AddCircle(0, 0, 1);
    drv->Start(kCmdOriginOffset);
    const auto before = Now();
    Type(u"10,20");
    ExpectPoint(Live(1)[0]->GetStartPoint(), 0, 0);
    ExpectPoint(Live(7)[0]->geometry.circle.centre, -10, -20);
    EXPECT_EQ(drv->Command(), 0);
    ExpectOneUndoStep(before);
}
