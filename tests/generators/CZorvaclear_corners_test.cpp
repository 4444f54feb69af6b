#include "generators/CZorvaclear_corners.h"

#include "tests/generators/dialog_fixture.h"

namespace {

class ClearCornersTest : public DialogTest {
protected:
    void Open(std::function<long long(CDialog&)> script)
    {
        ModalDialogScript modal;
        modal.Then(std::move(script));
        drv->doc->OnClearCornerParams();
    }
};

TEST_F(ClearCornersTest, AnglesAreClampedAndFieldsWrittenBack)
{
    g_MachiningSettings.cornerAngle = 200.0;
    g_MachiningSettings.codingMode = 10;
    g_MachiningSettings.cornerCuts[3] = 1;
    Open([](CDialog& d) {
        EXPECT_EQ(Text(&d, 1090), CString(u"179"));
        EXPECT_EQ(Text(&d, 1091), CString(u"0.0000"));
        EXPECT_TRUE(Checked(&d, 1093));              // factory lead direction 1
        d.ShowWindow(SW_SHOW);
        EXPECT_TRUE(d.GetDlgItem(1030)->IsWindowVisible());
        EXPECT_FALSE(d.GetDlgItem(1032)->IsWindowVisible());
        KeepSnapshot(&d, u"clear_corners_dialog.png");
        return IDCANCEL;
    });
    // Cancelled, but the clamping stays.
    EXPECT_EQ(g_MachiningSettings.cornerAngle, 179.0);
    Open([](CDialog& d) {
        Type(&d, 1090, u"0");
        Type(&d, 1091, u"-0.5");
        Click(&d, 1188);
        Click(&d, 1029);
        d.PressButton(IDOK);
        return IDCANCEL;
    });
    const MachiningSettings& m = g_MachiningSettings;
    EXPECT_EQ(m.cornerAngle, 1.0);
    EXPECT_EQ(m.cornerLeadLength, 0.5);
    EXPECT_EQ(m.cornerLeadDir, 2);
    EXPECT_EQ(m.cornerFitArcs, 1);
    EXPECT_EQ(m.cornerCuts[3], 1) << "hidden passes keep their value";
    EXPECT_EQ(g_SettingsDirty, 1);
    Open([](CDialog& d) {
        Type(&d, 1090, u"45.6");
        d.PressButton(IDOK);
        return IDCANCEL;
    });
    EXPECT_EQ(g_MachiningSettings.cornerAngle, 45.6);
    Open([](CDialog& d) {
        EXPECT_EQ(Text(&d, 1090), CString(u"46"));
        return IDCANCEL;
    });
}

} // namespace
