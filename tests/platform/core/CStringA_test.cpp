#include "platform/core/CStringA.h"

#include "platform/core/exceptions.h"

#include <gtest/gtest.h>

TEST(CStringA, BytesAndFormat)
{
    CStringA s;
    s.Format("%-6s|%03d|%.2f|%c|%lld", "ab", 7, 1.005, 'x', 1LL << 40);
    EXPECT_EQ(s, "ab    |007|1.00|x|1099511627776");
    s.AppendFormat("%s", std::string("!"));
    EXPECT_EQ(s.Right(2), "6!");

    const CStringA gbk("\xb6\xcb" "A1");
    EXPECT_EQ(gbk.GetLength(), 4);
    EXPECT_EQ(static_cast<unsigned char>(gbk[0]), 0xb6);
    EXPECT_EQ(gbk.Find("A"), 2);
}

TEST(CStringA, TrimFindSlices)
{
    CStringA s("  a,b ;\r\n");
    EXPECT_EQ(s.Trim(), "a,b ;");
    EXPECT_EQ(s.Find(','), 1);
    EXPECT_EQ(s.ReverseFind(' '), 3);
    EXPECT_EQ(s.Mid(2, 1), "b");
    EXPECT_EQ(s.Left(1), "a");
    EXPECT_EQ(s.Right(1), ";");
    EXPECT_EQ(s.Mid(99), "");
    EXPECT_EQ(CStringA("xxaxx").Trim('x'), "a");
    EXPECT_EQ(CStringA("AbC").MakeLower(), "abc");
    EXPECT_EQ(CStringA("AbC").CompareNoCase("aBc"), 0);
    CStringA r("a--b");
    EXPECT_EQ(r.Replace("--", "+"), 1);
    EXPECT_EQ(r + 'c' + "d", "a+bcd");
    EXPECT_THROW(r.GetAt(4), CInvalidArgException);
}
