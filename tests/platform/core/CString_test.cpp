#include "platform/core/CString.h"

#include "platform/core/exceptions.h"

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

TEST(CString, ConstructionAndConversion)
{
    EXPECT_EQ(CString("端A1").Str(), u"端A1");              // UTF-8 source text
    EXPECT_EQ(CString(u"端A1").ToUtf8(), "\xe7\xab\xaf" "A1");
    EXPECT_EQ(CString(u"abcdef", 3), u"abc");
    EXPECT_EQ(CString(u'-', 3), u"---");
    EXPECT_EQ(CString(u'-', -1), u"");
    EXPECT_EQ(CString(static_cast<const char16_t*>(nullptr)), u"");
    EXPECT_EQ(CString::FromUtf8("\xe7\xab\xaf"), u"端");
    EXPECT_EQ(u"a" + CString(u"b") + u'c' + "端", u"abc端");
}

TEST(CString, IndexingStopsAtTheEnd)
{
    CString s(u"ab");
    EXPECT_EQ(s[1], u'b');
    EXPECT_EQ(s.GetAt(2), 0);                                // the terminator
    EXPECT_THROW(s.GetAt(3), CInvalidArgException);
    EXPECT_THROW(s.GetAt(-1), CInvalidArgException);
    s.SetAt(0, u'x');
    EXPECT_EQ(s, u"xb");
    EXPECT_THROW(s.SetAt(2, u'y'), CInvalidArgException);
}

TEST(CString, Trim)
{
    const struct {
        const char* name;
        CString got;
        const char16_t* want;
    } kCases[] = {
        {"both ends", CString(u" \t a b \r\n").Trim(), u"a b"},
        {"ideographic space", CString(u"\u3000端\u3000").Trim(), u"端"},
        {"left", CString(u"  a ").TrimLeft(), u"a "},
        {"right", CString(u"  a ").TrimRight(), u"  a"},
        {"only blanks", CString(u" \t ").Trim(), u""},
        {"one char", CString(u"xxaxx").Trim(u'x'), u"a"},
        {"set", CString(u"0.0100").TrimRight(u"0").TrimLeft(u"0"), u".01"},
        {"set of two", CString(u"-+a+-").Trim(u"+-"), u"a"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got, c.want);
    }
}

TEST(CString, FindAndSlices)
{
    const CString s(u"ab,cd,ef");
    EXPECT_EQ(s.Find(u','), 2);
    EXPECT_EQ(s.Find(u',', 3), 5);
    EXPECT_EQ(s.Find(u',', 6), -1);
    EXPECT_EQ(s.Find(u',', 99), -1);
    EXPECT_EQ(s.Find(u"cd"), 3);
    EXPECT_EQ(s.Find(u"zz"), -1);
    EXPECT_EQ(s.ReverseFind(u','), 5);
    EXPECT_EQ(s.ReverseFind(u'z'), -1);
    EXPECT_EQ(s.FindOneOf(u"dc"), 3);
    EXPECT_EQ(s.FindOneOf(u""), -1);

    EXPECT_EQ(s.Mid(3), u"cd,ef");
    EXPECT_EQ(s.Mid(3, 2), u"cd");
    EXPECT_EQ(s.Mid(6, 99), u"ef");
    EXPECT_EQ(s.Mid(99), u"");
    EXPECT_EQ(s.Mid(-2, 2), u"ab");
    EXPECT_EQ(s.Left(2), u"ab");
    EXPECT_EQ(s.Left(99), s);
    EXPECT_EQ(s.Left(-1), u"");
    EXPECT_EQ(s.Right(2), u"ef");
    EXPECT_EQ(s.Right(99), s);
    EXPECT_EQ(s.SpanExcluding(u","), u"ab");
    EXPECT_EQ(CString(u"123abc").SpanIncluding(u"0123456789"), u"123");

    int pos = 0;
    EXPECT_EQ(s.Tokenize(u",", pos), u"ab");
    EXPECT_EQ(s.Tokenize(u",", pos), u"cd");
    EXPECT_EQ(s.Tokenize(u",", pos), u"ef");
    EXPECT_EQ(s.Tokenize(u",", pos), u"");
    EXPECT_EQ(pos, -1);
}

TEST(CString, EditInPlace)
{
    CString s(u"a.b.c");
    EXPECT_EQ(s.Replace(u'.', u'/'), 2);
    EXPECT_EQ(s, u"a/b/c");
    EXPECT_EQ(s.Replace(u"/", u"::"), 2);
    EXPECT_EQ(s, u"a::b::c");
    EXPECT_EQ(s.Replace(u"", u"x"), 0);
    EXPECT_EQ(s.Replace(u"::", u""), 2);
    EXPECT_EQ(s, u"abc");
    EXPECT_EQ(s.Insert(1, u'-'), 4);
    EXPECT_EQ(s.Insert(99, u"端"), 5);
    EXPECT_EQ(s, u"a-bc端");
    EXPECT_EQ(s.Delete(1), 4);
    EXPECT_EQ(s.Delete(3, 99), 3);
    EXPECT_EQ(s, u"abc");
    EXPECT_EQ(CString(u"a-b-").Remove(u'-'), 2);
    EXPECT_EQ(CString(u"AbÉ端").MakeLower(), u"abé端");
    EXPECT_EQ(CString(u"aBé端").MakeUpper(), u"ABÉ端");

    CString buffer;
    char16_t* p = buffer.GetBuffer(10);
    p[0] = u'h';
    p[1] = u'i';
    p[2] = 0;
    buffer.ReleaseBuffer();
    EXPECT_EQ(buffer, u"hi");
}

TEST(CString, Comparisons)
{
    const CString a(u"abc");
    EXPECT_TRUE(a == u"abc");
    EXPECT_TRUE(u"abc" == a);
    EXPECT_TRUE(a == "abc");
    EXPECT_TRUE(a != u"abd");
    EXPECT_TRUE(a < CString(u"abd"));
    EXPECT_TRUE(a < u"b");
    EXPECT_TRUE(CString(u"ab") < a);
    EXPECT_EQ(a.Compare(u"abd"), -1);
    EXPECT_EQ(a.Compare(u"ab"), 1);
    EXPECT_EQ(a.Compare(u"abc"), 0);
    EXPECT_EQ(CString(u"ABC").CompareNoCase(u"abc"), 0);
    EXPECT_EQ(CString(u"ABC").CompareNoCase(u"abd"), -1);
    EXPECT_EQ(CString(u"ab").CompareNoCase(u"ABC"), -1);
    EXPECT_EQ(CString(u"Z").Compare(u"a"), -1);              // by code unit, case counts
    EXPECT_LT(CString(u"_").CompareNoCase(u"A"), 0);         // compared as lower case
}
