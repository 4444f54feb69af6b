#include "tests/support/fuzz/fuzz_targets.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

const std::vector<FuzzTarget>& FuzzTargets()
{
    static const std::vector<FuzzTarget> targets = {
        {"wcx", "app", FuzzWcx, WcxSeeds},
        {"snapshot", "app", FuzzSnapshot, SnapshotSeeds},
        {"settings", "app", FuzzSettings, SettingsSeeds},
        {"dxf", "app", FuzzDxf, DxfSeeds},
        {"dat", "app", FuzzDat, DatSeeds},
        {"dcx", "wirepath", FuzzDcx, DcxSeeds},
        {"process_table", "process", FuzzProcessTable, ProcessTableSeeds},
        {"qcx", "process", FuzzQcx, QcxSeeds},
        {"scheme", "link", FuzzScheme, SchemeSeeds},
        {"settings_ini", "link", FuzzSettingsIni, SettingsIniSeeds},
        {"dispatch", "link", FuzzDispatch, DispatchSeeds},
    };
    return targets;
}

const FuzzTarget* FindFuzzTarget(std::string_view name)
{
    for (const FuzzTarget& t : FuzzTargets())
        if (name == t.name)
            return &t;
    return nullptr;
}

namespace {

std::string g_ownHome;

void RemoveOwnHome()
{
    std::error_code ec;
    if (!g_ownHome.empty())
        std::filesystem::remove_all(g_ownHome, ec);
}

} // namespace

void InitFuzzProcess()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const char* home = std::getenv("ZORVA_HOME");
    if (home == nullptr || *home == '\0') {
        char tmpl[] = "/tmp/zorva-fuzz-XXXXXX";
        if (mkdtemp(tmpl) == nullptr)
            std::abort();
        g_ownHome = tmpl;
        setenv("ZORVA_HOME", tmpl, 1);
        std::atexit(RemoveOwnHome);
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "zorva-fuzz";
        static char* argv[] = {name, nullptr};
        // Kept for the life of the process: tearing Qt down at exit races
        // with the other static objects.
        static QGuiApplication* app = new QGuiApplication(argc, argv);
        (void)app;
    }
}

void FuzzCheck(bool holds, const char* what)
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::abort();
}

void WriteFuzzFile(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (size > 0)
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    FuzzCheck(!out.fail(), "the input file could be written");
}

FuzzBytes ReadFuzzFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return FuzzBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
