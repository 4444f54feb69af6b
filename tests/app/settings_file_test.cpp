#include "app/settings_file.h"

#include "app_fixture.h"
#include "platform/core/files.h"
#include "shared/CMD5Checksum.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::vector<std::uint8_t> ReadAll(const CString& path)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const CString& path, const std::vector<std::uint8_t>& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(NativePath(path)).parent_path());
    std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

template <class T>
T At(const std::vector<std::uint8_t>& bytes, size_t offset)
{
    T v;
    std::memcpy(&v, bytes.data() + offset, sizeof(T));
    return v;
}

void Redigest(std::vector<std::uint8_t>& bytes)
{
    MD5OfBuffer(bytes.data() + 8, bytes.size() - 24, bytes.data() + 24);
}

class SettingsFileTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ResetSettingsDefaults();
        ResetProcessDefaults();
    }
};

} // namespace

TEST_F(SettingsFileTest, FactoryValuesSaveAsTwoIdenticalFilesWithDigest)
{
    ASSERT_TRUE(SaveSettingsFile());
    auto main = ReadAll(SettingsFilePath());
    auto backup = ReadAll(SettingsBackupPath());
    ASSERT_EQ(main.size(), 2443u);
    EXPECT_EQ(main, backup);
    EXPECT_EQ(At<std::uint64_t>(main, 0), 0u);
    std::uint8_t digest[16];
    MD5OfBuffer(digest, 2419, main.data() + 24);
    EXPECT_EQ(std::memcmp(digest, main.data() + 8, 16), 0);

    const struct {
        const char* name;
        size_t offset;
        double value;
        int width;      // 8 double, 4 int32, 2 uint16, 1 byte
    } kKnown[] = {
        {"view scale", 32, 10.0, 8},
        {"compensation", 48, 0.1, 8},
        {"thickness", 48 + 0x10, 20.0, 8},
        {"polygonSides", 48 + 0x244, 6, 4},
        {"passCuts[0] pulse width", 48 + 0x108 + 8, 35, 2},
        {"class-4 first interval", 48 + 0x2e8 + 560 + 10, 7, 1},
        {"coding version", 48 + 0x6a8, 10, 1},
        {"g_CutParams pulse width", 1824 + 8, 35, 2},
        {"g_CutParams choice 0", 1824 + 28, 6, 1},
        {"drawing: mark line style", 1864 + 8, 2, 4},
        {"drawing: colour of new entities", 1864 + 44, 0xFFFFFF, 4},
        {"drawing: offset 28", 1864 + 28, 0xFF8000, 4},
        {"drawing: offset 144", 1864 + 144, 0x8080, 4},
        {"array countX", 2220, 3, 4},
        {"array radius", 2220 + 48, 100.0, 8},
        {"array polar count", 2220 + 56, 6, 4},
        {"array fill angle", 2220 + 64, 360.0, 8},
        {"gear teeth", 2339, 18, 4},
        {"gear module index", 2339 + 4, 4, 4},
        {"gear root fillet", 2339 + 23, 1, 1},
        {"rack teeth", 2395, 18, 4},
        {"rack tip fillet", 2395 + 20, 1, 1},
    };
    for (const auto& k : kKnown) {
        SCOPED_TRACE(k.name);
        double got = k.width == 8   ? At<double>(main, k.offset)
                     : k.width == 4 ? At<std::int32_t>(main, k.offset)
                     : k.width == 2 ? At<std::uint16_t>(main, k.offset)
                                    : main[k.offset];
        EXPECT_EQ(got, k.value);
    }
}

TEST_F(SettingsFileTest, LoadBringsBackEveryBlock)
{
    g_ViewScale = 2.5;
    g_ViewOriginX = -40;
    g_MachiningSettings.compensation = -0.15;
    g_CutParams.speedLimit = 333;
    g_CurrentColor = 0x123456;
    g_ArraySettings.countY = 9;
    g_CommandModes.mode[16] = 2;
    g_openTypeIndex = 3;
    g_GearParams.shift = 0.25;
    g_RackParams.teeth = 40;
    g_CalcInputs.p4ResultH1 = 7.5;
    g_CutTypeIndex = 4;
    ASSERT_TRUE(SaveSettingsFile());

    ResetSettingsDefaults();
    ResetProcessDefaults();
    g_CutTypeIndex = 0;
    ASSERT_TRUE(LoadSettingsFile());
    EXPECT_EQ(g_settingsLoaded, 1);
    EXPECT_EQ(g_ViewScale, 2.5);
    EXPECT_EQ(g_loadedViewScale, 2.5);
    EXPECT_EQ(g_ViewOriginX, -40);
    EXPECT_EQ(g_MachiningSettings.compensation, -0.15);
    EXPECT_EQ(g_CutParams.speedLimit, 333);
    EXPECT_EQ(g_CurrentColor, 0x123456u);
    EXPECT_EQ(g_ArraySettings.countY, 9);
    EXPECT_EQ(g_CommandModes.mode[16], 2);
    EXPECT_EQ(g_openTypeIndex, 3);
    EXPECT_EQ(g_GearParams.shift, 0.25);
    EXPECT_EQ(g_RackParams.teeth, 40);
    EXPECT_EQ(g_CalcInputs.p4ResultH1, 7.5);
    EXPECT_EQ(g_CutTypeIndex, 4);
}

TEST_F(SettingsFileTest, OneFlippedByteMakesTheBackupWinAndRepairsTheMain)
{
    g_MachiningSettings.thickness = 55.0;
    ASSERT_TRUE(SaveSettingsFile());
    auto good = ReadAll(SettingsBackupPath());
    auto bad = good;
    bad[1000] ^= 0x01;
    WriteAll(SettingsFilePath(), bad);

    ResetSettingsDefaults();
    ASSERT_TRUE(LoadSettingsFile());
    EXPECT_EQ(g_MachiningSettings.thickness, 55.0);
    EXPECT_EQ(ReadAll(SettingsFilePath()), good);
}

TEST_F(SettingsFileTest, RejectedFilesLeaveTheFactoryValuesWhole)
{
    g_MachiningSettings.thickness = 55.0;
    ASSERT_TRUE(SaveSettingsFile());
    auto good = ReadAll(SettingsFilePath());
    auto bad = good;
    bad[2442] ^= 0x80;
    WriteAll(SettingsFilePath(), bad);
    WriteAll(SettingsBackupPath(), std::vector<std::uint8_t>(good.begin(), good.begin() + 23));

    ResetSettingsDefaults();
    ResetProcessDefaults();
    auto factory = BuildSettingsImage();
    EXPECT_FALSE(LoadSettingsFile());
    EXPECT_EQ(g_settingsLoaded, 0);
    EXPECT_EQ(BuildSettingsImage(), factory);
}

TEST_F(SettingsFileTest, LengthRules)
{
    g_MachiningSettings.thickness = 55.0;
    auto image = BuildSettingsImage();
    ResetSettingsDefaults();

    auto shortFile = image;
    shortFile.pop_back();
    Redigest(shortFile);
    WriteAll(SettingsFilePath(), shortFile);
    WriteAll(SettingsBackupPath(), image);
    EXPECT_FALSE(LoadSettingsFile()) << "2442 bytes with a good digest: body too short";
    EXPECT_EQ(g_MachiningSettings.thickness, 20.0);

    auto longFile = image;
    longFile.resize(2500, 0x33);
    Redigest(longFile);
    WriteAll(SettingsFilePath(), longFile);
    EXPECT_TRUE(LoadSettingsFile()) << "2500 bytes with a good digest";
    EXPECT_EQ(g_MachiningSettings.thickness, 55.0);
}

TEST_F(SettingsFileTest, ReservedBytesSurviveLoadAndSave)
{
    auto image = BuildSettingsImage();
    for (size_t offset : {48 + 0x050, 48 + 0x0c1, 48 + 0x6ef, 1864 + 24, 2220 + 26, 2333 + 2, 2395 + 22})
        image[offset] = 0xA5;
    Redigest(image);
    WriteAll(SettingsFilePath(), image);
    ASSERT_TRUE(LoadSettingsFile());
    ASSERT_TRUE(SaveSettingsFile());
    EXPECT_EQ(ReadAll(SettingsFilePath()), image);
}

TEST_F(SettingsFileTest, RestoreDefaultsRerunsTheCutTablesAndKeepsTheSingleCut)
{
    std::memset(g_MachiningSettings.passCuts, 0, sizeof(g_MachiningSettings.passCuts));
    g_MachiningSettings.codingMode = kCodingHfClass4;
    g_CutParams.pulseWidth = 99;
    g_SettingsDirty = 0;
    RestoreDefaultSettings();
    EXPECT_EQ(g_MachiningSettings.codingMode, kCodingFastWire);
    EXPECT_EQ(g_MachiningSettings.passCuts[0].pulseWidth, 35) << "a pulse width of 0 cannot cut";
    EXPECT_EQ(g_MachiningSettings.passTables[2][0].pulseInterval, 7);
    EXPECT_EQ(g_CutParams.pulseWidth, 99);
    EXPECT_EQ(g_SettingsDirty, 1);
}

TEST_F(SettingsFileTest, AFileThatCannotBeReplacedIsReported)
{
    ASSERT_TRUE(SaveSettingsFile());
    auto before = ReadAll(SettingsBackupPath());
    std::filesystem::remove(NativePath(SettingsFilePath()));
    std::filesystem::create_directories(NativePath(SettingsFilePath()));
    g_MachiningSettings.thickness = 8.0;
    EXPECT_FALSE(SaveSettingsFile());
    EXPECT_NE(ReadAll(SettingsBackupPath()), before) << "the other file is still written";
}

TEST_F(SettingsFileTest, OnlyAChangedViewOrADirtyMarkRewritesTheFiles)
{
    LoadSettingsFile();     // nothing there: factory view remembered
    EXPECT_TRUE(SaveSettingsIfChanged());
    EXPECT_FALSE(FileExists(SettingsFilePath()));

    g_ViewScale = 12.5;     // zoom only
    EXPECT_TRUE(SaveSettingsIfChanged());
    EXPECT_EQ(At<double>(ReadAll(SettingsFilePath()), 32), 12.5);
    EXPECT_EQ(ReadAll(SettingsBackupPath()), ReadAll(SettingsFilePath()));

    LoadSettingsFile();
    g_SettingsDirty = 1;
    g_MachiningSettings.shapeOffset = 4.0;
    EXPECT_TRUE(SaveSettingsIfChanged());
    EXPECT_EQ(g_SettingsDirty, 0);
    EXPECT_EQ(At<double>(ReadAll(SettingsFilePath()), 48 + 0x288), 4.0);
}

TEST_F(SettingsFileTest, EditDefaultsAndOtherSubsystemsSettingsTravelWithTheBlocks)
{
    EXPECT_EQ(g_PolygonSides, 6);
    EXPECT_EQ(g_FilletRadius, 3.0);
    static std::int32_t viewSwitch = 0;
    viewSwitch = 1;
    g_SettingsSyncs.push_back({[] { g_MachiningSettings.lockOn = viewSwitch; },
                               [] { viewSwitch = g_MachiningSettings.lockOn; }});
    g_PolygonSides = 9;
    g_ChamferDist2 = 1.5;
    ASSERT_TRUE(SaveSettingsFile());
    auto bytes = ReadAll(SettingsFilePath());
    EXPECT_EQ(At<std::int32_t>(bytes, 48 + 0x244), 9);
    EXPECT_EQ(At<double>(bytes, 48 + 0x260), 1.5);
    EXPECT_EQ(At<std::int32_t>(bytes, 48 + 0x23c), 1);

    ResetSettingsDefaults();
    EXPECT_EQ(g_PolygonSides, 6);
    EXPECT_EQ(viewSwitch, 0);
    ASSERT_TRUE(LoadSettingsFile());
    EXPECT_EQ(g_PolygonSides, 9);
    EXPECT_EQ(g_ChamferDist2, 1.5);
    EXPECT_EQ(viewSwitch, 1);
}

// A path holds seven cuts: a stored pass count outside 1..7 is brought in.
TEST_F(SettingsFileTest, PassCountIsClampedOnLoad)
{
    constexpr size_t kPassCountAt = 48 + 0x4c;
    const struct { std::int32_t stored, loaded; } kCases[] = {{40, 7}, {8, 7}, {0, 1}, {-3, 1}, {5, 5}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.stored);
        ASSERT_TRUE(SaveSettingsFile());
        for (const CString& path : {SettingsFilePath(), SettingsBackupPath()}) {
            auto bytes = ReadAll(path);
            std::memcpy(bytes.data() + kPassCountAt, &c.stored, sizeof(c.stored));
            Redigest(bytes);
            WriteAll(path, bytes);
        }
        ASSERT_TRUE(LoadSettingsFile());
        EXPECT_EQ(g_MachiningSettings.passCount, c.loaded);
    }
}
