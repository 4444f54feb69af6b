#include "platform/core/CArchive.h"

#include "platform/core/CArray.h"
#include "platform/core/CFile.h"
#include "platform/core/CMemFile.h"
#include "tests/support/archive_bytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

TEST(CArchive, CountsUseSixteenBitsBelowFFFFElseMarkerAndThirtyTwo)
{
    const struct { size_t count; const char* hex; } kCases[] = {
        {0, "00 00"},
        {1, "01 00"},
        {0xFFFE, "FE FF"},
        {0xFFFF, "FF FF FF FF 00 00"},
        {70000, "FF FF 70 11 01 00"},
        {0xFFFFFFFF, "FF FF FF FF FF FF"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.hex);
        EXPECT_EQ(HexBytes(c.hex), Stored([&](CArchive& ar) { ar.WriteCount(c.count); }));
        if (c.count > 70000)
            continue;
        // A count is read back only when at least that many bytes follow.
        Loaded(HexBytes(c.hex) + Bytes(c.count), [&](CArchive& ar) { EXPECT_EQ(c.count, ar.ReadCount()); });
        if (c.count > 0) {
            EXPECT_EQ(CArchiveException::endOfFile,
                      LoadFailure(HexBytes(c.hex) + Bytes(c.count - 1), [](CArchive& ar) { ar.ReadCount(); }));
        }
    }
}

TEST(CArchive, PointIsTwoLittleEndianDoubles)
{
    EXPECT_EQ(HexBytes("00 00 00 00 00 00 F8 3F 00 00 00 00 00 00 00 C0"),
              Stored([](CArchive& ar) { ar << 1.5 << -2.0; }));
    Loaded(HexBytes("00 00 00 00 00 00 F8 3F 00 00 00 00 00 00 00 C0"), [](CArchive& ar) {
        double x = 0, y = 0;
        ar >> x >> y;
        EXPECT_EQ(1.5, x);
        EXPECT_EQ(-2.0, y);
    });
}

TEST(CArchive, ScalarsAreLittleEndianOfTheirOwnWidth)
{
    const Bytes expected = HexBytes(
        "01 "                           // bool true
        "FF "                           // int8 -1
        "34 12 "                        // uint16 0x1234
        "FE FF FF FF "                  // int32 -2
        "78 56 34 12 "                  // uint32 0x12345678
        "08 07 06 05 04 03 02 01 "      // int64 0x0102030405060708
        "00 00 80 3F "                  // float 1.0
        "2C 7A");                       // char16_t U+7A2C
    EXPECT_EQ(expected, Stored([](CArchive& ar) {
        ar << true << int8_t(-1) << uint16_t(0x1234) << int32_t(-2) << uint32_t(0x12345678)
           << int64_t(0x0102030405060708) << 1.0f << char16_t(0x7A2C);
    }));
    Loaded(expected, [](CArchive& ar) {
        bool b;
        int8_t i8;
        uint16_t u16;
        int32_t i32;
        uint32_t u32;
        int64_t i64;
        float f;
        char16_t ch;
        ar >> b >> i8 >> u16 >> i32 >> u32 >> i64 >> f >> ch;
        EXPECT_TRUE(b);
        EXPECT_EQ(-1, i8);
        EXPECT_EQ(0x1234, u16);
        EXPECT_EQ(-2, i32);
        EXPECT_EQ(0x12345678u, u32);
        EXPECT_EQ(0x0102030405060708, i64);
        EXPECT_EQ(1.0f, f);
        EXPECT_EQ(0x7A2C, ch);
        EXPECT_EQ(0u, ar.BytesLeft());
    });
}

TEST(CArchive, WideStringLengthForms)
{
    // Prefix: 0xFF, the marker 0xFFFE (bytes FE FF), then the length.
    const struct { int length; const char* prefix; } kCases[] = {
        {0, "FF FE FF 00"},
        {1, "FF FE FF 01"},
        {254, "FF FE FF FE"},
        {255, "FF FE FF FF FF 00"},
        {65533, "FF FE FF FF FD FF"},
        {65534, "FF FE FF FF FF FF FE FF 00 00"},
        {65535, "FF FE FF FF FF FF FF FF 00 00"},
        {70000, "FF FE FF FF FF FF 70 11 01 00"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.length);
        std::u16string text(static_cast<size_t>(c.length), u'端');
        if (c.length > 0)
            text.back() = u'A';
        Bytes expected = HexBytes(c.prefix);
        for (char16_t ch : text) {
            expected.push_back(static_cast<uint8_t>(ch & 0xFF));
            expected.push_back(static_cast<uint8_t>(ch >> 8));
        }
        EXPECT_EQ(expected, Stored([&](CArchive& ar) { ar << CString(text); }));
        Loaded(expected, [&](CArchive& ar) {
            CString read(u"old");
            ar >> read;
            EXPECT_TRUE(read.Str() == text);
            EXPECT_EQ(0u, ar.BytesLeft());
        });
    }
}

TEST(CArchive, NarrowStringsReadAsGbk)
{
    const struct { const char* hex; const char16_t* text; } kCases[] = {
        {"00", u""},
        {"03 'ABC'", u"ABC"},
        {"04 B6 CB 41 31", u"端A1"},
        {"FF 03 00 'abc'", u"abc"},                 // 16-bit length
        {"FF FF FF 02 00 00 00 'xy'", u"xy"},       // 32-bit length
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.hex);
        Loaded(HexBytes(c.hex), [&](CArchive& ar) {
            CString read;
            ar >> read;
            EXPECT_EQ(CString(c.text), read);
        });
    }
}

TEST(CArchive, LengthsAndCountsBeyondTheDataThrowWithoutAllocating)
{
    auto readString = [](CArchive& ar) { CString s; ar >> s; };
    auto readRecords = [](CArchive& ar) { CArray<double> a; a.Serialize(ar); };
    const struct { const char* name; const char* hex; std::function<void(CArchive&)> read; } kCases[] = {
        {"wide string, 5 of 1 characters", "FF FE FF 05 41 00", readString},
        {"wide string, 32-bit 0xFFFFFFFE", "FF FE FF FF FF FF FE FF FF FF 41 00", readString},
        {"wide string, 64-bit length", "FF FE FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF 7F", readString},
        {"narrow string, 0xFFFFFFFE bytes", "FF FF FF FE FF FF FF 41", readString},
        {"string cut inside its length", "FF FE FF FF FF", readString},
        {"record array, count 0xFFFFFFFF", "FF FF FF FF FF FF 00 00 00 00 00 00 00 00", readRecords},
        {"record array, 2 counted, 1 present", "02 00 00 00 00 00 00 00 F0 3F", readRecords},
        {"double cut short", "00 00 00 00", [](CArchive& ar) { double d; ar >> d; }},
        {"count cut short", "FF FF 01 00", [](CArchive& ar) { ar.ReadCount(); }},
        {"count 0xFFFFFFFF alone", "FF FF FF FF FF FF 00", [](CArchive& ar) { ar.ReadCount(); }},
        {"empty stream", "", [](CArchive& ar) { uint8_t b; ar >> b; }},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CArchiveException::endOfFile, LoadFailure(HexBytes(c.hex), c.read));
    }
}

TEST(CArchive, WrongDirectionThrows)
{
    EXPECT_EQ(CArchiveException::readOnly, LoadFailure(HexBytes("00 00"), [](CArchive& ar) { ar << 1; }));
    int cause = -1;
    try {
        Stored([](CArchive& ar) { int i; ar >> i; });
    } catch (const CArchiveException& e) {
        cause = e.m_cause;
    }
    EXPECT_EQ(CArchiveException::writeOnly, cause);
}

TEST(CArchive, BlocksAcrossTheBufferAndBytesLeft)
{
    // A 128-byte buffer: small values, a block larger than the buffer, small values.
    Bytes block(1000);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<uint8_t>(i * 13);
    Bytes stored = Stored([&](CArchive& ar) {
        ar.Write(nullptr, 0);   // an empty vector's data()
        for (int i = 0; i < 50; ++i)
            ar << i;
        ar.Write(block.data(), static_cast<unsigned>(block.size()));
        ar << 0x5A5A5A5A;
    }, 128);
    ASSERT_EQ(50 * 4 + 1000 + 4u, stored.size());
    Loaded(stored, [&](CArchive& ar) {
        EXPECT_EQ(0u, ar.Read(nullptr, 0));
        for (int i = 0; i < 50; ++i) {
            int v = -1;
            ar >> v;
            ASSERT_EQ(i, v);
        }
        EXPECT_EQ(1004u, ar.BytesLeft());
        Bytes read(1000);
        EXPECT_EQ(1000u, ar.Read(read.data(), 1000));
        EXPECT_EQ(block, read);
        int last = 0;
        ar >> last;
        EXPECT_EQ(0x5A5A5A5A, last);
        uint8_t more;
        EXPECT_EQ(0u, ar.Read(&more, 1));
    }, 128);
}

TEST(CArchive, ClosingALoadingArchiveLeavesTheFileAtTheNextUnreadByte)
{
    Bytes bytes = HexBytes("01 00 00 00 02 00 00 00 03 00 00 00");
    CMemFile file(bytes.data(), static_cast<unsigned>(bytes.size()));
    {
        CArchive ar(&file, CArchive::load);
        int first = 0;
        ar >> first;
        EXPECT_EQ(1, first);
        ar.Close();
    }
    EXPECT_EQ(4u, file.GetPosition());
}

TEST(CArchive, StoresIntoAFileThroughItsBuffer)
{
    const CString path = CString::FromUtf8(std::string(std::getenv("ZORVA_HOME")) + "/图.wcx");
    {
        CFile file(path, CFile::modeCreate | CFile::modeReadWrite);
        CArchive ar(&file, CArchive::store);
        ar << int32_t(100052) << int32_t(1078);
        for (int i = 0; i < 3000; ++i)
            ar << double(i);
        ar.Close();
        file.Close();
    }
    CFile file(path, CFile::modeRead | CFile::shareDenyNone);
    EXPECT_EQ(8 + 3000 * 8u, file.GetLength());
    CArchive ar(&file, CArchive::load);
    int32_t magic = 0, version = 0;
    ar >> magic >> version;
    EXPECT_EQ(100052, magic);
    EXPECT_EQ(1078, version);
    EXPECT_EQ(3000 * 8u, ar.BytesLeft());
    for (int i = 0; i < 3000; ++i) {
        double d = -1;
        ar >> d;
        ASSERT_EQ(double(i), d);
    }
}

TEST(CArchive, CountsCoveredByTheBufferDoNotAskTheFile)
{
    // A memory file that counts how often the archive asks its length.
    class CountingFile : public CMemFile {
    public:
        using CMemFile::CMemFile;
        uint64_t GetLength() const override
        {
            ++lengthAsked;
            return CMemFile::GetLength();
        }
        mutable int lengthAsked = 0;
    };
    Bytes stored = Stored([](CArchive& ar) {
        for (int i = 0; i < 1000; ++i) {
            ar.WriteCount(1);
            ar << CString(u"文字");
        }
    });
    CountingFile file(stored.data(), static_cast<unsigned>(stored.size()));
    CArchive ar(&file, CArchive::load);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(1u, ar.ReadCount());
        ASSERT_EQ(CString(u"文字"), ar.ReadWideString());
    }
    // Before, every count and string asked twice: 2000 times here.
    EXPECT_LT(file.lengthAsked, 20);
}

TEST(CArchive, ReadsEndOnBlockBoundariesOfTheFile)
{
    // A memory file that records where each read of the archive ends.
    class RecordingFile : public CMemFile {
    public:
        using CMemFile::CMemFile;
        unsigned Read(void* data, unsigned count) override
        {
            const unsigned n = CMemFile::Read(data, count);
            reads.push_back({static_cast<uint64_t>(GetPosition()), count});
            return n;
        }
        struct Done {
            uint64_t end;
            unsigned asked;
        };
        std::vector<Done> reads;
    };
    // 37 bytes of something else, then 200 records of 13 bytes (an int and
    // a double and a flag), read through a 128-byte buffer.
    Bytes bytes(37, 0xEE);
    const Bytes records = Stored([](CArchive& ar) {
        for (int i = 0; i < 200; ++i)
            ar << int32_t(i) << double(i) * 0.5 << uint8_t(i & 1);
    });
    bytes.insert(bytes.end(), records.begin(), records.end());
    RecordingFile file(bytes.data(), static_cast<unsigned>(bytes.size()));
    file.Seek(37, CFile::begin);
    // Records from..to-1 through a new archive, which is closed after them.
    auto readRecords = [&file](int from, int to) {
        CArchive ar(&file, CArchive::load, 128);
        for (int i = from; i < to; ++i) {
            int32_t n = -1;
            double d = -1;
            uint8_t f = 9;
            ar >> n >> d >> f;
            ASSERT_EQ(i, n);
            ASSERT_EQ(i * 0.5, d);
            ASSERT_EQ(i & 1, f);
        }
        ar.Close();
    };
    readRecords(0, 100);
    // Closing leaves the file at the next unread byte; a new archive goes on.
    EXPECT_EQ(37u + 100 * 13, file.GetPosition());
    readRecords(100, 200);
    ASSERT_GT(file.reads.size(), 10u);
    for (const auto& r : file.reads) {
        EXPECT_LE(r.asked, 128u);
        EXPECT_TRUE(r.end % 128 == 0 || r.end == bytes.size()) << "a read ended at " << r.end;
    }
}
