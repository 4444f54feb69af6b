#include "link/settings_ini.h"

#include "link/LinkState.h"
#include "platform/core/files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::string ReadBytes(const CString& path)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteIni(const std::string& bytes)
{
    CreateFolder(MapWindowsPath(u".", ZorvaProgram::Link));
    ASSERT_TRUE(WriteFileAtomic(SettingsIniPath(), std::string_view(bytes)));
}

struct SettingsTest : testing::Test {
    void SetUp() override { ResetLinkState(); }
    void TearDown() override { ResetLinkState(); }
};

} // namespace

TEST_F(SettingsTest, WrittenByteExactAndReadBack)
{
    g_LinkSettings.replaceExisting = true;
    g_LinkSettings.showMaximised = true;
    g_LinkSettings.sendToAll = true;
    ASSERT_TRUE(SaveSettingsIni(u"方案-1.dat"));
    const std::string expected =
        "[setting]\r\ncontrolkey_1=1\r\ncontrolkey_2=0\r\ncontrolmaxshow=1\r\ncontrolsendall=1\r\n"
        "controlunsendwork=0\r\ncurrfiledat=\xB7\xBD\xB0\xB8-1\r\n";
    EXPECT_EQ(ReadBytes(SettingsIniPath()), expected);

    ResetLinkState();
    LoadSettingsIni();
    EXPECT_TRUE(g_LinkSettings.replaceExisting);
    EXPECT_FALSE(g_LinkSettings.skipExisting);
    EXPECT_TRUE(g_LinkSettings.showMaximised);
    EXPECT_TRUE(g_LinkSettings.sendToAll);
    EXPECT_FALSE(g_LinkSettings.skipBusy);
    EXPECT_EQ(g_CurrentScheme, CString(u"方案-1"));
}

TEST_F(SettingsTest, ReaderRules)
{
    const struct { const char* name; std::string file; bool replace, skip, busy; const char16_t* scheme; } kCases[] = {
        {"blanks around the equals sign", "[setting]\r\n  controlunsendwork = 1 \r\n", false, false, true, u""},
        {"key in capitals is not taken", "CONTROLKEY_1=1\r\n", false, false, false, u""},
        {"both keys: only replace stays", "controlkey_1=1\r\ncontrolkey_2=1\r\n", true, false, false, u""},
        {"value other than 1 leaves it", "controlkey_2=yes\r\n", false, false, false, u""},
        {"blank inside a scheme name stays, the ends go", "currfiledat = my scheme \r\n", false, false, false, u"my scheme"},
        {"a 300-byte line is read in pieces",
         "currfiledat=" + std::string(242, 'a') + "controlkey_2=1\r\n", false, true, false, u""},
        {"last line without line end", "controlkey_2=1", false, true, false, u""},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        ResetLinkState();
        WriteIni(c.file);
        LoadSettingsIni();
        EXPECT_EQ(g_LinkSettings.replaceExisting, c.replace);
        EXPECT_EQ(g_LinkSettings.skipExisting, c.skip);
        EXPECT_EQ(g_LinkSettings.skipBusy, c.busy);
        if (c.scheme[0] != 0) {
            EXPECT_EQ(g_CurrentScheme, CString(c.scheme));
        }
    }
}

TEST_F(SettingsTest, MissingFileUnchecksEverything)
{
    g_LinkSettings.replaceExisting = true;
    g_CurrentScheme = u"keep";
    LoadSettingsIni();
    EXPECT_FALSE(g_LinkSettings.replaceExisting);
    EXPECT_EQ(g_CurrentScheme, CString(u"keep"));
}
