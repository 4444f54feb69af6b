#include "platform/core/CFile.h"

#include "platform/core/CMemFile.h"
#include "platform/core/exceptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
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

} // namespace

TEST(CFile, CreateTruncatesAndNoTruncateKeeps)
{
    const CString path = CString::FromUtf8(Home() + "/输出.dat");
    {
        CFile f(path, CFile::modeCreate | CFile::modeWrite);
        f.Write("abcdef", 6);
    }
    EXPECT_EQ("abcdef", ReadAll(Home() + "/输出.dat"));
    {
        CFile f(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
        EXPECT_EQ(6u, f.GetLength());
        f.SeekToEnd();
        f.Write("g", 1);
    }
    EXPECT_EQ("abcdefg", ReadAll(Home() + "/输出.dat"));
    {
        CFile f(path, CFile::modeCreate | CFile::modeWrite);
        f.Write("x", 1);
    }
    EXPECT_EQ("x", ReadAll(Home() + "/输出.dat"));
}

TEST(CFile, ReadSeekLengthAndBackslashPaths)
{
    std::filesystem::create_directories(Home() + "/sub");
    std::ofstream(Home() + "/sub/data.bin", std::ios::binary) << "0123456789";
    CFile f;
    ASSERT_TRUE(f.Open(CString::FromUtf8(Home() + "\\sub\\data.bin"), CFile::modeRead | CFile::shareDenyNone));
    EXPECT_EQ(CString(u"data.bin"), f.GetFileName());
    EXPECT_EQ(10u, f.GetLength());
    char buf[8] = {};
    EXPECT_EQ(4u, f.Read(buf, 4));
    EXPECT_EQ(0, std::memcmp(buf, "0123", 4));
    EXPECT_EQ(7u, f.Seek(3, CFile::current));
    EXPECT_EQ(3u, f.Read(buf, 8));
    EXPECT_EQ(0, std::memcmp(buf, "789", 3));
    EXPECT_EQ(0u, f.Read(buf, 8));
    EXPECT_EQ(8u, f.Seek(-2, CFile::end));
    EXPECT_EQ(8u, f.GetPosition());
    EXPECT_THROW(f.Seek(-20, CFile::begin), CFileException);
    EXPECT_THROW(f.Write("x", 1), CFileException);   // opened for reading
}

TEST(CFile, OpenFailuresReportTheCause)
{
    std::filesystem::create_directories(Home() + "/folder");
    const struct { const char* name; const char* path; int cause; } kCases[] = {
        {"missing file", "/missing.bin", CFileException::fileNotFound},
        {"missing folder", "/none/x.bin", CFileException::fileNotFound},
        {"a folder", "/folder", CFileException::accessDenied},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const CString path = CString::FromUtf8(Home() + c.path);
        CFile f;
        CFileException error;
        EXPECT_FALSE(f.Open(path, CFile::modeRead, &error));
        EXPECT_EQ(c.cause, error.m_cause);
        EXPECT_EQ(path, error.m_strFileName);
        EXPECT_FALSE(f.IsOpen());
        EXPECT_THROW(CFile(path, CFile::modeRead), CFileException);
    }
}

TEST(CMemFile, GrowsSeeksAndDetaches)
{
    CMemFile f(16);
    for (int i = 0; i < 100; ++i)
        f.Write(&i, sizeof i);
    EXPECT_EQ(400u, f.GetLength());
    f.Seek(8, CFile::begin);
    int v = 0;
    EXPECT_EQ(4u, f.Read(&v, 4));
    EXPECT_EQ(2, v);
    EXPECT_THROW(f.Seek(-1, CFile::begin), CFileException);
    f.SetLength(12);
    f.SeekToEnd();
    EXPECT_EQ(0u, f.Read(&v, 4));
    uint8_t* data = f.Detach();
    int first = -1;
    std::memcpy(&first, data + 4, 4);
    EXPECT_EQ(1, first);
    std::free(data);
    EXPECT_EQ(0u, f.GetLength());
}

TEST(CMemFile, AttachedBufferIsTheWholeFileAndDoesNotGrow)
{
    uint8_t bytes[4] = {1, 2, 3, 4};
    CMemFile f(bytes, 4);
    EXPECT_EQ(4u, f.GetLength());
    f.Seek(2, CFile::begin);
    f.Write("\x09", 1);
    EXPECT_EQ(9, bytes[2]);
    f.Seek(0, CFile::end);
    try {
        f.Write("x", 1);
        ADD_FAILURE() << "a write past a fixed buffer must throw";
    } catch (const CFileException& e) {
        EXPECT_EQ(CFileException::diskFull, e.m_cause);
    }
}
