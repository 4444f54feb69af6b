#include "platform/core/CString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace {

CString Fmt(const char16_t* format, auto... args)
{
    CString s;
    s.Format(format, args...);
    return s;
}

} // namespace

TEST(CString, FormatConversions)
{
    const CString name(u"端子");
    const struct {
        const char* name;
        CString got;
        const char16_t* want;
    } kCases[] = {
        {"int", Fmt(u"%d", -42), u"-42"},
        {"wide text", Fmt(u"<%s>", u"端A1"), u"<端A1>"},
        {"CString argument", Fmt(u"%s!", name), u"端子!"},
        {"fixed", Fmt(u"%f", 2.5), u"2.500000"},
        {"four decimals", Fmt(u"%.4f", 1.23456), u"1.2346"},
        {"zero padded", Fmt(u"%03d", 7), u"007"},
        {"zero padded negative", Fmt(u"%03d", -7), u"-07"},
        {"left in 30", Fmt(u"[%-30s]", u"ab"), u"[ab                            ]"},
        {"right in 5", Fmt(u"[%5s]", u"端子"), u"[   端子]"},
        {"precision cuts text", Fmt(u"%.2s", u"abcdef"), u"ab"},
        {"wide char", Fmt(u"%c%c", u'端', u'A'), u"端A"},
        {"hex", Fmt(u"%x %X %08x", 255, 255, 0xBEEFu), u"ff FF 0000beef"},
        {"64-bit", Fmt(u"%I64d", INT64_C(-1234567890123)), u"-1234567890123"},
        {"long long", Fmt(u"%lld %llu", LLONG_MIN, ULLONG_MAX), u"-9223372036854775808 18446744073709551615"},
        {"unsigned of negative int", Fmt(u"%u", -1), u"4294967295"},
        {"short", Fmt(u"%hd", 70000), u"4464"},
        {"narrow UTF-8 text", Fmt(u"%hs|%S", "端", "x"), u"端|x"},
        {"exponent and general", Fmt(u"%e %g %g", 12345.678, 0.0001, 1e20), u"1.234568e+04 0.0001 1e+20"},
        {"star width", Fmt(u"[%*d]", 4, 5), u"[   5]"},
        {"percent", Fmt(u"100%%"), u"100%"},
        {"null text", Fmt(u"%s", static_cast<const char16_t*>(nullptr)), u"(null)"},
        {"unknown conversion kept", Fmt(u"%y"), u"%y"},
        {"lone percent at end", Fmt(u"a%"), u"a%"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got.ToUtf8(), CString(c.want).ToUtf8());
    }
}

TEST(CString, FormatOwnTextAsFormat)
{
    CString s(u"%d-%d");
    s.Format(s, 1, 2);
    EXPECT_EQ(s, u"1-2");
    s.AppendFormat(u"/%s", u"x");
    EXPECT_EQ(s, u"1-2/x");
}
