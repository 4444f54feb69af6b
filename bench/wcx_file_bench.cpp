// Open and save of a 150,000-entity drawing (120,000 lines, 20,000 arcs,
// 10,000 circles) against plain I/O of the same bytes done the same way.
//
// Open: the file read into units and the view fitted to them, as Open
// does before the first frame. Every read runs in a fresh process (this
// program started again with "--child"), so the heap starts empty as when
// a user opens a file; opens and plain reads alternate, and the medians
// are compared. The reads go through CFile in blocks of the archive's
// buffer size. Warm:
// the file was just written and read; cold: the file's pages are dropped
// from the page cache (posix_fadvise) before each run. The child reports
// its resident memory after the open. For reference, a third child only
// allocates and writes the units' memory the way units get it (alloc_ms):
// the part of an open that obtaining fresh pages costs on the machine at
// hand.
//
// Save: WriteWcxFile against buffered writes of the same byte count in
// the same blocks, with the same fsync of the file, rename and fsync of
// the folder.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/wcx_file.h"
#include "bench/bench_stats.h"
#include "bench/self_child.h"
#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CLine.h"
#include "geometry/DrawingSettings.h"
#include "geometry/GeometryState.h"
#include "platform/core/CFile.h"
#include "platform/core/block_pool.h"
#include "platform/core/files.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kLines = 120000;
constexpr int kArcs = 20000;
constexpr int kCircles = 10000;
constexpr int kEntities = kLines + kArcs + kCircles;
constexpr int kPairs = 11;
constexpr unsigned kBlock = 4096;       // the archive's buffer

std::string TempFolder()
{
    static std::string folder = [] {
        char tmpl[] = "/tmp/zorva-bench-XXXXXX";
        const char* dir = mkdtemp(tmpl);
        return std::string(dir != nullptr ? dir : "/tmp");
    }();
    return folder;
}

// Lines, arcs and circles with their own geometry. clicked: every unit
// also keeps the input points of an interactive creation.
void FillDrawing(CZorvaDoc& doc, bool clicked)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> x(0, 1000), y(0, 560), d(-5, 5), r(0.5, 8), a(0, 6.28);
    for (int i = 0; i < kEntities; ++i) {
        ++g_UnitIdCounter;
        CUnit* u = nullptr;
        if (i < kLines) {
            const double x0 = x(rng), y0 = y(rng);
            u = new CLine(x0, y0, x0 + d(rng), y0 + d(rng));
        } else if (i < kLines + kArcs) {
            const double s = a(rng);
            u = NewArc({x(rng), y(rng)}, r(rng), s, s + 2.0, 0);
        } else {
            u = NewCircle({x(rng), y(rng)}, r(rng));
        }
        u->workGeometry = u->geometry;
        u->complete = 1;
        if (clicked) {
            u->inputPoints[0] = x_Vector(x(rng), y(rng));
            u->inputPoints[1] = x_Vector(x(rng), y(rng));
        }
        doc.m_unitList.Add(u);
    }
}

double Ms(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

long StatusKb(const char* field)
{
    FILE* f = std::fopen("/proc/self/status", "r");
    if (f == nullptr)
        return -1;
    char line[256];
    long kb = -1;
    const size_t n = std::strlen(field);
    while (std::fgets(line, sizeof line, f) != nullptr)
        if (std::strncmp(line, field, n) == 0)
            kb = std::atol(line + n + 1);
    std::fclose(f);
    return kb;
}

// In the child: opens or plainly reads path; prints "ms rss_kb".
int RunChild(const std::string& what, const std::string& path)
{
    const long before = StatusKb("VmRSS");
    double ms = 0;
    if (what == "open") {
        CUnitArray units;
        DrawingBox box;
        const auto t0 = Clock::now();
        const bool ok = ReadWcxFile(CString::FromUtf8(path), units, &box) == WcxRead::loaded;
        // The open ends with the fit of the view (every unit's extents).
        FitViewToBox(box);
        ms = Ms(t0, Clock::now());
        if (!ok || units.GetSize() != kEntities)
            return 2;
    } else if (what == "alloc") {
        // The units' own memory, fresh from the system: one block of the
        // class's size per entity from the units' pool, each written once.
        std::vector<void*> blocks(kEntities);
        const auto t0 = Clock::now();
        for (int i = 0; i < kEntities; ++i) {
            const std::size_t size = i < kLines ? sizeof(CLine) : i < kLines + kArcs ? sizeof(CArc) : sizeof(CCir);
            blocks[static_cast<std::size_t>(i)] = PoolAllocate(size);
            std::memset(blocks[static_cast<std::size_t>(i)], 0, size);
        }
        ms = Ms(t0, Clock::now());
        benchmark::DoNotOptimize(blocks.data());
    } else {
        std::vector<char> block(kBlock);
        unsigned sum = 0;
        const auto t0 = Clock::now();
        CFile file;
        if (!file.Open(CString::FromUtf8(path), CFile::modeRead | CFile::shareDenyNone))
            return 2;
        while (unsigned got = file.Read(block.data(), kBlock))
            for (unsigned i = 0; i < got; i += 64)
                sum += static_cast<unsigned char>(block[i]);
        file.Close();
        ms = Ms(t0, Clock::now());
        benchmark::DoNotOptimize(sum);
    }
    std::printf("%.3f %ld %ld\n", ms, StatusKb("VmRSS"), before);
    return 0;
}

struct ChildResult {
    double ms = -1;
    long rssKb = -1;
    long startKb = -1;
};

ChildResult Spawn(const std::string& what, const std::string& path, bool cold)
{
    if (cold) {
        const int fd = open(path.c_str(), O_RDONLY);
        if (fd >= 0) {
            fdatasync(fd);
            posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            close(fd);
        }
    }
    const std::optional<std::string> text = RunSelf({"--child", what, path});
    ChildResult r;
    if (text)
        std::sscanf(LastLine(*text).c_str(), "%lf %ld %ld", &r.ms, &r.rssKb, &r.startKb);
    return r;
}

std::string WriteDrawing(bool clicked)
{
    const std::string path = TempFolder() + (clicked ? "/clicked.wcx" : "/open.wcx");
    if (FileExists(CString::FromUtf8(path)))
        return path;
    ResetGeometryState();
    ResetAppState();
    SetDefaultDrawingSettings();      // the colours a user's drawing has
    CZorvaDoc doc;
    FillDrawing(doc, clicked);
    WriteWcxFile(CString::FromUtf8(path), doc);
    return path;
}

void OpenFresh(benchmark::State& state, bool cold, bool clicked)
{
    const std::string path = WriteDrawing(clicked);
    std::vector<double> opens, reads, allocs, rss, start;
    for (auto _ : state) {
        for (int i = 0; i < kPairs; ++i) {
            // Alternate which goes first, so neither always meets the
            // other's leftovers.
            const bool openFirst = i % 2 == 0;
            ChildResult a = Spawn(openFirst ? "open" : "plain", path, cold);
            ChildResult b = Spawn(openFirst ? "plain" : "open", path, cold);
            const ChildResult& open = openFirst ? a : b;
            const ChildResult& plain = openFirst ? b : a;
            if (open.ms < 0 || plain.ms < 0)
                return state.SkipWithError("child failed");
            opens.push_back(open.ms);
            reads.push_back(plain.ms);
            allocs.push_back(Spawn("alloc", path, false).ms);
            rss.push_back(open.rssKb / 1024.0);
            start.push_back(open.startKb / 1024.0);
        }
    }
    state.counters["entities"] = kEntities;
    state.counters["MB"] = static_cast<double>(GetFileSize(CString::FromUtf8(path))) / 1048576.0;
    state.counters["open_ms"] = Median(opens);
    state.counters["read_ms"] = Median(reads);
    state.counters["ratio_to_read"] = Median(opens) / Median(reads);
    // What the units' memory alone costs a fresh process on this machine.
    state.counters["alloc_ms"] = Median(allocs);
    state.counters["rss_after_open_MB"] = Median(rss);
    state.counters["rss_at_start_MB"] = Median(start);
    state.SetLabel(std::string(cold ? "cold" : "warm") + " page cache, fresh process each, medians of "
                   + std::to_string(kPairs) + (clicked ? " pairs, every unit with input points" : " pairs"));
}

void BM_OpenWcxWarm(benchmark::State& state) { OpenFresh(state, false, false); }
void BM_OpenWcxCold(benchmark::State& state) { OpenFresh(state, true, false); }
void BM_OpenWcxWarmClicked(benchmark::State& state) { OpenFresh(state, false, true); }

// Buffered writes of size bytes in archive-sized blocks, then the steps of
// an atomic replace.
double PlainSave(const std::string& target, std::size_t size)
{
    const std::vector<char> block(kBlock, 'x');
    const auto t0 = Clock::now();
    const std::string temp = target + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    for (std::size_t at = 0; at < size; at += kBlock)
        std::fwrite(block.data(), 1, std::min<std::size_t>(kBlock, size - at), f);
    std::fflush(f);
    fsync(fileno(f));
    std::fclose(f);
    std::rename(temp.c_str(), target.c_str());
    const int dir = open(TempFolder().c_str(), O_RDONLY | O_DIRECTORY);
    fsync(dir);
    close(dir);
    return Ms(t0, Clock::now());
}

void BM_SaveWcx(benchmark::State& state)
{
    ResetGeometryState();
    ResetAppState();
    SetDefaultDrawingSettings();      // the colours a user's drawing has
    CZorvaDoc doc;
    FillDrawing(doc, false);
    const std::string path = TempFolder() + "/save.wcx";
    const std::string plainPath = TempFolder() + "/save.plain";
    std::vector<double> saves, plains;
    long long bytes = 0;
    for (auto _ : state) {
        for (int i = 0; i < kPairs; ++i) {
            const auto t0 = Clock::now();
            if (!WriteWcxFile(CString::FromUtf8(path), doc))
                return state.SkipWithError("write failed");
            saves.push_back(Ms(t0, Clock::now()));
            bytes = GetFileSize(CString::FromUtf8(path));
            plains.push_back(PlainSave(plainPath, static_cast<std::size_t>(bytes)));
        }
    }
    state.counters["entities"] = kEntities;
    state.counters["MB"] = static_cast<double>(bytes) / 1048576.0;
    state.counters["save_ms"] = Median(saves);
    state.counters["write_ms"] = Median(plains);
    state.counters["ratio_to_write"] = Median(saves) / Median(plains);
    state.SetLabel("fsync and rename in both, medians of " + std::to_string(kPairs) + " pairs");
}

} // namespace

BENCHMARK(BM_OpenWcxWarm)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenWcxCold)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenWcxWarmClicked)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveWcx)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0)
        return RunChild(argv[2], argv[3]);
    // The drawing the open is timed on, kept for a profiler:
    // wcx_file_bench --write FILE [clicked]
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "--write") == 0) {
        ResetGeometryState();
        ResetAppState();
        SetDefaultDrawingSettings();
        CZorvaDoc doc;
        FillDrawing(doc, argc == 4);
        return WriteWcxFile(CString::FromUtf8(argv[2]), doc) ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const char* name : {"/open.wcx", "/clicked.wcx", "/save.wcx", "/save.plain"})
        std::remove((TempFolder() + name).c_str());
    rmdir(TempFolder().c_str());
    return 0;
}
