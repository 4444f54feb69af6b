#include "app/CCeButtonST.h"

#include "platform/gdi/gdi_objects.h"
#include "platform/testing/control_driver.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/cursors.h"
#include "platform/ui/timer_queue.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr UINT kPaletteTemplate = 9201;
constexpr int kLineButton = 2001;
constexpr int kPushButton = 2002;
constexpr int kNextButton = 2003;

// Palette colours: blue face when checked, grey otherwise.
constexpr COLORREF kPressedFace = 0xC86464;
constexpr COLORREF kNormalFace = 0xC1B9BC;

const DialogTemplateRegistrar kRegisterPalette({
    kPaletteTemplate, CString(u"绘图"), WS_POPUP | WS_CAPTION, 140, 60,
    {
        dlg::AutoCheckBox(kLineButton, CString(u"直线"), 5, 5, 40, 20, BS_PUSHLIKE),
        dlg::DefPushButton(kPushButton, CString(u"圆"), 50, 5, 40, 20),
        dlg::PushButton(kNextButton, CString(u"弧"), 95, 5, 40, 20),
    }});

class Palette : public CDialog {
public:
    Palette() : CDialog(kPaletteTemplate) {}
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, kLineButton, line);
        DDX_Control(pDX, kPushButton, push);
    }
    void OnLine() { ++lineClicks; }

    std::unique_ptr<CCeButtonST> lineHolder = std::make_unique<CCeButtonST>();
    CCeButtonST& line = *lineHolder;
    CCeButtonST push;
    int lineClicks = 0;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Palette, CDialog)
    ON_BN_CLICKED(kLineButton, OnLine)
END_MESSAGE_MAP()

class CCeButtonSTTest : public testing::Test {
protected:
    void SetUp() override
    {
        dlgtest::EnsureGui();
        palette = std::make_unique<Palette>();
        ASSERT_TRUE(palette->Create(kPaletteTemplate));
        for (CCeButtonST* b : {&palette->line, &palette->push}) {
            b->m_flatLook = 0;
            b->m_colours[0] = kPressedFace;
            b->m_colours[2] = kNormalFace;
        }
        palette->ShowWindow(SW_SHOW);
        palette->GetDlgItem(kNextButton)->SetFocus();
        dlgtest::Pump();
    }
    void TearDown() override { timerq::UseVirtualClock(false); }

    // A point of the face inside the border and the focus rectangle.
    COLORREF Face(CCeButtonST& b) { return dlgtest::PixelAt(&b, 6, 6); }

    std::unique_ptr<Palette> palette;
};

TEST_F(CCeButtonSTTest, SubclassingMakesAnOwnerDrawnCheckButton)
{
    CCeButtonST& line = palette->line;
    EXPECT_EQ(line.m_checkMode, 1);
    EXPECT_EQ(line.m_typeBits, int(BS_AUTOCHECKBOX));
    EXPECT_EQ(line.GetStyle() & 0x1F, 0xBu);
    EXPECT_EQ(line.m_defaultButton, 0);
    CCeButtonST& push = palette->push;
    EXPECT_EQ(push.m_checkMode, 0);
    EXPECT_EQ(push.m_defaultButton, 1) << "a default push button";
    EXPECT_EQ(push.m_typeBits, 0);
    EXPECT_NE(push.OnGetDlgCode() & DLGC_DEFPUSHBUTTON, 0u);
    // A new style keeps it owner-drawn and follows the default flag.
    push.SetButtonStyle(BS_PUSHBUTTON);
    EXPECT_EQ(push.m_defaultButton, 0);
    EXPECT_EQ(push.GetStyle() & 0x1F, 0xBu);
    EXPECT_NE(push.OnGetDlgCode() & DLGC_UNDEFPUSHBUTTON, 0u);
}

TEST_F(CCeButtonSTTest, SubclassDlgItemBindsItTheSameWay)
{
    CCeButtonST next;
    ASSERT_TRUE(next.SubclassDlgItem(kNextButton, palette.get()));
    EXPECT_EQ(next.GetStyle() & 0x1F, 0xBu);
    EXPECT_EQ(next.m_typeBits, int(BS_PUSHBUTTON));
    EXPECT_EQ(palette->GetDlgItem(kNextButton), &next);
}

TEST_F(CCeButtonSTTest, CheckButtonTogglesOnEveryClickAndTheParentHearsIt)
{
    CCeButtonST& line = palette->line;
    EXPECT_EQ(line.m_checkState, 0);
    dlgtest::Click(&line);
    EXPECT_EQ(line.m_checkState, 1);
    EXPECT_EQ(palette->lineClicks, 1);
    dlgtest::Click(&line);
    EXPECT_EQ(line.m_checkState, 0);
    // A quick double click counts as two clicks.
    dlgtest::DoubleClick(&line);
    EXPECT_EQ(line.m_checkState, 0);
    EXPECT_EQ(palette->lineClicks, 4);
}

TEST_F(CCeButtonSTTest, FaceColoursFollowTheState)
{
    CCeButtonST& line = palette->line;
    EXPECT_EQ(Face(line), kNormalFace) << "unchecked: grey face";
    line.SetCheck(1);
    EXPECT_EQ(line.m_checkState, 1);
    EXPECT_EQ(Face(line), kPressedFace) << "SetCheck shows it pressed";
    EXPECT_EQ(line.m_drawPressed, 1);
    // Pressed: sunken border, shadow at the top left.
    EXPECT_EQ(dlgtest::PixelAt(&line, 0, 0), GetSysColor(COLOR_BTNSHADOW));
    line.SetCheck(0);
    EXPECT_EQ(Face(line), kNormalFace);
    EXPECT_EQ(dlgtest::PixelAt(&line, 0, 0), GetSysColor(COLOR_BTNHILIGHT)) << "raised";

    // Keyboard focus, unchecked: black frame and the focused face colour.
    line.m_colours[4] = RGB(250, 240, 10);
    line.SetFocus();
    dlgtest::Pump();
    EXPECT_EQ(dlgtest::PixelAt(&line, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(dlgtest::PixelAt(&line, 6, 6), RGB(250, 240, 10));
    line.SetCheck(1);
    EXPECT_EQ(dlgtest::PixelAt(&line, 6, 6), kPressedFace) << "checked wins over focus";
}

TEST_F(CCeButtonSTTest, SetCheckOnAPushButtonChangesNothing)
{
    CCeButtonST& push = palette->push;
    push.SetCheck(1);
    EXPECT_EQ(push.m_checkState, 0);
    dlgtest::Click(&push);
    EXPECT_EQ(push.m_checkState, 0);
}

TEST_F(CCeButtonSTTest, DisabledCaptionIsEmbossedAndFocusMovesOn)
{
    CCeButtonST& line = palette->line;
    line.SetFocus();
    dlgtest::Pump();
    line.EnableWindow(FALSE);
    dlgtest::Pump();
    EXPECT_EQ(CWnd::GetFocus(), &palette->push) << "the next control of the dialog";
    EXPECT_GT(dlgtest::CountPixels(&line, GetSysColor(COLOR_3DHILIGHT)), 0);
    EXPECT_GT(dlgtest::CountPixels(&line, GetSysColor(COLOR_3DSHADOW)), 0);
    EXPECT_EQ(line.m_drawDisabled, 1);
}

TEST_F(CCeButtonSTTest, NonFlatButtonNeverHovers)
{
    CCeButtonST& line = palette->line;
    dlgtest::MoveMouse(&line, 10, 10);
    EXPECT_EQ(line.m_hover, 0);
    EXPECT_EQ(line.m_hoverTimerId, 0u);
    EXPECT_EQ(Face(line), kNormalFace);
}

TEST_F(CCeButtonSTTest, FlatButtonHoverPaintsAndLeavingEndsIt)
{
    CCeButtonST& line = palette->line;
    line.m_flatLook = 1;
    line.m_forceBorder = 0;
    line.Invalidate();
    EXPECT_EQ(dlgtest::PixelAt(&line, 0, 0), kNormalFace) << "flat, not hovered: no border";
    dlgtest::MoveMouse(&line, 10, 10);
    EXPECT_EQ(line.m_hover, 1);
    EXPECT_NE(line.m_hoverTimerId, 0u);
    EXPECT_EQ(Face(line), kPressedFace);
    dlgtest::LeaveMouse(&line);
    EXPECT_EQ(line.m_hover, 0);
    EXPECT_EQ(line.m_hoverTimerId, 0u);
    EXPECT_EQ(Face(line), kNormalFace);
}

TEST_F(CCeButtonSTTest, HoverTimerNoticesTheMouseHasGone)
{
    timerq::UseVirtualClock(true);
    CCeButtonST& line = palette->line;
    line.m_flatLook = 1;
    dlgtest::MoveMouse(&line, 10, 10);
    ASSERT_EQ(line.m_hover, 1);
    // The mouse jumps away without a leave event; the 50 ms check finds it.
    dlgtest::MoveMouse(&palette->push, 5, 5);
    timerq::Advance(50);
    dlgtest::Pump();
    EXPECT_EQ(line.m_hover, 0);
    EXPECT_EQ(line.m_hoverTimerId, 0u);
}

TEST_F(CCeButtonSTTest, DestroyedWhileHoveredLeavesNoCursorOrTimer)
{
    timerq::UseVirtualClock(true);
    CCeButtonST& line = palette->line;
    line.m_flatLook = 1;
    line.SetHoverCursor(LoadCursor(nullptr, IDC_HAND));
    dlgtest::MoveMouse(&line, 10, 10);
    ASSERT_EQ(line.m_hover, 1);
    ASSERT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
    ASSERT_NE(line.m_priorCursor, nullptr);
    const int timersBefore = timerq::Count();

    // Another window has set its own cursor since; destroying the button
    // must leave that cursor alone.
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    palette->lineHolder.reset();
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
    EXPECT_EQ(timerq::Count(), timersBefore - 1) << "the hover timer went with the button";
    EXPECT_EQ(timerq::Advance(200), 0);
    dlgtest::Pump();
}

TEST_F(CCeButtonSTTest, DestroyedWhileShowingItsCursorPutsThePriorOneBack)
{
    CCeButtonST& line = palette->line;
    line.m_flatLook = 1;
    line.SetHoverCursor(LoadCursor(nullptr, IDC_HAND));
    dlgtest::MoveMouse(&line, 10, 10);
    ASSERT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
    const HCURSOR prior = line.m_priorCursor;
    palette->lineHolder.reset();
    EXPECT_EQ(GetCursor(), prior);
}

} // namespace
