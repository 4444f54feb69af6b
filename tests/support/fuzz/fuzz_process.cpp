// Entries of the path export read back and of the process-parameter files:
// a ".dcx" file read and its paths drawn, a table file under a matching
// companion loaded as the table dialog loads it, a ".qcx" list imported.

#include <string>

#include "app/CZorvaDoc.h"
#include "geometry/GeometryState.h"
#include "geometry/text_utils.h"
#include "paths/CTrail.h"
#include "platform/core/files.h"
#include "process/ProcessState.h"
#include "process/process_table.h"
#include "shared/CMD5Checksum.h"
#include "tests/support/fuzz/fuzz_draw.h"
#include "tests/support/fuzz/fuzz_targets.h"
#include "wirepath/dcx_read.h"

namespace {

// What the table dialog makes of each record: its row texts and the next
// free process number.
void ShowTable()
{
    for (const trail_sql_t& r : g_ProcessTable) {
        CString row;
        row.Format(u"%d %s %.3f %.3f %.3f %d %d", r.processNo, MaterialText(r).GetString(), r.wireDiameter,
                   r.compensation, r.thickness, r.efficiency, r.cutCount);
    }
    NextProcessNumber(g_ProcessTable);
}

// No record without its 440 bytes in the file, and what was read is
// written back whole.
void CheckRoundTrip(std::size_t size)
{
    FuzzCheck(g_ProcessTable.size() <= size / sizeof(trail_sql_t), "every record read is backed by the file");
    const FuzzBytes again = EncodeProcessTable(g_ProcessTable);
    const auto decoded = DecodeProcessTable(again);
    FuzzCheck(decoded && decoded->size() == g_ProcessTable.size(), "a table read is written back whole");
}

} // namespace

void FuzzDcx(const std::uint8_t* data, std::size_t size)
{
    DrawFuzzScope scope;
    const std::string path = scope.folder + "/in.dcx";
    WriteFuzzFile(path, data, size);
    DcxContent content;
    if (ReadDcxFile(CString::FromUtf8(path), content) != DcxRead::ok)
        return;
    FuzzCheck(std::size_t(content.header.count) == content.paths.size(), "every counted path was read");
    for (DcxPath& read : content.paths) {
        ++g_UnitIdCounter;
        auto* trail = new CTrail;
        trail->role = kRolePath;
        trail->complete = 1;
        trail->params = read.params;
        trail->trails[0] = read.trails[0];
        trail->trails[1] = read.trails[1];
        scope.doc().m_unitList.Add(trail);
    }
    scope.doc().FitViewToDrawing();
    DrawLoadedDrawing();
}

void FuzzProcessTable(const std::uint8_t* data, std::size_t size)
{
    DrawFuzzScope scope;
    ResetProcessState();
    g_ProcessTableName = u"sql_list_h1";
    const CString path = ProcessTablePath();
    CreateFolder(PathFolderPart(path));
    WriteFuzzFile(NativePath(path), data, size);
    std::uint8_t digest[16];
    MD5OfBuffer(digest, size, data);
    WriteFuzzFile(NativePath(CompanionPath(path)), digest, sizeof digest);
    if (LoadProcessTable(path) != TableLoad::loaded)
        return;
    CheckRoundTrip(size);
    ShowTable();
}

void FuzzQcx(const std::uint8_t* data, std::size_t size)
{
    DrawFuzzScope scope;
    ResetProcessState();
    const std::string path = scope.folder + "/in.qcx";
    WriteFuzzFile(path, data, size);
    if (ImportQcxFile(CString::FromUtf8(path)) != QcxImport::imported)
        return;
    CheckRoundTrip(size);
    ShowTable();
}

namespace {

std::vector<trail_sql_t> SeedRecords(int count)
{
    std::vector<trail_sql_t> records(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        trail_sql_t& r = records[static_cast<std::size_t>(i)];
        r = trail_sql_t{};
        r.processNo = i + 1;
        r.wireDiameter = 0.18;
        r.compensation = 0.1;
        r.thickness = 20.0 + i;
        r.efficiency = 120;
        r.cutCount = 1 + i % 7;
        SetMaterialText(r, i % 2 == 0 ? CString(u"Cr12 模具钢") : CString(u"铝"));
        for (CutParams& c : r.cuts)
            c.pulseWidth = 24;
    }
    return records;
}

} // namespace

std::vector<FuzzBytes> ProcessTableSeeds()
{
    return {EncodeProcessTable({}), EncodeProcessTable(SeedRecords(1)), EncodeProcessTable(SeedRecords(3))};
}

std::vector<FuzzBytes> QcxSeeds()
{
    DrawFuzzScope scope;
    std::vector<FuzzBytes> seeds;
    for (int count : {1, 2}) {
        g_ProcessTable = SeedRecords(count);
        const std::string path = scope.folder + "/seed.qcx";
        FuzzCheck(ExportQcxFile(CString::FromUtf8(path)), "a seed list was written");
        seeds.push_back(ReadFuzzFile(path));
    }
    return seeds;
}
