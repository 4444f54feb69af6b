// Import of a large DXF file made by ezdxf (Debian python3-ezdxf), against
// ezdxf's own readfile of the same file in the same run. Both read the file
// warm from the page cache; ezdxf is timed inside its Python process, after
// the interpreter and the module have started.
//
// Two states of our process: "cold", the first import, whose units land on
// memory the process never touched (each new page is a fault, slow on
// virtual machines; the units' size dominates), and "warm", later imports
// into memory that earlier ones freed. The allocators run as the program
// runs them: no settings of the program's own.

#include <benchmark/benchmark.h>

#include "app/AppState.h"
#include "app/dxf_import.h"
#include "app/wcx_file.h"
#include "geometry/GeometryState.h"
#include "platform/core/files.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr const char* kPython = "/usr/bin/python3";

// 100,000 lines, 20,000 arcs, 5,000 circles and 2,000 closed polylines of
// 12 vertices with bulges, on three layers.
constexpr const char* kMakeScript = R"(
import math, random, sys, ezdxf
random.seed(22)
doc = ezdxf.new("R2000")
for name, colour in (("CUT", 1), ("AUX", 3), ("MARK", 5)):
    doc.layers.add(name, color=colour)
msp = doc.modelspace()
r = random.uniform
for i in range(100000):
    msp.add_line((r(0, 2000), r(0, 1000)), (r(0, 2000), r(0, 1000)), dxfattribs={"layer": "CUT"})
for i in range(20000):
    msp.add_arc((r(0, 2000), r(0, 1000)), r(1, 50), r(0, 360), r(0, 360), dxfattribs={"layer": "AUX"})
for i in range(5000):
    msp.add_circle((r(0, 2000), r(0, 1000)), r(1, 50), dxfattribs={"layer": "MARK"})
for i in range(2000):
    cx, cy = r(0, 2000), r(0, 1000)
    points = [(cx + 20 * math.cos(k * math.pi / 6), cy + 20 * math.sin(k * math.pi / 6), r(-1, 1) if k % 2 else 0)
              for k in range(12)]
    msp.add_lwpolyline(points, format="xyb", close=True, dxfattribs={"layer": "CUT"})
doc.saveas(sys.argv[1])
)";

constexpr const char* kReadScript = R"(
import sys, time, ezdxf
t = time.perf_counter()
doc = ezdxf.readfile(sys.argv[1])
print(time.perf_counter() - t)
)";

std::string TempFolder()
{
    static std::string folder = [] {
        char tmpl[] = "/tmp/zorva-bench-XXXXXX";
        const char* dir = mkdtemp(tmpl);
        return std::string(dir != nullptr ? dir : "/tmp");
    }();
    return folder;
}

// Runs a Python script with one argument; returns its standard output.
bool RunPython(const char* script, const std::string& argument, std::string& output)
{
    const std::string scriptPath = TempFolder() + "/script.py";
    std::FILE* f = std::fopen(scriptPath.c_str(), "w");
    if (f == nullptr)
        return false;
    std::fputs(script, f);
    std::fclose(f);
    const std::string command = std::string(kPython) + " " + scriptPath + " '" + argument + "'";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return false;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    return pclose(pipe) == 0;
}

const std::string& BigDxf()
{
    static const std::string path = [] {
        std::string p = TempFolder() + "/big.dxf";
        std::string ignored;
        return RunPython(kMakeScript, p, ignored) ? p : std::string();
    }();
    return path;
}

double ImportSeconds(const CString& file, int& entities, bool& ok)
{
    CUnitArray units;
    const auto t0 = std::chrono::steady_clock::now();
    ok = ImportDxfFile(file, units);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    entities = units.GetSize();
    FreeUnitArray(units);
    return seconds;
}

void BM_ImportDxf(benchmark::State& state)
{
    const std::string& path = BigDxf();
    if (path.empty()) {
        state.SkipWithError("ezdxf (python3-ezdxf) could not write the file");
        return;
    }
    ResetGeometryState();
    ResetAppState();
    g_ViewClientRect = RECT{0, 0, 1600, 1000};
    const CString file = CString::FromUtf8(path);
    const double megabytes = static_cast<double>(GetFileSize(file)) / 1e6;
    int entities = 0;
    bool ok = true;
    static const double cold = ImportSeconds(file, entities, ok);
    double warm = 0.0;
    for (auto _ : state) {
        const double t = ImportSeconds(file, entities, ok);
        state.SetIterationTime(t);
        warm += t;
        if (!ok)
            state.SkipWithError("import failed");
    }
    std::string output;
    const double ezdxf = RunPython(kReadScript, path, output) ? std::atof(output.c_str()) : 0.0;
    warm /= static_cast<double>(state.iterations());
    state.counters["MB"] = megabytes;
    state.counters["entities"] = entities;
    state.counters["cold_s"] = cold;
    state.counters["cold_MB_per_s"] = megabytes / cold;
    state.counters["warm_MB_per_s"] = megabytes / warm;
    state.counters["ezdxf_s"] = ezdxf;
    state.counters["ezdxf_MB_per_s"] = ezdxf > 0.0 ? megabytes / ezdxf : 0.0;
    state.counters["ratio_cold"] = ezdxf / cold;
    state.counters["ratio_warm"] = ezdxf / warm;
}

} // namespace

BENCHMARK(BM_ImportDxf)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
