#include "app/ToolPalette.h"

#include "app/frame_resources.h"
#include "platform/ui/CTabCtrl.h"
#include "tests/app/frame_fixture.h"

namespace {

class ToolPaletteTest : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        ASSERT_TRUE(Start(true));
        ASSERT_TRUE(PalettesHaveWindows());
        frame->ShowToolPalette(0);
    }
    void ClickButton(int palette, int id)
    {
        CCeButtonST* b = PaletteByNumber(palette)->Button(id);
        ASSERT_NE(b, nullptr);
        harness::Click(b, CPoint(5, 5));
    }
    int Checked(int palette, int id) { return PaletteByNumber(palette)->Button(id)->GetCheck(); }
};

TEST_F(ToolPaletteTest, ClickStartsTheCommandAndASecondClickEndsIt)
{
    ClickButton(1, 1107); // 圆(C)
    EXPECT_EQ(link.commands, std::vector<int>{7});
    EXPECT_EQ(link.lastCommand, 7);
    EXPECT_EQ(Checked(1, 1107), 1);
    ClickButton(1, 1107);
    EXPECT_EQ(link.commands, (std::vector<int>{7, 0}));
    EXPECT_EQ(Checked(1, 1107), 0);
}

TEST_F(ToolPaletteTest, StartElsewhereMovesThePressedButton)
{
    ClickButton(1, 1107);
    // Move from the edit palette while the circle runs.
    ClickButton(2, 1032);
    EXPECT_EQ(g_curCommand, 53);
    SyncAllPaletteButtons();
    EXPECT_EQ(Checked(1, 1107), 0);
    EXPECT_EQ(Checked(2, 1032), 1);
    // A start typed at the command line presses 圆(C) at the command start.
    g_curCommand = 7;
    SyncAllPaletteButtons();
    EXPECT_EQ(Checked(1, 1107), 1);
    EXPECT_EQ(Checked(2, 1032), 0);
}

TEST_F(ToolPaletteTest, DiameterAndRadiusShareTheCommandAndDifferByVariant)
{
    ClickButton(3, 1097); // 直径(DD)
    EXPECT_EQ(g_curCommand, 17);
    EXPECT_EQ(g_cmdSubFlag, 0);
    SyncAllPaletteButtons();
    EXPECT_EQ(Checked(3, 1097), 1);
    EXPECT_EQ(Checked(3, 1107), 0);
    ClickButton(3, 1107); // 半径(DR)
    EXPECT_EQ(g_curCommand, 17);
    EXPECT_EQ(g_cmdSubFlag, 1);
    EXPECT_EQ(Checked(3, 1097), 0);
    EXPECT_EQ(Checked(3, 1107), 1);
}

TEST_F(ToolPaletteTest, RefusedStartLeavesTheButtonReleased)
{
    // The view refuses (worker busy, lock on): the command stays 0.
    class Refusing : public RecordingLink {
        void SetCommand(int, bool) override {}
    } refusing;
    g_pFrameLink = &refusing;
    ClickButton(1, 1030);
    EXPECT_EQ(Checked(1, 1030), 0);
    g_pFrameLink = &link;
}

TEST_F(ToolPaletteTest, TabChangeShowsOnePaletteAndEnterOrEscNeverClosesIt)
{
    EXPECT_TRUE(PaletteByNumber(1)->IsWindowVisible());
    frame->ShowToolPalette(2);
    EXPECT_FALSE(PaletteByNumber(1)->IsWindowVisible());
    EXPECT_TRUE(PaletteByNumber(3)->IsWindowVisible());
    CCeButtonST* b = PaletteByNumber(3)->Button(1030);
    harness::PressKey(b, VK_RETURN);
    harness::PressKey(b, VK_ESCAPE);
    EXPECT_TRUE(PaletteByNumber(3)->IsWindowVisible());
    EXPECT_NE(PaletteByNumber(3)->GetSafeHwnd(), nullptr);
    frame->ShowToolPalette(5);
    for (int n = 1; n <= 3; ++n)
        EXPECT_FALSE(PaletteByNumber(n)->IsWindowVisible()) << n;
}

TEST_F(ToolPaletteTest, PalettesStayHiddenUntilTheFirstTabChange)
{
    Stop();
    ResetFrameState();
    ASSERT_TRUE(Start(true));
    for (int n = 1; n <= 3; ++n)
        EXPECT_FALSE(PaletteByNumber(n)->IsWindowVisible()) << n;
}

} // namespace
