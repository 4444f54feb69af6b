#include "geometry/text_utils.h"

#include "platform/core/CStringArray.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string Bytes(const char* data, size_t size)
{
    return std::string(data, size);
}

} // namespace

TEST(TextUtils, FormatNumber4)
{
    const struct {
        double value;
        const char16_t* text;
    } kCases[] = {
        {2, u"2.0"},          {2.5, u"2.5"},        {-0.00001, u"-0.0"}, {12.34567, u"12.3457"},
        {0, u"0.0"},          {100, u"100.0"},      {-3.1, u"-3.1"},     {0.00005, u"0.0001"},
        {1234.5678, u"1234.5678"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(FormatNumber4(c.value), c.text);
    }
}

TEST(TextUtils, FormatNumberPrec)
{
    const struct {
        int precision;
        double value;
        const char16_t* text;
    } kCases[] = {
        {2, 3.999, u"4.0"},      {3, 1.5, u"1.5"},   {4, 2, u"2.0"},     {6, 0.1234567, u"0.123457"},
        {6, -0.5, u"-0.5"},      {5, 1.5, u""},      {0, 1.5, u""},      {1, 1.5, u""},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.precision << " " << c.value);
        EXPECT_EQ(FormatNumberPrec(c.precision, c.value), c.text);
    }
}

TEST(TextUtils, RoundHalfUp)
{
    const struct {
        const char* name;
        double value;
        int rounded;
    } kCases[] = {
        {"half up", 2.5, 3},
        {"negative half toward +inf", -2.5, -2},
        {"minus one half", -0.5, 0},
        {"just below a half", 0.49999, 0},
        {"one half", 0.5, 1},
        {"negative below half", -1.6, -2},
        {"whole", -7, -7},
        {"too large saturates", 1e12, INT_MAX},
        {"too small saturates", -1e12, INT_MIN},
        {"NaN gives 0", std::nan(""), 0},
        {"top of the range, half up", 2147483646.5, INT_MAX},
        {"just below the top", 2147483646.4, 2147483646},
        {"bottom of the range", -2147483647.9, INT_MIN},
        {"the bottom itself", -2147483648.0, INT_MIN},
        {"the top itself", 2147483647.0, INT_MAX},
        {"negative, fraction below a half", -3.25, -3},
        {"tiny negative", -1e-300, 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RoundHalfUp(c.value), c.rounded);
    }
}

TEST(TextUtils, Truncate4CutsTowardZero)
{
    EXPECT_DOUBLE_EQ(Truncate4(1.23456), 1.2345);
    EXPECT_DOUBLE_EQ(Truncate4(-1.23456), -1.2345);
    EXPECT_DOUBLE_EQ(Truncate4(2.99999), 2.9999);
    EXPECT_DOUBLE_EQ(Truncate4(0), 0);
}

TEST(TextUtils, TextToNumber)
{
    const struct {
        const char16_t* text;
        double value;
        int integer;
    } kCases[] = {
        {u"12.5", 12.5, 12},
        {u"  -3e2abc", -300, -300},
        {u"-12.9", -12.9, -12},
        {u"abc", 0, 0},
        {u"", 0, 0},
        {u"1,5", 1, 1},
        {u"+.25", 0.25, 0},
        {u"1e10", 1e10, INT_MAX},     // out of range once undefined, now saturated
        {u"-1e10", -1e10, INT_MIN},
        {u"2147483647.9", 2147483647.9, INT_MAX},
        {u"-2147483648", -2147483648.0, INT_MIN},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(CString(c.text).ToUtf8());
        EXPECT_DOUBLE_EQ(TextToDouble(c.text), c.value);
        EXPECT_EQ(TextToInt(c.text), c.integer);
    }
    EXPECT_EQ(TextToInt(u"nan"), 0);
}

TEST(TextUtils, NumbersIgnoreADecimalCommaLocale)
{
    const char* found = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if ((found = setlocale(LC_ALL, name)) != nullptr)
            break;
    }
    if (found == nullptr)
        GTEST_SKIP() << "no decimal-comma locale installed";
    const CString text = FormatNumber4(2.5);
    const CString precise = FormatNumberPrec(6, -0.125);
    const double value = TextToDouble(u"2.5");
    setlocale(LC_ALL, "C");
    EXPECT_EQ(text, u"2.5");
    EXPECT_EQ(precise, u"-0.125");
    EXPECT_EQ(value, 2.5);
}

TEST(TextUtils, NumberAndIntegerText)
{
    const struct {
        const char16_t* text;
        bool number;
        bool integer;
    } kCases[] = {
        {u"", false, false},   {u"12", true, true},    {u"-12", true, true},  {u"1.0", true, false},
        {u"-", true, true},    {u"1..2", true, false}, {u"--1", true, true},  {u"1e5", false, false},
        {u" 1", false, false}, {u"+1", false, false},  {u"１", false, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(CString(c.text).ToUtf8());
        EXPECT_EQ(IsNumberText(c.text), c.number);
        EXPECT_EQ(IsIntegerText(c.text), c.integer);
    }
    EXPECT_EQ(TrimString(u" \t端 1\r\n"), u"端 1");
}

TEST(TextUtils, TrimSpacesAnsi)
{
    const struct {
        const char* in;
        const char* out;
    } kCases[] = {{"  a b  ", "a b"}, {"\tx ", "\tx"}, {"   ", ""}, {"", ""}, {"abc", "abc"}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.in);
        char buffer[16];
        strcpy(buffer, c.in);
        TrimSpacesAnsi(buffer);
        EXPECT_STREQ(buffer, c.out);
    }
}

TEST(TextUtils, SkipToChar)
{
    const struct {
        const char* name;
        const char* text;
        int start;
        bool found;
        int pos;
    } kCases[] = {
        {"stops at ';'", "12;5,6", 0, false, 0},
        {"found", "12,5", 0, true, 3},
        {"from a position", "1,2,3", 2, true, 4},
        {"stops at a line feed", "12\n,5", 0, false, 0},
        {"stops at the end", "abc", 1, false, 1},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        int pos = c.start;
        EXPECT_EQ(SkipToChar(',', pos, c.text), c.found);
        EXPECT_EQ(pos, c.pos);
    }
}

TEST(TextUtils, ParseNumberAnsi)
{
    // Long mantissas are scaled by repeated 0.01 steps: a few units in the last place.
    constexpr double kRelative = 1e-14;
    const struct {
        const char* name;
        const char* text;
        int start;
        bool ok;
        double value;
        int end;
    } kCases[] = {
        {"blanks, sign, stops at ';'", "  -12.50;", 0, true, -12.5, 8},
        {"letters", "abc", 0, false, 0, 0},
        {"plus and bare fraction", "+.5", 0, true, 0.5, 3},
        {"blanks then the end", "   ", 0, false, 0, 0},
        {"blanks then a line feed", "  \n5", 0, false, 0, 0},
        {"ten digits, once read as 705.156160", "5000.123456", 0, true, 5000.123456, 11},
        {"second point ends it", "1.2.3", 0, true, 1.2, 3},
        {"blank after the sign", "- 7", 0, true, -7, 3},
        {"sign set again after blanks", "+ -7", 0, true, -7, 4},
        {"from a position", "x12,", 1, true, 12, 3},
        {"sign alone", "-", 0, false, 0, 0},
        {"point alone", ".;", 0, false, 0, 0},
        {"23 digits", "12345678901234567890123", 0, true, 1.2345678901234568e22, 23},
        {"leading zeros do not use up digits", "0.0000000000000000000000012345", 0, true, 1.2345e-24, 30},
        {"nine digits", "123456789", 0, true, 123456789, 9},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        int pos = c.start;
        double value = -999;
        EXPECT_EQ(ParseNumberAnsi(c.text, pos, value), c.ok);
        EXPECT_EQ(pos, c.end);
        if (c.ok) {
            EXPECT_NEAR(value, c.value, std::fabs(c.value) * kRelative);
        }
    }
    // A short number keeps the exact result of the 0.01-step scaling.
    int pos = 0;
    double value = 0;
    ASSERT_TRUE(ParseNumberAnsi("3.14159", pos, value));
    EXPECT_EQ(value, 314159.0 * 0.01 * 0.01 * 0.1);
}

TEST(TextUtils, WideToAnsiTerminatesWithinTheBuffer)
{
    const struct {
        const char* name;
        const char16_t* text;
        int size;
        int result;
        std::string bytes;   // the whole buffer afterwards
    } kCases[] = {
        {"fits", u"端A1", 8, 5, Bytes("\xb6\xcb" "A1\0\0\0\0", 8)},
        {"exact fit", u"端A1", 5, 5, Bytes("\xb6\xcb" "A1\0", 5)},
        {"cut before the terminator", u"端A1", 4, 4, Bytes("\xb6\xcb" "A\0", 4)},
        {"never half a character", u"端端端", 4, 4, Bytes("\xb6\xcb\0\0", 4)},
        {"double byte does not fit", u"A端", 3, 3, Bytes("A\0\0", 3)},
        {"one byte", u"abc", 1, 1, Bytes("\0", 1)},
        {"nothing", u"abc", 0, 0, ""},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        char memory[16];
        memset(memory, '#', sizeof memory);
        EXPECT_EQ(WideToAnsi(c.text, memory + 2, c.size), c.result);
        EXPECT_EQ(std::string(memory + 2, static_cast<size_t>(c.size)), c.bytes);
        EXPECT_EQ(memory[1], '#');
        EXPECT_EQ(memory[2 + c.size], '#');
    }
}

TEST(TextUtils, WideToAnsi2ZeroesOnlyFourBytes)
{
    char memory[12];
    memset(memory, '#', sizeof memory);
    EXPECT_EQ(WideToAnsi2(u"ab", 10, memory + 1), 3);
    EXPECT_EQ(std::string(memory, 12), Bytes("#ab\0\0#######", 12));

    memset(memory, '#', sizeof memory);
    EXPECT_EQ(WideToAnsi2(u"端A1", 2, memory + 1), 2);
    EXPECT_EQ(std::string(memory, 4), Bytes("#\0\0#", 4));

    const auto copy = WideToAnsiNew(u"端A1");
    EXPECT_EQ(std::string(copy.get(), 5), Bytes("\xb6\xcb" "A1\0", 5));
}

TEST(TextUtils, PathParts)
{
    const struct {
        const char16_t* path;
        const char16_t* fileName;
        const char16_t* folder;
    } kCases[] = {
        {u"C:\\zorvadraw\\data\\x.wcx", u"x.wcx", u"C:\\zorvadraw\\data"},
        {u"/home/u/x.wcx", u"x.wcx", u"/home/u"},
        {u"name.wcx", u"name.wcx", u""},
        {u"dir\\", u"", u"dir"},
        {u"a/b\\c", u"c", u"a/b"},
        {u"\\x", u"x", u""},
        {u"", u"", u""},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(CString(c.path).ToUtf8());
        EXPECT_EQ(PathFileName(c.path), c.fileName);
        EXPECT_EQ(PathFileName2(c.path), c.fileName);
        EXPECT_EQ(PathFolderPart(c.path), c.folder);
    }
}

TEST(TextUtils, Extensions)
{
    const struct {
        const char16_t* name;
        const char16_t* extension;
        const char16_t* stripped;
    } kCases[] = {
        {u"part.dxf", u"dxf", u"part"},
        {u"a.b.c", u"c", u"a"},
        {u".cfg", u"cfg", u".cfg"},
        {u"readme", u"readme", u"readme"},
        {u"a.", u"", u"a"},
        {u"零件.wcx", u"wcx", u"零件"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(CString(c.name).ToUtf8());
        EXPECT_EQ(PathExtension(c.name), c.extension);
        EXPECT_EQ(StripExtension(c.name), c.stripped);
    }
}

TEST(TextUtils, IsValidFileName)
{
    for (const char16_t* bad : {u"a/b", u"a\\b", u"a\"b", u"a|b", u"a\tb", u"a:b", u"a*b", u"a?b", u"a<b", u"a>b"}) {
        SCOPED_TRACE(CString(bad).ToUtf8());
        EXPECT_FALSE(IsValidFileName(bad));
    }
    EXPECT_TRUE(IsValidFileName(u"零件12.dxf"));
    EXPECT_TRUE(IsValidFileName(u"a b-c_d"));
}

TEST(TextUtils, FilesAndProbe)
{
    const std::filesystem::path home = getenv("ZORVA_HOME");
    std::ofstream(home / "零件.wcx") << "x";
    EXPECT_TRUE(FileExists(CString::FromUtf8((home / "零件.wcx").string())));
    EXPECT_FALSE(FileExists(CString::FromUtf8(home.string())));
    EXPECT_FALSE(FileExists(CString::FromUtf8((home / "missing").string())));

    EXPECT_TRUE(ProbeFindFile(CString::FromUtf8((home / "*.wcx").string())));
    EXPECT_TRUE(ProbeFindFile(u"/nonexistent-folder/*.*"));
    EXPECT_TRUE(ProbeFindFile(CString::FromUtf8(home.string() + "/" + std::string(400, 'a'))));
}

TEST(TextUtils, ListDrivesGivesRootAndHomeFirst)
{
    const std::string oldHome = getenv("HOME") != nullptr ? getenv("HOME") : "";
    const std::string home = getenv("ZORVA_HOME");
    setenv("HOME", home.c_str(), 1);
    CStringArray drives;
    drives.Add(u"kept");
    ListDrives(drives);
    setenv("HOME", oldHome.c_str(), 1);

    ASSERT_GE(drives.GetSize(), 3);
    EXPECT_EQ(drives[0], u"kept");
    EXPECT_EQ(drives[1], u"/");
    EXPECT_EQ(drives[2], CString::FromUtf8(home + "/"));
}

TEST(TextUtils, RemovableMediaFromTheMountTable)
{
    const char* table = "/dev/sda1 / ext4 rw 0 0\n"
                        "proc /proc proc rw 0 0\n"
                        "/dev/sdb1 /media/u/USB\\040STICK vfat rw 0 0\n"
                        "/dev/sdc1 /run/media/u/\xe7\xab\xaf vfat rw 0 0\n"
                        "/dev/sdd1 /mnt/data ext4 rw 0 0\n";
    const std::vector<CString> media = RemovableMediaIn(table);
    ASSERT_EQ(media.size(), 2u);
    EXPECT_EQ(media[0], u"/media/u/USB STICK");
    EXPECT_EQ(media[1], u"/run/media/u/端");
}
