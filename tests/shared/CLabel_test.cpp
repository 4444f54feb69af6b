#include "shared/CLabel.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/testing/control_driver.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CDialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

constexpr UINT kHostTemplate = 9101;
constexpr int kMark = 1029;

const DialogTemplateRegistrar kRegisterHost({
    kHostTemplate, CString(u"标签"), WS_POPUP | WS_CAPTION, 120, 60,
    {dlg::CText(kMark, CString(u"●"), 10, 10, 60, 30)}});

class LabelHost : public CDialog {
public:
    LabelHost() : CDialog(kHostTemplate) {}
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, kMark, label); }
    CLabel label;
};

COLORREF BrushColor(HBRUSH brush)
{
    LOGBRUSH lb;
    EXPECT_EQ(GetObject(HGDIOBJ(brush), sizeof(lb), &lb), int(sizeof(lb)));
    return lb.lbColor;
}

class CLabelTest : public testing::Test {
protected:
    void SetUp() override
    {
        dlgtest::EnsureGui();
        host = std::make_unique<LabelHost>();
        ASSERT_TRUE(host->Create(kHostTemplate));
        host->ShowWindow(SW_SHOW);
        dlgtest::Pump();
    }
    CLabel& Label() { return host->label; }
    int Area()
    {
        const SIZE s = dlgtest::WindowSize(&Label());
        return s.cx * s.cy;
    }
    std::unique_ptr<LabelHost> host;
};

TEST_F(CLabelTest, UnchangedLabelPaintsGuiFontInWindowTextOnButtonFace)
{
    CLabel& label = Label();
    ASSERT_NE(label.GetSafeHwnd(), nullptr) << "bound to static 1029";
    EXPECT_EQ(label.textColor, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(BrushColor(label.backgroundBrush), GetSysColor(COLOR_BTNFACE));
    LOGFONTW gui;
    GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof(gui), &gui);
    LOGFONTW used;
    ASSERT_TRUE(label.labelFont.GetLogFont(&used));
    EXPECT_EQ(used.lfHeight, gui.lfHeight);
    EXPECT_EQ(used.lfWeight, gui.lfWeight);
    EXPECT_EQ(std::memcmp(label.fontDescription.lfFaceName, gui.lfFaceName, sizeof(gui.lfFaceName)), 0);

    EXPECT_EQ(dlgtest::PixelAt(&label, 0, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_GT(dlgtest::CountPixels(&label, GetSysColor(COLOR_WINDOWTEXT)), 0) << "the mark is drawn";
}

TEST_F(CLabelTest, TextColourPaintsTheMark)
{
    const COLORREF green = RGB(0, 200, 150);
    EXPECT_EQ(green, 0x0096C800u);
    Label().SetLabelTextColor(green);
    EXPECT_EQ(Label().textColor, green);
    EXPECT_GT(dlgtest::CountPixels(&Label(), green), 0);
    EXPECT_EQ(dlgtest::CountPixels(&Label(), GetSysColor(COLOR_WINDOWTEXT)), 0);
    EXPECT_EQ(dlgtest::PixelAt(&Label(), 0, 0), GetSysColor(COLOR_BTNFACE));
}

TEST_F(CLabelTest, SwatchFillsTheControlAndHidesTheText)
{
    const COLORREF swatch = RGB(200, 30, 40);
    Label().SetLabelSwatch(swatch);
    EXPECT_EQ(Label().textColor, swatch);
    EXPECT_EQ(BrushColor(Label().backgroundBrush), swatch);
    EXPECT_EQ(dlgtest::CountPixels(&Label(), swatch), Area());
    Label().SetLabelSwatch(0);
    EXPECT_EQ(dlgtest::CountPixels(&Label(), 0), Area()) << "black, as the property panel shows at start";
}

TEST_F(CLabelTest, SwatchesReplaceTheirBrushWithoutLeaking)
{
    const int before = GetGdiObjectCount();
    for (int i = 0; i < 50; ++i)
        Label().SetLabelSwatch(RGB(i, 2 * i, 3 * i));
    EXPECT_EQ(GetGdiObjectCount(), before);
    Label().SetLabelFontSize(20);
    Label().SetLabelBold();
    EXPECT_EQ(GetGdiObjectCount(), before);
}

TEST_F(CLabelTest, DestructionReleasesFontAndBrush)
{
    const int before = GetGdiObjectCount();
    {
        CLabel label;
        label.SetLabelSwatch(RGB(1, 2, 3));
        label.SetLabelFontSize(12);
        EXPECT_EQ(GetGdiObjectCount(), before + 2);
    }
    EXPECT_EQ(GetGdiObjectCount(), before);
}

TEST_F(CLabelTest, SizeTwelveAndBoldInEitherOrder)
{
    CLabel a;
    a.SetLabelFontSize(12);
    a.SetLabelBold();
    CLabel b;
    b.SetLabelBold();
    b.SetLabelFontSize(12);
    for (CLabel* label : {&a, &b}) {
        LOGFONTW lf;
        ASSERT_TRUE(label->labelFont.GetLogFont(&lf));
        EXPECT_EQ(lf.lfHeight, -12);
        EXPECT_EQ(lf.lfWeight, FW_BOLD);
        EXPECT_EQ(label->fontDescription.lfHeight, -12);
    }
}

TEST_F(CLabelTest, FontSizeSetsTheHeightOfTheDrawnText)
{
    Label().SetLabelFontSize(12);
    const RECT small = dlgtest::InkBox(&Label(), GetSysColor(COLOR_BTNFACE));
    Label().SetLabelFontSize(36);
    const RECT large = dlgtest::InkBox(&Label(), GetSysColor(COLOR_BTNFACE));
    const int smallHeight = small.bottom - small.top;
    const int largeHeight = large.bottom - large.top;
    ASSERT_GT(smallHeight, 0);
    // The glyph scales with the character height: three times, within a
    // few pixels of rounding and hinting.
    EXPECT_NEAR(double(largeHeight) / smallHeight, 3.0, 0.6);
    EXPECT_LE(smallHeight, 12);
}

TEST_F(CLabelTest, OtherControlKindsGetTheBrushButKeepTheirColours)
{
    CDC dc;
    dc.SetTextColor(RGB(1, 2, 3));
    dc.SetBkMode(OPAQUE);
    Label().SetLabelTextColor(RGB(9, 9, 9));
    EXPECT_EQ(Label().CtlColor(&dc, CTLCOLOR_EDIT), Label().backgroundBrush);
    EXPECT_EQ(dc.GetTextColor(), RGB(1, 2, 3));
    EXPECT_EQ(dc.GetBkMode(), OPAQUE);
    EXPECT_EQ(Label().CtlColor(&dc, CTLCOLOR_STATIC), Label().backgroundBrush);
    EXPECT_EQ(dc.GetTextColor(), RGB(9, 9, 9));
    EXPECT_EQ(dc.GetBkMode(), TRANSPARENT);
    EXPECT_EQ(dc.GetCurrentFont()->GetSafeHandle(), Label().labelFont.GetSafeHandle());
}

} // namespace
