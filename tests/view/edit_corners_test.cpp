#include <cmath>

#include "edit_fixture.h"

namespace {

// Fillet points come from offsets and intersections in doubles.
constexpr double kGeomTol = 1e-9;

} // namespace

TEST_F(EditTest, FilletTwoLinesWithTheTypedRadius)
{
    AddLine(0, 0, 10, 0);
    AddLine(0, 0, 0, 10);
    drv->Start(kCmdFillet);
    Type(u"2");
    EXPECT_DOUBLE_EQ(g_FilletRadius, 2.0);
    EXPECT_EQ(g_SettingsDirty, 1);
    const auto before = Now();
    drv->ClickAt({5, 0});
    drv->ClickAt({0, 5});
    const auto arcs = Live(8);
    ASSERT_EQ(arcs.size(), 1u);
    ExpectPoint(GetArcCentre(*arcs[0]), 2, 2, kGeomTol);
    EXPECT_NEAR(arcs[0]->geometry.arc.radius, 2, kGeomTol);
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 2u);
    ExpectPoint(lines[0]->GetStartPoint(), 10, 0, kGeomTol);
    ExpectPoint(lines[0]->GetEndPoint(), 2, 0, kGeomTol);
    ExpectPoint(lines[1]->GetStartPoint(), 0, 10, kGeomTol);
    ExpectPoint(lines[1]->GetEndPoint(), 0, 2, kGeomTol);
    EXPECT_EQ(drv->Command(), kCmdFillet);
    ExpectOneUndoStep(before);
}

TEST_F(EditTest, FilletRadiusTooLargeChangesNothing)
{
    AddLine(0, 0, 10, 0);
    AddLine(0, 0, 0, 10);
    drv->Start(kCmdFillet);
    Type(u"0");
    EXPECT_FALSE(OutputHas(u"#输入数值必须大于0").empty());
    Type(u"20");
    const auto before = Now();
    const int steps = g_undoCount;
    drv->ClickAt({5, 0});
    drv->ClickAt({0, 5});
    EXPECT_FALSE(OutputHas(u"#设定圆弧半径过大").empty());
    EXPECT_EQ(Now(), before);
    EXPECT_EQ(g_undoCount, steps);
}

TEST_F(EditTest, ChamferTwoLinesWithTheTypedDistances)
{
    AddLine(0, 0, 10, 0);
    AddLine(0, 0, 0, 10);
    drv->Start(kCmdChamfer);
    Type(u"2,3");
    EXPECT_DOUBLE_EQ(g_ChamferDist1, 2.0);
    EXPECT_DOUBLE_EQ(g_ChamferDist2, 3.0);
    const auto before = Now();
    drv->ClickAt({5, 0});
    drv->ClickAt({0, 5});
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 3u);
    ExpectPoint(lines[0]->GetStartPoint(), 2, 0, kGeomTol);
    ExpectPoint(lines[0]->GetEndPoint(), 0, 3, kGeomTol);
    ExpectPoint(lines[1]->GetStartPoint(), 10, 0, kGeomTol);
    ExpectPoint(lines[1]->GetEndPoint(), 2, 0, kGeomTol);
    ExpectPoint(lines[2]->GetStartPoint(), 0, 10, kGeomTol);
    ExpectPoint(lines[2]->GetEndPoint(), 0, 3, kGeomTol);
    ExpectOneUndoStep(before);
}

TEST_F(EditTest, FilletOfALineWithACircleIsRefused)
{
    AddLine(0, 0, 10, 0);
    AddCircle(0, 20, 5);
    drv->Start(kCmdFillet);
    drv->ClickAt({5, 0});
    drv->ClickAt({5, 20});
    EXPECT_FALSE(OutputHas(u"#只能圆角<直线/多段线/多边形>").empty());
    EXPECT_EQ(drv->view->m_subStep, 1);      // the first pick stays
}

TEST_F(EditTest, TangentOfTwoCirclesTheChosenOneOnly)
{
    AddCircle(0, 0, 1);
    AddCircle(10, 0, 1);
    drv->Start(kCmdTangent);
    drv->ClickAt({-1, 0});
    drv->ClickAt({11, 0});
    ASSERT_EQ(drv->view->m_subStep, 2);
    const auto before = Now();
    drv->ClickAt({10, 1});           // the end of the upper outer tangent
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 1u);
    ExpectPoint(lines[0]->GetStartPoint(), 0, 1, kGeomTol);
    ExpectPoint(lines[0]->GetEndPoint(), 10, 1, kGeomTol);
    ExpectOneUndoStep(before);
}

TEST_F(EditTest, TangentOfNestedCirclesIsRefused)
{
    AddCircle(0, 0, 10);
    AddCircle(1, 0, 2);
    drv->Start(kCmdTangent);
    drv->ClickAt({-10, 0});
    drv->ClickAt({3, 0});
    EXPECT_FALSE(OutputHas(u"#未能找到圆切线").empty());
    EXPECT_EQ(drv->view->m_subStep, 0);
}
