#pragma once

// Fuzz entries: each takes one input the way the programs meet it (a file
// they open, datagrams they receive) and may be handed any bytes at all. A
// fault is a crash, a sanitizer report, a hang or a broken invariant
// (FuzzCheck). The libFuzzer programs (tests/robustness/fuzz) and the
// tests of kept inputs and short runs (tests/robustness) share them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using FuzzBytes = std::vector<std::uint8_t>;

struct FuzzTarget {
    const char* name;   // "wcx", "dispatch", ...
    const char* folder; // kept inputs: tests/<folder>/data/fuzz/<name>/
    void (*run)(const std::uint8_t* data, std::size_t size);
    // Inputs made by the programs' own writers.
    std::vector<FuzzBytes> (*seeds)();
};

const std::vector<FuzzTarget>& FuzzTargets();
const FuzzTarget* FindFuzzTarget(std::string_view name);

// Once per process, before any entry runs: data root (unless ZORVA_HOME is
// set), offscreen Qt with a GUI application so that texts are measured.
void InitFuzzProcess();

// An invariant the programs rely on; aborts (a finding) when it fails.
void FuzzCheck(bool holds, const char* what);

// Writes bytes to a file, replacing it (not atomically: the entries make
// their own inputs).
void WriteFuzzFile(const std::string& path, const std::uint8_t* data, std::size_t size);
FuzzBytes ReadFuzzFile(const std::string& path);

// The entries, by area.
void FuzzWcx(const std::uint8_t* data, std::size_t size);
void FuzzSnapshot(const std::uint8_t* data, std::size_t size);
void FuzzSettings(const std::uint8_t* data, std::size_t size);
void FuzzDxf(const std::uint8_t* data, std::size_t size);
void FuzzDat(const std::uint8_t* data, std::size_t size);
void FuzzDcx(const std::uint8_t* data, std::size_t size);
void FuzzProcessTable(const std::uint8_t* data, std::size_t size);
void FuzzQcx(const std::uint8_t* data, std::size_t size);
void FuzzScheme(const std::uint8_t* data, std::size_t size);
void FuzzSettingsIni(const std::uint8_t* data, std::size_t size);
void FuzzDispatch(const std::uint8_t* data, std::size_t size);

std::vector<FuzzBytes> WcxSeeds();
std::vector<FuzzBytes> SnapshotSeeds();
std::vector<FuzzBytes> SettingsSeeds();
std::vector<FuzzBytes> DxfSeeds();
std::vector<FuzzBytes> DatSeeds();
std::vector<FuzzBytes> DcxSeeds();
std::vector<FuzzBytes> ProcessTableSeeds();
std::vector<FuzzBytes> QcxSeeds();
std::vector<FuzzBytes> SchemeSeeds();
std::vector<FuzzBytes> SettingsIniSeeds();
std::vector<FuzzBytes> DispatchSeeds();
