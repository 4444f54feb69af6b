#include "platform/core/codepage.h"

#include "platform/core/CString.h"
#include "platform/core/CStringA.h"

#include <gtest/gtest.h>

#include <string>

TEST(Codepage, GbkRoundTrip)
{
    const std::string bytes = "\xb6\xcb\x41\x31";   // 端A1
    EXPECT_EQ(Utf16ToGbk(u"端A1"), bytes);
    EXPECT_EQ(GbkToUtf16(bytes), u"端A1");

    const CStringA narrow = WideToGbk(CString(u"端A1"));
    EXPECT_EQ(narrow.Str(), bytes);
    EXPECT_EQ(GbkToWide(narrow), CString(u"端A1"));

    // "请选择目录：" ends in the full-width colon A3 BA.
    EXPECT_EQ(Utf16ToGbk(u"请选择目录："), "\xc7\xeb\xd1\xa1\xd4\xf1\xc4\xbf\xc2\xbc\xa3\xba");
}

TEST(Codepage, GbkCannotHoldBecomesQuestionMark)
{
    EXPECT_EQ(Utf16ToGbk(u"a\uD55Cb\u0151"), "a?b?");   // Hangul and ő are not in GBK
    EXPECT_EQ(Utf16ToGbk(u"x\U0001F600y"), "x?y");      // one '?' for a surrogate pair
    EXPECT_EQ(Utf16ToGbk(std::u16string(u"a\xD800" u"b")), "a?b");   // lone surrogate
    EXPECT_EQ(Utf16ToGbk(u""), "");
}

TEST(Codepage, InvalidGbkBytesBecomeReplacement)
{
    EXPECT_EQ(GbkToUtf16("a\xff" "b"), u"a\uFFFDb");
    EXPECT_EQ(GbkToUtf16("a\xb6"), u"a\uFFFD");              // lead byte cut off at the end
    EXPECT_EQ(GbkToUtf16("\xb6 x"), u"\uFFFD x");             // bad trail byte is kept
    EXPECT_EQ(GbkToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(Codepage, Utf8Utf16)
{
    const struct {
        const char* name;
        std::string utf8;
        std::u16string utf16;
    } kCases[] = {
        {"ASCII", "A1", u"A1"},
        {"two bytes", "\xc3\xa9", u"\u00e9"},
        {"three bytes", "\xe7\xab\xaf", u"端"},
        {"four bytes", "\xf0\x9f\x98\x80", u"\U0001F600"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
    }
}

TEST(Codepage, BrokenUtf8BecomesReplacement)
{
    const struct {
        const char* name;
        std::string utf8;
        std::u16string utf16;
    } kCases[] = {
        {"stray continuation", "a\x80z", u"a\uFFFDz"},
        {"cut at the end", "a\xe7\xab", u"a\uFFFD\uFFFD"},
        {"overlong slash", "\xc0\xaf", u"\uFFFD\uFFFD"},
        {"encoded surrogate", "\xed\xa0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"beyond U+10FFFF", "\xf4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"bad continuation", "\xe7" "ab", u"\uFFFDab"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
    }
    EXPECT_EQ(Utf16ToUtf8(std::u16string(u"\xDC00x")), "\xef\xbf\xbdx");
}
