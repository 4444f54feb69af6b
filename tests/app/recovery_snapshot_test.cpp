#include "app/recovery_snapshot.h"

#include "tests/support/archive_bytes.h"
#include "doc_fixture.h"
#include "platform/core/files.h"
#include "shared/CMD5Checksum.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::vector<std::uint8_t> ReadAll(const CString& path)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const CString& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class SnapshotTest : public DocTest {
protected:
    // Two units (ids 1 and 2, the first deleted), counter 5, a file name.
    void WriteSample()
    {
        CUnit* a = Add<CUnit>();
        CUnit* b = Add<CUnit>();
        b->inputPoints[0] = x_Vector(3.0, 4.0);
        doc->CommitUndoStep(0);
        doc->RecordDelete(a);
        doc->CommitUndoStep(0);
        g_UnitIdCounter = 5;
        g_currentFileName = u"名.wcx";
        g_currentFilePath = u"/d/名.wcx";
        g_drawingModified = 1;
        ASSERT_TRUE(WriteRecoverySnapshot(*doc));
    }
};

} // namespace

TEST_F(SnapshotTest, FileLayoutAndTag)
{
    g_UnitIdCounter = 0x0102030405ull;
    g_currentFileName = u"a.wcx";
    g_currentFilePath = u"/x";
    g_drawingModified = 1;
    ASSERT_TRUE(WriteRecoverySnapshot(*doc));
    EXPECT_EQ(g_drawingModified, 0);
    EXPECT_TRUE(RecoverySnapshotPath().ToUtf8().ends_with("/ToolTemp/001"));
    auto bytes = ReadAll(RecoverySnapshotPath());
    EXPECT_EQ(bytes, Hex("d4 86 01 00 36 04 00 00 00 00  05 04 03 02 01 00 00 00  01 "
                         "ff fe ff 05 61 00 2e 00 77 00 63 00 78 00  ff fe ff 02 2f 00 78 00"));
    auto tag = ReadAll(RecoveryTagPath());
    ASSERT_EQ(tag.size(), 16u);
    std::uint8_t digest[16];
    MD5OfBuffer(digest, bytes.size(), bytes.data());
    EXPECT_EQ(std::vector<std::uint8_t>(digest, digest + 16), tag);
}

TEST_F(SnapshotTest, RestoreBringsBackDrawingNameAndCounter)
{
    WriteSample();
    ASSERT_EQ(doc->m_unitList.GetSize(), 1) << "deleted units are freed by the writer";
    doc->FreeAllUnits();
    g_UnitIdCounter = 0;
    g_currentFileName.Empty();
    g_currentFilePath.Empty();

    ASSERT_TRUE(RestoreRecoverySnapshot(*doc));
    ASSERT_EQ(doc->m_unitList.GetSize(), 1);
    EXPECT_EQ(doc->m_unitList[0]->unitId, 2u);
    EXPECT_EQ(doc->m_unitList[0]->inputPoints[0], x_Vector(3.0, 4.0));
    EXPECT_EQ(g_UnitIdCounter, 5u);
    EXPECT_EQ(g_currentFileName, CString(u"名.wcx"));
    EXPECT_EQ(g_currentFilePath, CString(u"/d/名.wcx"));
    EXPECT_EQ(ui.m_fileName, CString(u"名.wcx"));
    EXPECT_EQ(doc->GetPathName(), CString(u"/d/名.wcx"));
    EXPECT_EQ(g_undoStep, 1);
}

TEST_F(SnapshotTest, DamagedSnapshotOrTagRestoresNothing)
{
    WriteSample();
    auto snapshot = ReadAll(RecoverySnapshotPath());
    auto tag = ReadAll(RecoveryTagPath());
    auto truncated = snapshot;
    truncated.resize(snapshot.size() - 3);
    std::uint8_t truncatedTag[16];
    MD5OfBuffer(truncatedTag, truncated.size(), truncated.data());

    const struct {
        const char* name;
        std::vector<std::uint8_t> snapshot, tag;
    } kCases[] = {
        {"one changed byte", [&] { auto s = snapshot; s[20] ^= 1; return s; }(), tag},
        {"tag of 15 bytes", snapshot, std::vector<std::uint8_t>(tag.begin(), tag.end() - 1)},
        {"tag of 17 bytes", snapshot, [&] { auto t = tag; t.push_back(0); return t; }()},
        {"cut short, tag matching", truncated, std::vector<std::uint8_t>(truncatedTag, truncatedTag + 16)},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        WriteAll(RecoverySnapshotPath(), c.snapshot);
        WriteAll(RecoveryTagPath(), c.tag);
        g_currentFileName.Empty();
        g_UnitIdCounter = 0;
        EXPECT_FALSE(RestoreRecoverySnapshot(*doc));
        EXPECT_EQ(doc->m_unitList.GetSize(), 0);
        EXPECT_TRUE(g_currentFileName.IsEmpty());
        EXPECT_EQ(g_UnitIdCounter, 0u);
        EXPECT_EQ(g_undoStep, 1);
    }
}

TEST_F(SnapshotTest, WriteFailureKeepsTheTagAndTheMark)
{
    WriteSample();
    auto tag = ReadAll(RecoveryTagPath());
    auto snapshot = ReadAll(RecoverySnapshotPath());
    // The snapshot's place is taken by a folder: it cannot be replaced.
    std::filesystem::remove(NativePath(RecoverySnapshotPath()));
    std::filesystem::create_directories(NativePath(RecoverySnapshotPath()));
    Add<CUnit>();
    g_drawingModified = 1;
    EXPECT_FALSE(WriteRecoverySnapshot(*doc));
    EXPECT_EQ(g_drawingModified, 1);
    EXPECT_EQ(ReadAll(RecoveryTagPath()), tag);
}

TEST_F(SnapshotTest, ClearRecoveryTagStartsAnEmptyDrawing)
{
    WriteSample();
    ClearRecoveryTag(*doc);
    EXPECT_FALSE(FileExists(RecoveryTagPath()));
    EXPECT_TRUE(FileExists(RecoverySnapshotPath()));
    EXPECT_EQ(doc->m_unitList.GetSize(), 0);
    EXPECT_EQ(g_drawingModified, 1);
    EXPECT_EQ(g_UnitIdCounter, 0u);
    EXPECT_TRUE(g_currentFileName.IsEmpty());
    EXPECT_FALSE(RestoreRecoverySnapshot(*doc));
}
