#include <cmath>

#include "edit_fixture.h"

TEST_F(EditTest, MoveByTypedOffsetUsesTheOriginAsBaseAndUndoesInOneStep)
{
    CLine* a = AddLine(0, 0, 10, 0);
    AddLine(0, 5, 10, 5);
    // An earlier move left a base point behind; the typed offset must not use it.
    drv->view->m_basePoint = x_Vector(3, 3);
    drv->Start(kCmdMove);
    drv->ClickAt({5, 0});
    drv->ClickAt({5, 5});
    Type(u"");
    EXPECT_EQ(drv->view->m_subStep, 1);
    const auto before = Now();
    const std::uint64_t id = a->unitId;
    Type(u"10,5");
    EXPECT_EQ(drv->Command(), 0);
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 2u);
    ExpectPoint(lines[0]->GetStartPoint(), 10, 5);
    ExpectPoint(lines[0]->GetEndPoint(), 20, 5);
    ExpectPoint(lines[1]->GetStartPoint(), 10, 10);
    EXPECT_EQ(lines[0]->unitId, id);   // a move keeps the entity
    ExpectOneUndoStep(before);
}

TEST_F(EditTest, MoveByBasePointAndTargetClicks)
{
    AddLine(0, 0, 10, 0);
    drv->Start(kCmdMove);
    drv->ClickAt({5, 0});
    Type(u"");
    const auto before = Now();
    drv->ClickAt({1, 1});
    drv->ClickAt({4, -3});
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 1u);
    ExpectPoint(lines[0]->GetStartPoint(), 3, -4);
    ExpectPoint(lines[0]->GetEndPoint(), 13, -4);
    EXPECT_EQ(drv->Command(), 0);
    ExpectOneUndoStep(before);
}

TEST_F(EditTest, MoveByDisplacementPrompt)
{
    AddLine(0, 0, 10, 0);
    drv->Start(kCmdMove);
    drv->ClickAt({5, 0});
    Type(u"");
    Type(u"d");
    Type(u"10,5");
    ExpectPoint(Live(1)[0]->GetStartPoint(), 10, 5);
}

TEST_F(EditTest, ScaleByTwoAboutTheMiddleGivesANewEntity)
{
    CLine* a = AddLine(0, 0, 10, 0);
    drv->Start(kCmdScale);
    drv->ClickAt({5, 0});
    const auto before = Now();
    Type(u"0");
    EXPECT_FALSE(OutputHas(u"输入比例必须大于0").empty());
    EXPECT_EQ(Now(), before);
    EXPECT_EQ(drv->Command(), kCmdScale);
    Type(u"2");
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 1u);
    ExpectPoint(lines[0]->GetStartPoint(), -5, 0);
    ExpectPoint(lines[0]->GetEndPoint(), 15, 0);
    EXPECT_NE(lines[0]->unitId, a->unitId);
    EXPECT_EQ(drv->Command(), 0);
    ExpectOneUndoStep(before);
}

TEST_F(EditTest, RotateByTypedCentreAndAngle)
{
    AddLine(0, 0, 10, 0);
    drv->Start(kCmdRotate);
    drv->ClickAt({5, 0});
    Type(u"");
    const auto before = Now();
    Type(u"0,0");
    Type(u"90");
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 1u);
    ExpectPoint(lines[0]->GetStartPoint(), 0, 0, 1e-9);
    ExpectPoint(lines[0]->GetEndPoint(), 0, 10, 1e-9);
    ExpectOneUndoStep(before);
}

TEST_F(EditTest, RotateByNinetyAtTheFirstPromptTurnsAboutTheOrigin)
{
    AddLine(10, 0, 20, 0);
    drv->Start(kCmdRotate);
    drv->ClickAt({15, 0});
    Type(u"");
    Type(u"90");
    ExpectPoint(Live(1)[0]->GetStartPoint(), 0, 10, 1e-9);
    ExpectPoint(Live(1)[0]->GetEndPoint(), 0, 20, 1e-9);
}

class MirrorTest : public EditTest {
protected:
    // Mirrors the line (1,1)-(5,3) about the x axis typed as two points.
    void MirrorAcrossXAxis(const char16_t* answer, size_t lines)
    {
        AddLine(1, 1, 5, 3);
        drv->Start(kCmdMirror);
        drv->ClickAt({3, 2});
        Type(u"");
        const auto before = Now();
        Type(u"0,0");
        Type(u"10,0");
        EXPECT_EQ(drv->view->m_subStep, 3);
        Type(answer);
        const auto live = Live(1);
        ASSERT_EQ(live.size(), lines);
        ExpectPoint(live.back()->GetStartPoint(), 1, -1);
        ExpectPoint(live.back()->GetEndPoint(), 5, -3);
        if (lines == 2)
            ExpectPoint(live[0]->GetStartPoint(), 1, 1);
        EXPECT_EQ(drv->Command(), 0);
        ExpectOneUndoStep(before);
    }
};

TEST_F(MirrorTest, KeepingTheSource)
{
    MirrorAcrossXAxis(u"y", 2);
}

TEST_F(MirrorTest, ReplacingTheSource)
{
    MirrorAcrossXAxis(u"n", 1);
}

TEST_F(EditTest, MoveSelectsByWindowDrag)
{
    AddLine(0, 0, 10, 0);
    AddLine(0, 5, 10, 5);
    AddLine(0, 50, 10, 50);             // outside the window
    drv->Start(kCmdMove);
    drv->DragWindow({-1, -1}, {11, 6});
    EXPECT_EQ(CountSelectedUnits(1), 2);
}
