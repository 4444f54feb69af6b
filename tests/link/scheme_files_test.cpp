#include "link/machine_table.h"

#include "platform/core/files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

std::string ReadBytes(const CString& path)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

_ClientPack Record(uint8_t letter, uint8_t number)
{
    _ClientPack m{};
    m.id[0] = 0xA1;
    m.id[3] = 0xD4;
    m.letter = letter;
    m.number = number;
    m.address = 0x0100007F;
    m.port = 6180;
    m.checked = 1;
    std::strcpy(m.rememberedFolder, "C:\\data");
    return m;
}

struct SchemeTest : testing::Test {
    void SetUp() override { ResetLinkState(); }
    void TearDown() override { ResetLinkState(); }
};

} // namespace

TEST_F(SchemeTest, FileLayoutAndRoundTrip)
{
    g_Machines = {Record(0, 1)};
    g_SchemeFolderText = u"D:";
    ASSERT_TRUE(SaveScheme(u"one.dat"));
    const std::string bytes = ReadBytes(SchemePath(u"one"));
    ASSERT_EQ(bytes.size(), 2u + 292u + 8u);
    EXPECT_EQ(bytes.substr(0, 2), std::string("\x01\x00", 2));
    EXPECT_EQ(std::memcmp(bytes.data() + 2, &g_Machines[0], 292), 0);
    EXPECT_EQ(bytes.substr(294), std::string("\xFF\xFE\xFF\x02" "D\0:\0", 8));

    g_Machines.clear();
    g_SchemeFolderText.Empty();
    ASSERT_TRUE(LoadScheme(u"one"));
    ASSERT_EQ(g_Machines.size(), 1u);
    EXPECT_EQ(g_Machines[0].port, 6180);
    EXPECT_STREQ(g_Machines[0].rememberedFolder, "C:\\data");
    EXPECT_EQ(g_SchemeFolderText, CString(u"D:"));

    std::vector<CString> names;
    ListSchemeFiles(names);
    EXPECT_EQ(names, std::vector<CString>{CString(u"one.dat")});
}

TEST_F(SchemeTest, DamagedOrMissingFilesKeepTheTable)
{
    g_Machines = {Record(0, 1), Record(1, 2)};
    EXPECT_FALSE(LoadScheme(u"missing"));
    EXPECT_EQ(g_Machines.size(), 2u);

    CreateFolder(MapWindowsPath(u".\\Data", ZorvaProgram::Link));
    // A count of 1,000,000 records in a file of 20 bytes.
    std::string huge("\xFF\xFF\x40\x42\x0F\x00", 6);
    huge.append(14, '\0');
    ASSERT_TRUE(WriteFileAtomic(SchemePath(u"huge"), std::string_view(huge)));
    EXPECT_FALSE(LoadScheme(u"huge"));
    EXPECT_EQ(g_Machines.size(), 2u);

    // A folder text that claims more characters than the file holds.
    std::string cut("\x00\x00\xFF\xFE\xFF\xFF\xF0\x00", 8);
    ASSERT_TRUE(WriteFileAtomic(SchemePath(u"cut"), std::string_view(cut)));
    EXPECT_FALSE(LoadScheme(u"cut"));
    EXPECT_TRUE(g_SchemeFolderText.IsEmpty());
    EXPECT_EQ(g_Machines.size(), 2u);
}

TEST_F(SchemeTest, EmptyNameSavesNothing)
{
    EXPECT_FALSE(SaveScheme(u".dat"));
    EXPECT_FALSE(SaveScheme(u""));
}
