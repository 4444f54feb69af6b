#include "shared/CMD5Checksum.h"

#include "platform/core/CString.h"
#include "platform/core/exceptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string TempPath(const char* name)
{
    return std::string(std::getenv("ZORVA_HOME")) + "/" + name;
}

} // namespace

TEST(CMD5Checksum, FileOfSeveralChunksEqualsBufferDigest)
{
    // 2500 bytes: two full 1024-byte chunks and a partial one.
    std::vector<uint8_t> bytes(2500);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>((i * 7 + 3) & 0xFF);
    const std::string path = TempPath("文件.bin");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), 2500);

    uint8_t expected[16];
    MD5OfBuffer(expected, bytes.size(), bytes.data());
    uint8_t fromFile[16] = {};
    ASSERT_TRUE(MD5OfFile(CString::FromUtf8(path).GetString(), fromFile));
    EXPECT_EQ(0, std::memcmp(expected, fromFile, 16));
}

TEST(CMD5Checksum, EmptyFileHasTheEmptyDigest)
{
    const std::string path = TempPath("empty");
    std::ofstream(path, std::ios::binary).flush();
    // RFC 1321: MD5("") = d41d8cd98f00b204e9800998ecf8427e
    const uint8_t kEmpty[16] = {0xd4, 0x1d, 0x8c, 0xd9, 0x8f, 0x00, 0xb2, 0x04,
                                0xe9, 0x80, 0x09, 0x98, 0xec, 0xf8, 0x42, 0x7e};
    uint8_t out[16] = {};
    ASSERT_TRUE(MD5OfFile(CString::FromUtf8(path).GetString(), out));
    EXPECT_EQ(0, std::memcmp(kEmpty, out, 16));
}

TEST(CMD5Checksum, MissingFileOrFolderFailsAndLeavesDigestUnchanged)
{
    for (const std::string& path : {TempPath("missing.bin"), TempPath("")}) {
        SCOPED_TRACE(path);
        uint8_t out[16];
        std::memset(out, 0xAB, sizeof out);
        EXPECT_FALSE(MD5OfFile(CString::FromUtf8(path).GetString(), out));
        for (uint8_t b : out)
            EXPECT_EQ(0xAB, b);
    }
}

TEST(CMD5Checksum, ReadErrorThrowsFileException)
{
    // Reading this process's memory at address 0 fails with EIO after a good open.
    uint8_t out[16] = {};
    EXPECT_THROW(MD5OfFile(u"/proc/self/mem", out), CFileException);
}
