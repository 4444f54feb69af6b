#include "process/process_table.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <iterator>

#include <sys/resource.h>

#include "app/AppState.h"
#include "geometry/text_utils.h"
#include "platform/core/files.h"
#include "process/ProcessState.h"

namespace {

std::vector<std::uint8_t> ReadBytes(const CString& path)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const CString& path, const std::vector<std::uint8_t>& bytes)
{
    CreateFolder(PathFolderPart(path));
    std::ofstream out(NativePath(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

trail_sql_t Record(int number)
{
    trail_sql_t r{};
    r.processNo = number;
    r.wireDiameter = 0.18;
    r.compensation = 0.1;
    r.thickness = 40.0;
    r.efficiency = 120;
    r.finish = 3;
    r.shape = 1;
    SetMaterialText(r, CString(u"Cr12 淬火"));
    r.timeStamp = 1700000000;
    r.cutCount = 3;
    for (int k = 0; k < 7; ++k) {
        r.cuts[k].allowance = 0.01 * k;
        r.cuts[k].pulseWidth = std::uint16_t(30 + k);
        r.cuts[k].trackValueX10 = 900;
        r.cuts[k].choice[0] = std::uint8_t(k);
    }
    return r;
}

class ProcessTableTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetProcessState();
        g_ProcessTableName = u"sql_list_f1";
        path = ProcessTablePath();
    }
    CString path;
};

// MD5("\0\0") from the RFC 1321 reference implementation.
constexpr std::uint8_t kMd5OfTwoZeros[16] = {0xc4, 0x10, 0x3f, 0x12, 0x2d, 0x27, 0x67, 0x7c,
                                             0x9d, 0xb1, 0x44, 0xca, 0xe1, 0x39, 0x4a, 0x66};

TEST_F(ProcessTableTest, EmptyTableSavesAsTwoZeroBytesWithItsDigest)
{
    EXPECT_TRUE(path.ToUtf8().ends_with("zorvadraw/data/sql_list_f1")) << path.ToUtf8();
    ASSERT_TRUE(SaveProcessTable(path));
    EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{0x00, 0x00}));
    EXPECT_EQ(ReadBytes(path + u"MD5"), std::vector<std::uint8_t>(std::begin(kMd5OfTwoZeros), std::end(kMd5OfTwoZeros)));
    g_ProcessTable.push_back(Record(9));
    EXPECT_EQ(LoadProcessTable(path), TableLoad::loaded);
    EXPECT_TRUE(g_ProcessTable.empty());
}

TEST_F(ProcessTableTest, OneRecordIs442BytesAndReloadsByteIdentical)
{
    const trail_sql_t written = Record(7);
    g_ProcessTable = {written};
    ASSERT_TRUE(SaveProcessTable(path));
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 442u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 0);
    // Field offsets of the file format, read from the bytes.
    EXPECT_EQ(bytes[2 + 0], 7);                              // processNo
    EXPECT_EQ(bytes[2 + 40], 1);                             // shape
    EXPECT_EQ(std::memcmp(&bytes[2 + 41], "Cr12 ", 5), 0);   // material
    EXPECT_EQ(bytes[2 + 152], 3);                            // cutCount
    EXPECT_EQ(bytes[2 + 160 + 40 * 2 + 8], 32);              // cut 3 pulse width
    g_ProcessTable.clear();
    ASSERT_EQ(LoadProcessTable(path), TableLoad::loaded);
    ASSERT_EQ(g_ProcessTable.size(), 1u);
    EXPECT_EQ(std::memcmp(&g_ProcessTable[0], &written, sizeof(written)), 0);
    ASSERT_TRUE(SaveProcessTable(path));
    EXPECT_EQ(ReadBytes(path), bytes);
}

TEST_F(ProcessTableTest, DamagedOrUnconfirmedFileIsNotLoaded)
{
    g_ProcessTable = {Record(1), Record(2)};
    ASSERT_TRUE(SaveProcessTable(path));
    const std::vector<std::uint8_t> good = ReadBytes(path);
    const std::vector<std::uint8_t> digest = ReadBytes(path + u"MD5");
    const trail_sql_t held = Record(5);

    const struct {
        const char* name;
        std::vector<std::uint8_t> table, companion;
    } kCases[] = {
        {"one byte flipped", [&] { auto b = good; b[100] ^= 0x01; return b; }(), digest},
        {"companion of 15 bytes", good, {digest.begin(), digest.end() - 1}},
        {"companion of 17 bytes", good, [&] { auto d = digest; d.push_back(0); return d; }()},
        {"no companion", good, {}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        WriteBytes(path, c.table);
        DeleteFile(path + u"MD5");
        if (!c.companion.empty())
            WriteBytes(path + u"MD5", c.companion);
        g_ProcessTable = {held};
        EXPECT_EQ(LoadProcessTable(path), TableLoad::rejected);
        ASSERT_EQ(g_ProcessTable.size(), 1u);
        EXPECT_EQ(g_ProcessTable[0].processNo, 5);
        EXPECT_FALSE(TableFileIntact(path));
    }
    DeleteFile(path);
    EXPECT_EQ(LoadProcessTable(path), TableLoad::missing);
}

TEST_F(ProcessTableTest, SavingOverAFileThatFailedItsCheckKeepsABackup)
{
    g_ProcessTable = {Record(1), Record(2)};
    ASSERT_TRUE(SaveProcessTable(path));
    const std::vector<std::uint8_t> original = ReadBytes(path);
    DeleteFile(path + u"MD5");  // the companion was lost: the records are fine

    g_ProcessTable = {Record(3)};
    ASSERT_TRUE(SaveProcessTable(path));
    EXPECT_EQ(ReadBytes(path + u".bak"), original);
    EXPECT_EQ(ReadBytes(path).size(), 442u);
    EXPECT_TRUE(TableFileIntact(path));

    // An intact file is simply replaced; an older backup is never overwritten.
    ASSERT_TRUE(SaveProcessTable(path));
    EXPECT_FALSE(FileExists(path + u".bak2"));
    WriteBytes(path, {0x01, 0x00});
    ASSERT_TRUE(SaveProcessTable(path));
    EXPECT_EQ(ReadBytes(path + u".bak"), original);
    EXPECT_EQ(ReadBytes(path + u".bak2"), (std::vector<std::uint8_t>{0x01, 0x00}));
}

// Files may not grow past a few hundred bytes while it lives, as on a full
// disk: writes past the limit fail (the signal they raise is ignored).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    sighandler_t m_oldHandler;
};

TEST_F(ProcessTableTest, FailedSaveReportsAndLeavesBothOldFiles)
{
    g_ProcessTable = {Record(1)};
    ASSERT_TRUE(SaveProcessTable(path));
    const std::vector<std::uint8_t> table = ReadBytes(path), digest = ReadBytes(path + u"MD5");
    g_ProcessTable = {Record(1), Record(2)};
    std::string error;
    bool saved = true;
    {
        FileSizeLimit full(500);
        saved = SaveProcessTable(path, &error);
    }
    EXPECT_FALSE(saved);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(path), table);
    EXPECT_EQ(ReadBytes(path + u"MD5"), digest);
    EXPECT_EQ(ListFolder(PathFolderPart(path) + u"/*").size(), 2u) << "no temporary file is left";
}

TEST_F(ProcessTableTest, DecodeAcceptsOnlyExactCountedSizes)
{
    std::vector<std::uint8_t> one(2 + 440, 0);
    one[0] = 1;
    std::vector<std::uint8_t> longForm(6 + 440, 0);
    longForm[0] = longForm[1] = 0xFF;
    longForm[2] = 1;
    std::vector<std::uint8_t> hugeCount = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3};
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        int records;    // -1: refused
    } kCases[] = {
        {"empty list", {0, 0}, 0},
        {"one record", one, 1},
        {"long count form", longForm, 1},
        {"one byte short", {one.begin(), one.end() - 1}, -1},
        {"one byte over", [&] { auto b = one; b.push_back(0); return b; }(), -1},
        {"count promises two", [&] { auto b = one; b[0] = 2; return b; }(), -1},
        {"four billion promised", hugeCount, -1},
        {"a single byte", {0}, -1},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const auto records = DecodeProcessTable(c.bytes);
        EXPECT_EQ(records ? int(records->size()) : -1, c.records);
    }
}

// A record holds seven cuts: its pass count is read into 1..7.
TEST_F(ProcessTableTest, DecodedPassCountsStayWithinTheSevenCuts)
{
    const struct { std::int32_t stored, decoded; } kCases[] = {{12, 7}, {7, 7}, {0, 1}, {-5, 1}, {3, 3}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.stored);
        std::vector<std::uint8_t> bytes(2 + 440, 0);
        bytes[0] = 1;
        std::memcpy(bytes.data() + 2 + 152, &c.stored, sizeof(c.stored));
        EXPECT_EQ(DecodeProcessTable(bytes)->at(0).cutCount, c.decoded);
    }
}

TEST_F(ProcessTableTest, EncodeZeroesPaddingAndUsesTheLongCountFrom65535)
{
    trail_sql_t r = Record(1);
    std::memset(r.pad4, 0xAA, sizeof(r.pad4));
    std::memset(r.pad156, 0xAA, sizeof(r.pad156));
    std::vector<std::uint8_t> bytes = EncodeProcessTable({r});
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 2 + 4, bytes.begin() + 2 + 8), std::vector<std::uint8_t>(4, 0));
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 2 + 156, bytes.begin() + 2 + 160), std::vector<std::uint8_t>(4, 0));

    bytes = EncodeProcessTable(std::vector<trail_sql_t>(65535));
    ASSERT_EQ(bytes.size(), 6u + 440u * 65535u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 6),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(DecodeProcessTable(bytes)->size(), 65535u);
}

TEST(ProcessNumbers, SmallestFreeNumberFrom1To1000)
{
    const auto numbered = [](std::initializer_list<int> numbers) {
        std::vector<trail_sql_t> records;
        for (int n : numbers) {
            records.push_back(trail_sql_t{});
            records.back().processNo = n;
        }
        return records;
    };
    EXPECT_EQ(NextProcessNumber({}), 1);
    EXPECT_EQ(NextProcessNumber(numbered({1, 2, 4})), 3);
    EXPECT_EQ(NextProcessNumber(numbered({0, -3, 1001, 2})), 1) << "numbers outside 1..1000 block nothing";
    std::vector<trail_sql_t> full;
    for (int n = 1; n <= 999; ++n)
        full.push_back(numbered({n})[0]);
    EXPECT_EQ(NextProcessNumber(full), 1000);
    full.push_back(numbered({1000})[0]);
    EXPECT_EQ(NextProcessNumber(full), 0);
}

TEST(ProcessTableNames, OneFilePerCodingVersion)
{
    EXPECT_EQ(ProcessTableNameFor(11), CString(u"sql_list_h1"));
    EXPECT_EQ(ProcessTableNameFor(0), CString(u"sql_list_f1"));
    EXPECT_EQ(ProcessTableNameFor(1), CString(u"sql_list_f2"));
    EXPECT_EQ(ProcessTableNameFor(2), CString(u"sql_list_f3"));
    EXPECT_TRUE(ProcessTableNameFor(10).IsEmpty());
    EXPECT_TRUE(ProcessTableNameFor(7).IsEmpty());
}

TEST_F(ProcessTableTest, QcxImportTakesOnlyWholeLists)
{
    const CString qcx = DataRoot() + u"/list.qcx";
    g_ProcessTable = {Record(1), Record(2)};
    ASSERT_TRUE(ExportQcxFile(qcx));
    EXPECT_EQ(ReadBytes(qcx).size(), 2u + 2 * 440u);
    EXPECT_FALSE(FileExists(qcx + u"MD5")) << "lists travel without a companion";
    const std::vector<std::uint8_t> two = ReadBytes(qcx);

    g_ProcessTable = {Record(9)};
    g_ProcessTableChanged = 0;
    WriteBytes(qcx, {0x00, 0x00});
    EXPECT_EQ(ImportQcxFile(qcx), QcxImport::tooShort);
    WriteBytes(qcx, {two.begin(), two.end() - 1});
    EXPECT_EQ(ImportQcxFile(qcx), QcxImport::badFormat);
    WriteBytes(qcx, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0});
    EXPECT_EQ(ImportQcxFile(qcx), QcxImport::badFormat);
    ASSERT_EQ(g_ProcessTable.size(), 1u);
    EXPECT_EQ(g_ProcessTable[0].processNo, 9);
    EXPECT_EQ(g_ProcessTableChanged, 0);

    WriteBytes(qcx, two);
    EXPECT_EQ(ImportQcxFile(qcx), QcxImport::imported);
    ASSERT_EQ(g_ProcessTable.size(), 2u);
    EXPECT_EQ(g_ProcessTable[1].processNo, 2);
    EXPECT_EQ(g_ProcessTableChanged, 1);
}

TEST(MaterialText, BoundedAndCutBetweenCharacters)
{
    trail_sql_t r{};
    // 30 two-byte characters: 60 bytes, more than the 49 the field keeps.
    SetMaterialText(r, CString(std::u16string(30, u'钢')));
    EXPECT_EQ(strnlen(r.material, sizeof(r.material)), 48u) << "cut between characters, not inside one";
    EXPECT_EQ(MaterialText(r), CString(std::u16string(24, u'钢')));
    SetMaterialText(r, CString(std::u16string(60, u'a')));
    EXPECT_EQ(strnlen(r.material, sizeof(r.material)), 49u);
    EXPECT_EQ(r.material[49], 0);

    // A field from elsewhere: 103 bytes with no terminator, ending in half
    // a character.
    std::memset(r.material, 'x', sizeof(r.material));
    r.material[101] = char(0xB8);   // lead byte of 钢 ("B8D6")
    r.material[102] = char(0xD6);
    EXPECT_EQ(MaterialText(r), CString(std::u16string(101, u'x') + u"钢"));
    r.material[101] = 'x';
    r.material[102] = char(0xB8);
    EXPECT_EQ(MaterialText(r), CString(std::u16string(102, u'x')));
}

} // namespace
