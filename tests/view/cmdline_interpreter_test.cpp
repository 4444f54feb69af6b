#include "cmdline_typing.h"

#include "platform/ui/CComboBox.h"

constexpr int kCtrlY = 4001;
constexpr int kCtrlZ = 4003;
constexpr int kCtrlA = 4027;

TEST_F(CmdlineTest, TypedLineWithPromptUndoAndRedo)
{
    Type(u"l");
    EXPECT_EQ(drv->Command(), kCmdLine);
    EXPECT_TRUE(StartsWith(LastLine(), u"直线(L)->第一个点 (x,y)【取消(Esc)】"));
    Type(u"0,0");
    Type(u"10,0");
    Key(27);
    EXPECT_EQ(drv->Command(), 0);
    auto lines = Live(1);
    ASSERT_EQ(lines.size(), 1u);
    ExpectPoint(lines[0]->GetStartPoint(), 0, 0);
    ExpectPoint(lines[0]->GetEndPoint(), 10, 0);
    Key(kCtrlZ);
    EXPECT_TRUE(Live(1).empty());
    Key(kCtrlY);
    EXPECT_EQ(Live(1).size(), 1u);
}

TEST_F(CmdlineTest, ShortCommandsAreTrimmedAndLowerCased)
{
    Type(u"L");
    EXPECT_EQ(drv->Command(), kCmdLine);
    Key(27);
    Type(u" l ");
    EXPECT_EQ(drv->Command(), kCmdLine);
    Key(27);
    Type(u"lx");
    EXPECT_EQ(drv->Command(), 0);
    EXPECT_EQ(LastLine(), CString(u"#输入有误"));
}

TEST_F(CmdlineTest, TypedLettersWinOncePointsExist)
{
    Type(u"l");
    Type(u"c");                 // no point yet: the circle command
    EXPECT_EQ(drv->Command(), kCmdCircle);
    Key(27);
    Type(u"l");
    Type(u"0,0");
    Type(u"c");                 // close needs three points
    EXPECT_EQ(drv->Command(), kCmdLine);
    EXPECT_TRUE(Printed(u"#输入有误"));
    Type(u"10,0");
    Type(u"10,10");
    Type(u"c");
    EXPECT_EQ(drv->Command(), 0);
    const auto lines = Live(1);
    ASSERT_EQ(lines.size(), 3u);
    ExpectPoint(lines[2]->GetStartPoint(), 10, 10);
    ExpectPoint(lines[2]->GetEndPoint(), 0, 0);
}

TEST_F(CmdlineTest, TypedCircleAndTheRememberedMode)
{
    Type(u"c");
    Type(u"5,5");
    Type(u"3");
    const auto circles = Live(7);
    ASSERT_EQ(circles.size(), 1u);
    ExpectPoint(circles[0]->geometry.circle.centre, 5, 5);
    EXPECT_NEAR(circles[0]->geometry.circle.radius, 3, kTol);
    EXPECT_EQ(drv->Command(), 0);

    Type(u"c");
    drv->SelectMode(2);
    Key(27);
    Type(u"c");
    auto* combo = dynamic_cast<CComboBox*>(g_commandBar->GetDlgItem(kIdModeCombo));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetCurSel(), 2);
    EXPECT_TRUE(StartsWith(LastLine(), u"圆(C)->指定第一个点 (x,y)【放弃(U)】"));
}

TEST_F(CmdlineTest, SelectAllThenEraseAndOneUndo)
{
    AddLine(0, 0, 10, 0);
    AddLine(0, 5, 10, 5);
    AddLine(0, 9, 10, 9);
    Key(kCtrlA);
    EXPECT_EQ(LastLine(), CString(u"全选->找到 3 个"));
    Type(u"td");
    EXPECT_TRUE(Live(1).empty());
    EXPECT_TRUE(Printed(u"擦除 (TD)->删除对象 3 个"));
    EXPECT_EQ(drv->Command(), 0);
    Key(kCtrlZ);
    EXPECT_EQ(Live(1).size(), 3u);
}

// The sub-flag is set before the start, so the prompt names the variant.
TEST_F(CmdlineTest, DimensionVariantsPromptTheirOwnVariant)
{
    Type(u"dr");
    EXPECT_EQ(drv->Command(), kCmdDimCircle);
    EXPECT_TRUE(StartsWith(LastLine(), u"半径标注(DR)->请选择一个圆或圆弧【放弃(U)】"));
    EXPECT_EQ(drv->view->m_repeatSubFlag, 1);
    Key(27);
    Type(u"dd");
    EXPECT_TRUE(StartsWith(LastLine(), u"直径标注(DD)->请选择一个圆【放弃(U)】"));
    EXPECT_EQ(drv->view->m_repeatSubFlag, 0);
}

TEST_F(CmdlineTest, DialogShortCommandsArmTheirPendingAction)
{
    const struct {
        const char16_t* text;
        int action;
    } kCases[] = {{u"fn", 81}, {u"ms", 42}, {u"tj", 31}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(CString(c.text).ToUtf8());
        drv->SetCommandEdit(CString(c.text));
        drv->view->DispatchKey(13);     // read before the timer runs it
        EXPECT_EQ(drv->view->m_pendingAction, c.action);
        Release();
        drv->Settle();
    }
}

TEST_F(CmdlineTest, EnterBeforeTheKeyReleaseOnlyScrolls)
{
    drv->SetCommandEdit(CString(u"l"));
    drv->PressKey(13);
    drv->SetCommandEdit(CString(u"c"));
    drv->PressKey(13);          // latch still set
    EXPECT_EQ(drv->Command(), kCmdLine);
}

TEST_F(CmdlineTest, TypedInputRefusedWhileLocked)
{
    Type(u"l");
    g_LockSwitch = 1;
    Type(u"0,0");
    EXPECT_EQ(drv->Output().size(), 1u);
    EXPECT_EQ(LastLine(), CString(u"#锁定开关已开启，无法进行操作"));
    EXPECT_EQ(drv->PointCount(), 0);
}

TEST_F(CmdlineTest, RefusedTextEchoedBehindThePromptThenPromptAgain)
{
    Type(u"l");
    const size_t before = drv->Output().size();
    Type(u"abc");
    const auto lines = drv->Output();
    ASSERT_EQ(lines.size(), before + 2);   // the echo replaced the prompt line
    const CString echo = lines[before - 1];
    EXPECT_TRUE(StartsWith(echo, u"直线(L)->第一个点 (x,y)【取消(Esc)】"));
    EXPECT_NE(echo.Find(u" ：abc"), -1);
    EXPECT_EQ(lines[before], CString(u"#输入有误"));
    EXPECT_TRUE(StartsWith(lines.back(), u"直线(L)->第一个点 (x,y)【取消(Esc)】"));
    EXPECT_EQ(lines.back().Find(u"abc"), -1);
}

TEST_F(CmdlineTest, EmptyEnterAtRestRemovesTheLastLine)
{
    Type(u"lx");
    ASSERT_EQ(LastLine(), CString(u"#输入有误"));
    const size_t before = drv->Output().size();
    Type(u"");
    EXPECT_EQ(drv->Output().size(), before - 1);
}

TEST_F(CmdlineTest, PickedEntitiesDescribedInOneLine)
{
    CLine* line = AddLine(0, 0, 0, 10);
    drv->view->m_pPickedUnit = line;
    drv->view->DescribeEntity();
    EXPECT_EQ(LastLine(), CString(u"直线(L)-> (0.0000,0.0000   0.0000,10.0000)  长度：10.0000 mm  角度：90.0000°"));
    for (double y : {0.0, 5.0})
        AddLine(20, y, 23, y + 4)->group = 3;   // two pieces of 5 mm
    CUnit* piece = Live(1).back();
    piece->pieceOf = 2;
    drv->view->m_pPickedUnit = piece;
    drv->view->DescribeEntity();
    EXPECT_EQ(LastLine(), CString(u"多段线(PL)-> 线段数：2  总长：10.0000 mm"));
}

TEST_F(CmdlineTest, HelpWithoutAKeyListPrintsNothing)
{
    const size_t before = drv->Output().size();
    Type(u"help");
    EXPECT_EQ(drv->Output().size(), before);
    EXPECT_EQ(g_KeyListLoaded, 1);
}

TEST_F(CmdlineTest, EscWithThePopupUpKeepsTheCommand)
{
    Type(u"l");
    Type(u"0,0");
    g_rightButtonState = 10;
    Key(27);
    EXPECT_EQ(drv->Command(), kCmdLine);
    EXPECT_EQ(g_rightButtonState, 0);
    Key(27);
    EXPECT_EQ(drv->Command(), 0);
}
