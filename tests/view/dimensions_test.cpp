// The dimension commands as a user drives them: short commands, clicks,
// typed points, "u" and "c", and the picking of placed dimensions.
#include "cmdline_typing.h"

#include <cmath>

#include "geometry/CDimAngle.h"
#include "geometry/CDimArc.h"
#include "geometry/CDimCir.h"
#include "geometry/CDimDASH.h"
#include "geometry/CDimLine.h"
#include "geometry/CDimLinear.h"
#include "geometry/CDimPLine.h"
#include "geometry/CEllipse.h"

namespace {

class DimensionCommands : public CmdlineTest {
protected:
    template <class T> T* Place(T* unit)
    {
        unit->workGeometry = unit->geometry;
        unit->complete = 1;
        drv->doc->AppendUnit(unit);
        drv->doc->CommitUndoStep(0);
        drv->view->RedrawNow();
        return unit;
    }
    CCir* AddCircle(x_Vector c, double r)
    {
        ++g_UnitIdCounter;
        return Place(NewCircle(c, r));
    }
    CArc* AddArc(x_Vector c, double r, double a0, double a1)
    {
        ++g_UnitIdCounter;
        return Place(NewArc(c, r, a0, a1, 0));
    }
    template <class T> T* Only(int type)
    {
        const auto units = Live(type);
        EXPECT_EQ(units.size(), 1u);
        return units.empty() ? nullptr : dynamic_cast<T*>(units[0]);
    }
};

TEST_F(DimensionCommands, AlignedByThreeClicksIsOneUndoStep)
{
    Type(u"dl");
    EXPECT_TRUE(StartsWith(LastLine(), u"尺寸标注(DL)->第一个点"));
    drv->ClickAt({0, 0});
    EXPECT_TRUE(StartsWith(LastLine(), u"尺寸标注(DL)->第二个点"));
    drv->ClickAt({10, 0});
    EXPECT_TRUE(StartsWith(LastLine(), u"尺寸标注(DL)->选择偏移点"));
    drv->MoveTo({4, 3});
    EXPECT_EQ(drv->view->m_promptText, CString(u"长度：10.0000mm ，角度：0.0000°"));
    drv->ClickAt({4, 3});
    EXPECT_EQ(drv->Command(), 0);
    auto* dim = Only<CDimLine>(15);
    ASSERT_NE(dim, nullptr);
    ExpectPoint(dim->Current().p2, 10, 0);
    EXPECT_NEAR(dim->Current().distance, 3, kTol);
    EXPECT_NEAR(dim->Current().angle, kPi / 2, kTol);
    EXPECT_EQ(dim->Current().value, 10);
    EXPECT_EQ(dim->complete, 1);
    ASSERT_TRUE(drv->doc->Undo());
    EXPECT_TRUE(Live(15).empty());
}

// p1 (0, 0), p2 (10, 5), then the placement point (5, 8) typed: a
// horizontal dimension line at y = 8 showing 10.
TEST_F(DimensionCommands, LinearByTypedPoints)
{
    Type(u"dg");
    Type(u"0,0");
    Type(u"10,5");
    Type(u"5,8");
    EXPECT_EQ(drv->Command(), 0);
    auto* dim = Only<CDimLinear>(16);
    ASSERT_NE(dim, nullptr);
    EXPECT_EQ(dim->Current().linearMode, 1);
    EXPECT_EQ(dim->Current().value, 10);
    ExpectPoint(dim->inputPoints[0], 0, 8);
    ExpectPoint(dim->inputPoints[1], 10, 8);
    EXPECT_EQ(dim->text, CString(u"10.0000"));
}

TEST_F(DimensionCommands, TypedUEndsALengthDimension)
{
    Type(u"dl");
    Type(u"0,0");
    Type(u"u");
    EXPECT_EQ(drv->Command(), 0);
    EXPECT_TRUE(Live(15).empty());
}

TEST_F(DimensionCommands, DiameterTakesCirclesOnlyRadiusAlsoArcs)
{
    AddArc({30, 0}, 5, 0, kPi);
    AddCircle({0, 0}, 5);
    Type(u"dd");
    drv->ClickAt({30, 5});                          // the arc: nothing
    EXPECT_EQ(drv->PointCount(), 0);
    drv->ClickAt({5, 0});
    EXPECT_EQ(drv->PointCount(), 1);
    EXPECT_TRUE(StartsWith(LastLine(), u"直径标注(DD)->选择偏移点"));
    drv->MoveTo({2, 2});
    drv->ClickAt({2, 2});
    auto* diameter = Only<CDimCir>(17);
    ASSERT_NE(diameter, nullptr);
    EXPECT_EQ(diameter->radiusMode, 0);
    EXPECT_EQ(diameter->Current().distance, 5);
    EXPECT_EQ(diameter->Current().value, 10);
    ExpectPoint(diameter->Current().p2, 2, 2);

    Type(u"dr");
    drv->ClickAt({30, 5});
    drv->MoveTo({30, 12});
    drv->ClickAt({30, 12});
    ASSERT_EQ(Live(17).size(), 2u);
    auto* radius = static_cast<CDimCir*>(Live(17)[1]);
    EXPECT_EQ(radius->radiusMode, 1);
    EXPECT_EQ(radius->Current().value, 5);
    ExpectPoint(radius->Current().p1, 30, 0);
}

TEST_F(DimensionCommands, ArcLengthMeasuresTheClickedArc)
{
    CArc* arc = AddArc({0, 0}, 10, 0, kPi / 2);
    Type(u"dc");
    drv->ClickAt({20, 20});                         // nothing there
    EXPECT_EQ(drv->Command(), kCmdDimArc);
    EXPECT_EQ(drv->PointCount(), 0);
    drv->ClickAt({10 * std::cos(0.5), 10 * std::sin(0.5)});
    drv->MoveTo({12, 9});
    drv->ClickAt({12, 9});
    EXPECT_EQ(drv->Command(), 0);
    auto* dim = Only<CDimArc>(18);
    ASSERT_NE(dim, nullptr);
    EXPECT_EQ(dim->Current().measuredId, arc->unitId);
    EXPECT_NEAR(dim->Current().radius, 15, kTol);
    EXPECT_EQ(dim->text, CString(u"15.7080"));
}

TEST_F(DimensionCommands, AngleBetweenTwoLinesAndParallelLinesGiveNothing)
{
    AddLine(-10, 0, 10, 0);
    AddLine(-10, 5, 10, 5);                         // parallel to the first
    AddLine(3, -10, 3, 10);
    Type(u"da");
    drv->ClickAt({-5, 0});
    EXPECT_TRUE(StartsWith(LastLine(), u"角度标注(DA)->请选择第二条直线"));
    drv->ClickAt({-5, 5});                          // parallel: still waiting
    EXPECT_TRUE(Live(19).empty());
    EXPECT_EQ(drv->Command(), kCmdDimAngle);
    drv->ClickAt({3, -6});
    drv->MoveTo({6, -2});                           // the lower right quadrant
    drv->ClickAt({6, -2});
    EXPECT_EQ(drv->Command(), 0);
    auto* dim = Only<CDimAngle>(19);
    ASSERT_NE(dim, nullptr);
    ExpectPoint(dim->Current().centre, 3, 0);
    EXPECT_NEAR(dim->Current().value, kPi / 2, kTol);
    EXPECT_NEAR(dim->Current().radius, std::sqrt(13.0), kTol);
    EXPECT_EQ(dim->text, CString(u"90.0000°"));
}

TEST_F(DimensionCommands, AuxiliaryLinesChainAndCloseWithC)
{
    g_CommandModes.mode[9] = 2;                     // "虚线参考": dotted
    Type(u"dh");
    Type(u"0,0");
    drv->MoveTo({3, 4});
    EXPECT_EQ(drv->view->m_promptText, CString(u"长度：5.0000mm ，角度：53.1301°"));
    Type(u"10,0");
    Type(u"10,5");
    EXPECT_EQ(Live(20).size(), 2u);
    Type(u"u");                                     // takes the last line back
    EXPECT_EQ(Live(20).size(), 1u);
    Type(u"10,5");
    Type(u"c");
    EXPECT_EQ(drv->Command(), 0);
    const auto lines = Live(20);
    ASSERT_EQ(lines.size(), 3u);
    ExpectPoint(lines[2]->geometry.line.p1, 10, 5);
    ExpectPoint(lines[2]->geometry.line.p2, 0, 0);
    for (CUnit* u : lines) {
        EXPECT_EQ(u->auxKind, 2);
        EXPECT_EQ(u->lineStyle, 2);
    }
}

TEST_F(DimensionCommands, CentreLinesOfCircleEllipsePolygonAndTwoLines)
{
    AddCircle({0, 0}, 10);
    drv->Start(kCmdCentreLine);
    drv->ClickAt({10, 0});
    auto lines = Live(20);
    ASSERT_EQ(lines.size(), 2u);
    ExpectPoint(lines[0]->geometry.line.p1, -11, 0);
    ExpectPoint(lines[0]->geometry.line.p2, 11, 0);
    ExpectPoint(lines[1]->geometry.line.p1, 0, -11);
    EXPECT_EQ(lines[0]->auxKind, 3);
    EXPECT_EQ(lines[0]->dashDot, 1);

    // An ellipse: along its major axis first; both keep the axis ratio.
    ++g_UnitIdCounter;
    auto* e = new CEllipse();
    e->geometry.ellipse.centre = x_Vector(0, 40);
    e->geometry.ellipse.majorAxis = x_Vector(0, 8);
    e->geometry.ellipse.axisRatio = 0.5;
    Place(e);
    drv->ClickAt({0, 48});
    lines = Live(20);
    ASSERT_EQ(lines.size(), 4u);
    ExpectPoint(lines[2]->geometry.line.p1, 0, 31.2);
    ExpectPoint(lines[2]->geometry.line.p2, 0, 48.8);
    ExpectPoint(lines[3]->geometry.line.p1, 8.8, 40);
    EXPECT_EQ(lines[3]->auxValue, 0.5);
    for (CUnit* u : lines)
        u->deleted = 1;

    // Two lines meeting at right angles: the bisector between their ends.
    AddLine(30, 0, 40, 0);
    AddLine(30, 0, 30, 10);
    drv->ClickAt({35, 0});
    EXPECT_TRUE(StartsWith(LastLine(), u"中心线(CL)->选择另一条直线"));
    drv->ClickAt({30, 5});
    lines = Live(20);
    ASSERT_EQ(lines.size(), 1u);
    const x_LineData g = lines[0]->geometry.line;
    EXPECT_NEAR(x_Vector::Distance(g.p1, g.p2), std::sqrt(50.0), 1e-9);

    // A rectangle's edge: the box of the group.
    Key(27);
    EXPECT_EQ(drv->Command(), 0);
    Type(u"rl");
    Type(u"50,0");
    Type(u"12,6");                                  // width and height
    ASSERT_EQ(Live(1).size(), 6u);
    g_CommandModes.mode[9] = 3;                     // command 20 in "中心线标注"
    Type(u"dh");
    EXPECT_TRUE(StartsWith(LastLine(), u"中心线标注(DH)->指定直线、圆、弧或多边形"));
    drv->ClickAt({56, 0});
    lines = Live(20);
    ASSERT_EQ(lines.size(), 3u);
    ExpectPoint(lines[1]->geometry.line.p1, 48, 3);  // 12 / 1.5 = 8 each side
    ExpectPoint(lines[1]->geometry.line.p2, 64, 3);
}

TEST_F(DimensionCommands, PickedOrdinateDescribesItsValue)
{
    ++g_UnitIdCounter;
    auto* ordinate = new CDimPLine();
    ordinate->Current().p1 = {0, 12.5};
    ordinate->Current().p2 = {20, 12.5};
    ordinate->Current().value = 12.5;
    Place(ordinate);
    drv->ClickAt({10, 12.5});
    EXPECT_EQ(ordinate->selected, 1);
    EXPECT_EQ(LastLine(), CString(u"坐标标注(DP)-> 值：12.50"));
}

TEST_F(DimensionCommands, GripDragOfAnAlignedDimensionMovesItsLine)
{
    Type(u"dl");
    Type(u"0,0");
    Type(u"10,0");
    Type(u"5,3");
    auto* dim = Only<CDimLine>(15);
    ASSERT_NE(dim, nullptr);
    drv->ClickAt({5, 3});                           // select
    ASSERT_EQ(dim->selected, 1);
    drv->ClickAt({10, 3});                          // the grip at the line's end
    ASSERT_EQ(drv->Step(), kStepGripStretch);
    drv->MoveTo({6, -4});
    drv->ClickAt({6, -4});
    auto* moved = Only<CDimLine>(15);
    ASSERT_NE(moved, nullptr);
    EXPECT_NE(moved, dim);                          // the drag leaves a copy
    EXPECT_NEAR(moved->Current().distance, 4, kTol);
    EXPECT_NEAR(moved->Current().angle, 3 * kPi / 2, kTol);
    ASSERT_TRUE(drv->doc->Undo());
    EXPECT_EQ(Only<CDimLine>(15), dim);
}

TEST_F(DimensionCommands, ToolbarButtonsToggleAndMenuItemsStart)
{
    auto send = [&](UINT id) { return drv->view->OnCmdMsg(id, CN_COMMAND, nullptr, nullptr); };
    ASSERT_TRUE(send(32899));                       // "半径标注"
    EXPECT_EQ(drv->Command(), kCmdDimCircle);
    EXPECT_EQ(g_cmdSubFlag, 1);
    EXPECT_TRUE(StartsWith(LastLine(), u"半径标注(DR)->请选择一个圆或圆弧"));
    send(32898);                                    // the diameter button starts its variant
    EXPECT_EQ(drv->Command(), kCmdDimCircle);
    EXPECT_EQ(g_cmdSubFlag, 0);
    send(32898);                                    // pressed again: ends it
    EXPECT_EQ(drv->Command(), 0);
    send(32877);                                    // menu "角度标注(&A)"
    EXPECT_EQ(drv->Command(), kCmdDimAngle);
    send(32877);                                    // a menu item starts again
    EXPECT_EQ(drv->Command(), kCmdDimAngle);
    send(33025);
    EXPECT_EQ(drv->Command(), kCmdCentreLine);
    EXPECT_FALSE(send(32875));                      // ids between the items stay free
}

} // namespace
