// Open and save of a large drawing (lines and arcs), against plain buffered
// file I/O of the same number of bytes in the same run.

#include <benchmark/benchmark.h>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/wcx_file.h"
#include "geometry/GeometryState.h"
#include "platform/core/files.h"

#include "geometry/CArc.h"
#include "geometry/CLine.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::string TempFolder()
{
    static std::string folder = [] {
        char tmpl[] = "/tmp/zorva-bench-XXXXXX";
        const char* dir = mkdtemp(tmpl);
        return std::string(dir != nullptr ? dir : "/tmp");
    }();
    return folder;
}

void FillDrawing(CZorvaDoc& doc, int lines, int arcs)
{
    for (int i = 0; i < lines + arcs; ++i) {
        ++g_UnitIdCounter;
        CUnit* unit = i < lines ? static_cast<CUnit*>(new CLine) : static_cast<CUnit*>(new CArc);
        unit->inputPoints[0] = x_Vector(i * 0.5, i * 0.25);
        unit->inputPoints[1] = x_Vector(i * 0.5 + 10.0, i * 0.25 - 3.0);
        doc.m_unitList.Add(unit);
    }
}

double Seconds(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

// Plain buffered I/O of the same size, in 4096-byte blocks like the archive.
double PlainWrite(const std::string& path, const std::vector<char>& data)
{
    auto t0 = Clock::now();
    FILE* f = std::fopen(path.c_str(), "wb");
    for (size_t at = 0; at < data.size(); at += 4096)
        std::fwrite(data.data() + at, 1, std::min<size_t>(4096, data.size() - at), f);
    std::fflush(f);
    std::fclose(f);
    return Seconds(t0, Clock::now());
}

double PlainRead(const std::string& path, std::vector<char>& data)
{
    auto t0 = Clock::now();
    FILE* f = std::fopen(path.c_str(), "rb");
    size_t at = 0;
    while (at < data.size()) {
        size_t got = std::fread(data.data() + at, 1, std::min<size_t>(4096, data.size() - at), f);
        if (got == 0)
            break;
        at += got;
    }
    std::fclose(f);
    return Seconds(t0, Clock::now());
}

void Report(benchmark::State& state, int entities, long long bytes, double wcx, double plain)
{
    state.counters["entities"] = entities;
    state.counters["bytes"] = static_cast<double>(bytes);
    state.counters["entities_per_s"] = benchmark::Counter(static_cast<double>(entities) * state.iterations(),
                                                          benchmark::Counter::kIsRate);
    state.counters["ratio_to_plain_io"] = plain > 0.0 ? wcx / plain : 0.0;
}

void BM_SaveWcx(benchmark::State& state)
{
    const int lines = static_cast<int>(state.range(0));
    const int arcs = static_cast<int>(state.range(1));
    ResetGeometryState();
    ResetAppState();
    CZorvaDoc doc;
    FillDrawing(doc, lines, arcs);
    const std::string path = TempFolder() + "/save.wcx";
    const std::string plainPath = TempFolder() + "/save.plain";
    double wcx = 0.0;
    double plain = 0.0;
    long long bytes = 0;
    for (auto _ : state) {
        auto t0 = Clock::now();
        if (!WriteWcxFile(CString::FromUtf8(path), doc))
            state.SkipWithError("write failed");
        double t = Seconds(t0, Clock::now());
        state.SetIterationTime(t);
        wcx += t;
        bytes = GetFileSize(CString::FromUtf8(path));
        plain += PlainWrite(plainPath, std::vector<char>(static_cast<size_t>(bytes), 'x'));
    }
    Report(state, lines + arcs, bytes, wcx, plain);
}

void BM_OpenWcx(benchmark::State& state)
{
    const int lines = static_cast<int>(state.range(0));
    const int arcs = static_cast<int>(state.range(1));
    ResetGeometryState();
    ResetAppState();
    const std::string path = TempFolder() + "/open.wcx";
    {
        CZorvaDoc doc;
        FillDrawing(doc, lines, arcs);
        WriteWcxFile(CString::FromUtf8(path), doc);
    }
    const long long bytes = GetFileSize(CString::FromUtf8(path));
    std::vector<char> buffer(static_cast<size_t>(bytes));
    double wcx = 0.0;
    double plain = 0.0;
    for (auto _ : state) {
        CUnitArray loaded;
        auto t0 = Clock::now();
        if (ReadWcxFile(CString::FromUtf8(path), loaded) != WcxRead::loaded)
            state.SkipWithError("read failed");
        double t = Seconds(t0, Clock::now());
        state.SetIterationTime(t);
        wcx += t;
        FreeUnitArray(loaded);
        plain += PlainRead(path, buffer);
    }
    Report(state, lines + arcs, bytes, wcx, plain);
}

} // namespace

BENCHMARK(BM_SaveWcx)->Args({100000, 50000})->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenWcx)->Args({100000, 50000})->UseManualTime()->Unit(benchmark::kMillisecond);
