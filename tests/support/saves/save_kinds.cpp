#include "tests/support/saves/save_kinds.h"

#include <cstring>

#include "app/AppState.h"
#include "app/recovery_snapshot.h"
#include "app/settings_file.h"
#include "link/machine_table.h"
#include "link/settings_ini.h"
#include "platform/core/files.h"
#include "process/ProcessState.h"
#include "process/process_table.h"

namespace {

CString SavesFolder()
{
    return DataRoot() + u"/saves";
}

} // namespace

const std::vector<SaveKind>& AllSaveKinds()
{
    static const std::vector<SaveKind> kinds = {
        SaveKind::wcx,    SaveKind::dcx,         SaveKind::snapshot, SaveKind::settings, SaveKind::processTable,
        SaveKind::qcx,    SaveKind::scheme,      SaveKind::settingsIni, SaveKind::received,
    };
    return kinds;
}

const char* SaveKindName(SaveKind kind)
{
    switch (kind) {
    case SaveKind::wcx: return "wcx";
    case SaveKind::dcx: return "dcx";
    case SaveKind::snapshot: return "snapshot";
    case SaveKind::settings: return "settings";
    case SaveKind::processTable: return "process_table";
    case SaveKind::qcx: return "qcx";
    case SaveKind::scheme: return "scheme";
    case SaveKind::settingsIni: return "settings_ini";
    case SaveKind::received: return "received";
    }
    return "";
}

std::optional<SaveKind> SaveKindNamed(const char* name)
{
    for (SaveKind kind : AllSaveKinds())
        if (std::strcmp(SaveKindName(kind), name) == 0)
            return kind;
    return std::nullopt;
}

std::vector<CString> SaveKindFiles(SaveKind kind)
{
    switch (kind) {
    case SaveKind::wcx: return {SavesFolder() + u"/kill.wcx"};
    case SaveKind::dcx: return {SavesFolder() + u"/kill.dcx"};
    case SaveKind::snapshot: return {RecoverySnapshotPath(), RecoveryTagPath()};
    case SaveKind::settings: return {SettingsFilePath(), SettingsBackupPath()};
    case SaveKind::processTable: return {ProcessTablePath(), CompanionPath(ProcessTablePath())};
    case SaveKind::qcx: return {SavesFolder() + u"/kill.qcx"};
    case SaveKind::scheme: return {SchemePath(u"kill")};
    case SaveKind::settingsIni: return {SettingsIniPath()};
    case SaveKind::received: return {SavesFolder() + u"/recv/part.nc"};
    }
    return {};
}

void PrepareSaveKind(SaveKind kind)
{
    g_ProcessTableName = u"sql_list_h1";
    CreateFolder(SavesFolder() + u"/recv");
    CreateFolder(MapWindowsPath(g_toolTempDir));
    CreateFolder(MapWindowsPath(g_dataDir));
    CreateFolder(MapWindowsPath(u".\\Data", ZorvaProgram::Link));
    (void)kind;
}

bool IsDigestPairKind(SaveKind kind)
{
    return kind == SaveKind::snapshot || kind == SaveKind::processTable;
}
