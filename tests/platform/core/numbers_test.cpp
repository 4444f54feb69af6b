#include "platform/core/numbers.h"

#include "platform/core/CString.h"
#include "platform/core/CStringA.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace {

// Sets the process locale to one whose decimal point is a comma (as a German
// or French desktop session does) and puts "C" back at the end.
class CommaLocale : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU.UTF-8", "de_DE"}) {
            if (setlocale(LC_ALL, name) != nullptr) {
                m_name = name;
                break;
            }
        }
        ASSERT_FALSE(m_name.empty()) << "no decimal-comma locale; scripts/deps installs locales-all";
        char probe[16];
        snprintf(probe, sizeof probe, "%.1f", 2.5);
        ASSERT_STREQ(probe, "2,5") << m_name << " has no decimal comma";
    }
    void TearDown() override { setlocale(LC_ALL, "C"); }

    std::string m_name;
};

} // namespace

TEST_F(CommaLocale, FormattingKeepsThePoint)
{
    EXPECT_EQ(FormatDouble(2.5, 1), "2.5");
    EXPECT_EQ(FormatC("%.3f|%g", 2.5, 0.25), "2.500|0.25");

    CString wide;
    wide.Format(u"%.4f %f %g %e", 2.5, 2.5, 2.5, 2.5);
    EXPECT_EQ(wide.ToUtf8(), "2.5000 2.500000 2.5 2.500000e+00");

    CStringA narrow;
    narrow.Format("%.1f", 2.5);
    EXPECT_STREQ(narrow.GetString(), "2.5");
}

TEST_F(CommaLocale, ParsingReadsThePoint)
{
    size_t used = 0;
    EXPECT_EQ(StrToDouble(std::string_view("2.5"), &used), 2.5);
    EXPECT_EQ(used, 3u);
    EXPECT_EQ(StrToDouble(std::u16string_view(u"2.5"), &used), 2.5);
    EXPECT_EQ(used, 3u);
    // The comma is no decimal separator here: the number ends before it.
    EXPECT_EQ(StrToDouble(std::string_view("2,5"), &used), 2.0);
    EXPECT_EQ(used, 1u);
}

TEST(Numbers, FormatDouble)
{
    EXPECT_EQ(FormatDouble(2.5, 1), "2.5");
    EXPECT_EQ(FormatDouble(1.23456, 4), "1.2346");
    EXPECT_EQ(FormatDouble(-0.00001, 4), "-0.0000");
    EXPECT_EQ(FormatDouble(3.5, 0), "4");
    EXPECT_EQ(FormatDouble(1e300, 0).size(), 301u);
}

TEST(Numbers, StrToDoubleFollowsWcstodRules)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char16_t* name;
        const char16_t* text;
        double value;
        size_t used;
    } kCases[] = {
        {u"plain", u"12.5", 12.5, 4},
        {u"blanks, sign, exponent, junk", u" \t-12.5e2xyz", -1250, 9},
        {u"plus and bare fraction", u"+.5", 0.5, 3},
        {u"point without fraction", u"7.", 7, 2},
        {u"exponent without digits", u"1e", 1, 1},
        {u"exponent sign without digits", u"1e+", 1, 1},
        {u"no number", u"abc", 0, 0},
        {u"sign alone", u"-", 0, 0},
        {u"point alone", u".", 0, 0},
        {u"empty", u"", 0, 0},
        {u"blanks only", u"   ", 0, 0},
        {u"stops at a CJK character", u"3.5端", 3.5, 3},
        {u"CJK first", u"端3", 0, 0},
        {u"infinity", u"-inf", -inf, 4},
        {u"infinity spelled out", u"Infinity!", inf, 8},
        {u"hexadecimal", u"0x10", 16, 4},
        {u"overflow", u"1e999", inf, 5},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(CString(c.name).ToUtf8());
        size_t used = 99;
        EXPECT_EQ(StrToDouble(std::u16string_view(c.text), &used), c.value);
        EXPECT_EQ(used, c.used);
        const std::string narrow = CString(c.text).ToUtf8();
        EXPECT_EQ(StrToDouble(std::string_view(narrow), &used), c.value);
        EXPECT_EQ(used, c.used);
    }
    size_t used = 0;
    EXPECT_TRUE(std::isnan(StrToDouble(std::string_view("nan"), &used)));
    EXPECT_EQ(used, 3u);
    EXPECT_EQ(StrToDouble(std::string_view("42")), 42.0);
}

TEST(Numbers, StrToDoubleStopsAtTheViewEnd)
{
    const std::string text = "12345";
    size_t used = 0;
    EXPECT_EQ(StrToDouble(std::string_view(text).substr(0, 2), &used), 12.0);
    EXPECT_EQ(used, 2u);
}

// A dialog's number field takes its text only when the whole of it is one
// number; wcstod would read "1.5mm" as 1.5 and "abc" as 0.
TEST(Numbers, WholeNumberText)
{
    const struct {
        const char16_t* text;
        bool whole;
        double value;
    } kCases[] = {
        {u"12", true, 12.0},      {u" -0.105 ", true, -0.105}, {u"+3", true, 3.0},   {u"1e2", true, 100.0},
        {u".5", true, 0.5},       {u"\t7\r\n", true, 7.0},     {u"", false, 0},      {u"  ", false, 0},
        {u"abc", false, 0},       {u"x1", false, 0},           {u"1.5mm", false, 0}, {u"1..2", false, 0},
        {u"-", false, 0},         {u".", false, 0},            {u"1,5", false, 0},   {u"nan", false, 0},
        {u"inf", false, 0},       {u"1e999", false, 0},        {u"１", false, 0},    {u"1 2", false, 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(CString(c.text).ToUtf8());
        double value = -7.0;
        EXPECT_EQ(ParseWholeNumber(std::u16string_view(c.text), value), c.whole);
        EXPECT_EQ(value, c.whole ? c.value : -7.0) << "a refused text leaves the value";
    }
}
