#include "shared/digest_pair.h"

#include "platform/core/files.h"
#include "shared/CMD5Checksum.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string Home()
{
    return std::getenv("ZORVA_HOME");
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteRaw(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Md5(const std::string& bytes)
{
    std::uint8_t digest[16];
    MD5OfBuffer(digest, bytes.size(), bytes.data());
    return std::string(reinterpret_cast<const char*>(digest), 16);
}

} // namespace

// The state a save killed between its two renames leaves: the new table,
// the old companion, the new companion whole in its temporary.
TEST(DigestPair, KilledSaveIsCompletedByTheReader)
{
    const std::string table = Home() + "/sql_list_h1";
    WriteRaw(table, "new table");
    WriteRaw(table + "MD5", Md5("old table"));
    const std::string leftover = Home() + "/.sql_list_h1MD5.tmp-Ab12Cd";
    WriteRaw(leftover, Md5("new table"));
    FinishDigestPair(CString::FromUtf8(table));
    EXPECT_EQ(ReadAll(table + "MD5"), Md5("new table"));
    EXPECT_FALSE(std::filesystem::exists(leftover));
}

TEST(DigestPair, OtherLeftoversGoAndALiveWriterStays)
{
    const std::string table = Home() + "/t";
    WriteRaw(table, "old");
    WriteRaw(table + "MD5", Md5("old"));
    const std::string wrong = Home() + "/.tMD5.tmp-zz99ZZ";
    WriteRaw(wrong, Md5("other"));
    const std::string half = Home() + "/.tMD5.tmp-half00";
    WriteRaw(half, Md5("old").substr(0, 7));
    CAtomicFile live;
    ASSERT_TRUE(live.Open(CString::FromUtf8(table + "MD5")));
    ASSERT_TRUE(live.Write(Md5("old").data(), 16));

    FinishDigestPair(CString::FromUtf8(table));
    EXPECT_EQ(ReadAll(table + "MD5"), Md5("old"));
    EXPECT_FALSE(std::filesystem::exists(wrong));
    EXPECT_FALSE(std::filesystem::exists(half));
    EXPECT_TRUE(std::filesystem::exists(live.TempPath().ToUtf8()));
}
