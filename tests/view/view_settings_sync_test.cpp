// The view's persisted globals saved and loaded with the settings file.

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/CZorvaApp.h"
#include "app/settings_file.h"
#include "platform/core/files.h"
#include "view/view_settings_sync.h"
#include "view_fixture.h"

namespace {

class ViewSettingsSyncTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        CreateDataFolders();
        ResetSettingsDefaults();
    }
};

} // namespace

TEST_F(ViewSettingsSyncTest, ViewSettingsTravelWithTheSettingsFile)
{
    // Saving writes the view's globals into their machining block fields.
    g_OffsetDistance = 2.5;
    g_Path3DContours = 200;
    g_Path3DFlat = 0;
    g_orthoOn = 1;
    g_trackOn = 0;
    g_snapOn = 0;
    g_gripEditOn = 0;
    g_LockSwitch = 1;
    ASSERT_TRUE(SaveSettingsFile());
    std::ifstream in(NativePath(SettingsFilePath()), std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_EQ(bytes.size(), kSettingsFileSize);
    const auto at = [&](std::size_t fieldOffset, auto value) {
        std::memcpy(&value, bytes.data() + 48 + fieldOffset, sizeof(value));
        return value;
    };
    EXPECT_EQ(at(0x288, 0.0), 2.5);
    EXPECT_EQ(at(0x0bc, std::int32_t()), 200);
    EXPECT_EQ(at(0x0c0, std::uint8_t(9)), 0);
    const std::int32_t switches[] = {1, 0, 0, 0, 1};   // ortho, polar, snap, modify, lock
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(at(0x22c + 4 * i, std::int32_t()), switches[i]) << i;

    // Factory values reach the view; loading brings the saved ones back.
    ResetSettingsDefaults();
    EXPECT_EQ(g_OffsetDistance, 5.0);
    EXPECT_EQ(g_Path3DContours, 120);
    EXPECT_EQ(g_Path3DFlat, 1);
    EXPECT_EQ(g_trackOn, 1);
    EXPECT_EQ(g_snapOn, 1);
    EXPECT_EQ(g_gripEditOn, 1);
    EXPECT_EQ(g_LockSwitch, 0);
    ASSERT_TRUE(LoadSettingsFile());
    EXPECT_EQ(g_OffsetDistance, 2.5);
    EXPECT_EQ(g_Path3DContours, 200);
    EXPECT_EQ(g_Path3DFlat, 0);
    EXPECT_EQ(g_orthoOn, 1);
    EXPECT_EQ(g_trackOn, 0);
    EXPECT_EQ(g_snapOn, 0);
    EXPECT_EQ(g_gripEditOn, 0);
    EXPECT_EQ(g_LockSwitch, 1);
    EXPECT_EQ(g_MachiningSettings.shapeOffset, 2.5);

    // A view made after the file was loaded starts from its values; the
    // pair is registered once however many views were made.
    const std::size_t syncs = g_SettingsSyncs.size();
    g_OffsetDistance = 0.0;
    RegisterViewSettingsSync();
    EXPECT_EQ(g_OffsetDistance, 2.5);
    EXPECT_EQ(g_SettingsSyncs.size(), syncs);
    g_LockSwitch = 0;
}

// The path drawing reads the 3-D display values from the block: values
// typed in the 3-D view and the menu's style reach it at once, not only
// when the file is saved.
TEST_F(ViewSettingsSyncTest, Typed3DValuesReachTheBlockAtOnce)
{
    drv->Start(kCmdPathView3D);
    drv->Type(u"400,0");
    EXPECT_EQ(g_MachiningSettings.path3dLineCount, 360);
    EXPECT_EQ(g_MachiningSettings.path3dNonTaper, 0);
    drv->view->OnPathViewSimulated();
    EXPECT_EQ(g_MachiningSettings.path3dStyle, 1);
}
