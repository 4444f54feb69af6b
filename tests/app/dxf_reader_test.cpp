#include "app/dxf_reader.h"

#include <gtest/gtest.h>

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
