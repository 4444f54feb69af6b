#include "link/link_helpers.h"

#include "platform/core/files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

TEST(Crc32, PublishedCheckValues)
{
    EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
    EXPECT_EQ(Crc32("abc", 3), 0x352441C2u);
    EXPECT_EQ(Crc32("The quick brown fox jumps over the lazy dog", 43), 0x414FA339u);
    EXPECT_EQ(Crc32("", 0), 0u);
}

namespace {

// The register shifted one bit at a time, as the algorithm is defined.
uint32_t BitwiseCrc32(const uint8_t* p, size_t n)
{
    uint32_t reg = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        reg ^= p[i];
        for (int bit = 0; bit < 8; ++bit)
            reg = (reg & 1) != 0 ? (reg >> 1) ^ 0xEDB88320u : reg >> 1;
    }
    return ~reg;
}

} // namespace

TEST(Crc32, EveryLengthAndAlignmentAgreesWithTheBitwiseDefinition)
{
    // Lengths below, at and past the 64-byte steps and 16-byte folds, up to
    // a whole datagram, at every alignment of the first byte.
    std::vector<uint8_t> bytes(2048 + 16);
    uint32_t x = 0x12345678;
    for (uint8_t& b : bytes) {
        x = x * 1103515245u + 12345u;
        b = uint8_t(x >> 23);
    }
    for (size_t offset = 0; offset < 16; ++offset) {
        for (size_t n = 0; n <= 1100; ++n) {
            const uint8_t* p = bytes.data() + offset;
            ASSERT_EQ(Crc32(p, n), n == 0 ? 0u : BitwiseCrc32(p, n)) << "offset " << offset << ", length " << n;
        }
    }
    const std::vector<uint8_t> ones(2048, 0xFF), zeros(2048, 0);
    EXPECT_EQ(Crc32(ones.data(), ones.size()), BitwiseCrc32(ones.data(), ones.size()));
    EXPECT_EQ(Crc32(zeros.data(), zeros.size()), BitwiseCrc32(zeros.data(), zeros.size()));
}

TEST(LinkHelpers, PathParts)
{
    const struct { const char16_t* path; const char16_t* name; const char16_t* head; } kCases[] = {
        {u"C:\\a\\b.txt", u"b.txt", u"C:\\a"},
        {u"abc", u"abc", u""},
        {u"C:", u"C:", u""},
        {u"/tmp/x/y.nc", u"y.nc", u"/tmp/x"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(CString(c.path).ToUtf8());
        EXPECT_EQ(GetFileNameFromPath(c.path), CString(c.name));
        EXPECT_EQ(GetPathHead(c.path), CString(c.head));
    }
    EXPECT_EQ(GetFileExtension(u"archive.tar.gz"), CString(u"gz"));
    EXPECT_EQ(GetFileExtension(u"README"), CString(u"README"));
}

TEST(LinkHelpers, FormatDecimal2KeepsOneDigit)
{
    EXPECT_EQ(FormatDecimal2(1.0), CString(u"1.0"));
    EXPECT_EQ(FormatDecimal2(2.5), CString(u"2.5"));
    EXPECT_EQ(FormatDecimal2(0.05), CString(u"0.05"));
    EXPECT_EQ(FormatDecimal2(2), CString(u"2.0"));
    EXPECT_EQ(FormatDecimal2(1.25), CString(u"1.25"));
}

TEST(LinkHelpers, ShortenText50)
{
    CString t49(u'x', 49), t50(u'y', 50);
    CString t120 = CString(u'a', 70) + CString(u'b', 50);
    EXPECT_EQ(ShortenText50(t49), t49);
    EXPECT_EQ(ShortenText50(t50), CString(u"...") + t50);
    EXPECT_EQ(ShortenText50(t120), CString(u"...") + CString(u'b', 50));
}

TEST(LinkHelpers, IdAndAddressTexts)
{
    const uint8_t id[4] = {1, 2, 3, 4};
    EXPECT_EQ(IdToHex(id), CString(u"04030201"));
    const uint8_t ip[4] = {127, 10, 1, 20};
    uint32_t a;
    std::memcpy(&a, ip, 4);
    EXPECT_EQ(OwnIpText(a), CString(u"127.10.1.20"));
}

TEST(LinkHelpers, FileNameChecks)
{
    for (const char16_t* bad : {u"a/b", u"a\\b", u"a\"b", u"a\tb", u"c:", u"x?", u"x*", u"<", u">", u"|"})
        EXPECT_FALSE(IsLegalFileName(bad)) << CString(bad).ToUtf8();
    EXPECT_TRUE(IsLegalFileName(u"方案-1"));
    EXPECT_TRUE(IsLegalFileName(u""));
    for (const char16_t* bad : {u"", u".", u"..", u"../x", u"a\nb"})
        EXPECT_FALSE(IsSafeFileName(bad)) << CString(bad).ToUtf8();
    EXPECT_TRUE(IsSafeFileName(u"..x.nc"));
}

TEST(LinkHelpers, WideToAnsi255CutsAtTheArea)
{
    char area[255];
    EXPECT_EQ(WideToAnsi255(area, CString(u'q', 300)), 255);
    EXPECT_EQ(area[254], 'q');
    EXPECT_EQ(WideToAnsi255(area, u"abc"), 4);
    EXPECT_EQ(std::string(area, 5), std::string("abc\0\0", 5));
    // Two GBK bytes per Chinese character: 端 is B6 CB.
    EXPECT_EQ(WideToAnsi255(area, u"端"), 3);
    EXPECT_EQ(std::string(area, 3), std::string("\xB6\xCB\0", 3));
    EXPECT_EQ(AnsiLengthWithZero(u"端A1"), 5);
    EXPECT_EQ(AnsiBytesToText("\xB6\xCB" "A1\0zz", 6), CString(u"端A1"));
    EXPECT_EQ(AnsiBytesToText("abc", 3), CString(u"abc"));
}

TEST(LinkHelpers, StripBlanksJoinsKeyAndValue)
{
    char line[255] = {};
    std::strcpy(line, " controlkey_1 = 1 \r\n");
    StripBlanks(line);
    EXPECT_STREQ(line, "controlkey_1=1");
    std::strcpy(line, "currfiledat=\xB7\xBD \xB0\xB8\t1\r\n");
    StripBlanks(line);
    EXPECT_STREQ(line, "currfiledat=\xB7\xBD\xB0\xB8" "1");
}

TEST(LinkHelpers, PathExistsAndMd5)
{
    CString root = DataRoot();
    ASSERT_TRUE(CreateFolder(root + u"/d"));
    EXPECT_TRUE(PathExists(root + u"/d"));
    EXPECT_FALSE(PathExists(root + u"/missing"));
    EXPECT_FALSE(PathExists(root + u"/d/*.dat"));
    ASSERT_TRUE(WriteFileAtomic(root + u"/d/a.dat", std::string_view("abc")));
    EXPECT_TRUE(PathExists(root + u"/d/*.dat"));
    EXPECT_TRUE(LocalFileExists(root + u"/d/a.dat"));
    EXPECT_FALSE(LocalFileExists(root + u"/d"));
    uint8_t md5[16];
    ASSERT_EQ(GetFileMd5(root + u"/d/a.dat", md5), 1);
    EXPECT_EQ(md5[0], 0x90); // MD5("abc") = 900150983cd24fb0...
    EXPECT_EQ(md5[15], 0x72);
    EXPECT_EQ(GetFileMd5(root + u"/d/none", md5), 0);
}
