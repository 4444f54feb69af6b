#include "app/dxf_reader.h"

#include <gtest/gtest.h>

#include <string>

TEST(DxfReader, TextValues)
{
    const struct {
        const char* name;
        std::string_view bytes;
        const char16_t* text;
    } kCases[] = {
        {"ASCII with blanks", " A  B ", u" A  B "},
        {"UTF-8", "\xE4\xB8\xAD\xE6\x96\x87", u"中文"},
        {"GBK of an older file", "\xD6\xD0\xCE\xC4", u"中文"},
        {"escape of a character the code page lacks", "R\\U+4E2D5", u"R中5"},
        {"broken escape stays", "\\U+4E2", u"\\U+4E2"},
        {"diameter, degree, plus-minus", "%%c20 %%d %%p0.1", u"Ø20 ° ±0.1"},
        {"underline toggles dropped, %% kept", "%%uA%%u 5%%%", u"A 5%"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DecodeDxfText(c.bytes), CString(c.text));
    }
}

TEST(DxfReader, PairsAndNumbers)
{
    DxfReader reader("  0\r\nSECTION\r\n  1\r\n A B \r\n 10\r\n-1.5e2\r\n");
    DxfPair pair;
    ASSERT_TRUE(reader.Next(pair));
    EXPECT_EQ(pair.code, 0);
    EXPECT_EQ(pair.value, "SECTION");
    ASSERT_TRUE(reader.Next(pair));
    EXPECT_EQ(pair.value, " A B ") << "text keeps its blanks";
    ASSERT_TRUE(reader.Next(pair));
    EXPECT_EQ(DxfDouble(pair.value), -150.0);
    EXPECT_FALSE(reader.Next(pair));
    EXPECT_FALSE(reader.Damaged());
    EXPECT_EQ(DxfDouble("+2.5"), 2.5);
    EXPECT_EQ(DxfDouble("x"), 0.0);
    EXPECT_EQ(DxfInt(" 129 "), 129);
}

// A 512-byte line buffer holds 511 bytes of a value; a longer one is cut on
// a character boundary of its encoding.
TEST(DxfReader, LongValuesCutOnACharacterBoundary)
{
    const std::string zhongUtf8 = "\xE4\xB8\xAD", zhongGbk = "\xD6\xD0";
    const auto times = [](const std::string& s, int n) {
        std::string out;
        for (int i = 0; i < n; ++i)
            out += s;
        return out;
    };
    const struct {
        const char* name;
        std::string value;
        std::size_t kept;
    } kCases[] = {
        {"511 bytes stay whole", std::string(511, 'A'), 511},
        {"ASCII past the buffer", std::string(600, 'A'), 511},
        {"UTF-8: 170 whole characters, not 170 and a third", times(zhongUtf8, 200), 510},
        {"UTF-8 ending on the boundary", "A" + times(zhongUtf8, 200), 511},
        {"UTF-8 cut before its last two bytes", "AB" + times(zhongUtf8, 200), 509},
        {"GBK: 255 whole characters, not 255 and a half", times(zhongGbk, 300), 510},
        {"GBK ending on the boundary", "A" + times(zhongGbk, 300), 511},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CutDxfValue(c.value, kDxfValueBytes), std::string_view(c.value).substr(0, c.kept));

        // Through the reader: the rest of the line is skipped, the next pair
        // reads as it stands.
        const std::string file = "1\n" + c.value + "\n8\n" + c.value + "\n10\n5\n";
        DxfReader reader(file);
        DxfPair pair;
        for (int code : {1, 8}) {
            ASSERT_TRUE(reader.Next(pair));
            EXPECT_EQ(pair.code, code);
            EXPECT_EQ(pair.value.size(), c.kept);
        }
        ASSERT_TRUE(reader.Next(pair));
        EXPECT_EQ(pair.code, 10);
        EXPECT_EQ(DxfDouble(pair.value), 5.0);
        EXPECT_FALSE(reader.Damaged());
    }
    EXPECT_EQ(DecodeDxfText(CutDxfValue(times(zhongUtf8, 200), kDxfValueBytes)), CString(std::u16string(170, u'中')));
    EXPECT_EQ(DecodeDxfText(CutDxfValue(times(zhongGbk, 300), kDxfValueBytes)), CString(std::u16string(255, u'中')));
}
