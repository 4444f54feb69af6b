#include "app/CSplitStr.h"

#include "platform/core/CStringArray.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<CString> Pieces(const CStringArray& array)
{
    std::vector<CString> out;
    for (int i = 0; i < array.GetSize(); ++i)
        out.push_back(array[i]);
    return out;
}

std::vector<CString> Split(const char16_t* text, bool skipEmpty, const char16_t* separator = u",")
{
    CSplitStr splitter;
    splitter.SetSeparator(separator);
    splitter.m_skipEmpty = skipEmpty;
    splitter.SetText(text);
    CStringArray pieces;
    splitter.Split(pieces);
    return Pieces(pieces);
}

} // namespace

TEST(CSplitStr, StartsWithCommaAndSkipsEmpty)
{
    CSplitStr splitter;
    EXPECT_EQ(splitter.GetSeparator(), u",");
    EXPECT_TRUE(splitter.m_skipEmpty);
    EXPECT_EQ(splitter.GetText(), u"");
    EXPECT_TRUE(splitter.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_STREQ(splitter.GetRuntimeClass()->m_lpszClassName, "CSplitStr");
    splitter.SetText(u" \t10, 20\r\n");
    EXPECT_EQ(splitter.GetText(), u"10, 20");
}

TEST(CSplitStr, Pieces)
{
    using V = std::vector<CString>;
    const struct {
        const char* name;
        const char16_t* text;
        bool skipEmpty;
        const char16_t* separator;
        V pieces;
    } kCases[] = {
        {"ends trimmed", u" 10,20 ", true, u",", V{u"10", u"20"}},
        {"trailing separator", u"10,20,", true, u",", V{u"10", u"20"}},
        {"empty piece skipped", u"10,,20", true, u",", V{u"10", u"20"}},
        {"empty piece kept", u"10,,20", false, u",", V{u"10", u"", u"20"}},
        {"blank stays in the piece", u"10, 20", true, u",", V{u"10", u" 20"}},
        {"empty text skipped", u"", true, u",", V{}},
        {"blank text skipped", u" \t ", true, u",", V{}},
        {"empty text kept", u"", false, u",", V{u""}},
        {"no separator", u" 12.5 端 ", true, u",", V{u"12.5 端"}},
        {"leading separator kept", u",5", false, u",", V{u"", u"5"}},
        {"other separator", u"1;2", true, u";", V{u"1", u"2"}},
        {"longer separator", u"1, 2, , 3", true, u", ", V{u"1", u"2", u"3"}},
        {"empty separator, once endless: no split", u" 1,2 ", true, u"", V{u"1,2"}},
        {"empty separator and empty text", u"", true, u"", V{}},
        {"empty separator, empty text kept", u"", false, u"", V{u""}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Split(c.text, c.skipEmpty, c.separator), c.pieces);
    }
}

TEST(CSplitStr, AppendsToTheArray)
{
    CSplitStr splitter;
    splitter.SetText(u"1,2");
    CStringArray pieces;
    pieces.Add(u"kept");
    splitter.Split(pieces);
    splitter.Split(pieces);
    EXPECT_EQ(Pieces(pieces), (std::vector<CString>{u"kept", u"1", u"2", u"1", u"2"}));
}
