#include "process/CZorvasystemColor.h"

#include "geometry/DrawingSettings.h"
#include "tests/process/process_fixture.h"
#include "view/ViewState.h"

namespace {

constexpr int IDC_RESTORE = 1078, IDC_CHANGE = 1079;
constexpr int IDC_ACTIVE = 1029, IDC_ACTIVE_SWATCH = 1061, IDC_CURRENT_SWATCH = 1060;

class ColourSchemeTest : public ProcessDialogTest {
protected:
    void SetUp() override
    {
        ProcessDialogTest::SetUp();
        SetDefaultDrawingSettings();
    }
    static COLORREF SwatchCentre(CDialog& d, int id)
    {
        const SIZE s = dlgtest::WindowSize(d.GetDlgItem(id));
        return dlgtest::PixelAt(d.GetDlgItem(id), s.cx / 2, s.cy / 2);
    }
    ModalDialogScript modal;
};

TEST_F(ColourSchemeTest, ComplementedItemIsStoredAsTheComplementAndShownAsChosen)
{
    ColorDialogScript picker({RGB(255, 0, 0)});
    modal.Then([](CDialog& d) {
        d.ShowWindow(SW_SHOW);
        EXPECT_TRUE(Checked(&d, 1043)) << "实线静态 is selected at first";
        EXPECT_EQ(static_cast<CZorvasystemColor&>(d).ShownColour(1), RGB(0, 255, 0));
        EXPECT_EQ(SwatchCentre(d, IDC_ACTIVE_SWATCH), RGB(0, 255, 0));
        EXPECT_EQ(SwatchCentre(d, IDC_CURRENT_SWATCH), RGB(255, 255, 255));
        Click(&d, IDC_ACTIVE);
        Click(&d, IDC_CHANGE);
        EXPECT_EQ(SwatchCentre(d, IDC_ACTIVE_SWATCH), RGB(255, 0, 0));
        KeepSnapshot(&d, u"colour_scheme_dialog.png");
        return IDCANCEL;
    });
    drv->Type(CString(u"er"));
    drv->Settle();
    EXPECT_EQ(modal.Shown(), 1);
    EXPECT_EQ(picker.Initial().front(), RGB(0, 0, 0));
    EXPECT_EQ(g_DrawingSettings.activeColor, RGB(0, 255, 255));
    EXPECT_EQ(g_SettingsDirty, 1) << "更改 marks the settings for saving";
    modal.Then([](CDialog& d) {
        EXPECT_EQ(static_cast<CZorvasystemColor&>(d).ShownColour(1), RGB(255, 0, 0));
        return IDCANCEL;
    });
    drv->doc->OnColorConfig();
}

TEST_F(ColourSchemeTest, PlainItemIsStoredAsChosen)
{
    ColorDialogScript picker({RGB(10, 20, 30), CLR_INVALID});
    modal.Then([](CDialog& d) {
        Click(&d, 1053);                    // 跳步线
        Click(&d, IDC_CHANGE);
        Click(&d, IDC_CHANGE);              // cancelled: nothing changes
        return IDCANCEL;
    });
    drv->doc->OnColorConfig();
    EXPECT_EQ(g_DrawingSettings.jumpLineColor, RGB(10, 20, 30));
}

TEST_F(ColourSchemeTest, RestoreDefaultsAsksFirst)
{
    g_DrawingSettings.selectedColor = RGB(1, 2, 3);
    g_DrawingSettings.cursorColor = RGB(4, 5, 6);
    MessageBoxScript boxes;
    boxes.Expect(u"恢复默认配色？", IDNO).Expect(u"恢复默认配色？", IDYES);
    modal.Then([](CDialog& d) {
        Click(&d, IDC_RESTORE);
        EXPECT_EQ(g_DrawingSettings.selectedColor, RGB(1, 2, 3));
        EXPECT_EQ(g_SettingsDirty, 0);
        Click(&d, IDC_RESTORE);
        EXPECT_EQ(static_cast<CZorvasystemColor&>(d).ShownColour(12), RGB(175, 215, 215)) << "光标色 as shown";
        return IDCANCEL;
    });
    drv->doc->OnColorConfig();
    EXPECT_EQ(boxes.Shown()[0].caption, CString(u"提示"));
    EXPECT_EQ(boxes.Shown()[0].type, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_EQ(g_DrawingSettings.selectedColor, RGB(255, 0, 0));
    EXPECT_EQ(g_DrawingSettings.cursorColor, RGB(80, 40, 40));
    EXPECT_EQ(g_SettingsDirty, 1);
}

TEST_F(ColourSchemeTest, SaveMarksTheSettingsAndStaysOpen)
{
    modal.Then([](CDialog& d) {
        d.PressButton(IDOK);
        EXPECT_EQ(d.GetEndResult(), -1);
        EXPECT_EQ(g_SettingsDirty, 1);
        return IDCANCEL;
    });
    drv->doc->OnColorConfig();
}

TEST_F(ColourSchemeTest, FactoryColoursAsShown)
{
    const COLORREF kShown[kSchemeColourCount] = {
        RGB(255, 255, 255), RGB(0, 255, 0),   RGB(255, 0, 0),     RGB(255, 0, 255),   RGB(0, 128, 255),
        RGB(0, 192, 128),   RGB(0, 128, 255), RGB(0, 0, 255),     RGB(255, 95, 0),    RGB(205, 105, 105),
        RGB(55, 105, 205),  RGB(0, 128, 255), RGB(175, 215, 215), RGB(0, 255, 0),     RGB(75, 205, 255),
        RGB(0, 20, 40),     RGB(0, 100, 100), RGB(0, 255, 64),    RGB(0, 255, 0),     RGB(127, 127, 255),
    };
    for (int i = 0; i < kSchemeColourCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(SchemeColourShown(i), kShown[i]);
    }
}

} // namespace
