#include "process/CZorvatrailm.h"

#include "tests/process/batch_fixture.h"
#include "view/worker_thread.h"

namespace {

constexpr int IDC_FORWARD = 1043, IDC_REVERSE = 1029, IDC_HOLES = 1044, IDC_OUTER = 1045, IDC_LEAD_ANGLE = 1015;
constexpr int IDC_LEAD_LENGTH = 1009, IDC_FIRST_CORNER = 1012, IDC_ARRANGEMENT = 1104, IDC_MODE = 1105;
constexpr int IDC_PASSES = 1114, IDC_RETURN = 1115, IDC_OFFSET1 = 1016, IDC_OFFSET2 = 1017, IDC_PAUSE = 1030;
constexpr int IDC_COMPENSATION = 1096;
constexpr int kSecondCut[] = {1228, 1229, 1222, 1221, 1115, 1016, 1017, 1030};
constexpr int kWorkerTimeoutMs = 5000;

using BatchDialogTest = BatchTest;

bool OutputHas(const std::vector<CString>& lines, const char16_t* text)
{
    for (const CString& line : lines)
        if (line.Find(text) >= 0)
            return true;
    return false;
}

TEST_F(BatchDialogTest, MenuShowsTheSettingsAndACommandHidesTheDialog)
{
    MachiningSettings& m = g_MachiningSettings;
    m.batchReverse = 1;
    m.batchOuter = 1;
    m.batchLeadAngle = std::numbers::pi / 2;
    m.batchLeadLength = 7.5;
    m.batchFirstCorner = 9;                 // out of range: the last entry
    m.batchVertical = 1;
    m.batchMode = 3;
    m.multiPass = 1;
    m.batchReturnToThread = 1;
    m.batchOffset1 = -0.25;
    m.batchPauseAfterFirst = 1;
    drv->view->SendMessage(WM_COMMAND, 33027, 0);
    EXPECT_EQ(g_batchPanelShown, 1);
    EXPECT_TRUE(batch->IsWindowVisible());
    EXPECT_EQ(g_batchContourPick, 1);
    EXPECT_EQ(g_CompensationPreview, 1);
    const auto out = drv->Output();
    EXPECT_TRUE(OutputHas(out, u"*只支持闭合图形，除内孔圆加工外，需要绘制引入线"));
    EXPECT_TRUE(OutputHas(out, u"<入口图形 9（D0/1/2/3 左下/右下/左上/右上），切割方向 1（S0/1），圆引线角度 90.0 (F+角度) ，"
                               u"圆引线长度 7.5 (L+长度)>"));
    EXPECT_TRUE(OutputHas(out, u"批量轨迹生成->第一步选择实线【Ctrl+A全选】"));
    EXPECT_FALSE(Checked(batch, IDC_FORWARD));
    EXPECT_TRUE(Checked(batch, IDC_REVERSE));
    EXPECT_TRUE(Checked(batch, IDC_OUTER));
    EXPECT_EQ(Text(batch, IDC_LEAD_ANGLE), CString(u"90.0"));
    EXPECT_EQ(Text(batch, IDC_LEAD_LENGTH), CString(u"7.5"));
    EXPECT_EQ(Text(batch, IDC_OFFSET1), CString(u"-0.25"));
    EXPECT_EQ(Selected(batch, IDC_FIRST_CORNER), 3);
    EXPECT_EQ(Selected(batch, IDC_MODE), 3);
    EXPECT_EQ(Selected(batch, IDC_PASSES), 1);
    EXPECT_TRUE(Checked(batch, IDC_PAUSE));
    for (int id : kSecondCut)
        EXPECT_TRUE(Visible(batch, id)) << id;
    KeepSnapshot(batch, u"batch_dialog.png");
    Choose(batch, IDC_MODE, 0);
    for (int id : kSecondCut)
        EXPECT_FALSE(Visible(batch, id)) << id;

    drv->Start(1);
    EXPECT_EQ(g_batchPanelShown, 0);
    EXPECT_EQ(g_CompensationPreview, 0);
    EXPECT_FALSE(batch->IsWindowVisible());
}

TEST_F(BatchDialogTest, GenerateStoresTheFieldsAndStartsABatchRun)
{
    drv->view->OnBatchPaths();
    g_SettingsDirty = 0;
    Click(batch, IDC_REVERSE);
    Click(batch, IDC_OUTER);
    Type(batch, IDC_LEAD_ANGLE, u"400");
    Type(batch, IDC_LEAD_LENGTH, u"-3");
    Type(batch, IDC_OFFSET1, u"0.02");
    Type(batch, IDC_OFFSET2, u"-0.01");
    Type(batch, IDC_COMPENSATION, u"0.09");
    Choose(batch, IDC_FIRST_CORNER, 2);
    Choose(batch, IDC_ARRANGEMENT, 1);
    Choose(batch, IDC_MODE, 2);
    Choose(batch, IDC_RETURN, 1);
    Click(batch, IDC_PAUSE);
    batch->PressButton(IDOK);
    EXPECT_EQ(drv->view->m_workerRequest.load(), kWorkerBatch);
    EXPECT_EQ(g_batchPanelShown, 0) << "a started run hides the dialog";

    const MachiningSettings& m = g_MachiningSettings;
    EXPECT_EQ(m.batchReverse, 1);
    EXPECT_EQ(m.batchOuter, 1);
    EXPECT_EQ(m.batchLeadAngle, 2 * std::numbers::pi);
    EXPECT_EQ(m.batchLeadLength, 0.0);
    EXPECT_EQ(m.batchOffset1, 0.02);
    EXPECT_EQ(m.batchOffset2, -0.01);
    EXPECT_EQ(m.compensation, 0.09);
    EXPECT_EQ(m.batchFirstCorner, 2);
    EXPECT_EQ(m.batchVertical, 1);
    EXPECT_EQ(m.batchMode, 2);
    EXPECT_EQ(m.batchReturnToThread, 1);
    EXPECT_EQ(m.batchPauseAfterFirst, 1);
    EXPECT_EQ(g_SettingsDirty, 1);

    ASSERT_TRUE(WaitForWorkerForTest(kWorkerTimeoutMs));
    drv->Settle();
    ASSERT_EQ(s_runs.size(), 1u);
    EXPECT_EQ(s_runs[0].option, 1) << "outer contours";
    EXPECT_EQ(drv->view->m_workerRequest.load(), 0);
}

// Each of these was stored without marking the settings changed, so the
// next start brought the old value back.
TEST_F(BatchDialogTest, DirectionAndPassChoiceAloneMarkTheSettingsChanged)
{
    for (int id : {IDC_REVERSE, IDC_PASSES}) {
        SCOPED_TRACE(id);
        ResetSettingsDefaults();
        drv->view->OnBatchPaths();
        g_SettingsDirty = 0;
        if (id == IDC_PASSES)
            Choose(batch, id, 1);
        else
            Click(batch, id);
        batch->PressButton(IDOK);
        EXPECT_EQ(g_SettingsDirty, 1);
        ASSERT_TRUE(WaitForWorkerForTest(kWorkerTimeoutMs));
        drv->Settle();
    }
    EXPECT_EQ(g_MachiningSettings.multiPass, 1);
    // Nothing changed: nothing marked.
    drv->view->OnBatchPaths();
    g_SettingsDirty = 0;
    batch->PressButton(IDOK);
    EXPECT_EQ(g_SettingsDirty, 0);
    ASSERT_TRUE(WaitForWorkerForTest(kWorkerTimeoutMs));
    drv->Settle();
}

TEST_F(BatchDialogTest, BusyWorkerKeepsTheDialogButStoresTheFields)
{
    drv->view->OnBatchPaths();
    drv->view->m_workerRequest.store(kWorkerPath);     // a generation still pending
    Type(batch, IDC_LEAD_LENGTH, u"12");
    batch->PressButton(IDOK);
    EXPECT_EQ(g_MachiningSettings.batchLeadLength, 12.0);
    EXPECT_EQ(g_batchPanelShown, 1);
    EXPECT_TRUE(OutputHas(drv->Output(), u"#请等待线程处理完成..."));
    drv->view->m_workerRequest.store(0);
    EXPECT_TRUE(s_runs.empty());
}

TEST_F(BatchDialogTest, SelectAllTakesSolidGeometryOnly)
{
    CUnit* circle = Circle(0, 0, 5);
    CUnit* deleted = Circle(20, 0, 5);
    deleted->deleted = 1;
    CUnit* path = Circle(40, 0, 5);
    path->role = 4;
    CUnit* text = Line(0, 20, 10, 20);
    text->role = 5;
    CUnit* line = Line(0, 30, 10, 30);
    drv->view->OnBatchPaths();
    Click(batch, 1178);
    EXPECT_EQ(circle->selected, 1);
    EXPECT_EQ(line->selected, 1);
    EXPECT_EQ(deleted->selected, 0);
    EXPECT_EQ(path->selected, 0);
    EXPECT_EQ(text->selected, 0);
}

TEST_F(BatchDialogTest, EscapeHidesTheDialog)
{
    drv->view->OnBatchPaths();
    harness::KeyDown(batch->GetDlgItem(IDC_LEAD_LENGTH), VK_ESCAPE);
    harness::KeyUp(batch->GetDlgItem(IDC_LEAD_LENGTH), VK_ESCAPE);
    EXPECT_EQ(g_batchPanelShown, 0);
    EXPECT_FALSE(batch->IsWindowVisible());
}

} // namespace
