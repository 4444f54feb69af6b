// Writes one kind of file over and over, for the tests that kill a save:
//   save_child <kind> loop              saves version A, prints "ready",
//                                       then saves B, A, B, ... until killed
//   save_child <kind> reference <dir>   saves A and copies the kind's files
//                                       to <dir>/a, then B to <dir>/b
// Files go under $ZORVA_HOME, where the programs keep them. Kinds: wcx,
// dcx, snapshot, settings, process_table, qcx, scheme, settings_ini,
// received (a file zorvalink received).

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/recovery_snapshot.h"
#include "app/settings_file.h"
#include "app/wcx_file.h"
#include "geometry/CLine.h"
#include "geometry/GeometryState.h"
#include "link/LinkState.h"
#include "link/machine_table.h"
#include "link/settings_ini.h"
#include "paths/CTrail.h"
#include "paths/dcx_export.h"
#include "platform/core/files.h"
#include "process/ProcessState.h"
#include "process/process_table.h"
#include "tests/support/fuzz/fuzz_draw.h"
#include "tests/support/fuzz/fuzz_seed_drawings.h"
#include "tests/support/saves/save_kinds.h"
#include "view/ViewState.h"

namespace {

void Fail(const char* what)
{
    std::fprintf(stderr, "save_child: %s\n", what);
    std::exit(1);
}

// Every DXF kind and three paths after a line. Version A shows only the
// line: the rest is marked temporary, which drawings leave out, so the
// loop switches versions without building anything.
void BuildDrawing(DrawFuzzScope& scope)
{
    CZorvaDoc& doc = scope.doc();
    ++g_UnitIdCounter;
    doc.m_unitList.Add(new CLine(0, 0, 50, 10));
    CUnitArray loaded;
    ImportSeedDrawing("kinds_r2018.dxf", loaded);
    for (CUnit* u : loaded)
        doc.m_unitList.Add(u);
    loaded.RemoveAll();
    for (int i = 0; i < 3; ++i)
        doc.m_unitList.Add(NewSeedPath(20.0 * i, -40, i == 2));
}

void ShowVersion(DrawFuzzScope& scope, bool big)
{
    CUnitArray& units = scope.doc().m_unitList;
    g_SelectedTrailIds.RemoveAll();
    for (int i = 1; i < units.GetSize(); ++i) {
        units[i]->temporary = big ? 0 : 1;
        if (units[i]->role == kRolePath && (big || g_SelectedTrailIds.IsEmpty()))
            g_SelectedTrailIds.Add(units[i]->unitId);
    }
}

std::vector<trail_sql_t> Records(int count)
{
    std::vector<trail_sql_t> records(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        records[static_cast<std::size_t>(i)] = trail_sql_t{};
        records[static_cast<std::size_t>(i)].processNo = i + 1;
        records[static_cast<std::size_t>(i)].thickness = 10.0 + i;
        records[static_cast<std::size_t>(i)].cutCount = 1;
    }
    return records;
}

void FillMachines(int count)
{
    g_Machines.clear();
    for (int i = 0; i < count; ++i) {
        _ClientPack m{};
        m.id[0] = std::uint8_t(i + 1);
        m.number = std::uint8_t(i % 9 + 1);
        m.address = 0x0100007F;
        m.port = 6180;
        g_Machines.push_back(m);
    }
}

const std::vector<std::uint8_t>& ReceivedBytes(bool big)
{
    static const auto make = [](std::size_t n, int salt) {
        std::vector<std::uint8_t> bytes(n);
        for (std::size_t i = 0; i < n; ++i)
            bytes[i] = std::uint8_t(i * 31 + salt);
        return bytes;
    };
    static const std::vector<std::uint8_t> a = make(1000, 0), b = make(1 << 20, 7);
    return big ? b : a;
}

// One save of version big (B) or not (A); false when it reported failure.
bool Save(SaveKind kind, DrawFuzzScope& scope, bool big)
{
    switch (kind) {
    case SaveKind::wcx:
        ShowVersion(scope, big);
        return WriteWcxFile(SaveKindFiles(kind)[0], scope.doc());
    case SaveKind::dcx:
        ShowVersion(scope, big);
        return WriteDcxFile(SaveKindFiles(kind)[0]);
    case SaveKind::snapshot:
        ShowVersion(scope, big);
        g_currentFileName = big ? u"b.wcx" : u"a.wcx";
        return WriteRecoverySnapshot(scope.doc());
    case SaveKind::settings:
        g_MachiningSettings.thickness = big ? 80.0 : 20.0;
        return SaveSettingsFile();
    case SaveKind::processTable:
        g_ProcessTable = Records(big ? 300 : 3);
        return SaveProcessTable(SaveKindFiles(kind)[0]);
    case SaveKind::qcx:
        g_ProcessTable = Records(big ? 200 : 1);
        return ExportQcxFile(SaveKindFiles(kind)[0]);
    case SaveKind::scheme:
        FillMachines(big ? 40 : 1);
        return SaveScheme(u"kill");
    case SaveKind::settingsIni:
        g_LinkSettings.replaceExisting = big;
        g_LinkSettings.sendToAll = !big;
        return SaveSettingsIni(big ? u"方案 B.dat" : u"a.dat");
    case SaveKind::received:
        return WriteFileAtomic(SaveKindFiles(kind)[0], ReceivedBytes(big));
    }
    return false;
}

void CopyFiles(SaveKind kind, const std::filesystem::path& to)
{
    std::filesystem::create_directories(to);
    int n = 0;
    for (const CString& file : SaveKindFiles(kind))
        std::filesystem::copy_file(NativePath(file), to / std::to_string(n++),
                                   std::filesystem::copy_options::overwrite_existing);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        Fail("usage: save_child <kind> loop | reference <dir>");
    const auto kind = SaveKindNamed(argv[1]);
    if (!kind)
        Fail("unknown kind");
    DrawFuzzScope scope;
    PrepareSaveKind(*kind);
    BuildDrawing(scope);
    if (std::string(argv[2]) == "reference" && argc == 4) {
        if (!Save(*kind, scope, false))
            Fail("version A was not saved");
        CopyFiles(*kind, std::filesystem::path(argv[3]) / "a");
        if (!Save(*kind, scope, true))
            Fail("version B was not saved");
        CopyFiles(*kind, std::filesystem::path(argv[3]) / "b");
        return 0;
    }
    if (!Save(*kind, scope, false))
        Fail("version A was not saved");
    std::printf("ready\n");
    std::fflush(stdout);
    for (bool big = true;; big = !big)
        if (!Save(*kind, scope, big))
            Fail("a save failed");
}
