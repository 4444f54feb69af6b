#include "doc_fixture.h"

namespace {

class CommandUi : public RecordingUi {
public:
    bool RunToolDialog(int number) override
    {
        shownWithMark = g_modalDialogId;
        dialog = number;
        return answerOk;
    }
    void StartCommand(int command) override { started = command; }
    void ShowProperties(CUnit* unit) override
    {
        shown = true;
        propertyUnit = unit;
    }

    bool answerOk = false;
    int shownWithMark = 0;
    int dialog = 0;
    int started = 0;
    bool shown = false;
    CUnit* propertyUnit = nullptr;
};

class CommandTest : public DocTest {
protected:
    void SetUp() override
    {
        DocTest::SetUp();
        g_pDocUi = &cmd;
    }
    CommandUi cmd;
};

} // namespace

TEST_F(CommandTest, PropertiesKeepTheFirstSelectedUnit)
{
    CUnit* a = Add();
    CUnit* b = Add();
    CUnit* c = Add();
    b->selected = 1;
    c->selected = 1;
    doc->OnEditProperties();
    EXPECT_EQ(cmd.propertyUnit, b);
    EXPECT_EQ(b->selected, 1);
    EXPECT_EQ(c->selected, 0);
    EXPECT_EQ(a->selected, 0);
    EXPECT_EQ(g_PropertyPanelShown, 1);
}

TEST_F(CommandTest, PropertiesWithNothingSelectedOnlyShowThePanel)
{
    Add();
    doc->OnEditProperties();
    EXPECT_TRUE(cmd.shown);
    EXPECT_EQ(cmd.propertyUnit, nullptr);
}

TEST_F(CommandTest, PathDialogsStartPathGenerationOnOkOnly)
{
    g_keyDownSeen = 1;
    doc->OnTrailCreate();
    EXPECT_EQ(cmd.shownWithMark, 1101);
    EXPECT_EQ(cmd.started, 0) << "cancelled";
    EXPECT_EQ(g_modalDialogId, 0);
    EXPECT_EQ(g_keyDownSeen, 0);

    cmd.answerOk = true;
    doc->OnTrailMany();
    EXPECT_EQ(cmd.shownWithMark, 1100);
    EXPECT_EQ(cmd.started, 66);

    cmd.started = 0;
    doc->OnCostEstimate();
    EXPECT_EQ(cmd.shownWithMark, 1253);
    EXPECT_EQ(cmd.started, 0) << "only the path dialogs start a command";
}
