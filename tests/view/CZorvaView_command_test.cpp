#include "view_fixture.h"

#include "platform/testing/ui_harness.h"

TEST_F(ViewTest, RefusedStartsLeaveTheRunningCommandUntouched)
{
    drv->Start(kCmdLine);
    drv->ClickAt({0, 0});
    CUnit* floating = drv->view->m_pFloatUnit;
    ASSERT_NE(floating, nullptr);
    // Busy worker: refused before anything is reset.
    drv->view->m_workerRequest = kWorkerPath;
    drv->Start(kCmdCircle);
    EXPECT_EQ(drv->Output().back(), CString(u"#请等待线程处理完成..."));
    EXPECT_EQ(drv->Command(), kCmdLine);
    EXPECT_EQ(drv->PointCount(), 1);
    EXPECT_EQ(drv->view->m_pFloatUnit, floating);
    EXPECT_EQ(drv->view->m_pointsA.GetSize(), 1);
    // Lock switch: the same, only the asked number is remembered.
    drv->view->m_workerRequest = 0;
    g_LockSwitch = 1;
    drv->Start(kCmdCircle);
    EXPECT_EQ(drv->Output().back(), CString(u"#锁定开关已开启，无法进行操作"));
    EXPECT_EQ(g_lastCommand, kCmdCircle);
    EXPECT_EQ(drv->Command(), kCmdLine);
    EXPECT_EQ(drv->view->m_pFloatUnit, floating);
    EXPECT_EQ(drv->view->m_pointsA.GetSize(), 1);
    // The way back to rest is never refused.
    drv->view->m_workerRequest = kWorkerPath;
    drv->Start(0);
    EXPECT_EQ(drv->Command(), 0);
    EXPECT_EQ(drv->Step(), kStepIdlePick);
    drv->view->m_workerRequest = 0;
}

TEST_F(ViewTest, LockSwitchBlocksPointsButNotIdlePicking)
{
    CLine* line = AddLine(0, 0, 10, 0);
    g_LockSwitch = 1;
    drv->ClickAt({5, 0});
    EXPECT_TRUE(line->selected);
}

TEST_F(ViewTest, EraseTakesTheSelectionAtOnceAndOneUndoBringsItBack)
{
    CLine* a = AddLine(0, 0, 10, 0);
    CLine* b = AddLine(0, 5, 10, 5);
    AddLine(0, 9, 10, 9);
    a->selected = b->selected = 1;
    drv->Start(kCmdErase);
    EXPECT_EQ(drv->Output().back(), CString(u"擦除 (TD)->删除对象 2 个"));
    EXPECT_EQ(drv->Command(), 0);
    EXPECT_EQ(drv->Step(), kStepIdlePick);
    EXPECT_EQ(Live(1).size(), 1u);
    ASSERT_TRUE(drv->doc->Undo());
    EXPECT_EQ(Live(1).size(), 3u);
    // Nothing selected: the command waits for picks.
    drv->Start(kCmdErase);
    EXPECT_EQ(drv->Command(), kCmdErase);
    EXPECT_EQ(drv->Step(), kStepSelect);
}

TEST_F(ViewTest, ModeComboRestartsTheCommandAndIsRemembered)
{
    drv->Start(kCmdCircle);
    drv->ClickAt({0, 0});
    drv->SelectMode(1);
    EXPECT_EQ(drv->Command(), kCmdCircle);
    EXPECT_EQ(drv->PointCount(), 0);
    EXPECT_EQ(g_CommandModes.mode[4], 1);
    EXPECT_EQ(g_CircleMode, 1);
    EXPECT_EQ(g_SettingsDirty, 1);
    drv->Start(0);
    drv->Start(kCmdCircle);
    EXPECT_EQ(g_CircleMode, 1);
}

TEST_F(ViewTest, ANewStartFreesTemporariesWithoutAnUndoRecord)
{
    CLine* temp = AddLine(0, 0, 1, 1);
    temp->temporary = 1;
    const int steps = g_undoCount;
    drv->Start(kCmdLine);
    EXPECT_TRUE(Live(1).empty());
    EXPECT_EQ(drv->doc->m_unitList.GetSize(), 0);
    EXPECT_EQ(g_undoCount, steps);
}

TEST_F(ViewTest, ADeferredActionMayArmTheNextOne)
{
    // Starting the tool point from the timer shows its prompt, which asks
    // for the focus action; resetting the word after the action lost it.
    drv->view->ArmPendingAction(kActionToolPoint, 1);
    harness::AdvanceTime(1);
    EXPECT_EQ(drv->Command(), kCmdToolPoint);
    EXPECT_EQ(drv->view->m_pendingAction, kActionFocusEdit);
    EXPECT_GT(harness::PendingTimers(), 0);
    harness::AdvanceTime(5);
    EXPECT_EQ(drv->view->m_pendingAction, kActionNone);
}

TEST_F(ViewTest, TwoQuickRequestsRunOnlyTheSecond)
{
    const double scale = g_ViewScale;
    drv->view->ZoomAt(0, 300, 300);
    // A request made before the timer fired replaces the zoom's rescale.
    drv->view->ArmPendingAction(kActionNothing, 1);
    harness::AdvanceTime(2);
    EXPECT_EQ(drv->view->m_pendingAction, kActionNone);
    EXPECT_NEAR(g_ViewScale, scale * 1.4, 1e-12);    // the zoom itself stands
}
