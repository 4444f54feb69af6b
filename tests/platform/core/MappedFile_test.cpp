#include "platform/core/MappedFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/core/files.h"

TEST(MappedFile, MapsTheWholeFileAndRefusesWhatIsNoFile)
{
    const std::string folder = NativePath(DataRoot()) + "/mapped";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/a.txt", std::ios::binary) << std::string("0\nSECTION\n\0x", 12);
    std::ofstream(folder + "/empty.txt", std::ios::binary);

    MappedFile file;
    ASSERT_TRUE(file.Open(CString::FromUtf8(folder + "/a.txt")));
    EXPECT_EQ(file.Bytes(), std::string_view("0\nSECTION\n\0x", 12));
    ASSERT_TRUE(file.Open(CString::FromUtf8(folder + "/empty.txt")));
    EXPECT_TRUE(file.Bytes().empty());
    EXPECT_FALSE(file.Open(CString::FromUtf8(folder)));
    EXPECT_FALSE(file.Open(CString::FromUtf8(folder + "/missing.txt")));
    EXPECT_TRUE(file.Bytes().empty());
}
