#include "process/CZorvasystemContorl.h"

#include "tests/process/path_dialog_fixture.h"

namespace {

constexpr int IDC_VERSION = 1012;

class CodingVersionTest : public PathDialogTest {
protected:
    // Opens the dialog as the view's menu does.
    void Open(Script script)
    {
        ModalDialogScript modal;
        modal.Then(std::move(script));
        drv->view->SendMessage(WM_COMMAND, 33055, 0);
        EXPECT_EQ(modal.Shown(), 1);
    }
};

TEST_F(CodingVersionTest, OpensOnTheStoredVersionAndStoresTheChosenOne)
{
    const struct {
        std::uint8_t stored;
        int shown;
    } kOpen[] = {{10, 0}, {11, 1}, {0, 2}, {1, 3}, {2, 4}, {7, 0}, {255, 0}};
    for (const auto& c : kOpen) {
        SCOPED_TRACE(int(c.stored));
        g_MachiningSettings.codingMode = c.stored;
        Open([&](CDialog& d) {
            EXPECT_EQ(Selected(&d, IDC_VERSION), c.shown);
            if (c.stored == 1)
                KeepSnapshot(&d, u"coding_version.png");
            d.PressButton(IDCANCEL);
            return IDCANCEL;
        });
    }
    const std::uint8_t kStored[] = {10, 11, 0, 1, 2};
    for (int index = 0; index < 5; ++index) {
        SCOPED_TRACE(index);
        g_SettingsDirty = 0;
        Open([index](CDialog& d) {
            Choose(&d, IDC_VERSION, index);
            d.PressButton(IDOK);
            return IDCANCEL;
        });
        EXPECT_EQ(g_MachiningSettings.codingMode, kStored[index]);
        EXPECT_EQ(g_SettingsDirty, 1);
    }
}

TEST_F(CodingVersionTest, DamagedVersionIsStoredAsFastWireAndCancelKeepsIt)
{
    g_MachiningSettings.codingMode = 7;
    Open([](CDialog& d) {
        Choose(&d, IDC_VERSION, 3);
        d.PressButton(IDCANCEL);
        return IDCANCEL;
    });
    EXPECT_EQ(g_MachiningSettings.codingMode, 7);
    EXPECT_EQ(g_SettingsDirty, 0);
    Open([](CDialog& d) {
        d.PressButton(IDOK);
        return IDCANCEL;
    });
    EXPECT_EQ(g_MachiningSettings.codingMode, 10);
}

} // namespace
